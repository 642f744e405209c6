#pragma once
// A QLineEdit seen as a Textfeld. The adapter does not own the line edit.
#include <QPointer>

#include "platform/Textfeld.h"

class QLineEdit;

class LineEditTextfeld : public Textfeld {
 public:
  explicit LineEditTextfeld(QLineEdit* feld);
  QString text() const override;
  void setText(const QString& text) override;
  int maxLength() const override;
  void setFocus() override;
  void selectAll() override;

 private:
  QPointer<QLineEdit> mFeld;
};
