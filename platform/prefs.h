// The current application's per-user preferences.
#pragma once

#include "types.h"

#include <optional>
#include <string>

// A stored value; numbers are kept as their decimal text.
struct CFPropertyList {
    std::string text;
};

std::optional<CFPropertyList> CFPreferencesCopyAppValue(const std::string &key);
// Converts a stored value to a 32-bit integer; false unless it is one exactly.
Boolean CFNumberGetValue(const CFPropertyList &value, std::int32_t *outValue);
CFPropertyList CFNumberCreate(std::int32_t value);
void CFPreferencesSetAppValue(const std::string &key, const std::optional<CFPropertyList> &value);
// Writes the values out; false when the file could not be written (the
// values set stay in effect until the process ends).
Boolean CFPreferencesAppSynchronize();
// After a failed synchronize: why the file cannot be written, as the system
// says it ("Read-only file system").
std::string CFPreferencesCopyWriteFailureReason();
// Where the preferences live (a file), for the README and tests.
std::string GetPreferencesFilePath();
