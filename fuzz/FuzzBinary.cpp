// Fuzz target of the binary engine: the input, after its steering bytes (FuzzSession.h), is what
// the receiver sent. Every decoder is reached through the framer; the dispatcher then gets the
// start of the stream as one frame, and the command encoders get the stream as typed
// hexadecimal text.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/TBinaryEngine.h"
#include "fuzz/EngineStorage.h"
#include "fuzz/FuzzSession.h"

namespace {

zz::fuzz::EngineStorage<zz::TBinaryEngine> Storage;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zz::fuzz::FuzzSession session(data, size);
    session.Kept.ProtocolIndex = zz::TProtocol::Binary;
    zz::TBinaryEngine& engine = Storage.Create(session.Flags, session.Kept, session.Hooks);
    session.Feed(engine);

    // The framer hands on frames of two to kMaxFrameLength bytes.
    const std::string_view frame = session.StreamText(zz::kMaxFrameLength);
    if (frame.size() >= 2) {
        engine.DispatchFrame(reinterpret_cast<const uint8_t*>(frame.data()),
                             static_cast<int>(frame.size()));
    }
    const std::string_view command = session.StreamText(zz::kLastCommandSize);
    engine.SendText(command.data(), command.size());
    engine.SendWithChecksum(command.data(), command.size());
    session.ServeMonitor(engine);

    Storage.Destroy(engine);
    return 0;
}
