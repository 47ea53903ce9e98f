// The character type (LC_CTYPE) the program runs with.
#pragma once

// When the environment's character type is not UTF-8 (LANG unset, as under
// cron, a service or a bare container, or a legacy 8-bit locale), chooses
// C.UTF-8 for it through the environment, so that Qt finds a UTF-8 locale
// when it starts and has nothing to warn about on standard error. The other
// locale categories stay as the user set them: a non-UTF-8 LC_ALL is handed
// on to each of them. Call it first in main(), before Qt starts.
namespace platform
{
void chooseUTF8CharacterType();
}
