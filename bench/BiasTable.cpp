// kestrin-bias-table: the bias of the curve-length estimate for each D and
// M, measured with the bootstrap's own simulation: at a true H, the median
// estimate of 100 replicates of fBm (n values) minus H. Prints the HTML
// table the manual carries (Help > Kestrin Help, "Bias of D and M").
// "kestrin-bias-table methods" prints instead the bias of each method
// (curve length D 4 M 3, DFA-1, Whittle fGn) on the same replicates.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/Bootstrap.h"

namespace {

const int counts[] = {1000, 10000};
const double exponents[] = {0.3, 0.5, 0.7};

void MethodsTable()
{
    std::printf("<table class=\"bias\">\n<caption>Median estimate minus true H of fBm read as a motion "
                "(100 replicates, seed %llu; the same replicates for every method)</caption>\n"
                "<tr><th>n</th><th>method</th>",
                static_cast<unsigned long long>(kDefaultBootstrapSeed));
    for (const double h : exponents)
        std::printf("<th>H %.1f</th>", h);
    std::printf("</tr>\n");
    for (const int n : counts) {
        for (const EHMethod method : kAllHMethods) {
            std::printf("<tr><td>%d</td><td>%s</td>", n, HMethodName(method));
            for (const double h : exponents) {
                CBootstrapRequest request;
                request.n = n;
                request.replicates = 100;
                request.method = method;
                std::vector<double> estimates = BootstrapEstimates(request, h);
                std::sort(estimates.begin(), estimates.end());
                std::printf("<td>%+.3f</td>", SortedQuantile(estimates, 0.5) - h);
            }
            std::printf("</tr>\n");
        }
    }
    std::printf("</table>\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "methods") {
        MethodsTable();
        return 0;
    }
    const int dimensions[] = {1, 2, 4, 6};
    const int lags[] = {3, 5, 10};
    for (const int n : counts) {
        std::printf("<table class=\"bias\">\n<caption>n = %d: median estimate minus true H "
                    "(100 replicates, seed %llu)</caption>\n<tr><th>D</th><th>M</th>",
                    n, static_cast<unsigned long long>(kDefaultBootstrapSeed));
        for (const double h : exponents)
            std::printf("<th>H %.1f</th>", h);
        std::printf("</tr>\n");
        for (const int d : dimensions) {
            for (const int m : lags) {
                std::printf("<tr><td>%d</td><td>%d</td>", d, m);
                for (const double h : exponents) {
                    CBootstrapRequest request;
                    request.n = n;
                    request.nD = d;
                    request.nM = m;
                    request.replicates = 100;
                    std::vector<double> estimates = BootstrapEstimates(request, h);
                    std::sort(estimates.begin(), estimates.end());
                    std::printf("<td>%+.3f</td>", SortedQuantile(estimates, 0.5) - h);
                }
                std::printf("</tr>\n");
            }
        }
        std::printf("</table>\n");
    }
    return 0;
}
