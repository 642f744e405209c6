#pragma once
// The comment dialog, which is also the program's one-line input box.
//
// A caller puts a prompt into the main window's Tag: the label, "|", the preset,
// optionally "||" and a window title. The dialog shows the label, the preset in its
// text box and the title as "Velkora - " + title, and leaves the accepted text in the
// Tag, or the preset when the user cancelled (so an answer equal to the preset means
// no change). Without a main window (a dialog opened alone, tests) the dialog's own
// Tag takes the main window's place.
//
// Accepted text is trimmed of blanks, at most 255 characters long, holds neither ":"
// nor "|", does not begin with "[" and holds only what Windows-1252 can store.
#include <QDialog>
#include <QString>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class frmKommentar : public QDialog {
 public:
  explicit frmKommentar(QWidget* besitzer = nullptr);

  QLabel* lblBeschriftung = nullptr;
  QLineEdit* txtKommentar = nullptr;
  // 1 OK, 2 "&Abbrechen" (element 0 unused).
  std::array<QPushButton*, 3> cmdAuswahl{};

  void cmdAuswahl_Click(int index);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* objekt, QEvent* e) override;

 private:
  void Form_Load();
  void txtKommentar_LostFocus();
};

// The Tag the dialog reads its prompt from and writes its answer to: the main
// window's, or the dialog's own when no main window runs.
QString& Kommentar_Tag();

// Shows the dialog modally over its owner for the prompt in Kommentar_Tag().
void frmKommentar_zeigen(QWidget* besitzer);

// The input box for any window: asks for one line of text and returns the accepted
// text, or the preset when the user cancelled. An empty title keeps the caption
// "Velkora - Kommentar".
QString Eingabefeld(const QString& beschriftung, const QString& vorgabe, const QString& titel = QString(),
                    QWidget* besitzer = nullptr);

// The accepted form of a typed text: trimmed of blanks and cut to 255 characters.
QString Kommentar_zuschneiden(const QString& text);
// Whether a comment text may be stored: no ":" or "|", no leading "[", nothing that
// Windows-1252 cannot hold.
bool Kommentar_zulässig(const QString& text);
