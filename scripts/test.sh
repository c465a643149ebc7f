#!/usr/bin/env bash
# Builds Ostrel and runs every test twice: in a normal build and in a build
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

jobs=${OSTREL_JOBS:-2}
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DOSTREL_BUILD_TESTS=ON "$@"
  cmake --build "$dir" -j"$jobs"
  ctest --test-dir "$dir" -j"$jobs" --output-on-failure
}

run_suite build -DCMAKE_BUILD_TYPE=Release
run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DOSTREL_SANITIZE=ON -DOSTREL_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g"
echo "All tests passed, in the normal and the sanitizer build."
