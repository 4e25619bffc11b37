// The estimator's curve lengths are computed with vector instructions and,
// on long series, on several workers. These tests hold every result of
// CHDataSet::Compute and CurveLength to a plain loop written here, bit for
// bit, over random series of many shapes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/HDataSet.h"
#include "core/simd/SimdLevel.h"
#include "tests/support/TestSupport.h"
#include "core/WorkSplit.h"

namespace estimator_equivalence_test {

namespace {

// The definition: segment j runs from the D values at j * r to the D values
// at (j + 1) * r; its length is the square root of the sum of the squared
// differences, taken in k order; L(r) adds the lengths in j order.
double PlainCurveLength(const std::vector<double>& x, int nD, int r)
{
    const std::int64_t n = static_cast<std::int64_t>(x.size());
    const std::int64_t segments = (n - nD) / r;
    double sum = 0.0;
    if (segments <= 0 || nD <= 0)
        return sum;
    for (std::int64_t j = 0; j < segments; ++j) {
        double sq = 0.0;
        for (int k = 0; k < nD; ++k) {
            const double d = x[static_cast<std::size_t>(j * r + k)] - x[static_cast<std::size_t>((j + 1) * r + k)];
            sq += d * d;
        }
        sum += std::sqrt(sq);
    }
    return sum;
}

struct PlainResult
{
    std::vector<double> L, logR, logL;
    double b = 0.0, r = 0.0, h = 0.0;
};

// The whole computation: curve lengths, then the least-squares fit through
// (log10 r, log10(L(r) / r)), a lag whose logarithm is not finite entering
// as 0.
PlainResult PlainCompute(const std::vector<double>& x, int nD, int nM)
{
    PlainResult out;
    const int m = nM > 0 ? nM : 0;
    out.L.assign(static_cast<std::size_t>(m), 0.0);
    out.logR.assign(static_cast<std::size_t>(m), 0.0);
    out.logL.assign(static_cast<std::size_t>(m), 0.0);
    double sx = 0.0, sy = 0.0, sxx = 0.0, syy = 0.0, sxy = 0.0;
    for (int lag = 1; lag <= nM; ++lag) {
        const std::size_t i = static_cast<std::size_t>(lag - 1);
        out.L[i] = PlainCurveLength(x, nD, lag);
        out.logR[i] = std::log10(static_cast<double>(lag));
        const double q = out.L[i] / lag;
        if (q != 0.0 && !std::isnan(q)) {
            const double y = std::log10(q);
            if (std::isfinite(y))
                out.logL[i] = y;
        }
        sx += out.logR[i];
        sy += out.logL[i];
        sxy += out.logR[i] * out.logL[i];
        sxx += out.logR[i] * out.logR[i];
        syy += out.logL[i] * out.logL[i];
    }
    const double count = nM;
    const double den = sxx - sx * sx / count;
    if (den != 0.0 && !std::isnan(den))
        out.b = (sxy - sy * sx / count) / den;
    out.h = out.b + 2.0;
    const double k = 1.0 / count;
    const double mean = sy * k;
    const double q = std::sqrt((sxx - k * sx * sx) * (syy - mean * sy));
    out.r = (q == 0.0 || std::isnan(q)) ? 0.0 : (sxy - mean * sx) / q;
    return out;
}

void ExpectSameAs(const PlainResult& plain, const std::vector<double>& x, int nD, int nM, const std::string& what)
{
    SCOPED_TRACE(what + ": n " + std::to_string(x.size()) + ", D " + std::to_string(nD) + ", M " +
                 std::to_string(nM));
    CHDataSet set({.nD = nD, .nM = nM});
    set.m_bAutoCompute = 0;
    set.Values().Storage() = x;
    ASSERT_TRUE(set.Compute());

    EXPECT_EQ(set.GetCount(), static_cast<int>(x.size()));
    for (int i = 0; i < nM; ++i) {
        const std::size_t u = static_cast<std::size_t>(i);
        EXPECT_TRUE(SameBits(plain.L[u], set.GetL(i))) << "L of lag " << i + 1;
        EXPECT_TRUE(SameBits(plain.logR[u], set.GetLogR(i))) << "log r of lag " << i + 1;
        EXPECT_TRUE(SameBits(plain.logL[u], set.GetLogL(i))) << "log L of lag " << i + 1;
        EXPECT_TRUE(SameBits(plain.L[u], CurveLength(x.data(), static_cast<int>(x.size()), nD, i + 1)))
            << "CurveLength of lag " << i + 1;
    }
    EXPECT_TRUE(SameBits(plain.b, set.GetB())) << "b";
    EXPECT_TRUE(SameBits(plain.r, set.GetR())) << "r";
    EXPECT_TRUE(SameBits(plain.h, set.GetH())) << "H";
}

void ExpectSameAsPlain(const std::vector<double>& x, int nD, int nM, const std::string& what)
{
    ExpectSameAs(PlainCompute(x, nD, nM), x, nD, nM, what);
}

enum class Shape { walk, noise, huge, tiny, subnormal, mixedMagnitudes, constant, withInfinities, withNaN };

const char* NameOf(Shape shape)
{
    switch (shape) {
    case Shape::walk: return "random walk";
    case Shape::noise: return "white noise";
    case Shape::huge: return "huge values";
    case Shape::tiny: return "tiny values";
    case Shape::subnormal: return "subnormal values";
    case Shape::mixedMagnitudes: return "mixed magnitudes";
    case Shape::constant: return "constant";
    case Shape::withInfinities: return "with infinities";
    case Shape::withNaN: return "with NaN";
    }
    return "?";
}

std::vector<double> Series(Shape shape, std::size_t n, std::mt19937_64& engine)
{
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-1074, 1023);
    std::vector<double> x(n);
    double level = unit(engine) * 100.0;
    for (std::size_t i = 0; i < n; ++i) {
        switch (shape) {
        case Shape::walk: level += unit(engine); x[i] = level; break;
        case Shape::noise: x[i] = unit(engine); break;
        // Squares overflow to infinity.
        case Shape::huge: x[i] = unit(engine) * 1e300; break;
        // Squares underflow to subnormals or zero.
        case Shape::tiny: x[i] = unit(engine) * 1e-160; break;
        case Shape::subnormal: x[i] = unit(engine) * 1e-310; break;
        case Shape::mixedMagnitudes: x[i] = unit(engine) * std::ldexp(1.0, exponent(engine)); break;
        case Shape::constant: x[i] = 42.5; break;
        case Shape::withInfinities:
            x[i] = (engine() % 7 == 0) ? ((engine() & 1) ? 1.0 : -1.0) * std::numeric_limits<double>::infinity()
                                       : unit(engine);
            break;
        case Shape::withNaN:
            x[i] = (engine() % 11 == 0) ? std::numeric_limits<double>::quiet_NaN() : unit(engine);
            break;
        }
    }
    return x;
}

constexpr Shape kShapes[] = {Shape::walk,       Shape::noise,    Shape::huge,
                             Shape::tiny,       Shape::subnormal, Shape::mixedMagnitudes,
                             Shape::constant,   Shape::withInfinities, Shape::withNaN};

} // namespace

// Every instruction set gives the plain loop's bits.
class EstimatorLevels : public ::testing::TestWithParam<SimdLevel>
{
protected:
    void SetUp() override { SetSimdLimit(GetParam()); }
    void TearDown() override { SetSimdLimit(SimdLevel::Automatic); }
};

TEST_P(EstimatorLevels, ShortSeriesEveryShape)
{
    std::mt19937_64 engine(7);
    const std::size_t lengths[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16, 17, 31, 64, 101, 1000, 4099};
    const int dimensions[] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12};
    for (Shape shape : kShapes) {
        for (std::size_t n : lengths) {
            const std::vector<double> x = Series(shape, n, engine);
            for (int nD : dimensions) {
                for (int nM : {0, 1, 2, 3, 5, 10, 31})
                    ExpectSameAsPlain(x, nD, nM, NameOf(shape));
                // More lags than values: the later lags have no segment
                // (on the shorter series: the longer ones add only time).
                if (n <= 101)
                    ExpectSameAsPlain(x, nD, static_cast<int>(n) + 3, NameOf(shape));
            }
        }
    }
}

TEST(EstimatorEquivalence, DimensionLargerThanTheSeries)
{
    std::mt19937_64 engine(11);
    const std::vector<double> x = Series(Shape::walk, 20, engine);
    for (int nD : {19, 20, 21, 40, 1000000})
        ExpectSameAsPlain(x, nD, 4, "n < D");
}

TEST_P(EstimatorLevels, RandomParameters)
{
    std::mt19937_64 engine(12345);
    std::uniform_int_distribution<int> length(0, 3000);
    std::uniform_int_distribution<int> dimension(0, 16);
    std::uniform_int_distribution<int> lags(0, 40);
    std::uniform_int_distribution<int> shapeIndex(0, static_cast<int>(std::size(kShapes)) - 1);
    for (int trial = 0; trial < 300; ++trial) {
        const Shape shape = kShapes[shapeIndex(engine)];
        const std::vector<double> x = Series(shape, static_cast<std::size_t>(length(engine)), engine);
        ExpectSameAsPlain(x, dimension(engine), lags(engine), NameOf(shape));
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, EstimatorLevels,
                         ::testing::Values(SimdLevel::Plain, SimdLevel::Sse2, SimdLevel::Avx2),
                         [](const auto& info) { return std::string(SimdLevelName(info.param)); });

// Long enough for the lags to be shared between workers: the same bits with
// one, two and four, on every instruction set.
class EstimatorWorkers : public ::testing::TestWithParam<std::tuple<unsigned, SimdLevel>>
{
protected:
    void SetUp() override
    {
        SetWorkerLimit(std::get<0>(GetParam()));
        SetSimdLimit(std::get<1>(GetParam()));
    }
    void TearDown() override
    {
        SetWorkerLimit(0);
        SetSimdLimit(SimdLevel::Automatic);
    }
};

namespace {

// Series long enough to share their lags between workers, with their plain
// results: the same for every worker count and level, so computed once.
struct LongCase
{
    const std::vector<double>* x;
    int nD;
    int nM;
    const char* what;
    PlainResult plain;
};

const std::vector<LongCase>& LongCases()
{
    static const std::vector<LongCase> cases = [] {
        std::mt19937_64 engine(99);
        static const std::vector<double> walk = Series(Shape::walk, 400001, engine);
        static const std::vector<double> mixed = Series(Shape::mixedMagnitudes, 300000, engine);
        std::vector<LongCase> out;
        for (auto [nD, nM] : {std::pair{4, 3}, {1, 10}, {6, 31}, {11, 7}})
            out.push_back({&walk, nD, nM, "random walk", PlainCompute(walk, nD, nM)});
        out.push_back({&mixed, 3, 12, "mixed magnitudes", PlainCompute(mixed, 3, 12)});
        return out;
    }();
    return cases;
}

} // namespace

TEST_P(EstimatorWorkers, LongSeriesSharedBetweenWorkers)
{
    for (const LongCase& c : LongCases())
        ExpectSameAs(c.plain, *c.x, c.nD, c.nM, c.what);
}

INSTANTIATE_TEST_SUITE_P(Workers, EstimatorWorkers,
                         ::testing::Combine(::testing::Values(1u, 2u, 4u),
                                            ::testing::Values(SimdLevel::Plain, SimdLevel::Sse2, SimdLevel::Avx2)));

// The same set computed again, after its parameters change, and again with
// the values grown one at a time, gives the plain results every time.
TEST(EstimatorEquivalence, RepeatedComputation)
{
    std::mt19937_64 engine(5);
    const std::vector<double> x = Series(Shape::walk, 300, engine);
    CHDataSet set({.nD = 3, .nM = 4});
    set.m_bAutoCompute = 1;
    std::vector<double> sofar;
    for (double v : x) {
        set.AddValue(v);
        sofar.push_back(v);
        const PlainResult plain = PlainCompute(sofar, 3, 4);
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(SameBits(plain.L[static_cast<std::size_t>(i)], set.GetL(i))) << sofar.size();
        ASSERT_TRUE(SameBits(plain.h, set.GetH())) << sofar.size();
    }
    set.SetD(7);
    const PlainResult plain = PlainCompute(x, 7, 4);
    EXPECT_TRUE(SameBits(plain.h, set.GetH()));
}

} // namespace estimator_equivalence_test
