#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace tallyx::vprinter {

// Box-drawing and block characters are drawn as the printer's own ROM draws them: lines that
// meet their neighbours' at the cell edges, blocks that fill their share of the cell. A font
// draws them with gaps, or not at all in a half-width cell.

// True when `c` was drawn here, into `cell`.
bool PaintBoxCharacter(QPainter& p, const QRectF& cell, char16_t c, const QColor& ink);

// Box-drawing and block characters run to the cell's edges and beyond, to meet their neighbours.
bool BoxOrBlock(const QString& text);

} // namespace tallyx::vprinter
