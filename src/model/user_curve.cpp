#include "model/user_curve.hpp"

namespace trevasc::model {

double UserCurveValue(const std::vector<std::array<double, 2>>& c, double y) {
    const std::size_t n = c.size();
    if (n == 0) return 0.0;
    if (n == 1 || y == c[0][0]) return c[0][1];
    if (y > c[n - 1][0]) return c[n - 1][1];
    std::size_t k = 0;  // segment k .. k+1, 0-based
    if (y > c[0][0]) {
        k = n - 2;
        for (std::size_t i = 0; i + 1 < n; ++i) {
            if (c[i][0] < y && y <= c[i + 1][0]) {
                k = i;
                break;
            }
        }
    }
    const double span = c[k + 1][0] - c[k][0];
    if (span == 0.0) return c[k + 1][1];
    return c[k][1] + (y - c[k][0]) * (c[k + 1][1] - c[k][1]) / span;
}

}  // namespace trevasc::model
