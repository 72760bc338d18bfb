#include "core/BaudRates.h"

#include <algorithm>

namespace zz {
namespace {

constexpr bool IsLineSubset(std::span<const int32_t> rates)
{
    return std::all_of(rates.begin(), rates.end(), [](int32_t rate) {
        return std::find(kLineBaudRates.begin(), kLineBaudRates.end(), rate) !=
               kLineBaudRates.end();
    });
}

static_assert(std::is_sorted(kLineBaudRates.begin(), kLineBaudRates.end()));
// Rates offered anywhere must be rates a line can be set to.
static_assert(IsLineSubset(kDialogBaudRates));
static_assert(IsLineSubset(kSimulatorBaudRates));

} // namespace

int LineBaudRateIndex(int32_t rate)
{
    const auto found = std::find(kLineBaudRates.begin(), kLineBaudRates.end(), rate);
    return found == kLineBaudRates.end() ? -1 : static_cast<int>(found - kLineBaudRates.begin());
}

bool IsListedBaudRate(std::span<const int32_t> rates, int32_t rate)
{
    return std::find(rates.begin(), rates.end(), rate) != rates.end();
}

std::string BaudRateListText(std::span<const int32_t> rates)
{
    std::string text;
    for (const int32_t rate : rates) {
        if (!text.empty()) {
            text += ", ";
        }
        text += std::to_string(rate);
    }
    return text;
}

} // namespace zz
