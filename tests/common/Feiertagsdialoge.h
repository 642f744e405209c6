#pragma once
// The holidays, weekend and country dialogs' tests: the month planner's data folder
// (today 12 March 2026, planning year 2025) with the shipped country holiday master
// file, a holiday file of the German set and an administrator.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "common/Planerordner.h"
#include "startup/Dateizugriff.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"

namespace feiertage {

// Line 3 and on of the German set of the master file.
inline QStringList Deutsche_Definitionen() {
  return {QStringLiteral("1:01.01.:Neujahr"),
          QStringLiteral("0:06.01.:Heilige Drei Könige (BW, BY, ST)"),
          QStringLiteral("0:08.03.:Internationaler Frauentag (BE, MV)"),
          QStringLiteral("1:VO0200:Karfreitag"),
          QStringLiteral("1:NO0100:Ostermontag"),
          QStringLiteral("1:01.05.:Tag der Arbeit"),
          QStringLiteral("1:NO3900:Christi Himmelfahrt"),
          QStringLiteral("1:NO5000:Pfingstmontag"),
          QStringLiteral("0:NO6000:Fronleichnam (BW, BY, HE, NW, RP, SL, teilweise SN und TH)"),
          QStringLiteral("0:15.08.:Mariä Himmelfahrt (SL, teilweise BY)"),
          QStringLiteral("1:03.10.:Tag der Deutschen Einheit"),
          QStringLiteral("0:31.10.:Reformationstag (BB, HB, HH, MV, NI, SN, ST, SH, TH)"),
          QStringLiteral("0:01.11.:Allerheiligen (BW, BY, NW, RP, SL)"),
          QStringLiteral("0:BU0000:Buß- und Bettag (SN)"),
          QStringLiteral("1:25.12.:1. Weihnachtstag"),
          QStringLiteral("1:26.12.:2. Weihnachtstag")};
}

class Feiertagsdialoge : public planer::PlanerTest {
 protected:
  void SetUp() override {
    PlanerTest::SetUp();
    bildschirm::setzeDpi(96);
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELKORA_BIN_DIR "/VelkoraFtg.dat"),
                            gBasisordner + QStringLiteral("VelkoraFtg.dat")));
    gDatumstrennzeichen = QStringLiteral(".");
    gDatumsreihenfolge = 1;
    feiertageSchreiben(QStringLiteral("Deutschland"), Deutsche_Definitionen());
    Feiertage_lesen();
    gBenutzerstufe = 2;
  }
  void TearDown() override {
    bildschirm::setzeDpi(0);
    PlanerTest::TearDown();
  }

  // "Feiertage.dat" with the country, the definitions and further holidays after them.
  static void feiertageSchreiben(const QString& land, const QStringList& definitionen) {
    QStringList z{QStringLiteral("[Feiertage]"), QStringLiteral("Velkora:0123456789AB"), land};
    z << definitionen;
    schreiben(gDatenordner + QStringLiteral("Feiertage.dat"), kodiert(z));
  }
  // The configuration of the fixture with its settings positions changed ("12=1") and
  // the data folder set up in the month yymm; read again.
  static void konfiguration(const QString& einrichtung, const QStringList& änderungen = {}) {
    QStringList z = planer::Konfigzeilen();
    for (const QString& a : änderungen) z[7][a.section(u'=', 0, 0).toInt() - 1] = a.section(u'=', 1)[0];
    z[8] = QStringLiteral("Einrichtung:") + einrichtung;
    schreiben(gDatenordner + QStringLiteral("Konfigdaten.dat"), kodiert(z));
    gKennzeile.clear();
    Konfigdaten_lesen();
    gBenutzerstufe = 2;
    Erfassungsdaten_Cache_verwerfen();
  }
  static QStringList konfigzeilen() { return dekodierteZeilen(gDatenordner + QStringLiteral("Konfigdaten.dat")); }
  static QString gespeicherteEinstellungen() { return konfigzeilen().value(7); }
  static QStringList feiertagszeilen() { return dekodierteZeilen(gDatenordner + QStringLiteral("Feiertage.dat")); }
  // The administrator lines of this month's logbook, without date, time and user.
  static QStringList logbuch() {
    QStringList r;
    for (const QString& z : dekodierteZeilen(gLogordner + QStringLiteral("2603 Velkora.log")))
      if (z.contains(QStringLiteral("VelkoraAdmin|"))) r << z.section(QStringLiteral("VelkoraAdmin|"), 1);
    return r;
  }
  // Line 3 of the newest version of a month.
  static QString ausnahmen(const QString& monat) {
    return dekodierteZeilen(gDatenordner + Erfassungsdatei_Name(monat)).value(2);
  }

  // Shows a dialog as the user sees it: active, its controls reachable.
  template <class T>
  std::unique_ptr<T> zeigen() {
    auto d = std::make_unique<T>();
    d->show();
    QApplication::setActiveWindow(d.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(d.get()));
    return d;
  }
  static void fokus(QWidget* w) {
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
  }
};

}  // namespace feiertage
