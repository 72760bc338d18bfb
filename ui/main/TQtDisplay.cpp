#include "ui/main/TQtDisplay.h"

#include "ui/main/TWindowQueue.h"
#include "ui/windows/TInfoForm.h"
#include "ui/windows/TLogForm.h"
#include "ui/windows/TROTForm.h"

namespace zz {

TQtDisplay::TQtDisplay(TWindowQueue& queue, TInfoForm& info, TLogForm& log, TROTForm& rot)
    : Queue(queue), Info(info), Log(log), Rot(rot)
{
}

void TQtDisplay::Post(std::function<void()> work)
{
    Queue.Post(std::move(work));
}

void TQtDisplay::AppendLogLine(std::string_view line)
{
    Log.AppendLogLine(line);
    if (AfterUpdate) {
        AfterUpdate();
    }
}

void TQtDisplay::SetInfoText(TInfoLabel label, std::string_view text)
{
    Info.SetText(label, text);
}

void TQtDisplay::SetDrText(TDrLabel label, std::string_view text)
{
    Rot.SetText(label, text);
}

void TQtDisplay::SetDirection(const TDirectionView& /*view*/)
{
    // The course is shown by the Information window's own labels; no compass window yet.
}

void TQtDisplay::EndUpdate()
{
    if (AfterUpdate) {
        AfterUpdate();
    }
}

} // namespace zz
