#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "core/ReceiverSettings.h"

namespace zz {

// Longest text one log line takes (a sentence, the hexadecimal text of a frame, or a command);
// longer text is cut to it.
inline constexpr size_t kLogLineTextSize = 2 * 9600;

// What the last failed write to one log file reported. Errno 0 marks a short write.
struct TLogWriteFailure
{
    bool Failed = false;
    int Errno = 0;
};

// The raw log (.bin) and the text log (.log) of a recording. The window thread opens and
// closes them and writes the lines of sent commands; the protocol thread writes received
// chunks and lines. One mutex covers every write and the close, and every chunk or line goes
// out in one write call, so lines from the two threads never interleave and a close never
// races a write. A failed write is recorded, not reported, and recording goes on.
class TLogFiles
{
public:
    // The protocol and header-of-cycle choices, read when the first raw chunk is written.
    TLogFiles(const std::atomic<TProtocol>& protocol, const std::atomic<THeader>& header);
    ~TLogFiles();
    TLogFiles(const TLogFiles&) = delete;
    TLogFiles& operator=(const TLogFiles&) = delete;

    // Create or truncate; true on success. Recording starts once both files are open.
    [[nodiscard]] bool OpenLogFile(const std::string& path);
    [[nodiscard]] bool OpenRawFile(const std::string& path);
    // Closes whichever is open and stops recording.
    void CloseLogFiles();
    // The error number of the last open that failed.
    int LastOpenErrno() const { return OpenErrno.load(); }

    // A received chunk, unchanged; the first chunk of an NMEA recording is preceded by the
    // marker line naming the header of the cycle.
    void WriteRawChunk(const uint8_t* bytes, size_t count);
    // A received sentence (or the hexadecimal text of a frame), then CR LF.
    void WriteLogLine(const char* text, size_t count);
    // A sent command as "/" + text + CR LF.
    void WriteSentLine(const char* text, size_t count);

    bool Recording() const { return RecordingFlag.load(); }
    // Called by the writing thread, under the files' mutex, when a file's first write of a
    // recording fails; it must only hand the news on. Set before any recording starts.
    void SetFailureHook(std::function<void()> hook) { FailureHook = std::move(hook); }
    TLogWriteFailure RawFailure() const;
    TLogWriteFailure LogFailure() const;

private:
    [[nodiscard]] bool OpenFile(const std::string& path, int& fd, std::atomic<bool>& failed,
                                std::atomic<int>& failedErrno);
    // One write call (mutex held); the bytes written, a failure recorded.
    size_t WriteOnce(int fd, const char* data, size_t count, std::atomic<bool>& failed,
                     std::atomic<int>& failedErrno);
    // Writes prefix + text + CR LF from the line buffer (mutex held).
    void WriteLine(const char* prefix, size_t prefixCount, const char* text, size_t count);

    const std::atomic<TProtocol>& Protocol;
    const std::atomic<THeader>& Header;
    std::mutex Mutex;
    int LogFile = -1;       // guarded by Mutex
    int RawFile = -1;       // guarded by Mutex
    int64_t RawWritten = 0; // guarded by Mutex: the raw file's write position
    std::atomic<bool> RecordingFlag{false};
    std::atomic<int> OpenErrno{0};
    std::atomic<bool> RawFailed{false};
    std::atomic<int> RawErrno{0};
    std::atomic<bool> LogFailed{false};
    std::atomic<int> LogErrno{0};
    std::function<void()> FailureHook;
    std::array<char, kLogLineTextSize + 3> LineBuffer{}; // guarded by Mutex
};

} // namespace zz
