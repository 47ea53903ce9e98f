// What the application does when asked to quit and to open documents.
#pragma once

#include <string>
#include <vector>

// With nothing unsaved the process ends; one unsaved document is asked
// about, more are reviewed.
void BHandleQuitApplication();
// Opens the table documents among the files, the first into the empty
// start-up window; files of other types are passed over.
void BHandleOpenDocument(const std::vector<std::string> &paths);
