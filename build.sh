#!/usr/bin/env bash
# Installs what is missing from Debian's packages, builds, and runs the tool or the tests.
#   ./build.sh run    build and run "SvqPeek -t" on the sample dictionary
#   ./build.sh test   build and run every test, then again under ASan and UBSan
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  cmake g++ make pkg-config ccache clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  dpkg-dev file
  gettext groff-base man-db libicu-dev libxml2-dev libxml2-utils libexpat1-dev
  libfontconfig-dev libpango1.0-dev libcairo2-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation2 fonts-wqy-microhei fonts-terminus-otb
  unixodbc unixodbc-dev odbcinst libsqliteodbc
)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
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
    ;;
  *)
    echo "usage: $0 run | test" >&2
    exit 2
    ;;
esac
