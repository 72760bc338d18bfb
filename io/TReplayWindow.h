#pragma once

namespace zz {

// What the serial reading loop of a replay needs from the main window: the play button and the
// paused state. The position bar follows the replay file's own read position. The window side
// brings each call onto its own thread.
class TReplayWindow
{
public:
    virtual ~TReplayWindow() = default;

    // The play button is down (playing); read from a mirror, never from the widget.
    virtual bool PlayButtonDown() = 0;
    virtual void ReleasePlayButton() = 0;
    // Shows the paused state and returns once the window thread has done so. It may suspend
    // the calling thread, which then stops at its next gate.
    virtual void ShowReplayPaused() = 0;
};

} // namespace zz
