// The entry command as a user's click runs it in the running program: a day of an
// employee's row marked in the main window's month grid, then a code button clicked.
// Everything the click does is in it: the change check before the entry, the entry
// check, the grid cells, the save of the row's line (appended to today's version, or
// the first save of a day, which writes the month afresh), the date check and the
// logbook line (appended, or the month's first line, which makes the month's
// logbook). The whole way of the user's click is measured as well: the mouse pressed
// and released on the cell, which marks it, the grid repainted, the code button
// clicked with the mouse, and the grid repainted with the entry.
//
// The program is started in this process, as a user starts it, on a data folder of
// 1,000 employees whose shown month holds 2,253 lines (an entry and a comment line per
// employee, a second entry for every fourth). The folder lies below the working
// directory, not in a temporary folder that may live in memory, so that the syncs cost
// what they cost on a disk. Each click is measured beside its floor in the same run,
// the syncs it makes (Speicherboden.h); the file-system calls and folder listings of
// one click are counted under strace.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "Dateizugriffe.h"
#include "Programmlauf.h"
#include "Speicherboden.h"
#include "planner/frmVelkora.h"
#include "platform/Dialoge.h"
#include "platform/Raster.h"
#include "startup/Dateizugriff.h"
#include "startup/Zeilencodierung.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsstand.h"
#include "widgets/Rasteransicht.h"

namespace {

constexpr int kMitarbeiter = 1000;
// The start's day, 12 March 2026, a Thursday: the month shown is March. As the command
// line gives it, and as a month version's name holds it.
const QString kStarttag = QStringLiteral("120326");
const QString kHeute = QStringLiteral("260312");
// The clicks go to the working days 16 to 20 March, none of them past, all empty in
// the month as set up; the two buttons take turns, so that every click changes a day.
constexpr int kErsterTag = 16, kTage = 5;
constexpr int kKnöpfe[] = {1, 3};  // "Urlaub", "Zeitausgleich" of the default buttons

// The prompts of the program started last, answered by script: a click that prompts
// is not the one measured.
dialoge::Skript* sSkript = nullptr;

// The encoded month file of March 2026: entries on days 1 to 11 only.
QByteArray Märzdatei() {
  QByteArray inhalt;
  const auto zeile = [&](const QString& t) { inhalt += Zeile_kodieren(t, 65 + (inhalt.size() % 60)) + "\r\n"; };
  zeile(QStringLiteral("[2603]"));
  zeile(gKennzeile);
  zeile(QStringLiteral("NoEx:NoEx"));
  for (int m = 1; m <= kMitarbeiter; ++m) {
    zeile(QStringLiteral("A:m%1:").arg(m) + QStringLiteral("11  3 2  44").leftJustified(31, u' '));
    zeile(QStringLiteral("K:m%1:01-02:Seminar in Berlin").arg(m));
  }
  for (int m = 1; m <= kMitarbeiter; m += 4)
    zeile(QStringLiteral("A:m%1:").arg(m) + QStringLiteral("1111").leftJustified(31, u' '));
  return inhalt;
}

// The data folder as the user finds it in the morning: made by a first start (with the
// month's backup), then filled with 1,000 employees in two groups and March's entries.
struct Vorlage {
  QTemporaryDir tmp{QDir::currentPath() + QStringLiteral("/velkora-bench-XXXXXX")};
  QString basis, ordner;
  QByteArray märz;
  bool ok = false;

  Vorlage() {
    basis = tmp.path() + u'/';
    for (const char* o : {"Programm", "Daten", "Temp"}) QDir().mkpath(basis + QString::fromLatin1(o));
    QFile::copy(QStringLiteral(VELKORA_BIN_DIR "/VelkoraFtg.dat"), basis + QStringLiteral("Programm/VelkoraFtg.dat"));
    frmVelkora* f = Starten();
    if (!f) return;
    Mitarbeitertabelle_dimensionieren(kMitarbeiter + 2);
    for (int i = 1, m = 0; i <= kMitarbeiter + 2; ++i) {
      if (i == 1 || i == kMitarbeiter / 2 + 2) {
        gMitarbeiterNamen[i] = QStringLiteral("Abteilung %1").arg(i);
        continue;
      }
      ++m;
      gMitarbeiterNamen[i] = QStringLiteral("Mitarbeiter %1").arg(m, 4, 10, QChar(u'0'));
      gBenutzerIDs[i] = QStringLiteral("m%1").arg(m);
      gEintrittsdaten[i] = QStringLiteral("000000");
      gAustrittsdaten[i] = QStringLiteral("999999");
      gUrlaubsdaten[i] = QStringLiteral("000,0:030,0:030,0:030,0:030,0");
      gSonderurlaubsanspruch[i] = QStringLiteral("000,0");
    }
    Mitarbeiterdaten_schreiben();
    märz = Märzdatei();
    ordner = gDatenordner;
    Programm_beenden(f);
    ok = true;
  }

  frmVelkora* Starten() const {
    qputenv("TEMP", QFile::encodeName(basis + QStringLiteral("Temp")));
    qputenv("USERNAME", "chefin");
    frmVelkora* f = Programm_starten(basis, kStarttag);
    sSkript = &dialoge::skript();
    return f;
  }

  // Puts March back as its one version, written on the given day.
  void Monat_zurücksetzen(const QString& tag) const {
    for (const QString& n : Dateiliste(ordner, QStringLiteral("2603*Data.dat"))) QFile::remove(ordner + n);
    QFile f(ordner + QStringLiteral("2603 ") + tag + QStringLiteral(" Data.dat"));
    f.open(QIODevice::WriteOnly);
    f.write(märz);
  }
};

const Vorlage& Ordner() {
  static const Vorlage v;
  return v;
}

// One start of the program on that folder, March shown, until it is ended; and the
// grid row of each employee.
struct Sitzung {
  frmVelkora* fenster = nullptr;
  QHash<QString, int> zeilen;  // user -> grid row

  Sitzung() {
    if (!Ordner().ok) return;
    Ordner().Monat_zurücksetzen(kHeute);
    fenster = Ordner().Starten();
    if (!fenster) return;
    const Raster& g = fenster->msgFlexGrid->raster();
    for (int r = 1; r < g.Rows(); ++r)
      if (!g.TextMatrix(r, 32).isEmpty()) zeilen.insert(g.TextMatrix(r, 32), r);
    fenster->msgFlexGrid->viewport()->installEventFilter(&malzähler);
  }
  ~Sitzung() {
    if (fenster) Programm_beenden(fenster);
  }
  Sitzung(const Sitzung&) = delete;
  Sitzung& operator=(const Sitzung&) = delete;

  bool läuft() const { return fenster && gMonatsschlüssel == u"2603" && zeilen.size() == kMitarbeiter; }

  // The month's newest version from yesterday, as the grid showed it when it was read:
  // the next click's save is the first of the day.
  void gestrig() const {
    Ordner().Monat_zurücksetzen(QStringLiteral("260311"));
    Monatsstand_merken(gMonatsschlüssel);
  }
  // Besides, the month's logbook is not there yet: the next click's logbook line makes it.
  void erstes_des_Monats() const {
    gestrig();
    QFile::remove(gLogordner + kHeute.left(4) + QStringLiteral(" Velkora.log"));
  }

  static int Knopf(int j) { return kKnöpfe[(j / (kMitarbeiter * kTage)) % 2]; }
  int Zeile(int j) const { return zeilen.value(QStringLiteral("m%1").arg(j % kMitarbeiter + 1)); }
  static int Tag(int j) { return kErsterTag + (j / kMitarbeiter) % kTage; }

  // Click j: a day of an employee's row marked in the grid, then the button.
  void klicken(int j) const {
    Raster& g = fenster->msgFlexGrid->raster();
    g.setCol(Tag(j));
    g.setRow(Zeile(j));
    g.setColSel(Tag(j));
    g.setRowSel(Zeile(j));
    g.setHighLight(1);
    fenster->cmdAuswahl[Knopf(j)]->click();
  }

  // The paints of the grid's viewport, counted as they reach it.
  struct Malzähler : QObject {
    int n = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) ++n;
      return false;
    }
  };
  mutable Malzähler malzähler;

  // The events handled until the grid has been painted again after the paint `bisher`;
  // false when no paint came within a second.
  bool gemalt(int bisher) const {
    QElapsedTimer t;
    t.start();
    do QCoreApplication::processEvents();
    while (malzähler.n == bisher && t.elapsed() < 1000);
    return malzähler.n > bisher;
  }

  // Before click j of the whole way, untimed: the row scrolled into view, as the user
  // scrolls to it, the paints of the scroll done. The cell's rectangle in the viewport,
  // empty when it is not shown.
  QRect zeigen(int j) const {
    Rasteransicht& grid = *fenster->msgFlexGrid;
    const int oben = grid.raster().TopRow(), bisher = malzähler.n;
    grid.zeileZeigen(Zeile(j));
    if (grid.raster().TopRow() != oben) gemalt(bisher);
    QCoreApplication::processEvents();
    return grid.zellenRechteck(Zeile(j), Tag(j));
  }

  // The steps of the whole way, added up over its clicks.
  struct Weg {
    int gemalt_markiert = 0, gemalt_eingetragen = 0;  // the grid's paints after each mouse click
    double markieren_s = 0;                           // the mouse on the cell, without the paint
    double knopf_s = 0;                               // the mouse on the button, without the paint
    double malen_s = 0;                               // the events handled up to the two paints
  };

  // Click j the whole way as the user makes it: the mouse pressed and released on the
  // cell (`zelle` in the viewport), the grid repainted with the marking, the code button
  // clicked with the mouse, the grid repainted with the entry.
  void ganzer_Weg(int j, const QRect& zelle, Weg& weg) const {
    QWidget* sicht = fenster->msgFlexGrid->viewport();
    auto t = std::chrono::steady_clock::now();
    int bisher = malzähler.n;
    QTest::mousePress(sicht, Qt::LeftButton, {}, zelle.center());
    QTest::mouseRelease(sicht, Qt::LeftButton, {}, zelle.center());
    weg.markieren_s += Sekunden_seit(t);
    t = std::chrono::steady_clock::now();
    gemalt(bisher);
    weg.malen_s += Sekunden_seit(t);
    weg.gemalt_markiert += malzähler.n - bisher;
    t = std::chrono::steady_clock::now();
    bisher = malzähler.n;
    QTest::mouseClick(fenster->cmdAuswahl[Knopf(j)], Qt::LeftButton);
    weg.knopf_s += Sekunden_seit(t);
    t = std::chrono::steady_clock::now();
    gemalt(bisher);
    weg.malen_s += Sekunden_seit(t);
    weg.gemalt_eingetragen += malzähler.n - bisher;
  }

  // Whether click j stands in the grid and in today's version, and no prompt came.
  bool eingetragen(int j) const {
    const QString pfad = Ordner().ordner + QStringLiteral("2603 ") + kHeute + QStringLiteral(" Data.dat");
    const QString zeile = QStringLiteral("A:m%1:").arg(j % kMitarbeiter + 1);
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly)) return false;
    QString gespeichert;
    for (const QString& z : Zeilen_dekodieren(f.readAll()))
      if (z.startsWith(zeile)) gespeichert = z.mid(zeile.size());
    return fenster->msgFlexGrid->raster().TextMatrix(Zeile(j), Tag(j)) == gSFKennbuchstaben[Knopf(j)] &&
           gespeichert.size() == 31 && gespeichert[Tag(j) - 1] == SFHex(Knopf(j)).at(0) && sSkript->texte().empty();
  }
};

// The counting modes: the clicks run again under strace, each after its case's
// preparation (untimed, uncounted). The month's logbook must be there after the case
// that makes it.
void Klicks_zählen(int n, void (Sitzung::*vorbereiten)() const, bool logbuchNeu) {
  const Sitzung s;
  if (!s.läuft()) std::exit(3);
  for (int j = 0; j < n; ++j) {
    if (vorbereiten) (s.*vorbereiten)();
    Zählmarke(true);
    s.klicken(j);
    Zählmarke(false);
  }
  if (!s.eingetragen(n - 1)) std::exit(4);
  if (logbuchNeu && !QFile::exists(gLogordner + kHeute.left(4) + QStringLiteral(" Velkora.log"))) std::exit(4);
}

const bool kZählarten = [] {
  Zählart_anmelden(QStringLiteral("klick_anhaengen"), [](int n) { Klicks_zählen(n, nullptr, false); });
  Zählart_anmelden(QStringLiteral("klick_erstes_des_Tages"), [](int n) { Klicks_zählen(n, &Sitzung::gestrig, false); });
  Zählart_anmelden(QStringLiteral("klick_erstes_des_Monats"),
                   [](int n) { Klicks_zählen(n, &Sitzung::erstes_des_Monats, true); });
  return true;
}();

// The floor of the clicks: files on the same disk, as large as March and its logbook.
const Speicherboden& Boden() {
  static const Speicherboden b(Ordner().basis, Ordner().märz);
  return b;
}

// The floor's logbook made anew with its one line, synced, as the month's first line
// makes it; the one made before is removed before the click, untimed, as the month's
// logbook is.
QByteArray Neues_Logbuch(const Speicherboden& b) { return QFile::encodeName(b.logbuch + QStringLiteral(".neu")); }
void Logbuch_neu(const Speicherboden& b) {
  const int fd = ::open(Neues_Logbuch(b).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  (void)!::write(fd, b.zeile.constData(), static_cast<size_t>(b.zeile.size()));
  ::fdatasync(fd);
  ::close(fd);
}

enum class Fall {
  anhängen,         // appended to today's version and to the month's logbook
  erstesDesTages,   // the day's first save: the month's newest version is yesterday's
  erstesDesMonats,  // the same, and the month's logbook is not there yet
};

// Clicks on a code button over a marked day, each measured beside its floor: appended
// to today's version, beside the two appends with their syncs it makes (the month file
// and the logbook); as the first save of a day, beside a new file of the month's size
// and the logbook's append, each synced; as the first save of a day whose month has no
// logbook yet, beside the new file of the month's size and a new logbook of one line,
// each synced.
//
// With `ganzerWeg` the click is the user's whole way, from the mouse pressed on the
// cell to the grid repainted with the entry (Sitzung::ganzer_Weg); the row is scrolled
// into view before, untimed. The counters give the paints of the grid after each mouse
// click (each must have come) and the time of the steps; the label the grid's size.
void Klicks_messen(benchmark::State& state, Fall fall, bool ganzerWeg) {
  const Sitzung s;
  if (!s.läuft()) {
    state.SkipWithError("the program did not show March 2026 with its 1,000 employees");
    return;
  }
  if (ganzerWeg && !QTest::qWaitForWindowExposed(s.fenster)) {
    state.SkipWithError("the main window was not exposed");
    return;
  }
  int klicks = 0;
  Sitzung::Weg weg;
  QRect zelle;
  bool verdeckt = false;
  Mit_Boden_messen(
      state, Boden(),
      [&] {
        if (fall == Fall::erstesDesTages) s.gestrig();
        if (fall == Fall::erstesDesMonats) {
          s.erstes_des_Monats();
          ::unlink(Neues_Logbuch(Boden()).constData());
        }
        if (ganzerWeg) {
          zelle = s.zeigen(klicks);
          verdeckt = verdeckt || zelle.isEmpty();
        }
      },
      [&](int j) {
        if (ganzerWeg)
          s.ganzer_Weg(j, zelle, weg);
        else
          s.klicken(j);
        klicks = j + 1;
      },
      [&](const Speicherboden& b) {
        if (fall == Fall::anhängen)
          b.anhängen(b.monat);
        else
          b.neu_schreiben();
        if (fall == Fall::erstesDesMonats)
          Logbuch_neu(b);
        else
          b.anhängen(b.logbuch);
      });
  if (verdeckt) {
    state.SkipWithError("a click's cell was not shown");
    return;
  }
  if (klicks > 0 && !s.eingetragen(klicks - 1)) {
    state.SkipWithError("a click did not enter its day");
    return;
  }
  if (!ganzerWeg || klicks == 0) return;
  if (weg.gemalt_markiert < klicks || weg.gemalt_eingetragen < klicks) {
    state.SkipWithError("the grid was not repainted after every mouse click");
    return;
  }
  state.counters["Malen_markiert"] = static_cast<double>(weg.gemalt_markiert) / klicks;
  state.counters["Malen_eingetragen"] = static_cast<double>(weg.gemalt_eingetragen) / klicks;
  state.counters["Markieren_ms"] = 1000.0 * weg.markieren_s / klicks;
  state.counters["Knopf_ms"] = 1000.0 * weg.knopf_s / klicks;
  state.counters["Malen_ms"] = 1000.0 * weg.malen_s / klicks;
  const QSize sicht = s.fenster->msgFlexGrid->viewport()->size();
  state.SetLabel(QStringLiteral("grid %1x%2 px").arg(sicht.width()).arg(sicht.height()).toStdString());
}

}  // namespace

static void BM_Eingabebefehl_anhaengen(benchmark::State& state) { Klicks_messen(state, Fall::anhängen, false); }
BENCHMARK(BM_Eingabebefehl_anhaengen)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->ComputeStatistics("min", Kleinstes);

static void BM_Eingabebefehl_erstes_des_Tages(benchmark::State& state) {
  Klicks_messen(state, Fall::erstesDesTages, false);
}
BENCHMARK(BM_Eingabebefehl_erstes_des_Tages)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->ComputeStatistics("min", Kleinstes);

static void BM_Eingabebefehl_erstes_des_Monats(benchmark::State& state) {
  Klicks_messen(state, Fall::erstesDesMonats, false);
}
BENCHMARK(BM_Eingabebefehl_erstes_des_Monats)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->ComputeStatistics("min", Kleinstes);

// The same clicks the user's whole way, from the mouse on the cell to the grid repainted.
static void BM_Eingabebefehl_ganzer_Weg(benchmark::State& state, Fall fall) { Klicks_messen(state, fall, true); }
BENCHMARK_CAPTURE(BM_Eingabebefehl_ganzer_Weg, anhaengen, Fall::anhängen)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->ComputeStatistics("min", Kleinstes);
BENCHMARK_CAPTURE(BM_Eingabebefehl_ganzer_Weg, erstes_des_Tages, Fall::erstesDesTages)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->ComputeStatistics("min", Kleinstes);
BENCHMARK_CAPTURE(BM_Eingabebefehl_ganzer_Weg, erstes_des_Monats, Fall::erstesDesMonats)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->ComputeStatistics("min", Kleinstes);

// File-system calls and folder listings per click, counted under strace.
static void BM_Dateizugriffe_je_Klick(benchmark::State& state, const char* art) {
  Dateizugriffe_melden(state, QString::fromLatin1(art));
}
BENCHMARK_CAPTURE(BM_Dateizugriffe_je_Klick, anhaengen, "klick_anhaengen")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Dateizugriffe_je_Klick, erstes_des_Tages, "klick_erstes_des_Tages")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Dateizugriffe_je_Klick, erstes_des_Monats, "klick_erstes_des_Monats")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
