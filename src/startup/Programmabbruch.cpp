#include "startup/Programmabbruch.h"

#include <QRegularExpression>
#include <cmath>

#include "platform/Laufzeitfehler.h"
#include "platform/Programmende.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Datenordner.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Einrichtung.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Sicherung.h"

QString gStörungsmeldung;
QString gSperrmeldung;
QString gSperrzeit;
Abbruchdienste gAbbruchdienste = Abbruchdienste_Standard();

namespace {

const QString kSperrdatei = QStringLiteral("Lockfile.txt");

// A stop or the error handler is running: errors of its own (a failing logbook line,
// a failing message) are ignored instead of starting another stop.
bool gAbbruchLäuft = false;
// The start repair is running: a failure inside it must not start a second repair.
bool gReparaturLäuft = false;

// Thrown when the error handler or the repair is reached again from inside the
// repair. Deliberately no std::exception, so that no procedure wrapper on the way
// takes it for an ordinary run-time error.
struct Reparaturunterbrechung {
  QString text;
};

void Zustand_zurücksetzen() {
  gStörungsmeldung.clear();
  gSperrmeldung.clear();
  gSperrzeit.clear();
  gAbbruchLäuft = false;
  gReparaturLäuft = false;
  gAbbruchdienste = Abbruchdienste_Standard();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

// The central handler is reached from every procedure wrapper.
const bool kHandlerInstalliert = [] {
  setzeFehlerbehandlung(&Programmabbruch_Fehler);
  return true;
}();

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

QString Zweistellig(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }

void Logbuch(int art, const QString& text) {
  if (gAbbruchdienste.logbuch) gAbbruchdienste.logbuch(art, text);
}

bool Keine_Administratoren() {
  return gAdministratoren.isEmpty() || gAdministratoren.first().compare(u"NoAdmins", Qt::CaseInsensitive) == 0;
}

void Sperrdatei_schreiben(const QString& datei, const QString& protokoll) {
  const QString pfad = gDatenordner + kSperrdatei;
  if (Datei_vorhanden(pfad)) return;
  try {
    if (!FOpen(pfad, QStringLiteral("Output"), QStringLiteral("IgnoreErrors"))) return;
    LineOutPlain(QStringLiteral("Wegen Wartungsarbeiten Programmaufruf zurzeit nicht möglich|") + gBenutzername);
    LineOutPlain(datei.isEmpty() ? QStringLiteral("NoFile ") + protokoll : datei);
    const QTime jetzt = uhr::zeit();
    LineOutPlain(FormatDatumDA(gHeute.isValid() ? gHeute : uhr::heute()) + u'|' + Zweistellig(jetzt.hour()) + u':' +
                 Zweistellig(jetzt.minute()));
    FClose();
  } catch (const ProgrammBeendet&) {
    throw;
  } catch (...) {
    FVerwerfen();
  }
}

}  // namespace

Abbruchdienste Abbruchdienste_Standard() {
  Abbruchdienste d;
  d.logbuch = [](int art, const QString& text) { Logbuch_ergänzen(art, text); };
  d.backup_erstellen = [](const QString& art) { return Backup_erstellen(art); };
  d.restore = [](const QString& s, const QString& f) { return Restore_aus_Backupdatei(s, f); };
  d.setup_datenordner = [] { Setup_Datenordner(); };
  d.datenverzeichnis_suchen = [] { Datenverzeichnis_suchen(); };
  d.konfigdaten_lesen = [] { Konfigdaten_lesen(); };
  return d;
}

QString Programmversion() {
  return QStringLiteral("%1.%2.%3").arg(VELKORA_VERSION_MAJOR).arg(VELKORA_VERSION_MINOR).arg(VELKORA_VERSION_PATCH);
}

void Pause(double s) {
  (void)kHandlerInstalliert;
  if (s >= 0) {
    uhr::schlafen(std::round(s * 1000.0) / 1000.0);
    return;
  }
  const double rest = -s - (uhr::monoton() - gStartzeit);
  if (rest < 0) return;
  uhr::schlafen(std::round(rest * 1000.0) / 1000.0);
}

void Programmabbruch(const QString& name, const QString& text, const QString& option) {
  {
    Merker m(gAbbruchLäuft);
    try {
      FVerwerfen();
      Meldung(text.isEmpty() ? QStringLiteral("Das Programm wird beendet")
                             : text + QStringLiteral(".\r\rDas Programm wird beendet."));
      if (option.isEmpty())
        Logbuch(2, QStringLiteral("Programmabbruch durch '") + name + QStringLiteral("' - ") + text);
      else if (option != u"NoLog")
        Logbuch(2, option);
    } catch (const ProgrammBeendet&) {
      throw;
    } catch (...) {
      // A failing message or logbook line must not keep the program from ending.
    }
    gDatenordnerAngelegt = false;
  }
  programmende::beenden(1);
}

void Programmabbruch_Fehler(const QString& prozedurName) {
  // A failure inside a stop (its message, its logbook line) is ignored.
  if (gAbbruchLäuft) return;
  // A failure inside the repair ends that repair step; it never asks again.
  if (gReparaturLäuft) throw Reparaturunterbrechung{gErr.beschreibung};

  const int n = gErr.nummer;
  const QString d = gErr.beschreibung;
  const QString prozedur = prozedurName + QStringLiteral(" - v") + Programmversion();
  const QString offen = gOffeneDatei;
  // A write that failed (a full disk) left its file as it was: no damage to repair.
  const bool schreibfehler = Ausschreibfehler();
  FVerwerfen();
  if (gStörungAnzeigen && !offen.isEmpty() && !schreibfehler) {
    Startfehler(QStringLiteral("Modul '") + prozedur + QStringLiteral("' - Fehler Nr. ") + QString::number(n) +
                    QStringLiteral(" - ") + d + QStringLiteral(" - Zuletzt geöffnete Datei: ") + ShowPfad(offen, 100),
                offen, QString());
  }
  const bool weiter = gStörungAnzeigen && gStartErzwingen;
  {
    Merker m(gAbbruchLäuft);
    try {
      const bool dateifehler = n >= 52 && n <= 76;
      QString text;
      if (dateifehler) {
        text = QStringLiteral("Es ist ein Fehler beim Dateizugriff aufgetreten.");
        if (!offen.isEmpty())
          text += QStringLiteral("\r\rZuletzt geöffnete Datei: ") + ShowPfad(offen, 100);
        else
          text += QStringLiteral(" Prüfen Sie, ob auf den Ordner ") + ShowPfad(ParentDir(gDatenordner), 100) +
                  QStringLiteral(" zugegriffen werden kann.");
        // The cause, so that a full disk is told from missing rights.
        text += QStringLiteral("\r\rUrsache: ") + d + QStringLiteral(" (Fehler Nr. ") + QString::number(n) + u')';
        text += QStringLiteral("\r\rDas Programm wird beendet.");
      } else {
        text = QStringLiteral("Es ist folgender Fehler aufgetreten in Modul '") + prozedur +
               gFirmenname.left(3).toLower() + QStringLiteral("':\r\rFehler Nr. ") + QString::number(n) + u'\r' + d;
        if (!weiter) text += QStringLiteral("\r\rDas Programm wird beendet.");
      }
      Meldung(text);
      QString zeile = QStringLiteral("Programmabbruch durch '") + prozedur + QStringLiteral("' - Fehler Nr. ") +
                      QString::number(n) + QStringLiteral(" - ") + d;
      if (dateifehler && !offen.isEmpty()) zeile += QStringLiteral(" - Datei ") + offen;
      Logbuch(2, zeile);
    } catch (const ProgrammBeendet&) {
      throw;
    } catch (...) {
    }
    gDatenordnerAngelegt = false;
  }
  if (weiter) return;
  programmende::beenden(1);
}

QString Sicherung_vor_Programmstart(const QString& sicherungsordner) {
  if (sicherungsordner.isEmpty()) return {};
  static const QRegularExpression kName(QStringLiteral(R"(^\d{6} \d{6} [TMAE]\.dat$)"),
                                        QRegularExpression::CaseInsensitiveOption);
  const double seitStart = std::max(0.0, uhr::monoton() - gStartzeit);
  const QDateTime start = QDateTime(uhr::heute(), uhr::zeit()).addMSecs(-std::llround(seitStart * 1000.0));
  QString beste;
  QDateTime besteZeit;
  for (const QString& name : Dateiliste(sicherungsordner, QStringLiteral("*.dat"))) {
    if (!kName.match(name).hasMatch()) continue;
    const QDateTime zeit = Dateizeit(sicherungsordner + name);
    if (!zeit.isValid() || zeit >= start) continue;
    if (beste.isEmpty() || zeit >= besteZeit) {
      beste = name;
      besteZeit = zeit;
    }
  }
  return beste.isEmpty() ? QString() : sicherungsordner + beste;
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
  if (!datei.isEmpty()) {
    FVerwerfen();
    if (!gSicherungsordner.isEmpty() &&
        Dateiliste(gSicherungsordner, gHeuteText + QStringLiteral("*F.dat")).isEmpty()) {
      bool ok = false;
      if (!Reparaturschritt([&] { ok = gAbbruchdienste.backup_erstellen(QStringLiteral("F")); })) ok = false;
      FVerwerfen();
      if (!ok)
        Programmabbruch(QString(),
                        QStringLiteral("Wiederherstellen nicht möglich. Backup vor Wiederherstellen konnte nicht "
                                       "angelegt werden"),
                        QStringLiteral("NoLog"));
    }
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
    Reparaturschritt([] { gAbbruchdienste.datenverzeichnis_suchen(); });
    Programmabbruch(QString(), QStringLiteral("Wiederherstellen beendet. Starten Sie das Programm jetzt neu"), ende);
  }

  QString einrichtungsfehler;
  try {
    gAbbruchdienste.setup_datenordner();
  } catch (const Reparaturunterbrechung& u) {
    einrichtungsfehler = u.text;
  } catch (const std::exception& e) {
    if (istProgrammende(e)) throw;
    einrichtungsfehler = QString::fromUtf8(e.what());
  }
  // Without its default files the data folder cannot be used: stop with the reason.
  if (!einrichtungsfehler.isEmpty()) Programmabbruch(QString(), einrichtungsfehler, ende);

  Sperrdatei_schreiben(datei, protokoll);

  const QString name = ShowDatei(datei);
  if (!datei.isEmpty() && !name.endsWith(QStringLiteral("Data.dat"), Qt::CaseInsensitive)) {
    gStörungsmeldung = name;
    const QString ordner = !gSicherungsordner.isEmpty() ? gSicherungsordner
                           : gDatenordner.isEmpty()     ? QString()
                                                        : gDatenordner + QStringLiteral("Backups/");
    const QString sicherung = Sicherung_vor_Programmstart(ordner);
    bool ok = false;
    if (!sicherung.isEmpty()) {
      if (!Reparaturschritt([&] { ok = gAbbruchdienste.restore(sicherung, name); })) ok = false;
    }
    if (!ok)
      Ohne_Fehler([&] {
        Logbuch(2, QStringLiteral("Wiederherstellen der Datei ") + name + QStringLiteral(" aus Backup fehlgeschlagen"));
      });
    if (name.compare(u"Konfigdaten.dat", Qt::CaseInsensitive) == 0)
      Reparaturschritt([] { gAbbruchdienste.konfigdaten_lesen(); });
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

void Sperrdatei_prüfen() {
  const QString pfad = gDatenordner + kSperrdatei;
  try {
    if (gDatenordner.isEmpty() || !Datei_vorhanden(pfad)) return;
    QString zeile1;
    if (!FOpen(pfad, QStringLiteral("Input"), QStringLiteral("IgnoreErrors"))) return;
    if (!FEOF()) zeile1 = LineInPlain();
    if (!FEOF()) {
      gStörungsmeldung = LineInPlain();
      if (!FEOF()) gSperrzeit = LineInPlain();
    }
    FClose();

    const qsizetype trenner = zeile1.indexOf(u'|');
    if (trenner < 0) {
      // Not a lock the settings dialog or the repair wrote: it bars nobody.
      Löschen(pfad);
      return;
    }
    gSperrmeldung = zeile1.left(trenner);
    QString inhaber = zeile1.mid(trenner + 1);
    QString anzeigename;
    if (const qsizetype i = inhaber.indexOf(u'|'); i >= 0) {
      anzeigename = inhaber.mid(i + 1);
      inhaber = inhaber.left(i);
    }
    if (!gStörungsmeldung.isEmpty()) return;
    if (inhaber.toLower() != gBenutzername.toLower()) {
      QString sperre = gSperrmeldung;
      if (!sperre.endsWith(u'.')) sperre += u'.';
      Programmabbruch(QString(),
                      QStringLiteral("Programmaufruf gesperrt:\r\r") + sperre +
                          QStringLiteral("\r\rDiese Sperre kann nur von Benutzer '") + inhaber + u'\'' +
                          (anzeigename.isEmpty() ? QString() : QStringLiteral(" (") + anzeigename + u')') +
                          QStringLiteral(" aufgehoben werden"),
                      QStringLiteral("NoLog"));
    }
    if (gStörungAnzeigen)
      Meldung(QStringLiteral("Achtung: Sie haben den Programmaufruf für andere Benutzer gesperrt. Diese erhalten beim "
                             "Programmaufruf den Hinweis:\r\r") +
              gSperrmeldung);
  } catch (const ProgrammBeendet&) {
    throw;
  } catch (...) {
    FVerwerfen();
  }
}
