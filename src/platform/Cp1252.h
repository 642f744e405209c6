#pragma once
// Text in files is Windows-1252, byte for byte, so that a data folder can be shared
// with Windows workstations. All 256 byte values map to a character (the five bytes
// that Windows-1252 leaves undefined map to U+0081 etc.), because the line encoding
// produces arbitrary bytes from 32 to 255.
#include <QByteArray>
#include <QString>

namespace cp1252 {

// The character of one byte.
QChar zeichen(unsigned char byte);
// The byte of one character; a character that Windows-1252 cannot hold becomes '?'.
unsigned char byte(QChar c);

QString dekodieren(const QByteArray& bytes);
QByteArray kodieren(const QString& text);

}  // namespace cp1252
