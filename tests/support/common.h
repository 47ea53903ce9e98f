// What every kind of test needs without the application; failures to do these are test failures.
#pragma once

#include "model/data.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qrltest
{

using Strings = std::vector<std::string>;

// A whole file, empty when it cannot be read; writing replaces it.
std::string ReadText(const std::string &path);
bool WriteText(const std::string &path, const std::string &text);
Strings ListFolder(const std::string &folder); // sorted
// A new folder (mode 0700), removed with everything in it but mounts when the process ends.
std::string FreshFolder();

struct Ran {
    int status = -1; // 128 + the signal's number when a signal ended it
    std::string out, err;
};
// The program looked up in PATH, run to its end; environment: "NAME=value" sets, "NAME" removes.
Ran RunProcess(const Strings &command, const Strings &environment = {}, const std::string &input = "");
// Whether this process may ignore file modes, as root normally may.
bool IgnoresFileModes();
// The command as the same user without the power to ignore file modes, when this process has it.
Strings Unprivileged(const Strings &command);

// Mounts, in a private mount namespace of this process: why they are impossible here ("" when possible);
// folder made read-only in place; folder unwritable (no write bits and, as root, a read-only mount).
std::string MountsUnavailable();
bool MountReadOnly(const std::string &folder);
bool MakeUnwritable(const std::string &folder);

// One failure for each part the text lacks, naming it.
void ExpectContains(const std::string &text, const Strings &parts);
Strings Split(const std::string &text, char separator); // one more piece than separators
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

// A document's record computed with these arguments, deleted with the object.
struct Record {
    tDataPtr data = QRLNewDataPtr();
    Record() = default;
    Record(std::int32_t unit, double distance, double focal, double circle, tCameraType camera)
    {
        QRLCalculateTable(data, unit, distance, focal, circle, camera);
    }
    ~Record() { QRLDeleteDataPtr(data); }
    Record(const Record &) = delete;
};

} // namespace qrltest
