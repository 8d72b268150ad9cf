#!/usr/bin/env bash
# Installs the Debian packages the build needs, and only when one is missing.
# Safe to run on every make: with everything present it checks and returns.
set -euo pipefail

packages=(g++ make cmake libgtest-dev libgmock-dev libbenchmark-dev librsvg2-bin clang-format
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64)
# make fuzz alone needs clang and its libFuzzer runtime.
if [ "${1:-}" = "--fuzz" ]; then
    packages=(make cmake clang libclang-rt-14-dev)
fi

missing=()
for pkg in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "bootstrap: missing packages: ${missing[*]}" >&2
    echo "bootstrap: run as root, or install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi

echo "bootstrap: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
