#pragma once

#include <atomic>
#include <cstdint>

namespace zz {

// Indices of the sentence that opens an NMEA cycle ("Header of NMEA cycle").
enum THeaderIndex : int32_t
{
    HeaderGGA = 0,
    HeaderRMC = 1,
    HeaderGLL = 2,
    HeaderROT = 3,
    HeaderGSA = 4,
    HeaderVTG = 5,
    HeaderGSV = 6,
    HeaderZDA = 7,
};

// Protocol indices of the receiver setting dialog.
enum TProtocolIndex : int32_t
{
    ProtocolNmea = 0,
    ProtocolBinary = 1,
};

// The choices the receiver setting dialog keeps at its last showing or connection, in the
// dialog's order. The decoders read these, never the controls; the window thread writes them,
// so each is atomic.
struct TKeptValues
{
    std::atomic<int32_t> HeaderIndex{HeaderGGA};
    std::atomic<int32_t> LFref{0}; // position: 0 GGA, 1 GLL, 2 RMC
    std::atomic<int32_t> ASref{0}; // altitude and satellites used: 0 GGA
    std::atomic<int32_t> UTref{0}; // date and time: 0 ZDA
    std::atomic<int32_t> DDref{0}; // fix mode, DOP, used PRNs: 0 GSA
    std::atomic<int32_t> SAref{0}; // satellites in view: 0 GSV, 1 GSV+wav
    std::atomic<int32_t> VDref{0}; // velocity: 0 RMC, 1 VTG
    std::atomic<int32_t> ROref{0}; // rate of turn: 0 ROT
    std::atomic<int32_t> ACref{0}; // satellite accuracy: 0 acc
    std::atomic<int32_t> TSref{0}; // program version: 0 tst
    std::atomic<int32_t> ProtocolIndex{ProtocolNmea};
    std::atomic<int32_t> BaudRateIndex{2};
    std::atomic<int32_t> DataBitsIndex{1};
    std::atomic<int32_t> ParityIndex{0};
    std::atomic<int32_t> StopBitsIndex{0};
};

} // namespace zz
