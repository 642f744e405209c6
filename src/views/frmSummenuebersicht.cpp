#include "views/frmSummenuebersicht.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <cmath>

#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "printing/Summendruck.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "widgets/Rasteransicht.h"

namespace {

constexpr int kSpaltenbreite = 540;
const QString kName = QStringLiteral("frmSummenuebersicht");

Rahmenwerte Summenwerte() {
  Rahmenwerte w;
  w.name = kName;
  w.titel = QStringLiteral("Velkora - Summenübersicht");
  w.platzierung = 11;
  w.mindesthöhe = 6690;
  w.obererBlock = 2475;
  w.aktionVonRechts = 2820;
  w.druckauftrag = QStringLiteral("S");
  w.gruppenauswahl = true;
  w.datumsfelder = true;
  w.kopfsortierung = true;
  w.summenzeile = true;
  w.enterAlsTab = true;
  w.suche = true;
  w.knöpfe = {QString(), QStringLiteral("Summen &anzeigen"), QStringLiteral("&Drucken ..."),
              QStringLiteral("&Schließen")};
  return w;
}

int px(double twips) { return bildschirm::twipsZuPixel(twips); }

// The last year of the range the window may show.
int Letztes_Jahr() { return gPlanungsjahr + (gJahreswechselOffen ? 0 : 2); }

}  // namespace

QString Kurzdatum(const QDate& datum) { return Datum_lang(datum, gDatumstrennzeichen.left(1)); }

frmSummenuebersicht::frmSummenuebersicht(QWidget* eltern) : Ansichtsrahmen(eltern, Summenwerte()) {
  fraRahmen->setTitle(QStringLiteral("Summen anzeigen"));
  gSummendruckquelle.gitter = [this]() -> const Raster& { return msgFlexGrid->raster(); };
  gSummendruckquelle.vonDatum = [this] { return txtVonDatum->text(); };
  gSummendruckquelle.bisDatum = [this] { return txtBisDatum->text(); };
}

frmSummenuebersicht::~frmSummenuebersicht() { gSummendruckquelle = {}; }

int frmSummenuebersicht::Datenbreite() const { return (msgFlexGrid->raster().Cols() - 1) * kSpaltenbreite; }

int frmSummenuebersicht::Mindestbreite() const { return std::max(5970, Datenbreite() + 3270); }

QString frmSummenuebersicht::CSV_Titel() const {
  return QStringLiteral("Summenübersicht vom ") + txtVonDatum->text() + QStringLiteral(" bis ") + txtBisDatum->text();
}

void frmSummenuebersicht::Form_Load() {
  Prozedur(kName + QStringLiteral(" - Form_Load"), [&] {
    Laden_beginnen();
    CheckKonfigdaten();
    CheckMitarbeiterdaten();
    Alle_Erfassungsdaten_einlesen(false);

    Raster& g = msgFlexGrid->raster();
    // Columns 1 to n - 1 stand for the code buttons 1 to n - 1; button n, the erase
    // button, gets none.
    const int knöpfe = Schaltflächen_Anzahl();
    g.setRows(1);
    g.setCols(std::max(1, knöpfe));
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setRowHeight(0, 540);
    g.setColAlignment(0, Raster::LinksMitte);
    g.setFixedAlignment(0, Raster::LinksMitte);
    const int namensbreite = gAnsichtshaken.namensspaltenbreite();
    g.setColWidth(0, namensbreite);
    g.setTextMatrix(0, 0, QStringLiteral("Name"));
    for (int c = 1; c < g.Cols(); ++c) {
      g.setColWidth(c, kSpaltenbreite);
      g.setFixedAlignment(c, Raster::MitteMitte);
      g.setTextMatrix(0, c, gSFKennbuchstaben.value(c));
      g.setCellForeColor(0, c, gSFTextfarben.value(c));
      g.setCellBackColor(0, c, gSFHintergrundfarben.value(c));
    }
    // Wide enough for every column.
    resize(px(Datenbreite() + namensbreite + 795), px(7800));
    setMinimumSize(px(Mindestbreite()), px(werte().mindesthöhe));
    Laden_beenden();

    const int jahr = gPlanungsjahr + (gJahreswechselOffen ? 0 : 1);
    {
      const QSignalBlocker a(txtVonDatum), b(txtBisDatum);
      txtVonDatum->setText(FormatDatumDA(QDate(jahr, 1, 1)));
      txtBisDatum->setText(FormatDatumDA(QDate(jahr, 12, 31)));
    }
    Gruppenauswahl_füllen();
    Summen_anzeigen();
  });
}

bool frmSummenuebersicht::Plausibilitätsprüfung() {
  return Prozedur(kName + QStringLiteral(" - Plausibilitätsprüfung"), [&] {
    // A half-typed date is the date check's to report, never a conversion error.
    if (!Datumsfelder_prüfen()) return false;
    {
      const QSignalBlocker a(txtVonDatum), b(txtBisDatum);
      if (txtVonDatum->text().isEmpty()) txtVonDatum->setText(FormatDatumDA(QDate(gPlanungsjahr, 1, 1)));
      if (txtBisDatum->text().isEmpty()) txtBisDatum->setText(FormatDatumDA(QDate(gPlanungsjahr + 2, 12, 31)));
    }
    const QDate von = FormatDatumAD(txtVonDatum->text()), bis = FormatDatumAD(txtBisDatum->text());
    const auto abweisen = [](QLineEdit* feld, const QString& text) {
      Meldung(text);
      feld->setFocus();
      return false;
    };
    if (bis < von) return abweisen(txtVonDatum, QStringLiteral("'Von-Datum' ist größer als 'Bis-Datum'"));
    const QDate anfang(gPlanungsjahr, 1, 1);
    if (von < anfang)
      return abweisen(txtVonDatum, QStringLiteral("'Von-Datum' darf nicht vor dem ") + Kurzdatum(anfang) +
                                       QStringLiteral(" liegen"));
    const QDate ende(Letztes_Jahr(), 12, 31);
    if (bis > ende)
      return abweisen(txtBisDatum,
                      QStringLiteral("'Bis-Datum' darf nicht nach dem ") + Kurzdatum(ende) + QStringLiteral(" liegen"));
    return true;
  });
}

void frmSummenuebersicht::Summen_anzeigen() {
  Prozedur(kName + QStringLiteral(" - Summen_anzeigen"), [&] {
    Raster& g = msgFlexGrid->raster();
    g.setHighLight(0);
    g.setRows(1);
    g.setRedraw(false);
    g.setCol(0);
    const QDate von = FormatDatumAD(txtVonDatum->text()), bis = FormatDatumAD(txtBisDatum->text());
    const int spalten = g.Cols();
    const bool alleSehen = gBenutzerstufe == 1 || gBenutzerstufe == 2;
    const QString ich = gBenutzername.toLower();
    const QString strich = QStringLiteral("-   ");
    Gruppenfilter filter;
    const int n = Mitarbeiterzeilen();
    const bool keineNamen = n == 1 && gMitarbeiterNamen[1] == u"NoNames";
    if (!keineNamen) {
      for (int i = 1; i <= n; ++i) {
        const bool überschrift = gBenutzerIDs[i].isEmpty();
        if (überschrift && gMitarbeiterNamen[i].isEmpty()) continue;
        if (überschrift) filter.Überschrift(gMitarbeiterNamen[i]);
        if (!filter.sichtbar()) continue;
        const int r = g.Rows();
        g.setRows(r + 1);
        g.setTextMatrix(r, 0, gMitarbeiterNamen[i]);
        g.setCellBackColor(r, 0, gGrundfarben[überschrift ? 5 : 4]);
        if (überschrift) continue;
        const bool eigene = gBenutzerIDs[i].toLower() == ich;
        for (int c = 1; c < spalten; ++c) {
          if (c != gSFVerborgen || eigene || alleSehen)
            g.setTextMatrix(r, c, QString::number(AnAbwesenheitstage(c, von, bis, i)) + QStringLiteral("  "));
          else
            g.setTextMatrix(r, c, strich);
        }
      }
      const int s = g.Rows();
      g.setRows(s + 1);
      g.setTextMatrix(s, 0, QStringLiteral("Gesamtsumme"));
      const QFontMetrics maß(msgFlexGrid->font());
      const int breite = g.ColWidth(1);
      for (int c = 0; c < spalten; ++c) {
        g.setCellBackColor(s, c, gGrundfarben[5]);
        if (c == 0) continue;
        double summe = 0;
        for (int r = 1; r < s; ++r) summe += text::trim(g.TextMatrix(r, c)).toDouble();
        QString t = QString::number(std::llround(summe)) + QStringLiteral("  ");
        if (bildschirm::pixelZuTwips(maß.horizontalAdvance(t)) > breite) t = QStringLiteral("####  ");
        g.setTextMatrix(s, c, t);
      }
    }
    g.setRedraw(true);
    Ansichtsrahmen::Anordnen();
  });
}

void frmSummenuebersicht::Neu_lesen() {
  if (!Plausibilitätsprüfung()) return;
  Alle_Erfassungsdaten_einlesen(false);
  Summen_anzeigen();
}

void frmSummenuebersicht::CSV_exportieren() {
  // The export shows what the boxes say; a half-typed date is reported first.
  if (!Datumsfelder_prüfen()) return;
  Summen_anzeigen();
  Ansichtsrahmen::CSV_exportieren();
}

void Summenübersicht_zeigen(QWidget* eltern) {
  frmSummenuebersicht f(eltern);
  f.Form_Load();
  f.exec();
}
