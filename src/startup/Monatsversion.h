#pragma once
// The name of one version of a month record file: "yymm yymmdd Data.dat", the month
// key, a blank, the day the version was written, " Data.dat" (in whatever letter case
// the folder shows it). The month key and the writing day together are the version's
// stem; the newest version of a month is the one with the greatest stem. Every place
// that takes such a name apart goes through this type.
//
// Only a name whose month key is a month (yymm, mm 01 to 12) and whose writing day is a
// real date (yymmdd) names a version; and only a plain file so named is one, never a
// link or anything else the folder holds under such a name. A stray name is no version:
// never read, never the newest, never the reason the real month goes.
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

class Monatsversion {
 public:
  // The version a file name names; nothing when it is no month version's name (other
  // names a file pattern happens to match).
  static std::optional<Monatsversion> aus_Name(const QString& name);
  // The version of a stem "yymm yymmdd"; nothing when it is no stem.
  static std::optional<Monatsversion> aus_Stamm(QStringView stamm);
  // The version of a month written on a day (yymmdd).
  static Monatsversion zu(QStringView schlüssel, QStringView tag);

  // The file name as the folder shows it.
  const QString& name() const { return mName; }
  // "yymm"
  QStringView schlüssel() const { return QStringView(mName).left(4); }
  // The writing day, "yymmdd".
  QStringView tag() const { return QStringView(mName).mid(5, 6); }
  // "yymm yymmdd"
  QStringView stamm() const { return QStringView(mName).left(11); }
  // The year of the month, 2000 + yy.
  int jahr() const;
  bool gleicher_Monat(const Monatsversion& v) const { return schlüssel() == v.schlüssel(); }
  // Written later: the greater stem.
  bool neuer_als(const Monatsversion& v) const { return stamm() > v.stamm(); }
  bool neuer_als(QStringView stamm) const { return this->stamm() > stamm.left(11); }

 private:
  explicit Monatsversion(QString name) : mName(std::move(name)) {}
  QString mName;
};

// Whether a file name is a month version "yymm yymmdd Data.dat" (in any letter case),
// with a real month and a real writing day.
bool Ist_Monatsdateiname(const QString& name);

// The versions among the entries of a folder that match the file pattern `muster`
// (as Dateiliste takes it): plain files whose names are versions, sorted by name. Every
// other name the pattern matches (a link, a stray name) goes to *andere when given, for
// the deletions that remove every name of a month's pattern but the version kept.
QList<Monatsversion> Monatsversionen(const QString& ordner, const QString& muster, QStringList* andere = nullptr);
// The versions of one month in a folder ("yymm*Data.dat").
QList<Monatsversion> Monatsversionen_des_Monats(const QString& ordner, QStringView schlüssel,
                                                QStringList* andere = nullptr);
// The newest version of the month `schlüssel` among `versionen`; nothing when it has none.
std::optional<Monatsversion> Neueste_Monatsversion(const QList<Monatsversion>& versionen, QStringView schlüssel);
// The newest version of every month among `versionen`, by month key.
QHash<QString, Monatsversion> Neueste_Monatsversionen(const QList<Monatsversion>& versionen);
