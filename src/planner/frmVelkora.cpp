#include "planner/frmVelkora.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <cmath>

#include "config/frmAnAbwesenheitsgruende.h"
#include "launch/Programmstart.h"
#include "people/frmMitarbeiter.h"
#include "planner/Aenderungspruefung.h"
#include "planner/Dateibefehle.h"
#include "planner/Druckbefehle.h"
#include "planner/Hilfebefehle.h"
#include "planner/Markierung.h"
#include "planner/Mausrad.h"
#include "planner/Menuebefehle.h"
#include "planner/Monatsanzeige.h"
#include "planner/Schaltflaechenleiste.h"
#include "planner/Tabellenmaus.h"
#include "planner/Tagessummen.h"
#include "planner/Undo.h"
#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Umgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Ordner.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Velkoraini.h"
#include "widgets/Fensterhilfen.h"
#include "widgets/Kommentarfeld.h"
#include "widgets/Rasteransicht.h"

namespace {
frmVelkora* gHauptfenster = nullptr;

int px(double twips) { return bildschirm::twipsZuPixel(twips); }
int tw(int pixel) { return static_cast<int>(std::lround(bildschirm::pixelZuTwips(pixel))); }
QRect pxRechteck(const QRect& t) { return QRect(px(t.left()), px(t.top()), px(t.width()), px(t.height())); }

// Runs one statement of the layout or unload; a run-time error there is ignored and
// the next statement runs. A planned end of the program passes through.
template <class F>
void ignorieren(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    if (istProgrammende(e)) throw;
  }
}

// The client area: a plain widget that reports its size changes and background mouse events.
class Fensterfläche : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void()> beiGröße;
  std::function<void()> beiMausbewegung;
  std::function<void()> beiKlick;

 protected:
  void resizeEvent(QResizeEvent* e) override {
    QWidget::resizeEvent(e);
    if (beiGröße) beiGröße();
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    QWidget::mouseMoveEvent(e);
    if (beiMausbewegung) beiMausbewegung();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    QWidget::mouseReleaseEvent(e);
    if (beiKlick) beiKlick();
  }
};

// The month grid's name column as the column fitting sees it.
class Monatsnamensspalte : public Namensspaltenfenster {
 public:
  explicit Monatsnamensspalte(frmVelkora& f) : mF(f) {}
  bool Scrollbar_sichtbar() override { return mF.msgFlexGrid->senkrechteLaufleisteNötig(); }
  int Gitterbreite() override { return Gitterbreite_ohne_Laufleiste(mF.msgFlexGrid); }
  void Namensspalte_setzen(int twips) override { mF.msgFlexGrid->raster().setColWidth(0, twips); }
  QComboBox* Gruppenauswahl() override { return mF.cmbMitarbeitergruppen; }

 private:
  frmVelkora& mF;
};

QRect Bildschirmfläche() {
  if (QScreen* s = QGuiApplication::primaryScreen()) return s->availableGeometry();
  return QRect(0, 0, 1024, 768);
}

QRect Bildschirm_in_Twips() {
  const QRect b =
      QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1024, 768);
  return QRect(tw(b.left()), tw(b.top()), tw(b.width()), tw(b.height()));
}
}  // namespace

bool CheckSchriftart(const QString& name) { return QFontDatabase::families().contains(name, Qt::CaseSensitive); }

QString Darstellung_Meldung(double breiteTwips, double höheTwips) {
  if (breiteTwips >= 12000) return {};
  return QStringLiteral("Programmfenster zu groß für die Anzeigeeinstellungen Ihres Bildschirms.\r\r") +
         (breiteTwips > höheTwips
              ? QStringLiteral("Wählen Sie in der Systemsteuerung eine höhere Auflösung oder eine kleinere "
                               "Darstellung der Elemente")
              : QStringLiteral("Ändern Sie Ihre Bildschirmausrichtung auf Querformat"));
}

bool Platzierung_gültig(int links, int oben, const QRect& b) {
  // The top left corner must lie at least 4000 twips inside the screen's right and
  // bottom edges, and the caption must not lie above or far left of it.
  return links <= b.right() - 4000 && oben <= b.bottom() - 4000 && links >= b.left() - 4000 && oben >= b.top() - 240;
}

frmVelkora::frmVelkora() {
  gHauptfenster = this;
  setObjectName(QStringLiteral("frmVelkora"));
  setAttribute(Qt::WA_DeleteOnClose, false);

  auto* fläche = new Fensterfläche(this);
  fläche->setObjectName(QStringLiteral("Fensterfläche"));
  fläche->setMouseTracking(true);
  fläche->beiGröße = [this] { Form_Resize(); };
  fläche->beiMausbewegung = [this] { Form_MouseMove(); };
  fläche->beiKlick = [this] { Form_Click(); };
  mFläche = fläche;
  setCentralWidget(fläche);

  Menüs_anlegen();

  tabJahre = new QTabBar(fläche);
  tabJahre->setObjectName(QStringLiteral("tabJahre"));
  tabMonate = new QTabBar(fläche);
  tabMonate->setObjectName(QStringLiteral("tabMonate"));
  for (QTabBar* t : {tabJahre, tabMonate}) {
    t->setFocusPolicy(Qt::NoFocus);
    t->setExpanding(true);
    t->setDrawBase(false);
    t->setUsesScrollButtons(false);
    t->setElideMode(Qt::ElideNone);
  }
  // Only the user's click counts: filling the tabs or selecting one from code does
  // not run the handlers.
  connect(tabJahre, &QTabBar::tabBarClicked, this, [this](int i) {
    if (i < 0 || !tabJahre->isTabEnabled(i)) return;
    {
      const QSignalBlocker block(tabJahre);
      tabJahre->setCurrentIndex(i);
    }
    tabJahre_Click();
  });
  connect(tabMonate, &QTabBar::tabBarClicked, this, [this](int i) {
    if (i < 0 || !tabMonate->isTabEnabled(i)) return;
    {
      const QSignalBlocker block(tabMonate);
      tabMonate->setCurrentIndex(i);
    }
    mÄnderungsprüfung->zurücksetzen();
    tabMonate_Click();
  });

  cmbMitarbeitergruppen = new QComboBox(fläche);
  cmbMitarbeitergruppen->setObjectName(QStringLiteral("cmbMitarbeitergruppen"));
  cmbMitarbeitergruppen->hide();

  msgFlexKaWo = new Rasteransicht(fläche);
  msgFlexKaWo->setObjectName(QStringLiteral("msgFlexKaWo"));
  msgFlexGrid = new Rasteransicht(fläche);
  msgFlexGrid->setObjectName(QStringLiteral("msgFlexGrid"));
  msgFlexTaSu = new Rasteransicht(fläche);
  msgFlexTaSu->setObjectName(QStringLiteral("msgFlexTaSu"));
  for (Rasteransicht* g : {msgFlexKaWo, msgFlexTaSu}) {
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  msgFlexGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  msgFlexKaWo->raster().setRows(1);
  msgFlexKaWo->raster().setFixedRows(1);
  msgFlexKaWo->hide();
  msgFlexTaSu->hide();
  msgFlexGrid->beiMausVerlassen = [this] { Tabellenfeld_MouseOut(); };
  // A scroll bar that comes or goes changes the room for the columns.
  msgFlexGrid->beiSichtbreite = [this] { Namensspalte_einpassen(false); };
  // The group choice stands over the name header, in front of the grid.
  cmbMitarbeitergruppen->raise();
  msgFlexTaSu->beiMouseMove = [this](const Rasteransicht::Mausereignis&) { Tabellenfeld_MouseOut(); };
  Tabellenmaus_verbinden(*this);

  for (int i = 1; i <= 25; ++i) {
    auto* b = new QPushButton(fläche);
    b->setObjectName(QStringLiteral("cmdAuswahl_%1").arg(i));
    b->hide();
    cmdAuswahl[i] = b;
  }
  cmdBeenden = new QPushButton(QStringLiteral("Beenden"), fläche);
  cmdBeenden->setObjectName(QStringLiteral("cmdBeenden"));
  connect(cmdBeenden, &QPushButton::clicked, this, [this] { close(); });

  // The polling reloads the shown month when another workstation wrote it.
  mÄnderungsprüfung = std::make_unique<Änderungsprüfung>(this, [this] { Monat_neu_laden(); });
  tmrTimer2 = new QTimer(this);
  tmrTimer2->setInterval(1500);

  Kommentarfeld_anlegen(fläche, picKommentar, lblKommentar);

  Anzeige_verbinden();
  Befehle_verbinden();
  Hilfebefehle_verbinden(*this);
  Druckbefehle_verbinden(*this);
  // An employee table read again (another workstation changed it, a dialog wrote it)
  // may bring other rows, groups or name widths.
  mMitarbeiterAnmeldung = Nach_Mitarbeiterdaten_lesen_anmelden([this] { Form_Resize(); });
}

frmVelkora::~frmVelkora() {
  Nach_Mitarbeiterdaten_lesen_abmelden(mMitarbeiterAnmeldung);
  mÄnderungsprüfung.reset();
  if (gHauptfenster == this) gHauptfenster = nullptr;
}

frmVelkora* frmVelkora::instanz() { return gHauptfenster; }

QAction* frmVelkora::aktion(const QString& name) const {
  const auto it = mAktionen.find(name);
  return it == mAktionen.end() ? nullptr : it->second;
}

void frmVelkora::Menüs_anlegen() {
  struct Punkt {
    const char16_t* name;
    const char16_t* text;
  };
  const auto menü = [this](const char16_t* name, const QString& titel, std::initializer_list<Punkt> punkte) {
    QMenu* m = menuBar()->addMenu(titel);
    m->menuAction()->setObjectName(QString::fromUtf16(name));
    mAktionen[QString::fromUtf16(name)] = m->menuAction();
    for (const Punkt& p : punkte) {
      const QString name = QString::fromUtf16(p.name);
      QAction* a = p.text ? m->addAction(QString::fromUtf16(p.text)) : m->addSeparator();
      a->setObjectName(name);
      mAktionen[name] = a;
    }
  };
  menü(u"mnuDatei", QStringLiteral("&Datei"),
       {{u"mnuDatenordner_ändern", u"Datenordner &ändern ..."},
        {u"mnuDatenexport", u"Datenordner &exportieren ..."},
        {u"mnuDatenimport", u"Datenordner &importieren ..."},
        {u"mnuRecovery", u"Datenordner &wiederherstellen ..."},
        {u"mnuLeer1", nullptr},
        {u"mnuDrucken", u"&Drucken ..."},
        {u"mnuLeer2", nullptr},
        {u"mnuBeenden", u"&Beenden"}});
  menü(u"mnuBearbeiten", QStringLiteral("&Bearbeiten"),
       {{u"mnuMitarbeiter", u"&Mitarbeiter ..."},
        {u"mnuAnzeigeberechtigungen", u"Anzeige&berechtigungen ..."},
        {u"mnuAnzeigegruppen", u"Anzeige&gruppen ..."},
        {u"mnuAnAbwesenheitsgründe", u"&An-/Abwesenheitsgründe ..."},
        {u"mnuWochenende", u"&Wochenende ..."},
        {u"mnuFeiertage", u"&Feiertage ..."},
        {u"mnuAdministratoren", u"Ad&ministratoren ..."},
        {u"mnuPrivilegierteBenutzer", u"&Privilegierte Benutzer ..."},
        {u"mnuEinstellungen", u"&Einstellungen ..."}});
  menü(u"mnuAnsicht", QStringLiteral("&Ansicht"),
       {{u"mnuJahresübersicht", u"&Jahresübersicht ..."},
        {u"mnuUrlaubsübersicht", u"&Urlaubsübersicht ..."},
        {u"mnuRTTÜbersicht", u"S&onderurlaub ..."},
        {u"mnuSummenübersicht", u"&Summenübersicht ..."},
        {u"mnuLogbuch", u"&Logbuch ..."}});
  menü(u"mnuHelp", QStringLiteral("&?"), {{u"mnuHilfe", u"&Hilfe"}, {u"mnuInfo", u"&Info"}});
  // Every item starts enabled; an item whose window is not there yet never is.
  for (const auto& [name, a] : mAktionen) Menüpunkt_freigeben(name, true);
  // The items' commands and after-steps: Menuebefehle.cpp.
  Menübefehle_verbinden(*this);
}

// The list behind the window changed: undo steps and copied codes no longer fit.
void frmVelkora::mnuMitarbeiter_Click() { Menübefehl_ausführen(*this, QStringLiteral("mnuMitarbeiter")); }

// The buttons may have changed in number, width and meaning: the bar, the grid and the
// day sums are built anew from the table.
void frmVelkora::mnuAnAbwesenheitsgründe_Click() {
  Menübefehl_ausführen(*this, QStringLiteral("mnuAnAbwesenheitsgründe"));
}

void frmVelkora::mnuEinstellungen_Click() { Menübefehl_ausführen(*this, QStringLiteral("mnuEinstellungen")); }

void frmVelkora::mnuLogbuch_Click() { Menübefehl_ausführen(*this, QStringLiteral("mnuLogbuch")); }

void frmVelkora::Form_Load() {
  Prozedur(QStringLiteral("frmVelkora - Form_Load"), [&] {
    // The user's font, when this machine has it; else the program font, else the
    // design font.
    if (!gSchriftart.isEmpty() && !CheckSchriftart(gSchriftart)) {
      gSchriftart = QStringLiteral("Microsoft Sans Serif");
      if (!CheckSchriftart(gSchriftart)) gSchriftart.clear();
    }
    SetSchriftart(this);
    // Caption and menus.
    Titelzeile();
    setWindowTitle(gHauptfensterTitel);
    Menüpunkte_aktivieren();
    // After a start error no employee rows are shown.
    if (!gStartfehler.isEmpty()) {
      Mitarbeitertabelle_dimensionieren(1);
      gMitarbeiterNamen[1] = QStringLiteral("NoNames");
    }
    // A screen too small for the window ends the program with a hint.
    Darstellung_prüfen();
    // The placement the user left, when it is still on a screen; otherwise the default
    // size for the screen, centred.
    const int breite = gBenutzerwerte[4], höhe = gBenutzerwerte[5];
    const QRect bildschirmTwips = Bildschirm_in_Twips();
    if ((breite != 0 || höhe != 0) && Platzierung_gültig(gBenutzerwerte[2], gBenutzerwerte[3], bildschirmTwips)) {
      Platzierung_wiederherstellen();
    } else {
      const bool breiterBildschirm = bildschirmTwips.width() >= 16400;
      const int innenB = px(breiterBildschirm ? 16350 : 13980);
      const int innenH = px(breiterBildschirm ? 9435 : 9600);
      resize(innenB, innenH + menuBar()->sizeHint().height());
      const QRect b = Bildschirmfläche();
      move(b.left() + (b.width() - width()) / 2, b.top() + (b.height() - height()) / 2);
    }
    // Above 96 dpi the tabs, grids and the exit button get a larger font.
    gBildschirmDPI = static_cast<int>(std::lround(bildschirm::dpi()));
    gSkalierung = Skalierung_aus_DPI(gBildschirmDPI);
    if (gBildschirmDPI > 96) {
      for (QWidget* w :
           std::initializer_list<QWidget*>{tabJahre, tabMonate, msgFlexKaWo, msgFlexGrid, msgFlexTaSu, cmdBeenden}) {
        QFont f = w->font();
        f.setPointSize(10);
        w->setFont(f);
      }
    }
    // The year and month tabs, filled without running their handlers.
    {
      const QSignalBlocker b1(tabJahre), b2(tabMonate);
      while (tabJahre->count() > 0) tabJahre->removeTab(0);
      for (int j = 0; j < 3; ++j) tabJahre->addTab(QString::number(gPlanungsjahr + j));
      while (tabMonate->count() > 0) tabMonate->removeTab(0);
      const QStringList monate = {QStringLiteral("Januar"), QStringLiteral("Febr."),  QStringLiteral("März"),
                                  QStringLiteral("April"),  QStringLiteral("Mai"),    QStringLiteral("Juni"),
                                  QStringLiteral("Juli"),   QStringLiteral("August"), QStringLiteral("Sept."),
                                  QStringLiteral("Okt."),   QStringLiteral("Nov."),   QStringLiteral("Dez.")};
      for (const QString& m : monate) tabMonate->addTab(m);
      if (QLocale().monthName(1) == u"Jänner") tabMonate->setTabText(0, QStringLiteral("Jänner"));
      // The year of today is shown; a pending year change shows the first year.
      const int jahr = gJahreswechselOffen ? 0 : std::clamp(gHeute.year() - gPlanungsjahr, 0, 2);
      tabJahre->setCurrentIndex(jahr);
    }
    // The grids: calendar weeks, the month and the day sums; 31 centred day columns and
    // a hidden column 32.
    Raster& kw = msgFlexKaWo->raster();
    Raster& g = msgFlexGrid->raster();
    Raster& ts = msgFlexTaSu->raster();
    kw.setRowHeightMin(285);
    g.setRowHeight(0, 540);
    ts.setRowHeight(0, 0);
    g.setRow(0);
    kw.setCols(33);
    g.setCols(33);
    ts.setCols(32);
    for (Raster* r : {&kw, &g, &ts})
      for (int c = 0; c < r->Cols(); ++c) r->setColAlignment(c, Raster::LinksMitte);
    for (int c = 1; c <= 31; ++c) {
      g.setColAlignment(c, Raster::MitteMitte);
      g.setFixedAlignment(c, Raster::MitteMitte);
      ts.setColAlignment(c, Raster::MitteMitte);
    }
    g.setColWidth(32, 0);
    kw.setColWidth(32, 0);
    Tagessummen_initialisieren();
    // The user's own button width.
    Schaltflächenbreite_des_Benutzers();
    // The first month is shown as a click on its tab shows it: the month of today, or,
    // with a year change pending, January of the first year, the only one left open.
    // Its display also ends the start-up phase.
    {
      const int monat = gJahreswechselOffen || !gHeute.isValid() ? 0 : gHeute.month() - 1;
      {
        const QSignalBlocker b(tabMonate);
        tabMonate->setCurrentIndex(monat);
      }
      tabMonate_Click();
    }
    // After a start error or in a look back nothing can be entered: no code buttons,
    // and with a year change pending only the first year.
    if (!gStartfehler.isEmpty() || gRückblick) {
      if (gJahreswechselOffen) {
        const QSignalBlocker b(tabJahre);
        tabJahre->setCurrentIndex(0);
        tabJahre->setTabEnabled(1, false);
        tabJahre->setTabEnabled(2, false);
      }
      mNurLesen = true;
      for (int i = 1; i <= 25; ++i) cmdAuswahl[i]->hide();
    }
    // What this start wrote into a data folder it created, to tell at the end
    // whether anything was entered.
    if (gDatenordnerAngelegt) mAnfangsstand = Ordnerstand_erfassen(gDatenordner);
  });
}

void frmVelkora::Platzierung_wiederherstellen() {
  const int zustand = gBenutzerwerte[1];
  setGeometry(px(gBenutzerwerte[2]), px(gBenutzerwerte[3]), px(gBenutzerwerte[4]), px(gBenutzerwerte[5]));
  // A window saved minimised opens normal.
  mMaximiertZeigen = zustand == 2;
}

void frmVelkora::Fenster_zeigen() {
  if (mMaximiertZeigen)
    showMaximized();
  else
    show();
}

void frmVelkora::Darstellung_prüfen() {
  const QRect b = Bildschirm_in_Twips();
  const QString text = Darstellung_Meldung(b.width(), b.height());
  if (!text.isEmpty()) Programmabbruch(QString(), text, QStringLiteral("NoLog"));
}

int frmVelkora::Fensterzustand() const {
  if (isMinimized()) return 1;
  if (isMaximized()) return 2;
  return 0;
}

void frmVelkora::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange) Form_Resize();
  if (e->type() == QEvent::ActivationChange && !isActiveWindow()) mImHintergrund = true;
}

void frmVelkora::Form_Resize() {
  if (!isVisible() || isMinimized()) return;
  if (mImLayout) {
    mLayoutNochmals = true;
    return;
  }
  mImLayout = true;
  Raster& g = msgFlexGrid->raster();
  Raster& ts = msgFlexTaSu->raster();
  // A screen too small for the window ends the program with a hint.
  ignorieren([&] { Darstellung_prüfen(); });
  // The grid colours of the configuration.
  ignorieren([&] {
    g.setBackColor(gGrundfarben[1]);
    g.setBackColorBkg(gGrundfarben[1]);
    g.setGridColor(gGrundfarben[6]);
    g.setGridColorFixed(gGrundfarben[6]);
    // The calendar-week strip looks like the grid's header below it.
    Raster& kw = msgFlexKaWo->raster();
    kw.setBackColor(gGrundfarben[1]);
    kw.setBackColorBkg(gGrundfarben[1]);
    kw.setBackColorFixed(g.BackColorFixed());
    kw.setGridColor(gGrundfarben[6]);
    kw.setGridColorFixed(gGrundfarben[6]);
  });
  // Row height: the user's height, when none is set yet or a reset is asked for.
  ignorieren([&] {
    if (g.RowHeightMin() == 0 || gBenutzerwerte[33] == 1) {
      const int h = gBenutzerwerte[32] > 0 ? gBenutzerwerte[32] : 300;
      g.setRowHeightMin(h);
      ts.setRowHeightMin(h);
      if (g.Rows() > 1) gBenutzerwerte[32] = g.RowHeight(1);
    }
  });
  ignorieren([&] { Tagessummen_initialisieren(); });
  // The group choice only when there is a choice.
  ignorieren([&] { Anzeigegruppen_füllen(); });
  // The code buttons shown.
  std::vector<QPushButton*> sichtbar;
  ignorieren([&] { sichtbar = Schaltflächen_setzen(); });
  // The layout of buttons and grids for the window's size (Hauptfensterlayout.h).
  const int h = gBenutzerwerte[25] != 0 && !msgFlexTaSu->isHidden() ? std::max(tw(msgFlexTaSu->height()) - 30, 0) : 0;
  Layouteingabe ein;
  ein.innenBreite = tw(mFläche->width());
  ein.innenHöhe = tw(mFläche->height());
  ein.bildschirmBreite = Bildschirm_in_Twips().width();
  ein.normalZustand = Fensterzustand() == 0;
  ein.knöpfe = static_cast<int>(sichtbar.size());
  ein.sfBreite = gSFBreite;
  ein.skalierung = gSkalierung;
  ein.tagessummenHöhe = h;
  ein.kalenderwochen = gBenutzerwerte[28] != 0;
  mLayout = Hauptfenster_anordnen(ein);
  const Layoutergebnis& l = mLayout;
  gSFBreite = l.sfBreite;  // 1800 when the screen is too narrow for wider buttons
  ignorieren([&] {
    // The window is held at its minimum by the toolkit, not by resizing it here.
    if (ein.normalZustand) mFläche->setMinimumSize(px(l.mindestBreite), px(l.mindestHöhe));
    for (size_t i = 0; i < sichtbar.size(); ++i) sichtbar[i]->setGeometry(pxRechteck(l.knopf[i]));
    Schaltflächenschrift_setzen(sichtbar, l.sfBreite);
    cmdBeenden->setGeometry(pxRechteck(l.beenden));
  });
  ignorieren([&] {
    Raster& kw = msgFlexKaWo->raster();
    // Day columns of whole pixels: 31 columns rounded up one by one would outgrow the grid.
    const int tagPixel = static_cast<int>(l.tagesspalte * bildschirm::dpi() / 1440.0);
    const int tag = tw(tagPixel);
    for (Raster* r : {&g, &kw, &ts}) {
      r->setColWidth(0, l.namensspalte);
      for (int c = 1; c <= 31; ++c) r->setColWidth(c, tag);
    }
    // Day headers in two lines when the columns are wide, or too narrow for weekday
    // and day side by side in the header font; the header row grows to hold them.
    mZweizeiligerKopf = l.zweizeiligerKopf || !Einzeiliger_Tageskopf_passt(msgFlexGrid->font(), tagPixel);
    g.setRowHeight(0, Kopfzeilenhöhe(msgFlexGrid->font(), mZweizeiligerKopf));
    for (int c = 1; c <= 31 && c < g.Cols(); ++c) {
      QString t = g.TextMatrix(0, c);
      if (mZweizeiligerKopf)
        t.replace(u' ', QStringLiteral("\r"));
      else
        t.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ');
      g.setTextMatrix(0, c, t);
    }
    if (!l.kalenderwochen.isEmpty()) {
      msgFlexKaWo->setGeometry(pxRechteck(l.kalenderwochen));
      msgFlexKaWo->show();
    } else {
      msgFlexKaWo->hide();
    }
    msgFlexGrid->setGeometry(pxRechteck(l.raster));
    cmbMitarbeitergruppen->setGeometry(px(255), px(l.kombiOben), cmbMitarbeitergruppen->width(),
                                       cmbMitarbeitergruppen->sizeHint().height());
  });
  mTabellenhöhe = l.tabellenhöhe;
  // The grid heights for the rows to show.
  ignorieren([&] { Tabellenfelder_anordnen(true); });
  // A resize restarts the polling schedule.
  mÄnderungsprüfung->zurücksetzen();
  mImLayout = false;
  if (mLayoutNochmals) {
    mLayoutNochmals = false;
    Form_Resize();
  }
}

void frmVelkora::Tabellenfelder_anordnen(bool voll) {
  Prozedur(QStringLiteral("frmVelkora - Tabellenfelder_anordnen"), [&] {
    Raster& g = msgFlexGrid->raster();
    Raster& ts = msgFlexTaSu->raster();
    int summenzeilen = 0;
    if (gBenutzerwerte[25] != 0)
      for (int r = 1; r < ts.Rows(); ++r)
        if (ts.RowHeight(r) != 0) ++summenzeilen;
    Tabelleneingabe ein;
    ein.tabellenhöhe = mTabellenhöhe;
    ein.kopfhöhe = g.RowHeight(0);
    ein.zeilen = g.Rows();
    ein.zeilenhöhe = gBenutzerwerte[32] > 0 ? gBenutzerwerte[32] : 300;
    // Without a full recalculation the rows keep the height they have.
    if (!voll && g.RowHeightMin() > 0) ein.zeilenhöhe = g.RowHeightMin();
    ein.neuBerechnen = voll;
    ein.zurücksetzen = gBenutzerwerte[33] == 1;
    ein.summenzeilen = summenzeilen;
    ein.tagesspalte = g.Cols() > 1 ? g.ColWidth(1) : 360;
    ein.twipsProPixel = 1440.0 / bildschirm::dpi();
    ein.rahmen = tw(2 * msgFlexGrid->frameWidth());
    const Tabellenergebnis t = Tabellenhöhen_berechnen(ein);
    if (voll && !ein.zurücksetzen) {
      g.setRowHeightMin(t.zeilenhöhe);
      ts.setRowHeightMin(t.zeilenhöhe);
    }
    // The visible sum rows are as high as the employee rows.
    if (summenzeilen > 0)
      for (int r = 1; r < ts.Rows(); ++r)
        if (ts.RowHeight(r) != 0) ts.setRowHeight(r, t.zeilenhöhe);
    // mTabellenhöhe stays the room Form_Resize gave: a month with more rows after one
    // with fewer is laid out in the whole room again, not in what the rows took.
    const QRect raster = msgFlexGrid->geometry();
    msgFlexGrid->resize(raster.width(), px(t.rasterhöhe));
    if (summenzeilen > 0) {
      msgFlexTaSu->setGeometry(raster.left(), raster.top() + px(t.summenOben), raster.width(), px(t.summenhöhe));
      msgFlexTaSu->show();
    } else {
      msgFlexTaSu->hide();
    }
    Namensspalte_einpassen(voll);
    mAnzeige->zeilenLetztesLayout = g.Rows();
    // The wheel scrolls the grid while it has more rows than it shows.
    ScrollbarIsVisible(*this, *msgFlexGrid);
  });
}

void frmVelkora::Namensspalte_einpassen(bool erzwingen) {
  Raster& g = msgFlexGrid->raster();
  Raster& ts = msgFlexTaSu->raster();
  Raster& kw = msgFlexKaWo->raster();
  if (g.Cols() < 32) return;
  Monatsnamensspalte spalte(*this);
  Spaltenbreiten_anpassen(spalte, 31 * g.ColWidth(1), erzwingen);
  if (kw.Cols() > 0) kw.setColWidth(0, g.ColWidth(0));
  if (ts.Cols() > 0) ts.setColWidth(0, g.ColWidth(0));
  // Tabs over the name column and over the days.
  const int name = g.ColWidth(0);
  const int tage = 31 * g.ColWidth(1);
  tabJahre->setGeometry(px(240), px(60), px(std::max(name - 60, 0)), px(405));
  int links = name + 270;
  if (gBildschirmDPI != 96) links -= static_cast<int>((gSkalierung - 1) * name + 15);
  tabMonate->setGeometry(px(links), px(60), px(tage), px(405));
}

void frmVelkora::Tabellenfeld_MouseOut() {
  Prozedur(QStringLiteral("frmVelkora - Tabellenfeld_MouseOut"), [&] {
    // Off the grid the wheel no longer scrolls it.
    if (gMausradAktiv && QApplication::focusWidget() == msgFlexGrid) tabMonate->setFocus();
    if (gMauszelle == 0) return;
    // The hover highlight goes with the pointer; a marking keeps its row highlighted.
    if (gBenutzerwerte[22] > 1 && msgFlexGrid->raster().HighLight() == 0) Highlight_Off();
    picKommentar->hide();
    gMauszelle = 0;
  });
}

void frmVelkora::Form_MouseMove() { Tabellenfeld_MouseOut(); }

void frmVelkora::Form_Click() {
  // A click beside the grid removes the marking.
  Markierung_aufheben();
  msgFlexGrid->setFocus();
}

void frmVelkora::Tagessummen_initialisieren() { Tagessummen_einrichten(*msgFlexTaSu, msgFlexGrid->raster()); }

bool frmVelkora::Standarddatenordner_unberührt() const {
  if (!mAnfangsstand) return false;
  const std::optional<Ordnerstand> jetzt = Ordnerstand_erfassen(gDatenordner);
  return jetzt && *jetzt == *mAnfangsstand;
}

void frmVelkora::Form_Unload() {
  if (mEntladen) return;
  mEntladen = true;
  // Placement, in twips.
  ignorieren([&] {
    const int zustand = Fensterzustand();
    const QRect r = zustand == 0 ? geometry() : normalGeometry();
    gBenutzerwerte[1] = zustand;
    gBenutzerwerte[2] = tw(r.left());
    gBenutzerwerte[3] = tw(r.top());
    gBenutzerwerte[4] = tw(r.width());
    gBenutzerwerte[5] = tw(r.height());
  });
  // Whether the default data folder created by this start is still as the start
  // wrote it; decided before anything of this end writes into it.
  bool standard = false, entfernen = false;
  ignorieren([&] {
    standard = gDatenordnerAngelegt && !gRückblick &&
               gDatenordner.toLower() == (gBasisordner + QStringLiteral("Data/")).toLower() &&
               Verzeichnis_vorhanden(gDatenordner);
    entfernen = standard && Standarddatenordner_unberührt();
  });
  // A look back removes its read-only copy of the backup; otherwise the user's
  // settings are saved.
  if (gRückblick) {
    ignorieren([&] { Rückblickordner_entfernen(); });
  } else if (!entfernen) {
    // An untouched folder is removed below, so no per-user file is written into it.
    ignorieren([&] { Velkoraini_schreiben(); });
  }
  ignorieren([&] { UnHook(); });
  // The untouched default data folder goes again, with the pointer file unless that
  // points to a previous folder; a kept default folder forgets the previous one.
  if (entfernen) {
    ignorieren([&] {
      QDir::setCurrent(umgebung::tempOrdner());
      QDir(gDatenordner).removeRecursively();
      if (gDatenordnerAlt.isEmpty()) Velkoradat_löschen(false);
    });
  } else if (standard && !gDatenordnerAlt.isEmpty()) {
    ignorieren([&] {
      gDatenordnerAlt.clear();
      Velkoradat_schreiben();
    });
  }
  // Every other window.
  ignorieren([&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != this && w->isVisible()) w->close();
  });
  // No data folder stays in use.
  ignorieren([&] { QDir::setCurrent(umgebung::tempOrdner()); });
}

void frmVelkora::closeEvent(QCloseEvent* e) {
  Form_Unload();
  e->accept();
  QApplication::quit();
}

void Hauptfenster_laden() {
  if (!gHauptfenster) new frmVelkora();
  gHauptfenster->Form_Load();
}

void Hauptfenster_zeigen() {
  if (gHauptfenster) gHauptfenster->Fenster_zeigen();
}

void Hauptfenster_entladen() {
  if (gHauptfenster) gHauptfenster->Form_Unload();
}
