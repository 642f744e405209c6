// The entry clipboard in the loaded main window: Ctrl and a right click copy the
// marked cells, Shift and a right click paste them, continuing in the next month for the
// same employees. One table of cases, each from a copy in March 2026 to a paste.
#include "planner/Zwischenablage.h"

#include <functional>
#include <memory>
#include <vector>

#include "Fensterbedienung.h"
#include "planner/Undo.h"

namespace {
using namespace planer;

const QString kLeer = QStringLiteral(
    "Einfügen nicht möglich, Zwischenablage ist leer. Markieren Sie einen Eintrag und kopieren Sie diesen mit "
    "STRG-Taste und rechtem Mausklick in die Zwischenablage.");
const QString kFortsetzen = QStringLiteral("Möchten Sie das Einfügen im nächsten Monat fortsetzen?");

class ZwischenablageTest : public FensterbedienungTest {
 protected:
  void SetUp() override {
    FensterbedienungTest::SetUp();
    märzSchreiben();
  }
  void märzSchreiben() {
    // The newest March: a few codes for vera and anna, ten days of vacation for the
    // tester from the 16th on (weekends and the holiday included).
    monatSchreiben(QStringLiteral("2603 260311 Data.dat"),
                   {QStringLiteral("A:vera:") + Codes({{16, '1'}, {17, '3'}, {18, '4'}}),
                    QStringLiteral("A:anna:") + Codes({{16, '6'}, {17, '6'}, {18, '1'}}),
                    QStringLiteral("A:tester:") + Codes({{16, '1'},
                                                         {17, '1'},
                                                         {18, '1'},
                                                         {19, '1'},
                                                         {20, '1'},
                                                         {21, '1'},
                                                         {22, '1'},
                                                         {23, '1'},
                                                         {24, '1'},
                                                         {25, '1'}}),
                    QStringLiteral("A:carla:") + Codes({{23, '4'}})});
  }
};

struct Kopie {
  const char16_t* von = nullptr;  // nullptr: nothing is copied
  const char16_t* bis = nullptr;
  int vonTag = 0, bisTag = 0;
};
struct Ziel {
  int jahr;   // year tab (0 = 2025)
  int monat;  // month tab (0 = January)
  const char16_t* benutzer;
  int tag;
};
struct Zeile {
  const char16_t* monat;
  const char16_t* benutzer;
  QString codes;
};
struct Fall {
  const char* was;
  int stufe;
  int pos12;   // settings position 12: entries on non-working days
  bool willi;  // an employee above the tester who leaves at the end of April
  Kopie kopie;
  Ziel ziel;
  std::vector<int> antworten;
  std::vector<QString> meldungen;
  std::vector<Zeile> zeilen;
};

TEST_F(ZwischenablageTest, KopierenUndEinfuegen) {
  const QString zehnTage = Codes(
      {{16, '1'}, {17, '1'}, {18, '1'}, {19, '1'}, {20, '1'}, {21, '1'}, {22, '1'}, {23, '1'}, {24, '1'}, {25, '1'}});
  const std::vector<Fall> fälle = {
      {"a block of two rows over a heading",
       2,
       0,
       false,
       {u"vera", u"anna", 16, 18},
       {1, 3, u"tester", 7},
       {},
       {},
       {{u"2604", u"tester", Codes({{7, '1'}, {8, '3'}, {9, '4'}})},
        {u"2604", u"carla", Codes({{7, '6'}, {8, '6'}, {9, '1'}})}}},
      {"ten days on the 25th of a 30-day month go on in the next month",
       2,
       1,
       true,
       {u"tester", u"tester", 16, 25},
       {1, 3, u"tester", 25},
       {dialoge::kJa},
       {kFortsetzen},
       {{u"2604", u"tester", Codes({{25, '1'}, {26, '1'}, {27, '1'}, {28, '1'}, {29, '1'}, {30, '1'}})},
        {u"2605", u"tester", Codes({{1, '1'}, {2, '1'}, {3, '1'}, {4, '1'}})},
        {u"2605", u"willi", QString()}}},
      {"a row whose employee has left is left out in the next month",
       2,
       1,
       true,
       {u"anna", u"tester", 16, 25},
       {1, 3, u"anna", 25},
       {dialoge::kJa},
       {kFortsetzen, Einfügen_ohne_Mitarbeiter_Meldung(QStringLiteral("Weg Willi"))},
       {{u"2604", u"anna", Codes({{25, '6'}, {26, '6'}, {27, '1'}})},
        {u"2604", u"tester", Codes({{25, '1'}, {26, '1'}, {27, '1'}, {28, '1'}, {29, '1'}, {30, '1'}})},
        {u"2605", u"tester", Codes({{1, '1'}, {2, '1'}, {3, '1'}, {4, '1'}})}}},
      {"ten days not continued",
       2,
       1,
       false,
       {u"tester", u"tester", 16, 25},
       {1, 3, u"tester", 25},
       {},
       {kFortsetzen},
       {{u"2604", u"tester", Codes({{25, '1'}, {26, '1'}, {27, '1'}, {28, '1'}, {29, '1'}, {30, '1'}})},
        {u"2605", u"tester", QString()}}},
      {"December of the last year of the window asks nothing",
       2,
       1,
       false,
       {u"tester", u"tester", 16, 25},
       {2, 11, u"tester", 25},
       {},
       {},
       {{u"2712", u"tester", Codes({{25, '1'}, {26, '1'}, {27, '1'}, {28, '1'}, {29, '1'}, {30, '1'}, {31, '1'}})}}},
      {"a copied empty day erases",
       0,
       0,
       false,
       {u"tester", u"tester", 26, 26},
       {1, 2, u"tester", 24},
       {},
       {},
       {{u"2603", u"tester", QString(zehnTage).replace(23, 1, u' ')}}},
      {"an employee may not copy two rows",
       0,
       0,
       false,
       {u"anna", u"tester", 16, 17},
       {1, 2, u"tester", 27},
       {},
       {QStringLiteral("Die Markierung darf sich nur bei Administratoren über mehr als eine Zeile erstrecken"), kLeer},
       {{u"2603", u"tester", zehnTage}}},
      {"the empty clipboard", 2, 0, false, {}, {1, 2, u"tester", 27}, {}, {kLeer}, {{u"2603", u"tester", zehnTage}}},
  };
  const auto benutzer = [](const char16_t* b) { return QString::fromUtf16(b); };
  for (const Fall& fall : fälle) {
    SCOPED_TRACE(fall.was);
    if (fall.willi)
      Mitarbeiter_setzen({{u"Frei Vera", u"vera", u"000000", u"999999"},
                          {u"Verwaltung", u"", u"", u""},
                          {u"Meier Anna", u"anna", u"000000", u"999999"},
                          {u"Weg Willi", u"willi", u"000000", u"260430"},
                          {u"Schulz Bernd", u"tester", u"000000", u"999999"},
                          {u"Lager", u"", u"", u""},
                          {u"Kurz Carla", u"carla", u"260320", u"999999"}});
    märzSchreiben();
    laden();
    gBenutzerstufe = fall.stufe;
    SetSetting(12, fall.pos12);
    ASSERT_EQ(gMonatsschlüssel, u"2603");
    if (fall.kopie.von) {
      ziehen(zeile(benutzer(fall.kopie.von)), fall.kopie.vonTag, fall.kopie.bisTag, zeile(benutzer(fall.kopie.bis)));
      kopieren(zeile(benutzer(fall.kopie.von)), fall.kopie.vonTag);
    }
    if (fall.ziel.jahr != fenster->tabJahre->currentIndex()) jahr(fall.ziel.jahr);
    if (fall.ziel.monat != fenster->tabMonate->currentIndex()) monat(fall.ziel.monat);
    for (int a : fall.antworten) skript->antworte(a);
    einfügen(zeile(benutzer(fall.ziel.benutzer)), fall.ziel.tag);
    EXPECT_EQ(skript->texte(), fall.meldungen);
    EXPECT_TRUE(skript->antworten.empty());
    for (const Zeile& z : fall.zeilen)
      EXPECT_EQ(letzteZeile(QString::fromUtf16(z.monat), benutzer(z.benutzer)).trimmed(), z.codes.trimmed())
          << QString::fromUtf16(z.monat).toStdString() << " " << benutzer(z.benutzer).toStdString();

    fenster.reset();
    skript->protokoll.clear();
    for (const QString& datei : Dateiliste(gDatenordner, QStringLiteral("* 260312 Data.dat")))
      Löschen(gDatenordner + datei);
    Mitarbeiter_setzen({{u"Frei Vera", u"vera", u"000000", u"999999"},
                        {u"Verwaltung", u"", u"", u""},
                        {u"Meier Anna", u"anna", u"000000", u"999999"},
                        {u"Schulz Bernd", u"tester", u"000000", u"999999"},
                        {u"Lager", u"", u"", u""},
                        {u"Kurz Carla", u"carla", u"260320", u"999999"},
                        {u"Alt Dieter", u"dieter", u"000000", u"260228"}});
  }
}

// The paste is one undo step, also when it went on in the next month: two steps then.
TEST_F(ZwischenablageTest, EinfuegenIstEinRueckgaengigschrittUndEinEinzelnerCodeWiederholtDieLetzteSchaltflaeche) {
  laden();
  gBenutzerstufe = 2;
  const int vera = zeile(QStringLiteral("vera")), ich = zeile(QStringLiteral("tester"));
  ziehen(vera, 16, 18, zeile(QStringLiteral("anna")));
  kopieren(vera, 16);
  ASSERT_EQ(Zwischenablage(), (QStringList{QStringLiteral("134"), QStringLiteral("661")}));
  monat(3);
  const int carla = zeile(QStringLiteral("carla"));
  einfügen(ich, 7);
  ASSERT_EQ(raster().TextMatrix(carla, 8), u"S");
  EXPECT_EQ(Undostapel(1).eintrag, u">");
  undo();
  for (int d = 7; d <= 9; ++d) {
    EXPECT_EQ(raster().TextMatrix(ich, d), QString()) << d;
    EXPECT_EQ(raster().TextMatrix(carla, d), QString()) << d;
  }
  EXPECT_EQ(Undoposition(), 0);

  // A code button puts its code into the clipboard: the paste repeats it, no question.
  ziehen(ich, 14, 14);
  knopf(3);
  ASSERT_EQ(Zwischenablage(), QStringList{QStringLiteral("3")});
  einfügen(carla, 15);
  EXPECT_EQ(raster().TextMatrix(carla, 15), u"Z");
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_EQ(Undostapel(3).eintrag.mid(12, 8), u"A:carla:") << "a single code records no group";
}

// Answers Yes to the overwrite question, after another workstation has written
// meanwhile.
class FremdSchreibenBeiFrage : public dialoge::Skript {
 public:
  std::function<void()> beiFrage;
  dialoge::Antwort zeigen(const dialoge::Aufforderung& a) override {
    if (a.art == dialoge::Art::JaNein && beiFrage) {
      beiFrage();
      beiFrage = nullptr;
      antworte(dialoge::kJa);
    }
    return Skript::zeigen(a);
  }
};

TEST_F(ZwischenablageTest, WasEinAndererArbeitsplatzWaehrendDerUeberschreibfrageSchriebBleibt) {
  auto eigenes = std::make_unique<FremdSchreibenBeiFrage>();
  FremdSchreibenBeiFrage& dienst = *eigenes;
  dialoge::setzeDienst(std::move(eigenes));
  laden();
  gBenutzerstufe = 2;
  const int vera = zeile(QStringLiteral("vera")), ich = zeile(QStringLiteral("tester"));
  ziehen(vera, 16, 18);
  kopieren(vera, 16);
  const QString datei = gDatenordner + QStringLiteral("2603 260311 Data.dat");
  dienst.beiFrage = [&] {
    QStringList zeilen = dekodierteZeilen(datei);
    zeilen << QStringLiteral("A:tester:") + Codes({{16, '1'}, {23, '1'}, {24, '1'}, {25, '1'}, {26, '6'}});
    schreiben(datei, kodiert(zeilen));
  };
  einfügen(ich, 23);
  ASSERT_EQ(dienst.texte().size(), 1u);
  EXPECT_TRUE(dienst.texte()[0].startsWith(u"Achtung! Durch das Einfügen"));
  EXPECT_EQ(letzteZeile(QStringLiteral("2603"), QStringLiteral("tester")),
            Codes({{16, '1'}, {23, '1'}, {24, '3'}, {25, '4'}, {26, '6'}}));
  EXPECT_EQ(raster().TextMatrix(ich, 26), u"S");
  EXPECT_EQ(raster().TextMatrix(ich, 24), u"Z");
}

}  // namespace
