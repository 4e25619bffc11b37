// The help texts of the window analyses.
#include "cli/Usage.h"

#include "cli/BatchUsage.h"

namespace {

#define KESTRIN_INPUT_NOTE                                                         \
    "INPUT is a Kestrin document (a name ending in .kst), opened as saved, or a\n" \
    "text file of one number per line, read as the workbench's text import\n"   \
    "reads it (X = 0, 1, 2, ...); --filter UNDER OVER and --db DB --table NAME\n" \
    "--x FIELD --y FIELD apply to it as in 'kestrin-cli estimate'.\n"

#define KESTRIN_INPUT_OPTIONS                                                      \
    "  --filter UNDER OVER  text INPUT only: keep values strictly between them\n" \
    "  --db DB --table NAME --x FIELD --y FIELD\n"                                \
    "                       read a database table instead of INPUT\n"

#define KESTRIN_WINDOW_NOTE                                                        \
    "Sliding windows: window k covers the points k*S to k*S + W - 1, for every\n" \
    "k with W + k*S less than the number of points (so a width of that number\n" \
    "or more gives no window). Each window's result is plotted at its first\n"   \
    "point + W * plot point, an offset in points; X adds the series' smallest X.\n" \
    "A .kst INPUT given without --width uses the results stored in it.\n"

#define KESTRIN_WINDOW_OPTIONS                                                     \
    "  --width W            points in a window (1 to 2147483647)\n"              \
    "  --spacing S          points between window starts (1 to 2147483647);\n"  \
    "                       required with --width\n"                             \
    "  --window-D N         D of every window, 1 to 1000 (default 6)\n"          \
    "  --window-M N         M of every window, 2 to 100000\n"                    \
    "  --window-best-m      M of every window = integer square root of W (the\n" \
    "                       default, as the workbench's \"Use Best\")\n"         \
    "  --window-r-min R     first lag of every window's fit, 1 to M - 1\n"     \
    "                       (default 1)\n"                                      \
    "  --plot-point P       where in its window a result is plotted, 0 to 1\n"   \
    "                       (default 0.5); without --width it moves the\n"      \
    "                       results stored in a .kst INPUT\n"

#define KESTRIN_COMMON_OPTIONS                                                     \
    "  --json               write JSON instead of text\n"                       \
    "  -h, --help           show this help\n"

#define KESTRIN_WINDOWS_JSON                                                       \
    "JSON output: {\"file\", (with --db: \"table\", \"x_field\", \"y_field\",)\n"  \
    "  \"windows\": {\"source\": \"computed\", \"width\", \"spacing\", \"D\", \"M\",\n"   \
    "    (\"r_min\" when not 1,)\n"                                                \
    "    \"plot_point\", \"count\"} or {\"source\": \"document\", \"spacing\",\n"      \
    "    (\"plot_point\" when moved,) \"count\"},\n"

#define KESTRIN_ANALYSIS_JSON_NOTE                                                 \
    "JSON numbers read back to exactly the computed doubles; a value that is\n" \
    "not finite is null.\n"

constexpr std::string_view kSlidingHelp =
    "Usage: kestrin-cli sliding INPUT --width W --spacing S [--window-D N]\n"
    "           [--window-M N | --window-best-m] [--window-r-min R] [--plot-point P]\n"
    "           [-o FILE] [--json]\n"
    "       kestrin-cli sliding DOC.kst [--plot-point P] [-o FILE] [--json]\n"
    "       kestrin-cli sliding INPUT --width W ... --bootstrap [--replicates K]\n"
    "           [--seed S] [--input noise|motion|auto]\n"
    "\n"
    "Estimates H in windows sliding along the series, as the workbench's\n"
    "\"Set Sliding Windows\" does, and prints one line per window.\n"
    "\n" KESTRIN_INPUT_NOTE "\n" KESTRIN_WINDOW_NOTE
    "\n"
    "Options:\n" KESTRIN_WINDOW_OPTIONS
    "  -o, --output FILE    write the results as the workbench's \"Text File\"\n"
    "                       export does (header \"X<tab>Y<tab>H<tab>r<tab>b\", then\n"
    "                       \"X,Y,H,r,b\" with 4 decimals, CR LF line ends; Y is the\n"
    "                       value of the series point with the result's index).\n"
    "                       An existing FILE is replaced only once the new one is\n"
    "                       complete; a failed write leaves it as it was (exit 1)\n"
    "  --bootstrap          also the interval band: each window's corrected H and\n"
    "                       95 % interval, read from one bootstrap grid shared by\n"
    "                       all windows (--replicates K, default 200; --seed S;\n"
    "                       --input as estimate takes it); the series is decided\n"
    "                       noise or motion as a whole, and the model is checked\n"
    "                       at the window width on non-overlapping windows\n" KESTRIN_INPUT_OPTIONS
        KESTRIN_COMMON_OPTIONS
    "\n"
    "Text output: a table of X (on the series' axis), H, r, b (6 decimals) and\n"
    "n (the window's number of values); with -o one line naming the file.\n"
    "With --bootstrap the table gains \"H corrected\", \"low\" and \"high\" (\"<=\" or\n"
    "\">=\" before an edge of the searched range, \"n/a\" when not reached), a\n"
    "line \"band\" states the replicates, seed, level, model and check, each\n"
    "result in JSON gains \"H_corrected\", \"low\", \"high\" and their \"_bound\"s,\n"
    "and \"band\" holds the same statement; -o appends the three columns.\n"
    KESTRIN_WINDOWS_JSON
    "  \"x_min\", \"results\": [{\"X\", \"offset\", \"H\", \"r\", \"b\", \"n\"}, ...]}\n"
    "(\"offset\" is the plot position as stored, X = offset + x_min); with -o,\n"
    "\"output\" instead of \"results\".\n" KESTRIN_ANALYSIS_JSON_NOTE;

constexpr std::string_view kMetaHHelp =
    "Usage: kestrin-cli meta-h INPUT [--width W --spacing S ...] [--D N]\n"
    "           [--M N | --best-m] [--r-min R] [--json]\n"
    "       kestrin-cli meta-h (INPUT... | --files-from LIST | --db DB ... --y Y1,Y2,...|'*')\n"
    "           [--format csv|tsv|jsonl] [-o FILE] [--jobs N] [--quiet] [options as above]\n"
    "\n"
    "Meta H, the H of the sliding-window H curve, as the workbench's \"View Meta\n"
    "H Data\" computes it: the H values of all sliding-window results, in\n"
    "window order, are taken as one series and estimated with Meta H's own D\n"
    "and M.\n"
    "\n"
    "Here --D and --M are Meta H's parameters, not the series' global ones\n"
    "they set in 'estimate' and 'tabs'; the windows' own D and M are\n"
    "--window-D and --window-M.\n"
    "\n" KESTRIN_INPUT_NOTE "\n" KESTRIN_WINDOW_NOTE
    "\n"
    "Options:\n"
    "  --D N                Meta H's D, 1 to 1000 (default 6)\n"
    "  --M N                Meta H's M, 2 to 100000\n"
    "  --best-m             Meta H's M = the number of sliding-window results\n"
    "                       (the default, as the workbench's \"Use Best M\")\n"
    "  --r-min R            Meta H's first lag of the fit, 1 to M - 1 (default 1)\n" KESTRIN_WINDOW_OPTIONS
        KESTRIN_INPUT_OPTIONS KESTRIN_BATCH_OPTIONS KESTRIN_COMMON_OPTIONS
    "\n" KESTRIN_BATCH_NOTE
    "\n"
    "Without sliding-window results there is no Meta H: a message on standard\n"
    "error and exit status 1.\n"
    "\n"
    "Text output: one \"name value\" line each for the windows used, n, D, M,\n"
    "H, b, r (6 decimals).\n"
    KESTRIN_WINDOWS_JSON "  \"n\", \"D\", \"M\", \"H\", \"b\", \"r\"}\n"
    KESTRIN_ANALYSIS_JSON_NOTE;

constexpr std::string_view kSlopesHelp =
    "Usage: kestrin-cli slopes INPUT --size N [--json]\n"
    "\n"
    "The least-squares slope of Y on X in windows of N consecutive points\n"
    "sliding one point at a time, as the workbench's \"Set Slope Windows\":\n"
    "window i covers the points i to i + N - 1, for every i with N + i less\n"
    "than the number of points. Each result sits at i + N/2 (integer\n"
    "division), an offset in points from the start of the series.\n"
    "\n" KESTRIN_INPUT_NOTE
    "\n"
    "Options:\n"
    "  --size N             points in a window, 2 to 5000 (required)\n" KESTRIN_INPUT_OPTIONS
        KESTRIN_COMMON_OPTIONS
    "\n"
    "Text output: a table of X (the offset + the series' smallest X, on the\n"
    "series' axis), offset (as stored) and slope (6 decimals).\n"
    "JSON output: {\"file\", (with --db: \"table\", \"x_field\", \"y_field\",)\n"
    "  \"size\", \"x_min\", \"count\",\n"
    "  \"results\": [{\"X\", \"offset\", \"slope\"}, ...]}\n" KESTRIN_ANALYSIS_JSON_NOTE;

constexpr std::string_view kCorrelateHelp =
    "Usage: kestrin-cli correlate INPUT [--width W --spacing S ...] --size N\n"
    "           [--offset K] [-o FILE] [--json]\n"
    "\n"
    "The slope/H correlation of the workbench's \"Correlation\" dialog: every\n"
    "sliding-window result is paired with the slope-window result (size N)\n"
    "whose whole position is K points to its left, positions taken on the\n"
    "series' axis and truncated; prints the Pearson correlation of the H\n"
    "values with the slopes and the number of pairs (matches).\n"
    "\n" KESTRIN_INPUT_NOTE "\n" KESTRIN_WINDOW_NOTE
    "\n"
    "Options:\n"
    "  --size N             slope window size, 2 to 5000 (required)\n"
    "  --offset K           offset in points, 0 to 5000 (default 0)\n" KESTRIN_WINDOW_OPTIONS
    "  -o, --output FILE    save the pairs as the dialog's \"Save Data\" does\n"
    "                       (header \"H<tab>Slope\", then \"H<tab>slope\" with 4\n"
    "                       decimals, CR LF line ends); a failed write leaves an\n"
    "                       existing FILE as it was (exit 1)\n" KESTRIN_INPUT_OPTIONS KESTRIN_COMMON_OPTIONS
    "\n"
    "Text output: \"name value\" lines for the windows, the slope windows, the\n"
    "offset, the correlation (6 decimals) and matches.\n"
    KESTRIN_WINDOWS_JSON
    "  \"size\", \"slope_count\", \"offset\", \"origin\" (the series' smallest X),\n"
    "  \"correlation\", \"matches\", (with -o:) \"output\"}\n" KESTRIN_ANALYSIS_JSON_NOTE;

constexpr std::string_view kHDataHelp =
    "Usage: kestrin-cli h-data INPUT [--width W --spacing S ...] -o DOC.kst [--json]\n"
    "\n"
    "Saves the sliding-window H curve as a new Kestrin document, as the\n"
    "workbench's \"Extract H Data\" > \"Kestrin Data\" makes it: one point per\n"
    "result (X on the series' axis, Y its H), a series of H values with the\n"
    "field names \"H\" and \"Series\", the source's database name and D, and M\n"
    "the integer square root of the number of results, at least 2; its\n"
    "global H is computed. Without sliding-window results nothing is written\n"
    "(exit 1).\n"
    "\n" KESTRIN_INPUT_NOTE "\n" KESTRIN_WINDOW_NOTE
    "\n"
    "Options:\n"
    "  -o, --output DOC.kst the document to write (required; an existing one\n"
    "                       is replaced only once the new one is complete)\n" KESTRIN_WINDOW_OPTIONS
        KESTRIN_INPUT_OPTIONS KESTRIN_COMMON_OPTIONS
    "\n"
    "Text output: one line naming the number of points and the document.\n"
    KESTRIN_WINDOWS_JSON "  \"x_min\", \"output\", \"points\", \"D\", \"M\"}\n";

// The options and output of the commands that save a new document of points.
#define KESTRIN_NEW_DOCUMENT_OPTIONS                                             \
    "  -o, --output DOC.kst the document to write (required; an existing one\n" \
    "                       is replaced only once the new one is complete)\n"   \
    KESTRIN_INPUT_OPTIONS KESTRIN_COMMON_OPTIONS                                 \
    "\n"                                                                         \
    "Text output: one line naming the number of points and the document.\n"    \
    "JSON output: {\"file\", (with --db: \"table\", \"x_field\", \"y_field\",)\n"

constexpr std::string_view kExtractHelp =
    "Usage: kestrin-cli extract INPUT [--from A] [--to B] -o DOC.kst [--json]\n"
    "\n"
    "Saves the series points whose X, truncated toward zero, lies from A to B\n"
    "(inclusive) as a new Kestrin document, as the workbench's \"Extract Data\"\n"
    "does; the names, D and M come along and its global H is computed. A and\n"
    "B default to the series' smallest and largest X; A greater than B, A\n"
    "below the smallest X and B above the largest X are refused.\n"
    "\n" KESTRIN_INPUT_NOTE
    "\n"
    "Options:\n"
    "  --from A             the lowest X to take (a number)\n"
    "  --to B               the highest X to take (a number)\n"
    KESTRIN_NEW_DOCUMENT_OPTIONS
    "  \"from\", \"to\", \"x_min\", \"x_max\", \"output\", \"points\"}\n";

constexpr std::string_view kProfileHelp =
    "Usage: kestrin-cli profile INPUT -o DOC.kst [--json]\n"
    "\n"
    "Saves the profile of the series as a new Kestrin document, as the\n"
    "workbench's \"Profile\" does: every point keeps its X, and its Y becomes\n"
    "the running sum of the departures of Y from the series' mean. The names,\n"
    "D and M come along and its global H is computed. Take the profile of a\n"
    "stationary, noise-like series (one whose H reads near or below 0.5, such\n"
    "as the Nile minima) before estimating H: the curve-length estimate is\n"
    "made for motion-like series (see the manual, Help > Kestrin Help).\n"
    "\n" KESTRIN_INPUT_NOTE
    "\n"
    "Options:\n"
    KESTRIN_NEW_DOCUMENT_OPTIONS
    "  \"output\", \"points\", \"H\"}\n";

} // namespace

std::string_view AnalysisCommandHelp(std::string_view command)
{
    if (command == "profile")
        return kProfileHelp;
    if (command == "sliding")
        return kSlidingHelp;
    if (command == "meta-h")
        return kMetaHHelp;
    if (command == "slopes")
        return kSlopesHelp;
    if (command == "correlate")
        return kCorrelateHelp;
    if (command == "h-data")
        return kHDataHelp;
    if (command == "extract")
        return kExtractHelp;
    return {};
}
