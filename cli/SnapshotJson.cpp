#include "cli/SnapshotJson.h"

#include <charconv>
#include <cmath>

namespace zz::cli {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

} // namespace

void SnapshotJson::Begin(uint64_t sequence, std::string_view line, const TReceiverState& snapshot)
{
    Buffer += "{\"seq\": ";
    Number(static_cast<int64_t>(sequence));
    Buffer += ", \"line\": ";
    String(line);
    Buffer += ", \"updated\": [";
    bool first = true;
    for (int i = 0; i < kStateFlagCount; ++i) {
        const auto flag = static_cast<TStateFlag>(i);
        if (StateFlag(snapshot, flag)) {
            if (!first) {
                Buffer += ", ";
            }
            first = false;
            String(StateFlagName(flag));
        }
    }
    Buffer += ']';

    const TReceiverState& s = snapshot;
    if (s.PositionUpdated) {
        Field("FixQuality", s.FixQuality);
        Field("Latitude", s.Latitude);
        Field("Longitude", s.Longitude);
    }
    if (s.AltitudeUpdated) {
        Field("Altitude", s.Altitude);
        Field("AltitudeSampleCount", s.AltitudeSampleCount);
        Field("SatellitesUsed", s.SatellitesUsed);
    }
    if (s.DateTimeUpdated) {
        Field("Year", s.Year);
        Field("Month", s.Month);
        Field("Day", s.Day);
        Field("Hour", s.Hour);
        Field("Minute", s.Minute);
        Field("Second", s.Second);
    }
    if (s.FixModeUpdated) {
        Field("FixMode", s.FixMode);
    }
    if (s.DopUpdated) {
        Field("Pdop", s.Pdop);
        Field("Hdop", s.Hdop);
        Field("Vdop", s.Vdop);
    }
    if (s.UsedPrnUpdated) {
        Field("UsedPrn", s.UsedPrn, kSatSlots);
    }
    // Both satellite flags describe the same table; it is written once.
    if (s.WavSatellitesUpdated || s.SatellitesUpdated) {
        Field("SatPrn", s.SatPrn, kSatSlots);
        Field("SatElevation", s.SatElevation, kSatSlots);
        Field("SatAzimuth", s.SatAzimuth, kSatSlots);
        Field("SatCn0", s.SatCn0, kSatSlots);
        Field("SatellitesInView", s.SatellitesInView);
    }
    if (s.VelocityUpdated) {
        Field("Course", s.Course);
        Field("CourseReference", s.CourseReference);
        Field("Speed", s.Speed);
        Field("VelocitySampleCount", s.VelocitySampleCount);
    }
    if (s.RotUpdated) {
        Field("RotStatus", s.RotStatus);
        Field("RateOfTurn", s.RateOfTurn);
    }
    if (s.AccuracyUpdated) {
        Field("SatAccuracy", s.SatAccuracy, kAccuracySlots);
    }
    if (s.VersionUpdated) {
        Field("ProgramVersion", s.ProgramVersion);
    }
    if (s.TtffUpdated) {
        Field("Ttff", s.Ttff);
    }
    if (s.CycleUpdated) {
        Field("CycleFixQuality", s.CycleFixQuality);
        Field("CycleLatitude", s.CycleLatitude);
        Field("CycleLongitude", s.CycleLongitude);
        Field("CycleRotStatus", s.CycleRotStatus);
        Field("CycleFixMode", s.CycleFixMode);
    }
}

void SnapshotJson::AddDisplay(const TDisplayTexts& texts, std::string_view extraTtffText)
{
    Buffer += ", \"display\": {";
    bool first = true;
    bool hasTtff = false;
    for (const auto& entry : texts) {
        if (!first) {
            Buffer += ", ";
        }
        first = false;
        hasTtff = hasTtff || entry.Key == std::string_view("ttff");
        String(entry.Key);
        Buffer += ": ";
        String(entry.Text());
    }
    // "--" or "counting" written by the decoders since the previous snapshot.
    if (!hasTtff && !extraTtffText.empty()) {
        if (!first) {
            Buffer += ", ";
        }
        String("ttff");
        Buffer += ": ";
        String(extraTtffText);
    }
    Buffer += '}';
}

void SnapshotJson::End()
{
    Buffer += "}\n";
}

void SnapshotJson::Key(std::string_view name)
{
    Buffer += ", ";
    String(name);
    Buffer += ": ";
}

void SnapshotJson::Number(double value)
{
    if (!std::isfinite(value)) {
        Buffer += "null"; // JSON has no NaN or infinity
        return;
    }
    char text[32];
    const auto result = std::to_chars(std::begin(text), std::end(text), value);
    Buffer.append(text, result.ptr);
}

void SnapshotJson::Number(int64_t value)
{
    char text[24];
    const auto result = std::to_chars(std::begin(text), std::end(text), value);
    Buffer.append(text, result.ptr);
}

void SnapshotJson::Field(std::string_view name, double value)
{
    Key(name);
    Number(value);
}

void SnapshotJson::Field(std::string_view name, int32_t value)
{
    Key(name);
    Number(int64_t{value});
}

void SnapshotJson::Field(std::string_view name, const int32_t* values, int count)
{
    Key(name);
    Buffer += '[';
    for (int i = 0; i < count; ++i) {
        if (i != 0) {
            Buffer += ", ";
        }
        Number(int64_t{values[i]});
    }
    Buffer += ']';
}

void SnapshotJson::String(std::string_view text)
{
    Buffer += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            Buffer += '\\';
            Buffer += c;
        } else if (byte < 0x20 || byte > 0x7e) {
            Buffer += "\\u00";
            Buffer += kHexDigits[byte >> 4];
            Buffer += kHexDigits[byte & 0x0f];
        } else {
            Buffer += c;
        }
    }
    Buffer += '"';
}

} // namespace zz::cli
