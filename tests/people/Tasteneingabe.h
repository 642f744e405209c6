#pragma once
// Driving a shown dialog's text boxes by focus and keys, as a user does.
#include <QApplication>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QWidget>

// Puts the focus into a box as a click would.
inline void fokus(QWidget* w) {
  w->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
}
// Types into the focused box (its text selected on entry, so typing replaces it).
inline void tippen(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
inline void taste(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
  QTest::keyClick(QApplication::focusWidget(), k, m);
}
// Enters a text into a box (replacing what it held) and leaves it with Tab.
inline void eingeben(QLineEdit* e, const QString& text) {
  fokus(e);
  e->selectAll();
  if (text.isEmpty())
    taste(Qt::Key_Delete);
  else
    tippen(text);
  taste(Qt::Key_Tab);
}
