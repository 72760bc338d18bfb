#include "ui/windows/LogTrim.h"

namespace zz {

size_t LogTrimLength(std::string_view text)
{
    if (text.size() < kLogTrimThreshold) {
        return 0;
    }
    // The cut itself, then two lines: the remainder of the line it fell into (or, when it fell
    // on a boundary, the whole line starting there) and the line after it.
    size_t position = kLogTrimCut;
    for (int line = 0; line < 2; ++line) {
        const size_t lineEnd = text.find('\n', position);
        if (lineEnd == std::string_view::npos) {
            return text.size();
        }
        position = lineEnd + 1;
    }
    return position;
}

} // namespace zz
