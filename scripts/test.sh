#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# the fuzz targets with libFuzzer, and runs every test, fuzzer and benchmark
# once under CTest.
#
# The build fits a small machine: line tables only as debug information (the
# sanitizers' reports keep file and line), the tests' own code unoptimised,
# precompiled headers, and the lld linker. ccache keeps objects between runs;
# its sloppiness lets objects built with a precompiled header come from it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
cmake -S . -B build/test -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DCMAKE_C_FLAGS_DEBUG="-O1 -gline-tables-only" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld \
  -DCMAKE_MODULE_LINKER_FLAGS=-fuse-ld=lld \
  -DBV_TEST_CODE_OPTIONS=-O0 -DBV_UNITY=ON \
  -DBV_SANITIZE=ON -DBV_FUZZ=ON -DBV_TESTS=ON -DBV_BENCH=ON
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j "$(nproc)" --timeout 900 "$@"
