#include "planner/Hilfebefehle.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTabBar>

#include "planner/CSV_Export.h"
#include "planner/Mausrad.h"
#include "planner/Tabellenmaus.h"
#include "planner/Wartetitel.h"
#include "planner/frmHilfe.h"
#include "planner/frmInfo.h"
#include "planner/frmRecovery.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "platform/widgets/Rasteransicht.h"
#include "startup/Umrechnungen.h"

namespace {
// Sees the keys of the main window before its controls, as its key handler will.
class Tastenvorschau : public QObject {
 public:
  explicit Tastenvorschau(frmVelkora& f) : QObject(&f), mF(f) {}

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::KeyPress && QApplication::activeWindow() == &mF) {
      const auto* k = static_cast<QKeyEvent*>(e);
      int umschalt = 0;
      if (k->modifiers() & Qt::ShiftModifier) umschalt |= 1;
      if (k->modifiers() & Qt::ControlModifier) umschalt |= 2;
      if (k->modifiers() & Qt::AltModifier) umschalt |= 4;
      if (Hilfe_und_Export_Tasten(mF, k->key(), umschalt)) return true;
    }
    return QObject::eventFilter(o, e);
  }

 private:
  frmVelkora& mF;
};
}  // namespace

void Hilfebefehle_verbinden(frmVelkora& f) {
  for (const char16_t* name : {u"mnuHilfe", u"mnuInfo"}) {
    QAction* a = f.aktion(QString::fromUtf16(name));
    a->setEnabled(true);
    const bool hilfe = QString::fromUtf16(name) == u"mnuHilfe";
    QObject::connect(a, &QAction::triggered, &f, [&f, hilfe] { hilfe ? mnuHilfe_Click(f) : mnuInfo_Click(f); });
  }
  frmRecovery::hilfe = [](QWidget* fenster) { Hilfe_anzeigen(fenster); };
  Wartetitel_verbinden(f);
  gTabellenbefehle.Mausrad_einhängen = [&f] { ScrollbarIsVisible(f, *f.msgFlexGrid); };
  gTabellenbefehle.Mausrad_aushängen = [] { UnHook(); };
  qApp->installEventFilter(new Tastenvorschau(f));
}

bool Hilfe_und_Export_Tasten(frmVelkora& f, int taste, int) {
  if (taste == Qt::Key_F1) {
    mnuHilfe_Click(f);
    return true;
  }
  if (taste == Qt::Key_F12) {
    Prozedur(QStringLiteral("frmVelkora - Form_KeyDown"), [&] {
      const QString titel = QStringLiteral("Monat ") + Monatsname(f.tabMonate->currentIndex() + 1) + u' ' +
                            f.tabJahre->tabText(f.tabJahre->currentIndex());
      CSV_Export(f, titel);
    });
    return true;
  }
  return false;
}

void mnuHilfe_Click(frmVelkora& f) {
  Prozedur(QStringLiteral("frmVelkora - mnuHilfe_Click"), [&] { Hilfe_anzeigen(&f); });
}

void mnuInfo_Click(frmVelkora& f) {
  Prozedur(QStringLiteral("frmVelkora - mnuInfo_Click"), [&] { Info_anzeigen(&f); });
}
