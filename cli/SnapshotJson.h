#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/DisplayTexts.h"
#include "core/TReceiverState.h"

namespace zz::cli {

// Writes one JSON object per snapshot on its own line: its sequence number, the line after
// which it was taken, the raised flags in snapshot order and every field of every raised group.
// The text is built in a buffer that is reused, so a long decode allocates only while the
// buffer grows.
class SnapshotJson
{
public:
    // Appends the object for one snapshot, without the closing brace.
    void Begin(uint64_t sequence, std::string_view line, const TReceiverState& snapshot);
    // Appends the "display" member.
    void AddDisplay(const TDisplayTexts& texts, std::string_view extraTtffText);
    // Closes the object and ends the line.
    void End();

    const std::string& Text() const { return Buffer; }
    void Clear() { Buffer.clear(); }

private:
    void Key(std::string_view name);
    void Number(double value);
    void Number(int64_t value);
    void Field(std::string_view name, double value);
    void Field(std::string_view name, int32_t value);
    void Field(std::string_view name, const int32_t* values, int count);
    void String(std::string_view text);

    std::string Buffer;
};

} // namespace zz::cli
