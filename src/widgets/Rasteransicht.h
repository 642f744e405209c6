#pragma once
// The grid on screen: paints a Raster, scrolls it by whole rows and columns under its
// fixed rows and columns, lets the user click a cell and drag a marking, tells the
// model the cell under the pointer, and reports the mouse and the keys to the window.
#include <QAbstractScrollArea>
#include <QHash>
#include <QPixmap>
#include <QTextLayout>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Raster.h"

class QPainter;

// How a cell's text is aligned, from the model's alignment: the general one puts a
// number to the right and anything else to the left, both in the middle.
Qt::Alignment Rasterausrichtung(int ausrichtung, const QString& text);

class Rasteransicht : public QAbstractScrollArea {
 public:
  // Mouse buttons: 1 left, 2 right, 4 middle. Modifier keys: 1 Shift, 2 Ctrl, 4 Alt.
  struct Mausereignis {
    int knopf = 0;
    int umschalt = 0;
    double x = 0;  // twips from the grid's left edge
    double y = 0;  // twips from the grid's top edge
  };

  explicit Rasteransicht(QWidget* eltern = nullptr);

  Raster& raster() { return mRaster; }
  const Raster& raster() const { return mRaster; }

  // The cell at a point of the viewport; {-1, -1} outside every cell.
  std::pair<int, int> zelleBei(const QPoint& punkt) const;
  // The cell's rectangle in viewport pixels; empty when it is not shown.
  QRect zellenRechteck(int r, int c) const;
  // Scrolls so that the row is shown.
  void zeileZeigen(int r);
  // Whether the rows are more than the viewport holds, so that the vertical scroll
  // bar is (or, once painting is on again, will be) shown.
  bool senkrechteLaufleisteNötig() const;
  // The font a cell's text is drawn in, and the part of a cell's rectangle its text
  // is drawn into.
  QFont zellenschrift(int r, int c) const;
  static QRect textfläche(const QRect& zelle);

  // Events, as the window handles them. A key handler returns true when it used the key.
  std::function<void(const Mausereignis&)> beiMouseDown;
  std::function<void(const Mausereignis&)> beiMouseMove;
  std::function<void(const Mausereignis&)> beiMouseUp;
  std::function<void()> beiClick;
  std::function<void()> beiDblClick;
  std::function<void()> beiMausVerlassen;
  std::function<bool(int taste, int umschalt)> beiKeyDown;
  // Mouse wheel: whole notches (positive away from the user), small deltas added up;
  // without a handler the wheel does nothing.
  std::function<void(int stufen)> beiRad;
  // The width of the viewport changed (the vertical scroll bar came or went, or the
  // grid was resized).
  std::function<void()> beiSichtbreite;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void leaveEvent(QEvent* e) override;
  void scrollContentsBy(int, int) override {}

 private:
  struct Strecke {
    int index;
    int anfang;
    int länge;
  };
  std::vector<Strecke> sichtbareZeilen() const;
  std::vector<Strecke> sichtbareSpalten() const;
  // A cell's text laid out once, as a text drawn into a rectangle lays it out, so that
  // a repaint places the glyphs again without shaping them again.
  struct Textsatz {
    std::shared_ptr<const QTextLayout> satz;
    double breite = 0;    // the width the text's rectangle is aligned by
    double vorschub = 0;  // the advance its line is placed by
    double höhe = 0;
    bool zahl = false;
  };
  struct Zellfläche {
    int r, c;
    QRect rechteck;
  };
  struct Farbfläche {
    QRect rechteck;
    Farbwert farbe;
  };
  void zeichnen(QPainter& p);
  void textZeichnen(QPainter& p, int r, int c, const QRect& rechteck);
  const Textsatz* textsatz(const QPainter& p, const QString& text);
  void laufleistenAnpassen();
  Mausereignis ereignis(QMouseEvent* e) const;
  void mausMerken(const QPoint& punkt);

  Raster mRaster;
  QPixmap mBild;
  // Laid-out texts by font (bold, size) and text; dropped when the grid's font changes.
  struct Schriftsätze {
    bool fett;
    double größe;
    QHash<QString, Textsatz> texte;
  };
  QFont mSatzschrift;
  qreal mSatzDpi = 0;
  std::vector<Schriftsätze> mSätze;
  std::vector<Farbfläche> mFlächen, mLinien;
  std::vector<Zellfläche> mTextzellen;
  bool mZiehen = false;
  int mRadRest = 0;  // wheel delta not yet a whole notch
  bool mLaufleistenSetzen = false;
};
