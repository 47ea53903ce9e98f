#include "files/file.h"

void BEncodeData(const tData *, std::uint8_t *) {}
void BDecodeData(const std::uint8_t *, long, tData *) {}
OSErr BReadFile(tDocumentPtr)
{
    return noErr;
}
OSErr BWriteFile(tDocumentPtr)
{
    return noErr;
}
OSErr BWriteNewFile(tDocumentPtr, const FSSpec *)
{
    return noErr;
}
OSStatus BDoFSRefSave(tDocumentPtr, NavReplyRecord *)
{
    return noErr;
}
OSStatus BDoSaveCopy(tDocumentPtr)
{
    return noErr;
}
OSStatus BDoTerminateSaveCopy(tDocumentPtr)
{
    return noErr;
}
OSStatus BDoOpenFile(const FSSpec *)
{
    return noErr;
}
OSErr BDoSaveDocument(tDocumentPtr)
{
    return noErr;
}
OSStatus BGetFSSpecInfo(const AEDesc *, FSSpec *)
{
    return noErr;
}
