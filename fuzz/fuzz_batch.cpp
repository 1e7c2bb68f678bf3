// libFuzzer target: the batch command on arbitrary input. It must return,
// write exactly one well-formed output row per input line (the header
// included) in valid UTF-8, or refuse the whole input with nothing written.
#include "Batch.h"
#include "Check.h"
#include "Csv.h"
#include "Utf8.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    const int status = densimo::cli::RunBatch(in, "fuzz", out, err);
    Check(status >= 0 && status <= 2);

    std::rewind(out);
    std::string output;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, out)) > 0;) {
        output.append(chunk, n);
    }
    if (status == densimo::cli::kExitUsage) {
        Check(output.empty());
    } else {
        // Input lines: every LF ends one, and a last line without one counts.
        std::size_t lines = 0;
        for (char c : input) {
            lines += c == '\n' ? 1 : 0;
        }
        lines += !input.empty() && input.back() != '\n' ? 1 : 0;

        Check(densimo::cli::IsCleanText(output));
        std::rewind(out);
        densimo::cli::CsvReader reader(out);
        densimo::cli::CsvRecord record;
        std::size_t rows = 0;
        bool allConverted = true;
        while (reader.Next(record)) {
            Check(record.problem.empty() && record.count == 5);
            if (rows > 0) {
                // Exactly one of the result and the message.
                Check(record.Field(3).empty() != record.Field(4).empty());
                allConverted = allConverted && record.Field(4).empty();
            }
            ++rows;
        }
        Check(rows == lines);
        Check((status == densimo::cli::kExitOk) == allConverted);
    }
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    return 0;
}
