#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace zz::test {

struct CliRun
{
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

std::string ReadFile(const std::filesystem::path& path);
// The text quoted for the shell.
std::string Quote(const std::string& text);

// Runs zedezuze-cli with the arguments (and optional standard input) through the shell and
// waits for it.
CliRun RunCli(const std::vector<std::string>& args, const std::string* input = nullptr);

// Runs a command line through the shell; its exit status, with standard output and error in
// out.
int RunShell(const std::string& command, std::string& out);

// A child process whose standard output goes to a file (standard error to the file + ".err").
class TChild
{
public:
    TChild(const std::vector<std::string>& args, const std::filesystem::path& out);
    ~TChild();
    TChild(const TChild&) = delete;
    TChild& operator=(const TChild&) = delete;

    // Waits for the end, up to the bound; the exit status, or -1 when it did not end.
    int Wait(std::chrono::seconds bound = std::chrono::seconds(60));
    void Signal(int signal) const;
    bool Started() const { return Pid > 0; }

    double CpuSeconds = 0;

private:
    pid_t Pid = -1;
};

// Starts zedezuze-sim with the arguments on a pseudo-terminal of its own; the path of the port,
// or empty when it did not print one within five seconds.
std::string StartSimulator(std::unique_ptr<TChild>& simulator, const std::vector<std::string>& args,
                           const std::filesystem::path& out);

} // namespace zz::test
