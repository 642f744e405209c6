#include "widgets/Fensterhilfen.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTextEdit>
#include <cmath>

#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Programmende.h"
#include "platform/Text.h"
#include "platform/Zustand.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Velkoraini.h"
#include "widgets/LineEditTextfeld.h"
#include "widgets/Rasteransicht.h"

namespace {

// The window whose input Sanduhr_Warten_ein switched off; the one it switches on again.
QPointer<QWidget> gGesperrtesFenster;
// The window whose caption the waiting state cleans up.
QPointer<QWidget> gWartefenster;
// The scroll-bar state Spaltenbreiten_anpassen remembers for the run.
bool gScrollbarGemerkt = false;

void Zustand_zurücksetzen() {
  gGesperrtesFenster = nullptr;
  gWartefenster = nullptr;
  gScrollbarGemerkt = false;
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

// Names of the Windows fonts that saved settings hold by default; on this machine they
// quietly become the program's own font.
bool Ist_Windows_Standardschrift(const QString& name) {
  static const QStringList kNamen = {QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                                     QStringLiteral("MS Shell Dlg"),  QStringLiteral("MS Shell Dlg 2"),
                                     QStringLiteral("Segoe UI"),      QStringLiteral("Tahoma"),
                                     QStringLiteral("Arial")};
  return kNamen.contains(text::trim(name), Qt::CaseInsensitive);
}

bool Schrift_vorhanden(const QString& name) { return QFontDatabase::families().contains(name, Qt::CaseInsensitive); }

// Controls that keep their font: common dialogs, images, lines, menus, shapes,
// timers, scroll bars.
bool Ohne_Schrift(const QString& name) {
  static const QStringList kPräfixe = {QStringLiteral("dlg"), QStringLiteral("img"), QStringLiteral("lin"),
                                       QStringLiteral("mnu"), QStringLiteral("shp"), QStringLiteral("tmr"),
                                       QStringLiteral("vsb")};
  for (const QString& p : kPräfixe)
    if (name.startsWith(p, Qt::CaseInsensitive)) return true;
  return false;
}

// The control a focused widget belongs to: the line edit inside an editable combo box
// or a spin box is that box.
QWidget* Steuerelement(QWidget* w) {
  for (QWidget* p = w ? w->parentWidget() : nullptr; p && !p->isWindow(); p = p->parentWidget()) {
    if (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractSpinBox*>(p)) return p;
  }
  return w;
}

bool Ist_Eingabefeld(QWidget* w) {
  if (!w) return false;
  if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w) || qobject_cast<QComboBox*>(w) ||
      qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
      qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QListView*>(w))
    return true;
  return false;
}

QWidget* Fokus_im_Fenster(QWidget* fenster) {
  QWidget* f = QApplication::focusWidget();
  if (f && f->window() == fenster) return f;
  return fenster->focusWidget();
}

class EnterFilter : public QObject {
 public:
  EnterFilter(QWidget* fenster) : QObject(fenster), mFenster(fenster) {}

 protected:
  bool eventFilter(QObject* ziel, QEvent* e) override {
    if (e->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter) return false;
    if ((k->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    auto* w = qobject_cast<QWidget*>(ziel);
    if (!w || w->window() != mFenster) return false;
    if (!Ist_Eingabefeld(Steuerelement(Fokus_im_Fenster(mFenster)))) return false;
    Key_Enter_naechstes_Feld(mFenster);
    return true;
  }

 private:
  QWidget* mFenster;
};

QRect Bildschirm_primär() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry() : QRect(0, 0, 800, 600);
}

void Zentrieren(QWidget* fenster) {
  const QRect b = Bildschirm_primär();
  fenster->move(b.left() + (b.width() - fenster->width()) / 2, b.top() + (b.height() - fenster->height()) / 2);
}

double Skalierung(double dpi) {
  const double t = 1440.0 / dpi;
  return 2.0 - std::floor(t) / t;
}

}  // namespace

void SetSchriftart(QWidget* fenster) {
  if (!fenster || gSchriftart.isEmpty()) return;
  QString name = gSchriftart;
  QString element = fenster->objectName();
  if (!Schrift_vorhanden(name)) {
    if (!Ist_Windows_Standardschrift(name)) {
      Meldung(QStringLiteral("Warnung: Zuweisen von Schriftart ") + gSchriftart + QStringLiteral(" an Element ") +
              element + QStringLiteral(" nicht möglich"));
      gSchriftart.clear();
      return;
    }
    name = QApplication::font().family();
  }
  if (fenster->font().family().compare(name, Qt::CaseInsensitive) == 0) return;
  // Controls without text keep their font of their own, not the window's.
  const auto kinder = fenster->findChildren<QWidget*>();
  for (QWidget* c : kinder) {
    if (!Ohne_Schrift(c->objectName())) continue;
    QFont eigen = c->font();
    eigen.setFamily(eigen.family());
    c->setFont(eigen);
  }
  QFont f = fenster->font();
  f.setFamily(name);
  fenster->setFont(f);
  for (QWidget* c : kinder) {
    if (Ohne_Schrift(c->objectName())) continue;
    QFont cf = c->font();
    cf.setFamily(name);
    cf.setBold(false);
    cf.setItalic(false);
    c->setFont(cf);
  }
}

void Fenstergröße_wiederherstellen(QWidget* fenster, int n) {
  Prozedur(QStringLiteral("modVelkora - Fenstergröße_wiederherstellen"), [&] {
    if (!fenster) return;
    if (n < 1 || n + 4 >= static_cast<int>(gBenutzerwerte.size())) fehler::auslösen(fehler::kIndexAusserhalb);
    const auto& s = gBenutzerwerte;
    const QPoint ecke(bildschirm::twipsZuPixel(s[n + 1]), bildschirm::twipsZuPixel(s[n + 2]));
    // The screen the saved corner lies on; none: the placement came from a screen
    // that is gone, and restoring it would put the window out of reach.
    const QScreen* schirm = QGuiApplication::screenAt(ecke);
    bool zentrieren = !schirm || static_cast<qint64>(s[n + 3]) + s[n + 4] <= 0;
    if (!zentrieren) {
      const QRect g = schirm->geometry();
      const double links = s[n + 1] - bildschirm::pixelZuTwips(g.left());
      const double oben = s[n + 2] - bildschirm::pixelZuTwips(g.top());
      zentrieren =
          links > bildschirm::pixelZuTwips(g.width()) - 4000 || oben > bildschirm::pixelZuTwips(g.height()) - 4000;
    }
    if (zentrieren) {
      Zentrieren(fenster);
    } else if (s[n] == 2) {
      fenster->setWindowState((fenster->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    } else {
      fenster->move(ecke);
      fenster->resize(bildschirm::twipsZuPixel(s[n + 3]), bildschirm::twipsZuPixel(s[n + 4]));
    }
  });
}

void platzieren(QWidget* w, int links, int oben, int breite, int höhe) {
  const auto px = [](double twips) { return bildschirm::twipsZuPixel(twips); };
  w->setGeometry(px(links), px(oben), px(breite), px(höhe));
}

bool Ist_fokussierbar(QWidget* c) {
  if (!c) return false;
  return c->isEnabled() && c->isVisibleTo(c->window()) && (c->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

void Key_Enter_naechstes_Feld(QWidget* fenster) {
  if (!fenster) return;
  QWidget* aktiv = Steuerelement(Fokus_im_Fenster(fenster));
  if (!aktiv || !Ist_Eingabefeld(aktiv)) return;
  // The focus chain is the window's tab order; it runs on from the last control to
  // the first. Every control is tried once at most.
  QWidget* w = aktiv;
  for (int versuche = 0; versuche < 10000; ++versuche) {
    w = w->nextInFocusChain();
    if (!w || w == aktiv) return;
    if (w->window() != fenster || w == fenster) continue;
    if (Steuerelement(w) != w || w->focusProxy()) continue;  // a part of a compound control
    if (Ist_fokussierbar(w)) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

void Enter_wie_Tab(QWidget* fenster) {
  if (!fenster || !qApp) return;
  // Filtering at the application sees the key before the dialog hands Enter to its
  // default button; the filter goes with the window.
  qApp->installEventFilter(new EnterFilter(fenster));
}

void Text_markieren() {
  QWidget* w = QApplication::focusWidget();
  if (auto* e = qobject_cast<QLineEdit*>(w))
    e->selectAll();
  else if (auto* s = qobject_cast<QAbstractSpinBox*>(w))
    s->selectAll();
  else if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit())
    c->lineEdit()->selectAll();
  else if (auto* t = qobject_cast<QTextEdit*>(w))
    t->selectAll();
  else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
    p->selectAll();
}

bool AutoAnzeigen(QWidget* fenster) {
  return Prozedur(QStringLiteral("modVelkora - AutoAnzeigen"), [&] {
    if (!fenster) return false;
    auto* von = fenster->findChild<QLineEdit*>(QStringLiteral("txtVonDatum"));
    auto* bis = fenster->findChild<QLineEdit*>(QStringLiteral("txtBisDatum"));
    if (!von || !bis) return false;
    const QString S = gDatumstrennzeichen.left(1);
    const QString v = text::trim(von->text()), b = text::trim(bis->text());
    const auto gruppiert = [&](const QString& t) {
      return t.size() == 6 && !t.contains(S) ? t.left(2) + S + t.mid(2, 2) + S + t.mid(4, 2) : t;
    };
    const auto vollständig = [&](const QString& t) { return t.size() == 8 && t.mid(2, 1) == S && t.mid(5, 1) == S; };
    if (!vollständig(gruppiert(v)) || !vollständig(gruppiert(b))) return false;
    LineEditTextfeld vonFeld(von), bisFeld(bis);
    if (!CheckDatum(vonFeld, false) || !CheckDatum(bisFeld, false)) return false;
    if (FormatDatumAD(von->text()) > FormatDatumAD(bis->text())) return false;
    return von->text() == v && bis->text() == b;
  });
}

int Namensspaltenbreite(int gitterbreite, int datenbreite, bool scrollbar) {
  return std::max(600, gitterbreite - datenbreite - (scrollbar ? 330 : 75));
}

int Gruppenauswahlbreite(int namensspalte, double dpi) {
  if (dpi == 96.0) return namensspalte - 15;
  return static_cast<int>(std::lround(namensspalte - (namensspalte * (Skalierung(dpi) - 1.0) + 30.0)));
}

void Spaltenbreiten_anpassen(Namensspaltenfenster& fenster, int datenbreite, bool erzwingen) {
  const bool jetzt = fenster.Scrollbar_sichtbar();
  QComboBox* auswahl = fenster.Gruppenauswahl();
  const bool auswahlSichtbar = auswahl && !auswahl->isHidden();
  if (auswahlSichtbar && (!gScrollbarGemerkt || erzwingen)) gScrollbarGemerkt = jetzt;
  const int spalte = Namensspaltenbreite(fenster.Gitterbreite(), datenbreite, gScrollbarGemerkt || jetzt);
  fenster.Namensspalte_setzen(spalte);
  if (auswahl)
    auswahl->resize(bildschirm::twipsZuPixel(Gruppenauswahlbreite(spalte, bildschirm::dpi())), auswahl->height());
}

void Fensterhilfen_einrichten() {
  gWartehaken.eingabe_sperren = [] {
    QWidget* w = QApplication::activeWindow();
    gWartefenster = w;
    if (w && w->isEnabled() && !gGesperrtesFenster) {
      w->setEnabled(false);
      gGesperrtesFenster = w;
    }
  };
  gWartehaken.eingabe_freigeben = [] {
    // The window switched off before, even when another one is active by now: it
    // would stay dead otherwise.
    QWidget* w = gGesperrtesFenster ? gGesperrtesFenster.data() : QApplication::activeWindow();
    if (w) w->setEnabled(true);
    gWartefenster = w;
    gGesperrtesFenster = nullptr;
  };
  gWartehaken.titel = [] {
    QWidget* w = gWartefenster ? gWartefenster.data() : QApplication::activeWindow();
    return w ? w->windowTitle() : QString();
  };
  gWartehaken.titel_setzen = [](const QString& t) {
    QWidget* w = gWartefenster ? gWartefenster.data() : QApplication::activeWindow();
    if (w) w->setWindowTitle(t);
  };
}

int Gitterbreite_ohne_Laufleiste(Rasteransicht* g) {
  const int innen = g->width() - 2 * g->frameWidth();
  const int leiste = g->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, g);
  const int zuBreit = std::max(0, leiste + 1 - (bildschirm::twipsZuPixel(330) - bildschirm::twipsZuPixel(75)));
  return static_cast<int>(std::lround(bildschirm::pixelZuTwips(innen - zuBreit)));
}
