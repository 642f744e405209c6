// Damaged data files through the real start, each start of the program run in full on
// one data folder and the repair question answered as a user would: a month keeps every
// line that can be read of it, a copy from a backup is taken only when it reads without
// damage, and the start after the repair is clean. Files are read back with the tests'
// own decoder.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <optional>

#include "common/Testumgebung.h"
#include "launch/Programmstart.h"
#include "platform/Einzelinstanz.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"

// Readable failure output for texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

const QString kMonat = QStringLiteral("2603 260310 Data.dat");
const QString kAdmin = QStringLiteral("|tester|VelkoraAdmin|");
const QString kBeendet = QStringLiteral("Wiederherstellen beendet.");

QString Kein_Kopie_Text(const QString& name) {
  return QStringLiteral(
             "Wiederherstellen aus Backup nicht möglich: Keine Sicherung enthält eine unbeschädigte "
             "Kopie der Datei '") +
         name + QStringLiteral("'. Die Datei wurde durch eine Standardversion ersetzt.");
}

QString Benutzer(int i) { return QStringLiteral("user%1").arg(i, 2, 10, QChar(u'0')); }

class Startreparatur : public VelkoraTest {
 public:
  void SetUp() override {
    VelkoraTest::SetUp();
    schreiben(unterordner(QStringLiteral("Programm")) + QStringLiteral("VelkoraFtg.dat"),
              kodiert({QStringLiteral("[VelkoraFeiertageDat]")}));
    daten = unterordner(QStringLiteral("Ablage")) + QStringLiteral("Data/");
  }
  void TearDown() override {
    einzelinstanz::freigeben();
    VelkoraTest::TearDown();
  }

  // One start of the program on the folder, on the given day of March 2026 at the given
  // time, with the answers queued; true when it ran through to the main window, false
  // when it ended. The main window and its overviews read the months as the stand-in
  // for the main window does here: all of the window, then the month shown (today's).
  // The backups it made get its time as their file time, as on a real machine.
  bool starten(int tag, const QTime& zeit, std::optional<int> antwort = std::nullopt) {
    uhr.datum = QDate(2026, 3, tag);
    uhr.uhrzeit = zeit;
    const QStringList vorher = QDir(daten + QStringLiteral("Backups")).entryList(QDir::Files);
    einzelinstanz::freigeben();
    zustand::alleZurücksetzen();
    Starthaken_setzen();
    Fensterhaken_ohne_Fenster();
    gFensterhaken.hauptfenster_laden = [] {
      Alle_Erfassungsdaten_einlesen(false);
      Erfassungsdaten_lesen(gHeuteText.left(4));
    };
    skript = &dialoge::skript();
    if (antwort) skript->antworte(*antwort);
    Kommandozeile_setzen(
        {QStringLiteral("/path:") + ordner() + QStringLiteral("Ablage"), QStringLiteral("/nowelcomescreen")});
    bool durch = true;
    try {
      Main();
    } catch (const ProgrammBeendet&) {
      durch = false;
    }
    for (const QString& n : QDir(daten + QStringLiteral("Backups")).entryList(QDir::Files)) {
      if (vorher.contains(n)) continue;
      QFile f(daten + QStringLiteral("Backups/") + n);
      EXPECT_TRUE(f.open(QIODevice::ReadWrite));
      EXPECT_TRUE(f.setFileTime(QDateTime(uhr.datum, uhr.uhrzeit), QFileDevice::FileModificationTime));
    }
    return durch;
  }

  int fragen() const {
    int n = 0;
    for (const auto& a : skript->protokoll) n += a.art == dialoge::Art::JaNein;
    return n;
  }
  QString frage() const {
    for (const auto& a : skript->protokoll)
      if (a.art == dialoge::Art::JaNein) return a.text;
    return {};
  }
  QStringList meldungen() const {
    QStringList r;
    for (const auto& a : skript->protokoll)
      if (a.art != dialoge::Art::JaNein) r << a.text;
    return r;
  }

  // The administrator logbook lines of March 2026 about damage and repair, without
  // date and time.
  QStringList protokoll() const {
    QStringList r;
    for (const QString& z : dekodierteZeilen(daten + QStringLiteral("Logs/2603 Velkora.log"))) {
      const QString text = z.mid(17);
      if (text.contains(QStringLiteral("Wiederherstellen der Datei")) || text.contains(QStringLiteral("aus Backup")) ||
          text.contains(QStringLiteral("Fehlerhafte Daten")))
        r << text;
    }
    return r;
  }

  QString kennzeile() const { return dekodierteZeilen(daten + QStringLiteral("Konfigdaten.dat")).value(1); }

  // Twenty employees under one heading, and March 2026 with an entry line for each of
  // them and three comment lines: written over the defaults of the first start.
  QStringList mitarbeiter() const {
    QStringList z{QStringLiteral("[Mitarbeiterdaten]"), kennzeile(), QStringLiteral("2025"), QStringLiteral("Team")};
    for (int i = 1; i <= 20; ++i)
      z << QStringLiteral("000000:999999:010,0:000:030:030:030:Name %1:%2").arg(i, 2, 10, QChar(u'0')).arg(Benutzer(i));
    return z;
  }
  QStringList monat() const {
    QStringList z{QStringLiteral("[2603]"), kennzeile(), QStringLiteral("NoEx:NoEx")};
    for (int i = 1; i <= 20; ++i) {
      z << QStringLiteral("A:") + Benutzer(i) + u':' +
               tage(QString(i % 5 + 1, QChar(u'1' + i % 6)).rightJustified(i % 9 + i % 5 + 1, u' '));
      if (i == 3 || i == 9 || i == 17)
        z << QStringLiteral("K:") + Benutzer(i) +
                 QStringLiteral(":%1-%1:Kommentar %2").arg(i % 9 + 1, 2, 10, QChar(u'0')).arg(i);
    }
    return z;
  }
  QStringList konfig() const {
    QStringList z = dekodierteZeilen(daten + QStringLiteral("Konfigdaten.dat"));
    z[4] = QStringLiteral("Muster GmbH");
    return z;
  }
  // The month's only version afterwards, decoded.
  QStringList monatsdatei() const {
    const QStringList v = QDir(daten).entryList({QStringLiteral("2603 *")}, QDir::Files);
    EXPECT_EQ(v, QStringList{kMonat});
    return v.isEmpty() ? QStringList() : dekodierteZeilen(daten + v.first());
  }
  void monatSchreiben(const QByteArray& inhalt) {
    for (const QString& n : QDir(daten).entryList({QStringLiteral("2603 *")}, QDir::Files)) QFile::remove(daten + n);
    schreiben(daten + kMonat, inhalt);
  }
  void sicherungenLeeren() {
    for (const QString& n : QDir(daten + QStringLiteral("Backups")).entryList(QDir::Files))
      QFile::remove(daten + QStringLiteral("Backups/") + n);
  }
  void logbücherLeeren() {
    for (const QString& n : QDir(daten + QStringLiteral("Logs")).entryList(QDir::Files))
      QFile::remove(daten + QStringLiteral("Logs/") + n);
  }

  // The first start sets the folder up; the good data go over its defaults, and a start
  // the next day backs them up.
  void einrichten(bool gesichert = true) {
    ASSERT_TRUE(starten(8, QTime(9, 30)));
    gut.konfig = konfig();
    gut.mitarbeiter = mitarbeiter();
    gut.monat = monat();
    schreiben(daten + QStringLiteral("Konfigdaten.dat"), kodiert(gut.konfig));
    schreiben(daten + QStringLiteral("Mitarbeiterdaten.dat"), kodiert(gut.mitarbeiter));
    for (const QString& n : QDir(daten).entryList({QStringLiteral("2603 *")}, QDir::Files)) QFile::remove(daten + n);
    schreiben(daten + QStringLiteral("2603 260309 Data.dat"), kodiert(gut.monat));
    sicherungenLeeren();
    if (gesichert) {
      ASSERT_TRUE(starten(9, QTime(9, 30)));
    }
    logbücherLeeren();
  }

  struct {
    QStringList konfig, mitarbeiter, monat;
  } gut;
  QString daten;
};

// The next start after a repair: no question, no stop, the month read whole.
void Naechster_Start_ist_sauber(bool durch, const std::vector<QString>& texte, const QStringList& einträge) {
  EXPECT_TRUE(durch) << qPrintable(texte.empty() ? QString() : texte.back());
  EXPECT_TRUE(texte.empty()) << qPrintable(texte.empty() ? QString() : texte.front());
  QStringList gelesen;
  for (qsizetype i = 1; i < gMonatsEinträge.size(); ++i)
    if (gMonatsEinträge[i] != u"NoData") gelesen << QStringLiteral("A:") + gMonatsEinträge[i];
  for (qsizetype i = 1; i < gMonatsKommentare.size(); ++i)
    if (gMonatsKommentare[i] != u"NoComments") gelesen << QStringLiteral("K:") + gMonatsKommentare[i];
  QStringList erwartet;
  for (const QString& z : einträge)
    if (z.startsWith(u"A:")) erwartet << z;
  for (const QString& z : einträge)
    if (z.startsWith(u"K:")) erwartet << z;
  EXPECT_EQ(gelesen, erwartet);
}

TEST_F(Startreparatur, BeschaedigterMonatBehaeltJedeLesbareZeile) {
  // Eleven bytes that are no line the program writes, in place of the header.
  const QByteArray unsinn("\x01\xff\x7f\x00\x1b\x9c\x80\x05\xfe\x11\x07", 11);
  const QString zeile = kAdmin + QStringLiteral("Wiederherstellen der Datei ") + kMonat + QStringLiteral(": Zeile ");
  const QString kopf = zeile + QStringLiteral("1 durch den Dateiheader [2603] ersetzt");
  struct Fall {
    const char* was;
    std::function<QByteArray(const QStringList& gut)> datei;
    bool sicherungen;                                             // the backups made before stay
    bool frage;                                                   // the start asks to repair
    std::function<QStringList(const QStringList& gut)> erwartet;  // the month afterwards
    QStringList protokoll;
    QString meldung = QString();  // shown besides question and end
  };
  const auto selbst = [](const QStringList& g) { return g; };
  const Fall fälle[] = {
      {"Kopf eines anderen Monats",
       [](const QStringList& g) {
         QStringList z = g;
         z[0] = QStringLiteral("[2604]");
         return kodiert(z);
       },
       true,
       true,
       selbst,
       {kopf}},
      {"Kopf aus Unsinn",
       [&](const QStringList& g) { return unsinn + "\r\n" + kodiert(g.mid(1)); },
       true,
       true,
       selbst,
       {kopf}},
      {"Kopf und eine beschaedigte Zeile",
       [](const QStringList& g) {
         QStringList z = g;
         z[0] = QStringLiteral("[2604]");
         z.insert(7, QStringLiteral("A:user05:123"));
         return kodiert(z);
       },
       true,
       true,
       selbst,
       {kopf, zeile + QStringLiteral("8 beschädigt und entfernt")}},
      {"keine lesbare Zeile, mit Sicherung",
       [](const QStringList& g) {
         return kodiert(
             {QStringLiteral("[2604]"), g[1], g[2], QStringLiteral("Unsinn"), QStringLiteral("A:user01:12")});
       },
       true,
       true,
       selbst,
       {kAdmin + QStringLiteral("Datei ") + kMonat +
        QStringLiteral(" aus Backup 260309 093000 M.dat wiederhergestellt")}},
      {"keine lesbare Zeile, ohne Sicherung",
       [](const QStringList& g) {
         return kodiert(
             {QStringLiteral("[2604]"), g[1], g[2], QStringLiteral("Unsinn"), QStringLiteral("A:user01:12")});
       },
       false,
       true,
       [](const QStringList& g) { return g.mid(0, 3); },
       {kopf, zeile + QStringLiteral("4 beschädigt und entfernt"), zeile + QStringLiteral("5 beschädigt und entfernt"),
        kAdmin + QStringLiteral("Wiederherstellen der Datei ") + kMonat + QStringLiteral(" aus Backup fehlgeschlagen")},
       Kein_Kopie_Text(kMonat)},
      // Cut inside its last line: the start goes on; the line is named as a damaged one.
      {"letzte Zeile abgeschnitten",
       [](const QStringList& g) {
         return kodiert(g) + kodiert({QStringLiteral("A:user20:") + tage(QStringLiteral("1111"))}).left(14);
       },
       true,
       false,
       selbst,
       {kAdmin + QStringLiteral("Fehlerhafte Daten erkannt in Monat 03.2026 bei user20")},
       QStringLiteral("Fehlerhafte Daten erkannt in Monat 03.2026!\r\rBitte Administrationslogbuch beachten!")},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.was);
    QDir(ordner() + QStringLiteral("Ablage")).removeRecursively();
    daten = unterordner(QStringLiteral("Ablage")) + QStringLiteral("Data/");
    einrichten();
    if (!f.sicherungen) sicherungenLeeren();
    monatSchreiben(f.datei(gut.monat));

    const bool durch = starten(10, QTime(9, 30), dialoge::kJa);
    EXPECT_EQ(durch, !f.frage);
    EXPECT_EQ(fragen(), f.frage ? 1 : 0);
    if (f.frage) {
      EXPECT_TRUE(frage().startsWith(QStringLiteral("Es ist folgendes Problem aufgetreten:")));
      EXPECT_TRUE(meldungen().value(meldungen().size() - 1).startsWith(kBeendet));
    }
    QStringList erwartet_meldungen;
    if (!f.meldung.isEmpty()) erwartet_meldungen << f.meldung;
    QStringList gezeigt = meldungen();
    if (f.frage) gezeigt.removeLast();
    EXPECT_EQ(gezeigt, erwartet_meldungen);
    const QStringList erwartet = f.erwartet(gut.monat);
    EXPECT_EQ(monatsdatei(), erwartet);
    EXPECT_EQ(protokoll(), f.protokoll);

    const bool wieder = starten(10, QTime(11, 0));
    Naechster_Start_ist_sauber(wieder, skript->texte(), erwartet);
    EXPECT_EQ(protokoll(), f.protokoll) << "the next start finds nothing more";
    EXPECT_EQ(monatsdatei(), erwartet);
  }
}

// Beside a damaged live file the backups may hold the damage too: the newest made
// before the repair's start was made by a start after the damage came. Such a copy is
// never written back; the next older undamaged one is, or, with none, the default
// file, and the message says so.
TEST_F(Startreparatur, BeschaedigteKopienInDenSicherungenWerdenUebergangen) {
  struct Datei {
    const char* name;
    QString datei;
    std::function<void(Startreparatur&)> beschädigen;
    QString problem;  // the start of the problem text in the question
    std::function<QStringList(Startreparatur&)> gut;
    std::function<QStringList(Startreparatur&)> standard;    // what the repair writes without a copy
    std::function<void(Startreparatur&, bool heil)> danach;  // the next start's state
  };
  const Datei dateien[] = {
      {"Monat", kMonat,
       [](Startreparatur& t) {
         t.monatSchreiben(kodiert({QStringLiteral("[2604]"), t.kennzeile(), QStringLiteral("NoEx:NoEx"),
                                   QStringLiteral("Unsinn"), QStringLiteral("A:user01:12")}));
       },
       QStringLiteral("Dateikorruption entdeckt! Daten für '2603' erwartet, aber Daten für '2604' gefunden."),
       [](Startreparatur& t) { return t.gut.monat; }, [](Startreparatur& t) { return t.gut.monat.mid(0, 3); },
       [](Startreparatur& t, bool heil) {
         EXPECT_EQ(gMonatsEinträge.size() - 1, heil ? 20 : 1);
         (void)t;
       }},
      {"Mitarbeiterdatei", QStringLiteral("Mitarbeiterdaten.dat"),
       [](Startreparatur& t) {
         QStringList z = t.gut.mitarbeiter;
         // A field of 200,000 characters in line 8: the line no longer splits into its
         // fields.
         z[7] = QStringLiteral("000000:999999:") + QString(200000, u'x') + QStringLiteral(":Name 04:user04");
         schreiben(t.daten + QStringLiteral("Mitarbeiterdaten.dat"), kodiert(z));
       },
       QStringLiteral("Die Datei '%1Mitarbeiterdaten.dat' ist beschädigt (Zeile 8)."),
       [](Startreparatur& t) { return t.gut.mitarbeiter; },
       [](Startreparatur& t) {
         return QStringList{QStringLiteral("[Mitarbeiterdaten]"), t.gut.mitarbeiter[1], QStringLiteral("2025"),
                            QStringLiteral("NoNames")};
       },
       [](Startreparatur& t, bool heil) {
         EXPECT_EQ(gMitarbeiterNamen.value(21), heil ? QStringLiteral("Name 20") : QString());
         EXPECT_EQ(gMitarbeiterNamen.value(1), heil ? QStringLiteral("Team") : QStringLiteral("NoNames"));
         (void)t;
       }},
      {"Konfigurationsdatei mit NUL-Bytes", QStringLiteral("Konfigdaten.dat"),
       [](Startreparatur& t) {
         // A NUL byte in the first colour line, line 14.
         QByteArray b;
         for (qsizetype i = 0; i < t.gut.konfig.size(); ++i) {
           QByteArray z = kodiert({t.gut.konfig[i]});
           if (i == 13) z[3] = '\0';
           b += z;
         }
         schreiben(t.daten + QStringLiteral("Konfigdaten.dat"), b);
       },
       QStringLiteral("Die Datei '%1Konfigdaten.dat' ist beschädigt (Zeile 14)."),
       [](Startreparatur& t) { return t.gut.konfig; }, nullptr,
       [](Startreparatur& t, bool heil) {
         EXPECT_EQ(gFirmenname, heil ? QStringLiteral("Muster GmbH") : QStringLiteral("Firmenname"));
         (void)t;
       }},
  };
  for (const Datei& d : dateien) {
    for (const bool alleBeschädigt : {false, true}) {
      SCOPED_TRACE(std::string(d.name) +
                   (alleBeschädigt ? ", jede Sicherung beschaedigt" : ", die neueste beschaedigt"));
      QDir(ordner() + QStringLiteral("Ablage")).removeRecursively();
      daten = unterordner(QStringLiteral("Ablage")) + QStringLiteral("Data/");
      einrichten(!alleBeschädigt);
      d.beschädigen(*this);
      const QByteArray beschädigt = lesen(daten + d.datei);
      // Starts that end at the damage: each one's backup holds it.
      if (alleBeschädigt) {
        EXPECT_FALSE(starten(9, QTime(9, 30)));
      }
      EXPECT_FALSE(starten(10, QTime(9, 30)));
      EXPECT_EQ(lesen(daten + d.datei), beschädigt) << "No leaves the file as it is";

      const bool durch = starten(10, QTime(10, 0), dialoge::kJa);
      EXPECT_FALSE(durch);
      ASSERT_EQ(fragen(), 1);
      const QString problem = d.problem.contains(u"%1") ? d.problem.arg(daten) : d.problem;
      EXPECT_TRUE(frage().contains(QStringLiteral("aufgetreten:\r\r") + problem)) << qPrintable(frage());
      EXPECT_FALSE(frage().contains(QStringLiteral("Fehler Nr.")));
      const QStringList gezeigt = meldungen();
      ASSERT_FALSE(gezeigt.isEmpty());
      EXPECT_TRUE(gezeigt.last().startsWith(kBeendet)) << qPrintable(gezeigt.last());
      EXPECT_EQ(gezeigt.contains(Kein_Kopie_Text(d.datei)), alleBeschädigt) << qPrintable(gezeigt.join(u'\n'));

      // The file written is never the damaged one: the older copy, or the default.
      EXPECT_NE(lesen(daten + d.datei), beschädigt);
      const QStringList jetzt = dekodierteZeilen(daten + d.datei);
      if (!alleBeschädigt) {
        EXPECT_EQ(jetzt, d.gut(*this));
      } else if (d.standard) {
        EXPECT_EQ(jetzt, d.standard(*this));
      } else {
        EXPECT_EQ(jetzt.value(4), QStringLiteral("Firmenname"));
      }

      const bool wieder = starten(10, QTime(10, 30));
      EXPECT_TRUE(wieder);
      EXPECT_EQ(fragen(), 0) << qPrintable(frage());
      EXPECT_TRUE(skript->texte().empty()) << qPrintable(skript->texte().empty() ? QString() : skript->texte()[0]);
      d.danach(*this, !alleBeschädigt);
    }
  }
}

// A month's last line that has lost only its CR LF (another program or a hand edit left
// it off) is a line like any other when it is a whole line of the month: read at the
// start of an administrator and of an employee, and kept by an append and a rewrite,
// which write it with its CR LF. Only a last line that is no whole line is a cut line,
// named and written out (administrator) or the end of the start (employee).
TEST_F(Startreparatur, LetzteZeileOhneZeilenende) {
  const QString eintrag = QStringLiteral("A:user05:") + tage(QStringLiteral("  3333"));
  const QString kommentar = QStringLiteral("K:user05:06-06:Seminar in Köln");
  const QString fehler = kAdmin + QStringLiteral("Fehlerhafte Daten erkannt in Monat 03.2026");
  const auto ohneEnde = [](const QString& zeile, int bytes = -1) {
    const QByteArray z = kodiert({zeile}).chopped(2);
    return bytes < 0 ? z : z.left(bytes);
  };
  const auto mitLf = [](const QStringList& zeilen) {
    QByteArray r;
    for (const QString& z : zeilen) r += kodiert({z}).chopped(2) + '\n';
    return r;
  };
  struct Fall {
    const char* was;
    std::function<QByteArray(const QStringList& gut)> datei;
    QString letzte;    // the last line as read, "" when it is cut off
    QString logzeile;  // the administrator's logbook line for a cut line
  };
  const Fall fälle[] = {
      {"ganze Eintragszeile", [&](const QStringList& g) { return kodiert(g) + ohneEnde(eintrag); }, eintrag, {}},
      {"ganze Kommentarzeile", [&](const QStringList& g) { return kodiert(g) + ohneEnde(kommentar); }, kommentar, {}},
      {"Zeilenenden nur LF, die letzte ohne",
       [&](const QStringList& g) { return mitLf(g) + ohneEnde(eintrag); },
       eintrag,
       {}},
      {"in den Tagen abgeschnitten",
       [&](const QStringList& g) { return kodiert(g) + ohneEnde(eintrag, 20); },
       {},
       fehler + QStringLiteral(" bei user05")},
      {"im Kommentar abgeschnitten",
       [&](const QStringList& g) { return kodiert(g) + ohneEnde(kommentar, 14); },
       {},
       fehler + QStringLiteral(" bei user05")},
      {"im Benutzernamen abgeschnitten",
       [&](const QStringList& g) { return kodiert(g) + ohneEnde(eintrag, 6); },
       {},
       fehler},
  };
  const QByteArray benutzer = qgetenv("USERNAME");
  for (const Fall& f : fälle) {
    for (const bool mitarbeiter : {false, true}) {
      SCOPED_TRACE(std::string(f.was) + (mitarbeiter ? ", Mitarbeiter" : ", Administrator"));
      QDir(ordner() + QStringLiteral("Ablage")).removeRecursively();
      daten = unterordner(QStringLiteral("Ablage")) + QStringLiteral("Data/");
      einrichten();
      sicherungenLeeren();
      monatSchreiben(f.datei(gut.monat));
      const QByteArray vorher = lesen(daten + kMonat);
      const bool ganz = !f.letzte.isEmpty();

      if (mitarbeiter) {
        // Setting 16 off: not every user administers the folder.
        QStringList konfig = gut.konfig;
        const qsizetype einstellungen = konfig.indexOf(QStringLiteral("[Settings]")) + 1;
        ASSERT_GT(einstellungen, 0);
        konfig[einstellungen][15] = u'0';
        schreiben(daten + QStringLiteral("Konfigdaten.dat"), kodiert(konfig));
        qputenv("USERNAME", "user07");
      }
      const bool durch = starten(10, QTime(9, 30));
      qputenv("USERNAME", benutzer);
      EXPECT_EQ(fragen(), 0) << qPrintable(frage());
      const QStringList gezeigt = meldungen();
      if (ganz) {
        // Read with the rest; nothing to say, nothing written, no repair backup.
        EXPECT_TRUE(durch);
        EXPECT_TRUE(gezeigt.isEmpty()) << qPrintable(gezeigt.join(u'\n'));
        EXPECT_EQ(lesen(daten + kMonat), vorher);
        EXPECT_TRUE(protokoll().isEmpty()) << qPrintable(protokoll().join(u'\n'));
        EXPECT_TRUE(QDir(daten + QStringLiteral("Backups")).entryList({QStringLiteral("*F.dat")}).isEmpty());
        const QString ohnePräfix = f.letzte.mid(2);
        const QStringList& liste = f.letzte.startsWith(u"A:") ? gMonatsEinträge : gMonatsKommentare;
        EXPECT_EQ(liste.value(liste.size() - 1), ohnePräfix);
        // The later line of the user wins in the day table too (row 6, March 2026 of the
        // window from 2025).
        if (f.letzte == eintrag) {
          EXPECT_EQ(gErfassungsdaten(6, 15), eintrag.mid(9));
        }
      } else if (mitarbeiter) {
        // An employee's start ends with the administrators' names; the file stays.
        EXPECT_FALSE(durch);
        ASSERT_EQ(gezeigt.size(), 1) << qPrintable(gezeigt.join(u'\n'));
        EXPECT_TRUE(
            gezeigt[0].startsWith(QStringLiteral("Fehlerhafte Daten erkannt in Monat 03.2026!\r\r"
                                                 "Informieren Sie einen der folgenden Administratoren: ")))
            << qPrintable(gezeigt[0]);
        EXPECT_EQ(lesen(daten + kMonat), vorher);
        EXPECT_TRUE(protokoll().isEmpty()) << qPrintable(protokoll().join(u'\n'));
        continue;
      } else {
        // An administrator's start names the line, backs the month up and writes it
        // without the cut line.
        EXPECT_TRUE(durch);
        EXPECT_EQ(gezeigt,
                  QStringList{QStringLiteral(
                      "Fehlerhafte Daten erkannt in Monat 03.2026!\r\rBitte Administrationslogbuch beachten!")});
        EXPECT_EQ(protokoll(), QStringList{f.logzeile});
        EXPECT_EQ(QDir(daten + QStringLiteral("Backups")).entryList({QStringLiteral("*F.dat")}).size(), 1);
        EXPECT_EQ(monatsdatei(), gut.monat);
        EXPECT_TRUE(lesen(daten + kMonat).endsWith("\r\n"));
      }

      // Appended to, and then written afresh: the line stays, with its CR LF.
      const QStringList erwartet = ganz ? gut.monat + QStringList{f.letzte} : gut.monat;
      const QString neu = QStringLiteral("A:user09:") + tage(QStringLiteral("1"));
      ASSERT_TRUE(Monatsdatei_speichern(QStringLiteral("2603"), {neu}));
      EXPECT_EQ(monatsdatei(), erwartet + QStringList{neu});
      EXPECT_TRUE(lesen(daten + kMonat).endsWith("\r\n"));
      EXPECT_FALSE(lesen(daten + kMonat).contains("\n\r\n")) << "no empty line between";
      uhr.datum = QDate(2026, 3, 11);
      gHeuteText = QStringLiteral("260311");
      ASSERT_TRUE(Monatsdatei_kompaktieren(QStringLiteral("2603")));
      const QStringList versionen = QDir(daten).entryList({QStringLiteral("2603 *")}, QDir::Files);
      ASSERT_EQ(versionen, QStringList{QStringLiteral("2603 260311 Data.dat")});
      const QStringList neugeschrieben = dekodierteZeilen(daten + versionen[0]);
      if (ganz) {
        EXPECT_TRUE(neugeschrieben.contains(f.letzte)) << qPrintable(neugeschrieben.join(u'\n'));
      }
      EXPECT_TRUE(neugeschrieben.contains(neu));
      EXPECT_TRUE(lesen(daten + versionen[0]).endsWith("\r\n"));
      EXPECT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2603")));
      // The repair's backup only for a cut line, and no other one since.
      EXPECT_EQ(QDir(daten + QStringLiteral("Backups")).entryList({QStringLiteral("*F.dat")}).size(), ganz ? 0 : 1);
    }
  }
}

}  // namespace
