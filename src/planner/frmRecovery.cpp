#include "planner/frmRecovery.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Start.h"
#include "store/Jahreswechsel.h"
#include "store/Sicherung.h"
#include "widgets/Fensterhilfen.h"

Haken<void(QWidget*)> frmRecovery::hilfe{"frmRecovery::hilfe"};

frmRecovery::frmRecovery(QWidget* besitzer) : QDialog(besitzer) {
  setObjectName(QStringLiteral("frmRecovery"));
  setWindowTitle(QStringLiteral("Velkora - Datenordner wiederherstellen"));
  setModal(true);

  lblBeschriftung = new QLabel(QStringLiteral("Vorhandene Sicherungszeitpunkte"), this);
  lblBeschriftung->setObjectName(QStringLiteral("lblBeschriftung"));
  cmbDateiliste = new QComboBox(this);
  cmbDateiliste->setObjectName(QStringLiteral("cmbDateiliste"));
  const QString texte[] = {QString(), QStringLiteral("&Hilfe ..."), QStringLiteral("&Datenordner wiederherstellen"),
                           QStringLiteral("&Abbrechen")};
  auto* knöpfe = new QHBoxLayout;
  for (int i = 1; i <= 3; ++i) {
    cmdAuswahl[i] = new QPushButton(texte[i], this);
    cmdAuswahl[i]->setObjectName(QStringLiteral("cmdAuswahl_%1").arg(i));
    cmdAuswahl[i]->setAutoDefault(false);
    connect(cmdAuswahl[i], &QPushButton::clicked, this, [this, i] { cmdAuswahl_Click(i); });
    knöpfe->addWidget(cmdAuswahl[i]);
  }
  auto* spalte = new QVBoxLayout(this);
  spalte->addWidget(lblBeschriftung);
  spalte->addWidget(cmbDateiliste);
  spalte->addStretch();
  spalte->addLayout(knöpfe);
  resize(bildschirm::twipsZuPixel(7035), bildschirm::twipsZuPixel(5370));
  SetSchriftart(this);

  gSicherungsdatei.clear();
  ComboBox_belegen(false);
}

void frmRecovery::ComboBox_belegen(bool nachName) {
  Prozedur(QStringLiteral("frmRecovery - ComboBox_belegen"), [&] {
    mSortliste = Sicherungspunkte(gSicherungsordner, nachName, gRückblick);
    cmbDateiliste->clear();
    if (mSortliste.isEmpty()) {
      cmbDateiliste->addItem(QStringLiteral("Keine Sicherungsdatei vorhanden"));
      cmbDateiliste->setEnabled(false);
      cmdAuswahl[2]->setEnabled(false);
      return;
    }
    for (const QString& eintrag : mSortliste) cmbDateiliste->addItem(Sicherungspunkt_Text(eintrag));
    cmbDateiliste->setEnabled(true);
    cmdAuswahl[2]->setEnabled(true);
    cmbDateiliste->setCurrentIndex(0);
  });
}

void frmRecovery::cmdAuswahl_Click(int index) {
  Prozedur(QStringLiteral("frmRecovery - cmdAuswahl_Click"), [&] {
    switch (index) {
      case 1:
        hilfe(this);
        break;
      case 2: {
        const int i = cmbDateiliste->currentIndex();
        if (i < 0 || i >= mSortliste.size()) return;
        gSicherungsdatei = mSortliste[i].section(u'|', 1);
        accept();
        break;
      }
      default:
        reject();
        break;
    }
  });
}

void frmRecovery::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_F1:
      cmdAuswahl_Click(1);
      break;
    case Qt::Key_F2:
      ComboBox_belegen(false);
      break;
    case Qt::Key_F3:
      ComboBox_belegen(true);
      break;
    default:
      QDialog::keyPressEvent(e);
      return;
  }
  e->accept();
}

void Recovery_anzeigen(QWidget* besitzer) {
  frmRecovery f(besitzer);
  f.exec();
}
