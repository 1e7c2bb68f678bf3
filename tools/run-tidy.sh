#!/usr/bin/env bash
# clang-tidy over the project's own sources with the builds' compile
# commands; any finding fails. The benchmarks are checked when the release
# build (which has them) exists. Usage: run-tidy.sh DEV_BUILD [RELEASE_BUILD]
set -euo pipefail
dev=$1
release=${2:-}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tidy=$(command -v clang-tidy || command -v clang-tidy-14)
git ls-files 'calc/*.cpp' 'cli/*.cpp' 'ui/*.cpp' 'tests/*.cpp' |
    xargs -P 2 -n 4 "$tidy" -p "$dev" --quiet
if [ -n "$release" ] && [ -f "$release/compile_commands.json" ]; then
    git ls-files 'bench/*.cpp' | xargs -P 2 -n 2 "$tidy" -p "$release" --quiet
fi
echo "clang-tidy: clean"
