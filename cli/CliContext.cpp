#include "cli/CliContext.h"

#include <cerrno>
#include <cstring>
#include <ostream>

#include "res/Address.h"
#include "cli/CliTexts.h"
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
        m_link.emplace(*this, m_platform);
        m_link->SetTcpPort(options.tcpPort);
        if (m_log.IsOpen()) m_link->m_onSend = [this](const SendRecord& record) { m_log.Append(SendLogLine(record)); };
    }
    return *m_link;
}

bool CliContext::IsEthernet() const
{
    return options.port == combo::kPorts[combo::kPortEthernetIndex].item;
}

AddressEntry CliContext::PrinterAddress()
{
    // --ip was checked while parsing; a text that slipped through reads as blank.
    return ParseAddressText(options.ip).value_or(AddressEntry{});
}

void CliContext::ReportFault(const Outcome& fault)
{
    m_err << FaultCliText(fault.fault) << '\n';
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
        SendRecord record{std::chrono::system_clock::now(), LinkKind::Serial, options.port, bytes, {}};
        if (IsEthernet()) {
            record.kind = LinkKind::Network;
            record.target = options.ip + ":" + std::to_string(options.tcpPort);
        } else if (options.port == combo::kPorts[combo::kPortUsbIndex].item) {
            record.kind = LinkKind::Usb;
        }
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
    if (IsEthernet()) return true;
    const ConnectOutcome opened = TheLink().Connect();
    if (opened.connected) return true;
    // The silent stops of the USB discovery come here without a message.
    if (m_status == kExitSent) ReportFault(opened.outcome);
    return false;
}

int CliContext::Send(const Bytes& bytes)
{
    if (options.dryRun) return PrintCommand(bytes);
    if (!OpenPort()) return m_status;
    TheLink().SendToPrinter(bytes, Delivery::Direct);
    TheLink().Disconnect();
    return m_status;
}

int CliContext::SendRepeated(const Bytes& bytes, uint32_t count)
{
    if (options.dryRun) return PrintCommand(bytes, count);
    if (count == 0) return kExitSent;   // nothing to send: the port is not even opened
    if (!OpenPort()) return m_status;
    Link& link = TheLink();
    if (const Outcome checked = link.CheckPortHandle(); !checked) {
        // As the delivery rule logs it: the command was handed over and went nowhere.
        if (m_log.IsOpen())
            m_log.Append(SendLogLine({std::chrono::system_clock::now(), LinkKind::Usb, link.UsbPath(), bytes, checked}));
    } else {
        link.DeliverRepeated(PortText(), bytes.data(), bytes.size(), count, Delivery::Direct);
    }
    link.Disconnect();
    return m_status;
}

} // namespace tallyx::cli
