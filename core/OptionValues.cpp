#include "core/OptionValues.h"

#include <charconv>
#include <cmath>

#include "core/RawLogMarker.h"

namespace zz {

TOptionWord SplitOptionWord(std::string_view argument)
{
    const size_t equals = argument.find('=');
    if (!argument.starts_with("--") || equals == std::string_view::npos) {
        return {argument, std::nullopt};
    }
    return {argument.substr(0, equals), argument.substr(equals + 1)};
}

std::array<std::string_view, kHeaderCount> HeaderOptionValues()
{
    std::array<std::string_view, kHeaderCount> names{};
    for (int32_t i = 0; i < kHeaderCount; ++i) {
        names[static_cast<size_t>(i)] = HeaderName(i);
    }
    return names;
}

std::optional<int32_t> OptionValueIndex(std::span<const std::string_view> names,
                                        std::string_view value)
{
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == value) {
            return static_cast<int32_t>(i);
        }
    }
    return std::nullopt;
}

std::string UnknownOptionValueText(std::string_view option, std::string_view value,
                                   std::span<const std::string_view> names)
{
    std::string text =
        "unknown value '" + std::string(value) + "' for " + std::string(option) + " (expected ";
    for (size_t i = 0; i < names.size(); ++i) {
        text += i == 0 ? "" : "|";
        text += names[i];
    }
    return text + ")";
}

std::optional<std::string> ReadProtocolOption(std::string_view option, std::string_view value,
                                              TProtocol& protocol)
{
    return ReadChoiceOption(kProtocolOptionValues, option, value, protocol);
}

std::optional<std::string> ReadHeaderOption(std::string_view option, std::string_view value,
                                            THeader& header)
{
    return ReadChoiceOption(HeaderOptionValues(), option, value, header);
}

std::optional<std::string> ReadPositiveNumber(std::string_view option, std::string_view value,
                                              double& number)
{
    double read = 0;
    const auto result = std::from_chars(value.data(), value.data() + value.size(), read);
    if (result.ec != std::errc() || result.ptr != value.data() + value.size() ||
        !std::isfinite(read) || read <= 0) {
        std::string text = "'";
        text += value;
        return text + "' is not a positive number for " + std::string(option);
    }
    number = read;
    return std::nullopt;
}

} // namespace zz
