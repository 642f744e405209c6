#include "startup/Ordner.h"

#include <unistd.h>

#include <QDir>
#include <QFile>

#include "common/Testumgebung.h"
#include "platform/Umgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"

namespace {

class OrdnerTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    qputenv("PUBLIC", QFile::encodeName(ordner() + QStringLiteral("Public")));
    qputenv("ProgramData", QFile::encodeName(ordner() + QStringLiteral("ProgramData")));
    qunsetenv("ProgramFiles");
  }
  void TearDown() override {
    qunsetenv("PUBLIC");
    qunsetenv("ProgramData");
    qunsetenv("ProgramFiles");
    VelkoraTest::TearDown();
  }
  QString zeiger() const { return gBasisordner + QStringLiteral("Velkora.dat"); }
  QString öffentlich() const {
    return ordner() + QStringLiteral("Public/AppData/Local/VirtualStore/Program Files/Velkora/");
  }
  static void zeitSetzen(const QString& pfad, const QDateTime& zeit) {
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(zeit, QFileDevice::FileModificationTime));
  }
  // The last message shown, or "" when none.
  QString letzteMeldung() const { return skript->protokoll.empty() ? QString() : skript->protokoll.back().text; }
};

// ---- reading ----------------------------------------------------------------------

TEST_F(OrdnerTest, LiestDieKodierteForm) {
  schreiben(zeiger(), kodiert({"[Velkora]", "data_pfad=/srv/Planung Büro/Data/", "log_pfad=/srv/Logs/"}));
  gDatenordnerAlt = QStringLiteral("/vorher/");
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, u"/srv/Planung Büro/Data/");
  EXPECT_EQ(gLogordner, u"/srv/Logs/");
  EXPECT_EQ(gDatenordnerAlt, u"");  // each reading start clears a pending change
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(OrdnerTest, LiestDieAeltereKlartextform) {
  // Windows-1252 with CR LF, as the older program wrote it.
  schreiben(zeiger(), "[Velkora]\r\ndata_pfad=/srv/Planung B\xfcro/Data/\r\nlog_pfad=\r\n");
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, u"/srv/Planung Büro/Data/");
  EXPECT_EQ(gLogordner, u"");
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(OrdnerTest, OrdnerEndenImmerMitSchraegstrich) {
  schreiben(zeiger(), kodiert({"[Velkora]", "data_pfad=/srv/Data", "log_pfad=/srv/Logs"}));
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, u"/srv/Data/");
  EXPECT_EQ(gLogordner, u"/srv/Logs/");
}

TEST_F(OrdnerTest, RelativerOrdnerZaehltVomOrdnerDerZeigerdatei) {
  // The start changes the current folder later; a relative entry must not move with it.
  schreiben(zeiger(), "[Velkora]\r\ndata_pfad=Daten/Data/\r\nlog_pfad=\r\n");
  QDir::setCurrent(gTempOrdner);
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, gBasisordner + QStringLiteral("Daten/Data/"));
}

TEST_F(OrdnerTest, LeererDatenordnerBleibtLeer) {
  schreiben(zeiger(), kodiert({"[Velkora]", "data_pfad=", "log_pfad="}));
  gDatenordner = QStringLiteral("/alt/");
  gLogordner = QStringLiteral("/alt/Logs/");
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, u"");
  EXPECT_EQ(gLogordner, u"");
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(OrdnerTest, OhneZeigerdateiBleibenDieOrdner) {
  const QString vorher = gDatenordner;
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, vorher);
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(OrdnerTest, ZeigerAufVerschwundenenOrdnerWirdUnveraendertGelesen) {
  // The start then finds no data there and offers the search; the reader neither
  // creates the folder nor falls back on its own.
  const QString weg = ordner() + QStringLiteral("Weg/Data/");
  schreiben(zeiger(), kodiert({"[Velkora]", "data_pfad=" + weg, "log_pfad=" + weg + "Logs/"}));
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, weg);
  EXPECT_EQ(gLogordner, weg + QStringLiteral("Logs/"));
  EXPECT_FALSE(QFileInfo::exists(weg));
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(OrdnerTest, ZeigerdateiNurImProgrammordner) {
  gBasisordner = unterordner(QStringLiteral("Basis"));
  schreiben(gProgrammordner + QStringLiteral("Velkora.dat"),
            kodiert({"[Velkora]", "data_pfad=/srv/Data/", "log_pfad=/srv/Data/Logs/"}));
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, u"/srv/Data/");
  Velkoradat_schreiben();
  EXPECT_EQ(dekodierteZeilen(gBasisordner + QStringLiteral("Velkora.dat")),
            QStringList({"[Velkora]", "data_pfad=/srv/Data/", "log_pfad=/srv/Data/Logs/"}));
}

TEST_F(OrdnerTest, DieZeigerdateiImBasisordnerGehtVor) {
  gBasisordner = unterordner(QStringLiteral("Basis"));
  schreiben(gProgrammordner + QStringLiteral("Velkora.dat"), kodiert({"[Velkora]", "data_pfad=/p/", "log_pfad="}));
  schreiben(zeiger(), kodiert({"[Velkora]", "data_pfad=/b/", "log_pfad="}));
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, u"/b/");
}

// ---- damaged pointer files ---------------------------------------------------------

TEST_F(OrdnerTest, BeschaedigteZeigerdateiEndetMitKlarerMeldung) {
  struct Fall {
    QByteArray inhalt;
    QString meldung;
  };
  const QString kopf = QStringLiteral("Der Dateiheader [Velkora] der Datei");
  const QString daten = QStringLiteral("Variable 'data_pfad' in 'Velkora.dat' konnte nicht ausgewertet werden.");
  const QString log = QStringLiteral("Variable 'log_pfad' in 'Velkora.dat' konnte nicht ausgewertet werden.");
  const Fall fälle[] = {
      {kodiert({"[Anders]", "data_pfad=/x/", "log_pfad="}), kopf},
      {"[Anders]\r\ndata_pfad=/x/\r\nlog_pfad=\r\n", kopf},
      {"\r\n\r\n", kopf},
      {kodiert({"[Velkora]", "datapfad=/x/", "log_pfad="}), daten},
      {"[Velkora]\r\nDATA_PFAD=/x/\r\nlog_pfad=\r\n", daten},
      {kodiert({"[Velkora]", "data_pfad=/x/", "logpfad="}), log},
      {kodiert({"[Velkora]"}), daten},  // cut off after the header
      {kodiert({"[Velkora]", "data_pfad=/x/"}), log},
      {"[Velkora]", daten},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.inhalt.toStdString());
    skript = &dialoge::skript();
    schreiben(zeiger(), f.inhalt);
    ERWARTE_PROGRAMMENDE(Velkoradat_lesen());
    // The start repair asks with the problem named.
    ASSERT_FALSE(skript->protokoll.empty());
    EXPECT_TRUE(skript->protokoll.front().text.contains(f.meldung)) << qPrintable(skript->protokoll.front().text);
    EXPECT_EQ(gOffeneDatei, u"");
    // The file is left as it was for the repair.
    EXPECT_EQ(lesen(zeiger()), f.inhalt);
  }
}

// ---- a pending change of the data folder --------------------------------------------

TEST_F(OrdnerTest, OffenerWechselKehrtZumAltenOrdnerZurueckWennErDatenHat) {
  const QString alt = unterordner(QStringLiteral("Alt/Data"));
  unterordner(QStringLiteral("Alt/Data/Logs"));
  schreiben(alt + QStringLiteral("2703Data.dat"), "x");
  schreiben(alt + QStringLiteral("Logs/2703Velkora.log"), "x");
  schreiben(zeiger(), kodiert({"[Velkora]", "data_pfad=", "log_pfad=", "data_pfad_alt=" + alt}));
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, alt);
  EXPECT_EQ(gLogordner, alt + QStringLiteral("Logs/"));
  EXPECT_EQ(gDatenordnerAlt, u"");
  EXPECT_EQ(dekodierteZeilen(zeiger()), QStringList({"[Velkora]", "data_pfad=" + alt, "log_pfad=" + alt + "Logs/"}));
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(OrdnerTest, OffenerWechselOhneDatenImAltenOrdnerZeigtHinweis) {
  const QString alt = unterordner(QStringLiteral("Alt/Data"));
  schreiben(alt + QStringLiteral("2703Data.dat"), "x");  // data, but no logbook
  const QByteArray inhalt = kodiert({"[Velkora]", "data_pfad=", "log_pfad=", "data_pfad_alt=" + alt});
  schreiben(zeiger(), inhalt);
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, u"");
  EXPECT_EQ(gLogordner, u"");
  EXPECT_EQ(gDatenordnerAlt, alt);
  ASSERT_EQ(skript->texte().size(), 1u);
  EXPECT_EQ(skript->texte()[0], QStringLiteral("Hinweis: Keine Daten im Ordner '") + ordner() +
                                    QStringLiteral("Alt' gefunden. Sie können den Ordner mit den Daten auswählen über "
                                                   "den Menüpunkt 'Datei - Datenordner ändern'"));
  EXPECT_EQ(lesen(zeiger()), inhalt);
}

TEST_F(OrdnerTest, ZeileVierZaehltNurBeiLeeremDatenUndLogordner) {
  schreiben(zeiger(), kodiert({"[Velkora]", "data_pfad=/neu/", "log_pfad=", "data_pfad_alt=/alt/"}));
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, u"/neu/");
  EXPECT_EQ(gDatenordnerAlt, u"");
  // An empty old folder is no pending change at all.
  schreiben(zeiger(), kodiert({"[Velkora]", "data_pfad=", "log_pfad=", "data_pfad_alt="}));
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordnerAlt, u"");
  EXPECT_TRUE(skript->protokoll.empty());
}

// ---- writing and deleting ---------------------------------------------------------

TEST_F(OrdnerTest, SchreibtKodiertUndLiestZurueck) {
  gDatenordner = QStringLiteral("/srv/Planung Büro/Data/");
  gLogordner = QStringLiteral("/srv/Logs/");
  Velkoradat_schreiben();
  EXPECT_EQ(dekodierteZeilen(zeiger()),
            QStringList({"[Velkora]", "data_pfad=/srv/Planung Büro/Data/", "log_pfad=/srv/Logs/"}));
  EXPECT_TRUE(lesen(zeiger()).endsWith("\r\n"));
  EXPECT_FALSE(lesen(zeiger()).contains("data_pfad"));  // not plain text

  gDatenordnerAlt = QStringLiteral("/srv/Alt/Data/");
  gDatenordner.clear();
  gLogordner.clear();
  Velkoradat_schreiben();
  EXPECT_EQ(dekodierteZeilen(zeiger()),
            QStringList({"[Velkora]", "data_pfad=", "log_pfad=", "data_pfad_alt=/srv/Alt/Data/"}));
  gDatenordnerAlt.clear();
  Velkoradat_lesen();  // the old folder holds no data: the hint, and the change stays pending
  EXPECT_EQ(gDatenordnerAlt, u"/srv/Alt/Data/");
}

TEST_F(OrdnerTest, NichtSchreibbarerBasisordnerBeendetDasProgramm) {
  gBasisordner = ordner() + QStringLiteral("Fehlt/");
  ERWARTE_PROGRAMMENDE(Velkoradat_schreiben());
  EXPECT_EQ(letzteMeldung(), QStringLiteral("Der Datenordner kann nicht in '") + ordner() +
                                 QStringLiteral("Fehlt/Velkora.dat' gespeichert werden.\r\rVermutlich haben Sie keine "
                                                "ausreichenden Zugriffsberechtigungen. Bitten Sie einen Administrator, "
                                                "diese Funktion für Sie durchzuführen.\r\rDas Programm wird beendet."));
}

TEST_F(OrdnerTest, Loeschen) {
  schreiben(zeiger(), "x");
  Velkoradat_löschen(false);
  EXPECT_FALSE(QFile::exists(zeiger()));
  EXPECT_TRUE(skript->protokoll.empty());
  schreiben(zeiger(), "x");
  Velkoradat_löschen(true);
  EXPECT_FALSE(QFile::exists(zeiger()));
  EXPECT_EQ(letzteMeldung(), u"Löschen erfolgreich");
}

TEST_F(OrdnerTest, LoeschenMisslungen) {
  schreiben(zeiger(), "x");
  gDateiEntfernen = [](const QString&) { return false; };
  Velkoradat_löschen(true);
  EXPECT_TRUE(QFile::exists(zeiger()));
  EXPECT_EQ(letzteMeldung(), u"Löschen nicht erfolgreich");
}

// ---- the public base folder --------------------------------------------------------

TEST_F(OrdnerTest, PublicPfadLegtOrdnerAnUndKopiertDieLaenderdatei) {
  const QString ftg = gProgrammordner + QStringLiteral("VelkoraFtg.dat");
  schreiben(ftg, "Feiertage");
  zeitSetzen(ftg, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
  SetPublicPfad();
  EXPECT_EQ(gBasisordner, öffentlich());
  EXPECT_EQ(Öffentlicher_Ordner(), öffentlich());
  EXPECT_EQ(lesen(öffentlich() + QStringLiteral("VelkoraFtg.dat")), "Feiertage");
  EXPECT_EQ(Dateizeit(öffentlich() + QStringLiteral("VelkoraFtg.dat")), Dateizeit(ftg));
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(OrdnerTest, LaenderdateiWirdNurBeiAndererDateizeitErneuert) {
  const QString ftg = gProgrammordner + QStringLiteral("VelkoraFtg.dat");
  const QString kopie = öffentlich() + QStringLiteral("VelkoraFtg.dat");
  QDir().mkpath(öffentlich());
  const QDateTime zeit(QDate(2026, 1, 2), QTime(3, 4, 5));
  schreiben(ftg, "neu");
  zeitSetzen(ftg, zeit);
  schreiben(kopie, "gleich alt");
  zeitSetzen(kopie, zeit);
  SetPublicPfad();
  EXPECT_EQ(lesen(kopie), "gleich alt");

  gBasisordner = gProgrammordner;
  zeitSetzen(kopie, zeit.addDays(1));  // also a newer copy is replaced: the program brings its own
  SetPublicPfad();
  EXPECT_EQ(lesen(kopie), "neu");
  EXPECT_EQ(Dateizeit(kopie), zeit);
}

TEST_F(OrdnerTest, AlterOrtUnterProgramDataWirdUebernommen) {
  const QString alt = unterordner(QStringLiteral("ProgramData/Velkora"));
  schreiben(alt + QStringLiteral("Velkora.dat"), kodiert({"[Velkora]", "data_pfad=/srv/Data/", "log_pfad="}));
  schreiben(alt + QStringLiteral("VelkoraFtg.dat"), "alte Feiertage");
  SetPublicPfad();
  EXPECT_EQ(lesen(öffentlich() + QStringLiteral("VelkoraFtg.dat")), "alte Feiertage");
  EXPECT_FALSE(QFileInfo::exists(alt));
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, u"/srv/Data/");
}

TEST_F(OrdnerTest, AlterOrtBehaeltLaenderdateiNichtWennSchonEineDaIst) {
  const QString alt = unterordner(QStringLiteral("ProgramData/Velkora"));
  schreiben(gProgrammordner + QStringLiteral("VelkoraFtg.dat"), "aus dem Programm");
  schreiben(alt + QStringLiteral("VelkoraFtg.dat"), "alte Feiertage");
  schreiben(alt + QStringLiteral("Anderes.txt"), "bleibt");
  SetPublicPfad();
  EXPECT_EQ(lesen(öffentlich() + QStringLiteral("VelkoraFtg.dat")), "aus dem Programm");
  EXPECT_FALSE(QFileInfo::exists(alt + QStringLiteral("VelkoraFtg.dat")));
  EXPECT_TRUE(QFileInfo::exists(alt + QStringLiteral("Anderes.txt")));  // the folder stays while not empty
}

TEST_F(OrdnerTest, AlterOrtBleibtWennDieZeigerdateiSchonDaIst) {
  const QString alt = unterordner(QStringLiteral("ProgramData/Velkora"));
  schreiben(alt + QStringLiteral("Velkora.dat"), "alt");
  QDir().mkpath(öffentlich());
  schreiben(öffentlich() + QStringLiteral("Velkora.dat"), "neu");
  SetPublicPfad();
  EXPECT_EQ(lesen(öffentlich() + QStringLiteral("Velkora.dat")), "neu");
  EXPECT_EQ(lesen(alt + QStringLiteral("Velkora.dat")), "alt");
}

TEST_F(OrdnerTest, MisslungeneKopieVerliertDieAlteZeigerdateiNicht) {
  const QString alt = unterordner(QStringLiteral("ProgramData/Velkora"));
  const QByteArray inhalt = kodiert({"[Velkora]", "data_pfad=/srv/Data/", "log_pfad="});
  schreiben(alt + QStringLiteral("Velkora.dat"), inhalt);
  // Something in the way of the copy (a folder of that name).
  QDir().mkpath(öffentlich() + QStringLiteral("Velkora.dat"));
  SetPublicPfad();
  EXPECT_EQ(lesen(alt + QStringLiteral("Velkora.dat")), inhalt);
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(OrdnerTest, OhneProgramDataWirdNichtsUebernommen) {
  qunsetenv("ProgramData");
  QDir::setCurrent(gTempOrdner);
  unterordner(QStringLiteral("Temp/Velkora"));
  schreiben(gTempOrdner + QStringLiteral("Velkora/Velkora.dat"), "fremd");
  SetPublicPfad();
  EXPECT_EQ(lesen(gTempOrdner + QStringLiteral("Velkora/Velkora.dat")), "fremd");
  EXPECT_FALSE(QFileInfo::exists(öffentlich() + QStringLiteral("Velkora.dat")));
}

TEST_F(OrdnerTest, BasisordnerZiehtUnterProgrammdateienUm) {
  // A program folder whose path begins like ProgramFiles counts as lying under it:
  // the older pointer file beside the program is read, the new one goes to the public folder.
  qputenv("ProgramFiles", QFile::encodeName(gProgrammordner.left(10) + QStringLiteral("zzz")));
  ASSERT_TRUE(umgebung::unterProgrammdateien(gProgrammordner));
  schreiben(gProgrammordner + QStringLiteral("Velkora.dat"), "[Velkora]\r\ndata_pfad=/srv/Data/\r\nlog_pfad=\r\n");
  schreiben(gProgrammordner + QStringLiteral("VelkoraFtg.dat"), "Feiertage");
  SetPublicPfad();
  Velkoradat_lesen();
  EXPECT_EQ(gDatenordner, u"/srv/Data/");
  Velkoradat_schreiben();
  EXPECT_EQ(dekodierteZeilen(öffentlich() + QStringLiteral("Velkora.dat")),
            QStringList({"[Velkora]", "data_pfad=/srv/Data/", "log_pfad="}));
  EXPECT_EQ(lesen(gProgrammordner + QStringLiteral("Velkora.dat")),
            "[Velkora]\r\ndata_pfad=/srv/Data/\r\nlog_pfad=\r\n");
  EXPECT_TRUE(Datei_vorhanden(gBasisordner + QStringLiteral("VelkoraFtg.dat")));
}

// The default temporary folder "velkora-<uid>" below the system's temporary folder:
// made owner-only by the first start; a folder of that name another account made
// first, or a link of that name, is refused by name.
TEST_F(OrdnerTest, VorgabeTempordnerNurWennErDemBenutzerGehoert) {
  const QByteArray temp = qgetenv("TEMP"), tmpdir = qgetenv("TMPDIR");
  qunsetenv("TEMP");
  qputenv("TMPDIR", QFile::encodeName(QDir::cleanPath(ordner())));
  const QString vorgabe = ordner() + QStringLiteral("velkora-") + QString::number(::geteuid()) + u'/';
  EXPECT_EQ(umgebung::tempOrdner(), vorgabe);
  EXPECT_EQ(QFile::permissions(vorgabe) & 0x0077, 0);
  Tempordner_prüfen(umgebung::tempOrdner());
  EXPECT_TRUE(skript->texte().empty());

  const QString anderswo = unterordner(QStringLiteral("anderswo"));
  ASSERT_TRUE(QDir().rmdir(vorgabe));
  ASSERT_TRUE(QFile::link(QDir::cleanPath(anderswo), QDir::cleanPath(vorgabe)));
  ERWARTE_PROGRAMMENDE(Tempordner_prüfen(umgebung::tempOrdner()));
  ASSERT_TRUE(QFile::remove(QDir::cleanPath(vorgabe)));
  ASSERT_TRUE(QDir().mkdir(vorgabe));
  ASSERT_EQ(::chown(QFile::encodeName(vorgabe).constData(), 4711, 4711), 0);
  ASSERT_EQ(::chmod(QFile::encodeName(vorgabe).constData(), 0777), 0);
  ERWARTE_PROGRAMMENDE(Tempordner_prüfen(umgebung::tempOrdner()));
  // The other account's folder keeps its mode: it is not this user's to change.
  EXPECT_EQ(QFileInfo(vorgabe).permissions() & QFileDevice::WriteOther, QFileDevice::WriteOther);
  const std::vector<QString> texte = skript->texte();
  ASSERT_EQ(texte.size(), 2u);
  for (const QString& t : texte)
    EXPECT_TRUE(t.startsWith(QStringLiteral("Der Ordner für temporäre Dateien '") + QDir::cleanPath(vorgabe) +
                             QStringLiteral("' ist ein Verweis oder gehört nicht dem Benutzer")))
        << t.toStdString();
  qputenv("TEMP", temp);
  if (tmpdir.isNull())
    qunsetenv("TMPDIR");
  else
    qputenv("TMPDIR", tmpdir);
}

}  // namespace
