#pragma once

#include <string>
#include <vector>

#include "core/TProtocolHooks.h"

namespace zz::test {

// Protocol hooks that record every call, with a clock the test sets, so engine tests see
// exactly what the engine asked of its surroundings and never sleep.
class RecordingHooks : public TProtocolHooks
{
public:
    void WriteRawChunk(const uint8_t* bytes, size_t count) override
    {
        RawChunks.emplace_back(reinterpret_cast<const char*>(bytes), count);
    }
    void WriteLogLine(const char* text, size_t count) override
    {
        LogLines.emplace_back(text, count);
    }
    void LinePut(const char* text, size_t count) override { LinesPut.emplace_back(text, count); }
    void SetDisplayPending() override { ++DisplayPendingCount; }
    void ShowTtffText(TTtffText text) override { TtffTexts.push_back(text); }
    void ClearAltitudeVelocityPlots() override { ++PlotClears; }
    void SleepMs(int milliseconds) override { Sleeps.push_back(milliseconds); }
    TimeStamp Now() override { return Clock; }
    bool TerminationRequested() override { return Terminating; }

    // Advances the test clock by a number of seconds.
    void AdvanceSeconds(double seconds) { Clock += seconds / 86400.0; }

    std::vector<std::string> RawChunks;
    std::vector<std::string> LogLines;
    std::vector<std::string> LinesPut;
    int DisplayPendingCount = 0;
    std::vector<TTtffText> TtffTexts;
    int PlotClears = 0;
    std::vector<int> Sleeps;
    TimeStamp Clock = 1000.0;
    bool Terminating = false;
};

// A port that keeps the bytes written to it.
class RecordingSink : public TByteSink
{
public:
    void WriteByte(uint8_t byte) override { Bytes.push_back(static_cast<char>(byte)); }
    std::string Bytes;
};

} // namespace zz::test
