#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class CHDataSet;
struct CBootstrapResult;
struct SlidingWindowParams;

// An H at or above this reads a curve smoother than any fractional Brownian
// motion (whose H is below 1); fewer values than kFewValues give estimates
// that vary by 0.1 or more.
constexpr double kSmoothestH = 0.98;
constexpr int kFewValues = 128;

// Results computed as the workbench computes them, but which mean nothing
// for a reason the numbers do not show: the words the command line and the
// Python module warn with. Each gives nothing when there is nothing to say.

// count values, all equal to value (count >= 2): every L(r) is 0 and the fit
// reads log10(L(r)/r) as 0, so H is 2 and b and r are 0 whatever the series.
// what names the values ("the series", "the sliding-window H values").
std::string ConstantValuesWarning(std::size_t count, double value, const std::string& what);

// An estimator with fewer values than D + M: L(r) is 0 for r > n - D.
std::optional<std::string> TooShortForLagsWarning(const CHDataSet& set, const std::string& what);

// Windows whose M is larger than a window of their width has lags for: L(r)
// is 0 for r > width - D in every window.
std::optional<std::string> WindowMTooLargeWarning(const SlidingWindowParams& params);

// An H at or above kSmoothestH, or a bootstrap that finds no h from above
// (the replicates' median stays below the observed H up to the highest h
// searched): a trend or a smooth signal dominates the series. Nothing for
// an estimator whose every L(r) is 0 (a constant or too short series, which
// other warnings name). bootstrap may be null.
std::optional<std::string> SmootherThanFbmWarning(const CHDataSet& set, const CBootstrapResult* bootstrap = nullptr);

// An estimator of 1 to kFewValues - 1 values: its H varies by 0.1 or more
// from series to series of the same kind.
std::optional<std::string> FewValuesWarning(const CHDataSet& set);

// The two above, in that order, each prefixed by about ("interval 2: ").
std::vector<std::string> HReadingWarnings(const CHDataSet& set, const CBootstrapResult* bootstrap,
                                          const std::string& about = {});

// What a bootstrap of the estimator must be read with: the noise-or-motion
// warning of its decision (SeriesKindWarning; chooseHint names how to
// choose in the caller's terms), then HReadingWarnings with the bootstrap
// (which names a bootstrap that finds no h from above).
std::vector<std::string> BootstrapReadingWarnings(const CHDataSet& set, const CBootstrapResult& bootstrap,
                                                  const std::string& chooseHint);
