#include "app_driver.h"

#include "app/main.h"
#include "app/tablewindow.h"
#include "platform/application.h"
#include "platform/internal.h"

#include <QtPrintSupport>
#include <QtWidgets>
#include <filesystem>
#include <gtest/gtest.h>

namespace qrltest
{

namespace
{

int argc = 1;
char programName[] = "quorlscope-test";
char *argv[] = {programName, nullptr};

// The application ends with the test program, before its exit handlers free what Qt's plugin holds.
class ApplicationEnd : public ::testing::Environment
{
  public:
    void TearDown() override { platform::shutDown(); }
};
const ::testing::Environment *const applicationEnd = ::testing::AddGlobalTestEnvironment(new ApplicationEnd);

} // namespace

void StartApplication(const std::string &locale)
{
    setenv("LANG", locale.c_str(), 1); // the language comes from LANG alone
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        unsetenv(variable);
    const std::string home = FreshFolder();
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    platform::initialize(argc, argv, platform::StartOptions{true});
    BInitApplication();
    platform::runEventLoop(); // headless: marks the loop running and returns
}

QAction *MenuItem(const std::string &name)
{
    const QStringList menus = {"appMenu", "fileMenu", "editMenu", "funcMenu", "helpMenu"};
    for (QWidget *widget : QApplication::allWidgets())
        for (QAction *action : qobject_cast<QMenu *>(widget) && menus.contains(widget->objectName())
                                   ? widget->actions()
                                   : QList<QAction *>())
            if (action->objectName() == QString::fromStdString("action" + name))
                return action;
    return nullptr;
}

bool Trigger(const std::string &name)
{
    if (!IsCommandEnabled(name))
        return false;
    // The signal itself, as QAction::trigger() sends it: a command that ends the process
    // throws through here, which Qt's frames, built without exceptions, would not unwind.
    emit MenuItem(name)->triggered(MenuItem(name)->isChecked());
    return true;
}

bool IsCommandEnabled(const std::string &name)
{
    for (QWidget *widget : QApplication::allWidgets())
        if (auto *menu = qobject_cast<QMenu *>(widget);
            menu && menu->objectName() == QLatin1String("fileMenu"))
            emit menu->aboutToShow(); // opening the menus brings every item up to date
    return MenuItem(name) && MenuItem(name)->isEnabled();
}

TableWindowState ComputeTable(const TableEntry &entry)
{
    Trigger("ComputeTable");
    QPointer<QDialog> window = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    auto *distance = Find<QLineEdit>(window, "distanceField");
    auto *focal = Find<QLineEdit>(window, "focalField");
    auto *camera = Find<QComboBox>(window, "unsharpField");
    auto *circle = Find<QLineEdit>(window, "unsharpCircleValueField");
    if (!distance || !focal || !camera || !circle) {
        ADD_FAILURE() << "no table parameters window";
        return {};
    }
    const TableWindowState state = {Find<QLabel>(window, "distanceStringField")->text().toStdString(),
                                    distance->text().toStdString(),
                                    focal->text().toStdString(),
                                    circle->text().toStdString(),
                                    camera->currentIndex() + 1,
                                    circle->isEnabled()};
    if (entry.distance)
        TypeInto(distance, *entry.distance);
    if (entry.focalLength)
        TypeInto(focal, *entry.focalLength);
    if (entry.cameraItem)
        ChooseItem(camera, *entry.cameraItem);
    if (entry.circle)
        TypeInto(circle, *entry.circle);
    if (entry.compute)
        Find<QPushButton>(window, "computeButton")->click();
    if (window && window->isVisible())
        window->reject(); // as its Cancel button does
    return state;
}

bool TypeInto(QLineEdit *field, const std::string &text)
{
    if (!field || !field->isEnabled())
        return false;
    field->selectAll();
    field->insert(QString::fromStdString(text));
    return true;
}

bool ChooseItem(QComboBox *popup, int item)
{
    if (!popup || !popup->isEnabled() || item < 1 || item > popup->count())
        return false;
    popup->setCurrentIndex(item - 1);
    emit popup->activated(item - 1);
    return true;
}

SheetLayout Contents(QWidget *window)
{
    const auto *document = dynamic_cast<DocumentWindow *>(window);
    return document ? document->sheet : SheetLayout();
}

std::optional<std::string> TextAt(QWidget *window, short x, short y)
{
    std::optional<std::string> found;
    for (const SheetItem &item : Contents(window))
        if (item.kind == SheetItem::Kind::text &&
            item.frame.topLeft() == BSheetBounds(window).topLeft() + QPoint(x, y))
            found = item.text.toStdString();
    return found;
}

DocumentWindow *DocumentAt(int index)
{
    return BGetDocumentWindowByIndex(std::int16_t(index));
}

std::vector<std::string> DocumentTitles()
{
    std::vector<std::string> titles;
    for (int i = 0; i < BGetNumberOfDocuments(); ++i)
        titles.push_back(DocumentAt(i)->windowTitle().remove(QStringLiteral("[*]")).toStdString());
    return titles;
}

std::vector<std::string> Alerts()
{
    std::vector<std::string> texts;
    for (const ShownAlert &alert : TakeShownAlerts())
        texts.insert(texts.end(), {alert.message, alert.explanation});
    return texts;
}

std::string CopySavedTable(const std::string &folder, const std::string &name)
{
    const std::string path = folder + "/" + name;
    std::filesystem::copy_file(QRL_SOURCE_DIR "/docs/portrait-50mm.qrtb", path);
    return path;
}

namespace
{

bool waitUntil(const std::function<bool()> &condition)
{
    for (QDeadlineTimer patience(5000); !condition() && !patience.hasExpired();)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

std::string text(QString label)
{
    return label.remove(QLatin1Char('&')).toStdString();
}

QFileDialog *saveDialog(const ShownDialog &shown)
{
    auto *files = qobject_cast<QFileDialog *>(shown.dialog);
    return files && files->isVisible() && files->acceptMode() == QFileDialog::AcceptSave ? files : nullptr;
}

template <typename Dialog> Dialog *Open(const char *command) // the dialog it opens, or the test fails
{
    Trigger(command);
    if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget()))
        return dialog;
    throw std::runtime_error(std::string(command) + " showed no dialog");
}

} // namespace

std::vector<ShownDialog> ShownDialogs()
{
    std::vector<ShownDialog> all;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *files = qobject_cast<QFileDialog *>(widget);
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (!widget->isVisible() || (!files && !(box && box->buttons().size() > 1)))
            continue; // a message box with one button is an alert, which the alert answerer takes
        ShownDialog shown;
        shown.dialog = static_cast<QDialog *>(widget);
        shown.parent = widget->windowModality() == Qt::WindowModal ? widget->parentWidget() : nullptr;
        if (files) {
            shown.saves = files->acceptMode() == QFileDialog::AcceptSave;
            shown.name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text().toStdString();
        } else {
            shown.text = box->text().toStdString();
            shown.detail = box->informativeText().toStdString();
            for (QAbstractButton *button : box->buttons())
                shown.buttons.insert(button == box->defaultButton() ? shown.buttons.begin()
                                                                    : shown.buttons.end(),
                                     text(button->text()));
        }
        all.push_back(shown);
    }
    return all;
}

ShownDialog OnlyDialog()
{
    waitUntil([] { return !ShownDialogs().empty(); });
    const std::vector<ShownDialog> shown = ShownDialogs();
    EXPECT_EQ(shown.size(), 1u);
    return shown.size() == 1 ? shown.front() : ShownDialog{};
}

bool NoDialogShown()
{
    return waitUntil([] { return ShownDialogs().empty(); });
}

bool ChooseSaveLocation(const ShownDialog &shown, const std::string &folder, const std::string &name)
{
    QFileDialog *files = saveDialog(shown);
    if (!files)
        return false;
    files->setDirectory(QString::fromStdString(folder));
    // A folder that is gone cannot be gone to: its path is typed in. A file there is replaced unasked.
    const bool there =
        files->directory().absolutePath() == QFileInfo(QString::fromStdString(folder)).absoluteFilePath();
    TypeInto(Find<QLineEdit>(files, "fileNameEdit"), (there ? "" : folder + '/') + name);
    files->setOption(QFileDialog::DontConfirmOverwrite);
    QPointer<QFileDialog> guarded(files);
    QMetaObject::invokeMethod(files, "accept", Qt::DirectConnection); // as its Save button does
    ThrowHeldExit();
    return !guarded || !guarded->isVisible();
}

bool ChooseFormat(const ShownDialog &shown, int format)
{
    QFileDialog *files = saveDialog(shown);
    auto *list = files ? files->findChild<QComboBox *>(QStringLiteral("fileTypeCombo")) : nullptr;
    if (!list || format < 0 || format >= list->count())
        return false;
    list->setCurrentIndex(format); // and what the list reports when the user picks an item
    emit list->activated(format);
    emit list->textActivated(list->itemText(format));
    return true;
}

bool Press(const ShownDialog &shown, const std::string &button)
{
    const QList<QAbstractButton *> buttons =
        shown.dialog ? shown.dialog->findChildren<QAbstractButton *>() : QList<QAbstractButton *>();
    for (QAbstractButton *candidate : buttons)
        if (candidate->isVisible() && candidate->isEnabled() && text(candidate->text()) == button) {
            candidate->click();
            ThrowHeldExit();
            return true;
        }
    return false;
}

void SetUpPage(const PageChoice &choice)
{
    auto *dialog = Open<QPageSetupDialog>("PageSetup");
    auto *units = Find<QComboBox>(dialog, "unitCombo"), *papers = Find<QComboBox>(dialog, "pageSizeCombo");
    ChooseItem(units, units->findData(QVariant::fromValue(QPageLayout::Point)) + 1); // margins in points
    for (int i = 0; i < papers->count(); ++i)
        if (qvariant_cast<QPageSize>(papers->itemData(i)).key().toStdString() == choice.paper)
            ChooseItem(papers, i + 1);
    Find<QRadioButton>(dialog, choice.landscape ? "landscape" : "portrait")->click();
    const char *const names[] = {"leftMargin", "topMargin", "rightMargin", "bottomMargin"};
    const double margins[] = {choice.left, choice.top, choice.right, choice.bottom};
    for (int i = 0; i < 4; ++i)
        Find<QDoubleSpinBox>(dialog, names[i])->setValue(margins[i]);
    dialog->done(QDialog::Accepted);
}

void PrintTo(const std::string &pdf)
{
    auto *dialog = Open<QPrintDialog>("Print");
    auto *printers = Find<QComboBox>(dialog, "printers");
    ChooseItem(printers, printers->count()); // Print to File (PDF)
    TypeInto(Find<QLineEdit>(dialog, "filename"), pdf);
    dialog->accept(); // as Print does once the dialog's own checks of the file have passed
}

} // namespace qrltest
