#pragma once

#include <cstddef>
#include <cstdint>

#include "core/TProtocolHooks.h"

namespace zz::fuzz {

// What an engine under the fuzzer reaches outside itself: hooks that never sleep, a clock that
// moves on at every reading (so the time-to-first-fix arithmetic sees real differences), a
// termination request the run can raise, and a port that swallows command bytes.
class FuzzHooks : public TProtocolHooks, public TByteSink
{
public:
    TimeStamp Now() override;
    bool TerminationRequested() override;
    void WriteByte(uint8_t byte) override;

    bool Terminating = false;

private:
    TimeStamp Clock = 45000.0;
    uint8_t PortCheck = 0;
};

} // namespace zz::fuzz
