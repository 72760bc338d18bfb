#include "cli/TConsoleDisplay.h"

namespace zz::cli {
namespace {

// Key of an Information label in the JSON "display" object; the Information window's ROT
// status is the DR window's "rotst" and is written once, under that key.
const char* InfoKey(TInfoLabel label)
{
    static const char* const kKeys[] = {"utc",  "fix",  "dim",  nullptr, "usat", "lat",
                                        "lon",  "alt",  "vel",  "dir",   "MT",   "pdop",
                                        "hdop", "vdop", "ttff", "fver"};
    return kKeys[static_cast<int>(label)];
}

const char* DrKey(TDrLabel label)
{
    static const char* const kKeys[] = {"rot", "rotst", "rotcnt"};
    return kKeys[static_cast<int>(label)];
}

} // namespace

TConsoleDisplay::TConsoleDisplay(bool withTexts, std::FILE* out) : WithTexts(withTexts), Out(out)
{
    ResetReceiverState(Current);
}

void TConsoleDisplay::Post(std::function<void()> work)
{
    Queue.Post(std::move(work));
}

void TConsoleDisplay::RunFor(std::chrono::milliseconds time)
{
    Queue.RunFor(time);
}

void TConsoleDisplay::RunPending()
{
    Queue.RunPending();
}

void TConsoleDisplay::AppendLogLine(std::string_view line)
{
    LastLine = line;
}

void TConsoleDisplay::SetInfoText(TInfoLabel label, std::string_view text)
{
    if (const char* key = InfoKey(label)) {
        Texts.Add(key, text);
    }
}

void TConsoleDisplay::SetDrText(TDrLabel label, std::string_view text)
{
    Texts.Add(DrKey(label), text);
}

void TConsoleDisplay::SetDirection(const TDirectionView&)
{
}

void TConsoleDisplay::BeginUpdate(const TReceiverState& snapshot)
{
    Current = snapshot;
    Texts.Clear();
}

void TConsoleDisplay::EndUpdate()
{
    Json.Begin(++Sequence, LastLine, Current);
    if (WithTexts) {
        Json.AddDisplay(Texts, PendingTtffText);
    }
    PendingTtffText = {};
    Json.End();
    std::fwrite(Json.Text().data(), 1, Json.Text().size(), Out);
    std::fflush(Out);
    Json.Clear();
}

} // namespace zz::cli
