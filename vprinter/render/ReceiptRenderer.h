#pragma once
// Paints receipt blocks onto paper: black dots on white, the paper's width in dots,
// no anti-aliasing (a thermal head has no grey).
#include <QImage>
#include <QString>
#include <mutex>
#include <string>

#include "vprinter/paper/Receipt.h"
#include "vprinter/render/GlyphCache.h"

namespace tallyx::vprinter {

// The whole receipt at once.
QImage RenderReceipt(const Receipt& receipt);

// A receipt's picture as a PNG file: one bit a dot, as the paper has only ink or none.
// False, with why in `error` and no file left behind, when it cannot be written whole.
bool SaveReceiptPicture(const QImage& picture, const std::string& path, std::string* error = nullptr);
// Any picture as a PNG file, the same way.
bool SavePng(const QImage& picture, const std::string& path, std::string* error = nullptr);
// The same PNG, in memory.
std::string ReceiptPng(const QImage& picture);

// A receipt that grows block by block; safe to read from another thread while it grows.
class ReceiptCanvas {
public:
    explicit ReceiptCanvas(int paperDots);

    void Append(const Block& block);
    void Clear();
    // A copy of the part printed so far, one bit a dot (a null image while nothing is printed).
    QImage Snapshot() const;
    // The receipt's picture as Snapshot gives it, and the paper cleared for the next.
    QImage TakeReceipt();
    int HeightDots() const;

private:
    void Grow(int neededRows);
    void Whiten(int fromRow, int toRow);
    void ForgetReceipt(int whiteRows);   // rows above whiteRows are white already
    QImage PackedPaper() const;          // one bit a dot, the printed part's size, unfilled

    mutable std::mutex m_mutex;   // guards what follows
    int m_width;
    int m_height = 0;
    int m_inkedRows = 0;   // rows that may hold ink (characters can spill below their line)
    int m_sheetRows = 0;   // the rows this receipt's paper has grown to (0: none yet)
    QImage m_image;
    GlyphCache m_glyphs;
};

// Draws one block with its top edge at `top` of an image of the paper's width; returns one
// past the lowest row it may have inked.
int PaintBlock(QImage& image, int top, const Block& block, GlyphCache& glyphs);

} // namespace tallyx::vprinter
