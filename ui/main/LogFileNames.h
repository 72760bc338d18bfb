#pragma once

#include <string>
#include <string_view>

namespace zz {

// The local date and time as "yyyymmdd_hhmmss", which names a new recording.
std::string LogTimeStamp(int year, int month, int day, int hour, int minute, int second);

// The names the two save dialogs propose for a recording started at stamp.
struct TLogFileNames
{
    std::string Log; // stamp + ".log"
    std::string Raw; // stamp + ".bin"
};
TLogFileNames DefaultLogFileNames(std::string_view stamp);

// Whether two paths name one file: both made absolute, "." and ".." resolved and symbolic links
// followed as far as the paths exist, so that a file not created yet compares by its folder;
// two existing names of one file compare equal however they are linked.
bool IsSameFile(const std::string& first, const std::string& second);

// The last component of a path, for the status bar.
std::string FileNameOnly(const std::string& path);

} // namespace zz
