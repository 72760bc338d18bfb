#include "io/TBinary.h"

#include <memory>

#include "core/TBinaryEngine.h"

namespace zz {

TBinary::TBinary(bool createSuspended, TControlFlags& flags, const TKeptValues& kept,
                 std::atomic<uint8_t>& displayPending, TLogFiles* logFiles,
                 TProtocolListener* listener)
    : TGpsioThread(createSuspended, flags, kept, displayPending, logFiles, listener)
{
    SetEngine(std::make_unique<TBinaryEngine>(flags, kept, *this));
    FinishConstruction();
}

TBinary::~TBinary()
{
    StopProtocolThread();
}

} // namespace zz
