#include "planner/frmRecovery.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/Testumgebung.h"
#include "startup/Start.h"
#include "store/Jahreswechsel.h"
#include "store/Sicherung.h"

namespace {

QStringList einträge(const QComboBox* c) {
  QStringList r;
  for (int i = 0; i < c->count(); ++i) r << c->itemText(i);
  return r;
}

class Recovery : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gDatumsreihenfolge = 1;
    gDatumstrennzeichen = QStringLiteral(".");
  }
  void sicherung(const char* name, const QDateTime& zeit) {
    const QString pfad = gSicherungsordner + QString::fromLatin1(name);
    schreiben(pfad, "x");
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(zeit, QFileDevice::FileModificationTime));
  }
};

TEST_F(Recovery, ListetSicherungspunkteNeuesteZuerstUndWaehltEinen) {
  // The names and the time stamps disagree about the order.
  sicherung("260302 080000 T.dat", QDateTime(QDate(2026, 3, 2), QTime(8, 0, 0)));
  sicherung("260301 120000 M.dat", QDateTime(QDate(2026, 3, 4), QTime(9, 0, 0)));
  sicherung("260303 070000 F.dat", QDateTime(QDate(2026, 3, 5), QTime(9, 0, 0)));
  sicherung("270101 070000 J.dat", QDateTime(QDate(2026, 3, 5), QTime(9, 0, 0)));
  sicherung("000000 000000 I.dat", QDateTime(QDate(2026, 3, 6), QTime(9, 0, 0)));
  gSicherungsdatei = QStringLiteral("alt");

  frmRecovery f;
  EXPECT_EQ(f.windowTitle(), QStringLiteral("Velkora - Datenordner wiederherstellen"));
  EXPECT_EQ(f.lblBeschriftung->text(), QStringLiteral("Vorhandene Sicherungszeitpunkte"));
  EXPECT_EQ(f.cmdAuswahl[1]->text(), QStringLiteral("&Hilfe ..."));
  EXPECT_EQ(f.cmdAuswahl[2]->text(), QStringLiteral("&Datenordner wiederherstellen"));
  EXPECT_EQ(f.cmdAuswahl[3]->text(), QStringLiteral("&Abbrechen"));
  EXPECT_TRUE(gSicherungsdatei.isEmpty());
  // By file time at first.
  EXPECT_EQ(einträge(f.cmbDateiliste), (QStringList{QStringLiteral("Sicherung vom 04.03.26, 09:00:00 Uhr"),
                                                    QStringLiteral("Sicherung vom 02.03.26, 08:00:00 Uhr")}));
  EXPECT_EQ(f.cmbDateiliste->currentIndex(), 0);
  // F3 by name, F2 by file time again.
  QTest::keyClick(&f, Qt::Key_F3);
  EXPECT_EQ(einträge(f.cmbDateiliste), (QStringList{QStringLiteral("Sicherung vom 02.03.26, 08:00:00 Uhr"),
                                                    QStringLiteral("Sicherung vom 01.03.26, 12:00:00 Uhr")}));
  f.cmbDateiliste->setCurrentIndex(1);
  QTest::keyClick(&f, Qt::Key_F2);
  EXPECT_EQ(f.cmbDateiliste->currentIndex(), 0);
  EXPECT_EQ(f.cmbDateiliste->itemText(0), QStringLiteral("Sicherung vom 04.03.26, 09:00:00 Uhr"));

  f.cmbDateiliste->setCurrentIndex(1);
  f.cmdAuswahl[2]->click();
  EXPECT_EQ(gSicherungsdatei, QStringLiteral("260302 080000 T.dat"));
  EXPECT_EQ(f.result(), QDialog::Accepted);
}

TEST_F(Recovery, RueckblickListetNurJahreswechselbackups) {
  sicherung("260302 080000 T.dat", QDateTime(QDate(2026, 3, 2), QTime(8, 0, 0)));
  sicherung("270101 070000 J.dat", QDateTime(QDate(2026, 1, 1), QTime(7, 0, 0)));
  gRückblick = true;
  frmRecovery f;
  QTest::keyClick(&f, Qt::Key_F3);
  EXPECT_EQ(einträge(f.cmbDateiliste), QStringList{QStringLiteral("Sicherung vom 01.01.27, 07:00:00 Uhr")});
  f.cmdAuswahl[2]->click();
  EXPECT_EQ(gSicherungsdatei, QStringLiteral("270101 070000 J.dat"));
}

TEST_F(Recovery, LeererOrdnerBietetNurAbbrechenUndHilfe) {
  sicherung("260303 070000 F.dat", QDateTime(QDate(2026, 3, 5), QTime(9, 0, 0)));
  int hilfen = 0;
  frmRecovery::hilfe = [&](QWidget*) { ++hilfen; };
  frmRecovery f;
  EXPECT_EQ(einträge(f.cmbDateiliste), QStringList{QStringLiteral("Keine Sicherungsdatei vorhanden")});
  EXPECT_FALSE(f.cmbDateiliste->isEnabled());
  EXPECT_FALSE(f.cmdAuswahl[2]->isEnabled());
  EXPECT_TRUE(f.cmdAuswahl[1]->isEnabled());
  EXPECT_TRUE(f.cmdAuswahl[3]->isEnabled());
  f.cmdAuswahl[1]->click();
  QTest::keyClick(&f, Qt::Key_F1);
  EXPECT_EQ(hilfen, 2);
  frmRecovery::hilfe = nullptr;
  f.cmdAuswahl[3]->click();
  EXPECT_EQ(f.result(), QDialog::Rejected);
  EXPECT_TRUE(gSicherungsdatei.isEmpty());
}

TEST_F(Recovery, AbbrechenLaesstNichtsGewaehlt) {
  sicherung("260302 080000 T.dat", QDateTime(QDate(2026, 3, 2), QTime(8, 0, 0)));
  QTimer::singleShot(0, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = dynamic_cast<frmRecovery*>(w); f && f->isVisible()) f->cmdAuswahl[3]->click();
  });
  Recovery_anzeigen(nullptr);
  EXPECT_TRUE(gSicherungsdatei.isEmpty());
}

}  // namespace
