#pragma once
// A PDF printout read back as a reader sees it: every page rasterised and its words with
// their line boxes in paper centimetres (poppler's pdftoppm and pdftotext), and a font
// that stands in for Arial with a taller line than the system's own substitute.
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStringList>
#include <vector>

// What a printout may be off by where nobody sees it: a tenth of a millimetre, in
// centimetres. It is more than the printer's grid (1/1200 inch, 0.002 cm), to which
// some faces have their metrics rounded (those of CFF outlines, as URW's are): a text
// set on its top edge is read back up to a point of that grid off it.
constexpr double kUnsichtbar = 0.01;

struct Pdfwort {
  QString text;
  QRectF cm;  // the word's line box: its advance and the font's ascent and descent
};

struct Pdfseite {
  QImage bild;
  double dpi = 0;
  std::vector<Pdfwort> wörter;
  int px(double cm) const { return qRound(cm / 2.54 * dpi); }
  double cm(int px) const { return px * 2.54 / dpi; }
  const Pdfwort* wort(const QString& text) const {
    for (const Pdfwort& w : wörter)
      if (w.text == text) return &w;
    return nullptr;
  }
};

inline QString Programmausgabe(const QString& programm, const QStringList& argumente) {
  QProcess p;
  p.start(programm, argumente);
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Every page of the file; empty when it has none or cannot be read.
inline std::vector<Pdfseite> Pdf_lesen(const QString& pdf, double dpi) {
  std::vector<Pdfseite> seiten;
  const QRegularExpressionMatch anzahl =
      QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Programmausgabe(QStringLiteral("pdfinfo"), {pdf}));
  const int n = anzahl.hasMatch() ? anzahl.captured(1).toInt() : 0;
  static const QRegularExpression wortmuster(QStringLiteral(
      "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
  const auto zuCm = [](const QString& pt) { return pt.toDouble() / 72 * 2.54; };
  for (int i = 1; i <= n; ++i) {
    Pdfseite s;
    s.dpi = dpi;
    const QString nummer = QString::number(i);
    const QString bild = pdf + QStringLiteral("-seite") + nummer;
    Programmausgabe(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), nummer, QStringLiteral("-l"),
                     nummer, QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf, bild});
    s.bild = QImage(bild + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
    QFile::remove(bild + QStringLiteral(".png"));
    const QString html =
        Programmausgabe(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), nummer,
                                                      QStringLiteral("-l"), nummer, pdf, QStringLiteral("-")});
    for (auto it = wortmuster.globalMatch(html); it.hasNext();) {
      const QRegularExpressionMatch m = it.next();
      const double x0 = zuCm(m.captured(1)), y0 = zuCm(m.captured(2));
      s.wörter.push_back({m.captured(5), QRectF(x0, y0, zuCm(m.captured(3)) - x0, zuCm(m.captured(4)) - y0)});
    }
    seiten.push_back(std::move(s));
  }
  return seiten;
}

inline bool weiß(QRgb p) { return qRed(p) >= 245 && qGreen(p) >= 245 && qBlue(p) >= 245; }
inline bool dunkel(QRgb p) { return qRed(p) < 160 && qGreen(p) < 160 && qBlue(p) < 160; }

// The footer rule: the lowest dark line of the page that runs at least 15 cm; its rows
// and its extent in pixels. oben is -1 when the page has none.
struct Fußlinie {
  int oben = -1, unten = -1, links = 0, rechts = 0;
};

inline Fußlinie Fußlinie_finden(const Pdfseite& s) {
  const QImage& b = s.bild;
  const int mindestens = s.px(15);
  // The longest run of dark pixels in row y, or an empty one.
  const auto lauf = [&b](int y) {
    const auto* zeile = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    int bestA = 0, bestE = 0;
    for (int x = 0; x < b.width();) {
      if (!dunkel(zeile[x])) {
        ++x;
        continue;
      }
      const int a = x;
      while (x < b.width() && dunkel(zeile[x])) ++x;
      if (x - a > bestE - bestA) bestA = a, bestE = x;
    }
    return std::pair{bestA, bestE};
  };
  Fußlinie f;
  for (int y = b.height() - 1; y >= 0; --y) {
    const auto [a, e] = lauf(y);
    const bool linie = e - a >= mindestens;
    if (linie && f.unten < 0) {
      f.unten = y;
      f.links = a;
      f.rechts = e;
    }
    if (f.unten >= 0) {
      if (!linie) break;
      f.oben = y;
      f.links = std::min(f.links, a);
      f.rechts = std::max(f.rechts, e);
    }
  }
  return f;
}

// The pixels at or below the footer rule's top that are neither white, nor the rule, nor
// a word of the footer's own texts: what of the page ran into its footer.
inline int Punkte_in_der_Fußzeile(const Pdfseite& s, const Fußlinie& f, const QStringList& fußtexte) {
  std::vector<QRect> frei;
  for (const Pdfwort& w : s.wörter)
    if (w.cm.top() >= s.cm(f.oben) && fußtexte.contains(w.text))
      frei.push_back(QRect(QPoint(s.px(w.cm.left()), s.px(w.cm.top())), QPoint(s.px(w.cm.right()), s.px(w.cm.bottom())))
                         .adjusted(-3, -3, 3, 3));
  int fremd = 0;
  for (int y = std::max(f.oben, 0); y < s.bild.height(); ++y) {
    const auto* zeile = reinterpret_cast<const QRgb*>(s.bild.constScanLine(y));
    for (int x = 0; x < s.bild.width(); ++x) {
      if (weiß(zeile[x])) continue;
      if (y <= f.unten && x >= f.links && x < f.rechts) continue;
      bool erlaubt = false;
      for (const QRect& r : frei) erlaubt |= r.contains(x, y);
      if (!erlaubt) ++fremd;
    }
  }
  return fremd;
}

// The rows of a word's line box on a coloured band in which the band does not show at
// all between its strokes: a line drawn through the text, or a box drawn over it.
inline int Gestrichene_Zeilen(const Pdfseite& s, const Pdfwort& w, QColor band) {
  const auto wieBand = [&band](QRgb p) {
    return std::abs(qRed(p) - band.red()) <= 8 && std::abs(qGreen(p) - band.green()) <= 8 &&
           std::abs(qBlue(p) - band.blue()) <= 8;
  };
  const int x0 = s.px(w.cm.left()), x1 = s.px(w.cm.right());
  int gestrichen = 0;
  for (int y = s.px(w.cm.top()); y < s.px(w.cm.bottom()); ++y) {
    const auto* zeile = reinterpret_cast<const QRgb*>(s.bild.constScanLine(y));
    int bandpunkte = 0;
    for (int x = x0; x < x1; ++x) bandpunkte += wieBand(zeile[x]);
    if (bandpunkte * 20 < x1 - x0) ++gestrichen;
  }
  return gestrichen;
}

// A font put in for "Arial" while the object lives: the installed DejaVu Sans under the
// family name "Testschrift" with `zeilenabstand` units of 2048 added to its line gap, as
// a substitute whose line is taller than that of the face the layouts were drawn with.
// With 0 nothing is put in: "Arial" is what this system makes of it.
class Ersatz_für_Arial {
 public:
  explicit Ersatz_für_Arial(int zeilenabstand) {
    if (zeilenabstand == 0) return;
    QFile f(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    if (!f.open(QIODevice::ReadOnly)) {
      ADD_FAILURE() << "DejaVu Sans is not installed (tools/setup.sh)";
      return;
    }
    QByteArray d = f.readAll();
    const auto u16 = [&d](int o) { return (static_cast<uchar>(d[o]) << 8) | static_cast<uchar>(d[o + 1]); };
    const auto u32 = [&](int o) { return (u16(o) << 16) | u16(o + 2); };
    const QByteArray alt = "DejaVu Sans", neu = "Testschrift";
    const auto utf16 = [](const QByteArray& a) {
      QByteArray r;
      for (const char c : a) r.append('\0').append(c);
      return r;
    };
    for (int i = 0, n = u16(4); i < n; ++i) {
      const int eintrag = 12 + 16 * i, anfang = u32(eintrag + 8), länge = u32(eintrag + 12);
      const QByteArray tabelle = d.mid(eintrag, 4);
      if (tabelle == "hhea") {
        const int lücke = static_cast<qint16>(u16(anfang + 8)) + zeilenabstand;
        d[anfang + 8] = static_cast<char>((lücke >> 8) & 0xFF);
        d[anfang + 9] = static_cast<char>(lücke & 0xFF);
      } else if (tabelle == "name") {
        QByteArray namen = d.mid(anfang, länge);
        namen.replace(alt, neu).replace(utf16(alt), utf16(neu));
        d.replace(anfang, länge, namen);
      }
    }
    mId = QFontDatabase::addApplicationFontFromData(d);
    EXPECT_EQ(QFontDatabase::applicationFontFamilies(mId), QStringList{QString::fromLatin1(neu)});
    QFont::insertSubstitution(QStringLiteral("Arial"), QString::fromLatin1(neu));
  }
  ~Ersatz_für_Arial() {
    if (mId < 0) return;
    QFont::removeSubstitutions(QStringLiteral("Arial"));
    QFontDatabase::removeApplicationFont(mId);
  }
  Ersatz_für_Arial(const Ersatz_für_Arial&) = delete;
  Ersatz_für_Arial& operator=(const Ersatz_für_Arial&) = delete;

 private:
  int mId = -1;
};
