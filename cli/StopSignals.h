#pragma once

namespace zz::cli {

// SIGINT and SIGTERM end a live command cleanly: from the call on, they only raise a flag that
// the command's loop watches.
void WatchStopSignals();
bool StopSignalled();

} // namespace zz::cli
