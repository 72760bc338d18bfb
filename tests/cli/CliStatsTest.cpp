// zedezuze-cli stats as a user runs it, on logs with known answers, on the real captures and
// samples, and on the simulated receiver.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
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

// One tenth of a minute of latitude at the equator, at 405 m above the ellipsoid: the meridian
// radius of curvature there, a (1 - e^2) = 6335439.327 m, plus the height, times pi / 108000.
constexpr double kTenthMinuteAtEquator = (6335439.327 + 405.0) * 3.14159265358979 / 108000.0;

// The number after "key": in a JSON text; NaN when absent or null.
double JsonNumber(const std::string& json, const std::string& key, size_t from = 0)
{
    const size_t at = json.find("\"" + key + "\": ", from);
    if (at == std::string::npos) {
        return std::nan("");
    }
    const std::string rest = json.substr(at + key.size() + 4);
    return rest.rfind("null", 0) == 0 ? std::nan("") : std::stod(rest);
}

CliRun Stats(const std::vector<std::string>& options, const std::string& log)
{
    std::vector<std::string> args = {"stats", "--json"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back("-");
    return RunCli(args, &log);
}

// Fixes a tenth of a minute north and south of the equator by turns, at 400 and 410 m: from
// their mean (and from the reference on the equator) every horizontal error is the same.
TEST(CliStats, KnownGeometryGivesItsDistancesAroundTheMeanAndTheReference)
{
    std::string log;
    for (int k = 0; k < 40; ++k) {
        const bool north = k % 2 == 0;
        log += Cycle(k, north ? "0000.1000,N,00000.0000,E" : "0000.1000,S,00000.0000,E", 1,
                     north ? 400.0 : 410.0);
    }
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{}, std::vector<std::string>{"--reference", "0,0,405"}}) {
        SCOPED_TRACE(options.empty() ? "mean" : "reference");
        const CliRun run = Stats(options, log);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(JsonNumber(run.Out, "fixes"), 40);
        EXPECT_NEAR(JsonNumber(run.Out, "cep50_m"), kTenthMinuteAtEquator, 1e-3);
        EXPECT_NEAR(JsonNumber(run.Out, "cep95_m"), kTenthMinuteAtEquator, 1e-3);
        EXPECT_NEAR(JsonNumber(run.Out, "max_horizontal_error_m"), kTenthMinuteAtEquator, 1e-3);
        EXPECT_NEAR(JsonNumber(run.Out, "twodrms_m"), 2 * kTenthMinuteAtEquator, 2e-3);
        EXPECT_NEAR(JsonNumber(run.Out, "horizontal_sd_m"), kTenthMinuteAtEquator, 1e-3);
        EXPECT_NEAR(JsonNumber(run.Out, "vertical_sd_m"), 5.0, 1e-3);
        EXPECT_EQ(JsonNumber(run.Out, "fix_share"), 1.0);
        // Forty cycles one second apart, 3 sentences each, over forty seconds.
        EXPECT_NEAR(JsonNumber(run.Out, "per_second"), 3.0, 1e-9);
        if (!options.empty()) {
            EXPECT_NEAR(JsonNumber(run.Out, "up", run.Out.find("mean_offset_m")), 0.0, 1e-4);
        }
    }
}

TEST(CliStats, NoFixOrASingleFixGiveAClearReport)
{
    std::string noFix;
    for (int k = 0; k < 5; ++k) {
        noFix += Cycle(k, ",,,", 0, 0.0);
    }
    const CliRun none = Stats({}, noFix);
    ASSERT_EQ(none.ExitCode, 0) << none.Err;
    EXPECT_EQ(JsonNumber(none.Out, "cycles"), 5);
    EXPECT_EQ(JsonNumber(none.Out, "fixed_cycles"), 0);
    EXPECT_EQ(JsonNumber(none.Out, "longest_gap_cycles"), 5);
    EXPECT_NE(none.Out.find("\"cep50_m\": null"), std::string::npos) << none.Out;
    const CliRun text = RunCli({"stats", "-"}, &noFix);
    ASSERT_EQ(text.ExitCode, 0);
    EXPECT_NE(text.Out.find("Accuracy           no fix to measure"), std::string::npos) << text.Out;

    const std::string oneFix = Cycle(0, "4722.6140,N,00832.5020,E", 1, 410.0);
    const CliRun single = Stats({}, oneFix);
    ASSERT_EQ(single.ExitCode, 0) << single.Err;
    EXPECT_EQ(JsonNumber(single.Out, "fixes"), 1);
    EXPECT_EQ(JsonNumber(single.Out, "cep95_m"), 0.0);
    EXPECT_EQ(JsonNumber(single.Out, "horizontal_sd_m"), 0.0);
    EXPECT_NEAR(JsonNumber(single.Out, "latitude", single.Out.find("\"mean\"")),
                47.0 + 22.614 / 60.0, 1e-9);
}

// Known faults injected into a clean stream are counted exactly: sentences with a wrong check,
// sentences without one, and bytes in no sentence (noise, a sentence cut off by the next).
TEST(CliStats, LinkCountsInjectedChecksumErrorsAndGarbageExactly)
{
    std::string log;
    size_t garbage = 0;
    size_t sentences = 0;
    for (int k = 0; k < 30; ++k) {
        std::string cycle = Cycle(k, "4722.6140,N,00832.5020,E", 1, 410.0);
        sentences += 3;
        if (k % 10 == 3) {
            // A wrong check: the last digit of the ZDA's checksum turned.
            const size_t star = cycle.rfind('*');
            cycle[star + 2] = cycle[star + 2] == '0' ? '1' : '0';
        }
        if (k % 10 == 5) {
            log += "\x01\x02noise\xff\r\n"; // 10 bytes
            garbage += 10;
        }
        if (k % 10 == 7) {
            log += "$GPGGA,12345"; // restarted by the next sentence: 12 bytes lost
            garbage += 12;
            log += "$GPVTG,,T,,M,0.0,N,0.0,K\r\n"; // no checksum
            sentences += 1;
        }
        log += cycle;
    }
    const CliRun run = Stats({}, log);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(JsonNumber(run.Out, "bytes"), static_cast<double>(log.size()));
    EXPECT_EQ(JsonNumber(run.Out, "sentences"), static_cast<double>(sentences));
    EXPECT_EQ(JsonNumber(run.Out, "checksum_failures"), 3);
    EXPECT_EQ(JsonNumber(run.Out, "without_checksum"), 3);
    EXPECT_EQ(JsonNumber(run.Out, "discarded_bytes"), static_cast<double>(garbage));

    // The binary protocol: frames with a check byte turned and noise between frames.
    auto frame = [](std::vector<uint8_t> bytes) {
        uint8_t check = 0;
        for (uint8_t b : bytes) {
            check ^= b;
        }
        bytes.push_back(check);
        bytes.push_back(static_cast<uint8_t>((bytes[0] & 0xF0) | 0x0A));
        return std::string(bytes.begin(), bytes.end());
    };
    std::string binary;
    for (int k = 0; k < 20; ++k) {
        std::string dateTime = frame({0xE1, 0x00, 24, 3, 1, 12, 0, static_cast<uint8_t>(k)});
        if (k % 5 == 0) {
            dateTime[8] = static_cast<char>(dateTime[8] ^ 0x01); // still bit 7 set: still framed
        }
        binary += dateTime + std::string("\x11\x22\x33", 3);
    }
    const CliRun frames = RunCli({"stats", "--json", "--protocol", "binary", "-"}, &binary);
    ASSERT_EQ(frames.ExitCode, 0) << frames.Err;
    EXPECT_EQ(JsonNumber(frames.Out, "frames"), 20);
    EXPECT_EQ(JsonNumber(frames.Out, "checksum_failures"), 4);
    EXPECT_EQ(JsonNumber(frames.Out, "discarded_bytes"), 60);
}

// A text log as the monitor records it: the clear command's line among the sentences. The fix
// just after it is the old one; the fix after the receiver lost it counts, in receiver time.
TEST(CliStats, RestartInATextLogIsTimedToItsFirstFix)
{
    const std::string fix = "4722.6140,N,00832.5020,E";
    std::string log;
    log += Cycle(0, fix, 1, 410.0) + Cycle(1, fix, 1, 410.0);
    log += "/$DIRU,GPclr,3\r\n";
    log += Cycle(2, fix, 1, 410.0);
    for (int k = 3; k < 9; ++k) {
        log += Cycle(k, ",,,", 0, 0.0);
    }
    log += Cycle(9, fix, 1, 410.0) + Cycle(10, fix, 1, 410.0);
    const CliRun run = Stats({}, log);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(JsonNumber(run.Out, "restarts"), 1);
    EXPECT_NEAR(JsonNumber(run.Out, "ttff_s"), 8.0, 1e-9);
    EXPECT_EQ(JsonNumber(run.Out, "command_lines"), 1);
    // The command's "$DIRU,..." is not a received sentence.
    EXPECT_EQ(JsonNumber(run.Out, "sentences"), 33);
    EXPECT_EQ(JsonNumber(run.Out, "without_checksum"), 0);
    EXPECT_EQ(JsonNumber(run.Out, "discarded_bytes"), 0);
    EXPECT_NE(run.Out.find("\"command\": \"$DIRU,GPclr,3\""), std::string::npos);
}

// Every capture and sample gives a report that reads back as JSON.
TEST(CliStats, RealCapturesAndSamplesGiveValidReports)
{
    std::vector<std::pair<fs::path, std::vector<std::string>>> logs = {
        {kSamplesDir / "sample-nmea.bin", {}},
        {kSamplesDir / "sample-binary.bin", {"--protocol", "binary"}},
    };
    for (const auto& entry : fs::directory_iterator(kDataDir / "captures")) {
        if (entry.path().extension() == ".nmea") {
            logs.push_back({entry.path(), {}});
        }
    }
    for (const auto& [path, options] : logs) {
        SCOPED_TRACE(path.filename().string());
        std::vector<std::string> args = {"stats", "--json"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(path.string());
        const CliRun run = RunCli(args);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Err, "");
        std::string checked;
        const fs::path report =
            fs::temp_directory_path() / ("zz-stats-" + std::to_string(::getpid()));
        std::ofstream(report) << run.Out;
        EXPECT_EQ(RunShell("python3 -c 'import json,sys; json.load(open(sys.argv[1]))' " +
                               Quote(report.string()),
                           checked),
                  0)
            << checked << run.Out;
        fs::remove(report);
    }
    // The sample's three minutes at 1 Hz, and its link as the receiver sent it.
    const CliRun sample = RunCli({"stats", "--json", (kSamplesDir / "sample-nmea.bin").string()});
    EXPECT_EQ(JsonNumber(sample.Out, "cycles"), 180);
    EXPECT_EQ(JsonNumber(sample.Out, "bytes"),
              static_cast<double>(fs::file_size(kSamplesDir / "sample-nmea.bin") - 33));
    EXPECT_EQ(JsonNumber(sample.Out, "checksum_failures"), 0);
    EXPECT_NEAR(JsonNumber(sample.Out, "duration_s"), 180.0, 1e-6);
}

// The live run: the simulated receiver through the run the application uses, a hot restart
// sent and timed, and every byte of the link accounted for.
TEST(CliStats, LiveRunOnTheSimulatedReceiver)
{
    const CliRun run = RunCli({"stats", "--json", "--port", "SIM", "--duration", "6", "--send",
                               "$DIRU,GPclr,1", "--checksum"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_TRUE(run.Out.find("\"live\": true") != std::string::npos) << run.Out;
    EXPECT_GE(JsonNumber(run.Out, "cycles"), 4);
    EXPECT_GE(JsonNumber(run.Out, "fixed_cycles"), 2);
    EXPECT_GT(JsonNumber(run.Out, "bytes"), 2000);
    EXPECT_GE(JsonNumber(run.Out, "sentences"), 40);
    EXPECT_EQ(JsonNumber(run.Out, "checksum_failures"), 0);
    EXPECT_EQ(JsonNumber(run.Out, "without_checksum"), 0);
    // Only a sentence cut by the restart or by the end may be lost.
    EXPECT_LT(JsonNumber(run.Out, "discarded_bytes"), 200);
    EXPECT_NEAR(JsonNumber(run.Out, "duration_s"), 6.0, 0.5);
    EXPECT_EQ(JsonNumber(run.Out, "restarts"), 1);
    const double ttff = JsonNumber(run.Out, "ttff_s");
    EXPECT_GE(ttff, 2.0);  // the simulated hot start takes 2 s, then the next 1 Hz cycle
    EXPECT_LE(ttff, 12.0); // generous: only a wrong measurement is caught, not a slow machine
}

TEST(CliStats, BadCommandLinesSayWhyAndExitTwo)
{
    const struct
    {
        std::vector<std::string> Args;
        const char* Mentions;
    } cases[] = {
        {{"stats", "--port", "SIM"}, "--duration"},
        {{"stats", "--duration", "5", "-"}, "--port"},
        {{"stats", "--reference", "91,0", "-"}, "--reference"},
        {{"stats", "--reference", "47,8,x", "-"}, "--reference"},
        {{"stats", "--port", "SIM", "--duration", "1", "log.bin"}, "unexpected"},
        {{"stats", "/nonexistent/log.bin"}, "cannot open"},
        {{"stats", "--port", "/dev/zz-no-such-port", "--duration", "1"}, "cannot open"},
        {{"ttff", "--port", "SIM"}, "--restart"},
        {{"ttff", "--port", "SIM", "--restart", "1", "--command", "$X"}, "--restart"},
        {{"ttff", "--port", "SIM", "--restart", "6"}, "--restart"},
        {{"ttff", "--port", "SIM", "--protocol", "binary", "--restart", "5"}, "binary"},
        {{"ttff", "--port", "SIM", "--restart", "1", "--repeat", "0"}, "--repeat"},
        {{"ttff", "--restart", "1"}, "no port"},
        {{"export", "-"}, "--format"},
        {{"export", "--format", "shp", "-"}, "--format"},
        {{"export", "--format", "gpx", "--port", "SIM"}, "--port"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Args));
        const std::string empty;
        const CliRun run = RunCli(c.Args, &empty);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_NE(run.Err.find(c.Mentions), std::string::npos) << run.Err;
        EXPECT_TRUE(run.Out.empty());
    }
    for (const char* command : {"stats", "ttff", "export"}) {
        const CliRun help = RunCli({command, "--help"});
        EXPECT_EQ(help.ExitCode, 0);
        EXPECT_NE(help.Out.find(std::string("zedezuze-cli ") + command), std::string::npos);
    }
}

} // namespace
} // namespace zz::test
