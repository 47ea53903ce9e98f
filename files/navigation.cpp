// The file dialogs of normal work: Open, Save, save changes on closing and
// discard changes on reverting. Each dialog is created with this
// application's options, and its callback finishes the work.
#include "files/navigation.h"

#include "document/mainwindow.h"
#include "files/file.h"
#include "platform/process.h"

#include <cctype>

const char *const kNavClientName = "Quorlscope";

namespace
{

NavDialogRef AppNavOpenDialog = nullptr;
NavEventUPP EventProc = nullptr;
NavObjectFilterUPP ModernFilterProc = nullptr;

bool endsWithExtension(const std::string &name, const std::string &extension)
{
    if (name.size() <= extension.size() + 1 || name[name.size() - extension.size() - 1] != '.')
        return false;
    for (std::size_t i = 0; i < extension.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[name.size() - extension.size() + i]);
        if (std::tolower(c) != std::tolower(static_cast<unsigned char>(extension[i])))
            return false;
    }
    return true;
}

void openChosenItems(const NavReplyRecord &reply)
{
    const long count = long(reply.selection.size());
    for (long index = 1; index <= count; ++index) {
        const AEDesc &item = reply.selection[std::size_t(index - 1)];
        FSSpec fileSpec;
        if (BGetFSSpecInfo(&item, &fileSpec) != noErr)
            continue;
        FInfo info;
        if (FSpGetFInfo(&fileSpec, &info) == noErr && info.fdType == kDocumentFileType)
            BDoOpenFile(fileSpec.path());
    }
}

} // namespace

void BInitNavigation()
{
    EventProc = BNavEventProc;
    ModernFilterProc = BNavFilterProc;
}

std::string BProposedFileName(const std::string &windowTitle)
{
    std::string name = windowTitle;
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    const std::string extension = FSGetTypeExtension(kDocumentFileType);
    if (name.empty() || endsWithExtension(name, extension))
        return name;
    return name + "." + extension;
}

NavDialogCreationOptions BGetDocumentDialogOptions(tDocumentPtr theDocumentPtr,
                                                   const std::string &saveFileName)
{
    NavDialogCreationOptions options;
    options.clientName = kNavClientName;
    options.saveFileName = saveFileName;
    options.modality = kWindowModalityWindowModal;
    options.parentWindow = theDocumentPtr->theWindow;
    return options;
}

void BRunNavDialog(OSStatus createStatus, NavDialogRef *dialog)
{
    if (createStatus != noErr || !*dialog)
        return;
    if (NavDialogRun(*dialog) != noErr) {
        NavDialogDispose(*dialog);
        *dialog = nullptr;
    }
}

void BDoCreateOpenPanel()
{
    if (AppNavOpenDialog)
        return; // the Open dialog is up already
    NavDialogCreationOptions options;
    options.clientName = kNavClientName;
    options.optionFlags &= ~kNavAllowMultipleFiles;
    OSStatus err = NavCreateGetFileDialog(&options, EventProc, ModernFilterProc, nullptr, &AppNavOpenDialog);
    BRunNavDialog(err, &AppNavOpenDialog);
}

void BCreateDocumentSaveDialog(tDocumentPtr theDocumentPtr, NavEventUPP eventProc, NavDialogRef *dialog)
{
    if (!theDocumentPtr || *dialog)
        return;
    const NavDialogCreationOptions options =
        BGetDocumentDialogOptions(theDocumentPtr, BProposedFileName(GetWTitle(theDocumentPtr->theWindow)));
    OSStatus err = NavCreatePutFileDialog(&options, kDocumentFileType, eventProc, theDocumentPtr, dialog);
    BRunNavDialog(err, dialog);
}

void BCreateSaveChangesDialog(tDocumentPtr theDocumentPtr, NavAskSaveChangesAction action,
                              NavEventUPP eventProc, NavDialogRef *dialog)
{
    if (!theDocumentPtr || *dialog)
        return;
    const NavDialogCreationOptions options =
        BGetDocumentDialogOptions(theDocumentPtr, GetWTitle(theDocumentPtr->theWindow));
    OSStatus err = NavCreateAskSaveChangesDialog(&options, action, eventProc, theDocumentPtr, dialog);
    BRunNavDialog(err, dialog);
}

void BDoCreateSavePanel(tDocumentPtr theDocumentPtr)
{
    if (theDocumentPtr)
        BCreateDocumentSaveDialog(theDocumentPtr, EventProc, &theDocumentPtr->fNavigationSaveDialog);
}

void BDoCreateConfirmPanel(tDocumentPtr theDocumentPtr)
{
    if (theDocumentPtr)
        BCreateSaveChangesDialog(theDocumentPtr, kNavSaveChangesClosingDocument, BNavConfirmEventProc,
                                 &theDocumentPtr->fNavigationConfirmDialog);
}

void BDoCreateRevertPanel(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr || theDocumentPtr->fNavigationConfirmDialog)
        return;
    const NavDialogCreationOptions options =
        BGetDocumentDialogOptions(theDocumentPtr, GetWTitle(theDocumentPtr->theWindow));
    OSStatus err = NavCreateAskDiscardChangesDialog(&options, BNavRevertEventProc, theDocumentPtr,
                                                    &theDocumentPtr->fNavigationConfirmDialog);
    BRunNavDialog(err, &theDocumentPtr->fNavigationConfirmDialog);
}

void BNavEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms, void *callBackUD)
{
    auto document = static_cast<tDocumentPtr>(callBackUD);
    if (callBackSelector == kNavCBUserAction) {
        NavReplyRecord reply;
        if (NavDialogGetReply(callBackParms->context, &reply) != noErr)
            return;
        switch (NavDialogGetUserAction(callBackParms->context)) {
        case kNavUserActionOpen:
            if (AppNavOpenDialog)
                openChosenItems(reply);
            break;
        case kNavUserActionSaveAs:
            if (document)
                BDoSaveCopy(document);
            break;
        case kNavUserActionNewFolder:
            break;
        default:
            if (document)
                document->isClosing = false;
            break;
        }
    } else if (callBackSelector == kNavCBTerminate) {
        if (document) {
            if (document->fNavigationSaveDialog)
                NavDialogDispose(document->fNavigationSaveDialog);
            document->isClosing = false;
            document->fNavigationSaveDialog = nullptr;
        } else {
            if (AppNavOpenDialog)
                NavDialogDispose(AppNavOpenDialog);
            AppNavOpenDialog = nullptr;
        }
    }
}

Boolean BNavFilterProc(const AEDesc *item, const NavFileOrFolderInfo *info, void *)
{
    if (!info || info->isFolder)
        return true;
    // A save's temporary carries the table's type before its rename; it is
    // never a document of its own.
    if (item && item->path.substr(item->path.rfind('/') + 1).rfind(AtomicSave::temporaryPrefix(), 0) == 0)
        return false;
    return info->finderInfo.fdType == kDocumentFileType;
}

void BNavConfirmEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms,
                          void *callBackUD)
{
    auto document = static_cast<tDocumentPtr>(callBackUD);
    if (callBackSelector != kNavCBTerminate || !document)
        return;
    document->isClosing = true;
    if (!document->fNavigationConfirmDialog)
        return;
    const NavUserAction action = callBackParms->userAction;
    if (action != kNavUserActionSaveChanges && action != kNavUserActionDontSaveChanges)
        document->isClosing = false;
    NavDialogDispose(document->fNavigationConfirmDialog);
    document->fNavigationConfirmDialog = nullptr;
    if (action == kNavUserActionSaveChanges)
        BDoSaveDocument(document);
    else if (action == kNavUserActionDontSaveChanges)
        BCloseDocument(document->theWindow);
}

void BNavRevertEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms,
                         void *callBackUD)
{
    if (callBackSelector != kNavCBTerminate)
        return;
    auto document = static_cast<tDocumentPtr>(callBackUD);
    if (!document)
        return;
    if (callBackParms->userAction == kNavUserActionDiscardChanges && !BReadFile(document).failed()) {
        BSetCurrentDocListIndexFromWindowRef(document->theWindow);
        BDrawDocsWindowData(1);
        BSetDocumentDirtyShown(document, 0);
    }
    if (document->fNavigationConfirmDialog)
        NavDialogDispose(document->fNavigationConfirmDialog);
    document->fNavigationConfirmDialog = nullptr;
}
