#pragma once

#include <atomic>
#include <cstdint>

#include "io/TGpsioThread.h"

namespace zz {

// The protocol thread of the binary protocol: a TGpsioThread running a TBinaryEngine.
class TBinary final : public TGpsioThread
{
public:
    TBinary(bool createSuspended, TControlFlags& flags, const TKeptValues& kept,
            std::atomic<uint8_t>& displayPending, TLogFiles* logFiles, TProtocolListener* listener);
    ~TBinary() override;
};

} // namespace zz
