#pragma once
// The display-permission and display-group tests: the planner's data folder (groups
// "Verwaltung" and "Lager", the first row no heading, user "tester"), the logbook
// held back to be read, and helpers to find the dialogs' controls.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "common/Planerordner.h"
#include "people/frmAnzeigegruppen.h"
#include "startup/Logbuch.h"
#include "store/Anzeigeberechtigungen.h"

namespace anzeige {

class AnzeigeTest : public planer::PlanerTest {
 protected:
  void SetUp() override {
    PlanerTest::SetUp();
    bildschirm::setzeDpi(96);
    gBenutzerstufe = 2;
    gKonfigdatenZeit = Dateizeit(konfigpfad());
    gLogbuchPuffern = true;
    gLogbuchPuffer = QStringList{QStringLiteral("NoData")};
  }
  void TearDown() override {
    gLogbuchPuffern = false;
    bildschirm::setzeDpi(0);
    PlanerTest::TearDown();
  }
  static QString konfigpfad() { return gDatenordner + QStringLiteral("Konfigdaten.dat"); }
  static QString anzberpfad() { return gDatenordner + QStringLiteral("Mitarbeiteranzber.dat"); }
  static QString anzgrupfad() { return gDatenordner + QStringLiteral("Mitarbeiteranzgru.dat"); }
  // The display-group dialog with a row for each heading the user may see, as the menu
  // opens it.
  static std::unique_ptr<frmAnzeigegruppen> anzeigegruppenÖffnen() {
    int n = 0;
    for (const QString& h : Gruppenüberschriften()) n += Anzeigeberechtigung_enthält(h) ? 1 : 0;
    auto d = std::make_unique<frmAnzeigegruppen>(n);
    d->show();
    return d;
  }
  // Headings in the given order after the fixture's rows.
  void gruppen(const QStringList& namen) {
    Mitarbeiter_setzen({{u"Frei Vera", u"vera", u"000000", u"999999"}});
    for (const QString& n : namen) {
      gMitarbeiterNamen << n;
      gBenutzerIDs << QString();
      gEintrittsdaten << QString();
      gAustrittsdaten << QString();
      gUrlaubsdaten << QString();
      gSonderurlaubsanspruch << QString();
    }
    Mitarbeitertabelle_dimensionieren(static_cast<int>(gMitarbeiterNamen.size()) - 1);
  }
  // Settings position 1 at 2 with the given permission lines, as a start reads them.
  void berechtigungen(const QStringList& zeilen) {
    SetSetting(1, 2);
    Konfigdaten_schreiben();
    gKonfigdatenZeit = Dateizeit(konfigpfad());
    gAnzeigeberechtigungen = QStringList{QString()} + zeilen;
    Mitarbeiteranzber_schreiben();
  }
  // The logbook lines held back.
  static QStringList logbuch() {
    QStringList r;
    for (const QString& z : gLogbuchPuffer)
      if (z != u"NoData") r << z;
    return r;
  }
  static QString bilderordner() {
    const QString o = QDir::tempPath() + QStringLiteral("/velkora_bilder/");
    QDir().mkpath(o);
    return o;
  }
};

template <class D>
QCheckBox* box(D& d, int j) {
  return d.chkMitarbeitergruppe[static_cast<size_t>(j)];
}
template <class D>
QString häkchen(D& d) {
  QString r;
  for (size_t j = 1; j < d.chkMitarbeitergruppe.size(); ++j) r += d.chkMitarbeitergruppe[j]->isChecked() ? u'1' : u'0';
  return r;
}

}  // namespace anzeige
