// The focus bracketing plans live with the other formulas.
#include "tests/support/optics.h"
