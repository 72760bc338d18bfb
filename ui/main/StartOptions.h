#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/ReceiverSettings.h"
#include "session/TRunSettings.h"

namespace zz {

// What the application's command line asks for at start-up: a connection (as typed into the
// receiver setting dialog) or a log to replay.
struct TStartOptions
{
    std::string Port; // --port: a device path or SIM; empty: no connection
    std::optional<int32_t> BaudRate;
    std::optional<TProtocol> Protocol;
    std::optional<THeader> Header;
    std::string ReplayPath; // --replay: empty: no replay
};

// Outcome of reading the command line.
struct TStartParse
{
    enum class Kind
    {
        Start,
        Help,
        Version,
        Error,
    };
    Kind Outcome = Kind::Error;
    std::string Message; // the one-line reason of an error
};

// Reads the arguments after the program's name. The toolkit's own options (-platform NAME,
// -style=NAME, -reverse, ...) are passed over for the toolkit to take; any other argument that
// is not one of ours is an error. Values follow their option or are attached with '='.
[[nodiscard]] TStartParse ParseStartOptions(std::span<const std::string_view> arguments,
                                            TStartOptions& options);

// The settings to connect with: base, with what the options give in place of its own.
TRunSettings StartRunSettings(const TStartOptions& options, TRunSettings base);

std::string_view StartUsage();
// "zedezuze 2.0".
std::string StartVersionText();

} // namespace zz
