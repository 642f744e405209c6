#pragma once
// What a printout draws on: a printer or PDF job through QPainter, or, for tests, a
// recording with fixed text metrics. Positions are centimetres from the top left
// corner of the printable area; a text is placed by the top of its line.
#include <QFont>
#include <QString>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/Laufzeitfehler.h"
#include "platform/Raster.h"

struct Druckschrift {
  double größe = 10;  // points
  bool fett = false;
  bool kursiv = false;
  bool operator==(const Druckschrift&) const = default;
};

class Druckfläche {
 public:
  virtual ~Druckfläche() = default;
  virtual double textbreite(const QString& text, const Druckschrift& s) = 0;
  // The printer's own line advance of the font.
  virtual double zeilenhöhe(const Druckschrift& s) = 0;
  virtual void text(double x, double y, const QString& text, const Druckschrift& s, Farbwert farbe,
                    bool transparent) = 0;
  virtual void linie(double x1, double y1, double x2, double y2) = 0;
  // A filled box, the colour as outline and fill.
  virtual void kasten(double x, double y, double breite, double höhe, Farbwert farbe) = 0;
  virtual void neueSeite() = 0;
  // Ends the document (the job goes to the printer or file).
  virtual void beenden() = 0;
  // Abandons the document: nothing reaches the printer, a file is removed.
  virtual void abbrechen() = 0;
  // The physical offset of the printable area from the paper's corner.
  virtual double linkerVersatz() const { return 0; }
  virtual double obererVersatz() const { return 0; }
};

// A recording surface: text widths 0.2 cm a character at 10 pt (0.25 in bold),
// scaled by the size, lines 0.45 cm high at 10 pt.
class Aufzeichnung : public Druckfläche {
 public:
  enum Art { Text, Linie, Kasten };
  struct Eintrag {
    Art art = Text;
    int seite = 1;
    double x = 0, y = 0, b = 0, h = 0;  // paper centimetres (offsets added back)
    QString text;
    Druckschrift schrift;
    Farbwert farbe = 0;
    bool transparent = false;
  };

  double textbreite(const QString& text, const Druckschrift& s) override;
  double zeilenhöhe(const Druckschrift& s) override;
  void text(double x, double y, const QString& text, const Druckschrift& s, Farbwert farbe, bool transparent) override;
  void linie(double x1, double y1, double x2, double y2) override;
  void kasten(double x, double y, double breite, double höhe, Farbwert farbe) override;
  void neueSeite() override;
  void beenden() override { beendet = true; }
  void abbrechen() override { abgebrochen = true; }
  double linkerVersatz() const override { return versatzX; }
  double obererVersatz() const override { return versatzY; }

  // The texts of one page, in order.
  std::vector<Eintrag> texte(int seite = 0) const;
  const Eintrag* suche(const QString& text, int seite = 0) const;

  std::vector<Eintrag> einträge;
  int seiten = 0;  // a page opens with the first drawing
  bool beendet = false, abgebrochen = false;
  bool quer = true;
  double versatzX = 0, versatzY = 0;
  // Called before every drawing; a test throws from it to make the printer fail.
  std::function<void(const Eintrag&)> vorZeichnen;

 private:
  void aufnehmen(Eintrag e);
  bool mNeueSeiteOffen = true;
};

// A QPainter job on a printer or PDF file; opens its painter with the first drawing,
// so a job without anything to print sends no page and writes no file.
class QPrinter;
class QPainter;
class Malfläche : public Druckfläche {
 public:
  // pdfDatei: empty for a printer.
  Malfläche(std::unique_ptr<QPrinter> drucker, QString pdfDatei);
  ~Malfläche() override;
  double textbreite(const QString& text, const Druckschrift& s) override;
  double zeilenhöhe(const Druckschrift& s) override;
  void text(double x, double y, const QString& text, const Druckschrift& s, Farbwert farbe, bool transparent) override;
  void linie(double x1, double y1, double x2, double y2) override;
  void kasten(double x, double y, double breite, double höhe, Farbwert farbe) override;
  void neueSeite() override;
  void beenden() override;
  void abbrechen() override;

  // From now on the drawings are only recorded (texts measured as before); the end of
  // the job hands them with the printer to the running Pdf_Serie, whose worker paints
  // and writes the file. For a PDF file while a series runs.
  void aufschieben();

  // One drawing as the job was given it.
  struct Schritt {
    enum Art { Text, Linie, Kasten, NeueSeite };
    Art art = Text;
    double x = 0, y = 0, x2 = 0, y2 = 0;  // a box: x2, y2 are its width and height
    QString text;
    Druckschrift schrift;
    Farbwert farbe = 0;
    bool transparent = false;
  };

 private:
  friend class Pdf_Serie;
  struct Schriftmaße;
  // The measures of a font shared by the jobs of the running series, or nullptr.
  Schriftmaße* serienmaße(const Druckschrift& s);
  // Draws at once or records, as the job is.
  void zeichnen(Schritt s);
  void malen(const Schritt& s);
  // Paints what was recorded and ends the document; on the worker thread.
  void ausgeben();
  QPainter& maler();
  // The error of a failed output: 482 only when the driver cancelled the job.
  Laufzeitfehler Ausgabefehler() const;
  double px(double cm) const;
  // The font a text is printed in: Arial, or what the system has in its place, no taller
  // a line than Arial's.
  QFont schrift(const Druckschrift& s) const;
  std::unique_ptr<QPrinter> mDrucker;
  std::unique_ptr<QPainter> mMaler;
  QString mPdfDatei;
  bool mSeiteOffen = false;
  bool mNeueSeiteAngefordert = false;
  bool mAufgeschoben = false;
  std::vector<Schritt> mSchritte;
  mutable std::vector<std::pair<Druckschrift, QFont>> mSchriften;
};

// A series of PDF print jobs made one after another on the GUI thread (the year
// overview of every employee): while one is alive, the PDF jobs opened are recorded,
// and each ended job is painted and written on a worker thread while the next page is
// made. A file that failed is reported by the next prüfen() (once), with the error its
// own end would have thrown; the series stops there: jobs ended after the failed one
// are not written, or their files removed, so that the files before it are what is
// left, as when each job was written at its end. The end of the series waits for every
// file; the jobs never start, nor finish, out of the GUI thread's sight.
class Pdf_Serie {
 public:
  struct Zustand;
  Pdf_Serie();
  ~Pdf_Serie();
  Pdf_Serie(const Pdf_Serie&) = delete;
  Pdf_Serie& operator=(const Pdf_Serie&) = delete;
  // Whether a series runs (on the GUI thread).
  static bool aktiv();
  // Throws the error of a file of the series that failed, once; with abwarten only
  // after every file handed over is written.
  static void prüfen(bool abwarten);

 private:
  friend class Malfläche;
  static void übergeben(std::shared_ptr<Malfläche> auftrag, const QString& datei);
  std::unique_ptr<Zustand> mZustand;
};
