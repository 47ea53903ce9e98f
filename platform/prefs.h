// The program's preferences: one QSettings INI file, <config>/<name>/<name>.conf,
// <name> the last part of the bundle identifier. Values set stay in effect
// for the session even when the file cannot be written.
#pragma once

#include <QSettings>
#include <QString>
#include <cstdint>

// The unit new tables are computed in, as the record numbers it (1 metres, 2 feet).
constexpr const char *kDistanceUnitKey = "Distance Unit";
// The stored unit, read afresh: 2 only when exactly 2 is stored, else 1.
std::int32_t QRLReadDistanceUnit();

namespace platform
{

QSettings &preferences();
// After a failed sync, the system's reason ("Read-only file system").
QString preferencesWriteFailure();

} // namespace platform
