#pragma once

#include <optional>

#include "cli/Args.h"
#include "analysis/SlidingWindows.h"

class CCliUi;
class CJsonWriter;
class CKestrinDoc;

// The window options of every command that needs sliding-window results.
inline constexpr OptionDef kWidthOption{"--width", "", 1, "W"};
inline constexpr OptionDef kSpacingOption{"--spacing", "", 1, "S"};
inline constexpr OptionDef kWindowDOption{"--window-D", "", 1, "N"};
inline constexpr OptionDef kWindowMOption{"--window-M", "", 1, "N"};
inline constexpr OptionDef kWindowBestMOption{"--window-best-m", "", 0};
inline constexpr OptionDef kWindowRMinOption{"--window-r-min", "", 1, "R"};
inline constexpr OptionDef kPlotPointOption{"--plot-point", "", 1, "P"};

// The slope window size of the commands that compute slope windows.
inline constexpr OptionDef kSizeOption{"--size", "", 1, "N"};

// What the window options ask for: a fresh computation (--width given), or
// the results a document already holds, moved to a new plot point when
// --plot-point is given as the workbench's Set Plot Point does.
struct WindowOptions
{
    std::optional<SlidingWindowParams> compute;
    std::optional<double> plotPoint;
};

// Reads the window options. Without --width only a document (which holds
// results of its own) is accepted, with at most --plot-point. Every value
// is checked here, before any file is read: the sliding-window parameters'
// own refusals (a width or spacing of 0 or below, in the workbench's
// words), a plot point outside 0..1, --window-M with --window-best-m.
// Throws UsageError.
WindowOptions ReadWindowOptions(const ParsedArgs& parsed, bool inputIsDocument);

// The --size the slope-window commands need, within the sizes the
// workbench's dialog accepts; throws UsageError.
std::int32_t ReadSlopeWindowSize(const ParsedArgs& parsed);

// Makes doc's sliding-window results those the options ask for; warns
// through ui when the window M is larger than the windows have lags for.
void ObtainSlidingResults(CCliUi& ui, CKestrinDoc& doc, const WindowOptions& options);

// How the sliding-window results were obtained and how many there are:
// computed with the given width, spacing, D, M and plot point, or stored in
// the document with its spacing (and moved to a plot point when asked).
struct WindowSource
{
    bool computed = false;
    std::int32_t width = 0; // computed only
    std::int32_t spacing = 0;
    std::int32_t d = 0; // computed only
    std::int32_t m = 0; // computed only
    std::optional<double> plotPoint;
    int count = 0;
    std::int32_t rMin = 1; // computed only: the first lag of the windows' fits
};

WindowSource WindowSourceOf(const CKestrinDoc& doc, const WindowOptions& options);

// The JSON member "windows": {"source": "computed", "width", "spacing", "D",
// "M", ("r_min" when not 1,) "plot_point", "count"} or {"source": "document", "spacing",
// ("plot_point" when moved,) "count"}.
void WriteWindowSource(CJsonWriter& json, const WindowSource& source);

// The same as one line of text: "windows  100 (width 100, spacing 1, D 6,
// M 10, plot point 0.5)" (", first lag 2" after M when not 1) or "windows  100 (stored in the document, spacing 1)".
std::string WindowSourceText(const WindowSource& source);
