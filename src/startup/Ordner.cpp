#include "startup/Ordner.h"

#include <QDir>
#include <QFile>

#include "platform/Laufzeitfehler.h"
#include "platform/Umgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"

namespace {
const QString kZeigerdatei = QStringLiteral("Velkora.dat");
const QString kLänderdatei = QStringLiteral("VelkoraFtg.dat");

// A folder as the pointer file names it, as a folder global holds it: ending in "/",
// and absolute (a relative entry counts from the pointer file's folder, not from
// whatever the current folder is at the time).
QString Ordnereintrag(const QString& eintrag, const QString& zeigerdatei) {
  if (eintrag.isEmpty()) return {};
  const QString o = QDir::isAbsolutePath(eintrag) ? eintrag : QDir(ParentDir(zeigerdatei)).absoluteFilePath(eintrag);
  return umgebung::mitSchrägstrich(o);
}

// The older location of the base folder's files: moves them into the public folder.
// Nothing here may stop the start; a file is removed from the old folder only when
// the public folder holds it, so a failed copy loses nothing.
void Alten_Ort_übernehmen(const QString& öffentlich) {
  if (umgebung::programData().isEmpty()) return;
  const QString alt = umgebung::programData() + QStringLiteral("Velkora/");
  if (!Verzeichnis_vorhanden(alt)) return;
  if (Datei_vorhanden(alt + kZeigerdatei)) Datei_kopieren(alt + kZeigerdatei, öffentlich + kZeigerdatei);
  if (Datei_vorhanden(alt + kLänderdatei) && !Datei_vorhanden(öffentlich + kLänderdatei))
    Datei_kopieren(alt + kLänderdatei, öffentlich + kLänderdatei);
  for (const QString& name : {kZeigerdatei, kLänderdatei}) {
    if (Datei_vorhanden(alt + name) && Datei_vorhanden(öffentlich + name)) Löschen(alt + name);
  }
  if (QDir(alt).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) Löschen(alt);
}
}  // namespace

bool Datei_kopieren(const QString& quelle, const QString& ziel) {
  QFile q(quelle);
  if (!q.open(QIODevice::ReadOnly)) return false;
  const QByteArray inhalt = q.readAll();
  q.close();
  if (!Datei_sicher_schreiben(ziel, inhalt)) return false;
  QFile z(ziel);
  if (z.open(QIODevice::ReadWrite)) z.setFileTime(Dateizeit(quelle), QFileDevice::FileModificationTime);
  return true;
}

void Velkoradat_lesen() {
  Prozedur(QStringLiteral("modVelkora - Velkoradat_lesen"), [] {
    QString pfad = gBasisordner + kZeigerdatei;
    if (!Datei_vorhanden(pfad)) {
      pfad = gProgrammordner + kZeigerdatei;
      if (!Datei_vorhanden(pfad)) return;
    }
    // Lines 2 to 4 of either form; a missing line reads as empty, so that a cut-off
    // file is reported by its missing key.
    QString zeile[5];
    const auto lesen = [&](bool kodiert) {
      for (int i = 2; i <= 4 && !FEOF(); ++i)
        zeile[i] = kodiert ? Zeile_dekodieren(Kanal_Zeile_lesen()) : LineInPlain();
    };
    FOpen(pfad, QStringLiteral("Input"));
    if (FEOF()) {
      // An empty pointer file has no header: it is repaired as a wrong one is.
      FClose();
      Dateifehler(2, pfad, QStringLiteral("Velkora"), QStringLiteral("modVelkora - Velkoradat_lesen"));
      return;
    }
    if (Zeile_dekodieren(Kanal_Zeile_lesen()) == u"[Velkora]") {
      lesen(true);
    } else {
      FClose();
      FOpen(pfad, QStringLiteral("Input"));
      if (FEOF() || LineInPlain() != u"[Velkora]") {
        FClose();
        Dateifehler(2, pfad, QStringLiteral("Velkora"), QStringLiteral("modVelkora - Velkoradat_lesen"));
        return;
      }
      lesen(false);
      zeile[4].clear();  // the older form knows no pending change
    }
    FClose();

    if (!zeile[2].startsWith(u"data_pfad="))
      Startfehler_melden(QStringLiteral("Variable 'data_pfad' in 'Velkora.dat' konnte nicht ausgewertet werden."), pfad,
                         QString());
    gDatenordner = Ordnereintrag(zeile[2].mid(10), pfad);
    if (!zeile[3].startsWith(u"log_pfad="))
      Startfehler_melden(QStringLiteral("Variable 'log_pfad' in 'Velkora.dat' konnte nicht ausgewertet werden."), pfad,
                         QString());
    gLogordner = Ordnereintrag(zeile[3].mid(9), pfad);

    const QString alt = Ordnereintrag(zeile[4].mid(14), pfad);
    if (alt.isEmpty() || !gDatenordner.isEmpty() || !gLogordner.isEmpty()) {
      gDatenordnerAlt.clear();
      return;
    }
    // A change of the data folder whose target was never set: back to the old folder
    // while it still holds the data.
    gDatenordnerAlt = alt;
    if (!Dateiliste(alt, QStringLiteral("*Data.dat")).isEmpty() &&
        !Dateiliste(alt + QStringLiteral("Logs/"), QStringLiteral("*.log")).isEmpty()) {
      gDatenordner = alt;
      gLogordner = alt + QStringLiteral("Logs/");
      gDatenordnerAlt.clear();
      Velkoradat_schreiben();
    } else {
      Meldung(QStringLiteral("Hinweis: Keine Daten im Ordner ") + ShowPfad(ParentDir(alt), 100) +
              QStringLiteral(" gefunden. Sie können den Ordner mit den Daten auswählen über den Menüpunkt 'Datei - "
                             "Datenordner ändern'"));
    }
  });
}

void Velkoradat_schreiben() {
  Prozedur(QStringLiteral("modVelkora - Velkoradat_schreiben"), [] {
    const QString pfad = gBasisordner + kZeigerdatei;
    QStringList zeilen{QStringLiteral("[Velkora]"), QStringLiteral("data_pfad=") + gDatenordner,
                       QStringLiteral("log_pfad=") + gLogordner};
    if (!gDatenordnerAlt.isEmpty()) zeilen << QStringLiteral("data_pfad_alt=") + gDatenordnerAlt;
    if (!Alle_Zeilen_schreiben_wie(pfad, zeilen, {.fehlerIgnorieren = true})) {
      Programmabbruch(QString(),
                      QStringLiteral("Der Datenordner kann nicht in ") + ShowPfad(pfad, 100) +
                          QStringLiteral(" gespeichert werden.\r\rVermutlich haben Sie keine ausreichenden "
                                         "Zugriffsberechtigungen. Bitten Sie einen Administrator, diese Funktion für "
                                         "Sie durchzuführen"),
                      QStringLiteral("NoLog"));
    }
  });
}

void Velkoradat_löschen(bool mitMeldung) {
  const QString pfad = gBasisordner + kZeigerdatei;
  Löschen(pfad);
  if (mitMeldung)
    Meldung(QStringLiteral("Löschen ") + (Datei_vorhanden(pfad) ? QStringLiteral("nicht ") : QString()) +
            QStringLiteral("erfolgreich"));
}

QString Öffentlicher_Ordner() {
  return umgebung::publicOrdner() + QStringLiteral("AppData/Local/VirtualStore/Program Files/Velkora/");
}

void SetPublicPfad() {
  Prozedur(QStringLiteral("modVelkora - SetPublicPfad"), [] {
    const QString öffentlich = Öffentlicher_Ordner();
    if (!Verzeichnis_vorhanden(öffentlich)) {
      const QString basis = umgebung::publicOrdner();
      // Without PUBLIC the user's data folder stands in, which a fresh account may lack.
      if (!Verzeichnis_vorhanden(basis)) QDir().mkpath(basis);
      QString ordner = basis;
      for (const QString& teil : {QStringLiteral("AppData/"), QStringLiteral("Local/"), QStringLiteral("VirtualStore/"),
                                  QStringLiteral("Program Files/"), QStringLiteral("Velkora/")}) {
        ordner += teil;
        if (!Verzeichnis_vorhanden(ordner)) Verzeichnis_anlegen(ordner);
      }
    }
    const QString quelle = gBasisordner + kLänderdatei;
    if (Datei_vorhanden(quelle)) {
      const QString ziel = öffentlich + kLänderdatei;
      if (!Datei_vorhanden(ziel) || Dateizeit(ziel) != Dateizeit(quelle)) {
        if (!Datei_kopieren(quelle, ziel)) fehler::auslösen(fehler::kPfadZugriffsfehler);
      }
    }
    gBasisordner = öffentlich;
    if (!Datei_vorhanden(öffentlich + kZeigerdatei)) Alten_Ort_übernehmen(öffentlich);
  });
}

void Tempordner_prüfen(const QString& ordner) {
  if (umgebung::eigenerOrdner(ordner)) return;
  Programmabbruch(QString(),
                  QStringLiteral("Der Ordner für temporäre Dateien ") + ShowPfad(ordner, 100) +
                      QStringLiteral(" ist ein Verweis oder gehört nicht dem Benutzer ") + umgebung::benutzername() +
                      QStringLiteral(". Bitte wählen Sie einen eigenen Ordner (Umgebungsvariable TEMP)"),
                  QStringLiteral("NoLog"));
}
