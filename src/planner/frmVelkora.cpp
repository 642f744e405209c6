#include "planner/frmVelkora.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>

#include "startup/Start.h"
#include "store/Velkoraini.h"

namespace {
frmVelkora* gHauptfenster = nullptr;
}

frmVelkora::frmVelkora() {
  gHauptfenster = this;
  setObjectName(QStringLiteral("frmVelkora"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  auto* platzhalter = new QLabel(this);
  platzhalter->setObjectName(QStringLiteral("lblMonat"));
  setCentralWidget(platzhalter);
  resize(1000, 700);
}

frmVelkora::~frmVelkora() {
  if (gHauptfenster == this) gHauptfenster = nullptr;
}

frmVelkora* frmVelkora::instanz() { return gHauptfenster; }

void frmVelkora::Form_Load() { Titelzeile(); }

void frmVelkora::Form_Unload() {
  if (mEntladen) return;
  mEntladen = true;
  try {
    Velkoraini_schreiben();
  } catch (...) {
    // Unloading goes on whatever fails on the way.
  }
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != this && w->isVisible()) w->close();
}

void frmVelkora::closeEvent(QCloseEvent* e) {
  Form_Unload();
  e->accept();
  QApplication::quit();
}

void Hauptfenster_laden() {
  if (!gHauptfenster) new frmVelkora();
  gHauptfenster->Form_Load();
}

void Hauptfenster_zeigen() {
  if (gHauptfenster) gHauptfenster->show();
}

void Hauptfenster_entladen() {
  if (gHauptfenster) gHauptfenster->Form_Unload();
}
