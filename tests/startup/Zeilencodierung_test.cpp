#include "startup/Zeilencodierung.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <array>
#include <optional>
#include <vector>

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

// The decoding as the encoding defines it, one byte after the other through the
// character of every byte.
QString einfachDekodiert(QByteArrayView zeile) {
  QString s;
  if (zeile.isEmpty()) return s;
  int zähler = static_cast<unsigned char>(zeile[0]) & 63;
  for (qsizetype i = 1; i < zeile.size(); ++i) {
    zähler = (zähler + 1) % 64;
    int b = static_cast<unsigned char>(zeile[i]) - zähler;
    if (b < 32) b += 224;
    s += cp1252::zeichen(static_cast<unsigned char>(b));
  }
  return s;
}

// Random bytes from the given alphabet (all 256 values when empty).
QByteArray zufallsbytes(QRandomGenerator& zufall, qsizetype n, QByteArrayView alphabet = {}) {
  QByteArray b(n, Qt::Uninitialized);
  for (char& c : b)
    c = alphabet.isEmpty() ? static_cast<char>(zufall.bounded(256))
                           : alphabet[static_cast<qsizetype>(zufall.bounded(static_cast<quint32>(alphabet.size())))];
  return b;
}

// The lines of a block as strings.
QStringList ansichten(const Dekodierter_Block& block) {
  QStringList r;
  for (qsizetype i = 0; i < block.size(); ++i) r << block[i].toString();
  return r;
}

}  // namespace

TEST(Zeilencodierung, DekodierenGleichtDemEinfachenWegFuerJedesByteUndJedeLaenge) {
  // Every key byte and every byte value in every position of the eight-byte groups,
  // lengths across several groups and their remainders.
  QRandomGenerator zufall(4711);
  for (int schlüssel = 0; schlüssel < 256; ++schlüssel) {
    for (int wert = 0; wert < 256; ++wert) {
      QByteArray z(1, static_cast<char>(schlüssel));
      z += QByteArray(19, static_cast<char>(wert));
      ASSERT_EQ(Zeile_dekodieren(z), einfachDekodiert(z)) << schlüssel << ' ' << wert;
    }
    for (qsizetype n = 0; n <= 70; ++n) {
      const QByteArray z = QByteArray(1, static_cast<char>(schlüssel)) + zufallsbytes(zufall, n);
      ASSERT_EQ(Zeile_dekodieren(z), einfachDekodiert(z)) << schlüssel << ' ' << n;
      // Where the encoder's bytes lie, where the upper control range 0x80 to 0x9F of
      // Windows-1252 is hit.
      const QByteArray k = QByteArray(1, static_cast<char>(schlüssel)) + zufallsbytes(zufall, n, "\x80\x9f\xa0 ~\xff");
      ASSERT_EQ(Zeile_dekodieren(k), einfachDekodiert(k)) << schlüssel << ' ' << n;
    }
  }
}

class Zeilenblock : public VelkoraTest {
 protected:
  // The lines as the file channel reads them one by one, each decoded on its own, and
  // whether the last had no line end.
  std::pair<QStringList, bool> einzeln(const QByteArray& inhalt) {
    const QString pfad = ordner() + QStringLiteral("Block.dat");
    schreiben(pfad, inhalt);
    QStringList zeilen;
    bool ohneEnde = false;
    EXPECT_TRUE(FOpen(pfad, QStringLiteral("Input")));
    while (!FEOF()) {
      zeilen << Zeile_dekodieren(Kanal_Zeile_sehen());
      ohneEnde = Kanal_letzte_Zeile_unvollständig();
    }
    FClose();
    return {zeilen, ohneEnde};
  }
};

TEST_F(Zeilenblock, GibtDieZeilenDesKanalsMitJedemZeilenende) {
  const QByteArray a = Zeile_kodieren(QStringLiteral("[2603]"), 70);
  const QByteArray b = Zeile_kodieren(QStringLiteral("A:anna:UU   ½ ") + QString(17, u' '), 200);
  const QByteArray c = Zeile_kodieren(QStringLiteral("K:anna:01-02:Messe in Köln"), 33);
  const std::vector<QByteArray> fälle = {
      a,
      a + "\r\n",
      a + "\r\n" + b + "\r\n" + c + "\r\n",
      a + "\r\n" + b + "\r\n" + c,
      a + "\n" + b + "\n" + c + "\n",
      a + "\r" + b + "\r" + c,
      a + "\r\n\r\n" + b + "\n\r" + c + "\r\r\n",
      "\r\n" + a + "\r\n\r\n",
      "\n\n\n" + a,
      "\r",
      "A",
      "A\r\nB",
  };
  // One block for all of them: each content decodes into the memory of the one before.
  Dekodierter_Block dekodiert;
  for (const QByteArray& inhalt : fälle) {
    const auto [zeilen, ohneEnde] = einzeln(inhalt);
    bool blockOhneEnde = !ohneEnde;
    const QStringList block = Zeilen_dekodieren(inhalt, &blockOhneEnde);
    EXPECT_EQ(block, zeilen) << inhalt.toHex().toStdString();
    EXPECT_EQ(blockOhneEnde, ohneEnde) << inhalt.toHex().toStdString();
    for (qsizetype i = 0; i < block.size(); ++i)
      EXPECT_EQ(block[i].isNull(), zeilen[i].isNull()) << inhalt.toHex().toStdString() << ' ' << i;
    blockOhneEnde = !ohneEnde;
    dekodiert.dekodieren(inhalt, &blockOhneEnde);
    EXPECT_EQ(blockOhneEnde, ohneEnde) << inhalt.toHex().toStdString();
    EXPECT_EQ(ansichten(dekodiert), zeilen) << inhalt.toHex().toStdString();
  }
  EXPECT_TRUE(Zeilen_dekodieren(QByteArray()).isEmpty());
  dekodiert.dekodieren(QByteArray());
  EXPECT_EQ(dekodiert.size(), 0);
}

TEST_F(Zeilenblock, ZufaelligeInhalteGleichenDemKanal) {
  // Lines of random bytes with CR and LF often among them, so that every kind of line
  // end, empty lines and lines of every length come up.
  QRandomGenerator zufall(815);
  Dekodierter_Block dekodiert;
  for (int runde = 0; runde < 300; ++runde) {
    QByteArray inhalt = zufallsbytes(zufall, 1 + zufall.bounded(400));
    for (char& c : inhalt)
      if (zufall.bounded(12) == 0) c = zufall.bounded(2) ? '\r' : '\n';
    const auto [zeilen, ohneEnde] = einzeln(inhalt);
    bool blockOhneEnde = false;
    ASSERT_EQ(Zeilen_dekodieren(inhalt, &blockOhneEnde), zeilen) << inhalt.toHex().toStdString();
    ASSERT_EQ(blockOhneEnde, ohneEnde) << inhalt.toHex().toStdString();
    blockOhneEnde = !ohneEnde;
    dekodiert.dekodieren(inhalt, &blockOhneEnde);
    ASSERT_EQ(ansichten(dekodiert), zeilen) << inhalt.toHex().toStdString();
    ASSERT_EQ(blockOhneEnde, ohneEnde) << inhalt.toHex().toStdString();
  }
}

TEST(Zeilencodierung, BlockAendertZeilenAnOrtUndUebernimmtListen) {
  Dekodierter_Block block;
  block.dekodieren(kodiert({QStringLiteral("A:jörg:1 2"), QStringLiteral("K:x"), QStringLiteral("dritte")}));
  ASSERT_EQ(block.size(), 3);
  block.zeichen(0)[8] = u'3';
  block.leeren(1);
  EXPECT_EQ(ansichten(block), (QStringList{"A:jörg:132", "", "dritte"}));
  block.letzte_entfernen();
  EXPECT_EQ(ansichten(block), (QStringList{"A:jörg:132", ""}));
  // A list longer than anything decoded before, and then a shorter one.
  const QStringList lang{QString(300, u'ä'), QString(), QStringLiteral("Ende")};
  block.übernehmen(lang);
  EXPECT_EQ(ansichten(block), lang);
  block.übernehmen({QStringLiteral("x")});
  EXPECT_EQ(ansichten(block), QStringList{"x"});
}

TEST_F(Zeilenblock, ZeilenBleibenUnabhaengigVoneinanderUndVomNaechstenLesen) {
  const QByteArray inhalt = kodiert({QStringLiteral("eins"), QStringLiteral("zwei"), QStringLiteral("drei")});
  QStringList erste = Zeilen_dekodieren(inhalt);
  ASSERT_EQ(erste, (QStringList{"eins", "zwei", "drei"}));
  // Changing one line, growing it or cutting it, leaves the others as they were.
  erste[0] += QStringLiteral(" und noch viel mehr Text dahinter");
  erste[1][0] = u'Z';
  erste[2].truncate(2);
  EXPECT_EQ(erste, (QStringList{"eins und noch viel mehr Text dahinter", "Zwei", "dr"}));
  // Each line ends in its terminating zero, as every string does.
  QString zwei = Zeilen_dekodieren(inhalt)[1];
  EXPECT_EQ(zwei.constData()[zwei.size()], QChar(u'\0'));
  // A read while lines of the last one are held leaves them; one after they are all
  // gone may take their memory.
  const QStringList zweite = Zeilen_dekodieren(kodiert({QStringLiteral("anders"), QStringLiteral("x")}));
  EXPECT_EQ(zwei, QStringLiteral("zwei"));
  EXPECT_EQ(zweite, (QStringList{"anders", "x"}));
  zwei.clear();
  EXPECT_EQ(Zeilen_dekodieren(inhalt), (QStringList{"eins", "zwei", "drei"}));
  EXPECT_EQ(zweite, (QStringList{"anders", "x"}));
  erste.clear();
  EXPECT_EQ(Zeilen_dekodieren(inhalt + kodiert({QStringLiteral("vier")})),
            (QStringList{"eins", "zwei", "drei", "vier"}));
}

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

// The program's own draws spread over every key character, none far more often than
// the others: a generator that sticks or repeats shows as gaps here.
TEST(Zeilencodierung, SchluesselzeichenDesProgrammsDeckenDenBereich) {
  uhr::zurücksetzen();
  std::array<int, 256> anzahl{};
  const int n = 223 * 200;
  for (int i = 0; i < n; ++i) ++anzahl[Zufallsschlüssel()];
  for (int k = 0; k < 256; ++k) {
    if (k < 32 || k > 254) {
      EXPECT_EQ(anzahl[k], 0) << k;
      continue;
    }
    EXPECT_GT(anzahl[k], 120) << k;
    EXPECT_LT(anzahl[k], 280) << k;
  }
  // Two draws in a row differ (a key repeated line after line would be noticed).
  int gleich = 0;
  unsigned char vorher = Zufallsschlüssel();
  for (int i = 0; i < 10000; ++i) {
    const unsigned char k = Zufallsschlüssel();
    gleich += k == vorher;
    vorher = k;
  }
  EXPECT_LT(gleich, 150);
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
