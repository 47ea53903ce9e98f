// The language by the system's locale: German of any country is German, with
// numbers that keep their point; a locale without a translation of ours gets
// the program's own English texts, and Qt's stay English with them.
#include "app/windowmodule.h"
#include "platform/bundle.h"
#include "tests/support/app_driver.h"
#include "tests/support/common.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <clocale>
#include <gtest/gtest.h>

using namespace qrltest;

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
    const Language &row = GetParam();
    StartApplication(row.locale);
    Strings menus;
    for (QAction *menu : DocumentAt(0)->menuBar()->actions())
        menus.push_back(menu->text().toStdString());
    EXPECT_EQ(menus, row.menus);
    EXPECT_EQ(TextAt(DocumentAt(0), 20, 20), row.focalLabel);
    TakeShownAlerts();
    ComputeTable({"3", "2", 3, std::nullopt}); // a focal length out of range
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].message, row.alert);
    EXPECT_EQ(BCopyInfoString(), row.info);
    EXPECT_EQ(platform::helpPage().toStdString().find("/de.lproj/help/index.html") != std::string::npos,
              row.germanHelp);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), row.cancel);
}

const Strings kGerman = {"Quorlscope", "Datei", "Bearbeiten", "Tabelle", "Hilfe"},
              kEnglish = {"Quorlscope", "File", "Edit", "Table", "Help"};
const char kGermanInfo[] = "Quorlscope 1.0.0, Schärfentiefe-Tabellen für Fotografen",
           kEnglishInfo[] = "Quorlscope 1.0.0, depth-of-field tables for photographers";
// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, Locale, testing::Values(
    Language{"de_DE.UTF-8", kGerman, "Brennweite:", "Bitte prüfen Sie Ihre Angaben!", kGermanInfo, "Abbrechen", true},
    Language{"de_AT.UTF-8", kGerman, "Brennweite:", "Bitte prüfen Sie Ihre Angaben!", kGermanInfo, "Abbrechen", true},
    Language{"C.UTF-8", kEnglish, "Focal length:", "Please Check Your Arguments!", kEnglishInfo, "Cancel", false},
    Language{"fr_FR.UTF-8", kEnglish, "Focal length:", "Please Check Your Arguments!", kEnglishInfo, "Cancel", false}));
// clang-format on

// In German under a comma locale: the computed sheet keeps the point, the
// arguments alert explains, closing asks to save with German buttons.
TEST(German, SheetAlertAndSaveChangesQuestion)
{
    ASSERT_TRUE(UseCommaDecimalLocale()); // the C library writes "3,5" from here on
    StartApplication("de_DE.UTF-8");
    const TableWindowState shown = ComputeTable({"3.5", "50", 3, std::nullopt});
    EXPECT_EQ(shown.distanceLabel, "Entfernung in m: ");
    EXPECT_EQ(shown.distance, "5.000"); // the defaults, with a point
    const std::pair<std::pair<short, short>, const char *> texts[] = {{{210, 20}, "Entf. (m):"},
                                                                      {{260, 110}, "Ferngrenze (m)"},
                                                                      {{125, 70}, "35-mm-Film"},
                                                                      {{308, 20}, " 3.500"}};
    for (const auto &[at, text] : texts)
        EXPECT_EQ(TextAt(DocumentAt(0), at.first, at.second), text);
    TakeShownAlerts();
    ComputeTable({"3", "2", 3, std::nullopt});
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].explanation,
              "Die Brennweite sollte zwischen 4 und 1000 mm liegen,\ndie Entfernung zwischen der doppelten "
              "Brennweite und 1000 m\nund der Zerstreuungskreis zwischen 1 und 1000 \u00b5m.");
    Trigger("Close");
    const ShownDialog asked = OnlyDialog();
    EXPECT_EQ(asked.text, "Möchten Sie die Änderungen im Dokument „Unbenannt“ speichern?");
    EXPECT_EQ(asked.detail, "Ihre Änderungen gehen verloren, wenn Sie sie nicht speichern.");
    EXPECT_EQ(asked.buttons, Strings({"Speichern", "Nicht speichern", "Abbrechen"}));
    EXPECT_TRUE(Press(asked, "Abbrechen"));
    std::setlocale(LC_ALL, "C");
}
