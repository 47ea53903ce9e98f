// Real file system conditions for tests that run as root: a folder made
// read-only by a read-only bind mount, or a tiny file system that fills up.
// The mounts live in a mount namespace of the test process's own, so they
// vanish with it and no other process sees them.
#pragma once

#include <string>

namespace qrltest
{

// Why mounting is impossible here (not root, no namespaces); empty when it
// works. Tests skip with this reason rather than pass without the condition.
std::string MountsUnavailable();
// Makes folder read-only in place; false on failure.
bool MountReadOnly(const std::string &folder);
// Makes folder one the test's user cannot write: without write bits, and as
// root, whom the bits do not stop, a read-only mount as well.
bool MakeUnwritable(const std::string &folder);
// Puts an empty file system of size bytes on folder; false on failure.
bool MountSmallDisk(const std::string &folder, long size);
// Fills the file system that holds folder with a file named name until it
// refuses more; returns the bytes written.
long FillDisk(const std::string &folder, const std::string &name);

} // namespace qrltest
