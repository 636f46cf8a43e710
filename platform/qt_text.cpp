#include "qt_text.h"

#include "text_codecs.h"

namespace tavlo {

QString qs_gbk(std::string_view gbk_text) {
  return QString::fromStdString(gbk_to_utf8(text_of(gbk_text)));
}

std::string gbk_of(const QString& s) { return utf8_to_gbk(s.toStdString()); }

}  // namespace tavlo
