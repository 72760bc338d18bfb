#pragma once

#include <cerrno>
#include <chrono>
#include <functional>
#include <string>

#include <poll.h>
#include <unistd.h>

namespace zz::test {

// Reads from fd into stream until done(stream) holds, the line ends, or limit passes. The limit
// only keeps a broken build from hanging the suite; no test depends on how long this takes.
inline bool ReadUntil(int fd, std::string& stream,
                      const std::function<bool(const std::string&)>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    char buffer[4096];
    while (!done(stream)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd watched{fd, POLLIN, 0};
        if (poll(&watched, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
            continue;
        }
        if (count <= 0) {
            return done(stream);
        }
        stream.append(buffer, static_cast<size_t>(count));
    }
    return true;
}

// Number of times needle occurs in stream.
inline int Occurrences(const std::string& stream, const std::string& needle)
{
    int count = 0;
    for (size_t at = stream.find(needle); at != std::string::npos;
         at = stream.find(needle, at + 1)) {
        ++count;
    }
    return count;
}

} // namespace zz::test
