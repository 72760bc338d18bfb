#pragma once

#include <cstdint>
#include <optional>

namespace zz {

// A date and time as the receiver reported them (absent pieces hold the state's absent marks).
struct TReportedTime
{
    int32_t Year = 0;
    int32_t Month = 0;
    int32_t Day = 0;
    int32_t Hour = 0;
    int32_t Minute = 0;
    double Second = 0.0;

    bool HasDate() const;
    bool HasTimeOfDay() const;
};

// Seconds since 1970-01-01 00:00 UTC of a reported date and time; nothing without both.
std::optional<double> UnixSeconds(const TReportedTime& time);

// The receiver's time as one running count of seconds, for differences: the date and time when
// both are reported; a time of day alone continues from the last date seen (or from day 0),
// and a time of day that falls more than twelve hours back counts as the next day.
class TReceiverClock
{
public:
    // The running seconds of a reported time; nothing without a time of day.
    std::optional<double> Read(const TReportedTime& time);
    // The last time read, if any.
    std::optional<double> Last() const { return LastSeconds; }

private:
    std::optional<double> LastSeconds;
};

} // namespace zz
