#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite through CTest.
# Extra arguments are CMake options, e.g. -DVORBEL_SANITIZE=ON (use a separate build folder
# then: BUILD_DIR=build-asan scripts/test.sh -DVORBEL_SANITIZE=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
scripts/deps.sh
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
cd "$build_dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300
