#include "Batch.h"

#include "Conversion.h"
#include "Csv.h"
#include "Utf8.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace densimo::cli {
namespace {

constexpr std::string_view kInputHeader[] = {"table", "reading", "temperature"};
constexpr std::string_view kOutputHeader = "table,reading,temperature,density15,message";

bool SameName(std::string_view field, std::string_view name)
{
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) {
        field.remove_prefix(1);
    }
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) {
        field.remove_suffix(1);
    }
    if (field.size() != name.size()) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c =
            field[i] >= 'A' && field[i] <= 'Z' ? static_cast<char>(field[i] + 32) : field[i];
        if (c != name[i]) {
            return false;
        }
    }
    return true;
}

bool IsHeader(const CsvRecord& record)
{
    if (!record.problem.empty() || record.count != 3) {
        return false;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (!SameName(record.Field(i), kInputHeader[i])) {
            return false;
        }
    }
    return true;
}

void Report(std::FILE* err, std::string_view inputName, std::string_view text)
{
    std::string line = "densimo-cli: batch: ";
    line.append(inputName).append(": ").append(text).push_back('\n');
    std::fwrite(line.data(), 1, line.size(), err);
}

}  // namespace

int RunBatch(std::FILE* in, std::string_view inputName, std::FILE* out, std::FILE* err)
{
    CsvReader reader(in);
    CsvWriter writer(out);
    CsvRecord record;

    if (!reader.Next(record)) {
        if (reader.Failed()) {
            Report(err, inputName, std::string("cannot read: ") + std::strerror(reader.Error()));
        } else {
            Report(err, inputName,
                   "empty input; the first line must be the header table,reading,temperature");
        }
        return kExitUsage;
    }
    if (!IsHeader(record)) {
        Report(err, inputName, "the first line must be the header table,reading,temperature");
        return kExitUsage;
    }
    // Output lines end as the input's header line does.
    const std::string_view lineEnd = record.crlf ? "\r\n" : "\n";
    writer.Raw(kOutputHeader);
    writer.EndLine(lineEnd);

    int status = kExitOk;
    while (reader.Next(record) && !writer.Failed()) {
        std::string_view message = record.problem;
        bool clean = true;
        for (std::size_t i = 0; i < record.count; ++i) {
            clean = clean && IsCleanText(record.fields[i]);
        }
        if (message.empty() && !clean) {
            message = "malformed row: not UTF-8 text (bad bytes shown as U+FFFD)";
        }
        // The three fields as given; bytes that are not text are replaced so
        // that the output stays valid UTF-8.
        for (std::size_t i = 0; i < 3; ++i) {
            if (i > 0) {
                writer.Comma();
            }
            if (clean) {
                writer.Field(record.Field(i));
            } else {
                writer.Field(CleanText(record.Field(i)));
            }
        }
        writer.Comma();

        if (message.empty() && record.count != 3) {
            message = record.count < 3 ? "malformed row: fewer than 3 fields"
                                       : "malformed row: more than 3 fields";
        }
        const int product = ProductFromTableName(record.Field(0));
        if (message.empty() && product < 0) {
            message = "unknown table: expected 1A, 1B or 1D";
        }
        if (message.empty()) {
            const Outcome outcome = ConvertTexts(product, record.Field(1), record.Field(2));
            if (outcome.converted) {
                writer.Raw(outcome.Text());
                writer.Comma();
            } else {
                message = outcome.message;
            }
        }
        if (!message.empty()) {
            writer.Comma();
            writer.Field(message);
            status = kExitRefused;
        }
        writer.EndLine(lineEnd);
    }
    const bool written = writer.Flush();
    if (reader.Failed()) {
        Report(err, inputName, std::string("cannot read: ") + std::strerror(reader.Error()));
        return kExitUsage;
    }
    if (!written) {
        // A reader that has gone (| head) needs no message; anything else does.
        if (writer.Error() != EPIPE) {
            Report(err, "standard output",
                   std::string("cannot write: ") + std::strerror(writer.Error()));
        }
        return kExitUsage;
    }
    return status;
}

}  // namespace densimo::cli
