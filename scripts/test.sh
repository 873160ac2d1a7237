#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# the fuzz targets with libFuzzer, and runs every test, fuzzer and benchmark
# once under CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

cmake -S . -B build/test -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DCMAKE_C_FLAGS_DEBUG="-O1 -g" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DBV_SANITIZE=ON -DBV_FUZZ=ON -DBV_TESTS=ON -DBV_BENCH=ON
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j "$(nproc)" --timeout 900 "$@"
