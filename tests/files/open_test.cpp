// The document file and opening it: the 280-byte image against the layout
// written out field by field, files of any length and content, the Open
// dialog, files handed over at start-up, a file already open, files that
// cannot be read, and the bundle facts that name the document type.
#include "app/opendocuments.h"
#include "files_helpers.h"
#include "platform/bundle.h"
#include "platform/files.h"
#include "platform/prefs.h"

#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

using namespace qrltest;
using namespace filetest;

namespace
{

Bytes encode(const tData &d)
{
    Bytes b(280, 0xAA);
    BEncodeData(&d, b.data());
    return b;
}

tData computed(std::int32_t unit)
{
    tData d;
    std::memset(&d, 0x5C, sizeof d); // fill bytes hold something other than zero
    QRLCalculateTable(&d, unit, 15.0, 50.0, 30e-6, fullFrameDigital);
    return d;
}

// Computed tables in both units and a record made by hand encode as the
// layout and decode back bit for bit; the hand-made one's first fields and
// last are pinned to bytes written out.
TEST(FileFormat, ImageIsTheLayoutAndComesBackBitForBit)
{
    tData hand{};
    hand.valid = true;
    hand.distanceUnit = 2;
    hand.argumentList = {1.0, 85.5, 19e-6, mediumFormat};
    for (int i = 0; i < 10; ++i)
        hand.table[i] = {1.4 * (i + 1), 0.1 + i, i == 9 ? -1.0 : 10.0 + i};
    for (const tData &d : {computed(kDistanceUnitMeters), computed(kDistanceUnitFeet), hand}) {
        ASSERT_TRUE(d.valid);
        EXPECT_EQ(encode(d), layout(d)) << "unit " << d.distanceUnit;
        tData back{};
        BDecodeData(layout(d).data(), 280, &back);
        EXPECT_EQ(layout(back), layout(d)) << "unit " << d.distanceUnit;
    }
    const Bytes b = encode(hand);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 16),
              (Bytes{1, 0, 0, 0, 0, 0, 0, 2, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Bytes(b.begin() + 32, b.begin() + 40), (Bytes{0, 0, 0, 3, 0, 0, 0, 0}));
    EXPECT_EQ(Bytes(b.end() - 8, b.end()), (Bytes{0xBF, 0xF0, 0, 0, 0, 0, 0, 0}));
}

// A short image replaces only the bytes it has; an empty one nothing.
TEST(FileFormat, ShortImagesReplaceOnlyLeadingBytes)
{
    tData other{};
    other.valid = true;
    other.distanceUnit = 2;
    other.argumentList.distance = 7.0;
    const Bytes image = layout(other);
    for (std::size_t length : {0, 12, 279}) {
        tData record = computed(length ? kDistanceUnitMeters : kDistanceUnitFeet);
        Bytes expected = encode(record);
        std::copy(image.begin(), image.begin() + long(length), expected.begin());
        BDecodeData(length ? image.data() : nullptr, length, &record);
        EXPECT_EQ(encode(record), expected) << length << " bytes";
    }
}

using Opening = FileTest;

// An empty file leaves the start-up document empty, so the next file goes
// into the same window, which lets go of the empty file; once the start-up
// document has a table, a file opens in a window of its own. A short file
// replaces the leading bytes of the new document's record; a file no
// program wrote is taken bit for bit and drawn.
TEST_F(Opening, StartupWindowTakesFilesUntilItHasATable)
{
    WriteBytes(path("empty.qrtb"), {});
    ASSERT_FALSE(open("empty.qrtb").failed());
    EXPECT_EQ(platform::windowTitleOf(window), "empty.qrtb");
    EXPECT_FALSE(QRLIsDataValid(documentOf(window)->dataPtr));
    WriteBytes(path("a.qrtb"), layout(table(4, 50)));
    ASSERT_FALSE(open("a.qrtb").failed());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_FALSE(isOpen(folder, "empty.qrtb"));
    EXPECT_EQ(platform::windowTitleOf(window), "a.qrtb");
    EXPECT_EQ(window->windowFilePath().toStdString(), path("a.qrtb"));
    EXPECT_EQ(record(), layout(table(4, 50)));
    EXPECT_EQ(BIsDocumentDirty(window), 0);
    EXPECT_FALSE(documentOf(window)->fileLocked);
    const Bytes full = layout(table(6, 85));
    Bytes shortened = Bytes(full.begin(), full.begin() + 20), garbage = garbageImage();
    WriteBytes(path("short.qrtb"), shortened);
    WriteBytes(path("garbage.qrtb"), garbage);
    Trigger("New");
    Bytes blank = layout(*documentOf(DocumentAt(1))->dataPtr);
    std::copy(shortened.begin(), shortened.end(), blank.begin());
    for (const auto &[name, expected] :
         {std::pair{"short.qrtb", blank}, std::pair{"garbage.qrtb", garbage}}) {
        ASSERT_FALSE(open(name).failed());
        QWidget *opened = DocumentAt(BGetNumberOfDocuments() - 1);
        EXPECT_EQ(platform::windowTitleOf(opened), name);
        EXPECT_EQ(platform::frontWindow(), opened);
        EXPECT_EQ(BGetCurrentDocsWindowRef(), opened);
        EXPECT_EQ(layout(*documentOf(opened)->dataPtr), expected);
        EXPECT_FALSE(Texts(opened).empty());
    }
    EXPECT_EQ(BGetNumberOfDocuments(), 4); // the empty second window was not the only one
    EXPECT_EQ(record(), layout(table(4, 50)));
    EXPECT_TRUE(AlertMessages().empty());
}

// Files handed over skip those that are not table documents, fill the
// start-up window with the first table, then open a new window.
TEST_F(Opening, HandedOverFilesFillStartupThenNewWindow)
{
    WriteBytes(path("notes.txt"), Bytes(280, 1));
    WriteBytes(path("one.qrtb"), layout(table(4, 50)));
    WriteBytes(path("two.qrtb"), layout(table(6, 85)));
    BOpenHandedOverDocuments({path("notes.txt"), path("one.qrtb"), path("two.qrtb")});
    EXPECT_EQ(DocumentTitles(), (Strings{"one.qrtb", "two.qrtb"}));
    EXPECT_FALSE(isOpen(folder, "notes.txt"));
}

// The type attribute decides; lacking it, the name's extension in any case.
// One file at a time; Cancel opens nothing.
TEST_F(Opening, OpenDialogListsFoldersAndTablesOnlyAndOpensOne)
{
    for (const char *name : {"a.qrtb", "B.QRTB", "c.txt", "qrtb", "plain name", "text.qrtb"})
        WriteBytes(path(name), layout(table(4, 50)));
    ASSERT_EQ(setxattr(path("plain name").c_str(), "user.type", "QRTb", 4, 0), 0);
    ASSERT_EQ(setxattr(path("text.qrtb").c_str(), "user.type", "TEXT", 4, 0), 0);
    ASSERT_EQ(mkdir(path("sub").c_str(), 0755), 0);
    Trigger("Open");
    const ShownDialog dialog = OnlyDialog();
    EXPECT_TRUE(dialog.fileDialog && !dialog.saves && !dialog.multipleFiles);
    EXPECT_EQ(dialog.parent, nullptr);
    EXPECT_EQ(dialog.modality, Qt::ApplicationModal);
    EXPECT_EQ(dialog.title, "Quorlscope");
    EXPECT_EQ(ListFolder(dialog, folder), (Strings{"B.QRTB", "a.qrtb", "plain name", "sub"}));
    EXPECT_FALSE(ChooseFiles(dialog, {path("a.qrtb"), path("B.QRTB")}));
    ASSERT_TRUE(ChooseFiles(dialog, {path("c.txt")}));
    Trigger("Open");
    ASSERT_TRUE(Press(OnlyDialog(), "Cancel"));
    EXPECT_EQ(platform::windowTitleOf(window), "Untitled ");
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    Trigger("Open");
    ASSERT_TRUE(ChooseFiles(OnlyDialog(), {path("plain name")}));
    EXPECT_EQ(platform::windowTitleOf(window), "plain name");
    EXPECT_TRUE(ShownDialogs().empty());
    EXPECT_TRUE(AlertMessages().empty());
}

// A file a document holds, opened again directly, by the Open dialog or
// handed over through a symbolic link, brings that document's window to
// the front with its changes; nothing new is made.
TEST_F(Opening, FileAlreadyOpenComesToTheFront)
{
    WriteBytes(path("a.qrtb"), layout(table(4, 50)));
    ASSERT_EQ(symlink(path("a.qrtb").c_str(), path("link.qrtb").c_str()), 0);
    ASSERT_FALSE(open("a.qrtb").failed());
    ComputeTable({"9", "35", {}, {}});
    const Bytes changed = record();
    Trigger("New");
    const std::function<void()> ways[] = {
        [&] { (void)open("a.qrtb"); },
        [&] {
            Trigger("Open");
            ChooseFiles(OnlyDialog(), {path("a.qrtb")});
        },
        [&] { BOpenHandedOverDocuments({path("link.qrtb")}); },
    };
    for (const auto &openAgain : ways) {
        platform::selectWindow(DocumentAt(1));
        openAgain();
        EXPECT_EQ(platform::frontWindow(), window);
        EXPECT_EQ(BGetCurrentDocsWindowRef(), window);
    }
    EXPECT_EQ(BGetNumberOfDocuments(), 2);
    EXPECT_TRUE(AlertMessages().empty());
    EXPECT_EQ(record(), changed);
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    Trigger("Save");
    EXPECT_EQ(ReadBytes(path("a.qrtb")), changed);
}

// A file that cannot be read: the alert names it and gives the system's
// reason; no document keeps it, the start-up window stays as it was. The
// last row's file is chosen in the Open dialog by a user who may not read it
// (root gives up its rights for the choice).
TEST_F(Opening, UnreadableFileAlertsWithTheReasonAndLeavesNoDocumentWithIt)
{
    WriteBytes(path("bad.qrtb"), layout(table(4, 50)));
    WriteBytes(path("secret.qrtb"), layout(table(4, 50)));
    ASSERT_EQ(mkdir(path("folder.qrtb").c_str(), 0755), 0);
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
    ASSERT_EQ(chmod(path("secret.qrtb").c_str(), 0), 0);
    const struct {
        std::string name;
        int reason;
        bool hasTable;
    } rows[] = {{"missing.qrtb", ENOENT, false},
                {"folder.qrtb", EISDIR, false},
                {"bad.qrtb", EIO, false},
                {"bad.qrtb", EIO, true},
                {"secret.qrtb", EACCES, true}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name + (row.hasTable ? " after a table" : ""));
        if (row.hasTable)
            ComputeTable({"3", "50", {}, {}});
        platform::setReadFaultForTesting(row.reason == EIO);
        if (row.reason == EACCES) {
            Trigger("Open");
            const ShownDialog dialog = OnlyDialog();
            const uid_t user = geteuid();
            ASSERT_EQ(seteuid(user == 0 ? 65534 : user), 0);
            ChooseFiles(dialog, {path(row.name)});
            ASSERT_EQ(seteuid(user), 0);
        } else {
            EXPECT_EQ(open(row.name).number, row.reason);
        }
        platform::setReadFaultForTesting(false);
        const std::vector<ShownAlert> shown = TakeShownAlerts();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].message, "Could not open File");
        EXPECT_EQ(shown[0].explanation, "The file \u201c" + row.name +
                                            "\u201d could not be read: " + std::strerror(row.reason) + ".");
        ASSERT_EQ(BGetNumberOfDocuments(), 1);
        EXPECT_EQ(platform::windowTitleOf(window), "Untitled ");
        EXPECT_TRUE(documentOf(window)->filePath.empty());
        EXPECT_EQ(QRLIsDataValid(documentOf(window)->dataPtr), row.hasTable);
        EXPECT_FALSE(isOpen(folder, row.name));
    }
}

// The program's facts reach the platform through the bundle's information
// keys: with its own bundle nothing a user has on disk moves; with another
// bundle the document type, the temporaries' names and the preference file
// follow it.
struct Bundle {
    std::vector<std::pair<std::string, std::string>> changes;
    std::uint32_t type, creator, other;
    std::string extension, prefix, name;
};

class BundleFacts : public ::testing::TestWithParam<Bundle>
{
};

TEST_P(BundleFacts, DocumentTypeTemporariesAndPreferencesFollowTheBundle)
{
    const Bundle &row = GetParam();
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    std::ifstream in(std::string(QRL_SOURCE_DIR) + "/resources/Info.plist");
    std::string plist{std::istreambuf_iterator<char>(in), {}};
    const std::string bundle = TempFolder(), folder = TempFolder();
    for (const auto &[from, to] : row.changes)
        for (std::size_t at = plist.find(from); at != std::string::npos; at = plist.find(from, at))
            plist.replace(at, from.size(), to);
    std::ofstream(bundle + "/Info.plist") << plist;
    platform::setBundleRoot(row.changes.empty() ? "" : bundle);
    EXPECT_EQ(platform::documentType(), row.type);
    EXPECT_EQ(platform::documentCreator(), row.creator);
    EXPECT_EQ(platform::typeExtension(row.type), row.extension);
    EXPECT_EQ(platform::typeExtension(row.other), "");
    EXPECT_EQ(AtomicSave::temporaryPrefix(), row.prefix);
    EXPECT_EQ(platform::preferences().fileName().toStdString(),
              config.path().toStdString() + "/" + row.name + "/" + row.name + ".conf");
    for (const std::string &name : Strings{"Table." + row.extension, "Table.QRTB", "Table.txt"}) {
        WriteBytes(folder + "/" + name, Bytes(280, 0));
        const auto codes = platform::fileCodes(folder + "/" + name);
        ASSERT_TRUE(codes) << name;
        const bool table = name != "Table.txt" && (name != "Table.QRTB" || row.extension == "qrtb");
        EXPECT_EQ(codes->type, table ? row.type : 0u) << name;
        EXPECT_EQ(codes->creator, table ? row.creator : 0u) << name;
    }
    platform::setBundleRoot("");
}

const Bundle kBundles[] = {
    {{}, 0x51525462, 0x51524c46, 0x44467473, "qrtb", ".quorlscope-save-", "Quorlscope"},
    {{{"<string>qrtb</string>", "<string>dfts</string>"},
      {"<string>QRTb</string>", "<string>DFts</string>"},
      {"<string>QRLF</string>", "<string>DFap</string>"},
      {"org.quorlscope.Quorlscope", "org.example.Fieldbook"},
      {"<key>CFBundleExecutable</key>\n <string>Quorlscope</string>",
       "<key>CFBundleExecutable</key>\n <string>Fieldbook</string>"}},
     0x44467473,
     0x44466170,
     0x51525462,
     "dfts",
     ".fieldbook-save-",
     "Fieldbook"},
};

INSTANTIATE_TEST_SUITE_P(Rows, BundleFacts, ::testing::ValuesIn(kBundles));

} // namespace
