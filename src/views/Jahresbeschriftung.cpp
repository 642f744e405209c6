#include "views/Jahresbeschriftung.h"

#include "startup/Umrechnungen.h"

std::map<int, QString> Kontobeschriftung(int Y, const Kontoeinstellungen& k, const Kontowerte* werte,
                                         const Tagezähler& urlaub, const Tagezähler& sonderurlaub, bool zehntel) {
  const Urlaubskonto u = Urlaubskonto_berechnen(Y, k, werte, urlaub, sonderurlaub);
  const auto F = [&](double x) { return Tageszahl(x, zehntel) + QStringLiteral(" Tage"); };
  const auto zwei = [](int j) { return QStringLiteral("%1").arg(j % 100, 2, 10, QChar(u'0')); };
  std::map<int, QString> b;
  const int J = u.J;
  const bool folgejahr = k.E != 1 && k.S == 1 && Y == k.P + 2;
  const QString Jt = k.S > 1 && k.sonderurlaub ? zwei(J) : QString::number(J);
  const QString Jn = k.S == 1 ? QString() : u'/' + zwei(J + 1);
  const bool vorbei = J == k.P && k.heute.month() >= k.S;
  if (folgejahr) {
    const double A3 = werte ? werte->A3 : 0;
    const double rest2 = u.rest + u.ansp - u.taken - u.planned;
    const double planned2 = werte ? urlaub(QDate(Y, 1, 1), QDate(Y, 12, 31)) : 0;
    b[3] = QStringLiteral("Urlaubsübersicht");
    b[4] = QStringLiteral("Resturlaub aus ") + QString::number(Y - 1);
    b[5] = QStringLiteral("Urlaubsanspruch ") + QString::number(Y);
    b[6] = QStringLiteral("Summe");
    b[7] = F(rest2);
    b[8] = F(A3);
    b[9] = F(rest2 + A3);
    b[10] = QStringLiteral("Urlaub in ") + QString::number(Y) + QStringLiteral(" geplant");
    b[11] = QStringLiteral("Urlaub unverplant");
    b[12] = F(planned2);
    b[13] = F(rest2 + A3 - planned2);
    for (int e = 14; e <= 17; ++e) b[e] = QString();
  } else {
    b[3] = QStringLiteral("Urlaubsübersicht");
    if (k.S != 1) b[3] += QStringLiteral("  ") + FormatDatumDA(u.Js) + QStringLiteral(" - ") + FormatDatumDA(u.Je);
    b[4] = QStringLiteral("Resturlaub ") + (u.lapsed != 0 ? QStringLiteral("verfallen")
                                            : k.S == 1    ? QStringLiteral("aus ") + QString::number(J - 1)
                                                          : QStringLiteral("am ") + FormatDatumDA(u.Js));
    b[5] = QStringLiteral("Urlaubsanspruch ") + Jt + Jn;
    b[6] = u.lapsed == 0 ? QStringLiteral("Summe") : QString();
    b[7] = F(u.lapsed == 0 ? u.rest : u.lapsed);
    b[8] = F(u.ansp);
    b[9] = u.lapsed == 0 ? F(u.rest + u.ansp) : QString();
    b[10] = QStringLiteral("Bis ") + FormatDatumDA(u.C) + QStringLiteral(" genommen");
    b[11] = QStringLiteral("Resturlaub ") + QString::number(J) + Jn;
    b[12] = F(u.taken);
    b[13] = F(u.rest + u.ansp - u.taken);
    b[14] = vorbei ? QString() : QStringLiteral("Urlaub in ") + Jt + Jn + QStringLiteral(" geplant");
    b[15] = vorbei ? QString() : QStringLiteral("Urlaub unverplant");
    b[16] = vorbei ? QString() : F(u.planned);
    b[17] = vorbei ? QString() : F(u.rest + u.ansp - u.taken - u.planned);
  }
  const bool sj = Y == k.P + 1;
  const QString N = QString::number(k.P + 1);
  const auto nur = [&](const QString& t) { return sj ? t : QString(); };
  b[18] = nur(QStringLiteral("Sonderurlaub ") + N);
  b[19] = nur(QStringLiteral("Gesamt"));
  b[20] = nur(F(u.sa));
  b[21] = nur(QStringLiteral("Bis ") + FormatDatumDA(u.C) + QStringLiteral(" genommen"));
  b[22] = nur(QStringLiteral("Restanspruch ") + N);
  b[23] = nur(F(u.staken));
  b[24] = nur(F(u.sa - u.staken));
  b[25] = nur(QStringLiteral("Geplant in ") + N);
  b[26] = nur(QStringLiteral("Unverplant"));
  b[27] = nur(F(u.splanned));
  b[28] = nur(F(u.sa - u.staken - u.splanned));
  return b;
}
