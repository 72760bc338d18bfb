#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zz {

// Where the pieces of a text log go: the received bytes in order, and each sent-command line in
// its place among them.
class TSentLineSink
{
public:
    virtual ~TSentLineSink() = default;
    virtual void Bytes(const uint8_t* bytes, size_t count) = 0;
    // A sent-command line: the command as typed (without the '/' and the line end), and the
    // bytes the line took. Every byte before the line has gone to Bytes, none after it.
    virtual void SentLine(std::string_view command, size_t lineBytes) = 0;
};

// Finds the sent-command lines of a text log ("/" + command + CR LF, at the start of a line)
// in a stream read in chunks of any size, and hands the stream on without them, reporting each
// in its place: a command's "$DIRU,..." is then never taken for a received sentence. Commands
// longer than kMaxCommand are cut (their bytes still count); a command line the stream ends in
// is neither handed on nor reported.
class TSentLineFinder
{
public:
    static constexpr size_t kMaxCommand = 9600;

    void Scan(const uint8_t* bytes, size_t count, TSentLineSink& sink);

private:
    bool AtLineStart = true;
    bool InCommand = false;
    std::string Command;
    size_t CommandBytes = 0;
};

} // namespace zz
