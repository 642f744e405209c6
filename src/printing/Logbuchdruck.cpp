#include "printing/Logbuchdruck.h"

#include <vector>

#include "platform/Laufzeitfehler.h"
#include "platform/Raster.h"
#include "platform/Zustand.h"
#include "printing/Druckauftrag.h"
#include "printing/Druckprimitive.h"
#include "printing/Listendruck.h"

Logbuchdruckquelle gLogbuchdruckquelle;

namespace {
void zurücksetzen() { gLogbuchdruckquelle = {}; }
VELKORA_ZUSTAND(zurücksetzen);

// One printed column: heading and its x, the grid column, the value's x and the width
// it is shortened to (0: never shortened).
struct Logbuchspalte {
  const char16_t* überschrift;
  double kopfX;
  int spalte;
  double wertX;
  double breite;
};

const std::vector<Logbuchspalte> kVerwaltung = {
    {u"Datum", 2.3, 0, 2.3, 0},
    {u"Uhrzeit", 4.0, 1, 4.1, 0},
    {u"Benutzer", 5.5, 2, 5.5, 2.75},
    {u"Aktion", 8.25, 7, 8.25, 19.3},
};
const std::vector<Logbuchspalte> kBenutzer = {
    {u"Datum", 2.3, 0, 2.3, 0},          {u"Uhrzeit", 4.0, 1, 4.1, 0},     {u"Von Benutzer", 5.5, 2, 5.5, 3.0},
    {u"Für Benutzer", 8.5, 3, 8.5, 3.0}, {u"Eintrag", 11.6, 4, 11.6, 3.4}, {u"Zeitraum", 15.0, 5, 15.0, 0},
    {u"Kommentar", 18.7, 6, 18.7, 8.8},
};
}  // namespace

bool Logbuch_drucken(const QString& modus, int exemplare) {
  return Druckroutine(QStringLiteral("Logbuch_drucken"), [&modus, exemplare] {
    Haken_prüfen(gLogbuchdruckquelle.gitter);
    const Raster& g = gLogbuchdruckquelle.gitter();
    const bool benutzer = modus == u"B";
    const std::vector<Logbuchspalte>& spalten = benutzer ? kBenutzer : kVerwaltung;
    const QString titel = benutzer ? QStringLiteral("Benutzerlogbuch") : QStringLiteral("Administrationslogbuch");
    Listenblatt blatt;
    blatt.kopf = [&] {
      const double h = gSeite.hVerschiebung;
      Header_drucken(titel);
      for (std::size_t i = 0; i < spalten.size(); ++i) {
        const bool zuletzt = i + 1 == spalten.size();
        Schreibe_Text(spalten[i].kopfX - h, i == 0 ? gSeite.aktZeile + 0.65 : 0,
                      QString::fromUtf16(spalten[i].überschrift),
                      zuletzt ? QStringLiteral("italic") : QStringLiteral("italic, NoCr"));
      }
      Schreibe_Text(0, 0, QString(), QString());
    };
    blatt.zeile = [&](int r, bool) {
      const double h = gSeite.hVerschiebung;
      for (std::size_t i = 0; i < spalten.size(); ++i) {
        const Logbuchspalte& s = spalten[i];
        QString wert = s.spalte < g.Cols() ? g.TextMatrix(r, s.spalte) : QString();
        if (s.breite > 0) wert = Text_kürzen(wert, s.breite);
        Schreibe_Text(s.wertX - h, 0, wert, i + 1 == spalten.size() ? QString() : QStringLiteral("NoCr"));
      }
    };
    blatt.voll = [] { return gSeite.aktZeile > 18.25 + 3 * gSeite.vVerschiebung; };
    blatt.fuß = Fußzeile_drucken;
    return Liste_drucken(exemplare, g.Rows(), blatt);
  });
}
