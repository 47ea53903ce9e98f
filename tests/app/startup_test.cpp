// Start-up as a user sees it: the splash, then one untitled window, and
// quitting with nothing to save.
#include "document/document.h"
#include "platform/internal.h"
#include "platform/icon.h"
#include "tests/support/app_driver.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplashScreen>
#include <cmath>
#include <gtest/gtest.h>

using namespace qrltest;

// The splash, 300 by 200 pixels, is up for 170 ticks of 1/60 s under the
// busy cursor and goes; then one untitled window, and the preferences can
// be opened.
TEST(Startup, SplashThenOneUntitledWindow)
{
    StartApplication();
    const std::vector<SplashWait> waits = TakeSplashWaits();
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].window, "startupWindow");
    EXPECT_EQ(waits[0].width, 300);
    EXPECT_EQ(waits[0].height, 200);
    EXPECT_EQ(waits[0].duration.count(), std::lround(std::ceil(170 * 1000.0 / 60)));
    EXPECT_TRUE(waits[0].busyCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    for (QWidget *widget : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<QSplashScreen *>(widget) && widget->isVisible());
    EXPECT_EQ(GetShowLog(), (std::vector<std::string>{"MainWindow"}));
    ASSERT_EQ(BGetNumberOfDocuments(), 1);
    QWidget *window = DocumentAt(0);
    EXPECT_EQ(platform::frontWindow(), window);
    EXPECT_EQ(platform::windowTitleOf(window), "Untitled ");
    EXPECT_EQ(TextAt(window, 140, 150), "-");
    EXPECT_TRUE(AlertMessages().empty());
    EXPECT_TRUE(IsCommandEnabled("Preferences"));
}

// The first window, built while the splash waited, is like one made later.
TEST(Startup, FirstWindowLikeOneMadeByNew)
{
    StartApplication();
    Trigger("New");
    ASSERT_EQ(BGetNumberOfDocuments(), 2);
    QWidget *first = DocumentAt(0);
    QWidget *second = DocumentAt(1);
    EXPECT_EQ(platform::windowTitleOf(second), "Untitled 2");
    EXPECT_EQ(Texts(first), Texts(second));
    EXPECT_EQ(platform::contentBounds(first).size(), platform::contentBounds(second).size());
    auto menuTitles = [](QWidget *window) {
        QStringList titles;
        for (QAction *menu : qobject_cast<QMainWindow *>(window)->menuBar()->actions())
            titles << menu->text();
        return titles;
    };
    EXPECT_FALSE(menuTitles(first).isEmpty());
    EXPECT_EQ(menuTitles(first), menuTitles(second));
}

TEST(Startup, QuitWithNothingDirtyEndsTheProcess)
{
    StartApplication();
    Trigger("New");
    EXPECT_TRUE(EndsProcess([] { Trigger("Quit"); }));
}
