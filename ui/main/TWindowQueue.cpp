#include "ui/main/TWindowQueue.h"

#include <QMetaObject>

namespace zz {

TWindowQueue::TWindowQueue(QObject* parent) : QObject(parent)
{
}

void TWindowQueue::Post(std::function<void()> work)
{
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(Mutex);
        // One wake-up is pending while the queue holds work.
        wake = Queue.empty();
        Queue.push_back(std::move(work));
    }
    if (wake) {
        QMetaObject::invokeMethod(this, &TWindowQueue::RunQueued, Qt::QueuedConnection);
    }
}

void TWindowQueue::RunQueued()
{
    for (;;) {
        std::function<void()> work;
        {
            std::lock_guard<std::mutex> lock(Mutex);
            if (Queue.empty()) {
                return;
            }
            work = std::move(Queue.front());
            Queue.pop_front();
        }
        work();
    }
}

} // namespace zz
