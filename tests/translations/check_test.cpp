// The translations check (`make check-translations`, and Translations.Complete
// in the suite) passes on the sources as they are and fails, naming the
// text, when a text is added without a translation or an entry is left
// unfinished.
#include "tests/support/common.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <string>

using namespace qrltest;
namespace fs = std::filesystem;

namespace
{

// A copy of the program's folders and its bundle, for the test to change.
fs::path CopyOfTheSources()
{
    const fs::path root = fs::path(FreshFolder()) / "sources";
    fs::create_directories(root);
    for (const char *folder : {"app", "document", "files", "model", "print", "resources"})
        if (fs::exists(fs::path(QRL_SOURCE_DIR) / folder))
            fs::copy(fs::path(QRL_SOURCE_DIR) / folder, root / folder, fs::copy_options::recursive);
    return root;
}

Ran Check(const fs::path &root)
{
    Ran ran = RunProcess({QRL_TRANSLATIONS_CHECK, "--root", root, "--bundle", root / "resources",
                          "--ts-folder", root / "resources" / "translations"});
    ran.out += ran.err;
    return ran;
}

} // namespace

// On the sources as they are the check passes; each change of a row makes it
// fail, naming the text: an alert added through the module's own helper, an
// entry left unfinished, the about text's translation without the version.
TEST(TranslationsCheck, PassesAndFailsNamingTheText)
{
    const Ran passed = Check(CopyOfTheSources());
    EXPECT_EQ(passed.status, 0) << passed.out;
    struct Case {
        const char *file, *from, *to, *message;
    };
    const Case cases[] = {
        {"files/file.cpp", "\n$",
         "\nvoid BReportSomething()\n{\n    alert(\"Could not find the \"\n          "
         "\"lens cap\", \"\");\n}\n",
         "new text without a translation: [Program] \"Could not find the lens cap\""},
        {"resources/translations/quorlscope_de.ts", "<translation>Tabelle berechnen…</translation>",
         "<translation type=\"unfinished\">Tabelle berechnen…</translation>",
         "unfinished entry: [MenuBar] \"Compute Table…\""},
        {"resources/translations/quorlscope_de.ts", "<translation>Quorlscope 1.0.0, ",
         "<translation>Quorlscope, ",
         "[Info] \"Quorlscope, Schärfentiefe-Tabellen für Fotografen\" does not name version 1.0.0"}};
    for (const Case &c : cases) {
        const fs::path root = CopyOfTheSources();
        const std::string text = ReadText(root / c.file);
        const std::string changed = std::regex_replace(text, std::regex(c.from), c.to);
        ASSERT_NE(changed, text) << c.from;
        ASSERT_TRUE(WriteText(root / c.file, changed));
        const Ran run = Check(root);
        EXPECT_NE(run.status, 0) << c.message;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << run.out;
    }
}
