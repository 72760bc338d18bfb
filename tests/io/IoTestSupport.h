#pragma once

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <poll.h>
#include <pthread.h>
#include <pty.h>
#include <string>
#include <thread>
#include <time.h>
#include <unistd.h>

#include "io/COMSTATUS.h"

namespace zz::test {

// Bound on every wait for something the code under test must do; generous, so that a slow or
// instrumented build never fails by time, only a missing event does.
inline constexpr std::chrono::milliseconds kEventBound{5000};

// Polls a condition until it holds or the bound passes; whether it held.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds bound = kEventBound)
{
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// The line to a port at 9600 baud, 8 data bits, no parity, one stop bit, no flow control.
inline COMSTATUS Line(std::string portName)
{
    COMSTATUS line;
    line.PortName = std::move(portName);
    return line;
}

// A pseudo-terminal: the master plays the receiver, the slave path is the port.
class TPtyPair
{
public:
    TPtyPair()
    {
        char name[256] = {};
        if (::openpty(&Master, &Slave, name, nullptr, nullptr) == 0) {
            SlavePath = name;
            ::fcntl(Master, F_SETFL, ::fcntl(Master, F_GETFL) | O_NONBLOCK);
        }
    }
    ~TPtyPair()
    {
        CloseMaster();
        CloseSlave();
    }
    TPtyPair(const TPtyPair&) = delete;
    TPtyPair& operator=(const TPtyPair&) = delete;

    bool Ok() const { return Master >= 0 && Slave >= 0; }
    void CloseMaster()
    {
        if (Master >= 0) {
            ::close(Master);
            Master = -1;
        }
    }
    void CloseSlave()
    {
        if (Slave >= 0) {
            ::close(Slave);
            Slave = -1;
        }
    }
    bool WriteMaster(const std::string& bytes) const
    {
        return ::write(Master, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // Reads from the master until count bytes came or the bound passed.
    std::string ReadMaster(size_t count) const
    {
        std::string bytes;
        WaitUntil([&] {
            char buffer[256];
            const ssize_t got = ::read(Master, buffer, sizeof buffer);
            if (got > 0) {
                bytes.append(buffer, static_cast<size_t>(got));
            }
            return bytes.size() >= count;
        });
        return bytes;
    }

    int Master = -1;
    int Slave = -1;
    std::string SlavePath;
};

// A fresh directory under the system's temporary directory, removed with its content.
class TTempDir
{
public:
    TTempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zz-io-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            Path = pattern;
        }
    }
    ~TTempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    std::string File(const std::string& name) const { return (Path / name).string(); }

    std::filesystem::path Path;
};

// Processor time a thread has used so far, in milliseconds.
inline double ThreadCpuMs(pthread_t thread)
{
    clockid_t clock{};
    timespec used{};
    if (::pthread_getcpuclockid(thread, &clock) != 0 || ::clock_gettime(clock, &used) != 0) {
        return -1.0;
    }
    return static_cast<double>(used.tv_sec) * 1000.0 + static_cast<double>(used.tv_nsec) / 1e6;
}

} // namespace zz::test
