// Fuzz target of the NMEA engine: the input, after its steering bytes (FuzzSession.h), is what
// the receiver sent. Every decoder is reached through the framer; the dispatcher then gets the
// whole stream as one sentence text, and the command encoders get it as a typed command.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/TNmeaEngine.h"
#include "fuzz/EngineStorage.h"
#include "fuzz/FuzzSession.h"

namespace {

zz::fuzz::EngineStorage<zz::TNmeaEngine> Storage;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zz::fuzz::FuzzSession session(data, size);
    zz::TNmeaEngine& engine = Storage.Create(session.Flags, session.Kept, session.Hooks);
    session.Feed(engine);

    // The framer hands on at most its buffer less the CR LF.
    engine.DispatchSentence(session.StreamText(zz::kSentenceBufferSize - 2));
    const std::string_view command = session.StreamText(zz::kLastCommandSize);
    engine.SendText(command.data(), command.size());
    engine.SendWithChecksum(command.data(), command.size());
    session.ServeMonitor(engine);

    Storage.Destroy(engine);
    return 0;
}
