#pragma once

namespace zz::cli {

// `zedezuze-cli decode ...`: the arguments after the command word; returns the exit status.
int RunDecode(int argc, char** argv);

} // namespace zz::cli
