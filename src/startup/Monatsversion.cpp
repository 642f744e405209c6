#include "startup/Monatsversion.h"

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

bool Ist_Monatsdateiname(const QString& name) {
  return name.size() == 20 && name.at(4) == u' ' &&
         QStringView(name).mid(11).compare(kEndung, Qt::CaseInsensitive) == 0 && Ziffern(QStringView(name).left(4)) &&
         Ziffern(QStringView(name).mid(5, 6));
}
