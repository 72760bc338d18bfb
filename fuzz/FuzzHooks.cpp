#include "fuzz/FuzzHooks.h"

namespace zz::fuzz {
namespace {

constexpr TimeStamp kTickDays = 0.37 / 86400.0;

} // namespace

TimeStamp FuzzHooks::Now()
{
    Clock += kTickDays;
    return Clock;
}

bool FuzzHooks::TerminationRequested()
{
    return Terminating;
}

void FuzzHooks::WriteByte(uint8_t byte)
{
    // Touch every byte, so that a byte read from outside the command's bytes is caught.
    PortCheck = static_cast<uint8_t>(PortCheck ^ byte);
}

} // namespace zz::fuzz
