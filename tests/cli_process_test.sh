#!/usr/bin/env bash
# Drives the densimo-cli executable from outside: what it prints on which
# stream, its exit statuses, files and pipes. Usage: cli_process_test.sh CLI DATA_DIR
set -u
cli=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# expect NAME STATUS STDOUT STDERR -- ARGS... : runs the CLI with stdin from $input
expect() {
    local name=$1 status=$2 out=$3 err=$4
    shift 5
    "$cli" "$@" <"${input:-/dev/null}" >"$work/out" 2>"$work/err"
    local got=$?
    [ "$got" -eq "$status" ] || fail "$name: exit status $got, expected $status"
    [ "$(cat "$work/out")" == "$out" ] || fail "$name: stdout [$(cat "$work/out")], expected [$out]"
    [ "$(cat "$work/err")" == "$err" ] || fail "$name: stderr [$(cat "$work/err")], expected [$err]"
}

expect "1A example" 0 "0.8535" "" -- convert 1A 0.8500 20
expect "1B transition" 0 "0.7874" "" -- convert 1B 0.7800 25
expect "1D unconverted" 0 "0.2080" "" -- convert 1D 0.2080 25
expect "negative temperature" 0 "0.8795" "" -- convert 1D 0.9000 -19
expect "refused density" 1 "" "密度範囲は 0.6120 ～ 1.0740 です" -- convert 1A 0.611 20
expect "refused temperature" 1 "" "温度範囲は -18.00 ～ 150.00 です" -- convert 1B 0.8500 150.01
expect "comma is no decimal point" 1 "" "密度範囲は 0.6120 ～ 1.0740 です" -- convert 1A 0,85 20
expect "version" 0 "densimo-cli 1.0.0.1" "" -- --version

"$cli" convert 1E 0.85 20 >"$work/out" 2>"$work/err"
[ $? -eq 2 ] && [ ! -s "$work/out" ] && grep -q "unknown table" "$work/err" ||
    fail "unknown table: expected exit 2 and a message"
"$cli" >"$work/out" 2>"$work/err"
[ $? -eq 2 ] && grep -q "missing command" "$work/err" || fail "no command: expected exit 2"

# Every example row: batch gives the stated texts, and each row equals what
# convert gives for the same texts.
"$cli" batch "$data/examples.csv" >"$work/batch.csv" 2>"$work/err"
[ $? -eq 1 ] || fail "batch examples: expected exit 1 (some rows are refused)"
diff -u "$data/examples.expected.csv" "$work/batch.csv" || fail "batch examples differ"
input="$data/examples.csv" expect "batch from stdin" 1 "$(cat "$data/examples.expected.csv")" "" -- batch
input="$data/examples.csv" expect "batch from -" 1 "$(cat "$data/examples.expected.csv")" "" -- batch -

tail -n +2 "$data/examples.expected.csv" | while IFS= read -r row; do
    # Rows of the form TABLE,READING,TEMPERATURE,DENSITY,MESSAGE without quoted commas.
    case $row in *'"'*) continue ;; esac
    IFS=, read -r table reading temperature density message <<<"$row"
    if [ -n "$density" ]; then
        got=$("$cli" convert "$table" "$reading" "$temperature" 2>&1)
        [ "$got" == "$density" ] || fail "convert $table $reading $temperature: $got, batch $density"
    else
        got=$("$cli" convert "$table" "$reading" "$temperature" 2>&1)
        [ "$got" == "$message" ] || fail "convert $table $reading $temperature: $got, batch $message"
    fi
done

# Input errors: a missing file, a directory.
"$cli" batch "$work/missing.csv" >"$work/out" 2>"$work/err"
[ $? -eq 2 ] && grep -q "cannot open" "$work/err" || fail "missing file: expected exit 2"
"$cli" batch "$work" >"$work/out" 2>"$work/err"
[ $? -eq 2 ] && grep -q "cannot read" "$work/err" || fail "directory: expected exit 2"

# Output errors are never a silent success.
if [ -w /dev/full ]; then
    "$cli" batch "$data/examples.csv" >/dev/full 2>"$work/err"
    [ $? -eq 2 ] && grep -q "cannot write" "$work/err" || fail "/dev/full: expected exit 2"
    "$cli" convert 1A 0.8500 20 >/dev/full 2>"$work/err"
    [ $? -eq 2 ] && grep -q "cannot write" "$work/err" || fail "convert to /dev/full: expected exit 2"
fi

# A file that cannot be read (reading /proc/self/mem at offset 0 fails with EIO).
if [ -r /proc/self/mem ]; then
    "$cli" batch /proc/self/mem >"$work/out" 2>"$work/err"
    [ $? -eq 2 ] && grep -q "cannot read" "$work/err" || fail "unreadable file: expected exit 2"
fi

# A reader that goes away early: the command ends quietly, whether SIGPIPE
# kills it or is ignored and the write fails with EPIPE.
{
    echo "table,reading,temperature"
    for _ in $(seq 20000); do echo "1B,0.7800,25"; done
} >"$work/many.csv"
"$cli" batch "$work/many.csv" 2>"$work/err" | head -1 >/dev/null
[ ! -s "$work/err" ] || fail "closed pipe: unexpected message $(cat "$work/err")"
(trap '' PIPE; "$cli" batch "$work/many.csv" 2>"$work/err" | head -1 >/dev/null)
[ ! -s "$work/err" ] || fail "closed pipe, SIGPIPE ignored: unexpected message $(cat "$work/err")"
(trap '' PIPE; "$cli" table 1D 2>"$work/err" | head -1 >/dev/null)
[ ! -s "$work/err" ] || fail "table to a closed pipe: unexpected message $(cat "$work/err")"

# Bytes that are not text: the row is reported, the output stays UTF-8 without NUL.
printf 'table,reading,temperature\n1A,0.85\377,20\n1A,0.8500\000,20\n1A,0.8500,20\n' >"$work/bytes.csv"
"$cli" batch "$work/bytes.csv" >"$work/out" 2>"$work/err"
[ $? -eq 1 ] || fail "invalid bytes: expected exit 1"
[ "$(wc -l <"$work/out")" -eq 4 ] || fail "invalid bytes: expected 4 output lines"
iconv -f UTF-8 -t UTF-8 "$work/out" >/dev/null 2>&1 || fail "invalid bytes: output is not UTF-8"
[ "$(tr -d '\000' <"$work/out" | wc -c)" -eq "$(wc -c <"$work/out")" ] || fail "NUL in the output"
[ "$(grep -c 'not UTF-8 text' "$work/out")" -eq 2 ] || fail "invalid bytes: rows not reported"
tail -1 "$work/out" | grep -q '^1A,0.8500,20,0.8535,$' || fail "invalid bytes: the row after them"

# A 10 MB line is one row like any other, and the rows after it still come.
{
    echo "table,reading,temperature"
    printf '1A,0.85'
    head -c 10000000 /dev/zero | tr '\0' '0'
    printf ',20\n1B,0.7800,25\n'
} >"$work/long.csv"
"$cli" batch "$work/long.csv" >"$work/out" 2>"$work/err"
[ $? -eq 0 ] || fail "10 MB line: expected exit 0"
[ "$(wc -l <"$work/out")" -eq 3 ] || fail "10 MB line: expected 3 output lines"
tail -1 "$work/out" | grep -q '^1B,0.7800,25,0.7874,$' || fail "10 MB line: the row after it"
[ "$(sed -n 2p "$work/out" | cut -d, -f4)" == "0.8535" ] || fail "10 MB line: its own result"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "all command-line checks passed"
