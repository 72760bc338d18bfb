#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "sim/TSimReceiver.h"
#include "sim/TSimSettings.h"

namespace zz {

// Serves a TSimReceiver on a line: a pseudo-terminal it creates (the other side is what a
// monitor opens) or a device it is given. A thread of its own paces the receiver's output onto
// the line in real time and hands it whatever is written back.
class TSimPty
{
public:
    explicit TSimPty(const TSimSettings& settings);
    ~TSimPty();
    TSimPty(const TSimPty&) = delete;
    TSimPty& operator=(const TSimPty&) = delete;

    // Creates a pseudo-terminal pair with its slave side in raw mode. False, with the reason in
    // error, when the system refuses.
    [[nodiscard]] bool OpenPty(std::string& error);
    // Talks on an existing device instead, put in raw mode at the settings' baud rate.
    [[nodiscard]] bool OpenDevice(const std::string& path, std::string& error);
    // Also copies every byte sent on the line into this file.
    [[nodiscard]] bool OpenTee(const std::string& path, std::string& error);

    // Starts serving the line opened before.
    [[nodiscard]] bool Start(std::string& error);
    // Stops serving; returns promptly, whatever the line is doing. Safe to call twice.
    void Stop();

    // Path a monitor opens: the pseudo-terminal's slave side, or the device given.
    const std::string& SlavePath() const { return Path; }
    // The device hung up or failed; the thread has stopped writing to it.
    bool LineLost() const { return Lost.load(); }
    uint64_t BytesSent() const { return Sent.load(); }

private:
    void Run();
    // Writes out to the line (what does not fit is dropped, as on a real line) and the tee.
    void Write(const std::string& out);

    TSimReceiver Receiver;
    int LineFd = -1;
    // Our own hold on the pty's slave side, so that the master never sees a hang-up between
    // two monitors.
    int SlaveFd = -1;
    bool LineIsTerminal = false;
    int TeeFd = -1;
    int WakeFd = -1;
    std::string Path;
    std::thread Worker;
    std::atomic<bool> Lost{false};
    std::atomic<uint64_t> Sent{0};
};

} // namespace zz
