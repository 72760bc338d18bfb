#include "core/TReceiverState.h"

#include <array>
#include <cstring>

namespace zz {
namespace {

using FlagMember = bool TReceiverState::*;

constexpr std::array<FlagMember, kStateFlagCount> kFlagMembers = {
    &TReceiverState::PositionUpdated,      &TReceiverState::AltitudeUpdated,
    &TReceiverState::DateTimeUpdated,      &TReceiverState::FixModeUpdated,
    &TReceiverState::DopUpdated,           &TReceiverState::UsedPrnUpdated,
    &TReceiverState::WavSatellitesUpdated, &TReceiverState::SatellitesUpdated,
    &TReceiverState::VelocityUpdated,      &TReceiverState::RotUpdated,
    &TReceiverState::AccuracyUpdated,      &TReceiverState::VersionUpdated,
    &TReceiverState::TtffUpdated,          &TReceiverState::CycleUpdated,
};

constexpr std::array<const char*, kStateFlagCount> kFlagNames = {
    "PositionUpdated", "AltitudeUpdated",      "DateTimeUpdated",   "FixModeUpdated",  "DopUpdated",
    "UsedPrnUpdated",  "WavSatellitesUpdated", "SatellitesUpdated", "VelocityUpdated", "RotUpdated",
    "AccuracyUpdated", "VersionUpdated",       "TtffUpdated",       "CycleUpdated",
};

} // namespace

const char* StateFlagName(TStateFlag flag)
{
    return kFlagNames[static_cast<size_t>(flag)];
}

bool& StateFlag(TReceiverState& state, TStateFlag flag)
{
    return state.*kFlagMembers[static_cast<size_t>(flag)];
}

bool StateFlag(const TReceiverState& state, TStateFlag flag)
{
    return state.*kFlagMembers[static_cast<size_t>(flag)];
}

bool AnyStateFlagRaised(const TReceiverState& state)
{
    for (FlagMember member : kFlagMembers) {
        if (state.*member) {
            return true;
        }
    }
    return false;
}

void ClearStateFlags(TReceiverState& state)
{
    for (FlagMember member : kFlagMembers) {
        state.*member = false;
    }
}

void ResetReceiverState(TReceiverState& state)
{
    std::memset(&state, 0, sizeof state);
}

} // namespace zz
