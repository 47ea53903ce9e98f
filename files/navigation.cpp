#include "files/navigation.h"

const char *const kNavClientName = "Quorlscope";

void BInitNavigation() {}
NavEventUPP BGetTerminateEventProc()
{
    return nullptr;
}
void BDoCreateOpenPanel() {}
void BDoCreateSavePanel(tDocumentPtr) {}
void BDoCreateConfirmPanel(tDocumentPtr) {}
void BDoCreateRevertPanel(tDocumentPtr) {}
void BNavEventProc(NavEventCallbackMessage, NavCBRecPtr, void *) {}
Boolean BNavFilterProc(const AEDesc *, const NavFileOrFolderInfo *, void *, NavFilterModes)
{
    return true;
}
void BNavConfirmEventProc(NavEventCallbackMessage, NavCBRecPtr, void *) {}
void BNavRevertEventProc(NavEventCallbackMessage, NavCBRecPtr, void *) {}
std::string BProposedFileName(const std::string &windowTitle)
{
    return windowTitle;
}
