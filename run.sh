#!/usr/bin/env bash
# Builds Kestrin and opens the workbench on the bundled sample series (the
# Nile minima profile). Without a display it runs the same analysis through
# kestrin-cli and prints it.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset release >/dev/null
targets=(kestrin kestrin-cli)
# The Python module, when pybind11 and numpy are there (build/release/python).
if ninja -C build/release -t targets all 2>/dev/null | grep -q '^kestrin_python:'; then
  targets+=(kestrin_python)
fi
cmake --build --preset release --target "${targets[@]}"

sample=samples/nile-minima-profile.txt

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/release/app/kestrin --import-text "$sample" "$@"
fi

cli=build/release/cli/kestrin-cli
echo "No display: printing the analysis of the bundled samples instead"
echo "(global H, text import: D 4, M 3)"
echo
for s in "$sample" samples/nile-minima.txt; do
  echo "== $s"
  "$cli" estimate "$s"
  echo
done
echo "== Sliding windows over $sample (width 100, spacing 10, D 6, best M)"
# head stops reading early: the tool's broken pipe is expected.
{ "$cli" sliding "$sample" --width 100 --spacing 10 || true; } | head -n 8
echo "   ..."
echo
"$cli" meta-h "$sample" --width 100 --spacing 10
