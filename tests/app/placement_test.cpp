// Where new document windows open: cascaded from the front one by the
// title bar height, back at the top-left when the next would leave the
// available screen area.
#include "document/document.h"
#include "platform/placement.h"
#include "tests/support/app_driver.h"

#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

using namespace qrltest;

namespace
{

QRect frameOf(QWidget *window)
{
    const QRect frame = window->frameGeometry();
    EXPECT_FALSE(frame.isEmpty());
    return frame;
}

QRect screenBounds()
{
    const QRect screen = DocumentAt(0)->screen()->availableGeometry();
    EXPECT_FALSE(screen.isEmpty());
    return screen;
}

// Opens windows up to ten and checks each against the cascading rule;
// returns how often the cascade went back to the top-left.
int openTenAndCountWraps(int step)
{
    const QRect screen = screenBounds();
    int wraps = 0;
    while (BGetNumberOfDocuments() < kMaxNumberOfDocuments) {
        const QRect before = frameOf(DocumentAt(BGetNumberOfDocuments() - 1));
        Trigger("New");
        const QRect frame = frameOf(DocumentAt(BGetNumberOfDocuments() - 1));
        EXPECT_TRUE(screen.contains(frame))
            << "window " << BGetNumberOfDocuments() << " at " << frame.left() << "," << frame.top();
        if (screen.contains(before.translated(step, step))) {
            EXPECT_EQ(frame.left(), before.left() + step);
            EXPECT_EQ(frame.top(), before.top() + step);
        } else {
            EXPECT_EQ(frame.left(), screen.left());
            EXPECT_EQ(frame.top(), screen.top());
            ++wraps;
        }
    }
    return wraps;
}

// The cascade's step, measured from the first two windows.
int cascadeStep()
{
    Trigger("New");
    const QRect first = frameOf(DocumentAt(0));
    const QRect second = frameOf(DocumentAt(1));
    EXPECT_EQ(second.left() - first.left(), second.top() - first.top());
    return second.top() - first.top();
}

} // namespace

TEST(WindowPlacement, TenWindowsCascadeFromTheTopLeftAndStayOnTheScreen)
{
    StartApplication();
    const QRect screen = screenBounds();
    DocumentAt(0)->move(screen.topLeft());
    const int step = cascadeStep();
    EXPECT_GE(step, 10); // a title bar, not a thin border
    EXPECT_LE(step, 60);
    openTenAndCountWraps(step);
}

TEST(WindowPlacement, CascadeWrapsBackToTheTopLeftBeforeLeavingTheScreen)
{
    StartApplication();
    const QRect screen = screenBounds();
    const QRect first = frameOf(DocumentAt(0));
    // The first window in the bottom-right corner: no room for a step.
    DocumentAt(0)->move(first.topLeft() + screen.bottomRight() - first.bottomRight());
    Trigger("New");
    const QRect second = frameOf(DocumentAt(1));
    EXPECT_EQ(second.left(), screen.left());
    EXPECT_EQ(second.top(), screen.top());
    Trigger("New");
    const QRect third = frameOf(DocumentAt(2));
    const int step = third.top() - second.top();
    EXPECT_EQ(third.left() - second.left(), step);
    ASSERT_GT(step, 0);
    openTenAndCountWraps(step);
}

TEST(WindowPlacement, NewWindowCascadesFromTheFrontDocumentWindow)
{
    StartApplication();
    Trigger("New");
    Trigger("New");
    // The first window comes to the front: the next cascades from it.
    platform::selectWindow(DocumentAt(0));
    Trigger("New");
    const QRect first = frameOf(DocumentAt(0));
    const QRect second = frameOf(DocumentAt(1));
    const QRect fourth = frameOf(DocumentAt(3));
    const int step = second.top() - first.top();
    ASSERT_GT(step, 0);
    EXPECT_EQ(fourth.left(), first.left() + step);
    EXPECT_EQ(fourth.top(), first.top() + step);
}
