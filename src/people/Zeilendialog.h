#pragma once
// A dialog that edits a list in a fixed number of rows of text boxes: a vertical
// scroll bar whose value is the number of list entries above the first row, and a
// focus stop after the last row that checks the page and moves the list on by one.
// The employee editor and the administrator lists share it: the focus handling (the
// row that has the focus, a box stored into the list when it is left), the arrow
// keys between the rows, the scroll bar and the focus stop.
//
// A dialog derived from it creates the row boxes (with the properties "spalte" and
// "zeile"), vsbScrollBar and txtBlind, then calls Ereignisse_verbinden().
#include <QDialog>
#include <QRect>
#include <QString>
#include <functional>
#include <map>
#include <span>
#include <utility>
#include <vector>

class QKeyEvent;
class QLineEdit;
class QPushButton;
class QScrollBar;

class Zeilendialog : public QDialog {
 public:
  ~Zeilendialog() override;

  QScrollBar* vsbScrollBar = nullptr;
  QLineEdit* txtBlind = nullptr;  // the focus stop after the last row
  // The list entries above the first row; the scroll bar's value once it settled.
  int ErsteZeile = 0;

  // The box of a column and a visible row; null outside the rows.
  virtual QLineEdit* Feld(int spalte, int zeile) const = 0;
  // Column and row of a row box; {0, 0} for any other widget.
  std::pair<int, int> Position(const QWidget* w) const;

  // Redisplays the visible rows from the list.
  virtual void Anzeige_aktualisieren() = 0;
  // Stores visible row zeile into its list entry.
  virtual void Eingabezeile_speichern(int zeile) = 0;
  virtual void TextBox_GotFocus(int zeile) = 0;
  virtual void TextBox_LostFocus(int spalte, int zeile) = 0;
  // When the last row's name (column 1) is filled, the list grows by an empty entry
  // and the scroll bar by one, so there is always a row to type into at the end.
  void Eingabezeile_hinzufügen();
  // The focus stop: checks the page, keeps an input row at the end, moves the list
  // on by one and puts the focus into the last row's name. False when the check failed.
  bool txtBlind_GotFocus();
  // The scroll bar moved: the rows are stored and checked before the list moves; a
  // failing check sets the scroll bar back.
  void vsbScrollBar_Change(int wert);

 protected:
  // fenster: "frmName - ", the prefix of the procedure names; zeilen: visible rows;
  // spalten: boxes per row.
  Zeilendialog(const QString& fenster, int zeilen, int spalten, QWidget* besitzer);

  // Building the controls: lage collects each control's place in twips, vorher is the
  // control last in the tab order so far and moves on to each new one.
  //
  // A row box named name_<zeile> of column spalte, at r, taking at most länge characters.
  QLineEdit* Zeilenfeld_anlegen(const QString& name, int länge, int spalte, int zeile, const QRect& r,
                                std::map<QWidget*, QRect>& lage, QWidget*& vorher);
  // The focus stop txtBlind at blind, below the row boxes, and the scroll bar
  // vsbScrollBar at leiste, which takes no focus.
  void Fang_und_Leiste_anlegen(const QRect& blind, const QRect& leiste, std::map<QWidget*, QRect>& lage,
                               QWidget*& vorher);
  // The buttons cmdAuswahl_1 onwards from texte and orte (index 0 unused) into knöpfe;
  // a click on button i runs klick(i).
  void Knöpfe_anlegen(std::span<const QString> texte, std::span<const QRect> orte, std::span<QPushButton*> knöpfe,
                      const std::function<void(int)>& klick, std::map<QWidget*, QRect>& lage, QWidget*& vorher);

  // Lets every key, focus change and click of the dialog's controls through the
  // dialog's filter; call when the controls exist.
  void Ereignisse_verbinden();

  // Checks the visible rows; false after the message, the focus in the faulty box.
  virtual bool Seite_prüfen() = 0;
  // Appends an empty entry to the list; false when the list may not grow now.
  virtual bool Zeile_anhängen() = 0;
  // A box is left for widget neu (null: none): normally stored with TextBox_LostFocus.
  virtual void Feld_verlassen(QLineEdit* feld, QWidget* neu);
  // Whether the box with the focus may be left for a scroll.
  virtual bool Feld_gültig(QLineEdit*) { return true; }
  // A key at the widget that has the focus (or at the dialog); true consumes it.
  virtual bool Taste(QWidget* w, QKeyEvent* k);
  // Up and Down in a row box: to the row above or below; at the first row the list
  // scrolls back by one, at the last the focus stop runs. False for other keys.
  bool Pfeiltaste(QKeyEvent* k);

  // The row's boxes in base colour farbe (an index of gGrundfarben).
  void Farbe_setzen(int zeile, int farbe);
  int Farbe(int zeile) const;
  // Sets the scroll bar without running the scroll handling.
  void Wert_setzen(int wert);
  // The widget of the dialog an event is for; null for other windows and while closing.
  QWidget* Fensterelement(QObject* ziel) const;

  bool eventFilter(QObject* ziel, QEvent* e) override;
  void done(int r) override;

  const QString mFenster;
  const int mZeilen;
  const int mSpalten;
  QLineEdit* mFokusfeld = nullptr;  // the row box that has the focus
  QLineEdit* mKlickfeld = nullptr;  // the row box a mouse press just put the focus into
  bool mEnde = false;               // closing: focus changes are no user moves

 private:
  // Another box of the row than column spalte, to pass the focus through so that the
  // box gets it anew.
  QLineEdit* Nachbarfeld(int spalte, int zeile) const;

  std::vector<int> mFarbe;
  bool mFangErgebnis = false;  // the focus stop's last result
  bool mImFang = false;        // the focus stop is running
};
