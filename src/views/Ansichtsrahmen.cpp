#include "views/Ansichtsrahmen.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <cmath>

#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Zustand.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Velkoraini.h"
#include "widgets/Fensterhilfen.h"
#include "widgets/LineEditTextfeld.h"
#include "widgets/Rasteransicht.h"

Ansichtshaken gAnsichtshaken;

namespace {

int px(double twips) { return bildschirm::twipsZuPixel(twips); }
int tw(int pixel) { return static_cast<int>(std::lround(bildschirm::pixelZuTwips(pixel))); }

// The view's grid as the column fitting sees it.
class Ansichtsnamensspalte : public Namensspaltenfenster {
 public:
  explicit Ansichtsnamensspalte(Ansichtsrahmen& f) : mF(f) {}
  bool Scrollbar_sichtbar() override {
    // The wheel hook follows the scroll bar; the width is fitted to what the grid needs,
    // also while the bar itself has not caught up with a change.
    gAnsichtshaken.mausrad_prüfen(mF, *mF.msgFlexGrid);
    return mF.msgFlexGrid->senkrechteLaufleisteNötig();
  }
  int Gitterbreite() override { return Gitterbreite_ohne_Laufleiste(mF.msgFlexGrid); }
  void Namensspalte_setzen(int twips) override { mF.msgFlexGrid->raster().setColWidth(0, twips); }
  QComboBox* Gruppenauswahl() override { return mF.cmbMitarbeitergruppen; }

 private:
  Ansichtsrahmen& mF;
};

// The view's grid as the employee search sees it. The grid has no user column: a
// row's user is found by its name in the employee table.
class Ansichtsraster : public Mitarbeiterraster {
 public:
  explicit Ansichtsraster(Ansichtsrahmen& f) : mF(f) {}
  const void* fenster() const override { return &mF; }
  int zeilen() const override { return g().Rows(); }
  QString name(int z) const override { return g().TextMatrix(z, 0); }
  QString benutzer(int z) const override {
    const QString n = name(z);
    for (int i = 1; i <= Mitarbeiterzeilen(); ++i)
      if (gMitarbeiterNamen[i] == n && !gBenutzerIDs[i].isEmpty()) return gBenutzerIDs[i];
    return {};
  }
  int obersteZeile() const override { return g().TopRow(); }
  void setzeObersteZeile(int z) override { mF.msgFlexGrid->raster().setTopRow(z); }
  int sichtbareZeilen() const override { return g().zeilenImSichtfeld(); }
  bool zeileSichtbar(int z) const override { return g().RowIsVisible(z); }
  void zeileMarkieren(int z) override {
    Raster& r = mF.msgFlexGrid->raster();
    r.setRow(z);
    r.setCol(0);
    r.setColSel(r.Cols() - 1);
    r.setHighLight(1);
  }
  QString eingabe(const QString& aufforderung) override { return gAnsichtshaken.eingabe(&mF, aufforderung); }

 private:
  const Raster& g() const { return mF.msgFlexGrid->raster(); }
  Ansichtsrahmen& mF;
};

// The window takes its keys before its controls.
class Tastenfilter : public QObject {
 public:
  Tastenfilter(QWidget* f, std::function<bool(int, Qt::KeyboardModifiers)> taste)
      : QObject(f), mF(f), mTaste(std::move(taste)) {
    qApp->installEventFilter(this);
  }
  ~Tastenfilter() override {
    if (qApp) qApp->removeEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* ziel, QEvent* e) override {
    if (e->type() != QEvent::KeyPress) return false;
    auto* w = qobject_cast<QWidget*>(ziel);
    if (!w || w->window() != mF) return false;
    // A key press the focused control leaves passes on to its parents and reaches the
    // filter again there; only its first arrival counts.
    auto* k = static_cast<QKeyEvent*>(e);
    if (k == mLetztes && mLetztesZiel && w != mLetztesZiel && w->isAncestorOf(mLetztesZiel)) return false;
    mLetztes = k;
    mLetztesZiel = w;
    return mTaste(k->key(), k->modifiers());
  }

 private:
  QWidget* mF;
  std::function<bool(int, Qt::KeyboardModifiers)> mTaste;
  QKeyEvent* mLetztes = nullptr;
  QPointer<QWidget> mLetztesZiel;
};

constexpr Qt::KeyboardModifiers kUmschalttasten = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

}  // namespace

QObject* Tastenvorschau_einrichten(QWidget* fenster, std::function<bool(int, Qt::KeyboardModifiers)> taste) {
  return new Tastenfilter(fenster, std::move(taste));
}

double Ansicht_Skalierung(double dpi) {
  if (dpi <= 0) return 1.0;
  const double t = 1440.0 / dpi;
  return 2.0 - std::floor(t) / t;
}

Gruppenfilter::Gruppenfilter() {
  mBerechtigungen = Setting(1) == 2 && gBenutzerstufe != 2;
  mBerechtigung = u':' + gAnzeigeberechtigung;
  mGruppen = Anzeigegruppen_Anzahl() > 0;
  if (mGruppen) {
    const int g = gAnzeigegruppe + 1;
    const QString zeile = g >= 1 && g < gAnzeigegruppen.size() ? gAnzeigegruppen[g] : QString();
    const qsizetype p = zeile.indexOf(u'|');
    mGruppe = u':' + (p < 0 ? QString() : zeile.mid(p + 1));
  }
}

void Gruppenfilter::Überschrift(const QString& text) {
  if (mBerechtigungen) mErlaubt = mBerechtigung.contains(u':' + text + u':');
  if (mGruppen) mInGruppe = mGruppe.contains(u':' + text + u':');
}

Ansichtsrahmen::Ansichtsrahmen(QWidget* eltern, Rahmenwerte werte) : QDialog(eltern), mWerte(std::move(werte)) {
  setObjectName(mWerte.name);
  setWindowTitle(mWerte.titel);
  setModal(true);
  setSizeGripEnabled(true);
  setMouseTracking(true);
  setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);

  fraRahmen = new QGroupBox(this);
  fraRahmen->setObjectName(QStringLiteral("fraRahmen"));
  fraRahmen->installEventFilter(this);

  msgFlexGrid = new Rasteransicht(this);
  msgFlexGrid->setObjectName(QStringLiteral("msgFlexGrid"));
  msgFlexGrid->beiClick = [this] { msgFlexGrid_Click(); };
  msgFlexGrid->beiMouseMove = [this](const Rasteransicht::Mausereignis&) {
    // The wheel scrolls the grid under the pointer: it takes the focus unless the
    // user is typing into a box.
    if (!isActiveWindow()) return;
    QWidget* f = QApplication::focusWidget();
    if (f != msgFlexGrid && !qobject_cast<QLineEdit*>(f)) msgFlexGrid->setFocus();
  };

  cmdBlind = new QPushButton(this);
  cmdBlind->setObjectName(QStringLiteral("cmdBlind"));
  cmdBlind->setFocusPolicy(Qt::NoFocus);
  cmdBlind->setAutoDefault(false);
  cmdBlind->setFlat(true);
  cmdBlind->setGeometry(-20, -20, 1, 1);

  for (int i = 1; i <= 4; ++i) {
    if (mWerte.knöpfe[i].isEmpty()) continue;
    cmdAuswahl[i] = new QPushButton(mWerte.knöpfe[i], this);
    cmdAuswahl[i]->setObjectName(QStringLiteral("cmdAuswahl_%1").arg(i));
    cmdAuswahl[i]->setAutoDefault(false);
    connect(cmdAuswahl[i], &QPushButton::clicked, this, [this, i] { cmdAuswahl_Click(i); });
  }
  cmdAuswahl[mWerte.schließknopf]->installEventFilter(this);
  fraRahmen->setVisible(mWerte.rahmen);

  if (mWerte.gruppenauswahl) {
    cmbMitarbeitergruppen = new QComboBox(this);
    cmbMitarbeitergruppen->setObjectName(QStringLiteral("cmbMitarbeitergruppen"));
    cmbMitarbeitergruppen->hide();
    connect(cmbMitarbeitergruppen, &QComboBox::activated, this, [this] { cmbMitarbeitergruppen_Click(); });
  }
  if (mWerte.datumsfelder) {
    const QString texte[] = {QString(), QStringLiteral("&Von:"), QStringLiteral("&Bis:")};
    const QString sep = QRegularExpression::escape(gDatumstrennzeichen.left(1));
    for (int i = 1; i <= 2; ++i) {
      auto* feld = new QLineEdit(fraRahmen);
      feld->setObjectName(i == 1 ? QStringLiteral("txtVonDatum") : QStringLiteral("txtBisDatum"));
      feld->setMaxLength(10);
      feld->setValidator(new QRegularExpressionValidator(
          QRegularExpression(QStringLiteral("[0-9") + sep + QStringLiteral("]*")), feld));
      feld->installEventFilter(this);
      connect(feld, &QLineEdit::textChanged, this, [this] { Datumsfeld_Change(); });
      lblDatum[i] = new QLabel(texte[i], fraRahmen);
      lblDatum[i]->setBuddy(feld);
      (i == 1 ? txtVonDatum : txtBisDatum) = feld;
    }
  }
  if (mWerte.enterAlsTab) Enter_wie_Tab(this);
  mTastenfilter = Tastenvorschau_einrichten(
      this, [this](int taste, Qt::KeyboardModifiers umschalt) { return Form_KeyDown(taste, umschalt); });
  if (cmdAuswahl[1]) cmdAuswahl[1]->raise();
}

Ansichtsrahmen::~Ansichtsrahmen() = default;

void Ansichtsrahmen::Laden_beginnen() {
  if (!gSchnellesLesen) Sanduhr_Warten_ein();
  SetSchriftart(this);
  Raster& g = msgFlexGrid->raster();
  g.setBackColor(gGrundfarben[1]);
  g.setBackColorBkg(gGrundfarben[1]);
  g.setGridColor(gGrundfarben[6]);
  g.setGridColorFixed(gGrundfarben[6]);
  g.setRowHeightMin(std::min(gBenutzerwerte[32], 330));
}

void Ansichtsrahmen::Laden_beenden() {
  if (mWerte.platzierung > 0) Fenstergröße_wiederherstellen(this, mWerte.platzierung);
  Sanduhr_Warten_aus();
}

void Ansichtsrahmen::Anordnen() {
  if (mImAnordnen) return;
  mImAnordnen = true;
  const int b = tw(width()), h = tw(height());
  const double s = Ansicht_Skalierung(bildschirm::dpi());
  if (mWerte.rahmen) fraRahmen->setGeometry(px(240), px(60), px(b - 480), px(1110));
  if (txtVonDatum) {
    // The two dates one above the other, clear of the action button at every width.
    lblDatum[1]->setGeometry(px(240), px(300), px(600), px(330));
    txtVonDatum->setGeometry(px(840), px(300), px(1140), px(330));
    lblDatum[2]->setGeometry(px(240), px(690), px(600), px(330));
    txtBisDatum->setGeometry(px(840), px(690), px(1140), px(330));
  }
  const int gitterOben = mWerte.obererBlock - 885;
  msgFlexGrid->setGeometry(px(240), px(gitterOben), px((b - 480) * s), px(std::max(0, h - mWerte.obererBlock) * s));
  if (cmbMitarbeitergruppen)
    cmbMitarbeitergruppen->setGeometry(px(240), px(gitterOben - 375), cmbMitarbeitergruppen->width(), px(345));
  Knöpfe_anordnen(b, h);
  if (mWerte.namensspalte) {
    Ansichtsnamensspalte spalte(*this);
    Spaltenbreiten_anpassen(spalte, Datenbreite(), true);
  }
  mImAnordnen = false;
}

void Ansichtsrahmen::Knöpfe_anordnen(int b, int h) {
  cmdAuswahl[3]->setGeometry(px(b - 2055), px(h - 765), px(1815), px(450));
  cmdAuswahl[2]->setGeometry(px(240), px(h - 765), px(1815), px(450));
  if (mWerte.aktionVonRechts > 0)
    cmdAuswahl[1]->setGeometry(px(b - mWerte.aktionVonRechts), px(480), px(mWerte.aktionVonRechts - 480), px(450));
}

void Ansichtsrahmen::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Anordnen();
}

void Ansichtsrahmen::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  if (!isVisible() || isMinimized()) return;
  Prozedur(mWerte.name + QStringLiteral(" - Form_Resize"), [&] {
    const bool geändert = Gruppenauswahl_füllen();
    // The minimum client size, held by the toolkit and mended here for a size that
    // was set before the minimum.
    const QSize mindest(px(Mindestbreite()), px(mWerte.mindesthöhe));
    if (minimumSize() != mindest) setMinimumSize(mindest);
    if (width() < mindest.width() || height() < mindest.height()) {
      resize(std::max(width(), mindest.width()), std::max(height(), mindest.height()));
      return;
    }
    Anordnen();
    // A changed choice of groups shows the new group's rows; a mere resize keeps the
    // grid as it is, rows sorted out included.
    if (geändert) cmbMitarbeitergruppen_Click();
  });
}

bool Ansichtsrahmen::Gruppenauswahl_füllen() {
  if (!cmbMitarbeitergruppen) return false;
  const int anzahl = Anzeigegruppen_Anzahl();
  cmbMitarbeitergruppen->setVisible(gAnzeigegruppen.size() > 2 && anzahl > 0);
  if (anzahl == 0) return false;
  QStringList namen;
  for (int i = 1; i <= anzahl; ++i) {
    const QString& z = gAnzeigegruppen[i];
    namen << z.left(z.indexOf(u'|'));
  }
  if (gAnzeigegruppe < 0 || gAnzeigegruppe >= anzahl) gAnzeigegruppe = 0;
  QStringList vorher;
  for (int i = 0; i < cmbMitarbeitergruppen->count(); ++i) vorher << cmbMitarbeitergruppen->itemText(i);
  const bool geändert = vorher != namen || cmbMitarbeitergruppen->currentIndex() != gAnzeigegruppe;
  const QSignalBlocker sperre(cmbMitarbeitergruppen);
  if (vorher != namen) {
    cmbMitarbeitergruppen->clear();
    cmbMitarbeitergruppen->addItems(namen);
  }
  cmbMitarbeitergruppen->setCurrentIndex(gAnzeigegruppe);
  return geändert;
}

void Ansichtsrahmen::cmbMitarbeitergruppen_Click() {
  Prozedur(mWerte.name + QStringLiteral(" - cmbMitarbeitergruppen_Click"), [&] {
    if (!cmbMitarbeitergruppen || cmbMitarbeitergruppen->currentIndex() < 0) return;
    msgFlexGrid->raster().setTopRow(1);
    gAnzeigegruppe = cmbMitarbeitergruppen->currentIndex();
    if (!Datumsfelder_prüfen()) return;
    Anzeigen();
  });
}

bool Ansichtsrahmen::Datumsfelder_prüfen() {
  if (!txtVonDatum) return true;
  for (QLineEdit* feld : {txtVonDatum, txtBisDatum}) {
    LineEditTextfeld t(feld);
    if (!CheckDatum(t, true)) return false;
  }
  return true;
}

void Ansichtsrahmen::Datumsfeld_Change() {
  if (mImÄndern) return;
  auto* feld = qobject_cast<QLineEdit*>(sender());
  if (!AutoAnzeigen(this)) return;
  cmdAuswahl_Click(1);
  if (feld) feld->setCursorPosition(std::min<int>(8, static_cast<int>(feld->text().size())));
}

void Ansichtsrahmen::Datumsfeld_LostFocus(QLineEdit* feld) {
  if (mEntladen || !isVisible()) return;
  // The close button leaves a half-typed date alone, so a bad date never keeps the
  // user from closing.
  if (QApplication::focusWidget() == cmdAuswahl[mWerte.schließknopf]) return;
  LineEditTextfeld t(feld);
  if (!CheckDatum(t, true)) feld->setFocus();
}

bool Ansichtsrahmen::eventFilter(QObject* ziel, QEvent* e) {
  auto* feld = qobject_cast<QLineEdit*>(ziel);
  if (feld && (feld == txtVonDatum || feld == txtBisDatum)) {
    switch (e->type()) {
      case QEvent::FocusIn:
        msgFlexGrid->raster().setHighLight(0);
        QTimer::singleShot(0, feld, [feld] {
          if (feld->hasFocus()) feld->selectAll();
        });
        break;
      case QEvent::FocusOut: {
        const auto grund = static_cast<QFocusEvent*>(e)->reason();
        if (grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason) Datumsfeld_LostFocus(feld);
        break;
      }
      case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        const QString t = k->text();
        if (t.isEmpty() || (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) break;
        const QChar z = t.at(0);
        if (z == u',') {
          feld->insert(gDatumstrennzeichen.left(1));
          return true;
        }
        if (z.isDigit() || z == u'\b' || t == gDatumstrennzeichen.left(1)) break;
        if (z.unicode() < 32 || z.unicode() == 127) break;  // editing keys
        return true;
      }
      default:
        break;
    }
  } else if (ziel == cmdAuswahl[mWerte.schließknopf] && e->type() == QEvent::FocusOut) {
    if (gDatumsprüfungOffen) {
      gDatumsprüfungOffen = false;
      QTimer::singleShot(0, this, [this] { close(); });
    }
  } else if (ziel == fraRahmen && e->type() == QEvent::MouseButtonPress) {
    cmdBlind->setFocus();
  }
  return QDialog::eventFilter(ziel, e);
}

void Ansichtsrahmen::mouseMoveEvent(QMouseEvent* e) {
  if (QApplication::focusWidget() == msgFlexGrid) cmdBlind->setFocus();
  QDialog::mouseMoveEvent(e);
}

void Ansichtsrahmen::mousePressEvent(QMouseEvent* e) {
  cmdBlind->setFocus();
  QDialog::mousePressEvent(e);
}

void Ansichtsrahmen::msgFlexGrid_Click() {
  Prozedur(mWerte.name + QStringLiteral(" - msgFlexGrid_Click"), [&] {
    Raster& g = msgFlexGrid->raster();
    g.setHighLight(0);
    if (!mWerte.kopfsortierung || g.MouseRow() > 0) return;
    const int spalte = g.MouseCol();
    Sanduhr_Mauszeiger(true);
    g.setRedraw(false);
    if (mWerte.summenzeile && g.Rows() > 1 && g.TextMatrix(g.Rows() - 1, 0) == u"Gesamtsumme")
      g.RemoveItem(g.Rows() - 1);
    for (int r = g.Rows() - 1; r >= 1 && g.Rows() > 2; --r) {
      bool leer = true;
      for (int c = 1; c < g.Cols() && leer; ++c) leer = g.TextMatrix(r, c).isEmpty();
      if (leer) g.RemoveItem(r);
    }
    g.setCol(spalte);
    if (spalte == 0)
      g.Sort(Raster::TextAufsteigend);
    else
      g.Sort(mLetzteSortierung == spalte + 1 ? Raster::NumerischAufsteigend : Raster::NumerischAbsteigend);
    mLetzteSortierung = mLetzteSortierung == spalte + 1 ? 0 : spalte + 1;
    g.setTopRow(1);
    g.setRedraw(true);
    Sanduhr_Mauszeiger(false);
  });
}

bool Ansichtsrahmen::Form_KeyDown(int taste, Qt::KeyboardModifiers umschalt) {
  const Qt::KeyboardModifiers m = umschalt & kUmschalttasten;
  const bool ohne = m == Qt::NoModifier;
  if (mWerte.suche && (taste == Qt::Key_F3 || taste == Qt::Key_F4) && ohne) {
    Ansichtsraster raster(*this);
    Mitarbeiter_suchen_G(raster, taste == Qt::Key_F4, taste == Qt::Key_F4);
    return true;
  }
  if (mWerte.suche && taste == Qt::Key_F && m == Qt::ControlModifier) {
    Ansichtsraster raster(*this);
    Mitarbeiter_suchen_G(raster, true, false);
    return true;
  }
  if (mWerte.hilfe && taste == Qt::Key_F1 && ohne) {
    gAnsichtshaken.hilfe(this);
    return true;
  }
  if (taste == Qt::Key_F5 && ohne) {
    Neu_lesen();
    return true;
  }
  if (taste == Qt::Key_F12 && ohne) {
    CSV_exportieren();
    return true;
  }
  if (taste == Qt::Key_P && m == Qt::ControlModifier && mWerte.strgP) {
    Drucken(false);
    return true;
  }
  if (taste == Qt::Key_P && m == Qt::AltModifier) {
    Drucken(true);
    return true;
  }
  // Esc closes only the windows that say so.
  if (taste == Qt::Key_Escape && ohne) {
    if (mWerte.escSchließt) close();
    return true;
  }
  return false;
}

void Ansichtsrahmen::CSV_exportieren() { gAnsichtshaken.csv_export(this, CSV_Titel()); }

void Ansichtsrahmen::Drucken(bool schnell) {
  if (schnell) gAnsichtshaken.hauptfenster_tag(QStringLiteral("S"));
  cmdAuswahl_Click(mWerte.druckknopf);
}

void Ansichtsrahmen::cmdAuswahl_Click(int index) {
  switch (index) {
    case 1:
      if (Plausibilitätsprüfung()) Anzeigen();
      break;
    case 2:
      msgFlexGrid->raster().setHighLight(0);
      gDruckauftrag = mWerte.druckauftrag;
      gAnsichtshaken.druckdialog(this);
      break;
    case 3:
      close();
      break;
    default:
      break;
  }
}

void Ansichtsrahmen::closeEvent(QCloseEvent* e) {
  Entladen();
  QDialog::closeEvent(e);
}

void Ansichtsrahmen::done(int ergebnis) {
  Entladen();
  QDialog::done(ergebnis);
}

void Ansichtsrahmen::Entladen() {
  if (mEntladen) return;
  mEntladen = true;
  gAnsichtshaken.mausrad_lösen();
  const int n = mWerte.platzierung;
  if (n > 0) {
    gBenutzerwerte[n] = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    gBenutzerwerte[n + 1] = tw(pos().x());
    gBenutzerwerte[n + 2] = tw(pos().y());
    gBenutzerwerte[n + 3] = tw(width()) + Breitenzuschlag();
    gBenutzerwerte[n + 4] = tw(height());
  }
}

QLabel* Ansichtsrahmen::Beschriftung_anlegen(int nummer, const QString& text) {
  auto* l = new QLabel(text, this);
  l->setObjectName(QStringLiteral("lblBeschriftung_%1").arg(nummer));
  return l;
}
