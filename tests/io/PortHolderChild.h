#pragma once

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace zz::test {

// A child process that opens a device, takes it as a serial program does (an exclusive flock
// and the terminal's exclusive mode) and then becomes `sleep`, holding the device until the
// object is destroyed.
class TPortHolderChild
{
public:
    explicit TPortHolderChild(const std::string& devicePath)
    {
        const char* sleepPath = ::access("/bin/sleep", X_OK) == 0 ? "/bin/sleep" : "/usr/bin/sleep";
        const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) {
            return;
        }
        ChildPid = ::fork();
        if (ChildPid == 0) {
            // Only async-signal-safe calls between fork and exec.
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
                ::_exit(1);
            }
            char name[] = "sleep";
            char seconds[] = "600";
            char* const arguments[] = {name, seconds, nullptr};
            ::execv(sleepPath, arguments);
            ::_exit(127);
        }
        ::close(fd);
        // The lock is taken before the exec: once the child runs `sleep`, it holds the device.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (ChildPid > 0 && std::chrono::steady_clock::now() < deadline) {
            if (::waitpid(ChildPid, nullptr, WNOHANG) != 0) {
                ChildPid = -1;
                break;
            }
            if (CommandName() == "sleep\n") {
                IsHolding = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ~TPortHolderChild()
    {
        if (ChildPid > 0) {
            ::kill(ChildPid, SIGKILL);
            ::waitpid(ChildPid, nullptr, 0);
        }
    }
    TPortHolderChild(const TPortHolderChild&) = delete;
    TPortHolderChild& operator=(const TPortHolderChild&) = delete;

    // The child runs `sleep` with the device taken.
    bool Holding() const { return IsHolding; }
    pid_t Pid() const { return ChildPid; }

private:
    std::string CommandName() const
    {
        std::ifstream in("/proc/" + std::to_string(ChildPid) + "/comm");
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    pid_t ChildPid = -1;
    bool IsHolding = false;
};

} // namespace zz::test
