// Start-up as a user sees it: the splash, then one untitled window, and
// quitting with nothing to save.
#include "document/document.h"
#include "platform/process.h"
#include "tests/support/app_driver.h"

#include <gtest/gtest.h>

using namespace qrltest;

// The splash waits 170 ticks with the busy cursor, then one untitled window.
TEST(Startup, SplashThenOneUntitledWindow)
{
    StartApplication();
    EXPECT_EQ(GetShowLog(), (std::vector<std::string>{"startupWindow", "MainWindow"}));
    const std::vector<TickWait> waits = TakeTickWaits();
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].target - waits[0].start, 170u); // ticks of 1/60 s
    EXPECT_FALSE(IsWaitCursorShown());
    ASSERT_EQ(BGetNumberOfDocuments(), 1);
    WindowRef window = DocumentWindow(0);
    EXPECT_EQ(FrontWindow(), window);
    EXPECT_EQ(GetWTitle(window), "Untitled ");
    EXPECT_EQ(TextAt(window, 140, 150), "-");
    EXPECT_TRUE(AlertMessages().empty());
}

TEST(Startup, QuitWithNothingDirtyEndsTheProcess)
{
    StartApplication();
    SendCommand("new ");
    EXPECT_TRUE(EndsProcess([] { SendCommand("quit"); }));
}
