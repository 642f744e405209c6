#include "planner/Arbeitsfrei.h"

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QTabBar>
#include <QTest>
#include <functional>

#include "planner/Eingabe.h"
#include "planner/Planerdaten.h"
#include "planner/Zwischenablage.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "widgets/Rasteransicht.h"

namespace {
using namespace planer;

const QString kMarke = QString(QChar(0xA0));
const QString kNeueste = QStringLiteral("2603 260311 Data.dat");

// Answers questions Yes (or No), and runs a step of its own when the first question
// comes: what another workstation does while the administrator reads it.
class Antworten : public dialoge::Skript {
 public:
  dialoge::Antwort zeigen(const dialoge::Aufforderung& a) override {
    if (a.art == dialoge::Art::JaNein) {
      if (währendDerFrage) std::exchange(währendDerFrage, nullptr)();
      protokoll.push_back(a);
      return {ja ? dialoge::kJa : dialoge::kNein, {}};
    }
    return Skript::zeigen(a);
  }
  bool ja = true;
  std::function<void()> währendDerFrage;
};

// March 2026: the 16th and 23rd are Mondays, the 21st a Saturday, the 22nd a Sunday,
// the 19th a holiday. Schulz Bernd (row 4) is the user "tester".
class ArbeitsfreiTest : public PlanerFensterTest {
 protected:
  void SetUp() override {
    PlanerFensterTest::SetUp();
    gDatumstrennzeichen = QStringLiteral(".");
    gDatumsreihenfolge = 1;
    auto eigene = std::make_unique<Antworten>();
    antworten = eigene.get();
    dialoge::setzeDienst(std::move(eigene));
    skript = nullptr;
    monatSchreiben(kNeueste, {QStringLiteral("A:anna:") + Codes({{2, '1'}}),
                              QStringLiteral("A:tester:") + Codes({{23, '1'}}), QStringLiteral("K:tester:23-23:Kurs")});
    fensterLaden();
    fenster->resize(1100, 700);
    fenster->show();
    QApplication::setActiveWindow(fenster.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
    ASSERT_EQ(g().TextMatrix(4, 32), u"tester");
    vorher = dekodierteZeilen(gDatenordner + kNeueste);
  }
  Raster& g() { return fenster->msgFlexGrid->raster(); }
  QWidget* vp() { return fenster->msgFlexGrid->viewport(); }
  QPoint punkt(int r, int c) { return fenster->msgFlexGrid->zellenRechteck(r, c).center(); }
  void bewegen(int r, int c) {
    const QPointF p(punkt(r, c));
    QMouseEvent e(QEvent::MouseMove, p, vp()->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(vp(), &e);
  }
  void doppelklick(int r, int c) {
    bewegen(r, c);
    QTest::mouseDClick(vp(), Qt::LeftButton, {}, punkt(r, c));
  }
  void kopfklick(int tag, Qt::KeyboardModifiers tasten) {
    bewegen(0, tag);
    QTest::mouseClick(vp(), Qt::RightButton, tasten, punkt(0, tag));
  }
  QStringList datei() { return dekodierteZeilen(gDatenordner + kNeueste); }
  bool heuteGeschrieben() { return QFile::exists(gDatenordner + QStringLiteral("2603 260312 Data.dat")); }
  std::vector<QString> texte() const { return antworten->texte(); }
  QStringList logbuch() {
    const QString pfad = gLogordner + QStringLiteral("2603 Velkora.log");
    return QFile::exists(pfad) ? dekodierteZeilen(pfad) : QStringList();
  }

  Antworten* antworten = nullptr;
  QStringList vorher;
};

TEST_F(ArbeitsfreiTest, DoppelklickAufMontagSetztDieMarkeUndEinZweiterEntferntSie) {
  doppelklick(4, 16);
  EXPECT_EQ(g().TextMatrix(4, 16), kMarke);
  EXPECT_EQ(g().CellBackColor(4, 16), kFarbe[2]);
  const QString heute = gDatenordner + QStringLiteral("2603 260312 Data.dat");
  ASSERT_TRUE(QFile::exists(heute));
  EXPECT_EQ(dekodierteZeilen(heute).last(), QStringLiteral("A:tester:") + Codes({{16, '8'}, {23, '1'}}));
  EXPECT_EQ(Zwischenablage(), QStringList{QStringLiteral("8")}) << "a following paste sets marks";
  EXPECT_TRUE(logbuch().isEmpty()) << "no logbook line for a mark";

  doppelklick(4, 16);
  EXPECT_EQ(g().TextMatrix(4, 16), QString());
  EXPECT_EQ(g().CellBackColor(4, 16), kFarbe[1]);
  EXPECT_EQ(dekodierteZeilen(heute).last(), QStringLiteral("A:tester:") + Codes({{23, '1'}}));
  EXPECT_TRUE(texte().empty());
}

TEST_F(ArbeitsfreiTest, SamstagOderZelleMitEintragBleibtWieSieIst) {
  doppelklick(4, 21);
  doppelklick(4, 23);
  EXPECT_EQ(g().TextMatrix(4, 21), QString());
  EXPECT_EQ(g().CellBackColor(4, 21), kFarbe[2]);
  EXPECT_EQ(g().TextMatrix(4, 23), u"U");
  EXPECT_FALSE(heuteGeschrieben());
  EXPECT_EQ(datei(), vorher);
}

TEST_F(ArbeitsfreiTest, SoNichtAenderbareTageWerdenAbgelehnt) {
  gBenutzerstufe = 2;
  gFeiertagsdaten = {QString(), QStringLiteral("260101:Neujahr"), QStringLiteral("260319:Josefstag")};
  const struct {
    int tag;
    Qt::KeyboardModifiers tasten;
    const char16_t* meldung;
  } fälle[] = {
      {21, Qt::ShiftModifier,
       u"Dieser Wochenendtag kann nur über das Menü 'Bearbeiten - Wochenende' bearbeitet werden."},
      {19, Qt::ShiftModifier,
       u"Dieser Tag ist ein Feiertag und kann nicht direkt in einen Arbeitstag umgewandelt werden."},
      {22, Qt::ControlModifier,
       u"Dieser Tag ist ein arbeitsfreier Tag und kann nicht direkt in einen Feiertag umgewandelt werden."},
      {19, Qt::ControlModifier, u"Dieser Feiertag kann nur über das Menü 'Bearbeiten - Feiertage' bearbeitet werden."},
  };
  for (const auto& fall : fälle) {
    antworten->protokoll.clear();
    kopfklick(fall.tag, fall.tasten);
    EXPECT_EQ(texte(), std::vector<QString>{QString::fromUtf16(fall.meldung)}) << fall.tag;
  }
  EXPECT_EQ(datei(), vorher);
  EXPECT_TRUE(logbuch().isEmpty());
}

TEST_F(ArbeitsfreiTest, MontagWirdArbeitsfreierTagDesMonatsUndZurueck) {
  gBenutzerstufe = 2;
  kopfklick(16, Qt::ShiftModifier);
  ASSERT_EQ(texte(),
            std::vector<QString>{QStringLiteral("Möchten Sie den 16.03.26 als arbeitsfreien Tag kennzeichnen?")});
  EXPECT_EQ(antworten->protokoll[0].titel, u"Velkora");
  QStringList erwartet = vorher;
  erwartet[2] = QStringLiteral("NoEx16|:NoEx");
  EXPECT_EQ(datei(), erwartet) << "line 3 only, in the same file";
  EXPECT_FALSE(heuteGeschrieben());
  EXPECT_EQ(gMonatsAusnahmen, u"NoEx16|:NoEx");
  for (int r : {1, 3, 4, 6}) EXPECT_EQ(g().CellBackColor(r, 16), kFarbe[2]) << "every row, redisplayed: " << r;
  ASSERT_FALSE(logbuch().isEmpty());
  EXPECT_TRUE(logbuch().last().endsWith(u"|tester|VelkoraAdmin|Arbeitsfreien Tag 16.03.26 hinzugefügt"))
      << logbuch().last().toStdString();

  antworten->protokoll.clear();
  kopfklick(16, Qt::ShiftModifier);
  EXPECT_EQ(texte(), std::vector<QString>{QStringLiteral(
                         "Möchten Sie für den 16.03.26 die Kennzeichnung als arbeitsfreien Tag aufheben?")});
  EXPECT_EQ(datei(), vorher);
  EXPECT_EQ(g().CellBackColor(4, 16), kFarbe[1]);
  EXPECT_TRUE(logbuch().last().endsWith(u"|VelkoraAdmin|Arbeitsfreien Tag 16.03.26 gelöscht"));
}

TEST_F(ArbeitsfreiTest, DienstagWirdFeiertagDesMonatsUndZurueckUndNeinAendertNichts) {
  gBenutzerstufe = 2;
  antworten->ja = false;
  kopfklick(24, Qt::ControlModifier);
  EXPECT_EQ(texte(), std::vector<QString>{QStringLiteral("Möchten Sie den 24.03.26 als Feiertag kennzeichnen?")});
  EXPECT_EQ(datei(), vorher);

  antworten->ja = true;
  antworten->protokoll.clear();
  kopfklick(24, Qt::ControlModifier);
  EXPECT_EQ(datei()[2], u"NoEx:NoEx24|");
  EXPECT_EQ(g().CellBackColor(1, 24), kFarbe[3]);
  EXPECT_TRUE(logbuch().last().endsWith(u"|VelkoraAdmin|Feiertag 24.03.26 hinzugefügt"));

  antworten->protokoll.clear();
  kopfklick(24, Qt::ControlModifier);
  EXPECT_EQ(texte(), std::vector<QString>{
                         QStringLiteral("Möchten Sie für den 24.03.26 die Kennzeichnung als Feiertag aufheben?")});
  EXPECT_EQ(datei(), vorher);
  EXPECT_TRUE(logbuch().last().endsWith(u"|VelkoraAdmin|Feiertag 24.03.26 gelöscht"));
}

TEST_F(ArbeitsfreiTest, BenutzerUnterAdministratorenWerdenStillUebergangen) {
  for (int stufe : {0, 1}) {
    gBenutzerstufe = stufe;
    kopfklick(16, Qt::ShiftModifier);
    kopfklick(24, Qt::ControlModifier);
  }
  EXPECT_TRUE(texte().empty());
  EXPECT_EQ(datei(), vorher);
}

TEST_F(ArbeitsfreiTest, VergangenerMonatWirdAbgelehntWennDerOrdnerAelterAlsEinMonatIstUndDatenHat) {
  gBenutzerstufe = 2;
  monatSchreiben(QStringLiteral("2602 260210 Data.dat"), {QStringLiteral("A:anna:") + Codes({{3, '1'}})});
  fenster->tabMonate->setCurrentIndex(1);
  fenster->tabMonate_Click();
  ASSERT_EQ(gMonatsschlüssel, u"2602");
  gMonateSeitEinrichtung = 2;
  kopfklick(2, Qt::ShiftModifier);
  EXPECT_EQ(texte(),
            std::vector<QString>{QStringLiteral("Diese Funktion ist für vergangene Monate nicht mehr zulässig.")});

  // A folder set up last month may still correct the month before.
  gMonateSeitEinrichtung = 1;
  antworten->protokoll.clear();
  kopfklick(2, Qt::ShiftModifier);
  EXPECT_EQ(texte(),
            std::vector<QString>{QStringLiteral("Möchten Sie den 02.02.26 als arbeitsfreien Tag kennzeichnen?")});
  EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("2602 260210 Data.dat"))[2], u"NoEx02|:NoEx");
}

TEST_F(ArbeitsfreiTest, MonatOhneDateiBekommtEineMitDerAusnahme) {
  gBenutzerstufe = 2;
  fenster->tabMonate->setCurrentIndex(4);
  fenster->tabMonate_Click();
  ASSERT_EQ(gMonatsschlüssel, u"2605");
  kopfklick(4, Qt::ShiftModifier);  // a Monday
  EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("2605 260312 Data.dat")),
            (QStringList{"[2605]", gKennzeile, "NoEx04|:NoEx"}));
}

TEST_F(ArbeitsfreiTest, ZeileEinesAnderenArbeitsplatzesWaehrendOffenerFrageBleibt) {
  gBenutzerstufe = 2;
  // Today's version exists, so the other workstation appends to it.
  monatSchreiben(QStringLiteral("2603 260312 Data.dat"), vorher.mid(3));
  const QString heute = gDatenordner + QStringLiteral("2603 260312 Data.dat");
  const QStringList ausgang = dekodierteZeilen(heute);
  int exitcode = -1;
  QString fehler;
  antworten->währendDerFrage = [&] {
    QProcess p;
    p.setProgram(QStringLiteral(VELKORA_BIN_DIR) + QStringLiteral("/velkora_monatsdatei_helfer"));
    p.setArguments({gDatenordner, QStringLiteral("anhaengen"), QStringLiteral("0"), QStringLiteral("1"),
                    QStringLiteral("1"), QStringLiteral("260312")});
    p.start();
    p.waitForFinished(60000);
    exitcode = p.exitCode();
    fehler = QString::fromLocal8Bit(p.readAllStandardError());
  };
  kopfklick(16, Qt::ShiftModifier);
  ASSERT_EQ(exitcode, 0) << fehler.toStdString();
  const QStringList danach = dekodierteZeilen(heute);
  ASSERT_EQ(danach.size(), ausgang.size() + 1);
  EXPECT_EQ(danach[2], u"NoEx16|:NoEx");
  EXPECT_EQ(danach.mid(3, ausgang.size() - 3), ausgang.mid(3)) << "every line kept";
  EXPECT_TRUE(danach.last().startsWith(u"A:w0u0:")) << "the other workstation's line survives";
}

TEST(Ausnahmezeile, TageHinzufuegenUndEntfernen) {
  const struct {
    const char* zeile;
    int art;
    int tag;
    bool hinzufügen;
    const char* ergebnis;
  } fälle[] = {
      {"NoEx:NoEx", 1, 5, true, "NoEx05|:NoEx"},    {"SaSo12|:01|", 2, 5, true, "SaSo12|:01|05|"},
      {"NoEx05|:NoEx", 1, 5, true, "NoEx05|:NoEx"}, {"NoEx05|12|05|:NoEx", 1, 5, false, "NoEx12|:NoEx"},
      {"NoEx:11|21|", 2, 1, false, "NoEx:11|21|"},  {"NoEx:11|21|", 2, 21, false, "NoEx:11|"},
  };
  for (const auto& f : fälle)
    EXPECT_EQ(Ausnahmezeile_mit_Tag(QString::fromLatin1(f.zeile), f.art, f.tag, f.hinzufügen),
              QString::fromLatin1(f.ergebnis))
        << f.zeile;
}

}  // namespace
