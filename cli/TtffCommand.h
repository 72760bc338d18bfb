#pragma once

namespace zz::cli {

// `zedezuze-cli ttff ...`: the arguments after the command word; returns the exit status.
int RunTtff(int argc, char** argv);

} // namespace zz::cli
