#!/usr/bin/env bash
# Writes the trace of every bundled scenario (with the build its scenario test uses) and of the
# demo under several seeds into DIR, one file each, so that two builds of the simulator can be
# compared byte for byte:
#   bench/write_traces.sh build/tools/gang-hideouts-sim before/
#   bench/write_traces.sh build/tools/gang-hideouts-sim after/ && cmp-dirs: diff -r before after
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 SIMULATOR DIR" >&2; exit 2; }
sim=$1
out=$2
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
# The scenario/build pairs live in one place: the list the scenario tests are made from.
pairs=$(sed -n '/^set(scenarioBuilds/,/^)/p' "$root/tests/scenario_builds.cmake" | grep -Eo '^ +[a-z0-9_]+ +[0-9]+h')
[ -n "$pairs" ] || { echo "$0: no scenario list found in tests/scenario_builds.cmake" >&2; exit 2; }
while read -r scenario build; do
    "$sim" --build "$build" --scenario "$root/scenarios/$scenario.scenario" \
        --trace "$out/$scenario-$build.jsonl" >/dev/null
done <<<"$pairs"
for seed in 2 7; do
    "$sim" --build 06h --seed "$seed" --trace "$out/demo-06h-seed$seed.jsonl" >/dev/null
done
ls "$out" | wc -l | xargs echo "traces written:"
