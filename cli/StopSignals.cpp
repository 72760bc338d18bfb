#include "cli/StopSignals.h"

#include <atomic>
#include <csignal>

namespace zz::cli {
namespace {

std::atomic<bool> StopRequested{false};

void RequestStop(int)
{
    StopRequested.store(true);
}

} // namespace

void WatchStopSignals()
{
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
}

bool StopSignalled()
{
    return StopRequested.load();
}

} // namespace zz::cli
