// Tests of densimo-cli's commands through RunCli, with temporary files as
// the streams: output texts, exit statuses and the batch row guarantee.
#include "Cli.h"
#include "Batch.h"
#include "Csv.h"
#include "NumberText.h"
#include "Table.h"
#include "Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace {

using densimo::cli::CsvReader;
using densimo::cli::CsvRecord;

// A temporary file holding `text`, rewound for reading.
struct TempFile {
    std::FILE* file = std::tmpfile();
    explicit TempFile(const std::string& text = {})
    {
        std::fwrite(text.data(), 1, text.size(), file);
        std::rewind(file);
    }
    ~TempFile() { std::fclose(file); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    std::string Contents() const
    {
        std::fflush(file);
        std::rewind(file);
        std::string text;
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
            text.append(chunk, n);
        }
        return text;
    }
};

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun RunWith(std::initializer_list<const char*> args, const std::string& input = {})
{
    std::vector<const char*> argv{"densimo-cli"};
    argv.insert(argv.end(), args);
    TempFile in(input), out, err;
    const int status = densimo::cli::RunCli(static_cast<int>(argv.size()), argv.data(), in.file,
                                            out.file, err.file);
    return {status, out.Contents(), err.Contents()};
}

// ----------------------------------------------------------------- convert

TEST(CliConvert, PrintsTheResultOrTheWarning)
{
    struct Case {
        const char* table;
        const char* reading;
        const char* temperature;
        int status;
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        {"1A", "0.8500", "20", 0, "0.8535\n", ""},
        {"1B", "0.7800", "25", 0, "0.7874\n", ""},
        {"1D", "0.2080", "25", 0, "0.2080\n", ""},
        {"1B", "0.7000", "5", 0, "0.6908\n", ""},
        {"1A", "0.8500", "-19", 1, "", "温度範囲は -18.00 ～ 150.00 です\n"},
        {"1D", "0.9000", "-20.5", 1, "", "温度範囲は -20 ～ 150 です\n"},
        {"1B", "", "20", 1, "", "密度範囲は 0.6530～1.0730 です\n"},
        {"1A", "0,85", "20", 1, "", "密度範囲は 0.6120 ～ 1.0740 です\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunWith({"convert", c.table, c.reading, c.temperature});
        EXPECT_EQ(run.status, c.status) << c.table << ' ' << c.reading << ' ' << c.temperature;
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
}

TEST(CliConvert, NegativeTemperaturesAreOperandsNotOptions)
{
    EXPECT_EQ(RunWith({"convert", "1D", "0.9000", "-19"}).status, 0);
    EXPECT_EQ(RunWith({"convert", "--", "1D", "0.9000", "-19"}).status, 0);
}

TEST(Cli, UsageErrorsExitWith2AndSaySo)
{
    const std::initializer_list<const char*> cases[] = {
        {},
        {"frobnicate"},
        {"convert"},
        {"convert", "1A", "0.85"},
        {"convert", "1A", "0.85", "20", "extra"},
        {"convert", "1C", "0.85", "20"},
        {"convert", "1a", "0.85", "20"},
        {"convert", "--fast", "1A", "0.85", "20"},
        {"batch", "a.csv", "b.csv"},
        {"batch", "/nonexistent/densimo/input.csv"},
    };
    for (const auto& args : cases) {
        const CliRun run = RunWith(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(run.err.rfind("densimo-cli: ", 0), 0U) << run.err;
    }
}

TEST(Cli, HelpAndVersion)
{
    for (const auto& args : {std::initializer_list<const char*>{"--help"},
                             {"convert", "--help"},
                             {"batch", "--help"},
                             {"convert", "1A", "-h"}}) {
        const CliRun run = RunWith(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind("Usage: densimo-cli", 0), 0U) << run.out;
    }
    EXPECT_EQ(RunWith({"--version"}).out, "densimo-cli 1.0.0.1\n");
}

// ------------------------------------------------------------------- batch

TEST(CliBatch, ConvertsRowByRowAndReportsEveryProblemInPlace)
{
    const std::string input =
        "table,reading,temperature\n"
        "1A,0.8500,20\n"
        "1B,0.8500,30\n"
        "1D,0.9000,40\n"
        "1B,0.7800,25\n"
        "1A,0.611,20\n"
        "1A,\"0.8500\",\" 20x\"\n"
        "1C,0.8500,20\n"
        "1A,0.8500\n"
        "1A,0.8500,20,extra\n"
        "\n"
        "1A,0.85\"00,20\n"
        "1A,\"0.85\"00,20\n"
        "\"1,A\",0.8500,20\n"
        "1D,0.2080,25\n"
        "1A,0.8500,\"20";
    const CliRun run = RunWith({"batch"}, input);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "table,reading,temperature,density15,message\n"
              "1A,0.8500,20,0.8535,\n"
              "1B,0.8500,30,0.8603,\n"
              "1D,0.9000,40,0.9152,\n"
              "1B,0.7800,25,0.7874,\n"
              "1A,0.611,20,,密度範囲は 0.6120 ～ 1.0740 です\n"
              "1A,0.8500, 20x,0.8535,\n"
              "1C,0.8500,20,,\"unknown table: expected 1A, 1B or 1D\"\n"
              "1A,0.8500,,,malformed row: fewer than 3 fields\n"
              "1A,0.8500,20,,malformed row: more than 3 fields\n"
              ",,,,malformed row: fewer than 3 fields\n"
              "1A,\"0.85\"\"00\",20,,malformed row: quote inside an unquoted field\n"
              "1A,0.8500,20,,malformed row: text after a closing quote\n"
              "\"1,A\",0.8500,20,,\"unknown table: expected 1A, 1B or 1D\"\n"
              "1D,0.2080,25,0.2080,\n"
              "1A,0.8500,20,,malformed row: unterminated quoted field\n");
}

TEST(CliBatch, MirrorsCrlfAndSkipsTheByteOrderMark)
{
    const CliRun run = RunWith({"batch", "-"},
                               "\xEF\xBB\xBFtable,reading,temperature\r\n"
                               "1A,0.8500,20\r\n"
                               "1A,0.85\r00,20\r\n"  // a lone CR is data
                               "1B,0.7800,25");      // no final line break
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "table,reading,temperature,density15,message\r\n"
              "1A,0.8500,20,0.8535,\r\n"
              "1A,\"0.85\r00\",20,0.8535,\r\n"
              "1B,0.7800,25,0.7874,\r\n");
}

TEST(CliBatch, ALoneQuoteSpoilsOnlyItsOwnLine)
{
    // A line break inside quotes ends the row, so the rows after a lone quote
    // are still converted one by one.
    const CliRun run = RunWith({"batch"},
                               "table,reading,temperature\n"
                               "1A,\"0.8500,20\n"
                               "1B,0.7800,25\n"
                               "\",1A,0.8500,20\r\n"
                               "1A,0.8500,20\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "table,reading,temperature,density15,message\n"
              "1A,\"0.8500,20\",,,malformed row: unterminated quoted field\n"
              "1B,0.7800,25,0.7874,\n"
              "\",1A,0.8500,20\",,,,malformed row: unterminated quoted field\n"
              "1A,0.8500,20,0.8535,\n");
}

TEST(CliBatch, AllConvertedExitsWith0)
{
    const CliRun run = RunWith({"batch"}, "Table , Reading,TEMPERATURE\n1A,0.8500,20\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "table,reading,temperature,density15,message\n1A,0.8500,20,0.8535,\n");
}

TEST(CliBatch, AMissingHeaderOrEmptyInputIsAnInputError)
{
    for (const char* input :
         {"", "1A,0.8500,20\n", "table,reading\n1A,0.85\n", "\"table,reading,temperature\n"}) {
        const CliRun run = RunWith({"batch"}, input);
        EXPECT_EQ(run.status, 2) << input;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("header table,reading,temperature"), std::string::npos) << run.err;
    }
}

// Reads CSV text back into records.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text, bool* wellFormed)
{
    TempFile file(text);
    CsvReader reader(file.file);
    CsvRecord record;
    std::vector<std::vector<std::string>> rows;
    *wellFormed = true;
    while (reader.Next(record)) {
        *wellFormed = *wellFormed && record.problem.empty();
        rows.emplace_back(record.fields.begin(),
                          record.fields.begin() + static_cast<std::ptrdiff_t>(record.count));
    }
    return rows;
}

TEST(CliBatch, WritesOneWellFormedRowPerInputRowWhateverComesIn)
{
    // Random lines from good, refused and malformed pieces, lone quotes
    // among them: every line is one row.
    const std::vector<std::string> tables = {"1A", "1B", "1D", "1C", "", "\"1B\"", "x,y"};
    const std::vector<std::string> values = {"0.8500", "20",      "-19",  "1e400", "",
                                             "0,85",   "\"1,5\"", "\"\"", "a\"b",  "\"q\"x",
                                             "150.01", "0.7800",  "２０", " 25 ",  "\"x"};
    std::mt19937 random(12345);
    auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    std::string input = "table,reading,temperature\n";
    const int rows = 5000;
    for (int i = 0; i < rows; ++i) {
        input.append(pick(tables)).append(",").append(pick(values));
        input.append(",").append(pick(values));
        if (random() % 10 == 0) {
            input.append(",").append(pick(values));  // one field too many
        }
        input.append(random() % 2 == 0 ? "\n" : "\r\n");
    }
    const CliRun run = RunWith({"batch"}, input);
    EXPECT_EQ(run.status, 1);
    bool wellFormed = false;
    const auto output = ParseCsv(run.out, &wellFormed);
    EXPECT_TRUE(wellFormed);
    ASSERT_EQ(output.size(), static_cast<std::size_t>(rows) + 1);
    EXPECT_EQ(output[0], (std::vector<std::string>{"table", "reading", "temperature", "density15",
                                                   "message"}));
    for (std::size_t i = 1; i < output.size(); ++i) {
        const auto& row = output[i];
        ASSERT_EQ(row.size(), 5U);
        // Exactly one of the result and the message is filled.
        EXPECT_NE(row[3].empty(), row[4].empty()) << row[0] << ',' << row[1] << ',' << row[2];
    }
}

TEST(CliBatch, AFileIsReadLikeStandardInput)
{
    const std::string path = ::testing::TempDir() + "densimo_batch_input.csv";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("table,reading,temperature\n1A,0.8500,20\n", file);
    std::fclose(file);
    const CliRun run = RunWith({"batch", path.c_str()});
    std::remove(path.c_str());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "table,reading,temperature,density15,message\n1A,0.8500,20,0.8535,\n");
}

TEST(Utf8, TellsTextFromOtherBytes)
{
    struct Case {
        std::string bytes;
        bool clean;
        std::string cleaned;
    };
    const std::string fffd = "\xEF\xBF\xBD";
    const Case cases[] = {
        {"0.8500", true, "0.8500"},
        {"密度 ～ ℃", true, "密度 ～ ℃"},
        {"\xF0\x9F\x98\x80", true, "\xF0\x9F\x98\x80"},  // U+1F600
        {"a\xFF"
         "b",
         false, "a" + fffd + "b"},
        {std::string("a\0b", 3), false, "a" + fffd + "b"},       // NUL
        {"\xC0\xAF", false, fffd + fffd},                        // overlong '/'
        {"\xED\xA0\x80", false, fffd + fffd + fffd},             // surrogate D800
        {"\xF4\x90\x80\x80", false, fffd + fffd + fffd + fffd},  // above U+10FFFF
        {"\xE3\x81", false, fffd + fffd},                        // cut short
        {"\x80", false, fffd},                                   // lone continuation
    };
    for (const Case& c : cases) {
        EXPECT_EQ(densimo::cli::IsCleanText(c.bytes), c.clean) << c.bytes;
        EXPECT_EQ(densimo::cli::CleanText(c.bytes), c.cleaned) << c.bytes;
    }
}

// ------------------------------------------------------------------- table

TEST(CliTable, CellsAreWhatConvertGivesForTheSameTexts)
{
    const CliRun run = RunWith(
        {"table", "1B", "--readings", "0.7780:0.7900:0.0030", "--temperatures", "-18:150:42"});
    ASSERT_EQ(run.status, 0) << run.err;
    bool wellFormed = false;
    const auto rows = ParseCsv(run.out, &wellFormed);
    ASSERT_TRUE(wellFormed);
    ASSERT_EQ(rows.size(), 6U);  // header and -18, 24, 66, 108, 150
    EXPECT_EQ(rows[0], (std::vector<std::string>{"temperature", "0.7780", "0.7810", "0.7840",
                                                 "0.7870", "0.7900"}));
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r].size(), rows[0].size());
        for (std::size_t c = 1; c < rows[r].size(); ++c) {
            const CliRun convert =
                RunWith({"convert", "1B", rows[0][c].c_str(), rows[r][0].c_str()});
            EXPECT_EQ(rows[r][c] + "\n", convert.out) << rows[0][c] << " at " << rows[r][0];
        }
    }
}

TEST(CliTable, WalksRangesInExactDecimalSteps)
{
    const CliRun run =
        RunWith({"table", "1A", "--readings", "0.6120:1.0740:0.0005", "--temperatures", "20:20:1"});
    ASSERT_EQ(run.status, 0) << run.err;
    bool wellFormed = false;
    const auto rows = ParseCsv(run.out, &wellFormed);
    ASSERT_EQ(rows.size(), 2U);
    ASSERT_EQ(rows[0].size(), 1U + 925U);
    EXPECT_EQ(rows[0].back(), "1.0740");
    for (std::size_t i = 1; i < rows[0].size(); ++i) {
        const int tenThousandths = 6120 + 5 * static_cast<int>(i - 1);
        char expected[16];
        std::snprintf(expected, sizeof expected, "%d.%04d", tenThousandths / 10000,
                      tenThousandths % 10000);
        ASSERT_EQ(rows[0][i], expected);
        // The double the window gets from that text is the decimal's nearest.
        ASSERT_EQ(densimo::ParseDecimal(rows[0][i]), tenThousandths / 10000.0);
    }
    EXPECT_EQ(rows[1][0], "20");
}

TEST(CliTable, DefaultTablesCoverTheWholeRangeWithoutAnEmptyCell)
{
    struct Case {
        const char* table;
        std::size_t readings, temperatures;
        const char* firstReading;
        const char* lastTemperature;
    };
    const Case cases[] = {{"1A", 463, 337, "0.6120", "150.0"},
                          {"1B", 421, 337, "0.6530", "150.0"},
                          {"1D", 957, 341, "0.2080", "150.0"}};
    for (const Case& c : cases) {
        const CliRun run = RunWith({"table", c.table});
        ASSERT_EQ(run.status, 0) << run.err;
        bool wellFormed = false;
        const auto rows = ParseCsv(run.out, &wellFormed);
        ASSERT_TRUE(wellFormed);
        ASSERT_EQ(rows.size(), c.temperatures + 1) << c.table;
        EXPECT_EQ(rows[0][1], c.firstReading);
        EXPECT_EQ(rows.back()[0], c.lastTemperature);
        for (const auto& row : rows) {
            ASSERT_EQ(row.size(), c.readings + 1) << c.table;
            for (const std::string& cell : row) {
                ASSERT_FALSE(cell.empty()) << c.table << " at " << row[0];
            }
        }
    }
    // Outside the limits the window refuses the pair, and the cell is empty.
    EXPECT_EQ(densimo::cli::TableCell(1, "0.6529", "20"), "");
    EXPECT_EQ(densimo::cli::TableCell(1, "0.7800", "150.5"), "");
    EXPECT_EQ(densimo::cli::TableCell(1, "0.7800", "25"), "0.7874");
}

TEST(CliTable, RefusesBadRangesAndLeavesTheOutputFileAlone)
{
    const std::string path = ::testing::TempDir() + "densimo_table.csv";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("earlier contents\n", file);
    std::fclose(file);
    const std::initializer_list<const char*> cases[] = {
        {"table", "1B", "--readings", "::"},               // empty
        {"table", "1B", "--readings", "0.9:0.8:0.001"},    // reversed
        {"table", "1B", "--readings", "0.8:0.9:0"},        // zero step
        {"table", "1B", "--readings", "0.8:0.9:-0.1"},     // negative step
        {"table", "1B", "--readings", "0.6:0.9:0.001"},    // below the table
        {"table", "1A", "--readings", "0.8:1.08:0.001"},   // above the table
        {"table", "1B", "--temperatures", "-20:20:1"},     // too cold
        {"table", "1D", "--temperatures", "0:150.5:0.5"},  // too hot
        {"table", "1D", "--readings", "0.208:1.164:0.0001", "--temperatures", "-20:150:0.1"},
        {"table", "1B", "--readings", "0.80000:0.9:0.001"},  // five decimals
        {"table", "1B", "--readings", "0.8:0.9"},            // no step
        {"table", "1B", "--readings", "0.8:0.9:1e-3"},       // not a plain decimal
        {"table", "1B", "--format", "pdf"},
        {"table", "1C"},
        {"table"},
        {"table", "1B", "--readings"},
        {"table", "1B", "--colour", "red"},
    };
    for (const auto& args : cases) {
        std::vector<const char*> withOutput(args);
        withOutput.push_back("--output");
        withOutput.push_back(path.c_str());
        std::vector<const char*> argv{"densimo-cli"};
        argv.insert(argv.end(), withOutput.begin(), withOutput.end());
        TempFile in, out, err;
        const int status = densimo::cli::RunCli(static_cast<int>(argv.size()), argv.data(), in.file,
                                                out.file, err.file);
        EXPECT_EQ(status, 2) << *(args.begin() + 1);
        EXPECT_EQ(out.Contents(), "");
        EXPECT_EQ(err.Contents().rfind("densimo-cli: ", 0), 0U) << err.Contents();
    }
    std::FILE* reread = std::fopen(path.c_str(), "rb");
    ASSERT_NE(reread, nullptr);
    char text[64] = {};
    EXPECT_EQ(std::fread(text, 1, sizeof text - 1, reread), 17U);
    std::fclose(reread);
    EXPECT_STREQ(text, "earlier contents\n");

    // A good request replaces the file, and leaves no temporary behind.
    EXPECT_EQ(RunWith({"table", "1B", "--readings", "0.8:0.801:0.001", "--temperatures", "15:15:1",
                       "--output", path.c_str()})
                  .status,
              0);
    reread = std::fopen(path.c_str(), "rb");
    ASSERT_NE(reread, nullptr);
    std::fill(std::begin(text), std::end(text), '\0');
    std::fread(text, 1, sizeof text - 1, reread);
    std::fclose(reread);
    EXPECT_STREQ(text, "temperature,0.8000,0.8010\n15,0.8000,0.8010\n");
    std::remove(path.c_str());
    const CliRun missingDir = RunWith({"table", "1B", "--output", "/nonexistent-dir/t.csv"});
    EXPECT_EQ(missingDir.status, 2);
    EXPECT_NE(missingDir.err.find("cannot create"), std::string::npos);
}

}  // namespace
