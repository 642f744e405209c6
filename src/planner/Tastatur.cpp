#include "planner/Tastatur.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <iterator>

#include "planner/Hilfebefehle.h"
#include "planner/Undo.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Meldungen.h"

namespace {

// The commands of the keys.
void Rückgängig(frmVelkora&) {
  if (!Undo_läuft()) Undo_Redo(-1);
}
void Wiederherstellen(frmVelkora&) {
  if (!Undo_läuft()) Undo_Redo(1);
}
void Hilfe(frmVelkora& f) { Hilfe_und_Export_Tasten(f, Qt::Key_F1, 0); }
void Monat_exportieren(frmVelkora& f) { Hilfe_und_Export_Tasten(f, Qt::Key_F12, 0); }

// The key table: one row per key and shift state.
const Tastenbefehl kTasten[] = {
    {Qt::Key_F1, kJederUmschalt, &Hilfe},
    {Qt::Key_F12, kJederUmschalt, &Monat_exportieren},
    {Qt::Key_Y, kStrg, &Wiederherstellen},
    {Qt::Key_Z, kStrg, &Rückgängig},
};

int Umschaltzustand(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? kUmschalt : 0) | (m & Qt::ControlModifier ? kStrg : 0) |
         (m & Qt::AltModifier ? kAlt : 0);
}

bool Eingabeereignis(QEvent::Type t) {
  switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

// Sees every event of the application first and takes what belongs to the window.
class Tastenvorschau : public QObject {
 public:
  explicit Tastenvorschau(frmVelkora& f) : QObject(&f), mF(f) { qApp->installEventFilter(this); }
  ~Tastenvorschau() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (!o->isWidgetType() || !Eingabeereignis(e->type())) return false;
    QWidget* w = static_cast<QWidget*>(o);
    if (w->window() != &mF) return false;
    if (gBeschäftigt) return true;
    if (e->type() == QEvent::ShortcutOverride) {
      // A key of the table is the window's, not a shortcut's.
      auto* k = static_cast<QKeyEvent*>(e);
      if (Hat_Zeile(k->key(), Umschaltzustand(k->modifiers()))) e->accept();
      return false;
    }
    if (e->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    return Form_KeyDown(mF, k->key(), Umschaltzustand(k->modifiers()));
  }

 private:
  static bool Hat_Zeile(int taste, int umschalt) {
    for (const Tastenbefehl& t : kTasten)
      if (t.taste == taste && (t.umschalt == kJederUmschalt || t.umschalt == umschalt)) return true;
    return false;
  }
  frmVelkora& mF;
};

}  // namespace

bool Form_KeyDown(frmVelkora& f, int taste, int umschalt) {
  return Prozedur(QStringLiteral("frmVelkora - Form_KeyDown"), [&]() -> bool {
    if (f.picKommentar) f.picKommentar->hide();
    for (const Tastenbefehl& t : kTasten) {
      if (t.taste != taste || (t.umschalt != kJederUmschalt && t.umschalt != umschalt)) continue;
      t.befehl(f);
      return true;
    }
    return false;
  });
}

void Tastatur_verbinden(frmVelkora& f) { new Tastenvorschau(f); }
