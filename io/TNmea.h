#pragma once

#include <atomic>
#include <cstdint>

#include "io/TGpsioThread.h"

namespace zz {

// The protocol thread of the NMEA protocol: a TGpsioThread running a TNmeaEngine.
class TNmea final : public TGpsioThread
{
public:
    TNmea(bool createSuspended, TControlFlags& flags, const TKeptValues& kept,
          std::atomic<uint8_t>& displayPending, TLogFiles* logFiles, TProtocolListener* listener);
    ~TNmea() override;
};

} // namespace zz
