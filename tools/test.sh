#!/usr/bin/env bash
# The README's test command: set-up with the test toolchain, the formatting check, then
#   1. the release build (the same directory and flags as the README's first command, so a
#      build it made is reused) and every test;
#   2. the suite built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. the fuzz targets (clang's libFuzzer), each for a bounded time, side by side.
# Stages overlap where one waits and the other computes: the release tests (whose end-to-end
# runs mostly wait on an X server) run while the sanitizer and fuzzing builds compile, and the
# fuzzers run beside the sanitizer tests. Each stage writes its own log, shown when it fails.
set -euo pipefail
cd "$(dirname "$0")/.."
racine=$PWD
jobs=$(nproc)
debut=$SECONDS
journaux=$(mktemp -d)
trap 'rm -rf "$journaux"' EXIT

bash tools/setup.sh --tests

etape() { echo "== $1 ($((SECONDS - debut)) s)"; }

etape "Formatting (clang-format 14, the repository's .clang-format)"
# Every C and C++ source but the generated VSOP87 table, which its generator lays out.
mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c' | grep -v '^engine/VSOPEAR_data\.h$')
clang-format-14 --dry-run --Werror "${sources[@]}"

etape "Release build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$jobs"

etape "Release tests, beside the sanitizer and fuzzing builds"
ctest --test-dir build --output-on-failure --timeout 600 -j"$jobs" >"$journaux/release.log" 2>&1 &
release=$!

# Light optimisation and line tables only: the sanitizers need no more, and the build is half
# as long. Built from scratch, it takes every warning as an error (the first command's release
# build, reused above, does not: a packager's newer compiler must not fail on a new warning).
# One translation unit per target. Left to the release stage above:
# - the package and the second window manager's run, which add nothing the sanitizers would see;
# - what runs outside the build (the C compiler's test program, Debian's python3 and so the
#   Python module, which is not built here), since it cannot load an instrumented library;
# - the windows' Qt tests: here the sanitized program itself runs under Xvfb (test_e2e), driven
#   through every window as a user would;
# - the comparisons with ERFA and the three long runs of the same arithmetic over many rows (a
#   million rows of the series, a year of days per zone and sky, every legal time of ten zones
#   through the command line), which the engine's, legal time's and command line's own tests
#   cover here.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" \
  -DCMAKE_UNITY_BUILD=ON -DORVANEL_SANITIZE=ON -DORVANEL_BUILD_BENCH=OFF -DORVANEL_BUILD_PYTHON=OFF \
  -DORVANEL_WERROR=ON \
  >"$journaux/asan-build.log" 2>&1
cmake --build build-asan -j"$jobs" >>"$journaux/asan-build.log" 2>&1 ||
  { tail -n 80 "$journaux/asan-build.log"; exit 1; }

# clang 14 with its own runtime (libclang-rt-14-dev): the compiler and libFuzzer of one release.
# The fuzz targets alone, and what they link, at -O1 with line tables as libFuzzer suggests.
cibles=(fuzz_textes fuzz_conversions fuzz_position fuzz_horizon fuzz_lot fuzz_instants)
CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" -DORVANEL_FUZZ=ON -DORVANEL_WERROR=ON \
  -DORVANEL_BUILD_UI=OFF -DORVANEL_BUILD_TESTS=OFF -DORVANEL_BUILD_BENCH=OFF >"$journaux/fuzz-build.log" 2>&1
cmake --build build-fuzz -j"$jobs" --target "${cibles[@]}" >>"$journaux/fuzz-build.log" 2>&1 ||
  { tail -n 80 "$journaux/fuzz-build.log"; exit 1; }

if ! wait "$release"; then
  cat "$journaux/release.log"
  echo "Release tests: FAILED"
  exit 1
fi
grep -E '^[0-9]+% tests passed|^Total Test time' "$journaux/release.log"

etape "Sanitizer tests (address, undefined), beside the fuzz targets"
secondes=${ORVANEL_FUZZ_SECONDES:-10}
pids=()
for cible in "${cibles[@]}"; do
  # The run's own corpus first (where it writes), then the committed seeds.
  mkdir -p "build-fuzz/corpus/$cible"
  build-fuzz/tests/fuzz/$cible -max_total_time="$secondes" -timeout=10 -print_final_stats=1 \
    -artifact_prefix=build-fuzz/$cible- "build-fuzz/corpus/$cible" "tests/fuzz/corpus/$cible" \
    >"build-fuzz/$cible.log" 2>&1 &
  pids+=($!)
done

echec=0
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$racine/tools/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure --timeout 900 -j"$jobs" \
  -E '^(test_paquet|test_e2e_wm|liborvanel_installe|python_.*|documentation|Precision\..*|Erfa\..*|SerieSoleil\.AgreesWithTheDriverOverAMillionRows|OrvanelCli\.AYearIsThreeHundredAndSixtyFiveDays|TempsLegal\.EveryLegalTimeIsTheCLibrarys)$' || echec=1

for i in "${!cibles[@]}"; do
  cible=${cibles[$i]}
  if wait "${pids[$i]}"; then
    echo "$cible: $(grep -m1 '^Done' "build-fuzz/$cible.log")"
  else
    tail -n 60 "build-fuzz/$cible.log"
    echo "$cible: FAILED"
    echec=1
  fi
done
((echec == 0)) || exit 1
echo "All builds and tests passed in $((SECONDS - debut)) s."
