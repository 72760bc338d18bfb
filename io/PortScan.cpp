#include "io/PortScan.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <string_view>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace zz {
namespace {

constexpr std::string_view kPortFamilies[] = {"ttyS", "ttyUSB", "ttyACM", "ttyAMA", "rfcomm"};

struct TPortCandidate
{
    size_t Family;
    uint64_t Number;
    std::string Name;
};

// A family prefix followed by a decimal number, nothing else.
bool ParsePortName(std::string_view name, TPortCandidate& candidate)
{
    for (size_t family = 0; family < std::size(kPortFamilies); ++family) {
        const std::string_view prefix = kPortFamilies[family];
        if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) {
            continue;
        }
        const std::string_view digits = name.substr(prefix.size());
        if (!std::all_of(digits.begin(), digits.end(),
                         [](char c) { return c >= '0' && c <= '9'; })) {
            continue;
        }
        uint64_t number = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error != std::errc() || end != digits.data() + digits.size()) {
            continue;
        }
        candidate = {family, number, std::string(name)};
        return true;
    }
    return false;
}

// Opens without waiting for modem lines, checks that it is a terminal with a device behind it
// and that nobody holds it, and closes again; no setting is written. uartSlot: a ttyS node,
// which the kernel creates for every possible UART whether or not one is fitted.
bool PortCanBeOpened(const std::string& path, bool uartSlot)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    termios settings{};
    bool usable = ::isatty(fd) == 1 && ::tcgetattr(fd, &settings) == 0;
    if (usable && uartSlot) {
        // A UART slot the kernel reserves without hardware behind it reports an unknown type.
        serial_struct serial{};
        if (::ioctl(fd, TIOCGSERIAL, &serial) == 0 && serial.type == PORT_UNKNOWN) {
            usable = false;
        }
    }
    if (usable && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        usable = false;
    }
    ::close(fd);
    return usable;
}

} // namespace

std::vector<std::string> ScanPorts(const std::string& deviceDirectory)
{
    std::vector<TPortCandidate> candidates;
    if (DIR* directory = ::opendir(deviceDirectory.c_str())) {
        while (const dirent* entry = ::readdir(directory)) {
            TPortCandidate candidate;
            if (ParsePortName(entry->d_name, candidate)) {
                candidates.push_back(std::move(candidate));
            }
        }
        ::closedir(directory);
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const TPortCandidate& a, const TPortCandidate& b) {
                  if (a.Family != b.Family) {
                      return a.Family < b.Family;
                  }
                  if (a.Number != b.Number) {
                      return a.Number < b.Number;
                  }
                  return a.Name < b.Name;
              });

    std::vector<std::string> ports;
    for (const TPortCandidate& candidate : candidates) {
        const std::string path = deviceDirectory + "/" + candidate.Name;
        if (PortCanBeOpened(path, candidate.Family == 0)) {
            ports.push_back(path);
        }
    }
    ports.emplace_back(kSimulatedPortName);
    return ports;
}

} // namespace zz
