// The country dialog: the list of the master file, the preselection and what applying a
// country writes.
#include "config/frmLaendereinstellungen.h"

#include <QComboBox>

#include "common/Feiertagsdialoge.h"

namespace {
using namespace feiertage;

class LaenderTest : public Feiertagsdialoge {};

TEST_F(LaenderTest, DieListeNenntCodeUndNameJedesKopfesUndWaehltGLandVorPosition15) {
  struct Fall {
    const char16_t* land;
    const char16_t* position15;
    const char16_t* gewählt;  // empty: nothing selected
  };
  for (const Fall& f : {Fall{u"Deutschland", u"2", u"Deutschland"}, Fall{u"", u"2", u"France"},
                        Fall{u"Atlantis", u"3", u"España"}, Fall{u"", u"7", u""}}) {
    SCOPED_TRACE(QString::fromUtf16(f.land).toStdString());
    gLand = QString::fromUtf16(f.land);
    gSettings[14] = QString::fromUtf16(f.position15)[0];
    auto d = zeigen<frmLaendereinstellungen>();
    EXPECT_EQ(d->Ländercodes().value(1), u"049");
    EXPECT_EQ(d->Ländernamen().value(1), u"Deutschland");
    EXPECT_EQ(d->Ländercodes().size(), d->cmbLänderliste->count() + 1);
    EXPECT_EQ(d->cmbLänderliste->currentText(), QString::fromUtf16(f.gewählt));
    // Without a country there is nothing to apply.
    EXPECT_EQ(d->cmdAuswahl[1]->isEnabled(), f.gewählt[0] != 0);
  }
}

TEST_F(LaenderTest, DasselbeLandNochmalsSetztDieVorlageZurueckUndProtokolliert) {
  QStringList defs = Deutsche_Definitionen();
  defs[0] = QStringLiteral("0:01.01.:Neujahr");
  defs << QStringLiteral("24.12.") << QStringLiteral("31.12.");
  feiertageSchreiben(QStringLiteral("Deutschland"), defs);
  Feiertage_lesen();
  auto d = zeigen<frmLaendereinstellungen>();
  ASSERT_EQ(d->cmbLänderliste->currentText(), u"Deutschland");
  QTest::mouseClick(d->cmdAuswahl[1], Qt::LeftButton);
  EXPECT_FALSE(d->isVisible());
  QStringList erwartet{QStringLiteral("[Feiertage]"), QStringLiteral("Velkora:0123456789AB"),
                       QStringLiteral("Deutschland")};
  erwartet << Deutsche_Definitionen();
  EXPECT_EQ(feiertagszeilen(), erwartet);
  EXPECT_EQ(gFeiertagsdefinitionen.size(), 17);
  EXPECT_EQ(gespeicherteEinstellungen().mid(13, 1), u"0");
  EXPECT_EQ(logbuch(), QStringList{QStringLiteral("Ländereinstellung geändert auf Deutschland")});
}

TEST_F(LaenderTest, EinAnderesLandErsetztDieDefinitionen) {
  auto d = zeigen<frmLaendereinstellungen>();
  d->cmbLänderliste->setCurrentIndex(d->cmbLänderliste->findText(QStringLiteral("France")));
  QTest::mouseClick(d->cmdAuswahl[1], Qt::LeftButton);
  EXPECT_EQ(gLand, u"France");
  EXPECT_EQ(feiertagszeilen().value(2), u"France");
  EXPECT_EQ(feiertagszeilen().value(3), u"1:01.01.:Jour de l'an");
  EXPECT_TRUE(gFeiertagsTabelle.contains(QStringLiteral("250714|")));
}

TEST_F(LaenderTest, AbbrechenLaesstAllesWieEsWar) {
  const QByteArray konfig = lesen(gDatenordner + QStringLiteral("Konfigdaten.dat"));
  const QByteArray feiertage = lesen(gDatenordner + QStringLiteral("Feiertage.dat"));
  auto d = zeigen<frmLaendereinstellungen>();
  d->cmbLänderliste->setCurrentIndex(2);
  QTest::mouseClick(d->cmdAuswahl[2], Qt::LeftButton);
  EXPECT_EQ(Setting(14), 1);
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Konfigdaten.dat")), konfig);
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Feiertage.dat")), feiertage);
  EXPECT_EQ(gLand, u"Deutschland");
}

TEST_F(LaenderTest, EinFalscherKopfDerStammdateiBeendetDasProgramm) {
  schreiben(gBasisordner + QStringLiteral("VelkoraFtg.dat"),
            kodiert({QStringLiteral("[Feiertage]"), QStringLiteral("[049 Deutschland]")}));
  ERWARTE_PROGRAMMENDE(frmLaendereinstellungen d);
  ASSERT_FALSE(skript->texte().empty());
  EXPECT_TRUE(skript->texte().back().startsWith(QStringLiteral("Der Dateiheader [VelkoraFeiertageDat] der Datei ")))
      << skript->texte().back().toStdString();
  EXPECT_TRUE(skript->texte().back().contains(QStringLiteral("Installieren Sie das Programm erneut")));
}

}  // namespace
