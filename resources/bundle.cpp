// The bundle library holds only resources: the interface files, icons, the
// sheet picture, the strings table, the information keys and the help page,
// embedded under ":/bundle/". A static library needs one source of its own;
// this one gives the program a way to ask whether the bundle is linked in.
#include "resources/bundle.h"

bool QRLBundleIsEmbedded()
{
    return true;
}
