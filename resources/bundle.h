// The application bundle embedded in the program (see bundle.cpp).
#pragma once

// True when the resources under ":/bundle/" are linked into the program.
bool QRLBundleIsEmbedded();
