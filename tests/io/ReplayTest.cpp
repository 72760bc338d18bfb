#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/TControlFlags.h"
#include "io/TReplayFile.h"
#include "io/TReplayWindow.h"
#include "tests/io/IoTestSupport.h"
#include "tests/io/RecordingSioThread.h"

namespace zz::test {
namespace {

// The main window's side of a replay, as far as the reading loop sees it. Showing the paused
// state does what the window does: stop playing and suspend the protocol thread.
class TFakeReplayWindow final : public TReplayWindow
{
public:
    explicit TFakeReplayWindow(TControlFlags& flags) : Flags(flags) {}

    bool PlayButtonDown() override { return ButtonDown.load(); }
    void ReleasePlayButton() override { ButtonDown.store(false); }
    void ShowReplayPaused() override
    {
        ButtonUpWhenPaused.store(!ButtonDown.load());
        FramerResetWhenPaused.store(Flags.FramerReset.load());
        Flags.ReplayPlaying.store(0);
        if (Thread != nullptr) {
            Thread->Suspend();
        }
        PausedCount.fetch_add(1);
    }

    TControlFlags& Flags;
    TThread* Thread = nullptr;
    std::atomic<bool> ButtonDown{true};
    std::atomic<int> PausedCount{0};
    std::atomic<bool> ButtonUpWhenPaused{false};
    std::atomic<uint8_t> FramerResetWhenPaused{0};
};

// A replay of a 25-byte log, playing, with the display caught up and the thread suspended.
class TReplayRig
{
public:
    TReplayRig()
    {
        const std::string path = Dir.File("replay.bin");
        {
            std::ofstream(path, std::ios::binary) << kContent;
        }
        Opened = File.Open(path) && File.Size() == 25;
        Flags.Replaying.store(1);
        Flags.ReplayPlaying.store(1);
        Window.Thread = &Thread;
        Thread.SetReplay(&File, &Window);
    }

    static constexpr const char* kContent = "0123456789ABCDEFGHIJKLMNO";
    TTempDir Dir;
    TControlFlags Flags;
    std::atomic<uint8_t> DisplayPending{0};
    TReplayFile File;
    bool Opened = false;
    TFakeReplayWindow Window{Flags};
    TRecordingSioThread Thread{Flags, DisplayPending};
};

TEST(ReplayTest, FileIsFedInTenByteStepsAndTheEndPausesTheReplay)
{
    TReplayRig rig;
    ASSERT_TRUE(rig.Opened);
    rig.Thread.Resume();
    ASSERT_TRUE(WaitUntil([&] { return rig.Window.PausedCount.load() > 0; }));

    EXPECT_EQ(rig.Thread.Chunks(), (std::vector<std::string>{"0123456789", "ABCDEFGHIJ", "KLMNO"}));
    EXPECT_EQ(rig.File.Position(), 25);
    EXPECT_TRUE(rig.Window.ButtonUpWhenPaused.load());
    EXPECT_EQ(rig.Window.FramerResetWhenPaused.load(), 1);

    // At the end with the button up the loop stays quiet, even once resumed.
    rig.Thread.Resume();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(rig.Window.PausedCount.load(), 1);
    EXPECT_EQ(rig.Thread.Chunks().size(), 3u);
}

TEST(ReplayTest, NothingIsReadWhileTheDisplayLagsOrTheReplayIsPaused)
{
    struct TCase
    {
        const char* What;
        bool DisplayLags; // else the replay is paused
    };
    for (const TCase& item : {TCase{"display pending", true}, TCase{"replay paused", false}}) {
        SCOPED_TRACE(item.What);
        TReplayRig rig;
        ASSERT_TRUE(rig.Opened);
        std::atomic<uint8_t>& holding =
            item.DisplayLags ? rig.DisplayPending : rig.Flags.ReplayPlaying;
        const uint8_t holdValue = item.DisplayLags ? 1 : 0;
        holding.store(holdValue);
        rig.Thread.Resume();

        // Each DisplayDone the loop takes is one more look at the flags that found it must
        // wait; the event starts set, so the first look has already been counted.
        for (int look = 0; look < 3; ++look) {
            ASSERT_TRUE(WaitUntil([&] { return !rig.Thread.DisplayDone.IsSet(); }));
            rig.Thread.DisplayDone.Set();
        }
        ASSERT_TRUE(WaitUntil([&] { return !rig.Thread.DisplayDone.IsSet(); }));
        EXPECT_TRUE(rig.Thread.Chunks().empty());
        EXPECT_EQ(rig.File.Position(), 0);

        holding.store(static_cast<uint8_t>(1 - holdValue));
        rig.Thread.DisplayDone.Set();
        EXPECT_TRUE(WaitUntil([&] { return !rig.Thread.Chunks().empty(); }));
        EXPECT_EQ(rig.Thread.Chunks().front(), "0123456789");
    }
}

TEST(ReplayFileTest, ReadsFromThePositionAndEndsOnAShortenedFile)
{
    TTempDir dir;
    const std::string path = dir.File("replay.bin");
    {
        std::ofstream(path, std::ios::binary) << TReplayRig::kContent;
    }
    TReplayFile file;
    ASSERT_TRUE(file.Open(path));
    uint8_t buffer[10] = {};

    file.Seek(20);
    ASSERT_EQ(file.Read(buffer, sizeof buffer), 5u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 5), "KLMNO");
    EXPECT_TRUE(file.AtEnd());
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);

    file.Seek(1000); // beyond the end: held at the end
    EXPECT_EQ(file.Position(), 25);
    file.Seek(10);
    EXPECT_FALSE(file.AtEnd());

    // The file loses its tail after it was opened: the reader reaches an end, not a loop.
    std::filesystem::resize_file(path, 5);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    EXPECT_TRUE(file.AtEnd());

    EXPECT_FALSE(file.Open(dir.File("missing.bin")));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.AtEnd());
}

} // namespace
} // namespace zz::test
