#!/usr/bin/env bash
# Builds the benchmark in release mode and runs it against tftpd-hpa on loopback.
# Build output goes to stderr, so that standard output carries only the report.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh >&2
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DOSTREL_BUILD_TESTS=OFF >&2
cmake --build build-bench -j"${OSTREL_JOBS:-2}" --target ostrel_bench >&2
exec ./build-bench/bench/ostrel_bench "$@"
