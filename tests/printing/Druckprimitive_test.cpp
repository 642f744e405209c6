#include "printing/Druckprimitive.h"

#include "common/Druckhelfer.h"
#include "platform/Gebietsschema.h"
#include "printing/Listendruck.h"

namespace {

using Primitive = DruckTest;

TEST_F(Primitive, TextOhneZeilenendeSetztDieZeileFort) {
  Aufzeichnung& a = einzelauftrag();
  Schreibe_Text(3, 5, QStringLiteral("Abc"), QStringLiteral("NoCr"));
  Schreibe_Text(0, 0, QStringLiteral("de"), QStringLiteral("NoCr"));
  const auto t = a.texte();
  ASSERT_EQ(t.size(), 2u);
  EXPECT_DOUBLE_EQ(t[1].x, 3 + 0.6);
  EXPECT_DOUBLE_EQ(t[1].y, 5);
  EXPECT_DOUBLE_EQ(gSeite.aktSpalte, 3 + 1.0);
  // Without NoCr the next text starts at the left of the next line.
  Schreibe_Text(0, 0, QStringLiteral("x"), QString());
  Schreibe_Text(0, 0, QStringLiteral("y"), QString());
  EXPECT_DOUBLE_EQ(a.texte().back().x, 0);
  EXPECT_DOUBLE_EQ(a.texte().back().y, 5.45);
}

TEST_F(Primitive, RechtsEndetAmPapierpunktAuchMitVersatz) {
  einrichten = [](Aufzeichnung& a) {
    a.versatzX = 0.42;
    a.versatzY = 0.3;
  };
  Aufzeichnung& a = einzelauftrag();
  EXPECT_DOUBLE_EQ(gSeite.druckerLinks, 0.42);
  Schreibe_Text(27.4, 2, QStringLiteral("Titel"), QStringLiteral("rechts"));
  const auto e = a.texte().back();
  EXPECT_NEAR(e.x + e.b, 27.4, 1e-9);
  EXPECT_NEAR(e.y, 2, 1e-9);
  // Bold is aligned by the regular width: it reaches beyond the point by the difference.
  Schreibe_Text(27.4, 3, QStringLiteral("Summe"), QStringLiteral("bold, rechts"));
  const auto f = a.texte().back();
  EXPECT_TRUE(f.schrift.fett);
  EXPECT_NEAR(f.x, 27.4 - 1.0, 1e-9);
  EXPECT_FALSE(gDruckschrift.fett);
}

TEST_F(Primitive, GitterlinienSchaltenDenRahmenDerKaesten) {
  struct Fall {
    int wert;
    std::vector<std::array<double, 4>> kästen;
  };
  for (const Fall& f : {Fall{1, {{5, 4, 0.66, 0.59}, {5.03, 4.03, 0.6, 0.53}}}, Fall{0, {{5.04, 4.04, 0.57, 0.5}}}}) {
    aufträge.clear();
    gBenutzerwerte[23] = f.wert;
    Aufzeichnung& a = einzelauftrag();
    Setze_Hintergrund(5, 4, 0.66, 0.59, 0x123456);
    ASSERT_EQ(a.einträge.size(), f.kästen.size()) << f.wert;
    for (size_t i = 0; i < f.kästen.size(); ++i) {
      EXPECT_NEAR(a.einträge[i].x, f.kästen[i][0], 1e-9);
      EXPECT_NEAR(a.einträge[i].y, f.kästen[i][1], 1e-9);
      EXPECT_NEAR(a.einträge[i].b, f.kästen[i][2], 1e-9);
      EXPECT_NEAR(a.einträge[i].h, f.kästen[i][3], 1e-9);
    }
    EXPECT_EQ(a.einträge.back().farbe, 0x123456);
    if (f.wert) {
      EXPECT_EQ(a.einträge.front().farbe, gGrundfarben[6]);
    }
  }
}

TEST_F(Primitive, TextKuerzenOhneAuslassungszeichen) {
  einzelauftrag();
  EXPECT_EQ(Text_kürzen(QStringLiteral("Zeitausgleich"), 1.55), QStringLiteral("Zeitaus"));
  EXPECT_EQ(Text_kürzen(QStringLiteral("Urlaub"), 5), QStringLiteral("Urlaub"));
  EXPECT_EQ(Text_kürzen(QStringLiteral("Urlaub"), 0.1), QString());
}

TEST_F(Primitive, LegendeMitNeunKnoepfenInZweiZeilen) {
  Aufzeichnung& a = einzelauftrag();
  Schreibe_Text(0, 10, QString(), QString());
  Monatskopf_drucken(2.3);
  std::map<double, int> zeilen;
  for (const auto& e : a.texte())
    if (e.text.startsWith(u"Grund")) ++zeilen[std::round(e.y * 100) / 100];
  ASSERT_EQ(zeilen.size(), 2u);
  EXPECT_EQ(zeilen.begin()->second, 7);
  EXPECT_EQ(zeilen.rbegin()->second, 2);
  EXPECT_EQ(a.suche(QStringLiteral("Löschen")), nullptr);
  const auto* b = a.suche(QStringLiteral("A"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->farbe, 0x0000FF);
  EXPECT_EQ(gDruckfarbe, 0);
}

TEST_F(Primitive, KopfUndFusszeile) {
  gFirmenzusatz = QStringLiteral("Werk Nord");
  Aufzeichnung& a = einzelauftrag(QStringLiteral("ME"));
  Header_drucken(QStringLiteral("Velkora"));
  Fußzeile_drucken(3);
  EXPECT_NE(a.suche(QStringLiteral("Muster GmbH - Werk Nord")), nullptr);
  EXPECT_NE(a.suche(QStringLiteral("Seite 3")), nullptr);
  EXPECT_NE(a.suche(QStringLiteral("10.03.26")), nullptr);
  int linien = 0;
  for (const auto& e : a.einträge) linien += e.art == Aufzeichnung::Linie;
  EXPECT_EQ(linien, 2);
  aufträge.clear();
  Aufzeichnung& j = einzelauftrag(QStringLiteral("JE"));
  Fußzeile_drucken(1);
  for (const auto& e : j.texte()) EXPECT_FALSE(e.text.startsWith(u"Seite"));
  EXPECT_NE(j.suche(QStringLiteral("10.03.26")), nullptr);
}

// The footers print today's date as the screen shows dates: in the order and with the
// separator of the workstation's regional settings.
TEST_F(Primitive, FusszeilendatumFolgtDenRegionseinstellungen) {
  struct Fall {
    const char* folge;
    const char* trenner;
    const char* datum;
  };
  for (const Fall& f : {Fall{"1", ".", "10.03.26"}, Fall{"0", "/", "03/10/26"}, Fall{"2", "-", "26-03-10"}}) {
    SCOPED_TRACE(f.datum);
    gebietsschema::setze(gebietsschema::Werte{QStringLiteral("1"), QStringLiteral("USA"), QStringLiteral(","),
                                              QString::fromLatin1(f.trenner), QString::fromLatin1(f.folge),
                                              QStringLiteral(".")});
    Datumsformat_ermitteln();
    aufträge.clear();
    Aufzeichnung& quer = einzelauftrag(QStringLiteral("ME"));
    Fußzeile_drucken(1);
    EXPECT_NE(quer.suche(QString::fromLatin1(f.datum)), nullptr);
    aufträge.clear();
    Aufzeichnung& hoch = einzelauftrag(QStringLiteral("Ü"));
    Hochformat_Fußzeile_drucken(1, 0, 0, 0, 0);
    EXPECT_NE(hoch.suche(QString::fromLatin1(f.datum)), nullptr);
  }
}

// Drawing without an open job is reported as a print error, not as the user's cancel.
TEST_F(Primitive, ZeichnenOhneAuftragIstEinDruckfehler) {
  ordnerEinrichten();
  gDruckfläche = nullptr;
  EXPECT_FALSE(Druckroutine(QStringLiteral("Logbuch_drucken"), [] {
    Schreibe_Text(2.3, 2, QStringLiteral("Text"), QString());
    return true;
  }));
  ASSERT_FALSE(skript->texte().empty());
  EXPECT_TRUE(skript->texte().back().startsWith(QStringLiteral(
      "Es ist folgender Druckfehler aufgetreten in Modul 'frmDrucken - Logbuch_drucken':\r\rFehler Nr. 91\r")))
      << skript->texte().back().toStdString();
}

TEST_F(Primitive, SeiteneinrichtungNachAuftragUndKnopfzahl) {
  struct Fall {
    QString code;
    int knöpfe;  // without the erase button
    bool quer;
    double zusatz;
  };
  for (const Fall& f : {Fall{"ME", 9, true, 0}, Fall{"S", 12, false, 0}, Fall{"S", 13, true, 8.7},
                        Fall{"Ü", 20, false, 8.7}, Fall{"JE", 5, true, 0}, Fall{"LA", 13, true, 8.7}}) {
    knöpfe(f.knöpfe);
    aufträge.clear();
    Aufzeichnung& a = einzelauftrag(f.code);
    EXPECT_EQ(a.quer, f.quer) << f.code.toStdString() << f.knöpfe;
    EXPECT_DOUBLE_EQ(gSeite.zusatzbreite, f.zusatz) << f.code.toStdString() << f.knöpfe;
    EXPECT_DOUBLE_EQ(gSeite.hVerschiebung, 0);
    EXPECT_DOUBLE_EQ(gDruckschrift.größe, 10);
  }
}

}  // namespace
