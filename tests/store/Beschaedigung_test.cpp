// Damaged files: a damaged file is reported and goes to the start repair, never taken
// as a shorter truth; a rewrite of a month never drops a user's entries.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <functional>

#include "common/Testumgebung.h"
#include "platform/Programmende.h"
#include "startup/Dateizugriff.h"
#include "startup/Ordner.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Einrichtung.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"

namespace {

const QString kKopf = QStringLiteral("[Mitarbeiterdaten]");

// An employee file of n employees "Name i" with user "user<i>" under one heading.
QStringList mitarbeiterdatei(int n, const QString& jahr = QStringLiteral("2025")) {
  QStringList z{kKopf, kKennzeile, jahr, QStringLiteral("Team")};
  for (int i = 1; i <= n; ++i)
    z << QStringLiteral("000000:999999:010,0:000:030:030:030:Name %1:user%1").arg(i, 2, 10, QChar(u'0'));
  return z;
}

QString benutzer(int i) { return QStringLiteral("user%1").arg(i, 2, 10, QChar(u'0')); }

class Beschaedigung : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    monatsbestand({u"U"_qs, u"K"_qs, u"Löschen"_qs}, {});
  }
  QString mitarbeiterpfad() const { return gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"); }
  QStringList meldungen() const {
    QStringList r;
    for (const QString& t : skript->texte()) r << t;
    return r;
  }
};

// --- The employee file --------------------------------------------------------------

TEST_F(Beschaedigung, BeschaedigteMitarbeiterdateiGehtZurStartreparatur) {
  const QByteArray ganz = kodiert(mitarbeiterdatei(20));
  struct Fall {
    const char* was;
    QByteArray inhalt;
    int zeile;
  } fälle[] = {
      // Half its bytes: the last line has no line end.
      {"cut in half", ganz.left(ganz.size() / 2), 0},
      {"last line without its line end", ganz.left(ganz.size() - 2), 24},
      {"a line cut short", kodiert({kKopf, kKennzeile, QStringLiteral("2025"), QStringLiteral("000000:999")}), 4},
      {"a name without its user name",
       kodiert({kKopf, kKennzeile, QStringLiteral("2025"), QStringLiteral("000000:999999:010,0:000:030:030:030:Nur")}),
       4},
      {"a long line missing a field",
       kodiert({kKopf, kKennzeile, QStringLiteral("2025"),
                QStringLiteral("000000:999999:010,0:000,0:030,0:030,0:000,0:000,0:000,0:000,0:A:a")}),
       4},
      {"a planning year of five digits", kodiert(mitarbeiterdatei(2, QStringLiteral("99999"))), 3},
      {"no planning year", kodiert(mitarbeiterdatei(2, QString())), 3},
      {"only the header lines", kodiert({kKopf, kKennzeile}), 3},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.was);
    // A good table read before stays as it was.
    schreiben(mitarbeiterpfad(), ganz);
    Mitarbeiterdaten_lesen();
    ASSERT_EQ(Mitarbeiterzeilen(), 21);
    skript->protokoll.clear();

    schreiben(mitarbeiterpfad(), f.inhalt);
    ERWARTE_PROGRAMMENDE(Mitarbeiterdaten_lesen());
    ASSERT_FALSE(meldungen().isEmpty());
    // The start repair asks, naming the file and, where known, the line.
    EXPECT_TRUE(meldungen().first().contains(QStringLiteral("Mitarbeiterdaten.dat' ist beschädigt (Zeile ")))
        << qPrintable(meldungen().first());
    if (f.zeile > 0) {
      EXPECT_TRUE(meldungen().first().contains(QStringLiteral("(Zeile %1).").arg(f.zeile)))
          << qPrintable(meldungen().first());
    }
    EXPECT_EQ(Mitarbeiterzeilen(), 21);
    EXPECT_EQ(gPlanungsjahr, 2025);
    gStörungsmeldung.clear();
    QFile::remove(gDatenordner + QStringLiteral("Lockfile.txt"));
  }
}

TEST_F(Beschaedigung, MitarbeiterdateiMitLetztemZeilenendeWirdGanzGelesen) {
  schreiben(mitarbeiterpfad(), kodiert(mitarbeiterdatei(20)));
  Mitarbeiterdaten_lesen();
  EXPECT_EQ(Mitarbeiterzeilen(), 21);
  EXPECT_EQ(gBenutzerIDs[21], benutzer(20));
  EXPECT_TRUE(meldungen().isEmpty());
}

// --- Month rewrites keep every user's newest line ------------------------------------

// A month of 20 users with one entry each, and an employee table that knows only 9 of
// them (a list read before the others were added, or cut short).
class Monatsumschreiben : public Beschaedigung {
 protected:
  void SetUp() override {
    Beschaedigung::SetUp();
    gBenutzerstufe = 2;
    schreiben(mitarbeiterpfad(), kodiert(mitarbeiterdatei(9)));
    Mitarbeiterdaten_lesen();
    ASSERT_EQ(Mitarbeiterzeilen(), 10);
  }
  QString pfad(const QString& schlüssel, const QString& tag) const {
    return gDatenordner + schlüssel + u' ' + tag + QStringLiteral(" Data.dat");
  }
  QStringList monatszeilen(const QString& schlüssel) const {
    QStringList z{u'[' + schlüssel + u']', kKennzeile, QStringLiteral("NoEx:NoEx")};
    // The users in reverse order, one older line of the first one before its newest.
    z << QStringLiteral("A:") + benutzer(20) + u':' + tage(QStringLiteral("2"));
    for (int i = 20; i >= 1; --i) z << QStringLiteral("A:") + benutzer(i) + u':' + tage(QStringLiteral("1"));
    z << QStringLiteral("K:") + benutzer(15) + QStringLiteral(":01-01:Kur");
    return z;
  }
  // The users of the entry lines of a file, each with its codes.
  static QStringList einträge(const QStringList& zeilen) {
    QStringList r;
    for (const QString& z : zeilen)
      if (z.startsWith(u"A:")) r << z.mid(2);
    return r;
  }
};

TEST_F(Monatsumschreiben, JedesNeuschreibenBehaeltDieDerTabelleUnbekanntenBenutzer) {
  struct Fall {
    const char* was;
    QString schlüssel;
    std::function<bool()> umschreiben;
  } fälle[] = {
      {"first save of the day", QStringLiteral("2603"),
       [] {
         return Monatsdatei_speichern(QStringLiteral("2603"),
                                      {QStringLiteral("A:user01:") + tage(QStringLiteral("11"))});
       }},
      {"compaction", QStringLiteral("2604"), [] { return Monatsdatei_kompaktieren(QStringLiteral("2604")); }},
      {"month exceptions", QStringLiteral("2602"),
       [] {
         Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("W"), QStringLiteral("SaSo"));
         return true;
       }},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.was);
    schreiben(pfad(f.schlüssel, QStringLiteral("260309")), kodiert(monatszeilen(f.schlüssel)));
    ASSERT_TRUE(f.umschreiben());
    const QString name = Erfassungsdatei_Name(f.schlüssel);
    ASSERT_FALSE(name.isEmpty());
    const QStringList z = dekodierteZeilen(gDatenordner + name);
    QStringList neueste;
    for (const QString& e : einträge(z)) {
      const QString b = e.left(6);
      // A later line of a user wins.
      neueste.erase(std::remove_if(neueste.begin(), neueste.end(), [&](const QString& n) { return n.startsWith(b); }),
                    neueste.end());
      neueste << e;
    }
    ASSERT_GE(neueste.size(), 20) << qPrintable(z.join(u'\n'));
    for (int i = 1; i <= 20; ++i) {
      const auto it = std::find_if(neueste.begin(), neueste.end(),
                                   [&](const QString& n) { return n.startsWith(benutzer(i) + u':'); });
      ASSERT_NE(it, neueste.end()) << qPrintable(benutzer(i));
      const QString erwartet =
          i == 1 && f.schlüssel == u"2603" ? tage(QStringLiteral("11")) : tage(QStringLiteral("1"));
      EXPECT_EQ(it->mid(7), erwartet) << qPrintable(benutzer(i));
    }
    EXPECT_TRUE(z.contains(QStringLiteral("K:") + benutzer(15) + QStringLiteral(":01-01:Kur")));
  }
}

TEST_F(Monatsumschreiben, VerdichteterInhaltListetZuerstDieMitarbeiterDannDieAnderen) {
  schreiben(pfad(QStringLiteral("2604"), QStringLiteral("260309")), kodiert(monatszeilen(QStringLiteral("2604"))));
  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2604")));
  const QStringList körper = Monatsdatei_kompakte_Zeilen();
  QStringList reihenfolge;
  for (const QString& z : körper)
    if (z.startsWith(u"A:")) reihenfolge << z.mid(2, 6);
  QStringList erwartet;
  for (int i = 1; i <= 9; ++i) erwartet << benutzer(i);
  for (int i = 20; i >= 10; --i) erwartet << benutzer(i);
  EXPECT_EQ(reihenfolge, erwartet);
  // The newest line of the user with two, not the older one.
  EXPECT_TRUE(körper.contains(QStringLiteral("A:") + benutzer(20) + u':' + tage(QStringLiteral("1"))));
  EXPECT_FALSE(körper.contains(QStringLiteral("A:") + benutzer(20) + u':' + tage(QStringLiteral("2"))));
}

TEST_F(Monatsumschreiben, SpeichernHaengtNieDurchEinenVerweisAusDemDatenordnerAn) {
  const QString außen = unterordner(QStringLiteral("Draussen")) + QStringLiteral("fremd.dat");
  const QByteArray inhalt = kodiert(monatszeilen(QStringLiteral("2603")));
  schreiben(außen, inhalt);
  ASSERT_EQ(::symlink(QFile::encodeName(außen).constData(),
                      QFile::encodeName(pfad(QStringLiteral("2603"), gHeuteText)).constData()),
            0);
  // A link under today's name is no version of the month: the save writes today's
  // version as a file of its own in the link's place, and the link's target stays as it
  // is.
  const QString zeile = QStringLiteral("A:user01:") + tage(QStringLiteral("1"));
  ASSERT_TRUE(Monatsdatei_speichern(QStringLiteral("2603"), {zeile}));
  EXPECT_EQ(lesen(außen), inhalt);
  EXPECT_TRUE(meldungen().isEmpty()) << qPrintable(meldungen().join(u'|'));
  const QFileInfo heute(pfad(QStringLiteral("2603"), gHeuteText));
  EXPECT_FALSE(heute.isSymLink());
  const QStringList z = dekodierteZeilen(heute.filePath());
  ASSERT_GE(z.size(), 4);
  EXPECT_EQ(z.first(), QStringLiteral("[2603]"));
  EXPECT_EQ(z.last(), zeile);
}

// --- Empty files ---------------------------------------------------------------------

TEST_F(Beschaedigung, NurLeereDatendateienDesProgrammsGehenZurStartreparatur) {
  struct Fall {
    QString pfad;
    bool reparatur;
  } fälle[] = {
      {gDatenordner + QStringLiteral("Konfigdaten.dat"), true},
      {gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"), true},
      {gDatenordner + QStringLiteral("Feiertage.dat"), true},
      {gDatenordner + QStringLiteral("2603 260301 Data.dat"), true},
      // Written by another program, or beside the program, or not a file of ours.
      {gDatenordner + QStringLiteral("ÜStunden 2026.dat"), false},
      {gDatenordner + QStringLiteral("Fremd.dat"), false},
      {gBasisordner + QStringLiteral("VelkoraFtg.dat"), false},
      {gBasisordner + QStringLiteral("Velkora.dat"), false},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(qPrintable(f.pfad));
    skript->protokoll.clear();
    schreiben(f.pfad, {});
    if (f.reparatur) {
      ERWARTE_PROGRAMMENDE(FOpen(f.pfad, QStringLiteral("Input")));
      ASSERT_GE(meldungen().size(), 2);
      EXPECT_TRUE(meldungen()[1].contains(QStringLiteral("' ist leer."))) << qPrintable(meldungen()[1]);
      gStörungsmeldung.clear();
      QFile::remove(gDatenordner + QStringLiteral("Lockfile.txt"));
    } else {
      EXPECT_TRUE(FOpen(f.pfad, QStringLiteral("Input")));
      EXPECT_TRUE(FEOF());
      FClose();
      // Only the "being written" notice.
      ASSERT_EQ(meldungen().size(), 1);
      EXPECT_TRUE(meldungen()[0].contains(QStringLiteral("wird gerade von jemand anderem benutzt")));
      EXPECT_TRUE(QFile::exists(f.pfad));
    }
  }
}

TEST_F(Beschaedigung, LeereMasterdateiFordertNeuinstallationUndBleibtWoSieIst) {
  const QString pfad = gBasisordner + QStringLiteral("VelkoraFtg.dat");
  schreiben(pfad, {});
  ERWARTE_PROGRAMMENDE(VelkoraFeiertageDat_lesen(QStringLiteral("049")));
  ASSERT_FALSE(meldungen().isEmpty());
  EXPECT_TRUE(meldungen().last().contains(QStringLiteral("Installieren Sie das Programm erneut")))
      << qPrintable(meldungen().last());
  // No repair question: the shipped file is not deleted.
  for (const QString& m : meldungen()) EXPECT_FALSE(m.contains(QStringLiteral("Wiederherstellen"))) << qPrintable(m);
  EXPECT_TRUE(QFile::exists(pfad));
}

TEST_F(Beschaedigung, LeereZeigerdateiWirdRepariertUndDieMasterdateiBleibt) {
  const QString zeiger = gBasisordner + QStringLiteral("Velkora.dat");
  const QString master = gBasisordner + QStringLiteral("VelkoraFtg.dat");
  schreiben(zeiger, {});
  schreiben(master, kodiert({QStringLiteral("[VelkoraFeiertageDat]"), QStringLiteral("[049 Deutschland]")}));
  const QByteArray masterVorher = lesen(master);
  // The repair is accepted: it replaces the pointer file, nothing else of the base folder.
  skript->antworte(dialoge::kOK);
  skript->antworte(dialoge::kJa);
  ERWARTE_PROGRAMMENDE(Velkoradat_lesen());
  ASSERT_GE(meldungen().size(), 2);
  EXPECT_TRUE(meldungen()[1].contains(QStringLiteral("Der Dateiheader [Velkora] der Datei ") + ShowPfad(zeiger)))
      << qPrintable(meldungen()[1]);
  EXPECT_EQ(lesen(master), masterVorher);
}

}  // namespace
