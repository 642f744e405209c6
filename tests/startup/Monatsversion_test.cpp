// The name of a month record file's version, taken apart in one place.
#include "startup/Monatsversion.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "startup/Dateizugriff.h"

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
      // The writing day is a day of the calendar, the month key a month.
      {QStringLiteral("2603 261305 Data.dat"), false},
      {QStringLiteral("2611 261199 Data.dat"), false},
      {QStringLiteral("2602 260229 Data.dat"), false},
      {QStringLiteral("2402 240229 Data.dat"), true},
      {QStringLiteral("2603 260300 Data.dat"), false},
      {QStringLiteral("2603 000000 Data.dat"), false},
      {QStringLiteral("2613 260310 Data.dat"), false},
      {QStringLiteral("2600 260310 Data.dat"), false},
      {QStringLiteral("2612 261231 Data.dat"), true},
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

// Only plain files are versions: a link, a folder or a stray name under the month's
// pattern is none, and the newest is chosen among the versions alone.
TEST(Monatsversion, NurGewoehnlicheDateienSindVersionen) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString o = tmp.path() + u'/';
  const auto datei = [&](const QString& name) {
    QFile f(o + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x\r\n");
  };
  datei(QStringLiteral("2603 260305 Data.dat"));
  datei(QStringLiteral("2603 260310 data.DAT"));
  datei(QStringLiteral("2603 261305 Data.dat"));  // no date
  datei(QStringLiteral("2604 260301 Data.dat"));
  ASSERT_TRUE(QFile::link(o + QStringLiteral("2603 260305 Data.dat"), o + QStringLiteral("2603 260320 Data.dat")));
  ASSERT_TRUE(QFile::link(o + QStringLiteral("fehlt"), o + QStringLiteral("2603 260321 Data.dat")));
  ASSERT_TRUE(QDir(o).mkdir(QStringLiteral("2603 260322 Data.dat")));

  QStringList andere;
  const QList<Monatsversion> märz = Monatsversionen_des_Monats(o, u"2603", &andere);
  QStringList namen;
  for (const Monatsversion& v : märz) namen << v.name();
  EXPECT_EQ(namen, (QStringList{QStringLiteral("2603 260305 Data.dat"), QStringLiteral("2603 260310 data.DAT")}));
  // What deletion by the month's pattern removes besides: the stray name and both
  // links, never the folder.
  EXPECT_EQ(andere, (QStringList{QStringLiteral("2603 260320 Data.dat"), QStringLiteral("2603 260321 Data.dat"),
                                 QStringLiteral("2603 261305 Data.dat")}));
  EXPECT_EQ(Neueste_Monatsversion(märz, u"2603").value().stamm(), u"2603 260310");
  EXPECT_FALSE(Neueste_Monatsversion(märz, u"2605").has_value());

  const QHash<QString, Monatsversion> alle = Neueste_Monatsversionen(Monatsversionen(o, QStringLiteral("*Data.dat")));
  EXPECT_EQ(alle.size(), 2);
  EXPECT_EQ(alle.constFind(QStringLiteral("2603"))->stamm(), u"2603 260310");
  EXPECT_EQ(alle.constFind(QStringLiteral("2604"))->stamm(), u"2604 260301");

  // A link under a version's name is not opened as one.
  EXPECT_TRUE(Datei_öffnenbar(o + QStringLiteral("2603 260320 Data.dat")));
  EXPECT_FALSE(Datei_öffnenbar(o + QStringLiteral("2603 260320 Data.dat"), false));
  EXPECT_TRUE(Datei_öffnenbar(o + QStringLiteral("2603 260305 Data.dat"), false));
}

}  // namespace
