#include "planner/Monatsanzeige.h"

#include <optional>

#include "planner/Planerdaten.h"
#include "platform/Uhr.h"
#include "startup/Dateizugriff.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Monatsstand.h"

namespace {
using namespace planer;

const QString kNbsp(QChar(0xA0));

class MonatsanzeigeTest : public PlanerTest {
 protected:
  MonatsanzeigeTest() : grid(1, 33), kawo(1, 33), tasu(4, 32), anzeige(grid, kawo, tasu) {}
  void anzeigen() { anzeige.anzeigen(false); }
  QStringList namen() const {
    QStringList n;
    for (int r = 1; r < grid.Rows(); ++r) n << grid.TextMatrix(r, 0);
    return n;
  }
  Raster grid, kawo, tasu;
  Monatsanzeige anzeige;
};

struct Zellerwartung {
  int zeile, tag;
  const char16_t* text;
  std::optional<qint32> vorne, hinten;
  bool fett;
};

void prüfen(const Raster& g, const std::vector<Zellerwartung>& tabelle, const char* wer) {
  for (const Zellerwartung& z : tabelle) {
    SCOPED_TRACE(testing::Message() << wer << ": row " << z.zeile << " day " << z.tag);
    EXPECT_EQ(g.TextMatrix(z.zeile, z.tag), QString::fromUtf16(z.text));
    if (z.vorne) {
      EXPECT_EQ(g.CellForeColor(z.zeile, z.tag), z.vorne);
    }
    EXPECT_EQ(g.CellBackColor(z.zeile, z.tag), z.hinten);
    EXPECT_EQ(g.CellFontBold(z.zeile, z.tag), z.fett);
  }
}

TEST_F(MonatsanzeigeTest, ZeilenFolgenMitarbeitertabelleUndBeschaeftigungsdaten) {
  anzeigen();
  EXPECT_EQ(namen(), (QStringList{"Frei Vera", "Verwaltung", "Meier Anna", "Schulz Bernd", "Lager", "Kurz Carla"}))
      << "Carla joins on the 20th and has the whole month; Dieter has left";
  EXPECT_EQ(grid.TextMatrix(3, 32), u"anna");
  EXPECT_EQ(grid.TextMatrix(2, 32), u"");
  EXPECT_EQ(grid.CellBackColor(1, 0), kFarbe[4]);
  EXPECT_EQ(grid.CellBackColor(2, 0), kFarbe[5]);
  EXPECT_EQ(grid.TextMatrix(0, 0), u"Name");
  EXPECT_EQ(grid.TextMatrix(0, 1), u"So\r1") << "wide columns: two-line header";
  EXPECT_EQ(grid.TextMatrix(0, 31), u"Di\r31");
  grid.setColWidth(1, 360);
  anzeigen();
  EXPECT_EQ(grid.TextMatrix(0, 2), u"Mo 2");
  gMonatsschlüssel = QStringLiteral("2602");
  anzeigen();
  EXPECT_EQ(grid.TextMatrix(0, 28), u"Sa 28");
  EXPECT_EQ(grid.TextMatrix(0, 29), u"") << "no header after the month's last day";
}

TEST_F(MonatsanzeigeTest, ZellenUndFarbenEinesMitarbeiters) {
  // The user "tester" is an employee; "Krank" (5) is hidden from other users and
  // shown as a blank on the weekend colour (settings position 43 = 1).
  anzeigen();
  const qint32 f1 = kFarbe[1], f2 = kFarbe[2], f3 = kFarbe[3], f8 = kFarbe[8];
  prüfen(grid,
         {
             {3, 2, u"U", 0x000000, kUrlaub, true},           // entry with a comment
             {3, 3, u"Z", 0x000000, kZeitausgleich, true},    // entry with a comment
             {3, 4, u" ", f2, f2, false},                     // another's hidden code: not marked
             {3, 5, u"\u00A0", f2, f2, false},                // non-working-day mark
             {3, 19, u"\u00A0", f2, f3, false},               // the mark on a holiday
             {3, 9, u"", f1, f1, false},                      // comment on an empty day: no mark
             {3, 10, u"", f1, f1, false},                     // the earlier line of the user lost
             {3, 7, u"", f1, f2, false},                      // Saturday
             {3, 12, u"U", 0x000000, kUrlaub, false},         // today's column keeps an entry
             {4, 12, u"", f1, f8, false},                     // today's column, empty
             {4, 4, u"K", 0x0000FF, kKrank, false},           // own hidden code is visible
             {4, 6, u"S", 0x000000, kSonstiges, false},       //
             {1, 19, u"", std::nullopt, f3, false},           // holiday in a row without a line
             {2, 8, u"", std::nullopt, f2, false},            // weekend in a heading row
             {6, 23, u"D", 0x000000, kDienstreise, false},    //
             {6, 24, u"", f1, f1, false},                     //
             {1, 2, u"", std::nullopt, std::nullopt, false},  // no line: base colour of the grid
         },
         "employee");
  EXPECT_EQ(grid.CellBackColor(0, 12), kFarbe[7]) << "today's header";
  EXPECT_EQ(grid.CellBackColor(0, 30), kFerienfarbe) << "school holiday";
  EXPECT_EQ(grid.CellBackColor(0, 29), std::nullopt);
  EXPECT_EQ(gKommentarMarken.text(3, 2), u"Urlaub geplant");
  EXPECT_EQ(gKommentarMarken.text(3, 4), u"");
  EXPECT_EQ(anzeige.tagessumme(5, 4), 1) << "the hidden entry of another is not counted";
  EXPECT_EQ(anzeige.tagessumme(1, 2), 1);
  EXPECT_EQ(anzeige.tagessumme(1, 26), 1);

  // Without position 43 a hidden code leaves the cell empty.
  SetSetting(43, 0);
  anzeigen();
  prüfen(grid, {{3, 4, u"", std::nullopt, std::nullopt, false}}, "position 43 off");
}

TEST_F(MonatsanzeigeTest, AdministratorenSehenVerborgeneKuerzelUndIhreKommentare) {
  gBenutzerstufe = 2;
  anzeigen();
  prüfen(grid, {{3, 4, u"K", 0x0000FF, kKrank, true}}, "administrator");
  EXPECT_EQ(anzeige.tagessumme(5, 4), 2);
  // Position 6 switches the bold comment marks off.
  SetSetting(6, 1);
  anzeigen();
  EXPECT_FALSE(grid.CellFontBold(3, 2));
  EXPECT_EQ(gKommentarMarken.text(3, 2), u"Urlaub geplant");
}

TEST_F(MonatsanzeigeTest, HervorhebungDreiLaesstDieHeutespalteUndStelle9SchaltetHeuteAb) {
  gBenutzerwerte[22] = 3;
  anzeigen();
  EXPECT_EQ(grid.CellBackColor(4, 12), kFarbe[1]);
  EXPECT_EQ(grid.CellBackColor(1, 12), std::nullopt);
  EXPECT_EQ(grid.CellBackColor(0, 12), kFarbe[7]);
  gBenutzerwerte[22] = 2;
  SetSetting(9, 1);
  anzeigen();
  EXPECT_EQ(grid.CellBackColor(0, 12), std::nullopt);
  EXPECT_EQ(grid.CellBackColor(4, 12), kFarbe[1]);
  EXPECT_EQ(grid.CellBackColor(1, 12), std::nullopt);
}

TEST_F(MonatsanzeigeTest, UeberschriftzeilenHervorgehobenWennGewuenscht) {
  gBenutzerwerte[26] = 1;
  anzeigen();
  EXPECT_EQ(grid.CellBackColor(2, 2), kFarbe[5]);
  EXPECT_EQ(grid.CellBackColor(2, 19), kFarbe[5]);
  EXPECT_EQ(grid.CellBackColor(3, 7), kFarbe[2]);
}

TEST_F(MonatsanzeigeTest, AusnahmezeileDesMonatsBestimmtWochenendeUndFeiertage) {
  // The month froze a weekend of Sundays only and a holiday on the 6th.
  monatSchreiben(QStringLiteral("2603 260311 Data.dat"), {}, QStringLiteral("So:06|"));
  anzeigen();
  EXPECT_EQ(grid.CellBackColor(3, 7), std::nullopt) << "Saturday is a working day in that month";
  EXPECT_EQ(grid.CellBackColor(3, 8), kFarbe[2]);
  EXPECT_EQ(grid.CellBackColor(3, 6), kFarbe[3]);
  EXPECT_EQ(grid.CellBackColor(3, 19), std::nullopt) << "not a holiday of that month";
  EXPECT_EQ(grid.TextMatrix(3, 2), u"") << "the newest version has no entries";
}

TEST_F(MonatsanzeigeTest, SichtbarkeitNachBerechtigungUndAnzeigegruppe) {
  SetSetting(1, 2);
  gAnzeigeberechtigung = QStringLiteral("Lager:");
  for (int stufe : {0, 1}) {
    gBenutzerstufe = stufe;
    anzeigen();
    EXPECT_EQ(namen(), (QStringList{"Frei Vera", "Lager", "Kurz Carla"})) << "level " << stufe;
  }
  gBenutzerstufe = 2;
  anzeigen();
  EXPECT_EQ(namen().size(), 6) << "an administrator sees every group";
  // Without permissions in force the permission does not count.
  SetSetting(1, 0);
  gBenutzerstufe = 0;
  anzeigen();
  EXPECT_EQ(namen().size(), 6);

  gAnzeigegruppen =
      QStringList{QString(), QStringLiteral("Alle Mitarbeiter|Verwaltung:Lager:"), QStringLiteral("Büro|Verwaltung:")};
  Anzeigegruppe_setzen(1);
  anzeigen();
  EXPECT_EQ(namen(), (QStringList{"Frei Vera", "Verwaltung", "Meier Anna", "Schulz Bernd"}));
  EXPECT_EQ(grid.TextMatrix(3, 2), u"U") << "entries follow their rows";
  Anzeigegruppe_setzen(0);
  anzeigen();
  EXPECT_EQ(namen().size(), 6);
  // A chosen group that no longer exists hides nobody.
  Anzeigegruppe_setzen(7);
  anzeigen();
  EXPECT_EQ(namen().size(), 6);
}

TEST_F(MonatsanzeigeTest, BenutzerMitUmlautenFindenIhreZeileInJederSchreibweise) {
  // The last line of each user wins, the name compared without regard to case, with
  // umlauts, "ß" and the code page's letters beyond Latin-1 as well; a name spelt
  // without its umlauts is another user's.
  Mitarbeiter_setzen({{u"Bär Jörg", u"Jörg.Bär", u"000000", u"999999"},
                      {u"Weiß Öznur", u"öznur.weiß", u"000000", u"999999"},
                      {u"Šima Ana", u"ŠIMA", u"000000", u"999999"},
                      {u"Bar Jorg", u"jorg.bar", u"000000", u"999999"}});
  // Through the program's own encoder: "š" is no Latin-1 character.
  schreiben(gDatenordner + QStringLiteral("2603 260312 Data.dat"),
            kodierteDatei(
                {QStringLiteral("[2603]"), QStringLiteral("Velkora:0123456789AB"), QStringLiteral("NoEx:NoEx"),
                 QStringLiteral("A:jörg.bär:") + Codes({{2, '1'}}), QStringLiteral("A:JÖRG.BÄR:") + Codes({{3, '1'}}),
                 QStringLiteral("A:ÖZNUR.WEIß:") + Codes({{4, '3'}}), QStringLiteral("A:šima:") + Codes({{5, '4'}}),
                 QStringLiteral("A:Jorg.Bar:") + Codes({{9, '1'}})}));
  anzeigen();
  EXPECT_EQ(namen(), (QStringList{"Bär Jörg", "Weiß Öznur", "Šima Ana", "Bar Jorg"}));
  EXPECT_EQ(grid.TextMatrix(1, 2), u"");
  EXPECT_EQ(grid.TextMatrix(1, 3), u"U");
  EXPECT_EQ(grid.TextMatrix(1, 9), u"");
  EXPECT_EQ(grid.TextMatrix(2, 4), u"Z");
  EXPECT_EQ(grid.TextMatrix(3, 5), u"D");
  EXPECT_EQ(grid.TextMatrix(4, 9), u"U");
}

TEST_F(MonatsanzeigeTest, OhneMitarbeiterEineLeereZeile) {
  Mitarbeiter_setzen({{u"NoNames", u"", u"", u""}});
  anzeigen();
  ASSERT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.TextMatrix(1, 0), u"");
  // Nobody visible at all: one empty row all the same.
  Mitarbeiter_setzen({{u"Alt Dieter", u"dieter", u"000000", u"260228"}});
  anzeigen();
  ASSERT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.TextMatrix(1, 0), u"");
}

TEST_F(MonatsanzeigeTest, Kalenderwochenbeschriftung) {
  gBenutzerwerte[28] = 1;
  // March 2026 begins on a Sunday and its 30th is a Monday.
  anzeigen();
  EXPECT_EQ(kawo.TextMatrix(0, 1), u" ");
  EXPECT_EQ(kawo.TextMatrix(0, 2), u"10. KW");
  EXPECT_EQ(kawo.TextMatrix(0, 31), u"14. KW");
  EXPECT_EQ(kawo.TextMatrix(0, 32), u"14. KW") << "the short last week borrows the spare column";
  EXPECT_TRUE(kawo.MergeRow(0));
  // August 2026 begins on a Saturday and its 31st is a Monday.
  gMonatsschlüssel = QStringLiteral("2608");
  anzeigen();
  EXPECT_EQ(kawo.TextMatrix(0, 1), u" ");
  EXPECT_EQ(kawo.TextMatrix(0, 2), u" ");
  EXPECT_EQ(kawo.TextMatrix(0, 3), u"32. KW");
  EXPECT_EQ(kawo.TextMatrix(0, 31), u" ");
  EXPECT_EQ(kawo.TextMatrix(0, 32), u" ");
}

TEST_F(MonatsanzeigeTest, TagessummenWerdenGefuelltUndGefaerbt) {
  gBenutzerwerte[25] = 1;
  gBenutzerstufe = 2;
  anzeigen();
  EXPECT_EQ(tasu.TextMatrix(1, 2), u"1");
  EXPECT_EQ(tasu.TextMatrix(1, 3), u"");
  EXPECT_EQ(tasu.CellBackColor(1, 3), kFarbe[1]);
  EXPECT_EQ(tasu.CellBackColor(2, 7), kFarbe[2]);
  EXPECT_EQ(tasu.CellBackColor(3, 19), kFarbe[3]);
  EXPECT_EQ(tasu.CellBackColor(3, 12), kFarbe[8]);
}

TEST_F(MonatsanzeigeTest, MonatOhneDateiZeigtZeilenNurMitFarben) {
  gMonatsschlüssel = QStringLiteral("2605");
  anzeigen();
  EXPECT_EQ(grid.Rows(), 7);
  EXPECT_EQ(grid.TextMatrix(3, 4), u"");
  EXPECT_EQ(grid.CellBackColor(3, 2), kFarbe[2]) << "2 May 2026 is a Saturday";
  EXPECT_EQ(gMonatsdateiStand, Monatsstand_lesen(QStringLiteral("2605")));
  EXPECT_TRUE(gMonatsdateiStand.name.isEmpty());
  EXPECT_EQ(gMonatsAusnahmen, u"NoEx:NoEx");
}

TEST_F(MonatsanzeigeTest, EigenerZeitstempelDerHeutigenVersionBleibt) {
  anzeigen();
  const Monatsstand vorher = gMonatsdateiStand;
  monatSchreiben(QStringLiteral("2603 260312 Data.dat"), {});
  anzeigen();
  EXPECT_NE(gMonatsdateiStand, vorher);
  EXPECT_EQ(gMonatsdateiStand.name, u"2603 260312 Data.dat");
  EXPECT_FALSE(Monatsstand_geändert(QStringLiteral("2603")));
}

TEST_F(MonatsanzeigeTest, LangsameAnzeigeMarkiertDieFreigabeAlsLangsam) {
  // A slow share: the clock runs on by the same step at every look at it, so that the
  // whole display takes the time given.
  int blicke = 0;
  double schritt = 0.0;
  uhr::Quellen q;
  q.monoton = [&] {
    ++blicke;
    return uhr.sekunden += schritt;
  };
  uhr::setze(q);
  anzeigen();
  const int jeAnzeige = blicke;
  ASSERT_GE(jeAnzeige, 2) << "the display times itself";
  const auto dauert = [&](double sekunden) { schritt = sekunden / (jeAnzeige - 1); };
  dauert(0.2);
  anzeigen();
  EXPECT_FALSE(gLangsamesNetz) << "0.2 s is not slow";
  dauert(0.3);
  anzeigen();
  EXPECT_TRUE(gLangsamesNetz);
  EXPECT_EQ(gBenutzerwerte[31], 1);
}

TEST_F(MonatsanzeigeTest, RasterWirdEinmalGezeichnetUndDasLayoutErfaehrtNeueZeilenzahlen) {
  int bilder = 0, anordnungen = 0;
  grid.beobachten([&] { ++bilder; });
  anzeige.zeilenzahl_geändert = [&] { ++anordnungen; };
  anzeige.zeilenLetztesLayout = 7;
  anzeigen();
  EXPECT_EQ(bilder, 1);
  EXPECT_EQ(anordnungen, 0);
  EXPECT_TRUE(grid.Redraw());
  anzeige.zeilenLetztesLayout = 3;
  anzeigen();
  EXPECT_EQ(anordnungen, 1);
}

}  // namespace
