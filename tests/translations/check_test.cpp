// The translations check (`make check-translations`, and Translations.Complete
// in the suite) passes on the sources as they are and fails, naming the
// text, when a text is added without a translation or an entry is left
// unfinished.
#include "tests/support/app_driver.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace
{

struct CheckRun {
    int status;
    std::string output;
};

std::string ReadAll(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// A copy of the program's folders and its bundle, for the test to change.
fs::path CopyOfTheSources()
{
    const fs::path root = fs::path(qrltest::TempFolder()) / "sources";
    fs::create_directories(root);
    for (const char *folder : {"app", "document", "files", "model", "print", "resources"})
        if (fs::exists(fs::path(QRL_SOURCE_DIR) / folder))
            fs::copy(fs::path(QRL_SOURCE_DIR) / folder, root / folder, fs::copy_options::recursive);
    return root;
}

CheckRun Check(const fs::path &root)
{
    const fs::path output = root / "check.out";
    const std::string command = std::string("'") + QRL_TRANSLATIONS_CHECK + "' --root '" + root.string() +
                                "' --bundle '" + (root / "resources").string() + "' --ts-folder '" +
                                (root / "resources" / "translations").string() + "' >'" + output.string() +
                                "' 2>&1";
    const int status = std::system(command.c_str());
    return {status, ReadAll(output)};
}

} // namespace

TEST(TranslationsCheck, PassesOnTheSourcesAsTheyAre)
{
    const CheckRun run = Check(CopyOfTheSources());
    EXPECT_EQ(run.status, 0) << run.output;
}

// An alert added to a module, through the module's own alert helper, is a
// new text without a translation until `make translations` and a translator
// have been at it.
TEST(TranslationsCheck, NewAlertTextFails)
{
    const fs::path root = CopyOfTheSources();
    std::ofstream(root / "files" / "file.cpp", std::ios::app)
        << "\nvoid BReportSomething()\n{\n    alert(\"Could not find the \"\n          \"lens cap\", "
           "\"\");\n}\n";
    const CheckRun run = Check(root);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("new text without a translation: [Program] \"Could not find the lens cap\""),
              std::string::npos)
        << run.output;
}

TEST(TranslationsCheck, UnfinishedEntryFails)
{
    const fs::path root = CopyOfTheSources();
    const fs::path ts = root / "resources" / "translations" / "quorlscope_de.ts";
    const std::string text = ReadAll(ts);
    const std::string finished = "<translation>Tabelle berechnen…</translation>";
    ASSERT_NE(text.find(finished), std::string::npos);
    WriteAll(ts, std::regex_replace(text, std::regex(finished),
                                    "<translation type=\"unfinished\">Tabelle berechnen…</translation>"));
    const CheckRun run = Check(root);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("unfinished entry: [MenuBar] \"Compute Table…\""), std::string::npos)
        << run.output;
}

// The about text's translation names the version the program has.
TEST(TranslationsCheck, InfoStringWithoutTheVersionFails)
{
    const fs::path root = CopyOfTheSources();
    const fs::path ts = root / "resources" / "translations" / "quorlscope_de.ts";
    const std::string text = ReadAll(ts);
    const std::string translated = "<translation>Quorlscope 1.0.0, ";
    ASSERT_NE(text.find(translated), std::string::npos);
    WriteAll(ts, std::regex_replace(text, std::regex(translated), "<translation>Quorlscope, "));
    const CheckRun run = Check(root);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("[Info] \"Quorlscope, Schärfentiefe-Tabellen für Fotografen\" does not name "
                              "version 1.0.0"),
              std::string::npos)
        << run.output;
}
