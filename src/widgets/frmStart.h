#pragma once
// The splash window: the logo, the version and what the program is for, shown while
// the program starts (not with "/nowelcomescreen") and gone when the main window is
// ready, but not before 1.25 s after the start.
#include <QWidget>
#include <array>

class QFrame;
class QLabel;
class QPushButton;

class frmStart : public QWidget {
 public:
  frmStart();

  QFrame* fraRahmen = nullptr;
  QLabel* imgLogo = nullptr;
  // 1 the version, 2 the name, 3 the purpose (element 0 unused).
  std::array<QLabel*, 4> lblBeschriftung{};
  // 1 "&Datenordner suchen ...", 2 "&Abbrechen": never shown by the start.
  std::array<QPushButton*, 3> cmdAuswahl{};
};

// "Version " major "." minor "  Release " revision.
QString Versionstext();
// The start sequence's hooks: shows the window modeless and paints it at once; unloads it.
void Splash_zeigen();
void Splash_entladen();
// The shown splash window, or nullptr.
frmStart* Splash_Fenster();
