#!/usr/bin/env bash
# Installs what is missing from Debian's packages, builds, and runs the tool or the tests.
#   ./build.sh run    build and run "SvqPeek -t" on the sample dictionary
#   ./build.sh test   build and run every test, then again under ASan and UBSan, and
#                     the parallel path of svq stats under TSan
#   ./build.sh package
#                     the Debian packages of a hardened Release build with shared
#                     libraries, in build-deb/
#   ./build.sh fuzz [SECONDS]
#                     build the fuzz targets with clang and run each for SECONDS (60)
#   ./build.sh fuzz-coverage
#                     line coverage of svq/, language/ and xml/ by the fuzz corpora
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  cmake g++ make pkg-config ccache clang-format
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev chromium hyperfine
  dpkg-dev file lintian devscripts
  gettext groff-base man-db libicu-dev libxml2-dev libxml2-utils libexpat1-dev
  libfontconfig-dev libpango1.0-dev libcairo2-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation2 fonts-wqy-microhei fonts-terminus-otb
  unixodbc unixodbc-dev odbcinst libsqliteodbc
  python3-translate python3-lxml jq locales
)

# Only the fuzz command needs clang and its fuzzer runtime.
FUZZ_PACKAGES=(clang libclang-rt-14-dev llvm)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# build DIR [--target T] [cmake options...]
build() {
  local dir=$1
  shift
  local target=()
  if [ "${1:-}" = --target ]; then
    target=(--target "$2")
    shift 2
  fi
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$dir" "${launcher[@]}" "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)" "${target[@]}"
}

# fuzz_one DIR TARGET SECONDS: one target from its corpus and seeds; its log is
# DIR/NAME.log, and DIR/NAME.failed marks a finding.
fuzz_one() {
  local dir=$1 target=$2 seconds=$3 name dict
  name=$(basename "$target")
  mkdir -p "$dir/corpus/$name" "$dir/seeds/$name"
  case $name in
    sv_fuzz_report) dict=(-dict=fuzz/dict/svq.dict) ;;
    sv_fuzz_xml_reader | sv_fuzz_language_xml) dict=(-dict=fuzz/dict/xml.dict) ;;
    sv_fuzz_locale_code) dict=(-dict=fuzz/dict/locale.dict) ;;
    sv_fuzz_parser) dict=(-dict=fuzz/dict/parser.dict) ;;
    sv_fuzz_convert) dict=(-dict=fuzz/dict/convert.dict) ;;
    *) dict=() ;;
  esac
  rm -f "$dir/$name.failed"
  LC_ALL=C.UTF-8 ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=32 UBSAN_OPTIONS=print_stacktrace=1 \
    "$target" -max_total_time="$seconds" -rss_limit_mb=256 -malloc_limit_mb=128 -timeout=10 \
    ${SV_FUZZ_SEED:+-seed="$SV_FUZZ_SEED"} \
    -print_final_stats=1 "${dict[@]}" -artifact_prefix="$dir/findings/$name-" \
    "$dir/corpus/$name" "$dir/seeds/$name" >"$dir/$name.log" 2>&1 || touch "$dir/$name.failed"
}

# fuzz SECONDS: every target from its seeds for SECONDS, one per core at a time; a
# finding fails the run and leaves its input in build-fuzz/findings. The corpora grow
# in build-fuzz/corpus. ASan's quarantine is kept small: freed memory it holds counts
# against -rss_limit_mb.
run_fuzz() {
  local seconds=$1 dir=build-fuzz
  build "$dir" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DSV_BUILD_FUZZ=ON \
    -DSV_BUILD_TESTS=OFF -DSV_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
  rm -rf "$dir/seeds"
  "$dir/fuzz/sv_fuzz_seeds" "$dir/seeds"
  mkdir -p "$dir/findings"
  local targets=() target name running=0 failed=()
  for target in "$dir"/fuzz/sv_fuzz_*; do
    [ "$(basename "$target")" = sv_fuzz_seeds ] || targets+=("$target")
  done
  echo "Fuzzing ${#targets[@]} targets for $seconds s each, $(nproc) at a time"
  for target in "${targets[@]}"; do
    if [ "$running" -ge "$(nproc)" ]; then
      wait -n || true
      running=$((running - 1))
    fi
    fuzz_one "$dir" "$target" "$seconds" &
    running=$((running + 1))
  done
  wait || true
  for target in "${targets[@]}"; do
    name=$(basename "$target")
    echo "== $name"
    if [ -e "$dir/$name.failed" ]; then
      failed+=("$name")
      tail -n 60 "$dir/$name.log"
    fi
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|DONE' \
      "$dir/$name.log" || true
  done
  if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzz findings in: ${failed[*]} (inputs in $dir/findings)" >&2
    return 1
  fi
}

# The corpora of build-fuzz run once through targets that record coverage.
fuzz_coverage() {
  local dir=build-fuzz-cov target name
  build "$dir" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DSV_BUILD_FUZZ=ON \
    -DSV_FUZZ_COVERAGE=ON -DSV_BUILD_TESTS=OFF -DSV_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
  rm -rf "$dir/profiles"
  local objects=()
  for target in "$dir"/fuzz/sv_fuzz_*; do
    name=$(basename "$target")
    [ "$name" = sv_fuzz_seeds ] && continue
    objects+=(-object "$target")
    mkdir -p "build-fuzz/corpus/$name" "build-fuzz/seeds/$name"
    LC_ALL=C.UTF-8 ASAN_OPTIONS=quarantine_size_mb=32 LLVM_PROFILE_FILE="$dir/profiles/$name.profraw" \
      "$target" -runs=0 -rss_limit_mb=256 -malloc_limit_mb=128 -artifact_prefix="$dir/$name-" \
      "build-fuzz/corpus/$name" "build-fuzz/seeds/$name" >"$dir/$name.log" 2>&1 ||
      echo "$name stopped early; see $dir/$name.log" >&2
  done
  llvm-profdata merge -sparse "$dir"/profiles/*.profraw -o "$dir/fuzz.profdata"
  llvm-cov report "${objects[@]:1}" -instr-profile="$dir/fuzz.profdata" \
    "$PWD/svq" "$PWD/language" "$PWD/xml"
}

run_tests() {
  local dir=$1
  ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
}

case "${1:-}" in
  run)
    install_missing
    build build --target SvqPeek
    ./build/app/SvqPeek -t examples/sample.svq
    ;;
  test)
    install_missing
    build build
    run_tests build
    build build-asan -DSV_SANITIZE=ON -DSV_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan
    # The parallel path of svq stats under ThreadSanitizer: its one test.
    build build-tsan --target sv_stats_tests -DSV_SANITIZE_THREAD=ON -DSV_BUILD_BENCH=OFF
    LC_ALL=C.UTF-8 TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/stats/sv_stats_tests \
      --gtest_filter='SvStatsThreads.*'
    ;;
  package)
    install_missing
    build build-deb -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DCMAKE_INSTALL_PREFIX=/usr \
      -DSV_BUILD_TESTS=OFF -DSV_BUILD_BENCH=OFF
    (cd build-deb && cpack -G DEB)
    ;;
  fuzz)
    install_missing "${FUZZ_PACKAGES[@]}"
    run_fuzz "${2:-60}"
    ;;
  fuzz-coverage)
    install_missing "${FUZZ_PACKAGES[@]}"
    fuzz_coverage
    ;;
  *)
    echo "usage: $0 run | test | package | fuzz [SECONDS] | fuzz-coverage" >&2
    exit 2
    ;;
esac
