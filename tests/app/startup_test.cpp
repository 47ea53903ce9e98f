// Start-up as a user sees it: the splash, then one untitled window, and
// quitting with nothing to save.
#include "app/main.h"
#include "document/document.h"
#include "platform/process.h"
#include "tests/support/app_driver.h"

#include <gtest/gtest.h>

using namespace qrltest;

TEST(Startup, ShowsSplashThenOneUntitledWindow)
{
    StartApplication();
    const std::vector<std::string> shown = GetShowLog();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "startupWindow");
    EXPECT_EQ(shown[1], "MainWindow");
    ASSERT_EQ(BGetNumberOfDocuments(), 1);
    WindowRef window = DocumentWindow(0);
    EXPECT_EQ(FrontWindow(), window);
    EXPECT_EQ(GetWTitle(window), "Untitled ");
    EXPECT_EQ(TextAt(window, 140, 150), "-");
    EXPECT_TRUE(AlertMessages().empty());
}

TEST(Startup, SplashWaitsOneHundredSeventyTicksWithBusyCursor)
{
    StartApplication();
    const std::vector<TickWait> waits = TakeTickWaits();
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].target - waits[0].start, kSplashTicks);
    EXPECT_FALSE(IsWaitCursorShown());
}

TEST(Startup, QuitWithNothingDirtyEndsTheProcess)
{
    StartApplication();
    SendCommand("new ");
    EXPECT_TRUE(EndsProcess([] { SendCommand("quit"); }));
}
