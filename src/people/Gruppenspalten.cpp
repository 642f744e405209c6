#include "people/Gruppenspalten.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "platform/Bildschirm.h"

QString Gruppenbeschriftung(const QString& überschrift) {
  QString s = überschrift;
  s.replace(u'&', QStringLiteral("&&"));
  return s;
}

int Gruppen_Spaltenhöhe(int anzahl) { return anzahl >= 16 && anzahl <= 20 ? 10 : 15; }

Gruppenspalten Gruppen_anordnen(const std::vector<QCheckBox*>& boxen, int oben) {
  Gruppenspalten r;
  const int n = static_cast<int>(boxen.size()) - 1;
  const int höhe = Gruppen_Spaltenhöhe(n);
  const auto px = [](double twips) { return bildschirm::twipsZuPixel(twips); };
  int breitesteSpalte = 0;
  for (int i = 1; i <= n; ++i) {
    QCheckBox* box = boxen[i];
    if (i >= 2 && (i - 1) % höhe == 0) {
      r.letzterVersatz += breitesteSpalte + 600;
      breitesteSpalte = 0;
    }
    const int zeile = (i - 1) % höhe;
    // The caption's width as shown (the doubled "&" shows as one).
    const int text = static_cast<int>(
        std::ceil(bildschirm::pixelZuTwips(box->fontMetrics().horizontalAdvance(box->property("Tag").toString()))));
    breitesteSpalte = std::max(breitesteSpalte, text);
    r.höchsteZeilenzahl = std::max(r.höchsteZeilenzahl, zeile + 1);
    box->setGeometry(px(r.letzterVersatz + 300), px(zeile * 360 + oben), px(text + 600), px(300));
    box->setVisible(true);
  }
  r.letzteBreite = breitesteSpalte;
  return r;
}
