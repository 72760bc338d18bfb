#include "sim/SimSentences.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "sim/SimUnits.h"

namespace zz {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr double kKmhPerKnot = 1.852;
// Largest DOP a five-character field holds with two decimals.
constexpr double kMaxDop = 99.99;

// "ddmm.mmmm,N" or, for a longitude, "dddmm.mmmm,E".
void AppendCoordinate(std::string& out, double degrees, int degreeDigits, char positive,
                      char negative)
{
    const int64_t units = std::llabs(MinuteTenThousandths(degrees));
    AppendInteger(out, units / 600'000, degreeDigits);
    const int64_t minuteUnits = units % 600'000;
    AppendInteger(out, minuteUnits / 10'000, 2);
    out.push_back('.');
    AppendInteger(out, minuteUnits % 10'000, 4);
    out.push_back(',');
    out.push_back(MinuteTenThousandths(degrees) < 0 ? negative : positive);
}

// "lat,N,lon,E", or four empty fields without a fix.
void AppendPosition(std::string& out, const TSimEpoch& epoch)
{
    if (!epoch.Fix) {
        out.append(",,,");
        return;
    }
    AppendCoordinate(out, epoch.LatitudeDeg, 2, 'N', 'S');
    out.push_back(',');
    AppendCoordinate(out, epoch.LongitudeDeg, 3, 'E', 'W');
}

// "hhmmss.ss"
void AppendTime(std::string& out, const TSimEpoch& epoch)
{
    AppendInteger(out, epoch.Hour, 2);
    AppendInteger(out, epoch.Minute, 2);
    AppendInteger(out, epoch.Centiseconds / 100, 2);
    out.push_back('.');
    AppendInteger(out, epoch.Centiseconds % 100, 2);
}

void AppendDop(std::string& out, double dop)
{
    AppendFixedPoint(out, std::min(dop, kMaxDop), 2);
}

// ",prn,elevation,azimuth,cn0" as in GSV and wav.
void AppendSatellite(std::string& out, const TSimSatelliteReport& satellite, int prnDigits)
{
    out.push_back(',');
    AppendInteger(out, satellite.Prn, prnDigits);
    out.push_back(',');
    AppendInteger(out, satellite.Elevation, 2);
    out.push_back(',');
    AppendInteger(out, satellite.Azimuth, 3);
    out.push_back(',');
    AppendInteger(out, satellite.Cn0, 2);
}

} // namespace

void AppendSentence(std::string_view body, std::string& out)
{
    uint8_t checksum = 0;
    for (char c : body) {
        checksum ^= static_cast<uint8_t>(c);
    }
    out.push_back('$');
    out.append(body);
    out.push_back('*');
    out.push_back(kHexDigits[checksum >> 4]);
    out.push_back(kHexDigits[checksum & 0x0F]);
    out.append("\r\n");
}

// $GPGGA,hhmmss.ss,ddmm.mmmm,N,dddmm.mmmm,E,q,nn,hdop,alt,M,geoid,M,,*hh
void AppendGGA(const TSimEpoch& epoch, std::string& out)
{
    std::string body = "GPGGA,";
    AppendTime(body, epoch);
    body.push_back(',');
    AppendPosition(body, epoch);
    if (!epoch.Fix) {
        body.append(",0,00,,,M,,M,,");
        AppendSentence(body, out);
        return;
    }
    body.append(",1,");
    AppendInteger(body, epoch.SatellitesUsed, 2);
    body.push_back(',');
    AppendFixedPoint(body, std::min(epoch.Hdop, kMaxDop), 1);
    body.push_back(',');
    AppendFixedPoint(body, epoch.AltitudeM, 1);
    body.append(",M,");
    AppendFixedPoint(body, epoch.GeoidSeparationM, 1);
    body.append(",M,,");
    AppendSentence(body, out);
}

// $GPGLL,ddmm.mmmm,N,dddmm.mmmm,E,hhmmss.ss,A,A*hh  (status, then mode)
void AppendGLL(const TSimEpoch& epoch, std::string& out)
{
    std::string body = "GPGLL,";
    AppendPosition(body, epoch);
    body.push_back(',');
    AppendTime(body, epoch);
    body.append(epoch.Fix ? ",A,A" : ",V,N");
    AppendSentence(body, out);
}

// $GPGSA,A,3,04,05,09,12,,,,,,,,,1.80,1.00,1.50*hh  (mode, twelve used PRNs, PDOP HDOP VDOP)
void AppendGSA(const TSimEpoch& epoch, std::string& out)
{
    std::string body = "GPGSA,A,";
    body.push_back(!epoch.Fix ? '1' : epoch.ThreeDimensional ? '3' : '2');
    int listed = 0;
    for (size_t i = 0; i < epoch.SatelliteCount && listed < 12; ++i) {
        if (epoch.Satellites[i].Used) {
            body.push_back(',');
            AppendInteger(body, epoch.Satellites[i].Prn, 2);
            ++listed;
        }
    }
    for (; listed < 12; ++listed) {
        body.push_back(',');
    }
    body.push_back(',');
    if (epoch.Fix) {
        AppendDop(body, epoch.Pdop);
        body.push_back(',');
        AppendDop(body, epoch.Hdop);
        body.push_back(',');
        AppendDop(body, epoch.Vdop);
    } else {
        body.append(",,");
    }
    AppendSentence(body, out);
}

// $GPGSV,3,1,11,03,03,111,42,04,15,270,45,06,01,010,31,13,06,292,38*hh
// (sentences in the set, this sentence, satellites in view, then up to four satellites)
void AppendGSV(const TSimEpoch& epoch, std::string& out)
{
    const size_t count = epoch.SatelliteCount;
    const size_t sentences = std::max<size_t>(1, (count + 3) / 4);
    for (size_t sentence = 0; sentence < sentences; ++sentence) {
        std::string body = "GPGSV,";
        AppendInteger(body, static_cast<int64_t>(sentences), 1);
        body.push_back(',');
        AppendInteger(body, static_cast<int64_t>(sentence + 1), 1);
        body.push_back(',');
        AppendInteger(body, static_cast<int64_t>(count), 2);
        for (size_t i = sentence * 4; i < count && i < sentence * 4 + 4; ++i) {
            AppendSatellite(body, epoch.Satellites[i], 2);
        }
        AppendSentence(body, out);
    }
}

// $GPRMC,hhmmss.ss,A,ddmm.mmmm,N,dddmm.mmmm,E,knots,course,ddmmyy,,,A*hh
void AppendRMC(const TSimEpoch& epoch, std::string& out)
{
    std::string body = "GPRMC,";
    AppendTime(body, epoch);
    body.append(epoch.Fix ? ",A," : ",V,");
    AppendPosition(body, epoch);
    body.push_back(',');
    if (epoch.Fix) {
        AppendFixedPoint(body, epoch.SpeedKmh / kKmhPerKnot, 2);
        body.push_back(',');
        AppendFixedPoint(body, epoch.CourseDeg, 1);
    } else {
        body.push_back(',');
    }
    body.push_back(',');
    AppendInteger(body, epoch.Day, 2);
    AppendInteger(body, epoch.Month, 2);
    AppendInteger(body, epoch.Year % 100, 2);
    body.append(epoch.Fix ? ",,,A" : ",,,N");
    AppendSentence(body, out);
}

// $GPVTG,054.7,T,,M,005.50,N,010.19,K,A*hh  (true course, magnetic course, knots, km/h, mode)
void AppendVTG(const TSimEpoch& epoch, std::string& out)
{
    std::string body = "GPVTG,";
    if (!epoch.Fix) {
        body.append(",T,,M,,N,,K,N");
        AppendSentence(body, out);
        return;
    }
    AppendFixedPoint(body, epoch.CourseDeg, 1);
    body.append(",T,,M,");
    AppendFixedPoint(body, epoch.SpeedKmh / kKmhPerKnot, 2);
    body.append(",N,");
    AppendFixedPoint(body, epoch.SpeedKmh, 2);
    body.append(",K,A");
    AppendSentence(body, out);
}

// $GPZDA,hhmmss.ss,dd,mm,yyyy,00,00*hh  (local zone hours and minutes last)
void AppendZDA(const TSimEpoch& epoch, std::string& out)
{
    std::string body = "GPZDA,";
    AppendTime(body, epoch);
    body.push_back(',');
    AppendInteger(body, epoch.Day, 2);
    body.push_back(',');
    AppendInteger(body, epoch.Month, 2);
    body.push_back(',');
    AppendInteger(body, epoch.Year, 4);
    body.append(",00,00");
    AppendSentence(body, out);
}

// $GPROT,-12.3,A*hh  (degrees per minute, negative to port; A valid, V invalid)
void AppendROT(const TSimEpoch& epoch, std::string& out)
{
    std::string body = "GPROT,";
    if (epoch.Fix) {
        AppendFixedPoint(body, std::clamp(epoch.RateOfTurnDegMin, -9999.9, 9999.9), 1);
        body.append(",A");
    } else {
        body.append(",V");
    }
    AppendSentence(body, out);
}

// $DIRU,GPacc,0123XX...*hh  (one accuracy digit per GPS PRN 1..32, X for a PRN not tracked)
void AppendGPacc(const TSimEpoch& epoch, std::string& out)
{
    std::string body = "DIRU,GPacc,";
    std::string classes(32, 'X');
    for (size_t i = 0; i < epoch.SatelliteCount; ++i) {
        const TSimSatelliteReport& satellite = epoch.Satellites[i];
        if (satellite.Prn >= 1 && satellite.Prn <= 32) {
            classes[static_cast<size_t>(satellite.Prn - 1)] =
                kHexDigits[std::clamp(satellite.Accuracy, 0, 15)];
        }
    }
    body.append(classes);
    AppendSentence(body, out);
}

// $DIRU,GPwav,2,129,34,201,44,137,28,115,41*hh  (count, then PRN, elevation, azimuth, C/N0)
void AppendGPwav(const TSimEpoch& epoch, std::string& out)
{
    std::string body = "DIRU,GPwav,";
    AppendInteger(body, static_cast<int64_t>(epoch.SbasCount), 1);
    for (size_t i = 0; i < epoch.SbasCount; ++i) {
        AppendSatellite(body, epoch.Sbas[i], 3);
    }
    AppendSentence(body, out);
}

// $DIRU,GPtst,0,0000010203*hh  (test result, program version as ten digits)
void AppendGPtst(std::string& out)
{
    std::string body = "DIRU,GPtst,0,0000";
    body.append(kSimProgramVersion);
    AppendSentence(body, out);
}

} // namespace zz
