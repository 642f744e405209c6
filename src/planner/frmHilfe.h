#pragma once
// The help window: a short help text for the window it was called from, a close
// button and two buttons that open the manual and the readme of the program folder
// (each only when its file is there).
#include <QDialog>
#include <QSize>
#include <QString>
#include <array>

class QLabel;
class QPushButton;

// The topic (1 to 13, 6 unused) for the calling window's name. The administrators
// dialog follows the main window's Tag ("A" or "P"), the employee editor settings
// position 28 (employees without Windows user names).
int Hilfethema(const QString& fenstername);
QString Hilfetitel(int thema);
// The text with "|" for a line break ("||" an empty line).
QString Hilfetext(int thema);
// The window's client size in twips.
QSize Hilfegröße(int thema);

class frmHilfe : public QDialog {
 public:
  // The topic follows from the caller's name.
  explicit frmHilfe(QWidget* aufrufer);

  void Hilfetext_setzen(int thema);
  int thema() const { return mThema; }

  QLabel* lblTitel = nullptr;
  QLabel* lblHilfetext = nullptr;
  QPushButton* cmdAuswahl = nullptr;
  // 1 the manual "Handbuch.pdf", 2 the readme "Lies mich.pdf" (element 0 unused).
  std::array<QPushButton*, 3> cmdHilfe{};

 private:
  std::array<QString, 3> mDateien;
  int mThema = 1;
};

// Shows the help for the calling window modally over it (F1 and the help buttons of
// the dialogs).
void Hilfe_anzeigen(QWidget* aufrufer);
