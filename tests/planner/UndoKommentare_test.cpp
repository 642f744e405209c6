// Undo and redo of changes over commented days in the loaded main window: every day
// gets its own comment back, days without a comment stay without, the comment lines
// written are one per run of days with the same text, and the restored comment is
// painted in the comment box during its pause.
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPixmap>
#include <QScreen>

#include "Fensterbedienung.h"
#include "common/Modaldialog.h"
#include "planner/Monatsanzeige.h"
#include "planner/Undo.h"
#include "planner/frmKommentar.h"
#include "store/Konfigdaten.h"

namespace {
using namespace planer;

constexpr int kKrankKnopf = 5, kLöschenKnopf = 7;

class UndoKommentarTest : public FensterbedienungTest {
 protected:
  void SetUp() override {
    FensterbedienungTest::SetUp();
    gBenutzerstufe = 2;
  }
  frmVelkora& ladenOhneRückfrage() {
    frmVelkora& f = laden();
    // Past days may be entered and pasted without a question.
    SetSetting(45, 2);
    return f;
  }
  QString heute() const { return gDatenordner + QStringLiteral("2603 260312 Data.dat"); }
  // The comment lines of today's version from line `ab` on, as read back from the file,
  // one a line.
  std::string kommentarzeilen(qsizetype ab) {
    QStringList r;
    for (const QString& z : dekodierteZeilen(heute()).mid(ab))
      if (z.startsWith(u"K:")) r << z;
    return r.join(u'\n').toStdString();
  }
  qsizetype zeilenzahl() { return dekodierteZeilen(heute()).size(); }
  void kommentieren(int r, int von, int bis, const QString& text) {
    ziehen(r, von, bis);
    bool gezeigt = false;
    beimDialog<frmKommentar>([text, &gezeigt](frmKommentar& d) {
      gezeigt = true;
      d.txtKommentar->setText(text);
      d.cmdAuswahl[1]->click();
    });
    rechtsklick(r, von, Qt::NoModifier);
    ASSERT_TRUE(gezeigt);
  }
};

// The comment of every day of the range as the grid shows it, and its bold mark.
void Tage_pruefen(frmVelkora& f, int r, int von, int bis, const QMap<int, QString>& soll, const char* wann) {
  SCOPED_TRACE(wann);
  for (int d = von; d <= bis; ++d) {
    EXPECT_EQ(gKommentarMarken.text(r, d).toStdString(), soll.value(d).toStdString()) << "day " << d;
    EXPECT_EQ(f.msgFlexGrid->raster().CellFontBold(r, d), !soll.value(d).isEmpty()) << "day " << d;
  }
}

TEST_F(UndoKommentarTest, JederTagBekommtSeinenKommentarZurueckUndDieZeilenSindEineJeLauf) {
  enum class Wie { Krank, Löschen, Einfügen, Kommentar };
  const struct Fall {
    const char* was;
    QString codes;
    QStringList kommentare;
    int von, bis;
    Wie wie;
    // The comment of each day before the change (days not listed have none) and after
    // it (on every day of the range).
    QMap<int, QString> vorher;
    QString nachher;
    // The comment lines undo and redo write.
    QStringList zurück, wieder;
  } fälle[] = {
      {"two comments, then an entry",
       Codes({{30, '1'}, {31, '1'}}),
       {"K:tester:30-30:Eins", "K:tester:31-31:Zwei"},
       30,
       31,
       Wie::Krank,
       {{30, "Eins"}, {31, "Zwei"}},
       {},
       {"K:tester:30-30:Eins", "K:tester:31-31:Zwei"},
       {"K:tester:30-31:"}},
      {"a paste over comments with a gap whose days hold entries",
       Codes({{9, '1'}, {10, '1'}, {11, '1'}, {12, '1'}, {13, '1'}}),
       {"K:tester:09-10:Eins", "K:tester:13-13:Zwei"},
       9,
       13,
       Wie::Einfügen,
       {{9, "Eins"}, {10, "Eins"}, {13, "Zwei"}},
       {},
       {"K:tester:09-10:Eins", "K:tester:11-12:", "K:tester:13-13:Zwei"},
       {"K:tester:09-13:"}},
      {"three different comments with empty days between, erased",
       Codes({{23, '1'}, {25, '3'}, {27, '1'}}),
       {"K:tester:23-23:Eins", "K:tester:25-25:Zwei", "K:tester:27-27:Drei"},
       23,
       27,
       Wie::Löschen,
       {{23, "Eins"}, {25, "Zwei"}, {27, "Drei"}},
       {},
       {"K:tester:23-23:Eins", "K:tester:24-24:", "K:tester:25-25:Zwei", "K:tester:26-26:", "K:tester:27-27:Drei"},
       {"K:tester:23-27:"}},
      {"one comment over a period whose middle days hold entries without one",
       Codes({{23, '1'}, {24, '1'}, {25, '1'}, {26, '1'}, {27, '1'}}),
       {"K:tester:23-23:Alt", "K:tester:27-27:Alt"},
       23,
       27,
       Wie::Kommentar,
       {{23, "Alt"}, {27, "Alt"}},
       "Neu",
       {"K:tester:23-23:Alt", "K:tester:24-26:", "K:tester:27-27:Alt"},
       {"K:tester:23-27:Neu"}},
  };
  for (const Fall& fall : fälle) {
    SCOPED_TRACE(fall.was);
    QStringList zeilen{QStringLiteral("A:anna:") + Codes({{23, '4'}, {24, '4'}, {25, '4'}, {26, '4'}, {27, '4'}}),
                       QStringLiteral("A:tester:") + fall.codes};
    zeilen << fall.kommentare;
    monatSchreiben(QStringLiteral("2603 260311 Data.dat"), zeilen);
    frmVelkora& f = ladenOhneRückfrage();
    const int ich = zeile(QStringLiteral("tester"));
    ASSERT_GT(ich, 0);
    Tage_pruefen(f, ich, fall.von, fall.bis, fall.vorher, "as read");

    switch (fall.wie) {
      case Wie::Krank:
        eintragen(ich, fall.von, fall.bis, kKrankKnopf);
        break;
      case Wie::Löschen:
        eintragen(ich, fall.von, fall.bis, kLöschenKnopf);
        break;
      case Wie::Einfügen: {
        const int anna = zeile(QStringLiteral("anna"));
        ziehen(anna, 23, 27);
        kopieren(anna, 23);
        skript->antworte(dialoge::kJa);  // entries are overwritten
        einfügen(ich, fall.von);
        EXPECT_EQ(raster().TextMatrix(ich, fall.bis), u"D");
        break;
      }
      case Wie::Kommentar:
        kommentieren(ich, fall.von, fall.bis, fall.nachher);
        break;
    }
    QMap<int, QString> nachher;
    for (int d = fall.von; d <= fall.bis; ++d)
      if (!fall.nachher.isEmpty()) nachher.insert(d, fall.nachher);
    Tage_pruefen(f, ich, fall.von, fall.bis, nachher, "after the change");
    const QString geändert = letzteZeile(QStringLiteral("2603"), QStringLiteral("tester"));

    qsizetype bisher = zeilenzahl();
    undo();
    EXPECT_EQ(kommentarzeilen(bisher), fall.zurück.join(u'\n').toStdString())
        << "one line per run of days with the same text";
    EXPECT_EQ(letzteZeile(QStringLiteral("2603"), QStringLiteral("tester")), fall.codes);
    Tage_pruefen(f, ich, fall.von, fall.bis, fall.vorher, "after undo");
    // The month read back from its file.
    monat(3);
    monat(2);
    Tage_pruefen(f, ich, fall.von, fall.bis, fall.vorher, "after undo, read again");

    bisher = zeilenzahl();
    redo();
    EXPECT_EQ(kommentarzeilen(bisher), fall.wieder.join(u'\n').toStdString());
    EXPECT_EQ(letzteZeile(QStringLiteral("2603"), QStringLiteral("tester")), geändert);
    Tage_pruefen(f, ich, fall.von, fall.bis, nachher, "after redo");

    undo();
    Tage_pruefen(f, ich, fall.von, fall.bis, fall.vorher, "after the second undo");
    monat(3);
    monat(2);
    Tage_pruefen(f, ich, fall.von, fall.bis, fall.vorher, "after the second undo, read again");
    // Only the paste's question whether entries are to be overwritten.
    EXPECT_EQ(skript->texte().size(), fall.wie == Wie::Einfügen ? 1u : 0u);
    EXPECT_TRUE(skript->antworten.empty());

    fenster.reset();
    skript->protokoll.clear();
    Löschen(heute());
    Löschen(gDatenordner + QStringLiteral("2603 260311 Data.dat"));
  }
}

// What the window had painted when the pause began, beside what it shows.
struct Gemalt {
  double sekunden = 0;
  bool sichtbar = false;
  QString text;
  QImage box, boxSoll, fenster, fensterSoll;
};

TEST_F(UndoKommentarTest, WiederhergestellterKommentarIstWaehrendDerPauseGemalt) {
  monatSchreiben(QStringLiteral("2603 260311 Data.dat"),
                 {QStringLiteral("A:tester:") + Codes({{16, '1'}, {30, '1'}}), QStringLiteral("K:tester:30-30:Alt")});
  frmVelkora& f = laden();
  const int ich = zeile(QStringLiteral("tester"));
  kommentieren(ich, 16, 16, QStringLiteral("Eins"));
  kommentieren(ich, 30, 30, QStringLiteral("Neu"));
  ASSERT_EQ(gKommentarMarken.text(ich, 30), u"Neu");

  std::vector<Gemalt> pausen;
  uhr::Quellen q;
  q.schlafen = [&](double s) {
    Gemalt g;
    g.sekunden = s;
    g.sichtbar = f.picKommentar->isVisible();
    g.text = f.lblKommentar->text();
    // The backing store as painted so far, and the window rendered afresh.
    const QImage gemalt = f.screen()->grabWindow(f.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage soll = f.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect box(f.picKommentar->mapTo(&f, QPoint(0, 0)), f.picKommentar->size());
    g.box = gemalt.copy(box);
    g.boxSoll = soll.copy(box);
    g.fenster = gemalt;
    g.fensterSoll = soll;
    pausen.push_back(g);
    uhr.sekunden += s;
  };
  uhr::setze(q);

  const struct {
    bool rückgängig;
    int tag;
    const char16_t* text;  // the restored comment; none when empty
  } schritte[] = {{true, 30, u"Alt"}, {true, 16, u""}, {false, 16, u"Eins"}, {false, 30, u"Neu"}};
  for (const auto& schritt : schritte) {
    const QString soll = QString::fromUtf16(schritt.text);
    SCOPED_TRACE((schritt.rückgängig ? "undo to " : "redo to ") + soll.toStdString());
    pausen.clear();
    schritt.rückgängig ? undo() : redo();
    EXPECT_EQ(gKommentarMarken.text(ich, schritt.tag), soll);
    if (soll.isEmpty()) {
      EXPECT_TRUE(pausen.empty()) << "no comment is shown for a comment taken away";
      EXPECT_FALSE(f.picKommentar->isVisible());
      continue;
    }
    ASSERT_EQ(pausen.size(), 1u);
    const Gemalt& g = pausen[0];
    EXPECT_EQ(g.sekunden, 0.75);
    EXPECT_TRUE(g.sichtbar);
    EXPECT_EQ(g.text.toStdString(), soll.toStdString());
    EXPECT_FALSE(g.box.isNull());
    EXPECT_TRUE(g.box == g.boxSoll) << "the box is painted before the pause";
    EXPECT_TRUE(g.fenster == g.fensterSoll) << "the restored month is painted before the pause";
    EXPECT_FALSE(f.picKommentar->isVisible()) << "hidden after the pause";
    QTest::qWait(500);
    EXPECT_FALSE(f.picKommentar->isVisible()) << "and nothing brings it back";
  }
  EXPECT_TRUE(skript->texte().empty());
}

}  // namespace
