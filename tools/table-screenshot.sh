#!/usr/bin/env bash
# Prints the default 1B table's HTML to PDF with headless Chromium and turns
# its first page into a PNG, to see the table as it comes off the printer.
# Usage: table-screenshot.sh DENSIMO_CLI OUTPUT_DIR
set -euo pipefail
cli=$(realpath "$1")
out=$(realpath -m "$2")
mkdir -p "$out"
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
"$cli" table 1B --format html --output "$out/table-1B.html"
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" --no-pdf-header-footer \
    --print-to-pdf="$out/table-1B.pdf" "file://$out/table-1B.html" 2>/dev/null
pdftoppm -png -r 100 -f 1 -l 2 "$out/table-1B.pdf" "$out/table-1B-page"
echo "pages: $(pdfinfo "$out/table-1B.pdf" | awk '/^Pages:/ {print $2}')"
ls "$out"/table-1B-page*.png
