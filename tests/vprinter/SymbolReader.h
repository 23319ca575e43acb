#pragma once
// Reads the barcodes and symbols of a receipt back from its picture, as a scanner would.
#include <QImage>
#include <ZXing/BarcodeFormat.h>
#include <string>
#include <vector>

#include "vprinter/paper/Receipt.h"

namespace tallyx::vprinter::test {

// The receipt drawn by the renderer, on a white border wide enough for any quiet zone.
QImage ReceiptPicture(const Receipt& receipt, int scale = 1);

// The content (bytes as text) of every symbol of `format` found in the picture.
std::vector<std::string> ReadSymbols(const QImage& picture, ZXing::BarcodeFormat format);

} // namespace tallyx::vprinter::test
