#include "planner/Dateibefehle.h"

#include <QAction>
#include <QComboBox>

#include "planner/Datenexport.h"
#include "planner/Datenordnerwechsel.h"
#include "planner/Markierung.h"
#include "planner/Navigation.h"
#include "planner/frmRecovery.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Datenordner.h"
#include "startup/Meldungen.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Sicherung.h"
#include "store/Velkoraini.h"

namespace {
// The main window after the data behind it changed: menus, layout, the month, and the
// display-group check.
void Nach_Datenwechsel(frmVelkora& f, bool gruppenprüfung) {
  Anzber_und_Anzgru_init();
  Dateibefehle_aktivieren(f);
  f.Form_Resize();
  f.Daten_anzeigen(false);
  if (gruppenprüfung && gBenutzerwerte[33] == 0 && f.cmbMitarbeitergruppen->isHidden()) f.CheckAnzeigegruppen();
}

bool Keine_Administratoren() {
  return gAdministratoren.isEmpty() || gAdministratoren.first().compare(u"NoAdmins", Qt::CaseInsensitive) == 0;
}
}  // namespace

void Dateibefehle_verbinden(frmVelkora& f) {
  const auto verbinden = [&f](const char16_t* name, void (*handler)(frmVelkora&)) {
    QAction* a = f.aktion(QString::fromUtf16(name));
    QObject::connect(a, &QAction::triggered, &f, [&f, handler] { handler(f); });
  };
  verbinden(u"mnuDatenordner_ändern", &mnuDatenordner_ändern_Click);
  verbinden(u"mnuDatenexport", &mnuDatenexport_Click);
  verbinden(u"mnuDatenimport", &mnuDatenimport_Click);
  verbinden(u"mnuRecovery", &mnuRecovery_Click);
}

void Dateibefehle_aktivieren(frmVelkora& f) {
  const bool admin = gBenutzerstufe == 2;
  f.aktion(QStringLiteral("mnuDatenordner_ändern"))->setEnabled(!gRückblick);
  for (const char16_t* name : {u"mnuDatenexport", u"mnuDatenimport", u"mnuRecovery"})
    f.aktion(QString::fromUtf16(name))->setEnabled(admin && !gRückblick);
}

void mnuDatenordner_ändern_Click(frmVelkora& f) {
  Prozedur(QStringLiteral("frmVelkora - mnuDatenordner_ändern_Click"), [&] {
    Markierung_und_Highlight_Off();
    Datenverzeichnis_ändern();
    Nach_Datenwechsel(f, false);
  });
}

void mnuDatenexport_Click(frmVelkora&) {
  Prozedur(QStringLiteral("frmVelkora - mnuDatenexport_Click"), [&] {
    Markierung_und_Highlight_Off();
    Datenexport();
  });
}

void mnuDatenimport_Click(frmVelkora& f) {
  Prozedur(QStringLiteral("frmVelkora - mnuDatenimport_Click"), [&] {
    Markierung_und_Highlight_Off();
    if (!Datenimport(QString())) return;
    Nach_Datenwechsel(f, true);
    Meldung(QStringLiteral("Die Daten wurden erfolgreich importiert"));
  });
}

void mnuRecovery_Click(frmVelkora& f) {
  Prozedur(QStringLiteral("frmVelkora - mnuRecovery_Click"), [&] {
    Markierung_und_Highlight_Off();
    gSicherungsdatei.clear();
    Recovery_anzeigen(&f);
    if (gSicherungsdatei.isEmpty()) return;
    if (!Datenimport(gSicherungsordner + gSicherungsdatei)) return;
    Nach_Datenwechsel(f, true);
    Meldung(QStringLiteral("Die Daten wurden erfolgreich wiederhergestellt"));
  });
}

void Störungsmeldung_anzeigen() {
  Prozedur(QStringLiteral("frmVelkora - Störungsmeldung_anzeigen"), [&] {
    const QString sperrdatei = gDatenordner + QStringLiteral("Lockfile.txt");
    // A lock that nobody could lift is not kept.
    if (Keine_Administratoren()) Löschen(sperrdatei);

    QString betroffen;
    if (gStörungsmeldung.startsWith(QStringLiteral("NoFile"))) {
      const QString rest = gStörungsmeldung.mid(6).trimmed();
      const qsizetype p = rest.lastIndexOf(QStringLiteral(": "));
      if (!rest.isEmpty() && p >= 0) betroffen = QStringLiteral("Fehlende Datei für Monat: ") + rest.mid(p + 2);
    } else if (!gStörungsmeldung.isEmpty()) {
      betroffen = QStringLiteral("Betroffene Datei: ") + ShowPfad(gStörungsmeldung, 170);
    }

    if (!Keine_Administratoren() && gBenutzerstufe != 2) {
      Programmabbruch(QString(),
                      QStringLiteral("Programmaufruf gesperrt:\r\r") + gSperrmeldung +
                          QStringLiteral("\r\rDiese Sperre kann nur von folgenden Administratoren aufgehoben "
                                         "werden: ") +
                          ShowAdmins(false),
                      QStringLiteral("NoLog"));
    }
    // The repair's day and time: lock file line 3, "date|hh:nn".
    const QString datum = gSperrzeit.section(u'|', 0, 0);
    const QString zeit = gSperrzeit.section(u'|', 1, 1);
    QString text = QStringLiteral("Fehlende oder beschädigte Datendatei am ") + datum + QStringLiteral(" um ") + zeit +
                   QStringLiteral(" Uhr erkannt!\r\r");
    if (!betroffen.isEmpty()) text += betroffen + QStringLiteral("\r\r");
    text += QStringLiteral(
        "Es wurde versucht eine Standardversion oder zuletzt gespeicherte Version der Datei wiederherzustellen.\r"
        "Überprüfen Sie, ob alle An-/Abwesenheitsdaten, Mitarbeiterdaten und Einstellungen vollständig und korrekt "
        "sind.\r\r"
        "Gehen Sie so vor, um fehlende Daten wiederherzustellen:\r"
        "1) Drucken Sie über den Menüpunkt 'Ansicht - Logbuch' das Logbuch aus\r"
        "2) Setzen Sie über 'Datei - Datenordner wiederherstellen' auf einen früheren Sicherungszeitpunkt zurück\r"
        "3) Nehmen Sie die nach dem Sicherungszeitpunkt vorgenommenen Eintragungen erneut vor");
    if (Datei_vorhanden(sperrdatei))
      text += QStringLiteral(
          "\r\rDer Programmaufruf durch Mitarbeiter wurde gesperrt. Entfernen Sie abschließend die Programmsperre über "
          "'Bearbeiten - Einstellungen - Programmaufruf sperren'. Diese Meldung erscheint bis Sie die "
          "Programmsperre aufheben.");
    Meldung(text);
  });
}
