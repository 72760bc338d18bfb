// zedezuze-cli monitor against the zedezuze-sim program on a pseudo-terminal, both run as
// separate processes as a user runs them.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/CliProcess.h"

namespace {

namespace fs = std::filesystem;

using zz::test::ReadFile;
using zz::test::TChild;

class CliMonitorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() / ("zz-monitor-" + std::to_string(::getpid()));
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    // Starts the simulator at 115200 baud and 10 Hz; the path of its port.
    std::string StartSimulator()
    {
        return zz::test::StartSimulator(
            Simulator, {"--rate", "10", "--baud", "115200", "--tee", (Dir / "tee.bin").string()},
            Dir / "sim.out");
    }

    fs::path Dir;
    std::unique_ptr<TChild> Simulator;
};

TEST_F(CliMonitorTest, RecordsGapFreeAndTimesTheRestartToFix)
{
    const std::string port = StartSimulator();
    ASSERT_FALSE(port.empty()) << ReadFile(Dir / "sim.out.err");
    TChild monitor({ZZ_CLI_PATH, "monitor", "--display", "--baud", "115200", "--duration", "15",
                    "--send", "$DIRU,GPclr,3", "--checksum", "--bin", (Dir / "rec.bin").string(),
                    "--log", (Dir / "rec.log").string(), port},
                   Dir / "monitor.out");
    ASSERT_EQ(monitor.Wait(), 0) << ReadFile(Dir / "monitor.out.err");

    const std::string out = ReadFile(Dir / "monitor.out");
    EXPECT_NE(out.find("\"fix\": \"GPS\""), std::string::npos);
    EXPECT_NE(out.find("\"SatellitesUpdated\""), std::string::npos);
    EXPECT_NE(out.find("\"ttff\": \"counting\""), std::string::npos);
    const size_t ttff = out.find("\"Ttff\": ");
    ASSERT_NE(ttff, std::string::npos) << "no restart-to-fix time measured";
    EXPECT_GT(std::stoi(out.substr(ttff + 8)), 0);

    // Everything the simulator sent while recording arrived in the raw log, in order.
    const std::string raw = ReadFile(Dir / "rec.bin");
    const std::string marker = "@@Header of NMEA cycle -> GGA@@\r\n";
    ASSERT_EQ(raw.substr(0, marker.size()), marker);
    const std::string received = raw.substr(marker.size());
    EXPECT_GT(received.size(), 50000u);
    const std::string sent = ReadFile(Dir / "tee.bin");
    EXPECT_NE(sent.find(received), std::string::npos) << "the raw log is not one run of sent bytes";

    const std::string log = ReadFile(Dir / "rec.log");
    EXPECT_NE(log.find("/$DIRU,GPclr,3\r\n"), std::string::npos);
    EXPECT_NE(log.find("$GPGGA,"), std::string::npos);
}

TEST_F(CliMonitorTest, ALostReceiverEndsTheMonitorWithAMessageAndNoBusyLoop)
{
    const std::string port = StartSimulator();
    ASSERT_FALSE(port.empty());
    TChild monitor({ZZ_CLI_PATH, "monitor", port}, Dir / "monitor.out");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    Simulator->Signal(SIGKILL);
    EXPECT_EQ(monitor.Wait(std::chrono::seconds(20)), 1);
    EXPECT_NE(ReadFile(Dir / "monitor.out.err").find("went away"), std::string::npos);
    EXPECT_LT(monitor.CpuSeconds, 1.0);
}

TEST_F(CliMonitorTest, SigtermEndsTheMonitorCleanlyAndUnopenablePortsExitTwo)
{
    TChild monitor({ZZ_CLI_PATH, "monitor", "--bin", (Dir / "a.bin").string(), "--log",
                    (Dir / "a.log").string(), "SIM"},
                   Dir / "monitor.out");
    std::this_thread::sleep_for(std::chrono::seconds(2));
    monitor.Signal(SIGTERM);
    EXPECT_EQ(monitor.Wait(std::chrono::seconds(20)), 0);
    EXPECT_GT(fs::file_size(Dir / "a.bin"), 33u);
    const std::string log = ReadFile(Dir / "a.log");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n"); // the last line is complete

    TChild missing({ZZ_CLI_PATH, "monitor", "/dev/zz-no-such-port"}, Dir / "missing.out");
    EXPECT_EQ(missing.Wait(), 2);
    EXPECT_NE(ReadFile(Dir / "missing.out.err").find("no such device"), std::string::npos);
}

} // namespace
