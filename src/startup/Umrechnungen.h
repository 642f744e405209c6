#pragma once
// Date, number and code conversions every unit uses.
#include <QDate>
#include <QString>

// yymmdd of a date; the year is always 2000 + yy.
QString FormatDatumDS(const QDate& datum);
QDate FormatDatumSD(const QString& gespeichert);
// Code characters "1".."9", "A".."Q" for 1..26; empty for anything else.
QString DecHex(int wert);
int HexDec(const QString& zeichen);
// Number of days of a month; month 0 means the first argument is a month key yymm.
int Anzahl_Monatstage(int jahr, int monat);
int Anzahl_Monatstage(const QString& monatsschlüssel, int monat);
// Easter Sunday of a year (Gregorian calendar).
QDate Osterdatum(int jahr);
// "&H" and the blue, green and red bytes as two hexadecimal digits each; the colour
// value has red in its low byte.
QString HexFarbe(qint32 farbe);
