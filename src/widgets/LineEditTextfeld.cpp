#include "widgets/LineEditTextfeld.h"

#include <QLineEdit>

LineEditTextfeld::LineEditTextfeld(QLineEdit* feld) : mFeld(feld) {}

QString LineEditTextfeld::text() const { return mFeld ? mFeld->text() : QString(); }

void LineEditTextfeld::setText(const QString& text) {
  if (mFeld) mFeld->setText(text);
}

int LineEditTextfeld::maxLength() const { return mFeld ? mFeld->maxLength() : 0; }

void LineEditTextfeld::setFocus() {
  if (mFeld) mFeld->setFocus(Qt::OtherFocusReason);
}

void LineEditTextfeld::selectAll() {
  if (mFeld) mFeld->selectAll();
}
