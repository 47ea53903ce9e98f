// The user's language: the translations of the interface files and of the
// program's own texts, chosen from the system's locale at start-up
// (LANG=de_DE.UTF-8 gives German). English, the language the texts are
// written in, is the default. Numbers are not affected: they are read and
// written with a point whatever the locale (strings.h).
#pragma once

#include <string>
#include <vector>

// The program's text in the user's language, or text itself when there is
// no translation. Texts are written in English in the program; the
// translation files hold the other languages.
//
// showAlert translates its message and explanation itself, so alert
// texts are passed as they are. `make translations` collects the literal
// texts passed to CopyLocalizedText and to functions whose name contains
// "alert" (see scripts/translations). A text with a value in it, such as a
// file name, goes through CopyLocalizedTextWithParam before it is passed on.
std::string CopyLocalizedText(const std::string &text);
// The same for a text with a value in it: the template is translated, then
// its "^0" is replaced by value ("The file “^0” could not be opened.").
std::string CopyLocalizedTextWithParam(const std::string &text, const std::string &value);
// The same with several values: "^0", "^1", ... are replaced by values[0],
// values[1], ..., wherever the translation puts them.
std::string CopyLocalizedTextWithParams(const std::string &text, const std::vector<std::string> &values);

// The language code of the translation in use ("de"), or "en" when the
// program runs in its own language.
std::string GetCurrentLocalization();
