#include "printing/Logbuchdruck.h"

#include "printing/Ansichtsquellen.h"

namespace {

class Logbuchdruck : public AnsichtsdruckTest {
 protected:
  void SetUp() override {
    AnsichtsdruckTest::SetUp();
    quelle.einsetzen();
    Raster& g = quelle.gitter;
    g.setRows(2);
    const QString werte[] = {"10.03.26", "08:15:00", "tester", "X3", "X4", "X5", "X6", "X7"};
    for (int c = 0; c < 8; ++c) g.setTextMatrix(1, c, werte[c]);
  }
  Aufzeichnung& drucken(const QString& modus) {
    return AnsichtsdruckTest::drucken(QStringLiteral("L") + modus,
                                      [&modus](int n) { return Logbuch_drucken(modus, n); });
  }
  Logbuchquelle_Test quelle;
};

TEST_F(Logbuchdruck, KommentarGekuerztZeitraumNie) {
  const QString lang = QString(60, u'k');
  const QString zeitraum = QString(60, u'z');
  quelle.gitter.setTextMatrix(1, 5, zeitraum);
  quelle.gitter.setTextMatrix(1, 6, lang);
  Aufzeichnung& a = drucken(QStringLiteral("B"));
  EXPECT_TRUE(a.quer);
  EXPECT_NE(a.suche(QStringLiteral("Benutzerlogbuch")), nullptr);
  const auto* z = a.suche(zeitraum);
  ASSERT_NE(z, nullptr);
  EXPECT_NEAR(z->x, 15.0, 1e-6);
  const auto* k = a.suche(QString(43, u'k'));
  ASSERT_NE(k, nullptr) << "the comment shortened to 8.8 cm";
  EXPECT_NEAR(k->x, 18.7, 1e-6);
  for (const char16_t* kopf :
       {u"Datum", u"Uhrzeit", u"Von Benutzer", u"Für Benutzer", u"Eintrag", u"Zeitraum", u"Kommentar"}) {
    const auto* e = a.suche(QString::fromUtf16(kopf));
    ASSERT_NE(e, nullptr) << QString::fromUtf16(kopf).toStdString();
    EXPECT_TRUE(e->schrift.kursiv);
  }
  EXPECT_NE(a.suche(QStringLiteral("X3")), nullptr);
  EXPECT_EQ(a.suche(QStringLiteral("X7")), nullptr);
}

TEST_F(Logbuchdruck, VerwaltungslogbuchOhneSpalten3Bis6) {
  quelle.gitter.setTextMatrix(1, 7, QString(120, u'a'));
  Aufzeichnung& a = drucken(QStringLiteral("A"));
  EXPECT_NE(a.suche(QStringLiteral("Administrationslogbuch")), nullptr);
  for (int c = 3; c <= 6; ++c) EXPECT_EQ(a.suche(QStringLiteral("X%1").arg(c)), nullptr) << c;
  const auto texte = a.texte();
  const auto aktion = std::find_if(texte.begin(), texte.end(), [](const auto& e) { return e.text.startsWith(u"aaa"); });
  ASSERT_NE(aktion, texte.end());
  EXPECT_NEAR(aktion->x, 8.25, 1e-6);
  EXPECT_LT(aktion->text.size(), 120) << "the action shortened to 19.3 cm";
  EXPECT_GT(aktion->b, 18.9);
  EXPECT_LE(aktion->b, 19.2 + 1e-6);
  const auto* uhrzeit = a.suche(QStringLiteral("08:15:00"));
  ASSERT_NE(uhrzeit, nullptr);
  EXPECT_NEAR(uhrzeit->x, 4.1, 1e-6);
  const auto* kopf = a.suche(QStringLiteral("Aktion"));
  ASSERT_NE(kopf, nullptr);
  EXPECT_NEAR(kopf->x, 8.25, 1e-6);
  // The headings 0.65 below the header line; one blank line, then the row.
  EXPECT_NEAR(uhrzeit->y - kopf->y, 0.9, 1e-6);
}

}  // namespace
