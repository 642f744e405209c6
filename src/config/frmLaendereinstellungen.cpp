#include "config/frmLaendereinstellungen.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Einrichtung.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "widgets/Fensterhilfen.h"

namespace {
int px(double twips) { return bildschirm::twipsZuPixel(twips); }

const QString kName = QStringLiteral("frmLaendereinstellungen - ");

// The country of the default data that settings position 15 names.
QString Ländervariante(int wert) {
  switch (wert) {
    case 0:
      return QStringLiteral("Deutschland");
    case 1:
      return QStringLiteral("United States");
    case 2:
      return QStringLiteral("France");
    case 3:
      return QStringLiteral("España");
    default:
      return {};
  }
}
}  // namespace

frmLaendereinstellungen::frmLaendereinstellungen(QWidget* besitzer) : QDialog(besitzer) {
  setObjectName(QStringLiteral("frmLaendereinstellungen"));
  setWindowTitle(QStringLiteral("Velkora - Land"));
  setModal(true);
  lblBeschriftung = new QLabel(QStringLiteral("Feiertage folgendes Landes verwenden:"), this);
  lblBeschriftung->setObjectName(QStringLiteral("lblBeschriftung"));
  cmbLänderliste = new QComboBox(this);
  cmbLänderliste->setObjectName(QStringLiteral("cmbLaenderliste"));
  const char16_t* knöpfe[] = {nullptr, u"&OK", u"&Abbrechen"};
  for (int i = 1; i <= 2; ++i) {
    cmdAuswahl[i] = new QPushButton(QString::fromUtf16(knöpfe[i]), this);
    cmdAuswahl[i]->setObjectName(QStringLiteral("cmdAuswahl_%1").arg(i));
    cmdAuswahl[i]->setAutoDefault(false);
    connect(cmdAuswahl[i], &QPushButton::clicked, this, [this, i] { cmdAuswahl_Click(i); });
  }
  lblBeschriftung->setGeometry(px(360), px(300), px(3735), px(255));
  cmbLänderliste->setGeometry(px(360), px(660), px(3735), px(330));
  cmdAuswahl[1]->setGeometry(px(4395), px(300), px(1455), px(375));
  cmdAuswahl[2]->setGeometry(px(4395), px(780), px(1455), px(375));
  setFixedSize(px(6210), px(1515));
  Form_Load();
}

void frmLaendereinstellungen::Form_Load() {
  Prozedur(kName + QStringLiteral("Form_Load"), [&] {
    SetSchriftart(this);
    // The confirmation is stored in the configuration: start from what is stored now.
    CheckKonfigdaten();
    mStand = Stammdatenstand();
    Länder_aus_VelkoraFeiertageDat_lesen();
    int gleich = 0, variante = 0;
    const QString vorgabe = Ländervariante(Setting(15));
    for (int i = 1; i < mNamen.size(); ++i) {
      cmbLänderliste->addItem(mNamen[i]);
      if (gleich == 0 && mNamen[i] == gLand) gleich = i;
      if (variante == 0 && !vorgabe.isEmpty() && mNamen[i] == vorgabe) variante = i;
    }
    const int wahl = gleich > 0 ? gleich : variante;
    cmbLänderliste->setCurrentIndex(wahl - 1);
    // Without a country there is nothing to apply.
    connect(cmbLänderliste, &QComboBox::currentIndexChanged, this, [this] { Auswahl_geändert(); });
    Auswahl_geändert();
  });
}

void frmLaendereinstellungen::Auswahl_geändert() { cmdAuswahl[1]->setEnabled(cmbLänderliste->currentIndex() >= 0); }

void frmLaendereinstellungen::Länder_aus_VelkoraFeiertageDat_lesen() {
  Prozedur(kName + QStringLiteral("Länder_aus_VelkoraFeiertageDat_lesen"), [&] {
    const QString pfad = gBasisordner + QStringLiteral("VelkoraFtg.dat");
    const std::optional<QStringList> zeilen =
        Alle_Zeilen_lesen_wie(pfad, {.kopf = QStringLiteral("[VelkoraFeiertageDat]")});
    if (!zeilen) {
      Dateifehler(4, pfad, QStringLiteral("VelkoraFeiertageDat"),
                  kName + QStringLiteral("Länder_aus_VelkoraFeiertageDat_lesen"));
      return;
    }
    // The header itself names no country.
    for (const QString& z : zeilen->mid(1)) {
      if (!z.startsWith(u'[')) continue;
      mCodes << z.mid(1, 3);
      mNamen << (z.size() > 6 ? z.mid(5, z.size() - 6) : QString());
    }
  });
}

void frmLaendereinstellungen::Ländereinstellung_übernehmen() {
  Prozedur(kName + QStringLiteral("Ländereinstellung_übernehmen"), [&] {
    const int i = cmbLänderliste->currentIndex() + 1;
    if (i < 1 || i >= mCodes.size()) return;
    // The configuration is written whole from memory: a change another workstation
    // stored since the dialog opened would be undone.
    if (!mStand.unverändert(false, true)) return;
    VelkoraFeiertageDat_lesen(mCodes[i]);
    Feiertage_schreiben();
    Feiertage_lesen();
    SetSetting(14, 0);
    Konfigdaten_schreiben();
    Logbuch_ergänzen(2, QStringLiteral("Ländereinstellung geändert auf ") + gLand);
  });
}

void frmLaendereinstellungen::cmdAuswahl_Click(int index) {
  Prozedur(kName + QStringLiteral("cmdAuswahl_Click"), [&] {
    if (index == 1) {
      if (cmbLänderliste->currentIndex() < 0) return;
      Ländereinstellung_übernehmen();
      accept();
    } else {
      reject();
    }
  });
}
