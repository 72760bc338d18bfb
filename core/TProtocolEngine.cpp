#include "core/TProtocolEngine.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace zz {
namespace {

constexpr double kHundredthsPerDay = 24.0 * 60.0 * 60.0 * 100.0;

} // namespace

TProtocolEngine::TProtocolEngine(TControlFlags& flags, const TKeptValues& kept,
                                 TProtocolHooks& hooks)
    : Flags(flags), Kept(kept), Hooks(hooks)
{
    ResetReceiverState(State);
}

bool TProtocolEngine::SendWithChecksum(const char* text, size_t count)
{
    return SendText(text, count);
}

bool TProtocolEngine::TakeSnapshot(TReceiverState& copy)
{
    auto lock = LockState();
    if (!AnyStateFlagRaised(State)) {
        return false;
    }
    if (TControlFlags::TakeRequest(Flags.UsedPrnResetRequest)) {
        std::fill(std::begin(State.UsedPrn), std::end(State.UsedPrn), 0);
    }
    std::memcpy(&copy, &State, sizeof State);
    ClearStateFlags(State);
    return true;
}

void TProtocolEngine::ArmTtff()
{
    const TimeStamp now = Hooks.Now();
    auto lock = LockState();
    State.TtffCommandTime = now;
    State.TtffArmed = true;
}

void TProtocolEngine::CopyLastCommand(char* buffer)
{
    auto lock = LockState();
    std::memcpy(buffer, State.LastCommand, sizeof State.LastCommand);
}

void TProtocolEngine::ReplayPause()
{
    if (Flags.Replaying.load() != 1) {
        return;
    }
    const int speed = std::clamp(Flags.ReplaySpeed.load(), 0, 2);
    Hooks.SleepMs(kReplayPauseMs[speed]);
}

void TProtocolEngine::ClearCycleSeen()
{
    CycleSeen.fill(0);
}

void TProtocolEngine::PaceOnRepeat(int mark)
{
    if (Flags.Replaying.load() == 1 && CycleSeen[static_cast<size_t>(mark)] == 1) {
        ReplayPause();
        ClearCycleSeen();
    }
}

void TProtocolEngine::CycleStart()
{
    {
        auto lock = LockState();
        if (State.VelocitySampleCount == INT32_MAX || State.AltitudeSampleCount == INT32_MAX) {
            State.VelocitySampleCount = 0;
            State.AltitudeSampleCount = 0;
            Hooks.ClearAltitudeVelocityPlots();
        }
    }
    // The pause must not hold the state lock: the monitor keeps taking snapshots meanwhile.
    ReplayPause();
    ClearCycleSeen();

    auto lock = LockState();
    ++State.VelocitySampleCount;
    ++State.AltitudeSampleCount;
    if (TControlFlags::TakeRequest(Flags.PlotClearRequest)) {
        Hooks.ClearAltitudeVelocityPlots();
        State.VelocitySampleCount = 1;
        State.AltitudeSampleCount = 1;
    }
    if (State.RotPending) {
        State.CycleRotStatus = static_cast<double>(State.RotStatus);
        State.RotPending = false;
    } else {
        State.CycleRotStatus = NoCycleRotStatus;
    }
    if (State.FixModePending) {
        State.CycleFixMode = State.FixMode;
        State.FixModePending = false;
    } else {
        State.CycleFixMode = NoCode;
    }
    if (State.PositionPending) {
        State.CycleFixQuality = State.FixQuality;
        State.CycleLatitude = State.Latitude;
        State.CycleLongitude = State.Longitude;
        State.PositionPending = false;
        State.CycleUpdated = true;
        MarkDisplayPending();
    }
}

void TProtocolEngine::TestFirstFix(bool binaryFix)
{
    const int32_t quality = State.FixQuality;
    const bool validFix =
        binaryFix ? (quality == 1 || quality == 2) : (quality == 1 || quality == 2 || quality == 6);
    if (!(State.TtffCommandTime < State.TtffRestartTime) || !State.TtffArmed ||
        !State.TtffRestarted || !validFix) {
        return;
    }
    State.TtffFixTime = Hooks.Now();
    const double hundredths = (State.TtffFixTime - State.TtffCommandTime) * kHundredthsPerDay;
    State.Ttff = static_cast<int32_t>(std::clamp(std::trunc(hundredths), 0.0, double{INT32_MAX}));
    State.TtffUpdated = true;
    State.TtffArmed = false;
    State.TtffRestarted = false;
}

void TProtocolEngine::NoteRestartReport()
{
    if (!State.TtffArmed) {
        return;
    }
    Hooks.ShowTtffText(TTtffText::Counting);
    State.TtffRestartTime = Hooks.Now();
    State.TtffRestarted = true;
}

void TProtocolEngine::CountIdleByte()
{
    if (Flags.Replaying.load(std::memory_order_relaxed) != 1) {
        return;
    }
    if (++IdleByteCount > 500) {
        Hooks.SleepMs(1);
        IdleByteCount = 0;
    }
}

void TProtocolEngine::ServePlotClearInReceive()
{
    if (TControlFlags::TakeRequest(Flags.PlotClearRequest)) {
        auto lock = LockState();
        State.AltitudeSampleCount = 0;
        State.VelocitySampleCount = 0;
    }
}

void TProtocolEngine::ServePlotClearInDispatch()
{
    if (TControlFlags::TakeRequest(Flags.PlotClearRequest)) {
        Hooks.ClearAltitudeVelocityPlots();
        auto lock = LockState();
        State.AltitudeSampleCount = 0;
        State.VelocitySampleCount = 0;
    }
}

void TProtocolEngine::WritePortByte(uint8_t byte)
{
    if (Port != nullptr) {
        Port->WriteByte(byte);
    }
}

void TProtocolEngine::StoreLastCommand(const char* text, size_t count)
{
    const size_t length = std::min(count, sizeof State.LastCommand - 1);
    auto lock = LockState();
    std::memcpy(State.LastCommand, text, length);
    State.LastCommand[length] = '\0';
}

} // namespace zz
