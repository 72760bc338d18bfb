#include "core/TSentLineFinder.h"

#include <algorithm>
#include <cstring>

namespace zz {

void TSentLineFinder::Scan(const uint8_t* bytes, size_t count, TSentLineSink& sink)
{
    size_t handedOn = 0; // bytes before this have gone to the sink
    size_t at = 0;
    while (at < count) {
        if (!InCommand && AtLineStart && bytes[at] == '/') {
            sink.Bytes(bytes + handedOn, at - handedOn);
            handedOn = at;
            InCommand = true;
            Command.clear();
            CommandBytes = 0;
        }
        const auto* lineFeed =
            static_cast<const uint8_t*>(std::memchr(bytes + at, '\n', count - at));
        const size_t end = lineFeed != nullptr ? static_cast<size_t>(lineFeed - bytes) + 1 : count;
        if (InCommand) {
            CommandBytes += end - at;
            const size_t room = kMaxCommand + 2 - std::min(Command.size(), kMaxCommand + 2);
            Command.append(reinterpret_cast<const char*>(bytes + at), std::min(room, end - at));
            // The command's own bytes are not the receiver's: they are not handed on.
            handedOn = end;
        }
        at = end;
        AtLineStart = lineFeed != nullptr;
        if (InCommand && lineFeed != nullptr) {
            std::string_view text(Command);
            text.remove_prefix(1); // the '/'
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
                text.remove_suffix(1);
            }
            sink.SentLine(text.substr(0, kMaxCommand), CommandBytes);
            InCommand = false;
        }
    }
    sink.Bytes(bytes + handedOn, count - handedOn);
}

} // namespace zz
