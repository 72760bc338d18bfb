#include "core/HexText.h"

#include <algorithm>

namespace zz {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr int kNotHex = -1;

} // namespace

int HexDigitAnyCase(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return kNotHex;
}

int FrameToHex(const uint8_t* frame, int n, char* text)
{
    const int count = std::clamp(n, 0, kMaxFrameHexChars / 2);
    for (int i = 0; i < count; ++i) {
        const uint8_t byte = frame[i];
        text[2 * i] = kHexDigits[byte >> 4];
        text[2 * i + 1] = kHexDigits[byte & 0x0F];
    }
    text[2 * count] = '\0';
    return 2 * count;
}

bool ParseHexCommand(std::string_view text, std::span<uint8_t> bytes)
{
    if (text.empty() || text.size() % 2 != 0 || text.size() / 2 > bytes.size()) {
        return false;
    }
    if (!std::all_of(text.begin(), text.end(),
                     [](char c) { return HexDigitAnyCase(c) != kNotHex; })) {
        return false;
    }
    for (size_t i = 0; i < text.size() / 2; ++i) {
        bytes[i] = static_cast<uint8_t>(HexDigitAnyCase(text[2 * i]) * 16 +
                                        HexDigitAnyCase(text[2 * i + 1]));
    }
    return true;
}

size_t CapitaliseCommand(std::string_view text, std::span<char> out)
{
    const size_t count = std::min(text.size(), out.size());
    for (size_t i = 0; i < count; ++i) {
        const char c = text[i];
        const bool keep = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
        out[i] = keep ? c : static_cast<char>(c - 32);
    }
    return count;
}

} // namespace zz
