#include "ui/IpAddressCtrl.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QLineEdit>
#include <QValidator>

namespace tallyx {

namespace {
// Up to three digits worth at most 255; anything else is refused as it is typed.
class OctetValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        if (input.isEmpty()) return Acceptable;
        if (input.size() > 3) return Invalid;
        for (QChar c : input)
            if (!c.isDigit() || c.unicode() > '9') return Invalid;
        return input.toInt() <= 255 ? Acceptable : Invalid;
    }
};
} // namespace

IpAddressCtrl::IpAddressCtrl(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setFocusPolicy(Qt::NoFocus);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(0);
    auto* validator = new OctetValidator(this);
    for (int i = 0; i < 4; ++i) {
        // The dots are painted in gaps a dot wide rather than being widgets: fifteen labels
        // on the main window cost a noticeable part of its start-up.
        if (i > 0) row->addSpacing(DotWidth());
        auto* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setValidator(validator);
        field->setMaxLength(3);
        field->setObjectName(QStringLiteral("field%1").arg(i));
        field->installEventFilter(this);
        // One tab stop for the whole address, as one control: dots and arrows move between fields.
        if (i > 0) field->setFocusPolicy(Qt::ClickFocus);
        connect(field, &QLineEdit::textEdited, this, [this, i] { OnFieldEdited(i); });
        connect(field, &QLineEdit::textChanged, this, &IpAddressCtrl::AddressChanged);
        m_fields[size_t(i)] = field;
        row->addWidget(field, 1);
    }
    setFocusProxy(m_fields[0]);
}

bool IpAddressCtrl::IsBlank() const { return FieldCount() == 0; }

int IpAddressCtrl::FieldCount() const
{
    int filled = 0;
    for (auto* f : m_fields) filled += !f->text().isEmpty();
    return filled;
}

uint32_t IpAddressCtrl::GetAddress() const { return Entry().Value(); }

AddressEntry IpAddressCtrl::Entry() const
{
    AddressEntry e;
    for (size_t i = 0; i < 4; ++i) {
        const QString t = m_fields[i]->text();
        e.present[i] = !t.isEmpty();
        e.octets[i] = uint8_t(t.toUInt());
    }
    return e;
}

QString IpAddressCtrl::Text() const
{
    QStringList parts;
    for (auto* f : m_fields) parts << f->text();
    return parts.join(QLatin1Char('.'));
}

void IpAddressCtrl::SetAddress(uint32_t address)
{
    const AddressEntry e = AddressEntry::FromValue(address);
    for (size_t i = 0; i < 4; ++i) m_fields[i]->setText(QString::number(e.octets[i]));
}

void IpAddressCtrl::ClearAddress()
{
    for (auto* f : m_fields) f->clear();
}

void IpAddressCtrl::SetFocusFirst()
{
    m_fields[0]->setFocus(Qt::OtherFocusReason);
    m_fields[0]->selectAll();
}

int IpAddressCtrl::IndexOf(QObject* field) const
{
    for (int i = 0; i < 4; ++i)
        if (m_fields[size_t(i)] == field) return i;
    return -1;
}

void IpAddressCtrl::OnFieldEdited(int index)
{
    // A full field hands the typing on to the next one.
    if (index < 3 && m_fields[size_t(index)]->text().size() == 3) {
        m_fields[size_t(index + 1)]->setFocus(Qt::TabFocusReason);
        m_fields[size_t(index + 1)]->selectAll();
    }
}

bool IpAddressCtrl::eventFilter(QObject* watched, QEvent* event)
{
    const int index = IndexOf(watched);
    if (index < 0 || event->type() != QEvent::KeyPress) return QFrame::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    QLineEdit* field = m_fields[size_t(index)];
    auto moveTo = [this](int i, bool atEnd) {
        QLineEdit* f = m_fields[size_t(i)];
        f->setFocus(Qt::OtherFocusReason);
        f->setCursorPosition(atEnd ? int(f->text().size()) : 0);
        return true;
    };
    switch (key->key()) {
    case Qt::Key_Period:
    case Qt::Key_Space:
        // A dot after some digits moves on; a dot in an empty field is ignored.
        if (index < 3 && !field->text().isEmpty() && !field->hasSelectedText()) {
            m_fields[size_t(index + 1)]->setFocus(Qt::TabFocusReason);
            m_fields[size_t(index + 1)]->selectAll();
        }
        return true;
    case Qt::Key_Backspace:
        if (index > 0 && field->cursorPosition() == 0 && !field->hasSelectedText()) return moveTo(index - 1, true);
        break;
    case Qt::Key_Left:
        if (index > 0 && field->cursorPosition() == 0) return moveTo(index - 1, true);
        break;
    case Qt::Key_Right:
        if (index < 3 && field->cursorPosition() == field->text().size()) return moveTo(index + 1, false);
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}

int IpAddressCtrl::DotWidth() const
{
    return fontMetrics().boundingRect(QRect(0, 0, 2000, 2000), Qt::AlignCenter, QStringLiteral(".")).width();
}

void IpAddressCtrl::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect row = contentsRect();
    for (int i = 1; i < 4; ++i) {
        const int left = m_fields[size_t(i - 1)]->geometry().right() + 1;
        const QRect gap(left, row.top(), m_fields[size_t(i)]->geometry().left() - left, row.height());
        // Drawn from the gap's own origin, as a label there would draw it.
        painter.save();
        painter.translate(gap.topLeft());
        style()->drawItemText(&painter, QRect(QPoint(), gap.size()), Qt::AlignCenter, palette(), isEnabled(),
                              QStringLiteral("."), QPalette::WindowText);
        painter.restore();
    }
}

void IpAddressCtrl::changeEvent(QEvent* event)
{
    // A disabled address shows on a window-coloured ground, as the fields do.
    if (event->type() == QEvent::EnabledChange) setBackgroundRole(isEnabled() ? QPalette::Base : QPalette::Window);
    QFrame::changeEvent(event);
}

} // namespace tallyx
