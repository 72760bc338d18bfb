#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/TControlFlags.h"
#include "core/TKeptValues.h"
#include "io/COMSTATUS.h"
#include "io/PortOpenError.h"

namespace zz {

class TDisplay;
class TGpsioThread;
class TMonitorThread;
class TProtocolListener;
class TSimPty;

// The threads behind the main window: the monitor thread, made suspended at once and kept to
// the end, and per connection the protocol thread and, for the port "SIM", the built-in
// simulated receiver on a pseudo-terminal of its own. Every call comes from the window thread.
class TReceiverConnection
{
public:
    TReceiverConnection(TControlFlags& flags, const TKeptValues& kept, TDisplay& display,
                        TProtocolListener& listener);
    ~TReceiverConnection();
    TReceiverConnection(const TReceiverConnection&) = delete;
    TReceiverConnection& operator=(const TReceiverConnection&) = delete;

    // Creates the protocol thread of the protocol suspended and opens its port, which starts it,
    // then resumes the monitor thread. False when the port could not be opened; OpenError then
    // says why and no protocol thread is left.
    bool Open(const COMSTATUS& status, TProtocol protocol);
    TPortOpenError OpenError() const { return LastOpenError; }

    // Suspends the protocol thread and the monitor thread.
    void SuspendThreads();
    // Destroys the protocol thread and stops the simulated receiver.
    void DestroyProtocolThread();

    // Sends a command; false when the protocol refused the text or no port is open.
    bool Send(std::string_view text, bool withChecksum);
    std::string LastCommand() const;
    void ArmTtff();

    TMonitorThread& Monitor() { return *MonitorThread; }

private:
    bool StartSimulator(const COMSTATUS& status, TProtocol protocol, std::string& portName);

    TControlFlags& Flags;
    const TKeptValues& Kept;
    TProtocolListener& Listener;
    std::unique_ptr<TMonitorThread> MonitorThread;
    std::unique_ptr<TSimPty> Simulator;
    std::unique_ptr<TGpsioThread> Protocol;
    TPortOpenError LastOpenError;
};

} // namespace zz
