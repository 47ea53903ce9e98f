// Opening table documents: into the empty start-up window or a new one,
// files of any length and content, locked files, the ten-document limit,
// the Open dialog and the open-documents event.
#include "files/file.h"
#include "files_helpers.h"
#include "platform/appleevents.h"
#include "platform/files.h"
#include "platform/window.h"

#include <cmath>
#include <limits>
#include <sys/stat.h>
#include <sys/xattr.h>

using namespace qrltest;
using namespace filetest;

namespace
{

class Opening : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        StartApplication();
        folder = TempFolder();
    }
    std::string path(const std::string &name) const { return folder + "/" + name; }
    OSStatus open(const std::string &name)
    {
        FSSpec fileSpec;
        FSMakeFSSpec(path(name), &fileSpec);
        return BDoOpenFile(&fileSpec);
    }
    std::string folder;
};

TEST_F(Opening, FileGoesIntoEmptyStartupWindow)
{
    const tData saved = table(4, 50);
    writeFile(path("a.qrtb"), layout(saved));
    WindowRef startup = DocumentWindow(0);
    ASSERT_EQ(open("a.qrtb"), noErr);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(DocumentWindow(0), startup);
    EXPECT_EQ(GetWTitle(startup), "a.qrtb");
    EXPECT_EQ(GetWindowProxyFilePath(startup), path("a.qrtb"));
    EXPECT_EQ(layout(*documentOf(startup)->dataPtr), layout(saved));
    EXPECT_EQ(BIsDocumentDirty(startup), 0);
    EXPECT_FALSE(documentOf(startup)->fileLocked);
    EXPECT_TRUE(IsWindowVisible(startup));
    EXPECT_TRUE(AlertMessages().empty());
}

TEST_F(Opening, SecondWindowWhenStartupDocumentHasTable)
{
    computeInFront("3", "50");
    writeFile(path("b.qrtb"), layout(table(4, 50)));
    ASSERT_EQ(open("b.qrtb"), noErr);
    ASSERT_EQ(BGetNumberOfDocuments(), 2);
    WindowRef opened = DocumentWindow(1);
    EXPECT_EQ(GetWTitle(opened), "b.qrtb");
    EXPECT_EQ(FrontWindow(), opened);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), opened);
    EXPECT_EQ(GetWTitle(DocumentWindow(0)), "Untitled ");
}

TEST_F(Opening, TwoFilesFromStartupFillStartupThenNewWindow)
{
    writeFile(path("one.qrtb"), layout(table(4, 50)));
    writeFile(path("two.qrtb"), layout(table(6, 85)));
    AppleEvent event;
    event.eventID = kAEOpenDocuments;
    event.directObject = {{path("one.qrtb"), true}, {path("two.qrtb"), true}};
    ASSERT_EQ(AESendAppleEvent(event), noErr);
    ASSERT_EQ(BGetNumberOfDocuments(), 2);
    EXPECT_EQ(GetWTitle(DocumentWindow(0)), "one.qrtb");
    EXPECT_EQ(GetWTitle(DocumentWindow(1)), "two.qrtb");
}

TEST_F(Opening, OpenDocumentsEventSkipsOtherFiles)
{
    writeFile(path("notes.txt"), Bytes(280, 1));
    AppleEvent event;
    event.eventID = kAEOpenDocuments;
    event.directObject = {{path("notes.txt"), true}};
    AESendAppleEvent(event);
    EXPECT_EQ(GetWTitle(DocumentWindow(0)), "Untitled ");
    EXPECT_EQ(documentOf(DocumentWindow(0))->fRefNum, -1);
}

TEST_F(Opening, TypeAttributeMakesAnyNameADocument)
{
    writeFile(path("plain name"), layout(table(4, 50)));
    ASSERT_EQ(setxattr(path("plain name").c_str(), "user.type", "QRTb", 4, 0), 0);
    SendCommand("open");
    const PendingNavDialog dialog = onlyDialog();
    EXPECT_EQ(NavTestListFolder(dialog.dialog, folder), std::vector<std::string>{"plain name"});
    ASSERT_EQ(NavTestChooseFiles(dialog.dialog, {path("plain name")}), noErr);
    EXPECT_EQ(GetWTitle(DocumentWindow(0)), "plain name");
}

TEST_F(Opening, OpenDialogListsFoldersAndTablesOnly)
{
    writeFile(path("a.qrtb"), Bytes(280, 0));
    writeFile(path("B.QRTB"), Bytes(280, 0));
    writeFile(path("c.txt"), Bytes(280, 0));
    writeFile(path("qrtb"), Bytes(280, 0));
    ASSERT_EQ(mkdir(path("sub").c_str(), 0755), 0);
    SendCommand("open");
    const PendingNavDialog dialog = onlyDialog();
    EXPECT_EQ(dialog.kind, NavDialogKind::getFile);
    EXPECT_EQ(dialog.parentWindow, nullptr);
    EXPECT_NE(dialog.modality, kWindowModalityWindowModal);
    EXPECT_EQ(dialog.clientName, "Quorlscope");
    EXPECT_EQ(dialog.optionFlags & kNavAllowMultipleFiles, 0u);
    EXPECT_EQ(NavTestListFolder(dialog.dialog, folder),
              (std::vector<std::string>{"B.QRTB", "a.qrtb", "sub"}));
    // One file at a time.
    EXPECT_EQ(NavTestChooseFiles(dialog.dialog, {path("a.qrtb"), path("B.QRTB")}), paramErr);
    ASSERT_EQ(NavTestChooseFiles(dialog.dialog, {path("a.qrtb")}), noErr);
    EXPECT_EQ(GetWTitle(DocumentWindow(0)), "a.qrtb");
    EXPECT_TRUE(GetPendingNavDialogs().empty());
}

TEST_F(Opening, OpenDialogIgnoresOtherTypesAndCancel)
{
    writeFile(path("c.txt"), Bytes(280, 0));
    SendCommand("open");
    ASSERT_EQ(NavTestChooseFiles(onlyDialog().dialog, {path("c.txt")}), noErr);
    EXPECT_EQ(GetWTitle(DocumentWindow(0)), "Untitled ");
    EXPECT_TRUE(AlertMessages().empty());
    SendCommand("open");
    ASSERT_EQ(NavTestAnswer(onlyDialog().dialog, kNavUserActionCancel), noErr);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    // A new Open dialog comes up after the last one ended.
    SendCommand("open");
    EXPECT_EQ(onlyDialog().kind, NavDialogKind::getFile);
}

TEST_F(Opening, TenDocumentsRefuseEveryFileWithAlert)
{
    computeInFront("3", "50");
    for (int i = 0; i < 9; ++i)
        SendCommand("new ");
    ASSERT_EQ(BGetNumberOfDocuments(), 10);
    writeFile(path("x.qrtb"), Bytes(280, 0));
    writeFile(path("y.qrtb"), Bytes(280, 0));
    EXPECT_EQ(open("x.qrtb"), noErr);
    EXPECT_EQ(open("y.qrtb"), noErr);
    const std::string message = "Could not open File, because the maximum number of documents are open";
    EXPECT_EQ(AlertMessages(), (std::vector<std::string>{message, message}));
    EXPECT_EQ(BGetNumberOfDocuments(), 10);
    FSSpec x{folder, "x.qrtb"};
    EXPECT_FALSE(FSIsFileOpen(&x));
}

TEST_F(Opening, ShortFileReplacesOnlyLeadingBytes)
{
    computeInFront("3", "50");
    SendCommand("new ");
    WindowRef second = DocumentWindow(1);
    const Bytes before = layout(*documentOf(second)->dataPtr);
    const Bytes full = layout(table(4, 50));
    writeFile(path("short.qrtb"), Bytes(full.begin(), full.begin() + 20));
    ASSERT_EQ(open("short.qrtb"), noErr);
    // The empty second document was not the only one: a third window.
    ASSERT_EQ(BGetNumberOfDocuments(), 3);
    const Bytes now = layout(*documentOf(DocumentWindow(2))->dataPtr);
    Bytes expected = before;
    std::copy(full.begin(), full.begin() + 20, expected.begin());
    EXPECT_EQ(now, expected);
    EXPECT_TRUE(AlertMessages().empty());
}

TEST_F(Opening, EmptyFileOpensAsEmptyDocument)
{
    writeFile(path("empty.qrtb"), {});
    ASSERT_EQ(open("empty.qrtb"), noErr);
    WindowRef window = DocumentWindow(0);
    EXPECT_EQ(GetWTitle(window), "empty.qrtb");
    EXPECT_FALSE(QRLIsDataValid(documentOf(window)->dataPtr));
    // Still empty, so the next file goes into the same window, which first
    // lets go of the empty file.
    writeFile(path("full.qrtb"), layout(table(4, 50)));
    ASSERT_EQ(open("full.qrtb"), noErr);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(GetWTitle(window), "full.qrtb");
    FSSpec empty{folder, "empty.qrtb"};
    EXPECT_FALSE(FSIsFileOpen(&empty));
}

TEST_F(Opening, LongFileIsReadUpTo280BytesAndCutOnSave)
{
    Bytes bytes = layout(table(4, 50));
    const Bytes head = bytes;
    bytes.resize(1000, 0x77);
    writeFile(path("long.qrtb"), bytes);
    ASSERT_EQ(open("long.qrtb"), noErr);
    WindowRef window = DocumentWindow(0);
    EXPECT_EQ(layout(*documentOf(window)->dataPtr), head);
    computeInFront("3", "50");
    SendCommand("save");
    EXPECT_EQ(readFile(path("long.qrtb")).size(), 280u);
}

TEST_F(Opening, GarbageFilesOpenAndDraw)
{
    Bytes garbage(280, 0);
    garbage[0] = 2;
    putInt(garbage, 4, 7);
    putDouble(garbage, 8, std::numeric_limits<double>::quiet_NaN());
    putDouble(garbage, 16, std::numeric_limits<double>::infinity());
    putDouble(garbage, 24, -std::numeric_limits<double>::infinity());
    putInt(garbage, 32, 99);
    for (std::size_t row = 0; row < 10; ++row)
        putDouble(garbage, 56 + 24 * row, row % 2 ? std::numeric_limits<double>::quiet_NaN() : 1e300);
    writeFile(path("garbage.qrtb"), garbage);
    Bytes random(280);
    std::uint32_t state = 2463534242u;
    for (auto &b : random) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = std::uint8_t(state);
    }
    writeFile(path("random.qrtb"), random);
    ASSERT_EQ(open("garbage.qrtb"), noErr);
    ASSERT_EQ(open("random.qrtb"), noErr);
    EXPECT_EQ(BGetNumberOfDocuments(), 2);
    EXPECT_TRUE(AlertMessages().empty());
    EXPECT_FALSE(Texts(DocumentWindow(0)).empty());
    EXPECT_FALSE(Texts(DocumentWindow(1)).empty());
}

TEST_F(Opening, LockedFileOpensReadOnlyWithoutSave)
{
    writeFile(path("ro.qrtb"), layout(table(4, 50)));
    ASSERT_EQ(chmod(path("ro.qrtb").c_str(), 0444), 0);
    ASSERT_EQ(open("ro.qrtb"), noErr);
    WindowRef window = DocumentWindow(0);
    EXPECT_TRUE(documentOf(window)->fileLocked);
    EXPECT_NE(documentOf(window)->fRefNum, -1);
    computeInFront("3", "50");
    EXPECT_FALSE(IsCommandEnabled("save"));
}

TEST_F(Opening, FailedReadClosesNewDocumentAgain)
{
    computeInFront("3", "50");
    writeFile(path("bad.qrtb"), layout(table(4, 50)));
    FSSetReadFaultForTesting(true);
    EXPECT_EQ(open("bad.qrtb"), ioErr);
    FSSetReadFaultForTesting(false);
    EXPECT_EQ(AlertMessages(), std::vector<std::string>{"Could not open File"});
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(GetWTitle(DocumentWindow(0)), "Untitled ");
    FSSpec fileSpec{folder, "bad.qrtb"};
    EXPECT_FALSE(FSIsFileOpen(&fileSpec));
}

TEST_F(Opening, FailedReadIntoStartupDocumentLetsGoOfFile)
{
    writeFile(path("bad.qrtb"), layout(table(4, 50)));
    FSSetReadFaultForTesting(true);
    EXPECT_EQ(open("bad.qrtb"), ioErr);
    FSSetReadFaultForTesting(false);
    EXPECT_EQ(AlertMessages(), std::vector<std::string>{"Could not open File"});
    ASSERT_EQ(BGetNumberOfDocuments(), 1);
    WindowRef window = DocumentWindow(0);
    EXPECT_EQ(GetWTitle(window), "Untitled ");
    EXPECT_EQ(documentOf(window)->fRefNum, -1);
    EXPECT_FALSE(QRLIsDataValid(documentOf(window)->dataPtr));
    FSSpec fileSpec{folder, "bad.qrtb"};
    EXPECT_FALSE(FSIsFileOpen(&fileSpec));
}

TEST_F(Opening, UnreadableFileAlertsAndLeavesNoDocument)
{
    SendCommand("open");
    ASSERT_EQ(NavTestAnswer(onlyDialog().dialog, kNavUserActionCancel), noErr);
    EXPECT_NE(open("missing.qrtb"), noErr);
    EXPECT_EQ(AlertMessages(), std::vector<std::string>{"Could not open File"});
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
}

} // namespace
