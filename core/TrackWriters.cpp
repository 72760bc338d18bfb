#include "core/TrackWriters.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/Wgs84.h"

namespace zz {
namespace {

constexpr double kMetresPerSecondPerKmh = 1.0 / 3.6;
// Points of one KML line placemark; a longer run goes on in the next one, from the same point.
constexpr size_t kKmlPointsPerLine = 1000;

void AppendFixed(std::string& out, double value, int decimals)
{
    std::array<char, 64> text;
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::fixed, decimals);
    out.append(text.data(), result.ptr);
}

void AppendInteger(std::string& out, int64_t value)
{
    std::array<char, 24> text;
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    out.append(text.data(), result.ptr);
}

// Longitude in -180 <= lon < 180, as GPX wants it.
double NormalisedLongitude(double degrees)
{
    return degrees >= 180.0 ? degrees - 360.0 : degrees;
}

// Characters XML must not see in text or attributes.
void AppendXmlText(std::string& out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
}

// hh:mm:ss, with hundredths when the second has a fraction.
void AppendClock(const TReportedTime& time, std::string& out)
{
    const int64_t hundredths = std::llround(time.Second * 100.0);
    std::array<char, 32> text;
    if (hundredths % 100 == 0) {
        std::snprintf(text.data(), text.size(), "%02d:%02d:%02d", time.Hour, time.Minute,
                      static_cast<int>(hundredths / 100));
    } else {
        std::snprintf(text.data(), text.size(), "%02d:%02d:%02d.%02d", time.Hour, time.Minute,
                      static_cast<int>(hundredths / 100), static_cast<int>(hundredths % 100));
    }
    out += text.data();
}

// GPX <fix>: none, 2d, 3d, dgps; nothing for dead reckoning or an unknown mode.
std::optional<std::string_view> GpxFixText(const TMapPoint& point)
{
    if (point.FixQuality == 2) {
        return "dgps";
    }
    if (point.FixQuality == 1 && point.FixMode == 2) {
        return "2d";
    }
    if (point.FixQuality == 1 && point.FixMode == 3) {
        return "3d";
    }
    return std::nullopt;
}

// <gpx><trk><trkseg><trkpt lat lon><ele/><time/><fix/><sat/><hdop/><extensions/></trkpt>...
class TGpxWriter final : public TTrackWriter
{
public:
    explicit TGpxWriter(std::string_view name) : Name(name) {}

    void Begin(std::string& out) override
    {
        out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<gpx version=\"1.1\" creator=\"zedezuze-cli\"\n"
               "     xmlns=\"http://www.topografix.com/GPX/1/1\"\n"
               "     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
               "     xmlns:zz=\"urn:zedezuze:track:1\"\n"
               "     xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
               "http://www.topografix.com/GPX/1/1/gpx.xsd\">\n"
               "  <trk>\n"
               "    <name>";
        AppendXmlText(out, Name);
        out += "</name>\n";
    }

    void Point(const TMapPoint& point, std::string& out) override
    {
        if (!InSegment) {
            out += "    <trkseg>\n";
            InSegment = true;
        }
        out += "      <trkpt lat=\"";
        AppendFixed(out, point.LatitudeDeg, 8);
        out += "\" lon=\"";
        AppendFixed(out, NormalisedLongitude(point.LongitudeDeg), 8);
        out += "\">";
        if (point.AltitudeM) {
            out += "<ele>";
            AppendFixed(out, *point.AltitudeM, 2);
            out += "</ele>";
        }
        if (point.Time) {
            if (const auto text = IsoTimeText(*point.Time)) {
                out += "<time>" + *text + "</time>";
            }
        }
        if (const auto fix = GpxFixText(point)) {
            out += "<fix>";
            out += *fix;
            out += "</fix>";
        }
        if (point.SatellitesUsed && *point.SatellitesUsed >= 0) {
            out += "<sat>";
            AppendInteger(out, *point.SatellitesUsed);
            out += "</sat>";
        }
        if (point.Hdop && *point.Hdop >= 0.0) {
            out += "<hdop>";
            AppendFixed(out, *point.Hdop, 2);
            out += "</hdop>";
        }
        // GPX 1.1 has no speed or course of its own: they go into the extensions, speed in
        // metres per second as GPX 1.0 had it.
        if (point.SpeedKmh || point.CourseDeg) {
            out += "<extensions>";
            if (point.SpeedKmh) {
                out += "<zz:speed>";
                AppendFixed(out, *point.SpeedKmh * kMetresPerSecondPerKmh, 3);
                out += "</zz:speed>";
            }
            if (point.CourseDeg) {
                out += "<zz:course>";
                AppendFixed(out, *point.CourseDeg, 2);
                out += "</zz:course>";
            }
            out += "</extensions>";
        }
        out += "</trkpt>\n";
    }

    void Break(std::string& out) override
    {
        if (InSegment) {
            out += "    </trkseg>\n";
            InSegment = false;
        }
    }

    void End(std::string& out) override
    {
        Break(out);
        out += "  </trk>\n</gpx>\n";
    }

private:
    std::string Name;
    bool InSegment = false;
};

// <kml><Document> with, per run of fixes (cut every kKmlPointsPerLine points), a Folder holding
// the line as a LineString placemark and a Point placemark per fix.
class TKmlWriter final : public TTrackWriter
{
public:
    explicit TKmlWriter(std::string_view name) : Name(name) {}

    void Begin(std::string& out) override
    {
        out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
               "  <Document>\n"
               "    <name>";
        AppendXmlText(out, Name);
        out += "</name>\n"
               "    <Style id=\"track\"><LineStyle><color>ff0000ff</color><width>3</width>"
               "</LineStyle></Style>\n"
               "    <Style id=\"fix\"><IconStyle><scale>0.5</scale></IconStyle></Style>\n";
    }

    void Point(const TMapPoint& point, std::string& out) override
    {
        if (Points.size() == kKmlPointsPerLine) {
            const TMapPoint last = Points.back();
            FlushPiece(out);
            // The next line starts where this one ended, so the track has no hole; the shared
            // point has its placemark already.
            Points.push_back(last);
            PlacemarkText.clear();
            SharedFirst = true;
        }
        Points.push_back(point);
        ++Number;
        AppendPlacemark(point, PlacemarkText);
    }

    void Break(std::string& out) override
    {
        FlushPiece(out);
        SharedFirst = false;
    }

    void End(std::string& out) override
    {
        FlushPiece(out);
        out += "  </Document>\n</kml>\n";
    }

private:
    void AppendPlacemark(const TMapPoint& point, std::string& out)
    {
        out += "      <Placemark><name>";
        AppendInteger(out, static_cast<int64_t>(Number));
        out += "</name><description>";
        out += point.FixQuality == 2 ? "DGPS" : (point.FixQuality == 6 ? "DR" : "GPS");
        if (point.FixMode == 2 || point.FixMode == 3) {
            out += point.FixMode == 2 ? " 2D" : " 3D";
        }
        if (point.SatellitesUsed) {
            out += ", satellites ";
            AppendInteger(out, *point.SatellitesUsed);
        }
        if (point.Hdop) {
            out += ", HDOP ";
            AppendFixed(out, *point.Hdop, 2);
        }
        if (point.SpeedKmh) {
            out += ", ";
            AppendFixed(out, *point.SpeedKmh, 2);
            out += " km/h";
        }
        if (point.CourseDeg) {
            out += ", course ";
            AppendFixed(out, *point.CourseDeg, 2);
        }
        out += "</description>";
        if (point.Time) {
            if (const auto text = IsoTimeText(*point.Time)) {
                out += "<TimeStamp><when>" + *text + "</when></TimeStamp>";
            }
        }
        out += "<styleUrl>#fix</styleUrl><Point>";
        if (point.AltitudeM) {
            out += "<altitudeMode>absolute</altitudeMode>";
        }
        out += "<coordinates>";
        AppendCoordinates(point, point.AltitudeM.has_value(), out);
        out += "</coordinates></Point></Placemark>\n";
    }

    static void AppendCoordinates(const TMapPoint& point, bool withAltitude, std::string& out)
    {
        AppendFixed(out, point.LongitudeDeg, 8);
        out += ',';
        AppendFixed(out, point.LatitudeDeg, 8);
        if (withAltitude) {
            out += ',';
            AppendFixed(out, *point.AltitudeM, 2);
        }
    }

    void FlushPiece(std::string& out)
    {
        if (Points.empty() || (SharedFirst && Points.size() == 1)) {
            Points.clear();
            PlacemarkText.clear();
            return;
        }
        ++Pieces;
        out += "    <Folder><name>Track ";
        AppendInteger(out, static_cast<int64_t>(Pieces));
        out += "</name>\n";
        // A line needs two points at least.
        if (Points.size() >= 2) {
            out += "      <Placemark><name>Track ";
            AppendInteger(out, static_cast<int64_t>(Pieces));
            out += "</name><styleUrl>#track</styleUrl><LineString><tessellate>1</tessellate>"
                   "<coordinates>";
            for (size_t i = 0; i < Points.size(); ++i) {
                if (i > 0) {
                    out += ' ';
                }
                AppendCoordinates(Points[i], false, out);
            }
            out += "</coordinates></LineString></Placemark>\n";
        }
        out += PlacemarkText;
        out += "    </Folder>\n";
        Points.clear();
        PlacemarkText.clear();
    }

    std::string Name;
    std::vector<TMapPoint> Points;
    std::string PlacemarkText;
    uint64_t Number = 0;
    uint64_t Pieces = 0;
    bool SharedFirst = false;
};

// time,latitude,longitude,altitude_m,speed_kmh,course_deg,fix_quality,satellites_used,hdop
class TCsvWriter final : public TTrackWriter
{
public:
    void Begin(std::string& out) override
    {
        out += "time,latitude,longitude,altitude_m,speed_kmh,course_deg,fix_quality,"
               "satellites_used,hdop\n";
    }

    void Point(const TMapPoint& point, std::string& out) override
    {
        if (point.Time) {
            if (const auto text = IsoTimeText(*point.Time)) {
                out += *text;
            } else if (point.Time->HasTimeOfDay()) {
                // A time of day without a date.
                AppendClock(*point.Time, out);
            }
        }
        out += ',';
        AppendFixed(out, point.LatitudeDeg, 8);
        out += ',';
        AppendFixed(out, point.LongitudeDeg, 8);
        out += ',';
        AppendOptional(point.AltitudeM, 2, out);
        out += ',';
        AppendOptional(point.SpeedKmh, 2, out);
        out += ',';
        AppendOptional(point.CourseDeg, 2, out);
        out += ',';
        AppendInteger(out, point.FixQuality);
        out += ',';
        if (point.SatellitesUsed) {
            AppendInteger(out, *point.SatellitesUsed);
        }
        out += ',';
        AppendOptional(point.Hdop, 2, out);
        out += '\n';
    }

    void Break(std::string&) override {}
    void End(std::string&) override {}

private:
    static void AppendOptional(const std::optional<double>& value, int decimals, std::string& out)
    {
        if (value) {
            AppendFixed(out, *value, decimals);
        }
    }
};

} // namespace

TMapPoint MapPointOf(const TFixCycle& cycle)
{
    TMapPoint point;
    point.LatitudeDeg = DdmmToDegrees(cycle.Latitude);
    point.LongitudeDeg = DdmmToDegrees(cycle.Longitude);
    point.AltitudeM = cycle.AltitudeM;
    point.SpeedKmh = cycle.SpeedKmh;
    point.CourseDeg = cycle.CourseDeg;
    point.FixQuality = cycle.FixQuality;
    point.FixMode = cycle.FixMode;
    point.SatellitesUsed = cycle.SatellitesUsed;
    point.Hdop = cycle.Hdop;
    point.Time = cycle.Time;
    return point;
}

std::optional<std::string> IsoTimeText(const TReportedTime& time)
{
    if (!time.HasDate() || !time.HasTimeOfDay() || std::llround(time.Second * 100.0) >= 6000) {
        return std::nullopt;
    }
    std::array<char, 16> date;
    std::snprintf(date.data(), date.size(), "%04d-%02d-%02dT", time.Year, time.Month, time.Day);
    std::string text = date.data();
    AppendClock(time, text);
    return text + "Z";
}

std::unique_ptr<TTrackWriter> MakeTrackWriter(TTrackFormat format, std::string_view name)
{
    switch (format) {
    case TTrackFormat::Gpx:
        return std::make_unique<TGpxWriter>(name);
    case TTrackFormat::Kml:
        return std::make_unique<TKmlWriter>(name);
    case TTrackFormat::Csv:
        break;
    }
    return std::make_unique<TCsvWriter>();
}

} // namespace zz
