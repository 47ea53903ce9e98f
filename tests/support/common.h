// What every kind of test needs, without the application: files and
// folders, processes, text, the CSV and JSON readers of the exports, PDF
// text and a comma-decimal locale. Failures to do these are test failures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qrltest
{

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;

// A whole file; empty when it cannot be read.
std::string ReadText(const std::string &path);
Bytes ReadBytes(const std::string &path);
// Replaces the file's contents; false when it cannot be written.
bool WriteText(const std::string &path, const std::string &text);
bool WriteBytes(const std::string &path, const Bytes &bytes);
// The names in the folder, sorted; empty when it cannot be read.
Strings ListFolder(const std::string &folder);

// A new folder, removed with everything in it (read-only parts too, but
// never past a mount) when the object ends.
class ScratchFolder
{
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;
    const std::string &path() const { return path_; }
    // The path of an entry in the folder.
    std::string operator/(const std::string &name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};
// A new folder inside one scratch folder of the process, removed at exit.
std::string FreshFolder();

struct Ran {
    int status = -1; // the exit status; 128 + the signal's number when a signal ended it
    std::string out, err;
};
// Runs the program (looked up in PATH) with the arguments, input on its
// standard input. environment: "NAME=value" sets, "NAME" removes.
Ran RunProcess(const Strings &command, const Strings &environment = {}, const std::string &input = "");
// Runs a command line with /bin/sh.
Ran RunShell(const std::string &commandLine);
// Whether this process may ignore file modes, as root normally may.
bool IgnoresFileModes();
// The command run without the power to ignore file modes when this process
// has it, else unchanged. It stays the same user, so it still reaches
// files under a home folder closed to others.
Strings Unprivileged(const Strings &command);
// Quoted for /bin/sh, whatever it holds.
std::string ShellQuote(const std::string &text);

// One failure for each part the text lacks, naming it.
void ExpectContains(const std::string &text, const Strings &parts);
// Without leading and trailing white space.
std::string Trimmed(const std::string &text);
// The pieces of the text between separators: one more than there are.
Strings Split(const std::string &text, char separator);
// The white-space-separated words of a text.
Strings Words(const std::string &text);

// RFC 4180, strictly: every record ends in CR LF; a quoted field may hold
// commas, line breaks and doubled quotes. Anything malformed fails the test.
std::vector<Strings> ReadCSV(const std::string &text);
// The schema errors of each JSON text against a schema in docs/ (the
// tables' export-schema.json unless named), by an independent validator
// (python3-jsonschema): "" for a valid text.
Strings SchemaErrors(const Strings &jsons, const std::string &schema = "export-schema.json");
// The text of a PDF, laid out as on the page (poppler's pdftotext), and one
// field of its information ("Pages", "Title", "Page size").
std::string PdfText(const std::string &pdf);
std::string PdfInfo(const std::string &pdf, const std::string &field);

// Puts the C library into a locale whose decimal separator is the comma (a
// German one, made from the system's locale sources when it is not
// installed); false when neither is possible.
bool UseCommaDecimalLocale();

} // namespace qrltest
