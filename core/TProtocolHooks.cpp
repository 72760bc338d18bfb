#include "core/TProtocolHooks.h"

namespace zz {

void TProtocolHooks::WriteRawChunk(const uint8_t*, size_t)
{
}
void TProtocolHooks::WriteLogLine(const char*, size_t)
{
}
void TProtocolHooks::LinePut(const char*, size_t)
{
}
void TProtocolHooks::SetDisplayPending()
{
}
void TProtocolHooks::ShowTtffText(TTtffText)
{
}
void TProtocolHooks::ClearAltitudeVelocityPlots()
{
}
void TProtocolHooks::SleepMs(int)
{
}
TimeStamp TProtocolHooks::Now()
{
    return 0.0;
}
bool TProtocolHooks::TerminationRequested()
{
    return false;
}

} // namespace zz
