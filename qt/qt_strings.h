// Conversions between the toolkit's UTF-8 strings and Qt's.
#pragma once

#include <QString>
#include <QStringDecoder>
#include <string>
#include <string_view>

namespace oz {

// Every character is kept, a leading byte-order mark too (QString::fromUtf8
// would drop it, and a script that starts with one must keep it).
inline QString toQ(std::string_view text) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  return decoder(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

inline std::string fromQ(const QString& text) { return text.toUtf8().toStdString(); }

// Captions of buttons, options, check boxes, frames and tabs would read "&"
// as a mnemonic marker; the program's captions mean the character itself.
inline QString captionToQ(std::string_view text) { return toQ(text).replace("&", "&&"); }

inline std::string captionFromQ(QString text) { return fromQ(text.replace("&&", "&")); }

}  // namespace oz
