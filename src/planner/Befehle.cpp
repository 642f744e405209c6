// The main window's commands: the code buttons reach the entry (planner/Eingabe.h), the
// views and the keys their procedures. The grid's mouse is connected by
// Tabellenmaus_verbinden.
#include <QPushButton>

#include "planner/Eingabe.h"
#include "planner/Tastatur.h"
#include "planner/frmVelkora.h"

void frmVelkora::Befehle_verbinden() {
  for (int i = 1; i <= 25; ++i) connect(cmdAuswahl[i], &QPushButton::clicked, this, [i] { cmdAuswahl_Click(i); });
  Tastatur_verbinden(*this);
}
