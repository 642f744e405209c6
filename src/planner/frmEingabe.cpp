#include "planner/frmEingabe.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "widgets/Fensterhilfen.h"
#include "widgets/Rasteransicht.h"

namespace {

constexpr int kBenutzerspalte = 32;

int px(double twips) { return bildschirm::twipsZuPixel(twips); }

}  // namespace

frmEingabe::frmEingabe(frmVelkora& hauptfenster) : QDialog(&hauptfenster), mHaupt(hauptfenster) {
  setObjectName(QStringLiteral("frmEingabe"));
  setWindowTitle(QStringLiteral("Velkora - Eingabe"));
  setModal(true);

  lblBeschriftung[1] = new QLabel(QStringLiteral("Eintrag"), this);
  lblBeschriftung[2] = new QLabel(QStringLiteral("Name"), this);
  for (int i = 1; i <= 2; ++i) lblBeschriftung[i]->setObjectName(QStringLiteral("lblBeschriftung_%1").arg(i));
  cmdButton = new QPushButton(this);
  cmdButton->setObjectName(QStringLiteral("cmdButton"));
  cmdButton->setFocusPolicy(Qt::NoFocus);
  cmdButton->setAutoDefault(false);
  cmbName = new QComboBox(this);
  cmbName->setObjectName(QStringLiteral("cmbName"));

  const auto tagesfeld = [this](const QString& name) {
    auto* feld = new QLineEdit(this);
    feld->setObjectName(name);
    // Digits only, typed or pasted.
    feld->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), feld));
    feld->setMaxLength(2);
    feld->setAlignment(Qt::AlignRight);
    feld->setFixedWidth(px(420));
    feld->installEventFilter(this);
    return feld;
  };
  const auto datumsrest = [this](const QString& name) {
    auto* l = new QLabel(this);
    l->setObjectName(name);
    l->setMinimumWidth(px(gDatumstrennzeichen != u"." ? 690 : 660));
    return l;
  };
  txtVonDatum = tagesfeld(QStringLiteral("txtVonDatum"));
  txtVonDatum2 = datumsrest(QStringLiteral("txtVonDatum2"));
  txtBisDatum = tagesfeld(QStringLiteral("txtBisDatum"));
  txtBisDatum2 = datumsrest(QStringLiteral("txtBisDatum2"));

  const QString texte[] = {QString(), QStringLiteral("OK"), QStringLiteral("&Abbrechen")};
  auto* knöpfe = new QHBoxLayout;
  knöpfe->addStretch();
  for (int i = 1; i <= 2; ++i) {
    cmdAuswahl[i] = new QPushButton(texte[i], this);
    cmdAuswahl[i]->setObjectName(QStringLiteral("cmdAuswahl_%1").arg(i));
    // Enter moves on through the dialog, also from a button.
    cmdAuswahl[i]->setAutoDefault(false);
    cmdAuswahl[i]->setMinimumWidth(px(1215));
    connect(cmdAuswahl[i], &QPushButton::clicked, this, [this, i] { cmdAuswahl_Click(i); });
    knöpfe->addWidget(cmdAuswahl[i]);
  }

  auto* daten = new QHBoxLayout;
  daten->addWidget(txtVonDatum);
  daten->addWidget(txtVonDatum2);
  daten->addSpacing(px(120));
  daten->addWidget(new QLabel(QStringLiteral("-"), this));
  daten->addSpacing(px(120));
  daten->addWidget(txtBisDatum);
  daten->addWidget(txtBisDatum2);
  daten->addStretch();

  auto* raster = new QGridLayout;
  raster->addWidget(lblBeschriftung[1], 0, 0);
  raster->addWidget(cmdButton, 0, 1);
  raster->addWidget(lblBeschriftung[2], 1, 0);
  raster->addWidget(cmbName, 1, 1);
  raster->addLayout(daten, 2, 1);
  raster->setColumnStretch(1, 1);
  auto* spalte = new QVBoxLayout(this);
  spalte->addLayout(raster);
  spalte->addSpacing(px(120));
  spalte->addLayout(knöpfe);
  cmbName->setMinimumWidth(px(3600));
  // A small dialog of fixed size, as its controls need it.
  spalte->setSizeConstraint(QLayout::SetFixedSize);
  setTabOrder(cmbName, txtVonDatum);
  setTabOrder(txtVonDatum, txtBisDatum);
  setTabOrder(txtBisDatum, cmdAuswahl[1]);
  setTabOrder(cmdAuswahl[1], cmdAuswahl[2]);

  Form_Activate();
}

void frmEingabe::Form_Activate() {
  Prozedur(QStringLiteral("frmEingabe - Form_Activate"), [&] {
    SetSchriftart(this);
    // The look of the main window's button that is being entered.
    const int knopf = text::zahl(mHaupt.Tag);
    if (knopf >= 1 && knopf < static_cast<int>(mHaupt.cmdAuswahl.size())) {
      const QPushButton* vorbild = mHaupt.cmdAuswahl[knopf];
      cmdButton->setText(vorbild->text());
      cmdButton->setPalette(vorbild->palette());
    }
    const Raster& g = mHaupt.msgFlexGrid->raster();
    int eigene = -1;
    cmbName->clear();
    for (int r = 1; r < g.Rows(); ++r) {
      const QString benutzer = g.TextMatrix(r, kBenutzerspalte);
      if (benutzer.isEmpty()) continue;
      if (eigene < 0 && benutzer.toLower() == gBenutzername.toLower()) eigene = cmbName->count();
      cmbName->addItem(g.TextMatrix(r, 0));
    }
    cmbName->setCurrentIndex(eigene >= 0 ? eigene : 0);
    if (gBenutzerstufe == 0 && eigene >= 0) {
      cmbName->setEnabled(false);
      txtVonDatum->setFocus();
    } else {
      cmbName->setFocus();
    }
    mMonatsschlüssel = gMonatsschlüssel;
    const QString rest =
        gDatumstrennzeichen + mMonatsschlüssel.mid(2, 2) + gDatumstrennzeichen + mMonatsschlüssel.left(2);
    txtVonDatum2->setText(rest);
    txtBisDatum2->setText(rest);
    // Closing the dialog any other way than by a valid OK is a cancel.
    mHaupt.Tag.clear();
  });
}

int frmEingabe::Tage_des_Monats() const { return Anzahl_Monatstage(mMonatsschlüssel, 0); }

bool frmEingabe::eventFilter(QObject* objekt, QEvent* e) {
  auto* feld = qobject_cast<QLineEdit*>(objekt);
  if (feld && (feld == txtVonDatum || feld == txtBisDatum)) {
    if (e->type() == QEvent::FocusIn) {
      QTimer::singleShot(0, feld, [feld] { feld->selectAll(); });
    } else if (e->type() == QEvent::FocusOut) {
      // Two digits: "7" becomes "07".
      if (!feld->text().isEmpty())
        feld->setText(QStringLiteral("%1").arg(text::zahl(feld->text()), 2, 10, QChar(u'0')));
    }
  }
  return QDialog::eventFilter(objekt, e);
}

void frmEingabe::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    e->accept();
    focusNextChild();
    return;
  }
  QDialog::keyPressEvent(e);
}

bool frmEingabe::Plausibilitätsprüfung() {
  return Prozedur(QStringLiteral("frmEingabe - Plausibilitätsprüfung"), [&]() -> bool {
    const auto abweisen = [](QLineEdit* feld, const QString& text) {
      Meldung(text);
      feld->setFocus();
      feld->selectAll();
      return false;
    };
    for (QLineEdit* feld : {txtVonDatum, txtBisDatum})
      if (feld->text().isEmpty()) return abweisen(feld, QStringLiteral("Bitte Datum eingeben"));
    const int tage = Tage_des_Monats();
    const int von = text::zahl(txtVonDatum->text()), bis = text::zahl(txtBisDatum->text());
    if (von < 1 || von > tage) return abweisen(txtVonDatum, QStringLiteral("Datumseingabe nicht plausibel"));
    if (bis < 1 || bis > tage) return abweisen(txtBisDatum, QStringLiteral("Datumseingabe nicht plausibel"));
    if (von > bis) return abweisen(txtVonDatum, QStringLiteral("'Von-Datum' ist größer als 'Bis-Datum'"));
    return true;
  });
}

void frmEingabe::Eingabe_auswerten() {
  Prozedur(QStringLiteral("frmEingabe - Eingabe_auswerten"), [&] {
    Raster& g = mHaupt.msgFlexGrid->raster();
    // The n-th employee row of the grid for the n-th name of the list.
    int zeile = 0;
    for (int r = 1, n = -1; r < g.Rows() && zeile == 0; ++r)
      if (!g.TextMatrix(r, kBenutzerspalte).isEmpty() && ++n == cmbName->currentIndex()) zeile = r;
    if (zeile == 0) return;
    g.setRow(zeile);
    g.setCol(text::zahl(txtVonDatum->text().left(2)));
    g.setColSel(text::zahl(txtBisDatum->text().left(2)));
    mHaupt.Tag = QStringLiteral("OK");
  });
}

void frmEingabe::cmdAuswahl_Click(int index) {
  Prozedur(QStringLiteral("frmEingabe - cmdAuswahl_Click"), [&] {
    if (index == 1) {
      if (!Plausibilitätsprüfung()) return;
      Eingabe_auswerten();
      accept();
      return;
    }
    reject();
  });
}

void frmEingabe_zeigen(frmVelkora* hauptfenster) {
  Prozedur(QStringLiteral("frmVelkora - frmEingabe_zeigen"), [&] {
    if (!hauptfenster) return;
    frmEingabe f(*hauptfenster);
    f.exec();
  });
}
