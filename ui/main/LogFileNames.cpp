#include "ui/main/LogFileNames.h"

#include <charconv>
#include <filesystem>
#include <system_error>

namespace zz {
namespace {

void AppendPadded(std::string& text, int value, int width)
{
    char digits[16];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    const auto count = error == std::errc() ? static_cast<int>(end - digits) : 0;
    text.append(static_cast<size_t>(count < width ? width - count : 0), '0');
    text.append(digits, static_cast<size_t>(count));
}

std::filesystem::path Resolved(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        return std::filesystem::path(path).lexically_normal();
    }
    std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, error);
    if (error) {
        return absolute.lexically_normal();
    }
    return canonical;
}

} // namespace

std::string LogTimeStamp(int year, int month, int day, int hour, int minute, int second)
{
    std::string stamp;
    AppendPadded(stamp, year, 4);
    AppendPadded(stamp, month, 2);
    AppendPadded(stamp, day, 2);
    stamp += '_';
    AppendPadded(stamp, hour, 2);
    AppendPadded(stamp, minute, 2);
    AppendPadded(stamp, second, 2);
    return stamp;
}

TLogFileNames DefaultLogFileNames(std::string_view stamp)
{
    return {std::string(stamp) + ".log", std::string(stamp) + ".bin"};
}

bool IsSameFile(const std::string& first, const std::string& second)
{
    if (Resolved(first) == Resolved(second)) {
        return true;
    }
    // Two existing names of one file that no link explains (a hard link, a bind mount).
    std::error_code error;
    return std::filesystem::equivalent(first, second, error) && !error;
}

std::string FileNameOnly(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

} // namespace zz
