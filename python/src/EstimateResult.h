#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/HDataSet.h"

// One estimator's results as Python sees them: the library's CHDataSet as
// computed (its values dropped once computed: only n, D, M, H, b, r and the
// lag table are kept), and, for an interval, its label and upper bound.
struct EstimateResult
{
    std::shared_ptr<const CHDataSet> set;
    std::string label;
    std::optional<double> upperBound;
    // The warnings issued when it was computed.
    std::vector<std::string> warnings;
};

// The result of a computed set; the set's values are released.
EstimateResult ResultOf(CHDataSet&& set);

// A set with the fields of a result as the document file stores them
// (its n values all 0, then released): for unpickling.
std::shared_ptr<const CHDataSet> SetFromFields(int n, int nD, int nM, double h, double b, double r,
                                               const std::vector<double>& lengths,
                                               const std::vector<double>& logR,
                                               const std::vector<double>& logL);

// The command line's edge warnings of an estimate over a series: values not
// a number (skipped, as the database import skips them), infinities, no values,
// a constant series, too few values for the lags. name names the series.
struct SeriesScan;
std::vector<std::string> SeriesWarnings(const std::string& name, const SeriesScan& scan, std::size_t kept);
// "the series is constant (all n values are v): ..." when it is.
std::optional<std::string> ConstantWarning(const SeriesScan& scan, const std::string& what = "the series");
std::vector<std::string> LagWarnings(const std::string& what, const CHDataSet& set);
