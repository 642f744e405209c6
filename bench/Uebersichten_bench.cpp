// The sums, vacation and year overviews over the large data folder: building the
// sums of a year for 1,000 employees and twelve codes, showing one employee's year
// (twelve month files of 1,000 lines read), each window's whole opening with its
// fresh read of all 36 months, and the year overview of every employee printed to
// PDF files through the print dialog.
#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "Grossbestand.h"
#include "planner/Programm.h"
#include "platform/Bildschirm.h"
#include "platform/Dialoge.h"
#include "printing/Druckauftrag.h"
#include "printing/Druckflaeche.h"
#include "printing/Jahresdruck.h"
#include "printing/frmDrucken.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Velkoraini.h"
#include "views/frmJahresuebersicht.h"
#include "views/frmSummenuebersicht.h"
#include "views/frmUrlaubsuebersicht.h"
#include "widgets/Rasteransicht.h"

namespace {

// The tables the overviews need besides the large data folder's.
void Übersichten_einrichten(const QString& ordner, int mitarbeiter) {
  // The overviews' links as the program sets them, here without a main window.
  Ansichtshaken_verdrahten();
  gDatenordner = ordner;
  Großbestand_einrichten(mitarbeiter);
  gDatumstrennzeichen = QStringLiteral(".");
  gDatumsreihenfolge = 1;
  gSFKennbuchstaben = QStringList{QString()};
  gSFTextfarben = {0};
  gSFHintergrundfarben = {0};
  for (int i = 1; i < gSFTexte.size(); ++i) {
    gSFKennbuchstaben << QString(QChar(u'A' + i - 1));
    gSFTextfarben << 0;
    gSFHintergrundfarben << 0xFFFFFF;
  }
  gAnzeigegruppen = QStringList{QString(), QStringLiteral("NoGroups")};
  bildschirm::setzeDpi(96);
}

struct Summenordner {
  QTemporaryDir tmp;
  int mitarbeiter;
  explicit Summenordner(int n) : mitarbeiter(n) {
    Übersichten_einrichten(tmp.path() + u'/', n);
    Großmonate_schreiben(gDatenordner, n);
  }
};

// The folder of 1,000 (or 4,000) employees, its tables set up again for every
// benchmark: the others change the same tables.
Summenordner& Ordner(int mitarbeiter = kMitarbeiter) {
  static Summenordner tausend(kMitarbeiter);
  static std::unique_ptr<Summenordner> viertausend;
  Summenordner* d = &tausend;
  if (mitarbeiter != kMitarbeiter) {
    if (!viertausend) viertausend = std::make_unique<Summenordner>(mitarbeiter);
    d = viertausend.get();
  }
  Übersichten_einrichten(d->tmp.path() + u'/', d->mitarbeiter);
  return *d;
}

// Vacation in use as on a real workstation: button 1 a full day, button 2 a half day
// (so the figures have one decimal), every employee employed throughout with a
// carry-over and entitlements; today in the year after the planning year. Undone by
// the destructor, so that the other benchmarks see the tables as before.
struct Urlaub_in_Gebrauch {
  Urlaub_in_Gebrauch() {
    gHeute = QDate(2026, 3, 10);
    gDezimaltrennzeichen = QStringLiteral(",");
    gSFUrlaub = 1;
    gSFUrlaubHalb = 2;
    for (int i = 1; i < gBenutzerIDs.size(); ++i) {
      gEintrittsdaten[i] = QStringLiteral("000000");
      gAustrittsdaten[i] = QStringLiteral("999999");
      gUrlaubsdaten[i] = QStringLiteral("005,0:030,0:030,0:028,0:000,0");
      gSonderurlaubsanspruch[i] = QStringLiteral("000,0");
    }
  }
  ~Urlaub_in_Gebrauch() {
    gSFUrlaub = gSFUrlaubHalb = 0;
    for (int i = 1; i < gBenutzerIDs.size(); ++i) {
      gEintrittsdaten[i].clear();
      gAustrittsdaten[i].clear();
      gUrlaubsdaten[i].clear();
      gSonderurlaubsanspruch[i].clear();
    }
  }
};

// The pages of a PDF file: its page objects (not the page tree's "/Pages").
int Pdfseiten(const QString& pfad) {
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) return 0;
  static const QRegularExpression seite(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
  return static_cast<int>(QString::fromLatin1(f.readAll()).count(seite));
}

// A printer that records its one job: the page of the year overview as drawn.
struct Aufzeichnender_Drucker : Druckziel {
  std::shared_ptr<Aufzeichnung> seite = std::make_shared<Aufzeichnung>();
  QString name() const override { return QStringLiteral("Aufzeichnung"); }
  std::shared_ptr<Druckfläche> auftrag(bool quer) override {
    seite->quer = quer;
    return seite;
  }
};

// A recorded page drawn again with a bare QPainter into a PDF file of its own: the
// same texts in the same fonts, the same boxes and lines, nothing measured.
void Seite_bloss_zeichnen(const Aufzeichnung& seite, const QString& datei) {
  QPrinter p(QPrinter::HighResolution);
  p.setOutputFormat(QPrinter::PdfFormat);
  p.setOutputFileName(datei);
  p.setFullPage(true);
  p.setPageSize(QPageSize(QPageSize::A4));
  p.setPageOrientation(seite.quer ? QPageLayout::Landscape : QPageLayout::Portrait);
  p.setPageMargins(QMarginsF(0, 0, 0, 0));
  const double punkte = p.resolution() / 2.54;
  QPainter m(&p);
  for (const Aufzeichnung::Eintrag& e : seite.einträge) {
    const QRectF r(e.x * punkte, e.y * punkte, e.b * punkte, e.h * punkte);
    if (e.art == Aufzeichnung::Kasten) {
      m.fillRect(r, zuQColor(e.farbe));
    } else if (e.art == Aufzeichnung::Linie) {
      m.setPen(Qt::black);
      m.drawLine(r.topLeft(), r.bottomRight());
    } else if (!e.text.isEmpty()) {
      QFont f(QStringLiteral("Arial"));
      f.setPointSizeF(e.schrift.größe);
      f.setBold(e.schrift.fett);
      f.setItalic(e.schrift.kursiv);
      m.setFont(f);
      m.setPen(zuQColor(e.farbe));
      m.drawText(QPointF(r.x(), r.y() + m.fontMetrics().ascent()), e.text);
    }
  }
}

}  // namespace

static void BM_Summen_anzeigen(benchmark::State& state) {
  Ordner();
  frmSummenuebersicht f;
  f.Form_Load();
  for (auto _ : state) f.Summen_anzeigen();
  state.counters["Zeilen"] = f.msgFlexGrid->raster().Rows();
}
BENCHMARK(BM_Summen_anzeigen)->Unit(benchmark::kMillisecond);

static void BM_Summenuebersicht_oeffnen(benchmark::State& state) {
  Ordner();
  for (auto _ : state) {
    frmSummenuebersicht f;
    f.Form_Load();
  }
}
BENCHMARK(BM_Summenuebersicht_oeffnen)->Unit(benchmark::kMillisecond);

static void BM_Jahresuebersicht_anzeigen(benchmark::State& state) {
  Ordner();
  gAnsichtshaken.hauptfenster_tag_lesen = [] { return QStringLiteral("benutzer500"); };
  frmJahresuebersicht f;
  f.Form_Load();
  for (auto _ : state) f.Jahresübersicht_anzeigen();
  state.counters["Tag_1"] = f.msgFlexGrid->raster().TextMatrix(1, 1) == u"A" ? 1 : 0;
  Ansichtshaken_verdrahten();
}
BENCHMARK(BM_Jahresuebersicht_anzeigen)->Unit(benchmark::kMillisecond);

static void BM_Jahresuebersicht_oeffnen(benchmark::State& state) {
  Ordner(static_cast<int>(state.range(0)));
  gAnsichtshaken.hauptfenster_tag_lesen = [] { return QStringLiteral("benutzer500"); };
  for (auto _ : state) {
    frmJahresuebersicht f;
    f.Form_Load();
  }
  Ansichtshaken_verdrahten();
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Jahresuebersicht_oeffnen)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->Complexity();

// The all-employees print of the year overview makes every employee's page in turn:
// choosing each name of the open window, as the print dialog does.
static void BM_Jahresuebersicht_jedes_Mitarbeiters_zeigen(benchmark::State& state) {
  Ordner();
  frmJahresuebersicht f;
  f.Form_Load();
  const Jahresdruckquelle& q = gJahresdruckquelle;
  for (auto _ : state) {
    q.serie(true);
    for (int i = 0; i < q.anzahl(); ++i) q.wählen(i);
    q.serie(false);
  }
  state.counters["Mitarbeiter"] = q.anzahl();
}
BENCHMARK(BM_Jahresuebersicht_jedes_Mitarbeiters_zeigen)->Unit(benchmark::kMillisecond)->Iterations(1);

// The vacation overview as the menu opens it: mode "U", the reference date today, a
// row with seven figures for every employee.
static void BM_Urlaubsuebersicht_oeffnen(benchmark::State& state) {
  Ordner();
  const Urlaub_in_Gebrauch urlaub;
  dialoge::skript();
  gAnsichtshaken.hauptfenster_tag_lesen = [] { return QStringLiteral("U"); };
  int zeilen = 0;
  QString rest;
  for (auto _ : state) {
    frmUrlaubsuebersicht f;
    f.Form_Load();
    zeilen = f.msgFlexGrid->raster().Rows();
    rest = f.msgFlexGrid->raster().TextMatrix(2, 6);
  }
  gAnsichtshaken = {};
  state.counters["Zeilen"] = zeilen;
  // The second employee: 5 carried over less the 12 x 3.5 days of the planning year
  // beyond its 30, plus 30, less 3.5 days in January and February and 2 in March.
  state.counters["Rest_richtig"] = rest.trimmed() == u"14,0" ? 1 : 0;
}
BENCHMARK(BM_Urlaubsuebersicht_oeffnen)->Unit(benchmark::kMillisecond);

// "JG" as the menu starts it from the open year overview: the print dialog on
// "PDF-Datei", a file chosen, every employee's page a PDF file of its own in a fresh
// folder. Every file must hold exactly one page.
static void BM_Jahresuebersicht_alle_Mitarbeiter_drucken(benchmark::State& state) {
  Ordner();
  const Urlaub_in_Gebrauch urlaub;
  dialoge::Skript& skript = dialoge::skript();
  gDruckersystem = Systemdrucker();
  gDruckersystem.drucker = [] { return QStringList(); };
  gDruckersystem.standarddrucker = [] { return QString(); };
  gDrucker.reset();
  gStandarddrucker.clear();
  gDruckername.clear();
  gFirmenname = QStringLiteral("Muster GmbH");
  // The window is open under the dialog and shows each employee as the page is made.
  frmJahresuebersicht f;
  f.Form_Load();
  f.show();
  int dateien = 0, seiten = 0, falsch = 0;
  bool gedruckt = false;
  for (auto _ : state) {
    state.PauseTiming();
    QTemporaryDir ziel;
    state.ResumeTiming();
    gDruckauftrag = QStringLiteral("JG");
    frmDrucken d;
    d.Form_Load();
    d.cmbDrucker->setCurrentIndex(d.cmbDrucker->findText(kPdfDrucker));
    skript.antworte(dialoge::kOK, ziel.path() + QStringLiteral("/Jahr.pdf"));
    gedruckt = d.Drucken();
    state.PauseTiming();
    const QStringList namen = QDir(ziel.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    dateien = static_cast<int>(namen.size());
    seiten = falsch = 0;
    for (const QString& n : namen) {
      const int s = Pdfseiten(ziel.path() + u'/' + n);
      seiten += s;
      falsch += s != 1;
    }
    state.ResumeTiming();
  }
  gDrucker.reset();
  gStandarddrucker.clear();
  gDruckersystem = Systemdrucker();
  state.counters["Gedruckt"] = gedruckt;
  state.counters["Dateien"] = dateien;
  state.counters["Seiten"] = seiten;
  state.counters["Nicht_eine_Seite"] = falsch;
  if (!gedruckt || dateien != gJahresdruckquelle.anzahl() || falsch != 0)
    state.SkipWithError("not every employee's page was printed");
}
BENCHMARK(BM_Jahresuebersicht_alle_Mitarbeiter_drucken)->Unit(benchmark::kMillisecond)->Iterations(1);

// The floor of "JG": one employee's page as the printout draws it, recorded once and
// drawn again by a bare QPainter into 1,000 PDF files (the toolkit's own cost of a
// file: its printer object, the page and the embedded fonts).
static void BM_Boden_1000_Jahresseiten_bloss_als_PDF(benchmark::State& state) {
  Ordner();
  const Urlaub_in_Gebrauch urlaub;
  dialoge::skript();
  gFirmenname = QStringLiteral("Muster GmbH");
  frmJahresuebersicht f;
  f.Form_Load();
  gJahresdruckquelle.wählen(1);
  auto drucker = std::make_unique<Aufzeichnender_Drucker>();
  const std::shared_ptr<Aufzeichnung> seite = drucker->seite;
  gDrucker = std::move(drucker);
  gDruckauftrag = QStringLiteral("JE");
  const bool aufgezeichnet = Jahresübersicht_drucken(1);
  gDrucker.reset();
  int seiten = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QTemporaryDir ziel;
    state.ResumeTiming();
    for (int i = 0; i < kMitarbeiter; ++i)
      Seite_bloss_zeichnen(*seite, ziel.path() + QStringLiteral("/J%1.pdf").arg(i));
    state.PauseTiming();
    seiten = 0;
    for (int i = 0; i < kMitarbeiter; ++i) seiten += Pdfseiten(ziel.path() + QStringLiteral("/J%1.pdf").arg(i));
    state.ResumeTiming();
  }
  state.counters["Seiten"] = seiten;
  state.counters["Eintraege"] = static_cast<double>(seite->einträge.size());
  if (!aufgezeichnet || seiten != kMitarbeiter) state.SkipWithError("the page was not drawn");
}
BENCHMARK(BM_Boden_1000_Jahresseiten_bloss_als_PDF)->Unit(benchmark::kMillisecond)->Iterations(1);
