// The name of a month record file's version, taken apart in one place.
#include "startup/Monatsversion.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

TEST(Monatsversion, NamenUndIhreTeile) {
  const struct {
    QString name;
    bool version;
  } fälle[] = {
      {QStringLiteral("2603 260310 Data.dat"), true},
      {QStringLiteral("2603 260310 data.DAT"), true},
      {QStringLiteral("0001 991231 Data.dat"), true},
      {QStringLiteral("2603 26031 Data.dat"), false},
      {QStringLiteral("2603 2603100 Data.dat"), false},
      {QStringLiteral("2603-260310 Data.dat"), false},
      {QStringLiteral("2603 260310_Data.dat"), false},
      {QStringLiteral("26O3 260310 Data.dat"), false},
      // Digits of other scripts are no digits of a date.
      {QStringLiteral("2603 26031\u0663 Data.dat"), false},
      {QStringLiteral("2603 260310 Data.da"), false},
      {QStringLiteral("2603 260310 Data.datx"), false},
      {QStringLiteral("2603 260310 Daten.dat"), false},
      {QStringLiteral("2603 Data.dat"), false},
      {QString(), false},
  };
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.name.toStdString());
    const std::optional<Monatsversion> v = Monatsversion::aus_Name(f.name);
    EXPECT_EQ(v.has_value(), f.version);
    EXPECT_EQ(Ist_Monatsdateiname(f.name), f.version);
    if (!v) continue;
    EXPECT_EQ(v->name(), f.name);
    EXPECT_EQ(v->schlüssel().toString(), f.name.left(4));
    EXPECT_EQ(v->tag().toString(), f.name.mid(5, 6));
    EXPECT_EQ(v->stamm().toString(), f.name.left(11));
    EXPECT_EQ(v->jahr(), 2000 + f.name.left(2).toInt());
  }
}

TEST(Monatsversion, StammUndNeuereVersion) {
  const Monatsversion heute = Monatsversion::zu(u"2603", u"260310");
  EXPECT_EQ(heute.name(), QStringLiteral("2603 260310 Data.dat"));
  EXPECT_EQ(Monatsversion::aus_Stamm(u"2603 260310").value().name(), heute.name());
  EXPECT_FALSE(Monatsversion::aus_Stamm(u"2603 26031").has_value());
  EXPECT_FALSE(Monatsversion::aus_Stamm(u"2603 260310 ").has_value());
  EXPECT_FALSE(Monatsversion::aus_Stamm(u"2603x260310").has_value());
  const Monatsversion früher = *Monatsversion::aus_Name(QStringLiteral("2603 260301 DATA.DAT"));
  EXPECT_TRUE(heute.neuer_als(früher));
  EXPECT_FALSE(früher.neuer_als(heute));
  EXPECT_FALSE(heute.neuer_als(heute));
  EXPECT_TRUE(heute.gleicher_Monat(früher));
  EXPECT_FALSE(heute.gleicher_Monat(Monatsversion::zu(u"2604", u"260310")));
  // Against a stem, the empty one (no version yet) included.
  EXPECT_TRUE(heute.neuer_als(QStringView()));
  EXPECT_TRUE(heute.neuer_als(u"2603 260309"));
  EXPECT_FALSE(heute.neuer_als(u"2603 260310"));
}

}  // namespace
