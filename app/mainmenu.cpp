// The menu bar: its items' commands, and their enabled state kept in step
// with the front window and the documents.
#include "app/mainmenu.h"

#include "app/bracketingwindow.h"
#include "app/tablewindow.h"
#include "app/windowmodule.h"
#include "document/document.h"
#include "files/appinfo.h"
#include "files/export.h"
#include "files/file.h"
#include "files/filedialogs.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/menus.h"
#include "platform/process.h"
#include "print/printing.h"
#include "ui_menubar.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <algorithm>
#include <functional>

namespace
{

using MenuForm = FormWindow<QMainWindow, Ui::MenuBar>;
MenuForm *menuForm = nullptr;

// The rows of the enabling table: what each kind of front window allows.
void setDocumentItems(const Ui::MenuBar &menus, bool close, tDocumentPtr document)
{
    const bool isDocument = document != nullptr;
    const bool room = BGetNumberOfDocuments() != kMaxNumberOfDocuments;
    const bool hasTable = isDocument && QRLIsDataValid(document->dataPtr);
    menus.actionNew->setEnabled(room);
    menus.actionOpen->setEnabled(room);
    menus.actionClose->setEnabled(close);
    menus.actionSave->setEnabled(isDocument && document->dirty && !document->fileLocked);
    menus.actionSaveAs->setEnabled(hasTable);
    menus.actionRevert->setEnabled(isDocument && document->dirty && !document->filePath.empty());
    menus.actionPageSetup->setEnabled(isDocument);
    menus.actionPrint->setEnabled(isDocument);
    menus.actionExport->setEnabled(isDocument);
    // Copy takes the table; other windows copy from their text fields.
    menus.actionCopy->setEnabled(hasTable);
    menus.actionComputeTable->setEnabled(isDocument);
}

// The bracketing window's row: what needs a plan waits for one.
void setPlanItems(const Ui::MenuBar &menus, bool hasPlan)
{
    for (QAction *item : {menus.actionPageSetup, menus.actionPrint, menus.actionExport, menus.actionCopy})
        item->setEnabled(hasPlan);
}

tDocumentPtr frontDocument()
{
    return BGetDocumentWindowsDocPtr(platform::frontWindow());
}

void newDocument()
{
    if (tDocumentPtr document = BInitDocument())
        BGetDocumentsWindowPtr(document)->show();
}

void closeFrontWindow()
{
    if (QWidget *window = platform::frontWindow())
        window->close(); // as its close box would
}

// The editing items act on the text field that has the focus.
template <typename Edit> std::function<void()> onFocusedField(Edit edit)
{
    return [edit]() {
        if (auto *field = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
            (field->*edit)();
    };
}

// The front bracketing window's plan, when it has one.
bool frontPlan(tBracketingArguments *arguments, tBracketingPlan *plan)
{
    return QRLBracketingPlanOf(platform::frontWindow(), arguments, plan);
}

void exportFront()
{
    tBracketingArguments arguments;
    tBracketingPlan plan;
    if (frontPlan(&arguments, &plan))
        BDoCreatePlanExportPanel(platform::frontWindow(), arguments, plan);
    else
        BDoCreateExportPanel(frontDocument());
}

// A document window copies its table, the bracketing window its shots,
// others the focused field's selection.
void copy()
{
    tBracketingArguments arguments;
    tBracketingPlan plan;
    if (tDocumentPtr document = frontDocument())
        QRLCopyTable(document);
    else if (frontPlan(&arguments, &plan))
        QRLCopyPlan(arguments, plan);
    else
        onFocusedField (&QLineEdit::copy)();
}

} // namespace

void BHandleQuitApplication()
{
    if (BGetNumberOfDirtyDocuments() <= 0)
        platform::exitProcess();
    if (BGetNumberOfDirtyDocuments() <= 1)
        BDoQuitApp();
    else
        BDoCreateReviewPanel();
}

bool BIsAuxiliaryWindow(QWidget *window)
{
    return std::find(auxiliaryWindows.begin(), auxiliaryWindows.end(), window) != auxiliaryWindows.end();
}

void QRLInitMainMenu()
{
    menuForm = new MenuForm;
    const Ui::MenuBar &menus = menuForm->ui;
    const std::pair<QAction *, std::function<void()>> commands[] = {
        {menus.actionAbout, BAboutBoxCommandHandler},
        {menus.actionPreferences, BPreferencesCommandHandler},
        {menus.actionQuit, BHandleQuitApplication},
        {menus.actionNew, newDocument},
        {menus.actionOpen, BDoCreateOpenPanel},
        {menus.actionClose, closeFrontWindow},
        {menus.actionSave, [] { BDoSaveDocument(frontDocument()); }},
        {menus.actionSaveAs, [] { BDoCreateSavePanel(frontDocument()); }},
        {menus.actionRevert, [] { BDoCreateRevertPanel(frontDocument()); }},
        {menus.actionPageSetup, [] { BDoPageSetup(platform::frontWindow()); }},
        {menus.actionPrint, [] { BDoPrint(platform::frontWindow()); }},
        {menus.actionExport, exportFront},
        {menus.actionUndo, onFocusedField(&QLineEdit::undo)},
        {menus.actionCut, onFocusedField(&QLineEdit::cut)},
        {menus.actionCopy, copy},
        {menus.actionPaste, onFocusedField(&QLineEdit::paste)},
        {menus.actionDelete, onFocusedField(&QLineEdit::del)},
        {menus.actionSelectAll, onFocusedField(&QLineEdit::selectAll)},
        {menus.actionComputeTable, [] { QRLComputeTableCommandHandler(platform::frontWindow()); }},
        {menus.actionFocusBracketing, QRLBracketingCommandHandler},
        {menus.actionFacts, QRLDepthFactsCommandHandler},
        {menus.actionHelp, BHelpCommandHandler},
    };
    for (const auto &[action, command] : commands)
        QObject::connect(action, &QAction::triggered, action, command);
    platform::installMenuBar(menuForm, menus.menuBar, QRLAdjustMenus);
}

void QRLAdjustMenus()
{
    if (!menuForm)
        return;
    const Ui::MenuBar &menus = menuForm->ui;
    QWidget *front = platform::frontWindow();
    tBracketingArguments arguments;
    tBracketingPlan plan;
    if (BIsAuxiliaryWindow(front) || BIsDocumentWindow(front)) {
        setDocumentItems(menus, true, BGetDocumentWindowsDocPtr(front));
        if (QRLIsBracketingWindow(front))
            setPlanItems(menus, QRLBracketingPlanOf(front, &arguments, &plan));
    } else if (!front || platform::isSheet(front))
        setDocumentItems(menus, false, nullptr);
    else
        // The table parameters window leaves the items, but Copy copies its fields.
        menus.actionCopy->setEnabled(true);
}
