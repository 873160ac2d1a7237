#!/usr/bin/env bash
# An optimised build of the programs and tools in build/release.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DBV_TESTS=OFF -DBV_BENCH=ON >/dev/null
cmake --build build/release
