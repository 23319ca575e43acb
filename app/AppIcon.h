#pragma once
// Icon 128: the program's icon, for its windows and the About box.
#include <QIcon>

namespace tallyx {

inline QIcon AppIcon() { return QIcon(QStringLiteral(":/tallyx.svg")); }

} // namespace tallyx
