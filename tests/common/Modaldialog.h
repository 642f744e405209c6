#pragma once
// Answers a modal dialog that the code under test opens: the action runs on the dialog
// of type T once it is shown (looked for again every few milliseconds, since other
// events may run first).
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

template <class T>
void beimDialog(std::function<void(T&)> handlung, int versuche = 500) {
  QTimer::singleShot(versuche == 500 ? 0 : 10, [handlung, versuche] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = dynamic_cast<T*>(w); d && d->isVisible()) {
        handlung(*d);
        return;
      }
    if (versuche > 0) beimDialog<T>(handlung, versuche - 1);
  });
}

// How many dialogs of type T are shown now.
template <class T>
int offeneDialoge() {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = dynamic_cast<T*>(w); d && d->isVisible()) ++n;
  return n;
}
