#pragma once

namespace zz::cli {

// `zedezuze-cli monitor ...`: the arguments after the command word; returns the exit status.
int RunMonitor(int argc, char** argv);

} // namespace zz::cli
