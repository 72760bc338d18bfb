#include <algorithm>

#include "core/NmeaFields.h"
#include "core/TNmeaEngine.h"

namespace zz {
namespace {

// Longest text taken from a field that holds a real number; a longer field is cut.
constexpr size_t kLatitudeLength = 9;
constexpr size_t kLongitudeLength = 10;
constexpr size_t kAltitudeLength = 8;
constexpr size_t kDopLength = 5;
constexpr size_t kRateOfTurnLength = 7;

constexpr double kKnotsToKmh = 1.852;
constexpr int kUsedPrnFields = 12;
constexpr int kGsvSatellitesPerSentence = 4;

// Signed ddmm.mmmm value of a coordinate; anything but the two hemisphere letters is no position.
double Coordinate(std::string_view value, char hemisphere, char negative, char positive)
{
    if (value.empty()) {
        return NoPosition;
    }
    if (hemisphere == negative) {
        return -ParseReal(value);
    }
    if (hemisphere == positive) {
        return ParseReal(value);
    }
    return NoPosition;
}

int32_t GgaFixQuality(char quality)
{
    switch (quality) {
    case '0':
        return 0;
    case '1':
        return 1;
    case '2':
        return 2;
    case '6':
        return 6;
    default:
        return NoCode;
    }
}

// Fix quality from a mode or status letter: noFix (N or V), A autonomous, D differential,
// E dead reckoning.
int32_t LetterFixQuality(char letter, char noFix)
{
    if (letter == noFix) {
        return 0;
    }
    switch (letter) {
    case 'A':
        return 1;
    case 'D':
        return 2;
    case 'E':
        return 6;
    default:
        return NoCode;
    }
}

// A real field cut to maxLength; NoValue when nothing is left.
double BoundedReal(std::string_view text, size_t offset, size_t maxLength, bool stopAtStar = false)
{
    const std::string_view value = BoundedField(text, offset, maxLength, stopAtStar);
    return value.empty() ? NoValue : ParseReal(value);
}

double RealOrNoValue(std::string_view text, size_t offset)
{
    return FieldIsEmpty(text, offset) ? NoValue : ParseReal(text.substr(offset));
}

int32_t IntOr(std::string_view text, size_t offset, int32_t absent)
{
    return FieldIsEmpty(text, offset) ? absent : ParseInt(text.substr(offset));
}

} // namespace

void TNmeaEngine::WritePosition(std::string_view text, size_t latitude, size_t latitudeHemisphere,
                                size_t longitude, size_t longitudeHemisphere, int32_t fixQuality)
{
    State.Latitude = Coordinate(BoundedField(text, latitude, kLatitudeLength),
                                FieldLetter(text, latitudeHemisphere), 'S', 'N');
    State.Longitude = Coordinate(BoundedField(text, longitude, kLongitudeLength),
                                 FieldLetter(text, longitudeHemisphere), 'W', 'E');
    State.FixQuality = fixQuality;
    State.PositionUpdated = true;
    State.PositionPending = true;
    TestFirstFix(false);
}

void TNmeaEngine::DecodeGGA(std::string_view text)
{
    // $GPGGA,123519.00,3540.1234,N,13945.5000,E,1,08,0.9,545.4,M,46.9,M,,*62
    //  1 time            2 latitude    3 N/S              4 longitude   5 E/W
    //  6 fix quality     7 satellites used  8 HDOP        9 altitude    10 its unit
    if (Kept.HeaderIndex.load() == THeader::GGA) {
        CycleStart();
    }
    const bool position = Kept.LFref.load() == TPositionRef::GGA;
    const bool altitude = Kept.ASref.load() == TAltitudeRef::GGA;
    if (!position && !altitude) {
        return;
    }
    const auto at = FieldOffsets<10>(text);
    auto lock = LockState();
    if (position) {
        WritePosition(text, at[2], at[3], at[4], at[5], GgaFixQuality(FieldLetter(text, at[6])));
    }
    if (altitude) {
        State.SatellitesUsed = IntOr(text, at[7], NoCode);
        State.Altitude = BoundedReal(text, at[9], kAltitudeLength);
        State.AltitudeUpdated = true;
    }
    MarkDisplayPending();
}

void TNmeaEngine::DecodeZDA(std::string_view text)
{
    // $GPZDA,123456.78,10,12,2026,00,00*6A
    //  1 time hhmmss.ss   2 day   3 month   4 year   5 zone hours   6 zone minutes
    if (Kept.HeaderIndex.load() == THeader::ZDA) {
        CycleStart();
    }
    if (Kept.UTref.load() != TTimeRef::ZDA) {
        return;
    }
    const auto at = FieldOffsets<5>(text);
    auto lock = LockState();
    State.Year = IntOr(text, at[4], NoYear);
    State.Month = IntOr(text, at[3], NoCode);
    State.Day = IntOr(text, at[2], NoCode);
    if (FieldIsEmpty(text, at[1])) {
        State.Hour = NoCode;
        State.Minute = NoCode;
        State.Second = NoSecond;
    } else {
        const int32_t whole = ParseInt(text.substr(at[1]));
        State.Hour = whole / 10000;
        State.Minute = whole % 10000 / 100;
        State.Second = ParseReal(text.substr(at[1])) - State.Hour * 10000.0 - State.Minute * 100.0;
    }
    State.DateTimeUpdated = true;
    MarkDisplayPending();
}

void TNmeaEngine::DecodeGLL(std::string_view text)
{
    // $GPGLL,3540.1234,N,13945.5000,E,123519.00,A,A*6D
    //  1 latitude   2 N/S   3 longitude   4 E/W   5 time   6 status   7 mode
    if (Kept.HeaderIndex.load() == THeader::GLL) {
        CycleStart();
    }
    if (Kept.LFref.load() != TPositionRef::GLL) {
        return;
    }
    const auto at = FieldOffsets<8>(text);
    auto lock = LockState();
    WritePosition(text, at[1], at[2], at[3], at[4],
                  LetterFixQuality(FieldLetter(text, at[7]), 'N'));
    MarkDisplayPending();
}

void TNmeaEngine::DecodeGSA(std::string_view text)
{
    // $GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39
    //  1 selection (M/A)   2 fix mode (1 none, 2 2D, 3 3D)   3-14 PRNs used
    //  15 PDOP   16 HDOP   17 VDOP
    if (Kept.HeaderIndex.load() == THeader::GSA) {
        CycleStart();
    }
    if (Kept.DDref.load() != TFixModeRef::GSA) {
        return;
    }
    const auto at = FieldOffsets<4>(text);
    auto lock = LockState();
    const char fixMode = FieldLetter(text, at[2]);
    State.FixMode = fixMode >= '1' && fixMode <= '3' ? fixMode - '0' : NoCode;
    size_t field = at[3];
    for (int i = 0; i < kUsedPrnFields; ++i) {
        State.UsedPrn[i] = ReadIntField(text, field); // an empty field reads 0
    }
    State.Pdop = BoundedReal(text, field, kDopLength);
    field = NextField(text, field);
    State.Hdop = BoundedReal(text, field, kDopLength);
    field = NextField(text, field);
    State.Vdop = BoundedReal(text, field, kDopLength, true);
    // These PRNs are the list now; an older request to empty it must not wipe them.
    Flags.UsedPrnResetRequest.store(0);
    State.UsedPrnUpdated = true;
    State.FixModeUpdated = true;
    State.FixModePending = true;
    State.DopUpdated = true;
    MarkDisplayPending();
}

void TNmeaEngine::DecodeGSV(std::string_view text)
{
    // $GPGSV,3,1,12,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*7F
    //  1 sentences in the set   2 number of this one   3 satellites in view
    //  then per satellite k = 0..3: 4+4k PRN, 5+4k elevation, 6+4k azimuth, 7+4k C/N0
    size_t field = FieldAt(text, 1);
    const int32_t sentenceCount = ReadIntField(text, field);
    const int32_t number = ReadIntField(text, field);
    const int32_t total = ReadIntField(text, field);
    if (number == 1 && Kept.HeaderIndex.load() == THeader::GSV) {
        CycleStart();
    }
    const TSatellitesRef reference = Kept.SAref.load();
    if (reference != TSatellitesRef::GSV && reference != TSatellitesRef::GSVWav) {
        return;
    }
    auto lock = LockState();
    if (TControlFlags::TakeRequest(Flags.SbasResetRequest)) {
        GsvTotal = 0;
        GsvSentenceCount = 0;
    }
    if (number == 1) {
        SatSlot = 0;
        GsvSentenceCount = sentenceCount;
        GsvTotal = total;
        std::fill(std::begin(State.SatPrn), std::end(State.SatPrn), 0);
        std::fill(std::begin(State.SatElevation), std::end(State.SatElevation), 0);
        std::fill(std::begin(State.SatAzimuth), std::end(State.SatAzimuth), 0);
        std::fill(std::begin(State.SatCn0), std::end(State.SatCn0), 0);
    }
    const int64_t firstOfSentence = (int64_t{number} - 1) * kGsvSatellitesPerSentence;
    for (int k = 0; k < kGsvSatellitesPerSentence; ++k) {
        if (GsvSentenceCount == 0 || GsvTotal == 0 || firstOfSentence + k >= GsvTotal) {
            break;
        }
        const int32_t prn = ReadIntField(text, field);
        const int32_t elevation = ReadIntField(text, field);
        const int32_t azimuth = ReadIntField(text, field);
        const int32_t cn0 = ReadIntField(text, field);
        if (SatSlot < kSatSlots) {
            State.SatPrn[SatSlot] = prn;
            State.SatElevation[SatSlot] = elevation;
            State.SatAzimuth[SatSlot] = azimuth;
            State.SatCn0[SatSlot] = cn0;
            ++SatSlot;
        }
    }
    // Only the last sentence of a set raises the flag, so no half-filled table is shown.
    if (number == GsvSentenceCount) {
        State.SatellitesInView = GsvTotal;
        State.SatellitesUpdated = true;
        MarkDisplayPending();
    }
}

void TNmeaEngine::DecodeVTG(std::string_view text)
{
    // $GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,A*25
    //  1 course   2 its reference (T/M)   3 second course   4 its reference
    //  5 speed    6 its unit (N/K)        7 second speed    8 its unit   9 mode
    if (Kept.HeaderIndex.load() == THeader::VTG) {
        CycleStart();
    }
    if (Kept.VDref.load() != TVelocityRef::VTG) {
        return;
    }
    const auto at = FieldOffsets<9>(text);
    const char firstUnit = FieldLetter(text, at[6]);
    const char secondUnit = FieldLetter(text, at[8]);
    const char firstReference = FieldLetter(text, at[2]);
    const char secondReference = FieldLetter(text, at[4]);
    auto lock = LockState();

    // Without a known unit the speed is left as it was.
    bool speedGiven = true;
    size_t speedField = at[5];
    double speedFactor = 1.0;
    if (firstUnit == 'N' && secondUnit == 'K') {
        speedField = at[7];
    } else if (firstUnit == 'N') {
        speedFactor = kKnotsToKmh;
    } else if (firstUnit == 'K') {
        speedField = at[5];
    } else if (secondUnit == 'K') {
        speedField = at[7];
    } else {
        speedGiven = false;
    }
    if (speedGiven) {
        State.Speed = FieldIsEmpty(text, speedField)
                          ? NoValue
                          : ParseReal(text.substr(speedField)) * speedFactor;
    }

    if (firstReference == 'T') {
        State.CourseReference = 0;
        State.Course = RealOrNoValue(text, at[1]);
    } else if (firstReference == 'M' && secondReference == 'T') {
        State.CourseReference = 0;
        State.Course = RealOrNoValue(text, at[3]);
    } else if (firstReference == 'M') {
        State.CourseReference = 1;
        State.Course = RealOrNoValue(text, at[1]);
    } else if (secondReference == 'M') {
        State.CourseReference = 1;
        State.Course = RealOrNoValue(text, at[3]);
    } else {
        State.CourseReference = NoCode;
        State.Course = NoValue;
    }
    State.VelocityUpdated = true;
    MarkDisplayPending();
}

void TNmeaEngine::DecodeRMC(std::string_view text)
{
    // $GPRMC,123519.00,A,3540.1234,N,13945.5000,E,5.5,54.7,101226,,,A*6A
    //  1 time   2 status (V/A/D/E)   3 latitude   4 N/S   5 longitude   6 E/W
    //  7 speed in knots   8 course   9 date   10 variation   11 its E/W   12 mode
    if (Kept.HeaderIndex.load() == THeader::RMC) {
        CycleStart();
    }
    const bool position = Kept.LFref.load() == TPositionRef::RMC;
    const bool velocity = Kept.VDref.load() == TVelocityRef::RMC;
    if (!position && !velocity) {
        return;
    }
    const auto at = FieldOffsets<9>(text);
    auto lock = LockState();
    if (position) {
        WritePosition(text, at[3], at[4], at[5], at[6],
                      LetterFixQuality(FieldLetter(text, at[2]), 'V'));
    }
    if (velocity) {
        State.Speed =
            FieldIsEmpty(text, at[7]) ? NoValue : ParseReal(text.substr(at[7])) * kKnotsToKmh;
        State.Course = RealOrNoValue(text, at[8]);
        State.CourseReference = 0;
        State.VelocityUpdated = true;
    }
    MarkDisplayPending();
}

void TNmeaEngine::DecodeROT(std::string_view text)
{
    // $GPROT,-12.5,A*2A
    //  1 rate of turn in degrees per minute (negative: to port)   2 status (A valid, V invalid)
    if (Kept.HeaderIndex.load() == THeader::ROT) {
        CycleStart();
    }
    if (Kept.ROref.load() != TRateOfTurnRef::ROT) {
        return;
    }
    const auto at = FieldOffsets<3>(text);
    const char status = FieldLetter(text, at[2]);
    auto lock = LockState();
    State.RateOfTurn = BoundedReal(text, at[1], kRateOfTurnLength);
    State.RotStatus = status == 'V' ? 0 : (status == 'A' ? 1 : NoCode);
    State.RotUpdated = true;
    State.RotPending = true;
    MarkDisplayPending();
}

} // namespace zz
