#!/usr/bin/env bash
# Builds the benchmark in release mode and runs it against tftpd-hpa on loopback.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DOSTREL_BUILD_TESTS=OFF
cmake --build build-bench -j"${OSTREL_JOBS:-2}" --target ostrel_bench
exec ./build-bench/bench/ostrel_bench "$@"
