#pragma once

#include "ui/main/StartOptions.h"

namespace zz {

class TFormMain;

// Does what the command line asked for at start-up: connects as the receiver setting dialog
// would, or opens the log for replay; nothing without --port or --replay.
void StartAsAsked(TFormMain& form, const TStartOptions& options);

} // namespace zz
