#include "config/frmFarbeinstellungen.h"

#include <QColor>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/Bildschirm.h"
#include "platform/Dialoge.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Raster.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "widgets/Bildschirmstand.h"
#include "widgets/Fensterhilfen.h"
#include "widgets/Rasteransicht.h"

namespace {

const QString kName = QStringLiteral("frmFarbeinstellungen - ");
constexpr int kZeilen = 11;
constexpr int kSpalten = 10;
// Column 2 plays today, columns 4 and 5 the weekend, column 8 a holiday.
constexpr int kHeute = 2;
constexpr int kFeiertag = 8;

bool Wochenende(int spalte) { return spalte == 4 || spalte == 5; }
bool Überschriftzeile(int zeile) { return zeile == 1 || zeile == 4 || zeile == 9; }

// Switches the grid's drawing off for its lifetime and back to what it was, so that
// nested repaints show only the finished picture.
class Zeichenpause {
 public:
  explicit Zeichenpause(Raster& g) : mRaster(g), mVorher(g.Redraw()) { g.setRedraw(false); }
  ~Zeichenpause() { mRaster.setRedraw(mVorher); }

 private:
  Raster& mRaster;
  bool mVorher;
};

// Runs a handler of the preview's events; its run-time errors are ignored.
template <class F>
void Ohne_Fehlermeldung(F&& f) {
  try {
    f();
  } catch (const Laufzeitfehler&) {
  }
}

}  // namespace

frmFarbeinstellungen::frmFarbeinstellungen(QWidget* owner, int hervorhebung, bool überschrift)
    : QDialog(owner), Hervorhebung(hervorhebung), Überschrift(überschrift) {
  setObjectName(QStringLiteral("frmFarbeinstellungen"));
  setWindowTitle(QStringLiteral("Velkora - Farbeinstellungen"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setModal(true);
  Form_Load();
}

void frmFarbeinstellungen::anzeigen(QWidget* owner, int hervorhebung, bool überschrift) {
  frmFarbeinstellungen f(owner, hervorhebung, überschrift);
  f.exec();
}

void frmFarbeinstellungen::Form_Load() {
  Prozedur(kName + QStringLiteral("Form_Load"), [&] {
    // A privileged user's or administrator's save writes the configuration whole from
    // memory: it must be the one this workstation read.
    mStand = Stammdatenstand();

    auto* fraFarbe = new QGroupBox(QStringLiteral("Farbe einstellen für"), this);
    auto* farben = new QVBoxLayout(fraFarbe);
    const char16_t* texte[9] = {nullptr,
                                u"Arbeits&tage ...",
                                u"&Wochenende ...",
                                u"&Feiertage ...",
                                u"&Namen ...",
                                u"Ü&berschriften ...",
                                u"&Rahmenlinien ...",
                                u"Aktueller Tag (&Kopf) ...",
                                u"Aktuelle &Zeile/Spalte ..."};
    for (int k = 1; k <= 8; ++k) {
      auto* b = new QPushButton(QString::fromUtf16(texte[k]), fraFarbe);
      b->setObjectName(QStringLiteral("cmdFarbe%1").arg(k));
      b->setAutoDefault(false);
      b->setAutoFillBackground(true);
      b->setMinimumWidth(bildschirm::twipsZuPixel(2895));
      connect(b, &QPushButton::clicked, this, [this, k] { Farbe_wählen(k); });
      farben->addWidget(b);
      cmdFarbe[k] = b;
    }
    farben->addStretch();

    fraVorschau = new QGroupBox(QStringLiteral("Vorschau"), this);
    fraVorschau->setObjectName(QStringLiteral("fraVorschau"));
    auto* vorschau = new QVBoxLayout(fraVorschau);
    msgFlexGrid = new Rasteransicht(fraVorschau);
    msgFlexGrid->setObjectName(QStringLiteral("msgFlexGrid"));
    msgFlexGrid->setFocusPolicy(Qt::NoFocus);
    vorschau->addWidget(msgFlexGrid, 0, Qt::AlignCenter);

    auto* fraStandard = new QGroupBox(QStringLiteral("Standardeinstellungen wiederherstellen"), this);
    auto* standard = new QHBoxLayout(fraStandard);
    cmdStandard = new QPushButton(QStringLiteral("&Standard"), fraStandard);
    cmdStandard->setObjectName(QStringLiteral("cmdStandard"));
    cmdStandard->setAutoDefault(false);
    connect(cmdStandard, &QPushButton::clicked, this, [this] { Standard_Click(); });
    standard->addWidget(cmdStandard);
    standard->addStretch();

    const char16_t* auswahl[3] = {nullptr, u"&OK", u"&Abbrechen"};
    auto* knöpfe = new QHBoxLayout;
    knöpfe->addStretch();
    for (int i = 1; i <= 2; ++i) {
      cmdAuswahl[i] = new QPushButton(QString::fromUtf16(auswahl[i]), this);
      cmdAuswahl[i]->setObjectName(QStringLiteral("cmdAuswahl%1").arg(i));
      cmdAuswahl[i]->setAutoDefault(false);
      cmdAuswahl[i]->setMinimumWidth(bildschirm::twipsZuPixel(1515));
      knöpfe->addWidget(cmdAuswahl[i]);
    }
    connect(cmdAuswahl[1], &QPushButton::clicked, this, [this] {
      Farbeinstellungen_aktualisieren();
      accept();
    });
    connect(cmdAuswahl[2], &QPushButton::clicked, this, [this] { reject(); });

    auto* raster = new QGridLayout(this);
    raster->addWidget(fraFarbe, 0, 0);
    raster->addWidget(fraVorschau, 0, 1);
    raster->addWidget(fraStandard, 1, 0);
    raster->addLayout(knöpfe, 1, 1, Qt::AlignBottom);
    raster->setSizeConstraint(QLayout::SetFixedSize);

    SetSchriftart(this);
    for (int k = 1; k <= 8; ++k) Farben[k] = gGrundfarben[k];
    Raster_aufbauen();
    if (Hervorhebung > 0) cmdFarbe[7]->setText(QStringLiteral("Aktueller Na&me/Tag ..."));

    msgFlexGrid->beiMouseMove = [this](const Rasteransicht::Mausereignis&) { msgFlexGrid_MouseMove(); };
    msgFlexGrid->beiMouseDown = [this](const Rasteransicht::Mausereignis&) { msgFlexGrid_MouseDown(); };
    msgFlexGrid->beiMouseUp = [this](const Rasteransicht::Mausereignis&) { msgFlexGrid_MouseUp(); };
    // Leaving the grid is the pointer's move over the frame around it.
    msgFlexGrid->beiMausVerlassen = [this] { fraVorschau_MouseMove(); };
    Vorschau_aktualisieren();
  });
}

void frmFarbeinstellungen::Raster_aufbauen() {
  Raster& g = msgFlexGrid->raster();
  g.setRows(kZeilen);
  g.setCols(kSpalten);
  g.setFixedRows(1);
  g.setFixedCols(1);
  // The preview shows colours only: a click marks nothing.
  g.setHighLight(0);
  const char16_t* kopf[kSpalten] = {u"Name", u"Mi 1", u"Do 2", u"Fr 3", u"Sa 4",
                                    u"So 5", u"Mo 6", u"Di 7", u"Mi 8", u"Do 9"};
  const char16_t* namen[kZeilen] = {nullptr,       u"Geschäftsführung", u"Berger Anna", u"Huber Paul",  u"Verwaltung",
                                    u"Keller Eva", u"Lang Martin",      u"Roth Sabine", u"Vogel Jonas", u"Lager",
                                    u"Winter Karl"};
  for (int c = 0; c < kSpalten; ++c) g.setTextMatrix(0, c, QString::fromUtf16(kopf[c]));
  for (int r = 1; r < kZeilen; ++r) g.setTextMatrix(r, 0, QString::fromUtf16(namen[r]));
  for (int c = 1; c < kSpalten; ++c) g.setFixedAlignment(c, Raster::MitteMitte);

  // Widths and heights from the grid's font, so that every text fits at any screen
  // resolution; the width scaled by the layout factor as the month grid's is.
  const QFontMetrics fm(msgFlexGrid->font());
  const auto twips = [](int pixel) { return static_cast<int>(std::ceil(bildschirm::pixelZuTwips(pixel))); };
  int name = 0, tag = 0;
  for (int r = 1; r < kZeilen; ++r) name = std::max(name, fm.horizontalAdvance(g.TextMatrix(r, 0)));
  for (int c = 1; c < kSpalten; ++c) tag = std::max(tag, fm.horizontalAdvance(g.TextMatrix(0, c)));
  const double faktor = gSkalierung > 0 ? gSkalierung : 1.0;
  g.setColWidth(0, static_cast<int>(twips(name + fm.averageCharWidth() * 2) * faktor));
  for (int c = 1; c < kSpalten; ++c)
    g.setColWidth(c, static_cast<int>(twips(tag + fm.averageCharWidth() * 2) * faktor));
  const int höhe = std::max(Raster::kStandardZeilenhöhe, twips(fm.height() + 4));
  for (int r = 0; r < kZeilen; ++r) g.setRowHeight(r, höhe);

  int breite = 0, hoch = 0;
  for (int c = 0; c < kSpalten; ++c) breite += g.spaltenPixel(c);
  for (int r = 0; r < kZeilen; ++r) hoch += g.zeilenPixel(r);
  msgFlexGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  msgFlexGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const int rahmen = 2 * msgFlexGrid->frameWidth();
  msgFlexGrid->setFixedSize(breite + rahmen, hoch + rahmen);
}

void frmFarbeinstellungen::Farbe_wählen(int k) {
  Prozedur(kName + QStringLiteral("Farbe_wählen"), [&] {
    dialoge::Aufforderung a;
    a.art = dialoge::Art::Farbe;
    a.vorgabe = zuQColor(Farben[k]).name();
    const dialoge::Antwort antwort = dialoge::zeigen(a);
    if (antwort.knopf != dialoge::kOK || !QColor(antwort.wert).isValid()) return;
    Farben[k] = ausQColor(QColor(antwort.wert));
    Vorschau_aktualisieren();
  });
}

void frmFarbeinstellungen::Standard_Click() {
  Prozedur(kName + QStringLiteral("cmdStandard_Click"), [&] {
    for (int k = 1; k <= 8; ++k) Farben[k] = kStandard[k];
    Vorschau_aktualisieren();
  });
}

void frmFarbeinstellungen::Vorschau_aktualisieren() {
  Prozedur(kName + QStringLiteral("Vorschau_aktualisieren"), [&] {
    for (int k = 1; k <= 8; ++k) {
      QPalette p = cmdFarbe[k]->palette();
      p.setColor(QPalette::Button, zuQColor(Farben[k]));
      cmdFarbe[k]->setPalette(p);
    }
    Raster& g = msgFlexGrid->raster();
    Zeichenpause pause(g);
    g.setBackColor(Farben[1]);
    g.setGridColor(Farben[6]);
    g.setGridColorFixed(Farben[6]);
    g.setCellBackColor(0, kHeute, Farben[7]);
    Highlight_Off(true);
  });
}

void frmFarbeinstellungen::Highlight_Off(bool heute) {
  Prozedur(kName + QStringLiteral("Highlight_Off"), [&] {
    if (Hervorhebung < 3) heute = true;
    if (Setting(9) != 0) heute = false;
    Raster& g = msgFlexGrid->raster();
    Zeichenpause pause(g);
    for (int c = 0; c < kSpalten; ++c) {
      for (int r = 0; r < kZeilen; ++r) {
        qint32 farbe = 0;
        if (r == 0) {
          farbe = c == kHeute && heute ? Farben[7] : g.BackColorFixed();
        } else {
          farbe = g.CellBackColor(r, c).value_or(Farben[1]);
          if (g.TextMatrix(r, c).isEmpty()) farbe = Farben[1];
          if (c == 0) farbe = Farben[4];
          if (c == kHeute && heute) farbe = Farben[8];
          if (Wochenende(c)) farbe = Farben[2];
          if (c == kFeiertag) farbe = Farben[3];
          if (Überschriftzeile(r) && (Überschrift || c == 0)) farbe = Farben[5];
        }
        g.setCellBackColor(r, c, farbe);
      }
    }
  });
}

void frmFarbeinstellungen::Highlight_On(int zeile, int spalte) {
  Prozedur(kName + QStringLiteral("Highlight_On"), [&] {
    Highlight_Off(false);
    if (zeile == 0) return;
    Raster& g = msgFlexGrid->raster();
    Zeichenpause pause(g);
    const auto leer = [&](int r, int c) { return g.TextMatrix(r, c).isEmpty(); };
    const auto markiert = [&](int r) { return Überschriftzeile(r) && Überschrift ? Farben[5] : Farben[8]; };
    g.setCellBackColor(zeile, 0, Farben[7]);
    for (int c = 1; c < kSpalten; ++c)
      if (leer(zeile, c) && !Wochenende(c) && c != kFeiertag) g.setCellBackColor(zeile, c, markiert(zeile));
    if (Hervorhebung == 3 && spalte > 0) {
      g.setCellBackColor(0, spalte, Farben[7]);
      for (int r = 1; r < kZeilen; ++r)
        if (leer(r, spalte)) g.setCellBackColor(r, spalte, markiert(r));
    }
  });
}

void frmFarbeinstellungen::msgFlexGrid_MouseMove() {
  Ohne_Fehlermeldung([&] {
    const Raster& g = msgFlexGrid->raster();
    const int zelle = g.MouseRow() * 32 + g.MouseCol();
    if (zelle == gMauszelle) return;
    gMauszelle = zelle;
    if (Hervorhebung > 1) Highlight_On(g.MouseRow(), g.MouseCol());
  });
}

void frmFarbeinstellungen::msgFlexGrid_MouseDown() {
  Ohne_Fehlermeldung([&] {
    const Raster& g = msgFlexGrid->raster();
    if (Hervorhebung == 1 && g.MouseCol() == 0 && !Überschriftzeile(g.MouseRow())) Highlight_On(g.MouseRow(), 0);
  });
}

void frmFarbeinstellungen::msgFlexGrid_MouseUp() {
  Ohne_Fehlermeldung([&] {
    if (Hervorhebung == 1) Highlight_Off(false);
  });
}

void frmFarbeinstellungen::fraVorschau_MouseMove() {
  Ohne_Fehlermeldung([&] {
    Highlight_Off(true);
    // Coming back onto the same cell highlights it again.
    gMauszelle = 0;
  });
}

void frmFarbeinstellungen::Farbeinstellungen_aktualisieren() {
  Prozedur(kName + QStringLiteral("Farbeinstellungen_aktualisieren"), [&] {
    bool geändert = false;
    for (int k = 1; k <= 8; ++k) geändert = geändert || Farben[k] != gGrundfarben[k];
    if (!geändert) return;
    const bool gemeinsam = gBenutzerstufe >= 1;
    // Nothing changes, in memory or on disk, over a configuration another workstation
    // wrote since this one read it.
    if (gemeinsam && !mStand.unverändert(false, true)) return;
    for (int k = 1; k <= 8; ++k) gGrundfarben[k] = Farben[k];
    if (!gSFHintergrundfarben.isEmpty()) gSFHintergrundfarben.last() = Farben[1];
    gGrundfarben[9] = kFokusfarbe;
    if (!gemeinsam) return;
    Konfigdaten_schreiben();
    // The file now holds what this workstation has in memory: its own write.
    gKonfigdatenZeit = Dateizeit(gDatenordner + QStringLiteral("Konfigdaten.dat"));
    Logbuch_ergänzen(2, QStringLiteral("Farbeinstellungen geändert"));
  });
}
