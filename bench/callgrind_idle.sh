#!/usr/bin/env bash
# Instructions per idle frame of the whole simulator (plug-in, host and simulated game, tracing
# off), counted by callgrind: two runs of different length, so that start-up and the plug-in's
# loading cancel out of the difference.
#   bench/callgrind_idle.sh build/tools/gang-hideouts-sim
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 SIMULATOR [SHORT_FRAMES LONG_FRAMES]" >&2; exit 2; }
sim=$1
short=${2:-1000}
long=${3:-4000}
work=$(mktemp -d "$(dirname "$sim")/callgrind_idle.XXXXXX")
trap 'rm -rf "$work"' EXIT
instructions() {
    printf 'goto 0 0 0\nrun %s frames\n' "$1" >"$work/idle.scenario"
    valgrind --tool=callgrind --callgrind-out-file="$work/out" "$sim" --scenario "$work/idle.scenario" \
        >/dev/null 2>"$work/log"
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$work/log"
}
a=$(instructions "$short")
b=$(instructions "$long")
echo "instructions per idle frame: $(( (b - a) / (long - short) ))  ($short frames: $a, $long frames: $b)"
