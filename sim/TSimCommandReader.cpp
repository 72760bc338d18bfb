#include "sim/TSimCommandReader.h"

#include <algorithm>

#include "core/HexText.h"

namespace zz {
namespace {

constexpr std::string_view kSentenceNames[kSimSentenceCount] = {"GGA", "GLL", "GSA", "GSV",
                                                                "RMC", "VTG", "ZDA", "ROT"};
constexpr std::string_view kClearPrefix = "DIRU,GPclr,";
constexpr std::string_view kIntervalPrefix = "DIRU,GPint,";
constexpr int kMaxInterval = 60;
// Binary start command: start byte, mode 0x80..0x83, 0x80, check, end byte.
constexpr uint8_t kStartByte = 0xC1;
constexpr uint8_t kCommandByte = 0x80;
constexpr uint8_t kCommandEnd = 0xCA;
// Restart level of each binary start mode: restart, warm, cold, all clear.
constexpr int kBinaryStartLevels[4] = {1, 2, 4, 5};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string_view SimSentenceName(TSimSentence sentence)
{
    return kSentenceNames[static_cast<size_t>(sentence)];
}

bool TSimCommandReader::Feed(uint8_t byte, TSimCommand& command)
{
    std::rotate(Frame.begin(), Frame.begin() + 1, Frame.end());
    Frame.back() = byte;
    if (FinishFrame(command)) {
        InLine = false;
        return true;
    }

    if (byte == '$') {
        InLine = true;
        LineLength = 0;
        return false;
    }
    if (!InLine) {
        return false;
    }
    if (byte == '\n') {
        InLine = false;
        return FinishLine(command);
    }
    if (LineLength == Line.size()) {
        // Longer than any command: drop it.
        InLine = false;
        return false;
    }
    Line[LineLength++] = static_cast<char>(byte);
    return false;
}

bool TSimCommandReader::FinishFrame(TSimCommand& command) const
{
    if (Frame[0] != kStartByte || Frame[2] != kCommandByte || Frame[4] != kCommandEnd) {
        return false;
    }
    const int mode = Frame[1] - kCommandByte;
    if (mode < 0 || mode > 3 || Frame[3] != (Frame[0] ^ Frame[1] ^ Frame[2])) {
        return false;
    }
    command.Kind = TSimCommandKind::Restart;
    command.Level = kBinaryStartLevels[mode];
    return true;
}

// The line holds what followed the $ up to the LF.
bool TSimCommandReader::FinishLine(TSimCommand& command) const
{
    std::string_view body(Line.data(), LineLength);
    if (!body.empty() && body.back() == '\r') {
        body.remove_suffix(1);
    }
    const size_t star = body.find('*');
    if (star != std::string_view::npos) {
        const std::string_view check = body.substr(star + 1);
        body = body.substr(0, star);
        if (check.size() != 2 || HexDigitAnyCase(check[0]) < 0 || HexDigitAnyCase(check[1]) < 0) {
            return false;
        }
        int sum = 0;
        for (char c : body) {
            sum ^= static_cast<uint8_t>(c);
        }
        if (sum != HexDigitAnyCase(check[0]) * 16 + HexDigitAnyCase(check[1])) {
            return false;
        }
    }

    if (body.starts_with(kClearPrefix)) {
        const std::string_view level = body.substr(kClearPrefix.size());
        if (level.size() != 1 || level[0] < '1' || level[0] > '5') {
            return false;
        }
        command.Kind = TSimCommandKind::Restart;
        command.Level = level[0] - '0';
        return true;
    }
    if (body.starts_with(kIntervalPrefix)) {
        const std::string_view argument = body.substr(kIntervalPrefix.size());
        if (argument.size() < 4 || argument.size() > 5) {
            return false;
        }
        const std::string_view name = argument.substr(0, 3);
        const std::string_view digits = argument.substr(3);
        const auto found = std::find(std::begin(kSentenceNames), std::end(kSentenceNames), name);
        if (found == std::end(kSentenceNames) ||
            !std::all_of(digits.begin(), digits.end(), IsDigit)) {
            return false;
        }
        int interval = 0;
        for (char c : digits) {
            interval = interval * 10 + (c - '0');
        }
        if (interval > kMaxInterval) {
            return false;
        }
        command.Kind = TSimCommandKind::Interval;
        command.Sentence = static_cast<TSimSentence>(found - std::begin(kSentenceNames));
        command.Interval = interval;
        return true;
    }
    return false;
}

} // namespace zz
