// Real file-system conditions for tests that run as root. The mounts live
// in a mount namespace of the test process's own, so they vanish with it
// and no other process sees them.
#pragma once

#include <string>

namespace qrltest
{

// Why mounting is impossible here (not root, no namespaces); empty when it works.
std::string MountsUnavailable();
// Makes folder read-only in place; false on failure.
bool MountReadOnly(const std::string &folder);
// Makes folder one the test's user cannot write: without write bits, and as
// root, whom the bits do not stop, a read-only mount as well.
bool MakeUnwritable(const std::string &folder);

} // namespace qrltest
