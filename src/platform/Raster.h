#pragma once
// The grid every window of the program shows its tables in: the widget-free model.
// Rows and columns with fixed row 0 and column 0, cell texts, colours and fonts,
// heights and widths in twips, the current cell and the selection end, the top row,
// the mouse row and column, row merging and the redraw switch.
//
// The grid's own rules:
// - setting Row also sets RowSel, setting Col also sets ColSel: the marking collapses
//   to the current cell; RowSel and ColSel alone move only the selection end;
// - a cell's colour is either its own colour or none; "none" is not a colour (a cell
//   coloured black is black), and reading a cell without a colour gives nullopt;
// - cell properties are set with an explicit row and column, so addressing a cell
//   never moves the user's marking;
// - HighLight 0 hides the marking, 1 shows it;
// - with Redraw off changes are not shown until Redraw is switched on again;
// - a row of height 0 and a column of width 0 are hidden.
//
// Colours are 32-bit values with red in the low byte, as the program stores them.
#include <QColor>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <optional>
#include <span>
#include <vector>

using Farbwert = qint32;

// A stored colour value (red in the low byte) as a QColor.
QColor zuQColor(Farbwert farbe);
Farbwert ausQColor(const QColor& farbe);

class Raster {
 public:
  // Alignment codes of cells and columns.
  enum Ausrichtung {
    LinksOben = 0,
    LinksMitte = 1,
    LinksUnten = 2,
    MitteOben = 3,
    MitteMitte = 4,
    MitteUnten = 5,
    RechtsOben = 6,
    RechtsMitte = 7,
    RechtsUnten = 8,
    Allgemein = 9,  // text left, numbers right
  };
  // Sort orders as the views ask for them.
  enum Sortierung {
    AllgemeinAufsteigend = 1,
    AllgemeinAbsteigend = 2,
    NumerischAufsteigend = 3,
    NumerischAbsteigend = 4,
    TextOhneGrossAufsteigend = 5,
    TextOhneGrossAbsteigend = 6,
    TextAufsteigend = 7,
    TextAbsteigend = 8,
  };
  // The error the grid raises when asked for more cells than it can hold.
  static constexpr int kKapazitätFehler = 30006;
  static constexpr int kUngültigeZeile = 30009;
  static constexpr int kUngültigeSpalte = 30010;
  static constexpr long long kHöchsteZellenzahl = 4'000'000;
  // The height of a row and the width of a column that were never set.
  static constexpr int kStandardZeilenhöhe = 240;
  static constexpr int kStandardSpaltenbreite = 960;

  Raster(int zeilen = 2, int spalten = 2);

  // Size. Growing keeps the contents; shrinking cuts rows or columns off the end
  // and pulls the current cell and the selection end back inside.
  int Rows() const { return static_cast<int>(mZeilen.size()); }
  int Cols() const { return mSpalten; }
  void setRows(int n);
  void setCols(int n);
  int FixedRows() const { return mFesteZeilen; }
  int FixedCols() const { return mFesteSpalten; }
  void setFixedRows(int n);
  void setFixedCols(int n);

  // Current cell and selection end.
  int Row() const { return mRow; }
  int Col() const { return mCol; }
  int RowSel() const { return mRowSel; }
  int ColSel() const { return mColSel; }
  void setRow(int r);
  void setCol(int c);
  void setRowSel(int r);
  void setColSel(int c);
  // Rows and columns of the selection, smaller end first.
  int SelObenZeile() const { return std::min(mRow, mRowSel); }
  int SelUntenZeile() const { return std::max(mRow, mRowSel); }
  int SelLinksSpalte() const { return std::min(mCol, mColSel); }
  int SelRechtsSpalte() const { return std::max(mCol, mColSel); }
  bool istMarkiert(int r, int c) const;

  // First scrolling row shown under the fixed rows, and first scrolling column.
  int TopRow() const { return mTopRow; }
  void setTopRow(int r);
  int LeftCol() const { return mLeftCol; }
  void setLeftCol(int c);
  // The largest top row that still fills the visible area (needs the view's size).
  int größteTopRow() const;
  int größteLeftCol() const;
  // Whether the row's top edge lies inside the visible area.
  bool RowIsVisible(int r) const;

  // Heights and widths in twips.
  int RowHeight(int r) const;           // the height the row has: its own, at least RowHeightMin; 0 stays 0
  void setRowHeight(int r, int twips);  // -1: back to the default height
  int RowHeightMin() const { return mZeilenhöheMin; }
  void setRowHeightMin(int twips);
  int ColWidth(int c) const;
  void setColWidth(int c, int twips);  // -1: back to the default width
  int ColAlignment(int c) const;
  void setColAlignment(int c, int ausrichtung);
  int FixedAlignment(int c) const;  // -1 when the column's own alignment applies
  void setFixedAlignment(int c, int ausrichtung);

  // Cells. Texts and colours are read and set for every cell of a shown table, so
  // these stay inline.
  QString TextMatrix(int r, int c) const { return zelle(r, c).text; }
  void setTextMatrix(int r, int c, const QString& text) {
    zelle(r, c).text = text;
    geändert();
  }
  std::optional<Farbwert> CellBackColor(int r, int c) const {
    const Zelle& z = zelle(r, c);
    return z.mitHinten ? std::optional<Farbwert>(z.hinten) : std::nullopt;
  }
  void setCellBackColor(int r, int c, std::optional<Farbwert> farbe) {
    Zelle& z = zelle(r, c);
    z.mitHinten = farbe.has_value();
    z.hinten = farbe.value_or(0);
    geändert();
  }
  std::optional<Farbwert> CellForeColor(int r, int c) const {
    const Zelle& z = zelle(r, c);
    return z.mitVorne ? std::optional<Farbwert>(z.vorne) : std::nullopt;
  }
  void setCellForeColor(int r, int c, std::optional<Farbwert> farbe) {
    Zelle& z = zelle(r, c);
    z.mitVorne = farbe.has_value();
    z.vorne = farbe.value_or(0);
    geändert();
  }
  bool CellFontBold(int r, int c) const;
  void setCellFontBold(int r, int c, bool fett);
  double CellFontSize(int r, int c) const;  // 0: the grid's font size
  void setCellFontSize(int r, int c, double punkte);
  int CellAlignment(int r, int c) const;  // -1: the column's alignment
  void setCellAlignment(int r, int c, int ausrichtung);

  // Colours of the grid as a whole.
  Farbwert BackColor() const { return mBackColor; }
  void setBackColor(Farbwert f) {
    mBackColor = f;
    geändert();
  }
  Farbwert BackColorBkg() const { return mBackColorBkg; }
  void setBackColorBkg(Farbwert f) {
    mBackColorBkg = f;
    geändert();
  }
  Farbwert BackColorFixed() const { return mBackColorFixed; }
  void setBackColorFixed(Farbwert f) {
    mBackColorFixed = f;
    geändert();
  }
  Farbwert ForeColor() const { return mForeColor; }
  void setForeColor(Farbwert f) {
    mForeColor = f;
    geändert();
  }
  Farbwert ForeColorFixed() const { return mForeColorFixed; }
  void setForeColorFixed(Farbwert f) {
    mForeColorFixed = f;
    geändert();
  }
  Farbwert BackColorSel() const { return mBackColorSel; }
  void setBackColorSel(Farbwert f) {
    mBackColorSel = f;
    geändert();
  }
  Farbwert ForeColorSel() const { return mForeColorSel; }
  void setForeColorSel(Farbwert f) {
    mForeColorSel = f;
    geändert();
  }
  Farbwert GridColor() const { return mGridColor; }
  void setGridColor(Farbwert f) {
    mGridColor = f;
    geändert();
  }
  Farbwert GridColorFixed() const { return mGridColorFixed; }
  void setGridColorFixed(Farbwert f) {
    mGridColorFixed = f;
    geändert();
  }

  // The colours a cell is painted with, the marking taken into account.
  Farbwert Hintergrund(int r, int c) const;
  Farbwert Vordergrund(int r, int c) const;

  // Marking shown (1) or hidden (0).
  int HighLight() const { return mHighLight; }
  void setHighLight(int wert);
  // Painting on or off.
  bool Redraw() const { return mRedraw; }
  void setRedraw(bool an);

  // Texts too wide for their cell wrap at word boundaries.
  bool WordWrap() const { return mWordWrap; }
  void setWordWrap(bool an) {
    mWordWrap = an;
    geändert();
  }
  // Row merging: neighbouring cells of a merged row with equal text show as one.
  bool MergeRow(int r) const;
  void setMergeRow(int r, bool an);
  bool MergeCells() const { return mMergeCells; }
  void setMergeCells(bool an) {
    mMergeCells = an;
    geändert();
  }
  // The columns [erste, letzte] that the cell (r, c) shows with.
  std::pair<int, int> Verbund(int r, int c) const;

  // The cell under the pointer, as the view last saw it.
  int MouseRow() const { return mMausZeile; }
  int MouseCol() const { return mMausSpalte; }
  void setzeMaus(int zeile, int spalte);

  // What a bulk write puts into one cell: both colours, and the text unless it is
  // null. Held in the cell's own form, so that writing it is a plain copy.
  class Zellfüllung {
   public:
    Zellfüllung() = default;
    Zellfüllung(std::optional<Farbwert> vorne, std::optional<Farbwert> hinten, const QString* text = nullptr)
        : mHinten(hinten.value_or(0)),
          mVorne(vorne.value_or(0)),
          mMitHinten(hinten.has_value()),
          mMitVorne(vorne.has_value()),
          mText(text) {}
    std::optional<Farbwert> vorne() const { return mMitVorne ? std::optional<Farbwert>(mVorne) : std::nullopt; }
    std::optional<Farbwert> hinten() const { return mMitHinten ? std::optional<Farbwert>(mHinten) : std::nullopt; }
    const QString* text() const { return mText; }

   private:
    friend class Raster;
    Farbwert mHinten = 0;
    Farbwert mVorne = 0;
    bool mMitHinten = false;
    bool mMitVorne = false;
    const QString* mText = nullptr;
  };
  // Fills the cells (r, ersteSpalte), (r, ersteSpalte + 1), ... from `füllungen`; a null
  // entry leaves its cell as it is. The same as setCellForeColor, setCellBackColor and
  // setTextMatrix cell by cell, with one notification for the whole row: a month view
  // writes thousands of cells per display. A range reaching past the last column raises
  // before any cell changes.
  void setzeZellen(int r, int ersteSpalte, std::span<const Zellfüllung* const> füllungen);

  // Rows as a whole.
  void AddItem(const QString& tabGetrennt, int vorZeile = -1);
  void RemoveItem(int r);
  // Empties every cell's text and own format; sizes, widths and heights stay.
  void Clear();
  // Sorts the scrolling rows by the column Col (rows move with all their cells).
  void Sort(int art);

  // The size of the view's visible cell area in pixels; set by the view so that the
  // model can tell visible rows and the largest top row.
  void setzeSichtfeld(int breitePixel, int höhePixel);
  int sichtHöhePixel() const { return mSichtHöhe; }
  int sichtBreitePixel() const { return mSichtBreite; }
  // Heights and widths in whole screen pixels, as the view paints them.
  int zeilenPixel(int r) const;
  int spaltenPixel(int c) const;
  // How many rows of the height of row 1 fit into the view below the header row; at
  // least 1.
  int zeilenImSichtfeld() const;

  // Observers: called after every change that is to be shown (not while Redraw is
  // off; switching it on calls them once).
  void beobachten(std::function<void()> f) { mBeobachter.push_back(std::move(f)); }
  // Called when Row or Col changed (by code or by the user), and when TopRow changed.
  std::function<void()> beiRowColChange;
  std::function<void()> beiScroll;

 private:
  // A cell in 40 bytes: the colours' "none" kept in flags beside them rather than in
  // two optionals, and font size and alignment, which few grids set, beside the row's
  // cells; so that a month of thousands of rows stays small in the cache.
  struct Zelle {
    QString text;
    Farbwert hinten = 0;  // valid with mitHinten
    Farbwert vorne = 0;   // valid with mitVorne
    bool mitHinten = false;
    bool mitVorne = false;
    bool fett = false;
  };
  struct Format {
    double grösse = 0;
    int ausrichtung = -1;
  };
  struct Zeile {
    std::vector<Zelle> zellen;
    std::vector<Format> formate;  // empty until a cell of the row has a font size or alignment
    int höhe = -1;
    bool verbinden = false;
  };

  void prüfeZeile(int r) const {
    if (static_cast<unsigned>(r) >= mZeilen.size()) zeileUngültig();
  }
  void prüfeSpalte(int c) const {
    if (static_cast<unsigned>(c) >= static_cast<unsigned>(mSpalten)) spalteUngültig();
  }
  [[noreturn]] static void zeileUngültig();
  [[noreturn]] static void spalteUngültig();
  void prüfeKapazität(long long zeilen, long long spalten) const;
  Zelle& zelle(int r, int c) {
    prüfeZeile(r);
    prüfeSpalte(c);
    return mZeilen[r].zellen[c];
  }
  const Zelle& zelle(int r, int c) const {
    prüfeZeile(r);
    prüfeSpalte(c);
    return mZeilen[r].zellen[c];
  }
  void geändert() {
    if (mRedraw && !mBeobachter.empty()) benachrichtigen();
  }
  void benachrichtigen();
  static void leeren(Zeile& zeile);
  const Format* formatOderNull(int r, int c) const;
  Format& format(int r, int c);
  void rowColGeändert(int alteZeile, int alteSpalte);
  void zurechtrücken();

  std::vector<Zeile> mZeilen;
  // Rows cut off by setRows, emptied, with their cell storage kept for the next growth:
  // a display that shrinks the grid to its header and fills it again allocates nothing.
  std::vector<Zeile> mVorrat;
  int mSpalten = 0;
  std::vector<int> mBreiten;
  std::vector<int> mAusrichtungen;
  std::vector<int> mFestAusrichtungen;
  int mFesteZeilen = 1;
  int mFesteSpalten = 1;
  int mRow = 1, mCol = 1, mRowSel = 1, mColSel = 1;
  int mTopRow = 1, mLeftCol = 1;
  int mZeilenhöheMin = 0;
  Farbwert mBackColor = 0xFFFFFF;
  Farbwert mBackColorBkg = 0x808080;
  Farbwert mBackColorFixed = 0xC8D0D4;
  Farbwert mForeColor = 0x000000;
  Farbwert mForeColorFixed = 0x000000;
  Farbwert mBackColorSel = 0x6A240A;
  Farbwert mForeColorSel = 0xFFFFFF;
  Farbwert mGridColor = 0xC0C0C0;
  Farbwert mGridColorFixed = 0x000000;
  int mHighLight = 1;
  bool mRedraw = true;
  bool mMergeCells = false;
  bool mWordWrap = false;
  int mMausZeile = 0, mMausSpalte = 0;
  int mSichtBreite = 0, mSichtHöhe = 0;
  std::vector<std::function<void()>> mBeobachter;
};
