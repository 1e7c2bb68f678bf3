// densimo-cli: the command-line companion of the Densimo window. It calls the
// same conversion procedure, so every figure equals the window's.
#include "Cli.h"

#include <cstdio>

int main(int argc, char** argv)
{
    return densimo::cli::RunCli(argc, argv, stdin, stdout, stderr);
}
