#pragma once

// The help paragraphs on runs over many series, shared by estimate, tabs
// and meta-h (Usage.cpp, AnalysisUsage.cpp).

#define KESTRIN_BATCH_NOTE                                                       \
    "Many series in one run: several FILEs (or INPUTs), --files-from LIST,\n"    \
    "or --db with several Y fields (--y Y1,Y2,... or --y '*' for every numeric\n" \
    "field of the table but X) make one series each. The series are computed\n" \
    "in parallel and written as one tidy table, one row per result, in input\n" \
    "order: source, table, field, (tabs: interval,) n, D, M, H, b, r, (with\n"  \
    "--bootstrap: H_corrected, low, high, level, replicates, seed,) status.\n"  \
    "status is \"ok\", \"warning: ...\" or \"error: ...\" with the message a run\n" \
    "on that series alone prints; a failed series does not stop the others.\n"  \
    "Every number is the one that run computes, written with the shortest\n"   \
    "text that reads back to exactly the same double (NaN as an empty cell,\n" \
    "infinities as Inf and -Inf; null in JSON lines); pandas reads them\n"    \
    "exactly with read_csv(..., float_precision='round_trip'), its default\n" \
    "parser may miss the last bit. One series with\n"                         \
    "--format, -o, --jobs, --quiet or --files-from is a one-row table.\n"      \
    "On a terminal, standard error shows one updating progress line (series\n" \
    "done, failures, time elapsed and left); a summary line counts the series\n" \
    "and failures at the end. Exit status 1 when any row failed. Ctrl+C stops\n" \
    "the run (exit status 130): the rows written stay whole, and -o leaves its\n" \
    "FILE as it was.\n"

#define KESTRIN_BATCH_OPTIONS                                                    \
    "  --files-from LIST    also read the series named in LIST, one file name\n" \
    "                       a line (\"-\": the list from standard input)\n"      \
    "  --format FORM        the table's form: csv (the default; RFC 4180 with\n" \
    "                       a header line and LF line ends), tsv (a tab or line\n" \
    "                       end inside a name becomes a space) or jsonl (one\n"  \
    "                       JSON object per line); --json asks for jsonl\n"     \
    "  -o, --output FILE    write the table to FILE, which is replaced only\n"  \
    "                       once the new one is complete\n"                      \
    "  -j, --jobs N         series computed at once, 1 to 1024 (default: one\n" \
    "                       per core, or KESTRIN_THREADS)\n"                     \
    "  -q, --quiet          no progress line, and no summary line unless a\n"   \
    "                       series failed\n"
