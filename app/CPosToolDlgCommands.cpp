// The setting and test buttons and the network parameter save.
#include <QComboBox>

#include "app/CPosToolDlg.h"
#include "commands/MainCommands.h"
#include "commands/NetworkParams.h"
#include "res/MainWindowIds.h"
#include "ui/IpAddressCtrl.h"

namespace tallyx {

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
