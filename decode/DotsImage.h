#pragma once
// The dots as a one-bit image, ink black, at the head's 203 dpi: what the printer prints.
#include <QImage>

#include "commands/Picture.h"

namespace tallyx {

QImage DotsImage(const DotPicture& dots);

} // namespace tallyx
