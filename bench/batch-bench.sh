#!/usr/bin/env bash
# Times kestrin-cli over many series (a release build):
#   10,000 text files of 1,000 values each, estimate with every core, with
#   one job, and as separate kestrin-cli calls from a shell loop (timed on
#   LOOP calls and scaled to all files); the peak memory with those and
#   with 100,000 inputs;
#   a CSV table of 64 columns x 100,000 rows, estimate --y '*': time and
#   peak memory (GNU time).
# Usage: bench/batch-bench.sh [KESTRIN_CLI] [WORK_DIR]
# (defaults: build/release/cli/kestrin-cli, a new temporary folder, removed
# afterwards).
set -euo pipefail

cli=$(realpath "${1:-build/release/cli/kestrin-cli}")
work=${2:-}
if [[ -z $work ]]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
files=${FILES:-10000}
values=${VALUES:-1000}
loop=${LOOP:-500}
cd "$work"

# Random walks from a fixed seed, so that every run reads the same data
# (kept when WORK_DIR already holds them).
[[ -f wide.csv ]] || python3 - "$files" "$values" <<'PY'
import os, random, sys
files, values = int(sys.argv[1]), int(sys.argv[2])
rng = random.Random(20261207)
os.makedirs("series", exist_ok=True)
with open("list.txt", "w") as names:
    for i in range(files):
        name = f"series/s{i:05d}.txt"
        y, lines = 0.0, []
        for _ in range(values):
            y += rng.gauss(0.0, 1.0)
            lines.append(repr(y))
        with open(name, "w") as f:
            f.write("\n".join(lines) + "\n")
        names.write(name + "\n")
columns = 64
with open("wide.csv", "w") as f:
    f.write("X," + ",".join(f"C{c}" for c in range(1, columns)) + "\n")
    walk = [0.0] * columns
    for row in range(100000):
        for c in range(1, columns):
            walk[c] += rng.gauss(0.0, 1.0)
        f.write(str(row) + "," + ",".join(f"{v:.6f}" for v in walk[1:]) + "\n")
PY

seconds() { local start end; start=$(date +%s.%N); "$@" > /dev/null 2>&1 || true; end=$(date +%s.%N); echo "$end - $start" | bc; }

cores=$(nproc)
all=$(seconds "$cli" estimate --files-from list.txt --quiet -o all.csv)
one=$(seconds "$cli" estimate --files-from list.txt --quiet --jobs 1 -o one.csv)
cmp all.csv one.csv
head -n "$loop" list.txt > loop.txt
looped=$(seconds bash -c "while read -r f; do \"$cli\" estimate \"\$f\" --json > /dev/null; done < loop.txt")
scaled=$(echo "$looped * $files / $loop" | bc -l)
printf 'estimate, %d files of %d values\n' "$files" "$values"
printf '  all %d cores     %8.2f s\n' "$cores" "$all"
printf '  --jobs 1         %8.2f s\n' "$one"
printf '  shell loop       %8.2f s (%d calls: %.2f s, scaled)\n' "$scaled" "$loop" "$looped"
printf '  loop / all cores %8.1f x\n' "$(echo "$scaled / $all" | bc -l)"
/usr/bin/time -v "$cli" estimate --files-from list.txt --quiet -o all.csv 2> time-all.txt
printf '  peak memory      %8d KiB (all cores; names held, at most a few series loaded)\n' \
    "$(sed -n 's/.*Maximum resident set size (kbytes): //p' time-all.txt)"

# 100,000 inputs (the list ten times over): memory holds the names, not the
# series.
for _ in $(seq 10); do cat list.txt; done > list-100k.txt
/usr/bin/time -v "$cli" estimate --files-from list-100k.txt --quiet -o all-100k.csv 2> time-100k.txt
printf '  100,000 inputs   %8s wall, %d KiB peak\n' \
    "$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' time-100k.txt)" \
    "$(sed -n 's/.*Maximum resident set size (kbytes): //p' time-100k.txt)"

/usr/bin/time -v "$cli" estimate --db wide.csv --table wide --x X --y '*' --quiet -o wide-out.csv 2> time.txt
printf "estimate --y '*', 64 columns x 100,000 rows (%s rows out)\n" "$(($(wc -l < wide-out.csv) - 1))"
grep -E 'Elapsed \(wall clock\)|Maximum resident set size' time.txt | sed 's/^\s*/  /'
