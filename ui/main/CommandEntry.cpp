#include "ui/main/CommandEntry.h"

#include <array>

#include "core/TKeptValues.h"

namespace zz {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kControlC = 3;
constexpr char16_t kControlV = 22;
constexpr char16_t kControlX = 24;
constexpr char16_t kControlZ = 26;

constexpr std::array<std::string_view, 5> kNmeaClearCommands = {
    "$DIRU,GPclr,1", "$DIRU,GPclr,2", "$DIRU,GPclr,3", "$DIRU,GPclr,4", "$DIRU,GPclr,5",
};

// The binary start commands, compared on their first ten characters.
constexpr std::array<std::string_view, 4> kBinaryClearCommands = {
    "C18080C1CA",
    "C18180C0CA",
    "C18280C3CA",
    "C18380C2CA",
};
constexpr size_t kBinaryClearPrefix = 10;

bool IsHexDigit(char16_t character)
{
    return (character >= u'0' && character <= u'9') || (character >= u'A' && character <= u'F') ||
           (character >= u'a' && character <= u'f');
}

} // namespace

bool IsHexCommand(std::string_view text)
{
    if (text.size() % 2 != 0) {
        return false;
    }
    for (const char character : text) {
        if (!IsHexDigit(static_cast<unsigned char>(character))) {
            return false;
        }
    }
    return true;
}

bool KeepsTypedCharacter(char16_t character, int keptProtocolIndex)
{
    if (keptProtocolIndex != ProtocolBinary) {
        return true;
    }
    switch (character) {
    case kBackspace:
    case kControlC:
    case kControlV:
    case kControlX:
    case kControlZ:
        return true;
    default:
        return IsHexDigit(character);
    }
}

bool IsClearCommand(int selectedProtocolIndex, std::string_view lastCommand)
{
    if (selectedProtocolIndex == ProtocolNmea) {
        for (const std::string_view command : kNmeaClearCommands) {
            if (lastCommand == command) {
                return true;
            }
        }
        return false;
    }
    if (selectedProtocolIndex == ProtocolBinary && lastCommand.size() >= kBinaryClearPrefix) {
        const std::string_view prefix = lastCommand.substr(0, kBinaryClearPrefix);
        for (const std::string_view command : kBinaryClearCommands) {
            if (prefix == command) {
                return true;
            }
        }
    }
    return false;
}

} // namespace zz
