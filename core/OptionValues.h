#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/ReceiverSettings.h"

namespace zz {

// The values of the options that the application, zedezuze-cli and zedezuze-sim share, spelled
// alike on each command line. Each reader stores the value and returns nothing, or returns the
// one-line reason why the value is not one of the option's.

// An argument split at its first '=': "--baud=4800" is the option --baud with the value 4800.
// An argument that does not start with "--" or has no '=' is the name alone.
struct TOptionWord
{
    std::string_view Name;
    std::optional<std::string_view> Value;
};
TOptionWord SplitOptionWord(std::string_view argument);

// --protocol, in the order of TProtocol.
inline constexpr std::array<std::string_view, 2> kProtocolOptionValues = {"nmea", "binary"};

// --header: the three-letter names of the sentences that can open an NMEA cycle, in the order of
// THeader.
std::array<std::string_view, kHeaderCount> HeaderOptionValues();

// The position of value among names.
std::optional<int32_t> OptionValueIndex(std::span<const std::string_view> names,
                                        std::string_view value);
// "unknown value 'x' for --protocol (expected nmea|binary)".
std::string UnknownOptionValueText(std::string_view option, std::string_view value,
                                   std::span<const std::string_view> names);

// One of names, each naming the item of TChoice at its position.
template <size_t N, typename TChoice>
std::optional<std::string> ReadChoiceOption(const std::array<std::string_view, N>& names,
                                            std::string_view option, std::string_view value,
                                            TChoice& target)
{
    static_assert(N == kChoiceCount<TChoice>, "one name per item");
    if (const std::optional<int32_t> index = OptionValueIndex(names, value)) {
        target = *ChoiceAt<TChoice>(*index);
        return std::nullopt;
    }
    return UnknownOptionValueText(option, value, names);
}

std::optional<std::string> ReadProtocolOption(std::string_view option, std::string_view value,
                                              TProtocol& protocol);
std::optional<std::string> ReadHeaderOption(std::string_view option, std::string_view value,
                                            THeader& header);
// A finite number above 0, the whole value.
std::optional<std::string> ReadPositiveNumber(std::string_view option, std::string_view value,
                                              double& number);

} // namespace zz
