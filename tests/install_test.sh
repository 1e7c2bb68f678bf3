#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that everything a
# desktop needs is in its place. Usage: install_test.sh BUILD_DIR
set -u
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "install failed" >&2; exit 1; }
failures=0
for f in bin/densimo bin/densimo-cli \
         share/applications/com.tavenor.Densimo.desktop \
         share/metainfo/com.tavenor.Densimo.metainfo.xml \
         share/icons/hicolor/16x16/apps/densimo.png \
         share/icons/hicolor/32x32/apps/densimo.png \
         share/icons/hicolor/48x48/apps/densimo.png \
         share/icons/hicolor/256x256/apps/densimo.png \
         share/icons/hicolor/scalable/apps/densimo.svg; do
    [ -s "$prefix/$f" ] || { echo "missing: $f" >&2; failures=$((failures + 1)); }
done
[ -x "$prefix/bin/densimo" ] || { echo "densimo is not executable" >&2; failures=$((failures + 1)); }
# The installed command-line tool works on its own.
[ "$("$prefix/bin/densimo-cli" convert 1A 0.8500 20)" == "0.8535" ] ||
    { echo "installed densimo-cli gives a wrong figure" >&2; failures=$((failures + 1)); }
exit $((failures > 0))
