// The table parameters window as a user works it: what it shows on opening,
// the camera pop-up and the circle field, compute and cancel, every bound of
// the range check, how typed text reads, and the keyboard.
#include "app/tablewindow.h"
#include "document/document.h"
#include "expected.h"
#include "platform/bundle.h"
#include "platform/internal.h"
#include "platform/prefs.h"
#include "tests/support/app_driver.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using namespace qrltest;

namespace
{

const char *const kArgumentsMessage = "Please Check Your Arguments!";
const char *const kArgumentsExplanation = "The focal length should be in the range of 4..1000 mm,\n"
                                          "and the distance from two times of focal length to 1000 m.";

QWidget *WidgetWithCommand(WindowRef window, const char *command)
{
    for (QPushButton *button : platform::widgetOf(window)->findChildren<QPushButton *>())
        if (button->property("commandID").toString() == QLatin1String(command))
            return button;
    return nullptr;
}

QWidget *ControlWidget(WindowRef window, const char *signature)
{
    for (QWidget *widget : platform::widgetOf(window)->findChildren<QWidget *>())
        if (widget->property("controlSignature").toString() == QLatin1String(signature))
            return widget;
    return nullptr;
}

std::string FieldText(WindowRef window, const char (&signature)[5])
{
    return GetControlText(Control(window, signature));
}

// What the user typed and chose, and what the window then showed.
struct Entries {
    std::string distance, focalLength, circle;
    int cameraItem;
};

Entries Read(WindowRef window)
{
    return {FieldText(window, "dist"), FieldText(window, "focl"), FieldText(window, "uscd"),
            GetControl32BitValue(Control(window, "unsp"))};
}

void Fill(WindowRef window, const Entries &entries)
{
    TypeIntoField(Control(window, "dist"), entries.distance);
    TypeIntoField(Control(window, "focl"), entries.focalLength);
    ChoosePopupItem(Control(window, "unsp"), entries.cameraItem);
    TypeIntoField(Control(window, "uscd"), entries.circle);
}

// Presses Compute with arguments that must be refused: the alert, the window
// still open with the entries as typed, nothing computed or remembered.
void ExpectRefused(const Entries &entries)
{
    SCOPED_TRACE("distance '" + entries.distance + "', focal length '" + entries.focalLength + "'");
    TakeShownAlerts();
    bool ran = false;
    RunTableWindow([&](WindowRef window) {
        ran = true;
        Fill(window, entries);
        ASSERT_TRUE(ClickCommandButton(window, FOUR_CHAR_CODE("tabl")));
        const std::vector<ShownAlert> alerts = TakeShownAlerts();
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(alerts[0].type, kAlertNoteAlert);
        EXPECT_EQ(alerts[0].message, kArgumentsMessage);
        EXPECT_EQ(alerts[0].explanation, kArgumentsExplanation);
        EXPECT_TRUE(alerts[0].movable);
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_EQ(QRLIsTableWindow(), 1);
        const Entries after = Read(window);
        EXPECT_EQ(after.distance, entries.distance);
        EXPECT_EQ(after.focalLength, entries.focalLength);
        EXPECT_EQ(after.cameraItem, entries.cameraItem);
        EXPECT_EQ(after.circle, entries.circle);
    });
    EXPECT_TRUE(ran);
    EXPECT_FALSE(LastModalLoopQuit()); // the window stayed open
    EXPECT_FALSE(QRLIsDataValid(BGetCurrentDocsDataPtr()));
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 0);
    EXPECT_EQ(TextAt(DocumentWindow(0), 140, 150), "-");
}

// Presses Compute with arguments in range: the window ends and the sheet
// shows the distance.
void ExpectComputed(const Entries &entries, const std::string &distanceShown)
{
    SCOPED_TRACE("distance '" + entries.distance + "', focal length '" + entries.focalLength + "'");
    TakeShownAlerts();
    RunTableWindow([&](WindowRef window) {
        Fill(window, entries);
        ASSERT_TRUE(ClickCommandButton(window, FOUR_CHAR_CODE("tabl")));
    });
    EXPECT_TRUE(LastModalLoopQuit());
    EXPECT_TRUE(TakeShownAlerts().empty());
    EXPECT_TRUE(QRLIsDataValid(BGetCurrentDocsDataPtr()));
    EXPECT_EQ(TextAt(DocumentWindow(0), 308, 20), distanceShown);
}

TableWindowState Opening()
{
    return ComputeTable(TableEntry{std::nullopt, std::nullopt, std::nullopt, std::nullopt, false});
}

void ExpectOpening(const TableWindowState &shown, const std::string &distance, const std::string &focal,
                   int item, const std::string &circle, bool circleEnabled)
{
    EXPECT_EQ(shown.distance, distance);
    EXPECT_EQ(shown.focalLength, focal);
    EXPECT_EQ(shown.cameraItem, item);
    EXPECT_EQ(shown.circle, circle);
    EXPECT_EQ(shown.circleEnabled, circleEnabled);
}

// A locale whose decimal separator is the comma, made from the system's
// locale sources when it is not installed; false when neither is possible.
bool UseCommaLocale()
{
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_ALL, name))
            return true;
    if (!std::filesystem::exists("/usr/share/i18n/locales/de_DE"))
        return false;
    const std::string folder = TempFolder();
    const std::string command = "localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return false;
    setenv("LOCPATH", folder.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

} // namespace

TEST(TableWindow, FirstOpening)
{
    StartApplication();
    const TableWindowState shown = Opening();
    EXPECT_EQ(shown.distanceLabel, "distance in m: ");
    ExpectOpening(shown, "5.000", "35", 2, "10.0", true);
    EXPECT_EQ(QRLIsTableWindow(), 0);
}

TEST(TableWindow, OpensWithTheCamerasInTypeOrder)
{
    StartApplication();
    RunTableWindow([](WindowRef window) {
        EXPECT_EQ(GetWindowNibName(window), "Window");
        EXPECT_EQ(QRLIsTableWindow(), 1);
        EXPECT_EQ(FrontWindow(), window);
        for (const char *signature : {"DIST", "dist", "focl", "unsp", "uscd"})
            EXPECT_NE(ControlWidget(window, signature), nullptr) << signature;
        ControlRef popup = Control(window, "unsp");
        for (int item = 1; item <= 4; ++item)
            EXPECT_TRUE(ChoosePopupItem(popup, item)) << item;
        EXPECT_FALSE(ChoosePopupItem(popup, 5));
    });
}

TEST(TableWindow, FeetPreferenceLabelsTheDistance)
{
    StartApplication();
    CFPreferencesSetAppValue("Distance Unit", CFNumberCreate(2));
    TableWindowState shown = Opening();
    EXPECT_EQ(shown.distanceLabel, "distance in ft: ");
    EXPECT_EQ(shown.distance, "5.000");
    for (std::int32_t unit : {1, 0, 3}) {
        CFPreferencesSetAppValue("Distance Unit", CFNumberCreate(unit));
        shown = Opening();
        EXPECT_EQ(shown.distanceLabel, "distance in m: ") << "unit " << unit;
    }
}

TEST(TableWindow, FeetChosenInThePreferencesWindow)
{
    StartApplication();
    SendCommand("pref");
    WindowRef prefs = FrontWindow();
    ASSERT_TRUE(ChoosePopupItem(Control(prefs, "DIUN"), 2));
    ASSERT_TRUE(ClickCommandButton(prefs, FOUR_CHAR_CODE("ok  ")));
    EXPECT_EQ(Opening().distanceLabel, "distance in ft: ");
}

TEST(TableWindow, CameraChoiceEnablesTheCircleFieldAtOnce)
{
    StartApplication();
    RunTableWindow([](WindowRef window) {
        ControlRef popup = Control(window, "unsp");
        ControlRef circle = Control(window, "uscd");
        const std::pair<int, bool> steps[] = {{3, false}, {1, true},  {4, false},
                                              {2, true},  {4, false}, {3, false}};
        for (const auto &[item, enabled] : steps) {
            ASSERT_TRUE(ChoosePopupItem(popup, item));
            EXPECT_EQ(bool(IsControlEnabled(circle)), enabled) << "item " << item;
        }
        ClickCommandButton(window, kHICommandCancel);
    });
}

TEST(TableWindow, RemembersFilmAndMediumFormat)
{
    StartApplication();
    ComputeTable({"3", "50", 3, std::nullopt});
    TableWindowState shown = ComputeTable({"4", "80", 4, std::nullopt});
    ExpectOpening(shown, "3.000", "50", 3, "33.0", false);
    shown = ComputeTable({"2.5", "24", 1, "19"});
    ExpectOpening(shown, "4.000", "80", 4, "100.0", false);
    shown = Opening();
    ExpectOpening(shown, "2.500", "24", 1, "19.0", true);
    // A circle typed while the field was enabled and then left for film is ignored.
    ComputeTable({"3", "50", 1, "500"});
    shown = ComputeTable({std::nullopt, std::nullopt, 3, std::nullopt});
    EXPECT_EQ(shown.circle, "500.0");
    EXPECT_EQ(TextAt(DocumentWindow(0), 175, 45), "  33.0");
    EXPECT_EQ(Opening().circle, "33.0");
}

TEST(TableWindow, RemembersAcrossDocuments)
{
    StartApplication();
    ComputeTable({"7", "85", 2, "25"});
    SendCommand("new ");
    ASSERT_EQ(FrontWindow(), DocumentWindow(1));
    ExpectOpening(Opening(), "7.000", "85", 2, "25.0", true);
}

TEST(TableWindow, CancelAfterEditingChangesNothing)
{
    StartApplication();
    WindowRef document = DocumentWindow(0);
    const TableWindowState first = ComputeTable({"12", "200", 4, "99", false});
    ExpectOpening(first, "5.000", "35", 2, "10.0", true);
    EXPECT_FALSE(QRLIsDataValid(BGetCurrentDocsDataPtr()));
    EXPECT_EQ(BIsDocumentDirty(document), 0);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 0);
    EXPECT_FALSE(IsWindowModified(document));
    EXPECT_EQ(TextAt(document, 140, 150), "-");
    EXPECT_EQ(TextAt(document, 150, 20), "-");
    ExpectOpening(Opening(), "5.000", "35", 2, "10.0", true);

    // After a compute, a cancelled edit keeps the computed table and values.
    ComputeTable({"3", "50", 3, std::nullopt});
    ComputeTable({"9", "100", 1, "5", false});
    EXPECT_EQ(TextAt(document, 308, 20), " 3.000");
    EXPECT_EQ(TextAt(document, 140, 20), "    50");
    ExpectOpening(Opening(), "3.000", "50", 3, "33.0", false);
}

TEST(TableWindow, EscapeAndCancelButtonEndTheWindow)
{
    StartApplication();
    RunTableWindow([](WindowRef window) {
        TypeIntoField(Control(window, "dist"), "8");
        QTest::keyClick(ControlWidget(window, "dist"), Qt::Key_Escape);
    });
    EXPECT_TRUE(LastModalLoopQuit());
    EXPECT_FALSE(QRLIsDataValid(BGetCurrentDocsDataPtr()));
    EXPECT_EQ(Opening().distance, "5.000");
}

TEST(TableWindow, ReturnPressesCompute)
{
    StartApplication();
    RunTableWindow([](WindowRef window) {
        TypeIntoField(Control(window, "dist"), "3");
        TypeIntoField(Control(window, "focl"), "50");
        ChoosePopupItem(Control(window, "unsp"), 3);
        QTest::keyClick(ControlWidget(window, "focl"), Qt::Key_Return);
    });
    EXPECT_TRUE(LastModalLoopQuit());
    EXPECT_EQ(TextAt(DocumentWindow(0), 308, 20), " 3.000");
    EXPECT_EQ(TextAt(DocumentWindow(0), 140, 150), " 2.845");
}

TEST(TableWindow, FocusTabOrderAndDefaultButton)
{
    StartApplication();
    bool ran = false;
    RunTableWindow([&](WindowRef window) {
        ran = true;
        ControlRef distance = Control(window, "dist");
        EXPECT_EQ(GetFocusedControl(window), distance);
        EXPECT_TRUE(IsFieldTextSelected(distance));
        const std::vector<ControlRef> chain = GetTabChain(window);
        const std::vector<QWidget *> expectedChain = {
            ControlWidget(window, "dist"),     ControlWidget(window, "focl"),
            ControlWidget(window, "unsp"),     ControlWidget(window, "uscd"),
            WidgetWithCommand(window, "tabl"), WidgetWithCommand(window, "not!")};
        std::vector<QWidget *> actual;
        for (ControlRef control : chain)
            actual.push_back(reinterpret_cast<QWidget *>(control));
        EXPECT_EQ(actual, expectedChain);
        auto *compute = qobject_cast<QPushButton *>(WidgetWithCommand(window, "tabl"));
        auto *cancel = qobject_cast<QPushButton *>(WidgetWithCommand(window, "not!"));
        ASSERT_NE(compute, nullptr);
        ASSERT_NE(cancel, nullptr);
        EXPECT_TRUE(compute->isDefault());
        EXPECT_FALSE(cancel->isDefault());
    });
    EXPECT_TRUE(ran);
}

TEST(TableWindow, EditMenuWorksInTheFields)
{
    StartApplication();
    RunTableWindow([](WindowRef window) {
        QWidget *dialog = platform::widgetOf(window);
        dialog->activateWindow();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::activeWindow(), dialog);
        auto *distance = qobject_cast<QLineEdit *>(ControlWidget(window, "dist"));
        auto *focal = qobject_cast<QLineEdit *>(ControlWidget(window, "focl"));
        TypeIntoField(Control(window, "dist"), "12.5");
        SendCommand("sall");
        EXPECT_EQ(distance->selectedText(), QStringLiteral("12.5"));
        SendCommand("copy");
        SetKeyboardFocus(window, Control(window, "focl"));
        SendCommand("past");
        EXPECT_EQ(focal->text(), QStringLiteral("12.5"));
        SendCommand("undo");
        EXPECT_EQ(focal->text(), QStringLiteral("35"));
        SetKeyboardFocus(window, Control(window, "dist"));
        SendCommand("cut ");
        EXPECT_EQ(distance->text(), QString());
        ClickCommandButton(window, kHICommandCancel);
    });
}

TEST(TableWindow, FocalLengthBounds)
{
    StartApplication();
    for (const char *focal : {"3.99", "3", "1001", "1000.5", "0", "-50"})
        ExpectRefused({"5", focal, "10", 2});
    ExpectComputed({"5", "4", "10", 2}, " 5.000");
    ExpectComputed({"5", "1000", "10", 2}, " 5.000");
}

TEST(TableWindow, DistanceBoundsInMetres)
{
    StartApplication();
    ExpectRefused({"1000.5", "50", "10", 2});
    ExpectRefused({"1000.001", "50", "10", 2});
    ExpectRefused({"0.05", "35", "10", 2});
    ExpectRefused({"0.0699", "35", "10", 2});
    ExpectRefused({"0.0999", "50", "10", 2});
    ExpectRefused({"1.999", "1000", "10", 2});
    ExpectRefused({"-3", "50", "10", 2});
    ExpectComputed({"1000", "50", "10", 2}, "1000.000");
    ExpectComputed({"0.07", "35", "10", 2}, " 0.070");
    ExpectComputed({"0.1", "50", "10", 2}, " 0.100");
    ExpectComputed({"2", "1000", "10", 2}, " 2.000");
}

TEST(TableWindow, DistanceBoundsInFeet)
{
    StartApplication();
    CFPreferencesSetAppValue("Distance Unit", CFNumberCreate(2));
    // Twice 35 mm is 0.2297 ft: the bound is converted, not taken as metres.
    ExpectRefused({"0.1", "35", "10", 2});
    ExpectRefused({"0.2296", "35", "10", 2});
    ExpectRefused({"6.561", "1000", "10", 2});
    ExpectRefused({"1000.5", "50", "10", 2});
    ExpectComputed({"0.2297", "35", "10", 2}, " 0.230");
    ExpectComputed({"6.562", "1000", "10", 2}, " 6.562");
    ExpectComputed({"1000", "50", "10", 2}, "1000.000");
    EXPECT_EQ(QRLGetDistanceUnit(BGetCurrentDocsDataPtr()), 2);
}

TEST(TableWindow, TextThatIsNoNumberReadsAsZero)
{
    StartApplication();
    for (const char *text :
         {"abc", "", " ", "nan", "NaN", "inf", "-inf", "infinity", "0x10", "x5", ".", "-"}) {
        ExpectRefused({text, "50", "10", 2});
        ExpectRefused({"5", text, "10", 2});
    }
}

TEST(TableWindow, CircleThatIsNoNumberGivesSharpOnlyAtTheDistance)
{
    StartApplication();
    for (const char *text : {"abc", "", "nan", "inf", "0x10"}) {
        SCOPED_TRACE(std::string("circle '") + text + "'");
        ComputeTable({"3", "50", 2, text});
        WindowRef window = DocumentWindow(0);
        EXPECT_EQ(TextAt(window, 175, 45), "   0.0");
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(TextAt(window, 140, short(150 + 30 * i)), " 3.000") << "row " << i;
            EXPECT_EQ(TextAt(window, 280, short(150 + 30 * i)), " 3.000") << "row " << i;
        }
        ComputeTable({"4", "50", 2, "30"}); // something else in between
    }
}

TEST(TableWindow, LeadingNumberWithAPoint)
{
    StartApplication();
    ExpectComputed({"5,5", "50", "10", 2}, " 5.000");
    ExpectComputed({"  7.5", "50", "10", 2}, " 7.500");
    ExpectComputed({"6.25m", "50,8", "10", 2}, " 6.250");
    EXPECT_EQ(TextAt(DocumentWindow(0), 140, 20), "    50");
    ExpectComputed({"+8", " 35", "10", 2}, " 8.000");
    EXPECT_EQ(TextAt(DocumentWindow(0), 140, 20), "    35");
}

TEST(TableWindow, CommaLocaleStillReadsAndWritesPoints)
{
    StartApplication();
    if (!UseCommaLocale())
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    ExpectComputed({"5,5", "50", "10", 2}, " 5.000");
    ExpectComputed({"3.5", "50", "12.5", 2}, " 3.500");
    EXPECT_EQ(TextAt(DocumentWindow(0), 175, 45), "  12.5");
    // The window shows the remembered values as it reads them, so computing
    // again without an edit keeps them.
    ExpectOpening(Opening(), "3.500", "50", 2, "12.5", true);
    ComputeTable({std::nullopt, std::nullopt, std::nullopt, std::nullopt});
    EXPECT_EQ(TextAt(DocumentWindow(0), 308, 20), " 3.500");
    EXPECT_EQ(TextAt(DocumentWindow(0), 175, 45), "  12.5");
    std::setlocale(LC_ALL, "C");
}

TEST(TableWindow, SuccessfulComputeMarksTheDocument)
{
    StartApplication();
    WindowRef document = DocumentWindow(0);
    ComputeTable({"3", "50", 3, std::nullopt});
    EXPECT_TRUE(LastModalLoopQuit());
    EXPECT_EQ(QRLIsTableWindow(), 0);
    EXPECT_EQ(BIsDocumentDirty(document), 1);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 1);
    EXPECT_TRUE(IsWindowModified(document));
    EXPECT_EQ(GetWTitle(document), "Untitled ");
    EXPECT_EQ(FrontWindow(), document);
    EXPECT_EQ(TextAt(document, 140, 150), " 2.845");
    // Computing again keeps one dirty document.
    ComputeTable({"10", "50", 3, std::nullopt});
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 1);
    EXPECT_EQ(TextAt(document, 140, 150), " 8.447");
    const tDataPtr data = BGetCurrentDocsDataPtr();
    EXPECT_EQ(QRLGetCameraType(data), thirtyFive);
    EXPECT_DOUBLE_EQ(QRLGetUnsharpCircleinMicroMeter(data), 33.0);
    EXPECT_EQ(QRLGetDistanceUnit(data), 1);
}

TEST(TableWindow, ComputesIntoTheFrontDocument)
{
    StartApplication();
    WindowRef first = DocumentWindow(0);
    SendCommand("new ");
    WindowRef second = DocumentWindow(1);
    ASSERT_EQ(FrontWindow(), second);
    ComputeTable({"3", "50", 3, std::nullopt});
    EXPECT_EQ(TextAt(second, 140, 150), " 2.845");
    EXPECT_EQ(TextAt(first, 140, 150), "-");
    EXPECT_EQ(BIsDocumentDirty(first), 0);
    EXPECT_FALSE(IsWindowModified(first));
    SelectWindow(first);
    ComputeTable({"10", "50", 3, std::nullopt});
    EXPECT_EQ(TextAt(first, 140, 150), " 8.447");
    EXPECT_EQ(TextAt(second, 140, 150), " 2.845");
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 2);
}

TEST(TableWindow, MissingInterfaceFileIsReported)
{
    StartApplication();
    namespace fs = std::filesystem;
    const fs::path bundle = fs::path(TempFolder()) / "bundle";
    fs::copy(fs::path(QRL_SOURCE_DIR) / "resources", bundle, fs::copy_options::recursive);
    fs::remove(bundle / "tablewindow.ui");
    SetBundleRoot(bundle.string());
    TakeShownAlerts();
    bool opened = false;
    SetModalScript([&](WindowRef) { opened = true; });
    SendCommand("qorl");
    SetModalScript(nullptr);
    EXPECT_FALSE(opened);
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].message, "Could not load Resource");
    EXPECT_EQ(alerts[0].explanation, "Please reinstall Your Application");
    EXPECT_EQ(QRLIsTableWindow(), 0);
    EXPECT_FALSE(QRLIsDataValid(BGetCurrentDocsDataPtr()));
    EXPECT_EQ(FrontWindow(), DocumentWindow(0));
    // With the file back the command works again.
    SetBundleRoot("");
    ComputeTable({"3", "50", 3, std::nullopt});
    EXPECT_EQ(TextAt(DocumentWindow(0), 140, 150), " 2.845");
}
