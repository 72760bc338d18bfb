#include "core/CommandRules.h"

#include <array>

namespace zz {
namespace {

constexpr std::array<std::string_view, 5> kNmeaClearCommands = {
    "$DIRU,GPclr,1", "$DIRU,GPclr,2", "$DIRU,GPclr,3", "$DIRU,GPclr,4", "$DIRU,GPclr,5"};
constexpr std::array<std::string_view, 4> kBinaryStartCommands = {"C18080C1CA", "C18180C0CA",
                                                                  "C18280C3CA", "C18380C2CA"};

} // namespace

bool IsClearCommand(std::string_view lastCommand, TProtocol protocol)
{
    if (protocol == TProtocol::Nmea) {
        for (const std::string_view command : kNmeaClearCommands) {
            if (lastCommand == command) {
                return true;
            }
        }
        return false;
    }
    if (protocol == TProtocol::Binary) {
        const std::string_view head = lastCommand.substr(0, 10);
        for (const std::string_view command : kBinaryStartCommands) {
            if (head == command) {
                return true;
            }
        }
    }
    return false;
}

std::optional<std::string_view> PresetRestartCommand(TProtocol protocol, int number)
{
    if (number < 1) {
        return std::nullopt;
    }
    const auto index = static_cast<size_t>(number - 1);
    if (protocol == TProtocol::Nmea && index < kNmeaClearCommands.size()) {
        return kNmeaClearCommands[index];
    }
    if (protocol == TProtocol::Binary && index < kBinaryStartCommands.size()) {
        return kBinaryStartCommands[index];
    }
    return std::nullopt;
}

} // namespace zz
