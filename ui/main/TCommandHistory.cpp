#include "ui/main/TCommandHistory.h"

#include <algorithm>

namespace zz {

bool TCommandHistory::PushHistory(std::string_view text)
{
    const auto first = CommandHistory.begin() + 1;
    auto found = std::find(first, CommandHistory.end(), text);
    const bool isNew = found == CommandHistory.end();
    // Either the slot it stood in or the oldest slot is freed; the ones before it move down.
    const auto freed = isNew ? CommandHistory.end() - 1 : found;
    std::move_backward(first, freed, freed + 1);
    *first = std::string(text);
    return isNew;
}

std::optional<std::string> TCommandHistory::BrowseOlder(std::string_view currentText)
{
    if (HistoryIndex >= kDepth || Slot(HistoryIndex + 1).empty()) {
        return std::nullopt;
    }
    if (HistoryIndex == 0) {
        CommandHistory[0] = std::string(currentText);
    }
    ++HistoryIndex;
    return Slot(HistoryIndex);
}

std::optional<std::string> TCommandHistory::BrowseNewer()
{
    if (HistoryIndex <= 0) {
        return std::nullopt;
    }
    --HistoryIndex;
    return Slot(HistoryIndex);
}

} // namespace zz
