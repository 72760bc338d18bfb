#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "monitor/TDisplay.h"
#include "session/TRunEvents.h"

namespace zz::test {

// The windows of a run under test. The test's own thread plays the window thread: posted work
// runs only inside Pump, so every call on the run and every window call come from one thread,
// as in the application. Remembers the last text of each Information label, every log line and
// every event, in order.
class TPumpedDisplay final : public TDisplay, public TRunEvents
{
public:
    void Post(std::function<void()> work) override
    {
        {
            std::lock_guard<std::mutex> lock(Mutex);
            Queue.push_back(std::move(work));
        }
        Queued.notify_all();
    }

    // Runs posted work until the condition holds (checked after each piece) or the bound
    // passes; whether it held.
    bool PumpUntil(const std::function<bool()>& condition,
                   std::chrono::milliseconds bound = std::chrono::milliseconds(20000))
    {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (!condition()) {
            std::function<void()> work;
            {
                std::unique_lock<std::mutex> lock(Mutex);
                if (!Queued.wait_until(lock, deadline, [this] { return !Queue.empty(); })) {
                    return condition();
                }
                work = std::move(Queue.front());
                Queue.pop_front();
            }
            work();
        }
        return true;
    }
    size_t QueuedCount()
    {
        std::lock_guard<std::mutex> lock(Mutex);
        return Queue.size();
    }
    // Runs posted work for the given time.
    void PumpFor(std::chrono::milliseconds time)
    {
        PumpUntil([] { return false; }, time);
    }

    void AppendLogLine(std::string_view line) override { LogLines.emplace_back(line); }
    void SetInfoText(TInfoLabel label, std::string_view text) override
    {
        Info[label] = std::string(text);
        ++InfoWrites;
    }
    void SetDrText(TDrLabel, std::string_view) override {}
    void SetDirection(const TDirectionView&) override {}
    void EndUpdate() override { ++Cycles; }

    std::string InfoText(TInfoLabel label) const
    {
        const auto found = Info.find(label);
        return found == Info.end() ? std::string() : found->second;
    }

    void ShowTtffText(TTtffText text) override
    {
        Events.push_back(text == TTtffText::Counting ? "ttff counting" : "ttff --");
    }
    void ClearAltitudeVelocityPlots() override { Events.emplace_back("clear plots"); }
    void ReceiverLost() override { Events.emplace_back("lost"); }
    void ReplayEnded(int error) override
    {
        Events.push_back("replay ended " + std::to_string(error));
    }
    void LogWriteFailed() override { Events.emplace_back("log write failed"); }

    bool HasEvent(const std::string& event) const
    {
        for (const std::string& seen : Events) {
            if (seen == event) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> LogLines;
    std::map<TInfoLabel, std::string> Info;
    int InfoWrites = 0;
    int Cycles = 0;
    std::vector<std::string> Events;

private:
    std::mutex Mutex;
    std::condition_variable Queued;
    std::deque<std::function<void()>> Queue;
};

} // namespace zz::test
