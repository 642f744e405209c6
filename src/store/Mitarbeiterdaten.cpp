#include "store/Mitarbeiterdaten.h"

#include <algorithm>
#include <map>

#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "startup/Zeilencodierung.h"
#include "store/Konfigdaten.h"

QStringList gMitarbeiterNamen{QString()};
QStringList gBenutzerIDs{QString()};
QStringList gEintrittsdaten{QString()};
QStringList gAustrittsdaten{QString()};
QStringList gUrlaubsdaten{QString()};
QStringList gSonderurlaubsanspruch{QString()};

int gPlanungsjahr = 0;
bool gIstMitarbeiter = false;
bool gUrlaub1Leer = false;
QDateTime gMitarbeiterdatenZeit;

namespace {

const QString kKopf = QStringLiteral("[Mitarbeiterdaten]");
const QString kKeineNamen = QStringLiteral("NoNames");
const QString kKeineAdmins = QStringLiteral("NoAdmins");
// The three unused value fields of the long layout, written but never read.
const QString kLangerRest = QStringLiteral(":000,0:000,0:000,0:");

// Line 2 of the file, written back as read.

std::map<int, std::function<void()>> sBeobachter;
int sNächsterBeobachter = 1;

struct Suchzustand {
  const void* fenster = nullptr;
  int nächsteZeile = 1;
  QString text;
};
Suchzustand sSuche;

void Zustand_zurücksetzen() {
  for (QStringList* a :
       {&gMitarbeiterNamen, &gBenutzerIDs, &gEintrittsdaten, &gAustrittsdaten, &gUrlaubsdaten, &gSonderurlaubsanspruch})
    *a = QStringList{QString()};
  gPlanungsjahr = 0;
  gIstMitarbeiter = false;
  gUrlaub1Leer = false;
  gMitarbeiterdatenZeit = QDateTime();
  sSuche = Suchzustand{};
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

QString Pfad() { return gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"); }

// Characters from a 1-based column, as the file layouts count them.
QString Spalten(const QString& s, int von, int anzahl = -1) { return s.mid(von - 1, anzahl); }

// The locale's decimal separator as the table holds the values.
QString Trenner() { return gDezimaltrennzeichen.isEmpty() ? QStringLiteral(",") : gDezimaltrennzeichen.left(1); }

// A stored "000,0" value as a number, whatever the separator.
double Wert(const QString& feld) {
  QString s = text::trim(feld);
  s.replace(Trenner(), QStringLiteral("."));
  s.replace(u',', u'.');
  return s.toDouble();
}

struct Tabelle {
  QStringList namen{QString()}, ids{QString()}, von{QString()}, bis{QString()}, urlaub{QString()}, sonder{QString()};
  void anfügen(const QString& n, const QString& i, const QString& v, const QString& b, const QString& u,
               const QString& s) {
    namen << n;
    ids << i;
    von << v;
    bis << b;
    urlaub << u;
    sonder << s;
  }
};

// Whether a line in the long layout splits into its fields: the separators stand in
// their columns, each value has its decimal comma, and the name is followed by ":" and
// the Windows user name.
bool Felder_vollständig(const QString& z) {
  if (z.size() < 70) return false;
  for (int spalte : {7, 14, 20, 26, 32, 38, 44, 50})
    if (z[spalte - 1] != u':') return false;
  for (int spalte : {18, 24, 30, 36, 42, 48})
    if (z[spalte - 1] != u',') return false;
  return Spalten(z, 69).contains(u':');
}

// False when the line is an employee line that does not split into its fields: a
// line cut short or damaged, which must not be read as an employee without a row.
bool Zeile_einlesen(Tabelle& t, const QString& zeile) {
  if (!zeile.contains(u':')) {
    t.anfügen(zeile, {}, {}, {}, {}, {});
    return true;
  }
  QString z = zeile;
  if (Spalten(z, 24, 1) != u",") {
    // The short layout holds the entitlements without decimals and no special leave.
    if (z.size() < 37 || z[19] != u':' || z[23] != u':' || z[27] != u':' || z[31] != u':' || z[35] != u':')
      return false;
    z = Spalten(z, 1, 23) + QStringLiteral(",0") + Spalten(z, 24, 4) + QStringLiteral(",0") + Spalten(z, 28, 4) +
        QStringLiteral(",0") + Spalten(z, 32, 4) + QStringLiteral(",0:000,0:000,0:000,0:000,0") + Spalten(z, 36);
  }
  if (!Felder_vollständig(z)) return false;
  QString urlaub = Spalten(z, 15, 29);
  QString sonder = Spalten(z, 45, 5);
  urlaub.replace(u',', Trenner());
  sonder.replace(u',', Trenner());
  const QString rest = Spalten(z, 69);
  const qsizetype p = rest.indexOf(u':');
  const QString name = p < 0 ? rest : rest.left(p);
  const QString id = p < 0 ? QString() : rest.mid(p + 1);
  t.anfügen(name, id, Spalten(z, 1, 6), Spalten(z, 8, 6), urlaub, sonder);
  return true;
}

// The planning year as line 3 holds it: four digits of a year of this century.
int Planungsjahr_aus(const QString& zeile) {
  if (zeile.size() != 4 || !text::nurZiffern(zeile)) return 0;
  const int jahr = zeile.toInt();
  return jahr >= 2000 && jahr <= 2099 ? jahr : 0;
}

// The employee table from the lines of an employee file (its header first): the
// number of the first line that is missing or damaged, 0 when they read whole. A file
// cut short or damaged is never taken as a shorter list: the next rewrite of a month
// would drop the entries of every employee missing from it. Damaged are a line that
// does not split into its fields, a last line without its line end (`letzteOhneEnde`)
// and a planning year that is none.
int Mitarbeiter_aus_Zeilen(const QStringList& zeilen, bool letzteOhneEnde, Tabelle& t, QString& kennzeile,
                           int& planungsjahr) {
  const int n = static_cast<int>(zeilen.size());
  if (n < 2) return 2;
  if (n < 3) return letzteOhneEnde ? 2 : 3;
  if (letzteOhneEnde && n == 3) return 3;
  kennzeile = zeilen[1];
  planungsjahr = Planungsjahr_aus(zeilen[2]);
  if (planungsjahr == 0) return 3;
  for (int i = 3; i < n; ++i) {
    if (letzteOhneEnde && i == n - 1) return n;
    if (!Zeile_einlesen(t, zeilen[i])) return i + 1;
  }
  return 0;
}

// The row of a Windows user in the employee table, 0 when none.
int Zeile_des_Benutzers(const QString& benutzer) {
  if (benutzer.isEmpty()) return 0;
  const QString b = benutzer.toLower();
  for (int i = 1; i < gBenutzerIDs.size(); ++i)
    if (gBenutzerIDs[i].toLower() == b) return i;
  return 0;
}

// The name of an administrator-section entry "X:Name:user" naming this user, or "".
QString Name_aus_Eintrag(const QString& eintrag, const QString& präfix, const QString& benutzer) {
  const QString e = eintrag.toLower();
  const QString ende = u':' + benutzer.toLower();
  if (!e.startsWith(präfix.toLower()) || !e.endsWith(ende) || e.size() < präfix.size() + ende.size()) return {};
  return eintrag.mid(präfix.size(), eintrag.size() - präfix.size() - ende.size());
}

void Beobachter_benachrichtigen() {
  // A copy: a function may unregister itself.
  const auto liste = sBeobachter;
  for (const auto& [nummer, f] : liste)
    if (f) f();
}

}  // namespace

void Mitarbeitertabelle_dimensionieren(int n) {
  n = std::max(n, 0);
  for (QStringList* a : {&gMitarbeiterNamen, &gBenutzerIDs, &gEintrittsdaten, &gAustrittsdaten, &gUrlaubsdaten,
                         &gSonderurlaubsanspruch}) {
    if (a->isEmpty()) a->append(QString());
    while (a->size() > n + 1) a->removeLast();
    while (a->size() < n + 1) a->append(QString());
  }
}

QStringList Gruppenüberschriften() {
  QStringList r;
  if (gMitarbeiterNamen.size() == 2 && gMitarbeiterNamen[1] == u"NoNames") return r;
  for (int i = 1; i <= Mitarbeiterzeilen() && i < gBenutzerIDs.size(); ++i) {
    const QString& name = gMitarbeiterNamen[i];
    if (gBenutzerIDs[i].isEmpty() && !name.isEmpty() && !r.contains(name)) r << name;
  }
  return r;
}

int Nach_Mitarbeiterdaten_lesen_anmelden(std::function<void()> f) {
  const int nummer = sNächsterBeobachter++;
  sBeobachter[nummer] = std::move(f);
  return nummer;
}

void Nach_Mitarbeiterdaten_lesen_abmelden(int nummer) { sBeobachter.erase(nummer); }

bool Mitarbeiterdaten_lesbar(const QStringList& zeilen) {
  if (zeilen.value(0) != kKopf) return false;
  Tabelle t;
  QString kennzeile;
  int planungsjahr = 0;
  return Mitarbeiter_aus_Zeilen(zeilen, false, t, kennzeile, planungsjahr) == 0;
}

void Mitarbeiterdaten_lesen() {
  Prozedur(QStringLiteral("modVelkora - Mitarbeiterdaten_lesen"), [&] {
    const QString pfad = Pfad();
    if (!Datei_vorhanden(pfad)) {
      Dateifehler(1, pfad, QString(), QStringLiteral("Mitarbeiterdaten_lesen"));
      return;
    }
    // The time stamp is taken before the read: a version written by another
    // workstation while we read then differs from it and is read at the next check.
    const QDateTime zeit = Dateizeit(pfad);
    FOpen(pfad, QStringLiteral("Input"));
    if (LineIn() != kKopf) {
      FVerwerfen();
      Dateifehler(2, pfad, QStringLiteral("Mitarbeiterdaten"), QStringLiteral("Mitarbeiterdaten_lesen"));
      return;
    }
    QStringList zeilen{kKopf};
    bool ohneEnde = Kanal_letzte_Zeile_unvollständig();
    while (!FEOF()) {
      zeilen << LineIn();
      ohneEnde = Kanal_letzte_Zeile_unvollständig();
    }
    // The table is built aside and replaced as a whole, so a failing read leaves the
    // previous one intact.
    Tabelle t;
    QString kennzeile;
    int planungsjahr = 0;
    if (const int zeile = Mitarbeiter_aus_Zeilen(zeilen, ohneEnde, t, kennzeile, planungsjahr))
      Datei_beschädigt(pfad, zeile);
    FClose();

    if (t.namen.size() == 1) t.anfügen(kKeineNamen, {}, {}, {}, {}, {});
    const QString ich = gBenutzername.toLower();
    bool istMitarbeiter = false;
    for (int i = 1; i < t.ids.size(); ++i)
      if (!t.ids[i].isEmpty() && t.ids[i].toLower() == ich) istMitarbeiter = true;

    if (gKennzeile.isEmpty()) gKennzeile = kennzeile;
    gPlanungsjahr = planungsjahr;
    gMitarbeiterNamen = t.namen;
    gBenutzerIDs = t.ids;
    gEintrittsdaten = t.von;
    gAustrittsdaten = t.bis;
    gUrlaubsdaten = t.urlaub;
    gSonderurlaubsanspruch = t.sonder;
    gIstMitarbeiter = istMitarbeiter;

    if (Setting(1) != 0 && !gIstMitarbeiter && gBenutzerstufe == 0) {
      gStartfehler = QStringLiteral("Sie sind mit Ihrem Windows-Benutzernamen '") + gBenutzername +
                     QStringLiteral(
                         "' nicht als Mitarbeiter im Velkora eingetragen.\r\r"
                         "Bitte wenden Sie sich zur Aufnahme in den Velkora an einen Administrator: ") +
                     ShowAdmins(false);
    }

    gUrlaub1Leer = false;
    const int verfall = HexDec(SettingStr(38, 1));
    const int beginn = HexDec(SettingStr(31, 1));
    if (verfall >= 2 && verfall > beginn) {
      bool leer = true;
      for (int i = 1; i < gUrlaubsdaten.size(); ++i)
        if (Wert(Spalten(gUrlaubsdaten[i], 7, 5)) != 0.0) leer = false;
      gUrlaub1Leer = leer;
    }

    gMitarbeiterdatenZeit = zeit;
    Beobachter_benachrichtigen();
  });
}

int Planungsjahr_der_Mitarbeiterdatei() {
  return Prozedur(QStringLiteral("modVelkora - Planungsjahr_der_Mitarbeiterdatei"), [&]() -> int {
    const QString pfad = Pfad();
    // An empty file is damage for the next full read to report, not a file to wait for
    // in the middle of a save: the file is only ever replaced whole.
    if (Dateigröße(pfad) <= 0 || !FOpen(pfad, QStringLiteral("Input"), QStringLiteral("IgnoreErrors"))) return 0;
    QStringList zeilen;
    while (zeilen.size() < 3 && !FEOF()) {
      const QByteArrayView roh = Kanal_Zeile_sehen();
      zeilen << (roh.isEmpty() ? QString() : Zeile_dekodieren(roh));
    }
    // A planning-year line cut off (no line end) is no year.
    const bool ganz = zeilen.size() == 3 && !Kanal_letzte_Zeile_unvollständig();
    FClose();
    return ganz && zeilen[0] == kKopf ? Planungsjahr_aus(zeilen[2]) : 0;
  });
}

bool Mitarbeiterdaten_schreiben(const QString& modus) {
  return Prozedur(QStringLiteral("modVelkora - Mitarbeiterdaten_schreiben"), [&]() -> bool {
    const qsizetype n = gMitarbeiterNamen.size();
    for (const QStringList* a :
         {&gBenutzerIDs, &gEintrittsdaten, &gAustrittsdaten, &gUrlaubsdaten, &gSonderurlaubsanspruch})
      if (a->size() != n) fehler::auslösen(fehler::kIndexAusserhalb);

    const QString keinSonderurlaub = QStringLiteral("000") + Trenner() + u'0';
    bool lang = false;
    for (qsizetype i = 1; i < n; ++i) {
      if (gBenutzerIDs[i].isEmpty()) continue;
      const QString& u = gUrlaubsdaten[i];
      for (int spalte : {11, 17, 23, 29})
        if (Spalten(u, spalte, 1) != u"0") lang = true;
      if (gSonderurlaubsanspruch[i] != keinSonderurlaub) lang = true;
    }

    const bool ignorieren = modus.compare(u"IgnoreErrors", Qt::CaseInsensitive) == 0;
    QStringList zeilen{kKopf, gKennzeile, QString::number(gPlanungsjahr)};
    for (qsizetype i = 1; i < n; ++i) {
      if (gBenutzerIDs[i].isEmpty()) {
        zeilen << gMitarbeiterNamen[i];
        continue;
      }
      QString urlaub = gUrlaubsdaten[i];
      QString sonder = gSonderurlaubsanspruch[i];
      urlaub.replace(Trenner(), QStringLiteral(","));
      sonder.replace(Trenner(), QStringLiteral(","));
      QString zeile = gEintrittsdaten[i] + u':' + gAustrittsdaten[i] + u':';
      if (lang)
        zeile += urlaub + u':' + sonder + kLangerRest;
      else
        zeile +=
            Spalten(urlaub, 1, 9) + Spalten(urlaub, 12, 4) + Spalten(urlaub, 18, 4) + Spalten(urlaub, 24, 4) + u':';
      zeilen << zeile + gMitarbeiterNamen[i] + u':' + gBenutzerIDs[i];
    }
    // A failed write leaves the old file as it was.
    return Alle_Zeilen_schreiben_wie(Pfad(), zeilen, {.fehlerIgnorieren = ignorieren});
  });
}

void CheckMitarbeiterdaten() {
  Prozedur(QStringLiteral("modVelkora - CheckMitarbeiterdaten"), [&] {
    if (Setting(39) == 1) return;
    // However long ago the last read was: a stale employee list would make the next
    // rewrite of a month drop the lines of employees added elsewhere.
    if (Dateizeit(Pfad()) == gMitarbeiterdatenZeit) return;
    Mitarbeiterdaten_lesen();
    gMerker = true;
  });
}

bool Mitarbeiter_erfasst() {
  if (gMitarbeiterNamen.size() == 2 && gMitarbeiterNamen[1] == kKeineNamen && gBenutzerIDs[1].isEmpty()) {
    Meldung(
        QStringLiteral("Es wurden noch keine Mitarbeiterdaten erfasst. Bitte rufen Sie den Menüpunkt "
                       "'Bearbeiten - Mitarbeiter' auf."));
    return false;
  }
  return true;
}

QString Name_zu_BenutzerID(const QString& benutzer) {
  if (text::trim(benutzer).isEmpty()) return {};
  QString kandidat;
  if (const int z = Zeile_des_Benutzers(benutzer)) kandidat = gMitarbeiterNamen[z];
  for (const QString& e : gAdministratoren) {
    const QString n = Name_aus_Eintrag(e, QStringLiteral("A:"), benutzer);
    // The placeholder of a new data folder ("<Name Vorname>") names nobody.
    if (!n.isEmpty() && !(n.startsWith(u'<') && n.endsWith(u'>'))) kandidat = n;
  }
  for (const QString& e : gPrivilegierte) {
    const QString n = Name_aus_Eintrag(e, QStringLiteral("P:"), benutzer);
    if (!n.isEmpty()) kandidat = n;
  }
  if (kandidat.isEmpty() || kandidat.compare(benutzer, Qt::CaseInsensitive) == 0) return {};
  return kandidat;
}

QString ShowAdmins(bool mitPrivilegierten) {
  QStringList einträge;
  if (mitPrivilegierten) einträge << gPrivilegierte;
  einträge << gAdministratoren;
  QStringList teile;
  for (const QString& e : einträge) {
    if (e == kKeineAdmins || e.size() < 2) continue;
    const QString rest = e.mid(2);
    const qsizetype p = rest.indexOf(u':');
    const QString name = p < 0 ? rest : rest.left(p);
    const QString benutzer = p < 0 ? QString() : rest.mid(p + 1);
    teile << name + QStringLiteral(" (") + benutzer + u')';
  }
  QString r = teile.join(QStringLiteral(", "));
  if (r.size() > 450) r = r.left(450) + QStringLiteral(" ...");
  return r;
}

void Mitarbeiter_suchen_G(Mitarbeiterraster& raster, bool neueSuche, bool eigeneZeile) {
  Prozedur(QStringLiteral("modVelkora - Mitarbeiter_suchen_G"), [&] {
    if (raster.fenster() != sSuche.fenster || neueSuche || eigeneZeile) sSuche.text.clear();
    const bool neu = sSuche.text.isEmpty();
    if (neu) {
      sSuche.fenster = raster.fenster();
      sSuche.nächsteZeile = 1;
    }

    QString eigeneID;
    if (eigeneZeile) {
      if (Setting(28) == 1) return;
      const int z = Zeile_des_Benutzers(gBenutzername);
      if (z == 0) {
        Meldung(QStringLiteral("Windows-Benutzername '") + gBenutzername + QStringLiteral("' nicht gefunden"));
        return;
      }
      sSuche.text = gMitarbeiterNamen[z];
      eigeneID = gBenutzerIDs[z].toLower();
    } else if (neu) {
      const QString antwort =
          raster.eingabe(QStringLiteral("Mitarbeiter suchen:\r\rName des Mitarbeiters||Mitarbeiter suchen"));
      if (antwort.isEmpty()) return;
      sSuche.text = antwort;
    }

    const QString gesucht = sSuche.text.toLower();
    int treffer = 0;
    for (int z = std::max(sSuche.nächsteZeile, 1); z < raster.zeilen() && treffer == 0; ++z) {
      // The own row is known by its user name: a name contained in another one
      // ("Meier" in "Meierhof") must not find the wrong row.
      const bool passt =
          eigeneZeile ? raster.benutzer(z).toLower() == eigeneID : raster.name(z).toLower().contains(gesucht);
      if (passt) treffer = z;
    }

    if (treffer == 0) {
      Meldung(neu ? QStringLiteral("Name '") + sSuche.text + QStringLiteral("' nicht gefunden")
                  : QStringLiteral("Datenende erreicht"));
      sSuche.text.clear();
      return;
    }
    if (eigeneZeile)
      sSuche.text.clear();
    else
      sSuche.nächsteZeile = treffer + 1;
    const int sichtbar = raster.sichtbareZeilen();
    if (!raster.zeileSichtbar(treffer) || treffer == raster.obersteZeile() + sichtbar - 1)
      raster.setzeObersteZeile(std::max(1, treffer - sichtbar / 2 + 1));
    raster.zeileMarkieren(treffer);
  });
}
