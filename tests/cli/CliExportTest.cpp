// zedezuze-cli export as a user runs it: GPX and KML checked against their published schemas with
// xmllint, CSV read back with Python's csv module against the decoder's own output.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/cli/CliProcess.h"
#include "tests/cli/LogText.h"

namespace zz::test {
namespace {

namespace fs = std::filesystem;

const fs::path kDataDir = ZZ_TEST_DATA_DIR;
const fs::path kSamplesDir = fs::path(ZZ_SOURCE_DIR) / "samples";
const fs::path kSchemas = kDataDir / "schemas";

size_t Count(const std::string& text, const std::string& what)
{
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

class CliExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() / ("zz-export-" + std::to_string(::getpid()));
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    // Validates the document against the schema; xmllint's words on failure.
    ::testing::AssertionResult Validates(const std::string& document, const fs::path& schema)
    {
        const fs::path file = Dir / "document.xml";
        std::ofstream(file, std::ios::binary) << document;
        std::string said;
        const int status = RunShell("xmllint --noout --nonet --schema " + Quote(schema.string()) +
                                        " " + Quote(file.string()),
                                    said);
        if (status == 0) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << said.substr(0, 2000);
    }

    fs::path Dir;
};

TEST_F(CliExportTest, EveryFormatOnRealCapturesAndTheSamples)
{
    const struct
    {
        fs::path Log;
        std::vector<std::string> Options;
        const char* Protocol;
    } logs[] = {
        {kSamplesDir / "sample-nmea.bin", {}, "nmea"},
        {kSamplesDir / "sample-binary.bin", {"--protocol", "binary"}, "binary"},
        {kDataDir / "captures/navika-100-fix.nmea", {}, "nmea"},
        {kDataDir / "captures/haicom-305N.nmea", {}, "nmea"},
        {kDataDir / "captures/bt451.nmea",
         {"--lf", "RMC", "--header", "RMC", "--vd", "VTG"},
         "nmea"},
    };
    for (const auto& log : logs) {
        SCOPED_TRACE(log.Log.filename().string());
        auto run = [&](const char* format) {
            std::vector<std::string> args = {"export", "--format", format};
            args.insert(args.end(), log.Options.begin(), log.Options.end());
            args.push_back(log.Log.string());
            return RunCli(args);
        };
        const CliRun gpx = run("gpx");
        ASSERT_EQ(gpx.ExitCode, 0) << gpx.Err;
        EXPECT_TRUE(Validates(gpx.Out, kSchemas / "gpx-1.1.xsd"));
        // The count on standard error is the number of points written.
        const size_t fixes = Count(gpx.Out, "<trkpt ");
        EXPECT_GT(fixes, 5u);
        EXPECT_NE(gpx.Err.find(std::to_string(fixes) + " fixes written"), std::string::npos)
            << gpx.Err;

        const CliRun kml = run("kml");
        ASSERT_EQ(kml.ExitCode, 0) << kml.Err;
        EXPECT_TRUE(Validates(kml.Out, kSchemas / "ogckml22.xsd"));
        EXPECT_EQ(Count(kml.Out, "<Point>"), fixes);
        EXPECT_GE(Count(kml.Out, "<LineString>"), 1u);

        const CliRun csv = run("csv");
        ASSERT_EQ(csv.ExitCode, 0) << csv.Err;
        std::vector<std::string> decodeArgs = {"decode"};
        decodeArgs.insert(decodeArgs.end(), log.Options.begin(), log.Options.end());
        decodeArgs.push_back(log.Log.string());
        const CliRun decoded = RunCli(decodeArgs);
        ASSERT_EQ(decoded.ExitCode, 0);
        std::ofstream(Dir / "track.csv", std::ios::binary) << csv.Out;
        std::ofstream(Dir / "decoded.jsonl", std::ios::binary) << decoded.Out;
        std::string said;
        EXPECT_EQ(RunShell("python3 " +
                               Quote(std::string(ZZ_SOURCE_DIR) + "/tests/cli/check_csv_track.py") +
                               " " + Quote((Dir / "track.csv").string()) + " " +
                               Quote((Dir / "decoded.jsonl").string()) + " " + log.Protocol,
                           said),
                  0)
            << said;
        EXPECT_NE(said.find(std::to_string(fixes) + " rows checked, 0 problems"), std::string::npos)
            << said;
    }
}

// A drive across the antimeridian with a spell without fix: GPX longitudes stay below 180, the
// spell splits the track, and both documents still validate. A log without any fix gives an
// empty but valid track.
TEST_F(CliExportTest, AntimeridianGapsAndNoFixAtAll)
{
    std::string log;
    const char* longitudes[] = {"17959.9980,E", "17959.9990,E", "18000.0000,E", "17959.9990,W",
                                "17959.9980,W"};
    for (int k = 0; k < 5; ++k) {
        log += Cycle(k, std::string("0510.0000,S,") + longitudes[k], 1, 12.0);
    }
    log += Cycle(5, ",,,", 0, 0.0);
    log += Cycle(6, "0510.0000,S,17959.9970,W", 2, 12.0);
    const CliRun gpx = RunCli({"export", "--format", "gpx", "-"}, &log);
    ASSERT_EQ(gpx.ExitCode, 0) << gpx.Err;
    EXPECT_TRUE(Validates(gpx.Out, kSchemas / "gpx-1.1.xsd"));
    EXPECT_EQ(Count(gpx.Out, "<trkseg>"), 2u);
    EXPECT_NE(gpx.Out.find("lon=\"-180.00000000\""), std::string::npos) << gpx.Out;
    EXPECT_NE(gpx.Out.find("lon=\"-179.99998333\""), std::string::npos) << gpx.Out;
    EXPECT_NE(gpx.Out.find("<fix>dgps</fix>"), std::string::npos);
    EXPECT_NE(gpx.Err.find("6 fixes written, 1 cycles without a valid position"), std::string::npos)
        << gpx.Err;
    const CliRun kml = RunCli({"export", "--format", "kml", "-"}, &log);
    ASSERT_EQ(kml.ExitCode, 0);
    EXPECT_TRUE(Validates(kml.Out, kSchemas / "ogckml22.xsd"));

    std::string noFix;
    for (int k = 0; k < 5; ++k) {
        noFix += Cycle(k, ",,,", 0, 0.0);
    }
    for (const char* format : {"gpx", "kml", "csv"}) {
        SCOPED_TRACE(format);
        const CliRun run = RunCli({"export", "--format", format, "-"}, &noFix);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_NE(run.Err.find("0 fixes written, 5 cycles without a valid position"),
                  std::string::npos)
            << run.Err;
        if (std::string(format) == "gpx") {
            EXPECT_TRUE(Validates(run.Out, kSchemas / "gpx-1.1.xsd"));
        } else if (std::string(format) == "kml") {
            EXPECT_TRUE(Validates(run.Out, kSchemas / "ogckml22.xsd"));
        } else {
            EXPECT_EQ(run.Out, "time,latitude,longitude,altitude_m,speed_kmh,course_deg,"
                               "fix_quality,satellites_used,hdop\n");
        }
    }
}

} // namespace
} // namespace zz::test
