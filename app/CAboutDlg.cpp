#include "app/CAboutDlg.h"

#include <QPushButton>

#include "app/AppIcon.h"
#include "res/MainWindowControls.h"
#include "ui/DialogLayout.h"

namespace tallyx {

namespace {
constexpr int kOkButton = 1;
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowIcon(AppIcon());
    const BuiltDialog built = BuildDialog(*this, AboutTemplate());
    connect(qobject_cast<QPushButton*>(built.controls.value(kOkButton)), &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace tallyx
