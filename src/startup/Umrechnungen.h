#pragma once
// Date, number and code conversions every unit uses.
#include <QDate>
#include <QString>

class Textfeld;

// True from the moment CheckDatum starts checking a typed date until it accepts one,
// so it stays set after a refused date; the cancel buttons of the date dialogs read it.
extern bool gDatumsprüfungOffen;

// yymmdd of a date; the year is always 2000 + yy.
QString FormatDatumDS(const QDate& datum);
// The date of a stored yymmdd. A stored date that is not six digits is a run-time
// error (type mismatch) for the central handler; a month or day out of range rolls
// over as a date built from parts does.
QDate FormatDatumSD(const QString& gespeichert);
// Stored yymmdd -> the displayed form: two digits each for day, month and year in the
// workstation's order (gDatumsreihenfolge) with its separator (gDatumstrennzeichen).
QString FormatDatumSA(const QString& gespeichert);
// The displayed form (eight characters) -> stored yymmdd.
QString FormatDatumAS(const QString& angezeigt);
QString FormatDatumDA(const QDate& datum);
QDate FormatDatumAD(const QString& angezeigt);
// Day, month and year parts joined in the workstation's date order with the separator.
QString In_Datumsreihenfolge(QStringView tag, QStringView monat, QStringView jahr, QStringView trenner);
// A date in the workstation's short form with a four-digit year, with its separator
// (gDatumstrennzeichen) or another one.
QString Datum_lang(const QDate& datum);
QString Datum_lang(const QDate& datum, const QString& trenner);

// Checks and completes the date typed into a box. True when the box is empty or holds
// a date, which is then written back complete in the displayed form (without the
// year when the box takes fewer than eight characters). A refused date is reported
// through Meldung when meldungen is set; the focus then goes back to the box with
// its text selected. A year of two digits is 1950 to 1999 from 50 on, else 2000 to
// 2049 (both shown and stored as the same two digits); a year of four digits must lie
// in 2000 to 2099, which the stored form holds. When gelesen is given it receives the
// date read with its full year, also when only its year was refused.
bool CheckDatum(Textfeld& feld, bool meldungen, QDate* gelesen = nullptr);

// Code characters "1".."9", "A".."Q" for 1..26; empty for anything else.
QString DecHex(int wert);
int HexDec(const QString& zeichen);
// Number of days of a month (a year below 100 is 2000 + year); month 0 means the
// first argument is a month key yymm. 0 for a month out of range.
int Anzahl_Monatstage(int jahr, int monat);
int Anzahl_Monatstage(const QString& monatsschlüssel, int monat);
// Easter Sunday of a year (Gregorian calendar, 1900 to 2099).
QDate Osterdatum(int jahr);
// The German name of a month ("Januar" .. "Dezember"); other numbers count on
// through the years as a date would (13 is "Januar").
QString Monatsname(int monat);
// "&H" and the blue, green and red bytes as two hexadecimal digits each; the colour
// value has red in its low byte.
QString HexFarbe(qint32 farbe);
// The five-character display form of a day count with the workstation's decimal
// separator: "012,5", "-03,0"; cut to "-99,x" and "999,x" beyond that. Rounds half
// away from zero. A text that is no number is a run-time error for the central handler.
QString BenFormat(const QString& zahl);
// The text with every occurrence of suche replaced (case-sensitive, left to right;
// an inserted replacement is not searched again). An empty search changes nothing.
QString Ersetzen(const QString& text, const QString& suche, const QString& ersatz);
// The consonants of a text (ASCII letters only; umlauts and "ß" are left out).
QString Extrahiere_Konsonanten(const QString& text);
