// Ending work: a window's close box, Revert, Quit, the session's end and the
// termination signals, each with the answers the user gives, checked by what
// is left: the process, the files written and the alerts shown.
#include "app/windowmodule.h"
#include "files/appinfo.h"
#include "files_helpers.h"
#include "platform/frontwindow.h"
#include "platform/process.h"
#include "platform/sessiontesting.h"

#include <QApplication>
#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>

using namespace qrltest;
using namespace filetest;

namespace
{

// close: the front window's close box; logoutQuiet: a session end that
// allows no interaction; quitEvent: the session manager's last word.
enum class How { close, quit, logout, signal, logoutQuiet, quitEvent };
const Strings kSaveChangesButtons = {"Save", "Don’t Save", "Cancel"};
const std::string kReview =
    "You have 2 documents with unsaved changes. Do you want to review these changes before quitting?";

class Ending : public FileTest
{
  protected:
    void SetUp() override
    {
        FileTest::SetUp();
        CatchTerminationSignals();
    }
    void TearDown() override
    {
        SetSessionEndScript(nullptr);
        FileTest::TearDown();
    }
    // A table saved to "kept.qrtb", then changed; returns the saved bytes.
    Bytes changeSavedTable()
    {
        ComputeTable({"3", "50", {}, {}});
        saveAs("kept");
        ComputeTable({"9", "35", {}, {}});
        return ReadBytes(path("kept.qrtb"));
    }
    // Ends as how says while answers are given, one to each dialog that
    // comes: a button, or in a Save dialog the name to save under. Records
    // the dialogs seen; returns whether the process ended.
    bool end(How how, const Strings &answers = {})
    {
        const auto script = [&] {
            for (const std::string &answer : answers) {
                seen.push_back(OnlyDialog());
                caughtWhileAsking =
                    IsSignalCaught(SIGTERM) || IsSignalCaught(SIGHUP) || IsSignalCaught(SIGINT);
                if (seen.back().saves && answer != "Cancel")
                    ChooseSaveLocation(seen.back(), folder, answer);
                else
                    Press(seen.back(), answer);
            }
        };
        QEvent quit(QEvent::Quit);
        SetSessionEndScript(how == How::logout ? std::function<void()>(script) : nullptr);
        return EndsProcess([&] {
            switch (how) {
            case How::close:
                ClickCloseBox(platform::frontWindow());
                return script();
            case How::quit:
                RequestQuit();
                return script();
            case How::signal:
                raise(SIGTERM);
                EXPECT_EQ(DeliverPendingSignals(), 1);
                return script();
            case How::logout:
            case How::logoutQuiet:
                return SimulateSessionEnd(how == How::logout, &report);
            case How::quitEvent:
                QApplication::sendEvent(qApp, &quit);
            }
        });
    }
    std::vector<ShownDialog> seen;
    bool caughtWhileAsking = false;
    SessionEndReport report;
};

// One changed table, with a file or untitled, and the save-changes question
// answered; a Save dialog's name, a save failing at a step. After Cancel or
// a failure all stays, and a later save is an ordinary one.
struct Answered {
    How how;
    bool untitled;
    Strings answers;
    SaveStep fault;
    bool ends, written;
    int documents; // left when the process goes on
    const char *alert;
};

class Answering : public Ending, public ::testing::WithParamInterface<Answered>
{
};

TEST_P(Answering, EndsWritesAndAlertsAsAnswered)
{
    const Answered &row = GetParam();
    const Bytes saved = row.untitled ? Bytes{} : changeSavedTable();
    if (row.untitled)
        ComputeTable({"3", "50", {}, {}});
    const Bytes changed = record();
    if (row.how == How::quit) { // clean windows in front close at once
        Trigger("New");
        Trigger("New");
    }
    const std::string name = row.untitled ? "Untitled" : "kept.qrtb";
    SetSaveFaultForTesting(row.fault);
    EXPECT_EQ(end(row.how, row.answers), row.ends);
    SetSaveFaultForTesting(SaveStep::none);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0].text, row.how == How::close
                                ? "Do you want to save the changes you made in the document “" + name + "”?"
                                : quitQuestion(name));
    EXPECT_EQ(seen[0].detail, "Your changes will be lost if you don’t save them.");
    EXPECT_EQ(seen[0].buttons, kSaveChangesButtons);
    EXPECT_EQ(seen[0].parent, window);
    if (row.how == How::signal) {
        EXPECT_FALSE(caughtWhileAsking); // a second signal ends at once
    }
    if (row.untitled && seen.size() > 1) {
        EXPECT_EQ(seen[1].name, "Untitled.qrtb");
    }
    const std::string file = path(row.untitled ? "late.qrtb" : "kept.qrtb");
    EXPECT_EQ(ReadBytes(file), row.written ? changed : saved);
    EXPECT_EQ(AlertMessages(), row.alert ? Strings{row.alert} : Strings{});
    if (row.ends)
        return;
    EXPECT_EQ(BGetNumberOfDocuments(), row.documents);
    EXPECT_FALSE(BGetAppQuittingStatus());
    EXPECT_EQ(report.cancelled, row.how == How::logout);
    EXPECT_TRUE(IsSignalCaught(SIGTERM) && IsSignalCaught(SIGHUP) && IsSignalCaught(SIGINT));
    EXPECT_TRUE(NoDialogShown());
    if (row.documents == 0)
        return;
    EXPECT_FALSE(documentOf(window)->isClosing);
    EXPECT_EQ(BIsDocumentDirty(window), row.written ? 0 : 1);
    ComputeTable({"5", "35", {}, {}});
    const bool asksWhere = row.untitled && !row.written;
    EXPECT_FALSE(EndsProcess([&] { asksWhere ? saveAs("later") : (void)Trigger("Save"); }));
    EXPECT_EQ(ReadBytes(asksWhere ? path("later.qrtb") : file), record());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
}

const Answered kAnswered[] = {
    // How,     untitled, answers,      fault, ends, written, documents, alert
    {How::close, false, {"Save"}, SaveStep::none, false, true, 0, nullptr},
    {How::close, false, {"Don’t Save"}, SaveStep::none, false, false, 0, nullptr},
    {How::close, false, {"Cancel"}, SaveStep::none, false, false, 1, nullptr},
    {How::close, true, {"Save", "Cancel"}, SaveStep::none, false, false, 1, nullptr},
    {How::close, true, {"Save", "late"}, SaveStep::none, false, true, 1, nullptr},
    {How::quit, false, {"Save"}, SaveStep::none, true, true, 0, nullptr},
    {How::quit, false, {"Don’t Save"}, SaveStep::none, true, false, 0, nullptr},
    {How::quit, false, {"Cancel"}, SaveStep::none, false, false, 1, nullptr},
    {How::quit, false, {"Save"}, SaveStep::rename, false, false, 1, "Could not save the file"},
    {How::quit, true, {"Save", "Cancel"}, SaveStep::none, false, false, 1, nullptr},
    {How::quit, true, {"Save", "late"}, SaveStep::none, true, true, 0, nullptr},
    {How::quit, true, {"Save", "late"}, SaveStep::create, false, false, 1, "Could not write Copy"},
    {How::logout, false, {"Save"}, SaveStep::none, true, true, 0, nullptr},
    {How::logout, false, {"Don’t Save"}, SaveStep::none, true, false, 0, nullptr},
    {How::logout, false, {"Cancel"}, SaveStep::none, false, false, 1, nullptr},
    {How::logout, true, {"Save", "late"}, SaveStep::none, true, true, 0, nullptr},
    {How::signal, false, {"Save"}, SaveStep::none, true, true, 0, nullptr},
    {How::signal, false, {"Don’t Save"}, SaveStep::none, true, false, 0, nullptr},
    {How::signal, false, {"Cancel"}, SaveStep::none, false, false, 1, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Rows, Answering, ::testing::ValuesIn(kAnswered));

// Nothing asked: nothing unsaved (a clean window in front, then the
// start-up one), or an end that may not ask; the unsaved file stays as it was.
struct Unasked {
    How how;
    bool unsaved, ends;
    int documents;
};

class NotAsking : public Ending, public ::testing::WithParamInterface<Unasked>
{
};

TEST_P(NotAsking, EndsOrStaysWithoutAQuestion)
{
    const Unasked &row = GetParam();
    const Bytes saved = row.unsaved ? changeSavedTable() : Bytes{};
    Trigger("New");
    EXPECT_EQ(end(row.how), row.ends);
    EXPECT_TRUE(ShownDialogs().empty());
    EXPECT_TRUE(AlertMessages().empty());
    EXPECT_FALSE(report.cancelled);
    EXPECT_EQ(report.interactionAsked, row.how == How::logout || row.how == How::logoutQuiet);
    if (row.unsaved) {
        EXPECT_EQ(ReadBytes(path("kept.qrtb")), saved);
    }
    if (!row.ends) {
        EXPECT_EQ(BGetNumberOfDocuments(), row.documents);
        EXPECT_FALSE(BGetAppQuittingStatus());
    }
}

const Unasked kUnasked[] = {
    {How::close, false, false, 1},       {How::quit, false, true, 0},        {How::logout, false, true, 0},
    {How::logoutQuiet, false, false, 2}, {How::logoutQuiet, true, false, 2}, {How::quitEvent, true, true, 0},
};

INSTANTIATE_TEST_SUITE_P(Rows, NotAsking, ::testing::ValuesIn(kUnasked));

// Two unsaved tables: the application-modal review. Cancel leaves both,
// Discard ends, Review asks front to back; none writes the file.
struct Reviewed {
    How how;
    Strings answers;
    bool ends;
};

class Reviewing : public Ending, public ::testing::WithParamInterface<Reviewed>
{
};

TEST_P(Reviewing, AnswerDecidesAndNothingIsWritten)
{
    const Bytes saved = changeSavedTable();
    Trigger("New");
    QWidget *second = DocumentAt(1);
    ComputeTable({"4", "50", {}, {}});
    EXPECT_EQ(end(GetParam().how, GetParam().answers), GetParam().ends);
    ASSERT_EQ(seen.size(), GetParam().answers.size());
    EXPECT_EQ(seen[0].text, kReview);
    EXPECT_EQ(seen[0].buttons, (Strings{"Review Changes…", "Discard Changes", "Cancel"}));
    EXPECT_EQ(seen[0].parent, nullptr);
    EXPECT_EQ(seen[0].modality, Qt::ApplicationModal);
    if (seen.size() == 3) {
        EXPECT_EQ(seen[1].parent, second);
        EXPECT_EQ(seen[2].parent, window);
    }
    EXPECT_EQ(ReadBytes(path("kept.qrtb")), saved);
    if (!GetParam().ends) {
        EXPECT_EQ(BGetNumberOfDirtyDocuments(), 2);
        EXPECT_FALSE(BGetAppQuittingStatus());
        EXPECT_EQ(report.cancelled, GetParam().how == How::logout);
        EXPECT_TRUE(NoDialogShown());
    }
}

const Reviewed kReviewed[] = {
    {How::quit, {"Cancel"}, false},
    {How::quit, {"Discard Changes"}, true},
    {How::quit, {"Review Changes…", "Don’t Save", "Don’t Save"}, true},
    {How::logout, {"Cancel"}, false},
    {How::logout, {"Discard Changes"}, true},
};

INSTANTIATE_TEST_SUITE_P(Rows, Reviewing, ::testing::ValuesIn(kReviewed));

// A sheet of ordinary work in front: the quit is refused with a beep and the
// logout called off at once, asking nothing more.
TEST_F(Ending, SheetInFrontRefusesQuitAndLogoutWithABeep)
{
    ComputeTable({"3", "50", {}, {}});
    ClickCloseBox(window);
    const int beeps = GetBeepCount();
    EXPECT_FALSE(end(How::quit));
    EXPECT_FALSE(end(How::logout, {"Save"}));
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(GetBeepCount(), beeps + 2);
    EXPECT_FALSE(BGetAppQuittingStatus());
    EXPECT_EQ(OnlyDialog().text, "Do you want to save the changes you made in the document “Untitled”?");
}

// A collapsed front window is expanded and asked; the preferences window in
// front of it is hidden, not closed.
TEST_F(Ending, QuitExpandsACollapsedWindowAndHidesPreferences)
{
    ComputeTable({"3", "50", {}, {}});
    window->showMinimized();
    Trigger("Preferences");
    QWidget *prefs = BGetPrefWindowRef();
    ASSERT_EQ(platform::frontWindow(), prefs);
    RequestQuit();
    EXPECT_FALSE(prefs->isVisible());
    EXPECT_EQ(BGetPrefWindowRef(), prefs);
    EXPECT_FALSE(window->isMinimized());
    EXPECT_EQ(OnlyDialog().parent, window);
}

// Signals wait for the event loop; one sent just before a logout joins its
// quit and asks nothing more.
TEST_F(Ending, SignalsAreTakenByTheEventLoopAndJoinALogout)
{
    ComputeTable({"3", "50", {}, {}});
    raise(SIGTERM);
    EXPECT_TRUE(ShownDialogs().empty());
    SetSessionEndScript([] {
        EXPECT_EQ(DeliverPendingSignals(), 1);
        EXPECT_EQ(OnlyDialog().text, quitQuestion("Untitled"));
        EXPECT_TRUE(Press(OnlyDialog(), "Cancel"));
    });
    EXPECT_FALSE(EndsProcess([&] { SimulateSessionEnd(true, &report); }));
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(DeliverPendingSignals(), 0);
    EXPECT_TRUE(NoDialogShown());
}

// Cancel keeps the changes; Revert reloads the saved table and shows it.
TEST_F(Ending, RevertAsksThenReloadsOrKeeps)
{
    ComputeTable({"3", "50", {}, {}});
    saveAs("r");
    const Bytes saved = ReadBytes(path("r.qrtb"));
    ComputeTable({"9", "35", {}, {}});
    const Bytes changed = record();
    const struct {
        const char *button;
        const Bytes &expected;
        const char *shown;
    } rows[] = {{"Cancel", changed, " 9.000"}, {"Revert", saved, " 3.000"}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.button);
        ASSERT_TRUE(IsCommandEnabled("Revert"));
        Trigger("Revert");
        const ShownDialog ask = OnlyDialog();
        EXPECT_EQ(ask.text, "Do you want to discard the changes you made to the document “r.qrtb”?");
        EXPECT_EQ(ask.detail, "The document goes back to its last saved version.");
        EXPECT_EQ(ask.buttons, (Strings{"Revert", "Cancel"}));
        EXPECT_EQ(ask.parent, window);
        ASSERT_TRUE(Press(ask, row.button));
        EXPECT_EQ(record(), row.expected);
        EXPECT_EQ(window->isWindowModified(), &row.expected == &changed);
        EXPECT_EQ(TextAt(window, 308, 20), row.shown);
        EXPECT_TRUE(NoDialogShown());
    }
}

// Signals sent together before the event loop took them are one quit
// request: one question. A signal while it shows ends the process at once.
TEST(SecondSignal, WhileTheQuestionShowsEndsAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const std::vector<int> &first :
         {std::vector<int>{SIGTERM}, {SIGTERM, SIGHUP}, {SIGINT, SIGHUP, SIGTERM}})
        EXPECT_EXIT(
            {
                StartApplication();
                CatchTerminationSignals();
                ComputeTable({"3", "50", {}, {}});
                for (int signalNumber : first)
                    raise(signalNumber);
                DeliverPendingSignals();
                if (ShownDialogs().size() != 1)
                    std::_Exit(3);
                raise(SIGINT);
                std::_Exit(4);
            },
            ::testing::KilledBySignal(SIGINT), "")
            << first.size() << " signals first";
}

// The application as a process of its own with nothing unsaved, signalled
// once it runs: status 0 through its event loop. A signal it was started
// with ignored (as under nohup) stays ignored. All run side by side.
unsigned long long signalMask(pid_t pid, const std::string &field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::stoull(line.substr(field.size() + 1), nullptr, 16);
    return 0;
}

bool inMask(pid_t pid, const std::string &field, int signalNumber)
{
    return signalMask(pid, field) & (1ull << (signalNumber - 1));
}

TEST(Signals, EndTheApplicationWithStatusZero)
{
    struct Row {
        int ignored;
        std::vector<int> sent;
        pid_t pid = 0;
        std::string runtime;
    } rows[] = {{0, {SIGTERM}, 0, {}},
                {0, {SIGHUP}, 0, {}},
                {0, {SIGINT}, 0, {}},
                {SIGHUP, {SIGHUP, SIGTERM}, 0, {}}};
    for (Row &row : rows) {
        const std::string home = TempFolder();
        row.runtime = home + "/runtime"; // its own: applications started together would hand over
        std::filesystem::create_directory(row.runtime);
        std::filesystem::permissions(row.runtime, std::filesystem::perms::owner_all);
        row.pid = fork();
        if (row.pid == 0) {
            setenv("HOME", home.c_str(), 1);
            setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", row.runtime.c_str(), 1);
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            if (row.ignored)
                signal(row.ignored, SIG_IGN);
            execl(QRL_APP_PATH, QRL_APP_PATH, static_cast<char *>(nullptr));
            std::_Exit(127);
        }
    }
    // Until start-up has taken the single-instance socket, a signal ends it at once.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (const Row &row : rows) {
        const auto listens = [&] {
            for (const auto &entry : std::filesystem::directory_iterator(row.runtime))
                if (entry.path().extension() == ".socket")
                    return inMask(row.pid, "SigCgt", row.sent.back());
            return false;
        };
        while (!listens() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_TRUE(listens()) << row.sent.back();
        if (row.ignored) {
            EXPECT_TRUE(inMask(row.pid, "SigIgn", row.ignored));
            EXPECT_FALSE(inMask(row.pid, "SigCgt", row.ignored));
        }
        for (int signalNumber : row.sent)
            kill(row.pid, signalNumber);
    }
    for (const Row &row : rows) {
        int status = 0;
        bool ended = false;
        while (!(ended = waitpid(row.pid, &status, WNOHANG) == row.pid) &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!ended) {
            kill(row.pid, SIGKILL);
            waitpid(row.pid, nullptr, 0);
        }
        EXPECT_TRUE(ended && WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << row.sent.back() << ": " << status;
    }
}

} // namespace
