#include "core/SentenceChecks.h"

#include <cstdint>

#include "core/HexText.h"

namespace zz {
namespace {

// The byte of two hexadecimal digits; -1 when they are not.
int HexByte(char high, char low)
{
    const int h = HexDigitAnyCase(high);
    const int l = HexDigitAnyCase(low);
    return h < 0 || l < 0 ? -1 : h * 16 + l;
}

} // namespace

TCheckResult CheckNmeaSentence(std::string_view text)
{
    const size_t star = text.find('*', 1);
    if (star == std::string_view::npos) {
        return TCheckResult::Missing;
    }
    if (text.size() != star + 3) {
        return TCheckResult::Bad;
    }
    const int expected = HexByte(text[star + 1], text[star + 2]);
    uint8_t sum = 0;
    for (size_t i = 1; i < star; ++i) {
        sum = static_cast<uint8_t>(sum ^ static_cast<uint8_t>(text[i]));
    }
    return expected == sum ? TCheckResult::Good : TCheckResult::Bad;
}

TCheckResult CheckBinaryFrameText(std::string_view hexText)
{
    const size_t bytes = hexText.size() / 2;
    if (hexText.size() % 2 != 0 || bytes < 3) {
        return TCheckResult::Bad;
    }
    int sum = 0;
    for (size_t i = 0; i + 2 < bytes; ++i) {
        const int byte = HexByte(hexText[2 * i], hexText[2 * i + 1]);
        if (byte < 0) {
            return TCheckResult::Bad;
        }
        sum ^= byte;
    }
    const int check = HexByte(hexText[2 * (bytes - 2)], hexText[2 * (bytes - 2) + 1]);
    return check == sum ? TCheckResult::Good : TCheckResult::Bad;
}

} // namespace zz
