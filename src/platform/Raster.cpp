#include "platform/Raster.h"

#include <QLocale>
#include <algorithm>

#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"

QColor zuQColor(Farbwert farbe) {
  const auto w = static_cast<quint32>(farbe);
  return QColor(static_cast<int>(w & 0xFF), static_cast<int>((w >> 8) & 0xFF), static_cast<int>((w >> 16) & 0xFF));
}

Farbwert ausQColor(const QColor& farbe) {
  return static_cast<Farbwert>(farbe.red() | (farbe.green() << 8) | (farbe.blue() << 16));
}

Raster::Raster(int zeilen, int spalten) {
  prüfeKapazität(zeilen, spalten);
  mSpalten = std::max(spalten, 0);
  mBreiten.assign(mSpalten, -1);
  mAusrichtungen.assign(mSpalten, Allgemein);
  mFestAusrichtungen.assign(mSpalten, -1);
  mZeilen.resize(std::max(zeilen, 0));
  for (auto& z : mZeilen) z.zellen.resize(mSpalten);
  mFesteZeilen = std::min(1, Rows());
  mFesteSpalten = std::min(1, Cols());
  zurechtrücken();
}

void Raster::prüfeKapazität(long long zeilen, long long spalten) const {
  if (zeilen < 0) throw Laufzeitfehler(kUngültigeZeile, QStringLiteral("Ungültiger Zeilenwert"));
  if (spalten < 0) throw Laufzeitfehler(kUngültigeSpalte, QStringLiteral("Ungültiger Spaltenwert"));
  if (zeilen * spalten > kHöchsteZellenzahl)
    throw Laufzeitfehler(kKapazitätFehler, QStringLiteral("Nicht genügend Speicher für das Tabellenfeld"));
}

void Raster::zeileUngültig() { throw Laufzeitfehler(kUngültigeZeile, QStringLiteral("Ungültiger Zeilenwert")); }

void Raster::spalteUngültig() { throw Laufzeitfehler(kUngültigeSpalte, QStringLiteral("Ungültiger Spaltenwert")); }

void Raster::benachrichtigen() {
  for (auto& f : mBeobachter) f();
}

void Raster::leeren(Zeile& zeile) {
  for (Zelle& z : zeile.zellen) {
    // Most cells of a grid have no text; those are not written through QString.
    if (!z.text.isNull()) z.text = QString();
    z.hinten = 0;
    z.vorne = 0;
    z.mitHinten = z.mitVorne = z.fett = false;
  }
  zeile.formate.clear();
  zeile.höhe = -1;
  zeile.verbinden = false;
}

void Raster::rowColGeändert(int alteZeile, int alteSpalte) {
  if ((mRow != alteZeile || mCol != alteSpalte) && beiRowColChange) beiRowColChange();
}

// Keeps the current cell, the selection end and the scroll position inside the grid.
void Raster::zurechtrücken() {
  const auto klemmen = [](int v, int lo, int hi) { return hi < lo ? lo : std::clamp(v, lo, hi); };
  const int alteZeile = mRow, alteSpalte = mCol;
  mFesteZeilen = std::min(mFesteZeilen, Rows());
  mFesteSpalten = std::min(mFesteSpalten, Cols());
  mRow = klemmen(mRow, 0, Rows() - 1);
  mRowSel = klemmen(mRowSel, 0, Rows() - 1);
  mCol = klemmen(mCol, 0, Cols() - 1);
  mColSel = klemmen(mColSel, 0, Cols() - 1);
  mTopRow = klemmen(mTopRow, mFesteZeilen, größteTopRow());
  mLeftCol = klemmen(mLeftCol, mFesteSpalten, größteLeftCol());
  mMausZeile = klemmen(mMausZeile, 0, Rows() - 1);
  mMausSpalte = klemmen(mMausSpalte, 0, Cols() - 1);
  rowColGeändert(alteZeile, alteSpalte);
}

void Raster::setRows(int n) {
  prüfeKapazität(n, Cols());
  const size_t ziel = static_cast<size_t>(n);
  while (mZeilen.size() > ziel) {
    leeren(mZeilen.back());
    mVorrat.push_back(std::move(mZeilen.back()));
    mZeilen.pop_back();
  }
  // Only the rows added are touched (adding one row to a long grid stays cheap); the
  // vector grows by its own steps, not to the exact size each time.
  while (mZeilen.size() < ziel) {
    if (mVorrat.empty()) {
      mZeilen.emplace_back();
    } else {
      mZeilen.push_back(std::move(mVorrat.back()));
      mVorrat.pop_back();
    }
    // A kept row may come from before a change of the column count.
    mZeilen.back().zellen.resize(mSpalten);
  }
  zurechtrücken();
  geändert();
}

void Raster::setCols(int n) {
  prüfeKapazität(Rows(), n);
  mSpalten = n;
  mBreiten.resize(n, -1);
  mAusrichtungen.resize(n, Allgemein);
  mFestAusrichtungen.resize(n, -1);
  for (auto& z : mZeilen) {
    z.zellen.resize(n);
    if (!z.formate.empty()) z.formate.resize(n);
  }
  zurechtrücken();
  geändert();
}

void Raster::setFixedRows(int n) {
  if (n < 0 || n > Rows()) throw Laufzeitfehler(kUngültigeZeile, QStringLiteral("Ungültiger Zeilenwert"));
  mFesteZeilen = n;
  zurechtrücken();
  geändert();
}

void Raster::setFixedCols(int n) {
  if (n < 0 || n > Cols()) throw Laufzeitfehler(kUngültigeSpalte, QStringLiteral("Ungültiger Spaltenwert"));
  mFesteSpalten = n;
  zurechtrücken();
  geändert();
}

void Raster::setRow(int r) {
  prüfeZeile(r);
  const int alt = mRow;
  mRow = r;
  mRowSel = r;
  rowColGeändert(alt, mCol);
  geändert();
}

void Raster::setCol(int c) {
  prüfeSpalte(c);
  const int alt = mCol;
  mCol = c;
  mColSel = c;
  rowColGeändert(mRow, alt);
  geändert();
}

void Raster::setRowSel(int r) {
  prüfeZeile(r);
  mRowSel = r;
  geändert();
}

void Raster::setColSel(int c) {
  prüfeSpalte(c);
  mColSel = c;
  geändert();
}

bool Raster::istMarkiert(int r, int c) const {
  return mHighLight != 0 && r >= mFesteZeilen && c >= mFesteSpalten && r >= SelObenZeile() && r <= SelUntenZeile() &&
         c >= SelLinksSpalte() && c <= SelRechtsSpalte();
}

int Raster::größteTopRow() const {
  if (Rows() <= mFesteZeilen) return mFesteZeilen;
  if (mSichtHöhe <= 0) return Rows() - 1;
  int frei = mSichtHöhe;
  for (int r = 0; r < mFesteZeilen; ++r) frei -= zeilenPixel(r);
  int top = Rows();
  while (top > mFesteZeilen && frei - zeilenPixel(top - 1) >= 0) {
    frei -= zeilenPixel(top - 1);
    --top;
  }
  return std::min(top, Rows() - 1);
}

int Raster::größteLeftCol() const {
  if (Cols() <= mFesteSpalten) return mFesteSpalten;
  if (mSichtBreite <= 0) return Cols() - 1;
  int frei = mSichtBreite;
  for (int c = 0; c < mFesteSpalten; ++c) frei -= spaltenPixel(c);
  int links = Cols();
  while (links > mFesteSpalten && frei - spaltenPixel(links - 1) >= 0) {
    frei -= spaltenPixel(links - 1);
    --links;
  }
  return std::min(links, Cols() - 1);
}

void Raster::setTopRow(int r) {
  const int alt = mTopRow;
  mTopRow = std::clamp(r, mFesteZeilen, std::max(mFesteZeilen, größteTopRow()));
  if (mTopRow != alt) {
    if (beiScroll) beiScroll();
    geändert();
  }
}

void Raster::setLeftCol(int c) {
  const int alt = mLeftCol;
  mLeftCol = std::clamp(c, mFesteSpalten, std::max(mFesteSpalten, größteLeftCol()));
  if (mLeftCol != alt) {
    if (beiScroll) beiScroll();
    geändert();
  }
}

bool Raster::RowIsVisible(int r) const {
  prüfeZeile(r);
  if (zeilenPixel(r) == 0) return false;
  if (r < mFesteZeilen) return true;
  if (r < mTopRow) return false;
  if (mSichtHöhe <= 0) return true;
  int y = 0;
  for (int i = 0; i < mFesteZeilen; ++i) y += zeilenPixel(i);
  for (int i = mTopRow; i < r; ++i) y += zeilenPixel(i);
  return y < mSichtHöhe;
}

int Raster::RowHeight(int r) const {
  prüfeZeile(r);
  const int h = mZeilen[r].höhe;
  if (h == 0) return 0;
  return std::max(h < 0 ? kStandardZeilenhöhe : h, mZeilenhöheMin);
}

void Raster::setRowHeight(int r, int twips) {
  prüfeZeile(r);
  mZeilen[r].höhe = std::max(twips, -1);
  geändert();
}

void Raster::setRowHeightMin(int twips) {
  mZeilenhöheMin = std::max(twips, 0);
  geändert();
}

int Raster::ColWidth(int c) const {
  prüfeSpalte(c);
  return mBreiten[c] < 0 ? kStandardSpaltenbreite : mBreiten[c];
}

void Raster::setColWidth(int c, int twips) {
  prüfeSpalte(c);
  mBreiten[c] = std::max(twips, -1);
  geändert();
}

int Raster::ColAlignment(int c) const {
  prüfeSpalte(c);
  return mAusrichtungen[c];
}

void Raster::setColAlignment(int c, int ausrichtung) {
  prüfeSpalte(c);
  mAusrichtungen[c] = ausrichtung;
  geändert();
}

int Raster::FixedAlignment(int c) const {
  prüfeSpalte(c);
  return mFestAusrichtungen[c];
}

void Raster::setFixedAlignment(int c, int ausrichtung) {
  prüfeSpalte(c);
  mFestAusrichtungen[c] = ausrichtung;
  geändert();
}

void Raster::setzeZellen(int r, int ersteSpalte, std::span<const Zellfüllung* const> füllungen) {
  prüfeZeile(r);
  if (füllungen.empty()) return;
  prüfeSpalte(ersteSpalte);
  prüfeSpalte(ersteSpalte + static_cast<int>(füllungen.size()) - 1);
  Zelle* zellen = mZeilen[r].zellen.data() + ersteSpalte;
  for (size_t i = 0; i < füllungen.size(); ++i) {
    const Zellfüllung* f = füllungen[i];
    if (!f) continue;
    Zelle& z = zellen[i];
    z.hinten = f->mHinten;
    z.vorne = f->mVorne;
    z.mitHinten = f->mMitHinten;
    z.mitVorne = f->mMitVorne;
    if (f->mText) z.text = QString(*f->mText);  // copied inline and swapped in
  }
  geändert();
}

bool Raster::CellFontBold(int r, int c) const { return zelle(r, c).fett; }

void Raster::setCellFontBold(int r, int c, bool fett) {
  zelle(r, c).fett = fett;
  geändert();
}

const Raster::Format* Raster::formatOderNull(int r, int c) const {
  prüfeZeile(r);
  prüfeSpalte(c);
  const auto& formate = mZeilen[r].formate;
  return formate.empty() ? nullptr : &formate[c];
}

Raster::Format& Raster::format(int r, int c) {
  prüfeZeile(r);
  prüfeSpalte(c);
  auto& formate = mZeilen[r].formate;
  if (formate.empty()) formate.resize(mSpalten);
  return formate[c];
}

double Raster::CellFontSize(int r, int c) const {
  const Format* f = formatOderNull(r, c);
  return f ? f->grösse : 0;
}

void Raster::setCellFontSize(int r, int c, double punkte) {
  format(r, c).grösse = std::max(punkte, 0.0);
  geändert();
}

int Raster::CellAlignment(int r, int c) const {
  const Format* f = formatOderNull(r, c);
  return f ? f->ausrichtung : -1;
}

void Raster::setCellAlignment(int r, int c, int ausrichtung) {
  format(r, c).ausrichtung = ausrichtung;
  geändert();
}

Farbwert Raster::Hintergrund(int r, int c) const {
  if (istMarkiert(r, c)) return mBackColorSel;
  const Zelle& z = zelle(r, c);
  if (z.mitHinten) return z.hinten;
  return (r < mFesteZeilen || c < mFesteSpalten) ? mBackColorFixed : mBackColor;
}

Farbwert Raster::Vordergrund(int r, int c) const {
  if (istMarkiert(r, c)) return mForeColorSel;
  const Zelle& z = zelle(r, c);
  if (z.mitVorne) return z.vorne;
  return (r < mFesteZeilen || c < mFesteSpalten) ? mForeColorFixed : mForeColor;
}

void Raster::setHighLight(int wert) {
  mHighLight = wert;
  geändert();
}

void Raster::setRedraw(bool an) {
  const bool war = mRedraw;
  mRedraw = an;
  if (an && !war) geändert();
}

bool Raster::MergeRow(int r) const {
  prüfeZeile(r);
  return mZeilen[r].verbinden;
}

void Raster::setMergeRow(int r, bool an) {
  prüfeZeile(r);
  mZeilen[r].verbinden = an;
  geändert();
}

std::pair<int, int> Raster::Verbund(int r, int c) const {
  prüfeZeile(r);
  prüfeSpalte(c);
  if (!mMergeCells || !mZeilen[r].verbinden) return {c, c};
  const auto& zellen = mZeilen[r].zellen;
  // Fixed and scrolling columns never merge with each other.
  const int lo = c < mFesteSpalten ? 0 : mFesteSpalten;
  const int hi = c < mFesteSpalten ? mFesteSpalten - 1 : Cols() - 1;
  int erste = c, letzte = c;
  while (erste > lo && zellen[erste - 1].text == zellen[c].text) --erste;
  while (letzte < hi && zellen[letzte + 1].text == zellen[c].text) ++letzte;
  return {erste, letzte};
}

void Raster::setzeMaus(int zeile, int spalte) {
  mMausZeile = std::clamp(zeile, 0, std::max(Rows() - 1, 0));
  mMausSpalte = std::clamp(spalte, 0, std::max(Cols() - 1, 0));
}

void Raster::AddItem(const QString& tabGetrennt, int vorZeile) {
  prüfeKapazität(Rows() + 1LL, Cols());
  if (vorZeile < 0) vorZeile = Rows();
  if (vorZeile > Rows()) throw Laufzeitfehler(kUngültigeZeile, QStringLiteral("Ungültiger Zeilenwert"));
  Zeile neu;
  neu.zellen.resize(mSpalten);
  const QStringList teile = tabGetrennt.split(u'\t');
  for (int c = 0; c < mSpalten && c < teile.size(); ++c) neu.zellen[c].text = teile[c];
  mZeilen.insert(mZeilen.begin() + vorZeile, std::move(neu));
  zurechtrücken();
  geändert();
}

void Raster::RemoveItem(int r) {
  prüfeZeile(r);
  if (r < mFesteZeilen || Rows() - 1 < mFesteZeilen + 1)
    throw Laufzeitfehler(30015, QStringLiteral("Die letzte nicht feste Zeile kann nicht entfernt werden"));
  mZeilen.erase(mZeilen.begin() + r);
  zurechtrücken();
  geändert();
}

void Raster::Clear() {
  for (auto& z : mZeilen) {
    for (auto& zelle : z.zellen) zelle = Zelle{};
    z.formate.clear();
  }
  geändert();
}

namespace {
bool alsZahl(const QString& s, double& wert) {
  bool ok = false;
  QString t = s.trimmed();
  wert = QLocale(QLocale::German).toDouble(t, &ok);
  if (!ok) wert = t.toDouble(&ok);
  return ok;
}
}  // namespace

void Raster::Sort(int art) {
  if (Rows() <= mFesteZeilen + 1 || Cols() == 0) return;
  const int c = mCol;
  const auto vergleich = [art](const QString& a, const QString& b) -> int {
    double x = 0, y = 0;
    switch (art) {
      case NumerischAufsteigend:
      case NumerischAbsteigend: {
        alsZahl(a, x);
        alsZahl(b, y);
        return x < y ? -1 : (x > y ? 1 : 0);
      }
      case AllgemeinAufsteigend:
      case AllgemeinAbsteigend:
        if (alsZahl(a, x) && alsZahl(b, y)) return x < y ? -1 : (x > y ? 1 : 0);
        return QString::compare(a, b, Qt::CaseInsensitive);
      case TextOhneGrossAufsteigend:
      case TextOhneGrossAbsteigend:
        return QString::compare(a, b, Qt::CaseInsensitive);
      default:
        return QString::compare(a, b, Qt::CaseSensitive);
    }
  };
  const bool absteigend = art % 2 == 0;
  std::stable_sort(mZeilen.begin() + mFesteZeilen, mZeilen.end(), [&](const Zeile& a, const Zeile& b) {
    const int v = vergleich(a.zellen[c].text, b.zellen[c].text);
    return absteigend ? v > 0 : v < 0;
  });
  geändert();
}

void Raster::setzeSichtfeld(int breitePixel, int höhePixel) {
  mSichtBreite = std::max(breitePixel, 0);
  mSichtHöhe = std::max(höhePixel, 0);
  const int top = mTopRow, links = mLeftCol;
  zurechtrücken();
  if ((top != mTopRow || links != mLeftCol) && beiScroll) beiScroll();
}

int Raster::zeilenPixel(int r) const { return bildschirm::twipsZuPixel(RowHeight(r)); }
int Raster::spaltenPixel(int c) const { return bildschirm::twipsZuPixel(ColWidth(c)); }

int Raster::zeilenImSichtfeld() const {
  const int zeile = std::max(1, zeilenPixel(std::min(1, Rows() - 1)));
  return std::max(1, (sichtHöhePixel() - zeilenPixel(0)) / zeile);
}
