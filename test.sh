#!/usr/bin/env bash
# Builds Kestrin with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test through CTest; then checks that the optimised build and the
# benchmarks still compile.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan

cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
