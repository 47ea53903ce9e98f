// The command line without a display: `quorlscope table ...` prints a
// computed table, `quorlscope export FILE... --to OUT` converts saved
// documents. No windows, no splash, no preferences written.
#pragma once

#include "formats/exportformats.h"

#include <string>
#include <vector>

// Exit statuses: 0 done, 1 a file could not be read or written, 2 the
// arguments are wrong (usage, or out of the table window's ranges).
enum : int { kSubcommandDone = 0, kSubcommandFileFailed = 1, kSubcommandBadArguments = 2 };

// True for an export to PDF: the page is drawn through the printing path,
// which the command-line program, with Qt Core alone, does not have.
bool QRLSubcommandNeedsPainting(int argc, char **argv);
// Draws tables into a PDF document; ok false (and nothing) when it cannot.
// The windowed program, which can paint, gives one before it runs an
// export to PDF; without it such an export fails (status 1).
using tSubcommandPDFRenderer = std::string (*)(const std::vector<tExportTable> &tables, bool *ok);
void QRLSetSubcommandPDFRenderer(tSubcommandPDFRenderer renderer);
// Runs the subcommand in args (args[0] is the subcommand's name); what it
// prints goes to out, messages to err. Nothing is written to a file unless
// the whole run succeeds.
int QRLRunSubcommand(const std::vector<std::string> &args, std::string *out, std::string *err);
// The process's entry for a subcommand: a core application without a
// display, standard output and error.
int QRLRunSubcommandProcess(int argc, char **argv);
