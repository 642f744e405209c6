#include "launch/Startfehler.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "launch/Programmsperre.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Programmende.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Datenordner.h"
#include "startup/Meldungen.h"
#include "startup/Monatsversion.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Einrichtung.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Monatsreparatur.h"
#include "store/Sicherung.h"

Reparaturdienste gReparaturdienste = Reparaturdienste_Standard();

namespace {

void Zustand_zurücksetzen() { gReparaturdienste = Reparaturdienste_Standard(); }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

struct Merker {
  bool& flag;
  bool alt;
  explicit Merker(bool& f) : flag(f), alt(f) { flag = true; }
  ~Merker() { flag = alt; }
};

// Runs f and ignores its failures; the planned end and a repair interruption pass.
template <class F>
void Ohne_Fehler(F&& f) {
  try {
    f();
  } catch (const ProgrammBeendet&) {
    throw;
  } catch (const Reparaturunterbrechung&) {
    throw;
  } catch (...) {
  }
}

// Runs one step of the repair; false when the step failed, with a run-time error or
// by reaching the error handler or the repair again.
template <class F>
bool Reparaturschritt(F&& f) {
  try {
    f();
    return true;
  } catch (const ProgrammBeendet&) {
    throw;
  } catch (const Reparaturunterbrechung&) {
  } catch (const std::exception&) {
  }
  FVerwerfen();
  return false;
}

void Logbuch(int art, const QString& text) { gAbbruchdienste.logbuch(art, text); }

// The bytes of a damaged month file, read before it is deleted: the repair keeps what
// can be read of them. A link is no month of the data folder.
QByteArray Monatsbytes(const QString& datei) {
  if (Ist_Verweis_Datei(datei)) return {};
  QFile f(datei);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool Keine_Administratoren() {
  return gAdministratoren.isEmpty() || gAdministratoren.first().compare(u"NoAdmins", Qt::CaseInsensitive) == 0;
}

}  // namespace

Reparaturdienste Reparaturdienste_Standard() {
  Reparaturdienste d;
  d.backup_erstellen = [](const QString& art) { return Backup_erstellen(art); };
  d.restore = [](const QString& s, const QString& f) { return Restore_aus_Backupdatei(s, f); };
  d.kopie = [](const QString& s, const QString& datei) { return Kopie_in_Sicherung(s, datei); };
  d.setup_datenordner = [] { Setup_Datenordner(); };
  d.datenverzeichnis_suchen = [] { Datenverzeichnis_suchen(); };
  d.konfigdaten_lesen = [] { Konfigdaten_lesen(); };
  d.monat_reparieren = [](const QString& datei, const QByteArray& roh) { return Monatsdatei_reparieren(datei, roh); };
  return d;
}

QStringList Sicherungen_vor_Programmstart(const QString& sicherungsordner) {
  if (sicherungsordner.isEmpty()) return {};
  static const QRegularExpression kName(QStringLiteral(R"(^\d{6} \d{6} [TMAE]\.dat$)"),
                                        QRegularExpression::CaseInsensitiveOption);
  const double seitStart = std::max(0.0, uhr::monoton() - gStartzeit);
  const QDateTime start = QDateTime(uhr::heute(), uhr::zeit()).addMSecs(-std::llround(seitStart * 1000.0));
  std::vector<std::pair<QDateTime, QString>> liste;
  for (const QString& name : Dateiliste(sicherungsordner, QStringLiteral("*.dat"))) {
    if (!kName.match(name).hasMatch()) continue;
    const QDateTime zeit = Dateizeit(sicherungsordner + name);
    if (!zeit.isValid() || zeit >= start) continue;
    liste.emplace_back(zeit, name);
  }
  // Of two with the same time the one listed later counts as the newer.
  std::reverse(liste.begin(), liste.end());
  std::stable_sort(liste.begin(), liste.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  QStringList r;
  for (const auto& [zeit, name] : liste) r << sicherungsordner + name;
  return r;
}

void Startfehler(const QString& text, const QString& datei, const QString& protokoll) {
  // Reached again from inside the repair (its own backup reading the damaged file,
  // the restore meeting a damaged backup): that step failed, no second repair.
  if (gReparaturLäuft) throw Reparaturunterbrechung{text};
  const bool ja =
      Frage(QStringLiteral("Es ist folgendes Problem aufgetreten:\r\r") + text +
            QStringLiteral("\r\rDas Programm kann jetzt versuchen, eine Standardversion der Datei "
                           "wiederherzustellen.\r\rMöchten Sie mit dem Wiederherstellen der Datei beginnen?"));
  if (!ja) Programmabbruch(QString(), QString(), QStringLiteral("NoLog"));

  Merker reparatur(gReparaturLäuft);
  const QString ende = QStringLiteral("Startfehler: ") + text;
  gStörungsmeldung = datei;
  const QString name = ShowDatei(datei);
  const bool monat = !datei.isEmpty() && Ist_Monatsdateiname(name);
  QByteArray roh;
  // A damaged month version goes and is written anew under the month's lock, as every
  // change of a month: another workstation's save of it, under way now, is waited for,
  // and none cuts in between.
  std::optional<Monatssperre> monatssperre;
  if (monat) monatssperre.emplace(Monatsversion::aus_Name(name).value().schlüssel().toString());
  if (!datei.isEmpty()) {
    FVerwerfen();
    if (!gSicherungsordner.isEmpty() &&
        Dateiliste(gSicherungsordner, gHeuteText + QStringLiteral("*F.dat")).isEmpty()) {
      bool ok = false;
      if (!Reparaturschritt([&] { ok = gReparaturdienste.backup_erstellen(QStringLiteral("F")); })) ok = false;
      FVerwerfen();
      if (!ok)
        Programmabbruch(QString(),
                        QStringLiteral("Wiederherstellen nicht möglich. Backup vor Wiederherstellen konnte nicht "
                                       "angelegt werden"),
                        QStringLiteral("NoLog"));
    }
    if (monat) roh = Monatsbytes(datei);
    Löschen(datei);
    if (Datei_vorhanden(datei))
      Programmabbruch(QString(),
                      QStringLiteral("Wiederherstellen nicht möglich. Die Datei ") + ShowPfad(datei, 100) +
                          QStringLiteral(" konnte nicht gelöscht werden. Löschen Sie die Datei manuell und starten "
                                         "Sie das Programm neu"),
                      text + QStringLiteral(" - Löschen der Datei fehlgeschlagen"));
  }

  if (!datei.isEmpty() && datei.compare(gBasisordner + QStringLiteral("Velkora.dat"), Qt::CaseInsensitive) == 0) {
    gDatenordner = gBasisordner + QStringLiteral("Data/");
    Reparaturschritt([] { gReparaturdienste.datenverzeichnis_suchen(); });
    Programmabbruch(QString(), QStringLiteral("Wiederherstellen beendet. Starten Sie das Programm jetzt neu"), ende);
  }

  QString einrichtungsfehler;
  try {
    gReparaturdienste.setup_datenordner();
  } catch (const Reparaturunterbrechung& u) {
    einrichtungsfehler = u.text;
  } catch (const std::exception& e) {
    if (istProgrammende(e)) throw;
    einrichtungsfehler = QString::fromUtf8(e.what());
  }
  // Without its default files the data folder cannot be used: stop with the reason.
  if (!einrichtungsfehler.isEmpty()) Programmabbruch(QString(), einrichtungsfehler, ende);

  Sperrdatei_schreiben(datei, protokoll);

  if (monat) {
    // A month keeps its entries: what can be read of it, or the newest backup's copy.
    bool ok = false;
    if (!Reparaturschritt([&] { ok = gReparaturdienste.monat_reparieren(datei, roh); })) ok = false;
    if (!ok)
      Ohne_Fehler([&] {
        Logbuch(2, QStringLiteral("Wiederherstellen der Datei ") + name + QStringLiteral(" aus Backup fehlgeschlagen"));
      });
  } else if (!datei.isEmpty() && !name.endsWith(QStringLiteral("Data.dat"), Qt::CaseInsensitive)) {
    gStörungsmeldung = name;
    const QString ordner = !gSicherungsordner.isEmpty() ? gSicherungsordner
                           : gDatenordner.isEmpty()     ? QString()
                                                        : gDatenordner + QStringLiteral("Backups/");
    // A copy that holds damage is never written back: the next older backup point is
    // looked at instead.
    bool heil = false, ok = false;
    for (const QString& sicherung : Sicherungen_vor_Programmstart(ordner)) {
      Kopie kopie = Kopie::Fehlt;
      if (!Reparaturschritt([&] { kopie = gReparaturdienste.kopie(sicherung, name); }) || kopie != Kopie::Heil)
        continue;
      heil = true;
      if (!Reparaturschritt([&] { ok = gReparaturdienste.restore(sicherung, name); })) ok = false;
      break;
    }
    if (!ok)
      Ohne_Fehler([&] {
        Logbuch(2, QStringLiteral("Wiederherstellen der Datei ") + name + QStringLiteral(" aus Backup fehlgeschlagen"));
      });
    if (!heil) Meldung(Keine_heile_Kopie_Meldung(name, Datei_vorhanden(datei)));
    if (name.compare(u"Konfigdaten.dat", Qt::CaseInsensitive) == 0)
      Reparaturschritt([] { gReparaturdienste.konfigdaten_lesen(); });
  }

  if (!Keine_Administratoren() && gBenutzerstufe != 2) {
    Programmabbruch(QString(),
                    QStringLiteral("Wiederherstellen beendet.\r\rDer Programmaufruf wird jetzt gesperrt und kann nur "
                                   "von einem der folgenden Administratoren wieder freigegeben werden: ") +
                        ShowAdmins(false),
                    ende);
  }
  Programmabbruch(
      QString(),
      QStringLiteral("Wiederherstellen beendet.\r\rStarten Sie das Programm jetzt neu und überprüfen Sie, ob alle "
                     "An-/Abwesenheitsdaten, Mitarbeiterdaten und Einstellungen vollständig und korrekt sind.\r\r"
                     "Möglicherweise ist es notwendig über 'Datei - Datenordner wiederherstellen' oder 'Datei - "
                     "Datenordner importieren' auf einen früheren Sicherungszeitpunkt zurückzusetzen"),
      ende);
}
