#include "core/OrderStatistics.h"

#include <algorithm>
#include <cmath>

namespace zz {

std::optional<double> SortedQuantile(std::span<const double> sorted, double p)
{
    if (sorted.empty()) {
        return std::nullopt;
    }
    const double rank = static_cast<double>(sorted.size() - 1) * std::clamp(p, 0.0, 1.0);
    const auto below = static_cast<size_t>(std::floor(rank));
    const size_t above = std::min(below + 1, sorted.size() - 1);
    const double share = rank - static_cast<double>(below);
    return sorted[below] + share * (sorted[above] - sorted[below]);
}

void TCentiHistogram::Add(double value)
{
    if (!(value >= 0.0)) {
        return;
    }
    const double step = std::round(value * 100.0);
    const size_t index =
        step >= static_cast<double>(kSteps - 1) ? kSteps - 1 : static_cast<size_t>(step);
    ++Counts[index];
    ++Total;
}

std::optional<double> TCentiHistogram::Quantile(double p) const
{
    if (Total == 0) {
        return std::nullopt;
    }
    // The small allowance keeps a product such as 0.95 x 20 from rounding up past its rank.
    const double wanted = std::clamp(p, 0.0, 1.0) * static_cast<double>(Total);
    const auto rank = std::max<uint64_t>(1, static_cast<uint64_t>(std::ceil(wanted - 1e-9)));
    uint64_t below = 0;
    for (size_t i = 0; i < kSteps; ++i) {
        below += Counts[i];
        if (below >= rank) {
            return static_cast<double>(i) / 100.0;
        }
    }
    return static_cast<double>(kSteps - 1) / 100.0;
}

std::optional<double> TCentiHistogram::Max() const
{
    return Quantile(1.0);
}

} // namespace zz
