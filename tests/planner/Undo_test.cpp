// Undo and redo in the loaded main window, worked by mouse and keys: single and
// multi-row steps with their logbook lines, the view switch, a refusal after another
// workstation's change, the stack's overflow, redo after a new entry, and the history
// emptied when the configuration or the employee list is read in again.
#include "planner/Undo.h"

#include <QFile>
#include <QLineEdit>
#include <QTabBar>

#include "Fensterbedienung.h"
#include "Schreibvorgaenge.h"
#include "common/Modaldialog.h"
#include "planner/Eingabe.h"
#include "planner/Markierung.h"
#include "planner/Monatsanzeige.h"
#include "planner/Monatsspeicher.h"
#include "planner/Zwischenablage.h"
#include "planner/frmKommentar.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "store/Feiertage.h"

namespace {
using namespace planer;

constexpr int kUrlaub = 1, kZeitausgleich = 3;

class UndoTest : public FensterbedienungTest {
 protected:
  void SetUp() override {
    FensterbedienungTest::SetUp();
    gBenutzerstufe = 2;
  }
  // Today's version of March as this workstation wrote it.
  QString heute() const { return gDatenordner + QStringLiteral("2603 260312 Data.dat"); }
  // Another workstation adds a line to today's version of March.
  void fremdAnhängen(const QString& zeile) {
    QStringList zeilen = dekodierteZeilen(heute());
    zeilen << zeile;
    schreiben(heute(), kodiert(zeilen));
  }
  // Lines of the logbook that end in ":Storno".
  QStringList stornos() {
    QStringList s;
    for (const QString& z : logbuch())
      if (z.endsWith(u":Storno")) s << z;
    return s;
  }
  int pieptöne() const { return skript->pieptöne; }
};

TEST_F(UndoTest, EineZeileWirdMitIhrenLogbuchzeilenRueckgaengigGemachtUndWiederhergestellt) {
  laden();
  Raster& g = raster();
  undo();
  EXPECT_EQ(pieptöne(), 1) << "nothing to undo right after the start";
  const int ich = zeile(QStringLiteral("tester"));
  ASSERT_GT(ich, 0);
  const QString vorher = Tabellenzeilendaten(ich);
  eintragen(ich, 16, 17, kUrlaub);
  ASSERT_EQ(g.TextMatrix(ich, 16), u"U");
  EXPECT_EQ(Undoposition(), 2);
  const QString nachher = Tabellenzeilendaten(ich);

  undo();
  EXPECT_EQ(g.TextMatrix(ich, 16), QString());
  EXPECT_EQ(g.TextMatrix(ich, 17), QString());
  EXPECT_EQ(QStringLiteral("A:tester:") + letzteZeile(QStringLiteral("2603"), QStringLiteral("tester")), vorher);
  EXPECT_EQ(Undoposition(), 0);
  ASSERT_FALSE(logbuch().isEmpty());
  EXPECT_TRUE(logbuch().last().endsWith(u"|tester|tester|Urlaub|160326|170326:Storno"))
      << logbuch().last().toStdString();

  redo();
  EXPECT_EQ(g.TextMatrix(ich, 16), u"U");
  EXPECT_EQ(g.TextMatrix(ich, 17), u"U");
  EXPECT_EQ(QStringLiteral("A:tester:") + letzteZeile(QStringLiteral("2603"), QStringLiteral("tester")), nachher);
  EXPECT_EQ(Undoposition(), 2);
  EXPECT_TRUE(logbuch().last().endsWith(u"|tester|tester|Urlaub|160326|170326"));

  undo();
  EXPECT_EQ(g.TextMatrix(ich, 16), QString());
  EXPECT_EQ(stornos().size(), 2);
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_EQ(pieptöne(), 1);
}

TEST_F(UndoTest, MehrzeiligerSchrittWirdEinmalMitEinerStornozeileJeZeileGeschrieben) {
  laden();
  const int anna = zeile(QStringLiteral("anna")), ich = zeile(QStringLiteral("tester"));
  ASSERT_EQ(ich, anna + 1);
  const QString annaVorher = Tabellenzeilendaten(anna), ichVorher = Tabellenzeilendaten(ich);
  ziehen(anna, 20, 20, ich);
  knopf(kUrlaub);
  ASSERT_EQ(raster().TextMatrix(anna, 20), u"U");
  ASSERT_EQ(raster().TextMatrix(ich, 20), u"U");
  EXPECT_EQ(Undostapel(1).eintrag, u">");
  EXPECT_EQ(Undostapel(Undoposition()).eintrag, u"<");

  Schreibvorgänge schreibvorgänge(gMonatsschlüssel);
  const qsizetype bisher = dekodierteZeilen(heute()).size();
  undo();
  ASSERT_EQ(schreibvorgänge.zählen(), 1) << "one write for the whole step";
  EXPECT_EQ(dekodierteZeilen(heute()).mid(bisher), (QStringList{ichVorher, annaVorher})) << "the newest row first";
  EXPECT_EQ(raster().TextMatrix(anna, 20), QString());
  EXPECT_EQ(raster().TextMatrix(ich, 20), QString());
  const QStringList s = stornos();
  ASSERT_EQ(s.size(), 2);
  EXPECT_TRUE(s[0].endsWith(u"|tester|Urlaub|200326|200326:Storno"));
  EXPECT_TRUE(s[1].endsWith(u"|anna|Urlaub|200326|200326:Storno"));
  EXPECT_EQ(Undoposition(), 0);
  EXPECT_EQ(gUndoPuffer, QStringList{QStringLiteral("NoData")});
  EXPECT_FALSE(gLogbuchPuffern);

  redo();
  ASSERT_EQ(schreibvorgänge.zählen(), 1);
  EXPECT_EQ(raster().TextMatrix(anna, 20), u"U");
  EXPECT_EQ(raster().TextMatrix(ich, 20), u"U");
  EXPECT_EQ(Undostapel(Undoposition()).eintrag, u"<") << "redo ends on the group's end";
  EXPECT_TRUE(skript->texte().empty());
}

TEST_F(UndoTest, SchrittEinesAnderenMonatsWechseltZuerstNurDorthin) {
  frmVelkora& f = laden();
  const int ich = zeile(QStringLiteral("tester"));
  eintragen(ich, 16, 16, kUrlaub);
  monat(3);
  ASSERT_EQ(gMonatsschlüssel, u"2604");
  const QByteArray märz = lesen(heute());

  undo();
  EXPECT_EQ(gMonatsschlüssel, u"2603");
  EXPECT_EQ(f.tabMonate->currentIndex(), 2);
  EXPECT_EQ(raster().TextMatrix(ich, 16), u"U") << "only the view changed";
  EXPECT_EQ(lesen(heute()), märz);
  EXPECT_EQ(Undoposition(), 2);

  undo();
  EXPECT_EQ(raster().TextMatrix(ich, 16), QString());
  EXPECT_EQ(Undoposition(), 0);
  EXPECT_EQ(skript->pieptöne, 0);
}

// Another workstation entered for the same employee after the local entry: the step is
// refused before anything is written. Also when the local entry cleared a comment, so
// that the step holds a comment pair before the month line.
TEST_F(UndoTest, SchrittDessenMitarbeiterEinAndererArbeitsplatzAenderteWirdAbgelehntUndSchreibtNichts) {
  for (const bool kommentar : {false, true}) {
    SCOPED_TRACE(kommentar ? "with a comment cleared" : "without a comment");
    if (kommentar)
      monatSchreiben(QStringLiteral("2603 260311 Data.dat"),
                     {QStringLiteral("A:anna:") + Codes({{2, '1'}}),
                      QStringLiteral("A:tester:") + Codes({{4, '5'}, {6, '6'}, {16, '3'}}),
                      QStringLiteral("K:tester:16-18:Seminar")});
    laden();
    const int ich = zeile(QStringLiteral("tester"));
    if (kommentar) {
      ASSERT_EQ(gKommentarMarken.text(ich, 16), u"Seminar");
    }
    eintragen(ich, 16, 17, kUrlaub);
    ASSERT_EQ(raster().TextMatrix(ich, 17), u"U");
    const int position = Undoposition();
    EXPECT_EQ(position, kommentar ? 6 : 2);

    fremdAnhängen(QStringLiteral("A:tester:") + Codes({{4, '5'}, {6, '6'}, {16, '1'}, {17, '1'}, {25, '3'}}));
    const QByteArray vorher = lesen(heute());
    const QStringList dateien = Dateiliste(gDatenordner, QStringLiteral("2603*"));
    const int logzeilen = static_cast<int>(logbuch().size());
    undo();
    EXPECT_EQ(skript->texte(), std::vector<QString>{Undo_verweigert_Meldung(QStringLiteral("Schulz Bernd"))});
    EXPECT_EQ(lesen(heute()), vorher) << "the month file is untouched";
    EXPECT_EQ(Dateiliste(gDatenordner, QStringLiteral("2603*")), dateien);
    EXPECT_EQ(logbuch().size(), logzeilen);
    EXPECT_EQ(Undoposition(), position);
    EXPECT_EQ(raster().TextMatrix(ich, 25), u"Z") << "the other workstation's entry is shown";
    EXPECT_EQ(raster().TextMatrix(ich, 16), u"U");
    EXPECT_EQ(gUndoPuffer, QStringList{QStringLiteral("NoData")});
    EXPECT_EQ(gLogbuchPuffer, QStringList{QStringLiteral("NoData")});
    EXPECT_FALSE(gLogbuchPuffern);

    fenster.reset();
    skript->protokoll.clear();
    Löschen(heute());
    Löschen(gDatenordner + QStringLiteral("2603 260311 Data.dat"));
  }
}

TEST_F(UndoTest, VollerStapelVerliertSeineAeltestenZeilenUndEineGruppeOhneAnfangPieptNur) {
  monatSchreiben(QStringLiteral("2603 260311 Data.dat"),
                 {QStringLiteral("A:tester:") + Codes({{16, '3'}}), QStringLiteral("K:tester:16-18:Seminar")});
  laden();
  Raster& g = raster();
  const int ich = zeile(QStringLiteral("tester"));
  g.setRow(ich);
  SaveForUndo(3, QString());
  for (int i = 0; i < 999; ++i) {
    SaveForUndo(1, QString());
    SaveForUndo(1, QStringLiteral("alt"));
  }
  SaveForUndo(4, QString());
  ASSERT_EQ(Undoposition(), kUndoZeilen);
  ASSERT_EQ(Undostapel(1).eintrag, u">");
  Markierung_aufheben();

  // An entry that clears a comment takes six rows: the oldest six go.
  eintragen(ich, 16, 16, kUrlaub);
  ASSERT_EQ(g.TextMatrix(ich, 16), u"U");
  EXPECT_EQ(Undoposition(), kUndoZeilen);
  EXPECT_EQ(Undostapel(1994).eintrag, u"<");
  EXPECT_EQ(Undostapel(1995).eintrag, u">");
  EXPECT_EQ(Undostapel(1996).eintrag.mid(12), QStringLiteral("A:tester:") + Codes({{16, '3'}}));
  EXPECT_EQ(Undostapel(1997).eintrag.mid(12), QStringLiteral("A:tester:") + Codes({{16, '1'}}));
  EXPECT_EQ(Undostapel(1997).text, u"tester|Urlaub|160326|160326");
  EXPECT_EQ(Undostapel(1998).eintrag.mid(12), u"K:tester:16-16:Seminar");
  EXPECT_EQ(Undostapel(1999).eintrag.mid(12), u"K:tester:16-16:");
  EXPECT_EQ(Undostapel(kUndoZeilen).eintrag, u"<");
  for (int i = 1; i < 1994; ++i) ASSERT_NE(Undostapel(i).eintrag, u">") << i;

  undo();
  EXPECT_EQ(g.TextMatrix(ich, 16), u"Z");
  EXPECT_EQ(gKommentarMarken.text(ich, 16), u"Seminar") << "the comment is back";
  EXPECT_EQ(Undoposition(), 1994);
  EXPECT_EQ(skript->pieptöne, 0);

  const QByteArray vorher = lesen(heute());
  undo();
  EXPECT_EQ(skript->pieptöne, 1) << "the group's start was dropped";
  EXPECT_EQ(Undoposition(), 1994);
  EXPECT_EQ(lesen(heute()), vorher);
  EXPECT_TRUE(skript->texte().empty());
}

TEST_F(UndoTest, WiederherstellenNachNeuemEintragPiept) {
  laden();
  const int ich = zeile(QStringLiteral("tester"));
  eintragen(ich, 16, 16, kUrlaub);
  undo();
  eintragen(ich, 17, 17, kZeitausgleich);
  const QByteArray vorher = lesen(heute());
  redo();
  EXPECT_EQ(skript->pieptöne, 1);
  EXPECT_EQ(raster().TextMatrix(ich, 16), QString());
  EXPECT_EQ(raster().TextMatrix(ich, 17), u"Z");
  EXPECT_EQ(lesen(heute()), vorher);
  EXPECT_TRUE(skript->texte().empty());
}

// The configuration or the employee list read in again: what was recorded or copied
// may name other buttons or rows now.
TEST_F(UndoTest, VerlaufUndZwischenablageEntfallenBeimNeuenLesenVonKonfigurationOderMitarbeitern) {
  // What a reload of the configuration reads besides it.
  Feiertage_schreiben();
  int tag = 16;
  for (const char16_t* datei : {u"Konfigdaten.dat", u"Mitarbeiterdaten.dat"}) {
    SCOPED_TRACE(QString::fromUtf16(datei).toStdString());
    laden();
    const int ich = zeile(QStringLiteral("tester"));
    eintragen(ich, tag, tag, kUrlaub);
    ziehen(ich, tag, tag);
    kopieren(ich, tag);
    ASSERT_EQ(Zwischenablage(), QStringList{QStringLiteral("1")});
    ASSERT_EQ(Undoposition(), 2);

    // Another workstation wrote the file.
    QFile f(gDatenordner + QString::fromUtf16(datei));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        f.setFileTime(f.fileTime(QFileDevice::FileModificationTime).addSecs(60), QFileDevice::FileModificationTime));
    f.close();
    monat(2);
    EXPECT_EQ(Undoposition(), 0);
    EXPECT_EQ(Zwischenablage(), QStringList{QStringLiteral("NoEntry")});
    undo();
    EXPECT_EQ(skript->pieptöne, 1);
    EXPECT_EQ(raster().TextMatrix(ich, tag), u"U");
    einfügen(ich, 20);
    EXPECT_EQ(skript->texte().size(), 1u) << "the clipboard is empty";

    fenster.reset();
    skript->pieptöne = 0;
    skript->protokoll.clear();
    gKonfigdatenZeit = Dateizeit(gDatenordner + QStringLiteral("Konfigdaten.dat"));
    gBenutzerstufe = 2;
    ++tag;
  }
}

TEST_F(UndoTest, KommentarWirdAlsEinPaarRueckgaengigGemachtUndWiederhergestellt) {
  laden();
  const int ich = zeile(QStringLiteral("tester"));
  eintragen(ich, 16, 16, kUrlaub);
  ziehen(ich, 16, 16);
  beimDialog<frmKommentar>([](frmKommentar& d) {
    d.txtKommentar->setText(QStringLiteral("Seminar"));
    d.cmdAuswahl[1]->click();
  });
  rechtsklick(ich, 16, Qt::NoModifier);
  ASSERT_EQ(gKommentarMarken.text(ich, 16), u"Seminar");
  ASSERT_EQ(Undoposition(), 4);

  undo();
  EXPECT_EQ(gKommentarMarken.text(ich, 16), QString());
  EXPECT_EQ(raster().TextMatrix(ich, 16), u"U") << "the entry before it stays";
  EXPECT_EQ(dekodierteZeilen(heute()).last(), u"K:tester:16-16:");
  EXPECT_TRUE(logbuch().last().endsWith(u"|tester|Kommentar|160326|160326|Seminar:Storno"));
  EXPECT_EQ(Undoposition(), 2);

  redo();
  EXPECT_EQ(gKommentarMarken.text(ich, 16), u"Seminar");
  EXPECT_EQ(dekodierteZeilen(heute()).last(), u"K:tester:16-16:Seminar");
  EXPECT_EQ(Undoposition(), 4);
  EXPECT_TRUE(skript->texte().empty());
}

TEST_F(UndoTest, BeschaeftigtesFensterNimmtKeineTastenUndKeineKlicks) {
  laden();
  const int ich = zeile(QStringLiteral("tester"));
  eintragen(ich, 16, 16, kUrlaub);
  Sanduhr_ein();
  undo();
  ziehen(ich, 17, 17);
  knopf(kUrlaub);
  EXPECT_EQ(raster().TextMatrix(ich, 16), u"U");
  EXPECT_EQ(raster().TextMatrix(ich, 17), QString());
  EXPECT_EQ(Undoposition(), 2);
  Sanduhr_aus();
  undo();
  EXPECT_EQ(raster().TextMatrix(ich, 16), QString());
}

}  // namespace
