#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zz {

// The command line's history: slot 0 keeps what the user was typing when browsing began, slots
// 1 to 30 the commands sent, newest first, without duplicates. HistoryIndex is the slot the
// command line shows (0: the user's own text).
class TCommandHistory
{
public:
    static constexpr int32_t kDepth = 30;

    // Moves text to slot 1: from where it already stands, or as a new entry that pushes the
    // oldest out. True when the text was not in the history.
    bool PushHistory(std::string_view text);

    // Up arrow: the next older command, when there is one, keeping the typed text in slot 0 on
    // the first step; nothing when the history has no older entry.
    std::optional<std::string> BrowseOlder(std::string_view currentText);
    // Down arrow: the next newer entry (slot 0 last), or nothing at the user's own text.
    std::optional<std::string> BrowseNewer();

    void ResetIndex() { HistoryIndex = 0; }
    int32_t Index() const { return HistoryIndex; }
    const std::string& Slot(int32_t slot) const
    {
        return CommandHistory[static_cast<size_t>(slot)];
    }

private:
    std::array<std::string, kDepth + 1> CommandHistory;
    int32_t HistoryIndex = 0;
};

} // namespace zz
