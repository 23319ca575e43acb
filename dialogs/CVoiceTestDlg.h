#pragma once
// "语音芯片测试" (template 140): step through the voice chip's prompts 1 to 22 and
// have it read out a typed money amount.
#include <cstdint>
#include "dialogs/CTemplateDlg.h"

class QLineEdit;

namespace tallyx {

class CVoiceTestDlg : public CTemplateDlg {
    Q_OBJECT
public:
    CVoiceTestDlg(Sender& sender, QWidget* parent);

    // The prompt last played; 0 at every opening, before the first.
    uint32_t g_voiceIndex = 0;
    // The amount edit's text as GBK bytes.
    std::string m_amount;

    void UpdateData(bool save);

public slots:
    void OnPrevVoice();
    void OnNextVoice();
    void OnAmountTest();

private:
    void PlayVoice(uint32_t (*step)(uint32_t));

    QLineEdit* m_amountEdit;
};

} // namespace tallyx
