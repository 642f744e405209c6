#include "startup/Zeilencodierung.h"

#include <gtest/gtest.h>

#include <QFile>
#include <optional>

#include "common/Testumgebung.h"
#include "platform/Cp1252.h"
#include "platform/Laufzeitfehler.h"
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

// --- Whole files through the channel --------------------------------------------------

class GanzeDatei : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
  }
};

TEST_F(GanzeDatei, LesenJeNachLeseweise) {
  const QByteArray keine;  // no file
  // "a", an empty text (its key character alone), an empty line of the file, "b".
  const QByteArray mitLeerzeile = kodiert({QStringLiteral("a"), QString()}) + "\r\n" + kodiert({QStringLiteral("b")});
  const QByteArray mitKopf = kodiert({QStringLiteral("[Kopf]"), QStringLiteral("Grün")});
  const QByteArray falscherKopf = kodiert({QStringLiteral("[Anders]")}) + "\r\n" + kodiert({QStringLiteral("x")});
  const QByteArray klartext = QByteArray("Gr\xfcn\r\n\r\nx", 9);
  const QByteArray abgeschnitten = kodiert({QStringLiteral("a")}) + kodiert({QStringLiteral("b")}).chopped(2);
  const QString a = QStringLiteral("a"), b = QStringLiteral("b");
  using Zeilen = std::optional<QStringList>;
  struct Fall {
    const char* name;
    QByteArray inhalt;  // null: no file
    Leseweise weise;
    Zeilen erwartet;
    const char16_t* ende = nullptr;  // the message the program ends with
  };
  const Fall fälle[] = {
      {"empty line a file error", mitLeerzeile, {}, {}, u"Es ist ein Fehler beim Dateizugriff aufgetreten."},
      {"empty line an empty text", mitLeerzeile, {.leer = Leerzeilenart::Leer}, QStringList{a, {}, {}, b}},
      {"empty line left out", mitLeerzeile, {.leer = Leerzeilenart::Auslassen}, QStringList{a, {}, b}},
      {"empty line fails the read", mitLeerzeile, {.leer = Leerzeilenart::Unlesbar}, std::nullopt},
      {"plain lines",
       klartext,
       {.art = Zeilenart::Klartext},
       QStringList{QStringLiteral("Grün"), {}, QStringLiteral("x")}},
      {"header found",
       mitKopf,
       {.kopf = QStringLiteral("[Kopf]")},
       QStringList{QStringLiteral("[Kopf]"), QStringLiteral("Grün")}},
      // The header is checked before the rest is read: the empty line after a wrong
      // one is no file error.
      {"header wrong", falscherKopf, {.kopf = QStringLiteral("[Kopf]")}, std::nullopt},
      {"missing file ignored", keine, {.fehlerIgnorieren = true}, std::nullopt},
      {"missing file ends the program", keine, {}, {}, u"konnte nicht geöffnet werden"},
      {"cut short read as it stands", abgeschnitten, {}, QStringList{a, b}},
      {"cut short is damage when whole", abgeschnitten, {.ganz = true}, {}, u"Test.dat' ist beschädigt."},
  };
  const QString pfad = ordner() + QStringLiteral("Test.dat");
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.name);
    QFile::remove(pfad);
    if (!f.inhalt.isNull()) schreiben(pfad, f.inhalt);
    skript->protokoll.clear();
    if (f.ende) {
      ERWARTE_PROGRAMMENDE(Alle_Zeilen_lesen_wie(pfad, f.weise));
      ASSERT_FALSE(skript->protokoll.empty());
      EXPECT_TRUE(skript->protokoll[0].text.contains(QString::fromUtf16(f.ende)))
          << qPrintable(skript->protokoll[0].text);
    } else {
      EXPECT_EQ(Alle_Zeilen_lesen_wie(pfad, f.weise), f.erwartet);
      EXPECT_TRUE(skript->protokoll.empty()) << qPrintable(skript->texte().front());
    }
    EXPECT_TRUE(gOffeneDatei.isEmpty());
    EXPECT_TRUE(FEOF()) << "the channel is closed";
  }
}

TEST_F(GanzeDatei, SchreibenJeNachSchreibweise) {
  const QStringList zeilen = {QStringLiteral("[Kopf]"), QString(), QStringLiteral("Grün")};
  const QByteArray vorher = kodiert({QStringLiteral("alt")}) + "\r\n";
  struct Fall {
    const char* name;
    Schreibweise weise;
    QByteArray erwartet;  // the file after the write, decoded when not plain
    bool geöffnet = true;
  };
  const Fall fälle[] = {
      {"encoded replaces", {}, {}},
      {"encoded appends", {.modus = QStringLiteral("Append")}, {}},
      {"plain replaces", {.art = Zeilenart::Klartext}, QByteArray("[Kopf]\r\n\r\nGr\xfcn\r\n", 16)},
      {"plain appends",
       {.modus = QStringLiteral("Append"), .art = Zeilenart::Klartext},
       vorher + QByteArray("[Kopf]\r\n\r\nGr\xfcn\r\n", 16)},
  };
  const QString pfad = ordner() + QStringLiteral("Test.dat");
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.name);
    schreiben(pfad, vorher);
    EXPECT_TRUE(Alle_Zeilen_schreiben_wie(pfad, zeilen, f.weise));
    EXPECT_TRUE(gOffeneDatei.isEmpty());
    if (f.weise.art == Zeilenart::Klartext) {
      EXPECT_EQ(lesen(pfad), f.erwartet);
    } else {
      const bool anhängen = f.weise.modus == u"Append";
      EXPECT_EQ(dekodierteZeilen(pfad), anhängen ? QStringList{QStringLiteral("alt")} + zeilen : zeilen);
    }
  }
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(GanzeDatei, NichtZuOeffnendeDateiBeimSchreiben) {
  const QString pfad = ordner() + QStringLiteral("Fehlt/Test.dat");
  EXPECT_FALSE(Alle_Zeilen_schreiben_wie(pfad, {QStringLiteral("x")}, {.fehlerIgnorieren = true}));
  EXPECT_TRUE(skript->protokoll.empty());
  ERWARTE_PROGRAMMENDE(Alle_Zeilen_schreiben_wie(pfad, {QStringLiteral("x")}, {}));
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_TRUE(skript->protokoll[0].text.contains(QStringLiteral("konnte nicht geöffnet werden")));
  EXPECT_TRUE(gOffeneDatei.isEmpty());
}

// A write that fails when the lines go out is reported with the file it concerns, as
// a write without the helper is.
TEST_F(GanzeDatei, FehlgeschlagenesAusschreibenNenntDieDatei) {
  if (!QFile::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full";
  for (const Zeilenart art : {Zeilenart::Kodiert, Zeilenart::Klartext}) {
    skript->protokoll.clear();
    ERWARTE_PROGRAMMENDE(Prozedur(QStringLiteral("modVelkora - Test"), [&] {
      Alle_Zeilen_schreiben_wie(QStringLiteral("/dev/full"), {QStringLiteral("Zeile")},
                                {.modus = QStringLiteral("Append"), .art = art});
    }));
    ASSERT_EQ(skript->protokoll.size(), 1u);
    EXPECT_TRUE(skript->protokoll[0].text.contains(QStringLiteral("Zuletzt geöffnete Datei: '/dev/full'")))
        << qPrintable(skript->protokoll[0].text);
    EXPECT_TRUE(skript->protokoll[0].text.contains(QStringLiteral("Datenträger voll")));
    EXPECT_TRUE(gOffeneDatei.isEmpty());
  }
}
