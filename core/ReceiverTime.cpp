#include "core/ReceiverTime.h"

#include <chrono>
#include <cmath>

#include "core/TReceiverState.h"

namespace zz {
namespace {

constexpr double kSecondsPerDay = 86400.0;

std::optional<double> SecondsOfDay(const TReportedTime& time)
{
    if (!time.HasTimeOfDay()) {
        return std::nullopt;
    }
    return time.Hour * 3600.0 + time.Minute * 60.0 + time.Second;
}

} // namespace

bool TReportedTime::HasDate() const
{
    const std::chrono::year_month_day date{std::chrono::year(Year),
                                           std::chrono::month(static_cast<unsigned>(Month)),
                                           std::chrono::day(static_cast<unsigned>(Day))};
    return Year != NoYear && Month >= 1 && Month <= 12 && Day >= 1 && Day <= 31 && date.ok();
}

bool TReportedTime::HasTimeOfDay() const
{
    return Hour >= 0 && Hour <= 23 && Minute >= 0 && Minute <= 59 && Second >= 0.0 && Second < 61.0;
}

std::optional<double> UnixSeconds(const TReportedTime& time)
{
    const std::optional<double> ofDay = SecondsOfDay(time);
    if (!ofDay || !time.HasDate()) {
        return std::nullopt;
    }
    const std::chrono::sys_days days{std::chrono::year_month_day{
        std::chrono::year(time.Year), std::chrono::month(static_cast<unsigned>(time.Month)),
        std::chrono::day(static_cast<unsigned>(time.Day))}};
    return static_cast<double>(days.time_since_epoch().count()) * kSecondsPerDay + *ofDay;
}

std::optional<double> TReceiverClock::Read(const TReportedTime& time)
{
    if (const std::optional<double> full = UnixSeconds(time)) {
        LastSeconds = full;
        return full;
    }
    const std::optional<double> ofDay = SecondsOfDay(time);
    if (!ofDay) {
        return std::nullopt;
    }
    double day = LastSeconds ? std::floor(*LastSeconds / kSecondsPerDay) * kSecondsPerDay : 0.0;
    if (LastSeconds && day + *ofDay < *LastSeconds - kSecondsPerDay / 2) {
        day += kSecondsPerDay;
    }
    LastSeconds = day + *ofDay;
    return LastSeconds;
}

} // namespace zz
