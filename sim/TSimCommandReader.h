#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zz {

// Standard sentences whose output interval can be set, in the receiver's output order.
enum class TSimSentence
{
    GGA,
    GLL,
    GSA,
    GSV,
    RMC,
    VTG,
    ZDA,
    ROT,
};
inline constexpr size_t kSimSentenceCount = 8;

// Three-letter name of a sentence ("GGA", ...).
std::string_view SimSentenceName(TSimSentence sentence);

enum class TSimCommandKind
{
    Restart,  // clear and restart; Level 1 (hot) .. 5 (everything cleared)
    Interval, // output Sentence every Interval cycles; 0 stops it
};

struct TSimCommand
{
    TSimCommandKind Kind = TSimCommandKind::Restart;
    int Level = 1;
    TSimSentence Sentence = TSimSentence::GGA;
    int Interval = 1;
};

// Picks the commands the receiver understands out of the bytes written to it: the NMEA
// commands "$DIRU,GPclr,1".."5" and "$DIRU,GPint,GGA05" (with or without a correct "*hh",
// ended by LF with or without CR) and the binary start commands C1 8n 80 check CA. Everything
// else is ignored, whatever it holds.
class TSimCommandReader
{
public:
    // Takes one byte; true when it completed a command, which is then in command.
    bool Feed(uint8_t byte, TSimCommand& command);

private:
    bool FinishLine(TSimCommand& command) const;
    bool FinishFrame(TSimCommand& command) const;

    static constexpr size_t kMaxLine = 80;
    std::array<char, kMaxLine> Line{};
    size_t LineLength = 0;
    bool InLine = false;
    std::array<uint8_t, 5> Frame{};
};

} // namespace zz
