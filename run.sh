#!/usr/bin/env bash
# Builds Kestrin and analyses the bundled sample series.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target kestrin-cli

cli=build/release/cli/kestrin-cli
echo "Kestrin: global H of the bundled samples (text import: D 4, M 3)"
echo
for sample in samples/nile-minima-profile.txt samples/nile-minima.txt; do
  echo "== $sample"
  "$cli" estimate "$sample"
  echo
done
