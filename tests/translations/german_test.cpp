// Quorlscope on a system whose locale is German (LANG=de_DE.UTF-8): the
// menus, windows, sheet labels, alerts, dialogs, the facts window, the about
// text and the help page are German, numbers keep their point; on any other
// locale everything is English.
#include "app/windowmodule.h"
#include "document/document.h"
#include "platform/bundle.h"
#include "platform/internal.h"
#include "tests/support/app_driver.h"
#include "tests/support/common.h"
#include "tests/support/dialog_driver.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QMenuBar>
#include <QTextBrowser>
#include <algorithm>
#include <clocale>
#include <gtest/gtest.h>
#include <map>

using namespace qrltest;

namespace
{

// The titles the document window's menu bar shows.
Strings MenuTitles()
{
    Strings titles;
    if (DocumentWindow *window = DocumentAt(0))
        for (QAction *menu : window->menuBar()->actions())
            titles.push_back(menu->text().toStdString());
    return titles;
}

// The alert that an out-of-range focal length brings up, as shown.
ShownAlert ArgumentsAlert()
{
    TakeShownAlerts();
    ComputeTable({"3", "2", 3, std::nullopt});
    std::vector<ShownAlert> alerts = TakeShownAlerts();
    return alerts.size() == 1 ? alerts[0] : ShownAlert{};
}

std::string FactsText()
{
    auto *text = QRLGetFactsWindowRef()->findChild<QTextBrowser *>();
    return text ? text->toPlainText().toStdString() : std::string();
}

void StartInGerman()
{
    UseSystemLocale("de_DE.UTF-8");
    StartApplication();
}

} // namespace

TEST(German, MenusWindowsAndTheEmptySheet)
{
    StartInGerman();
    EXPECT_EQ(MenuItem("ComputeTable")->text().toStdString(), "Tabelle berechnen…");
    EXPECT_EQ(MenuItem("Save")->text().toStdString(), "Speichern");
    EXPECT_EQ(KeyOf("Save"), "Ctrl+S"); // key equivalents are not translated away

    QWidget *window = DocumentAt(0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(platform::windowTitleOf(window), "Unbenannt ");
    const std::map<std::pair<short, short>, std::string> labels = {
        {{20, 20}, "Brennweite:"}, {{210, 20}, "Entfernung:"}, {{20, 45}, "Unschärfekreis (µm):"},
        {{20, 70}, "Kamera:"},     {{20, 110}, "Blende"},      {{120, 110}, "Nahgrenze"},
        {{260, 110}, "Ferngrenze"}};
    for (const auto &[at, text] : labels)
        EXPECT_EQ(TextAt(window, at.first, at.second), text) << at.first << "," << at.second;
}

TEST(German, ComputedSheetKeepsThePointAndTheAlertIsGerman)
{
    ASSERT_TRUE(UseCommaDecimalLocale()); // the C library writes "3,5" from here on
    StartInGerman();
    const TableWindowState shown = ComputeTable({"3.5", "50", 3, std::nullopt});
    EXPECT_EQ(shown.distanceLabel, "Entfernung in m: ");
    EXPECT_EQ(shown.distance, "5.000"); // the defaults, with a point
    EXPECT_EQ(shown.circle, "10.0");

    QWidget *window = DocumentAt(0);
    EXPECT_EQ(TextAt(window, 210, 20), "Entf. (m):");
    EXPECT_EQ(TextAt(window, 120, 110), "Nahgrenze (m)");
    EXPECT_EQ(TextAt(window, 260, 110), "Ferngrenze (m)");
    EXPECT_EQ(TextAt(window, 125, 70), "35-mm-Film");
    EXPECT_EQ(TextAt(window, 308, 20), " 3.500");
    EXPECT_EQ(TextAt(window, 175, 45), "  33.0");
    EXPECT_EQ(TextAt(window, 30, 150), " 1.4");
    EXPECT_EQ(TextAt(window, 280, 420), "inf");

    const ShownAlert alert = ArgumentsAlert();
    EXPECT_EQ(alert.message, "Bitte prüfen Sie Ihre Angaben!");
    EXPECT_EQ(alert.explanation, "Die Brennweite sollte zwischen 4 und 1000 mm liegen,\n"
                                 "die Entfernung zwischen der doppelten Brennweite und 1000 m\n"
                                 "und der Zerstreuungskreis zwischen 1 und 1000 \u00b5m.");
    std::setlocale(LC_ALL, "C");
}

// Facts, about text, help page, the table window's pop-up and Qt's own
// dialog buttons.
TEST(German, FactsAboutHelpAndDialogButtons)
{
    StartInGerman();
    QWidget *facts = QRLGetFactsWindowRef();
    ASSERT_NE(facts, nullptr);
    EXPECT_EQ(platform::windowTitleOf(facts), "Wissenswertes zur Schärfentiefe");
    EXPECT_NE(FactsText().find("Die Schärfentiefe ist der Entfernungsbereich"), std::string::npos);
    EXPECT_NE(FactsText().find("10.5"), std::string::npos) << "numbers keep their point";

    const std::string help = platform::helpPage().toStdString();
    EXPECT_NE(help.find("/de.lproj/help/index.html"), std::string::npos) << help;
    QFile page(QString::fromStdString(platform::bundleRoot() + "/de.lproj/help/index.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_NE(page.readAll().toStdString().find("<h1>Quorlscope-Hilfe</h1>"), std::string::npos);

    std::vector<std::string> cameras;
    RunTableWindow([&](QWidget *window) {
        EXPECT_EQ(Title(window), "Tabelle berechnen");
        auto *popup = window->findChild<QComboBox *>();
        for (int i = 0; popup && i < popup->count(); ++i)
            cameras.push_back(popup->itemText(i).toStdString());
    });
    EXPECT_EQ(cameras, (std::vector<std::string>{"APS-C digital", "Vollformat digital", "35-mm-Film",
                                                 "Mittelformat"}));
}

// The question on closing a changed document, with its buttons.
TEST(German, SaveChangesQuestion)
{
    StartInGerman();
    ComputeTable({"3", "50", 3, std::nullopt});
    Trigger("Close");
    const ShownDialog asked = OnlyDialog();
    EXPECT_EQ(asked.text, "Möchten Sie die Änderungen im Dokument „Unbenannt“ speichern?");
    EXPECT_EQ(asked.detail, "Ihre Änderungen gehen verloren, wenn Sie sie nicht speichern.");
    EXPECT_EQ(asked.buttons, (std::vector<std::string>{"Speichern", "Nicht speichern", "Abbrechen"}));
    EXPECT_TRUE(Press(asked, "Abbrechen"));
}

// The German labels fit the sheet as the English ones do: at the window's
// size no text runs into the next on its line or past the window.
TEST(German, SheetLabelsFit)
{
    StartInGerman();
    for (int camera : {1, 2, 3, 4}) {
        ComputeTable({"15", "50", camera, "30"});
        QWidget *window = DocumentAt(0);
        const QRect bounds = BSheetBounds(window);
        std::map<int, SheetLayout> lines;
        for (const SheetItem &item : Contents(window))
            if (item.kind == SheetItem::Kind::text)
                lines[item.frame.top()].push_back(item);
        auto right = [](const SheetItem &item) {
            return item.frame.left() + QFontMetrics(sheetFont()).horizontalAdvance(item.text);
        };
        for (auto &[top, items] : lines) {
            std::sort(items.begin(), items.end(),
                      [](const SheetItem &a, const SheetItem &b) { return a.frame.left() < b.frame.left(); });
            for (std::size_t i = 0; i < items.size(); ++i) {
                const std::string text = items[i].text.toStdString();
                EXPECT_LE(right(items[i]), bounds.right() + 1) << text;
                if (i + 1 < items.size()) {
                    EXPECT_LT(right(items[i]), items[i + 1].frame.left())
                        << "'" << text << "' runs into '" << items[i + 1].text.toStdString() << "'";
                }
            }
        }
    }
}

// The language by the system's locale: German of any country is German; a
// locale without a translation of ours gets the program's own English texts,
// and Qt's stay English with them.
struct Language {
    const char *locale;
    Strings menus;
    const char *focalLabel, *alert, *info, *cancel;
    bool germanHelp;
};

// Names the row in the test's name.
void PrintTo(const Language &language, std::ostream *out)
{
    *out << language.locale;
}

class Locale : public testing::TestWithParam<Language>
{
};

TEST_P(Locale, ChoosesTheLanguage)
{
    const Language &l = GetParam();
    UseSystemLocale(l.locale);
    StartApplication();
    EXPECT_EQ(MenuTitles(), l.menus);
    EXPECT_EQ(TextAt(DocumentAt(0), 20, 20), l.focalLabel);
    EXPECT_EQ(ArgumentsAlert().message, l.alert);
    EXPECT_EQ(BCopyInfoString(), l.info);
    EXPECT_EQ(platform::helpPage().toStdString().find("/de.lproj/") != std::string::npos, l.germanHelp);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), l.cancel);
}

const Strings kGermanMenus = {"Quorlscope", "Datei", "Bearbeiten", "Tabelle", "Hilfe"};
const Strings kEnglishMenus = {"Quorlscope", "File", "Edit", "Table", "Help"};
const char kGermanInfo[] = "Quorlscope 1.0.0, Schärfentiefe-Tabellen für Fotografen";
const char kEnglishInfo[] = "Quorlscope 1.0.0, depth-of-field tables for photographers";
INSTANTIATE_TEST_SUITE_P(
    German, Locale,
    testing::Values(Language{"de_DE.UTF-8", kGermanMenus, "Brennweite:", "Bitte prüfen Sie Ihre Angaben!",
                             kGermanInfo, "Abbrechen", true},
                    Language{"de_AT.UTF-8", kGermanMenus, "Brennweite:", "Bitte prüfen Sie Ihre Angaben!",
                             kGermanInfo, "Abbrechen", true},
                    Language{"C.UTF-8", kEnglishMenus, "Focal length:", "Please Check Your Arguments!",
                             kEnglishInfo, "Cancel", false},
                    Language{"en_GB.UTF-8", kEnglishMenus, "Focal length:", "Please Check Your Arguments!",
                             kEnglishInfo, "Cancel", false},
                    Language{"fr_FR.UTF-8", kEnglishMenus, "Focal length:", "Please Check Your Arguments!",
                             kEnglishInfo, "Cancel", false}),
    [](const testing::TestParamInfo<Language> &info) {
        const std::string name = std::string(info.param.locale).substr(0, 5);
        return name == "C.UTF" ? std::string("C") : name;
    });

// A text with no translation, such as one with a value already put in, is
// shown as it is.
TEST(German, TextWithoutTranslationShowsAsItIs)
{
    StartInGerman();
    auto translated = [](const char *text) {
        return QCoreApplication::translate("Program", text).toStdString();
    };
    EXPECT_EQ(translated("Please Check Your Arguments!"), "Bitte prüfen Sie Ihre Angaben!");
    EXPECT_EQ(translated("distance in ft: "), "Entfernung in ft: ");
    EXPECT_EQ(translated("No such text 3.5"), "No such text 3.5");
    EXPECT_EQ(translated(""), "");
    EXPECT_EQ(QCoreApplication::translate("Program", "The file “%1” is new").arg("a.qrtb").toStdString(),
              "The file “a.qrtb” is new");
}
