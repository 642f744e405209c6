#pragma once
// The program's own reversible line encoding: a random key character, then every
// kept character shifted by a counter that starts at the key's low six bits. It works
// on Windows-1252 bytes; control characters are dropped.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

// Encodes one line with the given key character (32..254).
QByteArray Zeile_kodieren(const QString& text, unsigned char schlüssel);
// Decodes one encoded line (key character first); an empty line gives "".
QString Zeile_dekodieren(QByteArrayView zeile);
// The lines of a whole file's content, split as the file channel splits them (a line
// ends at its first CR or LF; one CR and then one LF after it are skipped) and each
// decoded as Zeile_dekodieren does (an empty line gives a null string). The strings
// share one allocation, each followed by its terminating zero as every string is, so
// that a file of a thousand lines makes one allocation instead of a thousand; a line
// changed later gets its own copy as any shared string does. `ohneEnde` tells whether
// the last line has no line end.
QStringList Zeilen_dekodieren(QByteArrayView inhalt, bool* ohneEnde = nullptr);
// A key character drawn from the program's random source.
unsigned char Zufallsschlüssel();

// On the open channel.
void LineOut(const QString& text);
QString LineIn();

// A whole file through the channel, in the line encoding or as plain lines.
enum class Zeilenart { Kodiert, Klartext };
// What an encoded line that is empty (not even its key character) is: a file error
// raised by LineIn (a file the program wrote holds none), an empty text, a line left
// out, or the end of a read that then fails (nothing is taken from a damaged file).
enum class Leerzeilenart { Dateifehler, Leer, Auslassen, Unlesbar };

struct Leseweise {
  Zeilenart art = Zeilenart::Kodiert;
  Leerzeilenart leer = Leerzeilenart::Dateifehler;
  // A file cut short (no line end after its last line) is damage for the start repair,
  // as a file the program writes whole always ends in one.
  bool ganz = false;
  // When set, the first line must be this header: the rest is read only then, and a
  // file without it is closed and fails the read, for the caller's header error.
  QString kopf = QString();
  // A file that cannot be opened fails the read instead of ending the program.
  bool fehlerIgnorieren = false;
};

struct Schreibweise {
  // "Output" replaces the file on close, "Append" adds the lines in one write.
  QString modus = QStringLiteral("Output");
  Zeilenart art = Zeilenart::Kodiert;
  // A file that cannot be opened fails the write instead of ending the program.
  bool fehlerIgnorieren = false;
};

// Every line of the file; none (std::nullopt) when it could not be opened (with
// fehlerIgnorieren), lacks its header or holds an empty line that fails the read.
// A read or write that fails otherwise leaves no file open and no half-written one
// behind, and passes the error on; a write that failed as the lines went out on close
// still names its file to the error handler.
std::optional<QStringList> Alle_Zeilen_lesen_wie(const QString& pfad, const Leseweise& weise);
// False when the file could not be opened (with fehlerIgnorieren).
bool Alle_Zeilen_schreiben_wie(const QString& pfad, const QStringList& zeilen, const Schreibweise& weise);

// The usual cases: every line in the line encoding, an empty one a file error.
QStringList Alle_Zeilen_lesen(const QString& pfad, bool ganz = false);
void Alle_Zeilen_schreiben(const QString& pfad, const QStringList& zeilen,
                           const QString& modus = QStringLiteral("Output"));
