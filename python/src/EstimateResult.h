#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/HDataSet.h"

// One estimator's results as Python sees them: the library's CHDataSet as
// computed, its values kept (the bootstrap decides noise or motion and
// checks the model from them), and, for an interval, its label and upper
// bound.
struct EstimateResult
{
    std::shared_ptr<const CHDataSet> set;
    std::string label;
    std::optional<double> upperBound;
    // Whether the values are a profile (the series of a document Profile
    // made): the bootstrap then simulates the profile of its model, as the
    // command line does for such a document.
    bool ofProfile = false;
    // The warnings issued when it was computed.
    std::vector<std::string> warnings;
};

// The result of a computed set; the set's values are released.
EstimateResult ResultOf(CHDataSet&& set);

// A set as the document file stores it (n, b, r, H, M, D, the lag table,
// the n values), and back: the pickled state of a result. keepValues false
// releases the values read (a result that kept none). Throws on bytes that
// are not a set's or hold a D or M no estimator takes.
std::string SetBytes(const CHDataSet& set);
std::shared_ptr<const CHDataSet> SetFromBytes(const std::string& bytes, bool keepValues);

// A set with the fields of a result that kept no values (its n values all
// 0, then released): for unpickling the state that held no values.
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
