// `quorlscope table ...` prints a table; `quorlscope export FILE... --to OUT` converts documents.
#pragma once

#include "formats/exportformats.h"

#include <string>
#include <vector>

// Exit statuses: a file could not be read or written (1), wrong arguments (2).
enum : int { kSubcommandDone = 0, kSubcommandFileFailed = 1, kSubcommandBadArguments = 2 };

// True for an export to PDF, which needs the windowed program's painting.
bool QRLSubcommandNeedsPainting(int argc, char **argv);
// Draws tables into a PDF document, ok false when it cannot; unset, PDF fails.
using tSubcommandPDFRenderer = std::string (*)(const std::vector<tExportTable> &tables, bool *ok);
void QRLSetSubcommandPDFRenderer(tSubcommandPDFRenderer renderer);
// Runs args (args[0] the subcommand); no file is written unless the whole run succeeds.
int QRLRunSubcommand(const std::vector<std::string> &args, std::string *out, std::string *err);
// The process's entry: a core application, standard output and error.
int QRLRunSubcommandProcess(int argc, char **argv);
