#include "sim/TSimPty.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iterator>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include "core/BaudRates.h"

namespace zz {
namespace {

// Longest wait between two steps of the receiver: the granularity of the pacing.
constexpr int kTickMs = 10;

std::string Reason(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

// The termios constant of each rate of kLineBaudRates, in the same order.
#define ZZ_BAUD_SPEED(rate) B##rate
constexpr speed_t kLineSpeeds[] = {ZZ_LINE_BAUD_RATES(ZZ_BAUD_SPEED)};
#undef ZZ_BAUD_SPEED
static_assert(std::size(kLineSpeeds) == kLineBaudRates.size());

// B0 for a rate a line cannot be set to: the line then keeps its speed.
speed_t SpeedOf(int baudRate)
{
    const int index = LineBaudRateIndex(baudRate);
    return index < 0 ? B0 : kLineSpeeds[index];
}

bool MakeRaw(int fd, int baudRate)
{
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        return false;
    }
    cfmakeraw(&settings);
    const speed_t speed = SpeedOf(baudRate);
    if (speed != B0) {
        cfsetispeed(&settings, speed);
        cfsetospeed(&settings, speed);
    }
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

void CloseFd(int& fd)
{
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

} // namespace

TSimPty::TSimPty(const TSimSettings& settings) : Receiver(settings)
{
}

TSimPty::~TSimPty()
{
    Stop();
    CloseFd(LineFd);
    CloseFd(SlaveFd);
    CloseFd(TeeFd);
    CloseFd(WakeFd);
}

bool TSimPty::OpenPty(std::string& error)
{
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        error = Reason("cannot create a pseudo-terminal");
        return false;
    }
    std::array<char, 256> name{};
    if (ttyname_r(slave, name.data(), name.size()) != 0 ||
        !MakeRaw(slave, Receiver.Settings().BaudRate) ||
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) != 0 ||
        fcntl(master, F_SETFD, FD_CLOEXEC) != 0 || fcntl(slave, F_SETFD, FD_CLOEXEC) != 0) {
        error = Reason("cannot set up the pseudo-terminal");
        close(master);
        close(slave);
        return false;
    }
    LineFd = master;
    SlaveFd = slave;
    Path = name.data();
    return true;
}

bool TSimPty::OpenDevice(const std::string& path, std::string& error)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = Reason(("cannot open " + path).c_str());
        return false;
    }
    LineIsTerminal = isatty(fd) == 1;
    if (LineIsTerminal && !MakeRaw(fd, Receiver.Settings().BaudRate)) {
        error = Reason(("cannot set up " + path).c_str());
        close(fd);
        return false;
    }
    LineFd = fd;
    Path = path;
    return true;
}

bool TSimPty::OpenTee(const std::string& path, std::string& error)
{
    TeeFd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (TeeFd < 0) {
        error = Reason(("cannot create " + path).c_str());
        return false;
    }
    return true;
}

bool TSimPty::Start(std::string& error)
{
    if (LineFd < 0 || Worker.joinable()) {
        error = "no line to serve";
        return false;
    }
    if (WakeFd < 0) {
        WakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (WakeFd < 0) {
            error = Reason("cannot create an event");
            return false;
        }
    }
    Worker = std::thread(&TSimPty::Run, this);
    return true;
}

void TSimPty::Stop()
{
    if (!Worker.joinable()) {
        return;
    }
    const uint64_t one = 1;
    while (write(WakeFd, &one, sizeof one) < 0 && errno == EINTR) {
    }
    Worker.join();
    uint64_t drained = 0;
    while (read(WakeFd, &drained, sizeof drained) < 0 && errno == EINTR) {
    }
}

void TSimPty::Run()
{
    using TClock = std::chrono::steady_clock;
    auto last = TClock::now();
    bool listening = true;
    std::string out;
    std::array<uint8_t, 512> input{};

    Receiver.Step(0.0, out);
    Write(out);
    for (;;) {
        std::array<pollfd, 2> watched{{{WakeFd, POLLIN, 0}, {listening ? LineFd : -1, POLLIN, 0}}};
        const int ready = poll(watched.data(), watched.size(), kTickMs);
        if (ready < 0 && errno != EINTR) {
            Lost.store(true);
            return;
        }
        if (ready > 0 && watched[0].revents != 0) {
            return;
        }
        if (ready > 0 && watched[1].revents != 0) {
            const ssize_t count = read(LineFd, input.data(), input.size());
            if (count > 0) {
                Receiver.HandleInput(input.data(), static_cast<size_t>(count));
            } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
                // Nothing more will come: stop listening to a line that only reports its end.
                // A file or /dev/null is still written to; a terminal or a port that hung up
                // is gone.
                listening = false;
                Lost.store(SlaveFd < 0 && (count < 0 || LineIsTerminal));
            }
        }

        const auto now = TClock::now();
        const double elapsed = std::chrono::duration<double>(now - last).count();
        last = now;
        out.clear();
        Receiver.Step(elapsed, out);
        Write(out);
    }
}

void TSimPty::Write(const std::string& out)
{
    if (out.empty() || Lost.load()) {
        return;
    }
    const ssize_t written = write(LineFd, out.data(), out.size());
    if (written <= 0) {
        return;
    }
    if (TeeFd >= 0) {
        const char* data = out.data();
        size_t left = static_cast<size_t>(written);
        while (left > 0) {
            const ssize_t teed = write(TeeFd, data, left);
            if (teed < 0 && errno == EINTR) {
                continue;
            }
            if (teed <= 0) {
                break;
            }
            data += teed;
            left -= static_cast<size_t>(teed);
        }
    }
    Sent.fetch_add(static_cast<uint64_t>(written));
}

} // namespace zz
