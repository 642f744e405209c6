#pragma once
// A one-line text box as the date check sees it, so that the check runs without
// widgets (the dialogs hand in an adapter of their line edit; tests a fake).
#include <QString>

class Textfeld {
 public:
  virtual ~Textfeld() = default;
  virtual QString text() const = 0;
  virtual void setText(const QString& text) = 0;
  // The most characters the box takes; 0 or less: no limit.
  virtual int maxLength() const = 0;
  virtual void setFocus() = 0;
  virtual void selectAll() = 0;
};
