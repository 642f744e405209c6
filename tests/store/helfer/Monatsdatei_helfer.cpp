// One workstation of the multi-workstation tests of the month writer: a separate
// process that writes or reads month 2603 of a shared data folder.
//
//   velkora_monatsdatei_helfer <data folder> <mode> <number> <processes> <count> <today yymmdd>
//
// Modes: "anhaengen" saves <count> entry lines for its users w<number>u0..u4;
// "tageswechsel" does the same with its own date (each of its saves and the next
// save of the others then writes the month afresh); "kompaktieren" compacts <count>
// times; "lesen" reads the month <count> times as an employee, so any line it cannot
// parse ends it; "endlos" fills the month with 2000 employees and compacts it until
// killed; "umschreiben" saves <count> lines like "anhaengen" but goes on after a save
// refused for the lock and prints "abgelehnt <refused> <count>" at the end;
// "tag" reads the month, says "bereit", waits for the file named by VELKORA_LOS and
// then saves a change of day <number> of user w0u0 (or VELKORA_BENUTZER) to code <count> as a change of that
// day onto the row it read; "halten" takes the month lock, says "bereit" and runs the
// event loop until SIGTERM ends it; VELKORA_MITARBEITER=n adds employees m0 to m<n-1>
// to the table; "abbruch" takes the month lock and stops the
// program through the fatal stop; "netz" saves <count> lines, each for a user of its
// own (w<number>s<j>, so that a line a rewrite drops is not made good by a later save),
// also compacting before every VELKORA_VERDICHTEN-th save, goes on after a save refused
// for the lock and prints "ok <j>" (flushed) for every save j that succeeded.
// In "netz" and "anhaengen" a workstation left running past midnight moves on to the
// next day: VELKORA_TAGESWECHSEL=n after every n-th save, VELKORA_MITTERNACHT=j once,
// after save j. "halten" with VELKORA_LOS waits for that file instead of a signal,
// then deletes the month file VELKORA_LOESCHEN (the version its save had read) and
// ends, releasing the lock. "pruefen" runs the start's month check as an administrator
// until the file VELKORA_STOPP exists (at least <count> times) and prints "geprueft
// <n>"; "sichern" makes backups of kind "T" the same way, reads each back and prints
// "gesichert <n> ohne Monat <m>": every backup made must hold an undamaged month.
// Exit code 0 when every save succeeded and nothing was reported; a fatal stop prints
// its message and the run-time error reported on stderr and gives 5.
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/Dialoge.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Programmende.h"
#include "platform/Signale.h"
#include "startup/Dateizugriff.h"
#include "startup/Monatsversion.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Sicherung.h"

namespace {

constexpr int kBenutzerJeProzess = 5;

QString Benutzer(int prozess, int u) { return QStringLiteral("w%1u%2").arg(prozess).arg(u); }

// The codes of save j: j in base 5 with the digits "1".."5", so every save is told
// apart and no line is blank.
QString Codes(int j) {
  QString s = QStringLiteral("1");
  for (int v = j; v > 0; v /= 5) s += QChar(u'1' + v % 5);
  return s.leftJustified(31, u' ');
}

void Datum_setzen(const QDate& d) {
  gHeute = d;
  gHeuteText = d.toString(QStringLiteral("yyMMdd"));
}

// After save j (0-based) of a workstation left running: the next day when the
// environment says so.
void Nach_der_Speicherung(int j) {
  static const int alle = qEnvironmentVariableIntValue("VELKORA_TAGESWECHSEL");
  static const int mitternacht =
      qEnvironmentVariableIsEmpty("VELKORA_MITTERNACHT") ? -1 : qEnvironmentVariableIntValue("VELKORA_MITTERNACHT");
  if ((alle > 0 && (j + 1) % alle == 0) || j == mitternacht) Datum_setzen(gHeute.addDays(1));
}

// Until the stop file exists, and at least `mindestens` times.
bool Weiter(int runde, int mindestens) {
  static const QString stopp = qEnvironmentVariable("VELKORA_STOPP");
  return runde < mindestens || (!stopp.isEmpty() && !QFile::exists(stopp));
}

// Whether a backup holds the month 2603, undamaged.
bool Monat_gesichert(const QString& sicherung) {
  std::vector<Sicherungsblock> blöcke;
  if (!Sicherung_einlesen(sicherung, blöcke)) return false;
  QList<Monatsversion> versionen;
  for (const Sicherungsblock& b : blöcke)
    if (std::optional<Monatsversion> v = Monatsversion::aus_Name(b.name)) versionen << std::move(*v);
  const std::optional<Monatsversion> version = Neueste_Monatsversion(versionen, u"2603");
  if (!version) return false;
  const auto neueste =
      std::find_if(blöcke.begin(), blöcke.end(), [&](const Sicherungsblock& b) { return b.name == version->name(); });
  return neueste != blöcke.end() && !neueste->zeilen.isEmpty() && neueste->zeilen.first() == u"[2603]" &&
         Kopie_lesbar(neueste->name, neueste->zeilen);
}

}  // namespace

int Ausführen(QCoreApplication& app, dialoge::Skript& skript);

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // What the program's wiring does when a write took long (it notes the slow network
  // in the user's settings) has no place here; a slow write is no fault.
  gLangsamesNetzGesehen = [] {};
  // A fatal stop says why instead of vanishing; a planned end by signal really ends.
  programmende::setzeTestmodus(app.arguments().value(2) != u"halten" && app.arguments().value(2) != u"abbruch");
  dialoge::Skript& skript = dialoge::skript();
  try {
    return Ausführen(app, skript);
  } catch (const ProgrammBeendet&) {
    for (const QString& t : skript.texte()) std::fprintf(stderr, "%s\n", t.toUtf8().constData());
    // The error the central handler reported.
    std::fprintf(stderr, "Fehler %d: %s\n", gErr.nummer, gErr.beschreibung.toUtf8().constData());
    return 5;
  }
}

int Ausführen(QCoreApplication& app, dialoge::Skript& skript) {
  const QStringList a = app.arguments();
  if (a.size() < 7) return 64;
  const QString modus = a[2];
  const int nummer = a[3].toInt();
  const int prozesse = a[4].toInt();
  const int anzahl = a[5].toInt();

  gDatenordner = a[1].endsWith(u'/') ? a[1] : a[1] + u'/';
  Datum_setzen(QDate(2000 + a[6].left(2).toInt(), a[6].mid(2, 2).toInt(), a[6].mid(4, 2).toInt()));
  gLogordner = gDatenordner + QStringLiteral("Logs/");
  gSicherungsordner = gDatenordner + QStringLiteral("Backups/");
  gDatumstrennzeichen = QStringLiteral(".");
  gSettings = Standardeinstellungen();
  gPlanungsjahr = 2025;
  gKennzeile = QStringLiteral("Kennung");
  gSFTexte = QStringList{QString(),           QStringLiteral("A"), QStringLiteral("B"),      QStringLiteral("C"),
                         QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("Löschen")};
  QStringList ids{QString()};
  if (modus == u"endlos") {
    for (int i = 0; i < 2000; ++i) ids << QStringLiteral("m%1").arg(i);
  } else {
    for (int p = 0; p < prozesse; ++p)
      for (int u = 0; u < kBenutzerJeProzess; ++u) ids << Benutzer(p, u);
  }
  // The employee whose row "tag" changes.
  const QString tagBenutzer = qEnvironmentVariableIsEmpty("VELKORA_BENUTZER")
                                  ? QStringLiteral("w0u0")
                                  : qEnvironmentVariable("VELKORA_BENUTZER");
  if (modus == u"tag" && !ids.contains(tagBenutzer)) ids << tagBenutzer;
  // More employees in the table (m0, m1, ...), for a month of realistic size.
  for (int i = 0, n = qEnvironmentVariableIntValue("VELKORA_MITARBEITER"); i < n && modus != u"endlos"; ++i)
    ids << QStringLiteral("m%1").arg(i);
  Mitarbeitertabelle_dimensionieren(static_cast<int>(ids.size()) - 1);
  gBenutzerIDs = ids;
  gMitarbeiterNamen = ids;
  // An employee: a line the reader cannot use ends the program instead of a repair.
  gBenutzerstufe = modus == u"lesen" ? 0 : 2;

  const QString schlüssel = QStringLiteral("2603");
  bool ok = true;
  if (modus == u"anhaengen" || modus == u"tageswechsel") {
    for (int j = 0; j < anzahl && ok; ++j) {
      ok = Monatsdatei_speichern(schlüssel,
                                 {QStringLiteral("A:") + Benutzer(nummer, j % kBenutzerJeProzess) + u':' + Codes(j)});
      Nach_der_Speicherung(j);
    }
  } else if (modus == u"umschreiben") {
    int abgelehnt = 0;
    for (int j = 0; j < anzahl; ++j) {
      if (Monatsdatei_speichern(schlüssel,
                                {QStringLiteral("A:") + Benutzer(nummer, j % kBenutzerJeProzess) + u':' + Codes(j)}))
        continue;
      ++abgelehnt;
      if (skript.texte().empty() || skript.texte().back() != Monatssperre_Meldung(schlüssel)) return 2;
      skript.protokoll.clear();
    }
    std::printf("abgelehnt %d %d\n", abgelehnt, anzahl);
  } else if (modus == u"netz") {
    const int verdichten = qEnvironmentVariableIntValue("VELKORA_VERDICHTEN");
    // A refusal for the lock is the only message a save may give.
    const auto abgelehnt = [&] {
      if (skript.texte().empty() || skript.texte().back() != Monatssperre_Meldung(schlüssel)) return false;
      skript.protokoll.clear();
      return true;
    };
    for (int j = 0; j < anzahl; ++j) {
      if (verdichten > 0 && j % verdichten == verdichten - 1 && !Monatsdatei_kompaktieren(schlüssel) && !abgelehnt())
        return 2;
      if (Monatsdatei_speichern(schlüssel, {QStringLiteral("A:w%1s%2:").arg(nummer).arg(j) + Codes(j)})) {
        std::printf("ok %d\n", j);
        std::fflush(stdout);
      } else if (!abgelehnt()) {
        return 2;
      }
      Nach_der_Speicherung(j);
    }
  } else if (modus == u"tag") {
    Erfassungsdaten_lesen(schlüssel);
    QString vorher(31, u' ');
    for (qsizetype e = 1; e < gMonatsEinträge.size(); ++e)
      if (gMonatsEinträge[e].section(u':', 0, 0).compare(tagBenutzer, Qt::CaseInsensitive) == 0)
        vorher = gMonatsEinträge[e].section(u':', 1);
    QString nachher = vorher;
    nachher[nummer - 1] = QChar(u'0' + anzahl);
    std::fputs("bereit\n", stdout);
    std::fflush(stdout);
    const QString los = qEnvironmentVariable("VELKORA_LOS");
    while (!los.isEmpty() && !QFile::exists(los)) QThread::usleep(200);
    ok = Monatsdatei_zeilen_speichern(
        schlüssel,
        QList<Monatszeile>{{QStringLiteral("A:") + tagBenutzer + u':' + nachher, Geänderte_Tage(vorher, nachher)}});
  } else if (modus == u"halten" || modus == u"abbruch") {
    signale::beimBeenden([] { programmende::beenden(0); });
    Monatssperre sperre(schlüssel);
    if (!sperre.gehalten()) return 2;
    std::fputs("bereit\n", stdout);
    std::fflush(stdout);
    if (modus == u"abbruch")
      Programmabbruch(QStringLiteral("Test"), QStringLiteral("Halt im Schreiben"), QStringLiteral("NoLog"));
    const QString los = qEnvironmentVariable("VELKORA_LOS");
    if (los.isEmpty()) return app.exec();
    // A save between its write and its deletion of the version it read.
    while (!QFile::exists(los)) QThread::usleep(1000);
    const QString weg = qEnvironmentVariable("VELKORA_LOESCHEN");
    if (!weg.isEmpty() && !QFile::remove(gDatenordner + weg)) return 2;
    return 0;
  } else if (modus == u"pruefen") {
    int n = 0;
    for (; Weiter(n, anzahl); ++n) Erfassungsdateien_checken();
    std::printf("geprueft %d\n", n);
  } else if (modus == u"sichern") {
    QDir().mkpath(gSicherungsordner);
    QDir().mkpath(gLogordner);
    int n = 0, ohne = 0;
    for (; Weiter(n, anzahl); ++n) {
      if (!Backup_erstellen(QStringLiteral("T")) || !Monat_gesichert(gSicherungsordner + gSicherungsdatei)) {
        ++ohne;
        std::vector<Sicherungsblock> blöcke;
        Sicherung_einlesen(gSicherungsordner + gSicherungsdatei, blöcke);
        QStringList namen;
        for (const Sicherungsblock& b : blöcke)
          if (b.name.startsWith(u"2603")) namen << b.name + QStringLiteral(" (%1)").arg(b.zeilen.size());
        std::fprintf(stderr, "Sicherung %d ohne Monat: %s: %s\n", n, gSicherungsdatei.toUtf8().constData(),
                     namen.join(QStringLiteral(", ")).toUtf8().constData());
      }
    }
    std::printf("gesichert %d ohne Monat %d\n", n, ohne);
    if (ohne > 0) return 4;
  } else if (modus == u"kompaktieren") {
    for (int j = 0; j < anzahl && ok; ++j) ok = Monatsdatei_kompaktieren(schlüssel);
  } else if (modus == u"lesen") {
    for (int j = 0; j < anzahl; ++j) Erfassungsdaten_lesen(schlüssel);
  } else if (modus == u"endlos") {
    QStringList zeilen;
    for (int i = 1; i < ids.size(); ++i) zeilen << QStringLiteral("A:") + ids[i] + u':' + Codes(i);
    ok = Monatsdatei_speichern(schlüssel, zeilen);
    if (!ok) return 2;
    std::fputs("bereit\n", stdout);
    std::fflush(stdout);
    for (int j = 0; ok; ++j) {
      ok = Monatsdatei_kompaktieren(schlüssel);
      if (ok)
        ok = Monatsdatei_speichern(schlüssel, {QStringLiteral("A:") + ids[1 + j % 2000] + u':' + Codes(j % 2000 + 1)});
    }
  } else {
    return 64;
  }
  for (const QString& t : skript.texte()) std::fprintf(stderr, "%s\n", t.toLocal8Bit().constData());
  if (!skript.texte().empty()) return 3;
  return ok ? 0 : 2;
}
