#pragma once
// Checking the rows of the code-button editor and turning them into the new button
// table: the stored day codes of every month record file are carried over to the new
// button numbers before the table is written.
#include <QString>
#include <functional>

// One editor row: what the row shows (letter and caption as typed).
struct Knopfzeile {
  QString buchstabe;
  QString text;
  qint32 textfarbe = 0;
  qint32 hintergrund = 0;
  int nurAdmins = 0;
  int verbergen = 0;
  bool gefüllt() const { return !buchstabe.isEmpty(); }
};

// What the check and the save need of the editor window.
class Knopfeditor {
 public:
  static constexpr int kZeilen = 24;
  virtual ~Knopfeditor() = default;
  virtual Knopfzeile zeile(int r) const = 0;  // r = 1 to 24
  // The first page (rows 1 to 12) is shown.
  virtual bool ersteSeiteSichtbar() const = 0;
  // Shows the first or the second page, without any check.
  virtual void seiteZeigen(bool erste) = 0;
  virtual void fokusBuchstabe(int r) = 0;
  virtual void fokusText(int r) = 0;
  // Row r back to stored button r (all six values and the preview).
  virtual void zeileZurücksetzen(int r) = 0;
  virtual QString breitenCode() const = 0;  // "0" = automatic
  virtual int breite() const = 0;           // twips
};

// Whether the rows may be saved; shows the first failure's message (or asks about a
// button whose records would lose their meaning) and moves the focus.
bool Plausibilitätsprüfung(Knopfeditor& editor);
// Saves the rows as the new button table (after Plausibilitätsprüfung returned true).
void Schaltflächen_aktualisieren(const Knopfeditor& editor);

// The description of a button table that tells whether anything changed.
QString Schaltflächenbeschreibung_gespeichert();
QString Schaltflächenbeschreibung_bearbeitet(const Knopfeditor& editor);

// The restore the save uses for its remapped copy. Starts as Restore_aus_Backupdatei;
// tests put a failing one in its place.
extern std::function<bool(const QString& sicherung, const QString& filter)> gKnopfRestore;
