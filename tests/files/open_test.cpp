// Opening table documents: into the empty start-up window or a new one,
// files of any length and content, the ten-document limit, the Open dialog
// and files handed over by a later start.
#include "app/opendocuments.h"
#include "files_helpers.h"

#include <sys/stat.h>

using namespace qrltest;
using namespace filetest;

namespace
{

using Opening = FileTest;

// An empty file leaves the start-up document empty, so the next file goes
// into the same window, which first lets go of the empty file; once the
// start-up document has a table, a file opens in a second window.
TEST_F(Opening, StartupWindowTakesFilesUntilItHasATable)
{
    writeFile(path("empty.qrtb"), {});
    ASSERT_FALSE(open("empty.qrtb").failed());
    EXPECT_EQ(platform::windowTitleOf(window), "empty.qrtb");
    EXPECT_FALSE(QRLIsDataValid(documentOf(window)->dataPtr));
    const tData saved = table(4, 50);
    writeFile(path("a.qrtb"), layout(saved));
    ASSERT_FALSE(open("a.qrtb").failed());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(DocumentAt(0), window);
    EXPECT_FALSE(isOpen(folder, "empty.qrtb"));
    EXPECT_EQ(platform::windowTitleOf(window), "a.qrtb");
    EXPECT_EQ(window->windowFilePath().toStdString(), path("a.qrtb"));
    EXPECT_EQ(record(), layout(saved));
    EXPECT_EQ(BIsDocumentDirty(window), 0);
    EXPECT_FALSE(documentOf(window)->fileLocked);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(AlertMessages().empty());
    writeFile(path("b.qrtb"), layout(table(6, 85)));
    ASSERT_FALSE(open("b.qrtb").failed());
    ASSERT_EQ(BGetNumberOfDocuments(), 2);
    QWidget *opened = DocumentAt(1);
    EXPECT_EQ(platform::windowTitleOf(opened), "b.qrtb");
    EXPECT_EQ(platform::frontWindow(), opened);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), opened);
    EXPECT_EQ(platform::windowTitleOf(window), "a.qrtb");
}

// Files handed over skip those that are not table documents, fill the
// start-up window with the first table, then open a new window.
TEST_F(Opening, HandedOverFilesFillStartupThenNewWindow)
{
    writeFile(path("notes.txt"), Bytes(280, 1));
    writeFile(path("one.qrtb"), layout(table(4, 50)));
    writeFile(path("two.qrtb"), layout(table(6, 85)));
    BOpenHandedOverDocuments({path("notes.txt"), path("one.qrtb"), path("two.qrtb")});
    ASSERT_EQ(BGetNumberOfDocuments(), 2);
    EXPECT_EQ(platform::windowTitleOf(DocumentAt(0)), "one.qrtb");
    EXPECT_EQ(platform::windowTitleOf(DocumentAt(1)), "two.qrtb");
    EXPECT_FALSE(isOpen(folder, "notes.txt"));
}

TEST_F(Opening, OpenDialogListsFoldersAndTablesOnlyAndOpensOne)
{
    // The type attribute decides; lacking it, the name's extension in any case.
    for (const char *name : {"a.qrtb", "B.QRTB", "c.txt", "qrtb", "plain name", "text.qrtb"})
        writeFile(path(name), layout(table(4, 50)));
    ASSERT_EQ(setxattr(path("plain name").c_str(), "user.type", "QRTb", 4, 0), 0);
    ASSERT_EQ(setxattr(path("text.qrtb").c_str(), "user.type", "TEXT", 4, 0), 0);
    ASSERT_EQ(mkdir(path("sub").c_str(), 0755), 0);
    Trigger("Open");
    ShownDialog dialog = OnlyDialog();
    EXPECT_TRUE(dialog.fileDialog && !dialog.saves);
    EXPECT_EQ(dialog.parent, nullptr);
    EXPECT_EQ(dialog.modality, Qt::ApplicationModal);
    EXPECT_EQ(dialog.title, "Quorlscope");
    EXPECT_FALSE(dialog.multipleFiles);
    EXPECT_EQ(ListFolder(dialog, folder), (Strings{"B.QRTB", "a.qrtb", "plain name", "sub"}));
    EXPECT_FALSE(ChooseFiles(dialog, {path("a.qrtb"), path("B.QRTB")}));
    // A file of another type is ignored; Cancel opens nothing; each time a
    // new Open dialog comes up after the last one ended.
    ASSERT_TRUE(ChooseFiles(dialog, {path("c.txt")}));
    Trigger("Open");
    ASSERT_TRUE(Press(OnlyDialog(), "Cancel"));
    EXPECT_EQ(platform::windowTitleOf(window), "Untitled ");
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_TRUE(AlertMessages().empty());
    Trigger("Open");
    ASSERT_TRUE(ChooseFiles(OnlyDialog(), {path("plain name")}));
    EXPECT_EQ(platform::windowTitleOf(window), "plain name");
    EXPECT_TRUE(ShownDialogs().empty());
}

TEST_F(Opening, TenDocumentsRefuseEveryFileWithAlert)
{
    ComputeTable({"3", "50", {}, {}});
    for (int i = 0; i < 9; ++i)
        Trigger("New");
    ASSERT_EQ(BGetNumberOfDocuments(), 10);
    writeFile(path("x.qrtb"), Bytes(280, 0));
    writeFile(path("y.qrtb"), Bytes(280, 0));
    EXPECT_FALSE(open("x.qrtb").failed());
    EXPECT_FALSE(open("y.qrtb").failed());
    const std::string message = "Could not open File, because the maximum number of documents are open";
    EXPECT_EQ(AlertMessages(), (Strings{message, message}));
    EXPECT_EQ(BGetNumberOfDocuments(), 10);
    EXPECT_FALSE(isOpen(folder, "x.qrtb"));
}

TEST_F(Opening, ShortFileReplacesOnlyLeadingBytes)
{
    ComputeTable({"3", "50", {}, {}});
    Trigger("New");
    const Bytes before = layout(*documentOf(DocumentAt(1))->dataPtr);
    const Bytes full = layout(table(4, 50));
    writeFile(path("short.qrtb"), Bytes(full.begin(), full.begin() + 20));
    ASSERT_FALSE(open("short.qrtb").failed());
    // The empty second document was not the only one: a third window.
    ASSERT_EQ(BGetNumberOfDocuments(), 3);
    Bytes expected = before;
    std::copy(full.begin(), full.begin() + 20, expected.begin());
    EXPECT_EQ(layout(*documentOf(DocumentAt(2))->dataPtr), expected);
    EXPECT_TRUE(AlertMessages().empty());
}

// Random bytes go through the fuzz target; here a file no program wrote.
TEST_F(Opening, GarbageFileOpensAndDraws)
{
    writeFile(path("garbage.qrtb"), garbageImage());
    ASSERT_FALSE(open("garbage.qrtb").failed());
    EXPECT_TRUE(AlertMessages().empty());
    EXPECT_EQ(record(), garbageImage()); // every field taken as it was, bit for bit
    EXPECT_FALSE(Texts(window).empty());
}

// A file that cannot be read leaves no document holding it: the start-up
// document lets go of it, a new document made for it is closed again.
TEST_F(Opening, UnreadableFileAlertsAndLeavesNoDocumentWithIt)
{
    writeFile(path("bad.qrtb"), layout(table(4, 50)));
    struct Case {
        const char *name;
        bool readFault, hasTable;
    } cases[] = {{"missing.qrtb", false, false}, {"bad.qrtb", true, false}, {"bad.qrtb", true, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("case ") + c.name + (c.hasTable ? " after a table" : ""));
        if (c.hasTable)
            ComputeTable({"3", "50", {}, {}});
        platform::setReadFaultForTesting(c.readFault);
        const FileError error = open(c.name);
        platform::setReadFaultForTesting(false);
        EXPECT_EQ(error.number, c.readFault ? EIO : ENOENT);
        EXPECT_EQ(AlertMessages(), Strings{"Could not open File"});
        ASSERT_EQ(BGetNumberOfDocuments(), 1);
        EXPECT_EQ(platform::windowTitleOf(window), "Untitled ");
        EXPECT_TRUE(documentOf(window)->filePath.empty());
        EXPECT_EQ(QRLIsDataValid(documentOf(window)->dataPtr), c.hasTable);
        EXPECT_FALSE(isOpen(folder, c.name));
    }
}

} // namespace
