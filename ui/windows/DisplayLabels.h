#pragma once

#include <optional>
#include <string_view>

namespace zz {

// The value labels of the Information window, named as the window names them.
enum class TInfoLabel
{
    utc,
    fix,
    dim,
    rot,
    usat,
    lat,
    lon,
    alt,
    vel,
    MT,
    dir,
    pdop,
    hdop,
    vdop,
    ttff,
    fver,
};
inline constexpr int kInfoLabelCount = 16;

// The value labels of the DR window.
enum class TRotLabel
{
    rotst,
    rot,
    rotcnt,
};
inline constexpr int kRotLabelCount = 3;

// The label's name ("utc", "MT", ...), which is also its object name.
std::string_view InfoLabelName(TInfoLabel label);
std::string_view RotLabelName(TRotLabel label);

// The label that shows the text a display cycle wrote under key (core's TDisplayTexts), or
// nothing when that text is not for the window. The cycle's "rotst" is the rate-of-turn status,
// which the Information window shows in its `rot` label; the cycle's "rot" is the rate itself,
// which only the DR window shows.
std::optional<TInfoLabel> InfoLabelForKey(std::string_view key);
std::optional<TRotLabel> RotLabelForKey(std::string_view key);

} // namespace zz
