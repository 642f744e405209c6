#include "startup/Datenordner.h"

#include <QCoreApplication>
#include <QDir>

#include "platform/Cp1252.h"
#include "platform/Dialoge.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Umgebung.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Ordner.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"

QString gUNCPfad;
Ordnerdienste gOrdnerdienste;

namespace {
const QString kLiesmich = QStringLiteral("Lies mich - Velkora.txt");

void Zustand_zurücksetzen() { gUNCPfad.clear(); }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

bool Ist_Administrator() { return gOrdnerdienste.ist_administrator(); }

bool Hat_Monatsdateien(const QString& ordner) {
  return !ordner.isEmpty() && !Dateiliste(ordner, QStringLiteral("*Data.dat")).isEmpty();
}

// Window events between the files of a long copy or deletion, only on a slow share.
void Ereignisse_bei_langsamem_Netz() {
  if (gLangsamesNetz && QCoreApplication::instance()) QCoreApplication::processEvents();
}
}  // namespace

QString BrowseForFolder() {
  const dialoge::Antwort a = dialoge::zeigen(
      {dialoge::Art::Ordner, QString(), QStringLiteral("Ordner für An-/Abwesenheitsdaten auswählen:"), QString(), {}});
  return a.wert.isEmpty() ? QString() : umgebung::mitSchrägstrich(a.wert);
}

QString Ordner_wählen() {
  return Prozedur(QStringLiteral("modOrdner - Ordner_wählen"), [&]() -> QString {
    QString ordner = !gUNCPfad.isEmpty() ? gUNCPfad : BrowseForFolder();
    if (ordner.isEmpty()) return {};
    ordner = umgebung::mitSchrägstrich(ordner);
    // The pointer file stores the folder in Windows-1252.
    if (!cp1252::eingabeZulässig(ordner)) {
      Meldung(QStringLiteral("Der Ordner ") + ShowPfad(ordner, 100) +
              QStringLiteral(" enthält Zeichen, die nicht gespeichert werden können. Bitte wählen Sie einen anderen "
                             "Ordner aus."));
      return {};
    }
    const QString klein = ordner.toLower();
    for (const QString& unter :
         {QStringLiteral("data/backups/"), QStringLiteral("data/inifiles/"), QStringLiteral("data/logs/")}) {
      if (klein.endsWith(unter)) {
        ordner = ParentDir(ordner);
        break;
      }
    }
    if (Hat_Monatsdateien(ordner) || ordner.toLower().endsWith(QStringLiteral("/data/"))) return ordner;
    if (Ist_Administrator() && !Check_ob_Ordner_leer(ordner) &&
        !Verzeichnis_vorhanden(ordner + QStringLiteral("Data"))) {
      Meldung(
          QStringLiteral("Der Ordner ") + ShowPfad(ordner, 100) +
          QStringLiteral(" ist nicht leer. Bitte wählen Sie einen leeren Ordner aus, damit Daten des Velkoras nicht "
                         "mit anderen Daten vermischt werden."));
      return {};
    }
    return ordner + QStringLiteral("Data/");
  });
}

bool Check_ob_Ordner_leer(const QString& ordner) {
  return QDir(ordner).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

bool Check_ob_Admin(const QString& konfigdatei) {
  return Prozedur(QStringLiteral("modOrdner - Check_ob_Admin"), [&]() -> bool {
    const QString benutzer = gBenutzername.toLower();
    QStringList andere;
    bool zugelassen = false;
    FOpen(konfigdatei, QStringLiteral("Input"));
    bool imAbschnitt = false;
    while (!FEOF() && !zugelassen) {
      const QString z = Zeile_dekodieren(Kanal_Zeile_lesen());
      if (!imAbschnitt) {
        imAbschnitt = z == u"[Administratoren]";
        continue;
      }
      if (z.startsWith(u'[')) break;
      if (z == u"A:*:*" || z == u"NoAdmins" || z.startsWith(QStringLiteral("A:<"))) {
        zugelassen = true;
        break;
      }
      const QStringList felder = z.mid(2).split(u':');
      for (const QString& f : felder)
        if (f.toLower() == benutzer) zugelassen = true;
      if (!zugelassen && z.size() > 2) {
        const QString rest = z.mid(2);
        const qsizetype p = rest.indexOf(u':');
        andere << (p < 0 ? rest : rest.mid(p + 1) + QStringLiteral(" (") + rest.left(p) + u')');
      }
    }
    FClose();
    if (!zugelassen) {
      Meldung(QStringLiteral("Sie sind mit Ihrem Windows-Benutzernamen '") + gBenutzername +
              QStringLiteral("' nicht als Administrator in den einzulesenden Daten eingetragen.\r\rFunktion nur "
                             "möglich mit Windows-Benutzername(n): ") +
              andere.join(u'\r'));
    }
    return zugelassen;
  });
}

void Liesmichdatei_schreiben(const QString& datenordner) {
  Prozedur(QStringLiteral("modOrdner - Liesmichdatei_schreiben"), [&] {
    const QString eltern = ParentDir(datenordner);
    QStringList zeilen{QString(), QString(), QString()};
    for (const char16_t* z :
         {u"\tDieser Ordner enthält die Daten des Programms", u"\tVelkora. Nehmen Sie in diesem Ord-",
          u"\tner keine Änderungen vor. Jede Änderung kann die",
          u"\tFunktionsfähigkeit des Programms beeinträchtigen."})
      zeilen << QString::fromUtf16(z);
    if (!Alle_Zeilen_schreiben_wie(eltern + kLiesmich, zeilen,
                                   {.art = Zeilenart::Klartext, .fehlerIgnorieren = true})) {
      Programmabbruch(QString(),
                      QStringLiteral("Der Datenordner kann nicht in ") + ShowPfad(eltern, 100) +
                          QStringLiteral(" gespeichert werden.\r\rVermutlich haben Sie keine ausreichenden "
                                         "Zugriffsberechtigungen. Bitten Sie einen Administrator, diese Funktion für "
                                         "Sie durchzuführen"),
                      QStringLiteral("NoLog"));
    }
  });
}

bool Verzeichnis_kopieren(const QString& quelle, const QString& ziel, const QString& muster) {
  return Prozedur(QStringLiteral("modOrdner - Verzeichnis_kopieren"), [&]() -> bool {
    if (quelle.isEmpty() || !Verzeichnis_vorhanden(quelle)) return true;
    const QString q = umgebung::mitSchrägstrich(quelle), z = umgebung::mitSchrägstrich(ziel);
    if (Verzeichnis_vorhanden(z)) {
      if (!Dateiliste(z, muster).isEmpty())
        Meldung(QStringLiteral("Warnung: Im Ordner ") + ShowPfad(z, 100) +
                QStringLiteral(" befinden sich bereits Dateien. Diese werden ggf. durch Dateien aus dem Ordner ") +
                ShowPfad(q, 100) + QStringLiteral(" überschrieben."));
    } else {
      QDir().mkpath(z);
    }
    bool alle = true;
    for (const QString& name : Dateiliste(q, muster)) {
      if (!Datei_kopieren(q + name, z + name)) alle = false;
      Ereignisse_bei_langsamem_Netz();
    }
    return alle;
  });
}

void Verzeichnis_löschen(const QString& ordner, const QString& muster) {
  Prozedur(QStringLiteral("modOrdner - Verzeichnis_löschen"), [&] {
    if (ordner.isEmpty()) return;
    const QString o = umgebung::mitSchrägstrich(ordner);
    for (const QString& name : Dateiliste(o, muster)) {
      Löschen(o + name);
      Ereignisse_bei_langsamem_Netz();
    }
    Löschen(o);
    if (o.compare(gDatenordner, Qt::CaseInsensitive) == 0) {
      const QString eltern = ParentDir(o);
      if (!eltern.isEmpty()) {
        if (Datei_vorhanden(eltern + kLiesmich)) Löschen(eltern + kLiesmich);
        if (eltern.endsWith(QStringLiteral("/AnAbwesenheitsdaten/"), Qt::CaseInsensitive)) Löschen(eltern);
      }
    }
  });
}

void Datenverzeichnis_löschen(bool fragen) {
  Prozedur(QStringLiteral("modOrdner - Datenverzeichnis_löschen"), [&] {
    if (fragen) {
      if (!Frage(QStringLiteral("Achtung! Möchten Sie wirklich alle vorhandenen An-/Abwesenheits- und Mitarbeiterdaten "
                                "unwiederbringlich löschen?"),
                 QStringLiteral("Velkora")))
        return;
      if (!Frage(QStringLiteral("Es werden jetzt alle vorhandenen An-/Abwesenheits- und Mitarbeiterdaten "
                                "unwiederbringlich gelöscht.\r\rMöchten Sie fortsetzen?"),
                 QStringLiteral("Velkora")))
        return;
    }
    Verzeichnis_löschen(gLogordner, QStringLiteral("*.log"));
    Verzeichnis_löschen(gIniOrdner, QStringLiteral("*.ini"));
    Verzeichnis_löschen(gSicherungsordner, QStringLiteral("*.dat"));
    Verzeichnis_löschen(gDatenordner, QStringLiteral("*.dat"));
    if (!fragen) return;
    Velkoradat_löschen(false);
    if (Verzeichnis_vorhanden(gDatenordner))
      Programmabbruch(QString(),
                      QStringLiteral("Es konnten nicht alle Daten gelöscht werden. Löschen Sie den Ordner ") +
                          ShowPfad(gDatenordner, 100) + QStringLiteral(" manuell"),
                      QStringLiteral("NoLog"));
    Programmabbruch(QString(), QStringLiteral("Es wurden alle Daten erfolgreich gelöscht"), QStringLiteral("NoLog"));
  });
}

void Datenverzeichnis_suchen() {
  Prozedur(QStringLiteral("modOrdner - Datenverzeichnis_suchen"), [&] {
    while (!gDatenordner.isEmpty() && !Hat_Monatsdateien(gDatenordner)) {
      if (Frage(QStringLiteral("Die An-/Abwesenheitsdaten wurden nicht im Ordner ") +
                    ShowPfad(ParentDir(gDatenordner), 100) +
                    QStringLiteral(" gefunden.\r\rMöchten Sie nach dem Ordner mit den An-/Abwesenheitsdaten suchen?"),
                QStringLiteral("Velkora")))
        gDatenordner = Ordner_wählen();
      else
        gDatenordner.clear();
    }
    if (!gDatenordner.isEmpty()) {
      gDatenordnerAlt.clear();
      // The logbooks lie in the data folder's "Logs", or beside the data folder.
      const QString innen = gDatenordner + QStringLiteral("Logs/");
      const QString daneben = ParentDir(gDatenordner) + QStringLiteral("Logs/");
      const bool nurDaneben = Dateiliste(innen, QStringLiteral("*.log")).isEmpty() &&
                              !Dateiliste(daneben, QStringLiteral("*.log")).isEmpty();
      gLogordner = nurDaneben ? daneben : innen;
      Velkoradat_schreiben();
      return;
    }
    gLogordner.clear();
    if (gPfadVorgegeben) Programmabbruch(QString(), QString(), QStringLiteral("NoLog"));
    if (!Frage(QStringLiteral("Keine An-/Abwesenheitsdaten gefunden. Möchten Sie auf den Ausgangszustand "
                              "zurücksetzen?"),
               QStringLiteral("Velkora")))
      Programmabbruch(QString(), QString(), QStringLiteral("NoLog"));
    if (gDatenordnerAlt.isEmpty())
      Velkoradat_löschen(false);
    else
      Velkoradat_schreiben();
  });
}
