#include "cli/TRecordingTap.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "io/TLogFiles.h"
#include "session/TRun.h"

namespace zz::cli {
namespace {

void CloseIfOpen(int& fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

// A path that opens the descriptor's pipe again.
std::string PathOf(int fd)
{
    return "/proc/self/fd/" + std::to_string(fd);
}

} // namespace

TRecordingTap::TRecordingTap(TProtocol protocol, size_t markerBytes)
    : Protocol(protocol), MarkerBytes(markerBytes), Link(protocol)
{
}

TRecordingTap::~TRecordingTap()
{
    if (Reader.joinable()) {
        Reader.join();
    }
    CloseIfOpen(RawRead);
    CloseIfOpen(LogRead);
}

bool TRecordingTap::Start(TRun& run, std::string& error)
{
    int raw[2] = {-1, -1};
    int log[2] = {-1, -1};
    if (::pipe2(raw, O_CLOEXEC) != 0 || ::pipe2(log, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        for (int fd : {raw[0], raw[1], log[0], log[1]}) {
            CloseIfOpen(fd);
        }
        return false;
    }
    RawRead = raw[0];
    LogRead = log[0];
    const bool started = run.StartRecording(PathOf(log[1]), PathOf(raw[1]));
    // The run holds write ends of its own now; the pipes end when it closes them.
    ::close(raw[1]);
    ::close(log[1]);
    if (!started) {
        error = "cannot record the link: " + std::string(std::strerror(run.RecordingOpenError()));
        CloseIfOpen(RawRead);
        CloseIfOpen(LogRead);
        return false;
    }
    Reader = std::thread([this] { ReadLoop(); });
    return true;
}

TLinkReport TRecordingTap::Stop(TRun& run)
{
    run.StopRecording();
    if (Reader.joinable()) {
        Reader.join();
    }
    TLinkReport report = Link.Counts();
    report.Bytes = RawBytes > MarkerBytes ? RawBytes - MarkerBytes : 0;
    return report;
}

void TRecordingTap::ReadLoop()
{
    std::array<char, 65536> buffer;
    bool rawOpen = true;
    bool logOpen = true;
    while (rawOpen || logOpen) {
        pollfd waits[2] = {{rawOpen ? RawRead : -1, POLLIN, 0},
                           {logOpen ? LogRead : -1, POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (waits[i].revents == 0) {
                continue;
            }
            const ssize_t got = ::read(waits[i].fd, buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                (i == 0 ? rawOpen : logOpen) = false;
                continue;
            }
            if (i == 0) {
                RawBytes += static_cast<uint64_t>(got);
            } else {
                TakeLogBytes(buffer.data(), static_cast<size_t>(got));
            }
        }
    }
}

void TRecordingTap::TakeLogBytes(const char* bytes, size_t count)
{
    // Every text log line ends with CR LF; the text itself holds no LF.
    const char* end = bytes + count;
    while (bytes != end) {
        const auto* lineFeed =
            static_cast<const char*>(std::memchr(bytes, '\n', static_cast<size_t>(end - bytes)));
        const char* stop = lineFeed != nullptr ? lineFeed + 1 : end;
        if (Line.size() < kLogLineTextSize + 2) {
            Line.append(bytes, static_cast<size_t>(stop - bytes));
        }
        bytes = stop;
        if (lineFeed == nullptr) {
            break;
        }
        std::string_view text(Line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
            text.remove_suffix(1);
        }
        if (text.empty() || text.front() != '/') {
            Link.AddFramed(text);
        }
        Line.clear();
    }
}

} // namespace zz::cli
