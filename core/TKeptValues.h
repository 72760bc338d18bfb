#pragma once

#include <atomic>

#include "core/ReceiverSettings.h"

namespace zz {

// The receiver settings of the run, as the receiver setting dialog kept them at the last
// connection. The decoders read these, never the dialog; the window thread writes them while the
// protocol thread reads, so each is atomic. Each value is read on its own: a decoder needs no
// two of them to agree.
struct TKeptValues
{
    std::atomic<THeader> HeaderIndex{THeader::GGA};
    std::atomic<TPositionRef> LFref{TPositionRef::GGA};
    std::atomic<TAltitudeRef> ASref{TAltitudeRef::GGA};
    std::atomic<TTimeRef> UTref{TTimeRef::ZDA};
    std::atomic<TFixModeRef> DDref{TFixModeRef::GSA};
    std::atomic<TSatellitesRef> SAref{TSatellitesRef::GSV};
    std::atomic<TVelocityRef> VDref{TVelocityRef::RMC};
    std::atomic<TRateOfTurnRef> ROref{TRateOfTurnRef::ROT};
    std::atomic<TAccuracyRef> ACref{TAccuracyRef::Acc};
    std::atomic<TVersionRef> TSref{TVersionRef::Tst};
    std::atomic<TProtocol> ProtocolIndex{TProtocol::Nmea};

    // Stores every value of the settings.
    void Apply(const TReceiverSettings& settings);
    // Every value, read one by one.
    TReceiverSettings Load() const;
};

} // namespace zz
