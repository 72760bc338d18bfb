#include "fuzz/FuzzSession.h"

#include <algorithm>

namespace zz::fuzz {
namespace {

constexpr size_t kSteeringBytes = 4;

bool Bit(uint8_t byte, int bit)
{
    return ((byte >> bit) & 1) != 0;
}

// The first item of a choice's control, or with noSentence the value past its items, which
// names no sentence.
template <typename TChoice> TChoice FirstOrNone(bool noSentence)
{
    return static_cast<TChoice>(noSentence ? kChoiceCount<TChoice> : 0);
}

} // namespace

uint8_t FuzzSession::SteeringByte(const uint8_t* data, size_t size, size_t index)
{
    return index < size ? data[index] : 0;
}

FuzzSession::FuzzSession(const uint8_t* data, size_t size)
    : Stream(data + std::min(size, kSteeringBytes)),
      StreamSize(size - std::min(size, kSteeringBytes)),
      ChunkSize(static_cast<size_t>(SteeringByte(data, size, 0)) + 1),
      Requests(SteeringByte(data, size, 3)), ArmAtStart(Bit(SteeringByte(data, size, 2), 6)),
      TerminateSecondHalf(Bit(SteeringByte(data, size, 2), 7))
{
    const uint8_t choices = SteeringByte(data, size, 1);
    Kept.HeaderIndex = static_cast<THeader>(choices & 0x07);
    Kept.LFref = static_cast<TPositionRef>((choices >> 3) & 0x03);
    Kept.SAref = Bit(choices, 5) ? TSatellitesRef::GSVWav : TSatellitesRef::GSV;
    Kept.VDref = Bit(choices, 6) ? TVelocityRef::VTG : TVelocityRef::RMC;
    Flags.Replaying = Bit(choices, 7) ? 1 : 0;
    Flags.ReplayPlaying = Flags.Replaying.load();

    const uint8_t unused = SteeringByte(data, size, 2);
    Kept.ASref = FirstOrNone<TAltitudeRef>(Bit(unused, 0));
    Kept.UTref = FirstOrNone<TTimeRef>(Bit(unused, 1));
    Kept.DDref = FirstOrNone<TFixModeRef>(Bit(unused, 2));
    Kept.ROref = FirstOrNone<TRateOfTurnRef>(Bit(unused, 3));
    Kept.ACref = FirstOrNone<TAccuracyRef>(Bit(unused, 4));
    Kept.TSref = FirstOrNone<TVersionRef>(Bit(unused, 5));
    Flags.ReplaySpeed = (Requests >> 5) & 0x03;
    Flags.Running = 1;
}

void FuzzSession::Feed(TProtocolEngine& engine)
{
    engine.SetPort(&Hooks);
    if (ArmAtStart) {
        engine.ArmTtff();
    }
    const bool monitorEveryChunk = Bit(Requests, 7);
    size_t chunkIndex = 0;
    for (size_t offset = 0; offset < StreamSize; offset += ChunkSize, ++chunkIndex) {
        if (chunkIndex % 2 == 1) {
            Flags.PlotClearRequest = Bit(Requests, 0) ? 1 : 0;
            Flags.SbasResetRequest = Bit(Requests, 1) ? 1 : 0;
            Flags.UsedPrnResetRequest = Bit(Requests, 2) ? 1 : 0;
            Flags.FramerReset = Bit(Requests, 3) ? 1 : 0;
            if (Bit(Requests, 4)) {
                engine.ArmTtff();
            }
        }
        Hooks.Terminating = TerminateSecondHalf && offset >= StreamSize / 2;
        engine.ReceiveBytes(Stream + offset, std::min(ChunkSize, StreamSize - offset));
        if (monitorEveryChunk) {
            ServeMonitor(engine);
        }
    }
    Hooks.Terminating = false;
    ServeMonitor(engine);
}

void FuzzSession::ServeMonitor(TProtocolEngine& engine)
{
    int32_t count = 0;
    while (engine.Ring().TakeLine(Line.data(), count) == TTakeResult::TakenMore) {
    }
    // Whether a group changed does not matter: the copy itself is what is exercised.
    static_cast<void>(engine.TakeSnapshot(Snapshot));
}

std::string_view FuzzSession::StreamText(size_t maxLength) const
{
    return {reinterpret_cast<const char*>(Stream), std::min(StreamSize, maxLength)};
}

} // namespace zz::fuzz
