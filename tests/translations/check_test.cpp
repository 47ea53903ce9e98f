// The translations check passes on a copy of the sources as they are, and
// fails naming the text on each change of a row: an alert added through the
// module's own helper, an entry left unfinished, the about text without the version.
#include "tests/support/common.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

using namespace qrltest;
namespace fs = std::filesystem;

TEST(TranslationsCheck, PassesAndFailsNamingTheText)
{
    const struct {
        std::string file, from, to, message; // no change without from; passing without message
    } cases[] = {
        // clang-format off
        {"files/file.cpp", "", "", ""},
        {"files/file.cpp", "\n$", "\nvoid BReportSomething()\n{\n    alert(\"Could not find the \"\n          \"lens cap\", \"\");\n}\n",
         "new text without a translation: [Program] \"Could not find the lens cap\""},
        {"resources/translations/quorlscope_de.ts", "<translation>Tabelle berechnen…</translation>",
         "<translation type=\"unfinished\">Tabelle berechnen…</translation>", "unfinished entry: [MenuBar] \"Compute Table…\""},
        {"resources/translations/quorlscope_de.ts", "<translation>Quorlscope 1.0.0, ", "<translation>Quorlscope, ",
         "[Info] \"Quorlscope, Schärfentiefe-Tabellen für Fotografen\" does not name version 1.0.0"}};
    // clang-format on
    for (const auto &c : cases) {
        const fs::path root = FreshFolder();
        for (const char *folder : {"app", "document", "files", "model", "print", "resources"})
            fs::copy(fs::path(QRL_SOURCE_DIR) / folder, root / folder, fs::copy_options::recursive);
        const std::string text = ReadText(root / c.file);
        if (!c.from.empty()) {
            ASSERT_TRUE(WriteText(root / c.file, std::regex_replace(text, std::regex(c.from), c.to)));
        }
        ASSERT_EQ(ReadText(root / c.file) == text, c.from.empty()) << c.from;
        const Ran run = RunProcess({QRL_TRANSLATIONS_CHECK, "--root", root, "--bundle", root / "resources",
                                    "--ts-folder", root / "resources/translations"});
        EXPECT_EQ(run.status != 0, !c.message.empty()) << run.out << run.err;
        EXPECT_NE((run.out + run.err).find(c.message), std::string::npos) << run.out << run.err;
    }
}
