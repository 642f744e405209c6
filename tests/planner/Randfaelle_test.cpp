// The main window driven by mouse as a user would, on the edges: no employees, clicks
// on heading, name and header cells and past a short month's last day, a marking left
// over a month change, an entry on the last day of a month.
#include <QApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <memory>

#include "planner/Aenderungspruefung.h"
#include "planner/Eingabe.h"
#include "planner/Fensterbedienung.h"
#include "planner/Markierung.h"
#include "planner/Planerdaten.h"
#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Dialoge.h"
#include "platform/Programmende.h"
#include "startup/Dateizugriff.h"
#include "widgets/Rasteransicht.h"

namespace {
using namespace planer;

class RandfallTest : public FensterbedienungTest {
 protected:
  void klick(int r, int c) { ziehen(r, c, c); }
  std::vector<QString> texte() { return skript->texte(); }
};

// Any prompt that is not one of these is a fault reaching the user (the central error
// handler's message among them).
bool Erwartet(const QString& t) {
  return t.startsWith(u"Überschriftzeile.") || t.startsWith(u"Bitte markieren Sie") ||
         t.startsWith(u"Es wurden noch keine Mitarbeiterdaten") || t.startsWith(u"Achtung! Eintrag für einen");
}

TEST_F(RandfallTest, OhneNamenAendernKlicksUndSchaltflaechenNichts) {
  gIstMitarbeiter = true;
  gBenutzerstufe = 1;
  Mitarbeiter_setzen({{u"NoNames", u"", u"", u""}});
  laden();
  Raster& g = raster();
  ASSERT_EQ(g.Rows(), 2);
  const QStringList vorher = Dateiliste(gDatenordner, QStringLiteral("*Data.dat"));
  const QString neueste = gDatenordner + vorher.last();
  const QStringList inhalt = dekodierteZeilen(neueste);
  for (int modus : {1, 2, 3}) {
    gBenutzerwerte[22] = modus;
    klick(1, 5);
    knopf(1);
    klick(1, 0);
    knopf(1);
    ziehen(1, 3, 9);
    knopf(8);
    QTest::mouseDClick(vp(), Qt::LeftButton, {}, punkt(1, 4));
    QTest::mouseClick(vp(), Qt::RightButton, {}, punkt(0, 4));
    QTest::mouseClick(vp(), Qt::LeftButton, {}, QPoint(vp()->width() - 2, vp()->height() - 2));
    knopf(1);
  }
  for (const QString& t : texte()) EXPECT_TRUE(Erwartet(t)) << t.toStdString();
  for (int d = 1; d <= 31; ++d) EXPECT_TRUE(g.TextMatrix(1, d).isEmpty()) << d;
  EXPECT_EQ(Dateiliste(gDatenordner, QStringLiteral("*Data.dat")), vorher) << "nothing written";
  EXPECT_EQ(dekodierteZeilen(neueste), inhalt);
}

// February: the columns after the 28th hold no day; a marking there or past the month
// changes nothing, and a marking left over a month or year change enters nothing.
TEST_F(RandfallTest, KurzerMonatUndUebrigeMarkierungenNachMonatswechselTragenNichtsEin) {
  gIstMitarbeiter = true;
  gBenutzerstufe = 1;
  laden();
  Raster& g = raster();
  const int ich = zeile(QStringLiteral("tester"));
  ASSERT_GT(ich, 0);
  monat(1);
  ASSERT_EQ(gMonatsschlüssel, u"2602");
  klick(ich, 30);
  knopf(1);
  klick(ich, 31);
  knopf(7);
  for (int d = 29; d <= 31; ++d) EXPECT_TRUE(g.TextMatrix(ich, d).isEmpty()) << d;
  ziehen(ich, 20, 22);
  monat(3);
  ASSERT_EQ(gMonatsschlüssel, u"2604");
  EXPECT_EQ(g.HighLight(), 0);
  knopf(1);
  for (int d = 20; d <= 22; ++d) EXPECT_TRUE(g.TextMatrix(ich, d).isEmpty()) << d;
  // The last day of a long month is entered and saved.
  monat(2);
  ziehen(ich, 30, 31);
  knopf(1);
  EXPECT_EQ(g.TextMatrix(ich, 31), u"U");
  EXPECT_TRUE(dekodierteZeilen(gDatenordner + QStringLiteral("2603 260312 Data.dat"))
                  .contains(QStringLiteral("A:tester:") + Codes({{4, '5'}, {6, '6'}, {30, '1'}, {31, '1'}})));
  for (const QString& t : texte()) EXPECT_TRUE(Erwartet(t)) << t.toStdString();
}

}  // namespace
