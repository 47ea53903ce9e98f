// The application's other windows and settings: where new document windows
// open, the icon in the splash and the about box, the help book, and the
// distance unit the preferences keep.
#include "app/windowmodule.h"
#include "document/document.h"
#include "platform/internal.h"
#include "platform/prefs.h"
#include "tests/support/app_driver.h"
#include "tests/support/common.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/mounts.h"

#include <QApplication>
#include <QImageReader>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QTextBrowser>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

using namespace qrltest;

namespace
{

QRect FrameOf(int document)
{
    return DocumentAt(document)->frameGeometry();
}

// Where the preferences live: <configuration folder>/<program name>/<program name>.conf.
std::string ConfigurationFile()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME").toStdString() + "/Quorlscope/Quorlscope.conf";
}

} // namespace

// New windows cascade from the front one by a title bar's height and go
// back to the top-left of the available screen area when the next would
// leave it; rows: where the first window stands.
TEST(WindowPlacement, CascadeFromTheFrontWindowWithinTheScreen)
{
    StartApplication();
    const QRect screen = DocumentAt(0)->screen()->availableGeometry();
    int step = 0;
    for (const bool bottomRight : {false, true}) {
        SCOPED_TRACE(bottomRight ? "bottom right" : "top left");
        DocumentAt(0)->move(bottomRight
                                ? FrameOf(0).topLeft() + screen.bottomRight() - FrameOf(0).bottomRight()
                                : screen.topLeft());
        while (BGetNumberOfDocuments() < kMaxNumberOfDocuments) {
            const QRect before = FrameOf(BGetNumberOfDocuments() - 1);
            Trigger("New");
            const QRect frame = FrameOf(BGetNumberOfDocuments() - 1);
            if (step == 0)
                step = frame.top() - before.top();
            EXPECT_TRUE(screen.contains(frame)) << frame.left() << "," << frame.top();
            const bool room = screen.contains(before.translated(step, step));
            EXPECT_EQ(frame.topLeft(), room ? before.topLeft() + QPoint(step, step) : screen.topLeft());
        }
        while (BGetNumberOfDocuments() > 1)
            ClickCloseBox(DocumentAt(1));
    }
    EXPECT_GE(step, 10); // a title bar, not a thin border
    EXPECT_LE(step, 60);
    DocumentAt(0)->move(screen.topLeft());
    Trigger("New");
    Trigger("New");
    platform::selectWindow(DocumentAt(0));
    Trigger("New");
    EXPECT_EQ(FrameOf(3).topLeft(), FrameOf(0).topLeft() + QPoint(step, step));
}

// The splash and the about box draw the icon file's 48-pixel picture into
// their icon box, 30 pixels from the top at a fixed distance left of the
// window's centre (the splash draws it twice: when shown, and at start-up).
TEST(Icons, WindowsShowTheIconFilesPicture)
{
    StartApplication();
    Trigger("About");
    QImageReader reader(QStringLiteral(QRL_SOURCE_DIR "/resources/Quorl.icns"));
    QImage picture;
    for (int i = 0; i < reader.imageCount() && picture.size() != QSize(48, 48); ++i) {
        reader.jumpToImage(i);
        picture = reader.read();
    }
    ASSERT_EQ(picture.size(), QSize(48, 48));
    const struct {
        QImage shown;
        int leftOfCentre;
        QSize box;
        int drawings;
    } rows[] = {{GetSplashPicture(), 23, {47, 48}, 2},
                {BGetAboutWindowRef()->grab().toImage(), 28, {48, 48}, 1}};
    for (const auto &row : rows) {
        ASSERT_FALSE(row.shown.isNull());
        const QRect box(QPoint(row.shown.width() / 2 - row.leftOfCentre, 30), row.box);
        QImage expected = row.shown.copy(); // the picture over the ground beside the box
        QPainter painter(&expected);
        painter.fillRect(box, row.shown.pixel(box.left() - 1, box.top()));
        for (int i = 0; i < row.drawings; ++i)
            painter.drawImage(box, picture);
        painter.end();
        EXPECT_TRUE(row.shown.copy(box).convertToFormat(QImage::Format_RGB32) ==
                    expected.copy(box).convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_EQ(platform::windowTitleOf(BGetAboutWindowRef()), "About Quorlscope");
}

// "Quorlscope Help" opens the help book (which tells how to print and
// where the PDF goes); links are followed with Back and Forward; closed, the
// window is hidden and shown again as it was built.
TEST(Help, MenuItemOpensTheBookAndLinksGoBackAndForth)
{
    StartApplication();
    EXPECT_EQ(ItemTexts("helpMenu"), std::vector<std::string>{"Quorlscope Help"});
    QWidget *document = platform::frontWindow();
    Trigger("Help");
    QWidget *help = platform::frontWindow();
    ASSERT_TRUE(BIsHelpWindow(help));
    EXPECT_EQ(platform::windowTitleOf(help), "Quorlscope Help");
    auto *browser = Find<QTextBrowser>(help, "helpText");
    auto *back = Find<QAbstractButton>(help, "backButton");
    auto *forward = Find<QAbstractButton>(help, "forwardButton");
    const auto page = [&]() { return browser->source().toString().toStdString(); };
    const auto shows = [&](const std::string &end) {
        const std::string shown = page();
        return shown.size() >= end.size() && shown.compare(shown.size() - end.size(), end.size(), end) == 0;
    };
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Page Setup")));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral(".pdf")));
    EXPECT_TRUE(shows("help/index.html")) << page();
    EXPECT_FALSE(back->isEnabled() || forward->isEnabled());
    ASSERT_TRUE(browser->toHtml().contains(QStringLiteral("#print")));
    browser->setSource(browser->source().resolved(QUrl(QStringLiteral("#print")))); // as a click on the link
    EXPECT_TRUE(shows("help/index.html#print")) << page();
    ASSERT_TRUE(Click(back));
    EXPECT_TRUE(shows("help/index.html")) << page();
    ASSERT_TRUE(Click(forward));
    EXPECT_TRUE(shows("help/index.html#print")) << page();
    ClickCloseBox(help);
    EXPECT_FALSE(help->isVisible());
    EXPECT_EQ(platform::frontWindow(), document);
    Trigger("Help");
    EXPECT_EQ(std::make_pair(platform::frontWindow(), BGetHelpWindowRef()), std::make_pair(help, help));
    EXPECT_TRUE(shows("help/index.html")) << page();
    EXPECT_TRUE(AlertMessages().empty());
}

// One row per unit stored in the configuration file: the table window's
// label, the sheet's unit, the preferences window's choice and the unit the
// saved document records; a value the program does not know is metres. The
// preferences window shows the unit stored when it first opened.
TEST(Preferences, StoredUnitEverywhere)
{
    StartApplication();
    const std::string folder = FreshFolder();
    const struct {
        const char *stored;
        bool feet;
    } rows[] = {{"7", false}, {"2", true}, {"1", false}, {"0", false}, {"3", false}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.stored);
        QSettings(QString::fromStdString(ConfigurationFile()), QSettings::IniFormat)
            .setValue("Distance Unit", row.stored);
        ASSERT_EQ(platform::preferences().value("Distance Unit").toString(), row.stored);
        Trigger("New");
        EXPECT_EQ(ComputeTable({"3", "50", {}, {}}).distanceLabel,
                  row.feet ? "distance in ft: " : "distance in m: ");
        EXPECT_EQ(TextAt(platform::frontWindow(), 210, 20), row.feet ? "Dist. (ft):" : "Dist. (m):");
        if (&row == rows) {
            Trigger("Preferences");
            EXPECT_EQ(Find<QComboBox>(BGetPrefWindowRef(), "distanceUnitField")->currentIndex(), 0);
            ClickCloseBox(BGetPrefWindowRef());
        }
        Trigger("Save");
        ASSERT_TRUE(ChooseSaveLocation(OnlyDialog(), folder, row.stored));
        const std::string bytes = ReadText(folder + "/" + row.stored + ".qrtb");
        ASSERT_EQ(bytes.size(), 280u);
        EXPECT_EQ(bytes.substr(4, 4), std::string("\0\0\0", 3) + (row.feet ? '\2' : '\1'));
    }
}

// With the configuration folder read-only, choosing feet works for the
// session, and a note says the choice could not be saved and why.
TEST(Preferences, ChoiceThatCannotBeStoredIsReported)
{
    StartApplication();
    if (!MountsUnavailable().empty())
        GTEST_SKIP() << MountsUnavailable();
    const std::string file = ConfigurationFile();
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    ASSERT_TRUE(MountReadOnly(std::filesystem::path(file).parent_path()));
    TakeShownAlerts();
    ChooseDistanceUnit(2);
    EXPECT_EQ(Alerts(), (std::vector<std::string>{"Your choice could not be saved",
                                                  "The preferences file \u201c" + file +
                                                      "\u201d could not be written: " + std::strerror(EROFS) +
                                                      ".\nThe choice holds until the application quits."}));
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(ComputeTable({"3", "50", {}, {}}).distanceLabel, "distance in ft: ");
    EXPECT_EQ(TextAt(DocumentAt(0), 210, 20), "Dist. (ft):");
}
