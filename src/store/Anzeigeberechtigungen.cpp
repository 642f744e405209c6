#include "store/Anzeigeberechtigungen.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QSysInfo>
#include <cerrno>
#include <optional>

#include "platform/Laufzeitfehler.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateisperre.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

QStringList gAnzeigeberechtigungen{QString(), QStringLiteral("AllGroups")};
QString gAnzeigeberechtigung;
QStringList gAnzeigegruppen{QString(), QStringLiteral("NoGroups")};
int gAnzeigegruppe = 0;

namespace {

const QString kAllGroups = QStringLiteral("AllGroups");
const QString kNoGroups = QStringLiteral("NoGroups");
const QString kAnzberKopf = QStringLiteral("[Mitarbeiteranzber]");
const QString kAnzgruKopf = QStringLiteral("[Mitarbeiteranzgru]");

// The opaque second line of the permission file as last read.
QString sAnzberKennzeile;

QStringList Einzeln(const QString& eintrag) { return {QString(), eintrag}; }

void Zustand_zurücksetzen() {
  gAnzeigeberechtigungen = Einzeln(kAllGroups);
  gAnzeigeberechtigung.clear();
  gAnzeigegruppen = Einzeln(kNoGroups);
  gAnzeigegruppe = 0;
  sAnzberKennzeile.clear();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

QString Anzberpfad() { return gDatenordner + QStringLiteral("Mitarbeiteranzber.dat"); }
QString Anzgrupfad() { return gDatenordner + QStringLiteral("Mitarbeiteranzgru.dat"); }

QString Erster(const QStringList& liste) { return liste.value(1); }

QString Benutzerblock() { return u'[' + gBenutzername + u']'; }

// --- the display-group lock -------------------------------------------------------

constexpr double kPollen = 0.05;         // seconds between two tries
constexpr double kVerlassen = 10.0;      // a holder unchanged this long has gone away
constexpr double kHöchstwartezeit = 60;  // then the save is refused

std::optional<QByteArray> Kennung_lesen(const QString& pfad) {
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  return f.readAll();
}

// Takes a left-behind lock away. It is first renamed (only one workstation can do
// that) and checked: when the renamed file turns out to be a fresh lock of another
// workstation, it is put back.
void Übernehmen(const QString& pfad, const std::optional<QByteArray>& verlassen) {
  const QString beiseite =
      pfad + u'.' + QString::number(QRandomGenerator::global()->generate(), 36) + QStringLiteral(".alt");
  if (!QFile::rename(pfad, beiseite)) return;
  const std::optional<QByteArray> kennung = Kennung_lesen(beiseite);
  if (!kennung || kennung == verlassen || !QFile::rename(beiseite, pfad)) QFile::remove(beiseite);
}

}  // namespace

QString Anzgru_Sperre::Pfad() { return gDatenordner + QStringLiteral("~Mitarbeiteranzgru.vklock"); }

Anzgru_Sperre::Anzgru_Sperre() {
  const QString pfad = Pfad();
  mKennung = gBenutzername + u'|' + QSysInfo::machineHostName() + u'|' +
             QString::number(QCoreApplication::applicationPid()) + u'|' +
             QString::number(QRandomGenerator::global()->generate64(), 36);
  const QByteArray kennung = mKennung.toUtf8();
  const double beginn = uhr::monoton();
  std::optional<QByteArray> gesehen;
  double gesehenSeit = beginn;
  while (true) {
    const int e = Sperrdatei_anlegen(pfad, kennung);
    if (e == 0) {
      mGehalten = true;
      return;
    }
    if (e != EEXIST) {
      // The folder takes no lock file (full disk, no rights).
      mFehler = e;
      return;
    }
    if (Unechte_Sperre_entfernen(pfad)) continue;
    const std::optional<QByteArray> jetzt = Kennung_lesen(pfad);
    // Released just now: try again soon (never at once: a share's cached view may
    // still show the lock, and the loop would spin).
    if (!jetzt && !QFile::exists(pfad)) {
      uhr::schlafen(0.005 + 0.01 * uhr::zufall());
      continue;
    }
    const double t = uhr::monoton();
    if (jetzt != gesehen) {
      gesehen = jetzt;
      gesehenSeit = t;
    } else if (t - gesehenSeit >= kVerlassen) {
      Übernehmen(pfad, jetzt);
      gesehen.reset();
      gesehenSeit = t;
      continue;
    }
    if (t - beginn >= kHöchstwartezeit) return;
    uhr::schlafen(kPollen);
  }
}

Anzgru_Sperre::~Anzgru_Sperre() {
  if (!mGehalten) return;
  const QString pfad = Pfad();
  // Only our own lock: one that was taken over from us belongs to another now.
  if (Kennung_lesen(pfad) == mKennung.toUtf8()) QFile::remove(pfad);
}

// --- permissions and display groups ----------------------------------------------

int Anzeigegruppen_Anzahl() {
  if (Erster(gAnzeigegruppen) == kNoGroups) return 0;
  return std::max(0, static_cast<int>(gAnzeigegruppen.size()) - 1);
}

bool Anzeigeberechtigung_enthält(const QString& gruppe) {
  return gAnzeigeberechtigung == kAllGroups || (u':' + gAnzeigeberechtigung).contains(u':' + gruppe + u':');
}

void Anzber_und_Anzgru_init() {
  Prozedur(QStringLiteral("modVelkora - Anzber_und_Anzgru_init"), [] {
    const bool berechtigungen = Setting(1) == 2;
    gAnzeigeberechtigungen = Einzeln(berechtigungen ? kNoGroups : kAllGroups);
    if (berechtigungen) {
      if (Datei_vorhanden(Anzberpfad())) Mitarbeiteranzber_lesen();
      Anzeigeberechtigungen_ermitteln();
    } else {
      gAnzeigeberechtigung = kAllGroups;
    }
    gAnzeigegruppen = Einzeln(kNoGroups);
    if (Datei_vorhanden(Anzgrupfad()) && Setting(17) != 1) Mitarbeiteranzgru_lesen();
    gAnzeigegruppe = 0;
  });
}

void Anzeigeberechtigungen_ermitteln() {
  Prozedur(QStringLiteral("modVelkora - Anzeigeberechtigungen_ermitteln"), [] {
    if (gBenutzerstufe == 2) {
      gAnzeigeberechtigung = kAllGroups;
      return;
    }
    const QString ich = gBenutzername.toLower();
    QString gruppe;
    bool hatZeile = false;
    if (!(gMitarbeiterNamen.size() == 2 && gMitarbeiterNamen[1] == u"NoNames")) {
      for (int i = 1; i <= Mitarbeiterzeilen() && i < gBenutzerIDs.size(); ++i) {
        if (gBenutzerIDs[i].isEmpty()) {
          if (!gMitarbeiterNamen[i].isEmpty()) gruppe = gMitarbeiterNamen[i];
        } else if (gBenutzerIDs[i].toLower() == ich) {
          hatZeile = true;
          break;
        }
      }
    }
    const bool definiert = Erster(gAnzeigeberechtigungen) != kNoGroups;
    if (!hatZeile || (definiert && gruppe.isEmpty())) {
      if (gStartfehler.isEmpty()) {
        const bool privilegiert = gBenutzerstufe == 1;
        gStartfehler =
            QStringLiteral("Ihrem Windows-Benutzernamen '") + gBenutzername +
            QStringLiteral("' wurden keine Anzeigeberechtigungen zugeordnet") +
            (privilegiert ? QStringLiteral(" oder Sie sind nicht mit diesem Windows-Benutzernamen als Mitarbeiter "
                                           "im Velkora eingetragen")
                          : QString()) +
            QStringLiteral(
                ".\r\rBitten Sie einen der folgenden Administratoren, Ihnen Anzeigeberechtigung zu erteilen") +
            (privilegiert ? QStringLiteral(" oder Sie als Mitarbeiter einzutragen") : QString()) +
            QStringLiteral(": ") + ShowAdmins(false);
      }
      return;
    }
    if (definiert) {
      const QString präfix = gruppe + u'|';
      for (int i = 1; i < gAnzeigeberechtigungen.size(); ++i) {
        if (gAnzeigeberechtigungen[i].startsWith(präfix)) {
          gAnzeigeberechtigung = gAnzeigeberechtigungen[i].mid(präfix.size());
          return;
        }
      }
    }
    // No line for the group (or none defined yet): the own group only.
    if (gAnzeigeberechtigung.isEmpty() && !gruppe.isEmpty()) gAnzeigeberechtigung = gruppe + u':';
  });
}

void Anzeigegruppen_bereinigen() {
  Prozedur(QStringLiteral("modVelkora - Anzeigegruppen_bereinigen"), [] {
    const QStringList überschriften = Gruppenüberschriften();
    QStringList neu{QString()};
    for (int i = 1; i < gAnzeigegruppen.size(); ++i) {
      const QString& eintrag = gAnzeigegruppen[i];
      if (eintrag.isEmpty() || eintrag == kNoGroups) continue;
      const qsizetype strich = eintrag.indexOf(u'|');
      const QString name = strich < 0 ? eintrag : eintrag.left(strich);
      // Members are compared whole: "Lager" is not a member of a group holding "Hochlager".
      const QString alt = strich < 0 ? QString() : u':' + eintrag.mid(strich + 1);
      QString mitglieder;
      for (const QString& h : überschriften) {
        if (alt.contains(u':' + h + u':') && Anzeigeberechtigung_enthält(h)) mitglieder += h + u':';
      }
      if (!mitglieder.isEmpty()) neu << name + u'|' + mitglieder;
    }
    const bool nurEineGruppe = gAnzeigeberechtigung != kAllGroups && gAnzeigeberechtigung.count(u':') <= 1;
    if (neu.size() == 1 || nurEineGruppe) {
      gAnzeigegruppen = Einzeln(kNoGroups);
      Mitarbeiteranzgru_schreiben();
    } else {
      gAnzeigegruppen = neu;
    }
  });
}

void Mitarbeiteranzber_lesen() {
  const QString name = QStringLiteral("modVelkora - Mitarbeiteranzber_lesen");
  Prozedur(name, [&] {
    const QString pfad = Anzberpfad();
    FOpen(pfad, QStringLiteral("Input"));
    // Cut short, the file would be read as fewer permissions or groups and written so.
    if (Kanal_ohne_letztes_Zeilenende()) Datei_beschädigt(pfad);
    if (LineIn() != kAnzberKopf) {
      FVerwerfen();
      Dateifehler(2, pfad, QStringLiteral("Mitarbeiteranzber"), name);
      return;
    }
    const QString kennzeile = LineIn();
    QStringList zeilen{QString()};
    while (!FEOF()) zeilen << LineIn();
    FClose();
    sAnzberKennzeile = kennzeile;
    if (gKennzeile.isEmpty()) gKennzeile = kennzeile;
    if (zeilen.size() > 1) gAnzeigeberechtigungen = zeilen;
  });
}

void Mitarbeiteranzber_schreiben() {
  Prozedur(QStringLiteral("modVelkora - Mitarbeiteranzber_schreiben"), [] {
    const QString pfad = Anzberpfad();
    QStringList zeilen;
    for (int i = 1; i < gAnzeigeberechtigungen.size(); ++i) {
      const QString& z = gAnzeigeberechtigungen[i];
      // The sentinels are no permission lines; stored, one would read back as a state.
      if (!z.isEmpty() && z != kNoGroups && z != kAllGroups) zeilen << z;
    }
    if (zeilen.isEmpty()) {
      Löschen(pfad);
      gAnzeigeberechtigungen = Einzeln(Setting(1) == 2 ? kNoGroups : kAllGroups);
      return;
    }
    zeilen.prepend(gKennzeile.isEmpty() ? sAnzberKennzeile : gKennzeile);
    zeilen.prepend(kAnzberKopf);
    Alle_Zeilen_schreiben(pfad, zeilen);
    Mitarbeiteranzber_lesen();
  });
}

void Mitarbeiteranzgru_lesen() {
  const QString name = QStringLiteral("modVelkora - Mitarbeiteranzgru_lesen");
  Prozedur(name, [&] {
    const QString pfad = Anzgrupfad();
    // What the file holds for the user now, also when the user's block has gone.
    gAnzeigegruppen = Einzeln(kNoGroups);
    FOpen(pfad, QStringLiteral("Input"));
    // Cut short, the file would be read as fewer permissions or groups and written so.
    if (Kanal_ohne_letztes_Zeilenende()) Datei_beschädigt(pfad);
    if (LineIn() != kAnzgruKopf) {
      FVerwerfen();
      Dateifehler(2, pfad, QStringLiteral("Mitarbeiteranzgru"), name);
      return;
    }
    const QString kennzeile = LineIn();
    if (gKennzeile.isEmpty()) gKennzeile = kennzeile;
    const QString block = Benutzerblock();
    bool imBlock = false;
    QStringList genommen{QString()};
    while (!FEOF()) {
      const QString z = LineIn();
      if (!imBlock) {
        imBlock = z.compare(block, Qt::CaseInsensitive) == 0;
        continue;
      }
      if (z.startsWith(u'[')) break;
      if (!z.isEmpty()) genommen << z;
    }
    FClose();
    if (genommen.size() > 1) {
      gAnzeigegruppen = genommen;
      Anzeigegruppen_bereinigen();
    }
  });
}

QString Anzgru_Sperre_Meldung() {
  return QStringLiteral(
      "Die Anzeigegruppen werden gerade von einem anderen Arbeitsplatz gespeichert. Ihre Anzeigegruppen wurden "
      "nicht gespeichert.\r\rBitte versuchen Sie es in einigen Sekunden erneut.");
}

bool Mitarbeiteranzgru_schreiben() {
  return Prozedur(QStringLiteral("modVelkora - Mitarbeiteranzgru_schreiben"), []() -> bool {
    const QString pfad = Anzgrupfad();
    // Another workstation must not rewrite the file between our reading and writing;
    // without the lock nothing is written.
    const Anzgru_Sperre sperre;
    if (!sperre.gehalten()) {
      if (sperre.fehler() != 0) Dateisperre_Fehler(Anzgru_Sperre::Pfad(), sperre.fehler());
      Meldung(Anzgru_Sperre_Meldung());
      return false;
    }
    QStringList alt;
    if (Datei_vorhanden(pfad)) alt = Alle_Zeilen_lesen(pfad);
    if (alt.isEmpty()) alt << kAnzgruKopf;
    if (alt.size() < 2) alt << gKennzeile;

    const QString block = Benutzerblock();
    QStringList neu{alt[0], alt[1]};
    if (Erster(gAnzeigegruppen) != kNoGroups) {
      neu << block;
      for (int i = 1; i < gAnzeigegruppen.size(); ++i)
        if (!gAnzeigegruppen[i].isEmpty()) neu << gAnzeigegruppen[i];
    }
    bool eigenerBlock = false;
    for (int i = 2; i < alt.size(); ++i) {
      const QString& z = alt[i];
      if (z.startsWith(u'[')) eigenerBlock = z.compare(block, Qt::CaseInsensitive) == 0;
      if (!eigenerBlock) neu << z;
    }
    if (neu.size() <= 2)
      Löschen(pfad);
    else
      Alle_Zeilen_schreiben(pfad, neu);
    return true;
  });
}
