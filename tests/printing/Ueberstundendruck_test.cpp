#include "printing/Ueberstundendruck.h"

#include "printing/Ansichtsquellen.h"

namespace {

class Ueberstundendruck : public AnsichtsdruckTest {
 protected:
  void SetUp() override {
    AnsichtsdruckTest::SetUp();
    quelle.einsetzen();
  }
  Aufzeichnung& drucken() { return AnsichtsdruckTest::drucken(QStringLiteral("Ü"), Überstunden_drucken); }
  void zeile(const QString& datum, const QString& bemerkung = QString()) {
    Raster& g = quelle.gitter;
    const int r = g.Rows();
    g.setRows(r + 1);
    g.setTextMatrix(r, 0, datum);
    g.setTextMatrix(r, 1, QStringLiteral("+ 1:30"));
    g.setTextMatrix(r, 2, QStringLiteral("+ 12:00"));
    g.setTextMatrix(r, 3, bemerkung);
  }
  Überstundenquelle_Test quelle;
};

TEST_F(Ueberstundendruck, VerborgeneUndVerbundeneZeilenNichtGedruckt) {
  zeile(QStringLiteral("01.03.26"));
  zeile(QStringLiteral("02.03.26"));
  zeile(QStringLiteral("03.03.26"));
  quelle.gitter.setRowHeight(2, 0);
  Aufzeichnung& a = drucken();
  EXPECT_FALSE(a.quer);
  EXPECT_NE(a.suche(QStringLiteral("01.03.26")), nullptr);
  EXPECT_EQ(a.suche(QStringLiteral("02.03.26")), nullptr);
  const auto* dritte = a.suche(QStringLiteral("03.03.26"));
  ASSERT_NE(dritte, nullptr);
  EXPECT_NEAR(dritte->y - a.suche(QStringLiteral("01.03.26"))->y, 0.45, 1e-6) << "no gap for the hidden row";
  const auto* saldo = a.suche(QStringLiteral("+ 12:00"));
  ASSERT_NE(saldo, nullptr);
  EXPECT_NEAR(saldo->x + saldo->b, 8.0, 1e-6);

  // No overtime: the window's merged message row alone gives the page with headings.
  Raster& g = quelle.gitter;
  g.setRows(1);
  zeile(QStringLiteral("Keine Überstunden vorhanden"));
  g.setMergeRow(1, true);
  Aufzeichnung& b = drucken();
  EXPECT_EQ(b.seiten, 1);
  EXPECT_EQ(b.suche(QStringLiteral("Keine Überstunden vorhanden")), nullptr);
  for (const char16_t* t : {u"Überstunden Vera Muster", u"Datum", u"Std./Min.", u"Saldo", u"Bemerkung", u"Seite 1"})
    EXPECT_NE(b.suche(QString::fromUtf16(t)), nullptr) << QString::fromUtf16(t).toStdString();
}

TEST_F(Ueberstundendruck, LangerFirmennameEntfaelltLangeBemerkungGekuerzt) {
  zeile(QStringLiteral("01.03.26"), QString(60, u'b'));
  gFirmenname = QString(42, u'F');  // measures 8.4 cm on the recording printer
  Aufzeichnung& a = drucken();
  const auto* firma = a.suche(gFirmenname);
  ASSERT_NE(firma, nullptr);
  EXPECT_NEAR(firma->x + firma->b, 18.6, 1e-6);
  const auto* bemerkung = a.suche(QString(46, u'b'));
  ASSERT_NE(bemerkung, nullptr) << "the remark shortened to 9.4 cm";
  EXPECT_NEAR(bemerkung->x, 9.2, 1e-6);

  gFirmenname = QString(40, u'F');
  gFirmenzusatz = QStringLiteral("Zu");  // 9 cm with " - "
  Aufzeichnung& b = drucken();
  for (const auto& e : b.texte()) EXPECT_FALSE(e.text.contains(u'F')) << e.text.toStdString();
  EXPECT_NE(b.suche(QStringLiteral("Überstunden Vera Muster")), nullptr);
}

}  // namespace
