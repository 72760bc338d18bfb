#include "core/TNmeaEngine.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "core/NmeaFields.h"

namespace zz {
namespace {

// Characters of LastCommand kept from a command sent as typed.
constexpr size_t kTypedCommandKept = 14;

// Cycle-seen marks of the decoded sentences.
enum TSentenceMark : int
{
    MarkGGA = 0,
    MarkZDA = 1,
    MarkGLL = 2,
    MarkGSV = 3,
    MarkGSA = 4,
    MarkVTG = 5,
    MarkRMC = 6,
    MarkROT = 7,
    MarkGPacc = 8,
    MarkGPtst = 9,
    MarkGPwav = 10,
};

// How a recognised sentence is handled: its mark, the header choice that makes it open a cycle
// (none for the proprietary ones) and its decoder.
struct TSentenceRoute
{
    int Mark;
    std::optional<THeader> Header;
    void (TNmeaEngine::*Decoder)(std::string_view);
};

constexpr TSentenceRoute kRouteGGA{MarkGGA, THeader::GGA, &TNmeaEngine::DecodeGGA};
constexpr TSentenceRoute kRouteZDA{MarkZDA, THeader::ZDA, &TNmeaEngine::DecodeZDA};
constexpr TSentenceRoute kRouteGLL{MarkGLL, THeader::GLL, &TNmeaEngine::DecodeGLL};
constexpr TSentenceRoute kRouteGSA{MarkGSA, THeader::GSA, &TNmeaEngine::DecodeGSA};
constexpr TSentenceRoute kRouteGSV{MarkGSV, THeader::GSV, &TNmeaEngine::DecodeGSV};
constexpr TSentenceRoute kRouteVTG{MarkVTG, THeader::VTG, &TNmeaEngine::DecodeVTG};
constexpr TSentenceRoute kRouteRMC{MarkRMC, THeader::RMC, &TNmeaEngine::DecodeRMC};
constexpr TSentenceRoute kRouteROT{MarkROT, THeader::ROT, &TNmeaEngine::DecodeROT};
constexpr TSentenceRoute kRouteGPacc{MarkGPacc, std::nullopt, &TNmeaEngine::DecodeGPacc};
constexpr TSentenceRoute kRouteGPtst{MarkGPtst, std::nullopt, &TNmeaEngine::DecodeGPtst};
constexpr TSentenceRoute kRouteGPwav{MarkGPwav, std::nullopt, &TNmeaEngine::DecodeGPwav};

constexpr uint32_t Tag(char a, char b, char c)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c));
}

// Only the first 6 characters of a standard address and the first 11 of a proprietary prefix
// count, so "$GPGGAX" is taken as GGA.
const TSentenceRoute* FindRoute(std::string_view text)
{
    if (text.size() >= 6 && text[0] == '$' && text[1] == 'G' && text[2] == 'P') {
        switch (Tag(text[3], text[4], text[5])) {
        case Tag('G', 'G', 'A'):
            return &kRouteGGA;
        case Tag('Z', 'D', 'A'):
            return &kRouteZDA;
        case Tag('G', 'L', 'L'):
            return &kRouteGLL;
        case Tag('G', 'S', 'A'):
            return &kRouteGSA;
        case Tag('G', 'S', 'V'):
            return &kRouteGSV;
        case Tag('V', 'T', 'G'):
            return &kRouteVTG;
        case Tag('R', 'M', 'C'):
            return &kRouteRMC;
        case Tag('R', 'O', 'T'):
            return &kRouteROT;
        default:
            return nullptr;
        }
    }
    if (text.size() >= 11 && text.substr(0, 8) == "$DIRU,GP") {
        switch (Tag(text[8], text[9], text[10])) {
        case Tag('a', 'c', 'c'):
            return &kRouteGPacc;
        case Tag('t', 's', 't'):
            return &kRouteGPtst;
        case Tag('w', 'a', 'v'):
            return &kRouteGPwav;
        default:
            return nullptr;
        }
    }
    return nullptr;
}

// The letter after a '$' that opens a sentence.
// 'D' too: the maker's proprietary sentences begin with "$DIRU" and could never be decoded else.
bool IsSentenceLetter(uint8_t byte)
{
    return byte == 'G' || byte == 'P' || byte == 'D';
}

} // namespace

TNmeaEngine::TNmeaEngine(TControlFlags& flags, const TKeptValues& kept, TProtocolHooks& hooks)
    : TProtocolEngine(flags, kept, hooks)
{
}

void TNmeaEngine::ReceiveBytes(const uint8_t* bytes, size_t count)
{
    if (FirstCall) {
        SentenceBuffer.fill(0);
        FirstCall = false;
    }
    if (TControlFlags::TakeRequest(Flags.FramerReset)) {
        InSentence = false;
        SentenceLength = 0;
    }
    Hooks.WriteRawChunk(bytes, count);
    ServePlotClearInReceive();

    // Idle bytes only count (and yield) during a replay; outside one they are skipped whole.
    const bool countIdle = Flags.Replaying.load(std::memory_order_relaxed) == 1;
    const uint8_t* next = bytes;
    const uint8_t* const end = bytes + count;
    while (next != end) {
        next = InSentence ? AssembleRun(next, end) : SkipIdleRun(next, end, countIdle);
    }
}

void TNmeaEngine::StepByte(uint8_t byte)
{
    PreviousByte = CurrentByte;
    CurrentByte = byte;
    const bool startsSentence = PreviousByte == '$' && IsSentenceLetter(byte);
    if (!InSentence) {
        if (startsSentence) {
            SentenceBuffer[0] = '$';
            SentenceBuffer[1] = static_cast<char>(byte);
            SentenceLength = 2;
            InSentence = true;
        } else {
            CountIdleByte();
        }
        return;
    }
    if (startsSentence) {
        SentenceLength = 1; // the '$' already at the start of the buffer opens the new sentence
    }
    SentenceBuffer[static_cast<size_t>(SentenceLength++)] = static_cast<char>(byte);
    if (PreviousByte == '\r' && byte == '\n') {
        CompleteSentence();
    } else if (SentenceLength == kSentenceBufferSize) {
        DropSentence();
    }
}

const uint8_t* TNmeaEngine::AssembleRun(const uint8_t* next, const uint8_t* end)
{
    // Only three kinds of byte can change the state: an LF (after a CR it ends the sentence),
    // the byte after a '$' (it may restart the sentence) and the byte that fills the buffer.
    // Every byte before the first of them is appended as it is.
    const uint8_t* step = next;
    if (CurrentByte != '$') {
        const auto available = static_cast<size_t>(end - next);
        const auto room = static_cast<size_t>(kSentenceBufferSize - SentenceLength);
        const size_t span = std::min(room, available);
        const auto* lineFeed = static_cast<const uint8_t*>(std::memchr(next, '\n', span));
        step = lineFeed != nullptr ? lineFeed : (room <= available ? next + room - 1 : end);
        const auto* dollar =
            static_cast<const uint8_t*>(std::memchr(next, '$', static_cast<size_t>(step - next)));
        if (dollar != nullptr) {
            step = dollar + 1;
        }
    }
    const auto plain = static_cast<size_t>(step - next);
    if (plain > 0) {
        std::memcpy(SentenceBuffer.data() + SentenceLength, next, plain);
        SentenceLength += static_cast<int32_t>(plain);
        PreviousByte = plain > 1 ? step[-2] : CurrentByte;
        CurrentByte = step[-1];
    }
    if (step == end) {
        return end;
    }
    StepByte(*step);
    return step + 1;
}

const uint8_t* TNmeaEngine::SkipIdleRun(const uint8_t* next, const uint8_t* end, bool countIdle)
{
    if (CurrentByte == '$' && IsSentenceLetter(*next)) {
        StepByte(*next);
        return next + 1;
    }
    // No byte before the next '$' (that '$' included) can start a sentence. Between sentences
    // that '$' usually comes at once.
    const auto* dollar =
        *next == '$'
            ? next
            : static_cast<const uint8_t*>(std::memchr(next, '$', static_cast<size_t>(end - next)));
    const uint8_t* const stop = dollar != nullptr ? dollar + 1 : end;
    if (countIdle) {
        for (const uint8_t* p = next; p != stop; ++p) {
            CountIdleByte();
        }
    }
    PreviousByte = stop - next > 1 ? stop[-2] : CurrentByte;
    CurrentByte = stop[-1];
    return stop;
}

void TNmeaEngine::CompleteSentence()
{
    const auto length = static_cast<size_t>(SentenceLength - 2);
    const std::string_view text(SentenceBuffer.data(), length);
    DispatchSentence(text);
    Ring().PutLine(text.data(), length);
    Hooks.WriteLogLine(text.data(), length);
    Hooks.LinePut(text.data(), length);
    InSentence = false;
    SentenceLength = 0;
}

void TNmeaEngine::DropSentence()
{
    InSentence = false;
    SentenceLength = 0;
    ReplayPause();
    ClearCycleSeen();
}

void TNmeaEngine::DispatchSentence(std::string_view text)
{
    ServePlotClearInDispatch();
    const TSentenceRoute* route = FindRoute(text);
    if (route == nullptr) {
        return;
    }
    // A GSV set paces a replay once, at its first sentence.
    if (route != &kRouteGSV || ParseInt(text.substr(FieldAt(text, 2))) == 1) {
        PaceOnRepeat(route->Mark);
    }
    (this->*route->Decoder)(text);
    // The header never marks itself, so with the header present a cycle is paused only once.
    if (route->Header != Kept.HeaderIndex.load()) {
        CycleSeen[static_cast<size_t>(route->Mark)] = 1;
    }
}

bool TNmeaEngine::SendText(const char* text, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        WritePortByte(static_cast<uint8_t>(text[i]));
    }
    WritePortByte('\r');
    WritePortByte('\n');
    StoreLastCommand(text, std::min(count, kTypedCommandKept));
    return true;
}

bool TNmeaEngine::SendWithChecksum(const char* text, size_t count)
{
    // An empty text has no $ to skip: its checksum covers nothing and is 0.
    const uint8_t checksum = count == 0 ? 0 : NmeaChecksum(text + 1, count - 1);
    for (size_t i = 0; i < count; ++i) {
        WritePortByte(static_cast<uint8_t>(text[i]));
    }
    const auto digits = UpperHexDigits(checksum);
    WritePortByte('*');
    WritePortByte(static_cast<uint8_t>(digits[0]));
    WritePortByte(static_cast<uint8_t>(digits[1]));
    WritePortByte('\r');
    WritePortByte('\n');
    StoreLastCommand(text, count);
    return true;
}

} // namespace zz
