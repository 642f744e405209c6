#pragma once
// The about box: name, version and purpose of the program, and for support a few
// hidden tools: a diagnostics message (Ctrl + right click on the logo), the country
// dialog (administrators: Ctrl+F3 or a double click on the logo) and keys that change
// the date display for this run or switch the hiding of entries.
#include <QDialog>
#include <QString>
#include <array>
#include <functional>

#include "platform/Haken.h"

class QLabel;
class QPushButton;

class frmInfo : public QDialog {
 public:
  explicit frmInfo(QWidget* besitzer = nullptr);

  // Key code and modifiers (1 Shift, 2 Ctrl, 4 Alt); true when the key was handled.
  bool Form_KeyDown(int taste, int umschalt);
  // Button 1 left, 2 right; modifiers as above.
  void imgLogo_MouseDown(int knopf, int umschalt);
  void imgLogo_DblClick();

  QLabel* imgLogo = nullptr;
  // 1 the name, 2 the version, 3 the purpose (element 0 unused).
  std::array<QLabel*, 4> lblBeschriftung{};
  QLabel* lblHyperlink = nullptr;
  QPushButton* cmdAuswahl = nullptr;

  // Opens the country dialog over the given owner; set by the country dialog's unit.
  static Haken<void(QWidget*)> länderdialog;
  // The maker's web page; empty (the link hidden) while none is configured.
  static QString webadresse;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void Länderdialog_öffnen();
};

// The text of the diagnostics message.
QString Diagnosetext();
// Shows the about box modally over its owner.
void Info_anzeigen(QWidget* besitzer);
