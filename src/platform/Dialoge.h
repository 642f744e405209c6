#pragma once
// Every message box, question and file, folder or colour choice of the program goes
// through this one service. The real program shows Qt dialogs; tests install a
// scripted service that answers from a queue and records every prompt.
#include <QString>
#include <deque>
#include <memory>
#include <vector>

namespace dialoge {

enum class Art {
  Meldung,          // exclamation icon, OK button
  Information,      // information icon, OK button
  JaNein,           // question icon, Yes/No, No preselected
  JaNeinAbbrechen,  // question icon, Yes/No/Cancel
  DateiÖffnen,
  DateiSpeichern,
  Ordner,
  Farbe,
};

// Button results, with the numbers the program's logic compares against.
inline constexpr int kOK = 1;
inline constexpr int kAbbrechen = 2;
inline constexpr int kJa = 6;
inline constexpr int kNein = 7;

struct Aufforderung {
  Art art = Art::Meldung;
  QString text;     // line breaks are single carriage returns
  QString titel;    // empty: the product's name
  QString vorgabe;  // preset file name, folder or colour
  QString filter;   // file filter
};

struct Antwort {
  int knopf = kOK;
  QString wert;  // chosen file, folder or colour; empty when cancelled
};

class Dienst {
 public:
  virtual ~Dienst() = default;
  virtual Antwort zeigen(const Aufforderung& a) = 0;
  virtual void piepen() {}
};

// Installs the service (the previous one is dropped).
void setzeDienst(std::unique_ptr<Dienst> dienst);
Dienst& dienst();

Antwort zeigen(const Aufforderung& a);

// Scripted answers for tests. Without a queued answer a message is answered OK and a
// question with its preselected button (No), a choice is cancelled.
class Skript : public Dienst {
 public:
  Antwort zeigen(const Aufforderung& a) override;
  void antworte(int knopf, const QString& wert = {}) { antworten.push_back({knopf, wert}); }
  void piepen() override { ++pieptöne; }
  std::deque<Antwort> antworten;
  // Beeps so far (a message beeps too).
  int pieptöne = 0;
  std::vector<Aufforderung> protokoll;
  // Texts of all prompts so far, in order.
  std::vector<QString> texte() const;
};

// Installs a fresh Skript and returns it (owned by the service slot).
Skript& skript();

}  // namespace dialoge
