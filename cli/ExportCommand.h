#pragma once

namespace zz::cli {

// `zedezuze-cli export ...`: the arguments after the command word; returns the exit status.
int RunExport(int argc, char** argv);

} // namespace zz::cli
