// GBK program text <-> QString, at the Qt edge only.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tavlo {

QString qs_gbk(std::string_view gbk_text);   // GBK -> QString
std::string gbk_of(const QString& s);        // QString -> GBK ("?" when unmappable)
inline QString qs(const char* utf8) { return QString::fromUtf8(utf8); }  // source literal
inline std::string utf8_of(const QString& s) { return s.toStdString(); }

}  // namespace tavlo
