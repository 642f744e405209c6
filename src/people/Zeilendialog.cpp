#include "people/Zeilendialog.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "platform/Laufzeitfehler.h"
#include "platform/Raster.h"
#include "store/Konfigdaten.h"

Zeilendialog::Zeilendialog(const QString& fenster, int zeilen, int spalten, QWidget* besitzer)
    : QDialog(besitzer), mFenster(fenster), mZeilen(zeilen), mSpalten(spalten), mFarbe(zeilen + 1, 0) {}

Zeilendialog::~Zeilendialog() {
  mEnde = true;
  mFokusfeld = nullptr;
  qApp->removeEventFilter(this);
}

void Zeilendialog::Ereignisse_verbinden() { qApp->installEventFilter(this); }

QLineEdit* Zeilendialog::Zeilenfeld_anlegen(const QString& name, int länge, int spalte, int zeile, const QRect& r,
                                            std::map<QWidget*, QRect>& lage, QWidget*& vorher) {
  auto* e = new QLineEdit(this);
  e->setObjectName(name + QStringLiteral("_%1").arg(zeile));
  e->setMaxLength(länge);
  e->setProperty("spalte", spalte);
  e->setProperty("zeile", zeile);
  lage[e] = r;
  if (vorher) setTabOrder(vorher, e);
  vorher = e;
  return e;
}

void Zeilendialog::Fang_und_Leiste_anlegen(const QRect& blind, const QRect& leiste, std::map<QWidget*, QRect>& lage,
                                           QWidget*& vorher) {
  txtBlind = new QLineEdit(this);
  txtBlind->setObjectName(QStringLiteral("txtBlind"));
  lage[txtBlind] = blind;
  txtBlind->lower();
  setTabOrder(vorher, txtBlind);
  vorher = txtBlind;

  vsbScrollBar = new QScrollBar(Qt::Vertical, this);
  vsbScrollBar->setObjectName(QStringLiteral("vsbScrollBar"));
  vsbScrollBar->setFocusPolicy(Qt::NoFocus);
  lage[vsbScrollBar] = leiste;
  connect(vsbScrollBar, &QScrollBar::valueChanged, this, [this](int w) { vsbScrollBar_Change(w); });
}

void Zeilendialog::Knöpfe_anlegen(std::span<const QString> texte, std::span<const QRect> orte,
                                  std::span<QPushButton*> knöpfe, const std::function<void(int)>& klick,
                                  std::map<QWidget*, QRect>& lage, QWidget*& vorher) {
  for (int i = 1; i < static_cast<int>(texte.size()); ++i) {
    auto* b = new QPushButton(texte[i], this);
    b->setObjectName(QStringLiteral("cmdAuswahl_%1").arg(i));
    b->setAutoDefault(false);
    b->setDefault(false);
    connect(b, &QPushButton::clicked, this, [klick, i] { klick(i); });
    knöpfe[i] = b;
    lage[b] = orte[i];
    setTabOrder(vorher, b);
    vorher = b;
  }
}

std::pair<int, int> Zeilendialog::Position(const QWidget* w) const {
  if (!w) return {0, 0};
  const QVariant s = w->property("spalte"), z = w->property("zeile");
  if (!s.isValid() || !z.isValid() || w->window() != this) return {0, 0};
  return {s.toInt(), z.toInt()};
}

void Zeilendialog::Farbe_setzen(int zeile, int farbe) {
  if (zeile < 1 || zeile > mZeilen) return;
  mFarbe[static_cast<size_t>(zeile)] = farbe;
  const QColor c = zuQColor(gGrundfarben[static_cast<size_t>(farbe)]);
  for (int s = 1; s <= mSpalten; ++s) {
    QLineEdit* e = Feld(s, zeile);
    QPalette p = e->palette();
    if (p.color(QPalette::Base) == c) continue;
    p.setColor(QPalette::Base, c);
    e->setPalette(p);
  }
}

int Zeilendialog::Farbe(int zeile) const { return mFarbe[static_cast<size_t>(zeile)]; }

void Zeilendialog::Wert_setzen(int wert) {
  const QSignalBlocker b(vsbScrollBar);
  vsbScrollBar->setValue(wert);
}

void Zeilendialog::Eingabezeile_hinzufügen() {
  Prozedur(mFenster + QStringLiteral("Eingabezeile_hinzufügen"), [&] {
    if (Feld(1, mZeilen)->text().isEmpty()) return;
    if (!Zeile_anhängen()) return;
    const QSignalBlocker b(vsbScrollBar);
    vsbScrollBar->setMaximum(vsbScrollBar->maximum() + 1);
  });
}

bool Zeilendialog::txtBlind_GotFocus() {
  return Prozedur(mFenster + QStringLiteral("txtBlind_GotFocus"), [&] {
    if (!Seite_prüfen()) return false;
    if (vsbScrollBar->value() == vsbScrollBar->maximum()) Eingabezeile_hinzufügen();
    if (vsbScrollBar->value() < vsbScrollBar->maximum()) {
      const int vorher = vsbScrollBar->value();
      vsbScrollBar->setValue(vorher + 1);
      if (ErsteZeile != vorher + 1) return false;
    }
    Feld(1, mZeilen)->setFocus(Qt::OtherFocusReason);
    return true;
  });
}

void Zeilendialog::vsbScrollBar_Change(int wert) {
  Prozedur(mFenster + QStringLiteral("vsbScrollBar_Change"), [&] {
    if (wert == ErsteZeile) return;
    if (QLineEdit* f = mFokusfeld) {
      if (!Feld_gültig(f)) {
        Wert_setzen(ErsteZeile);
        return;
      }
      const auto [spalte, zeile] = Position(f);
      TextBox_LostFocus(spalte, zeile);
      TextBox_GotFocus(zeile);
    }
    for (int k = 1; k <= mZeilen; ++k) Eingabezeile_speichern(k);
    if (!Seite_prüfen()) {
      Wert_setzen(ErsteZeile);
      return;
    }
    ErsteZeile = wert;
    Anzeige_aktualisieren();
    if (mFokusfeld) mFokusfeld->selectAll();
  });
}

void Zeilendialog::Feld_verlassen(QLineEdit* feld, QWidget*) {
  const auto [spalte, zeile] = Position(feld);
  TextBox_LostFocus(spalte, zeile);
}

QLineEdit* Zeilendialog::Nachbarfeld(int spalte, int zeile) const {
  for (int s = 1; s <= mSpalten; ++s)
    if (s != spalte && !Feld(s, zeile)->isHidden()) return Feld(s, zeile);
  return nullptr;
}

bool Zeilendialog::Pfeiltaste(QKeyEvent* k) {
  if (k->key() != Qt::Key_Up && k->key() != Qt::Key_Down) return false;
  const auto [spalte, zeile] = Position(QApplication::focusWidget());
  if (spalte == 0) return false;
  // Through a neighbour box and back, so that the box that keeps the focus gets it
  // anew: its row coloured, its text selected.
  const auto zurück = [this, s = spalte](int z) {
    if (QLineEdit* n = Nachbarfeld(s, z)) n->setFocus(Qt::OtherFocusReason);
    Feld(s, z)->setFocus(Qt::OtherFocusReason);
  };
  const int v = vsbScrollBar->value();
  if (k->key() == Qt::Key_Up) {
    if (zeile > 1) {
      Feld(spalte, zeile - 1)->setFocus(Qt::OtherFocusReason);
      return true;
    }
    if (v > 0) {
      vsbScrollBar->setValue(v - 1);
      if (ErsteZeile == v) return true;  // the scroll was refused
    }
    zurück(1);
    return true;
  }
  if (zeile < mZeilen) {
    Feld(spalte, zeile + 1)->setFocus(Qt::OtherFocusReason);
    return true;
  }
  mFangErgebnis = false;
  txtBlind->setFocus(Qt::OtherFocusReason);
  if (mFangErgebnis) zurück(mZeilen);
  return true;
}

bool Zeilendialog::Taste(QWidget*, QKeyEvent* k) { return Pfeiltaste(k); }

QWidget* Zeilendialog::Fensterelement(QObject* ziel) const {
  if (mEnde) return nullptr;
  auto* w = qobject_cast<QWidget*>(ziel);
  if (!w || w->window() != this) return nullptr;
  return w;
}

bool Zeilendialog::eventFilter(QObject* ziel, QEvent* e) {
  QWidget* w = Fensterelement(ziel);
  if (!w) return false;
  switch (e->type()) {
    case QEvent::KeyPress: {
      // The key once, at the widget that has the focus.
      QWidget* fokus = QApplication::focusWidget();
      if (fokus ? w != fokus : w != this) return false;
      return Taste(w, static_cast<QKeyEvent*>(e));
    }
    case QEvent::FocusIn: {
      const auto* f = static_cast<QFocusEvent*>(e);
      if (w == txtBlind) {
        if (f->reason() == Qt::ActiveWindowFocusReason || f->reason() == Qt::PopupFocusReason) return false;
        // Once per arrival: the focus stop itself moves the focus on.
        if (mImFang || QApplication::focusWidget() != txtBlind) return false;
        mImFang = true;
        mFangErgebnis = txtBlind_GotFocus();
        mImFang = false;
        return false;
      }
      const auto [spalte, zeile] = Position(w);
      if (spalte == 0 || w == mFokusfeld) return false;
      mFokusfeld = static_cast<QLineEdit*>(w);
      TextBox_GotFocus(zeile);
      // The click that brought the focus places the cursor after the selection was
      // made; the release selects the text again unless the mouse chose a part.
      mKlickfeld = f->reason() == Qt::MouseFocusReason ? mFokusfeld : nullptr;
      return false;
    }
    case QEvent::MouseButtonRelease: {
      if (w != mKlickfeld) return false;
      mKlickfeld = nullptr;
      if (!mFokusfeld || w != mFokusfeld || mFokusfeld->hasSelectedText()) return false;
      mFokusfeld->selectAll();
      return false;
    }
    case QEvent::FocusOut: {
      const auto* f = static_cast<QFocusEvent*>(e);
      // A message box or menu taking the focus is no move of the user's.
      if (f->reason() == Qt::ActiveWindowFocusReason || f->reason() == Qt::PopupFocusReason) return false;
      if (w != mFokusfeld) return false;
      mFokusfeld = nullptr;
      Feld_verlassen(static_cast<QLineEdit*>(w), QApplication::focusWidget());
      return false;
    }
    default:
      return false;
  }
}

void Zeilendialog::done(int r) {
  mEnde = true;
  mFokusfeld = nullptr;
  QDialog::done(r);
}
