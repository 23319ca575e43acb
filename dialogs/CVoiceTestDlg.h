#pragma once
// "语音芯片测试" (template 140): step through the voice chip's prompts 1 to 22 and
// have it read out a typed money amount.
#include <QDialog>
#include <cstdint>

#include "ui/DialogLayout.h"
#include "link/Link.h"

class QLineEdit;

namespace tallyx {

class CVoiceTestDlg : public QDialog {
    Q_OBJECT
public:
    // The main window opens it modally with itself as parent and lends it its link.
    CVoiceTestDlg(Link& link, QWidget* parent);

    // The prompt last played; 0 at every opening, before the first.
    uint32_t g_voiceIndex = 0;
    // The amount edit's text as GBK bytes.
    std::string m_amount;

    QWidget* Control(int id) const { return m_ui.controls.value(id); }
    void UpdateData(bool save);

    // The OK command does nothing: Return never closes the dialog.
    void accept() override {}

public slots:
    void OnPrevVoice();
    void OnNextVoice();
    void OnAmountTest();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PlayVoice(uint32_t (*step)(uint32_t));

    Link& m_link;
    BuiltDialog m_ui;
    QLineEdit* m_amountEdit;
};

} // namespace tallyx
