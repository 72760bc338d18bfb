#include "io/TLogFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

#include "core/RawLogMarker.h"

namespace zz {
namespace {

void CloseIfOpen(int& fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

} // namespace

TLogFiles::TLogFiles(const std::atomic<TProtocol>& protocol, const std::atomic<THeader>& header)
    : Protocol(protocol), Header(header)
{
}

TLogFiles::~TLogFiles()
{
    CloseLogFiles();
}

bool TLogFiles::OpenFile(const std::string& path, int& fd, std::atomic<bool>& failed,
                         std::atomic<int>& failedErrno)
{
    const int opened = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (opened < 0) {
        OpenErrno.store(errno);
        return false;
    }
    std::lock_guard<std::mutex> lock(Mutex);
    CloseIfOpen(fd);
    fd = opened;
    if (&fd == &RawFile) {
        RawWritten = 0;
    }
    failed.store(false);
    failedErrno.store(0);
    RecordingFlag.store(LogFile >= 0 && RawFile >= 0);
    return true;
}

bool TLogFiles::OpenLogFile(const std::string& path)
{
    return OpenFile(path, LogFile, LogFailed, LogErrno);
}

bool TLogFiles::OpenRawFile(const std::string& path)
{
    return OpenFile(path, RawFile, RawFailed, RawErrno);
}

void TLogFiles::CloseLogFiles()
{
    std::lock_guard<std::mutex> lock(Mutex);
    RecordingFlag.store(false);
    CloseIfOpen(LogFile);
    CloseIfOpen(RawFile);
}

TLogWriteFailure TLogFiles::RawFailure() const
{
    return {RawFailed.load(), RawErrno.load()};
}

TLogWriteFailure TLogFiles::LogFailure() const
{
    return {LogFailed.load(), LogErrno.load()};
}

size_t TLogFiles::WriteOnce(int fd, const char* data, size_t count, std::atomic<bool>& failed,
                            std::atomic<int>& failedErrno)
{
    ssize_t written = 0;
    do {
        written = ::write(fd, data, count);
    } while (written < 0 && errno == EINTR);
    if (written >= 0 && static_cast<size_t>(written) == count) {
        return count;
    }
    failedErrno.store(written < 0 ? errno : 0);
    if (!failed.exchange(true) && FailureHook) {
        FailureHook();
    }
    return written < 0 ? 0 : static_cast<size_t>(written);
}

void TLogFiles::WriteRawChunk(const uint8_t* bytes, size_t count)
{
    if (!RecordingFlag.load()) {
        return;
    }
    std::lock_guard<std::mutex> lock(Mutex);
    if (RawFile < 0 || !RecordingFlag.load()) {
        return;
    }
    if (RawWritten == 0 && Protocol.load() == TProtocol::Nmea) {
        const std::string_view marker = MarkerLine(ChoiceIndex(Header.load()));
        if (!marker.empty()) {
            RawWritten += static_cast<int64_t>(
                WriteOnce(RawFile, marker.data(), marker.size(), RawFailed, RawErrno));
        }
    }
    RawWritten += static_cast<int64_t>(
        WriteOnce(RawFile, reinterpret_cast<const char*>(bytes), count, RawFailed, RawErrno));
}

void TLogFiles::WriteLine(const char* prefix, size_t prefixCount, const char* text, size_t count)
{
    const size_t textCount = std::min(count, kLogLineTextSize);
    char* line = LineBuffer.data();
    if (prefixCount > 0) {
        std::memcpy(line, prefix, prefixCount);
    }
    if (textCount > 0) {
        std::memcpy(line + prefixCount, text, textCount);
    }
    line[prefixCount + textCount] = '\r';
    line[prefixCount + textCount + 1] = '\n';
    WriteOnce(LogFile, line, prefixCount + textCount + 2, LogFailed, LogErrno);
}

void TLogFiles::WriteLogLine(const char* text, size_t count)
{
    if (!RecordingFlag.load()) {
        return;
    }
    std::lock_guard<std::mutex> lock(Mutex);
    if (LogFile >= 0 && RecordingFlag.load()) {
        WriteLine("", 0, text, count);
    }
}

void TLogFiles::WriteSentLine(const char* text, size_t count)
{
    if (!RecordingFlag.load()) {
        return;
    }
    std::lock_guard<std::mutex> lock(Mutex);
    if (LogFile >= 0 && RecordingFlag.load()) {
        WriteLine("/", 1, text, count);
    }
}

} // namespace zz
