#include "startup/Programmabbruch.h"

#include <QFile>

#include "common/Testumgebung.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"

// Readable failure output for texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

class ProgrammabbruchTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gStartzeit = uhr.sekunden;  // the run started at 09:30:00 of the test clock
    gAbbruchdienste.logbuch = [this](int art, const QString& t) { logbuch << QStringLiteral("%1:%2").arg(art).arg(t); };
  }

  QString datei(const QString& name, const QByteArray& inhalt = "x\r\n") {
    const QString p = gDatenordner + name;
    schreiben(p, inhalt);
    return p;
  }
  QString letzteMeldung() const { return skript->protokoll.empty() ? QString() : skript->protokoll.back().text; }

  QStringList logbuch;
};

const QString kEnde = QStringLiteral("\r\rDas Programm wird beendet.");
// What a stop shows for a text: the text with a full stop, then the end.
QString Stopp(const QString& text) { return text + u'.' + kEnde; }

// --- Programmabbruch -------------------------------------------------------------

TEST_F(ProgrammabbruchTest, AbbruchtexteUndLogbuchzeilen) {
  struct Fall {
    QString text, option, meldung, zeile;
  } fälle[] = {
      {QStringLiteral("Datei fehlt"), QString(), Stopp(QStringLiteral("Datei fehlt")),
       QStringLiteral("2:Programmabbruch durch 'modX - Y' - Datei fehlt")},
      {QStringLiteral("Datei fehlt"), QStringLiteral("NoLog"), Stopp(QStringLiteral("Datei fehlt")), QString()},
      {QString(), QStringLiteral("NoLog"), QStringLiteral("Das Programm wird beendet"), QString()},
      {QStringLiteral("Kaputt"), QStringLiteral("Eigene Zeile"), Stopp(QStringLiteral("Kaputt")),
       QStringLiteral("2:Eigene Zeile")},
  };
  for (const Fall& f : fälle) {
    logbuch.clear();
    gDatenordnerAngelegt = true;
    ERWARTE_PROGRAMMENDE(Programmabbruch(QStringLiteral("modX - Y"), f.text, f.option));
    EXPECT_EQ(letzteMeldung(), f.meldung);
    EXPECT_EQ(skript->protokoll.back().art, dialoge::Art::Meldung);
    EXPECT_EQ(logbuch, f.zeile.isEmpty() ? QStringList() : QStringList{f.zeile}) << qPrintable(f.text + f.option);
    EXPECT_FALSE(gDatenordnerAngelegt) << "the unload must keep the data folder";
  }
}

TEST_F(ProgrammabbruchTest, AbbruchEntlaedtHauptfensterUndVerwirftHalbGeschriebeneDatei) {
  const QString p = datei(QStringLiteral("Konfigdaten.dat"), "alt\r\n");
  int entladen = 0;
  programmende::setzeEntladen([&] { ++entladen; });
  ASSERT_TRUE(FOpen(p, QStringLiteral("Output")));
  LineOutPlain(QStringLiteral("halb"));
  ERWARTE_PROGRAMMENDE(Programmabbruch(QString(), QStringLiteral("Abbruch"), QStringLiteral("NoLog")));
  programmende::setzeEntladen(nullptr);
  EXPECT_EQ(entladen, 1);
  EXPECT_EQ(lesen(p), QByteArray("alt\r\n"));
  EXPECT_TRUE(gOffeneDatei.isEmpty());
}

TEST_F(ProgrammabbruchTest, MisslungeneLogbuchzeileImAbbruchKreistNicht) {
  gAbbruchdienste.logbuch = [](int, const QString&) {
    Prozedur(QStringLiteral("modVelkora - Logbuch_ergänzen"), [] { fehler::auslösen(61); });
  };
  ERWARTE_PROGRAMMENDE(Programmabbruch(QString(), QStringLiteral("Abbruch"), QString()));
  EXPECT_EQ(skript->protokoll.size(), 1u);
}

// Without the start repair above (a unit tested on its own), a damaged file still
// ends the program, with its description.
TEST_F(ProgrammabbruchTest, StartfehlerOhneReparaturBeendetMitDemText) {
  gAbbruchhaken = {};
  ERWARTE_PROGRAMMENDE(Startfehler_melden(QStringLiteral("Defekt"), gDatenordner + QStringLiteral("x.dat"), QString()));
  EXPECT_EQ(letzteMeldung(), QStringLiteral("Defekt.\r\rDas Programm wird beendet."));
  EXPECT_EQ(logbuch, QStringList{QStringLiteral("2:Startfehler: Defekt")});
}

// --- Pause -------------------------------------------------------------------------

TEST_F(ProgrammabbruchTest, PauseWartetAbJetztOderAbDemStart) {
  struct Fall {
    double s, seitStart;
    std::vector<double> schlaf;
  } fälle[] = {
      {-1.25, 2.0, {}},                                               // past already: returns at once
      {-1.25, 0.5, {0.75}},                                           // the rest up to 1.25 s after the start
      {0.0, 0.0, {0.0}},    {1.5, 9.0, {1.5}}, {0.0004, 0.0, {0.0}},  // whole milliseconds
  };
  for (const Fall& f : fälle) {
    uhr.schlafprotokoll.clear();
    uhr.sekunden = 1000.0 + f.seitStart;
    gStartzeit = 1000.0;
    Pause(f.s);
    EXPECT_EQ(uhr.schlafprotokoll, f.schlaf) << f.s << " after " << f.seitStart;
  }
}

// --- Programmabbruch_Fehler ----------------------------------------------------------

TEST_F(ProgrammabbruchTest, FehlerbehandlungUnterscheidetDateifehlerVonAnderenFehlern) {
  gFirmenname = QStringLiteral("Muster GmbH");
  const QString offen = gDatenordner + QStringLiteral("Feiertage.dat");
  const QString version = QStringLiteral("modVelkora - Test - v1.16.1");
  const QString anwendungsfehler = QStringLiteral("Anwendungs- oder objektdefinierter Fehler");
  struct Fall {
    int n;
    bool dateiOffen;
    QString meldung, text, zeile;
  } fälle[] = {
      {52, true,
       QStringLiteral("Es ist ein Fehler beim Dateizugriff aufgetreten.\r\rZuletzt geöffnete Datei: '") + offen +
           QStringLiteral("'\r\rUrsache: Dateiname oder -nummer falsch (Fehler Nr. 52)") + kEnde,
       QStringLiteral("Dateiname oder -nummer falsch"), QStringLiteral(" - Datei ") + offen},
      {76, false,
       QStringLiteral("Es ist ein Fehler beim Dateizugriff aufgetreten. Prüfen Sie, ob auf den Ordner '") +
           ordner().chopped(1) +
           QStringLiteral("' zugegriffen werden kann.\r\rUrsache: Pfad nicht gefunden (Fehler Nr. 76)") + kEnde,
       QStringLiteral("Pfad nicht gefunden"), QString()},
      {51, true,
       QStringLiteral("Es ist folgender Fehler aufgetreten in Modul '") + version +
           QStringLiteral("mus':\r\rFehler Nr. 51\r") + anwendungsfehler + kEnde,
       anwendungsfehler, QString()},
      {77, false,
       QStringLiteral("Es ist folgender Fehler aufgetreten in Modul '") + version +
           QStringLiteral("mus':\r\rFehler Nr. 77\r") + anwendungsfehler + kEnde,
       anwendungsfehler, QString()},
  };
  for (const Fall& f : fälle) {
    logbuch.clear();
    if (f.dateiOffen) {
      ASSERT_TRUE(FOpen(offen, QStringLiteral("Output")));
    }
    ERWARTE_PROGRAMMENDE(Prozedur(QStringLiteral("modVelkora - Test"), [&] { fehler::auslösen(f.n); }));
    EXPECT_EQ(letzteMeldung(), f.meldung) << f.n;
    EXPECT_EQ(logbuch, QStringList{QStringLiteral("2:Programmabbruch durch '") + version +
                                   QStringLiteral("' - Fehler Nr. %1 - ").arg(f.n) + f.text + f.zeile});
    EXPECT_TRUE(gOffeneDatei.isEmpty());
    EXPECT_FALSE(QFile::exists(offen)) << "a half-written file must not replace the target";
  }
}

TEST_F(ProgrammabbruchTest, EnforcestartLaesstDenStartWeiterlaufen) {
  gStörungAnzeigen = true;
  gStartErzwingen = true;
  bool beendet = false;
  try {
    Prozedur(QStringLiteral("modVelkora - Main"), [] { fehler::auslösen(13); });
  } catch (const ProgrammBeendet&) {
    beendet = true;
  }
  EXPECT_FALSE(beendet) << "with /enforcestart the handler returns during the start";
  EXPECT_EQ(letzteMeldung(), QStringLiteral("Es ist folgender Fehler aufgetreten in Modul 'modVelkora - Main - "
                                            "v1.16.1':\r\rFehler Nr. 13\rTypen unverträglich"));
  EXPECT_EQ(logbuch,
            QStringList{QStringLiteral(
                "2:Programmabbruch durch 'modVelkora - Main - v1.16.1' - Fehler Nr. 13 - Typen unverträglich")});
  // Outside the start the switch changes nothing.
  gStörungAnzeigen = false;
  ERWARTE_PROGRAMMENDE(Prozedur(QStringLiteral("modVelkora - Main"), [] { fehler::auslösen(13); }));
  EXPECT_TRUE(letzteMeldung().endsWith(kEnde));
}

}  // namespace
