// Document files: opening them against the 280-byte layout, and keeping work
// under each way to save or end, where the file system lets a save through or not.
#include "app/opendocuments.h"
#include "files/appinfo.h"
#include "files/file.h"
#include "platform/process.h"
#include "platform/sessiontesting.h"
#include "tests/support/app_driver.h"

#include <QApplication>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace qrltest;

namespace
{

// Big-endian fields at their offsets; the fill bytes (1-3, 36-39) zero.
std::string layout(const tData &d)
{
    std::string b(280, 0);
    const auto put = [&b](std::size_t at, std::uint64_t value, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i)
            b[at + i] = std::uint8_t(value >> (8 * (size - 1 - i)));
    };
    const auto real = [&put](std::size_t at, double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, 8);
        put(at, bits, 8);
    };
    b[0] = d.valid;
    put(4, std::uint32_t(d.distanceUnit), 4);
    real(8, d.argumentList.distance);
    real(16, d.argumentList.focalLength);
    real(24, d.argumentList.unsharpCircleDiameter);
    put(32, std::uint32_t(d.argumentList.cameraType), 4);
    for (std::size_t i = 0; i < 10; ++i) {
        real(40 + 24 * i, d.table[i].aperture);
        real(48 + 24 * i, d.table[i].nearDistance);
        real(56 + 24 * i, d.table[i].farDistance);
    }
    return b;
}

// The application started headless with its untitled window, and a folder.
class FileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        StartApplication();
        folder = FreshFolder();
        window = DocumentAt(0);
    }
    std::string path(const std::string &name) const { return folder + "/" + name; }
    std::string record() const { return layout(*BGetDocumentWindowsDocPtr(window)->dataPtr); }
    std::string folder;
    QWidget *window = nullptr;
};

using Opening = FileTest;

// Files opened in turn: an unreadable one is named with the system's reason; the start-up
// window takes files until it has a table, then each gets a window; a short file replaces
// leading bytes; one already open, by any path, comes to the front. Handed over: only tables.
TEST_F(Opening, FilesFillTheStartupWindowThenWindowsOfTheirOwn)
{
    const Record computed(kDistanceUnitMeters, 4, 50, 10e-6, fullFrameDigital);
    const std::string full = layout(*computed.data), shortened = full.substr(0, 20);
    const std::string blank = shortened + std::string(260, 0);
    std::string junk(280, 0);
    for (std::size_t i = 0; i < junk.size(); ++i)
        junk[i] = (i > 0 && i < 4) || (i >= 36 && i < 40) ? 0 : std::uint8_t(i * 37 + 11);
    for (const char *name : {"a.qrtb", "c.txt", "plain name", "text.qrtb", "bad.qrtb", "secret.qrtb"})
        ASSERT_TRUE(WriteText(path(name), full));
    WriteText(path("empty.qrtb"), {});
    WriteText(path("short.qrtb"), shortened);
    WriteText(path("garbage.qrtb"), junk);
    ASSERT_EQ(setxattr(path("plain name").c_str(), "user.type", "QRTb", 4, 0), 0);
    ASSERT_EQ(setxattr(path("text.qrtb").c_str(), "user.type", "TEXT", 4, 0), 0);
    ASSERT_EQ(mkdir(path("folder.qrtb").c_str(), 0755), 0);
    ASSERT_EQ(symlink(path("a.qrtb").c_str(), path("link.qrtb").c_str()), 0);
    ASSERT_EQ(chmod(path("secret.qrtb").c_str(), 0), 0);
    const Strings all = {"a.qrtb", "short.qrtb", "garbage.qrtb"};
    const struct {
        std::string name;
        int reason;
        Strings titles;
        std::string shown; // the front window's record
    } rows[] = {{"missing.qrtb", ENOENT, {"Untitled "}, std::string(280, 0)},
                {"folder.qrtb", EISDIR, {"Untitled "}, std::string(280, 0)},
                {"empty.qrtb", 0, {"empty.qrtb"}, std::string(280, 0)},
                {"a.qrtb", 0, {"a.qrtb"}, full},
                {"short.qrtb", 0, {"a.qrtb", "short.qrtb"}, blank},
                {"garbage.qrtb", 0, all, junk},
                {"link.qrtb", 0, all, full},
                {"bad.qrtb", EIO, all, full},
                {"secret.qrtb", EACCES, all, full}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        platform::setReadFaultForTesting(row.reason == EIO);
        const uid_t user = geteuid();
        ASSERT_EQ(seteuid(row.reason == EACCES && IgnoresFileModes() ? 65534 : user), 0); // may not read
        EXPECT_EQ(BDoOpenFile(path(row.name)).number, row.reason);
        ASSERT_EQ(seteuid(user), 0);
        platform::setReadFaultForTesting(false);
        EXPECT_EQ(Alerts(), (row.reason ? Strings{"Could not open File", "The file “" + row.name +
                                                                             "” could not be read: " +
                                                                             std::strerror(row.reason) + "."}
                                        : Strings{}));
        EXPECT_EQ(DocumentTitles(), row.titles);
        EXPECT_EQ(BIsFileInUse(path(row.name)), row.reason == 0);
        EXPECT_EQ(layout(*BGetDocumentWindowsDocPtr(platform::frontWindow())->dataPtr), row.shown);
        EXPECT_FALSE(Contents(platform::frontWindow()).empty());
    }
    EXPECT_FALSE(BIsFileInUse(path("empty.qrtb")));
    BOpenHandedOverDocuments({path("c.txt"), path("text.qrtb"), path("plain name")});
    EXPECT_EQ(DocumentTitles(), (Strings{"a.qrtb", "short.qrtb", "garbage.qrtb", "plain name"}));
}

// logoutQuiet: a session end allowing no interaction; quitEvent: the session manager's last word.
enum class How { save, saveAs, close, revert, quit, logout, signal, logoutQuiet, quitEvent };
// Write bits taken from the folder (root: a read-only mount too); before opening: from the file, or a mount.
enum class Lock { none, bits, unwritable, fileFirst, mountFirst };

bool lockUp(Lock lock, const std::string &folder)
{
    if (lock == Lock::fileFirst)
        return chmod((folder + "/kept.qrtb").c_str(), 0444) == 0;
    if (lock == Lock::bits)
        return chmod(folder.c_str(), 0555) == 0;
    return lock == Lock::unwritable ? MakeUnwritable(folder) : MountReadOnly(folder);
}

// Every entry below the folder with its bytes; a symbolic link as "@".
std::map<std::string, std::string> contents(const std::string &folder)
{
    std::map<std::string, std::string> all;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(folder))
        all[entry.path().string()] = entry.is_symlink() ? "@" : ReadText(entry.path().string());
    return all;
}

// unsaved: 0 none, 1 "kept.qrtb" (a link to "real.qrtb") changed, 2 a second table as well, -1 an
// untitled table. answers: one to each dialog, a Save dialog's the name.
struct Ending {
    How how;
    int unsaved;
    Strings answers;
    SaveStep fault;
    Lock lock;
    bool ends, written;
    int documents, dirty; // left when the process goes on
    Strings alert;        // its message and explanation
};

class Work : public FileTest, public ::testing::WithParamInterface<Ending>
{
};

TEST_P(Work, KeptOrEndedAsAnswered)
{
    const Ending &row = GetParam();
    CatchTerminationSignals();
    for (const char *name : {"closed.qrtb", "locked.qrtb"})
        WriteText(path(name), std::string(280, 0x42));
    ASSERT_EQ(chmod(path("locked.qrtb").c_str(), 0444), 0);
    const Record computed(kDistanceUnitMeters, 3, 50, 10e-6, fullFrameDigital);
    const std::string saved = layout(*computed.data);
    if (row.unsaved >= 0) {
        WriteText(path("real.qrtb"), saved);
        ASSERT_EQ(symlink("real.qrtb", path("kept.qrtb").c_str()), 0);
        if (row.lock == Lock::mountFirst && !MountsUnavailable().empty())
            GTEST_SKIP() << "a read-only mount needs root: " << MountsUnavailable();
        ASSERT_TRUE(row.lock < Lock::fileFirst || lockUp(row.lock, folder)) << MountsUnavailable();
        ASSERT_FALSE(BDoOpenFile(path("kept.qrtb")).failed());
    }
    if (row.unsaved != 0)
        ComputeTable({"9", "35", {}, {}});
    const std::string changed = record();
    if (row.how >= How::quit)
        Trigger("New"); // a clean window in front closes at once
    if (row.unsaved == 2)
        ComputeTable({"4", "50", {}, {}});
    ASSERT_TRUE(row.lock == Lock::none || row.lock >= Lock::fileFirst || lockUp(row.lock, folder));
    std::map<std::string, std::string> expected = contents(folder);
    std::string file = row.how == How::saveAs || row.unsaved < 0 ? row.answers.back() : "kept.qrtb";
    if (file.find('.') == std::string::npos)
        file += ".qrtb";
    if (row.written)
        expected[path(file == "kept.qrtb" ? "real.qrtb" : file)] = changed;
    std::vector<ShownDialog> seen;
    const auto answer = [&] {
        for (const std::string &answer : row.answers) {
            seen.push_back(OnlyDialog());
            if (seen.back().saves && answer != "Cancel")
                ChooseSaveLocation(seen.back(), folder, answer);
            else
                Press(seen.back(), answer);
        }
    };
    SessionEndReport report;
    SetSessionEndScript(row.how == How::logout ? std::function<void()>(answer) : nullptr);
    QEvent quit(QEvent::Quit);
    const std::function<void()> triggers[] = {
        [] { Trigger("Save"); },
        [] { Trigger("SaveAs"); },
        [&] { window->close(); },
        [] { Trigger("Revert"); },
        [] { RequestQuit(); },
        [&] { SimulateSessionEnd(true, &report); },
        [] {
            raise(SIGTERM);
            EXPECT_EQ(DeliverPendingSignals(), 1);
        },
        [&] { SimulateSessionEnd(false, &report); },
        [&] { QApplication::sendEvent(qApp, &quit); },
    };
    SetSaveFaultForTesting(row.fault);
    bool ended = false;
    try {
        triggers[int(row.how)]();
        if (row.how != How::logout)
            answer();
    } catch (const ProcessExitRequested &) {
        ended = true;
    }
    EXPECT_EQ(ended, row.ends);
    SetSaveFaultForTesting(SaveStep::none);
    ASSERT_EQ(seen.size(), row.answers.size());
    if (!seen.empty() && !seen[0].saves) {
        EXPECT_EQ(seen[0].text,
                  row.unsaved == 2 ? "You have 2 documents with unsaved changes. Do you want to review these "
                                     "changes before quitting?"
                  : row.how == How::revert
                      ? "Do you want to discard the changes you made to the document “kept.qrtb”?"
                      : "Do you want to save the changes you made in the document “" +
                            std::string(row.unsaved < 0 ? "Untitled" : "kept.qrtb") + "”" +
                            (row.how == How::close ? "?" : " before quitting?"));
        EXPECT_EQ(seen[0].parent, row.unsaved == 2 ? nullptr : window);
    }
    if (row.fault != SaveStep::abandon) { // which leaves its temporary
        EXPECT_EQ(contents(folder), expected);
    }
    EXPECT_EQ(Alerts(), row.alert);
    if (row.ends)
        return;
    EXPECT_TRUE(NoDialogShown());
    EXPECT_FALSE(BGetAppQuittingStatus());
    EXPECT_EQ(report.cancelled, row.how == How::logout && row.unsaved != 0);
    EXPECT_EQ(BGetNumberOfDocuments(), row.documents);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), row.dirty);
    if (row.documents && row.unsaved == 1 && row.how != How::saveAs) {
        EXPECT_EQ(record(), row.dirty ? changed : saved); // a clean document shows its file
    }
    if (row.documents == 1 && row.unsaved == 1 && !row.written && row.lock == Lock::none) {
        Trigger("Save"); // an ordinary save, which removes temporaries left behind
        expected[path("real.qrtb")] = record();
        EXPECT_EQ(contents(folder), expected);
    }
}

const SaveStep none = SaveStep::none;
const Lock open = Lock::none;
const Strings kLocked = {"Could not save the file because the Volume is locked",
                         "Try to choose another Volume"};
const Strings kNoCopy = {"Could not write Copy", ""};
const Strings kInUse = {"Could not save the File You like to replace, it is in use",
                        "Please choose another name"};

Strings notSaved(int reason)
{
    return {"Could not save the file",
            "The file “kept.qrtb” could not be written: " + std::string(std::strerror(reason)) +
                ".\nIt keeps its previous contents."};
}

const Ending kEndings[] = {
    // How, unsaved, answers, fault, lock, ends, written, documents, dirty, alert
    {How::save, 1, {}, SaveStep::create, open, false, false, 1, 1, notSaved(EIO)},
    {How::save, 1, {}, SaveStep::write, open, false, false, 1, 1, notSaved(ENOSPC)},
    {How::save, 1, {}, SaveStep::flush, open, false, false, 1, 1, notSaved(EIO)},
    {How::save, 1, {}, SaveStep::rename, open, false, false, 1, 1, notSaved(EIO)},
    {How::save, 1, {}, SaveStep::abandon, open, false, false, 1, 1, notSaved(EINTR)},
    {How::save, 1, {}, none, Lock::bits, false, false, 1, 1, kLocked},
    {How::saveAs, 1, {"locked.qrtb"}, none, open, false, false, 1, 1, kNoCopy},
    {How::saveAs, 1, {"copy"}, none, Lock::unwritable, false, false, 1, 1, kNoCopy},
    {How::saveAs, 1, {"kept.qrtb"}, none, open, false, false, 1, 1, kInUse},
    {How::saveAs, 1, {"closed.qrtb"}, none, open, false, true, 1, 0, {}},
    {How::close, 1, {"Save"}, none, open, false, true, 0, 0, {}},
    {How::close, -1, {"Save", "late"}, none, open, false, true, 1, 0, {}},
    {How::close, 1, {"Save"}, none, Lock::fileFirst, false, false, 1, 1, kLocked},
    {How::close, 1, {"Save"}, none, Lock::mountFirst, false, false, 1, 1, kLocked},
    {How::revert, 1, {"Cancel"}, none, open, false, false, 1, 1, {}},
    {How::revert, 1, {"Revert"}, none, open, false, false, 1, 0, {}},
    {How::quit, 0, {}, none, open, true, false, 0, 0, {}},
    {How::quit, 1, {"Don’t Save"}, none, open, true, false, 0, 0, {}},
    {How::quit, 1, {"Save"}, SaveStep::rename, open, false, false, 1, 1, notSaved(EIO)},
    {How::quit, 2, {"Cancel"}, none, open, false, false, 2, 2, {}},
    {How::quit, 2, {"Discard Changes"}, none, open, true, false, 0, 0, {}},
    {How::quit, 2, {"Review Changes…", "Don’t Save", "Don’t Save"}, none, open, true, false, 0, 0, {}},
    {How::logout, 1, {"Save"}, none, open, true, true, 0, 0, {}},
    {How::logout, 1, {"Cancel"}, none, open, false, false, 1, 1, {}},
    {How::signal, 1, {"Don’t Save"}, none, open, true, false, 0, 0, {}},
    {How::signal, 1, {"Cancel"}, none, open, false, false, 1, 1, {}},
    {How::logoutQuiet, 1, {}, none, open, false, false, 2, 1, {}},
    {How::quitEvent, 1, {}, none, open, true, false, 0, 0, {}},
};

INSTANTIATE_TEST_SUITE_P(Rows, Work, ::testing::ValuesIn(kEndings));

// Signals sent together before the event loop takes them ask once; one more then ends the process.
TEST(SecondSignal, WhileTheQuestionShowsEndsAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            StartApplication();
            CatchTerminationSignals();
            ComputeTable({"3", "50", {}, {}});
            for (int signalNumber : {SIGHUP, SIGTERM})
                raise(signalNumber);
            DeliverPendingSignals();
            if (ShownDialogs().size() != 1)
                std::_Exit(3);
            raise(SIGINT);
            std::_Exit(4);
        },
        ::testing::KilledBySignal(SIGINT), "");
}

} // namespace
