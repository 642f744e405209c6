#include "printing/Druckprimitive.h"

#include "platform/Laufzeitfehler.h"
#include "platform/Zustand.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Konfigdaten.h"
#include "store/Velkoraini.h"

Seitenwerte gSeite;
Druckfläche* gDruckfläche = nullptr;
Druckschrift gDruckschrift;
Farbwert gDruckfarbe = 0;
double gDruckX = 0, gDruckY = 0;
QString gDruckauftrag;
std::function<QStringList()> gJahreslegende;

namespace {
void zurücksetzen() {
  gSeite = {};
  gDruckfläche = nullptr;
  gDruckschrift = {};
  gDruckfarbe = 0;
  gDruckX = gDruckY = 0;
  gDruckauftrag.clear();
  gJahreslegende = nullptr;
}
VELKORA_ZUSTAND(zurücksetzen);

Druckfläche& fläche() {
  // Drawing without an open job is a fault of the program, never the driver's cancel.
  if (!gDruckfläche) throw Laufzeitfehler(91, QStringLiteral("Objektvariable nicht festgelegt"));
  return *gDruckfläche;
}
}  // namespace

double Textbreite(const QString& text) { return fläche().textbreite(text, gDruckschrift); }

void Schreibe_Text(double x, double y, const QString& text, const QString& optionen) {
  Druckfläche& f = fläche();
  const bool rechts = optionen.contains(u"rechts"), zentriert = optionen.contains(u"zentriert");
  const bool fett = optionen.contains(u"bold"), kursiv = optionen.contains(u"italic");
  const bool transparent = optionen.contains(u"transparent"), ohneZeilenende = optionen.contains(u"NoCr");
  double w = 0;
  if (zentriert)
    w = Textbreite(text) / 2;
  else if (rechts)
    w = Textbreite(text);
  if (x > 0) gDruckX = x - w - gSeite.druckerLinks;
  if (y > 0) gDruckY = y - gSeite.druckerOben;
  if (fett) gDruckschrift.fett = true;
  if (kursiv) gDruckschrift.kursiv = true;
  f.text(gDruckX, gDruckY, text, gDruckschrift, gDruckfarbe, transparent);
  if (ohneZeilenende) {
    gDruckX += f.textbreite(text, gDruckschrift);
  } else {
    gDruckX = 0;
    gDruckY += f.zeilenhöhe(gDruckschrift);
  }
  if (fett) gDruckschrift.fett = false;
  if (kursiv) gDruckschrift.kursiv = false;
  gSeite.aktSpalte = gDruckX + gSeite.druckerLinks;
  gSeite.aktZeile = gDruckY + gSeite.druckerOben;
}

void Rahmen_drucken(double x, double y, double länge) {
  const double px = x - gSeite.druckerLinks, py = y - gSeite.druckerOben;
  fläche().linie(px, py, px + länge, py);
}

void Setze_Hintergrund(double x, double y, double breite, double höhe, Farbwert farbe) {
  const double px = x - gSeite.druckerLinks, py = y - gSeite.druckerOben;
  Druckfläche& f = fläche();
  if (gBenutzerwerte[23] != 0) {
    f.kasten(px, py, breite, höhe, gGrundfarben[6]);
    f.kasten(px + 0.03, py + 0.03, breite - 0.06, höhe - 0.06, farbe);
  } else {
    f.kasten(px + 0.04, py + 0.04, breite - 0.09, höhe - 0.09, farbe);
  }
}

QString Text_kürzen(const QString& text, double breite) {
  QString t = text;
  while (!t.isEmpty() && Textbreite(t) > breite - 0.1) t.chop(1);
  if (Textbreite(t) > breite - 0.1) return {};
  return t;
}

void Leerzeile(double y) { Schreibe_Text(0, y, QString(), QString()); }

QString Firmenzeile() {
  QString zeile = gFirmenname;
  if (!gFirmenzusatz.isEmpty()) zeile += QStringLiteral(" - ") + gFirmenzusatz;
  return zeile;
}

void Header_drucken(const QString& titel) {
  const double h = gSeite.hVerschiebung, v = gSeite.vVerschiebung;
  Schreibe_Text(2.3 - h, 1.6 - v, Firmenzeile(), QStringLiteral("NoCr"));
  Schreibe_Text(27.4 - h, 0, titel, QStringLiteral("rechts"));
  Rahmen_drucken(2.2 - h, 2.15 - v, 25.3);
}

void Fußzeile_drucken(int seite) {
  const double h = gSeite.hVerschiebung, v = gSeite.vVerschiebung;
  Rahmen_drucken(2.2 - h, 19 + 3 * v, 25.3);
  const QString text = gDruckauftrag.startsWith(u'J') ? QString() : QStringLiteral("Seite %1").arg(seite);
  Schreibe_Text(2.3 - h, 19.15 + 3 * v, text, QStringLiteral("NoCr"));
  Schreibe_Text(27.4 - h, 0, FormatDatumDA(gHeute), QStringLiteral("rechts"));
}

void Monatskopf_drucken(double x) {
  const int n = static_cast<int>(gSFKennbuchstaben.size()) - 1;  // upper bound
  const bool jahr = gDruckauftrag.startsWith(u'J');
  int proZeile = 7;
  double spalte = 3.65, abstand = 0.35;
  if (jahr) {
    const bool sechs = n >= 20 && gSFUrlaub != 0;
    proZeile = sechs ? 6 : 5;
    spalte = sechs ? 3.9 : 4.68;
    abstand = (n < 15 || gSFUrlaub == 0) ? 0.4 : 0.3;
  }
  const auto cx = [&](int c) { return x + c * spalte - gSeite.hVerschiebung; };
  int i = 1;
  for (; i <= n - 1; ++i) {
    const int c = (i - 1) % proZeile;
    Setze_Hintergrund(cx(c), gSeite.aktZeile - 0.1, 0.66, 0.59, gSFHintergrundfarben[i]);
    gDruckfarbe = gSFTextfarben[i];
    Schreibe_Text(cx(c) + 0.34, gSeite.aktZeile, gSFKennbuchstaben[i], QStringLiteral("transparent, zentriert, NoCr"));
    gDruckfarbe = 0;
    if (Textbreite(gSFTexte[i]) > spalte - 0.85) gDruckschrift.größe = 9;
    Schreibe_Text(cx(c) + 0.85, gSeite.aktZeile, Text_kürzen(gSFTexte[i], spalte - 0.85), QStringLiteral("NoCr"));
    gDruckschrift.größe = 10;
    if (c == proZeile - 1 && i >= 2) Schreibe_Text(0, gSeite.aktZeile + abstand, QString(), QString());
  }
  if (jahr && (n < 24 || gSFUrlaub == 0) && gJahreslegende) {
    const QStringList texte = gJahreslegende();
    if (texte.size() < 2) return;
    for (int k = 0; k < 2; ++k, ++i) {
      const int c = (i - 1) % proZeile;
      QString t = texte[k];
      if (k == 0 && proZeile == 6) t.replace(QStringLiteral(" / "), QStringLiteral("/"));
      Setze_Hintergrund(cx(c), gSeite.aktZeile - 0.1, 0.66, 0.59, gGrundfarben[k == 0 ? 2 : 3]);
      Schreibe_Text(cx(c) + 0.85, gSeite.aktZeile, t, QStringLiteral("NoCr"));
      if (k == 0 && c == proZeile - 1) Schreibe_Text(0, gSeite.aktZeile + abstand, QString(), QString());
    }
  }
}
