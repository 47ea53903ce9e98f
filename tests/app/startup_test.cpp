// Start-up as a user sees it: the splash, then one untitled window, and
// quitting with nothing to save.
#include "app/startupwindow.h"
#include "document/document.h"
#include "platform/internal.h"
#include "platform/process.h"
#include "tests/support/app_driver.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <gtest/gtest.h>

using namespace qrltest;

// The splash waits 170 ticks with the busy cursor and goes, then one
// untitled window, and the preferences can be opened.
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
    EXPECT_FALSE(IsWindowVisible(BGetStartupWindowRef()));
    EXPECT_TRUE(IsCommandEnabled("pref"));
}

// The first window, built while the splash waited, is like one made later.
TEST(Startup, FirstWindowLikeOneMadeByNew)
{
    StartApplication();
    SendCommand("new ");
    ASSERT_EQ(BGetNumberOfDocuments(), 2);
    WindowRef first = DocumentWindow(0);
    WindowRef second = DocumentWindow(1);
    EXPECT_EQ(GetWTitle(second), "Untitled 2");
    EXPECT_EQ(Texts(first), Texts(second));
    Rect firstBounds, secondBounds;
    GetWindowPortBounds(first, &firstBounds);
    GetWindowPortBounds(second, &secondBounds);
    EXPECT_EQ(firstBounds.right - firstBounds.left, secondBounds.right - secondBounds.left);
    EXPECT_EQ(firstBounds.bottom - firstBounds.top, secondBounds.bottom - secondBounds.top);
    auto menuTitles = [](WindowRef window) {
        QStringList titles;
        for (QAction *menu : qobject_cast<QMainWindow *>(platform::widgetOf(window))->menuBar()->actions())
            titles << menu->text();
        return titles;
    };
    EXPECT_FALSE(menuTitles(first).isEmpty());
    EXPECT_EQ(menuTitles(first), menuTitles(second));
}

TEST(Startup, QuitWithNothingDirtyEndsTheProcess)
{
    StartApplication();
    SendCommand("new ");
    EXPECT_TRUE(EndsProcess([] { SendCommand("quit"); }));
}
