#include "ui/main/StartAsAsked.h"

#include <QFile>

#include "ui/main/TFormMain.h"
#include "ui/main/TFormPort.h"

namespace zz {

void StartAsAsked(TFormMain& form, const TStartOptions& options)
{
    if (!options.ReplayPath.empty()) {
        // The path as the file system spells it, whatever the locale makes of it.
        form.OpenReplayAtStart(QFile::decodeName(QByteArray::fromStdString(options.ReplayPath)),
                               options.Protocol, options.Header);
        return;
    }
    if (!options.Port.empty()) {
        form.ConnectAtStart(StartRunSettings(options, form.FormPort().KeptSettings()));
    }
}

} // namespace zz
