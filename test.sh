#!/usr/bin/env bash
# Builds Kestrin with AddressSanitizer and UndefinedBehaviorSanitizer, asserts
# and the standard library's checks on, and runs every test through CTest.
# The benchmarks are compiled in the same tree (not run), so that they cannot
# rot unseen. The Python module's tests (pytest, registered as the CTest
# test python.pytest) run on the sanitized module, with the sanitizer
# runtimes preloaded into /usr/bin/python3.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan
