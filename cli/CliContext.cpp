#include "cli/CliContext.h"

#include <cerrno>
#include <cstring>
#include <ostream>

#include "res/Address.h"
#include "cli/CliTexts.h"
#include "link/SerialPort.h"
#include "commands/Hex.h"
#include "res/Combos.h"
#include "res/Faults.h"

namespace tallyx::cli {

CliContext::CliContext(Platform& platform, std::istream& in, std::ostream& out, std::ostream& err)
    : m_platform(platform), m_in(in), m_out(out), m_err(err)
{
}

int CliContext::RunAction()
{
    return m_action ? m_action() : kExitUsage;
}

Link& CliContext::TheLink()
{
    if (!m_link) {
        m_link.emplace(m_platform);
        m_link->SetTell([this](const Outcome& fault) { ReportFault(fault); });
        if (m_log.IsOpen()) m_link->m_onSend = [this](const SendRecord& record) { m_log.Append(SendLogLine(record)); };
    }
    return *m_link;
}

bool CliContext::IsEthernet() const
{
    return PortKind(options.port) == LinkKind::Network;
}

Target CliContext::ChosenTarget() const
{
    // --ip was checked while parsing; a text that slipped through reads as blank.
    return TargetFromChoices(options.port, options.baud, ParseAddressText(options.ip).value_or(AddressEntry{}),
                             options.tcpPort);
}

void CliContext::ReportFault(const Outcome& fault)
{
    m_err << FaultCliText(fault.fault) << '\n';
    // The window's words alone do not say which port or why.
    if (fault.fault == LinkFault::PortBusy && fault.error != 0)
        m_err << "tallyx-cli: " << SerialDevicePath(options.port) << ": " << ErrorReason(fault.error) << '\n';
    m_lastFault = fault;
    if (m_status == kExitSent) m_status = FaultRow(fault.fault).exitStatus;
}

int CliContext::Refuse(const Message& message)
{
    m_err << message.text << '\n';
    return m_status = kExitRefused;
}

int CliContext::Fail(std::string_view text)
{
    m_err << text << '\n';
    return m_status = kExitLinkFailed;
}

bool CliContext::OpenLog()
{
    if (options.logPath.empty() || m_log.Open(options.logPath)) return true;
    Fail("tallyx-cli: cannot open " + options.logPath + ": " + std::strerror(errno));
    return false;
}

int CliContext::PrintCommand(const Bytes& bytes, uint32_t count)
{
    if (m_log.IsOpen()) {
        // The link the command would have gone to; nothing is opened to find out more.
        SendRecord record{std::chrono::system_clock::now(), PortKind(options.port), options.port, bytes, {}};
        if (record.kind == LinkKind::Network) record.target = options.ip + ":" + std::to_string(options.tcpPort);
        for (uint32_t i = 0; i < count; ++i) m_log.Append(SendLogLine(record, kOutcomeDryRun));
    }
    std::string line = BytesToHexText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!line.empty()) line.pop_back();   // the dump puts a space after the last pair too
    for (uint32_t i = 0; i < count; ++i) m_out << line << '\n';
    return kExitSent;
}

// The window connects before any command can be pressed; over the network every command
// makes its own connection, so there is nothing to open first.
bool CliContext::OpenPort()
{
    if (IsEthernet()) {
        TheLink().UseTarget(ChosenTarget());
        return true;
    }
    const ConnectOutcome opened = TheLink().Connect(ChosenTarget());
    if (opened.connected) return true;
    // The silent stops of the USB discovery come here without a message.
    if (m_status == kExitSent) ReportFault(opened.outcome);
    return false;
}

int CliContext::LoggedUnsent(const Bytes& bytes)
{
    // The port did not open: the command is in the log all the same, with the fault, the
    // path and the reason.
    if (m_log.IsOpen() && PortKind(options.port) == LinkKind::Serial)
        m_log.Append(SendLogLine({std::chrono::system_clock::now(), LinkKind::Serial, SerialDevicePath(options.port),
                                  bytes, m_lastFault}));
    return m_status;
}

int CliContext::Send(const Bytes& bytes)
{
    if (options.dryRun) return PrintCommand(bytes);
    if (!OpenPort()) return LoggedUnsent(bytes);
    TheLink().SendToPrinter(bytes);
    TheLink().Disconnect();
    return m_status;
}

int CliContext::SendRepeated(const Bytes& bytes, uint32_t count)
{
    if (options.dryRun) return PrintCommand(bytes, count);
    if (count == 0) return kExitSent;   // nothing to send: the port is not even opened
    if (!OpenPort()) return LoggedUnsent(bytes);
    Link& link = TheLink();
    // The port is checked once (and a failure logged as the rule logs it), then the
    // command repeated.
    if (link.SendToPrinter(bytes).ok() && count > 1) link.Deliver(bytes, count - 1);
    link.Disconnect();
    return m_status;
}

} // namespace tallyx::cli
