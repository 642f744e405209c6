#pragma once
// Text in files is Windows-1252, byte for byte, so that a data folder can be shared
// with Windows workstations. All 256 byte values map to a character (the five bytes
// that Windows-1252 leaves undefined map to U+0081 etc.), because the line encoding
// produces arbitrary bytes from 32 to 255.
#include <QByteArray>
#include <QString>
#include <QStringView>

namespace cp1252 {

// The character of one byte.
QChar zeichen(unsigned char byte);
// The characters of all 256 bytes, for decoders that go through a table.
const char16_t* zeichentabelle();
// The byte of one character; a character that Windows-1252 cannot hold becomes '?'.
unsigned char byte(QChar c);

// Whether every character of the text has a byte of its own (so it is stored as typed,
// never as "?").
bool darstellbar(const QString& text);
// Whether a user may type or paste the text into a box whose value is stored in a file:
// every character is held by Windows-1252 and none is a control character (line
// breaks and tabs included, which would break the line it is stored in).
bool eingabeZulässig(const QString& text);
// The message for a refused input.
inline constexpr char16_t kUnzulässigesSonderzeichen[] = u"Unzulässiges Sonderzeichen enthalten";

// The text in lower case, exactly as QString::toLower gives it, written into `puffer`
// (whose allocation serves again from call to call) and returned. Every character of
// Windows-1252 is lowered through one table; a text holding any other character goes
// the general way. `text` must not look into `puffer`.
const QString& klein(QStringView text, QString& puffer);
// The same, for a look-up by view: the text itself when it is in lower-case ASCII
// already (as user names nearly always are; nothing is written then), otherwise the
// lowered text at the start of `puffer`, which a longer name before may have left
// longer. The view is valid until `text` or `puffer` changes.
QStringView kleinAnsicht(QStringView text, QString& puffer);
// The same as a string of its own: the text itself, shared and not copied, when it is
// in lower-case ASCII already.
QString klein(const QString& text);
// Whether lowering leaves the text as it is because it is lower-case ASCII (a text
// with other characters may be in lower case too; this says no to it).
bool kleinAscii(QStringView text);

QString dekodieren(const QByteArray& bytes);
QByteArray kodieren(const QString& text);

}  // namespace cp1252
