#include "core/DisplayTexts.h"

#include <cassert>
#include <cmath>

#include "core/DisplayCycle.h"

namespace zz {
namespace {

constexpr std::string_view kNoText = "--";

constexpr int32_t kFixNone = 0;
constexpr int32_t kFixGps = 1;
constexpr int32_t kFixDifferential = 2;
constexpr int32_t kFixDeadReckoning = 6;

constexpr int32_t kReferenceTrue = 0;
constexpr int32_t kReferenceMagnetic = 1;

constexpr double kLatitudeLimit = 9000.0;   // 90 degrees in ddmm.mmmm
constexpr double kLongitudeLimit = 18000.0; // 180 degrees in dddmm.mmmm
constexpr double kLargestNmeaVersion = 9999999999.0;
constexpr double kLowestAltitude = -999.9;
constexpr double kHighestAltitude = 40000.0;
constexpr double kHighestSpeed = 1851.9;
constexpr double kHighestCourse = 359.9;
constexpr double kHighestDop = 99.99;
constexpr double kHighestRateOfTurn = 9999.9;

// Each range test is written so that NaN fails it.
bool InRange(double value, double lowest, double highest)
{
    return value >= lowest && value <= highest;
}

bool CourseIsValid(double course)
{
    return InRange(course, 0.0, kHighestCourse);
}

TShortText NoText()
{
    return TShortText(kNoText);
}

// Appends one piece of the date and time: the number zero-padded to width and the separator,
// or "--" and the separator when the number is out of its range.
void AppendDatePiece(TShortText& out, int32_t value, int32_t lowest, int32_t highest, int width,
                     std::string_view separator)
{
    if (value >= lowest && value <= highest) {
        AppendZeroPadded(out, value, width);
    } else {
        out.Append(kNoText);
    }
    out.Append(separator);
}

// Appends the coordinate line of a ddmm.mmmm (dddmm.mmmm) value: hemisphere letter, whole
// degrees, whole minutes and seconds with three decimals ("N 035 40' 12.348\""), or the zero
// text without a letter. False, with nothing appended, when the value lies beyond limit or its
// minutes reach 60.
bool AppendCoordinate(TShortText& out, double value, double limit, char negativeLetter,
                      char positiveLetter)
{
    if (value == 0.0) {
        out.Append("000 00' 00.000\"");
        return true;
    }
    if (!InRange(value, -limit, limit)) {
        return false;
    }
    const double magnitude = std::fabs(value);
    const double degrees = std::trunc(magnitude / 100.0);
    const double minutes = std::trunc(magnitude - 100.0 * degrees);
    if (minutes >= 60.0) {
        return false;
    }
    const double seconds = (magnitude - std::trunc(magnitude)) * 60.0;
    out.Append(value < 0.0 ? negativeLetter : positiveLetter);
    out.Append(' ');
    AppendZeroPadded(out, static_cast<int64_t>(degrees), 3);
    out.Append(' ');
    AppendZeroPadded(out, static_cast<int64_t>(minutes), 2);
    out.Append("' ");
    AppendZeroPaddedFixed(out, seconds, 6, 3);
    out.Append('"');
    return true;
}

} // namespace

std::string_view FixText(int32_t fixQuality)
{
    switch (fixQuality) {
    case kFixNone:
        return "No fix";
    case kFixGps:
        return "GPS";
    case kFixDifferential:
        return "DGPS";
    case kFixDeadReckoning:
        return "DR only";
    default:
        return kNoText;
    }
}

std::string_view DimText(int32_t fixMode)
{
    switch (fixMode) {
    case 1:
        return "No fix";
    case 2:
        return "2D fix";
    case 3:
        return "3D fix";
    default:
        return kNoText;
    }
}

std::string_view RotStatusText(int32_t rotStatus)
{
    switch (rotStatus) {
    case 1:
        return "Active";
    case 0:
        return "Inactive";
    default:
        return kNoText;
    }
}

TShortText UsatText(int32_t satellitesUsed)
{
    if (satellitesUsed < 0 || satellitesUsed > 99) {
        return NoText();
    }
    TShortText text;
    AppendZeroPadded(text, satellitesUsed, 0);
    return text;
}

TShortText DopText(double value)
{
    return InRange(value, 0.0, kHighestDop) ? FixedText(value, 6, 2) : NoText();
}

TShortText TtffText(int32_t ttff)
{
    return GeneralText(ttff * 0.01);
}

TShortText VersionText(double programVersion, TProtocol protocol)
{
    TShortText text;
    if (protocol == TProtocol::Binary) {
        AppendZeroPaddedFixed(text, programVersion, 6, 0);
    } else if (InRange(programVersion, 0.0, kLargestNmeaVersion)) {
        AppendZeroPaddedFixed(text, programVersion, 10, 0);
    } else {
        text.Append(kNoText);
    }
    return text;
}

TShortText DateTimeText(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                        double second)
{
    TShortText text;
    AppendDatePiece(text, month, 1, 12, 2, "/");
    AppendDatePiece(text, day, 1, 31, 2, "/");
    AppendDatePiece(text, year, 0, 9999, 4, "  ");
    AppendDatePiece(text, hour, 0, 24, 2, ":");
    AppendDatePiece(text, minute, 0, 59, 2, ":");
    if (InRange(second, 0.0, 60.0)) {
        AppendZeroPaddedFixed(text, second, 5, 2);
    } else {
        text.Append(kNoText);
    }
    return text;
}

TShortText LatitudeText(double latitude)
{
    // The label is three lines high and only its middle band shows: the coordinate goes on the
    // second line, between an empty line and the "0m" line.
    TShortText text;
    text.Append('\n');
    if (!AppendCoordinate(text, latitude, kLatitudeLimit, 'S', 'N')) {
        return NoText();
    }
    text.Append("\n0m");
    return text;
}

TShortText LatitudeFullText(double latitude)
{
    TShortText text("Latitude          \n");
    if (!AppendCoordinate(text, latitude, kLatitudeLimit, 'S', 'N')) {
        return NoText();
    }
    text.Append("\n0m");
    return text;
}

TShortText LongitudeText(double longitude)
{
    TShortText text;
    if (!AppendCoordinate(text, longitude, kLongitudeLimit, 'W', 'E')) {
        return NoText();
    }
    return text;
}

TShortText AltitudeText(double altitude)
{
    return InRange(altitude, kLowestAltitude, kHighestAltitude) ? FixedText(altitude, 7, 1)
                                                                : NoText();
}

TShortText SpeedText(double speed)
{
    return InRange(speed, 0.0, kHighestSpeed) ? FixedText(speed, 5, 1) : NoText();
}

TShortText CourseText(double course)
{
    return CourseIsValid(course) ? FixedText(course, 4, 1) : NoText();
}

std::string_view MTText(double course, int32_t courseReference)
{
    if (!CourseIsValid(course)) {
        return {};
    }
    switch (courseReference) {
    case kReferenceTrue:
        return "[T]";
    case kReferenceMagnetic:
        return "[M]";
    default:
        return "[--]";
    }
}

std::string_view MTLabelText(double course, int32_t courseReference)
{
    if (!CourseIsValid(course)) {
        return {};
    }
    switch (courseReference) {
    case kReferenceTrue:
        return "True Track";
    case kReferenceMagnetic:
        return "Magnetic Track";
    default:
        return {};
    }
}

std::optional<int> ArrowAngle(double course)
{
    if (!CourseIsValid(course)) {
        return std::nullopt;
    }
    // The arrow's rest position points south; turning it counter-clockwise by 180 - course
    // makes it point along the course, clockwise from north.
    return 180 - static_cast<int>(course);
}

TShortText RateOfTurnText(double rateOfTurn)
{
    return InRange(rateOfTurn, -kHighestRateOfTurn, kHighestRateOfTurn) ? GeneralText(rateOfTurn)
                                                                        : NoText();
}

TShortText DrCountText(uint32_t drOnlyCount)
{
    TShortText text;
    AppendZeroPadded(text, drOnlyCount, 0);
    return text;
}

void TDisplayTexts::Add(std::string_view key, std::string_view text)
{
    assert(Count < Entries.size());
    if (Count < Entries.size()) {
        Entries[Count].Key = key;
        Entries[Count].Value = TShortText(text);
        ++Count;
    }
}

std::optional<std::string_view> TDisplayTexts::Find(std::string_view key) const
{
    for (const TDisplayText& entry : *this) {
        if (entry.Key == key) {
            return entry.Text();
        }
    }
    return std::nullopt;
}

namespace {

// Collects the texts of a cycle under their label names.
struct TTextSink
{
    TDisplayTexts& Out;

    void Info(TInfoLabel label, std::string_view text)
    {
        if (label != TInfoLabel::rot) {
            Out.Add(InfoLabelName(label), text);
        }
    }
    void Dr(TDrLabel label, std::string_view text) { Out.Add(DrLabelName(label), text); }
    void Direction(const TDirectionView&) {}
    void Draw(TDrawStep) {}
};

} // namespace

bool IsDeadReckoningOnly(int32_t fixQuality)
{
    return fixQuality == kFixDeadReckoning;
}

void ComputeDisplayTexts(const TReceiverState& snapshot, TProtocol protocol, uint32_t& drOnlyCount,
                         TDisplayTexts& out)
{
    out.Clear();
    TTextSink sink{out};
    RunDisplaySteps(snapshot, protocol, drOnlyCount, sink);
}

} // namespace zz
