#include "views/frmLogbuch.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QValidator>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "platform/Bildschirm.h"
#include "platform/Cp1252.h"
#include "platform/Dialoge.h"
#include "platform/Laufzeitfehler.h"
#include "printing/Logbuchdruck.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "widgets/Fensterhilfen.h"
#include "widgets/Kommentarfeld.h"
#include "widgets/Rasteransicht.h"

namespace {

const QString kName = QStringLiteral("frmLogbuch");
const QString kAdmin = QStringLiteral("VelkoraAdmin");
const QString kKeinEintrag = QStringLiteral("Kein Eintrag vorhanden");
constexpr int kSpalten = 8;
// The user log's widths of the columns before the comment, twips; the comment takes
// the rest of the grid. The administration log keeps the first three and gives the
// rest to the action.
constexpr int kBreiten[6] = {900, 630, 1440, 1440, 1560, 1740};
constexpr int kVorKommentar = kBreiten[0] + kBreiten[1] + kBreiten[2] + kBreiten[3] + kBreiten[4] + kBreiten[5];
constexpr int kVorAktion = kBreiten[0] + kBreiten[1] + kBreiten[2];
// Pending window events run after this many entries of the user-log fill.
constexpr int kEreignisschritt = 5000;

int px(double twips) { return bildschirm::twipsZuPixel(twips); }
int tw(int pixel) { return static_cast<int>(std::lround(bildschirm::pixelZuTwips(pixel))); }

Rahmenwerte Logbuchwerte() {
  Rahmenwerte w;
  w.name = kName;
  w.titel = QStringLiteral("Velkora - Logbuch");
  w.platzierung = 16;
  w.mindesthöhe = 6720;
  w.obererBlock = 3075;
  w.aktionVonRechts = 2610;
  w.druckauftrag = QStringLiteral("LB");
  w.datumsfelder = true;
  w.enterAlsTab = true;
  w.escSchließt = true;
  w.namensspalte = false;
  w.knöpfe = {QString(), QStringLiteral("&Logbuch anzeigen"), QStringLiteral("&Drucken ..."),
              QStringLiteral("&Schließen")};
  return w;
}

// A filter box takes only what Windows-1252 holds.
class Eingabefilter : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& text, int&) const override { return cp1252::eingabeZulässig(text) ? Acceptable : Invalid; }
};

// The period of a user entry: both ddmmyy fields in the display form.
QString Zeitraum(const Logbucheintrag& e) {
  const auto anzeige = [](const QString& ttmmjj) {
    // Six characters are the day, month and year as they stand; turned round into the
    // stored order only for anything else.
    if (ttmmjj.size() == 6) {
      const QStringView v(ttmmjj);
      return In_Datumsreihenfolge(v.left(2), v.mid(2, 2), v.mid(4, 2), gDatumstrennzeichen);
    }
    return FormatDatumSA(ttmmjj.mid(4, 2) + ttmmjj.mid(2, 2) + ttmmjj.left(2));
  };
  return anzeige(e.VonDatum) + QStringLiteral(" - ") + anzeige(e.BisDatum);
}

struct Zeigerpaarhash {
  size_t operator()(const std::pair<const QChar*, const QChar*>& p) const noexcept {
    return std::hash<const void*>()(p.first) * 31 + std::hash<const void*>()(p.second);
  }
};

bool Gleich(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}  // namespace

frmLogbuch::frmLogbuch(QWidget* eltern) : Ansichtsrahmen(eltern, Logbuchwerte()) {
  fraRahmen->setTitle(QStringLiteral("Logbuch anzeigen"));
  optLogbuch[1] = new QRadioButton(QStringLiteral("&Benutzerlogbuch"), fraRahmen);
  optLogbuch[2] = new QRadioButton(QStringLiteral("&Administrationslogbuch"), fraRahmen);
  for (int i = 1; i <= 2; ++i) {
    optLogbuch[i]->setObjectName(QStringLiteral("optLogbuch_%1").arg(i));
    optLogbuch[i]->installEventFilter(this);
    // Clicking the chosen view again starts it afresh, as choosing it does.
    connect(optLogbuch[i], &QRadioButton::clicked, this, [this] { optLogbuch_Click(); });
  }
  optLogbuch[1]->setChecked(true);
  lblBeschriftung[1] = lblDatum[1];
  lblBeschriftung[2] = lblDatum[2];
  lblBeschriftung[1]->setText(QStringLiteral("von"));
  lblBeschriftung[2]->setText(QStringLiteral("bis"));
  txtVonDatum->setMaxLength(8);
  txtBisDatum->setMaxLength(8);
  lblBeschriftung[3] = new QLabel(QStringLiteral("Eintrag von Benutzer"), fraRahmen);
  lblBeschriftung[4] = new QLabel(QStringLiteral("Eintrag für Benutzer"), fraRahmen);
  const auto box = [this](const char* name, QString* liste) {
    auto* b = new QComboBox(fraRahmen);
    b->setObjectName(QString::fromLatin1(name));
    b->setEditable(true);
    b->setInsertPolicy(QComboBox::NoInsert);
    // The window completes a name itself, from its own list.
    b->setCompleter(nullptr);
    b->lineEdit()->setValidator(new Eingabefilter(b));
    connect(b, &QComboBox::editTextChanged, this, [this, b, liste] { ComboBox_Benutzer_suchen(b, *liste); });
    connect(b, &QComboBox::activated, this, [this] {
      if (Plausibilitätsprüfung()) Logbuch_anzeigen();
      mSuchtext.clear();
    });
    return b;
  };
  cmbBenutzerID1 = box("cmbBenutzerID1", &Benutzerliste1);
  cmbBenutzerID2 = box("cmbBenutzerID2", &Benutzerliste2);
  cmbBenutzerID3 = box("cmbBenutzerID3", &Benutzerliste3);
  lblBeschriftung[3]->setBuddy(cmbBenutzerID1);
  lblBeschriftung[4]->setBuddy(cmbBenutzerID2);
  cmbBenutzerID3->hide();

  Kommentarfeld_anlegen(this, picKommentar, lblKommentar);

  // The printout reads the grid as it is shown.
  gLogbuchdruckquelle.gitter = [this]() -> const Raster& { return msgFlexGrid->raster(); };

  msgFlexGrid->beiClick = [this] { msgFlexGrid_Kopfklick(); };
  msgFlexGrid->beiDblClick = [this] { msgFlexGrid_DblClick(); };
  msgFlexGrid->beiMouseDown = [this](const Rasteransicht::Mausereignis& m) {
    msgFlexGrid_MouseDown(m.knopf, m.umschalt);
  };
  msgFlexGrid->beiMouseMove = [this, fokus = msgFlexGrid->beiMouseMove](const Rasteransicht::Mausereignis& m) {
    if (!isActiveWindow()) {
      gAnsichtshaken.mausrad_lösen();
      return;
    }
    if (fokus) fokus(m);
    msgFlexGrid_MouseMove();
  };
  msgFlexGrid->beiMausVerlassen = [this] { mMauszelle = -1; };
  // Every key of the window: the pop-up box goes, and the completion remembers whether
  // the key erased.
  Tastenvorschau_einrichten(this, [this](int taste, Qt::KeyboardModifiers) {
    picKommentar->hide();
    mLöschtaste = taste == Qt::Key_Backspace || taste == Qt::Key_Clear;
    return false;
  });
}

frmLogbuch::~frmLogbuch() { gLogbuchdruckquelle = {}; }

void frmLogbuch::Form_Load() {
  Prozedur(kName + QStringLiteral(" - Form_Load"), [&] {
    Sanduhr_Warten_ein();
    Laden_beginnen();
    Raster& g = msgFlexGrid->raster();
    g.setCols(kSpalten);
    g.setRows(1);
    g.setFixedRows(1);
    g.setFixedCols(0);
    g.setRowHeight(0, 285);
    const QString köpfe[kSpalten] = {QStringLiteral("Datum"),        QStringLiteral("Uhrzeit"),
                                     QStringLiteral("Von Benutzer"), QStringLiteral("Für Benutzer"),
                                     QStringLiteral("Eintrag"),      QStringLiteral("Zeitraum"),
                                     QStringLiteral("Kommentar"),    QStringLiteral("Aktion")};
    for (int c = 0; c < kSpalten; ++c) {
      g.setTextMatrix(0, c, köpfe[c]);
      g.setColWidth(c, c < 6 ? kBreiten[c] : c == 6 ? 3000 : 0);
      const int a = c <= 1 ? Raster::MitteMitte : Raster::LinksMitte;
      g.setColAlignment(c, a);
      g.setFixedAlignment(c, a);
    }
    resize(px(11475), px(9315));
    setMinimumSize(px(Mindestbreite()), px(werte().mindesthöhe));
    if (Setting(3) != 0 && gBenutzerstufe == 0) optLogbuch[2]->setEnabled(false);
    if (Setting(3) == 2 && gBenutzerstufe == 0) {
      cmbBenutzerID1->setEnabled(false);
      cmbBenutzerID2->setEnabled(false);
    }
    Logbuchzeilen = Logbuch_lesen();
    Laden_beenden();
  });
}

void frmLogbuch::showEvent(QShowEvent* e) {
  Ansichtsrahmen::showEvent(e);
  if (mAktiviert) return;
  mAktiviert = true;
  QTimer::singleShot(0, this, [this] { Form_Activate(); });
}

void frmLogbuch::Form_Activate() {
  Prozedur(kName + QStringLiteral(" - Form_Activate"), [&] {
    if (cmbBenutzerID1->count() > 0) return;
    repaint();
    if (Logbuchzeilen.size() < 2 || Logbuchzeilen[1] == u"NoLog") {
      Meldung(QStringLiteral("Kein Logbuch vorhanden"));
      close();
      return;
    }
    Logbucheinträge = Logbucheinträge_zerlegen(Logbuchzeilen);
    optLogbuch[1]->setChecked(true);
    optLogbuch_Click();
    Sanduhr_Mauszeiger(true);
    const Benutzerlisten listen = Benutzerlisten_füllen(Logbucheinträge);
    Benutzerliste1 = listen.liste1.liste();
    Benutzerliste2 = listen.liste2.liste();
    Benutzerliste3 = listen.liste3.liste();
    const std::pair<QComboBox*, const Benutzerliste*> boxen[] = {
        {cmbBenutzerID1, &listen.liste1}, {cmbBenutzerID2, &listen.liste2}, {cmbBenutzerID3, &listen.liste3}};
    for (const auto& [b, l] : boxen) {
      const QSignalBlocker sperre(b);
      const QString text = b->currentText();
      b->addItem(QString());
      b->addItems(l->sortiert());
      b->setCurrentIndex(-1);
      b->setEditText(text);
    }
    Sanduhr_Mauszeiger(false);
  });
}

bool frmLogbuch::Benutzerlogbuch_gewählt() const { return !optLogbuch[2]->isChecked(); }
const Raster& frmLogbuch::Raster_anzeige() const { return msgFlexGrid->raster(); }
QString frmLogbuch::Von_Datum() const { return txtVonDatum->text(); }
QString frmLogbuch::Bis_Datum() const { return txtBisDatum->text(); }

QString frmLogbuch::CSV_Titel() const {
  return Benutzerlogbuch_gewählt() ? QStringLiteral("Benutzerlogbuch") : QStringLiteral("Administrationslogbuch");
}

void frmLogbuch::optLogbuch_Click() {
  Prozedur(kName + QStringLiteral(" - optLogbuch_Click"), [&] {
    {
      // The display follows once below, not from the boxes' own completion.
      const QSignalBlocker a(txtVonDatum), b(txtBisDatum);
      txtVonDatum->setText(FormatDatumDA(gHeute.addDays(-30)));
      txtBisDatum->setText(FormatDatumDA(gHeute));
    }
    repaint();
    for (QComboBox* b : {cmbBenutzerID1, cmbBenutzerID2, cmbBenutzerID3}) {
      const QSignalBlocker sperre(b);
      b->setCurrentIndex(-1);
      b->setEditText(QString());
    }
    Logbuch_anzeigen();
  });
}

bool frmLogbuch::Plausibilitätsprüfung() {
  return Prozedur(kName + QStringLiteral(" - Plausibilitätsprüfung"), [&] {
    if (txtVonDatum->text().isEmpty() || txtBisDatum->text().isEmpty()) return true;
    // A half-typed date is the date check's to report, never a conversion error.
    if (!Datumsfelder_prüfen()) return false;
    if (FormatDatumAD(txtBisDatum->text()) < FormatDatumAD(txtVonDatum->text())) {
      Meldung(QStringLiteral("'Von-Datum' ist größer als 'Bis-Datum'"));
      txtVonDatum->setFocus();
      return false;
    }
    return true;
  });
}

void frmLogbuch::Titel_setzen(bool mitAnzahl) {
  QString t = QStringLiteral("Velkora - Logbuch");
  if (mitAnzahl) {
    const int n = msgFlexGrid->raster().Rows() - 1;
    t += QStringLiteral(" - ") + QString::number(n) +
         (n == 1 ? QStringLiteral(" Datensatz") : QStringLiteral(" Datensätze"));
  }
  setWindowTitle(t);
}

void frmLogbuch::Logbuch_anzeigen() {
  Prozedur(kName + QStringLiteral(" - Logbuch_anzeigen"), [&] {
    if (Logbucheinträge.size() < 2) return;  // before the first activation
    if (gLangsamesNetz) Titel_setzen(false);
    {
      const QSignalBlocker a(txtVonDatum), b(txtBisDatum);
      if (txtVonDatum->text().isEmpty()) txtVonDatum->setText(FormatDatumDA(QDate(gPlanungsjahr, 1, 1)));
      if (txtBisDatum->text().isEmpty()) txtBisDatum->setText(FormatDatumDA(gHeute));
    }
    mFilterVon = FormatDatumAD(txtVonDatum->text());
    mFilterBis = FormatDatumAD(txtBisDatum->text());
    cmdAuswahl[2]->setEnabled(true);
    Sanduhr_ein();
    Raster& g = msgFlexGrid->raster();
    g.setHighLight(0);
    g.setRows(1);
    mKeinEintrag = false;
    mSortiert = 0;
    repaint();
    g.setRedraw(false);
    if (Benutzerlogbuch_gewählt())
      Benutzerlogbuch_anzeigen();
    else
      Adminlogbuch_anzeigen();
    g.setRedraw(true);
    gAnsichtshaken.mausrad_prüfen(*this, *msgFlexGrid);
    if (g.Rows() > 1) g.setTopRow(g.Rows() - 1);
    Sanduhr_aus();
    if (g.Rows() > 1) {
      Titel_setzen(true);
      return;
    }
    g.setRows(2);
    for (int c = 0; c < g.Cols(); ++c) g.setTextMatrix(1, c, kKeinEintrag);
    g.setMergeCells(true);
    g.setMergeRow(1, true);
    mKeinEintrag = true;
    dialoge::dienst().piepen();
    Titel_setzen(false);
    cmdAuswahl[2]->setEnabled(false);
  });
}

void frmLogbuch::Benutzerlogbuch_anzeigen() {
  Prozedur(kName + QStringLiteral(" - Benutzerlogbuch_anzeigen"), [&] {
    cmbBenutzerID1->show();
    cmbBenutzerID2->show();
    lblBeschriftung[4]->show();
    cmbBenutzerID3->hide();
    lblBeschriftung[3]->setBuddy(cmbBenutzerID1);
    Raster& g = msgFlexGrid->raster();
    g.setTextMatrix(0, 2, QStringLiteral("Von Benutzer"));
    for (int c = 0; c < 6; ++c) g.setColWidth(c, kBreiten[c]);
    g.setColWidth(7, 0);
    Spalten_anpassen();
    if (Setting(3) == 2 && gBenutzerstufe == 0) {
      const QSignalBlocker sperre(cmbBenutzerID2);
      cmbBenutzerID2->setEditText(gBenutzername);
      cmbBenutzerID2->lineEdit()->setCursorPosition(0);
    }
    const QString von = cmbBenutzerID1->currentText(), für = cmbBenutzerID2->currentText();
    const bool verbergen = gSFVerborgen > 0 && gBenutzerstufe == 0;
    const QString verborgen = verbergen ? gSFTexte.value(gSFVerborgen) : QString();
    const int n = static_cast<int>(Logbucheinträge.size()) - 1;
    // The rows are counted first and the grid grows once: the capacity error then
    // names the row that did not fit, and the rows that fit stay.
    std::vector<int> zeigen;
    for (int i = 1; i <= n; ++i) {
      const Logbucheintrag& e = Logbucheinträge[static_cast<size_t>(i)];
      if (i % kEreignisschritt == 0) QApplication::processEvents();
      if (e.Datum < mFilterVon || e.Datum > mFilterBis || !e.Datum.isValid()) continue;
      if (e.FürBenutzer == kAdmin) continue;
      if (!von.isEmpty() && !Gleich(von, e.VonBenutzer)) continue;
      if (!für.isEmpty() && !Gleich(für, e.FürBenutzer)) continue;
      if (verbergen && Gleich(e.Eintrag, verborgen) && !Gleich(e.FürBenutzer, gBenutzername)) continue;
      zeigen.push_back(i);
    }
    const int zeilen = static_cast<int>(zeigen.size());
    const long long platz = Raster::kHöchsteZellenzahl / g.Cols() - 1;
    const int passen = static_cast<int>(std::min<long long>(zeilen, platz));
    g.setRows(passen + 1);
    // A year has a few hundred days and periods but a hundred thousand rows: each date
    // text is built once and shared by its rows, mostly the row before (the logbooks run
    // in date order). A period is built once per pair of fields; the split shares equal
    // fields, so the pair is known by where the two texts lie.
    QDate letztesDatum;
    const QString* datumstext = nullptr;
    std::unordered_map<qint64, QString> datumstexte;
    struct Zeitraumtext {
      qsizetype von = 0, bis = 0;
      QString text;
    };
    std::unordered_map<std::pair<const QChar*, const QChar*>, Zeitraumtext, Zeigerpaarhash> zeiträume;
    for (int r = 1; r <= passen; ++r) {
      const Logbucheintrag& e = Logbucheinträge[static_cast<size_t>(zeigen[static_cast<size_t>(r - 1)])];
      if (!datumstext || e.Datum != letztesDatum) {
        letztesDatum = e.Datum;
        const auto [d, neu] = datumstexte.try_emplace(e.Datum.toJulianDay());
        if (neu) d->second = FormatDatumDA(e.Datum);
        datumstext = &d->second;
      }
      g.setTextMatrix(r, 0, *datumstext);
      g.setTextMatrix(r, 1, e.Uhrzeit);
      g.setTextMatrix(r, 2, e.VonBenutzer);
      g.setTextMatrix(r, 3, e.FürBenutzer);
      g.setTextMatrix(r, 4, e.Eintrag);
      const auto [zeitraum, neu] = zeiträume.try_emplace({e.VonDatum.constData(), e.BisDatum.constData()});
      if (neu) zeitraum->second = {e.VonDatum.size(), e.BisDatum.size(), Zeitraum(e)};
      // Texts that merely begin at the same place are built on their own.
      if (zeitraum->second.von == e.VonDatum.size() && zeitraum->second.bis == e.BisDatum.size())
        g.setTextMatrix(r, 5, zeitraum->second.text);
      else
        g.setTextMatrix(r, 5, Zeitraum(e));
      g.setTextMatrix(r, 6, e.Kommentar);
    }
    if (passen < zeilen) Meldung(QStringLiteral("Überlauf:") + QString::number(passen + 1) + QStringLiteral(" Zeilen"));
  });
}

void frmLogbuch::Adminlogbuch_anzeigen() {
  Prozedur(kName + QStringLiteral(" - Adminlogbuch_anzeigen"), [&] {
    cmbBenutzerID1->hide();
    cmbBenutzerID2->hide();
    lblBeschriftung[4]->hide();
    cmbBenutzerID3->show();
    lblBeschriftung[3]->setBuddy(cmbBenutzerID3);
    Raster& g = msgFlexGrid->raster();
    g.setTextMatrix(0, 2, QStringLiteral("Benutzer"));
    for (int c = 3; c <= 6; ++c) g.setColWidth(c, 0);
    Spalten_anpassen();
    const QString admin = cmbBenutzerID3->currentText();
    const bool mitBenutzernamen = Setting(28) != 1;
    for (size_t i = 1; i < Logbucheinträge.size(); ++i) {
      const Logbucheintrag& e = Logbucheinträge[i];
      if (e.Datum < mFilterVon || e.Datum > mFilterBis || !e.Datum.isValid()) continue;
      if (e.FürBenutzer != kAdmin) continue;
      if (!admin.isEmpty() && !Gleich(admin, e.Administrator)) continue;
      const QString text = Adminlogbuch_Text(e.Eintrag, mitBenutzernamen);
      if (text.isEmpty()) continue;
      const int r = g.Rows();
      g.setRows(r + 1);
      g.setTextMatrix(r, 0, FormatDatumDA(e.Datum));
      g.setTextMatrix(r, 1, e.Uhrzeit);
      g.setTextMatrix(r, 2, e.Administrator);
      g.setTextMatrix(r, 7, text);
    }
  });
}

int frmLogbuch::Gitterbreite() const {
  // The room left of a vertical scroll bar, so the last column never reaches under it.
  int innen = msgFlexGrid->width() - 2 * msgFlexGrid->frameWidth();
  if (msgFlexGrid->senkrechteLaufleisteNötig())
    innen -= msgFlexGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, msgFlexGrid);
  return tw(innen) - 30;
}

void frmLogbuch::Spalten_anpassen() {
  Raster& g = msgFlexGrid->raster();
  const bool benutzer = Benutzerlogbuch_gewählt();
  g.setColWidth(benutzer ? 6 : 7, std::max(600, Gitterbreite() - (benutzer ? kVorKommentar : kVorAktion)));
}

void frmLogbuch::Knöpfe_anordnen(int b, int h) {
  Ansichtsrahmen::Knöpfe_anordnen(b, h);
  const double s = Ansicht_Skalierung(bildschirm::dpi());
  fraRahmen->setGeometry(px(240), px(240), px(b - 480), px(1635));
  // Inside the frame: the two views on the left, the dates and the filters beside them.
  optLogbuch[1]->setGeometry(px(240), px(420), px(2460), px(330));
  optLogbuch[2]->setGeometry(px(240), px(900), px(2460), px(330));
  lblBeschriftung[1]->setGeometry(px(2760), px(300), px(1140), px(240));
  txtVonDatum->setGeometry(px(2760), px(540), px(1140), px(330));
  lblBeschriftung[2]->setGeometry(px(4860), px(300), px(1140), px(240));
  txtBisDatum->setGeometry(px(4860), px(540), px(1140), px(330));
  lblBeschriftung[3]->setGeometry(px(2760), px(960), px(2040), px(240));
  cmbBenutzerID1->setGeometry(px(2760), px(1200), px(1920), px(330));
  cmbBenutzerID3->setGeometry(px(2760), px(1200), px(1920), px(330));
  lblBeschriftung[4]->setGeometry(px(4860), px(960), px(2040), px(240));
  cmbBenutzerID2->setGeometry(px(4860), px(1200), px(1920), px(330));
  cmdAuswahl[1]->setGeometry(px(b - 2610), px(780), px(2130), px(450));
  msgFlexGrid->setGeometry(px(240), px(2040), px((b - 480) * s), px(std::max(0, h - 3075) * s));
  gAnsichtshaken.mausrad_prüfen(*this, *msgFlexGrid);
  Spalten_anpassen();
}

void frmLogbuch::cmdAuswahl_Click(int index) {
  if (index != 2) {
    Ansichtsrahmen::cmdAuswahl_Click(index);
    return;
  }
  if (!cmdAuswahl[2]->isEnabled()) return;
  msgFlexGrid->raster().setHighLight(0);
  gDruckauftrag = Benutzerlogbuch_gewählt() ? QStringLiteral("LB") : QStringLiteral("LA");
  gAnsichtshaken.druckdialog(this);
}

void frmLogbuch::ComboBox_Benutzer_suchen(QComboBox* box, const QString& liste) {
  Prozedur(kName + QStringLiteral(" - ComboBox_Benutzer_suchen"), [&] {
    QString t = box->currentText();
    qsizetype leer = 0;
    while (leer < t.size() && t[leer] == u' ') ++leer;
    if (leer > 0) {
      t = t.mid(leer);
      const QSignalBlocker sperre(box);
      box->setEditText(t);
    }
    if (t.isEmpty() || mLöschtaste) return;
    const std::optional<QString> name = Benutzer_vervollständigen(liste, t);
    if (!name) return;
    QLineEdit* feld = box->lineEdit();
    const int s = feld->cursorPosition();
    {
      const QSignalBlocker sperre(box);
      box->setEditText(*name);
    }
    feld->setSelection(static_cast<int>(name->size()), s - static_cast<int>(name->size()));
    if (*name != mSuchtext) {
      mSuchtext = *name;
      if (Plausibilitätsprüfung()) Logbuch_anzeigen();
    }
  });
}

void frmLogbuch::msgFlexGrid_MouseMove() {
  Prozedur(kName + QStringLiteral(" - msgFlexGrid_MouseMove"), [&] {
    const Raster& g = msgFlexGrid->raster();
    const int r = g.MouseRow(), c = g.MouseCol();
    const int zelle = r * 32 + c;
    if (zelle == mMauszelle || g.Rows() <= 1) return;
    mMauszelle = zelle;
    QString name;
    if (!QApplication::overrideCursor() && (c == 2 || c == 3) && r > 0 && !mKeinEintrag)
      name = Name_zu_BenutzerID(g.TextMatrix(r, c));
    if (name.isEmpty())
      picKommentar->hide();
    else
      gAnsichtshaken.kommentar_anzeigen(this, name, c, r);
  });
}

void frmLogbuch::msgFlexGrid_MouseDown(int knopf, int umschalt) {
  Prozedur(kName + QStringLiteral(" - msgFlexGrid_MouseDown"), [&] {
    picKommentar->hide();
    const Raster& g = msgFlexGrid->raster();
    const int r = g.MouseRow(), c = g.MouseCol();
    if (r < 1 || mKeinEintrag) return;
    const int textspalte = Benutzerlogbuch_gewählt() ? 6 : 7;
    if (knopf == 2 && c == textspalte) {
      const QString text = g.TextMatrix(r, c);
      const QFontMetrics maß(msgFlexGrid->zellenschrift(r, c));
      if (!text.isEmpty() &&
          maß.horizontalAdvance(text) > Rasteransicht::textfläche(QRect(0, 0, g.spaltenPixel(c), 20)).width())
        Meldung(text);
      return;
    }
    if (umschalt == 2) Zeilen_verdünnen(false);
  });
}

void frmLogbuch::msgFlexGrid_DblClick() {
  Prozedur(kName + QStringLiteral(" - msgFlexGrid_DblClick"), [&] {
    if (msgFlexGrid->raster().MouseRow() < 1 || mKeinEintrag) return;
    Zeilen_verdünnen(true);
  });
}

void frmLogbuch::Zeilen_verdünnen(bool behalten) {
  Raster& g = msgFlexGrid->raster();
  const int c = g.MouseCol();
  const QString wert = g.TextMatrix(g.MouseRow(), c);
  Sanduhr_Mauszeiger(true);
  g.setRedraw(false);
  // From the last row upwards, one row always stays. The rows that stay are put back
  // in one pass: one RemoveItem per row would move the rows below it again and again.
  std::vector<bool> weg(static_cast<size_t>(g.Rows()), false);
  int bleiben = g.Rows() - 1;
  for (int r = g.Rows() - 1; r >= 1 && bleiben > 1; --r) {
    if (Gleich(g.TextMatrix(r, c), wert) == behalten) continue;
    weg[static_cast<size_t>(r)] = true;
    --bleiben;
  }
  std::vector<QStringList> zeilen;
  zeilen.reserve(static_cast<size_t>(bleiben));
  for (int r = 1; r < g.Rows(); ++r) {
    if (weg[static_cast<size_t>(r)]) continue;
    QStringList z;
    for (int s = 0; s < g.Cols(); ++s) z << g.TextMatrix(r, s);
    zeilen.push_back(std::move(z));
  }
  g.setRows(1);
  g.setRows(static_cast<int>(zeilen.size()) + 1);
  for (int r = 1; r < g.Rows(); ++r)
    for (int s = 0; s < g.Cols(); ++s) g.setTextMatrix(r, s, zeilen[static_cast<size_t>(r - 1)][s]);
  g.setTopRow(1);
  g.setRedraw(true);
  Sanduhr_Mauszeiger(false);
  Titel_setzen(true);
}

void frmLogbuch::msgFlexGrid_Kopfklick() {
  Prozedur(kName + QStringLiteral(" - msgFlexGrid_Click"), [&] {
    Raster& g = msgFlexGrid->raster();
    if (g.MouseRow() > 0 || g.Rows() < 2 || mKeinEintrag) return;
    const int c = g.MouseCol();
    Sanduhr_Mauszeiger(true);
    g.setRedraw(false);
    // Dates sort as yymmdd, so that 01.02.26 follows 31.12.25.
    const bool datum = c == 0 || c == 5;
    if (datum)
      for (int r = 1; r < g.Rows(); ++r) {
        const QString t = g.TextMatrix(r, c);
        g.setTextMatrix(r, c, FormatDatumAS(t.left(8)) + t.mid(8));
      }
    g.setCol(c);
    const bool absteigend = mSortiert == c + 1;
    g.Sort(absteigend ? Raster::TextAbsteigend : Raster::TextAufsteigend);
    mSortiert = absteigend ? 0 : c + 1;
    if (datum)
      for (int r = 1; r < g.Rows(); ++r) {
        const QString t = g.TextMatrix(r, c);
        g.setTextMatrix(r, c, FormatDatumSA(t.left(6)) + t.mid(6));
      }
    g.setTopRow(1);
    g.setRedraw(true);
    Sanduhr_Mauszeiger(false);
  });
}

bool frmLogbuch::eventFilter(QObject* ziel, QEvent* e) {
  if (e->type() == QEvent::FocusOut && (ziel == optLogbuch[1] || ziel == optLogbuch[2])) gDatumsprüfungOffen = false;
  return Ansichtsrahmen::eventFilter(ziel, e);
}

void frmLogbuch::mouseMoveEvent(QMouseEvent* e) {
  picKommentar->hide();
  mMauszelle = -1;
  Ansichtsrahmen::mouseMoveEvent(e);
}

void Logbuch_zeigen(QWidget* eltern) {
  frmLogbuch f(eltern);
  f.Form_Load();
  f.exec();
}
