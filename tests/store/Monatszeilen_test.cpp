// The one rule for what a line of a month record file is, case by case.
#include "store/Monatszeilen.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

QString tage(const QString& anfang) { return anfang.leftJustified(31, u' '); }

TEST(Monatszeilen, JedeZeileNachIhrerForm) {
  using A = Monatszeilenart;
  const struct {
    QString zeile;
    A art;
    QString benutzer;  // of an entry or comment line, good or bad
  } fälle[] = {
      {QStringLiteral("A:hmueller:") + tage(QStringLiteral("12")), A::Eintrag, QStringLiteral("hmueller")},
      {QStringLiteral("A:Jörg Weiß:") + QString(31, u' '), A::Eintrag, QStringLiteral("Jörg Weiß")},
      // Any character is a day code by its form; invalid codes are the reader's matter.
      {QStringLiteral("A:x:") + QString(31, u'Z'), A::Eintrag, QStringLiteral("x")},
      // The user ends at the first ":", so a ":" in the codes counts as one of them.
      {QStringLiteral("A:x:") + QString(30, u' ') + u':', A::Eintrag, QStringLiteral("x")},
      {QStringLiteral("A::") + QString(31, u'1'), A::Eintrag, QString()},
      {QStringLiteral("A:hmueller:") + QString(30, u'1'), A::Fehlerhaft, QStringLiteral("hmueller")},
      {QStringLiteral("A:hmueller:") + QString(32, u'1'), A::Fehlerhaft, QStringLiteral("hmueller")},
      {QStringLiteral("A:hmueller:"), A::Fehlerhaft, QStringLiteral("hmueller")},
      {QStringLiteral("K:hmueller:01-31:Kur"), A::Kommentar, QStringLiteral("hmueller")},
      {QStringLiteral("K:hmueller:05-05:"), A::Kommentar, QStringLiteral("hmueller")},
      {QStringLiteral("K:hmueller:05-05:a:b"), A::Kommentar, QStringLiteral("hmueller")},
      {QStringLiteral("K:hmueller:3-15:Kur"), A::Fehlerhaft, QStringLiteral("hmueller")},
      {QStringLiteral("K:hmueller:00-05:Kur"), A::Fehlerhaft, QStringLiteral("hmueller")},
      {QStringLiteral("K:hmueller:06-05:Kur"), A::Fehlerhaft, QStringLiteral("hmueller")},
      {QStringLiteral("K:hmueller:01-32:Kur"), A::Fehlerhaft, QStringLiteral("hmueller")},
      {QStringLiteral("K:hmueller:0a-05:Kur"), A::Fehlerhaft, QStringLiteral("hmueller")},
      {QStringLiteral("K:hmueller:01-05"), A::Fehlerhaft, QStringLiteral("hmueller")},
      {QStringLiteral("K:hmueller:01-05Kur"), A::Fehlerhaft, QStringLiteral("hmueller")},
      // Cut inside the user name: no ":" after it.
      {QStringLiteral("A:hmuel"), A::Fremd, QString()},
      {QStringLiteral("K:"), A::Fremd, QString()},
      {QStringLiteral("a:hmueller:") + QString(31, u'1'), A::Fremd, QString()},
      {QStringLiteral("X:hmueller:") + QString(31, u'1'), A::Fremd, QString()},
      {QStringLiteral("[2603]"), A::Fremd, QString()},
      {QStringLiteral("NoEx:NoEx"), A::Fremd, QString()},
      {QString(), A::Fremd, QString()},
  };
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.zeile.toStdString());
    const Monatszeilenform form = Form_der_Monatszeile(f.zeile);
    EXPECT_EQ(form.art, f.art);
    EXPECT_EQ(form.gut(), f.art == A::Eintrag || f.art == A::Kommentar);
    EXPECT_EQ(Gute_Eintragszeile(f.zeile), f.art == A::Eintrag);
    EXPECT_EQ(form.monatszeile(), f.art != A::Fremd);
    if (form.monatszeile()) {
      EXPECT_EQ(form.benutzer(f.zeile).toString(), f.benutzer);
      EXPECT_EQ(form.rest(f.zeile).toString(), f.zeile.mid(2 + f.benutzer.size() + 1));
    }
    // The month lists hold a line without its prefix: the same form, read in place.
    if (form.monatszeile()) {
      const QString ohne = f.zeile.mid(2);
      const Monatszeilenform liste = f.zeile[0] == u'A' ? Form_des_Eintrags(ohne) : Form_des_Kommentars(ohne);
      EXPECT_EQ(liste.art, f.art);
      EXPECT_EQ(liste.benutzer(ohne).toString(), f.benutzer);
      EXPECT_EQ(liste.rest(ohne), form.rest(f.zeile));
    }
  }
}

// A comment's days and text, read from the whole line and from the month lists' form
// without "K:", which must agree; a comment that fails the rule has no days and no
// text, so no caller reads a range of its own from it.
TEST(Monatszeilen, TageUndTextEinesKommentars) {
  const struct {
    QString zeile;
    int erster, letzter;  // 0, 0: no good comment line
    QString text;
  } fälle[] = {
      {QStringLiteral("K:hmueller:01-31:Kur"), 1, 31, QStringLiteral("Kur")},
      {QStringLiteral("K:hmueller:05-05:"), 5, 5, QString()},
      {QStringLiteral("K:hmueller:09-12:a:b"), 9, 12, QStringLiteral("a:b")},
      {QStringLiteral("K:hmueller:10-12:01-31:x"), 10, 12, QStringLiteral("01-31:x")},
      {QStringLiteral("K:Jörg Weiß:30-31:Seminar in Köln"), 30, 31, QStringLiteral("Seminar in Köln")},
      {QStringLiteral("K::02-03:ohne Namen"), 2, 3, QStringLiteral("ohne Namen")},
      // Bad ones: the reader drops them, so they carry no days.
      {QStringLiteral("K:hmueller:3-15:Kur"), 0, 0, QString()},
      {QStringLiteral("K:hmueller:00-05:Kur"), 0, 0, QString()},
      {QStringLiteral("K:hmueller:06-05:Kur"), 0, 0, QString()},
      {QStringLiteral("K:hmueller:01-32:Kur"), 0, 0, QString()},
      {QStringLiteral("K:hmueller:99-99:Kur"), 0, 0, QString()},
      {QStringLiteral("K:hmueller: 1-05:Kur"), 0, 0, QString()},
      {QStringLiteral("K:hmueller:01-05"), 0, 0, QString()},
      {QStringLiteral("K:hmueller:01-05Kur"), 0, 0, QString()},
      {QStringLiteral("K:hmueller"), 0, 0, QString()},
      // An entry line is no comment, whatever its codes look like.
      {QStringLiteral("A:hmueller:01-05:") + QString(25, u' '), 0, 0, QString()},
  };
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.zeile.toStdString());
    const bool gut = f.erster != 0;
    const Monatszeilenform form = Form_der_Monatszeile(f.zeile);
    EXPECT_EQ(form.kommentar(), gut);
    EXPECT_EQ(form.erster_Tag(), f.erster);
    EXPECT_EQ(form.letzter_Tag(), f.letzter);
    EXPECT_EQ(form.kommentartext(f.zeile).toString(), f.text);
    if (!f.zeile.startsWith(u"K:")) continue;
    const QString ohne = f.zeile.mid(2);
    const Monatszeilenform liste = Form_des_Kommentars(ohne);
    EXPECT_EQ(liste.art, form.art);
    EXPECT_EQ(liste.erster_Tag(), f.erster);
    EXPECT_EQ(liste.letzter_Tag(), f.letzter);
    EXPECT_EQ(liste.kommentartext(ohne).toString(), f.text);
    if (liste.monatszeile()) {
      EXPECT_EQ(liste.benutzer(ohne), form.benutzer(f.zeile));
    }
  }
}

// What the builders write is what the rule reads back, for every day range a month
// has and for the texts and names the planner writes.
TEST(Monatszeilen, BausteineLesenSichZurueck) {
  EXPECT_EQ(Kommentarzeile(u"hmueller", 3, 15, u"Kur"), QStringLiteral("K:hmueller:03-15:Kur"));
  EXPECT_EQ(Kommentarzeile(u"hmueller", 30, 31, {}), QStringLiteral("K:hmueller:30-31:"));
  EXPECT_EQ(Eintragszeile(u"hmueller", tage(QStringLiteral("1 A"))),
            QStringLiteral("A:hmueller:1 A") + QString(28, u' '));

  const QString namen[] = {QStringLiteral("hmueller"), QStringLiteral("Jörg Weiß"), QString()};
  const QString texte[] = {QString(), QStringLiteral("Kur"), QStringLiteral("Seminar: Teil 2 - 01-02")};
  for (const QString& n : namen) {
    for (const QString& t : texte)
      for (int von = 1; von <= 31; ++von)
        for (int bis = von; bis <= 31; ++bis) {
          const QString z = Kommentarzeile(n, von, bis, t);
          const Monatszeilenform f = Form_der_Monatszeile(z);
          ASSERT_TRUE(f.kommentar()) << z.toStdString();
          EXPECT_EQ(f.benutzer(z), n);
          EXPECT_EQ(f.erster_Tag(), von);
          EXPECT_EQ(f.letzter_Tag(), bis);
          EXPECT_EQ(f.kommentartext(z), t);
        }
    const QString codes = tage(QStringLiteral("12 A") + QChar(u'Q'));
    const QString z = Eintragszeile(n, codes);
    const Monatszeilenform f = Form_der_Monatszeile(z);
    ASSERT_TRUE(f.eintrag());
    EXPECT_EQ(f.benutzer(z), n);
    EXPECT_EQ(f.rest(z), codes);
    EXPECT_EQ(f.erster_Tag(), 0);
    EXPECT_TRUE(f.kommentartext(z).isEmpty());
  }
  // A range no month has is written as asked, and the rule refuses it.
  EXPECT_FALSE(Form_der_Monatszeile(Kommentarzeile(u"x", 6, 5, u"Kur")).gut());
  EXPECT_FALSE(Form_der_Monatszeile(Kommentarzeile(u"x", 0, 5, u"Kur")).gut());
  EXPECT_FALSE(Form_der_Monatszeile(Kommentarzeile(u"x", 5, 32, u"Kur")).gut());
}

}  // namespace
