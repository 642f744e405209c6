// The damaged-file table: every reader of a data file meets every kind of damage. A
// reader either reads the file or stops with a message that names the file; it never
// crashes, hangs or takes a file cut short as a shorter truth without a word.
#include <QDir>
#include <QFile>
#include <functional>

#include "common/Testumgebung.h"
#include "platform/Programmende.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

namespace {

struct Datei {
  const char* name;
  // What names the file in a message: its name, or for a month the month's key.
  const char* kennung;
  QStringList zeilen;
  std::function<void()> lesen;
  // A file cut short must be reported, not read as a shorter file. Month files are
  // appended to: their unterminated last line is another workstation's line in flight.
  bool kürzungGemeldet;
};

struct Schaden {
  const char* was;
  std::function<QByteArray(const QByteArray&)> anwenden;
};

class Leserschaden : public VelkoraTest {
 protected:
  void bestand() {
    monatsbestand({u"U"_qs, u"K"_qs, u"Löschen"_qs},
                  {{u"Team"_qs, QString()}, {u"Name 1"_qs, u"user1"_qs}, {u"Name 2"_qs, u"user2"_qs}});
    gAdministratoren = QStringList{QStringLiteral("A:Admin:tester")};
    gBenutzerstufe = 2;
    // An installed program: the master file lies beside it.
    QFile::copy(QStringLiteral(VELKORA_BIN_DIR "/VelkoraFtg.dat"), gBasisordner + QStringLiteral("VelkoraFtg.dat"));
  }
  QStringList meldungen() const {
    QStringList r;
    for (const QString& t : skript->texte()) r << t;
    return r;
  }
};

TEST_F(Leserschaden, JederLeserMeldetOderLiestJedeArtVonSchaden) {
  const std::vector<Datei> dateien{
      {"Konfigdaten.dat",
       "Konfigdaten.dat",
       {"[Velkora]",
        kKennzeile,
        "1.16.1",
        "[Firma]",
        "Muster",
        "",
        "[Settings]",
        Standardeinstellungen(),
        "void",
        "void",
        "[Wochenende]",
        "SaSo",
        "[Grundfarben]",
        "&HFFFFFF",
        "&HE8E8E8",
        "&HC0C0FF",
        "&HFFF8F4",
        "&HFFE8CE",
        "&HAFAFAF",
        "&HE8FFFF",
        "&HE8FFFF",
        "&HC0FFFF",
        "[Schaltflächen]",
        "&H000000:&H80FF80:0:U:Urlaub",
        "&HFFFFFF:&HFFFFFF:0: :Löschen",
        "[Administratoren]",
        "A:Admin:tester"},
       [] { Konfigdaten_lesen(); },
       true},
      {"Mitarbeiterdaten.dat",
       "Mitarbeiterdaten.dat",
       {"[Mitarbeiterdaten]", kKennzeile, "2025", "Team", "000000:999999:010,0:000:030:030:030:Name 1:user1",
        "000000:999999:010,0:000:030:030:030:Name 2:user2"},
       [] { Mitarbeiterdaten_lesen(); },
       true},
      {"Feiertage.dat", "Feiertage.dat",
       QStringList{"[Feiertage]", kKennzeile, "Deutschland", "1:01.01.:Neujahr", "1:25.12.:1. Weihnachtstag"},
       [] { Feiertage_lesen(); }, false},
      {"Mitarbeiteranzber.dat",
       "Mitarbeiteranzber.dat",
       {"[Mitarbeiteranzber]", kKennzeile, "Team|Team:"},
       [] { Mitarbeiteranzber_lesen(); },
       true},
      {"Mitarbeiteranzgru.dat",
       "Mitarbeiteranzgru.dat",
       {"[Mitarbeiteranzgru]", kKennzeile, "Gruppe|user1:user2:"},
       [] { Mitarbeiteranzgru_lesen(); },
       true},
      {"2603 260309 Data.dat",
       "2603",
       {"[2603]", kKennzeile, "NoEx:NoEx", "A:user1:" + tage("1"), "A:user2:" + tage(" 2"), "K:user1:01-01:Kur"},
       [] { Erfassungsdaten_lesen(QStringLiteral("2603")); },
       false},
  };
  const std::vector<Schaden> schäden{
      {"empty", [](const QByteArray&) { return QByteArray(); }},
      {"header line only", [](const QByteArray& b) { return b.left(b.indexOf("\r\n") + 2); }},
      {"cut in half", [](const QByteArray& b) { return b.left(b.size() / 2); }},
      {"last line end missing", [](const QByteArray& b) { return b.left(b.size() - 2); }},
      {"wrong header", [](const QByteArray& b) { return kodiert({"[Fremd]"}) + b.mid(b.indexOf("\r\n")); }},
      {"plain text", [](const QByteArray&) { return QByteArray("[Velkora]\r\nKlartext\r\n"); }},
      {"binary", [](const QByteArray&) { return QByteArray("\x01\xff\x00\x7f\x80\r\n\xfe\x00\n\n\r", 13); }},
      {"NUL bytes", [](const QByteArray& b) { return QByteArray(b).replace(b.size() / 3, 4, QByteArray(4, '\0')); }},
      {"a very long line", [](const QByteArray& b) { return b + QByteArray(200000, 'x') + "\r\n"; }},
      {"CR only", [](const QByteArray& b) { return QByteArray(b).replace("\r\n", "\r"); }},
      {"LF only", [](const QByteArray& b) { return QByteArray(b).replace("\r\n", "\n"); }},
      {"empty lines", [](const QByteArray& b) { return QByteArray(b).replace("\r\n", "\r\n\r\n"); }},
      {"key characters only",
       [](const QByteArray& b) {
         QByteArray r;
         for (const QByteArray& z : b.split('\n'))
           if (!z.isEmpty()) r += z.left(1) + "\r\n";
         return r;
       }},
  };
  QStringList befunde;
  for (const Datei& d : dateien) {
    for (const Schaden& s : schäden) {
      const QString fall = QString::fromUtf8(d.name) + QStringLiteral(" / ") + QString::fromUtf8(s.was);
      VelkoraTest::SetUp();
      bestand();
      for (const QString& n : QDir(gDatenordner).entryList(QDir::Files)) QFile::remove(gDatenordner + n);
      const QString pfad = gDatenordner + QString::fromUtf8(d.name);
      const QByteArray gut = kodiert(d.zeilen);
      schreiben(pfad, s.anwenden(gut));
      bool beendet = false;
      try {
        d.lesen();
      } catch (const ProgrammBeendet&) {
        beendet = true;
      } catch (const std::exception& e) {
        befunde << fall + QStringLiteral(": exception ") + QString::fromUtf8(e.what());
        continue;
      }
      FVerwerfen();
      const QStringList m = meldungen();
      if (beendet) {
        const bool benannt = std::any_of(m.begin(), m.end(), [&](const QString& t) {
          return t.contains(QString::fromUtf8(d.kennung), Qt::CaseInsensitive);
        });
        if (!benannt) befunde << fall + QStringLiteral(": stopped without naming the file: ") + m.join(u'|');
      } else if (d.kürzungGemeldet && QByteArrayView(s.anwenden(gut)) != QByteArrayView(gut) &&
                 (QByteArray(s.was) == "cut in half" || QByteArray(s.was) == "last line end missing")) {
        befunde << fall + QStringLiteral(": read a file cut short without a word");
      }
    }
  }
  EXPECT_TRUE(befunde.isEmpty()) << qPrintable(befunde.join(u'\n'));
}

}  // namespace
