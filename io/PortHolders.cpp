#include "io/PortHolders.h"

#include <algorithm>
#include <charconv>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace zz {
namespace {

// The decimal number the whole text is; false for anything else.
template <typename T> bool ReadWhole(std::string_view text, T& value, int base = 10)
{
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value, base);
    return !text.empty() && error == std::errc() && next == end;
}

std::string ReadSmallFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The command name of a process, without the line end; empty once it has gone.
std::string CommandName(const std::string& procDirectory, pid_t pid)
{
    std::string name = ReadSmallFile(procDirectory + "/" + std::to_string(pid) + "/comm");
    while (!name.empty() && (name.back() == '\n' || name.back() == '\0')) {
        name.pop_back();
    }
    return name;
}

// Whether the descriptor's file is the device: the same device number for a character
// device, else the same file.
bool IsSameDevice(const struct stat& opened, const struct stat& device)
{
    if (S_ISCHR(device.st_mode)) {
        return S_ISCHR(opened.st_mode) && opened.st_rdev == device.st_rdev;
    }
    return opened.st_dev == device.st_dev && opened.st_ino == device.st_ino;
}

// Whether one of the process's descriptors is the device. Only descriptors whose link names a
// file under /dev, or the device's own path, are examined further, so that a file on a stalled
// network mount is never looked at.
bool HoldsDevice(int processFd, const std::string& devicePath, const struct stat& device)
{
    const int descriptors = ::openat(processFd, "fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptors < 0) {
        return false;
    }
    DIR* directory = ::fdopendir(descriptors);
    if (directory == nullptr) {
        ::close(descriptors);
        return false;
    }
    bool holds = false;
    while (const dirent* entry = ::readdir(directory)) {
        char target[4096];
        const ssize_t length = ::readlinkat(descriptors, entry->d_name, target, sizeof target);
        if (length <= 0) {
            continue;
        }
        const std::string_view link(target, static_cast<size_t>(length));
        if (!link.starts_with("/dev/") && link != devicePath) {
            continue;
        }
        struct stat opened
        {
        };
        if (::fstatat(descriptors, entry->d_name, &opened, 0) == 0 &&
            IsSameDevice(opened, device)) {
            holds = true;
            break;
        }
    }
    ::closedir(directory);
    return holds;
}

} // namespace

std::vector<pid_t> LockHolderPids(std::string_view locksTable, dev_t device, ino_t inode)
{
    std::vector<pid_t> pids;
    std::istringstream lines{std::string(locksTable)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string id, kind, mode, access, pid, file;
        fields >> id >> kind;
        if (kind == "->") {
            continue;
        }
        fields >> mode >> access >> pid >> file;
        // The file as major:minor:inode, the device numbers in hexadecimal.
        const size_t first = file.find(':');
        const size_t second = file.find(':', first == std::string::npos ? first : first + 1);
        if (second == std::string::npos) {
            continue;
        }
        unsigned int major = 0;
        unsigned int minor = 0;
        unsigned long long fileInode = 0;
        pid_t owner = 0;
        const std::string_view text(file);
        if (!ReadWhole(text.substr(0, first), major, 16) ||
            !ReadWhole(text.substr(first + 1, second - first - 1), minor, 16) ||
            !ReadWhole(text.substr(second + 1), fileInode) || !ReadWhole(pid, owner) ||
            owner <= 0) {
            continue;
        }
        if (makedev(major, minor) == device && fileInode == inode) {
            pids.push_back(owner);
        }
    }
    return pids;
}

std::vector<TPortHolder> FindPortHolders(const std::string& devicePath,
                                         const std::string& procDirectory)
{
    struct stat device
    {
    };
    if (::stat(devicePath.c_str(), &device) != 0) {
        return {};
    }
    std::vector<pid_t> pids;
    if (DIR* directory = ::opendir(procDirectory.c_str())) {
        while (const dirent* entry = ::readdir(directory)) {
            pid_t pid = 0;
            if (!ReadWhole(std::string_view(entry->d_name), pid) || pid <= 0) {
                continue;
            }
            const int processFd =
                ::openat(::dirfd(directory), entry->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (processFd < 0) {
                continue;
            }
            if (HoldsDevice(processFd, devicePath, device)) {
                pids.push_back(pid);
            }
            ::close(processFd);
        }
        ::closedir(directory);
    }

    const std::vector<pid_t> lockers =
        LockHolderPids(ReadSmallFile(procDirectory + "/locks"), device.st_dev, device.st_ino);
    pids.insert(pids.end(), lockers.begin(), lockers.end());
    std::sort(pids.begin(), pids.end());
    pids.erase(std::unique(pids.begin(), pids.end()), pids.end());

    std::vector<TPortHolder> holders;
    for (const pid_t pid : pids) {
        std::string name = CommandName(procDirectory, pid);
        if (!name.empty()) {
            holders.push_back({pid, std::move(name)});
        }
    }
    return holders;
}

} // namespace zz
