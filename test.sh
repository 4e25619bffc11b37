#!/usr/bin/env bash
# Builds Kestrin with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test through CTest. The optimised benchmarks are compiled too (not
# run), so that they cannot rot unseen.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset asan
cmake --build --preset asan -j "$jobs"

cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs" --target kestrin-bench

ctest --preset asan
