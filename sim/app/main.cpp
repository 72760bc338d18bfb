// zedezuze-sim: a simulated GPS receiver on a pseudo-terminal or a serial device.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "core/ProductVersion.h"
#include "sim/SimOptions.h"
#include "sim/TSimPty.h"

namespace {

constexpr int kExitError = 2;
// Longest wait for a signal before the line and the duration are looked at again.
constexpr long kWatchNanoseconds = 100'000'000;

int Fail(const std::string& reason)
{
    const std::string line = "zedezuze-sim: " + reason + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    return kExitError;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    zz::TSimOptions options;
    std::string error;
    if (!zz::ParseSimOptions(arguments, options, error)) {
        return Fail(error);
    }
    if (options.Version) {
        std::printf("zedezuze-sim %.*s\n", static_cast<int>(zz::kProductVersion.size()),
                    zz::kProductVersion.data());
        return 0;
    }
    if (options.Help) {
        const std::string_view usage = zz::SimUsage();
        std::fwrite(usage.data(), 1, usage.size(), stdout);
        return 0;
    }
    options.Settings.StartUnixSeconds = std::chrono::duration_cast<std::chrono::seconds>(
                                            std::chrono::system_clock::now().time_since_epoch())
                                            .count();

    // The signals that end the program are taken by sigtimedwait below, in this thread only:
    // block them before the serving thread starts so that it inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    zz::TSimPty port(options.Settings);
    const bool opened =
        options.Device.empty() ? port.OpenPty(error) : port.OpenDevice(options.Device, error);
    if (!opened || (!options.Tee.empty() && !port.OpenTee(options.Tee, error)) ||
        !port.Start(error)) {
        return Fail(error);
    }
    if (options.Device.empty()) {
        std::printf("%s\n", port.SlavePath().c_str());
        std::fflush(stdout);
    }

    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(options.DurationSeconds);
    for (;;) {
        const timespec wait{0, kWatchNanoseconds};
        if (sigtimedwait(&stopSignals, nullptr, &wait) >= 0) {
            break;
        }
        if (port.LineLost()) {
            port.Stop();
            return Fail("the line to " + port.SlavePath() + " was lost");
        }
        if (options.DurationSeconds > 0.0 && std::chrono::steady_clock::now() >= deadline) {
            break;
        }
    }
    port.Stop();
    return 0;
}
