#include <gtest/gtest.h>

#include <string>

#include "core/TrackWriters.h"

namespace zz {
namespace {

TMapPoint Fix(double latitude, double longitude, int second)
{
    TMapPoint point;
    point.LatitudeDeg = latitude;
    point.LongitudeDeg = longitude;
    point.AltitudeM = 410.5;
    point.SpeedKmh = 36.0;
    point.CourseDeg = 90.25;
    point.FixQuality = 1;
    point.FixMode = 3;
    point.SatellitesUsed = 7;
    point.Hdop = 1.3;
    point.Time = TReportedTime{2024, 3, 1, 23, 59, static_cast<double>(second)};
    return point;
}

std::string Write(TTrackFormat format, const std::vector<TMapPoint>& first,
                  const std::vector<TMapPoint>& afterBreak = {})
{
    const auto writer = MakeTrackWriter(format, "log & track");
    std::string out;
    writer->Begin(out);
    for (const auto& point : first) {
        writer->Point(point, out);
    }
    writer->Break(out);
    for (const auto& point : afterBreak) {
        writer->Point(point, out);
    }
    writer->End(out);
    return out;
}

TEST(TrackWriters, TimesAreIsoWithHundredthsOnlyWhenThereAreAny)
{
    EXPECT_EQ(*IsoTimeText({2024, 3, 1, 23, 59, 5.0}), "2024-03-01T23:59:05Z");
    EXPECT_EQ(*IsoTimeText({2024, 3, 1, 7, 0, 5.5}), "2024-03-01T07:00:05.50Z");
    EXPECT_FALSE(IsoTimeText({32768, 3, 1, 7, 0, 5.5})); // no year
    EXPECT_FALSE(IsoTimeText({2024, 2, 30, 7, 0, 5.5})); // no such day
    EXPECT_FALSE(IsoTimeText({2024, 3, 1, 128, 128, 128.0}));
}

TEST(TrackWriters, GpxHasOneSegmentPerRunOfFixesAndLongitudesBelow180)
{
    TMapPoint dgps = Fix(-33.5, 180.0, 7);
    dgps.FixQuality = 2;
    dgps.SpeedKmh.reset();
    dgps.CourseDeg.reset();
    dgps.AltitudeM.reset();
    dgps.Time.reset();
    const std::string gpx =
        Write(TTrackFormat::Gpx, {Fix(47.5, 8.25, 5), Fix(47.5, 8.25, 6)}, {dgps});
    EXPECT_NE(gpx.find("<name>log &amp; track</name>"), std::string::npos);
    EXPECT_NE(gpx.find("      <trkpt lat=\"47.50000000\" lon=\"8.25000000\"><ele>410.50</ele>"
                       "<time>2024-03-01T23:59:05Z</time><fix>3d</fix><sat>7</sat>"
                       "<hdop>1.30</hdop><extensions><zz:speed>10.000</zz:speed>"
                       "<zz:course>90.25</zz:course></extensions></trkpt>\n"),
              std::string::npos)
        << gpx;
    EXPECT_NE(
        gpx.find("<trkpt lat=\"-33.50000000\" lon=\"-180.00000000\"><fix>dgps</fix><sat>7</sat>"
                 "<hdop>1.30</hdop></trkpt>"),
        std::string::npos)
        << gpx;
    size_t segments = 0;
    for (size_t at = gpx.find("<trkseg>"); at != std::string::npos;
         at = gpx.find("<trkseg>", at + 1)) {
        ++segments;
    }
    EXPECT_EQ(segments, 2u);
    const std::string end = "    </trkseg>\n  </trk>\n</gpx>\n";
    EXPECT_EQ(gpx.substr(gpx.size() - end.size()), end);
}

TEST(TrackWriters, KmlCutsLongRunsIntoLinesThatShareTheirEnds)
{
    std::vector<TMapPoint> run;
    for (int i = 0; i < 1500; ++i) {
        run.push_back(Fix(10.0 + i * 1e-5, 20.0, i % 60));
    }
    const std::string kml = Write(TTrackFormat::Kml, run, {Fix(11.0, 21.0, 0)});
    // 1000 points, then 500 more starting from the 1000th, then the lone fix without a line.
    size_t lines = 0;
    for (size_t at = kml.find("<LineString>"); at != std::string::npos;
         at = kml.find("<LineString>", at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 2u);
    size_t points = 0;
    for (size_t at = kml.find("<Point>"); at != std::string::npos;
         at = kml.find("<Point>", at + 1)) {
        ++points;
    }
    EXPECT_EQ(points, 1501u);
    const size_t second = kml.find("<name>Track 2</name><styleUrl>#track</styleUrl>");
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(kml.find("<coordinates>20.00000000,10.00999000 20.00000000,10.01000000", second),
              std::string::npos);
    EXPECT_NE(kml.find("<name>Track 3</name>\n      <Placemark><name>1501</name>"),
              std::string::npos);
    EXPECT_EQ(kml.substr(kml.size() - 21), "  </Document>\n</kml>\n");
}

TEST(TrackWriters, CsvHasAHeaderAndEmptyFieldsForWhatWasNotReported)
{
    TMapPoint bare = Fix(-0.5, -0.25, 0);
    bare.AltitudeM.reset();
    bare.SpeedKmh.reset();
    bare.CourseDeg.reset();
    bare.SatellitesUsed.reset();
    bare.Hdop.reset();
    bare.FixQuality = 6;
    bare.Time = TReportedTime{32768, 128, 128, 12, 0, 1.25};
    EXPECT_EQ(Write(TTrackFormat::Csv, {Fix(47.5, 8.25, 5)}, {bare}),
              "time,latitude,longitude,altitude_m,speed_kmh,course_deg,fix_quality,"
              "satellites_used,hdop\n"
              "2024-03-01T23:59:05Z,47.50000000,8.25000000,410.50,36.00,90.25,1,7,1.30\n"
              "12:00:01.25,-0.50000000,-0.25000000,,,,6,,\n");
}

} // namespace
} // namespace zz
