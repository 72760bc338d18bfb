#pragma once

#include <cstring>
#include <new>
#include <utility>

namespace zz::fuzz {

// Room for one engine, reused by every input. An engine holds its line ring and record (about
// 2 MB); a fresh heap block for each input would spend most of a run mapping and unmapping it.
// The room is filled with the same garbage before each construction, so that what a run reads
// from a member its constructor left alone does not depend on earlier inputs.
template <typename Engine> class EngineStorage
{
public:
    template <typename... Arguments> Engine& Create(Arguments&&... arguments)
    {
        std::memset(Bytes, 0xBE, sizeof Bytes);
        return *new (Bytes) Engine(std::forward<Arguments>(arguments)...);
    }

    static void Destroy(Engine& engine) { engine.~Engine(); }

private:
    alignas(Engine) unsigned char Bytes[sizeof(Engine)];
};

} // namespace zz::fuzz
