#!/usr/bin/env bash
# Renders the transfer window off screen, new, running and failed, as
# build/pictures/new.png, running.png and failed.png, and the About window as
# build/pictures/about.png. The transfers run in the simulated network, so the
# pictures come out the same every time. docs/transfer-window.png is a copy of
# new.png, docs/about-window.png a copy of about.png.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"${OSTREL_JOBS:-2}" --target ostrel_pictures
QT_QPA_PLATFORM=offscreen ./build/app/pictures/ostrel_pictures build/pictures
