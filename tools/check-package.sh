#!/usr/bin/env bash
# Checks a built Debian package: computed dependencies, the recommended font,
# and the files a desktop needs. Usage: check-package.sh PACKAGE.deb
set -euo pipefail
deb=$1
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
contents=$(dpkg-deb -c "$deb")
echo "Depends: $depends"
echo "Recommends: $recommends"
grep -q 'libqt6widgets6' <<<"$depends" || { echo "Qt Widgets missing from Depends" >&2; exit 1; }
grep -q 'libc6' <<<"$depends" || { echo "libc6 missing from Depends" >&2; exit 1; }
grep -q 'fonts-ipafont-gothic' <<<"$recommends" || { echo "font not recommended" >&2; exit 1; }
for f in ./usr/bin/densimo ./usr/bin/densimo-cli \
         ./usr/share/applications/com.tavenor.Densimo.desktop \
         ./usr/share/metainfo/com.tavenor.Densimo.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/densimo.svg; do
    grep -q " $f\$" <<<"$contents" || { echo "missing from the package: $f" >&2; exit 1; }
done
echo "package ok: $deb"
