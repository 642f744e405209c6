#pragma once
// A data folder for the month planner: configuration with the default buttons and
// distinct display colours, an employee table with two groups, holidays, school
// holidays and the month March 2026 with entries, a hidden code, non-working-day
// marks and comments. Today is 12 March 2026.
#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>

#include "common/Testumgebung.h"
#include "planner/Programm.h"
#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Programmende.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Velkoraini.h"

namespace planer {

// Display colours 1 to 9 of the fixture (0xBBGGRR).
inline constexpr qint32 kFarbe[10] = {0,        0xFFFFFF, 0xE0E0E0, 0xC0C0FF, 0xFFF8F4,
                                      0xFFE8CE, 0xAFAFAF, 0x00FFFF, 0xE8FFFF, 0xC0FFFF};
inline constexpr qint32 kUrlaub = 0x80FF80, kZeitausgleich = 0x80C0FF, kDienstreise = 0x80FFFF, kKrank = 0x8F8FFF,
                        kSonstiges = 0xFFFF80;
inline constexpr qint32 kFerienfarbe = 0x40C0F0;

inline QStringList Konfigzeilen() {
  return {
      QStringLiteral("[Velkora]"),
      QStringLiteral("Velkora:0123456789AB"),
      QStringLiteral("1.16.1"),
      QStringLiteral("[Firma]"),
      QStringLiteral("Muster GmbH"),
      QString(),
      QStringLiteral("[Settings]"),
      QStringLiteral("0000000000000101110U½##K310030100####0000010000000"),
      QStringLiteral("Einrichtung:2603"),
      QStringLiteral("void"),
      QStringLiteral("[Wochenende]"),
      QStringLiteral("SaSo"),
      QStringLiteral("[Grundfarben]"),
      QStringLiteral("&HFFFFFF"),
      QStringLiteral("&HE0E0E0"),
      QStringLiteral("&HC0C0FF"),
      QStringLiteral("&HFFF8F4"),
      QStringLiteral("&HFFE8CE"),
      QStringLiteral("&HAFAFAF"),
      QStringLiteral("&H00FFFF"),
      QStringLiteral("&HE8FFFF"),
      QStringLiteral("&HC0FFFF"),
      QStringLiteral("[Schaltflächen]"),
      QStringLiteral("&H000000:&H80FF80:0:U:Urlaub"),
      QStringLiteral("&H000000:&H80FF80:0:½:½ Urlaub"),
      QStringLiteral("&H000000:&H80C0FF:0:Z:Zeitausgleich"),
      QStringLiteral("&H000000:&H80FFFF:0:D:Dienstreise"),
      QStringLiteral("&H0000FF:&H8F8FFF:1:K:Krank"),
      QStringLiteral("&H000000:&HFFFF80:0:S:Sonstiges"),
      QStringLiteral("&HFFFFFF:&HFFFFFF:0: :Löschen"),
      QStringLiteral("[Administratoren]"),
      QStringLiteral("A:<Name Vorname>:chefin"),
  };
}

// 31 code characters with the given days set.
inline QString Codes(std::initializer_list<std::pair<int, char>> tage) {
  QString c(31, u' ');
  for (const auto& [tag, zeichen] : tage) c[tag - 1] = QChar(zeichen);
  return c;
}

struct Mitarbeiter {
  const char16_t* name;
  const char16_t* id;
  const char16_t* eintritt;
  const char16_t* austritt;
};

class PlanerTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gBenutzername = QStringLiteral("tester");
    gHeute = QDate(2026, 3, 12);
    gHeuteText = QStringLiteral("260312");
    gPlanungsjahr = 2025;
    gStörungAnzeigen = false;
    schreiben(gDatenordner + QStringLiteral("Konfigdaten.dat"), kodiert(Konfigzeilen()));
    Konfigdaten_lesen();
    gSFVerbergen[5] = 1;  // "Krank" is hidden from other users
    gBenutzerstufe = 0;   // the default settings make everybody an administrator
    Mitarbeiter_setzen({{u"Frei Vera", u"vera", u"000000", u"999999"},
                        {u"Verwaltung", u"", u"", u""},
                        {u"Meier Anna", u"anna", u"000000", u"999999"},
                        {u"Schulz Bernd", u"tester", u"000000", u"999999"},
                        {u"Lager", u"", u"", u""},
                        {u"Kurz Carla", u"carla", u"260320", u"999999"},
                        {u"Alt Dieter", u"dieter", u"000000", u"260228"}});
    gFeiertagsTabelle = QStringLiteral("260101|260319|");
    QString ferien = QStringLiteral("2603:") + QString(31, u'0');
    ferien[5 + 29] = u'1';  // day 30
    gFerientage = {QString(), ferien};
    gFerienfarbe = kFerienfarbe;
    gMonatsschlüssel = QStringLiteral("2603");
    Ferientage_suchen();
    // An older version that the newer one replaces.
    monatSchreiben(QStringLiteral("2603 260301 Data.dat"),
                   {QStringLiteral("A:anna:") + Codes({{1, '1'}, {2, '6'}, {3, '6'}})});
    monatSchreiben(
        QStringLiteral("2603 260310 Data.dat"),
        {QStringLiteral("A:anna:") + Codes({{10, '1'}}),
         QStringLiteral("A:ANNA:") + Codes({{2, '1'}, {3, '3'}, {4, '5'}, {5, '8'}, {12, '1'}, {19, '8'}, {26, '1'}}),
         QStringLiteral("A:tester:") + Codes({{4, '5'}, {6, '6'}}), QStringLiteral("K:anna:02-04:Urlaub geplant"),
         QStringLiteral("K:anna:09-09:ohne Eintrag"), QStringLiteral("A:carla:") + Codes({{23, '4'}})});
  }

  void Mitarbeiter_setzen(std::initializer_list<Mitarbeiter> liste) {
    Mitarbeitertabelle_dimensionieren(static_cast<int>(liste.size()));
    int i = 0;
    for (const Mitarbeiter& m : liste) {
      ++i;
      gMitarbeiterNamen[i] = QString::fromUtf16(m.name);
      gBenutzerIDs[i] = QString::fromUtf16(m.id);
      gEintrittsdaten[i] = QString::fromUtf16(m.eintritt);
      gAustrittsdaten[i] = QString::fromUtf16(m.austritt);
      // An employee row always has its vacation values, as the editor sets them.
      if (!gBenutzerIDs[i].isEmpty()) {
        gUrlaubsdaten[i] = QStringLiteral("000,0:000,0:000,0:000,0:000,0");
        gSonderurlaubsanspruch[i] = QStringLiteral("000,0");
      }
    }
  }

  void monatSchreiben(const QString& name, const QStringList& zeilen, const QString& ausnahmen = "NoEx:NoEx") {
    QStringList alle{QStringLiteral("[") + name.left(4) + QStringLiteral("]"), QStringLiteral("Velkora:0123456789AB"),
                     ausnahmen};
    alle << zeilen;
    schreiben(gDatenordner + name, kodiert(alle));
  }
};

// The main window over the fixture folder as a start leaves it: the configuration
// already read, 96 dots per inch.
class PlanerFensterTest : public PlanerTest {
 protected:
  void SetUp() override {
    PlanerTest::SetUp();
    bildschirm::setzeDpi(96);
    gKonfigdatenZeit = Dateizeit(gDatenordner + QStringLiteral("Konfigdaten.dat"));
  }
  void TearDown() override {
    fenster.reset();
    programmende::setzeEntladen(nullptr);
    bildschirm::setzeDpi(0);
    PlanerTest::TearDown();
  }
  frmVelkora& fensterLaden() {
    // The links the overviews and the dialogs reach the loaded program through.
    Ansichtshaken_verdrahten();
    Dialoghaken_verdrahten();
    Hauptfenster_laden();
    fenster.reset(frmVelkora::instanz());
    return *fenster;
  }
  std::unique_ptr<frmVelkora> fenster;
};

}  // namespace planer
