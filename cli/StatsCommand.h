#pragma once

namespace zz::cli {

// `zedezuze-cli stats ...`: the arguments after the command word; returns the exit status.
int RunStats(int argc, char** argv);

} // namespace zz::cli
