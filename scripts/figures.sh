#!/usr/bin/env bash
# Measures and prints the figures; asserts nothing (a figure that cannot be measured ends
# the script with an error). The native benchmarks of bench/, then under Wine: the list of
# 100,000 entries inside the program and changed on disk by another program
# (bench/wine/large_list_figures.cpp), the drop timings
# and a big file seen from outside (bench/wine/drop_figures.sh), the hotkey to the window
# shown (bench/wine/hotkey_figures.sh), the delivery rules dialog (bench/wine/rules_figures.sh),
# and the DevTools runs
# (bench/wine/devtools_figures.sh, skipped without Chromium).
# Usage: scripts/figures.sh   (JOTWELL_FIGURE_DROPS: drops per method, JOTWELL_FIGURE_CALLS:
# hotkey calls, 20 each unless set; JOTWELL_FIGURE_BEFORE: see the list figures below)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

step() { printf '\n==== %s ====\n' "$*"; }

step "figures: native benchmarks"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j"$jobs"
for bench in build/native/*_bench; do
  [ -x "$bench" ] && "$bench" --benchmark_min_time=0.2
done

step "figures: Windows build"
source scripts/wine-build.sh
jotwell_wine_build "$jobs"
bin=$PWD/$JOTWELL_WINE_BUILD

step "figures: the list of 100,000 entries inside the program, and its file changed on disk"
# JOTWELL_FIGURE_BEFORE: the folder of an earlier build's jotwell_list_figures.exe; the two
# then run by turns, three times each, so a change is seen against the same machine's load.
if [ -n "${JOTWELL_FIGURE_BEFORE:-}" ]; then
  for round in 1 2 3; do
    echo "-- before (round $round)"; bash cmake/wine-run.sh "$JOTWELL_FIGURE_BEFORE/jotwell_list_figures.exe"
    echo "-- now (round $round)"; bash cmake/wine-run.sh "$bin/jotwell_list_figures.exe"
  done
else
  bash cmake/wine-run.sh "$bin/jotwell_list_figures.exe"
fi

step "figures: the drop's own steps, inside the program"
bash cmake/wine-run.sh "$bin/jotwell_drop_step_figures.exe"

step "figures: drops and a big file, seen from outside the program"
bash bench/wine/drop_figures.sh "$bin" "${JOTWELL_FIGURE_DROPS:-20}"

step "figures: the hotkey that calls the window"
bash bench/wine/hotkey_figures.sh "$bin" "${JOTWELL_FIGURE_CALLS:-20}"

step "figures: the delivery rules dialog's finder and OK"
bash bench/wine/rules_figures.sh "$bin" "${JOTWELL_FIGURE_RULES:-10}"

step "figures: DevTools runs"
bash bench/wine/devtools_figures.sh "$bin"
