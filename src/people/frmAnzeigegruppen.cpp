#include "people/frmAnzeigegruppen.h"

#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "people/Gruppenspalten.h"
#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Meldungen.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Mitarbeiterdaten.h"
#include "widgets/Fensterhilfen.h"

Haken<QString(QWidget*, const QString&, const QString&, const QString&)> frmAnzeigegruppen::eingabe{
    "frmAnzeigegruppen::eingabe"};
Haken<void(QWidget*)> frmAnzeigegruppen::hilfe{"frmAnzeigegruppen::hilfe"};

namespace {

int px(double twips) { return bildschirm::twipsZuPixel(twips); }

constexpr int kFlagrolle = Qt::UserRole + 1;

const QString kTitel = QStringLiteral("Anzeigegruppen");

}  // namespace

bool Anzeigegruppen_vor(const QString& a, const QString& b) {
  static const QCollator kollation = [] {
    QCollator c{QLocale(QLocale::German, QLocale::Germany)};
    c.setCaseSensitivity(Qt::CaseInsensitive);
    c.setNumericMode(false);
    return c;
  }();
  const int r = kollation.compare(a, b);
  return r != 0 ? r < 0 : a < b;
}

frmAnzeigegruppen::frmAnzeigegruppen(int anzahl, QWidget* besitzer) : QDialog(besitzer) {
  setObjectName(QStringLiteral("frmAnzeigegruppen"));
  setWindowTitle(QStringLiteral("Velkora - Anzeigegruppen"));
  setModal(true);
  lblBeschriftung[1] = new QLabel(QStringLiteral("Anzeigegruppe"), this);
  lblBeschriftung[2] = new QLabel(QStringLiteral("Diese Gruppen anzeigen:"), this);
  cmbMitarbeitergruppe = new QComboBox(this);
  cmbMitarbeitergruppe->setObjectName(QStringLiteral("cmbMitarbeitergruppe"));
  const QString texte[] = {QString(),
                           QStringLiteral("Hin&zufügen ..."),
                           QStringLiteral("&Umbenennen ..."),
                           QStringLiteral("&Löschen ..."),
                           QStringLiteral("&Hilfe ..."),
                           QStringLiteral("&Abbrechen"),
                           QStringLiteral("&OK")};
  for (int i = 1; i <= 6; ++i) {
    cmdAuswahl[i] = new QPushButton(texte[i], this);
    cmdAuswahl[i]->setObjectName(QStringLiteral("cmdAuswahl_%1").arg(i));
    cmdAuswahl[i]->setAutoDefault(false);
    connect(cmdAuswahl[i], &QPushButton::clicked, this, [this, i] { cmdAuswahl_Click(i); });
  }
  Form_Load(anzahl);
}

QString frmAnzeigegruppen::Flags(int i) const { return cmbMitarbeitergruppe->itemData(i, kFlagrolle).toString(); }

void frmAnzeigegruppen::Form_Load(int anzahl) {
  Prozedur(QStringLiteral("frmAnzeigegruppen - Form_Load"), [&] {
    SetSchriftart(this);
    // The boxes are the groups the user may see now; the count the main window passed
    // was taken from the same list.
    QStringList gruppen;
    for (const QString& h : Gruppenüberschriften())
      if (Anzeigeberechtigung_enthält(h)) gruppen << h;
    mAnzahl = static_cast<int>(gruppen.size());
    (void)anzahl;
    const int n = mAnzahl;

    QWidget* davor = cmbMitarbeitergruppe;
    for (int i = 1; i <= 3; ++i) {
      setTabOrder(davor, cmdAuswahl[i]);
      davor = cmdAuswahl[i];
    }
    for (int j = 1; j <= n; ++j) {
      auto* box = new QCheckBox(Gruppenbeschriftung(gruppen[j - 1]), this);
      box->setObjectName(QStringLiteral("chkMitarbeitergruppe_%1").arg(j));
      box->setProperty("Tag", gruppen[j - 1]);
      // Only the user's click changes a flag text, never the showing of a group.
      connect(box, &QCheckBox::clicked, this, [this] { chkMitarbeitergruppe_Click(); });
      setTabOrder(davor, box);
      davor = box;
      chkMitarbeitergruppe.push_back(box);
    }
    for (int i = 4; i <= 6; ++i) {
      setTabOrder(davor, cmdAuswahl[i]);
      davor = cmdAuswahl[i];
    }

    // Stored groups keep only the boxes the user may still see; a user without groups
    // is offered one with every group.
    if (gAnzeigegruppen.value(1) == u"NoGroups" || Anzeigegruppen_Anzahl() == 0) {
      cmbMitarbeitergruppe->addItem(QStringLiteral("Alle Mitarbeiter"), QVariant());
      cmbMitarbeitergruppe->setItemData(0, QString(n, u'1'), kFlagrolle);
    } else {
      for (int k = 1; k < gAnzeigegruppen.size(); ++k) {
        const QString& zeile = gAnzeigegruppen[k];
        if (zeile.isEmpty()) continue;
        const qsizetype strich = zeile.indexOf(u'|');
        const QString name = strich < 0 ? zeile : zeile.left(strich);
        const QString mitglieder = strich < 0 ? QString() : u':' + zeile.mid(strich + 1);
        QString f(n, u'0');
        for (int j = 1; j <= n; ++j)
          if (mitglieder.contains(u':' + gruppen[j - 1] + u':')) f[j - 1] = u'1';
        // The list keeps its items sorted, also those read from the file.
        int p = 0;
        while (p < cmbMitarbeitergruppe->count() && Anzeigegruppen_vor(cmbMitarbeitergruppe->itemText(p), name)) ++p;
        cmbMitarbeitergruppe->insertItem(p, name);
        cmbMitarbeitergruppe->setItemData(p, f, kFlagrolle);
      }
    }

    const Gruppenspalten spalten = Gruppen_anordnen(chkMitarbeitergruppe, 2160);
    // The three list buttons stand in a row under the combo box, each as wide as the
    // widest caption needs in the program's font.
    int knopf = 1125;
    for (int i = 1; i <= 3; ++i)
      knopf = std::max(knopf, static_cast<int>(bildschirm::pixelZuTwips(cmdAuswahl[i]->sizeHint().width())));
    const int innenBreite =
        std::max({3105 + spalten.letzterVersatz + spalten.letzteBreite, 5775, 300 + 3 * knopf + 2 * 60 + 240 + 1935});
    const int innenHöhe = 2400 + 360 * spalten.höchsteZeilenzahl;
    const int links = innenBreite - 1935;
    lblBeschriftung[1]->setGeometry(px(300), px(240), px(3300), px(255));
    cmbMitarbeitergruppe->setGeometry(px(300), px(540), px(links - 540), px(330));
    for (int i = 1; i <= 3; ++i)
      cmdAuswahl[i]->setGeometry(px(300 + (i - 1) * (knopf + 60)), px(1080), px(knopf), px(375));
    lblBeschriftung[2]->setGeometry(px(300), px(1800), px(3300), px(255));
    cmdAuswahl[4]->setGeometry(px(links), px(n == 2 ? innenHöhe - 2235 : 1065), px(1695), px(375));
    cmdAuswahl[5]->setGeometry(px(links), px(innenHöhe - 1515), px(1695), px(375));
    cmdAuswahl[6]->setGeometry(px(links), px(innenHöhe - 795), px(1695), px(375));
    setFixedSize(px(innenBreite), px(innenHöhe));

    connect(cmbMitarbeitergruppe, &QComboBox::currentIndexChanged, this, [this] { cmbMitarbeitergruppe_Click(); });
    cmbMitarbeitergruppe->setCurrentIndex(0);
    cmbMitarbeitergruppe_Click();
  });
}

void frmAnzeigegruppen::cmbMitarbeitergruppe_Click() {
  Prozedur(QStringLiteral("frmAnzeigegruppen - cmbMitarbeitergruppe_Click"), [&] {
    const int i = cmbMitarbeitergruppe->currentIndex();
    const QString f = i < 0 ? QString(mAnzahl, u'0') : Flags(i);
    for (int j = 1; j <= mAnzahl; ++j) chkMitarbeitergruppe[j]->setChecked((j <= f.size() && f[j - 1] == u'1'));
    // The empty item left after the last group was deleted offers only adding.
    const bool da = !cmbMitarbeitergruppe->currentText().isEmpty();
    lblBeschriftung[1]->setEnabled(da);
    lblBeschriftung[2]->setEnabled(da);
    cmbMitarbeitergruppe->setEnabled(da);
    for (int j = 1; j <= mAnzahl; ++j) chkMitarbeitergruppe[j]->setEnabled(da);
    cmdAuswahl[2]->setEnabled(da);
    cmdAuswahl[3]->setEnabled(da);
  });
}

void frmAnzeigegruppen::chkMitarbeitergruppe_Click() {
  Prozedur(QStringLiteral("frmAnzeigegruppen - chkMitarbeitergruppe_Click"), [&] {
    const int i = cmbMitarbeitergruppe->currentIndex();
    if (i < 0) return;
    QString f;
    for (int j = 1; j <= mAnzahl; ++j) f += chkMitarbeitergruppe[j]->isChecked() ? u'1' : u'0';
    cmbMitarbeitergruppe->setItemData(i, f, kFlagrolle);
  });
}

bool frmAnzeigegruppen::Vorhanden(const QString& name) const {
  for (int i = 0; i < cmbMitarbeitergruppe->count(); ++i)
    if (cmbMitarbeitergruppe->itemText(i).compare(name, Qt::CaseInsensitive) == 0) {
      Meldung(QStringLiteral("Eine Anzeigegruppe mit dem Namen '") + name + QStringLiteral("' existiert bereits"));
      return true;
    }
  return false;
}

void frmAnzeigegruppen::Einfügen(const QString& name, const QString& flags) {
  int p = 0;
  while (p < cmbMitarbeitergruppe->count() && Anzeigegruppen_vor(cmbMitarbeitergruppe->itemText(p), name)) ++p;
  {
    const QSignalBlocker b(cmbMitarbeitergruppe);
    cmbMitarbeitergruppe->insertItem(p, name);
    cmbMitarbeitergruppe->setItemData(p, flags, kFlagrolle);
    cmbMitarbeitergruppe->setCurrentIndex(p);
  }
  cmbMitarbeitergruppe_Click();
}

void frmAnzeigegruppen::Anzeigegruppe_hinzufügen() {
  Prozedur(QStringLiteral("frmAnzeigegruppen - Anzeigegruppe_hinzufügen"), [&] {
    const QString antwort =
        eingabe(this, QStringLiteral("Anzeigegruppe hinzufügen:\r\rName der Anzeigegruppe"), QString(), kTitel);
    if (antwort.isEmpty() || Vorhanden(antwort)) return;
    if (cmbMitarbeitergruppe->currentText().isEmpty()) {
      // Only the empty item is left: the answer takes its place and its empty ticks.
      const QString f = Flags(0);
      {
        const QSignalBlocker b(cmbMitarbeitergruppe);
        cmbMitarbeitergruppe->clear();
      }
      Einfügen(antwort, f.isEmpty() ? QString(mAnzahl, u'0') : f);
      return;
    }
    Einfügen(antwort, QString(mAnzahl, u'0'));
  });
}

void frmAnzeigegruppen::Anzeigegruppe_umbenennen() {
  Prozedur(QStringLiteral("frmAnzeigegruppen - Anzeigegruppe_umbenennen"), [&] {
    const int alt = cmbMitarbeitergruppe->currentIndex();
    if (alt < 0) return;
    QString gezeigt = cmbMitarbeitergruppe->itemText(alt);
    if (gezeigt.size() > 35) gezeigt = gezeigt.left(32) + QStringLiteral(" ...");
    const QString antwort = eingabe(this,
                                    QStringLiteral("Anzeigegruppe '") + gezeigt +
                                        QStringLiteral("' umbenennen:\r\rName der Anzeigegruppe ändern auf"),
                                    QString(), kTitel);
    if (antwort.isEmpty() || Vorhanden(antwort)) return;
    const QString f = Flags(alt);
    {
      const QSignalBlocker b(cmbMitarbeitergruppe);
      cmbMitarbeitergruppe->removeItem(alt);
    }
    Einfügen(antwort, f);
  });
}

void frmAnzeigegruppen::Anzeigegruppe_löschen() {
  Prozedur(QStringLiteral("frmAnzeigegruppen - Anzeigegruppe_löschen"), [&] {
    const int i = cmbMitarbeitergruppe->currentIndex();
    if (i < 0) return;
    if (!Frage(QStringLiteral("Möchten Sie die Anzeigegruppe '") + cmbMitarbeitergruppe->itemText(i) +
               QStringLiteral("' wirklich löschen?")))
      return;
    {
      const QSignalBlocker b(cmbMitarbeitergruppe);
      cmbMitarbeitergruppe->removeItem(i);
      if (cmbMitarbeitergruppe->count() == 0) {
        cmbMitarbeitergruppe->addItem(QString());
        cmbMitarbeitergruppe->setItemData(0, QString(mAnzahl, u'0'), kFlagrolle);
      }
      cmbMitarbeitergruppe->setCurrentIndex(0);
    }
    cmbMitarbeitergruppe_Click();
  });
}

bool frmAnzeigegruppen::Plausibilitätsprüfung() {
  return Prozedur(QStringLiteral("frmAnzeigegruppen - Plausibilitätsprüfung"), [&]() -> bool {
    if (cmbMitarbeitergruppe->currentText().isEmpty()) return true;
    for (int i = 0; i < cmbMitarbeitergruppe->count(); ++i) {
      if (Flags(i).contains(u'1')) continue;
      Meldung(QStringLiteral("Der Anzeigegruppe '") + cmbMitarbeitergruppe->itemText(i) +
              QStringLiteral("' wurde keine Mitarbeitergruppe zugeordnet"));
      cmbMitarbeitergruppe->setCurrentIndex(i);
      cmbMitarbeitergruppe_Click();
      return false;
    }
    return true;
  });
}

bool frmAnzeigegruppen::Anzeigegruppen_aktualisieren() {
  return Prozedur(QStringLiteral("frmAnzeigegruppen - Anzeigegruppen_aktualisieren"), [&]() -> bool {
    const QStringList vorher = gAnzeigegruppen;
    QStringList neu{QString()};
    if (cmbMitarbeitergruppe->currentText().isEmpty()) {
      neu << QStringLiteral("NoGroups");
    } else {
      for (int i = 0; i < cmbMitarbeitergruppe->count(); ++i) {
        QString zeile = cmbMitarbeitergruppe->itemText(i) + u'|';
        const QString f = Flags(i);
        for (int j = 1; j <= mAnzahl; ++j)
          if ((j <= f.size() && f[j - 1] == u'1')) zeile += chkMitarbeitergruppe[j]->property("Tag").toString() + u':';
        neu << zeile;
      }
    }
    if (vorher.mid(1).join(QString()) == neu.mid(1).join(QString())) return true;
    gAnzeigegruppen = neu;
    if (Mitarbeiteranzgru_schreiben()) return true;
    // Not stored: the user's groups stay as they were, the dialog open for a retry.
    gAnzeigegruppen = vorher;
    return false;
  });
}

void frmAnzeigegruppen::cmdAuswahl_Click(int index) {
  Prozedur(QStringLiteral("frmAnzeigegruppen - cmdAuswahl_Click"), [&] {
    switch (index) {
      case 1:
        Anzeigegruppe_hinzufügen();
        break;
      case 2:
        Anzeigegruppe_umbenennen();
        break;
      case 3:
        Anzeigegruppe_löschen();
        break;
      case 4:
        hilfe(this);
        break;
      case 5:
        reject();
        break;
      case 6:
        if (Plausibilitätsprüfung() && Anzeigegruppen_aktualisieren()) accept();
        break;
    }
  });
}

void frmAnzeigegruppen::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    e->accept();
    cmdAuswahl_Click(4);
    return;
  }
  QDialog::keyPressEvent(e);
}
