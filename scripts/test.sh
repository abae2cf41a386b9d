#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively (plain and under
# AddressSanitizer/UndefinedBehaviorSanitizer), the fuzz targets for a bounded time,
# then the cross-built Windows tests and the end-to-end tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
fuzz_seconds=${JOTWELL_FUZZ_SECONDS:-20}

step() { printf '\n==== %s ====\n' "$*"; }

step "native core build and tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure

step "core tests under AddressSanitizer and UndefinedBehaviorSanitizer, fuzz targets"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  -DJOTWELL_BENCH=OFF -DJOTWELL_FUZZ=ON >/dev/null
cmake --build build/asan -j"$jobs"
ctest --test-dir build/asan --output-on-failure
for fuzzer in build/asan/*_fuzz; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus=build/asan/corpus-$name
  mkdir -p "$corpus"
  seeds=tests/fuzz/seeds/${name%_fuzz}
  [ -d "$seeds" ] || seeds=""
  echo "fuzzing $name for ${fuzz_seconds}s"
  "$fuzzer" -max_total_time="$fuzz_seconds" -max_len=4096 -print_final_stats=0 "$corpus" $seeds 2>&1 | tail -n 3
done

step "benchmarks (figures only)"
for bench in build/native/*_bench; do
  [ -x "$bench" ] && "$bench" --benchmark_min_time=0.2
done

step "Windows build and tests under Wine"
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j"$jobs"
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  ctest --test-dir build/win --output-on-failure
else
  # Some kernels run no 32-bit program at all (Exec format error), and 32-bit Wine with them.
  # The 32-bit Jotwell.exe is still built and its imports checked; every other Windows test
  # runs on a 64-bit build of the same sources under the 64-bit Wine loader.
  echo "NOTE: this kernel cannot run 32-bit programs; the Wine tests run on a 64-bit build"
  ctest --test-dir build/win --output-on-failure -R '^windows7_imports$'
  export PATH=$PWD/cmake/wine64:$PATH
  cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build/win64 -j"$jobs"
  ctest --test-dir build/win64 --output-on-failure -E '^windows7_imports$'
fi
