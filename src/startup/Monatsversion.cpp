#include "startup/Monatsversion.h"

#include <QDate>

#include "startup/Dateizugriff.h"

namespace {

const QString kEndung = QStringLiteral(" Data.dat");

bool Ziffern(QStringView t) {
  for (const QChar c : t)
    if (c < u'0' || c > u'9') return false;
  return true;
}

}  // namespace

std::optional<Monatsversion> Monatsversion::aus_Name(const QString& name) {
  if (!Ist_Monatsdateiname(name)) return std::nullopt;
  return Monatsversion(name);
}

std::optional<Monatsversion> Monatsversion::aus_Stamm(QStringView stamm) {
  if (stamm.size() != 11 || stamm[4] != u' ' || !Ziffern(stamm.left(4)) || !Ziffern(stamm.mid(5))) return std::nullopt;
  return Monatsversion(stamm.toString() + kEndung);
}

Monatsversion Monatsversion::zu(QStringView schlüssel, QStringView tag) {
  return Monatsversion(schlüssel.toString() + u' ' + tag.toString() + kEndung);
}

int Monatsversion::jahr() const { return 2000 + (mName[0].unicode() - u'0') * 10 + (mName[1].unicode() - u'0'); }

namespace {

int Zahl(QStringView zwei) { return (zwei[0].unicode() - u'0') * 10 + (zwei[1].unicode() - u'0'); }

// "yymm" with a month 01 to 12, and "yymmdd" a day of the calendar.
bool Echter_Monat(QStringView t) { return Ziffern(t) && Zahl(t.mid(2, 2)) >= 1 && Zahl(t.mid(2, 2)) <= 12; }
bool Echter_Tag(QStringView t) {
  return Ziffern(t) && QDate(2000 + Zahl(t.left(2)), Zahl(t.mid(2, 2)), Zahl(t.mid(4, 2))).isValid();
}

}  // namespace

bool Ist_Monatsdateiname(const QString& name) {
  return name.size() == 20 && name.at(4) == u' ' &&
         QStringView(name).mid(11).compare(kEndung, Qt::CaseInsensitive) == 0 &&
         Echter_Monat(QStringView(name).left(4)) && Echter_Tag(QStringView(name).mid(5, 6));
}

QList<Monatsversion> Monatsversionen(const QString& ordner, const QString& muster, QStringList* andere) {
  QList<Monatsversion> r;
  for (const QString& name : Dateiliste(ordner, muster, Listenart::NurDateien, andere)) {
    if (std::optional<Monatsversion> v = Monatsversion::aus_Name(name))
      r << std::move(*v);
    else if (andere)
      *andere << name;
  }
  return r;
}

QList<Monatsversion> Monatsversionen_des_Monats(const QString& ordner, QStringView schlüssel, QStringList* andere) {
  return Monatsversionen(ordner, schlüssel.toString() + QStringLiteral("*Data.dat"), andere);
}

std::optional<Monatsversion> Neueste_Monatsversion(const QList<Monatsversion>& versionen, QStringView schlüssel) {
  const Monatsversion* neueste = nullptr;
  for (const Monatsversion& v : versionen)
    if (v.schlüssel() == schlüssel && (!neueste || v.neuer_als(*neueste))) neueste = &v;
  if (!neueste) return std::nullopt;
  return *neueste;
}

QHash<QString, Monatsversion> Neueste_Monatsversionen(const QList<Monatsversion>& versionen) {
  QHash<QString, Monatsversion> r;
  for (const Monatsversion& v : versionen) {
    const QString schlüssel = v.schlüssel().toString();
    const auto it = r.constFind(schlüssel);
    if (it == r.cend() || v.neuer_als(*it)) r.insert(schlüssel, v);
  }
  return r;
}
