// Files named on the command line or handed over by a later start open as
// documents; each file that cannot be read gets an alert first.
#pragma once

#include <string>
#include <vector>

// At launch: the files open once the event loop runs.
void BOpenDocumentsAtLaunch(const std::vector<std::string> &files);
// From a later start, while running: the files open at once.
void BOpenHandedOverDocuments(const std::vector<std::string> &files);
