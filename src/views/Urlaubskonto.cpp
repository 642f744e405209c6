#include "views/Urlaubskonto.h"

#include <cmath>

#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

QDate Urlaubsjahr_Anfang(int x, int S) { return QDate(x, S, 1); }
QDate Urlaubsjahr_Ende(int x, int S) { return QDate(x + 1, S, 1).addDays(-1); }

Urlaubskonto Urlaubskonto_berechnen(int Y, const Kontoeinstellungen& k, const Kontowerte* w, const Tagezähler& urlaub,
                                    const Tagezähler& sonderurlaub) {
  int J = std::min(Y, k.P + 1);
  if (k.heute.month() < k.S) J = k.P;
  const QDate Je = Urlaubsjahr_Ende(J, k.S);
  const QDate C = J == k.P + 1 || (J == k.P && k.heute.month() < k.S) ? k.heute : Je;
  return Urlaubskonto_zum(J, C, k, w, urlaub, sonderurlaub);
}

Urlaubskonto Urlaubskonto_zum(int J, const QDate& C, const Kontoeinstellungen& k, const Kontowerte* w,
                              const Tagezähler& urlaub, const Tagezähler& sonderurlaub) {
  Urlaubskonto u;
  u.J = J;
  u.C = C;
  u.Js = Urlaubsjahr_Anfang(J, k.S);
  u.Je = Urlaubsjahr_Ende(J, k.S);
  if (!w) return u;
  const QDate Ps = Urlaubsjahr_Anfang(k.P, k.S), Pe = Urlaubsjahr_Ende(k.P, k.S);
  const auto vac = [&](const QDate& von, const QDate& bis) { return urlaub(von, bis); };
  u.rest = w->R - (J == k.P ? 0 : vac(Ps, Pe) - w->A1);
  u.ansp = J == k.P ? w->A1 : w->A2;
  u.taken = vac(u.Js, C);
  u.planned = C.month() == u.Je.month() && C.day() == u.Je.day() ? 0 : vac(C.addDays(1), u.Je);
  if (u.rest >= 0 && k.E > 0) {
    if (k.urlaub1Leer && J == k.P) u.rest = 0;
    const QDate XP(k.P, k.E, 1), XJ(J, k.E, 1);
    if (C >= XP) {
      if (!k.urlaub1Leer) u.lapsed = std::max(0.0, w->R - (k.S == k.E ? 0 : vac(Ps, XP.addDays(-1))));
      if (J == k.P) {
        u.taken = u.taken - u.rest + u.lapsed;
        u.rest = 0;
      } else if (J == k.P + 1) {
        u.rest -= u.lapsed;
        u.lapsed = 0;
        if (C >= XJ) {
          u.lapsed = std::max(0.0, u.rest - (k.S == k.E ? 0 : vac(u.Js, XJ.addDays(-1))));
          if (u.rest >= 0) {
            u.taken = u.taken - u.rest + u.lapsed;
            u.rest = 0;
          }
        }
      }
    }
  }
  if (k.sonderurlaub) {
    const QDate ende(k.P + 1, 12, 31);
    u.sa = w->SA;
    u.staken = sonderurlaub(QDate(k.P + 1, 1, 1), C);
    u.splanned = C.month() == 12 && C.day() == 31 ? 0 : sonderurlaub(C.addDays(1), ende);
  }
  return u;
}

QString Tageszahl(double x, bool zehntel) {
  const double faktor = zehntel ? 10.0 : 1.0;
  double r = std::round(x * faktor) / faktor;  // half away from zero
  if (r == 0) r = 0;                           // no "-0"
  QString t = QString::number(r, 'f', zehntel ? 1 : 0);
  if (zehntel) t.replace(u'.', gDezimaltrennzeichen.isEmpty() ? QStringLiteral(",") : gDezimaltrennzeichen.left(1));
  return t;
}

bool Tage_mit_Zehnteln() {
  // A second half-day code alone also gives half days.
  return Setting(30) > 0 || gSFSonderurlaubHalb > 0 || gSFUrlaubHalb > 0 || gSFUrlaubHalb2 > 0 ||
         gSFSonderurlaubHalb2 > 0;
}

namespace {

// A stored figure: blanks around it, the workstation's decimal separator or a comma
// for the point. The usual "ddd,d" is read directly (digits over a power of ten is
// the correctly rounded value, as the general conversion gives it); anything else
// goes the general way.
double Zahl(QStringView t) {
  const QStringView s = t.trimmed();
  const QChar trenner = gDezimaltrennzeichen.isEmpty() ? QChar(u'.') : gDezimaltrennzeichen[0];
  qint64 ziffern = 0;
  qsizetype vorne = 0, hinten = -1;
  bool einfach = !s.isEmpty() && s.size() <= 15;
  for (qsizetype i = 0; i < s.size() && einfach; ++i) {
    const QChar c = s[i];
    if (c >= u'0' && c <= u'9') {
      ziffern = ziffern * 10 + (c.unicode() - u'0');
      if (hinten >= 0)
        ++hinten;
      else
        ++vorne;
    } else if ((c == u',' || c == u'.' || c == trenner) && hinten < 0) {
      hinten = 0;
    } else {
      einfach = false;
    }
  }
  if (einfach && vorne > 0 && hinten != 0) {
    static constexpr double kZehner[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14};
    return static_cast<double>(ziffern) / kZehner[std::max<qsizetype>(hinten, 0)];
  }
  QString z = s.toString();
  if (!gDezimaltrennzeichen.isEmpty()) z.replace(gDezimaltrennzeichen.left(1), QStringLiteral("."));
  z.replace(u',', u'.');
  return z.toDouble();
}

// A button number 0 counts no day: it is not asked for.
Tagezähler Zähler(int zeile, int voll, int voll2, int halb, int halb2) {
  return [=](const QDate& von, const QDate& bis) {
    const auto tage = [&](int knopf) { return knopf == 0 ? 0 : AnAbwesenheitstage(knopf, von, bis, zeile); };
    double t = tage(voll) + tage(voll2);
    t += static_cast<float>(tage(halb) / 2.0);
    t += static_cast<float>(tage(halb2) / 2.0);
    return t;
  };
}

}  // namespace

Kontowerte Kontowerte_lesen(int zeile) {
  Kontowerte w;
  const QString u = gUrlaubsdaten.value(zeile);
  const QStringView v = u;
  w.R = Zahl(v.mid(0, 5));
  w.A1 = Zahl(v.mid(6, 5));
  w.A2 = Zahl(v.mid(12, 5));
  w.A3 = Zahl(v.mid(18, 5));
  w.SA = Zahl(gSonderurlaubsanspruch.value(zeile));
  return w;
}

Tagezähler Urlaubstage(int zeile) { return Zähler(zeile, gSFUrlaub, gSFUrlaub2, gSFUrlaubHalb, gSFUrlaubHalb2); }
Tagezähler Sonderurlaubstage(int zeile) {
  return Zähler(zeile, gSFSonderurlaub, gSFSonderurlaub2, gSFSonderurlaubHalb, gSFSonderurlaubHalb2);
}

Kontoeinstellungen Kontoeinstellungen_lesen() {
  Kontoeinstellungen k;
  k.P = gPlanungsjahr;
  k.S = std::clamp(gUrlaubsjahrBeginn, 1, 12);
  k.E = std::clamp(gResturlaubVerfall, 0, 12);
  k.heute = gHeute;
  k.urlaub1Leer = gUrlaub1Leer;
  return k;
}
