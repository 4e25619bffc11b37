#include "cli/Usage.h"

#include "cli/BatchUsage.h"

namespace {

constexpr std::string_view kToolHelp = R"(Usage: kestrin-cli COMMAND [OPTIONS]

Estimates the scaling exponent H of a data series by the curve-length method,
with the same computations as the Kestrin workbench.

Commands:
  estimate FILE      H of the whole series in a text file
  tabs FILE|DOC.kst  H of each interval between tab positions
  import FILE        import a text file and save it as a Kestrin document
  info DOC.kst       show everything a Kestrin document holds
  tables DB          list the tables of a database file
  fields DB TABLE    list the fields of a table, in the table's order
  sliding INPUT      H in windows sliding along the series (the H curve)
  meta-h INPUT       Meta H: the H of the sliding-window H curve
  slopes INPUT       least-squares slope in windows along the series
  correlate INPUT    correlation of the sliding-window H with the slopes
  h-data INPUT       save the sliding-window H curve as a new document
  extract INPUT      save the points of an X range as a new document
  profile INPUT      save the profile (running sum of departures from the
                     mean) as a new document
  help [COMMAND]     show this help, or a command's

Wherever a command reads a text FILE, it reads a database table instead
with --db DB --table NAME --x FIELD --y FIELD (X from one field, Y from the
other). DB is an Access (.mdb, .accdb), SQLite (.sqlite, .sqlite3, .db) or
delimited text (.csv, .tsv, .txt with a header row) file. The window
analyses take as INPUT a text FILE (or --db) or a Kestrin document (.kst).
A text FILE of "-" is read from standard input; any other must be a
regular file.

Run 'kestrin-cli COMMAND --help' for a command's options and output.
The manual, "Kestrin Help" (Help > Kestrin Help, F1, in the workbench),
explains L(r), D, M, H, b and r, the fit plot, the bootstrap and its bias
table, the profile, every command and the file formats.

Every command writes text for people, or JSON with --json. Messages go to
standard error, each line starting "kestrin-cli:"; a warning names a result
that is computed but means nothing (a constant series, values read as
infinity, lags no window has) and is also listed under "warnings" in the
JSON. Exit status: 0 success, 1 a file could not be read or written, 2 the
command line could not be understood.
)";

// Shared paragraphs.
#define KESTRIN_TEXT_FILE_NOTE                                                   \
    "FILE holds one number per line, read as the workbench's text import\n"      \
    "reads it: a line that does not start with a number counts as 0, and the\n"  \
    "accepted values are numbered X = 0, 1, 2, ... A UTF-8 or UTF-16 byte-order\n" \
    "mark is honoured; LF, CR LF and CR end lines; a line over 64 MiB is an\n"   \
    "error. FILE \"-\" is standard input. A line that is not wholly a number\n"   \
    "(\"1,5\", \"7abc\", an empty line) is read as the number it starts with,\n" \
    "and a warning counts such lines. UTF-16 without a byte-order mark is\n"     \
    "recognised; a file holding NUL bytes otherwise (a document, any binary\n"  \
    "file) is refused; estimate and tabs open a name ending in .kst as a\n"     \
    "Kestrin document.\n"

#define KESTRIN_DATABASE_NOTE                                                    \
    "Instead of FILE, --db DB --table NAME --x FIELD --y FIELD reads every\n"    \
    "record of a database table as the workbench's database import does: X\n"   \
    "from one field, Y from the other, in the table's order. A record whose X\n"  \
    "or Y is empty or not a number is skipped (a warning says how many); a\n"    \
    "table whose every record is skipped so is an error, and so is delimited\n" \
    "text with a header row and no record; a database table without records\n"  \
    "is an empty series, as an empty text file is.\n"

#define KESTRIN_DATABASE_OPTIONS                                                 \
    "  --db DB              read a database file instead of FILE: Access\n"      \
    "                       (.mdb, .accdb), SQLite (.sqlite, .sqlite3, .db)\n"    \
    "                       or delimited text (.csv, .tsv, .txt)\n"             \
    "  --table NAME         the table to read (see 'kestrin-cli tables DB')\n"   \
    "  --x FIELD            the field read as X (see 'kestrin-cli fields')\n"    \
    "  --y FIELD            the field read as Y\n"

#define KESTRIN_FILTER_OPTION                                                    \
    "  --filter UNDER OVER  keep only values strictly between UNDER and OVER\n"  \
    "                       (whole numbers, 0 <= UNDER < OVER <= 2147483647)\n"

#define KESTRIN_PARAMETER_OPTIONS                                                \
    "  --D N                embedding dimension, 1 to 1000 (default 4)\n"        \
    "  --M N                number of lags, 2 to 100000 (default 3)\n"        \
    "  --r-min R            first lag of the fit, 1 to M - 1 (default 1): the\n" \
    "                       line runs through lags R..M, every lag's L(r) is\n"  \
    "                       still listed\n"

#define KESTRIN_JSON_NOTE                                                        \
    "JSON numbers read back to exactly the computed doubles (shortest\n"         \
    "round-trip text); a value that is not finite (NaN, infinity) is null.\n"   \
    "File names (\"file\", \"output\") keep their bytes: a byte that is not\n"  \
    "part of valid UTF-8 is written as \\udcXX (Python: os.fsencode).\n"

#define KESTRIN_BOOTSTRAP_OPTIONS                                                \
    "  --bootstrap          also bootstrap the estimate: a bias-corrected H\n"  \
    "                       and its 95 % interval from replicates of a model\n" \
    "  --replicates K       replicates, 1 to 100000 (default 200); fewer than\n" \
    "                       39 give H corrected but no 95 % interval\n"        \
    "  --seed S             seed of the replicates, 0 to 2^63-1 (default\n"     \
    "                       20240615); the same seed gives the same numbers\n" \
    "  --input KIND         noise, motion or auto (default): what the series\n" \
    "                       is; auto decides by DFA-1's alpha\n"

#define KESTRIN_METHOD_OPTION                                                    \
    "  --method WHICH       curve (the curve length), dfa (DFA-1), whittle\n"     \
    "                       (Whittle, fractional Gaussian noise) or all: also\n" \
    "                       print each method's H (with --bootstrap, its\n"      \
    "                       corrected H and interval) on a \"method\" line\n"

#define KESTRIN_METHOD_NOTE                                                      \
    "With --method, H is also estimated by the methods named, each for the\n"  \
    "series as the noise-or-motion decision reads it (--input chooses): DFA-1\n" \
    "gives alpha for a noise and alpha - 1 for a motion; Whittle fits the\n"   \
    "fractional Gaussian noise spectrum to the series (a noise) or to its\n"   \
    "increments (a motion) and gives its asymptotic standard error. With\n"    \
    "--bootstrap every method is bootstrapped from the same replicates (the\n" \
    "same seed: the same simulated paths at every trial H) and a \"methods\"\n" \
    "line says whether their intervals overlap; a \"series\" line gives the\n"  \
    "reading they follow. JSON adds \"methods_series\", \"methods\": [{\"method\",\n" \
    "\"H\", (whittle:) \"standard_error\", \"frequencies\", (dfa:) \"alpha\",\n" \
    "\"scales\", (with --bootstrap:) \"H_corrected\", \"low\", \"high\"}, ...]\n" \
    "(tabs: one {\"label\", \"methods\"} per interval) and \"intervals_overlap\".\n" \
    "The \"methods\" line names a method left without an interval (its H not\n" \
    "reached, or too few replicates), which it does not compare.\n"              \
    "Over many series a \"method\" column follows the names (and the\n"        \
    "interval), and each series (or interval) gives one row per method, in\n"  \
    "the order curve, dfa, whittle: the curve length's row as without\n"       \
    "--method, the others' with their H (and with --bootstrap their corrected\n" \
    "H and interval) and D, M, b and r left empty.\n"

#define KESTRIN_BOOTSTRAP_NOTE                                                   \
    "With --bootstrap, the series is first decided noise or motion by the\n"   \
    "alpha of detrended fluctuation analysis (DFA-1): below 0.9 a noise, above\n" \
    "1.1 a motion, between the two unclear (estimated as a motion; choose with\n" \
    "--input). The curve-length H of a noise is not its Hurst exponent:\n"      \
    "estimate its profile (kestrin-cli profile). K replicates of the model\n"  \
    "(fractional Brownian motion for a motion, fractional Gaussian noise for a\n" \
    "noise, the profile of fractional Gaussian noise for a document made by\n" \
    "profile) of the same length are estimated with the same D and M for each\n" \
    "trial H in [0.008, 0.992]; bisection finds the H whose replicates' median\n" \
    "equals the estimate (H corrected) and the H whose 97.5 % and 2.5 %\n"    \
    "quantiles do (the interval's ends). Each is printed to the digits its\n" \
    "Monte-Carlo error supports; one beyond the range reads \"\xE2\x89\xA5 0.99\" or\n" \
    "\"\xE2\x89\xA4 0.01\". An estimate beyond every replicate at the range's edge is\n" \
    "reported as not reached (null). The model check compares the corrected H\n" \
    "of D 4 M 3, D 1 M 10 and D 6 with the best M against the spread that\n" \
    "replicates of the model show; a larger spread says the data are not like\n" \
    "the model.\n"

constexpr std::string_view kEstimateHelp =
    "Usage: kestrin-cli estimate FILE [--D N] [--M N] [--r-min R] [--filter UNDER OVER]\n"
    "         [--bootstrap [--replicates K] [--seed S] [--input KIND]]\n"
    "         [--method curve|dfa|whittle|all] [--json]\n"
    "       kestrin-cli estimate --db DB --table NAME --x FIELD --y FIELD [--D N] [--M N] [--r-min R] [--json]\n"
    "       kestrin-cli estimate (FILE... | --files-from LIST | --db DB ... --y Y1,Y2,...|'*')\n"
    "         [--format csv|tsv|jsonl] [-o FILE] [--jobs N] [--quiet] [options as above]\n"
    "\n"
    "Imports FILE and prints the H estimate of the whole series: n, D, M, H,\n"
    "b, r and the table of L(r), log10 r and log10(L(r)/r) for r = 1..M.\n"
    "A Kestrin document (a name ending in .kst) is opened instead, with its\n"
    "own D and M.\n"
    "\n" KESTRIN_TEXT_FILE_NOTE KESTRIN_DATABASE_NOTE
    "An import sets D 4 and M 3 (first lag 1); --D, --M and --r-min then\n"
    "change them as the workbench's global parameters do.\n"
    "\n"
    KESTRIN_BOOTSTRAP_NOTE
    "\n" KESTRIN_METHOD_NOTE
    "\n"
    "Options:\n" KESTRIN_PARAMETER_OPTIONS KESTRIN_BOOTSTRAP_OPTIONS KESTRIN_METHOD_OPTION KESTRIN_FILTER_OPTION KESTRIN_DATABASE_OPTIONS
    "  --json               write JSON instead of text\n" KESTRIN_BATCH_OPTIONS
    "  -h, --help           show this help\n"
    "\n" KESTRIN_BATCH_NOTE
    "\n"
    "Examples: every file of a folder, and every station column of a CSV\n"
    "table, each as one row:\n"
    "  kestrin-cli estimate eeg/*.txt --D 4 --M 10 -o estimates.csv\n"
    "  kestrin-cli estimate --db stations.csv --table stations --x Day --y '*'\n"
    "  find data -name '*.txt' | kestrin-cli estimate --files-from - --format jsonl\n"
    "\n"
    "Text output: one \"name value\" line each for n, D, M, H, b, r (and with\n"
    "--bootstrap a \"bootstrap\" line and the lines \"model\", \"precision\",\n"
    "\"check\" and \"note\"), then the table; H, b, r, L(r) and the\n"
    "logarithms have 6 decimals.\n"
    "An H of 0.98 or more (or one the bootstrap reaches from no H below the\n"
    "range's top) is warned of as smoother than any fractional Brownian motion,\n"
    "and an estimate from fewer than 128 values as varying by 0.1 or more.\n"
    "JSON output: {\"version\", \"file\", (with --db: \"table\", \"x_field\",\n"
    "  \"y_field\",) \"n\", \"D\", \"M\", \"H\", \"b\", \"r\", \"r_min\" (the first lag\n"
    "  fitted), \"intercept\", \"slope_se\" (the slope's least-squares standard\n"
    "  error, null for M < 3), \"fit\": {\"log_r\", \"log_L_over_r\"} (the points\n"
    "  fitted), (with --bootstrap: \"bootstrap\":\n"
    "  {\"replicates\", \"seed\", \"level\", \"H_corrected\", \"low\", \"high\",\n"
    "  \"model\", \"input\", \"series_kind\", \"alpha\", \"series_label\",\n"
    "  \"H_corrected_bound\", \"low_bound\", \"high_bound\" (\"value\", \"at_or_above\",\n"
    "  \"at_or_below\"), \"mc_error\", \"use_more_replicates\", \"model_check\":\n"
    "  {\"statistic\", \"threshold\", \"p_value\", \"passed\", \"settings\"},\n"
    "  \"grid_quantiles\": [the three quantiles], \"grid\": [{\"h\", \"quantiles\"},\n"
    "  ...] (every H tried, ascending, with the replicates' quantiles there),\n"
    "  \"notes\"},)\n"
    "  \"lags\": [{\"r\", \"L\", \"log10_r\", \"log10_L_over_r\"}, ...]}\n" KESTRIN_JSON_NOTE;

constexpr std::string_view kTabsHelp =
    "Usage: kestrin-cli tabs FILE (--at T1,T2,... | --every INTERVAL) [--D N] [--M N] [--r-min R]\n"
    "                   [--filter UNDER OVER]\n"
    "                   [--bootstrap [--replicates K] [--seed S] [--input KIND]]\n"
    "                   [--method curve|dfa|whittle|all] [--json]\n"
    "       kestrin-cli tabs DOC.kst [--at T1,T2,... | --every INTERVAL] [--D N] [--M N] [--r-min R] [--json]\n"
    "       kestrin-cli tabs --db DB --table NAME --x FIELD --y FIELD (--at T1,T2,... | --every INTERVAL)\n"
    "                   [--D N] [--M N] [--r-min R] [--json]\n"
    "       kestrin-cli tabs (FILE... | --files-from LIST | --db DB ... --y Y1,Y2,...|'*')\n"
    "                   (--at T1,T2,... | --every INTERVAL) [--format csv|tsv|jsonl] [-o FILE]\n"
    "                   [--jobs N] [--quiet] [options as above]\n"
    "\n"
    "Imports FILE and estimates H in each interval between tab positions, as\n"
    "the workbench's ruler does: [smallest X, T1), [T1, T2), ..., [Tk, largest X).\n"
    "The largest X itself falls in no interval. Each interval is labelled with\n"
    "its upper X bound. A tab beyond the largest X ends an interval that holds\n"
    "the largest X too, and the intervals after it hold no values (labelled\n"
    "with the largest X); a warning names such tabs. The workbench shows the\n"
    "same intervals for the same tabs.\n"
    "A Kestrin document (a name ending in .kst) is opened instead; without\n"
    "--at its saved tabs are used, each interval with its saved D, M and first\n"
    "lag (--D, --M and --r-min, when given, replace them in every interval).\n"
    "\n" KESTRIN_TEXT_FILE_NOTE KESTRIN_DATABASE_NOTE
    "\n"
    "Options:\n"
    "  --at T1,T2,...       tab positions: whole numbers, commas between them,\n"
    "                       negative numbers allowed; sorted ascending. Without\n"
    "                       --at or --every, or with an empty list, there are no\n"
    "                       intervals (but for a document's saved tabs).\n"
    "  --every INTERVAL     tabs as the workbench's Auto-Tab places them: at the\n"
    "                       smallest X + INTERVAL, + 2 INTERVAL, ... below the\n"
    "                       largest X (at most 10000), each truncated toward\n"
    "                       zero to a tab position; an INTERVAL below 1, which\n"
    "                       would put several tabs at one position, is refused.\n" KESTRIN_PARAMETER_OPTIONS
        KESTRIN_BOOTSTRAP_OPTIONS KESTRIN_METHOD_OPTION KESTRIN_FILTER_OPTION KESTRIN_DATABASE_OPTIONS
    "  --json               write JSON instead of text\n" KESTRIN_BATCH_OPTIONS
    "  -h, --help           show this help\n"
    "\n" KESTRIN_BATCH_NOTE
    "Over many series the tabs come from --at or --every (the same for every\n"
    "series), one row per interval.\n"
    "\n"
    "Text output: D and M, then one line per interval: upper bound (its label),\n"
    "D, M, n, H, b, r (H, b, r with 6 decimals); with --bootstrap then the\n"
    "lines \"bootstrap LABEL\", \"model LABEL\", ... per interval, and a line\n"
    "\"differs LABEL from PREVIOUS: the 95 % intervals do not overlap\" where an\n"
    "interval's 95 % interval shares no point with that of the interval before\n"
    "it: the two H differ by more than the bootstrap's spread.\n"
    "JSON output: {\"version\", \"file\", (with --db: \"table\", \"x_field\",\n"
    "  \"y_field\",) \"D\", \"M\", \"tabs\": [sorted positions],\n"
    "  \"intervals\": [{\"label\", \"upper_bound\", \"D\", \"M\", \"n\", \"H\", \"b\", \"r\",\n"
    "  \"r_min\", \"intercept\", \"slope_se\", \"fit\" (as for estimate), (with\n"
    "  --bootstrap: \"bootstrap\": {...} as for estimate, and from the second\n"
    "  interval on \"differs_from_previous\": true, false, or null when either\n"
    "  interval gives no 95 % interval)}, ...]}\n" KESTRIN_BOOTSTRAP_NOTE KESTRIN_METHOD_NOTE
    "With --method the \"method LABEL\" lines of each interval follow.\n" KESTRIN_JSON_NOTE;

constexpr std::string_view kImportHelp =
    "Usage: kestrin-cli import FILE -o DOC.kst [--at T1,T2,...] [--filter UNDER OVER] [--json]\n"
    "       kestrin-cli import --db DB --table NAME --x FIELD --y FIELD -o DOC.kst [--at T1,T2,...] [--json]\n"
    "\n"
    "Imports FILE (with D 4 and M 3) and saves the result as a Kestrin\n"
    "document. An existing DOC.kst is replaced only once the new one has been\n"
    "written completely; DOC.kst may not be FILE itself. A document made\n"
    "from a database keeps the names of the file, the table and the fields.\n"
    "\n" KESTRIN_TEXT_FILE_NOTE KESTRIN_DATABASE_NOTE
    "\n"
    "Options:\n"
    "  -o, --output DOC.kst the document to write (required)\n"
    "  --at T1,T2,...       tabs to save with the document (as for tabs); the\n"
    "                       workbench shows them on the ruler\n" KESTRIN_FILTER_OPTION KESTRIN_DATABASE_OPTIONS
    "  --json               write JSON instead of text\n"
    "  -h, --help           show this help\n"
    "\n"
    "Text output: one line naming the number of values and the document.\n"
    "JSON output: {\"file\", (with --db: \"table\", \"x_field\", \"y_field\",)\n"
    "  \"output\", \"points\", \"tabs\": [sorted positions]}\n";

constexpr std::string_view kTablesHelp =
    "Usage: kestrin-cli tables DB [--json]\n"
    "\n"
    "Lists every table of the database file DB, system tables included, in\n"
    "the file's own order, then its views (SQLite): the names --table takes.\n"
    "A delimited text file holds one table.\n"
    "\n"
    "Options:\n"
    "  --json               write JSON instead of text\n"
    "  -h, --help           show this help\n"
    "\n"
    "Text output: one table name per line.\n"
    "JSON output: {\"file\", \"tables\": [names], (when there are views:)\n"
    "\"views\": [names]}\n";

constexpr std::string_view kFieldsHelp =
    "Usage: kestrin-cli fields DB TABLE [--json]\n"
    "\n"
    "Lists the fields of TABLE in the database file DB, in the table's order:\n"
    "the names --x and --y take.\n"
    "\n"
    "Options:\n"
    "  --json               write JSON instead of text\n"
    "  -h, --help           show this help\n"
    "\n"
    "Text output: one field name per line.\n"
    "JSON output: {\"file\", \"table\", \"fields\": [names]}\n";

constexpr std::string_view kInfoHelp =
    "Usage: kestrin-cli info DOC.kst [--points] [--windows] [--values] [--json]\n"
    "\n"
    "Opens a Kestrin document and prints every field it holds: D, M, database,\n"
    "table, X field, Y field, has data, H series, spacing, the number of points\n"
    "and of sliding windows, and the global estimator as saved: n, b, r, H,\n"
    "its own M' and D', and its lag table; then its saved tabs (in the\n"
    "ruler's order) and the intervals between them, each computed with its\n"
    "saved D and M.\n"
    "\n"
    "Options:\n"
    "  --points             also list every point of the series (X, Y)\n"
    "  --windows            also list every sliding-window result (X, H, r, b, n)\n"
    "  --values             also list the global estimator's values\n"
    "  --json               write JSON instead of text\n"
    "  -h, --help           show this help\n"
    "\n"
    "Text output: \"name value\" lines; names (database, table, fields) are\n"
    "quoted and escaped as JSON strings. H, b, r, L(r), the logarithms and\n"
    "window results have 6 decimals; X, Y, values and tabs are shown exactly\n"
    "(shortest round-trip text).\n"
    "JSON output: {\"file\", \"D\", \"M\", \"database\", \"table\", \"x_field\",\n"
    "  \"y_field\", \"has_data\", \"h_series\", \"spacing\", \"point_count\",\n"
    "  \"window_count\", \"estimator\": {\"n\", \"b\", \"r\", \"H\", \"M\", \"D\",\n"
    "  \"lags\": [{\"r\", \"L\", \"log10_r\", \"log10_L_over_r\"}, ...], \"values\": [...]},\n"
    "  \"tabs\": [values], \"intervals\": [{\"label\", \"upper_bound\", \"D\", \"M\", \"n\",\n"
    "  \"H\", \"b\", \"r\"}, ...],\n"
    "  \"points\": [{\"X\", \"Y\"}, ...], \"windows\": [{\"X\", \"H\", \"r\", \"b\", \"n\"}, ...]}\n"
    "with values, points and windows only when asked for. Names read from the\n"
    "document are shown as UTF-8 (bytes that are not UTF-8 are taken as\n"
    "Windows-1252).\n" KESTRIN_JSON_NOTE;

} // namespace

const char* ProgramVersion()
{
    return KESTRIN_VERSION;
}

std::string_view ToolHelp()
{
    return kToolHelp;
}

std::string_view CommandHelp(std::string_view command)
{
    if (const std::string_view analysis = AnalysisCommandHelp(command); !analysis.empty())
        return analysis;
    if (command == "estimate")
        return kEstimateHelp;
    if (command == "tabs")
        return kTabsHelp;
    if (command == "import")
        return kImportHelp;
    if (command == "tables")
        return kTablesHelp;
    if (command == "fields")
        return kFieldsHelp;
    return kInfoHelp;
}
