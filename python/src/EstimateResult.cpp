#include "python/src/EstimateResult.h"

#include <algorithm>

#include "analysis/EstimateWarnings.h"

#include "platform/Archive.h"
#include "core/Format.h"
#include "core/OptimumM.h"
#include "python/src/SeriesArgument.h"

EstimateResult ResultOf(CHDataSet&& set)
{
    // The values stay: the bootstrap decides noise or motion from them.
    auto kept = std::make_shared<CHDataSet>(std::move(set));
    EstimateResult result;
    result.set = std::move(kept);
    return result;
}

std::string SetBytes(const CHDataSet& set)
{
    std::vector<std::uint8_t> bytes;
    {
        CMemorySink sink(bytes);
        CArchive ar(sink);
        const_cast<CHDataSet&>(set).Serialize(ar); // storing only reads the set
        ar.Flush();
    }
    return std::string(bytes.begin(), bytes.end());
}

std::shared_ptr<const CHDataSet> SetFromBytes(const std::string& bytes, bool keepValues)
{
    auto set = std::make_shared<CHDataSet>();
    CMemorySource source(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    CArchive ar(source);
    set->Serialize(ar);
    if (!IsUsableEmbedding(set->GetD()) || !IsUsableLagCount(set->GetM()))
        throw std::invalid_argument("an estimate's state holds a D or M no estimator takes");
    if (!keepValues)
        set->Values().RemoveAll();
    return set;
}

std::shared_ptr<const CHDataSet> SetFromFields(int n, int nD, int nM, double h, double b, double r,
                                               const std::vector<double>& lengths,
                                               const std::vector<double>& logR,
                                               const std::vector<double>& logL)
{
    if (n < 0 || nM < 0 || lengths.size() != static_cast<std::size_t>(nM) ||
        logR.size() != lengths.size() || logL.size() != lengths.size())
        throw std::invalid_argument("an estimate's state must hold M values in each lag table");
    std::vector<std::uint8_t> bytes;
    {
        CMemorySink sink(bytes);
        CArchive ar(sink);
        ar << static_cast<std::int32_t>(n) << b << r << h << static_cast<std::int32_t>(nM)
           << static_cast<std::int32_t>(nD);
        for (int i = 0; i < nM; ++i)
            ar << lengths[i] << logR[i] << logL[i];
        for (int i = 0; i < n; ++i)
            ar << 0.0;
        ar.Flush();
    }
    return SetFromBytes(std::string(bytes.begin(), bytes.end()), false);
}

namespace {

std::string Count(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

std::vector<std::string> SeriesWarnings(const std::string& name, const SeriesScan& scan, std::size_t kept)
{
    std::vector<std::string> warnings;
    if (scan.notANumber > 0)
        warnings.push_back(Count(scan.notANumber, "value", "values") + " of " + name +
                           (scan.notANumber == 1 ? " was" : " were") +
                           " left out because " + (scan.notANumber == 1 ? "it is" : "they are") +
                           " not a number (NaN), as the database import skips such records; the positions of the "
                           "values after " + (scan.notANumber == 1 ? "it" : "them") + " move down");
    if (scan.infinite > 0) {
        const bool one = scan.infinite == 1;
        warnings.push_back(Count(scan.infinite, "value", "values") + " of " + name + (one ? " is" : " are") +
                           " infinite; H, b and r of any range holding " + (one ? "it" : "them") + " mean nothing.");
    }
    if (kept == 0)
        warnings.push_back("no values were given in " + name);
    if (auto w = ConstantWarning(scan))
        warnings.push_back(std::move(*w));
    return warnings;
}

std::optional<std::string> ConstantWarning(const SeriesScan& scan, const std::string& what)
{
    if (!scan.constant)
        return std::nullopt;
    return ConstantValuesWarning(scan.kept, scan.first, what);
}

std::vector<std::string> LagWarnings(const std::string& what, const CHDataSet& set)
{
    std::vector<std::string> warnings;
    if (auto warning = TooShortForLagsWarning(set, what))
        warnings.push_back(std::move(*warning));
    for (std::string& warning : HReadingWarnings(set, nullptr))
        warnings.push_back(std::move(warning));
    return warnings;
}
