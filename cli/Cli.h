// Command dispatch of densimo-cli: convert, batch, --help and --version.
#pragma once

#include <cstdio>

namespace densimo::cli {

// Runs the command line `argv[0..argc)` with the given streams and returns
// the exit status (0 converted, 1 refused, 2 usage or I/O error).
int RunCli(int argc, const char* const* argv, std::FILE* in, std::FILE* out, std::FILE* err);

}  // namespace densimo::cli
