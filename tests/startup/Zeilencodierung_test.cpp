#include "startup/Zeilencodierung.h"

#include <gtest/gtest.h>

#include "common/Testumgebung.h"
#include "platform/Cp1252.h"
#include "startup/Dateizugriff.h"

namespace {

QString alleZeichen() {
  QByteArray b;
  for (int c = 0; c < 256; ++c) b.append(static_cast<char>(c));
  return cp1252::dekodieren(b);
}

QString ohneSteuerzeichen(const QString& s) {
  QString r;
  for (QChar c : s)
    if (cp1252::byte(c) >= 32) r += c;
  return r;
}

}  // namespace

TEST(Zeilencodierung, HinUndZurueckFuerJedesSchluesselzeichen) {
  const QString text = alleZeichen();
  for (int k = 32; k <= 254; ++k) {
    const QByteArray z = Zeile_kodieren(text, static_cast<unsigned char>(k));
    ASSERT_EQ(static_cast<unsigned char>(z[0]), k);
    for (char c : z) ASSERT_GE(static_cast<unsigned char>(c), 32) << "key " << k;
    ASSERT_EQ(z.size(), 1 + 256 - 32) << "control characters are dropped";
    EXPECT_EQ(Zeile_dekodieren(z), ohneSteuerzeichen(text)) << "key " << k;
  }
}

TEST(Zeilencodierung, SchluesselImAbstandVierundsechzigGebenDasselbeEnde) {
  const QString text = QStringLiteral("Müller ½ Urlaub ÄÖÜäöüß 0123");
  EXPECT_EQ(Zeile_kodieren(text, 40).mid(1), Zeile_kodieren(text, 104).mid(1));
  EXPECT_EQ(Zeile_kodieren(text, 40).mid(1), Zeile_kodieren(text, 168).mid(1));
  EXPECT_NE(Zeile_kodieren(text, 40).mid(1), Zeile_kodieren(text, 41).mid(1));
}

TEST(Zeilencodierung, LeereUndNurSteuerzeichenTexteSindEinZeichen) {
  EXPECT_EQ(Zeile_kodieren(QString(), 'A'), QByteArray("A"));
  EXPECT_EQ(Zeile_kodieren(QStringLiteral("\t\r\n"), 'A'), QByteArray("A"));
  EXPECT_EQ(Zeile_dekodieren(QByteArray("A")), QString());
}

TEST(Zeilencodierung, Referenzbytes) {
  // Key 40: the counter starts at 40, so "[Velkora]" is shifted by 41, 42, ...; under
  // key 48 "ü" (252) wraps: 252 + 49 - 224 = 77 ('M').
  const QByteArray erwartet = QByteArray("(") + QByteArray("\x84\x80\x90\x98\x98\x9d\xa1\x91\x8e", 9);
  EXPECT_EQ(Zeile_kodieren(QStringLiteral("[Velkora]"), 40), erwartet);
  EXPECT_EQ(Zeile_dekodieren(erwartet), QStringLiteral("[Velkora]"));
  EXPECT_EQ(Zeile_kodieren(QStringLiteral("ü"), 48), QByteArray("0") + QByteArray(1, char(252 + 49 - 224)));
}

TEST(Zeilencodierung, SchluesselzeichenBleibtImBereich) {
  uhr::Quellen q;
  for (double r : {0.0, 0.5, 0.99999994, 0.9999999999}) {
    q.zufall = [r] { return r; };
    uhr::setze(q);
    const unsigned char k = Zufallsschlüssel();
    EXPECT_GE(k, 32);
    EXPECT_LE(k, 254);
  }
  uhr::zurücksetzen();
}

class LineInOut : public VelkoraTest {};

TEST_F(LineInOut, HierGeschriebeneDateiDekodiertUnabhaengig) {
  const QString pfad = ordner() + QStringLiteral("Test.dat");
  const QStringList zeilen = {QStringLiteral("[Test]"), QStringLiteral("Grün ½ Tag"), QString(),
                              QStringLiteral("A:mueller:U U  ")};
  ASSERT_TRUE(FOpen(pfad, QStringLiteral("Output")));
  for (const auto& z : zeilen) LineOut(z);
  FClose();
  EXPECT_EQ(dekodierteZeilen(pfad), zeilen);
  EXPECT_TRUE(lesen(pfad).endsWith("\r\n"));
}

TEST_F(LineInOut, AnderswoGeschriebeneDateiLiestSichHier) {
  const QString pfad = ordner() + QStringLiteral("Fremd.dat");
  schreiben(pfad, kodiert({QStringLiteral("[Fremd]"), QStringLiteral("Käse"), QStringLiteral("x")}, 'z'));
  ASSERT_TRUE(FOpen(pfad, QStringLiteral("Input")));
  QStringList gelesen;
  while (!FEOF()) gelesen << LineIn();
  FClose();
  EXPECT_EQ(gelesen, (QStringList{QStringLiteral("[Fremd]"), QStringLiteral("Käse"), QStringLiteral("x")}));
}

TEST_F(LineInOut, LesenHinterDemEndeEinerMonatsdateiGibtLeereTexte) {
  const QString pfad = ordner() + QStringLiteral("2603 260310 Data.dat");
  schreiben(pfad, kodiert({QStringLiteral("[2603]")}));
  ASSERT_TRUE(FOpen(pfad, QStringLiteral("Input")));
  EXPECT_EQ(LineIn(), QStringLiteral("[2603]"));
  EXPECT_EQ(LineIn(), QString());
  EXPECT_EQ(LineIn(), QString());
  FClose();
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(LineInOut, LesenHinterDemEndeAndererDateienIstEinDateifehler) {
  ordnerEinrichten();
  const QString pfad = ordner() + QStringLiteral("Konfigdaten.dat");
  schreiben(pfad, kodiert({QStringLiteral("[Velkora]")}));
  ASSERT_TRUE(FOpen(pfad, QStringLiteral("Input")));
  EXPECT_EQ(LineIn(), QStringLiteral("[Velkora]"));
  ERWARTE_PROGRAMMENDE(LineIn());
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_TRUE(skript->protokoll[0].text.startsWith(QStringLiteral("Es ist ein Fehler beim Dateizugriff aufgetreten.")));
  EXPECT_TRUE(skript->protokoll[0].text.contains(QStringLiteral("Konfigdaten.dat")));
  EXPECT_TRUE(gOffeneDatei.isEmpty());
}
