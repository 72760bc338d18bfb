#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace zz {

// A process that has a device open: its pid and its command name.
struct TPortHolder
{
    pid_t Pid = 0;
    std::string Name;

    bool operator==(const TPortHolder&) const = default;
};

// The processes that hold the device at devicePath open, in pid order, each once. They are
// found under procDirectory: through every process's open descriptors that this user may look
// at, and through the locks table for the ones whose descriptors are hidden (a daemon of
// another user that locks the port). Empty when the device cannot be examined or nobody can be
// seen holding it.
std::vector<TPortHolder> FindPortHolders(const std::string& devicePath,
                                         const std::string& procDirectory = "/proc");

// The pids of the whole-file locks granted on the file with the given device and inode
// numbers, read from the text of a locks table:
//   1: FLOCK  ADVISORY  WRITE 4242 00:05:1027 0 EOF
// Waiting requests ("1: -> FLOCK ...") and unknown owners (pid -1) are left out.
std::vector<pid_t> LockHolderPids(std::string_view locksTable, dev_t device, ino_t inode);

} // namespace zz
