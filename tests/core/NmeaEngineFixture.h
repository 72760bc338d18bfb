#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/CompilerWarnings.h"
#include "core/TControlFlags.h"
#include "core/TKeptValues.h"
#include "core/TNmeaEngine.h"
#include "core/TReceiverState.h"
#include "tests/core/RecordingHooks.h"

namespace zz::test {

// A choice past the items of its control: a sentence the receiver setting dialog does not
// offer, with which a decoder must leave the record alone.
template <typename TChoice> constexpr TChoice Unoffered()
{
    return static_cast<TChoice>(kChoiceCount<TChoice>);
}

// The GPS satellite k (0-based) of the test sets: PRN k+1, elevation k+10, azimuth 7(k+1),
// C/N0 k+20.
inline int32_t TestSatPrn(int k)
{
    return k + 1;
}
inline int32_t TestSatElevation(int k)
{
    return k + 10;
}
inline int32_t TestSatAzimuth(int k)
{
    return 7 * (k + 1);
}
inline int32_t TestSatCn0(int k)
{
    return k + 20;
}

ZZ_GCC12_FALSE_RESTRICT_BEGIN
// The GSV sentences of one set announcing total satellites in count sentences, four per
// sentence, the last one carrying the rest; firstSentence lets a test start in the middle.
inline std::vector<std::string> GsvSet(int total, int count, int firstSentence = 1)
{
    std::vector<std::string> sentences;
    for (int number = firstSentence; number <= count; ++number) {
        std::string text = "$GPGSV," + std::to_string(count) + "," + std::to_string(number) + "," +
                           std::to_string(total);
        for (int k = (number - 1) * 4; k < std::min(number * 4, total); ++k) {
            text += "," + std::to_string(TestSatPrn(k)) + "," +
                    std::to_string(TestSatElevation(k)) + "," + std::to_string(TestSatAzimuth(k)) +
                    "," + std::to_string(TestSatCn0(k));
        }
        sentences.push_back(text + "*00");
    }
    return sentences;
}
ZZ_GCC12_FALSE_RESTRICT_END

// An NMEA engine on recording hooks with the dialog's default choices.
class NmeaEngineFixture : public ::testing::Test
{
public:
    void Feed(std::string_view bytes)
    {
        Engine->ReceiveBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }

    // Feeds each text as a complete sentence ended by CR LF.
    void FeedSentences(std::initializer_list<std::string_view> texts)
    {
        for (const std::string_view text : texts) {
            Feed(std::string(text) + "\r\n");
        }
    }

    void Dispatch(std::string_view text) { Engine->DispatchSentence(text); }
    void Dispatch(std::initializer_list<std::string_view> texts)
    {
        for (const std::string_view text : texts) {
            Engine->DispatchSentence(text);
        }
    }
    void Dispatch(const std::vector<std::string>& texts)
    {
        for (const std::string& text : texts) {
            Engine->DispatchSentence(text);
        }
    }

    // Takes a snapshot; false (and Snapshot untouched) when no group changed.
    bool Take() { return Engine->TakeSnapshot(*Snapshot); }

    TControlFlags Flags;
    TKeptValues Kept;
    RecordingHooks Hooks;
    std::unique_ptr<TNmeaEngine> Engine = std::make_unique<TNmeaEngine>(Flags, Kept, Hooks);
    std::unique_ptr<TReceiverState> Snapshot = std::make_unique<TReceiverState>();
};

} // namespace zz::test
