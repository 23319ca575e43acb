// The main window's handlers that talk to the link: connect and disconnect, the port
// combo's selection change, the setting and test buttons and the network parameter save.
#include <QComboBox>
#include <QPushButton>

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
    if (m_link.IsConnected()) return Disconnect();

    const ConnectOutcome outcome = m_link.Connect(NetworkParamQuery());   // shows its own messages
    if (!outcome.connected) return;
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
    m_link.Disconnect();   // drops the connected flag and closes the device
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
    m_link.SendToPrinter(BuildMainCommand(*def, paramText), Delivery::Posted);
}

// The port is checked and read once; the count is looked at before every repetition.
void CPosToolDlg::OnSelfTest(const MainCommandDef& def)
{
    const Bytes command = BuildMainCommand(def);
    if (!m_link.CheckPortHandle()) return;   // reported by the link
    m_link.DeliverRepeated(PortText(), command.data(), command.size(), g_sendCount, Delivery::Posted);
}

void CPosToolDlg::OnSaveNetParams()
{
    UpdateData(true);
    const NetworkParamInput input{g_dhcpIndex, Address(id::main::kNetIp)->Entry(), Address(id::main::kNetMask)->Entry(),
                                  Address(id::main::kNetGateway)->Entry(), Address(id::main::kNetDns)->Entry()};
    const Result result = BuildNetworkParamCommand(input);
    if (const Message* refusal = result.refusal()) return ShowMessage(*refusal);
    if (m_link.SendOnceOverTcp(result.bytes()).ok()) UpdateData(false);
}

} // namespace tallyx
