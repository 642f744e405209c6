#include "store/Einrichtung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/Testumgebung.h"
#include "platform/Gebietsschema.h"
#include "platform/Uhr.h"
#include "startup/Dateizugriff.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

namespace {

class EinrichtungTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gKennzeile = QStringLiteral("Kennung A");
    gPlanungsjahr = 2025;
  }
};

// Two workstations set up one empty folder at the same moment: the default file the
// other one wrote while this one was writing its own stays; this one's is dropped.
TEST_F(EinrichtungTest, VomAnderenArbeitsplatzInzwischenGeschriebeneStandarddateiBleibt) {
  const QString pfad = gDatenordner + QStringLiteral("Mitarbeiterdaten.dat");
  const QByteArray anderer = kodiert({QStringLiteral("[Mitarbeiterdaten]"), QStringLiteral("Kennung B"),
                                      QStringLiteral("2025"), QStringLiteral("NoNames")});
  bool geschrieben = false;
  uhr::Quellen q;
  q.monoton = [&] {
    // The moment this one's file is closed.
    if (!geschrieben) schreiben(pfad, anderer);
    geschrieben = true;
    return 0.0;
  };
  uhr::setze(q);
  Inst_Mitarbeiterdaten_schreiben();
  EXPECT_TRUE(geschrieben);
  EXPECT_EQ(lesen(pfad), anderer);
  EXPECT_EQ(QDir(gDatenordner).entryList(QDir::Files), QStringList{QStringLiteral("Mitarbeiterdaten.dat")});
}

TEST_F(EinrichtungTest, StandarddateiWirdGanzGeschrieben) {
  const QString pfad = gDatenordner + QStringLiteral("Mitarbeiterdaten.dat");
  Inst_Mitarbeiterdaten_schreiben();
  EXPECT_EQ(dekodierteZeilen(pfad), (QStringList{QStringLiteral("[Mitarbeiterdaten]"), QStringLiteral("Kennung A"),
                                                 QStringLiteral("2025"), QStringLiteral("NoNames")}));
  EXPECT_EQ(QDir(gDatenordner).entryList(QDir::Files), QStringList{QStringLiteral("Mitarbeiterdaten.dat")});
}

// --- The default files of a first start ---------------------------------------------

class Erststart : public EinrichtungTest {
 protected:
  void SetUp() override {
    EinrichtungTest::SetUp();
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELKORA_BIN_DIR "/VelkoraFtg.dat"),
                            gBasisordner + QStringLiteral("VelkoraFtg.dat")));
    gKennzeile.clear();
    gFirmenname.clear();
    gFirmenzusatz.clear();
    gSettings = Standardeinstellungen();
  }
  void heute(const QDate& d) {
    uhr.datum = d;
    uhr.einsetzen();
    ordnerEinrichten();
  }
  QStringList zeilen(const QString& name) const { return dekodierteZeilen(gDatenordner + name); }
  QStringList meldungen() const {
    QStringList r;
    for (const QString& t : skript->texte()) r << t;
    return r;
  }
};

TEST_F(Erststart, KonfigurationDekodiertZuDenVorgaben) {
  Setup_Datenordner();
  const QStringList z = zeilen(QStringLiteral("Konfigdaten.dat"));
  ASSERT_EQ(z.size(), 32) << qPrintable(z.join(u'\n'));
  EXPECT_EQ(z[0], u"[Velkora]");
  EXPECT_FALSE(z[1].isEmpty());
  EXPECT_EQ(z[1], gKennzeile) << "every file of the new folder has the same opaque line";
  EXPECT_EQ(z[2], Programmversion());
  EXPECT_EQ(z.mid(3, 4), (QStringList{"[Firma]", "Firmenname", "", "[Settings]"}));
  EXPECT_EQ(z[7], Standardeinstellungen());
  EXPECT_EQ(z[7].size(), 50);
  EXPECT_EQ(z.mid(9, 4), (QStringList{"void", "[Wochenende]", "SaSo", "[Grundfarben]"}));
  EXPECT_EQ(z[13], u"&HFFFFFF");
  EXPECT_EQ(z[22], u"[Schaltflächen]");
  EXPECT_EQ(z[23], u"&H000000:&H80FF80:0:U:Urlaub");
  EXPECT_EQ(z[27], u"&H000000:&H8F8FFF:1:K:Krank");
  EXPECT_EQ(z[29], u"&HFFFFFF:&HFFFFFF:0: :Löschen");
  EXPECT_EQ(z[30], u"[Administratoren]");
  EXPECT_EQ(z[31], u"A:<Name Vorname>:tester");
  // The reader takes it as it is: six code buttons and the erase button, the first
  // user as the administrator placeholder.
  Konfigdaten_lesen();
  EXPECT_EQ(Schaltflächen_Anzahl(), 7);
  EXPECT_EQ(gAdministratoren, QStringList{QStringLiteral("A:<Name Vorname>:tester")});
  EXPECT_EQ(gWochenende, u"SaSo");
  EXPECT_EQ(gFirmenname, u"Firmenname");
  EXPECT_TRUE(meldungen().isEmpty());
}

TEST_F(Erststart, FeiertageFolgenDemLand) {
  struct Fall {
    const char* was;
    QString landnummer;
    QString land;
    QString erste;
  } fälle[] = {
      {"German", QStringLiteral("49"), QStringLiteral("Deutschland"), QStringLiteral("1:01.01.:Neujahr")},
      // A country the master file does not hold: no name, sixteen empty definitions.
      {"unknown", QStringLiteral("998"), QString(), kLeereFeiertagsdefinition},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.was);
    QFile::remove(gDatenordner + QStringLiteral("Feiertage.dat"));
    gebietsschema::setze(gebietsschema::Werte{f.landnummer, QStringLiteral("XXX"), QStringLiteral(";"),
                                              QStringLiteral("."), QStringLiteral("1"), QStringLiteral(",")});
    Setup_Datenordner();
    const QStringList z = zeilen(QStringLiteral("Feiertage.dat"));
    ASSERT_EQ(z.size(), 19);
    EXPECT_EQ(z[0], u"[Feiertage]");
    EXPECT_EQ(z[2], f.land);
    EXPECT_EQ(z[3], f.erste);
    if (f.land.isEmpty()) {
      for (int i = 3; i < 19; ++i) EXPECT_EQ(z[i], kLeereFeiertagsdefinition) << i;
    }
    Feiertage_lesen();
    EXPECT_TRUE(meldungen().isEmpty());
  }
}

TEST_F(Erststart, SechsunddreissigMonatsdateienAbDemPlanungsjahr) {
  heute(QDate(2026, 3, 5));
  Setup_Datenordner();
  EXPECT_EQ(gPlanungsjahr, 2025);
  EXPECT_EQ(zeilen(QStringLiteral("Mitarbeiterdaten.dat")),
            (QStringList{"[Mitarbeiterdaten]", gKennzeile, "2025", "NoNames"}));
  const QStringList monate = Dateiliste(gDatenordner, QStringLiteral("*Data.dat"));
  ASSERT_EQ(monate.size(), 36);
  for (int i = 0; i < 36; ++i) {
    const QString schlüssel = QStringLiteral("%1%2").arg(25 + i / 12).arg(i % 12 + 1, 2, 10, QChar(u'0'));
    EXPECT_EQ(monate[i], schlüssel + QStringLiteral(" 260305 Data.dat"));
    EXPECT_EQ(zeilen(monate[i]), (QStringList{u'[' + schlüssel + u']', gKennzeile, "NoEx:NoEx"})) << i;
  }
  // What the start reads next finds everything in place.
  Mitarbeiterdaten_lesen();
  EXPECT_EQ(gPlanungsjahr, 2025);
  Erfassungsdateien_checken();
  EXPECT_TRUE(meldungen().isEmpty());
}

TEST_F(Erststart, VorhandeneKonfigurationBehaeltIhreBytes) {
  const QByteArray eigene = kodiert({QStringLiteral("[Velkora]"), QStringLiteral("Kennung X"), QStringLiteral("1.0.0"),
                                     QStringLiteral("[Firma]"), QStringLiteral("Muster")});
  schreiben(gDatenordner + QStringLiteral("Konfigdaten.dat"), eigene);
  const QDateTime zeit = QFileInfo(gDatenordner + QStringLiteral("Konfigdaten.dat")).lastModified();
  Setup_Datenordner();
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Konfigdaten.dat")), eigene);
  EXPECT_EQ(QFileInfo(gDatenordner + QStringLiteral("Konfigdaten.dat")).lastModified(), zeit);
  // The other default files were written beside it.
  EXPECT_TRUE(QFile::exists(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")));
  EXPECT_TRUE(QFile::exists(gDatenordner + QStringLiteral("Feiertage.dat")));
}

TEST_F(Erststart, MasterdateiMitFalscherErsterZeileFordertNeuinstallation) {
  const QString master = gBasisordner + QStringLiteral("VelkoraFtg.dat");
  schreiben(master, kodiert({QStringLiteral("[Feiertage]"), QStringLiteral("[049 Deutschland]")}));
  const QByteArray vorher = lesen(master);
  ERWARTE_PROGRAMMENDE(Setup_Datenordner());
  ASSERT_EQ(meldungen().size(), 1);
  EXPECT_EQ(meldungen()[0], QStringLiteral("Der Dateiheader [VelkoraFeiertageDat] der Datei ") + ShowPfad(master) +
                                QStringLiteral(" wurde nicht erkannt. Installieren Sie das Programm erneut, um "
                                               "dieses Problem zu beheben.\r\rDas Programm wird beendet."));
  EXPECT_EQ(lesen(master), vorher);
  EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Feiertage.dat")));
}

}  // namespace
