// Logging out and termination signals with unsaved tables: both ask as
// quitting does. The session manager's request is made through the
// platform's session-end path; the signals are real ones, sent to this
// process or to a child.
#include "files/appinfo.h"
#include "files_helpers.h"
#include "platform/sessiontesting.h"

#include <csignal>
#include <functional>
#include <vector>

using namespace qrltest;
using namespace filetest;

namespace
{

// The application started headless, catching the signals as it does when
// it runs for real.
class Signals : public FileTest
{
  protected:
    void SetUp() override
    {
        FileTest::SetUp();
        CatchTerminationSignals();
    }
};

class SessionEnd : public Signals
{
  protected:
    void TearDown() override
    {
        SetSessionEndScript(nullptr);
        FileTest::TearDown();
    }
    // The session ends; script answers whatever the application asks.
    bool endSession(bool interactionAllowed, std::function<void()> script = nullptr)
    {
        SetSessionEndScript(std::move(script));
        return EndsProcess([&] { SimulateSessionEnd(interactionAllowed, &report); });
    }
    // A table saved to "kept", then changed: the file holds the saved one.
    Bytes changeSavedTable()
    {
        ComputeTable({"3", "50", {}, {}});
        saveAs("kept");
        const Bytes saved = readFile(path("kept.qrtb"));
        ComputeTable({"9", "35", {}, {}});
        return saved;
    }
    SessionEndReport report;
};

TEST_F(SessionEnd, NothingUnsavedEndsWithoutAQuestion)
{
    Trigger("New");
    EXPECT_TRUE(endSession(true));
    EXPECT_TRUE(report.interactionAsked);
    EXPECT_FALSE(report.cancelled);
    EXPECT_TRUE(ShownDialogs().empty());
    EXPECT_TRUE(AlertMessages().empty());
}

// A session manager that allows no interaction (a checkpoint, a forced
// logout): nothing is asked, nothing written, nothing ended, nothing held up.
TEST_F(SessionEnd, WithoutInteractionNothingIsWrittenOrAsked)
{
    EXPECT_FALSE(endSession(false));
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    const Bytes saved = changeSavedTable();
    EXPECT_FALSE(endSession(false));
    EXPECT_TRUE(report.interactionAsked);
    EXPECT_FALSE(report.cancelled);
    EXPECT_TRUE(ShownDialogs().empty());
    EXPECT_FALSE(BGetAppQuittingStatus());
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_EQ(readFile(path("kept.qrtb")), saved);
}

// One unsaved table: the quit's save-changes sheet. Cancel keeps the
// application and the table and calls the logout off; the next logout asks
// again, and Save writes the file before the process ends. A SIGTERM sent
// just before the logout is part of the same quit: it asks nothing more.
TEST_F(SessionEnd, CancelCallsLogoutOffAndSaveWritesThenEnds)
{
    changeSavedTable();
    const Bytes changed = record();
    ShownDialog asked{};
    bool signalCaughtDuringQuestion = true;
    raise(SIGTERM);
    EXPECT_FALSE(endSession(true, [&] {
        EXPECT_EQ(DeliverPendingSignals(), 1);
        asked = OnlyDialog();
        signalCaughtDuringQuestion = IsSignalCaught(SIGTERM);
        Press(asked, "Cancel");
    }));
    EXPECT_FALSE(signalCaughtDuringQuestion); // a SIGTERM now would end at once
    EXPECT_TRUE(IsSignalCaught(SIGTERM));
    EXPECT_EQ(asked.text, quitQuestion("kept.qrtb"));
    EXPECT_EQ(asked.parent, sheetParent());
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_TRUE(ShownDialogs().empty());

    report = {};
    EXPECT_TRUE(endSession(true, [] { answer("Save"); }));
    EXPECT_FALSE(report.cancelled);
    EXPECT_EQ(readFile(path("kept.qrtb")), changed);
}

// An untitled table: Save asks where, and the process ends once it is written.
TEST_F(SessionEnd, SaveOfUntitledTableAsksWhereThenEnds)
{
    ComputeTable({"3", "50", {}, {}});
    const Bytes expected = record();
    EXPECT_TRUE(endSession(true, [&] {
        answer("Save");
        const ShownDialog save = OnlyDialog();
        ASSERT_TRUE(save.saves);
        ChooseSaveLocation(save, folder, "atlogout");
    }));
    EXPECT_EQ(readFile(path("atlogout.qrtb")), expected);
}

// Two unsaved tables: the review dialog. Cancel there calls the logout off;
// Discard ends without writing anything.
TEST_F(SessionEnd, ReviewOfTwoTablesCancelOrDiscard)
{
    const Bytes saved = changeSavedTable();
    Trigger("New");
    ComputeTable({"4", "50", {}, {}});
    for (const std::string button : {"Cancel", "Discard Changes"}) {
        report = {};
        ShownDialog asked{};
        const bool ended = endSession(true, [&] {
            asked = OnlyDialog();
            Press(asked, button);
        });
        EXPECT_EQ(asked.text,
                  "You have 2 documents with unsaved changes. Do you want to review these changes "
                  "before quitting?");
        EXPECT_EQ(ended, button != "Cancel");
        EXPECT_EQ(report.cancelled, button == "Cancel");
        EXPECT_EQ(BGetNumberOfDirtyDocuments(), 2);
    }
    EXPECT_EQ(readFile(path("kept.qrtb")), saved);
}

// A sheet of ordinary work in front: the quit is refused with a beep, and
// the logout is called off at once rather than held up.
TEST_F(SessionEnd, SheetInFrontCallsLogoutOff)
{
    ComputeTable({"3", "50", {}, {}});
    ClickCloseBox(window);
    const int beeps = GetBeepCount();
    bool scriptRan = false;
    EXPECT_FALSE(endSession(true, [&] { scriptRan = true; }));
    EXPECT_FALSE(scriptRan);
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(GetBeepCount(), beeps + 1);
    EXPECT_EQ(OnlyDialog().text, "Do you want to save the changes you made in the document “Untitled”?");
}

class EachSignal : public Signals, public ::testing::WithParamInterface<int>
{
};

TEST_P(EachSignal, NothingUnsavedEnds)
{
    Trigger("New");
    ASSERT_TRUE(IsSignalCaught(GetParam()));
    raise(GetParam());
    EXPECT_TRUE(EndsProcess([] { EXPECT_EQ(DeliverPendingSignals(), 1); }));
    EXPECT_TRUE(ShownDialogs().empty());
}

INSTANTIATE_TEST_SUITE_P(Termination, EachSignal, ::testing::Values(SIGTERM, SIGHUP, SIGINT));

// The signal waits for the event loop: nothing happens in the handler.
TEST_F(Signals, NothingHappensBeforeTheEventLoopTakesTheSignal)
{
    ComputeTable({"3", "50", {}, {}});
    raise(SIGTERM);
    EXPECT_TRUE(ShownDialogs().empty());
    EXPECT_EQ(DeliverPendingSignals(), 1);
    EXPECT_EQ(OnlyDialog().text, quitQuestion("Untitled"));
    EXPECT_EQ(DeliverPendingSignals(), 0);
}

// An unsaved table: the quit's question. While it shows, the signals have
// their default action (a second one ends at once); Cancel keeps everything
// and catches them again; the next SIGTERM asks again, and Save writes the
// file before the process ends.
TEST_F(Signals, UnsavedTableAsksCancelStaysSaveWritesThenEnds)
{
    ComputeTable({"3", "50", {}, {}});
    saveAs("kept");
    ComputeTable({"9", "35", {}, {}});
    const Bytes changed = record();
    raise(SIGTERM);
    EXPECT_FALSE(EndsProcess([] { DeliverPendingSignals(); }));
    const ShownDialog asked = OnlyDialog();
    EXPECT_EQ(asked.text, quitQuestion("kept.qrtb"));
    for (int signalNumber : {SIGTERM, SIGHUP, SIGINT})
        EXPECT_FALSE(IsSignalCaught(signalNumber)) << signalNumber;
    EXPECT_FALSE(EndsProcess([&] { Press(asked, "Cancel"); }));
    for (int signalNumber : {SIGTERM, SIGHUP, SIGINT})
        EXPECT_TRUE(IsSignalCaught(signalNumber)) << signalNumber;
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(window), 1);

    raise(SIGTERM);
    DeliverPendingSignals();
    EXPECT_TRUE(EndsProcess([] { answer("Save"); }));
    EXPECT_EQ(readFile(path("kept.qrtb")), changed);
}

// Signals sent together before the event loop took them (a session
// manager's SIGTERM and SIGHUP) are one quit request: one question. A
// signal while it shows ends the process at once, by that signal. Each
// case runs in a child process of its own.
class SecondSignal : public ::testing::TestWithParam<std::vector<int>>
{
};

TEST_P(SecondSignal, WhileTheQuestionShowsEndsAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            StartApplication();
            CatchTerminationSignals();
            ComputeTable({"3", "50", {}, {}});
            for (int signalNumber : GetParam())
                raise(signalNumber);
            DeliverPendingSignals();
            if (ShownDialogs().size() != 1)
                std::_Exit(3);
            raise(SIGINT);
            std::_Exit(4);
        },
        ::testing::KilledBySignal(SIGINT), "");
}

INSTANTIATE_TEST_SUITE_P(BeforeTheQuestion, SecondSignal,
                         ::testing::Values(std::vector<int>{SIGTERM}, std::vector<int>{SIGTERM, SIGHUP},
                                           std::vector<int>{SIGINT, SIGHUP, SIGTERM}));

} // namespace
