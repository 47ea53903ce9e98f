// The Help menu: "Quorlscope Help" opens the help book in a window of the
// application, whose links are followed with Back and Forward, and which is
// hidden rather than closed.
#include "app/mainmenu.h"
#include "app/windowmodule.h"
#include "tests/support/app_driver.h"

#include <QTextBrowser>
#include <QUrl>
#include <gtest/gtest.h>

using namespace qrltest;

namespace
{

QTextBrowser *Browser(QWidget *help)
{
    return Find<QTextBrowser>(help, "helpText");
}

std::string Page(QWidget *help)
{
    return Browser(help)->source().toString().toStdString();
}

bool EndsWith(const std::string &text, const std::string &end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

TEST(Help, MenuItemOpensTheBookAndLinksGoBackAndForth)
{
    StartApplication();
    ASSERT_NE(Menu("helpMenu"), nullptr);
    EXPECT_EQ(ItemTexts("helpMenu"), std::vector<std::string>{"Quorlscope Help"});
    ASSERT_EQ(Menu("helpMenu")->actions().value(0), MenuItem("Help"));
    EXPECT_EQ(KeyOf("Help"), "F1");
    EXPECT_TRUE(IsCommandEnabled("Help"));

    QWidget *document = platform::frontWindow();
    Trigger("Help");
    QWidget *help = platform::frontWindow();
    ASSERT_NE(help, document);
    EXPECT_TRUE(BIsHelpWindow(help));
    EXPECT_EQ(platform::windowTitleOf(help), "Quorlscope Help");
    EXPECT_TRUE(EndsWith(Page(help), "help/index.html")) << Page(help);
    auto *back = Find<QAbstractButton>(help, "backButton");
    auto *forward = Find<QAbstractButton>(help, "forwardButton");
    ASSERT_TRUE(back && forward);
    EXPECT_FALSE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());
    // The help window in front: the document commands are off, Close is on.
    EXPECT_FALSE(IsCommandEnabled("Print"));
    EXPECT_FALSE(IsCommandEnabled("ComputeTable"));
    EXPECT_TRUE(IsCommandEnabled("Close"));

    // A link of the contents, followed as a click on it does: resolved
    // against the page shown.
    QTextBrowser *browser = Browser(help);
    ASSERT_TRUE(browser->toHtml().contains(QStringLiteral("#print")));
    browser->setSource(browser->source().resolved(QUrl(QStringLiteral("#print"))));
    EXPECT_TRUE(EndsWith(Page(help), "index.html#print")) << Page(help);
    ASSERT_TRUE(Click(back));
    EXPECT_TRUE(EndsWith(Page(help), "help/index.html")) << Page(help);
    ASSERT_TRUE(Click(forward));
    EXPECT_TRUE(EndsWith(Page(help), "#print")) << Page(help);

    // Closed: hidden, kept, and shown again by the command, built once.
    ClickCloseBox(help);
    EXPECT_FALSE(help->isVisible());
    EXPECT_EQ(platform::frontWindow(), document);
    Trigger("Help");
    EXPECT_EQ(platform::frontWindow(), help);
    EXPECT_EQ(BGetHelpWindowRef(), help);
    EXPECT_TRUE(EndsWith(Page(help), "help/index.html")) << Page(help);
    EXPECT_TRUE(AlertMessages().empty());
}

// The help page tells how to print and where the PDF goes.
TEST(Help, BookDescribesPrinting)
{
    StartApplication();
    Trigger("Help");
    QTextBrowser *browser = Browser(platform::frontWindow());
    const QString text = browser->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Page Setup")));
    EXPECT_TRUE(text.contains(QStringLiteral(".pdf")));
}
