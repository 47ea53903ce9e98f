// Where a print job goes: the printer, or the PDF file the print dialog
// names, written as a saved document is (a temporary beside it, renamed
// over it once complete), so that no partial file is ever left. A job that
// cannot be written is told to the user in a note alert naming the output
// and the reason.
#pragma once

#include "platform/atomicsave.h"

#include <string>

class QPrinter;

class PrintOutput
{
  public:
    explicit PrintOutput(QPrinter &printer);
    // Points a PDF job at its temporary; false, alerted, when the folder
    // cannot be written.
    bool begin();
    // The job failed: the alert says why; wholePath names the file by its path.
    void fail(const std::string &reason, bool wholePath = false);
    // The pages are painted: a complete PDF file replaces its target.
    void finish();

  private:
    std::string outputName() const;
    QPrinter &printer;
    std::string target; // the PDF file, or empty for a printer
    AtomicSave replacement;
};
