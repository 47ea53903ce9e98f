// The command line's start: the character type, and a core application.
#pragma once

namespace platform
{
// Chooses C.UTF-8 through the environment when its character type is not
// UTF-8, so that Qt warns of nothing; call first in main().
void chooseUTF8CharacterType();
// Creates the core application object with no arguments but the program's
// name (which must outlive it).
void startCoreApplication(const char *programName);
} // namespace platform
