#include "store/Jahreswechsel.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <charconv>
#include <memory>
#include <vector>

#include "platform/Laufzeitfehler.h"
#include "platform/Programmende.h"
#include "platform/Text.h"
#include "platform/Umgebung.h"
#include "platform/Zustand.h"
#include "startup/Dateisperre.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Monatsversion.h"
#include "startup/Ordner.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "startup/Zeilencodierung.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Planungsfenster.h"
#include "store/Sicherung.h"
#include "store/Velkoraini.h"

bool gRückblick = false;
Haken<void()> gSicherungsauswahl_zeigen{"gSicherungsauswahl_zeigen"};

namespace {

// Held while a workstation moves the window on or back. Its name matches no pattern
// the program lists in the data folder.
const QString kSperrdatei = QStringLiteral("Velkora Jahreswechsel.lock");
// A year change reads all months and writes a backup of the whole folder: on a slow
// share that takes a while. A lock of another workstation older than this is taken as
// left behind by a crashed start (on this workstation a dead holder is seen at once).
constexpr int kSperreVeraltetMs = 120000;
constexpr int kSperreWartenMs = 150000;

const QString kKeineÄnderung = QStringLiteral("Vollständiges Wiederherstellen der Daten nicht möglich.");

QString gRückblickordner;
std::unique_ptr<QLockFile> gRückblickhalter;

void Zustand_zurücksetzen() {
  gRückblick = false;
  gRückblickordner.clear();
  gRückblickhalter.reset();
  gSicherungsauswahl_zeigen = nullptr;
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

QString zweistellig(int n) { return QStringLiteral("%1").arg(n % 100, 2, 10, QChar(u'0')); }

// A value of the employee table ("012,5" with the locale's separator) as a number; a
// value that is no number is a run-time error.
float Tageswert(const QString& feld) {
  QString s = text::trim(feld);
  if (!gDezimaltrennzeichen.isEmpty()) s.replace(gDezimaltrennzeichen.left(1), QStringLiteral("."));
  s.replace(u',', u'.');
  bool ok = false;
  const float f = s.toFloat(&ok);
  if (!ok) fehler::auslösen(fehler::kTypenUnverträglich);
  return f;
}

// A number as BenFormat reads it.
QString Zahltext(float wert) {
  char puffer[64];
  const auto [ende, ec] = std::to_chars(puffer, puffer + sizeof puffer, wert, std::chars_format::fixed);
  if (ec != std::errc()) fehler::auslösen(6);
  return QString::fromLatin1(puffer, ende - puffer);
}

// The months of a year that have a version in the data folder, by key.
QSet<QString> Monate_des_Jahres(int jahr) {
  const QHash<QString, Monatsversion> neueste =
      Neueste_Monatsversionen(Monatsversionen(gDatenordner, zweistellig(jahr) + QStringLiteral("*Data.dat")));
  return QSet<QString>(neueste.keyBegin(), neueste.keyEnd());
}

// The greatest writing date among the month files of the data folder; invalid when
// there is none.
QDate Letzte_Eingabe() {
  QString größtes;
  for (const Monatsversion& v : Monatsversionen(gDatenordner, QStringLiteral("*Data.dat")))
    if (v.tag() > größtes) größtes = v.tag().toString();
  return größtes.isEmpty() ? QDate() : FormatDatumSD(größtes);
}

// The lock of the data folder around a year change or its undo. Without the lock (a
// holder that never lets go) nothing is changed.
class Jahressperre {
 public:
  Jahressperre() : mSperre(gDatenordner + kSperrdatei) {
    Unechte_Sperre_entfernen(gDatenordner + kSperrdatei);
    mSperre.setStaleLockTime(kSperreVeraltetMs);
    // A holder killed between creating the lock and writing its name into it leaves an
    // empty lock, which would be waited for until it is stale: still empty after four
    // waits of half a second, it is no lock being taken.
    constexpr int kSchrittMs = 500;
    int leer = 0;
    for (int gewartet = 0; !mGehalten && gewartet < kSperreWartenMs; gewartet += kSchrittMs) {
      mGehalten = mSperre.tryLock(kSchrittMs);
      if (mGehalten) break;
      const QFileInfo fi(gDatenordner + kSperrdatei);
      leer = fi.exists() && fi.size() == 0 ? leer + 1 : 0;
      if (leer >= 4) {
        mSperre.removeStaleLockFile();
        leer = 0;
      }
    }
  }
  bool gehalten() const { return mGehalten; }

 private:
  QLockFile mSperre;
  bool mGehalten = false;
};

// The days of one vacation code of an employee row over a range (0 for no code).
float Tage(int knopf, const QDate& von, const QDate& bis, int zeile) {
  if (knopf == 0 || von > bis) return 0;
  return static_cast<float>(AnAbwesenheitstage(knopf, von, bis, zeile));
}

// Vacation taken over a range: full days count 1, half days 0.5.
float Urlaub_genommen(const QDate& von, const QDate& bis, int zeile) {
  return Tage(gSFUrlaub, von, bis, zeile) + Tage(gSFUrlaub2, von, bis, zeile) +
         Tage(gSFUrlaubHalb, von, bis, zeile) / 2.0f + Tage(gSFUrlaubHalb2, von, bis, zeile) / 2.0f;
}

// The carried-over vacation of every employee into the next planning year.
void Urlaub_übertragen() {
  const Urlaubsjahr jahr = Urlaubsjahr_des_Planungsjahrs(gPlanungsjahr, gUrlaubsjahrBeginn, gResturlaubVerfall);
  for (int i = 1; i <= Mitarbeiterzeilen(); ++i) {
    if (gBenutzerIDs[i].isEmpty()) continue;
    const QString& werte = gUrlaubsdaten[i];
    Urlaubsübertrag u;
    u.rest = Tageswert(werte.mid(0, 5));
    u.anspruch = Tageswert(werte.mid(6, 5));
    u.genommen = Urlaub_genommen(jahr.beginn, jahr.ende, i);
    u.verfall = jahr.verfall.isValid() && !gUrlaub1Leer;
    if (u.verfall) {
      u.gleicherMonat = gUrlaubsjahrBeginn == gResturlaubVerfall;
      u.vorVerfall = Urlaub_genommen(jahr.beginn, jahr.verfall.addDays(-1), i);
    }
    QString ansprüche = werte.mid(6, 23);
    if (!gDezimaltrennzeichen.isEmpty()) ansprüche.replace(gDezimaltrennzeichen.left(1), QStringLiteral(","));
    u.ohneAnspruch = ansprüche == u"000,0:000,0:000,0:000,0";
    gUrlaubsdaten[i] = Urlaubsdaten_nach_Jahreswechsel(werte, Neuer_Resturlaub(u));
  }
}

// Creates an empty file for every month of the new third year that has none. Under
// the month lock, so a month another workstation writes meanwhile is left alone.
void Leeren_Monat_anlegen(const QString& schlüssel) {
  Monatsdatei_umschreiben(
      schlüssel, true,
      [&](const std::optional<Monatsversion>& version, const QStringList&) -> std::optional<QStringList> {
        if (version) return std::nullopt;
        return QStringList{u'[' + schlüssel + u']', gKennzeile, QStringLiteral("NoEx:NoEx")};
      },
      false, false);
}

// The keys of the months of a year that have no file.
QStringList Fehlende_Monate(int jahr) {
  const QSet<QString> vorhanden = Monate_des_Jahres(jahr);
  QStringList fehlend;
  for (int monat = 1; monat <= 12; ++monat) {
    const QString schlüssel = zweistellig(jahr) + zweistellig(monat);
    if (!vorhanden.contains(schlüssel)) fehlend << schlüssel;
  }
  return fehlend;
}

// Which year change is under way, for its administrator lines that follow the commit:
// a change killed before the commit is redone, one killed after it completed, by the
// next start, and neither may lose a line or write one twice. Written before the first
// empty month is made, removed once the change is complete: its lines written and the
// months of the dropped year deleted. Its name matches no pattern the program lists (no
// backup takes it along).
const QString kStanddatei = QStringLiteral("Velkora Jahreswechsel.stand");
const QString kStandkopf = QStringLiteral("[Jahreswechsel]");

struct Wechselstand {
  int jahr = 0;      // the planning year the change moves to; 0 for none
  QString begonnen;  // yymmdd of the day the change was first tried
};

Wechselstand Wechselstand_lesen() {
  const QString pfad = gDatenordner + kStanddatei;
  if (!Datei_vorhanden(pfad)) return {};
  const std::optional<QStringList> z = Alle_Zeilen_lesen_wie(
      pfad, {.leer = Leerzeilenart::Unlesbar, .ganz = true, .kopf = kStandkopf, .fehlerIgnorieren = true});
  // Damaged, it tells nothing: the change is redone or completed without it. One left
  // by an earlier version has a line between year and day, whether it made empty months,
  // which the lines no longer depend on.
  if (!z || (z->size() != 3 && z->size() != 4)) return {};
  const QString& jahr = z->at(1);
  const QString& begonnen = z->last();
  if (!text::nurZiffern(jahr) || jahr.size() != 4 || !text::nurZiffern(begonnen) || begonnen.size() != 6) return {};
  return {jahr.toInt(), begonnen};
}

void Wechselstand_schreiben(const Wechselstand& s) {
  Alle_Zeilen_schreiben(gDatenordner + kStanddatei, {kStandkopf, QString::number(s.jahr), s.begonnen});
}

// Whether an administrator line with this text stands in a logbook of the log folder
// from the month `seit` (yymmdd) to this month.
bool Im_Logbuch(const QString& text, const QString& seit) {
  const QDate heute(gHeute.year(), gHeute.month(), 1);
  QDate monat = FormatDatumSD(seit);
  monat = monat.isValid() && monat <= heute ? QDate(monat.year(), monat.month(), 1) : heute;
  const QString ende = QStringLiteral("|VelkoraAdmin|") + text;
  for (; monat <= heute; monat = monat.addMonths(1)) {
    const QString pfad =
        gLogordner + zweistellig(monat.year()) + zweistellig(monat.month()) + QStringLiteral(" Velkora.log");
    // An empty one (a first line's append killed) holds no line, and is no file being
    // written to wait for.
    if (!Datei_vorhanden(pfad) || Dateigröße(pfad) <= 0) continue;
    const std::optional<QStringList> zeilen =
        Alle_Zeilen_lesen_wie(pfad, {.leer = Leerzeilenart::Auslassen, .fehlerIgnorieren = true});
    if (!zeilen) continue;
    for (const QString& z : *zeilen)
      if (z.endsWith(ende)) return true;
  }
  return false;
}

// The administrator lines of a change that has taken the new year, in their order; the
// completion of a change killed after its commit writes only those its logbook lacks.
// The line on the empty months stands for every change, also for one that found all
// twelve there (made by a change undone after the system date was set back, or by an
// earlier try killed before its commit): the third year's months are complete either way.
void Wechsel_melden(const Wechselstand& s, bool nachholen) {
  const QString durchgeführt =
      QStringLiteral("Jahreswechsel durchgeführt, aktuelles Jahr ") + QString::number(s.jahr + 1);
  const QString angelegt =
      QStringLiteral("Leere Erfassungsdateien für ") + QString::number(s.jahr + 2) + QStringLiteral(" angelegt");
  if (!nachholen || !Im_Logbuch(durchgeführt, s.begonnen)) Logbuch_ergänzen(2, durchgeführt);
  if (!nachholen || !Im_Logbuch(angelegt, s.begonnen)) Logbuch_ergänzen(2, angelegt);
}

// What the deletion of the months of dropped years found and did.
struct Alte_Monate {
  bool monatsdateien = false;  // the data folder holds a month file
  int gelöscht = 0;            // months deleted
  bool alle = true;            // every month of those years deleted (false: a lock not had)
};

// Deletes every month of the year `bis` and before, each with every name of its
// pattern and under its month lock, so that the deletion never cuts through another
// workstation's save of that month; a save that comes after it finds no version and
// the employee file's new window, and is refused. A month whose lock is not had within
// the writers' wait stays for the next try.
Alte_Monate Alte_Monate_löschen(int bis) {
  Alte_Monate r;
  const QList<Monatsversion> versionen = Monatsversionen(gDatenordner, QStringLiteral("*Data.dat"));
  r.monatsdateien = !versionen.isEmpty();
  const QHash<QString, Monatsversion> neueste = Neueste_Monatsversionen(versionen);
  QStringList monate;
  for (auto it = neueste.cbegin(); it != neueste.cend(); ++it)
    if (it.value().jahr() <= bis) monate << it.key();
  monate.sort();
  for (const QString& schlüssel : monate) {
    const Monatssperre sperre(schlüssel);
    if (!sperre.gehalten()) {
      r.alle = false;
      continue;
    }
    // Listed again inside the lock: a save just before may have made a new version.
    QStringList andere;
    for (const Monatsversion& v : Monatsversionen_des_Monats(gDatenordner, schlüssel, &andere))
      Löschen(gDatenordner + v.name());
    for (const QString& name : andere) Löschen(gDatenordner + name);
    ++r.gelöscht;
  }
  return r;
}

// What the start finds of a year change to complete.
struct Halber_Wechsel {
  bool vollenden = false;  // something is left to do
  bool sperre = false;     // the year-change lock was there: a change killed, or one running now
};

// A year change killed half-way, as the next start finds it: its lock left behind, its
// note, or a month of the new third year missing. A month of a dropped year still there
// is removed as well, but tells of no aborted change by itself: a workstation started
// before the change may have written it afterwards (a program version that did not yet
// refuse that).
Halber_Wechsel Halber_Jahreswechsel() {
  Halber_Wechsel h;
  h.sperre = Datei_vorhanden(gDatenordner + kSperrdatei);
  if (h.sperre || Datei_vorhanden(gDatenordner + kStanddatei)) {
    h.vollenden = true;
    return h;
  }
  const QList<Monatsversion> versionen = Monatsversionen(gDatenordner, QStringLiteral("*Data.dat"));
  QSet<QString> drittes;
  for (const Monatsversion& v : versionen) {
    if (v.jahr() < gPlanungsjahr) h.vollenden = true;
    if (v.jahr() == gPlanungsjahr + 2) drittes.insert(v.schlüssel().toString());
  }
  h.vollenden = h.vollenden || drittes.size() < 12;
  return h;
}

// Completes a change whose employee file took the new planning year: the missing empty
// months of the new third year, the dropped year's months deleted. A month the
// year-change backup holds is never made anew as an empty one (nor is any month when
// that backup is missing): that is a damaged folder, left to the start check.
// `sperreVorgefunden`: the start found the year-change lock before it took it.
void Jahreswechsel_vollenden_gesperrt(bool sperreVorgefunden) {
  Mitarbeiterdaten_lesen();
  // A change that took the new year gets the lines it did not write; the note of one
  // not yet taken stays for its redo; any other goes once nothing is left to do.
  const bool standDa = Datei_vorhanden(gDatenordner + kStanddatei);
  const Wechselstand stand = Wechselstand_lesen();
  if (stand.jahr == gPlanungsjahr) Wechsel_melden(stand, true);
  const int drittes = gPlanungsjahr + 2;
  const QStringList j = Dateiliste(gSicherungsordner, zweistellig(gPlanungsjahr + 1) + QStringLiteral("*J.dat"));
  if (!j.isEmpty()) {
    std::vector<Sicherungsblock> blöcke;
    QSet<QString> gesichert;
    if (Sicherung_einlesen(gSicherungsordner + j.last(), blöcke)) {
      for (const Sicherungsblock& b : blöcke)
        if (const std::optional<Monatsversion> v = Monatsversion::aus_Name(b.name))
          gesichert.insert(v->schlüssel().toString());
      const QSet<QString> vorhanden = Monate_des_Jahres(drittes);
      bool angelegt = false;
      for (int monat = 1; monat <= 12; ++monat) {
        const QString schlüssel = zweistellig(drittes) + zweistellig(monat);
        if (vorhanden.contains(schlüssel) || gesichert.contains(schlüssel)) continue;
        Leeren_Monat_anlegen(schlüssel);
        angelegt = true;
      }
      if (angelegt)
        Logbuch_ergänzen(2, QStringLiteral("Leere Erfassungsdateien für ") + QString::number(drittes) +
                                QStringLiteral(" nach abgebrochenem Jahreswechsel angelegt"));
    }
  }
  // Months of dropped years are the remains of an aborted change only when it left its
  // lock or its note. Any other was written after the change, by a workstation started
  // before it with a program version that did not refuse that: it goes without a line,
  // as it lies outside the window and is never read, and left there it would keep the
  // undo of the change from writing that month back from the year-change backup.
  const bool abgebrochen = sperreVorgefunden || standDa;
  const Alte_Monate alt = Alte_Monate_löschen(gPlanungsjahr - 1);
  if (abgebrochen && alt.gelöscht > 0)
    Logbuch_ergänzen(2, QStringLiteral("Erfassungsdateien des Jahres ") + QString::number(gPlanungsjahr - 1) +
                            QStringLiteral(" und älter nach abgebrochenem Jahreswechsel gelöscht"));
  if (standDa && stand.jahr != gPlanungsjahr + 1 && alt.alle) Löschen(gDatenordner + kStanddatei);
}

// The year change proper, under the lock.
bool Jahr_wechseln_gesperrt() {
  // Another workstation may have moved the window on while this one waited.
  const int vorher = gPlanungsjahr;
  Mitarbeiterdaten_lesen();
  if (gPlanungsjahr != vorher || gPlanungsjahr + 1 >= gHeute.year()) {
    Feiertage_berechnen();
    return gPlanungsjahr > vorher;
  }
  if (!Backup_erstellen(QStringLiteral("J"))) {
    Logbuch_ergänzen(2, QStringLiteral("Jahreswechsel nicht durchgeführt, da Backup nicht erstellt werden konnte"));
    return false;
  }
  Alle_Erfassungsdaten_einlesen(false);
  Urlaub_übertragen();

  // The employee file is the commit point: the new year's empty months come first (a
  // change killed before the commit is redone from the start, finding them there), the
  // dropped year's months go only after it (deleted before, a re-run would count no
  // vacation taken in them). The lines saying so can only follow the commit; the change
  // is noted before the first month is made, so that the one that finishes it, this
  // start's redo or the next start's completion, knows since when its lines may stand.
  Wechselstand stand = Wechselstand_lesen();
  if (stand.jahr != gPlanungsjahr + 1) stand = {gPlanungsjahr + 1, gHeuteText};
  const QStringList fehlend = Fehlende_Monate(gPlanungsjahr + 3);
  Wechselstand_schreiben(stand);
  {
    const Fenster_des_Jahreswechsels fenster(gPlanungsjahr + 1);
    for (const QString& schlüssel : fehlend) Leeren_Monat_anlegen(schlüssel);
  }
  gPlanungsjahr += 1;
  if (!Mitarbeiterdaten_schreiben(QStringLiteral("IgnoreErrors"))) {
    Logbuch_ergänzen(
        2, QStringLiteral("Jahreswechsel nicht durchgeführt, da Schreiben der Mitarbeiterdaten nicht möglich"));
    Mitarbeiterdaten_lesen();
    return false;
  }
  Wechsel_melden(stand, false);
  // The note stays until the dropped year is gone: a change killed during the deletion
  // is completed by the next start, which tells of it.
  const Alte_Monate alt = Alte_Monate_löschen(gPlanungsjahr - 1);
  if (alt.alle) {
    if (alt.monatsdateien)
      Logbuch_ergänzen(2, QStringLiteral("Erfassungsdateien des Jahres ") + QString::number(gPlanungsjahr - 1) +
                              QStringLiteral(" und älter gelöscht"));
    Löschen(gDatenordner + kStanddatei);
  }

  Mitarbeiterdaten_lesen();
  Feiertage_berechnen();
  if (Setting(13) == 1) {
    SetSetting(13, 0);
    Konfigdaten_schreiben();
  }
  return true;
}

// ---------------------------------------------------------------------------------
// The undo after the system date was set back.

// Ends the undo for want of a usable backup: it is not tried again at later starts
// until a year change succeeds.
void Wiederherstellung_abbrechen(const QString& text) {
  Meldung(text);
  SetSetting(13, 1);
  Konfigdaten_schreiben();
}

// Writes a month of the backup back when its month has no file now.
void Monat_zurückschreiben(const Sicherungsblock& b, const Monatsversion& version) {
  const QString schlüssel = version.schlüssel().toString();
  Monatssperre sperre(schlüssel);
  if (!sperre.gehalten() || Aktuelle_Erfassungsdatei(schlüssel)) return;
  QStringList zeilen = b.zeilen;
  if (zeilen.size() > 1) zeilen[1] = gKennzeile;
  Alle_Zeilen_schreiben(gDatenordner + b.name, zeilen);
}

// The employee line of the backup brought to the current layout (decimals, special
// leave and the unused fields).
QString Lange_Zeile(const QString& z) {
  if (z.mid(23, 1) == u",") return z;
  return z.left(23) + QStringLiteral(",0") + z.mid(23, 4) + QStringLiteral(",0") + z.mid(27, 4) + QStringLiteral(",0") +
         z.mid(31, 4) + QStringLiteral(",0:000,0:000,0:000,0:000,0") + z.mid(35);
}

// Takes the planning year and each employee's values of the old first year back from
// the employee file of a year-change backup.
void Mitarbeiter_zurücknehmen(const Sicherungsblock& b) {
  gPlanungsjahr = text::zahl(b.zeilen.value(2));
  const QString trenner = gDezimaltrennzeichen.isEmpty() ? QStringLiteral(",") : gDezimaltrennzeichen.left(1);
  for (qsizetype k = 3; k < b.zeilen.size(); ++k) {
    const QString& zeile = b.zeilen[k];
    for (int i = 1; i <= Mitarbeiterzeilen(); ++i) {
      if (gBenutzerIDs[i].isEmpty() || !zeile.endsWith(u':' + gBenutzerIDs[i], Qt::CaseInsensitive)) continue;
      QString alt = Lange_Zeile(zeile).mid(14, 12);
      alt.replace(u',', trenner);
      gUrlaubsdaten[i] = alt + gUrlaubsdaten[i].mid(6, 17);
    }
  }
  Mitarbeiterdaten_schreiben();
}

// Undoes the year change that produced the current planning year; false when the
// undo has to stop (the user has been told).
bool Jahreswechsel_zurücknehmen() {
  const QString muster = zweistellig(gPlanungsjahr + 1) + QStringLiteral("*J.dat");
  const QStringList treffer = Dateiliste(gSicherungsordner, muster);
  if (treffer.isEmpty()) {
    Wiederherstellung_abbrechen(QStringLiteral("Backupdatei ") + ShowPfad(gSicherungsordner + muster, 100) +
                                QStringLiteral(" nicht gefunden. ") + kKeineÄnderung);
    return false;
  }
  // The newest, should the year change have been made more than once.
  const QString pfad = gSicherungsordner + treffer.last();
  std::vector<Sicherungsblock> blöcke;
  const Sicherungsblock* mitarbeiter = nullptr;
  if (Sicherung_einlesen(pfad, blöcke)) {
    for (const Sicherungsblock& b : blöcke)
      if (b.name.compare(QStringLiteral("Mitarbeiterdaten.dat"), Qt::CaseInsensitive) == 0) mitarbeiter = &b;
  }
  // Without its employee file (or with one that does not go back a year) the backup
  // cannot move the window back: the undo would repeat for ever.
  if (!mitarbeiter || mitarbeiter->zeilen.size() < 3 || text::zahl(mitarbeiter->zeilen[2]) >= gPlanungsjahr) {
    Wiederherstellung_abbrechen(QStringLiteral("Backupdatei ") + ShowPfad(pfad, 100) +
                                QStringLiteral(" konnte nicht ausgewertet werden. ") + kKeineÄnderung);
    return false;
  }
  for (const Sicherungsblock& b : blöcke)
    if (const std::optional<Monatsversion> v = Monatsversion::aus_Name(b.name)) Monat_zurückschreiben(b, *v);
  Mitarbeiter_zurücknehmen(*mitarbeiter);
  Logbuch_ergänzen(
      2, QStringLiteral("Jahreswechsel rückgängig gemacht, aktuelles Jahr ") + QString::number(gPlanungsjahr + 1));
  return true;
}

// ---------------------------------------------------------------------------------
// Look-back mode.

// The look-back set is a folder of its own that the run creates in the temporary
// folder; its lock tells a set of a running look-back from one a killed run left.
const QString kRückblickpräfix = QStringLiteral("Velkora Rueckblick ");
const QString kRückblicksperre = QStringLiteral("Velkora Rueckblick.lock");

// A folder with links resolved (the folder itself or its nearest existing parent),
// lower case, ending in "/".
QString Aufgelöst(const QString& ordner) {
  QString o = QFileInfo(QDir::cleanPath(ordner)).absoluteFilePath();
  QString rest;
  while (!o.isEmpty() && QFileInfo(o).canonicalFilePath().isEmpty()) {
    const qsizetype schnitt = o.lastIndexOf(u'/');
    if (schnitt <= 0) break;
    rest = o.mid(schnitt) + rest;
    o = o.left(schnitt);
  }
  const QString echt = QFileInfo(o).canonicalFilePath();
  return umgebung::mitSchrägstrich(QDir::cleanPath((echt.isEmpty() ? o : echt) + rest)).toLower();
}

// Whether one folder lies in the other (or is it), after resolving links.
bool Überschneiden(const QString& a, const QString& b) {
  if (a.isEmpty() || b.isEmpty()) return false;
  const QString x = Aufgelöst(a), y = Aufgelöst(b);
  return x.startsWith(y) || y.startsWith(x);
}

// Removes a folder and everything below it without following any link: a link inside
// is removed as a link, never what it points to.
bool Baum_entfernen(int elternFd, const QByteArray& name) {
  const int fd = ::openat(elternFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return false;
  }
  bool ok = true;
  while (const dirent* e = ::readdir(dir)) {
    const QByteArray n(e->d_name);
    if (n == "." || n == "..") continue;
    struct stat st {};
    if (::fstatat(fd, n.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(st.st_mode))
      ok = Baum_entfernen(fd, n) && ok;
    else
      ok = ::unlinkat(fd, n.constData(), 0) == 0 && ok;
  }
  ::closedir(dir);
  return ::unlinkat(elternFd, name.constData(), AT_REMOVEDIR) == 0 && ok;
}

bool Ordner_entfernen(const QString& ordner) {
  QString o = ordner;
  while (o.endsWith(u'/')) o.chop(1);
  const QFileInfo fi(o);
  const int eltern = ::open(QFile::encodeName(fi.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (eltern < 0) return false;
  const bool ok = Baum_entfernen(eltern, QFile::encodeName(fi.fileName()));
  ::close(eltern);
  return ok;
}

// Look-back sets of this user that no running look-back holds (left by a killed run).
void Verwaiste_Rückblicke_entfernen(const QString& temp) {
  const QDir d(temp);
  for (const QString& name :
       d.entryList({kRückblickpräfix + u'*'}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
    const QString pfad = temp + name + u'/';
    if (!umgebung::eigenerOrdner(pfad)) continue;
    QLockFile sperre(pfad + kRückblicksperre);
    if (!sperre.tryLock(0)) continue;
    sperre.unlock();
    Ordner_entfernen(pfad);
  }
}

// Creates this run's look-back set: a new owner-only folder of a name that did not
// exist; the program ends when it cannot.
QString Rückblicksatz_anlegen() {
  Tempordner_prüfen(gTempOrdner);
  Verwaiste_Rückblicke_entfernen(gTempOrdner);
  QByteArray muster = QFile::encodeName(gTempOrdner + kRückblickpräfix + QStringLiteral("XXXXXX"));
  if (!::mkdtemp(muster.data()))
    Programmabbruch(QString(),
                    QStringLiteral("Der Datenrückblick ist nicht möglich, da im Ordner ") + ShowPfad(gTempOrdner, 100) +
                        QStringLiteral(" kein Ordner angelegt werden kann"),
                    QStringLiteral("NoLog"));
  const QString ordner = QFile::decodeName(muster) + u'/';
  gRückblickordner = ordner;
  gRückblickhalter = std::make_unique<QLockFile>(ordner + kRückblicksperre);
  gRückblickhalter->setStaleLockTime(0);
  gRückblickhalter->tryLock(0);
  for (const char* unter : {"Logs", "Backups", "IniFiles"})
    ::mkdir(QFile::encodeName(ordner + QString::fromLatin1(unter)).constData(), 0700);
  return ordner;
}

}  // namespace

float Neuer_Resturlaub(const Urlaubsübertrag& u) {
  float neu = u.anspruch + u.rest - u.genommen;
  if (u.verfall) {
    float verfallen = u.rest - (u.gleicherMonat ? 0.0f : u.vorVerfall);
    if (verfallen < 0) verfallen = 0;
    neu -= verfallen;
  }
  if (u.ohneAnspruch) neu = 0;
  return neu;
}

Urlaubsjahr Urlaubsjahr_des_Planungsjahrs(int planungsjahr, int beginnMonat, int verfallMonat) {
  Urlaubsjahr j;
  const int beginn = beginnMonat >= 1 && beginnMonat <= 12 ? beginnMonat : 1;
  j.beginn = QDate(planungsjahr, beginn, 1);
  j.ende = QDate(planungsjahr + 1, beginn, 1).addDays(-1);
  if (verfallMonat >= 1 && verfallMonat <= 12)
    j.verfall = QDate(verfallMonat < beginn ? planungsjahr + 1 : planungsjahr, verfallMonat, 1);
  return j;
}

QString Urlaubsdaten_nach_Jahreswechsel(const QString& alt, float neuerRest) {
  return BenFormat(Zahltext(neuerRest)) + u':' + alt.mid(12, 5) + u':' + alt.mid(18, 5) + u':' + alt.mid(24, 5) + u':' +
         BenFormat(QStringLiteral("0"));
}

bool Jahreswechsel() {
  return Prozedur(QStringLiteral("modVelkora - Jahreswechsel"), [&]() -> bool {
    if (gStörungAnzeigen) {
      const QDate letzte = Letzte_Eingabe();
      if (letzte.isValid() && letzte.daysTo(gHeute) > 24 &&
          !Frage(QStringLiteral(
                     "Achtung! Es wurde ein neues Jahr erkannt und die letzte Eingabe von An-/Abwesenheitszeiten "
                     "liegt mehr als vier Wochen zurück. Diese Meldung erhalten Sie sicherheitshalber, um ein "
                     "irrtümliches Verstellen des Systemdatums auszuschließen.\r\rAktuelles Systemdatum ist der ") +
                 Datum_lang(gHeute) + QStringLiteral(". Ist dies richtig?"))) {
        Programmabbruch(QString(),
                        QStringLiteral("Stellen Sie das Systemdatum korrekt ein und starten Sie den Velkora erneut"),
                        QStringLiteral("NoLog"));
      }
    }
    Jahressperre sperre;
    if (!sperre.gehalten()) {
      Logbuch_ergänzen(
          2, QStringLiteral("Jahreswechsel nicht durchgeführt, da ein anderer Arbeitsplatz den Datenordner sperrt"));
      return false;
    }
    return Jahr_wechseln_gesperrt();
  });
}

void Jahreswechsel_vollenden() {
  Prozedur(QStringLiteral("modVelkora - Jahreswechsel_vollenden"), [&] {
    if (gRückblick) return;
    const Halber_Wechsel halb = Halber_Jahreswechsel();
    if (!halb.vollenden) return;
    // The lock of a workstation that is gone is taken over; one still running a change
    // finishes it itself.
    Jahressperre sperre;
    if (sperre.gehalten()) Jahreswechsel_vollenden_gesperrt(halb.sperre);
  });
}

bool Jahreswechsel_nachholen() {
  while (gPlanungsjahr + 1 < gHeute.year()) {
    if (!Jahreswechsel()) return false;
  }
  return true;
}

void Datumskorruption() {
  Prozedur(QStringLiteral("modVelkora - Datumskorruption"), [&] {
    // A look at a backup changes nothing, not even its own copy.
    if (gRückblick) return;
    if (Setting(13) == 1 || gHeuteText.endsWith(QStringLiteral("1231"))) return;
    const QString von = QString::number(gPlanungsjahr + 1);
    const QString auf = QString::number(gHeute.year());
    if (!Frage(QStringLiteral("Datumskorruption erkannt!\r\rDas Systemdatum wurde seit dem letzten Programmaufruf von "
                              "einem Datum des Jahres ") +
               von + QStringLiteral(" auf ein Datum des Jahres ") + auf +
               QStringLiteral(
                   " zurückgestellt. Das Datum kann auch auf einem anderen Rechner in Ihrem Netzwerk zurückgestellt "
                   "worden sein.\r\rAktuelles Datum dieses Rechners ist der ") +
               Datum_lang(gHeute) + QStringLiteral(".\r\rIst dies das korrekte heutige Datum?"))) {
      Programmabbruch(QString(), QStringLiteral("Stellen Sie das Datum auf Ihrem Rechner korrekt ein"),
                      QStringLiteral("NoLog"));
    }
    QString zweite = QStringLiteral(
        "Ist das Datum auf allen Rechnern, die den Velkora nutzen, richtig eingestellt?\r\rWenn Sie nicht sicher "
        "sind, beenden Sie das Programm über die Schaltfläche 'Nein' und kontrollieren Sie das Datum der "
        "angeschlossenen Rechner.");
    if (gBenutzerstufe < 2)
      zweite += QStringLiteral("\r\rBitten Sie ggf. einen der folgenden Administratoren um Unterstützung: ") +
                ShowAdmins(false);
    if (!Frage(zweite)) Programmabbruch(QString(), QString(), QStringLiteral("NoLog"));
    Logbuch_ergänzen(2, QStringLiteral("Datumskorruption erkannt! Systemdatum wurde von ") + von +
                            QStringLiteral(" auf ") + auf + QStringLiteral(" zurückgestellt"));
    const QString unbrauchbar =
        QStringLiteral("Möglicherweise wurden durch das Rückstellen des Datums Daten unbrauchbar. ");
    if (gBenutzerstufe == 2) {
      Meldung(unbrauchbar + QStringLiteral("Der Velkora versucht jetzt diese Daten wiederherzustellen. Wenn Sie keine "
                                           "weitere Meldung mehr erhalten, konnte dies erfolgreich durchgeführt "
                                           "werden."));
    } else {
      Programmabbruch(QString(),
                      unbrauchbar +
                          QStringLiteral("Der Velkora kann diese Daten möglicherweise wiederherstellen. Dazu müssen "
                                         "Sie einen der folgenden Administratoren bitten, das Programm zu starten: ") +
                          ShowAdmins(false),
                      QStringLiteral("NoLog"));
    }

    Jahressperre sperre;
    if (!sperre.gehalten()) return;
    // Another workstation may have undone the year changes while this one asked.
    Mitarbeiterdaten_lesen();
    while (gPlanungsjahr >= gHeute.year()) {
      if (!Jahreswechsel_zurücknehmen()) break;
    }
    // The window has moved back: its first year needs its holidays.
    Feiertage_berechnen();
  });
}

QString Rückblickordner() { return gRückblickordner; }

void Datenrückblick() {
  Prozedur(QStringLiteral("modVelkora - Datenrückblick"), [&] {
    gRückblick = true;
    QString datei;
    const QString name = Aufrufparameter(QStringLiteral("lookback"));
    if (!name.isEmpty()) {
      // By now the start has moved into the temporary folder; the name means the folder
      // the program was started in.
      const QString start = gStartordner.isEmpty() ? QDir::currentPath() : gStartordner;
      datei = QDir(start).absoluteFilePath(name);
      if (!QFileInfo(datei).isFile()) {
        if (QFileInfo(datei + QStringLiteral(".vel")).isFile())
          datei += QStringLiteral(".vel");
        else if (QFileInfo(datei + QStringLiteral(".dat")).isFile())
          datei += QStringLiteral(".dat");
        else
          Programmabbruch(QString(),
                          QStringLiteral("Die Datei ") + ShowPfad(datei, 100) + QStringLiteral(" wurde nicht gefunden"),
                          QStringLiteral("NoLog"));
      }
    } else {
      const QStringList jahr = Dateiliste(gSicherungsordner, QStringLiteral("*J.dat"));
      gSicherungsdatei.clear();
      if (jahr.size() == 1)
        gSicherungsdatei = jahr.first();
      else
        gSicherungsauswahl_zeigen();
      if (gSicherungsdatei.isEmpty()) programmende::beenden(0);
      datei = gSicherungsordner + gSicherungsdatei;
    }

    const QString daten = Rückblicksatz_anlegen();
    // A temporary folder inside one of the folders of the real data would put the set
    // among the real files.
    for (const QString& echt : {gDatenordner, gLogordner, gSicherungsordner, gIniOrdner}) {
      if (Überschneiden(daten, echt)) {
        Rückblickordner_entfernen();
        Programmabbruch(QString(),
                        QStringLiteral("Der Datenrückblick ist nicht möglich, da der Ordner ") + ShowPfad(daten, 100) +
                            QStringLiteral(" zu den Ordnern der Daten gehört"),
                        QStringLiteral("NoLog"));
      }
    }
    Verzeichnis_wechseln(gTempOrdner);

    // The user's own settings (window placement, colours) as a copy: nothing of this
    // run is written back to the real ini folder.
    const QString ini = Velkoraini_Dateiname(gBenutzername);
    const QString iniEcht = gIniOrdner + ini;
    gDatenordner = daten;
    gLogordner = daten + QStringLiteral("Logs/");
    gSicherungsordner = daten + QStringLiteral("Backups/");
    gIniOrdner = daten + QStringLiteral("IniFiles/");
    if (Datei_vorhanden(iniEcht)) QFile::copy(iniEcht, gIniOrdner + ini);

    if (!Restore_aus_Backupdatei(datei, QString())) programmende::beenden(1);
  });
}

void Rückblickordner_entfernen() {
  if (gRückblickordner.isEmpty()) return;
  if (!gTempOrdner.isEmpty()) QDir::setCurrent(gTempOrdner);
  const QString ordner = gRückblickordner;
  gRückblickordner.clear();
  // The set is this run's own folder: everything in it was written by this run.
  if (gRückblickhalter) gRückblickhalter->unlock();
  gRückblickhalter.reset();
  Ordner_entfernen(ordner);
}
