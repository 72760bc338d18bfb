#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <mutex>

namespace zz {

// Work handed to the window thread by the other threads. Post (any thread) appends to a queue
// under our own mutex and wakes the window thread with a queued call that carries nothing; the
// window thread takes the work out under the same mutex. All data travels through the mutex, so
// the hand-over is ordered for every checker, whatever the toolkit's event queue does inside.
// Work still queued when the object goes away is dropped.
class TWindowQueue final : public QObject
{
    Q_OBJECT

public:
    explicit TWindowQueue(QObject* parent = nullptr);

    void Post(std::function<void()> work);

private slots:
    // Runs everything queued, in order (window thread).
    void RunQueued();

private:
    std::mutex Mutex;
    std::deque<std::function<void()>> Queue;
};

} // namespace zz
