#pragma once
// The printer side of the print dialog: the list of printers, the chosen printer,
// the page set-up that opens each job (one copy, one month or one employee) and the
// common print-error routine. "PDF-Datei" is always one of the printers.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "platform/Laufzeitfehler.h"
#include "printing/Druckflaeche.h"

// The printer entry that writes PDF files; always offered.
inline const QString kPdfDrucker = QStringLiteral("PDF-Datei");

// The printer object: opens one print job after another on its paper.
class Druckziel {
 public:
  virtual ~Druckziel() = default;
  virtual QString name() const = 0;
  virtual bool letter() const { return false; }  // Letter paper instead of A4
  virtual std::shared_ptr<Druckfläche> auftrag(bool quer) = 0;
};

// How the print dialog reaches the system's printers; tests replace them.
struct Druckersystem {
  std::function<QStringList()> drucker;      // installed printers' names
  std::function<QString()> standarddrucker;  // the system's default printer, "" when none
  // The printer object for a name; pdfDatei is the file name chosen for "PDF-Datei".
  std::function<std::unique_ptr<Druckziel>(const QString& name, const QString& pdfDatei)> ziel;
};
extern Druckersystem gDruckersystem;
// The machine's printers through Qt, as gDruckersystem starts.
Druckersystem Systemdrucker();

// The DeviceName of the default printer, found once per run ("" before, "NoPrinter"
// when none is installed).
extern QString gStandarddrucker;
// The current printer object (the default printer until one is chosen).
extern std::unique_ptr<Druckziel> gDrucker;

// Every printer the dialog can list: the system's and "PDF-Datei".
QStringList Druckersammlung();
// Looks up the default printer; the current printer object becomes it.
void Aktuellen_Drucker_ermitteln(bool& schnelldruck);
// Opens the next job on the current printer with the page values of the job code.
bool Druckereinstellungen_setzen();
// Ends the current job (the document goes out); in a Pdf_Serie it also throws the
// error of a file of the series that failed meanwhile.
void Druckauftrag_beenden();
// Abandons the current job, forgets the printer and reports the error.
void Druckfehler(const QString& prozedur);

// Runs a printout routine; a run-time error goes to Druckfehler with its name and
// the routine returns false.
bool Druckroutine(const QString& name, const std::function<bool()>& rumpf);
