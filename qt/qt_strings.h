// Conversions between the toolkit's UTF-8 strings and Qt's.
#ifndef OZ_QT_QT_STRINGS_H_
#define OZ_QT_QT_STRINGS_H_

#include <QString>
#include <string>
#include <string_view>

namespace oz {

inline QString toQ(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string fromQ(const QString& text) { return text.toUtf8().toStdString(); }

// Captions of buttons, options, check boxes, frames and tabs would read "&"
// as a mnemonic marker; the program's captions mean the character itself.
inline QString captionToQ(std::string_view text) { return toQ(text).replace("&", "&&"); }

inline std::string captionFromQ(QString text) { return fromQ(text.replace("&&", "&")); }

}  // namespace oz

#endif  // OZ_QT_QT_STRINGS_H_
