// The table parameters window as a user works it: what it shows on opening,
// the camera pop-up and the circle field, compute and cancel, every bound of
// the range check, how typed text reads, and the keyboard.
#include "app/tablewindow.h"
#include "document/document.h"
#include "expected.h"
#include "platform/internal.h"
#include "platform/prefs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <tuple>

using namespace qrltest;

namespace
{

const char *const kArgumentsMessage = "Please Check Your Arguments!";
const char *const kArgumentsExplanation = "The focal length should be in the range of 4..1000 mm,\n"
                                          "the distance from two times of focal length to 1000 m,\n"
                                          "and the circle of confusion in the range of 1..1000 \u00b5m.";

// The window's fields, by the names its form gives them.
QLineEdit *DistanceField(QWidget *window)
{
    return Find<QLineEdit>(window, "distanceField");
}
QLineEdit *FocalField(QWidget *window)
{
    return Find<QLineEdit>(window, "focalField");
}
QComboBox *CameraPopup(QWidget *window)
{
    return Find<QComboBox>(window, "unsharpField");
}
QLineEdit *CircleField(QWidget *window)
{
    return Find<QLineEdit>(window, "unsharpCircleValueField");
}
QPushButton *Button(QWidget *window, const char *name)
{
    return Find<QPushButton>(window, name);
}

// What the user types and chooses.
struct Entries {
    std::string distance, focalLength, circle = "10";
    int cameraItem = 2;
};

// Types the entries and presses Compute. In range (distanceShown given) the
// window ends and the sheet shows the distance; refused, the alert comes and
// the window stays open with the entries as typed, nothing computed.
void PressCompute(const Entries &e, const char *distanceShown)
{
    SCOPED_TRACE("distance '" + e.distance + "', focal length '" + e.focalLength + "'");
    TakeShownAlerts();
    bool ran = false;
    RunTableWindow([&](QWidget *window) {
        ran = true;
        TypeInto(DistanceField(window), e.distance);
        TypeInto(FocalField(window), e.focalLength);
        ChooseItem(CameraPopup(window), e.cameraItem);
        TypeInto(CircleField(window), e.circle);
        ASSERT_TRUE(Click(Button(window, "computeButton")));
        const std::vector<ShownAlert> alerts = TakeShownAlerts();
        if (distanceShown) {
            EXPECT_TRUE(alerts.empty());
            EXPECT_EQ(QRLIsTableWindow(), 0); // computed: the window ended
            return;
        }
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(std::tie(alerts[0].icon, alerts[0].message, alerts[0].explanation, alerts[0].modality),
                  std::make_tuple(QMessageBox::Information, kArgumentsMessage, kArgumentsExplanation,
                                  Qt::ApplicationModal));
        EXPECT_TRUE(window->isVisible()); // refused: the window stays open
        EXPECT_EQ(QRLIsTableWindow(), 1);
        EXPECT_EQ(std::make_tuple(
                      DistanceField(window)->text().toStdString(), FocalField(window)->text().toStdString(),
                      CameraPopup(window)->currentIndex() + 1, CircleField(window)->text().toStdString()),
                  std::tie(e.distance, e.focalLength, e.cameraItem, e.circle));
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(QRLIsDataValid(BGetCurrentDocsDataPtr()), distanceShown != nullptr);
    if (distanceShown) {
        EXPECT_EQ(TextAt(DocumentAt(0), 308, 20), distanceShown);
    } else {
        EXPECT_EQ(BGetNumberOfDirtyDocuments(), 0);
        EXPECT_EQ(TextAt(DocumentAt(0), 140, 150), "-");
    }
}

TableWindowState Opening()
{
    return ComputeTable(TableEntry{std::nullopt, std::nullopt, std::nullopt, std::nullopt, false});
}

void ExpectOpening(const TableWindowState &shown, std::string distance, std::string focal, int item,
                   std::string circle, bool circleEnabled)
{
    EXPECT_EQ(
        std::tie(shown.distance, shown.focalLength, shown.cameraItem, shown.circle, shown.circleEnabled),
        std::tie(distance, focal, item, circle, circleEnabled));
}

} // namespace

// The label follows the stored preference, or the one chosen in the
// preferences window.
TEST(TableWindow, FirstOpeningAndTheDistanceLabel)
{
    StartApplication();
    const TableWindowState shown = Opening();
    EXPECT_EQ(shown.distanceLabel, "distance in m: ");
    ExpectOpening(shown, "5.000", "35", 2, "10.0", true);
    EXPECT_EQ(QRLIsTableWindow(), 0);
    const std::pair<std::int32_t, const char *> cases[] = {
        {2, "distance in ft: "}, {1, "distance in m: "}, {0, "distance in m: "}, {3, "distance in m: "}};
    for (const auto &[unit, label] : cases) {
        platform::preferences().setValue("Distance Unit", unit);
        EXPECT_EQ(Opening().distanceLabel, label) << "case unit " << unit;
    }
    expected::ChooseDistanceUnit(2);
    EXPECT_EQ(Opening().distanceLabel, "distance in ft: ");
}

// The form's widgets by name, the pop-up's four items and the circle field enabled for
// the digital formats at once, focus, tab order and the default button.
TEST(TableWindow, Controls)
{
    StartApplication();
    bool ran = false;
    RunTableWindow([&](QWidget *window) {
        ran = true;
        EXPECT_EQ(std::make_tuple(window->objectName(), QRLIsTableWindow(), Front()),
                  std::make_tuple(QStringLiteral("Window"), 1, window));
        EXPECT_NE(Find<QLabel>(window, "distanceStringField"), nullptr);
        QLineEdit *distance = DistanceField(window);
        ASSERT_NE(distance, nullptr);
        EXPECT_EQ(window->focusWidget(), distance);
        EXPECT_FALSE(distance->text().isEmpty());
        EXPECT_EQ(distance->selectedText(), distance->text());
        QPushButton *compute = Button(window, "computeButton");
        QPushButton *cancel = Button(window, "cancelButton");
        const std::vector<QWidget *> expectedChain = {
            distance, FocalField(window), CameraPopup(window), CircleField(window), compute, cancel};
        EXPECT_EQ(TabChain(window), expectedChain);
        for (QWidget *widget : expectedChain)
            EXPECT_NE(widget, nullptr);
        ASSERT_TRUE(compute && cancel);
        EXPECT_TRUE(compute->isDefault() && !cancel->isDefault());

        QComboBox *popup = CameraPopup(window);
        EXPECT_FALSE(ChooseItem(popup, 5));
        const std::pair<int, bool> steps[] = {{3, false}, {1, true},  {4, false},
                                              {2, true},  {4, false}, {3, false}};
        for (const auto &[item, enabled] : steps) {
            ASSERT_TRUE(ChooseItem(popup, item));
            EXPECT_EQ(CircleField(window)->isEnabled(), enabled) << "item " << item;
        }
        Click(cancel);
    });
    EXPECT_TRUE(ran);
}

TEST(TableWindow, RemembersTheLastArguments)
{
    StartApplication();
    ComputeTable({"3", "50", 3, std::nullopt});
    ExpectOpening(ComputeTable({"4", "80", 4, std::nullopt}), "3.000", "50", 3, "33.0", false);
    ExpectOpening(ComputeTable({"2.5", "24", 1, "19"}), "4.000", "80", 4, "100.0", false);
    ExpectOpening(Opening(), "2.500", "24", 1, "19.0", true);
    // A circle typed while the field was enabled and then left for film is ignored.
    ComputeTable({"3", "50", 1, "500"});
    EXPECT_EQ(ComputeTable({std::nullopt, std::nullopt, 3, std::nullopt}).circle, "500.0");
    EXPECT_EQ(TextAt(DocumentAt(0), 175, 45), "  33.0");
    EXPECT_EQ(Opening().circle, "33.0");
    ComputeTable({"7", "85", 2, "25"}); // and across documents
    Trigger("New");
    ASSERT_EQ(platform::frontWindow(), DocumentAt(1));
    ExpectOpening(Opening(), "7.000", "85", 2, "25.0", true);
}

// Cancel (the button, or Escape) after editing changes nothing; Return
// computes; after a compute, a cancelled edit keeps the computed table.
TEST(TableWindow, CancelEscapeAndReturn)
{
    StartApplication();
    QWidget *document = DocumentAt(0);
    ExpectOpening(ComputeTable({"12", "200", 4, "99", false}), "5.000", "35", 2, "10.0", true);
    RunTableWindow([](QWidget *window) {
        TypeInto(DistanceField(window), "8");
        QTest::keyClick(DistanceField(window), Qt::Key_Escape);
        EXPECT_EQ(QRLIsTableWindow(), 0);
    });
    // The close box cancels too: a hidden window would leave its loop running.
    RunTableWindow([](QWidget *window) {
        TypeInto(DistanceField(window), "8");
        QCloseEvent close;
        QApplication::sendEvent(DistanceField(window)->window(), &close);
        EXPECT_EQ(QRLIsTableWindow(), 0);
    });
    EXPECT_FALSE(QRLIsDataValid(BGetCurrentDocsDataPtr()));
    EXPECT_EQ(std::make_tuple(BIsDocumentDirty(document), BGetNumberOfDirtyDocuments(),
                              document->isWindowModified()),
              std::make_tuple(0, 0, false));
    EXPECT_EQ(std::make_tuple(TextAt(document, 140, 150), TextAt(document, 150, 20)),
              std::make_tuple("-", "-"));
    ExpectOpening(Opening(), "5.000", "35", 2, "10.0", true);

    RunTableWindow([](QWidget *window) {
        TypeInto(DistanceField(window), "3");
        TypeInto(FocalField(window), "50");
        ChooseItem(CameraPopup(window), 3);
        QTest::keyClick(FocalField(window), Qt::Key_Return);
        EXPECT_EQ(QRLIsTableWindow(), 0);
    });
    EXPECT_EQ(TextAt(document, 140, 150), " 2.845");
    ComputeTable({"9", "100", 1, "5", false});
    EXPECT_EQ(std::make_tuple(TextAt(document, 308, 20), TextAt(document, 140, 20)),
              std::make_tuple(" 3.000", "    50"));
    ExpectOpening(Opening(), "3.000", "50", 3, "33.0", false);
}

TEST(TableWindow, EditMenuWorksInTheFields)
{
    StartApplication();
    RunTableWindow([](QWidget *window) {
        QWidget *dialog = window;
        dialog->activateWindow();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::activeWindow(), dialog);
        QLineEdit *distance = DistanceField(window);
        QLineEdit *focal = FocalField(window);
        TypeInto(distance, "12.5");
        Trigger("SelectAll");
        EXPECT_EQ(distance->selectedText(), QStringLiteral("12.5"));
        Trigger("Copy");
        QTest::keyClick(distance, Qt::Key_Tab); // into the focal length, its text selected
        ASSERT_EQ(QApplication::focusWidget(), focal);
        Trigger("Paste");
        EXPECT_EQ(focal->text(), QStringLiteral("12.5"));
        Trigger("Undo");
        EXPECT_EQ(focal->text(), QStringLiteral("35"));
        QTest::keyClick(focal, Qt::Key_Backtab);
        ASSERT_EQ(QApplication::focusWidget(), distance);
        Trigger("Cut");
        EXPECT_EQ(distance->text(), QString());
        Click(Button(window, "cancelButton"));
    });
}

// Every bound of the range check in metres and feet (twice 35 mm is
// 0.2297 ft: the bound is converted, not taken as metres); text that is no
// finite number reads as 0.0; the leading number with a point is read.
TEST(TableWindow, BoundsAndFieldReading)
{
    struct Case {
        bool feet;
        std::string distance, focalLength;
        const char *distanceShown; // nullptr: refused
        const char *focalShown = nullptr;
    };
    // Refused ones first: they must leave the empty document as it is.
    // clang-format off
    std::vector<Case> cases = {
        {false, "5", "3.99", nullptr},    {false, "5", "3", nullptr},        {false, "5", "1001", nullptr},
        {false, "5", "1000.5", nullptr},  {false, "5", "0", nullptr},        {false, "5", "-50", nullptr},
        {false, "1000.5", "50", nullptr}, {false, "1000.001", "50", nullptr}, {false, "0.05", "35", nullptr},
        {false, "0.0699", "35", nullptr}, {false, "0.0999", "50", nullptr},   {false, "1.999", "1000", nullptr},
        {false, "-3", "50", nullptr},
        {true, "0.1", "35", nullptr},     {true, "0.2296", "35", nullptr},    {true, "6.561", "1000", nullptr},
        {true, "1000.5", "50", nullptr}};
    for (const char *text : {"abc", "", " ", "nan", "NaN", "inf", "-inf", "infinity", "0x10", "x5", ".", "-",
                             ",", "1e3", "50mm", "6.25m", "1,5,0", "1.000,5", "1 000", "5..0", "--5", "1,5 m"}) {
        cases.push_back({false, text, "50", nullptr});
        cases.push_back({false, "5", text, nullptr});
    }
    cases.insert(cases.end(), {
        {false, "5", "4", " 5.000"},       {false, "5", "1000", " 5.000"},     {false, "1000", "50", "1000.000"},
        {false, "0.07", "35", " 0.070"},   {false, "0.1", "50", " 0.100"},     {false, "2", "1000", " 2.000"},
        {false, "5,5", "50", " 5.500"},    {false, "  7.5 ", "50", " 7.500"},  {false, ",5", "50", " 0.500"},
        {false, "6.", "49,6", " 6.000", "    50"}, {false, "+8", " 35", " 8.000", "    35"},
        {false, "1,5", "50,4", " 1.500", "    50"},
        {true, "0.2297", "35", " 0.230"},  {true, "6.562", "1000", " 6.562"}, {true, "1000", "50", "1000.000"}});
    // clang-format on
    StartApplication();
    for (const Case &c : cases) {
        platform::preferences().setValue("Distance Unit", c.feet ? 2 : 1);
        PressCompute({c.distance, c.focalLength}, c.distanceShown);
        if (c.distanceShown) {
            EXPECT_EQ(QRLGetDistanceUnit(BGetCurrentDocsDataPtr()), c.feet ? 2 : 1);
        }
        if (c.focalShown) {
            EXPECT_EQ(TextAt(DocumentAt(0), 140, 20), c.focalShown);
        }
    }
}

// The circle typed for the digital formats must be a number of 1 to 1000
// micrometres; the film formats' circles are fixed, whatever the field holds.
TEST(TableWindow, CircleOutsideItsRangeIsRefused)
{
    StartApplication();
    for (int item : {1, 2})
        for (const char *text : {"0", "nan", "inf", "", "-5", "1e308", "0.99", "1000.01", "abc", "0,5"}) {
            SCOPED_TRACE(std::string("circle '") + text + "', item " + std::to_string(item));
            PressCompute({"3", "50", text, item}, nullptr);
        }
    PressCompute({"3", "50", "1", 1}, " 3.000");
    EXPECT_EQ(TextAt(DocumentAt(0), 175, 45), "   1.0");
    PressCompute({"3", "50", "1000", 2}, " 3.000");
    EXPECT_EQ(TextAt(DocumentAt(0), 175, 45), "1000.0");
    PressCompute({"3", "50", "12,5", 2}, " 3.000");
    EXPECT_EQ(TextAt(DocumentAt(0), 175, 45), "  12.5");
    PressCompute({"4", "50", "0", 3}, " 4.000");
    EXPECT_EQ(TextAt(DocumentAt(0), 175, 45), "  33.0");
    PressCompute({"5", "50", "nan", 4}, " 5.000");
    EXPECT_EQ(TextAt(DocumentAt(0), 175, 45), " 100.0");
}

TEST(TableWindow, CommaLocaleStillReadsAndWritesPoints)
{
    StartApplication();
    if (!UseCommaLocale())
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    PressCompute({"5,5", "50"}, " 5.500");
    PressCompute({"3.5", "50", "12.5"}, " 3.500");
    EXPECT_EQ(TextAt(DocumentAt(0), 175, 45), "  12.5");
    // The window shows the remembered values as it reads them, so computing
    // again without an edit keeps them.
    ExpectOpening(Opening(), "3.500", "50", 2, "12.5", true);
    ComputeTable({std::nullopt, std::nullopt, std::nullopt, std::nullopt});
    EXPECT_EQ(TextAt(DocumentAt(0), 308, 20), " 3.500");
    EXPECT_EQ(TextAt(DocumentAt(0), 175, 45), "  12.5");
    std::setlocale(LC_ALL, "C");
}

// A compute goes into the front document and marks it; computing again
// keeps one dirty document.
TEST(TableWindow, ComputeMarksTheFrontDocument)
{
    StartApplication();
    QWidget *first = DocumentAt(0);
    ComputeTable({"3", "50", 3, std::nullopt});
    EXPECT_EQ(std::make_tuple(QRLIsTableWindow(), BIsDocumentDirty(first), first->isWindowModified(),
                              platform::frontWindow()),
              std::make_tuple(0, 1, true, first));
    EXPECT_EQ(platform::windowTitleOf(first), "Untitled ");
    EXPECT_EQ(TextAt(first, 140, 150), " 2.845");
    ComputeTable({"10", "50", 3, std::nullopt});
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 1);
    EXPECT_EQ(TextAt(first, 140, 150), " 8.447");
    const tDataPtr data = BGetCurrentDocsDataPtr();
    EXPECT_EQ(std::make_tuple(QRLGetCameraType(data), QRLGetDistanceUnit(data)),
              std::make_tuple(thirtyFive, 1));
    EXPECT_DOUBLE_EQ(QRLGetUnsharpCircleinMicroMeter(data), 33.0);

    Trigger("New");
    QWidget *second = DocumentAt(1);
    ASSERT_EQ(platform::frontWindow(), second);
    ComputeTable({"3", "50", 3, std::nullopt});
    EXPECT_EQ(std::make_tuple(TextAt(second, 140, 150), TextAt(first, 140, 150)),
              std::make_tuple(" 2.845", " 8.447"));
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 2);
    platform::selectWindow(first);
    ComputeTable({"5", "50", 2, "30"});
    EXPECT_EQ(std::make_tuple(TextAt(first, 140, 150), TextAt(second, 140, 150)),
              std::make_tuple(" 4.616", " 2.845"));
}
