#include "ui/main/TReceiverConnection.h"

#include <cerrno>
#include <ctime>
#include <thread>

#include "core/TProtocolEngine.h"
#include "io/PortScan.h"
#include "io/TBinary.h"
#include "io/TNmea.h"
#include "monitor/TMonitorThread.h"
#include "sim/TSimPty.h"

namespace zz {

TReceiverConnection::TReceiverConnection(TControlFlags& flags, const TKeptValues& kept,
                                         TDisplay& display, TProtocolListener& listener)
    : Flags(flags), Kept(kept), Listener(listener),
      MonitorThread(std::make_unique<TMonitorThread>(flags, display))
{
}

TReceiverConnection::~TReceiverConnection()
{
    DestroyProtocolThread();
    MonitorThread.reset();
}

bool TReceiverConnection::Open(const COMSTATUS& status, TProtocol protocol)
{
    DestroyProtocolThread();
    LastOpenError = {};

    COMSTATUS portStatus = status;
    if (status.PortName == kSimulatedPortName &&
        !StartSimulator(status, protocol, portStatus.PortName)) {
        return false;
    }

    TLogFiles* logs = &MonitorThread->LogFiles();
    if (protocol == TProtocol::Binary) {
        Protocol = std::make_unique<TBinary>(true, Flags, Kept, MonitorThread->DisplayPending, logs,
                                             &Listener);
    } else {
        Protocol = std::make_unique<TNmea>(true, Flags, Kept, MonitorThread->DisplayPending, logs,
                                           &Listener);
    }
    std::this_thread::yield();
    if (!Protocol->OpenReceiverPort(portStatus)) {
        LastOpenError = Protocol->LastOpenError();
        DestroyProtocolThread();
        return false;
    }
    MonitorThread->SetProtocolThread(Protocol.get());
    MonitorThread->Resume();
    return true;
}

bool TReceiverConnection::StartSimulator(const COMSTATUS& status, TProtocol protocol,
                                         std::string& portName)
{
    TSimSettings settings;
    settings.Protocol = protocol == TProtocol::Binary ? TSimProtocol::Binary : TSimProtocol::Nmea;
    settings.BaudRate = status.BaudRate;
    settings.StartUnixSeconds = static_cast<int64_t>(std::time(nullptr));
    Simulator = std::make_unique<TSimPty>(settings);
    std::string error;
    if (!Simulator->OpenPty(error) || !Simulator->Start(error)) {
        LastOpenError = {TPortOpenFailure::Other, errno};
        Simulator.reset();
        return false;
    }
    portName = Simulator->SlavePath();
    return true;
}

void TReceiverConnection::SuspendThreads()
{
    if (Protocol) {
        Protocol->Suspend();
    }
    MonitorThread->Suspend();
}

void TReceiverConnection::DestroyProtocolThread()
{
    MonitorThread->SetProtocolThread(nullptr);
    Protocol.reset();
    if (Simulator) {
        Simulator->Stop();
        Simulator.reset();
    }
}

bool TReceiverConnection::Send(std::string_view text, bool withChecksum)
{
    if (!Protocol) {
        return false;
    }
    return withChecksum ? Protocol->SendWithChecksum(text.data(), text.size())
                        : Protocol->SendText(text.data(), text.size());
}

std::string TReceiverConnection::LastCommand() const
{
    if (!Protocol) {
        return {};
    }
    std::string command(kLastCommandSize, '\0');
    Protocol->ProtocolEngine().CopyLastCommand(command.data());
    command.resize(command.find('\0'));
    return command;
}

void TReceiverConnection::ArmTtff()
{
    if (Protocol) {
        Protocol->ProtocolEngine().ArmTtff();
    }
}

} // namespace zz
