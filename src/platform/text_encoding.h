#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Data and texts files come either as UTF-8 or as Windows-1252 (made on
// Windows). Valid UTF-8 is read as such, anything else as Windows-1252; the
// control bytes the formatted-text codes use stay single characters.
QString decodeText(const QByteArray& bytes);

}  // namespace platform
