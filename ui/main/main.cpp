#include <QApplication>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "ui/main/StartAsAsked.h"
#include "ui/main/StartOptions.h"
#include "ui/main/TFormMain.h"

#ifndef ZZ_APP_ID
#define ZZ_APP_ID "zedezuze"
#endif

namespace {

constexpr int kExitBadOption = 2;

int Fail(const std::string& reason)
{
    std::fprintf(stderr, "zedezuze: %s\n", reason.c_str());
    return kExitBadOption;
}

} // namespace

int main(int argc, char* argv[])
{
    // The command line is read before the toolkit starts, so that --help, --version and a bad
    // option need no display; the toolkit then takes its own options out of argv.
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    zz::TStartOptions options;
    const zz::TStartParse parse = zz::ParseStartOptions(arguments, options);
    switch (parse.Outcome) {
    case zz::TStartParse::Kind::Error:
        return Fail(parse.Message);
    case zz::TStartParse::Kind::Help:
        std::fwrite(zz::StartUsage().data(), 1, zz::StartUsage().size(), stdout);
        return 0;
    case zz::TStartParse::Kind::Version:
        std::printf("%s\n", zz::StartVersionText().c_str());
        return 0;
    case zz::TStartParse::Kind::Start:
        break;
    }
    if (!options.ReplayPath.empty()) {
        const int fd = ::open(options.ReplayPath.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return Fail("cannot open '" + options.ReplayPath + "': " + std::strerror(errno));
        }
        ::close(fd);
    }

    QApplication application(argc, argv);
    // The desktop entry the window belongs to, for its icon and name in the desktop's lists.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZZ_APP_ID));
    zz::TFormMain formMain;
    formMain.show();
    // Once the window is up, so that a message about the port or the log appears over it.
    QTimer::singleShot(0, &formMain,
                       [&formMain, &options] { zz::StartAsAsked(formMain, options); });
    return QApplication::exec();
}
