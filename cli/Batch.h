// The batch command: converts every row of a CSV stream with the header
// table,reading,temperature and writes one output row per input row.
#pragma once

#include <cstdio>
#include <string_view>

namespace densimo::cli {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;       // everything converted
inline constexpr int kExitRefused = 1;  // a value refused or a row malformed
inline constexpr int kExitUsage = 2;    // usage, input or output error

// Reads CSV from `in`, writes CSV to `out` and errors to `err`; `inputName`
// names the input in error messages. Returns one of the exit statuses.
int RunBatch(std::FILE* in, std::string_view inputName, std::FILE* out, std::FILE* err);

}  // namespace densimo::cli
