#include "core/TLinkHealth.h"

#include "core/SentenceChecks.h"

namespace zz {

uint64_t TLinkReport::DiscardedBytes() const
{
    const uint64_t accounted = FramedBytes + CommandBytes;
    return Bytes > accounted ? Bytes - accounted : 0;
}

void TLinkHealth::AddFramed(std::string_view text)
{
    ++Report.Framed;
    TCheckResult check = TCheckResult::Good;
    if (Protocol == TProtocol::Binary) {
        Report.FramedBytes += text.size() / 2;
        check = CheckBinaryFrameText(text);
    } else {
        Report.FramedBytes += text.size() + 2;
        check = CheckNmeaSentence(text);
    }
    if (check == TCheckResult::Bad) {
        ++Report.ChecksumFailures;
    } else if (check == TCheckResult::Missing) {
        ++Report.WithoutChecksum;
    }
}

void TLinkHealth::AddCommandLine(uint64_t bytes)
{
    ++Report.Commands;
    Report.CommandBytes += bytes;
}

double LineUse(uint64_t bytes, double seconds, int32_t baudRate)
{
    if (seconds <= 0.0 || baudRate <= 0) {
        return 0.0;
    }
    return static_cast<double>(bytes) * 10.0 / (seconds * baudRate);
}

} // namespace zz
