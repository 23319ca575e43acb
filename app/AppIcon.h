#pragma once
// Icon 128: the program's icon, for its windows and the About box.
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "app/AppIconPixels.h"

namespace tallyx {

// The pictures drawn from the SVG at build time, so starting the program loads no SVG renderer;
// a size not among them is scaled from the nearest.
inline QIcon AppIcon()
{
    QIcon icon;
    for (const AppIconPicture& p : kAppIconPictures)
        icon.addPixmap(QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(p.pixels), p.size, p.size,
                                                 p.size * int(sizeof(uint32_t)), QImage::Format_ARGB32_Premultiplied)));
    return icon;
}

} // namespace tallyx
