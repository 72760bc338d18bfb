// zedezuze-cli monitor against the zedezuze-sim program on a pseudo-terminal, both run as
// separate processes as a user runs them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A child process whose standard output goes to a file.
class TChild
{
public:
    TChild(const std::vector<std::string>& args, const fs::path& out)
    {
        std::vector<char*> argv;
        for (const auto& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, (out.string() + ".err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&Pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            Pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~TChild()
    {
        if (Pid > 0) {
            ::kill(Pid, SIGKILL);
            Wait();
        }
    }

    // Waits for the end, up to the bound; the exit status, or -1 when it did not end.
    int Wait(std::chrono::seconds bound = std::chrono::seconds(60))
    {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (Pid > 0) {
            int status = 0;
            rusage usage{};
            const pid_t done = ::wait4(Pid, &status, WNOHANG, &usage);
            if (done == Pid) {
                Pid = -1;
                CpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                             static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (std::chrono::steady_clock::now() > deadline) {
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

    void Signal(int signal) const { ::kill(Pid, signal); }
    bool Started() const { return Pid > 0; }

    double CpuSeconds = 0;

private:
    pid_t Pid = -1;
};

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
        Simulator = std::make_unique<TChild>(
            std::vector<std::string>{ZZ_SIM_PATH, "--rate", "10", "--baud", "115200", "--tee",
                                     (Dir / "tee.bin").string()},
            Dir / "sim.out");
        std::string path;
        for (int i = 0; i < 250 && path.empty(); ++i) {
            const std::string out = ReadFile(Dir / "sim.out");
            if (out.find('\n') != std::string::npos) {
                path = out.substr(0, out.find('\n'));
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        return path;
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
