#include "platform/Namenstabelle.h"

#include <gtest/gtest.h>

#include <QString>
#include <set>

// Equal texts hash alike wherever they lie and however long they are (the tail after
// the last full eight bytes included); a text differing in any one unit lands elsewhere.
TEST(Langtexthash, GleicheTexteGleichEinZeichenAndersAnders) {
  const QString vorne = QStringLiteral("xx.mm.yy hh:nn:ss|benutzer12|mitarbeiter345|Urlaub|010626|050626|Ende");
  const QString mitte = QStringLiteral("#") + vorne;
  for (qsizetype länge = 0; länge <= vorne.size(); ++länge) {
    const QStringView a = QStringView(vorne).left(länge), b = QStringView(mitte).mid(1, länge);
    ASSERT_EQ(Langtexthash()(a), Langtexthash()(b)) << länge;
    ASSERT_TRUE(Namensgleichheit()(a, b)) << länge;
    std::set<size_t> werte{Langtexthash()(a)};
    for (qsizetype i = 0; i < länge; ++i) {
      QString anders = a.toString();
      anders[i] = QChar(anders[i].unicode() ^ 1);
      werte.insert(Langtexthash()(anders));
      EXPECT_FALSE(Namensgleichheit()(a, anders));
    }
    EXPECT_EQ(werte.size(), static_cast<size_t>(länge) + 1) << länge;
  }
  EXPECT_NE(Langtexthash()(u"ab"), Langtexthash()(QStringView(u"ab\0", 3))) << "the length counts, not only the units";
}

// The slots of a power-of-two table: texts that differ only near their end still spread
// over the low bits.
TEST(Langtexthash, NiedrigeBitsStreuen) {
  std::set<size_t> plätze;
  for (int i = 0; i < 256; ++i) plätze.insert(Langtexthash()(QStringLiteral("mitarbeiter%1").arg(i)) & 1023);
  EXPECT_GT(plätze.size(), 200u);
}
