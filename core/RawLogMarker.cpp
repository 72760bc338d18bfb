#include "core/RawLogMarker.h"

#include <array>
#include <cstring>

namespace zz {
namespace {

constexpr std::array<const char*, kHeaderCount> kHeaderNames = {"GGA", "RMC", "GLL", "ROT",
                                                                "GSA", "VTG", "GSV", "ZDA"};

constexpr std::string_view kMarkerPrefix = "@@Header of NMEA cycle -> ";
constexpr std::string_view kMarkerSuffix = "@@\r\n";

using MarkerLineText = std::array<char, kMarkerLineSize>;

constexpr std::array<MarkerLineText, kHeaderCount> MakeMarkerLines()
{
    std::array<MarkerLineText, kHeaderCount> lines{};
    for (size_t i = 0; i < lines.size(); ++i) {
        size_t at = 0;
        for (char c : kMarkerPrefix) {
            lines[i][at++] = c;
        }
        for (const char* name = kHeaderNames[i]; *name != '\0'; ++name) {
            lines[i][at++] = *name;
        }
        for (char c : kMarkerSuffix) {
            lines[i][at++] = c;
        }
    }
    return lines;
}

constexpr std::array<MarkerLineText, kHeaderCount> kMarkerLines = MakeMarkerLines();

static_assert(kMarkerPrefix.size() + 3 + kMarkerSuffix.size() == kMarkerLineSize);
static_assert(kMarkerLineSize - kMarkerTextSize == 2, "the marker text is the line without CR LF");

bool IsHeaderIndex(int index)
{
    return index >= 0 && index < kHeaderCount;
}

} // namespace

const char* HeaderName(int index)
{
    return IsHeaderIndex(index) ? kHeaderNames[static_cast<size_t>(index)] : nullptr;
}

std::string_view MarkerLine(int headerIndex)
{
    if (!IsHeaderIndex(headerIndex)) {
        return {};
    }
    const MarkerLineText& line = kMarkerLines[static_cast<size_t>(headerIndex)];
    return {line.data(), line.size()};
}

int32_t ReplayReferenceFromHead(const char* head, size_t count)
{
    if (count < kMarkerTextSize) {
        return kNoReplayReference;
    }
    for (int i = 0; i < kHeaderCount; ++i) {
        if (std::memcmp(head, kMarkerLines[static_cast<size_t>(i)].data(), kMarkerTextSize) == 0) {
            return i;
        }
    }
    return kNoReplayReference;
}

} // namespace zz
