#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zz {

// The choices of the receiver setting dialog that the decoders follow. Each value is the item
// index of its control in the dialog, so a value and a control index convert one to one.

// The protocol the receiver speaks.
enum class TProtocol : int32_t
{
    Nmea = 0,
    Binary = 1,
};

// The sentence that opens an NMEA cycle ("Header of NMEA cycle").
enum class THeader : int32_t
{
    GGA = 0,
    RMC = 1,
    GLL = 2,
    ROT = 3,
    GSA = 4,
    VTG = 5,
    GSV = 6,
    ZDA = 7,
};
// Number of sentences that can open an NMEA cycle.
inline constexpr int32_t kHeaderCount = 8;

// The sentence that supplies each group of values.
enum class TPositionRef : int32_t // latitude, longitude, fix status
{
    GGA = 0,
    GLL = 1,
    RMC = 2,
};
enum class TAltitudeRef : int32_t // altitude, satellites used (count)
{
    GGA = 0,
};
enum class TTimeRef : int32_t // date and time
{
    ZDA = 0,
};
enum class TFixModeRef : int32_t // 2D/3D status, DOP, satellites used (PRNs)
{
    GSA = 0,
};
enum class TSatellitesRef : int32_t // satellites in view
{
    GSV = 0,
    GSVWav = 1, // GSV, then the SBAS satellites of the wav sentence
};
enum class TVelocityRef : int32_t // velocity, direction
{
    RMC = 0,
    VTG = 1,
};
enum class TRateOfTurnRef : int32_t
{
    ROT = 0,
};
enum class TAccuracyRef : int32_t // satellite accuracy
{
    Acc = 0,
};
enum class TVersionRef : int32_t // program version
{
    Tst = 0,
};

struct TReferences
{
    TPositionRef LFref = TPositionRef::GGA;
    TAltitudeRef ASref = TAltitudeRef::GGA;
    TTimeRef UTref = TTimeRef::ZDA;
    TFixModeRef DDref = TFixModeRef::GSA;
    TSatellitesRef SAref = TSatellitesRef::GSV;
    TVelocityRef VDref = TVelocityRef::RMC;
    TRateOfTurnRef ROref = TRateOfTurnRef::ROT;
    TAccuracyRef ACref = TAccuracyRef::Acc;
    TVersionRef TSref = TVersionRef::Tst;

    bool operator==(const TReferences&) const = default;
};

// How many items the control of each choice offers.
template <typename TChoice> inline constexpr int32_t kChoiceCount = 0;
template <> inline constexpr int32_t kChoiceCount<TProtocol> = 2;
template <> inline constexpr int32_t kChoiceCount<THeader> = kHeaderCount;
template <> inline constexpr int32_t kChoiceCount<TPositionRef> = 3;
template <> inline constexpr int32_t kChoiceCount<TAltitudeRef> = 1;
template <> inline constexpr int32_t kChoiceCount<TTimeRef> = 1;
template <> inline constexpr int32_t kChoiceCount<TFixModeRef> = 1;
template <> inline constexpr int32_t kChoiceCount<TSatellitesRef> = 2;
template <> inline constexpr int32_t kChoiceCount<TVelocityRef> = 2;
template <> inline constexpr int32_t kChoiceCount<TRateOfTurnRef> = 1;
template <> inline constexpr int32_t kChoiceCount<TAccuracyRef> = 1;
template <> inline constexpr int32_t kChoiceCount<TVersionRef> = 1;

// The item index of a choice in its control.
template <typename TChoice> constexpr int32_t ChoiceIndex(TChoice choice)
{
    return static_cast<int32_t>(choice);
}

// The choice at an item index of its control; empty for an index the control does not offer
// (-1 is a control with nothing selected).
template <typename TChoice> constexpr std::optional<TChoice> ChoiceAt(int32_t index)
{
    static_assert(kChoiceCount<TChoice> > 0, "not a choice of the receiver setting dialog");
    if (index < 0 || index >= kChoiceCount<TChoice>) {
        return std::nullopt;
    }
    return static_cast<TChoice>(index);
}

// "NMEA" or "RIRBinary"; empty for a value that names no protocol.
std::string_view ProtocolName(TProtocol protocol);

// What the decoders of a run follow: the protocol, the header of the NMEA cycle and the
// references.
struct TReceiverSettings
{
    TProtocol Protocol = TProtocol::Nmea;
    THeader Header = THeader::GGA;
    TReferences References;

    bool operator==(const TReceiverSettings&) const = default;
};

} // namespace zz
