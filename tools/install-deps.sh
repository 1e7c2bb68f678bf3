#!/usr/bin/env bash
# Installs what building, testing and running Densimo need on Debian 12,
# skipping what is already there. Run as root (or with sudo available).
# Usage: install-deps.sh [extra package ...]
set -euo pipefail

packages=(build-essential cmake qt6-base-dev libgtest-dev libbenchmark-dev
          fonts-ipafont-gothic locales desktop-file-utils appstream "$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

run_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    run_root apt-get update -qq
    run_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests check that results do not change under a German locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "Generating the de_DE.UTF-8 locale"
    run_root sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    run_root locale-gen >/dev/null
fi
