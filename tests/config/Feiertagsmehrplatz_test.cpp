// The holidays, weekend, country and settings dialogs beside another workstation: a program
// process on the same data folder changes a setting while a dialog is open; applying
// the dialog must not write its older copy of the configuration over that change.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QThread>

#include "common/Arbeitsplatzprozess.h"
#include "common/Testumgebung.h"
#include "config/frmEinstellungen.h"
#include "config/frmFeiertage.h"
#include "config/frmLaendereinstellungen.h"
#include "config/frmWochenende.h"
#include "platform/Bildschirm.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Stammdatenstand.h"

namespace {

class FeiertageMehrplatz : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    bildschirm::setzeDpi(96);
    basis = ordner();
    Arbeitsplatzordner_anlegen(basis);
  }
  void TearDown() override {
    bildschirm::setzeDpi(0);
    VelkoraTest::TearDown();
  }

  // A first start of another workstation creates the data folder; this process then
  // works on it as the administrator of the default data.
  void datenordnerAnlegen() {
    {
      Arbeitsplatz erster(QStringLiteral("anna"), basis, QStringLiteral("120326"));
      ASSERT_EQ(erster.zeile(), u"ready 2603") << erster.fehlerausgabe();
      ASSERT_NE(erster.beenden(), -1);
    }
    uhr::zurücksetzen();
    gDatenordner = basis + QStringLiteral("Daten/Data/");
    gBasisordner = basis + QStringLiteral("Programm/");
    gLogordner = unterordner(QStringLiteral("Logs"));
    gHeute = QDate(2026, 3, 12);
    gHeuteText = QStringLiteral("260312");
    gDatumstrennzeichen = QStringLiteral(".");
    gDatumsreihenfolge = 1;
    gKennzeile.clear();
    Konfigdaten_lesen();
    Mitarbeiterdaten_lesen();
    Feiertage_lesen();
    gBenutzerstufe = 2;
  }

  // Another workstation changes one settings position and ends.
  void andererArbeitsplatzÄndert(const QString& einstellung) {
    QThread::msleep(20);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("USERNAME"), QStringLiteral("anna"));
    env.insert(QStringLiteral("TEMP"), basis + QStringLiteral("Temp_anna"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VELKORA_BIN_DIR "/velkora_arbeitsplatz"),
            {basis + QStringLiteral("Daten"), basis + QStringLiteral("Programm"), QStringLiteral("120326"),
             QStringLiteral("/setting:") + einstellung});
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(kFristMs));
  }

  QString konfigpfad() const { return gDatenordner + QStringLiteral("Konfigdaten.dat"); }
  QString einstellungenImOrdner() const { return dekodierteZeilen(konfigpfad()).value(7); }

  QString basis;
};

TEST_F(FeiertageMehrplatz, EineInzwischenGeschriebeneKonfigurationWirdNichtUeberschrieben) {
  ASSERT_NO_FATAL_FAILURE(datenordnerAnlegen());
  ASSERT_EQ(Setting(2), 0);
  ASSERT_EQ(Setting(14), 1);
  const QString wochenende = gWochenende;
  const QByteArray feiertage = lesen(gDatenordner + QStringLiteral("Feiertage.dat"));
  // Each dialog with a change of its own, applied after the other workstation wrote.
  const std::vector<std::pair<const char*, std::function<void(std::function<void()>)>>> fälle = {
      {"Wochenende",
       [&](std::function<void()> dazwischen) {
         frmWochenende d;
         d.chkWochenende[5]->setChecked(true);
         d.chkEingabe->setChecked(!d.chkEingabe->isChecked());
         dazwischen();
         d.cmdAuswahl[2]->click();
       }},
      {"Feiertage",
       [&](std::function<void()> dazwischen) {
         frmFeiertage d;
         d.chkFeiertage[2]->setChecked(!d.chkFeiertage[2]->isChecked());
         d.chkEingabe->setChecked(!d.chkEingabe->isChecked());
         dazwischen();
         d.cmdAuswahl[3]->click();
       }},
      {"Land",
       [&](std::function<void()> dazwischen) {
         frmLaendereinstellungen d;
         d.cmbLänderliste->setCurrentIndex(d.cmbLänderliste->findText(QStringLiteral("France")));
         dazwischen();
         d.cmdAuswahl[1]->click();
       }},
  };
  int position = 2;
  for (const auto& [name, dialog] : fälle) {
    SCOPED_TRACE(name);
    skript->protokoll.clear();
    dialog([&] { andererArbeitsplatzÄndert(QStringLiteral("%1=1").arg(position)); });
    EXPECT_EQ(skript->texte(), std::vector<QString>{QString::fromUtf16(kStammdatenGeändert)});
    // The other workstation's change stands, this one's is not written.
    const QString einstellungen = einstellungenImOrdner();
    EXPECT_EQ(einstellungen.mid(position - 1, 1), u"1");
    EXPECT_EQ(einstellungen.mid(11, 1), u"0");
    EXPECT_EQ(einstellungen.mid(13, 1), u"1");
    EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Feiertage.dat")), feiertage);
    EXPECT_EQ(gWochenende, wochenende);
    ++position;
  }
}

// The settings dialog writes the configuration itself when a code button is moved;
// its OK then still applies the other changes of the same opening. When another
// workstation writes after that move, the OK is refused and that write stands.
TEST_F(FeiertageMehrplatz, EinstellungenNachEigenerVerschiebungNurOhneAnderenArbeitsplatz) {
  ASSERT_NO_FATAL_FAILURE(datenordnerAnlegen());
  gSicherungsordner = gDatenordner + QStringLiteral("Backups/");
  ASSERT_GE(Schaltflächen_Anzahl(), 3);
  for (const bool anderer : {false, true}) {
    SCOPED_TRACE(anderer);
    skript->protokoll.clear();
    const QString vorher = einstellungenImOrdner();
    frmEinstellungen d;
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    const auto thema = [&d](const QString& caption) {
      const auto t = d.lstListe->findItems(caption, Qt::MatchExactly);
      ASSERT_FALSE(t.isEmpty());
      d.lstListe->setCurrentItem(t.first());
    };
    thema(QStringLiteral("Schaltflächen anzeigen"));
    const int neu = vorher.mid(7, 1) == u"0" ? 1 : 0;
    d.optOption[neu + 1]->click();
    ASSERT_EQ(d.Einstellungen.mid(7, 1), QString::number(neu));
    thema(QStringLiteral("Schaltflächen-Anordnung ändern"));
    d.txtSfNr[1]->setText(QStringLiteral("1"));
    d.txtSfNr[2]->setText(QStringLiteral("2"));
    d.cmdAuswahl[2]->click();
    ASSERT_EQ(skript->texte().size(), 1u);
    ASSERT_EQ(skript->texte()[0], QStringLiteral("Schaltfläche '1' an Position von Schaltfläche '2' verschoben"))
        << skript->texte()[0].toStdString();
    if (anderer) andererArbeitsplatzÄndert(QStringLiteral("2=1"));
    d.cmdAuswahl[3]->click();
    const QString danach = einstellungenImOrdner();
    if (anderer) {
      EXPECT_EQ(skript->texte().back(), QString::fromUtf16(kStammdatenGeändert));
      EXPECT_EQ(danach.mid(1, 1), u"1");
      EXPECT_EQ(danach.mid(7, 1), vorher.mid(7, 1));
    } else {
      EXPECT_EQ(skript->texte().size(), 1u);
      EXPECT_EQ(danach.mid(7, 1), QString::number(neu));
    }
  }
}

}  // namespace
