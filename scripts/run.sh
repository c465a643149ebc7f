#!/usr/bin/env bash
# Builds Ostrel and starts it. Arguments are handed to Ostrel (files to send).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"${OSTREL_JOBS:-2}" --target ostrel
exec ./build/app/ostrel "$@"
