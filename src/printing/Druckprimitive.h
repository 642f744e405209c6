#pragma once
// The drawing primitives every printout is built from, in paper centimetres: one
// text routine with option words, a rule, a filled cell box, a text shortener, the
// page header and footer and the legend of the code buttons. They draw on the job
// the page set-up opened (gDruckfläche) and keep the page values of the print dialog.
#include <QString>
#include <QStringList>
#include <functional>

#include "printing/Druckflaeche.h"

struct Seitenwerte {
  double druckerLinks = 0;  // physical offset of the printable area
  double druckerOben = 0;
  double hVerschiebung = 0;  // horizontal shift (Letter paper)
  double vVerschiebung = 0;  // vertical shift (Letter paper)
  double zusatzbreite = 0;   // extra width, read by the sums printout
  double höhenzugabe = 0;    // height allowance, read by the overtime printout
  double aktSpalte = 0;      // paper x after the last text
  double aktZeile = 0;       // paper y after the last text
};
extern Seitenwerte gSeite;

// The print job of the current copy; nullptr between jobs.
extern Druckfläche* gDruckfläche;
// The printer's font and text colour and its print position (printable-area cm).
extern Druckschrift gDruckschrift;
extern Farbwert gDruckfarbe;
extern double gDruckX, gDruckY;

// The print-job code of the caller ("ME", "MG", "JE", "JG", "LA", "LB", "S", "U", "Ü").
extern QString gDruckauftrag;

// The captions of the year overview's two extra legend entries (weekend, holidays),
// supplied by that window while it prints.
extern std::function<QStringList()> gJahreslegende;

void Schreibe_Text(double x, double y, const QString& text, const QString& optionen);
void Rahmen_drucken(double x, double y, double länge);
void Setze_Hintergrund(double x, double y, double breite, double höhe, Farbwert farbe);
QString Text_kürzen(const QString& text, double breite);
// Ends the current line and moves the print position to paper y (0: stays).
void Leerzeile(double y);
// The organisation's name, with its addition where there is one.
QString Firmenzeile();
void Header_drucken(const QString& titel);
void Fußzeile_drucken(int seite);
void Monatskopf_drucken(double x);
// The printer's TextWidth in the current font.
double Textbreite(const QString& text);
