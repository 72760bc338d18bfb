#include "tests/cli/CliProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

#include "core/CompilerWarnings.h"

extern char** environ;

namespace zz::test {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

ZZ_GCC12_FALSE_RESTRICT_BEGIN
CliRun RunCli(const std::vector<std::string>& args, const std::string* input)
{
    const fs::path dir = fs::temp_directory_path() / ("zz-cli-test-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string command = Quote(ZZ_CLI_PATH);
    for (const auto& arg : args) {
        command += " " + Quote(arg);
    }
    if (input != nullptr) {
        std::ofstream(dir / "in", std::ios::binary) << *input;
        command += " < " + Quote((dir / "in").string());
    } else {
        command += " < /dev/null";
    }
    command += " > " + Quote((dir / "out").string()) + " 2> " + Quote((dir / "err").string());
    const int status = std::system(command.c_str());
    CliRun run;
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = ReadFile(dir / "out");
    run.Err = ReadFile(dir / "err");
    fs::remove_all(dir);
    return run;
}
ZZ_GCC12_FALSE_RESTRICT_END

int RunShell(const std::string& command, std::string& out)
{
    out.clear();
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TChild::TChild(const std::vector<std::string>& args, const fs::path& out)
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

TChild::~TChild()
{
    if (Pid > 0) {
        ::kill(Pid, SIGKILL);
        Wait();
    }
}

int TChild::Wait(std::chrono::seconds bound)
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

void TChild::Signal(int signal) const
{
    ::kill(Pid, signal);
}

std::string StartSimulator(std::unique_ptr<TChild>& simulator, const std::vector<std::string>& args,
                           const fs::path& out)
{
    std::vector<std::string> command = {ZZ_SIM_PATH};
    command.insert(command.end(), args.begin(), args.end());
    simulator = std::make_unique<TChild>(command, out);
    for (int i = 0; i < 250; ++i) {
        const std::string printed = ReadFile(out);
        if (printed.find('\n') != std::string::npos) {
            return printed.substr(0, printed.find('\n'));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
}

} // namespace zz::test
