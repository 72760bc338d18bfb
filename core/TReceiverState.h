#pragma once

#include <cstdint>

namespace zz {

// Absent-value marks of the receiver state.
inline constexpr double NoPosition = 20000.0;           // latitude or longitude not reported
inline constexpr double NoValue = 2147483648.0;         // any other real not reported (2^31)
inline constexpr int32_t NoCode = 128;                  // integer or code not reported
inline constexpr int32_t NoYear = 32768;                // year not reported
inline constexpr double NoSecond = 128.0;               // seconds not reported
inline constexpr double NoVersion = 10000000000.0;      // version sentence with an empty field
inline constexpr double NoCycleRotStatus = 134217728.0; // no rate of turn in the cycle (2^27)

inline constexpr int kSatSlots = 16;
inline constexpr int kAccuracySlots = 32;
inline constexpr int kLastCommandSize = 9600;

// Time stamps count days (the time of day is the fraction) on a monotonic clock; only
// differences between them are used.
using TimeStamp = double;

// The decoded picture of the receiver: plain data of fixed size, copied whole by a snapshot.
// Field order and types follow the receiver-state layout the rest of the program relies on.
struct TReceiverState
{
    // Position
    int32_t FixQuality;
    double Latitude;
    double Longitude;
    bool PositionUpdated;
    bool PositionPending;
    // Altitude
    double Altitude;
    int32_t AltitudeSampleCount;
    int32_t SatellitesUsed;
    bool AltitudeUpdated;
    // Date and time
    int32_t Year;
    int32_t Month;
    int32_t Day;
    int32_t Hour;
    int32_t Minute;
    double Second;
    bool DateTimeUpdated;
    // Fix mode and DOP
    int32_t FixMode;
    double Pdop;
    double Hdop;
    double Vdop;
    bool FixModeUpdated;
    bool DopUpdated;
    bool FixModePending;
    // Satellites used
    int32_t UsedPrn[kSatSlots];
    bool UsedPrnUpdated;
    // Satellites in view
    int32_t SatPrn[kSatSlots];
    int32_t SatElevation[kSatSlots];
    int32_t SatAzimuth[kSatSlots];
    int32_t SatCn0[kSatSlots];
    int32_t SatellitesInView;
    bool SatellitesUpdated;
    bool WavSatellitesUpdated;
    // Velocity
    double Course;
    int32_t CourseReference;
    double Speed;
    int32_t VelocitySampleCount;
    bool VelocityUpdated;
    // Rate of turn
    int32_t RotStatus;
    double RateOfTurn;
    bool RotUpdated;
    bool RotPending;
    // Satellite accuracy: entry i belongs to PRN i+1
    int32_t SatAccuracy[kAccuracySlots];
    bool AccuracyUpdated;
    // Program version
    double ProgramVersion;
    bool VersionUpdated;
    // Cycle summary
    int32_t CycleFixQuality;
    double CycleLatitude;
    double CycleLongitude;
    double CycleRotStatus;
    int32_t CycleFixMode;
    bool CycleUpdated;
    // Last command, zero-terminated
    char LastCommand[kLastCommandSize];
    // Time to first fix
    TimeStamp TtffCommandTime;
    TimeStamp TtffRestartTime;
    TimeStamp TtffFixTime;
    int32_t Ttff;
    bool TtffArmed;
    bool TtffRestarted;
    bool TtffUpdated;
};

// The fourteen updated flags in the order in which a snapshot tests them.
enum class TStateFlag
{
    PositionUpdated,
    AltitudeUpdated,
    DateTimeUpdated,
    FixModeUpdated,
    DopUpdated,
    UsedPrnUpdated,
    WavSatellitesUpdated,
    SatellitesUpdated,
    VelocityUpdated,
    RotUpdated,
    AccuracyUpdated,
    VersionUpdated,
    TtffUpdated,
    CycleUpdated,
};
inline constexpr int kStateFlagCount = 14;

// Name of a flag as it appears in the record ("PositionUpdated", ...).
const char* StateFlagName(TStateFlag flag);

// The flag itself inside a record.
bool& StateFlag(TReceiverState& state, TStateFlag flag);
bool StateFlag(const TReceiverState& state, TStateFlag flag);

bool AnyStateFlagRaised(const TReceiverState& state);
void ClearStateFlags(TReceiverState& state);

// A zero-filled record, as a new protocol thread starts with.
void ResetReceiverState(TReceiverState& state);

} // namespace zz
