#include "store/Feiertage.h"

#include <QDate>
#include <QFile>
#include <limits>

#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Monatsversion.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "startup/Zeilencodierung.h"
#include "store/Einrichtung.h"
#include "store/Erfassungsdaten.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Velkoraini.h"

QString gLand;
QStringList gFeiertagsdefinitionen{QString()};
QStringList gFeiertagsdaten{QString(), QStringLiteral("000000")};
QString gFeiertagsTabelle = QStringLiteral("000000|");
QStringList gFerientage{QString(), QStringLiteral("NoData")};
int gFerienIndex = 0;
qint32 gFerienfarbe = 0;

QString gMonatsschlüssel;

namespace {

const QString kKeineDaten = QStringLiteral("NoData");
const QString kNoEx = QStringLiteral("NoEx");
constexpr int kVorlagen = 16;          // template definitions of a holiday set
constexpr int kWeitereHöchstens = 16;  // further yearly holidays evaluated
const QString kMonatszeichen = QStringLiteral("123456789ABC");

void Zustand_zurücksetzen() {
  gLand.clear();
  gFeiertagsdefinitionen = QStringList{QString()};
  gFeiertagsdaten = QStringList{QString(), QStringLiteral("000000")};
  gFeiertagsTabelle = QStringLiteral("000000|");
  gFerientage = QStringList{QString(), kKeineDaten};
  gFerienIndex = 0;
  gFerienfarbe = 0;
  gMonatsschlüssel.clear();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

bool Zwei_Ziffern(const QString& s) { return s.size() == 2 && text::nurZiffern(s); }

QString Datum_TTMMJJ(const QDate& d) {
  return QStringLiteral("%1.%2.%3")
      .arg(d.day(), 2, 10, QChar(u'0'))
      .arg(d.month(), 2, 10, QChar(u'0'))
      .arg(d.year() % 100, 2, 10, QChar(u'0'));
}

QString Jahr_zweistellig(int jahr) { return QStringLiteral("%1").arg(jahr % 100, 2, 10, QChar(u'0')); }

// A further yearly holiday or a fixed template date: "dd.mm.".
bool Ist_Tagesdatum(const QString& s) {
  return s.size() == 6 && s[2] == u'.' && s[5] == u'.' && Zwei_Ziffern(s.left(2)) && Zwei_Ziffern(s.mid(3, 2));
}

// The n-th weekday t (Monday = 1) of a month counted from its first day, or, for
// `rückwärts`, counted back from the first day of the following month (n = 0 the last).
QDate Wochentag_im_Monat(int jahr, int monat, int n, int t, bool rückwärts) {
  QDate f(jahr, monat, 1);
  if (rückwärts) f = f.addMonths(1);
  int x = f.dayOfWeek() - t;
  if (x < 1) x += 7;
  return rückwärts ? f.addDays(-x - 7 * n) : f.addDays(-x + 7 * n);
}

// Takes the country set of code "049" from the master file, as the old file format
// had no country of its own.
void Konvertieren(const QStringList& zeilen) {
  VelkoraFeiertageDat_lesen(QStringLiteral("049"));
  // Old format: lines 3 to 18 the definitions, further holidays from line 19 on.
  for (qsizetype i = 18; i < zeilen.size(); ++i) gFeiertagsdefinitionen << zeilen[i];
  gLand = QStringLiteral("Deutschland");
  Feiertage_berechnen();
}

// The weekday codes at the start of a weekend part end where its "dd|" entries begin.
QString Tageseinträge(const QString& teil) {
  qsizetype i = 0;
  while (i < teil.size() && !teil[i].isDigit()) ++i;
  return teil.mid(i);
}

// The new exceptions line of a month for the markers, or the line itself when nothing
// changes.
QString Ausnahmezeile_ändern(const QString& zeile, const QString& monatsschlüssel, const QString& art,
                             const QString& wert) {
  const qsizetype p = zeile.indexOf(u':');
  QString wochenende = p < 0 ? zeile : zeile.left(p);
  QString feiertage = p < 0 ? QString() : zeile.mid(p + 1);
  if (art == u"W") {
    // A reset lets the month follow the weekend again; its single extra days stay.
    if (wert == kNoEx)
      wochenende = kNoEx + Tageseinträge(wochenende);
    else if (wochenende.startsWith(kNoEx))
      wochenende = wert + wochenende.mid(4);
  } else if (art == u"F") {
    if (wert == kNoEx) {
      feiertage = kNoEx;
    } else if (feiertage.startsWith(kNoEx)) {
      QString tage;
      for (qsizetype i = 1; i < gFeiertagsdaten.size(); ++i) {
        if (gFeiertagsdaten[i].left(4) == monatsschlüssel) tage += gFeiertagsdaten[i].mid(4, 2) + u'|';
      }
      feiertage = tage + feiertage.mid(4);
    }
  }
  const QString neu = wochenende + u':' + feiertage;
  return p < 0 && neu == zeile + u':' ? zeile : neu;
}

// Rewrites line 3 of one month under its month lock, from the newest version as read
// inside the lock, so a line another workstation appends meanwhile is not lost.
void Monat_kennzeichnen(const QString& monatsschlüssel, const QString& art, const QString& wert) {
  Monatsdatei_umschreiben(
      monatsschlüssel, false,
      [&](const std::optional<Monatsversion>& version, const QStringList& zeilen) -> std::optional<QStringList> {
        // A damaged file is left as it is for the month reader's repair.
        if (!version || zeilen.size() < 3 || zeilen[0] != u'[' + monatsschlüssel + u']') return std::nullopt;
        const QString neu = Ausnahmezeile_ändern(zeilen[2], monatsschlüssel, art, wert);
        if (neu == zeilen[2]) return std::nullopt;
        QStringList z = zeilen;
        z[2] = neu;
        return z;
      });
}

// The school-holiday file is supplied beside the program; a data folder without one
// gets a copy, so that its days are marked from the first start on.
void Ferientage_bereitstellen(const QString& ziel) {
  if (gRückblick || Datei_vorhanden(ziel) || gDatenordner.isEmpty()) return;
  for (const QString& ordner : {gBasisordner, gProgrammordner}) {
    if (ordner.isEmpty()) continue;
    const QString quelle = ordner + QStringLiteral("Ferientage.dat");
    if (!Datei_vorhanden(quelle)) continue;
    QFile f(quelle);
    if (f.open(QIODevice::ReadOnly)) Datei_sicher_schreiben(ziel, f.readAll());
    return;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------

QString Feiertagsregel_auswerten(const QString& regel, int jahr) {
  if (regel.size() < 4) return {};
  if (regel.size() >= 6 && regel[2] == u'.' && regel[5] == u'.') {
    return Ist_Tagesdatum(regel.left(6)) ? regel.left(6) + Jahr_zweistellig(jahr) : QString();
  }
  const QString code = regel.left(2);
  if (code == u"VO" || code == u"NO") {
    const QString zahl = regel.mid(2, 2);
    if (!Zwei_Ziffern(zahl)) return {};
    const int tage = zahl.toInt();
    return Datum_TTMMJJ(Osterdatum(jahr).addDays(code == u"VO" ? -tage : tage));
  }
  if (code == u"BU") {
    const QDate d(jahr, 12, 25);
    return Datum_TTMMJJ(d.addDays(-d.dayOfWeek() - 32));
  }
  if (code == u"W1" || code == u"W4" || code == u"W5" || code == u"L1") {
    const QChar n = regel[2];
    const qsizetype monat = kMonatszeichen.indexOf(regel[3]) + 1;
    if (!n.isDigit() || n.unicode() > u'9' || monat < 1) return {};
    const int t = code[1].unicode() - u'0';
    return Datum_TTMMJJ(Wochentag_im_Monat(jahr, static_cast<int>(monat), n.unicode() - u'0', t, code == u"L1"));
  }
  return {};
}

QStringList Feiertage_ermitteln(const QStringList& definitionen, int erstesJahr) {
  // 32 plätze per window year: the 16 templates, then up to 16 further holidays.
  QStringList plätze(3 * 32);
  const qsizetype anzahl = definitionen.size() - 1;
  for (int y = 1; y <= 3; ++y) {
    const int jahr = erstesJahr + y - 1;
    for (int j = 1; j <= std::min<qsizetype>(anzahl, kVorlagen); ++j) {
      const QString& def = definitionen[j];
      if (!def.startsWith(u'1')) continue;
      const QString datum = Feiertagsregel_auswerten(def.mid(2, 6), jahr);
      if (datum.isEmpty()) continue;
      QString eintrag = datum + u':' + def.mid(9);
      const qsizetype klammer = eintrag.indexOf(u'(');
      if (klammer >= 0) {
        eintrag.truncate(klammer);
        if (eintrag.endsWith(u' ')) eintrag.chop(1);
      }
      plätze[(y - 1) * 32 + j - 1] = eintrag;
    }
    for (qsizetype j = kVorlagen + 1; j <= std::min<qsizetype>(anzahl, kVorlagen + kWeitereHöchstens); ++j) {
      if (Ist_Tagesdatum(definitionen[j])) plätze[(y - 1) * 32 + j - 1] = definitionen[j] + Jahr_zweistellig(jahr);
    }
  }
  QStringList daten{QString()};
  for (const QString& s : plätze) {
    if (s.isEmpty()) continue;
    // "dd.mm.yy" and the rest become "yymmdd" and the rest.
    daten << s.mid(6, 2) + s.mid(3, 2) + s.left(2) + s.mid(8);
  }
  if (daten.size() == 1) daten << QStringLiteral("000000");
  return daten;
}

QString Feiertagstabelle_bilden(const QStringList& feiertagsdaten) {
  QString t;
  for (qsizetype i = 1; i < feiertagsdaten.size(); ++i) t += feiertagsdaten[i].left(6) + u'|';
  return t;
}

QStringList Feiertagsdefinitionen_ordnen(const QStringList& zeilen) {
  QStringList defs{QString()};
  qsizetype i = 0;
  while (i < zeilen.size() && defs.size() <= kVorlagen && !Ist_Tagesdatum(zeilen[i])) defs << zeilen[i++];
  while (defs.size() <= kVorlagen) defs << kLeereFeiertagsdefinition;
  while (i < zeilen.size()) defs << zeilen[i++];
  return defs;
}

bool Ist_Feiertag(const QString& monatsschlüssel, int tag, const QString& ausnahmen, const QString& feiertagsTabelle) {
  const QString tt = QStringLiteral("%1|").arg(tag, 2, 10, QChar(u'0'));
  const qsizetype p = ausnahmen.indexOf(u':');
  const QString feiertage = p < 0 ? QString() : ausnahmen.mid(p + 1);
  if (feiertage.startsWith(kNoEx) && feiertagsTabelle.contains(monatsschlüssel + tt)) return true;
  return feiertage.contains(tt);
}

bool Ist_Wochenende(const QString& monatsschlüssel, int tag, const QString& ausnahmen, const QString& wochenende) {
  const QDate d(2000 + text::zahl(monatsschlüssel.left(2)), text::zahl(monatsschlüssel.mid(2, 2)), tag);
  if (!d.isValid()) return false;
  static const QString kCodes[] = {QStringLiteral("Mo"), QStringLiteral("Di"), QStringLiteral("Mi"),
                                   QStringLiteral("Do"), QStringLiteral("Fr"), QStringLiteral("Sa"),
                                   QStringLiteral("So")};
  const QString& code = kCodes[d.dayOfWeek() - 1];
  const qsizetype p = ausnahmen.indexOf(u':');
  const QString teil = p < 0 ? ausnahmen : ausnahmen.left(p + 1);
  const bool frei = ausnahmen.startsWith(kNoEx) ? wochenende.contains(code) : teil.contains(code);
  return frei || teil.contains(QStringLiteral("%1|").arg(tag, 2, 10, QChar(u'0')));
}

Ländervorlage Länderblock(const QStringList& masterzeilen, const QString& ländercode) {
  Ländervorlage v;
  const QString kopf = u'[' + ländercode;
  qsizetype i = 0;
  while (i < masterzeilen.size() && masterzeilen[i].left(4) != kopf) ++i;
  if (i < masterzeilen.size()) {
    const QString& k = masterzeilen[i];
    v.gefunden = true;
    v.land = k.size() > 6 ? k.mid(5, k.size() - 6) : QString();
    // A short block ends at the next header or at the end of the file.
    for (++i; i < masterzeilen.size() && v.definitionen.size() < kVorlagen; ++i) {
      if (masterzeilen[i].startsWith(u'[')) break;
      v.definitionen << masterzeilen[i];
    }
  }
  while (v.definitionen.size() < kVorlagen) v.definitionen << kLeereFeiertagsdefinition;
  return v;
}

// ---------------------------------------------------------------------------------

void Feiertage_lesen() {
  Prozedur(QStringLiteral("modVelkora - Feiertage_lesen"), [&] {
    const QString pfad = gDatenordner + QStringLiteral("Feiertage.dat");
    if (!Datei_vorhanden(pfad)) {
      Dateifehler(1, pfad, QString(), QStringLiteral("modVelkora - Feiertage_lesen"));
      return;
    }
    const QStringList zeilen = Alle_Zeilen_lesen(pfad, true);
    if (zeilen.value(0) != u"[Feiertage]") {
      Dateifehler(2, pfad, QStringLiteral("Feiertage"), QStringLiteral("modVelkora - Feiertage_lesen"));
      return;
    }
    if (gKennzeile.isEmpty()) gKennzeile = zeilen.value(1);
    const QString zeile3 = zeilen.value(2);
    if (zeile3.size() >= 2 && zeile3[1] == u':') {
      Konvertieren(zeilen);
      return;
    }
    gLand = zeile3;
    gFeiertagsdefinitionen = Feiertagsdefinitionen_ordnen(zeilen.mid(3));
    Feiertage_berechnen();
  });
}

void Feiertage_konvertieren() {
  Prozedur(QStringLiteral("modVelkora - Feiertage_konvertieren"),
           [&] { Konvertieren(Alle_Zeilen_lesen(gDatenordner + QStringLiteral("Feiertage.dat"), true)); });
}

void Feiertage_schreiben() {
  Prozedur(QStringLiteral("modVelkora - Feiertage_schreiben"), [&] {
    QStringList zeilen{QStringLiteral("[Feiertage]"), gKennzeile, gLand};
    for (qsizetype i = 1; i < gFeiertagsdefinitionen.size(); ++i) zeilen << gFeiertagsdefinitionen[i];
    Alle_Zeilen_schreiben(gDatenordner + QStringLiteral("Feiertage.dat"), zeilen);
  });
}

void Feiertage_berechnen() {
  Prozedur(QStringLiteral("modVelkora - Feiertage_berechnen"), [&] {
    gFeiertagsdaten = Feiertage_ermitteln(gFeiertagsdefinitionen, gPlanungsjahr);
    gFeiertagsTabelle = Feiertagstabelle_bilden(gFeiertagsdaten);
  });
}

void Ferientage_lesen() {
  Prozedur(QStringLiteral("modVelkora - Ferientage_lesen"), [&] {
    gFerientage = QStringList{QString(), kKeineDaten};
    gFerienIndex = 0;
    const QString pfad = gDatenordner + QStringLiteral("Ferientage.dat");
    Ferientage_bereitstellen(pfad);
    // An empty file is no school-holiday data; it is never written by the program,
    // so it is not worth the wait for another workstation or a start repair.
    if (!Datei_vorhanden(pfad) || Dateigröße(pfad) <= 0) return;
    // Supplied, never written by the program: read as it stands.
    const QStringList zeilen = Alle_Zeilen_lesen(pfad);
    if (zeilen.value(0) != u"[Ferientage]") return;
    const QString farbe = text::trim(zeilen.value(2));
    bool ok = false;
    const qint64 wert = farbe.toLongLong(&ok);
    if (!ok) fehler::auslösen(fehler::kTypenUnverträglich);
    if (wert < std::numeric_limits<qint32>::min() || wert > std::numeric_limits<qint32>::max()) fehler::auslösen(6);
    gFerienfarbe = static_cast<qint32>(wert);
    QStringList einträge{QString()};
    for (qsizetype i = 5; i < zeilen.size(); ++i) {
      const QString& z = zeilen[i];
      if (z.size() != 36 || z[4] != u':') return;
      einträge << z;
    }
    if (einträge.size() > 1) gFerientage = einträge;
    Ferientage_suchen();
  });
}

void Ferientage_suchen() {
  gFerienIndex = 0;
  if (gBenutzerwerte[27] == 1 || gFerientage.value(1) == kKeineDaten || gMonatsschlüssel.isEmpty()) return;
  for (qsizetype i = 1; i < gFerientage.size(); ++i) {
    if (gFerientage[i].left(4) == gMonatsschlüssel) gFerienIndex = static_cast<int>(i);
  }
}

bool CheckFeiertag(int tag) { return Ist_Feiertag(gMonatsschlüssel, tag, gMonatsAusnahmen, gFeiertagsTabelle); }

bool CheckWochenende(int tag) { return Ist_Wochenende(gMonatsschlüssel, tag, gMonatsAusnahmen, gWochenende); }

void Ausnahmedaten_in_Erfassungdateien_übernehmen(const QString& art, const QString& wert) {
  Prozedur(QStringLiteral("modVelkora - Ausnahmedaten_in_Erfassungdateien_übernehmen"), [&] {
    const QString heute = FormatDatumDS(gHeute).left(4);
    QStringList monate;
    for (const QString& name : Dateiliste(gDatenordner, QStringLiteral("*Data.dat"))) {
      const std::optional<Monatsversion> v = Monatsversion::aus_Name(name);
      if (v && v->schlüssel() < heute && !monate.contains(v->schlüssel())) monate << v->schlüssel().toString();
    }
    for (const QString& schlüssel : monate) Monat_kennzeichnen(schlüssel, art, wert);
  });
}
