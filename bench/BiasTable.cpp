// kestrin-bias-table: the bias of the curve-length estimate for each D and
// M, measured with the bootstrap's own simulation: at a true H, the median
// estimate of 100 replicates of fBm (n values) minus H. Prints the HTML
// table the manual carries (Help > Kestrin Help, "Bias of D and M").
#include <algorithm>
#include <cstdio>
#include <vector>

#include "Bootstrap.h"

int main()
{
    const int counts[] = {1000, 10000};
    const double exponents[] = {0.3, 0.5, 0.7};
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
