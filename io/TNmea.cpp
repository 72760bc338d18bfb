#include "io/TNmea.h"

#include <memory>

#include "core/TNmeaEngine.h"

namespace zz {

TNmea::TNmea(bool createSuspended, TControlFlags& flags, const TKeptValues& kept,
             std::atomic<uint8_t>& displayPending, TLogFiles* logFiles, TProtocolListener* listener)
    : TGpsioThread(createSuspended, flags, kept, displayPending, logFiles, listener)
{
    SetEngine(std::make_unique<TNmeaEngine>(flags, kept, *this));
    FinishConstruction();
}

TNmea::~TNmea()
{
    StopProtocolThread();
}

} // namespace zz
