// The main window's handlers that talk to the link: connect and disconnect, the port
// combo's selection change, the setting and test buttons and the network parameter save.
#include <QComboBox>
#include <QPushButton>
#include <memory>

#include "app/CPosToolDlg.h"
#include "commands/MainCommands.h"
#include "commands/NetworkParams.h"
#include "jobs/PrinterQueries.h"
#include "res/Combos.h"
#include "res/MainWindowIds.h"
#include "res/Messages.h"
#include "ui/IpAddressCtrl.h"

namespace tallyx {

namespace {
using namespace id::main;
} // namespace

void CPosToolDlg::OnConnect()
{
    UpdateData(true);
    if (m_connecting) return;   // the press before it is still being answered
    if (m_link.IsConnected()) return Disconnect();

    // The open and the network's read-back run on the sender; the window goes on answering.
    m_connecting = true;
    auto outcome = std::make_shared<ConnectOutcome>();
    m_sender.Post(
        [target = ChosenTarget(), outcome](Link& link, std::stop_token stop) {
            *outcome = link.Connect(target, NetworkParamQuery(), stop);
            return outcome->outcome;
        },
        [this, outcome](const Outcome&) {
            m_connecting = false;
            OnConnected(*outcome);
        });
}

void CPosToolDlg::OnConnected(const ConnectOutcome& outcome)
{
    if (!outcome.connected) return;   // the link told why
    if (m_link.Kind() == LinkKind::Network) {
        // A reply too short to hold the parameters leaves the fields empty, DHCP "NO".
        const NetParams net = DecodeNetReply(outcome.netReply);
        g_netIp = net.valid ? net.ip : 0;
        g_netMask = net.valid ? net.mask : 0;
        g_netGateway = net.valid ? net.gateway : 0;
        g_netDns = net.valid ? net.dns : 0;
        g_dhcpIndex = net.valid ? net.dhcpIndex : 0;
        const std::pair<int, uint32_t> fields[] = {
            {kNetIp, g_netIp}, {kNetMask, g_netMask}, {kNetGateway, g_netGateway}, {kNetDns, g_netDns}};
        for (auto [id, address] : fields) {
            if (net.valid) Address(id)->SetAddress(address);
            else Address(id)->ClearAddress();
        }
        SetEnabled(kSave, true);
        m_printerIp->setEnabled(false);
    }
    SetCaption(m_connect, kDisconnectCaption);
    m_port->setEnabled(false);
    m_baud->setEnabled(false);
    SetCommandSetEnabled(true);
    UpdateData(false);
}

void CPosToolDlg::Disconnect()
{
    // A cutter run left going ends first: nothing reaches the printer once the button
    // says "连 接", and no reopen of the run's opens the port again.
    m_cutterRun.RequestStop();
    m_cutterRun.Wait();
    // The commands not yet sent are dropped and the one under way stops at its next wait;
    // the port closes behind them, on the sender.
    m_sender.Cancel();
    m_link.DropConnected();
    m_sender.Post([](Link& link, std::stop_token) {
        link.Disconnect();
        return Outcome{};
    });
    SetCaption(m_connect, kConnectCaption);
    SetCommandSetEnabled(false);
    SetEnabled(kSave, false);
    m_port->setEnabled(true);
    if (m_link.Kind() == LinkKind::Serial) m_baud->setEnabled(true);
    if (m_link.Kind() == LinkKind::Network) {
        m_printerIp->setEnabled(true);
        g_netIp = g_netMask = g_netGateway = g_netDns = 0;
        g_dhcpIndex = 0;
        for (int id : {kNetIp, kNetMask, kNetGateway, kNetDns}) Address(id)->ClearAddress();
    }
    UpdateData(false);
}

void CPosToolDlg::OnSelchangePort()
{
    UpdateData(true);
    EnableForPortKind();
    UpdateData(false);
}

void CPosToolDlg::EnableForPortKind()
{
    // The baud rate is a serial port's, the printer address the network's.
    const int port = m_port->currentIndex();
    if (port == combo::kPortUsbIndex) {
        m_baud->setEnabled(false);
        m_printerIp->setEnabled(false);
    } else if (port == combo::kPortEthernetIndex) {
        m_baud->setEnabled(false);
        m_printerIp->setEnabled(true);
    } else {
        m_baud->setEnabled(true);
        m_printerIp->setEnabled(false);
    }
}

void CPosToolDlg::OnMainCommand(int buttonId)
{
    UpdateData(true);
    const MainCommandDef* def = FindMainCommandByButton(buttonId);
    if (!def) return;
    if (buttonId == id::main::kSelfTest) return OnSelfTest(*def);
    const QComboBox* param = def->comboId ? Combo(def->comboId) : nullptr;
    const std::string paramText = param ? ToUtf8(param->currentText()) : std::string();
    m_sender.Post(AtAddress([bytes = BuildMainCommand(*def, paramText)](Link& link, std::stop_token stop) {
        return link.SendToPrinter(bytes, stop);
    }));
}

// The port is checked and read once; the count is looked at before every repetition.
void CPosToolDlg::OnSelfTest(const MainCommandDef& def)
{
    if (!m_sender.CheckPortHandle()) return;   // told by the link
    m_sender.Post(AtAddress([command = BuildMainCommand(def), count = g_sendCount](Link& link, std::stop_token stop) {
        return link.Deliver(command, count, stop);
    }));
}

void CPosToolDlg::OnSaveNetParams()
{
    UpdateData(true);
    const NetworkParamInput input{g_dhcpIndex, Address(id::main::kNetIp)->Entry(), Address(id::main::kNetMask)->Entry(),
                                  Address(id::main::kNetGateway)->Entry(), Address(id::main::kNetDns)->Entry()};
    const Result result = BuildNetworkParamCommand(input);
    if (const Message* refusal = result.refusal()) return ShowMessage(*refusal);
    m_sender.Post(AtAddress([bytes = result.bytes()](Link& link, std::stop_token) { return link.SendOnceOverTcp(bytes); }),
                  [this](const Outcome& sent) {
                      if (sent.ok()) UpdateData(false);
                  });
}

} // namespace tallyx
