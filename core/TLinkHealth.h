#pragma once

#include <cstdint>
#include <string_view>

#include "core/ReceiverSettings.h"

namespace zz {

// The counts of a link, from the bytes received and the sentences or frames the framer cut out of
// them.
struct TLinkReport
{
    uint64_t Bytes = 0;            // received (a raw log's marker line not included)
    uint64_t Framed = 0;           // sentences or frames framed
    uint64_t FramedBytes = 0;      // their bytes, line ends included
    uint64_t ChecksumFailures = 0; // framed with a wrong check
    uint64_t WithoutChecksum = 0;  // NMEA sentences framed without one
    uint64_t Commands = 0;         // sent-command lines of a text log
    uint64_t CommandBytes = 0;
    // Bytes in no sentence, frame or command line: framing garbage, and a sentence cut off at
    // the end.
    uint64_t DiscardedBytes() const;
};

// Counts a link as it runs.
class TLinkHealth
{
public:
    explicit TLinkHealth(TProtocol protocol) : Protocol(protocol) {}

    void AddBytes(uint64_t count) { Report.Bytes += count; }
    // One framed sentence (without CR LF) or the hexadecimal text of one frame.
    void AddFramed(std::string_view text);
    // A sent-command line of a text log, all its bytes counted.
    void AddCommandLine(uint64_t bytes);

    const TLinkReport& Counts() const { return Report; }

private:
    TProtocol Protocol;
    TLinkReport Report;
};

// The share of a line's capacity that bytes used over seconds at a baud rate: ten bits a byte
// (a start bit, eight data bits and a stop bit).
double LineUse(uint64_t bytes, double seconds, int32_t baudRate);

} // namespace zz
