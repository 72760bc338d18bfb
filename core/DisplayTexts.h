#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/NumberFormat.h"
#include "core/ReceiverSettings.h"
#include "core/TReceiverState.h"

namespace zz {

// The texts the Information, Direction and DR windows show for the receiver state. Each takes
// plain values; a value that is absent, out of its range or not a number gives "--" unless
// stated otherwise.

// Information `fix`: "No fix", "GPS", "DGPS", "DR only".
std::string_view FixText(int32_t fixQuality);
// Whether the fix quality is "DR only", which the DR window counts.
bool IsDeadReckoningOnly(int32_t fixQuality);
// Information `dim`: "No fix", "2D fix", "3D fix".
std::string_view DimText(int32_t fixMode);
// Information `rot` and DR `rotst`: "Active", "Inactive".
std::string_view RotStatusText(int32_t rotStatus);
// Information `usat`: 0 to 99.
TShortText UsatText(int32_t satellitesUsed);
// Information `pdop`, `hdop`, `vdop`: 0 to 99.99 with two decimals.
TShortText DopText(double value);
// Information `ttff`: the measured hundredths of a second as seconds, in the general form.
TShortText TtffText(int32_t ttff);
// Information `fver`: ten zero-filled digits for NMEA ("--" below 0 or above 9999999999),
// six zero-filled digits with no range test for the binary protocol.
TShortText VersionText(double programVersion, TProtocol protocol);
// Information `utc`: "07/14/2009  03:05:09.50"; each piece out of its range reads "--".
TShortText DateTimeText(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                        double second);
// Information `lat`: an empty first line, the coordinate ("N 035 40' 12.348\"") and "0m", so
// that the coordinate lands in the visible band of the label; or "--".
TShortText LatitudeText(double latitude);
// The whole three-line latitude text, as the position plot's centre label shows it: the word
// "Latitude" with its ten trailing blanks, the coordinate and "0m"; or "--".
TShortText LatitudeFullText(double latitude);
// Information `lon`: "W 139 45' 07.404\"" or "--".
TShortText LongitudeText(double longitude);
// Information `alt`: metres from -999.9 to 40000 with one decimal.
TShortText AltitudeText(double altitude);
// Information `vel`: km/h from 0 to 1851.9 with one decimal.
TShortText SpeedText(double speed);
// Information `dir` and the Direction window's DirLabel: degrees from 0 to 359.9, one decimal.
TShortText CourseText(double course);
// Information `MT`: "[T]", "[M]" or "[--]" by the reference; empty when the course is invalid.
std::string_view MTText(double course, int32_t courseReference);
// Direction window's MTLabel: "True Track", "Magnetic Track"; empty otherwise.
std::string_view MTLabelText(double course, int32_t courseReference);
// Rotation of the Direction window's arrow in degrees, counter-clockwise positive: 180 minus
// the whole degrees of the course. No angle when the course is invalid: the arrow is hidden.
std::optional<int> ArrowAngle(double course);
// DR `rot`: degrees per minute from -9999.9 to 9999.9 in the general form.
TShortText RateOfTurnText(double rateOfTurn);
// DR `rotcnt`: the count of consecutive "DR only" positions.
TShortText DrCountText(uint32_t drOnlyCount);

// One label's text, named by the label ("fix", "lat", "rotcnt", ...).
struct TDisplayText
{
    std::string_view Key;
    TShortText Value;

    std::string_view Text() const { return Value.View(); }
};

// As many texts as one display cycle can write.
inline constexpr size_t kDisplayTextCapacity = 18;

// The texts of one display cycle, in the order in which the cycle writes them. Held in place.
struct TDisplayTexts
{
    std::array<TDisplayText, kDisplayTextCapacity> Entries{};
    size_t Count = 0;

    void Clear() { Count = 0; }
    // Keys must have static storage (the label names are literals).
    void Add(std::string_view key, std::string_view text);
    // The text written under key, or nothing when the cycle did not write that label.
    std::optional<std::string_view> Find(std::string_view key) const;

    const TDisplayText* begin() const { return Entries.data(); }
    const TDisplayText* end() const { return Entries.data() + Count; }
    size_t Size() const { return Count; }
};

// The text half of one display cycle (RunDisplaySteps): replaces out with the texts of the
// groups whose updated flags are raised in snapshot, in the cycle's order, keyed by label name.
// The Information window's rot repeats the DR window's rotst and is not listed; the DR rate of
// turn is "rot". The snapshot is not changed.
void ComputeDisplayTexts(const TReceiverState& snapshot, TProtocol protocol, uint32_t& drOnlyCount,
                         TDisplayTexts& out);

} // namespace zz
