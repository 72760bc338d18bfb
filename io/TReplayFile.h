#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zz {

// The raw log being replayed: an open file, its size and the read position, all 64-bit.
// The window thread opens, seeks and closes it; the replay loop reads it. A seek may come while
// the loop is still finishing a step (a suspended thread ends the step it was in): that step
// then reads nothing, and the next read starts at the new position. Open and Close only while
// no replay loop runs.
class TReplayFile
{
public:
    TReplayFile() = default;
    ~TReplayFile();
    TReplayFile(const TReplayFile&) = delete;
    TReplayFile& operator=(const TReplayFile&) = delete;

    // Opens for reading at position 0; false (and errno kept in LastError) on failure.
    [[nodiscard]] bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return Fd >= 0; }
    int LastError() const { return Error.load(); }

    int64_t Size() const { return FileSize; }
    int64_t Position() const { return ReadPosition.load(); }
    void Seek(int64_t position);
    // The position has reached the size, or a read failed (nothing more can be read).
    bool AtEnd() const;
    // Reads up to count bytes at the position and moves it on; the count read.
    [[nodiscard]] size_t Read(uint8_t* buffer, size_t count);

private:
    int Fd = -1;
    std::atomic<int> Error{0};
    int64_t FileSize = 0;
    std::atomic<int64_t> ReadPosition{0};
    std::atomic<bool> ReadFailed{false};
};

} // namespace zz
