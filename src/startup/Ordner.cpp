#include "startup/Ordner.h"

#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"

void Velkoradat_lesen() {}

void Velkoradat_schreiben() {
  const QString pfad = gBasisordner + QStringLiteral("Velkora.dat");
  if (!FOpen(pfad, QStringLiteral("Output"), QStringLiteral("IgnoreErrors"))) {
    Programmabbruch(QString(),
                    QStringLiteral("Der Datenordner kann nicht in ") + ShowPfad(pfad, 100) +
                        QStringLiteral(" gespeichert werden.\r\rVermutlich haben Sie keine ausreichenden "
                                       "Zugriffsberechtigungen. Bitten Sie einen Administrator, diese Funktion für "
                                       "Sie durchzuführen"),
                    QStringLiteral("NoLog"));
  }
  LineOut(QStringLiteral("[Velkora]"));
  LineOut(QStringLiteral("data_pfad=") + gDatenordner);
  LineOut(QStringLiteral("log_pfad=") + gLogordner);
  if (!gDatenordnerAlt.isEmpty()) LineOut(QStringLiteral("data_pfad_alt=") + gDatenordnerAlt);
  FClose();
}

void Velkoradat_löschen(bool mitMeldung) {
  const QString pfad = gBasisordner + QStringLiteral("Velkora.dat");
  Löschen(pfad);
  if (mitMeldung)
    Meldung(QStringLiteral("Löschen ") + (Datei_vorhanden(pfad) ? QStringLiteral("nicht ") : QString()) +
            QStringLiteral("erfolgreich"));
}

void SetPublicPfad() {}
