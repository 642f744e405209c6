#pragma once
// The real program run in the benchmark process, as a user starts it: the start
// sequence on a data folder below `basis` for a day, up to the main window showing
// its month; and its end, which lets the next start of the same process go on.
#include <QString>

#include "launch/Programmstart.h"
#include "planner/Programm.h"
#include "planner/frmVelkora.h"
#include "platform/Dialoge.h"
#include "platform/Einzelinstanz.h"
#include "platform/Umgebung.h"
#include "platform/Zustand.h"
#include "startup/Start.h"

// `datum` as the command line's "/d:" gives it (ddmmyy). The prompts are answered by
// script (dialoge::skript()): a start that prompts is not the one measured.
inline frmVelkora* Programm_starten(const QString& basis, const QString& datum) {
  zustand::alleZurücksetzen();
  Programm_verdrahten();
  dialoge::skript();
  umgebung::setzeProgrammordner(basis + QStringLiteral("Programm"));
  Kommandozeile_setzen({QStringLiteral("/d:") + datum, QStringLiteral("/path:") + basis + QStringLiteral("Daten"),
                        QStringLiteral("/nowelcomescreen")});
  Main();
  return frmVelkora::instanz();
}

inline void Programm_beenden(frmVelkora* f) {
  Hauptfenster_entladen();
  delete f;
  einzelinstanz::freigeben();
}
