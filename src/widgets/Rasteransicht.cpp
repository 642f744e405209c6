#include "widgets/Rasteransicht.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "platform/Bildschirm.h"

namespace {
int umschaltVon(Qt::KeyboardModifiers m) {
  int u = 0;
  if (m & Qt::ShiftModifier) u |= 1;
  if (m & Qt::ControlModifier) u |= 2;
  if (m & Qt::AltModifier) u |= 4;
  return u;
}

int knopfVon(Qt::MouseButtons b) {
  int k = 0;
  if (b & Qt::LeftButton) k |= 1;
  if (b & Qt::RightButton) k |= 2;
  if (b & Qt::MiddleButton) k |= 4;
  return k;
}

}  // namespace

Qt::Alignment Rasterausrichtung(int a, const QString& text) {
  if (a == Raster::Allgemein) {
    bool zahl = false;
    text.trimmed().toDouble(&zahl);
    return Qt::AlignVCenter | (zahl ? Qt::AlignRight : Qt::AlignLeft);
  }
  if (a < 0 || a > 8) a = Raster::LinksMitte;
  const Qt::Alignment h[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  const Qt::Alignment v[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
  return h[a / 3] | v[a % 3];
}

Rasteransicht::Rasteransicht(QWidget* eltern) : QAbstractScrollArea(eltern) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  setFrameShape(QFrame::Box);
  // The paint covers the whole viewport (cells, and the background where no cell lies),
  // so Qt need not fill it first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mRaster.beobachten([this] {
    laufleistenAnpassen();
    viewport()->update();
  });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int wert) {
    if (!mLaufleistenSetzen) mRaster.setTopRow(wert);
  });
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int wert) {
    if (!mLaufleistenSetzen) mRaster.setLeftCol(wert);
  });
}

void Rasteransicht::laufleistenAnpassen() {
  mLaufleistenSetzen = true;
  QScrollBar* v = verticalScrollBar();
  v->setRange(mRaster.FixedRows(), std::max(mRaster.FixedRows(), mRaster.größteTopRow()));
  v->setPageStep(std::max(1, static_cast<int>(sichtbareZeilen().size()) - mRaster.FixedRows()));
  v->setValue(mRaster.TopRow());
  QScrollBar* h = horizontalScrollBar();
  h->setRange(mRaster.FixedCols(), std::max(mRaster.FixedCols(), mRaster.größteLeftCol()));
  h->setValue(mRaster.LeftCol());
  mLaufleistenSetzen = false;
}

std::vector<Rasteransicht::Strecke> Rasteransicht::sichtbareZeilen() const {
  std::vector<Strecke> r;
  const int höhe = viewport()->height();
  int y = 0;
  const auto dazu = [&](int i) {
    const int h = mRaster.zeilenPixel(i);
    if (h <= 0) return;
    r.push_back({i, y, h});
    y += h;
  };
  for (int i = 0; i < mRaster.FixedRows() && y < höhe; ++i) dazu(i);
  for (int i = mRaster.TopRow(); i < mRaster.Rows() && y < höhe; ++i) dazu(i);
  return r;
}

std::vector<Rasteransicht::Strecke> Rasteransicht::sichtbareSpalten() const {
  std::vector<Strecke> r;
  const int breite = viewport()->width();
  int x = 0;
  const auto dazu = [&](int i) {
    const int w = mRaster.spaltenPixel(i);
    if (w <= 0) return;
    r.push_back({i, x, w});
    x += w;
  };
  for (int i = 0; i < mRaster.FixedCols() && x < breite; ++i) dazu(i);
  for (int i = mRaster.LeftCol(); i < mRaster.Cols() && x < breite; ++i) dazu(i);
  return r;
}

std::pair<int, int> Rasteransicht::zelleBei(const QPoint& punkt) const {
  int zeile = -1, spalte = -1;
  for (const auto& s : sichtbareZeilen())
    if (punkt.y() >= s.anfang && punkt.y() < s.anfang + s.länge) zeile = s.index;
  for (const auto& s : sichtbareSpalten())
    if (punkt.x() >= s.anfang && punkt.x() < s.anfang + s.länge) spalte = s.index;
  if (zeile < 0 || spalte < 0) return {-1, -1};
  return {zeile, spalte};
}

QRect Rasteransicht::zellenRechteck(int r, int c) const {
  QRect ergebnis;
  for (const auto& z : sichtbareZeilen())
    if (z.index == r)
      for (const auto& s : sichtbareSpalten())
        if (s.index == c) ergebnis = QRect(s.anfang, z.anfang, s.länge, z.länge);
  return ergebnis;
}

void Rasteransicht::zeileZeigen(int r) {
  if (r < mRaster.FixedRows() || r >= mRaster.Rows()) return;
  if (r < mRaster.TopRow()) {
    mRaster.setTopRow(r);
    return;
  }
  while (!mRaster.RowIsVisible(r) && mRaster.TopRow() < mRaster.größteTopRow()) mRaster.setTopRow(mRaster.TopRow() + 1);
  // A row only partly shown at the bottom is brought fully in view.
  const QRect z = zellenRechteck(r, mRaster.FixedCols() < mRaster.Cols() ? mRaster.FixedCols() : 0);
  if (!z.isEmpty() && z.bottom() >= viewport()->height() && mRaster.TopRow() < mRaster.größteTopRow())
    mRaster.setTopRow(mRaster.TopRow() + 1);
}

bool Rasteransicht::senkrechteLaufleisteNötig() const {
  // Without a viewport yet nothing is known to overflow.
  if (mRaster.sichtHöhePixel() <= 0) return false;
  return mRaster.größteTopRow() > mRaster.FixedRows();
}

QFont Rasteransicht::zellenschrift(int r, int c) const {
  QFont schrift = font();
  schrift.setBold(mRaster.CellFontBold(r, c));
  if (mRaster.CellFontSize(r, c) > 0) schrift.setPointSizeF(mRaster.CellFontSize(r, c));
  return schrift;
}

QRect Rasteransicht::textfläche(const QRect& zelle) { return zelle.adjusted(2, 0, -3, -1); }

void Rasteransicht::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  // With redrawing off the grid keeps showing what it showed before the changes.
  if (!mRaster.Redraw() && !mBild.isNull() && mBild.size() == viewport()->size()) {
    p.drawPixmap(0, 0, mBild);
    return;
  }
  // The pixmap is kept while the size stays: a new one per paint costs more than the
  // cells drawn on it.
  if (mBild.size() != viewport()->size()) mBild = QPixmap(viewport()->size());
  {
    QPainter bild(&mBild);
    zeichnen(bild);
  }
  p.drawPixmap(0, 0, mBild);
}

void Rasteransicht::zeichnen(QPainter& p) {
  const auto zeilen = sichtbareZeilen();
  const auto spalten = sichtbareSpalten();
  const QRect alles(QPoint(0, 0), viewport()->size());
  const QColor hintergrund = zuQColor(mRaster.BackColorBkg());
  // The background only where no cell lies: the cells are painted over everything they
  // cover, as long as they lie edge to edge from the top left corner.
  const auto lückenlos = [](const auto& strecken) {
    if (strecken.empty() || strecken.front().anfang != 0) return false;
    for (size_t i = 1; i < strecken.size(); ++i)
      if (strecken[i].anfang != strecken[i - 1].anfang + strecken[i - 1].länge) return false;
    return true;
  };
  if (lückenlos(zeilen) && lückenlos(spalten)) {
    const int breite = spalten.back().anfang + spalten.back().länge;
    const int höhe = zeilen.back().anfang + zeilen.back().länge;
    if (breite < alles.width()) p.fillRect(QRect(breite, 0, alles.width() - breite, alles.height()), hintergrund);
    if (höhe < alles.height())
      p.fillRect(QRect(0, höhe, std::min(breite, alles.width()), alles.height() - höhe), hintergrund);
  } else {
    p.fillRect(alles, hintergrund);
  }
  if (spalten.empty()) return;

  // Every cell is its background, a line along its right and one along its bottom edge
  // inside it, and its text clipped short of those lines. The cells do not overlap, so
  // all backgrounds, then all lines, then all texts paint the same as cell by cell; and
  // neighbours of one colour are filled in one go, a line runs on through the cells of
  // one line colour.
  mFlächen.clear();
  mLinien.clear();
  mTextzellen.clear();
  const auto anhängen = [](std::vector<Farbfläche>& flächen, const QRect& rechteck, Farbwert farbe) {
    if (!flächen.empty()) {
      Farbfläche& l = flächen.back();
      if (l.farbe == farbe && l.rechteck.top() == rechteck.top() && l.rechteck.bottom() == rechteck.bottom() &&
          l.rechteck.right() + 1 == rechteck.left()) {
        l.rechteck.setRight(rechteck.right());
        return;
      }
    }
    flächen.push_back({rechteck, farbe});
  };
  // The open vertical line of each shown column, continued by the cell below when that
  // ends in the same column and has the same line colour.
  struct Senkrecht {
    int x = 0, oben = 0, unten = -1;
    Farbwert farbe = 0;
  };
  std::vector<Senkrecht> senkrecht(spalten.size());
  const auto abschließen = [&](Senkrecht& s) {
    if (s.unten >= s.oben) mLinien.push_back({QRect(s.x, s.oben, 1, s.unten - s.oben + 1), s.farbe});
    s = {};
  };
  const Farbwert linieFest = mRaster.GridColorFixed(), linie = mRaster.GridColor();
  for (const auto& z : zeilen) {
    const bool festeZeile = z.index < mRaster.FixedRows();
    for (size_t i = 0; i < spalten.size(); ++i) {
      const int c = spalten[i].index;
      auto [erste, letzte] = mRaster.Verbund(z.index, c);
      // A merged span is painted once, from its first shown column.
      if (erste < c && i > 0 && spalten[i - 1].index >= erste) continue;
      size_t j = i;
      while (j + 1 < spalten.size() && spalten[j + 1].index <= letzte) ++j;
      const QRect rechteck(spalten[i].anfang, z.anfang, spalten[j].anfang + spalten[j].länge - spalten[i].anfang,
                           z.länge);
      const Farbwert farbe = festeZeile || c < mRaster.FixedCols() ? linieFest : linie;
      anhängen(mFlächen, rechteck, mRaster.Hintergrund(z.index, c));
      anhängen(mLinien, QRect(rechteck.left(), rechteck.bottom(), rechteck.width(), 1), farbe);
      Senkrecht& s = senkrecht[j];
      if (s.unten >= s.oben && s.farbe == farbe && s.unten + 1 == rechteck.top()) {
        s.unten = rechteck.bottom();
      } else {
        abschließen(s);
        s = {rechteck.right(), rechteck.top(), rechteck.bottom(), farbe};
      }
      if (!mRaster.TextMatrix(z.index, c).isEmpty()) mTextzellen.push_back({z.index, c, rechteck});
    }
  }
  for (auto& s : senkrecht) abschließen(s);

  for (const auto& f : mFlächen) p.fillRect(f.rechteck, zuQColor(f.farbe));
  const QColor farbeFest = zuQColor(linieFest), farbe = zuQColor(linie);
  for (const auto& l : mLinien) p.fillRect(l.rechteck, l.farbe == linieFest ? farbeFest : farbe);
  if (mTextzellen.empty()) return;
  // The cells set their font only where it differs from the one the painter holds.
  p.setFont(font());
  const qreal dpi = p.device()->logicalDpiY() * p.device()->devicePixelRatioF();
  if (mSatzschrift != p.font() || mSatzDpi != dpi) {
    mSätze.clear();
    mSatzschrift = p.font();
    mSatzDpi = dpi;
  }
  for (const auto& t : mTextzellen) textZeichnen(p, t.r, t.c, t.rechteck);
  p.setClipping(false);
}

namespace {
// Whether a text lies on one line of left-to-right letters without a space at either
// end, as most cells' texts do: such a text is laid out once and drawn where a text
// drawn into the rectangle would be.
bool schlicht(const QString& text) {
  if (text.isEmpty() || text.front().isSpace() || text.back().isSpace()) return false;
  for (const QChar z : text) {
    const char16_t u = z.unicode();
    if (u < 0x20 || (u >= 0x7F && u < 0xA0) || u >= 0x0590) return false;
  }
  return true;
}
}  // namespace

const Rasteransicht::Textsatz* Rasteransicht::textsatz(const QPainter& p, const QString& text) {
  const QFont& schrift = p.font();
  if (schrift.underline() || schrift.overline() || schrift.strikeOut() || p.layoutDirection() == Qt::RightToLeft)
    return nullptr;
  auto satz = std::find_if(mSätze.begin(), mSätze.end(), [&](const Schriftsätze& s) {
    return s.fett == schrift.bold() && s.größe == schrift.pointSizeF();
  });
  if (satz == mSätze.end()) {
    mSätze.push_back({schrift.bold(), schrift.pointSizeF(), {}});
    satz = mSätze.end() - 1;
  }
  // A grid scrolled through many texts keeps no more than a few screens full.
  if (satz->texte.size() > 2048) satz->texte.clear();
  auto gefunden = satz->texte.find(text);
  if (gefunden != satz->texte.end()) return gefunden->satz ? &*gefunden : nullptr;

  // A text that cannot take this way stays in the table without a layout, so that the
  // next paint knows at once.
  Textsatz& neu = satz->texte[text];
  auto layout = std::make_shared<QTextLayout>(text, schrift);
  QTextOption option;
  option.setTextDirection(p.layoutDirection());
  option.setAlignment(Qt::AlignLeft);
  layout->setTextOption(option);
  layout->setCacheEnabled(true);
  layout->beginLayout();
  QTextLine zeile = layout->createLine();
  bool eineZeile = zeile.isValid();
  if (eineZeile) {
    zeile.setLineWidth(0x01000000);
    zeile.setPosition(QPointF(0, 0));
    eineZeile = !layout->createLine().isValid();
  }
  layout->endLayout();
  if (!eineZeile) return nullptr;
  zeile = layout->lineAt(0);
  neu.breite = zeile.naturalTextWidth();
  neu.vorschub = zeile.horizontalAdvance();
  neu.höhe = zeile.ascent() + zeile.descent();
  text.trimmed().toDouble(&neu.zahl);
  neu.satz = std::move(layout);
  return &neu;
}

void Rasteransicht::textZeichnen(QPainter& p, int r, int c, const QRect& rechteck) {
  const bool fest = r < mRaster.FixedRows() || c < mRaster.FixedCols();
  QString text = mRaster.TextMatrix(r, c);
  if (text.contains(u'\r')) text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  // Setting a font costs more than drawing a short text, and most cells keep the
  // grid's own.
  const bool fett = mRaster.CellFontBold(r, c);
  const double größe = mRaster.CellFontSize(r, c) > 0 ? mRaster.CellFontSize(r, c) : font().pointSizeF();
  if (p.font().bold() != fett || p.font().pointSizeF() != größe) p.setFont(zellenschrift(r, c));
  const QColor vorne = zuQColor(mRaster.Vordergrund(r, c));
  if (p.pen().color() != vorne) p.setPen(vorne);
  int ausrichtung = mRaster.CellAlignment(r, c);
  if (ausrichtung < 0 && fest) ausrichtung = mRaster.FixedAlignment(c);
  if (ausrichtung < 0) ausrichtung = mRaster.ColAlignment(c);
  const QRect innen = textfläche(rechteck);
  const QRect schnitt = rechteck.adjusted(0, 0, -1, -1);
  // Text wraps only into lines the cell can show: in a cell one line high a long text
  // stays on its line, cut at the cell's edge, instead of a half-hidden second line.
  const bool umbrechen = mRaster.WordWrap() && innen.height() >= 2 * p.fontMetrics().height();
  if (const Textsatz* s = !umbrechen && schlicht(text) ? textsatz(p, text) : nullptr) {
    // Placed as a text drawn into `innen` places its line; one that does not fit there
    // is drawn that way, which cuts it at `innen` too.
    const Qt::Alignment a = ausrichtung == Raster::Allgemein
                                ? Qt::AlignVCenter | (s->zahl ? Qt::AlignRight : Qt::AlignLeft)
                                : Rasterausrichtung(ausrichtung, text);
    const QRectF fläche(innen);
    double y = 0, xGrenzen = 0, xZeile = 0;
    if (a & Qt::AlignBottom)
      y = fläche.height() - s->höhe;
    else if (a & Qt::AlignVCenter)
      y = (fläche.height() - s->höhe) / 2;
    if (a & Qt::AlignRight) {
      xGrenzen = fläche.width() - s->breite;
      xZeile = fläche.width() - s->vorschub;
    } else if (a & Qt::AlignHCenter) {
      xGrenzen = (fläche.width() - s->breite) / 2;
      xZeile = (fläche.width() - s->vorschub) / 2;
    }
    if (fläche.contains(QRectF(fläche.x() + xGrenzen, fläche.y() + y, s->breite, s->höhe))) {
      // Every text of the pass is clipped to its cell, so the clip is replaced rather
      // than saved and restored around each.
      p.setClipRect(schnitt);
      s->satz->lineAt(0).draw(&p, QPointF(fläche.x() + xZeile, fläche.y() + y));
      return;
    }
  }
  p.save();
  p.setClipRect(schnitt);
  p.drawText(innen, static_cast<int>(Rasterausrichtung(ausrichtung, text)) | (umbrechen ? Qt::TextWordWrap : 0), text);
  p.restore();
}

void Rasteransicht::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  const bool breiteAnders = viewport()->width() != mRaster.sichtBreitePixel();
  mRaster.setzeSichtfeld(viewport()->width(), viewport()->height());
  laufleistenAnpassen();
  if (breiteAnders && beiSichtbreite) beiSichtbreite();
}

Rasteransicht::Mausereignis Rasteransicht::ereignis(QMouseEvent* e) const {
  Mausereignis m;
  m.knopf = knopfVon(e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonRelease ||
                             e->type() == QEvent::MouseButtonDblClick
                         ? Qt::MouseButtons(e->button())
                         : e->buttons());
  m.umschalt = umschaltVon(e->modifiers());
  m.x = bildschirm::pixelZuTwips(e->position().toPoint().x());
  m.y = bildschirm::pixelZuTwips(e->position().toPoint().y());
  return m;
}

// The cell under the pointer; outside the cells the nearest one.
void Rasteransicht::mausMerken(const QPoint& punkt) {
  const auto zeilen = sichtbareZeilen();
  const auto spalten = sichtbareSpalten();
  if (zeilen.empty() || spalten.empty()) return;
  int zeile = zeilen.back().index, spalte = spalten.back().index;
  for (const auto& s : zeilen)
    if (punkt.y() < s.anfang + s.länge) {
      zeile = s.index;
      break;
    }
  for (const auto& s : spalten)
    if (punkt.x() < s.anfang + s.länge) {
      spalte = s.index;
      break;
    }
  mRaster.setzeMaus(zeile, spalte);
}

void Rasteransicht::mousePressEvent(QMouseEvent* e) {
  const QPoint punkt = e->position().toPoint();
  mausMerken(punkt);
  const auto [r, c] = zelleBei(punkt);
  Raster& g = mRaster;
  if (e->button() == Qt::LeftButton && r >= 0) {
    const bool erweitern = (e->modifiers() & Qt::ShiftModifier) && r >= g.FixedRows() && c >= g.FixedCols();
    if (erweitern) {
      g.setRowSel(r);
      g.setColSel(c);
    } else if (r >= g.FixedRows() && c >= g.FixedCols()) {
      g.setRow(r);
      g.setCol(c);
    } else if (r < g.FixedRows() && c >= g.FixedCols() && g.Rows() > g.FixedRows()) {
      // A fixed header selects its whole column, a fixed name its whole row.
      g.setRow(g.FixedRows());
      g.setCol(c);
      g.setRowSel(g.Rows() - 1);
    } else if (c < g.FixedCols() && r >= g.FixedRows() && g.Cols() > g.FixedCols()) {
      g.setRow(r);
      g.setCol(g.FixedCols());
      g.setColSel(g.Cols() - 1);
    }
    mZiehen = r >= g.FixedRows() && c >= g.FixedCols();
  }
  if (beiMouseDown) beiMouseDown(ereignis(e));
}

void Rasteransicht::mouseMoveEvent(QMouseEvent* e) {
  const QPoint punkt = e->position().toPoint();
  mausMerken(punkt);
  if (mZiehen && (e->buttons() & Qt::LeftButton)) {
    Raster& g = mRaster;
    if (punkt.y() >= viewport()->height() && g.TopRow() < g.größteTopRow()) g.setTopRow(g.TopRow() + 1);
    const int r = std::max(g.MouseRow(), g.FixedRows());
    if (r != g.RowSel() || g.MouseCol() != g.ColSel()) {
      g.setRowSel(r);
      g.setColSel(g.MouseCol());
    }
  }
  if (beiMouseMove) beiMouseMove(ereignis(e));
}

void Rasteransicht::mouseReleaseEvent(QMouseEvent* e) {
  mausMerken(e->position().toPoint());
  mZiehen = false;
  if (beiMouseUp) beiMouseUp(ereignis(e));
  if (beiClick) beiClick();
}

void Rasteransicht::mouseDoubleClickEvent(QMouseEvent* e) {
  mausMerken(e->position().toPoint());
  if (beiDblClick) beiDblClick();
}

void Rasteransicht::wheelEvent(QWheelEvent* e) {
  e->accept();
  // Small deltas (fine wheels, touchpads) add up to whole notches of 120; a turn the
  // other way starts afresh.
  const int delta = e->angleDelta().y();
  if (delta == 0) return;
  if ((delta > 0) != (mRadRest > 0)) mRadRest = 0;
  mRadRest += delta;
  const int stufen = mRadRest / 120;
  mRadRest %= 120;
  if (stufen != 0 && beiRad) beiRad(stufen);
}

void Rasteransicht::keyPressEvent(QKeyEvent* e) {
  const int umschalt = umschaltVon(e->modifiers());
  if (beiKeyDown && beiKeyDown(e->key(), umschalt)) {
    e->accept();
    return;
  }
  Raster& g = mRaster;
  if (g.Rows() <= g.FixedRows() || g.Cols() <= g.FixedCols()) {
    QAbstractScrollArea::keyPressEvent(e);
    return;
  }
  const bool erweitern = umschalt & 1;
  int r = erweitern ? g.RowSel() : g.Row();
  int c = erweitern ? g.ColSel() : g.Col();
  const int seite = std::max(1, static_cast<int>(sichtbareZeilen().size()) - g.FixedRows() - 1);
  switch (e->key()) {
    case Qt::Key_Up:
      --r;
      break;
    case Qt::Key_Down:
      ++r;
      break;
    case Qt::Key_Left:
      --c;
      break;
    case Qt::Key_Right:
      ++c;
      break;
    case Qt::Key_PageUp:
      r -= seite;
      break;
    case Qt::Key_PageDown:
      r += seite;
      break;
    case Qt::Key_Home:
      c = g.FixedCols();
      break;
    case Qt::Key_End:
      c = g.Cols() - 1;
      break;
    default:
      QAbstractScrollArea::keyPressEvent(e);
      return;
  }
  // Hidden rows and columns are stepped over.
  const int richtungZ = r < (erweitern ? g.RowSel() : g.Row()) ? -1 : 1;
  r = std::clamp(r, g.FixedRows(), g.Rows() - 1);
  while (r > g.FixedRows() && r < g.Rows() - 1 && g.RowHeight(r) == 0) r += richtungZ;
  const int richtungS = c < (erweitern ? g.ColSel() : g.Col()) ? -1 : 1;
  c = std::clamp(c, g.FixedCols(), g.Cols() - 1);
  while (c > g.FixedCols() && c < g.Cols() - 1 && g.ColWidth(c) == 0) c += richtungS;
  if (erweitern) {
    g.setRowSel(r);
    g.setColSel(c);
  } else {
    g.setRow(r);
    g.setCol(c);
  }
  zeileZeigen(r);
  e->accept();
}

void Rasteransicht::leaveEvent(QEvent* e) {
  QAbstractScrollArea::leaveEvent(e);
  if (beiMausVerlassen) beiMausVerlassen();
}
