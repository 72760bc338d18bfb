#include "ui/windows/DisplayLabels.h"

#include <array>

namespace zz {
namespace {

constexpr std::array<std::string_view, kInfoLabelCount> kInfoLabelNames = {
    "utc", "fix", "dim", "rot",  "usat", "lat",  "lon",  "alt",
    "vel", "MT",  "dir", "pdop", "hdop", "vdop", "ttff", "fver",
};

constexpr std::array<std::string_view, kRotLabelCount> kRotLabelNames = {"rotst", "rot", "rotcnt"};

} // namespace

std::string_view InfoLabelName(TInfoLabel label)
{
    return kInfoLabelNames[static_cast<size_t>(label)];
}

std::string_view RotLabelName(TRotLabel label)
{
    return kRotLabelNames[static_cast<size_t>(label)];
}

std::optional<TInfoLabel> InfoLabelForKey(std::string_view key)
{
    if (key == "rotst") {
        return TInfoLabel::rot;
    }
    if (key == "rot") {
        return std::nullopt;
    }
    for (size_t index = 0; index < kInfoLabelNames.size(); ++index) {
        if (kInfoLabelNames[index] == key) {
            return static_cast<TInfoLabel>(index);
        }
    }
    return std::nullopt;
}

std::optional<TRotLabel> RotLabelForKey(std::string_view key)
{
    for (size_t index = 0; index < kRotLabelNames.size(); ++index) {
        if (kRotLabelNames[index] == key) {
            return static_cast<TRotLabel>(index);
        }
    }
    return std::nullopt;
}

} // namespace zz
