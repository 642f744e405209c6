#include "printing/Druckflaeche.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QMutex>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QThread>
#include <QThreadPool>
#include <QWaitCondition>
#include <algorithm>
#include <optional>
#include <set>
#include <utility>

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

// A font's measures on the printers of a series: every page has the same texts in
// the same fonts, measured once (the same metrics on the same resolution).
struct Malfläche::Schriftmaße {
  Druckschrift schrift;
  int auflösung;
  QFontMetricsF metrik;
  QHash<QString, double> breiten;  // centimetres by text
};

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
  for (const auto& [art, f] : mSchriften)
    if (art == s) return f;
  QFont f(QStringLiteral("Arial"));
  f.setPointSizeF(s.größe);
  f.setBold(s.fett);
  f.setItalic(s.kursiv);
  // Every layout counts its rows, boxes and page ends on Arial's line: ascent, descent
  // and line gap, 1854 + 434 + 67 of its 2048 units. A face the system puts in its place
  // with a taller line (the common free faces have one) pushes the rows down into the
  // footer and the text lines through the borders of their cells; it is set smaller
  // until its line is no taller, so each page holds what it was drawn to hold.
  constexpr double kArialzeile = (1854.0 + 434.0 + 67.0) / 2048.0;
  const double höchstens = s.größe / 72.0 * mDrucker->resolution() * kArialzeile;
  // The metrics are rounded to the device: a step after the first shrinks a little more.
  for (int i = 0; i < 4; ++i) {
    const double zeile = QFontMetricsF(f, mDrucker.get()).lineSpacing();
    if (zeile <= höchstens) break;
    f.setPointSizeF(f.pointSizeF() * höchstens / zeile * (i == 0 ? 1.0 : 0.999));
  }
  mSchriften.emplace_back(s, f);
  return f;
}

double Malfläche::textbreite(const QString& text, const Druckschrift& s) {
  if (Schriftmaße* m = serienmaße(s)) {
    auto it = m->breiten.constFind(text);
    if (it == m->breiten.cend()) it = m->breiten.insert(text, m->metrik.horizontalAdvance(text) / m->auflösung * 2.54);
    return *it;
  }
  const QFontMetricsF fm(schrift(s), mDrucker.get());
  return fm.horizontalAdvance(text) / mDrucker->resolution() * 2.54;
}

double Malfläche::zeilenhöhe(const Druckschrift& s) {
  // The printer's own line advance of the font that is really used: a text's opaque
  // background is the font's height, so the next line never covers its descenders.
  if (Schriftmaße* m = serienmaße(s)) return m->metrik.lineSpacing() / m->auflösung * 2.54;
  const QFontMetricsF fm(schrift(s), mDrucker.get());
  return fm.lineSpacing() / mDrucker->resolution() * 2.54;
}

void Malfläche::aufschieben() { mAufgeschoben = !mPdfDatei.isEmpty(); }

void Malfläche::zeichnen(Schritt s) {
  if (mAufgeschoben)
    mSchritte.push_back(std::move(s));
  else
    malen(s);
}

void Malfläche::malen(const Schritt& s) {
  switch (s.art) {
    case Schritt::Text: {
      QPainter& m = maler();
      m.setFont(schrift(s.schrift));
      const QFontMetricsF fm(m.font(), mDrucker.get());
      if (!s.transparent) m.fillRect(QRectF(px(s.x), px(s.y), fm.horizontalAdvance(s.text), fm.height()), Qt::white);
      m.setPen(zuQColor(s.farbe));
      m.drawText(QPointF(px(s.x), px(s.y) + fm.ascent()), s.text);
      break;
    }
    case Schritt::Linie: {
      QPainter& m = maler();
      QPen stift(Qt::black);
      stift.setWidthF(px(0.02));
      m.setPen(stift);
      m.drawLine(QPointF(px(s.x), px(s.y)), QPointF(px(s.x2), px(s.y2)));
      break;
    }
    case Schritt::Kasten:
      maler().fillRect(QRectF(px(s.x), px(s.y), px(s.x2), px(s.y2)), zuQColor(s.farbe));
      break;
    case Schritt::NeueSeite:
      if (!mMaler) maler();  // the first page stays blank, as a printer would leave it
      mNeueSeiteAngefordert = true;
      break;
  }
}

void Malfläche::text(double x, double y, const QString& text, const Druckschrift& s, Farbwert farbe, bool transparent) {
  if (text.isEmpty()) return;
  Schritt t;
  t.x = x;
  t.y = y;
  t.text = text;
  t.schrift = s;
  t.farbe = farbe;
  t.transparent = transparent;
  zeichnen(std::move(t));
}

void Malfläche::linie(double x1, double y1, double x2, double y2) {
  Schritt l;
  l.art = Schritt::Linie;
  l.x = x1;
  l.y = y1;
  l.x2 = x2;
  l.y2 = y2;
  zeichnen(std::move(l));
}

void Malfläche::kasten(double x, double y, double breite, double höhe, Farbwert farbe) {
  Schritt k;
  k.art = Schritt::Kasten;
  k.x = x;
  k.y = y;
  k.x2 = breite;
  k.y2 = höhe;
  k.farbe = farbe;
  zeichnen(std::move(k));
}

void Malfläche::neueSeite() {
  Schritt n;
  n.art = Schritt::NeueSeite;
  zeichnen(std::move(n));
}

void Malfläche::beenden() {
  if (mAufgeschoben) {
    // Nothing drawn writes no file, as the painter never opened.
    if (mSchritte.empty()) return;
    auto auftrag = std::make_shared<Malfläche>(std::move(mDrucker), mPdfDatei);
    auftrag->mSchritte = std::move(mSchritte);
    mAufgeschoben = false;
    // The file is the worker's now: this job no longer removes it.
    const QString datei = std::exchange(mPdfDatei, QString());
    Pdf_Serie::übergeben(std::move(auftrag), datei);
    return;
  }
  if (!mMaler) return;
  const bool beendet = !mMaler->isActive() || mMaler->end();
  mMaler.reset();
  // The PDF engine does not report a failed write (a full disk): a file without its
  // end marker is one no reader opens.
  if (beendet && (mPdfDatei.isEmpty() || Pdf_vollständig(mPdfDatei))) return;
  if (!mPdfDatei.isEmpty()) QFile::remove(mPdfDatei);
  throw Ausgabefehler();
}

void Malfläche::ausgeben() {
  try {
    for (const Schritt& s : mSchritte) malen(s);
    mSchritte.clear();
    beenden();
  } catch (...) {
    abbrechen();
    throw;
  }
}

void Malfläche::abbrechen() {
  mSchritte.clear();
  if (mMaler && mMaler->isActive()) {
    mDrucker->abort();
    mMaler->end();
  }
  mMaler.reset();
  if (!mPdfDatei.isEmpty()) QFile::remove(mPdfDatei);
}

// The running series: the GUI thread hands jobs over, the workers report back.
struct Pdf_Serie::Zustand {
  // Only on the GUI thread.
  std::vector<Malfläche::Schriftmaße> maße;
  QThreadPool arbeiter;
  QMutex sperre;
  QWaitCondition erledigt;
  int übergeben = 0;    // the number of the last job handed over
  std::set<int> offen;  // handed over, not yet done
  int gescheitert = 0;  // the number of the first failed job, 0 while none
  std::optional<Laufzeitfehler> fehler;
  bool gemeldet = false;
  std::vector<std::pair<int, QString>> geschrieben;  // the files written, by job number
};

namespace {
Pdf_Serie::Zustand* gSerie = nullptr;
}  // namespace

Pdf_Serie::Pdf_Serie() : mZustand(std::make_unique<Zustand>()) {
  mZustand->arbeiter.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
  gSerie = mZustand.get();
}

Pdf_Serie::~Pdf_Serie() {
  {
    QMutexLocker l(&mZustand->sperre);
    while (!mZustand->offen.empty()) mZustand->erledigt.wait(&mZustand->sperre);
  }
  mZustand->arbeiter.waitForDone();
  gSerie = nullptr;
}

bool Pdf_Serie::aktiv() { return gSerie != nullptr; }

Malfläche::Schriftmaße* Malfläche::serienmaße(const Druckschrift& s) {
  if (!mAufgeschoben || !gSerie) return nullptr;
  const int auflösung = mDrucker->resolution();
  for (Schriftmaße& m : gSerie->maße)
    if (m.auflösung == auflösung && m.schrift.größe == s.größe && m.schrift.fett == s.fett &&
        m.schrift.kursiv == s.kursiv)
      return &m;
  gSerie->maße.push_back({s, auflösung, QFontMetricsF(schrift(s), mDrucker.get()), {}});
  return &gSerie->maße.back();
}

void Pdf_Serie::prüfen(bool abwarten) {
  if (!gSerie) return;
  Zustand& z = *gSerie;
  QMutexLocker l(&z.sperre);
  // A failure is reported once every job before it is done: it is then the first.
  const auto bereit = [&z] { return z.offen.empty() || (z.gescheitert != 0 && *z.offen.begin() > z.gescheitert); };
  if (abwarten)
    while (!z.offen.empty()) z.erledigt.wait(&z.sperre);
  if (!z.fehler || z.gemeldet || !bereit()) return;
  z.gemeldet = true;
  throw *z.fehler;
}

void Pdf_Serie::übergeben(std::shared_ptr<Malfläche> auftrag, const QString& datei) {
  Zustand& z = *gSerie;
  int nummer = 0;
  {
    QMutexLocker l(&z.sperre);
    // A few pages wait at most: the recordings do not pile up ahead of the workers.
    const std::size_t grenze = 2 * static_cast<std::size_t>(z.arbeiter.maxThreadCount());
    while (z.offen.size() >= grenze) z.erledigt.wait(&z.sperre);
    nummer = ++z.übergeben;
    z.offen.insert(nummer);
  }
  z.arbeiter.start([&z, auftrag = std::move(auftrag), datei, nummer]() mutable {
    const auto nachDemFehler = [&z, nummer] { return z.gescheitert != 0 && nummer > z.gescheitert; };
    bool schreiben = false;
    {
      QMutexLocker l(&z.sperre);
      schreiben = !nachDemFehler();
    }
    std::optional<Laufzeitfehler> fehler;
    if (schreiben) {
      try {
        auftrag->ausgeben();
      } catch (const Laufzeitfehler& e) {
        fehler = e;
      } catch (const std::exception& e) {
        fehler = Laufzeitfehler(51, QString::fromUtf8(e.what()));
      }
    }
    // The printer is closed before the GUI thread hears of the job.
    auftrag.reset();
    QMutexLocker l(&z.sperre);
    if (fehler && !nachDemFehler()) {
      z.gescheitert = nummer;
      z.fehler = fehler;
      // The series ends before the later jobs: their files are not kept.
      std::erase_if(z.geschrieben, [nummer](const std::pair<int, QString>& g) {
        if (g.first < nummer) return false;
        QFile::remove(g.second);
        return true;
      });
    } else if (schreiben && !fehler) {
      if (nachDemFehler())
        QFile::remove(datei);
      else
        z.geschrieben.emplace_back(nummer, datei);
    }
    z.offen.erase(nummer);
    z.erledigt.wakeAll();
  });
}
