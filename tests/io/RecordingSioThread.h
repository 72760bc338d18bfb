#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "core/TControlFlags.h"
#include "io/TSioThread.h"

namespace zz::test {

// A serial thread that keeps every chunk handed to ReceiveBytes and counts lost receivers.
class TRecordingSioThread final : public TSioThread
{
public:
    TRecordingSioThread(TControlFlags& flags, std::atomic<uint8_t>& displayPending)
        : TSioThread(true, flags, displayPending)
    {
        FinishConstruction();
    }
    ~TRecordingSioThread() override { StopSerialThread(); }

    std::vector<std::string> Chunks() const
    {
        std::lock_guard<std::mutex> lock(Mutex);
        return ChunkList;
    }
    std::string Received() const
    {
        std::string all;
        for (const std::string& chunk : Chunks()) {
            all += chunk;
        }
        return all;
    }

    std::atomic<int> LostCount{0};

protected:
    void ReceiveBytes(const uint8_t* bytes, size_t count) override
    {
        std::lock_guard<std::mutex> lock(Mutex);
        ChunkList.emplace_back(reinterpret_cast<const char*>(bytes), count);
    }
    void ReceiverLost() override { LostCount.fetch_add(1); }

private:
    mutable std::mutex Mutex;
    std::vector<std::string> ChunkList;
};

} // namespace zz::test
