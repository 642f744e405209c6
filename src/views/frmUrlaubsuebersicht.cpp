#include "views/frmUrlaubsuebersicht.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "platform/Zustand.h"
#include "printing/Urlaubsdruck.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "views/Urlaubskonto.h"
#include "views/frmJahresuebersicht.h"
#include "widgets/Rasteransicht.h"

bool gUrlaubshinweisGezeigt = false;

namespace {

void Zustand_zurücksetzen() { gUrlaubshinweisGezeigt = false; }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

const QString kName = QStringLiteral("frmUrlaubsuebersicht");
constexpr int kSpalte = 1200, kLücke = 240;

int px(double twips) { return bildschirm::twipsZuPixel(twips); }
QString zwei(int j) { return QStringLiteral("%1").arg(j % 100, 2, 10, QChar(u'0')); }

Rahmenwerte Urlaubswerte() {
  Rahmenwerte w;
  w.name = kName;
  w.titel = QStringLiteral("Velkora - Urlaubsübersicht");
  w.platzierung = 6;
  w.mindesthöhe = 6810;
  w.obererBlock = 1695;
  w.druckauftrag = QStringLiteral("U");
  w.gruppenauswahl = true;
  w.kopfsortierung = true;
  w.suche = true;
  w.hilfe = true;
  w.rahmen = false;
  w.knöpfe = {QString(), QStringLiteral("&Drucken ..."), QStringLiteral("S&onderurlaub"), QStringLiteral("&Hilfe ..."),
              QStringLiteral("&Schließen")};
  w.druckknopf = 1;
  w.schließknopf = 4;
  return w;
}

}  // namespace

frmUrlaubsuebersicht::frmUrlaubsuebersicht(QWidget* eltern) : Ansichtsrahmen(eltern, Urlaubswerte()) {
  lblBeschriftung[1] = Beschriftung_anlegen(1);
  lblBeschriftung[2] = Beschriftung_anlegen(2, QStringLiteral("Berechnung zum"));
  cmbDatum = new QComboBox(this);
  cmbDatum->setObjectName(QStringLiteral("cmbDatum"));
  cmbDatum->setMaxVisibleItems(20);
  connect(cmbDatum, &QComboBox::currentIndexChanged, this, [this] { Daten_anzeigen(); });
  gUrlaubsdruckquelle.gitter = [this]() -> const Raster& { return msgFlexGrid->raster(); };
  gUrlaubsdruckquelle.datum = [this] { return cmbDatum->currentText(); };
  gUrlaubsdruckquelle.titel = [this] { return lblBeschriftung[1]->text(); };
  gUrlaubsdruckquelle.sonderurlaub = [] { return gSonderurlaubModus; };
}

frmUrlaubsuebersicht::~frmUrlaubsuebersicht() { gUrlaubsdruckquelle = {}; }

int frmUrlaubsuebersicht::Mindestbreite() const { return gSonderurlaubModus ? 10950 : 12150; }

int frmUrlaubsuebersicht::Datenbreite() const { return kSpalte * (gSonderurlaubModus ? 6 : 7) + kLücke * 2; }

int frmUrlaubsuebersicht::Breitenzuschlag() const { return gSonderurlaubModus ? 1200 : 0; }

QString frmUrlaubsuebersicht::CSV_Titel() const {
  return lblBeschriftung[1]->text() + QStringLiteral(", Berechnung zum ") + cmbDatum->currentText();
}

void frmUrlaubsuebersicht::Knöpfe_anordnen(int b, int h) {
  lblBeschriftung[1]->setGeometry(px(240), px(180), px(std::max(600, b - 3450 - 360)), px(300));
  // The date list a little wider than the design's, so that its date is never cut.
  lblBeschriftung[2]->setGeometry(px(b - 3450), px(180), px(1700), px(300));
  cmbDatum->setGeometry(px(b - 1665), px(120), px(1425), px(345));
  cmdAuswahl[1]->setGeometry(px(255), px(h - 765), px(1800), px(495));
  cmdAuswahl[2]->setGeometry(px(2400), px(h - 765), px(3120), px(495));
  const int hilfeLinks = cmdAuswahl[2]->isHidden() ? 2400 : 5865;
  cmdAuswahl[3]->setGeometry(px(hilfeLinks), px(h - 765), px(1800), px(495));
  cmdAuswahl[4]->setGeometry(px(b - 2055), px(h - 765), px(1800), px(495));
}

void frmUrlaubsuebersicht::Form_Load() {
  Prozedur(kName + QStringLiteral(" - Form_Load"), [&] {
    const QString modus = gAnsichtshaken.hauptfenster_tag_lesen();
    Laden_beginnen();
    CheckKonfigdaten();
    CheckMitarbeiterdaten();
    Alle_Erfassungsdaten_einlesen(false);
    Raster& g = msgFlexGrid->raster();
    g.setRows(1);
    g.setCols(10);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setRowHeight(0, 540);
    g.setColAlignment(0, Raster::LinksMitte);
    g.setFixedAlignment(0, Raster::LinksMitte);
    // Headings wrap into their two lines; figures stand right with their blanks.
    g.setWordWrap(true);
    for (int c = 1; c <= 9; ++c) {
      g.setFixedAlignment(c, Raster::MitteMitte);
      g.setColAlignment(c, Raster::RechtsMitte);
      g.setColWidth(c, c == 4 || c == 7 ? kLücke : kSpalte);
    }
    g.setColWidth(0, 2700);
    resize(px(12150 + 200), px(7800));
    setMinimumSize(px(Mindestbreite()), px(werte().mindesthöhe));
    Laden_beenden();
    if (modus == u"U" && gSFUrlaub == 0)
      Meldung(QStringLiteral("Berechnung nicht möglich. Es ist keine Schaltfläche für Urlaub mit Kennbuchstabe '") +
              SettingStr(20, 1) + QStringLiteral("' vorhanden."));
    if (Setting(33) == 0 || SettingStr(20, 4) == u"####") cmdAuswahl[2]->hide();
    cmdAuswahl[3]->setVisible(gBenutzerstufe == 2 && gMonateSeitEinrichtung <= 3);
    Gruppenauswahl_füllen();
    Switch_Schaltfläche(modus);
    Sanduhr_Warten_aus();
  });
}

void frmUrlaubsuebersicht::Switch_Schaltfläche(const QString& modus) {
  if (modus.isEmpty())
    gSonderurlaubModus = !gSonderurlaubModus;
  else
    gSonderurlaubModus = modus != u"U";
  setWindowTitle(gSonderurlaubModus ? QStringLiteral("Velkora - Sonderurlaub")
                                    : QStringLiteral("Velkora - Urlaubsübersicht"));
  const int P = gPlanungsjahr;
  const int S = std::clamp(gUrlaubsjahrBeginn, 1, 12);
  const QString gemerkt = cmbDatum->currentText();
  QDate erster, letzter;
  if (gSonderurlaubModus) {
    erster = QDate(P + 1, 1, 1);
    letzter = QDate(P + 1, 12, 31);
  } else {
    erster = QDate(P, S, 1);
    letzter = QDate(gJahreswechselOffen ? P + 1 : P + 2, S, 1).addDays(-1);
  }
  {
    const QSignalBlocker sperre(cmbDatum);
    cmbDatum->clear();
    QStringList tage;
    for (QDate d = erster; d <= letzter; d = d.addDays(1)) tage << FormatDatumDA(d);
    cmbDatum->addItems(tage);
    int wahl = -1;
    if (!gemerkt.isEmpty() && !gJahreswechselOffen && FormatDatumAD(gemerkt).year() == P + 1)
      wahl = cmbDatum->findText(gemerkt);
    if (wahl < 0) {
      if (gJahreswechselOffen)
        wahl = cmbDatum->count() - 1;
      else if (gHeute.year() == P + 1)
        wahl = cmbDatum->findText(FormatDatumDA(gHeute));
    }
    if (wahl < 0) wahl = 0;
    cmbDatum->setCurrentIndex(wahl);
  }
  Raster& g = msgFlexGrid->raster();
  g.setColWidth(3, gSonderurlaubModus ? 0 : kSpalte);
  if (modus != u"U") {
    const int schritt = px(1200);
    if (isMaximized() || isFullScreen()) {
      g.setColWidth(0, g.ColWidth(0) + (gSonderurlaubModus ? 1200 : -1200));
    } else {
      // The new width from the old one, before the new minimum may widen the window.
      const int neu = width() + (gSonderurlaubModus ? -schritt : schritt);
      setMinimumSize(px(Mindestbreite()), px(werte().mindesthöhe));
      resize(neu, height());
    }
  }
  setMinimumSize(px(Mindestbreite()), px(werte().mindesthöhe));
  cmdAuswahl[2]->setText(gSonderurlaubModus ? QStringLiteral("&Urlaubsübersicht") : QStringLiteral("S&onderurlaub"));
  Daten_anzeigen();
}

void frmUrlaubsuebersicht::Daten_anzeigen() {
  Prozedur(kName + QStringLiteral(" - Daten_anzeigen"), [&] {
    if (cmbDatum->currentIndex() < 0) return;
    const bool sonder = gSonderurlaubModus;
    const int P = gPlanungsjahr;
    const int SM = std::clamp(gUrlaubsjahrBeginn, 1, 12);
    const int M = std::clamp(gResturlaubVerfall, 0, 12);
    const QDate D = FormatDatumAD(cmbDatum->currentText());
    const int Y = !sonder && D.month() < SM ? D.year() - 1 : D.year();
    const QDate S = sonder ? QDate(Y, 1, 1) : QDate(Y, SM, 1);
    const QDate E = sonder ? QDate(Y, 12, 31) : QDate(Y + 1, SM, 1).addDays(-1);
    const bool kalenderjahr = SM == 1;
    if (sonder)
      lblBeschriftung[1]->setText(QStringLiteral("Sonderurlaub ") + QString::number(Y));
    else if (kalenderjahr)
      lblBeschriftung[1]->setText(QStringLiteral("Urlaubsübersicht ") + QString::number(Y));
    else
      lblBeschriftung[1]->setText(QStringLiteral("Urlaubsübersicht  ") + FormatDatumDA(S) + QStringLiteral(" - ") +
                                  FormatDatumDA(E));

    Raster& g = msgFlexGrid->raster();
    g.setHighLight(0);
    const QString jn = kalenderjahr ? QString() : u'/' + zwei(Y + 1);
    const QString heute = D == gHeute ? QStringLiteral("heute") : cmbDatum->currentText();
    const QStringList köpfe =
        sonder ? QStringList{QStringLiteral("Name"),
                             QStringLiteral("Genommen in ") + QString::number(Y - 1),
                             QStringLiteral("Urlaubs-\ranspr. ") + QString::number(Y),
                             QStringLiteral("Summe"),
                             QString(),
                             QStringLiteral("Bis ") + heute + QStringLiteral(" genommen"),
                             QStringLiteral("Resturlaub ") + QString::number(Y),
                             QString(),
                             QStringLiteral("In ") + QString::number(Y) + QStringLiteral(" geplant"),
                             QStringLiteral("Unverplant")}
               : QStringList{QStringLiteral("Name"),
                             QStringLiteral("Resturlaub ") +
                                 (kalenderjahr ? QStringLiteral("aus ") + QString::number(Y - 1) : FormatDatumDA(S)),
                             QStringLiteral("Urlaubs-\ranspr. ") +
                                 (kalenderjahr ? QString::number(Y) : zwei(Y) + u'/' + zwei(Y + 1)),
                             QStringLiteral("Summe"),
                             QString(),
                             QStringLiteral("Bis ") + heute + QStringLiteral(" genommen"),
                             QStringLiteral("Resturlaub ") + QString::number(Y) + jn,
                             QString(),
                             QStringLiteral("In ") + QString::number(Y) + jn + QStringLiteral(" geplant"),
                             QStringLiteral("Unverplant")};
    for (int c = 0; c < 10; ++c) g.setTextMatrix(0, c, köpfe[c]);
    g.setRows(1);
    g.setRedraw(false);
    g.setCol(0);

    const bool zehntel = Setting(30) > 0 || gSFUrlaubHalb > 0 || gSFSonderurlaubHalb > 0 || gSFUrlaubHalb2 > 0 ||
                         gSFSonderurlaubHalb2 > 0;
    const QString blanks(zehntel ? 9 : 10, u' ');
    const auto zelle = [&](double x) { return Tageszahl(x, zehntel) + blanks; };
    Kontoeinstellungen k = Kontoeinstellungen_lesen();
    k.S = SM;
    k.E = M;
    const QString sDS = FormatDatumDS(S), eDS = FormatDatumDS(E);
    Gruppenfilter filter;
    double anspruchssumme = 0;
    const int n = Mitarbeiterzeilen();
    const bool keineNamen = n == 1 && gMitarbeiterNamen[1] == u"NoNames";
    for (int i = 1; i <= n && !keineNamen; ++i) {
      const bool überschrift = gBenutzerIDs[i].isEmpty();
      if (überschrift && gMitarbeiterNamen[i].isEmpty()) continue;
      if (überschrift) filter.Überschrift(gMitarbeiterNamen[i]);
      if (!filter.sichtbar()) continue;
      if (überschrift) {
        const int r = g.Rows();
        g.setRows(r + 1);
        g.setTextMatrix(r, 0, gMitarbeiterNamen[i]);
        g.setCellBackColor(r, 0, gGrundfarben[5]);
        continue;
      }
      // Employed during the account year ("000000" and "999999" never exclude).
      if (gEintrittsdaten[i] > eDS || gAustrittsdaten[i] < sDS) continue;
      const int r = g.Rows();
      g.setRows(r + 1);
      g.setTextMatrix(r, 0, gMitarbeiterNamen[i]);
      g.setCellBackColor(r, 0, gGrundfarben[4]);
      const Kontowerte w = Kontowerte_lesen(i);
      double vorher = 0, rest = 0, ansp = 0, taken = 0, planned = 0;
      if (sonder) {
        const Tagezähler zähler = Sonderurlaubstage(i);
        vorher = zähler(QDate(Y - 1, 1, 1), QDate(Y - 1, 12, 31));
        ansp = w.SA;
        taken = zähler(S, D);
        planned = D.month() == E.month() && D.day() == E.day() ? 0 : zähler(D.addDays(1), E);
      } else {
        const Urlaubskonto u = Urlaubskonto_zum(Y, D, k, &w, Urlaubstage(i), Sonderurlaubstage(i));
        rest = u.rest;
        ansp = u.ansp;
        taken = u.taken;
        planned = u.planned;
        vorher = rest;
      }
      g.setTextMatrix(r, 1, zelle(vorher));
      g.setTextMatrix(r, 2, zelle(ansp));
      g.setTextMatrix(r, 3, zelle(rest + ansp));
      g.setTextMatrix(r, 5, zelle(taken));
      g.setTextMatrix(r, 6, zelle(rest + ansp - taken));
      g.setTextMatrix(r, 8, zelle(planned));
      g.setTextMatrix(r, 9, zelle(rest + ansp - taken - planned));
      anspruchssumme += static_cast<int>(Y == P ? w.A1 : w.A2);
    }
    g.setRedraw(true);
    Ansichtsrahmen::Anordnen();
    if (g.Rows() > 1 && !gBenutzerIDs.isEmpty() && Anzeigegruppen_Anzahl() == 0 && Y == gHeute.year() &&
        anspruchssumme == 0 && !sonder && !gUrlaubshinweisGezeigt) {
      bool name = false;
      for (int i = 1; i <= n && !name; ++i)
        name = !gBenutzerIDs[i].isEmpty() && gMitarbeiterNamen[i] == g.TextMatrix(1, 0);
      if (name) {
        gUrlaubshinweisGezeigt = true;
        Meldung(QStringLiteral("Hinweis: Für das Jahr ") + QString::number(Y) +
                QStringLiteral(" wurden noch keine Urlaubsansprüche erfasst (Menü Bearbeiten - Mitarbeiter)"));
      }
    }
  });
}

void frmUrlaubsuebersicht::Neu_lesen() {
  Alle_Erfassungsdaten_einlesen(false);
  Daten_anzeigen();
}

void frmUrlaubsuebersicht::cmdAuswahl_Click(int index) {
  switch (index) {
    case 1:
      msgFlexGrid->raster().setHighLight(0);
      gDruckauftrag = QStringLiteral("U");
      gAnsichtshaken.druckdialog(this);
      break;
    case 2:
      Switch_Schaltfläche(QString());
      break;
    case 3:
      gAnsichtshaken.hilfe(this);
      break;
    case 4:
      close();
      break;
    default:
      break;
  }
}

void Urlaubsübersicht_zeigen(QWidget* eltern, const QString& modus) {
  gAnsichtshaken.hauptfenster_tag(modus);
  frmUrlaubsuebersicht f(eltern);
  f.Form_Load();
  f.exec();
}
