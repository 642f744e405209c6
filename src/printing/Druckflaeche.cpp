#include "printing/Druckflaeche.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include "platform/Laufzeitfehler.h"

namespace {
// Whether the file ends with the end-of-file marker of a completely written PDF.
bool Pdf_vollständig(const QString& datei) {
  QFile f(datei);
  if (!f.open(QIODevice::ReadOnly) || f.size() < 32) return false;
  if (!f.seek(f.size() - 32)) return false;
  return f.read(32).contains("%%EOF");
}
}  // namespace

double Aufzeichnung::textbreite(const QString& text, const Druckschrift& s) {
  return text.size() * (s.fett ? 0.25 : 0.2) * s.größe / 10.0;
}

double Aufzeichnung::zeilenhöhe(const Druckschrift& s) { return 0.45 * s.größe / 10.0; }

void Aufzeichnung::aufnehmen(Eintrag e) {
  if (vorZeichnen) vorZeichnen(e);
  if (mNeueSeiteOffen) {
    ++seiten;
    mNeueSeiteOffen = false;
  }
  e.seite = seiten;
  einträge.push_back(std::move(e));
}

void Aufzeichnung::text(double x, double y, const QString& text, const Druckschrift& s, Farbwert farbe,
                        bool transparent) {
  Eintrag e;
  e.art = Text;
  e.x = x + versatzX;
  e.y = y + versatzY;
  e.b = textbreite(text, s);
  e.text = text;
  e.schrift = s;
  e.farbe = farbe;
  e.transparent = transparent;
  aufnehmen(e);
}

void Aufzeichnung::linie(double x1, double y1, double x2, double y2) {
  Eintrag e;
  e.art = Linie;
  e.x = x1 + versatzX;
  e.y = y1 + versatzY;
  e.b = x2 - x1;
  e.h = y2 - y1;
  aufnehmen(e);
}

void Aufzeichnung::kasten(double x, double y, double breite, double höhe, Farbwert farbe) {
  Eintrag e;
  e.art = Kasten;
  e.x = x + versatzX;
  e.y = y + versatzY;
  e.b = breite;
  e.h = höhe;
  e.farbe = farbe;
  aufnehmen(e);
}

void Aufzeichnung::neueSeite() {
  if (seiten == 0) ++seiten;  // a new page on an untouched job leaves the first one blank
  mNeueSeiteOffen = true;
}

std::vector<Aufzeichnung::Eintrag> Aufzeichnung::texte(int seite) const {
  std::vector<Eintrag> r;
  for (const Eintrag& e : einträge)
    if (e.art == Text && (seite == 0 || e.seite == seite)) r.push_back(e);
  return r;
}

const Aufzeichnung::Eintrag* Aufzeichnung::suche(const QString& text, int seite) const {
  for (const Eintrag& e : einträge)
    if (e.art == Text && e.text == text && (seite == 0 || e.seite == seite)) return &e;
  return nullptr;
}

Malfläche::Malfläche(std::unique_ptr<QPrinter> drucker, QString pdfDatei)
    : mDrucker(std::move(drucker)), mPdfDatei(std::move(pdfDatei)) {}

Malfläche::~Malfläche() {
  if (mMaler && mMaler->isActive()) mMaler->end();
}

QPainter& Malfläche::maler() {
  if (!mMaler) {
    mMaler = std::make_unique<QPainter>();
    if (!mMaler->begin(mDrucker.get())) {
      mMaler.reset();
      throw Ausgabefehler();
    }
    mSeiteOffen = true;
  } else if (mNeueSeiteAngefordert) {
    if (!mDrucker->newPage()) throw Ausgabefehler();
  }
  mNeueSeiteAngefordert = false;
  return *mMaler;
}

Laufzeitfehler Malfläche::Ausgabefehler() const {
  // Only the driver's own cancel is the user's; a file that cannot be written or a
  // printer that cannot be opened is a print error.
  if (mDrucker->printerState() == QPrinter::Aborted) return Laufzeitfehler(482, QStringLiteral("Druckerfehler"));
  if (!mPdfDatei.isEmpty())
    return Laufzeitfehler(fehler::kPfadZugriffsfehler,
                          fehler::text(fehler::kPfadZugriffsfehler) + QStringLiteral(": ") + mPdfDatei);
  return Laufzeitfehler(57, fehler::text(57) + QStringLiteral(": ") + mDrucker->printerName());
}

double Malfläche::px(double cm) const { return cm / 2.54 * mDrucker->resolution(); }

QFont Malfläche::schrift(const Druckschrift& s) const {
  QFont f(QStringLiteral("Arial"));
  f.setPointSizeF(s.größe);
  f.setBold(s.fett);
  f.setItalic(s.kursiv);
  return f;
}

double Malfläche::textbreite(const QString& text, const Druckschrift& s) {
  const QFontMetricsF fm(schrift(s), mDrucker.get());
  return fm.horizontalAdvance(text) / mDrucker->resolution() * 2.54;
}

double Malfläche::zeilenhöhe(const Druckschrift& s) {
  // The printer's own line advance of the font that is really used: a text's opaque
  // background is the font's height, so the next line never covers its descenders.
  const QFontMetricsF fm(schrift(s), mDrucker.get());
  return fm.lineSpacing() / mDrucker->resolution() * 2.54;
}

void Malfläche::text(double x, double y, const QString& text, const Druckschrift& s, Farbwert farbe, bool transparent) {
  if (text.isEmpty()) return;
  QPainter& m = maler();
  m.setFont(schrift(s));
  const QFontMetricsF fm(m.font(), mDrucker.get());
  if (!transparent) m.fillRect(QRectF(px(x), px(y), fm.horizontalAdvance(text), fm.height()), Qt::white);
  m.setPen(zuQColor(farbe));
  m.drawText(QPointF(px(x), px(y) + fm.ascent()), text);
}

void Malfläche::linie(double x1, double y1, double x2, double y2) {
  QPainter& m = maler();
  QPen stift(Qt::black);
  stift.setWidthF(px(0.02));
  m.setPen(stift);
  m.drawLine(QPointF(px(x1), px(y1)), QPointF(px(x2), px(y2)));
}

void Malfläche::kasten(double x, double y, double breite, double höhe, Farbwert farbe) {
  maler().fillRect(QRectF(px(x), px(y), px(breite), px(höhe)), zuQColor(farbe));
}

void Malfläche::neueSeite() {
  if (!mMaler) maler();  // the first page stays blank, as a printer would leave it
  mNeueSeiteAngefordert = true;
}

void Malfläche::beenden() {
  if (!mMaler) return;
  const bool beendet = !mMaler->isActive() || mMaler->end();
  mMaler.reset();
  // The PDF engine does not report a failed write (a full disk): a file without its
  // end marker is one no reader opens.
  if (beendet && (mPdfDatei.isEmpty() || Pdf_vollständig(mPdfDatei))) return;
  if (!mPdfDatei.isEmpty()) QFile::remove(mPdfDatei);
  throw Ausgabefehler();
}

void Malfläche::abbrechen() {
  if (mMaler && mMaler->isActive()) {
    mDrucker->abort();
    mMaler->end();
  }
  mMaler.reset();
  if (!mPdfDatei.isEmpty()) QFile::remove(mPdfDatei);
}
