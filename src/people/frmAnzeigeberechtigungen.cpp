#include "people/frmAnzeigeberechtigungen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <memory>

#include "people/Gruppenspalten.h"
#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Stammdatenstand.h"
#include "widgets/Fensterhilfen.h"

Haken<void(QWidget*)> frmAnzeigeberechtigungen::hilfe{"frmAnzeigeberechtigungen::hilfe"};

namespace {
int px(double twips) { return bildschirm::twipsZuPixel(twips); }
}  // namespace

frmAnzeigeberechtigungen::frmAnzeigeberechtigungen(QString& tag, QWidget* besitzer) : QDialog(besitzer) {
  setObjectName(QStringLiteral("frmAnzeigeberechtigungen"));
  setWindowTitle(QStringLiteral("Velkora - Anzeigeberechtigungen"));
  setModal(true);
  lblBeschriftung[1] = new QLabel(QStringLiteral("Mitarbeitergruppe"), this);
  lblBeschriftung[2] = new QLabel(QStringLiteral("Diese Gruppe anzeigen bei:"), this);
  cmbMitarbeitergruppe = new QComboBox(this);
  cmbMitarbeitergruppe->setObjectName(QStringLiteral("cmbMitarbeitergruppe"));
  const QString texte[] = {QString(), QStringLiteral("&Hilfe ..."), QStringLiteral("&Abbrechen"),
                           QStringLiteral("&OK")};
  for (int i = 1; i <= 3; ++i) {
    cmdAuswahl[i] = new QPushButton(texte[i], this);
    cmdAuswahl[i]->setObjectName(QStringLiteral("cmdAuswahl_%1").arg(i));
    cmdAuswahl[i]->setAutoDefault(false);
    connect(cmdAuswahl[i], &QPushButton::clicked, this, [this, i] { cmdAuswahl_Click(i); });
  }
  Form_Load(tag);
}

void frmAnzeigeberechtigungen::Form_Load(QString& tag) {
  Prozedur(QStringLiteral("frmAnzeigeberechtigungen - Form_Load"), [&] {
    // Another workstation may have changed the configuration or the permissions since
    // this one read them; the dialog starts from what is stored now.
    CheckKonfigdaten();
    mStand = Stammdatenstand();
    SetSchriftart(this);
    while (tag.contains(u':')) {
      const qsizetype p = tag.indexOf(u':');
      mGruppen << tag.left(p);
      tag = tag.mid(p + 1);
    }
    tag.clear();
    const int n = static_cast<int>(mGruppen.size()) - 1;

    QWidget* davor = cmbMitarbeitergruppe;
    for (int i = 1; i <= n; ++i) {
      auto* box = new QCheckBox(Gruppenbeschriftung(mGruppen[i]), this);
      box->setObjectName(QStringLiteral("chkMitarbeitergruppe_%1").arg(i));
      box->setProperty("Tag", mGruppen[i]);
      // Only the user's click changes a flag text: showing a group sets the boxes by
      // program, and must not write half-updated boxes into the group shown.
      connect(box, &QCheckBox::clicked, this, [this] { chkMitarbeitergruppe_Click(); });
      setTabOrder(davor, box);
      davor = box;
      chkMitarbeitergruppe.push_back(box);
      cmbMitarbeitergruppe->addItem(mGruppen[i]);
    }
    for (int i = 1; i <= 3; ++i) {
      setTabOrder(davor, cmdAuswahl[i]);
      davor = cmdAuswahl[i];
    }

    const Gruppenspalten spalten = Gruppen_anordnen(chkMitarbeitergruppe, 1560);
    const int innenBreite = std::max(2760 + spalten.letzterVersatz + spalten.letzteBreite, 5430);
    const int innenHöhe = 1800 + 360 * spalten.höchsteZeilenzahl;
    lblBeschriftung[1]->setGeometry(px(300), px(240), px(3200), px(255));
    cmbMitarbeitergruppe->setGeometry(px(300), px(540), px(std::max(3255, innenBreite - 2415)), px(330));
    lblBeschriftung[2]->setGeometry(px(300), px(1200), px(3200), px(255));
    const int links = innenBreite - 1815;
    cmdAuswahl[1]->setGeometry(px(links), px(n == 2 ? 285 : 300), px(1575), px(375));
    cmdAuswahl[2]->setGeometry(px(links), px(innenHöhe - 1515), px(1575), px(375));
    cmdAuswahl[3]->setGeometry(px(links), px(innenHöhe - 795), px(1575), px(375));
    setFixedSize(px(innenBreite), px(innenHöhe));

    // Permissions not yet in force: every group sees every group until the first save.
    const QChar anfang = Setting(1) == 2 ? u'0' : u'1';
    for (int i = 1; i <= n; ++i) {
      QString f(n, anfang);
      f[i - 1] = u'1';
      mFlags << f;
    }
    const QString erster = gAnzeigeberechtigungen.value(1);
    if (erster != u"AllGroups" && erster != u"NoGroups") {
      for (int i = 1; i <= n; ++i) {
        for (int k = 1; k < gAnzeigeberechtigungen.size(); ++k) {
          const QString& zeile = gAnzeigeberechtigungen[k];
          const qsizetype strich = zeile.indexOf(u'|');
          if (strich < 0 || zeile.left(strich) != mGruppen[i]) continue;
          const QString erlaubt = u':' + zeile.mid(strich + 1);
          for (int j = 1; j <= n; ++j)
            if (erlaubt.contains(u':' + mGruppen[j] + u':')) mFlags[i][j - 1] = u'1';
        }
      }
    }
    connect(cmbMitarbeitergruppe, &QComboBox::currentIndexChanged, this, [this] { cmbMitarbeitergruppe_Click(); });
    if (n >= 1) {
      cmbMitarbeitergruppe->setCurrentIndex(0);
      cmbMitarbeitergruppe_Click();
    }
  });
}

void frmAnzeigeberechtigungen::cmbMitarbeitergruppe_Click() {
  Prozedur(QStringLiteral("frmAnzeigeberechtigungen - cmbMitarbeitergruppe_Click"), [&] {
    const int i = cmbMitarbeitergruppe->currentIndex() + 1;
    if (i < 1 || i >= mFlags.size()) return;
    for (int j = 1; j < static_cast<int>(chkMitarbeitergruppe.size()); ++j) {
      QCheckBox* box = chkMitarbeitergruppe[j];
      box->setChecked(mFlags[i][j - 1] == u'1');
      // A group always sees itself.
      box->setEnabled(box->property("Tag").toString() != mGruppen[i]);
    }
  });
}

void frmAnzeigeberechtigungen::chkMitarbeitergruppe_Click() {
  Prozedur(QStringLiteral("frmAnzeigeberechtigungen - chkMitarbeitergruppe_Click"), [&] {
    const int i = cmbMitarbeitergruppe->currentIndex() + 1;
    if (i < 1 || i >= mFlags.size()) return;
    QString f;
    for (int j = 1; j < static_cast<int>(chkMitarbeitergruppe.size()); ++j)
      f += chkMitarbeitergruppe[j]->isChecked() ? u'1' : u'0';
    mFlags[i] = f;
  });
}

void frmAnzeigeberechtigungen::Anzeigeberechtigungen_aktualisieren() {
  Prozedur(QStringLiteral("frmAnzeigeberechtigungen - Anzeigeberechtigungen_aktualisieren"), [&] {
    const QString alt = gAnzeigeberechtigungen.mid(1).join(QString());
    QStringList neu{QString()};
    for (int i = 1; i < mFlags.size(); ++i) {
      QString zeile = mGruppen[i] + u'|';
      for (int j = 1; j < static_cast<int>(chkMitarbeitergruppe.size()); ++j)
        if (mFlags[i][j - 1] == u'1') zeile += chkMitarbeitergruppe[j]->property("Tag").toString() + u':';
      neu << zeile;
    }
    if (alt != neu.mid(1).join(QString())) {
      // The configuration is written whole from memory: a change another workstation
      // stored since this one read it would be undone.
      if (!mStand.unverändert(false, true)) return;
      gAnzeigeberechtigungen = neu;
      Mitarbeiteranzber_schreiben();
      if (Setting(1) != 2) {
        SetSetting(1, 2);
        Konfigdaten_schreiben();
      }
      Anzeigeberechtigungen_ermitteln();
      Logbuch_ergänzen(2, QStringLiteral("Anzeigeberechtigungen geändert"));
    }
    if (Mitarbeiterzeilen() >= 1 && gMitarbeiterNamen[1] != u"NoNames" && !gBenutzerIDs[1].isEmpty())
      Meldung(QStringLiteral(
          "Hinweis: Die Mitarbeiterdaten beginnen nicht mit einer Überschrift. Für die Mitarbeiter vor der ersten "
          "Überschrift können daher keine Anzeigeberechtigungen vergeben werden. Diese Mitarbeiter werden allen "
          "Mitarbeitern angezeigt."));
  });
}

void frmAnzeigeberechtigungen::cmdAuswahl_Click(int index) {
  Prozedur(QStringLiteral("frmAnzeigeberechtigungen - cmdAuswahl_Click"), [&] {
    switch (index) {
      case 1:
        hilfe(this);
        break;
      case 2:
        reject();
        break;
      case 3:
        Anzeigeberechtigungen_aktualisieren();
        accept();
        break;
    }
  });
}

void frmAnzeigeberechtigungen::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    e->accept();
    cmdAuswahl_Click(1);
    return;
  }
  QDialog::keyPressEvent(e);
}
