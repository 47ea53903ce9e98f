// `quorlscope table`, `stack` and `export`: the calculation, the bracketing plan and the exports from a
// terminal.
#include "cli/subcommands.h"

#include "formats/exportformats.h"
#include "formats/fileimage.h"
#include "model/bracketing.h"
#include "model/data.h"
#include "platform/atomicsave.h"
#include "platform/coreapplication.h"
#include "platform/files.h"
#include "platform/prefs.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <unistd.h>

namespace
{

tSubcommandPDFRenderer pdfRenderer = nullptr;

const char *const kUsage =
    "usage: quorlscope table --distance D --focal MM --camera apsc|fullframe|film|medium [--circle UM]\n"
    "                        [--unit m|ft] [--format text|csv|json]\n"
    "       quorlscope stack --focal MM --aperture N --camera apsc|fullframe|film|medium [--circle UM]\n"
    "                        --near D [--far D] [--overlap O] [--unit m|ft] [--format text|csv|json]\n"
    "       quorlscope export FILE.qrtb... --to OUT.csv|OUT.json|OUT.pdf\n";

// The table window's message for arguments out of range.
const char *const kRangeMessage = "Please Check Your Arguments!\n"
                                  "The focal length should be in the range of 4..1000 mm,\n"
                                  "the distance from two times of focal length to 1000 m,\n"
                                  "and the circle of confusion in the range of 1..1000 \u00b5m.\n";

struct tRun {
    std::string *out;
    std::string *err;
    // A message; wrong arguments add the usage unless told not to.
    int Fail(int status, const std::string &message, bool usage = true) const
    {
        *err += "quorlscope: " + message + "\n";
        if (status == kSubcommandBadArguments && usage)
            *err += kUsage;
        return status;
    }
};

struct tOptions {
    std::map<std::string, std::string> values; // "--distance" -> "3"
    std::vector<std::string> operands;
    std::string error;
    bool help = false;
};

// "--name value" and "--name=value"; "--" ends the options; an argument not
// starting with "--" is an operand, so a file may be named "-reverse".
tOptions ParseOptions(const std::vector<std::string> &args, const std::vector<std::string> &known)
{
    tOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size() && options.error.empty() && !options.help; ++i) {
        const std::string &arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "-h" || arg == "--help")) {
            options.help = true;
        } else if (optionsEnded || arg.rfind("--", 0) != 0) {
            options.operands.push_back(arg);
        } else {
            const std::size_t equals = arg.find('=');
            const std::string name = arg.substr(0, equals);
            if (std::find(known.begin(), known.end(), name) == known.end())
                options.error = "unknown option " + name;
            else if (equals != std::string::npos)
                options.values[name] = arg.substr(equals + 1);
            else if (i + 1 < args.size())
                options.values[name] = args[++i];
            else
                options.error = name + " needs a value";
        }
    }
    return options;
}

// The whole text as a finite decimal number, point as separator.
std::optional<double> StrictNumber(const std::string &text)
{
    double value = 0.0;
    const char *first = text.data(), *last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto result = std::from_chars(first, last, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The tables in format; nullopt when they cannot be written so.
std::optional<std::string> Formatted(const std::string &format, const std::vector<tExportTable> &tables)
{
    if (format == "pdf") {
        bool ok = pdfRenderer != nullptr;
        const std::string pdf = ok ? pdfRenderer(tables, &ok) : "";
        return ok ? std::optional<std::string>(pdf) : std::nullopt;
    }
    if (format == "json")
        return QRLTablesAsJSON(tables);
    return format == "csv" ? QRLTablesAsCSV(tables) : QRLTablesAsText(tables);
}

// What `table` and `stack` share: the camera and its circle, the numbers,
// the unit and the output format.
struct tLens {
    tCameraType camera;
    double circleMicrometres; // the film formats' fixed circle, else --circle
    double circleMetres;      // the same as the record keeps it
    std::map<std::string, double> numbers;
    std::int32_t unit;
    std::string format;
};

// Checks the options that the two share, in this order: operands, the
// needed ones, the camera, the numbers, the circle, unit and format.
// kSubcommandDone with lens filled, else the status of the failure, said.
int ReadLens(const tOptions &options, const tRun &run, const std::vector<const char *> &needed, tLens *lens)
{
    if (!options.operands.empty())
        return run.Fail(kSubcommandBadArguments, "unexpected argument " + options.operands.front());
    for (const char *name : needed)
        if (!options.values.count(name))
            return run.Fail(kSubcommandBadArguments, std::string(name) + " is needed");
    static const std::map<std::string, tCameraType> cameras = {
        {"apsc", APSC},       {"fullframe", fullFrameDigital}, {"film", thirtyFive},
        {"35mm", thirtyFive}, {"medium", mediumFormat},        {"mediumformat", mediumFormat}};
    const auto found = cameras.find(options.values.at("--camera"));
    if (found == cameras.end())
        return run.Fail(kSubcommandBadArguments, "unknown camera " + options.values.at("--camera"));
    const tUnsharpCircleDiameter fixedCircle = QRLFixedUnsharpCircle(found->second);
    for (const auto &[name, text] : options.values) {
        if (name == "--camera" || name == "--unit" || name == "--format")
            continue;
        const std::optional<double> value = StrictNumber(text);
        if (!value)
            return run.Fail(kSubcommandBadArguments, name + " " + text + ": not a number");
        lens->numbers[name] = *value;
    }
    if (fixedCircle == 0.0 && !lens->numbers.count("--circle"))
        return run.Fail(kSubcommandBadArguments, "--circle is needed for apsc and fullframe");
    const std::string unitName = options.values.count("--unit") ? options.values.at("--unit") : "";
    if (!unitName.empty() && unitName != "m" && unitName != "ft")
        return run.Fail(kSubcommandBadArguments, "--unit is m or ft");
    lens->format = options.values.count("--format") ? options.values.at("--format") : "text";
    if (lens->format != "text" && lens->format != "csv" && lens->format != "json")
        return run.Fail(kSubcommandBadArguments, "--format is text, csv or json");
    lens->unit = unitName.empty()   ? QRLReadDistanceUnit()
                 : unitName == "ft" ? kDistanceUnitFeet
                                    : kDistanceUnitMeters;
    lens->camera = found->second;
    // The film formats' circles are fixed; a --circle given with them is not used.
    lens->circleMicrometres = fixedCircle != 0.0 ? fixedCircle * 1000000.0 : lens->numbers.at("--circle");
    lens->circleMetres = fixedCircle != 0.0 ? fixedCircle : lens->numbers.at("--circle") / 1000000.0;
    return kSubcommandDone;
}

int RunTable(const tOptions &options, const tRun &run)
{
    tLens lens;
    if (const int status = ReadLens(options, run, {"--distance", "--focal", "--camera"}, &lens))
        return status;
    const double distance = lens.numbers.at("--distance"), focal = lens.numbers.at("--focal");
    if (QRLArgumentsInRange(distance, focal, lens.unit) != kInRange ||
        !QRLCircleInRange(lens.circleMicrometres)) {
        *run.err += kRangeMessage;
        return kSubcommandBadArguments;
    }
    const std::unique_ptr<tData> record(QRLNewDataPtr());
    if (!record)
        return run.Fail(kSubcommandFileFailed, "out of memory");
    QRLCalculateTable(record.get(), lens.unit, distance, focal, lens.circleMetres, lens.camera);
    *run.out += Formatted(lens.format, {{"table", record.get()}}).value_or("");
    return kSubcommandDone;
}

// A bracketing plan; a plan the model refuses gives its reason, status 2.
int RunStack(const tOptions &options, const tRun &run)
{
    tLens lens;
    if (const int status = ReadLens(options, run, {"--focal", "--aperture", "--camera", "--near"}, &lens))
        return status;
    const auto number = [&](const char *name, double absent) {
        return lens.numbers.count(name) ? lens.numbers.at(name) : absent;
    };
    const tBracketingArguments arguments = {
        lens.numbers.at("--focal"), lens.numbers.at("--aperture"),
        lens.circleMetres,          lens.camera,
        lens.numbers.at("--near"),  number("--far", std::numeric_limits<double>::infinity()),
        number("--overlap", 0.1),   lens.unit};
    const tBracketingPlan plan = QRLPlanBracketing(arguments);
    if (plan.refusal != kPlanMade)
        return run.Fail(kSubcommandBadArguments, QRLBracketingRefusalText(plan.refusal), false);
    *run.out += lens.format == "json"  ? QRLPlanAsJSON(arguments, plan)
                : lens.format == "csv" ? QRLPlanAsCSV(arguments, plan)
                                       : QRLPlanAsText(arguments, plan);
    return kSubcommandDone;
}

// Reads a document's first 280 bytes as Open does (only a plain file); empty, else why not.
std::string ReadDocument(const std::string &path, tDataPtr data)
{
    QByteArray image;
    const FileError error = platform::readFileStart(path, kDocumentFileSize, &image);
    if (error.notAFile)
        return error.number == EISDIR ? "it is a folder" : "not a file";
    if (error.failed())
        return error.reason();
    BDecodeData(reinterpret_cast<const std::uint8_t *>(image.constData()), long(image.size()), data);
    return "";
}

// The lower-case extension of the file name; empty without one.
std::string Extension(const std::string &path)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string extension = path.substr(dot + 1);
    for (char &c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// The file name without folder and .qrtb extension.
std::string TitleOf(const std::string &path)
{
    const std::string name = path.substr(path.find_last_of('/') + 1);
    return name.size() > 5 && Extension(name) == "qrtb" ? name.substr(0, name.size() - 5) : name;
}

std::string WriteFailure(const FileError &error)
{
    return error.notAFile                                      ? "not a file"
           : error.number == EACCES || error.number == EPERM   ? "permission denied"
           : error.number == ENOENT || error.number == ENOTDIR ? "no such folder"
                                                               : error.reason();
}

int RunExport(const tOptions &options, const tRun &run)
{
    if (options.operands.empty())
        return run.Fail(kSubcommandBadArguments, "no document to export");
    if (!options.values.count("--to"))
        return run.Fail(kSubcommandBadArguments, "--to OUT is needed");
    const std::string target = options.values.at("--to");
    const std::string format = Extension(target);
    if (format != "csv" && format != "json" && format != "pdf")
        return run.Fail(kSubcommandBadArguments, target + ": the name must end in .csv, .json or .pdf");
    std::vector<std::unique_ptr<tData>> records;
    std::vector<tExportTable> tables;
    for (const std::string &path : options.operands) {
        records.emplace_back(QRLNewDataPtr());
        const std::string why = ReadDocument(path, records.back().get());
        if (!why.empty())
            return run.Fail(kSubcommandFileFailed, "cannot read " + path + ": " + why);
        tables.push_back({TitleOf(path), records.back().get()});
    }
    const std::optional<std::string> text = Formatted(format, tables);
    if (!text && format == "pdf")
        return run.Fail(kSubcommandFileFailed, target + ": the PDF document could not be made");
    if (!text)
        return run.Fail(kSubcommandFileFailed,
                        target + ": tables in metres and in feet cannot share one CSV file's headings; "
                                 "export them to separate files or to JSON");
    const FileError error = SaveFile(target, QByteArray::fromStdString(*text), Replace::unlocked, true);
    if (error.failed())
        return run.Fail(kSubcommandFileFailed, "cannot write " + target + ": " + WriteFailure(error));
    return kSubcommandDone;
}

// True when the run was started without a standard output; /dev/null then
// holds its descriptor so that no file the run opens receives the table.
bool HoldClosedOutput()
{
    if (fcntl(STDOUT_FILENO, F_GETFD) != -1 || errno != EBADF)
        return false;
    // With standard input closed too, /dev/null lands there first and stays.
    const int fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (fd >= 0 && fd != STDOUT_FILENO)
        dup2(fd, STDOUT_FILENO);
    if (fd > STDOUT_FILENO)
        close(fd);
    return true;
}

// Writes what the run printed: 0, or the error number when any was lost.
int WriteOutput(const std::string &out, bool outputClosed)
{
    if (out.empty())
        return 0;
    if (outputClosed)
        return EBADF;
    errno = 0;
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0 ||
        std::ferror(stdout))
        return errno != 0 ? errno : EIO;
    return 0;
}

} // namespace

void QRLSetSubcommandPDFRenderer(tSubcommandPDFRenderer renderer)
{
    pdfRenderer = renderer;
}

bool QRLSubcommandNeedsPainting(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] != "export")
        return false;
    const tOptions options = ParseOptions(args, {"--to"});
    return options.error.empty() && !options.help && options.values.count("--to") &&
           Extension(options.values.at("--to")) == "pdf";
}

int QRLRunSubcommand(const std::vector<std::string> &args, std::string *out, std::string *err)
{
    const tRun run{out, err};
    static const std::map<std::string,
                          std::pair<std::vector<std::string>, int (*)(const tOptions &, const tRun &)>>
        commands = {
            {"table", {{"--distance", "--focal", "--camera", "--circle", "--unit", "--format"}, RunTable}},
            {"stack",
             {{"--focal", "--aperture", "--camera", "--circle", "--near", "--far", "--overlap", "--unit",
               "--format"},
              RunStack}},
            {"export", {{"--to"}, RunExport}}};
    const auto command = args.empty() ? commands.end() : commands.find(args[0]);
    if (command == commands.end())
        return run.Fail(kSubcommandBadArguments, "unknown command");
    const tOptions options = ParseOptions(args, command->second.first);
    if (options.help) {
        *out += kUsage;
        return kSubcommandDone;
    }
    if (!options.error.empty())
        return run.Fail(kSubcommandBadArguments, options.error);
    return command->second.second(options, run);
}

int QRLRunSubcommandProcess(int argc, char **argv)
{
    const bool outputClosed = HoldClosedOutput();
    platform::startCoreApplication(argv[0]);
    std::string out, err;
    int status = QRLRunSubcommand(std::vector<std::string>(argv + 1, argv + argc), &out, &err);
    const int writeError = WriteOutput(out, outputClosed);
    if (writeError != 0) {
        err += std::string("quorlscope: write error: ") + std::strerror(writeError) + "\n";
        status = kSubcommandFileFailed;
    }
    std::fwrite(err.data(), 1, err.size(), stderr);
    std::fflush(stderr);
    return status;
}
