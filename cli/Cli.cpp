#include "Cli.h"

#include "Batch.h"
#include "Conversion.h"
#include "Table.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace densimo::cli {
namespace {

constexpr std::string_view kMainHelp =
    "Usage: densimo-cli COMMAND [ARGUMENTS]\n"
    "Converts glass-hydrometer readings to the density at 15 degC by JIS K 2249\n"
    "tables 1A (crude oils), 1B (fuel oils) and 1D (lubricating oils).\n"
    "\n"
    "Commands:\n"
    "  convert TABLE READING TEMPERATURE   convert one reading\n"
    "  batch [FILE]                        convert every row of a CSV file\n"
    "  table TABLE [OPTIONS]               write a printable conversion table\n"
    "\n"
    "Options:\n"
    "  --help      show this help (also after a command)\n"
    "  --version   show the version\n"
    "\n"
    "Exit status: 0 converted, 1 a value was refused or a row was malformed,\n"
    "2 usage, input or output error.\n";

constexpr std::string_view kConvertHelp =
    "Usage: densimo-cli convert TABLE READING TEMPERATURE\n"
    "  TABLE        1A (crude oils), 1B (fuel oils) or 1D (lubricating oils)\n"
    "  READING      glass-hydrometer reading in g/cm3, e.g. 0.8500\n"
    "  TEMPERATURE  sample temperature in degC, e.g. 20 or -5.5\n"
    "Prints the density at 15 degC with four decimals. A value outside the\n"
    "table's range prints its warning on standard error and exits with 1.\n"
    "Numbers are read as the window reads them: the longest leading decimal\n"
    "number counts, the rest is ignored, and a text without one counts as 0.\n";

constexpr std::string_view kBatchHelp =
    "Usage: densimo-cli batch [FILE]\n"
    "Reads CSV (RFC 4180, UTF-8, LF or CRLF) from FILE, or from standard input\n"
    "when FILE is absent or -, with the header line table,reading,temperature.\n"
    "Writes CSV with the header table,reading,temperature,density15,message and\n"
    "exactly one row per input row, in order: converted rows carry the result in\n"
    "density15, refused and malformed rows an empty density15 and the reason in\n"
    "message. Exit status 0 when every row converted, 1 when any did not, 2 for\n"
    "usage, input or output errors.\n";

constexpr std::string_view kTableHelp =
    "Usage: densimo-cli table TABLE [--readings FROM:TO:STEP]\n"
    "                         [--temperatures FROM:TO:STEP] [--format csv|html]\n"
    "                         [--output FILE]\n"
    "Writes a conversion table: readings across, temperatures down, every cell the\n"
    "density at 15 degC that the window shows for that reading at that temperature.\n"
    "  TABLE           1A, 1B or 1D\n"
    "  --readings      g/cm3, at most four decimals (default: the table's whole\n"
    "                  range, step 0.0010)\n"
    "  --temperatures  degC, at most two decimals (default: the whole range, step 0.5)\n"
    "  --format        csv (default) or html, a printable A4 landscape page\n"
    "  --output        write to FILE (replaced only once the table is complete)\n"
    "Values are walked in exact decimal steps. Ranges outside the table, reversed\n"
    "or with a zero step, and tables of more than 5,000,000 cells are refused\n"
    "(exit status 2).\n";

void Write(std::FILE* stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
}

// A failed write to standard output; quiet when the reader has gone (| head).
void ReportWriteError(std::FILE* err, int error)
{
    if (error != EPIPE) {
        Write(err, std::string("densimo-cli: cannot write: ") + std::strerror(error) + "\n");
    }
}

int UsageError(std::FILE* err, std::string_view text, std::string_view command)
{
    std::string line = "densimo-cli: ";
    line.append(text).append("\nTry 'densimo-cli ");
    if (!command.empty()) {
        line.append(command).push_back(' ');
    }
    line.append("--help'.\n");
    Write(err, line);
    return kExitUsage;
}

// Splits a command's arguments into options and operands. Operands may start
// with '-' (negative temperatures); only "--" words are options, and "--"
// itself ends them.
struct Arguments {
    std::vector<std::string_view> operands;
    bool help = false;
    std::string_view unknownOption;
};

Arguments SplitArguments(int argc, const char* const* argv, int first)
{
    Arguments parsed;
    bool optionsEnded = false;
    for (int i = first; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            parsed.help = true;
        } else if (!optionsEnded && arg.size() > 2 && arg.substr(0, 2) == "--") {
            if (parsed.unknownOption.empty()) {
                parsed.unknownOption = arg;
            }
        } else {
            parsed.operands.push_back(arg);
        }
    }
    return parsed;
}

int RunConvert(const Arguments& args, std::FILE* out, std::FILE* err)
{
    if (args.operands.size() != 3) {
        return UsageError(err, "convert needs TABLE READING TEMPERATURE", "convert");
    }
    const int product = ProductFromTableName(args.operands[0]);
    if (product < 0) {
        return UsageError(err,
                          "unknown table '" + std::string(args.operands[0]) + "': use 1A, 1B or 1D",
                          "convert");
    }
    const Outcome outcome = ConvertTexts(product, args.operands[1], args.operands[2]);
    if (!outcome.converted) {
        Write(err, outcome.message);
        Write(err, "\n");
        return kExitRefused;
    }
    Write(out, outcome.Text());
    Write(out, "\n");
    if (std::fflush(out) != 0 || std::ferror(out)) {
        ReportWriteError(err, errno);
        return kExitUsage;
    }
    return kExitOk;
}

int RunBatchCommand(const Arguments& args, std::FILE* in, std::FILE* out, std::FILE* err)
{
    if (args.operands.size() > 1) {
        return UsageError(err, "batch takes at most one FILE", "batch");
    }
    if (args.operands.empty() || args.operands[0] == "-") {
        return RunBatch(in, "standard input", out, err);
    }
    const std::string path(args.operands[0]);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        Write(err, "densimo-cli: batch: " + path + ": cannot open: " + std::strerror(errno) + "\n");
        return kExitUsage;
    }
    const int status = RunBatch(file, path, out, err);
    std::fclose(file);
    return status;
}

// Writes the table to `path` through a temporary file in the same directory,
// renamed over `path` only when complete, so that a failure leaves no partial
// table behind.
int WriteTableFile(const TableRequest& request, const std::string& path, std::FILE* err)
{
    std::random_device random;
    std::string temporary;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 16 && file == nullptr; ++attempt) {
        temporary = path + ".tmp-" + std::to_string(random());
        file = std::fopen(temporary.c_str(), "wbx");  // never an existing file
    }
    if (file == nullptr) {
        Write(err,
              "densimo-cli: table: " + path + ": cannot create: " + std::strerror(errno) + "\n");
        return kExitUsage;
    }
    int error = WriteTable(request, file);
    bool written = error == 0;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    std::error_code renamed;
    if (written) {
        std::filesystem::rename(temporary, path, renamed);
        error = renamed.value();
    }
    if (!written || renamed) {
        std::remove(temporary.c_str());
        Write(err,
              "densimo-cli: table: " + path + ": cannot write: " + std::strerror(error) + "\n");
        return kExitUsage;
    }
    return kExitOk;
}

int RunTableCommand(int argc, const char* const* argv, std::FILE* out, std::FILE* err)
{
    TableRequest request;
    std::vector<std::string_view> operands;
    std::string output;
    for (int i = 2; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Write(out, kTableHelp);
            return kExitOk;
        }
        if (arg.size() <= 2 || arg.substr(0, 2) != "--") {
            operands.push_back(arg);
            continue;
        }
        // --name VALUE or --name=VALUE; the value may start with '-'.
        std::string_view value;
        const std::size_t equals = arg.find('=');
        if (equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            return UsageError(err, "option '" + std::string(arg) + "' needs a value", "table");
        }
        std::string error;
        if (arg == "--readings") {
            request.readings = ParseRange(value, 4, &error);
        } else if (arg == "--temperatures") {
            request.temperatures = ParseRange(value, 2, &error);
        } else if (arg == "--format") {
            if (value == "csv") {
                request.format = TableFormat::Csv;
            } else if (value == "html") {
                request.format = TableFormat::Html;
            } else {
                error = "use csv or html";
            }
        } else if (arg == "--output") {
            output = value;
            if (output.empty()) {
                error = "FILE must not be empty";
            }
        } else {
            return UsageError(err, "unknown option '" + std::string(arg) + "'", "table");
        }
        if (!error.empty()) {
            return UsageError(err, std::string(arg) + " " + std::string(value) + ": " + error,
                              "table");
        }
    }
    if (operands.size() != 1) {
        return UsageError(err, "table needs one TABLE (1A, 1B or 1D)", "table");
    }
    request.product = ProductFromTableName(operands[0]);
    if (request.product < 0) {
        return UsageError(err, "unknown table '" + std::string(operands[0]) + "': use 1A, 1B or 1D",
                          "table");
    }
    const std::string problem = CheckTableRequest(request);
    if (!problem.empty()) {
        return UsageError(err, problem, "table");
    }
    if (!output.empty()) {
        return WriteTableFile(request, output, err);
    }
    if (const int error = WriteTable(request, out); error != 0) {
        ReportWriteError(err, error);
        return kExitUsage;
    }
    return kExitOk;
}

}  // namespace

int RunCli(int argc, const char* const* argv, std::FILE* in, std::FILE* out, std::FILE* err)
{
    if (argc < 2) {
        return UsageError(err, "missing command", {});
    }
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h") {
        Write(out, kMainHelp);
        return kExitOk;
    }
    if (command == "--version") {
        Write(out, "densimo-cli " DENSIMO_VERSION "\n");
        return kExitOk;
    }
    if (command == "table") {
        return RunTableCommand(argc, argv, out, err);
    }
    const bool isConvert = command == "convert";
    if (!isConvert && command != "batch") {
        return UsageError(err, "unknown command '" + std::string(command) + "'", {});
    }
    const Arguments args = SplitArguments(argc, argv, 2);
    if (args.help) {
        Write(out, isConvert ? kConvertHelp : kBatchHelp);
        return kExitOk;
    }
    if (!args.unknownOption.empty()) {
        return UsageError(err, "unknown option '" + std::string(args.unknownOption) + "'", command);
    }
    return isConvert ? RunConvert(args, out, err) : RunBatchCommand(args, in, out, err);
}

}  // namespace densimo::cli
