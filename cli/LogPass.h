#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/CliOptions.h"
#include "core/TProtocolEngine.h"

namespace zz::cli {

// The surroundings of a protocol engine during one pass through a log, and what the pass hands
// over besides the engine's own calls.
class TLogPassHooks : public TProtocolHooks
{
public:
    void Attach(TProtocolEngine& engine) { Engine = &engine; }
    // One chunk as read from the log; the default gives it to the engine whole.
    virtual void Feed(const uint8_t* bytes, size_t count) { Engine->ReceiveBytes(bytes, count); }
    // The log starts with a raw log's marker line of this many bytes (it is fed all the same).
    virtual void MarkerLine(size_t) {}

protected:
    TProtocolEngine* Engine = nullptr;
};

// Runs the log options.Path ("-": standard input) at full speed through the engine of
// options.Protocol, with the receiver choices of options; the header of the NMEA cycle is
// options.HeaderIndex or, without it, the log's marker line (GGA when it has none). True at the
// end of the log; false with the reason in error when it cannot be opened or read.
[[nodiscard]] bool RunLogPass(const TCliOptions& options, TLogPassHooks& hooks, std::string& error);

} // namespace zz::cli
