#include <cstdio>
#include <string_view>

#include "cli/DecodeCommand.h"
#include "cli/ExportCommand.h"
#include "cli/MonitorCommand.h"
#include "cli/StatsCommand.h"
#include "cli/TtffCommand.h"
#include "core/ProductVersion.h"

namespace {

const char* kUsage =
    "usage: zedezuze-cli COMMAND [options]\n"
    "\n"
    "Commands:\n"
    "  decode FILE   decode a raw receiver log and print one JSON line per snapshot\n"
    "  monitor PORT  connect to a receiver (or SIM) and print one JSON line per\n"
    "                display cycle\n"
    "  stats FILE    accuracy, availability, satellites, link health and times to\n"
    "                first fix of a log (or of a live receiver with --port)\n"
    "  ttff          time a series of restarts of a receiver to their first fixes\n"
    "  export FILE   the track of a log as GPX, KML or CSV\n"
    "\n"
    "Run 'zedezuze-cli COMMAND --help' for the options of a command.\n";

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "--version") {
        std::printf("zedezuze-cli %.*s\n", static_cast<int>(zz::kProductVersion.size()),
                    zz::kProductVersion.data());
        return 0;
    }
    if (command == "decode") {
        return zz::cli::RunDecode(argc - 2, argv + 2);
    }
    if (command == "monitor") {
        return zz::cli::RunMonitor(argc - 2, argv + 2);
    }
    if (command == "stats") {
        return zz::cli::RunStats(argc - 2, argv + 2);
    }
    if (command == "ttff") {
        return zz::cli::RunTtff(argc - 2, argv + 2);
    }
    if (command == "export") {
        return zz::cli::RunExport(argc - 2, argv + 2);
    }
    std::fprintf(stderr, "zedezuze-cli: unknown command '%.*s'\n%s",
                 static_cast<int>(command.size()), command.data(), kUsage);
    return 2;
}
