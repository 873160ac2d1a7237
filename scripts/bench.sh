#!/usr/bin/env bash
# Runs the benchmarks on an optimised build. Pass a name filter to run fewer,
# e.g. scripts/bench.sh record
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-release.sh
filter=${1:-}
for b in build/release/bench/bench_*; do
  [ -x "$b" ] || continue
  [ -n "$filter" ] && [[ "$b" != *"$filter"* ]] && continue
  echo "== $(basename "$b")"
  "$b"
done
