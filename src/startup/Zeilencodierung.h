#pragma once
// The program's own reversible line encoding: a random key character, then every
// kept character shifted by a counter that starts at the key's low six bits. It works
// on Windows-1252 bytes; control characters are dropped.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Encodes one line with the given key character (32..254).
QByteArray Zeile_kodieren(const QString& text, unsigned char schlüssel);
// Decodes one encoded line (key character first); an empty line gives "".
QString Zeile_dekodieren(QByteArrayView zeile);
// A key character drawn from the program's random source.
unsigned char Zufallsschlüssel();

// On the open channel.
void LineOut(const QString& text);
QString LineIn();
