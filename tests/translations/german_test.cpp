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
    Strings menus, sheet; // the menu bar; the sheet's labels (focal length, distance, far limit, camera)
    const char *distanceLabel, *alert, *explanation, *info;
    Strings question; // closing an untitled table: its text, detail and buttons, then Qt's own "Cancel"
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

// Under a comma locale of the C library: the table window's defaults and the computed sheet keep the
// point, an argument out of range is explained, closing asks to save.
TEST_P(Locale, ChoosesTheLanguage)
{
    const Language &row = GetParam();
    ASSERT_TRUE(UseCommaDecimalLocale()); // the C library writes "3,5" from here on
    StartApplication(row.locale);
    Strings menus, sheet;
    for (QAction *menu : DocumentAt(0)->menuBar()->actions())
        menus.push_back(menu->text().toStdString());
    EXPECT_EQ(menus, row.menus);
    const TableWindowState shown = ComputeTable({"3.5", "50", 3, std::nullopt});
    EXPECT_EQ(shown.distanceLabel + shown.distance, row.distanceLabel + std::string("5.000"));
    for (const auto &[x, y] : {std::pair{20, 20}, {210, 20}, {260, 110}, {125, 70}, {308, 20}})
        sheet.push_back(TextAt(DocumentAt(0), short(x), short(y)).value_or("<none>"));
    EXPECT_EQ(sheet, row.sheet);
    TakeShownAlerts();
    ComputeTable({"3", "2", 3, std::nullopt}); // a focal length out of range
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].message + "\n" + alerts[0].explanation,
              row.alert + std::string("\n") + row.explanation);
    EXPECT_EQ(BCopyInfoString(), row.info);
    EXPECT_EQ(platform::helpPage().toStdString().find("/de.lproj/help/index.html") != std::string::npos,
              row.germanHelp);
    Trigger("Close");
    const ShownDialog asked = OnlyDialog();
    Strings question = {asked.text, asked.detail};
    question.insert(question.end(), asked.buttons.begin(), asked.buttons.end());
    question.push_back(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString());
    EXPECT_EQ(question, row.question);
    EXPECT_TRUE(Press(asked, row.question.back()));
    std::setlocale(LC_ALL, "C");
}

const Strings kGerman = {"Quorlscope", "Datei", "Bearbeiten", "Tabelle", "Hilfe"},
              kEnglish = {"Quorlscope", "File", "Edit", "Table", "Help"},
              kGermanSheet = {"Brennweite:", "Entf. (m):", "Ferngrenze (m)", "35-mm-Film", " 3.500"},
              kEnglishSheet = {"Focal length:", "Dist. (m):", "Far limit (m)", "35 mm film", " 3.500"},
              kGermanQuestion = {"Möchten Sie die Änderungen im Dokument „Unbenannt“ speichern?",
                                 "Ihre Änderungen gehen verloren, wenn Sie sie nicht speichern.",
                                 "Speichern",
                                 "Nicht speichern",
                                 "Abbrechen",
                                 "Abbrechen"},
              kEnglishQuestion = {"Do you want to save the changes you made in the document “Untitled”?",
                                  "Your changes will be lost if you don’t save them.",
                                  "Save",
                                  "Don’t Save",
                                  "Cancel",
                                  "Cancel"};
const char kGermanInfo[] = "Quorlscope 1.0.0, Schärfentiefe-Tabellen für Fotografen",
           kEnglishInfo[] = "Quorlscope 1.0.0, depth-of-field tables for photographers",
           kGermanExplanation[] =
               "Die Brennweite sollte zwischen 4 und 1000 mm liegen,\ndie Entfernung zwischen der "
               "doppelten Brennweite und 1000 m\nund der Zerstreuungskreis zwischen 1 und 1000 µm.",
           kEnglishExplanation[] =
               "The focal length should be in the range of 4..1000 mm,\nthe distance from two "
               "times of focal length to 1000 m,\nand the circle of confusion in the range of "
               "1..1000 µm.";
// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, Locale, testing::Values(
    Language{"de_DE.UTF-8", kGerman, kGermanSheet, "Entfernung in m: ", "Bitte prüfen Sie Ihre Angaben!", kGermanExplanation, kGermanInfo, kGermanQuestion, true},
    Language{"de_AT.UTF-8", kGerman, kGermanSheet, "Entfernung in m: ", "Bitte prüfen Sie Ihre Angaben!", kGermanExplanation, kGermanInfo, kGermanQuestion, true},
    Language{"C.UTF-8", kEnglish, kEnglishSheet, "distance in m: ", "Please Check Your Arguments!", kEnglishExplanation, kEnglishInfo, kEnglishQuestion, false},
    Language{"fr_FR.UTF-8", kEnglish, kEnglishSheet, "distance in m: ", "Please Check Your Arguments!", kEnglishExplanation, kEnglishInfo, kEnglishQuestion, false}));
// clang-format on
