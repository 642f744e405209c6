#include "platform/Namenstabelle.h"

#include <gtest/gtest.h>

#include <QString>
#include <deque>
#include <map>
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

// A table against the standard map, name for name: inserts that find a name already
// there keep its first value, look-ups find every name under any view of its text and
// nothing else, and the values stay through the table's growth (from nothing, and
// past what was reserved). Names that differ only in their last units, and the empty
// name, are names like any other.
TEST(Namenstabelle, WieEineStandardtabelle) {
  for (const size_t reserviert : {size_t{0}, size_t{100}}) {
    SCOPED_TRACE(reserviert);
    std::deque<QString> namen;
    for (int i = 0; i < 3000; ++i) namen.push_back(QStringLiteral("benutzer%1").arg(i));
    namen.push_back(QString());
    namen.push_back(QStringLiteral("ä"));
    Namenstabelle<int> tabelle;
    tabelle.reserve(reserviert);
    std::map<QString, int> vorbild;
    for (size_t i = 0; i < namen.size(); ++i) {
      const auto [it, neu] = tabelle.try_emplace(namen[i], static_cast<int>(i));
      ASSERT_TRUE(neu) << namen[i].toStdString();
      ASSERT_EQ(it->second, static_cast<int>(i));
      vorbild.emplace(namen[i], static_cast<int>(i));
      // The same name again, from another string: found, its value kept.
      const QString kopie = namen[i % 7 == 0 ? i / 2 : i];
      const auto [it2, neu2] = tabelle.try_emplace(kopie, -1);
      ASSERT_FALSE(neu2);
      ASSERT_EQ(it2->second, vorbild.at(kopie));
    }
    EXPECT_EQ(tabelle.size(), vorbild.size());
    for (const auto& [name, wert] : vorbild) {
      const QString kopie = name;
      const auto it = tabelle.find(kopie);
      ASSERT_NE(it, tabelle.end()) << name.toStdString();
      EXPECT_EQ(it->second, wert);
      EXPECT_EQ(it->first, name);
    }
    for (const QString& fehlt : {QStringLiteral("benutzer3000"), QStringLiteral("Benutzer1"),
                                 QStringLiteral("benutzer"), QStringLiteral("benutzer10 ")})
      EXPECT_EQ(tabelle.find(fehlt), tabelle.end()) << fehlt.toStdString();
    tabelle[QStringLiteral("benutzer5")] += 100;
    EXPECT_EQ(tabelle.find(u"benutzer5")->second, 105);
    EXPECT_EQ(tabelle[QStringView(namen.back())], static_cast<int>(namen.size() - 1));
    EXPECT_TRUE(tabelle.emplace(QStringView(u"neu"), 7).second);
    EXPECT_FALSE(tabelle.emplace(QStringView(u"neu"), 8).second);
    EXPECT_EQ(tabelle.find(u"neu")->second, 7);
  }
}
