#include "dialogs/CVoiceTestDlg.h"

#include <QLineEdit>

#include "ui/MessageBoxes.h"
#include "commands/Gbk.h"
#include "commands/Voice.h"
#include "res/VoiceIds.h"
#include "res/DialogTemplate.h"

namespace tallyx {

CVoiceTestDlg::CVoiceTestDlg(Sender& sender, QWidget* parent)
    : CTemplateDlg(sender, parent, VoiceTemplate(), OkCommand::DoesNothing)
{
    m_amountEdit = qobject_cast<QLineEdit*>(Control(id::voice::kAmount));
    ConnectButtons<CVoiceTestDlg>({
        {id::voice::kPrevious, &CVoiceTestDlg::OnPrevVoice},
        {id::voice::kNext, &CVoiceTestDlg::OnNextVoice},
        {id::voice::kAmountTest, &CVoiceTestDlg::OnAmountTest},
    });
    g_voiceIndex = 0;
}

void CVoiceTestDlg::UpdateData(bool save)
{
    if (save) m_amount = Utf8ToGbk(ToUtf8(m_amountEdit->text()));
    else m_amountEdit->setText(ToQString(GbkToUtf8(m_amount)));
}

void CVoiceTestDlg::PlayVoice(uint32_t (*step)(uint32_t))
{
    UpdateData(true);
    // A broken port stops the press before the prompt number moves.
    if (!m_sender.CheckPortHandle()) return;
    g_voiceIndex = step(g_voiceIndex);
    m_sender.SendToPrinter(BuildVoicePromptCommand(uint8_t(g_voiceIndex)));
}

void CVoiceTestDlg::OnPrevVoice() { PlayVoice(PreviousVoice); }

void CVoiceTestDlg::OnNextVoice() { PlayVoice(NextVoice); }

void CVoiceTestDlg::OnAmountTest()
{
    UpdateData(true);
    if (!m_sender.CheckPortHandle()) return;
    const Result result = BuildAmountCommand(m_amount);
    if (const Message* refusal = result.refusal()) return Boxes().Show(*refusal, this);
    m_sender.SendToPrinter(result.bytes());
}

} // namespace tallyx
