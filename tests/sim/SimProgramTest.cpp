#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/sim/SimLine.h"
#include "tests/sim/SimStreams.h"

extern char** environ;

namespace zz::test {
namespace {

// The program running in a child process, its standard output and error on pipes.
class SimProgram
{
public:
    explicit SimProgram(const std::vector<std::string>& arguments)
    {
        int out[2];
        int err[2];
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        std::vector<char*> argv;
        std::string program = ZZ_SIM_PROGRAM;
        argv.push_back(program.data());
        std::vector<std::string> copies = arguments;
        for (std::string& argument : copies) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&Pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
            Pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(err[1]);
        Stdout = out[0];
        Stderr = err[0];
    }

    ~SimProgram()
    {
        if (Pid > 0) {
            kill(Pid, SIGKILL);
            Wait();
        }
        close(Stdout);
        close(Stderr);
    }

    // Exit status, or -1 when it did not exit normally. A program still running after ten
    // seconds is killed, so that a fault fails the test instead of hanging the suite.
    int Wait()
    {
        int status = 0;
        for (int waited = 0;; ++waited) {
            const pid_t done = waitpid(Pid, &status, WNOHANG);
            if (done == Pid || (done < 0 && errno != EINTR)) {
                break;
            }
            if (waited == 1000) {
                kill(Pid, SIGKILL);
            }
            usleep(10'000);
        }
        Pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Everything left on a pipe, up to its end.
    static std::string Drain(int fd)
    {
        std::string text;
        ReadUntil(fd, text, [](const std::string&) { return false; });
        return text;
    }

    pid_t Pid = -1;
    int Stdout = -1;
    int Stderr = -1;
};

// The first line of the program's output: the path of the pseudo-terminal.
std::string SlavePath(const SimProgram& program)
{
    std::string out;
    ReadUntil(program.Stdout, out,
              [](const std::string& s) { return s.find('\n') != std::string::npos; });
    return out.substr(0, out.find('\n'));
}

TEST(SimProgram, StreamsOnItsPseudoTerminalUntilTerminated)
{
    char teePath[] = "/tmp/zz-sim-program-tee-XXXXXX";
    const int teeFd = mkstemp(teePath);
    ASSERT_GE(teeFd, 0);
    close(teeFd);

    SimProgram program({"--rate", "10", "--baud", "115200", "--seed", "9", "--tee", teePath});
    ASSERT_GT(program.Pid, 0);
    const std::string path = SlavePath(program);
    ASSERT_EQ(path.rfind("/dev/pts/", 0), 0U) << path;
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0) << path;

    // About two seconds of a receiver at 10 Hz.
    std::string stream;
    ASSERT_TRUE(ReadUntil(fd, stream,
                          [](const std::string& s) { return CountSentences(s, "GPZDA") >= 20; }));
    SimDecoder decoder(TSimProtocol::Nmea);
    int fixes = 0;
    for (const std::string& sentence : SplitSentences(stream)) {
        const size_t star = sentence.size() - 5;
        ASSERT_EQ(sentence[star], '*') << sentence;
        uint8_t sum = 0;
        for (size_t i = 1; i < star; ++i) {
            sum ^= static_cast<uint8_t>(sentence[i]);
        }
        unsigned written = 0;
        std::from_chars(sentence.data() + star + 1, sentence.data() + star + 3, written, 16);
        EXPECT_EQ(written, sum) << sentence;
        decoder.Feed(sentence);
        if (Address(sentence) == "GPZDA" && decoder.Take()) {
            EXPECT_EQ(decoder.State->FixQuality, 1);
            EXPECT_GE(decoder.State->SatellitesUsed, 4);
            EXPECT_GE(decoder.State->Year, 2024);
            ++fixes;
        }
    }
    EXPECT_GE(fixes, 20);

    // It answers a restart command with its version report.
    const std::string command = "$DIRU,GPclr,1*";
    std::string restart = command + "XX\r\n";
    uint8_t sum = 0;
    for (size_t i = 1; i + 1 < command.size(); ++i) {
        sum ^= static_cast<uint8_t>(command[i]);
    }
    const char digits[] = "0123456789ABCDEF";
    restart[command.size()] = digits[sum >> 4];
    restart[command.size() + 1] = digits[sum & 0x0F];
    ASSERT_EQ(write(fd, restart.data(), restart.size()), static_cast<ssize_t>(restart.size()));
    ASSERT_TRUE(ReadUntil(
        fd, stream, [](const std::string& s) { return CountSentences(s, "DIRU,GPtst") >= 2; }));

    ASSERT_EQ(kill(program.Pid, SIGTERM), 0);
    EXPECT_EQ(program.Wait(), 0);
    EXPECT_EQ(SimProgram::Drain(program.Stderr), "");
    close(fd);

    // The tee file holds what came over the line, and what was sent after the last read.
    std::ifstream tee(teePath, std::ios::binary);
    std::stringstream copy;
    copy << tee.rdbuf();
    EXPECT_GE(copy.str().size(), stream.size());
    EXPECT_EQ(copy.str().substr(0, stream.size()), stream);
    std::remove(teePath);
}

TEST(SimProgram, EndsCleanlyOnAnInterrupt)
{
    SimProgram program({"--protocol", "binary", "--rate", "5", "--baud", "9600"});
    ASSERT_GT(program.Pid, 0);
    const std::string path = SlavePath(program);
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0) << path;
    std::string stream;
    ASSERT_TRUE(
        ReadUntil(fd, stream, [](const std::string& s) { return CountFrames(s, 0xE0) >= 2; }));
    EXPECT_EQ(static_cast<uint8_t>(stream[0]), 0xD3);
    ASSERT_EQ(kill(program.Pid, SIGINT), 0);
    EXPECT_EQ(program.Wait(), 0);
    close(fd);
}

TEST(SimProgram, EndsByItselfAfterItsDurationOnAGivenDevice)
{
    int master = -1;
    int slave = -1;
    std::array<char, 128> name{};
    ASSERT_EQ(openpty(&master, &slave, name.data(), nullptr, nullptr), 0);
    // The program must not inherit our ends of the line.
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);

    SimProgram program({"--device", name.data(), "--duration", "0.5", "--baud", "38400"});
    ASSERT_GT(program.Pid, 0);
    EXPECT_EQ(program.Wait(), 0);
    // With a device given, nothing is printed; the receiver spoke on the device.
    EXPECT_EQ(SimProgram::Drain(program.Stdout), "");
    std::string stream;
    ReadUntil(master, stream,
              [](const std::string& s) { return s.find("$GPZDA") != std::string::npos; });
    EXPECT_EQ(stream.rfind("$DIRU,GPtst", 0), 0U);
    EXPECT_NE(stream.find("$GPGGA"), std::string::npos);
    close(slave);
    close(master);
}

TEST(SimProgram, ReportsADeviceThatHangsUp)
{
    // The port's other end goes away, as when a USB adapter is pulled.
    int master = -1;
    int slave = -1;
    std::array<char, 128> name{};
    ASSERT_EQ(openpty(&master, &slave, name.data(), nullptr, nullptr), 0);
    // The program must not inherit our ends of the line.
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    SimProgram program({"--device", name.data(), "--baud", "38400"});
    ASSERT_GT(program.Pid, 0);
    std::string stream;
    ASSERT_TRUE(ReadUntil(master, stream,
                          [](const std::string& s) { return CountSentences(s, "GPGGA") >= 1; }));
    close(slave);
    close(master);
    EXPECT_EQ(program.Wait(), 2);
    const std::string error = SimProgram::Drain(program.Stderr);
    EXPECT_EQ(Occurrences(error, "\n"), 1) << error;
    EXPECT_NE(error.find(name.data()), std::string::npos) << error;
}

TEST(SimProgram, RefusesBadArgumentsWithOneLineAndStatusTwo)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--baud", "123"},
        {"--rate", "10"},
        {"--protocol"},
        {"--bogus", "1"},
        {"--device", "/nonexistent/ttyUSB7"},
        {"--tee", "/nonexistent/dir/copy.nmea", "--duration", "1"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        SimProgram program(arguments);
        ASSERT_GT(program.Pid, 0);
        EXPECT_EQ(program.Wait(), 2);
        const std::string error = SimProgram::Drain(program.Stderr);
        EXPECT_EQ(Occurrences(error, "\n"), 1) << error;
        EXPECT_EQ(error.rfind("zedezuze-sim: ", 0), 0U) << error;
        EXPECT_EQ(SimProgram::Drain(program.Stdout), "");
    }
}

} // namespace
} // namespace zz::test
