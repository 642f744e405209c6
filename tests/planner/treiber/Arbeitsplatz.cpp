// One workstation of the end-to-end tests: starts the program as velkora does (the
// same wiring and start sequence, offscreen) and then works its main window as a user
// would, by commands read from stdin, one answer line each:
//
//   velkora_arbeitsplatz DATA_FOLDER PROGRAM_FOLDER DATE(ddmmyy) [SWITCH ...]
//
// Further switches ("/lookback") are added to the command line.
//
// The user name and the temporary folder come from USERNAME and TEMP. Prompts are
// answered by a script (messages OK, questions Yes) and collected for "prompts".
//
//   row USER           -> "ok ROW" of the employee's grid row (0: none)
//   mark ROW DAY1 DAY2 -> drags the mouse over the grid; "ok ROW ROWSEL COL COLSEL HIGHLIGHT"
//   button N           -> clicks code button N; "ok"
//   month N            -> clicks month tab N (1 = January); "ok yymm" of the month shown
//   year N             -> clicks year tab N (1 = the planning year); "ok yymm" of the month shown
//   tick               -> one event of the polling timer; "ok COUNTER"
//   enter N            -> runs the entry of button N on the marking, as every path
//                         into an entry does (also when the button is hidden); "ok"
//   dblclick ROW DAY   -> double click on a day cell; "ok"
//   title              -> "ok CAPTION" of the main window
//   cell ROW DAY       -> "ok TEXT" (the cell's text, "-" for an empty cell)
//   undo / redo        -> Ctrl+Z or Ctrl+Y on the month grid; "ok"
//   grid               -> "ok " and the month grid as shown: sizes, every cell's text,
//                         colours and weight, and the calendar-week labels
//   firstgrid          -> "ok " and the same, as it was when the grid was first painted
//   resize W H         -> resizes the main window (the toolkit keeps it at its minimum); "ok W H"
//   shot PATH          -> saves a picture of the main window; "ok"
//   beeps              -> "ok N" of the beeps so far (messages beep too)
//   prompts            -> "ok " and the prompt texts since the last call, " | " between them
//   await PATH         -> "waiting", then "go" once PATH exists (to act together)
//   quit               -> closes the main window; "bye"
#include <unistd.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QMouseEvent>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTabBar>
#include <QTest>
#include <QThread>
#include <cstdio>

#include "launch/Programmstart.h"
#include "planner/Aenderungspruefung.h"
#include "planner/Eingabe.h"
#include "planner/Programm.h"
#include "planner/frmVelkora.h"
#include "platform/Dialoge.h"
#include "platform/Programmende.h"
#include "platform/Umgebung.h"
#include "startup/Start.h"
#include "store/Feiertage.h"
#include "widgets/Rasteransicht.h"

namespace {

// The month grid and the calendar-week strip as the user sees them, in one line.
QString Rasterabzug(const frmVelkora& f) {
  const Raster& g = f.msgFlexGrid->raster();
  QStringList teile;
  teile << QStringLiteral("%1x%2").arg(g.Rows()).arg(g.Cols());
  QStringList breiten;
  for (int c = 0; c < g.Cols(); ++c) breiten << QString::number(g.ColWidth(c));
  teile << breiten.join(u',');
  for (int r = 0; r < g.Rows(); ++r) {
    QStringList zellen{QString::number(g.RowHeight(r))};
    for (int c = 0; c < g.Cols(); ++c)
      zellen << QStringLiteral("%1/%2/%3/%4")
                    .arg(QString(g.TextMatrix(r, c)).replace(u'\r', QStringLiteral("\\r")))
                    .arg(g.Vordergrund(r, c))
                    .arg(g.Hintergrund(r, c))
                    .arg(g.CellFontBold(r, c) ? 1 : 0);
    teile << zellen.join(u',');
  }
  const Raster& kw = f.msgFlexKaWo->raster();
  QStringList wochen{f.msgFlexKaWo->isHidden() ? QStringLiteral("KW hidden") : QStringLiteral("KW")};
  for (int c = 0; c < kw.Cols(); ++c) wochen << kw.TextMatrix(0, c);
  teile << wochen.join(u',');
  return teile.join(QStringLiteral(" | "));
}

// Keeps the grid as it was at its first paint.
class Erstes_Bild : public QObject {
 public:
  Erstes_Bild(frmVelkora& f) : QObject(&f), mF(f) { f.msgFlexGrid->viewport()->installEventFilter(this); }
  QString abzug;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint && abzug.isEmpty()) abzug = Rasterabzug(mF);
    return QObject::eventFilter(o, e);
  }

 private:
  frmVelkora& mF;
};

void antworten(const QString& text) {
  std::fprintf(stdout, "%s\n", text.toUtf8().constData());
  std::fflush(stdout);
}

class Arbeitsplatz {
 public:
  Arbeitsplatz(frmVelkora& f, dialoge::Skript& skript, const Erstes_Bild& erstes)
      : mF(f), mSkript(skript), mErstes(erstes) {}

  // Runs one command; false after "quit".
  bool ausführen(const QString& zeile) {
    const QStringList w = zeile.split(u' ', Qt::SkipEmptyParts);
    if (w.isEmpty()) return true;
    const QString befehl = w[0];
    const auto zahl = [&](int i) { return i < w.size() ? w[i].toInt() : -1; };
    Raster& g = mF.msgFlexGrid->raster();
    if (befehl == u"row" && w.size() == 2) {
      int gefunden = 0;
      for (int r = 1; r < g.Rows() && gefunden == 0; ++r)
        if (g.TextMatrix(r, 32).compare(w[1], Qt::CaseInsensitive) == 0) gefunden = r;
      antworten(QStringLiteral("ok %1").arg(gefunden));
    } else if (befehl == u"mark" && w.size() == 4) {
      ziehen(zahl(1), zahl(2), zahl(3));
      antworten(QStringLiteral("ok %1 %2 %3 %4 %5")
                    .arg(g.Row())
                    .arg(g.RowSel())
                    .arg(g.Col())
                    .arg(g.ColSel())
                    .arg(g.HighLight()));
    } else if (befehl == u"button" && w.size() == 2) {
      const int n = zahl(1);
      if (n < 1 || n > 25 || !mF.cmdAuswahl[n]->isVisible()) {
        antworten(QStringLiteral("error no button %1").arg(n));
      } else {
        QTest::mouseClick(mF.cmdAuswahl[n], Qt::LeftButton);
        antworten(QStringLiteral("ok"));
      }
    } else if (befehl == u"month" && w.size() == 2) {
      const int i = zahl(1) - 1;
      if (i < 0 || i >= mF.tabMonate->count()) {
        antworten(QStringLiteral("error no month tab ") + w[1]);
      } else {
        QTest::mouseClick(mF.tabMonate, Qt::LeftButton, {}, mF.tabMonate->tabRect(i).center());
        antworten(QStringLiteral("ok ") + gMonatsschlüssel);
      }
    } else if (befehl == u"year" && w.size() == 2) {
      const int i = zahl(1) - 1;
      if (i < 0 || i >= mF.tabJahre->count() || !mF.tabJahre->isTabEnabled(i)) {
        antworten(QStringLiteral("error no year tab ") + w[1]);
      } else {
        QTest::mouseClick(mF.tabJahre, Qt::LeftButton, {}, mF.tabJahre->tabRect(i).center());
        antworten(QStringLiteral("ok ") + gMonatsschlüssel);
      }
    } else if (befehl == u"tick") {
      mF.änderungsprüfung().tmrTimer1_Timer();
      antworten(QStringLiteral("ok %1").arg(mF.änderungsprüfung().zähler()));
    } else if (befehl == u"enter" && w.size() == 2) {
      Tabellenzeile_ändern(zahl(1));
      antworten(QStringLiteral("ok"));
    } else if (befehl == u"dblclick" && w.size() == 3) {
      const QPoint p = punkt(zahl(1), zahl(2));
      bewegen(p, Qt::NoButton);
      QTest::mouseDClick(vp(), Qt::LeftButton, {}, p);
      antworten(QStringLiteral("ok"));
    } else if (befehl == u"title") {
      antworten(QStringLiteral("ok ") + mF.windowTitle());
    } else if (befehl == u"cell" && w.size() == 3) {
      const QString t = g.TextMatrix(zahl(1), zahl(2));
      antworten(QStringLiteral("ok ") + (t.isEmpty() ? QStringLiteral("-") : t));
    } else if (befehl == u"undo" || befehl == u"redo") {
      QTest::keyClick(mF.msgFlexGrid, befehl == u"undo" ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
      antworten(QStringLiteral("ok"));
    } else if (befehl == u"grid") {
      antworten(QStringLiteral("ok ") + Rasterabzug(mF));
    } else if (befehl == u"firstgrid") {
      antworten(mErstes.abzug.isEmpty() ? QStringLiteral("error not painted yet")
                                        : QStringLiteral("ok ") + mErstes.abzug);
    } else if (befehl == u"resize" && w.size() == 3) {
      mF.resize(zahl(1), zahl(2));
      QApplication::processEvents();
      antworten(QStringLiteral("ok %1 %2").arg(mF.width()).arg(mF.height()));
    } else if (befehl == u"shot" && w.size() == 2) {
      antworten(mF.grab().save(w[1]) ? QStringLiteral("ok") : QStringLiteral("error not saved: ") + w[1]);
    } else if (befehl == u"beeps") {
      antworten(QStringLiteral("ok %1").arg(mSkript.pieptöne));
    } else if (befehl == u"prompts") {
      QStringList texte;
      for (size_t i = mGemeldet; i < mSkript.protokoll.size(); ++i)
        texte << QString(mSkript.protokoll[i].text).replace(u'\r', u' ');
      mGemeldet = mSkript.protokoll.size();
      antworten(QStringLiteral("ok ") + texte.join(QStringLiteral(" | ")));
    } else if (befehl == u"await" && w.size() == 2) {
      antworten(QStringLiteral("waiting"));
      QDeadlineTimer frist(120000);
      while (!QFile::exists(w[1]) && !frist.hasExpired()) QThread::usleep(200);
      antworten(QFile::exists(w[1]) ? QStringLiteral("go") : QStringLiteral("error timeout"));
    } else if (befehl == u"quit") {
      mF.close();
      antworten(QStringLiteral("bye"));
      return false;
    } else {
      antworten(QStringLiteral("error unknown command: ") + zeile);
    }
    return true;
  }

 private:
  QWidget* vp() const { return mF.msgFlexGrid->viewport(); }
  QPoint punkt(int r, int c) const {
    mF.msgFlexGrid->zeileZeigen(r);
    return mF.msgFlexGrid->zellenRechteck(r, c).center();
  }
  void bewegen(const QPoint& p, Qt::MouseButtons knöpfe) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p), vp()->mapToGlobal(QPointF(p)), Qt::NoButton, knöpfe, Qt::NoModifier);
    QApplication::sendEvent(vp(), &e);
  }
  // Press on the first day, move with the button held to the last, release there.
  void ziehen(int r, int von, int bis) {
    const QPoint a = punkt(r, von), b = punkt(r, bis);
    bewegen(a, Qt::NoButton);
    QTest::mousePress(vp(), Qt::LeftButton, {}, a);
    bewegen(b, Qt::LeftButton);
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, b);
  }

  frmVelkora& mF;
  dialoge::Skript& mSkript;
  const Erstes_Bild& mErstes;
  size_t mGemeldet = 0;
};

// Answers every question with Yes (entries for past days and the like); messages OK.
class JaSkript : public dialoge::Skript {
 public:
  dialoge::Antwort zeigen(const dialoge::Aufforderung& a) override {
    if (antworten.empty() && (a.art == dialoge::Art::JaNein || a.art == dialoge::Art::JaNeinAbbrechen))
      antworte(dialoge::kJa);
    return Skript::zeigen(a);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QStringList a = app.arguments();
  if (a.size() < 4) {
    std::fprintf(stderr, "usage: velkora_arbeitsplatz DATA_FOLDER PROGRAM_FOLDER DATE(ddmmyy) [SWITCH ...]\n");
    return 2;
  }
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  app.setQuitOnLastWindowClosed(true);
  Programm_verdrahten();
  auto skriptDienst = std::make_unique<JaSkript>();
  JaSkript& skript = *skriptDienst;
  dialoge::setzeDienst(std::move(skriptDienst));
  umgebung::setzeProgrammordner(QDir(a[2]).absolutePath());
  Kommandozeile_setzen(QStringList{QStringLiteral("/d:") + a[3], QStringLiteral("/path:") + QDir(a[1]).absolutePath(),
                                   QStringLiteral("/nowelcomescreen")} +
                       a.mid(4));
  // A start that ends the program says why instead of vanishing.
  programmende::setzeTestmodus(true);
  bool beendet = false;
  try {
    Main();
  } catch (const ProgrammBeendet&) {
    beendet = true;
  }
  programmende::setzeTestmodus(false);
  frmVelkora* f = frmVelkora::instanz();
  if (beendet || !f || !f->isVisible()) {
    QStringList texte;
    for (const auto& p : skript.protokoll) texte << QString(p.text).replace(u'\r', u' ');
    antworten(QStringLiteral("error no main window: ") + texte.join(QStringLiteral(" | ")));
    return 1;
  }
  // Nothing has been painted yet: the start shows the window, the event loop paints it.
  const Erstes_Bild* erstes = new Erstes_Bild(*f);
  f->showNormal();
  f->resize(1400, 700);
  QApplication::setActiveWindow(f);
  if (!QTest::qWaitForWindowActive(f)) {
    antworten(QStringLiteral("error the main window did not become active"));
    return 1;
  }
  Arbeitsplatz platz(*f, skript, *erstes);
  antworten(QStringLiteral("ready ") + gMonatsschlüssel);

  // Commands arrive on stdin; each is run in the event loop, one after the other.
  QByteArray puffer;
  bool läuft = false;
  QSocketNotifier eingabe(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&eingabe, &QSocketNotifier::activated, &app, [&] {
    char block[4096];
    const ssize_t n = ::read(STDIN_FILENO, block, sizeof block);
    if (n <= 0) {
      // The test went away: end as the user would.
      eingabe.setEnabled(false);
      if (frmVelkora* fenster = frmVelkora::instanz()) fenster->close();
      QApplication::quit();
      return;
    }
    puffer.append(block, n);
    if (läuft) return;
    läuft = true;
    qsizetype ende;
    while ((ende = puffer.indexOf('\n')) >= 0) {
      const QString zeile = QString::fromUtf8(puffer.left(ende)).trimmed();
      puffer.remove(0, ende + 1);
      if (!platz.ausführen(zeile)) {
        eingabe.setEnabled(false);
        break;
      }
    }
    läuft = false;
  });
  return app.exec();
}
