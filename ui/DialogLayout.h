#pragma once
// Builds a window's controls from its template: dialog units turned into pixels with
// the template font, every control created in tab order and named for assistive tools.
#include <QFont>
#include <QHash>
#include <QRect>

#include "res/DialogTemplate.h"
#include "ui/QtText.h"

class QDialog;
class QWidget;

namespace tallyx {

// The template font, or the first CJK family this system has in its place.
QFont DialogFont(int points);

// Horizontal unit = average character width / 4, vertical unit = character height / 8.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}
    QRect ToPixels(const DluRect& r) const;
    int X(int dlu) const;
    int Y(int dlu) const;
    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }

private:
    int m_baseX;
    int m_baseY;
};

// The created controls by id (controls with id 0 are created but not listed).
struct BuiltDialog {
    QFont font;
    DialogUnits units;
    QHash<int, QWidget*> controls;
};

BuiltDialog BuildDialog(QDialog& dialog, const DialogTemplate& tpl);

// Visible label and assistive name follow each other when a caption changes.
void SetCaption(QWidget* control, std::string_view text);

} // namespace tallyx
