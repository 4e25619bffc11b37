#!/usr/bin/env bash
# Every header in the tree has a file name of its own: the sources include
# headers by bare name, so two headers of one name would make an include
# depend on the order of the include directories.
set -euo pipefail
cd "$(dirname "$0")/.."

dupes=$(git ls-files --cached --others --exclude-standard -- '*.h' '*.hpp' \
        | xargs -r -n1 basename | sort | uniq -d)
if [ -n "$dupes" ]; then
  echo "Header file names must be unique; these appear more than once:" >&2
  for name in $dupes; do
    git ls-files --cached --others --exclude-standard -- "*/$name" "$name" | sed 's/^/  /' >&2
  done
  exit 1
fi
