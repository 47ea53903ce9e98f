#include "print/printoutput.h"

#include "platform/alerts.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <algorithm>

namespace
{

// A complete PDF file ends with its end-of-file marker; a full disk leaves
// it short.
bool isCompletePdf(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() < 8)
        return false;
    file.seek(std::max<qint64>(0, file.size() - 32));
    return file.readAll().contains("%%EOF");
}

} // namespace

PrintOutput::PrintOutput(QPrinter &printer) : printer(printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        target = printer.outputFileName().toStdString();
}

bool PrintOutput::begin()
{
    if (target.empty())
        return true;
    const FileError error = replacement.begin(target, Replace::any);
    if (error.failed()) {
        fail("The folder \u201c" + QFileInfo(QString::fromStdString(target)).absolutePath().toStdString() +
             "\u201d cannot be written: " + error.reason() + ".");
        return false;
    }
    printer.setOutputFileName(QString::fromStdString(replacement.temporaryPath()));
    return true;
}

void PrintOutput::fail(const std::string &reason, bool wholePath)
{
    replacement.discard();
    const std::string what = wholePath && !target.empty() ? target : outputName();
    // Built before the call, so that the texts extracted for translation
    // leave it out: this alert has always shown it in English.
    const std::string message = "The table could not be printed to \u201c" + what + "\u201d.";
    showAlert(message, reason);
}

void PrintOutput::finish()
{
    if (target.empty())
        return;
    if (!isCompletePdf(replacement.temporaryPath())) {
        fail("The file could not be written completely; the disk may be full.");
        return;
    }
    // A printout can be made again: the file is not flushed to the disk
    // before the rename, which keeps a partial file from the target all the same.
    const FileError error = replacement.commit(false);
    if (error.failed())
        fail(error.reason() + ".");
}

std::string PrintOutput::outputName() const
{
    if (!target.empty())
        return QFileInfo(QString::fromStdString(target)).fileName().toStdString();
    return printer.printerName().toStdString();
}
