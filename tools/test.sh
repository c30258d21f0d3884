#!/usr/bin/env bash
# Set-up, builds and the whole test suite: the README's test command.
#   1. the release build and every test (engine, windows offscreen, the real program under Xvfb);
#   2. the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. the fuzz targets (clang's libFuzzer), each for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
racine=$PWD
jobs=$(nproc)

bash tools/setup.sh

echo "== Release build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORVANEL_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure --timeout 600

echo "== Sanitizer build (address, undefined) and tests"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANEL_SANITIZE=ON -DORVANEL_BUILD_BENCH=OFF -DORVANEL_WERROR=ON
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$racine/tools/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure --timeout 900

echo "== Fuzz targets"
# clang 14 with its own runtime (libclang-rt-14-dev): the compiler and libFuzzer of one release.
CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANEL_FUZZ=ON -DORVANEL_WERROR=ON \
  -DORVANEL_BUILD_UI=OFF -DORVANEL_BUILD_TESTS=OFF -DORVANEL_BUILD_BENCH=OFF
cmake --build build-fuzz -j"$jobs"
secondes=${ORVANEL_FUZZ_SECONDES:-35}
for cible in fuzz_textes fuzz_conversions fuzz_position; do
  corpus=build-fuzz/corpus/$cible
  mkdir -p "$corpus"
  journal=build-fuzz/$cible.log
  if ! build-fuzz/tests/fuzz/$cible -max_total_time="$secondes" -timeout=10 -print_final_stats=1 \
       -artifact_prefix=build-fuzz/ "$corpus" >"$journal" 2>&1; then
    tail -n 60 "$journal"
    echo "$cible: FAILED"
    exit 1
  fi
  echo "$cible: $(grep -m1 '^Done' "$journal")"
done
echo "All builds and tests passed."
