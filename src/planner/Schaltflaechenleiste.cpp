#include "planner/Schaltflaechenleiste.h"

#include <QColor>
#include <QFontMetrics>
#include <QPushButton>
#include <cmath>

#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Raster.h"
#include "store/Konfigdaten.h"
#include "store/Velkoraini.h"

std::vector<bool> Sichtbare_Schaltflächen() {
  const int n = Schaltflächen_Anzahl();
  std::vector<bool> sichtbar(static_cast<size_t>(std::max(n, 0)) + 1, false);
  const bool mitarbeiter = gBenutzerstufe < 1;
  int anzahl = 0;
  for (int i = 1; i <= n; ++i) {
    sichtbar[i] = !(gSFNurAdmins.value(i) != 0 && mitarbeiter && Setting(8) > 0);
    if (sichtbar[i]) ++anzahl;
  }
  // The erase button alone erases nothing; employees who may not enter for
  // themselves may not erase either.
  if (n >= 1 && sichtbar[n] && (anzahl == 1 || (mitarbeiter && (Setting(10) == 1 || Setting(28) == 1))))
    sichtbar[n] = false;
  return sichtbar;
}

QColor Schaltflächentextfarbe(Farbwert hintergrund, Farbwert text) {
  const QColor h = zuQColor(hintergrund), t = zuQColor(text);
  const auto hell = [](const QColor& c) { return 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue(); };
  // A caption in (nearly) its background's colour could not be read: black or white
  // instead, whichever stands out.
  if (std::abs(hell(h) - hell(t)) >= 60) return t;
  return hell(h) >= 128 ? QColor(Qt::black) : QColor(Qt::white);
}

QString Schaltflächenstil(Farbwert hintergrund, Farbwert text) {
  // Flat in the code's colours, so that the button looks like the cells it fills; a
  // thin frame shows its edge, a thicker one that it is pressed or has the focus.
  const QString h = zuQColor(hintergrund).name(), t = Schaltflächentextfarbe(hintergrund, text).name();
  return QStringLiteral(
             "QPushButton { background-color: %1; color: %2; border: 1px solid #808080; padding: 0px 2px; }"
             "QPushButton:focus { border: 1px solid #000000; }"
             "QPushButton:pressed { border: 2px solid #404040; }")
      .arg(h, t);
}

int Schaltflächenbreite_aus_Text(int w) { return Schaltflächenbreite_begrenzen(w + w % 30 + 240); }

int Schaltflächenbreite_begrenzen(int breite) { return std::clamp(breite, kSchaltflächeSchmal, kSchaltflächeBreit); }

void Schaltflächenbreite_des_Benutzers() {
  if (gBenutzerwerte[36] == 1 && gBenutzerwerte[37] >= kSchaltflächeSchmal && gBenutzerwerte[37] <= kSchaltflächeBreit)
    gSFBreite = gBenutzerwerte[37];
}

std::vector<QPushButton*> frmVelkora::Schaltflächen_setzen() {
  std::vector<QPushButton*> gezeigt;
  const int n = std::min(Schaltflächen_Anzahl(), 25);
  const std::vector<bool> sichtbar = Sichtbare_Schaltflächen();
  for (int i = 1; i <= 25; ++i) {
    QPushButton* b = cmdAuswahl[i];
    if (i > n || mNurLesen) {
      b->hide();
      continue;
    }
    b->setText(gSFTexte.value(i));
    b->setStyleSheet(Schaltflächenstil(gSFHintergrundfarben.value(i), gSFTextfarben.value(i)));
    b->setVisible(sichtbar[i]);
    if (sichtbar[i]) gezeigt.push_back(b);
  }
  if (gSFBreite == 0) SetSchaltflächen(gSFBreite);
  return gezeigt;
}

void frmVelkora::SetSchaltflächen(int& breite) {
  const QFontMetrics m(font());
  int w = 0;
  const int n = std::min(Schaltflächen_Anzahl(), 25);
  for (int i = 1; i <= n; ++i) {
    if (cmdAuswahl[i]->isHidden()) continue;
    const int t = static_cast<int>(std::lround(bildschirm::pixelZuTwips(m.horizontalAdvance(cmdAuswahl[i]->text()))));
    w = std::max(w, t);
  }
  breite = Schaltflächenbreite_aus_Text(w);
}

void frmVelkora::Schaltflächenschrift_setzen(const std::vector<QPushButton*>& knöpfe, int breite) {
  // Measured with the window's font, so a button set smaller once is not grown
  // back at the next layout.
  const QFontMetrics m(font());
  for (QPushButton* b : knöpfe) {
    const double text = bildschirm::pixelZuTwips(m.horizontalAdvance(b->text()));
    QFont f = b->font();
    f.setPointSize(text > breite - 240 ? 9 : 10);
    b->setFont(f);
  }
}

void frmVelkora::Schaltflächenbreite_ändern(int& schritt) {
  // Held inside the range the per-user file accepts, so the chosen width is
  // also the one the next start reads.
  gSFBreite = Schaltflächenbreite_begrenzen(gSFBreite + schritt);
  gBenutzerwerte[36] = 1;
  gBenutzerwerte[37] = gSFBreite;
  Form_Resize();
}
