#include "ui/DialogLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/FramedControls.h"
#include "ui/IpAddressCtrl.h"

namespace tallyx {

QFont DialogFont(int points)
{
    const QStringList present = QFontDatabase::families();
    for (std::string_view family : DialogFontFamilies()) {
        const QString name = ToQString(family);
        if (present.contains(name, Qt::CaseInsensitive)) return QFont(name, points);
    }
    QFont fallback;
    fallback.setPointSize(points);
    return fallback;
}

DialogUnits::DialogUnits(const QFont& font)
{
    // The average width is taken over the 52 letters, as the dialog manager measures it.
    const QFontMetrics fm(font);
    const int letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (letters / 26 + 1) / 2;
    m_baseY = fm.height();
}

int DialogUnits::X(int dlu) const { return (dlu * m_baseX + 2) / 4; }
int DialogUnits::Y(int dlu) const { return (dlu * m_baseY + 4) / 8; }

QRect DialogUnits::ToPixels(const DluRect& r) const
{
    const int left = X(r.x), top = Y(r.y);
    return QRect(left, top, X(r.x + r.width) - left, Y(r.y + r.height) - top);
}

void SetCaption(QWidget* control, std::string_view text)
{
    const QString caption = ToQString(text);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(caption);
    else if (auto* label = qobject_cast<QLabel*>(control)) label->setText(caption);
    control->setAccessibleName(caption);
}

namespace {
constexpr int kIconSizePx = 32;

Qt::Alignment TextAlignment(uint32_t flags)
{
    if (flags & ctl::kAlignCentre) return Qt::AlignHCenter;
    if (flags & ctl::kAlignRight) return Qt::AlignRight;
    return Qt::AlignLeft;
}

QComboBox* MakeCombo(bool editable, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    if (editable) {
        // Handed a line edit directly: setEditable would also build the drop-down's popup now,
        // which the combo otherwise builds, the same, when the list is first opened.
        combo->setLineEdit(new QLineEdit(combo));
        // The typed text is used as it stands: no completion, no case-blind matching,
        // and typing never counts as picking an item from the list.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        QObject::disconnect(combo->lineEdit(), SIGNAL(editingFinished()), combo, SLOT(_q_editingFinished()));
    }
    return combo;
}

QWidget* CreateControl(const ControlDef& c, QWidget* parent)
{
    const QString label = ToQString(c.label);
    switch (c.kind) {
    case ControlKind::StaticText: {
        auto* w = new QLabel(label, parent);
        w->setAlignment(TextAlignment(c.flags) | Qt::AlignTop);
        return w;
    }
    case ControlKind::GroupBox: {
        auto* w = new QGroupBox(label, parent);
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
        return w;
    }
    case ControlKind::PushButton: {
        auto* w = new QPushButton(label, parent);
        w->setFlat(c.flags & ctl::kFlat);
        w->setDefault(c.flags & ctl::kDefault);
        return w;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(label, parent);
    case ControlKind::EditableCombo:
    case ControlKind::ListCombo:
        return MakeCombo(c.kind == ControlKind::EditableCombo, parent);
    case ControlKind::Edit: {
        auto* w = new QLineEdit(parent);
        w->setAlignment(TextAlignment(c.flags));
        return w;
    }
    case ControlKind::MultiLineEdit: {
        auto* w = new QPlainTextEdit(parent);
        if (c.flags & ctl::kScrollBars) {
            w->setLineWrapMode(QPlainTextEdit::NoWrap);
            w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        }
        w->setTabChangesFocus(true);
        return w;
    }
    case ControlKind::IpAddress:
        return new IpAddressCtrl(parent);
    case ControlKind::Icon: {
        // Drawn at its own size, from the window's icon.
        auto* w = new QLabel(parent);
        w->setPixmap(parent->windowIcon().pixmap(kIconSizePx, kIconSizePx));
        return w;
    }
    }
    return nullptr;
}

// The field of a drop-down is one line high; the rest of its rectangle is the list.
QRect ControlGeometry(const ControlDef& c, const DialogUnits& units, QWidget* w)
{
    QRect r = units.ToPixels(c.rect);
    if (c.kind == ControlKind::EditableCombo || c.kind == ControlKind::ListCombo)
        r.setHeight(std::min(r.height(), QFontMetrics(w->font()).height() + 8));
    if (c.kind == ControlKind::Icon) r.setSize(QSize(kIconSizePx, kIconSizePx));
    return r;
}

} // namespace

BuiltDialog BuildDialog(QDialog& dialog, const DialogTemplate& tpl)
{
    const QFont font = DialogFont(tpl.fontPoints);
    BuiltDialog built{font, DialogUnits(font), {}};
    dialog.setFont(font);
    dialog.setWindowTitle(ToQString(tpl.caption));
    dialog.setFixedSize(built.units.X(tpl.width), built.units.Y(tpl.height));

    QList<QWidget*> frames;
    QList<std::pair<QWidget*, QString>> showing;   // a static that shows information, and its label's text
    auto* painter = new FramePainter(&dialog);
    for (const ControlDef& c : tpl.controls) {
        QWidget* w = CreateControl(c, &dialog);
        w->setGeometry(ControlGeometry(c, built.units, w));
        // A static showing information (its name is the label beside it) is read by what
        // it shows; the dialog renames it whenever the text changes (SetCaption).
        const bool shows = c.kind == ControlKind::StaticText && c.id != 0 && c.name != c.label;
        w->setAccessibleName(ToQString(shows ? c.label : c.name));
        if (shows) showing.append({w, ToQString(c.name)});
        if (auto* address = qobject_cast<IpAddressCtrl*>(w))
            for (int i = 0; i < 4; ++i) address->Field(i)->setAccessibleName(w->accessibleName() + QString(" %1").arg(i + 1));
        if (c.id != 0) {
            const QString id = QString::number(c.id);
            w->setObjectName(id);
            w->setAccessibleDescription(id);
            built.controls.insert(c.id, w);
        }
        if (c.kind == ControlKind::GroupBox) frames << w;
        if (c.kind == ControlKind::GroupBox || (c.flags & ctl::kFlat)) painter->Take(w);
    }
    // The label beside such a static is told to assistive tools as its label, not its name.
    for (const auto& [shown, labelText] : showing)
        for (auto* label : dialog.findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (label != shown && label->objectName().isEmpty() && label->text() == labelText) label->setBuddy(shown);
    // Frames are drawn beneath the controls they surround.
    for (QWidget* frame : frames) frame->lower();
    return built;
}

} // namespace tallyx
