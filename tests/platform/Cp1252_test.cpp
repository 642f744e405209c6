#include "platform/Cp1252.h"

#include <gtest/gtest.h>

#include "platform/Text.h"

TEST(Cp1252, JedesByteHinUndZurueck) {
  QByteArray alle;
  for (int b = 0; b < 256; ++b) alle.append(static_cast<char>(b));
  EXPECT_EQ(cp1252::kodieren(cp1252::dekodieren(alle)), alle);
}

TEST(Cp1252, BekannteZeichen) {
  struct Fall {
    unsigned char byte;
    char16_t zeichen;
  };
  const Fall fälle[] = {{0xBD, u'½'},      {0xE4, u'ä'},      {0xDC, u'Ü'},      {0xDF, u'ß'}, {0x80, u'€'},
                        {0xA0, u'\u00A0'}, {0x81, u'\u0081'}, {0x9D, u'\u009D'}, {0x8A, u'Š'}};
  for (const auto& f : fälle) {
    EXPECT_EQ(cp1252::zeichen(f.byte), QChar(f.zeichen)) << int(f.byte);
    EXPECT_EQ(cp1252::byte(QChar(f.zeichen)), f.byte) << int(f.byte);
  }
}

TEST(Cp1252, KleinWieToLowerFuerJedesZeichen) {
  // Each byte's character, and each code point up to 255 (U+0080 to U+009F are
  // characters of no byte but five), alone and behind others in a reused buffer.
  QString puffer = QStringLiteral("ein längerer Inhalt von vorher");
  for (int b = 0; b < 256; ++b) {
    for (const QChar c : {cp1252::zeichen(static_cast<unsigned char>(b)), QChar(static_cast<char16_t>(b))}) {
      const QString t(c);
      EXPECT_EQ(cp1252::klein(t, puffer), t.toLower()) << b;
      const QString lang = QStringLiteral("xÄy") + t + t + QStringLiteral("Z");
      EXPECT_EQ(cp1252::klein(lang, puffer), lang.toLower()) << b;
    }
  }
  QString alle;
  for (int b = 0; b < 256; ++b) alle += cp1252::zeichen(static_cast<unsigned char>(b));
  EXPECT_EQ(cp1252::klein(alle, puffer), alle.toLower());
}

TEST(Cp1252, KleinAusserhalbDerCodeseiteWieToLower) {
  // Characters of no byte: a plain one, one whose lower case is two characters, a
  // title-case letter, a character beyond the first plane, some among the code page's
  // own, the empty text and the first C1 control, which no byte stands for.
  const QString fälle[] = {QStringLiteral("\u0100"),     QStringLiteral("\u0130"), QStringLiteral("\u01C5"),
                           QStringLiteral("\U00010400"), QStringLiteral("\u03A9"), QStringLiteral("JÖRG\u0130ß"),
                           QStringLiteral("Š\u0100Ÿ"),   QStringLiteral(""),       QStringLiteral("\u0080")};
  QString puffer;
  for (const QString& t : fälle) EXPECT_EQ(cp1252::klein(t, puffer), t.toLower()) << t.toStdString();
  EXPECT_EQ(cp1252::klein(u"MÜLLER", puffer), QStringLiteral("müller"));
  EXPECT_EQ(cp1252::klein(u"ŠŽŒŸ", puffer), QStringLiteral("šžœÿ"));
}

TEST(Cp1252, KleinDerBuchstabenVon0x80Bis0x9F) {
  // The letters of bytes 0x80 to 0x9F lie above U+00FF; their pairs are in the code
  // page too, except for Ÿ, whose lower case is ÿ (0xFF), and ƒ, whose capital is not.
  struct Fall {
    char16_t zeichen;
    char16_t klein;
  };
  const Fall fälle[] = {{u'Š', u'š'}, {u'š', u'š'}, {u'Ž', u'ž'}, {u'ž', u'ž'},      {u'Œ', u'œ'}, {u'œ', u'œ'},
                        {u'Ÿ', u'ÿ'}, {u'ÿ', u'ÿ'}, {u'ƒ', u'ƒ'}, {u'\u0191', u'ƒ'}, {u'€', u'€'}, {u'™', u'™'}};
  QString puffer = QStringLiteral("ein längerer Inhalt von vorher");
  for (const auto& f : fälle) {
    const QString t(QChar(f.zeichen));
    ASSERT_EQ(t.toLower(), QString(QChar(f.klein))) << int(f.zeichen);
    EXPECT_EQ(cp1252::klein(t, puffer), t.toLower()) << int(f.zeichen);
    EXPECT_EQ(cp1252::kleinAnsicht(t, puffer), t.toLower()) << int(f.zeichen);
    EXPECT_EQ(cp1252::klein(t), t.toLower()) << int(f.zeichen);
    // Within a name, behind ASCII capitals and before an umlaut and a number.
    const QString name = QStringLiteral("AbC") + t + QStringLiteral("ÖzZ") + t + QStringLiteral("17");
    EXPECT_EQ(cp1252::klein(name, puffer), name.toLower()) << int(f.zeichen);
    EXPECT_EQ(cp1252::kleinAnsicht(name, puffer), name.toLower()) << int(f.zeichen);
  }
  EXPECT_EQ(cp1252::klein(u"ŠašŽižek12", puffer), QStringLiteral("šašžižek12"));
  EXPECT_EQ(cp1252::kleinAnsicht(u"ŒdœŸšman7", puffer), QStringLiteral("œdœÿšman7"));
}

TEST(Cp1252, KleinWieToLowerFuerJedenCodepunkt) {
  // Every unit of the first plane, lone surrogates included: the code page's
  // characters through the table, their neighbours in its pages and every other
  // character the general way, alone and within a name.
  QString puffer;
  for (int u = 0; u <= 0xFFFF; ++u) {
    const QString t(QChar(static_cast<char16_t>(u)));
    const QString erwartet = t.toLower();
    ASSERT_EQ(cp1252::klein(t, puffer), erwartet) << u;
    ASSERT_EQ(cp1252::kleinAnsicht(t, puffer), erwartet) << u;
    ASSERT_EQ(cp1252::klein(t), erwartet) << u;
    const QString name = QStringLiteral("Name") + t + QStringLiteral("x");
    ASSERT_EQ(cp1252::kleinAnsicht(name, puffer), name.toLower()) << u;
  }
}

TEST(Cp1252, KleinAnsichtZeigtAufDenNamenSelbst) {
  // A name in lower-case ASCII is itself the result: neither written into the buffer
  // nor copied; any other name is lowered into the buffer.
  struct Fall {
    const char16_t* text;
    bool selbst;
  };
  const Fall fälle[] = {
      {u"", true},          {u"benutzer12", true}, {u"a.b-c_d 9@x", true}, {u"@[`{", true},     {u"Benutzer12", false},
      {u"benutzeR", false}, {u"müllerin", false},  {u"šašžižek", false},   {u"a\u0080", false}, {u"JÖRG", false},
      {u"Z", false},        {u"A", false},
  };
  for (const auto& f : fälle) {
    const QString t = QString::fromUtf16(f.text);
    EXPECT_EQ(cp1252::kleinAscii(t), f.selbst) << t.toStdString();
    QString puffer = QStringLiteral("vorher");
    const QStringView v = cp1252::kleinAnsicht(t, puffer);
    EXPECT_EQ(v, t.toLower()) << t.toStdString();
    if (f.selbst) {
      EXPECT_EQ(v.data(), t.constData()) << t.toStdString();
      EXPECT_EQ(puffer, QStringLiteral("vorher")) << t.toStdString();
      EXPECT_EQ(cp1252::klein(t).constData(), t.constData()) << t.toStdString();
    } else {
      EXPECT_EQ(v.data(), puffer.constData()) << t.toStdString();
      EXPECT_NE(cp1252::klein(t).constData(), t.constData()) << t.toStdString();
    }
  }
  // A buffer shared with another string is written only once it is its own.
  QString puffer = QStringLiteral("ABCDEFGH");
  const QString kopie = puffer;
  EXPECT_EQ(cp1252::kleinAnsicht(u"Xy", puffer), QStringLiteral("xy"));
  EXPECT_EQ(kopie, QStringLiteral("ABCDEFGH"));
  // A longer buffer serves a shorter name, a longer name after it grows it.
  EXPECT_EQ(cp1252::kleinAnsicht(u"ŠAŠAŠAŠAŠAŠA", puffer), QStringLiteral("šašašašašaša"));
  EXPECT_EQ(cp1252::kleinAnsicht(u"Z", puffer), QStringLiteral("z"));
}

TEST(Cp1252, NichtDarstellbaresWirdFragezeichen) {
  EXPECT_EQ(cp1252::kodieren(QStringLiteral("a\u4E2Db\u0100")), QByteArray("a?b?"));
}

TEST(Cp1252, Eingabepruefung) {
  struct Fall {
    const char16_t* text;
    bool darstellbar;
    bool zulässig;
  };
  const Fall fälle[] = {
      {u"", true, true},
      {u"Müller-Lüdenscheidt ½ € ?", true, true},
      {u"a\u4E2Db", false, false},  // CJK
      {u"\u0100", false, false},    // Latin Extended-A outside the code page
      {u"Š\u2122", true, true},     // in the upper table
      {u"a\tb", true, false},       // a tab would be stored as is
      {u"a\rb", true, false},
      {u"a\nb", true, false},
      {u"\u007F", true, false},
      {u"\u0081", true, false},       // one of the five undefined bytes
      {u"\u00A0", true, true},        // non-breaking space is a normal character
      {u"\U0001F600", false, false},  // surrogate pair
  };
  for (const auto& f : fälle) {
    const QString t = QString::fromUtf16(f.text);
    EXPECT_EQ(cp1252::darstellbar(t), f.darstellbar) << t.toStdString();
    EXPECT_EQ(cp1252::eingabeZulässig(t), f.zulässig) << t.toStdString();
  }
}

TEST(Text, TrimmenBehaeltGeschuetztesLeerzeichen) {
  EXPECT_EQ(text::trim(QStringLiteral("  a b  ")), QStringLiteral("a b"));
  EXPECT_EQ(text::trim(QStringLiteral("\u00A0")), QStringLiteral("\u00A0"));
  EXPECT_EQ(text::trim(QStringLiteral(" \u00A0 ")), QStringLiteral("\u00A0"));
}

TEST(Text, NachsichtigeZahl) {
  EXPECT_EQ(text::zahl(QStringLiteral(" 12ab")), 12);
  EXPECT_EQ(text::zahl(QStringLiteral("-7")), -7);
  EXPECT_EQ(text::zahl(QStringLiteral("x")), 0);
  EXPECT_EQ(text::zahl(QStringLiteral("99999999999999999999")), 2147483647);
}

TEST(Text, MusterIgnoriertGrossKleinschreibung) {
  struct Fall {
    const char* name;
    const char* muster;
    bool passt;
  };
  const Fall fälle[] = {
      {"2501 260305 Data.dat", "*Data.dat", true},
      {"2501 260305 data.DAT", "*Data.dat", true},
      {"Konfigdaten.dat", "*Data.dat", false},
      {"2603 Velkora.log", "*Velkora.log", true},
      {"260310 0930T.dat", "260310*T.dat", true},
      {"260310 0930M.dat", "2603*M.dat", true},
      {"x.dat.tmp", "*.dat", false},
      {"abc", "a?c", true},
      {"ac", "a?c", false},
      {"", "*", true},
  };
  for (const auto& f : fälle)
    EXPECT_EQ(text::passtMuster(QString::fromUtf8(f.name), QString::fromUtf8(f.muster)), f.passt)
        << f.name << " " << f.muster;
}
