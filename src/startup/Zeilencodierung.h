#pragma once
// The program's own reversible line encoding: a random key character, then every
// kept character shifted by a counter that starts at the key's low six bits. It works
// on Windows-1252 bytes; control characters are dropped.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

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

// A whole file in the line encoding, through the channel. Reading gives every line;
// with `ganz` a file cut short (no line end after its last line) is damage for the
// start repair, as a file the program writes whole always ends in one. Writing
// replaces the file on close (in "Append" mode adds the lines in one write). A read or write that fails leaves no file
// open and no half-written one behind, and passes the error on.
QStringList Alle_Zeilen_lesen(const QString& pfad, bool ganz = false);
void Alle_Zeilen_schreiben(const QString& pfad, const QStringList& zeilen,
                           const QString& modus = QStringLiteral("Output"));
