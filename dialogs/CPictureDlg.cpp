#include "dialogs/CPictureDlg.h"

#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "res/Messages.h"
#include "res/NvLogoIds.h"
#include "res/PictureTemplate.h"
#include "ui/DotsView.h"
#include "ui/QtText.h"

namespace tallyx {

namespace {

int HeadDots(int paperIndex) { return paperIndex == picture::kPaper80Index ? kPaper80Dots : kPaper58Dots; }

} // namespace

CPictureDlg::CPictureDlg(std::string path, DecodedPicture decoded, PictureUse use, QWidget* parent)
    : QDialog(parent), m_path(std::move(path)), m_decoded(std::move(decoded)), m_ui(BuildDialog(*this, PictureTemplate()))
{
    m_method = qobject_cast<QComboBox*>(Control(id::picture::kMethod));
    m_paper = qobject_cast<QComboBox*>(Control(id::picture::kPaper));
    m_width = qobject_cast<QLineEdit*>(Control(id::picture::kWidth));
    m_command = qobject_cast<QComboBox*>(Control(id::picture::kCommand));
    m_darkness = qobject_cast<QLineEdit*>(Control(id::picture::kDarkness));
    m_size = qobject_cast<QLabel*>(Control(id::picture::kSize));
    m_size->setWordWrap(true);

    for (const DitherName& m : kDitherNames) m_method->addItem(ToQString(m.name));
    for (std::string_view item : picture::kPaperItems) m_paper->addItem(ToQString(item));
    for (const PictureCommandName& c : kPictureCommandNames) {
        m_command->addItem(ToQString(c.name));
        m_command->setItemData(m_command->count() - 1, ToQString(c.help), Qt::ToolTipRole);
    }
    m_width->setValidator(new QIntValidator(1, kPictureMaxDots, m_width));
    m_darkness->setValidator(new QIntValidator(-kDarknessMax, kDarknessMax, m_darkness));

    m_preview = new DotsView(this);
    m_preview->setGeometry(m_ui.units.ToPixels(picture::kPreviewRect));
    const QString previewId = QString::number(id::picture::kPreview);
    m_preview->setObjectName(previewId);
    m_preview->setAccessibleName(ToQString(kCaptionPicture));
    m_preview->setAccessibleDescription(previewId);
    m_ui.controls.insert(id::picture::kPreview, m_preview);

    // The defaults of a picture that is not a BMP: Floyd-Steinberg, 80 mm, raster.
    m_method->setCurrentIndex(int(FindRow(kDitherNames, &DitherName::method, m_options.method) - kDitherNames));
    m_paper->setCurrentIndex(picture::kPaper80Index);
    m_command->setCurrentIndex(0);
    m_darkness->setText(QStringLiteral("0"));
    if (use == PictureUse::Logo) {
        m_command->setEnabled(false);
        // The logo is stored by the NV logo dialog's own button, under its own label.
        const ControlDef* download = FindControl(NvLogoTemplate(), id::nvlogo::kDownload);
        qobject_cast<QPushButton*>(Control(id::picture::kSend))->setText(ToQString(download->label));
    }

    connect(m_method, &QComboBox::currentIndexChanged, this, &CPictureDlg::OnMethod);
    connect(m_paper, &QComboBox::currentIndexChanged, this, &CPictureDlg::OnPaper);
    connect(m_width, &QLineEdit::editingFinished, this, &CPictureDlg::OnWidth);
    connect(m_command, &QComboBox::currentIndexChanged, this, &CPictureDlg::OnCommand);
    connect(m_darkness, &QLineEdit::editingFinished, this, &CPictureDlg::OnDarkness);
    connect(qobject_cast<QPushButton*>(Control(id::picture::kSend)), &QPushButton::clicked, this, &QDialog::accept);
    connect(qobject_cast<QPushButton*>(Control(id::picture::kCancel)), &QPushButton::clicked, this, &QDialog::reject);
    Convert();
}

void CPictureDlg::OnMethod()
{
    m_options.method = kDitherNames[size_t(std::max(0, m_method->currentIndex()))].method;
    Convert();
}

void CPictureDlg::OnPaper()
{
    m_options.fit = Fit::Shrink;
    m_options.width = HeadDots(m_paper->currentIndex());
    Convert();
}

void CPictureDlg::OnWidth()
{
    const int width = m_width->text().toInt();
    if (width == m_dots.width) return;
    m_options.fit = Fit::Exact;
    m_options.width = width;
    Convert();
}

void CPictureDlg::OnCommand()
{
    m_options.command = kPictureCommandNames[size_t(std::max(0, m_command->currentIndex()))].command;
    Convert();
}

void CPictureDlg::OnDarkness()
{
    m_options.darkness = m_darkness->text().toInt();
    Convert();
}

void CPictureDlg::Convert()
{
    // A JPEG read reduced for one width is read again for a wider one.
    const PictureSize fitted = FittedSize(m_decoded.width, m_decoded.height, m_options);
    if (fitted.width > m_decoded.width) {
        DecodeResult again = DecodePictureFile(m_path, m_options);
        if (again.ok() && again.picture().width > m_decoded.width) m_decoded = again.picture();
    }
    const PictureResult result = ConvertPicture(m_decoded.Rows(), m_options);
    if (const Message* refusal = result.refusal()) {
        m_size->setText(ToQString(refusal->text));
        m_dots = {};
        qobject_cast<QPushButton*>(Control(id::picture::kSend))->setEnabled(false);
        return;
    }
    m_dots = result.dots();
    qobject_cast<QPushButton*>(Control(id::picture::kSend))->setEnabled(true);
    m_width->setText(QString::number(m_dots.width));
    m_preview->SetDots(m_dots);
    const int bands = (m_dots.height + BandRows(m_dots.width) - 1) / BandRows(m_dots.width);
    m_size->setText(ToQString(kMsgPictureSize).arg(m_dots.width).arg(m_dots.height).arg(bands));
    m_size->setAccessibleName(m_size->text());
}

} // namespace tallyx
