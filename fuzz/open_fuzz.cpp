// Feeds arbitrary bytes through opening a table document: the bytes become
// a file, the file is opened into the empty start-up document and, for some
// inputs, again and as a copy into a second window, and the sheets are
// drawn. Run by hand with
//   build-fuzz/fuzz/open_fuzz -max_total_time=600 fuzz/corpus/open_fuzz
#include "app/main.h"
#include "document/document.h"
#include "files/file.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/testing.h"
#include "tests/support/alert_answerer.h"

#include <QApplication>
#include <QEvent>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

std::string documentPath;
std::string copyPath;

// Back to one empty document with no file, as start-up leaves it. The
// start-up window is kept from run to run: building windows is slow.
void resetToStartup()
{
    while (BGetNumberOfDocuments() > 1)
        BCloseDocument(BGetDocumentWindowByIndex(1));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (BGetNumberOfDocuments() == 0) {
        tDocumentPtr fresh = BInitDocument();
        if (!fresh)
            std::abort();
        fresh->show();
    }
    tDocumentPtr document = BGetDocumentWindowsDocPtr(BGetDocumentWindowByIndex(0));
    document->filePath.clear();
    document->fileLocked = false;
    *document->dataPtr = tData{};
    BSetDocumentDirty(document, 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

// The font library keeps a cache per new text face that it never frees;
// leaks are looked for in our own code.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace
{

// One computed table opened and drawn before fuzzing starts, so that the
// libraries' one-time caches (fonts above all) are filled outside the runs
// that the leak check watches.
void warmUp()
{
    tData data{};
    QRLCalculateTable(&data, kDistanceUnitMeters, 5.0, 50.0, 30e-6, fullFrameDigital);
    std::uint8_t image[kDocumentFileSize];
    BEncodeData(&data, image);
    LLVMFuzzerTestOneInput(image, sizeof image);
}

} // namespace

namespace
{

void writeInput(const std::string &path, const std::uint8_t *data, std::size_t size)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    if (size > 0)
        std::fwrite(data, 1, size, file);
    std::fclose(file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    writeInput(documentPath, data, size);
    resetToStartup();
    BDoOpenFile(documentPath); // into the empty start-up document
    // One input in sixteen again, as the same file (its window comes to the
    // front) and as a copy: into the same window when it stayed empty, else
    // into a new one.
    if (size % 16 == 0) {
        BDoOpenFile(documentPath);
        writeInput(copyPath, data, size);
        BDoOpenFile(copyPath);
    }
    for (int i = 0; i < BGetNumberOfDocuments(); ++i)
        BDrawDocsWindowDataUpdate(BGetDocumentWindowByIndex(std::int16_t(i)));
    TakeShownAlerts();
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    char folderPattern[] = "/tmp/qrl-fuzz-XXXXXX";
    const char *folder = mkdtemp(folderPattern);
    if (!folder)
        std::abort();
    setenv("HOME", folder, 1);
    setenv("XDG_CONFIG_HOME", folder, 1);
    documentPath = std::string(folder) + "/input.qrtb";
    copyPath = std::string(folder) + "/copy.qrtb";
    platform::initialize(*argc, *argv, platform::StartOptions{true});
    BInitApplication();
    platform::runEventLoop(); // headless: marks the loop running and returns
    warmUp();
    return 0;
}
