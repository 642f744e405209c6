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
  }
}

}  // namespace
