#include "ui/main/CommandEntry.h"

#include <array>

namespace zz {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kControlC = 3;
constexpr char16_t kControlV = 22;
constexpr char16_t kControlX = 24;
constexpr char16_t kControlZ = 26;

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

bool KeepsTypedCharacter(char16_t character, TProtocol keptProtocol)
{
    if (keptProtocol != TProtocol::Binary) {
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

} // namespace zz
