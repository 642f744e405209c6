#include "views/frmUStunden.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <cmath>

#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "printing/Ueberstundendruck.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "store/Ueberstunden.h"
#include "views/frmJahresuebersicht.h"
#include "widgets/Fensterhilfen.h"
#include "widgets/Rasteransicht.h"

QStringList gÜStdDaten{QString(), QStringLiteral("NoData")};
double gÜStdLesezeit = -1;
int gÜStdJahr = 0;
ÜStd_Platzierung gÜStdPlatzierung;

namespace {

void Zustand_zurücksetzen() {
  gÜStdDaten = QStringList{QString(), QStringLiteral("NoData")};
  gÜStdLesezeit = -1;
  gÜStdJahr = 0;
  gÜStdPlatzierung = {};
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

const QString kName = QStringLiteral("frmUStunden");
const QString kKeineDaten = QStringLiteral("Keine Überstunden vorhanden");
// Design sizes (twips): the client area, its minimum, the columns 0 to 2.
constexpr int kBreite = 6270, kHöhe = 4785, kMindesthöhe = 4185;
constexpr int kSpalte = 840;
// The file is read again when the same year is chosen after this many seconds.
constexpr double kFrische = 60.0;

frmUStunden* sFenster = nullptr;

int px(double twips) { return bildschirm::twipsZuPixel(twips); }
int tw(int pixel) { return static_cast<int>(std::lround(bildschirm::pixelZuTwips(pixel))); }

Rahmenwerte Überstundenwerte() {
  Rahmenwerte w;
  w.name = kName;
  w.titel = QStringLiteral("Velkora - Überstunden");
  w.mindesthöhe = kMindesthöhe;
  w.obererBlock = 1725;
  w.druckauftrag = QStringLiteral("Ü");
  w.strgP = false;
  w.rahmen = false;
  w.knöpfe = {QString(), QStringLiteral("&Drucken ..."), QStringLiteral("&Schließen")};
  w.druckknopf = 1;
  w.schließknopf = 2;
  return w;
}

}  // namespace

frmUStunden* ÜStunden_Fenster() { return sFenster; }

frmUStunden::frmUStunden(frmJahresuebersicht& jahresübersicht)
    : Ansichtsrahmen(&jahresübersicht, Überstundenwerte()), mJahresübersicht(jahresübersicht) {
  sFenster = this;
  lblBeschriftung[1] = Beschriftung_anlegen(1);
  lblBeschriftung[2] = Beschriftung_anlegen(2, QStringLiteral("Jahr"));
  cmbJahr = new QComboBox(this);
  cmbJahr->setObjectName(QStringLiteral("cmbJahr"));
  // A choice of the user, also of the year already shown, counts: the file may have
  // changed since it was read.
  connect(cmbJahr, &QComboBox::activated, this, [this] { cmbJahr_Click(); });
  // The wheel scrolls the grid under the pointer; the grid takes the focus neither
  // from a text box nor from the year list.
  msgFlexGrid->beiMouseMove = [this](const Rasteransicht::Mausereignis&) {
    if (!isActiveWindow()) return;
    QWidget* f = QApplication::focusWidget();
    if (f != msgFlexGrid && !qobject_cast<QLineEdit*>(f) && !qobject_cast<QComboBox*>(f)) msgFlexGrid->setFocus();
  };
  // The overtime printout reads the list as shown and the employee's name.
  gÜberstundendruckquelle.gitter = [this]() -> const Raster& { return msgFlexGrid->raster(); };
  gÜberstundendruckquelle.name = [this] { return mJahresübersicht.cmbName->currentText(); };
  setTabOrder(cmbJahr, msgFlexGrid);
  setTabOrder(msgFlexGrid, cmdAuswahl[1]);
  setTabOrder(cmdAuswahl[1], cmdAuswahl[2]);
}

frmUStunden::~frmUStunden() {
  if (sFenster == this) sFenster = nullptr;
  gÜberstundendruckquelle = {};
}

const Raster& frmUStunden::Liste() const { return msgFlexGrid->raster(); }

int frmUStunden::Datenbreite() const {
  const Raster& g = msgFlexGrid->raster();
  return g.ColWidth(0) + g.ColWidth(1) + g.ColWidth(2);
}

QString frmUStunden::CSV_Titel() const { return QStringLiteral("Überstunden ") + mName; }

void frmUStunden::Form_Load() {
  Prozedur(kName + QStringLiteral(" - Form_Load"), [&] {
    mBenutzer = mJahresübersicht.Tag;
    mName = mJahresübersicht.cmbName->currentText();
    const ÜStd_Platzierung& p = gÜStdPlatzierung;
    const QScreen* schirm = QGuiApplication::screenAt(QPoint(px(p.links), px(p.oben)));
    if (p.breite + p.höhe != 0 && schirm) {
      move(px(p.links), px(p.oben));
      resize(px(p.breite), px(p.höhe));
    } else {
      resize(px(kBreite), px(kHöhe));
      const QScreen* primär = QGuiApplication::primaryScreen();
      const QRect b = primär ? primär->geometry() : QRect(0, 0, 800, 600);
      move(b.left() + (b.width() - width()) / 2, b.top() + (b.height() - height()) / 2);
    }
    setMinimumSize(px(kBreite), px(kMindesthöhe));
    Laden_beginnen();
    Raster& g = msgFlexGrid->raster();
    g.setRows(1);
    g.setCols(4);
    g.setFixedRows(1);
    g.setFixedCols(0);
    g.setRowHeight(0, 285);
    g.setMergeCells(true);
    g.setColAlignment(0, Raster::MitteMitte);
    g.setColAlignment(1, Raster::RechtsMitte);
    g.setColAlignment(2, Raster::RechtsMitte);
    g.setColAlignment(3, Raster::LinksMitte);
    for (int c = 0; c <= 2; ++c) g.setColWidth(c, kSpalte);
    g.setHighLight(0);
    Grid_initialisieren();
    lblBeschriftung[1]->setText(QStringLiteral("Überstunden für ") + mName);
    {
      const QSignalBlocker sperre(cmbJahr);
      cmbJahr->clear();
      for (int i = 0; i < mJahresübersicht.cmbJahr->count(); ++i)
        cmbJahr->addItem(mJahresübersicht.cmbJahr->itemText(i));
      cmbJahr->setCurrentIndex(mJahresübersicht.cmbJahr->currentIndex());
    }
    Laden_beenden();
    Anordnen_Überstunden();
    cmbJahr_Click();
  });
}

void frmUStunden::Grid_initialisieren() {
  Raster& g = msgFlexGrid->raster();
  g.setRedraw(false);
  const QString köpfe[] = {QStringLiteral("Datum"), QStringLiteral("Std./Min."), QStringLiteral("Saldo"),
                           QStringLiteral("Bemerkung")};
  for (int c = 0; c <= 3; ++c) {
    g.setCellFontSize(0, c, 8);
    g.setTextMatrix(0, c, köpfe[c]);
  }
  g.setRedraw(true);
}

void frmUStunden::Daten_lesen(int jahr) {
  gÜStdDaten = QStringList{QString(), QStringLiteral("NoData")};
  if (const std::optional<QStringList> daten = ÜStunden_lesen(jahr)) {
    gÜStdDaten = *daten;
    gÜStdLesezeit = uhr::monoton();
  }
}

void frmUStunden::cmbJahr_Click() {
  Prozedur(kName + QStringLiteral(" - cmbJahr_Click"), [&] {
    if (cmbJahr->currentIndex() < 0) return;
    const int jahr = text::zahl(cmbJahr->currentText());
    if (jahr != gÜStdJahr || gÜStdLesezeit < 0 || uhr::monoton() - gÜStdLesezeit > kFrische) Daten_lesen(jahr);
    gÜStdJahr = jahr;
    Daten_anzeigen();
  });
}

void frmUStunden::Daten_anzeigen() {
  Prozedur(kName + QStringLiteral(" - Daten_anzeigen"), [&] {
    Raster& g = msgFlexGrid->raster();
    g.setRedraw(false);
    g.Clear();
    g.setRows(1);
    Grid_initialisieren();
    g.setRedraw(false);
    const ÜStd_Konto konto = ÜStunden_Konto(gÜStdDaten, mBenutzer, gÜStdJahr);
    // For a year still to come, a carry-over alone is no account yet.
    const bool daten = konto.abschnitt && !(gÜStdJahr > gHeute.year() && konto.datenzeilen <= 1);
    if (daten) {
      for (const ÜStd_Satz& s : konto.sätze) {
        const QString art = s.Art == u"+"   ? QStringLiteral("+")
                            : s.Art == u"-" ? QStringLiteral("-")
                            : s.Art == u"€" ? QStringLiteral("€ -")
                                            : QString();
        const QString vorzeichen = s.Saldo < 0 ? QStringLiteral("- ") : s.Saldo > 0 ? QStringLiteral("+ ") : QString();
        const int r = g.Rows();
        g.setRows(r + 1);
        g.setTextMatrix(r, 0, s.Datum);
        g.setTextMatrix(r, 1, art + u' ' + FormatMinStd(s.Minuten));
        g.setTextMatrix(r, 2, vorzeichen + FormatMinStd(s.Saldo));
        g.setTextMatrix(r, 3, s.Bemerkung);
        // A carry-over of zero is not shown; the balance below still starts from it.
        if (s.verborgen) g.setRowHeight(r, 0);
      }
      const QFontMetrics maß(font());
      for (int r = 1; r < g.Rows(); ++r)
        for (int c = 1; c <= 2; ++c) {
          const int breite =
              static_cast<int>(bildschirm::pixelZuTwips(maß.horizontalAdvance(g.TextMatrix(r, c)))) + 120;
          if (breite > g.ColWidth(c)) g.setColWidth(c, breite);
        }
    } else {
      g.setRows(2);
      for (int c = 0; c <= 3; ++c) {
        g.setTextMatrix(1, c, kKeineDaten);
        g.setCellAlignment(1, c, Raster::MitteMitte);
      }
      g.setMergeRow(1, true);
    }
    g.setRedraw(true);
    Bemerkungsspalte_anpassen();
    g.setTopRow(g.Rows() - 1);
    if (!konto.übersprungen.isEmpty()) Übersprungene_Zeilen_melden(konto.übersprungen, ÜStunden_Pfad(gÜStdJahr));
  });
}

void frmUStunden::Bemerkungsspalte_anpassen() {
  // The remark takes the room the other columns leave, left of the scroll bar.
  Raster& g = msgFlexGrid->raster();
  const bool leiste = gAnsichtshaken.mausrad_prüfen(*this, *msgFlexGrid);
  g.setColWidth(3, Namensspaltenbreite(Gitterbreite_ohne_Laufleiste(msgFlexGrid), Datenbreite(),
                                       leiste || msgFlexGrid->senkrechteLaufleisteNötig()));
}

void frmUStunden::Anordnen_Überstunden() {
  const int b = tw(width()), h = tw(height());
  const double s = Ansicht_Skalierung(bildschirm::dpi());
  // The year list as wide as the design gives it, or as its years need.
  const int liste = std::max(810, tw(cmbJahr->sizeHint().width()));
  const int listeLinks = b - 240 - liste;
  cmbJahr->setGeometry(px(listeLinks), px(180), px(liste), cmbJahr->sizeHint().height());
  lblBeschriftung[2]->setGeometry(px(listeLinks - 480), px(240), px(480), px(255));
  lblBeschriftung[1]->setGeometry(px(240), px(240), px(std::max(0, listeLinks - 480 - 300)), px(255));
  msgFlexGrid->setGeometry(px(240), px(690), px((b - 480) * s), px(std::max(0, h - 1725) * s));
  Bemerkungsspalte_anpassen();
  cmdAuswahl[1]->setGeometry(px(255), px(h - 765), px(1800), px(495));
  cmdAuswahl[2]->setGeometry(px(b - 2055), px(h - 765), px(1800), px(495));
}

void frmUStunden::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Anordnen_Überstunden();
}

void frmUStunden::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  if (!isVisible() || isMinimized()) return;
  // A fault of the layout is of no consequence: the next resize lays out again.
  try {
    const QSize mindest(px(kBreite), px(kMindesthöhe));
    if (minimumSize() != mindest) setMinimumSize(mindest);
    if (width() < mindest.width() || height() < mindest.height()) {
      resize(std::max(width(), mindest.width()), std::max(height(), mindest.height()));
      return;
    }
    Anordnen_Überstunden();
  } catch (const Laufzeitfehler&) {
  }
}

bool frmUStunden::Form_KeyDown(int taste, Qt::KeyboardModifiers umschalt) {
  const Qt::KeyboardModifiers m = umschalt & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (taste == Qt::Key_F12) {
    CSV_exportieren();
    return true;
  }
  if (taste == Qt::Key_P && m == Qt::AltModifier) {
    Drucken(true);
    return true;
  }
  // Esc does not close the window; it closes through its button or its frame.
  return taste == Qt::Key_Escape && m == Qt::NoModifier;
}

void frmUStunden::cmdAuswahl_Click(int index) {
  if (index == 1) {
    msgFlexGrid->raster().setHighLight(0);
    gDruckauftrag = werte().druckauftrag;
    gAnsichtshaken.druckdialog(this);
  } else if (index == 2) {
    close();
  }
}

void frmUStunden::Platzierung_merken() {
  if (!isVisible()) return;
  // Kept for this run only; a position far out on a second screen is kept as it is.
  gÜStdPlatzierung = {tw(pos().x()), tw(pos().y()), tw(width()), tw(height())};
}

void frmUStunden::closeEvent(QCloseEvent* e) {
  Platzierung_merken();
  Ansichtsrahmen::closeEvent(e);
}

void frmUStunden::done(int ergebnis) {
  Platzierung_merken();
  Ansichtsrahmen::done(ergebnis);
}

void ÜStunden_zeigen(frmJahresuebersicht& jahresübersicht) {
  frmUStunden f(jahresübersicht);
  f.Form_Load();
  f.exec();
}
