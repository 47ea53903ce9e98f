// The character type the program runs with: UTF-8, whatever the environment.
#include "charactertype.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>

namespace
{

// The categories LC_ALL overrides besides LC_CTYPE.
const char *const kOtherCategories[] = {"LC_COLLATE",   "LC_MESSAGES",    "LC_MONETARY",      "LC_NUMERIC",
                                        "LC_TIME",      "LC_PAPER",       "LC_NAME",          "LC_ADDRESS",
                                        "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"};

// Whether the environment's LC_ALL, LC_CTYPE or LANG picks a UTF-8
// character type. The C library's own locale is left as the program got it.
bool environmentIsUTF8()
{
    const bool known = std::setlocale(LC_CTYPE, "") != nullptr;
    const bool utf8 = known && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    std::setlocale(LC_CTYPE, "C");
    return utf8;
}

} // namespace

void platform::chooseUTF8CharacterType()
{
    if (environmentIsUTF8())
        return;
    const char *all = std::getenv("LC_ALL");
    if (all && *all) {
        for (const char *category : kOtherCategories)
            setenv(category, all, 1);
        unsetenv("LC_ALL");
    }
    setenv("LC_CTYPE", "C.UTF-8", 1);
}
