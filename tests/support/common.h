// What every kind of test needs without the application. Failures to do
// these are test failures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qrltest
{

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;

// A whole file, empty when it cannot be read; writing replaces it.
std::string ReadText(const std::string &path);
Bytes ReadBytes(const std::string &path);
bool WriteText(const std::string &path, const std::string &text);
bool WriteBytes(const std::string &path, const Bytes &bytes);
// The names in the folder, sorted.
Strings ListFolder(const std::string &folder);

// A new folder, removed with everything in it (never past a mount) at its end.
class ScratchFolder
{
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    const std::string &path() const { return path_; }
    std::string operator/(const std::string &name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};
// A new folder inside one scratch folder of the process.
std::string FreshFolder();

struct Ran {
    int status = -1; // 128 + the signal's number when a signal ended it
    std::string out, err;
};
// The program looked up in PATH; environment: "NAME=value" sets, "NAME" removes.
Ran RunProcess(const Strings &command, const Strings &environment = {}, const std::string &input = "");
Ran RunShell(const std::string &commandLine);
// Whether this process may ignore file modes, as root normally may.
bool IgnoresFileModes();
// The command run without the power to ignore file modes when this process
// has it, else unchanged. It stays the same user, so it still reaches
// files under a home folder closed to others.
Strings Unprivileged(const Strings &command);
std::string ShellQuote(const std::string &text);

// One failure for each part the text lacks, naming it.
void ExpectContains(const std::string &text, const Strings &parts);
std::string Trimmed(const std::string &text);
// The pieces between separators: one more than there are.
Strings Split(const std::string &text, char separator);
Strings Words(const std::string &text);

// RFC 4180, strictly (CR LF after every record); anything malformed fails.
std::vector<Strings> ReadCSV(const std::string &text);
// Each JSON text's errors against a schema in docs/ (python3-jsonschema); "" when valid.
Strings SchemaErrors(const Strings &jsons, const std::string &schema = "export-schema.json");
// A PDF's text as laid out (pdftotext), and a field of its information ("Pages").
std::string PdfText(const std::string &pdf);
std::string PdfInfo(const std::string &pdf, const std::string &field);
// A C library locale whose decimal separator is the comma, made when missing.
bool UseCommaDecimalLocale();

} // namespace qrltest
