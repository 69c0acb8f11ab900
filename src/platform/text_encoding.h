#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Data and texts files come either as UTF-8 or as Windows-1252 (made on
// Windows). Valid UTF-8 is read as such, anything else as Windows-1252; the
// control bytes the formatted-text codes use stay single characters.
QString decodeText(const QByteArray& bytes);

// The same decision made once for a whole file, so that its lines can be
// decoded one at a time (large data files are kept as bytes).
enum class TextEncoding { Ascii, Utf8, Windows1252 };
TextEncoding detectEncoding(QByteArrayView bytes);
// Plain ASCII: the same characters in every encoding of the files.
bool isAscii(QByteArrayView bytes);
QString decodeText(QByteArrayView bytes, TextEncoding encoding);

}  // namespace platform
