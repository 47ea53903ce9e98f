// The language by the system's locale: German of any country is German, with
// numbers that keep their point; a locale without a translation of ours gets
// the program's own English texts, and Qt's stay English with them.
#include "app/windowmodule.h"
#include "platform/bundle.h"
#include "tests/support/app_driver.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <clocale>
#include <gtest/gtest.h>

using namespace qrltest;

// What the user reads, in order: the menu bar; the table window's distance label and default; the sheet's
// focal length, distance, far limit and camera labels and distance; the arguments alert; the program's
// information; closing the untitled table: the question, its detail and buttons; Qt's own "Cancel".
struct Language {
    const char *locale;
    const Strings *texts;
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

// Under a comma locale of the C library, where numbers keep their point.
TEST_P(Locale, ChoosesTheLanguage)
{
    const Language &row = GetParam();
    ASSERT_TRUE(UseCommaDecimalLocale()); // the C library writes "3,5" from here on
    StartApplication(row.locale);
    Strings texts;
    for (QAction *menu : DocumentAt(0)->menuBar()->actions())
        texts.push_back(menu->text().toStdString());
    const TableWindowState shown = ComputeTable({"3.5", "50", 3, std::nullopt});
    texts.push_back(shown.distanceLabel + shown.distance);
    for (const auto &[x, y] : {std::pair{20, 20}, {210, 20}, {260, 110}, {125, 70}, {308, 20}})
        texts.push_back(TextAt(DocumentAt(0), short(x), short(y)).value_or("<none>"));
    TakeShownAlerts();
    ComputeTable({"3", "2", 3, std::nullopt}); // a focal length out of range
    for (const ShownAlert &alert : TakeShownAlerts())
        texts.insert(texts.end(), {alert.message, alert.explanation});
    texts.push_back(BCopyInfoString());
    Trigger("Close");
    const ShownDialog asked = OnlyDialog();
    texts.insert(texts.end(), {asked.text, asked.detail});
    texts.insert(texts.end(), asked.buttons.begin(), asked.buttons.end());
    texts.push_back(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString());
    EXPECT_EQ(texts, *row.texts);
    EXPECT_TRUE(Press(asked, texts.back()));
    EXPECT_EQ(platform::helpPage().toStdString().find("/de.lproj/help/index.html") != std::string::npos,
              row.germanHelp);
    std::setlocale(LC_ALL, "C");
}

// clang-format off
const Strings kGerman = {"Quorlscope", "Datei", "Bearbeiten", "Tabelle", "Hilfe", "Entfernung in m: 5.000",
    "Brennweite:", "Entf. (m):", "Ferngrenze (m)", "35-mm-Film", " 3.500", "Bitte prüfen Sie Ihre Angaben!",
    "Die Brennweite sollte zwischen 4 und 1000 mm liegen,\ndie Entfernung zwischen der doppelten Brennweite und "
    "1000 m\nund der Zerstreuungskreis zwischen 1 und 1000 µm.", "Quorlscope 1.0.0, Schärfentiefe-Tabellen für Fotografen",
    "Möchten Sie die Änderungen im Dokument „Unbenannt“ speichern?", "Ihre Änderungen gehen verloren, wenn Sie sie nicht "
    "speichern.", "Speichern", "Nicht speichern", "Abbrechen", "Abbrechen"};
const Strings kEnglish = {"Quorlscope", "File", "Edit", "Table", "Help", "distance in m: 5.000",
    "Focal length:", "Dist. (m):", "Far limit (m)", "35 mm film", " 3.500", "Please Check Your Arguments!",
    "The focal length should be in the range of 4..1000 mm,\nthe distance from two times of focal length to 1000 m,\n"
    "and the circle of confusion in the range of 1..1000 µm.", "Quorlscope 1.0.0, depth-of-field tables for photographers",
    "Do you want to save the changes you made in the document “Untitled”?", "Your changes will be lost if you don’t "
    "save them.", "Save", "Don’t Save", "Cancel", "Cancel"};
INSTANTIATE_TEST_SUITE_P(Rows, Locale, testing::Values(Language{"de_DE.UTF-8", &kGerman, true},
    Language{"de_AT.UTF-8", &kGerman, true}, Language{"C.UTF-8", &kEnglish, false}, Language{"fr_FR.UTF-8", &kEnglish, false}));
// clang-format on
