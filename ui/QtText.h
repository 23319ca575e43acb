#pragma once
// UTF-8 texts of res/ and the link as Qt strings, and back.
#include <QString>
#include <string>
#include <string_view>

namespace tallyx {

inline QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
inline std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

} // namespace tallyx
