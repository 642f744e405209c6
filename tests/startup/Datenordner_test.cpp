#include "startup/Datenordner.h"

#include <QDir>
#include <QFile>

#include "common/Testnamen.h"
#include "common/Testumgebung.h"
#include "platform/Programmende.h"
#include "startup/Dateizugriff.h"
#include "startup/Ordner.h"
#include "startup/Start.h"

namespace {

class DatenordnerTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
  }
  void ordnerAntwort(const QString& ordner) { skript->antworte(dialoge::kOK, ordner); }
  QString zeiger() const { return gBasisordner + QStringLiteral("Velkora.dat"); }
};

// ---- Ordner_wählen ----------------------------------------------------------------

struct Wahlfall {
  const char* name;
  const char* gewählt;  // below the temporary folder; "" = cancelled
  QStringList dateien;  // files to create below the temporary folder first
  bool administrator;
  const char* ergebnis;  // below the temporary folder; "" = none
  bool meldung;
};

class OrdnerWaehlenTest : public DatenordnerTest, public ::testing::WithParamInterface<Wahlfall> {};

TEST_P(OrdnerWaehlenTest, MachtAusDerWahlEinenDatenordner) {
  const Wahlfall& f = GetParam();
  for (const QString& d : f.dateien) {
    if (d.endsWith(u'/')) {
      QDir().mkpath(ordner() + d);
    } else {
      QDir().mkpath(ParentDir(ordner() + d));
      schreiben(ordner() + d, "x");
    }
  }
  gOrdnerdienste.ist_administrator = [&] { return f.administrator; };
  const QString gewählt = QString::fromUtf8(f.gewählt);
  if (!gewählt.isEmpty()) ordnerAntwort(ordner() + gewählt);
  const QString ergebnis = Ordner_wählen();
  const QString erwartet = QString::fromUtf8(f.ergebnis);
  EXPECT_EQ(ergebnis, erwartet.isEmpty() ? QString() : ordner() + erwartet);
  const bool gemeldet = std::any_of(skript->protokoll.begin(), skript->protokoll.end(),
                                    [](const dialoge::Aufforderung& a) { return a.art == dialoge::Art::Meldung; });
  EXPECT_EQ(gemeldet, f.meldung);
}

INSTANTIATE_TEST_SUITE_P(
    Tabelle, OrdnerWaehlenTest,
    ::testing::Values(
        Wahlfall{"Abgebrochen", "", {}, true, "", false},
        Wahlfall{"LogsOrdnerGibtSeinenDatenordner",
                 "Firma/Data/Logs",
                 {"Firma/Data/2603 260301 Data.dat"},
                 false,
                 "Firma/Data/",
                 false},
        Wahlfall{"BackupsOrdnerGibtSeinenDatenordner",
                 "Firma/DATA/Backups",
                 {"Firma/DATA/x.dat"},
                 true,
                 "Firma/DATA/",
                 false},
        Wahlfall{"OrdnerMitMonatsdateien", "Anderswo", {"Anderswo/2603 260301 Data.dat"}, true, "Anderswo/", false},
        Wahlfall{"FremderVollerOrdnerFuerAdministratoren", "Voll", {"Voll/brief.txt"}, true, "", true},
        Wahlfall{"FremderVollerOrdnerFuerAndere", "Voll", {"Voll/brief.txt"}, false, "Voll/Data/", false},
        Wahlfall{
            "OrdnerMitDataUnterordner", "Firma2", {"Firma2/brief.txt", "Firma2/Data/"}, true, "Firma2/Data/", false},
        Wahlfall{"LeererOrdnerBekommtData", "Leer", {"Leer/"}, true, "Leer/Data/", false},
        Wahlfall{"NichtSpeicherbarerPfad", "Ordner \u4e2d", {"Ordner \u4e2d/"}, true, "", true}),
    NachName{});

TEST_F(DatenordnerTest, EinGetippterPfadErsetztDenDialog) {
  gUNCPfad = unterordner(QStringLiteral("Server/Freigabe"));
  EXPECT_EQ(Ordner_wählen(), gUNCPfad + QStringLiteral("Data/"));
  EXPECT_TRUE(skript->protokoll.empty());
}

// ---- copying and deleting ---------------------------------------------------------

TEST_F(DatenordnerTest, KopierenBehaeltDieDateizeitenUndWarntVorUeberschreiben) {
  const QString quelle = unterordner(QStringLiteral("Quelle"));
  const QString ziel = ordner() + QStringLiteral("Ziel/");
  schreiben(quelle + QStringLiteral("a.dat"), "eins");
  schreiben(quelle + QStringLiteral("b.dat"), "zwei");
  schreiben(quelle + QStringLiteral("c.log"), "drei");
  const QDateTime alt = QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5));
  {
    QFile f(quelle + QStringLiteral("a.dat"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(alt, QFileDevice::FileModificationTime);
  }
  EXPECT_TRUE(Verzeichnis_kopieren(quelle, ziel, QStringLiteral("*.dat")));
  EXPECT_EQ(Dateiliste(ziel, QStringLiteral("*")), (QStringList{QStringLiteral("a.dat"), QStringLiteral("b.dat")}));
  EXPECT_EQ(Dateizeit(ziel + QStringLiteral("a.dat")), alt);
  EXPECT_EQ(lesen(ziel + QStringLiteral("b.dat")), "zwei");
  EXPECT_TRUE(skript->protokoll.empty());

  EXPECT_TRUE(Verzeichnis_kopieren(quelle, ziel, QStringLiteral("*.dat")));
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_TRUE(skript->protokoll[0].text.startsWith(QStringLiteral("Warnung: Im Ordner ")));
}

TEST_F(DatenordnerTest, LiesmichdateiLiegtNebenDemDatenordner) {
  Liesmichdatei_schreiben(gDatenordner);
  EXPECT_EQ(lesen(ordner() + QStringLiteral("Lies mich - Velkora.txt")),
            QByteArray("\r\n\r\n\r\n\tDieser Ordner enth\xe4lt die Daten des Programms\r\n"
                       "\tVelkora. Nehmen Sie in diesem Ord-\r\n"
                       "\tner keine \xc4nderungen vor. Jede \xc4nderung kann die\r\n"
                       "\tFunktionsf\xe4higkeit des Programms beeintr\xe4\x63htigen.\r\n"));
  Verzeichnis_löschen(gDatenordner, QStringLiteral("*.dat"));
  EXPECT_FALSE(QFile::exists(ordner() + QStringLiteral("Lies mich - Velkora.txt")));
}

TEST_F(DatenordnerTest, OrdnerLeerErkenntDateienUndUnterordner) {
  const QString o = unterordner(QStringLiteral("Pruef"));
  EXPECT_TRUE(Check_ob_Ordner_leer(o));
  EXPECT_TRUE(Check_ob_Ordner_leer(o + QStringLiteral("gibtsnicht/")));
  QDir().mkpath(o + QStringLiteral("unter"));
  EXPECT_FALSE(Check_ob_Ordner_leer(o));
}

// ---- Datenverzeichnis_suchen ------------------------------------------------------

TEST_F(DatenordnerTest, SuchenFindetDenGewaehltenOrdnerUndSchreibtDenZeiger) {
  const QString gefunden = unterordner(QStringLiteral("Neu/Data"));
  schreiben(gefunden + QStringLiteral("2603 260301 Data.dat"), "x");
  gDatenordnerAlt = gDatenordner;
  skript->antworte(dialoge::kJa);
  ordnerAntwort(gefunden);
  Datenverzeichnis_suchen();
  EXPECT_EQ(gDatenordner, gefunden);
  EXPECT_EQ(gLogordner, gefunden + QStringLiteral("Logs/"));
  EXPECT_EQ(gDatenordnerAlt, u"");
  EXPECT_TRUE(QFile::exists(zeiger()));
}

TEST_F(DatenordnerTest, SuchenMitNeinEndetNachDerRueckfrage) {
  skript->antworte(dialoge::kNein);  // no search
  skript->antworte(dialoge::kNein);  // no reset
  ERWARTE_PROGRAMMENDE(Datenverzeichnis_suchen());
  ASSERT_EQ(skript->protokoll.size(), 3u);
  EXPECT_TRUE(
      skript->protokoll[0].text.startsWith(QStringLiteral("Die An-/Abwesenheitsdaten wurden nicht im Ordner ")));
  EXPECT_EQ(skript->protokoll[1].text,
            u"Keine An-/Abwesenheitsdaten gefunden. Möchten Sie auf den Ausgangszustand zurücksetzen?");
  EXPECT_EQ(skript->protokoll[2].text, u"Das Programm wird beendet");
}

TEST_F(DatenordnerTest, SuchenAufEinemVorgegebenenOrdnerFragtNichtNachDemZuruecksetzen) {
  gPfadVorgegeben = true;
  skript->antworte(dialoge::kNein);
  ERWARTE_PROGRAMMENDE(Datenverzeichnis_suchen());
  ASSERT_EQ(skript->protokoll.size(), 2u);
  EXPECT_EQ(skript->protokoll[1].text, u"Das Programm wird beendet");
}

TEST_F(DatenordnerTest, ZuruecksetzenLoeschtDenZeigerOhneAnstehendenWechsel) {
  schreiben(zeiger(), "x");
  skript->antworte(dialoge::kNein);
  skript->antworte(dialoge::kJa);
  Datenverzeichnis_suchen();
  EXPECT_EQ(gDatenordner, u"");
  EXPECT_FALSE(QFile::exists(zeiger()));
}

}  // namespace
