#include "io/TReplayFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zz {

TReplayFile::~TReplayFile()
{
    Close();
}

bool TReplayFile::Open(const std::string& path)
{
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Error.store(errno);
        return false;
    }
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0) {
        Error.store(errno);
        ::close(fd);
        return false;
    }
    Fd = fd;
    Error.store(0);
    FileSize = static_cast<int64_t>(status.st_size);
    ReadPosition.store(0);
    ReadFailed.store(false);
    return true;
}

void TReplayFile::Close()
{
    if (Fd >= 0) {
        ::close(Fd);
        Fd = -1;
    }
    FileSize = 0;
    ReadPosition.store(0);
    ReadFailed.store(false);
}

void TReplayFile::Seek(int64_t position)
{
    ReadPosition.store(std::clamp<int64_t>(position, 0, FileSize));
    ReadFailed.store(false);
}

bool TReplayFile::AtEnd() const
{
    return Fd < 0 || ReadFailed.load() || ReadPosition.load() >= FileSize;
}

size_t TReplayFile::Read(uint8_t* buffer, size_t count)
{
    const int64_t position = ReadPosition.load();
    const auto wanted = static_cast<size_t>(
        std::min<int64_t>(static_cast<int64_t>(count), std::max<int64_t>(FileSize - position, 0)));
    if (Fd < 0 || wanted == 0) {
        return 0;
    }
    ssize_t got = 0;
    do {
        got = ::pread(Fd, buffer, wanted, static_cast<off_t>(position));
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        // A file cut short under us, or a read error: treat it as the end rather than spin.
        Error.store(got < 0 ? errno : 0);
        ReadFailed.store(true);
        return 0;
    }
    // A seek that came in meanwhile wins: these bytes belong to the old position.
    int64_t expected = position;
    if (!ReadPosition.compare_exchange_strong(expected, position + got)) {
        return 0;
    }
    return static_cast<size_t>(got);
}

} // namespace zz
