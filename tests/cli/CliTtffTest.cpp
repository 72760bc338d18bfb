// zedezuze-cli ttff against the built-in simulated receiver and the zedezuze-sim program, run as a
// user runs them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/cli/CliProcess.h"

namespace zz::test {
namespace {

namespace fs = std::filesystem;

// The TTFF of each restart in the text report ("restart 2  $DIRU,GPclr,1  2.96 s").
std::vector<double> Measurements(const std::string& report)
{
    std::vector<double> seconds;
    for (size_t at = report.find("restart "); at != std::string::npos;
         at = report.find("restart ", at + 1)) {
        const size_t end = report.find('\n', at);
        const std::string line = report.substr(at, end - at);
        if (line.size() > 2 && line.substr(line.size() - 2) == " s") {
            seconds.push_back(std::stod(line.substr(line.rfind("  ") + 2)));
        }
    }
    return seconds;
}

class CliTtffTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() / ("zz-ttff-" + std::to_string(::getpid()));
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    fs::path Dir;
    std::unique_ptr<TChild> Simulator;
};

// Through the run's own simulated receiver: a hot start is fixed after its 2 s and the next
// 1 Hz cycle; each restart gives one measurement, as the Information window shows it.
TEST_F(CliTtffTest, SimulatedReceiverGivesOneMeasurementPerRestart)
{
    const auto start = std::chrono::steady_clock::now();
    const CliRun run = RunCli({"ttff", "--port", "SIM", "--restart", "1", "--repeat", "2"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::vector<double> seconds = Measurements(run.Out);
    ASSERT_EQ(seconds.size(), 2u) << run.Out;
    for (const double ttff : seconds) {
        // At least the simulated delay; the upper bound only catches a wrong measurement, with
        // room for a loaded or instrumented machine.
        EXPECT_GE(ttff, 2.0);
        EXPECT_LE(ttff, 12.0);
    }
    EXPECT_NE(run.Out.find("2 restarts, 2 fixed, 0 timed out"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("TTFF min "), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

// The binary protocol against the simulator program with quick restarts: five cold starts
// (0.9 s each at a tenth of their time, then the next 10 Hz cycle), in JSON.
TEST_F(CliTtffTest, QuickSeriesOverTheBinaryProtocol)
{
    const std::string port = StartSimulator(
        Simulator,
        {"--protocol", "binary", "--rate", "10", "--baud", "115200", "--fix-delay-scale", "0.1"},
        Dir / "sim.out");
    ASSERT_FALSE(port.empty()) << ReadFile(Dir / "sim.out.err");
    const CliRun run = RunCli({"ttff", "--port", port, "--protocol", "binary", "--baud", "115200",
                               "--restart", "3", "--repeat", "5", "--json"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("\"restarts\": 5, \"fixed\": 5, \"timeouts\": 0"), std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("\"command\": \"C18280C3CA\""), std::string::npos);
    size_t fixed = 0;
    for (size_t at = run.Out.find("\"ttff_s\": "); at != std::string::npos;
         at = run.Out.find("\"ttff_s\": ", at + 1)) {
        const double ttff = std::stod(run.Out.substr(at + 10));
        EXPECT_GE(ttff, 0.9);
        EXPECT_LE(ttff, 8.0);
        ++fixed;
    }
    EXPECT_EQ(fixed, 5u);
}

// A receiver that never fixes after a restart: every restart is reported as a timeout, the
// series ends after its timeouts, and the exit status says so.
TEST_F(CliTtffTest, ReceiverThatNeverFixesGivesTimeoutsNotAHang)
{
    const std::string port =
        StartSimulator(Simulator, {"--fix-delay-scale", "1000"}, Dir / "sim.out");
    ASSERT_FALSE(port.empty()) << ReadFile(Dir / "sim.out.err");
    const auto start = std::chrono::steady_clock::now();
    TChild ttff({ZZ_CLI_PATH, "ttff", "--port", port, "--restart", "2", "--repeat", "2",
                 "--timeout", "1.5"},
                Dir / "ttff.out");
    EXPECT_EQ(ttff.Wait(std::chrono::seconds(20)), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    const std::string out = ReadFile(Dir / "ttff.out");
    EXPECT_NE(out.find("restart 1  $DIRU,GPclr,2  timeout: no fix within 1.5 s"), std::string::npos)
        << out;
    EXPECT_NE(out.find("restart 2  $DIRU,GPclr,2  timeout"), std::string::npos) << out;
    EXPECT_NE(out.find("2 restarts, 0 fixed, 2 timed out"), std::string::npos) << out;
    EXPECT_EQ(out.find("TTFF min"), std::string::npos);
}

} // namespace
} // namespace zz::test
