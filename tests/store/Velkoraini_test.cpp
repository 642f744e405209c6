#include "store/Velkoraini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/Testumgebung.h"
#include "platform/Cp1252.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Konfigdaten.h"

namespace {

// A complete file as the program writes it, every value different.
QStringList volleDatei() {
  QStringList z{QStringLiteral("[Velkora]")};
  z << QStringLiteral("0") << QStringLiteral("1200") << QStringLiteral("-60") << QStringLiteral("15000")
    << QStringLiteral("9000");
  for (int i = 6; i <= 20; ++i) z << QString::number(100 * i);
  z << QStringLiteral("0");
  z << QStringLiteral("[Grundfarben]");
  for (int i = 1; i <= 9; ++i) z << QStringLiteral("&H%1").arg(0x102030 * i, 6, 16, QChar(u'0')).toUpper();
  z << QStringLiteral("[Anzeigegruppe]") << QStringLiteral("1");
  z << QStringLiteral("[Ordner]") << QStringLiteral("C:/Daten/Übergabe/") << QStringLiteral("void");
  z << QStringLiteral("[Settings]") << QStringLiteral("2") << QStringLiteral("1") << QStringLiteral("0")
    << QStringLiteral("1");
  z << QStringLiteral("[TaSum]") << QStringLiteral("101000000000000000000001") << QStringLiteral("void")
    << QStringLiteral("0110") << QStringLiteral("void");
  z << QStringLiteral("[ExtSettings]");
  for (const char* w : {"1", "1", "0", "1", "0", "0", "450", "1", "0", "1"}) z << QString::fromLatin1(w);
  z << QStringLiteral("[Font]") << QStringLiteral("Tahoma");
  z << QStringLiteral("[Printer]") << QStringLiteral("Drucker Flur 2");
  z << QStringLiteral("[SFBreite]") << QStringLiteral("1") << QStringLiteral("2100");
  return z;
}

// The line of volleDatei() n lines after a section header.
int zeile(const char* kopf, int n) { return static_cast<int>(volleDatei().indexOf(QString::fromUtf8(kopf))) + n; }

QByteArray klartext(const QStringList& zeilen) {
  QByteArray r;
  for (const QString& z : zeilen) r += cp1252::kodieren(z) + "\r\n";
  return r;
}

class VelkorainiTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gIniDateiname = QStringLiteral("Velkora_tester.ini");
    gBenutzerstufe = 2;
    // Three code buttons, the erase button last.
    gSFTexte = {QString(), QStringLiteral("Urlaub"), QStringLiteral("Krank"), QStringLiteral("Löschen")};
    gSFKennbuchstaben = {QString(), QStringLiteral("U"), QStringLiteral("K"), QStringLiteral(" ")};
    gSFTextfarben = {0, 1, 2, 3};
    gSFHintergrundfarben = {0, 11, 12, 13};
    gSFNurAdmins = {0, 0, 0, 0};
    gSFVerbergen = {0, 0, 0, 0};
    // Two display groups, so that group 1 is a valid choice.
    gAnzeigegruppen = {QString(), QStringLiteral("Alle|A:B:"), QStringLiteral("Nur A|A:")};
  }

  QString ini() const { return gIniOrdner + QStringLiteral("Velkora_tester.ini"); }
  QString temp() const { return gTempOrdner + QStringLiteral("Velkora_tester.ini"); }
  static void datei(const QString& pfad, const QStringList& zeilen) { schreiben(pfad, klartext(zeilen)); }
  static QStringList zeilen(const QString& pfad) {
    QString t = cp1252::dekodieren(lesen(pfad));
    if (t.endsWith(QStringLiteral("\r\n"))) t.chop(2);
    return t.split(QStringLiteral("\r\n"));
  }
  static void zeitSetzen(const QString& p, const QDateTime& t) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(t, QFileDevice::FileModificationTime));
  }
  QStringList logbuch() const {
    return dekodierteZeilen(gLogordner + gHeuteText.left(4) + QStringLiteral(" Velkora.log"));
  }
};

TEST_F(VelkorainiTest, VolleDateiFuelltJedenWert) {
  datei(ini(), volleDatei());
  Velkoraini_lesen();

  const std::array<int, 6> fenster{0, 0, 1200, -60, 15000, 9000};
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(gBenutzerwerte[i], fenster[i]) << i;
  for (int i = 6; i <= 20; ++i) EXPECT_EQ(gBenutzerwerte[i], 100 * i) << i;
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(gGrundfarben[i], 0x102030 * i) << i;
  EXPECT_EQ(gAnzeigegruppe, 1);
  EXPECT_EQ(gImportordner, u"C:/Daten/Übergabe/");
  EXPECT_EQ(gExportordner, u"");
  const std::array<int, 4> settings{2, 1, 0, 1};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(gBenutzerwerte[22 + i], settings[i]) << 22 + i;
  EXPECT_EQ(gTaSum[1], u"101000000000000000000001");
  EXPECT_EQ(gTaSum[2], u"");
  EXPECT_EQ(gTaSum[3], u"0110");
  const std::array<int, 10> ext{1, 1, 0, 1, 0, 0, 450, 1, 0, 1};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(gBenutzerwerte[26 + i], ext[i]) << 26 + i;
  EXPECT_EQ(gSchriftart, u"Tahoma");
  EXPECT_EQ(gDruckername, u"Drucker Flur 2");
  EXPECT_EQ(gBenutzerwerte[36], 1);
  EXPECT_EQ(gBenutzerwerte[37], 2100);
  EXPECT_EQ(gSFBreite, 2100);
  // The erase button is drawn in colour 1; the other buttons keep theirs.
  EXPECT_EQ(gSFHintergrundfarben[3], gGrundfarben[1]);
  EXPECT_EQ(gSFHintergrundfarben[1], 11);
  EXPECT_GT(gBenutzerwerteSumme, 0);
}

TEST_F(VelkorainiTest, HinUndZurueckSchreibtDieselbeDatei) {
  datei(ini(), volleDatei());
  Velkoraini_lesen();
  // Unchanged: nothing is written at all.
  QFile::remove(ini());
  Velkoraini_schreiben();
  EXPECT_FALSE(QFileInfo::exists(ini()));

  // One change writes the whole file, every other line as it was read.
  gBenutzerwerte[2] = 1300;
  datei(temp(), volleDatei());
  Velkoraini_schreiben();
  QStringList erwartet = volleDatei();
  erwartet[2] = QStringLiteral("1300");
  EXPECT_EQ(zeilen(ini()), erwartet);
  EXPECT_TRUE(lesen(ini()).endsWith("\r\n"));
  EXPECT_TRUE(
      lesen(ini()).contains("C:/Daten/\xDC"
                            "bergabe/"));  // Windows-1252
  EXPECT_FALSE(QFileInfo::exists(temp())) << "the fallback copy is dropped once the ini folder holds the file";

  // Read back by a fresh program: the same values.
  const auto werte = gBenutzerwerte;
  const auto farben = gGrundfarben;
  zustand::alleZurücksetzen();
  SetUp();
  Velkoraini_lesen();
  EXPECT_EQ(gBenutzerwerte, werte);
  EXPECT_EQ(gGrundfarben, farben);
  EXPECT_EQ(gDruckername, u"Drucker Flur 2");
}

TEST_F(VelkorainiTest, WasAlsAenderungZaehlt) {
  struct Fall {
    const char* name;
    std::function<void()> ändern;
    bool geschrieben;
  };
  const std::vector<Fall> fälle{
      {"day-sum choice only", [] { gTaSum[1] = QStringLiteral("111111111111111111111111"); }, false},
      {"window dragged by its left edge", [] { gBenutzerwerte[2] += 90, gBenutzerwerte[4] -= 90; }, true},
      {"window dragged by its top-left corner",
       [] { gBenutzerwerte[2] += 30, gBenutzerwerte[3] += 45, gBenutzerwerte[4] -= 30, gBenutzerwerte[5] -= 45; },
       true},
      {"two colours swapped", [] { std::swap(gGrundfarben[1], gGrundfarben[2]); }, true},
      {"display group", [] { gAnzeigegruppe = 0; }, true},
      {"font", [] { gSchriftart = QStringLiteral("Arial"); }, true},
      {"folder letters swapped", [] { gImportordner = QStringLiteral("C:/Daten/Übergabe/").replace(u'D', u'X'); },
       true},
      {"main window minimised", [] { gBenutzerwerte[1] = 1, gBenutzerwerte[2] = 5; }, false},
  };
  for (const Fall& f : fälle) {
    datei(ini(), volleDatei());
    Velkoraini_lesen();
    QFile::remove(ini());
    f.ändern();
    Velkoraini_schreiben();
    EXPECT_EQ(QFileInfo::exists(ini()), f.geschrieben) << f.name;
  }
}

TEST_F(VelkorainiTest, Leseregeln) {
  struct Fall {
    const char* name;
    int zeile;  // line of volleDatei()
    const char* text;
    int wert;  // the value index checked
    int erwartet;
  };
  const std::vector<Fall> fälle{
      {"row height 100", zeile("[ExtSettings]", 7), "100", 32, 300},
      {"row height 5000", zeile("[ExtSettings]", 7), "5000", 32, 1200},
      {"row height 285", zeile("[ExtSettings]", 7), "285", 32, 285},
      {"left -121", 2, "-121", 2, 0},
      {"left -120", 2, "-120", 2, -120},
      {"slow display seen", zeile("[ExtSettings]", 6), "1", 31, 0},
      {"button width 2400", zeile("[SFBreite]", 2), "2400", 37, 2400},
      {"not a number", 6, "abc", 6, 0},
  };
  for (const Fall& f : fälle) {
    zustand::alleZurücksetzen();
    SetUp();
    gSFBreite = 1830;
    QStringList z = volleDatei();
    z[f.zeile] = QString::fromUtf8(f.text);
    datei(ini(), z);
    Velkoraini_lesen();
    EXPECT_EQ(gBenutzerwerte[f.wert], f.erwartet) << f.name;
    EXPECT_GT(gBenutzerwerteSumme, 0) << f.name;
  }

  zustand::alleZurücksetzen();
  SetUp();
  QStringList z = volleDatei();
  z[zeile("[ExtSettings]", 6)] = QStringLiteral("1");
  datei(ini(), z);
  Velkoraini_lesen();
  EXPECT_TRUE(gLangsamesNetz);
}

TEST_F(VelkorainiTest, SchaltflaechenbreiteNurWennVonHandGesetztUndImBereich) {
  for (const auto& [vonHand, breite, erwartet] :
       std::vector<std::tuple<const char*, const char*, int>>{{"1", "2000", 2000},
                                                              {"1", "1800", 1800},
                                                              {"1", "2370", 2370},
                                                              {"1", "2400", 1830},
                                                              {"1", "1799", 1830},
                                                              {"0", "2000", 1830}}) {
    gSFBreite = 1830;
    QStringList z = volleDatei();
    z[zeile("[SFBreite]", 1)] = QString::fromLatin1(vonHand);
    z[zeile("[SFBreite]", 2)] = QString::fromLatin1(breite);
    datei(ini(), z);
    Velkoraini_lesen();
    EXPECT_EQ(gSFBreite, erwartet) << vonHand << " " << breite;
  }
}

TEST_F(VelkorainiTest, KorrigierteWerteWerdenZurueckgeschrieben) {
  QStringList z = volleDatei();
  z[zeile("[ExtSettings]", 7)] = QStringLiteral("100");
  datei(ini(), z);
  Velkoraini_lesen();
  Velkoraini_schreiben();
  EXPECT_EQ(zeilen(ini())[zeile("[ExtSettings]", 7)], u"300");
}

TEST_F(VelkorainiTest, MitarbeiterBekommenKeineTagessummen) {
  gBenutzerstufe = 0;
  datei(ini(), volleDatei());
  Velkoraini_lesen();
  EXPECT_EQ(gBenutzerwerte[25], 0);
  gBenutzerstufe = 1;
  Velkoraini_lesen();
  EXPECT_EQ(gBenutzerwerte[25], 1);
}

TEST_F(VelkorainiTest, AnzeigegruppeJenseitsDerGruppenDesBenutzersWirdNull) {
  for (const auto& [gespeichert, gruppen, erwartet] :
       std::vector<std::tuple<int, int, int>>{{1, 2, 1}, {2, 2, 0}, {3, 2, 0}, {1, 0, 0}, {-1, 2, 0}}) {
    gAnzeigegruppen = gruppen == 0 ? QStringList{QString(), QStringLiteral("NoGroups")}
                                   : QStringList{QString(), QStringLiteral("Alle|A:B:"), QStringLiteral("B|B:")};
    QStringList z = volleDatei();
    z[zeile("[Anzeigegruppe]", 1)] = QString::number(gespeichert);
    datei(ini(), z);
    Velkoraini_lesen();
    EXPECT_EQ(gAnzeigegruppe, erwartet) << gespeichert << " of " << gruppen;
  }
}

TEST_F(VelkorainiTest, StandardschriftWirdAlsVoidGeschrieben) {
  QStringList z = volleDatei();
  z[zeile("[Font]", 1)] = QStringLiteral("Microsoft Sans Serif");
  datei(ini(), z);
  Velkoraini_lesen();
  EXPECT_EQ(gSchriftart, u"Microsoft Sans Serif");
  gBenutzerwerte[3] = 0;
  Velkoraini_schreiben();
  EXPECT_EQ(zeilen(ini())[zeile("[Font]", 1)], u"void");
}

TEST_F(VelkorainiTest, KaputteDateiWirdProtokolliertGeloeschtUndNeuGeschrieben) {
  struct Fall {
    const char* name;
    int zeile;
    const char* text;
  };
  const std::vector<Fall> fälle{
      {"colour of 7 characters", zeile("[Grundfarben]", 1), "&HFFFFF"},
      {"colour not hexadecimal", zeile("[Grundfarben]", 9), "&HFFGG00"},
      {"colour without &H", zeile("[Grundfarben]", 1), "00FF00FF"},
      {"wrong section header", zeile("[Anzeigegruppe]", 0), "[Anzeigegruppen]"},
      {"settings line of two digits", zeile("[Settings]", 1), "12"},
      {"empty extended setting", zeile("[ExtSettings]", 1), ""},
  };
  for (const Fall& f : fälle) {
    zustand::alleZurücksetzen();
    SetUp();
    gGrundfarben[9] = 0x0A0B0C;
    QStringList z = volleDatei();
    z[f.zeile] = QString::fromUtf8(f.text);
    datei(ini(), z);
    datei(temp(), z);
    zeitSetzen(temp(), QDateTime::currentDateTime().addSecs(-60));
    Velkoraini_lesen();

    EXPECT_FALSE(QFileInfo::exists(ini())) << f.name;
    EXPECT_FALSE(QFileInfo::exists(temp())) << f.name;
    const QStringList log = logbuch();
    ASSERT_EQ(log.size(), 1) << f.name;
    EXPECT_TRUE(log[0].endsWith(QStringLiteral("|tester|VelkoraAdmin|Fehler beim Lesen der Datei '") + ini() + u'\''))
        << f.name;
    // Values read before the fault stay in force.
    EXPECT_EQ(gBenutzerwerte[3], -60) << f.name;
    EXPECT_EQ(gBenutzerwerteSumme, 0) << f.name;
    EXPECT_TRUE(skript->texte().empty()) << f.name;

    // The file is written afresh at the end of the run with the values then in force.
    Velkoraini_schreiben();
    const QStringList neu = zeilen(ini());
    ASSERT_EQ(neu.size(), volleDatei().size()) << f.name;
    EXPECT_EQ(neu[3], u"-60") << f.name;
    EXPECT_EQ(neu[zeile("[Anzeigegruppe]", 0)], u"[Anzeigegruppe]") << f.name;
    QFile::remove(gLogordner + gHeuteText.left(4) + QStringLiteral(" Velkora.log"));
  }
}

TEST_F(VelkorainiTest, GekuerzteDateiWirdOhneLogbuchzeileNeuAufgebaut) {
  for (const qsizetype länge : {qsizetype{0}, qsizetype{1}, qsizetype{30}, volleDatei().size() - 1}) {
    datei(ini(), volleDatei().mid(0, länge));
    Velkoraini_lesen();
    EXPECT_FALSE(QFileInfo::exists(ini())) << länge;
    EXPECT_TRUE(logbuch().isEmpty()) << länge;
    EXPECT_TRUE(skript->texte().empty()) << "an empty settings file is no file in use: " << länge;
    Velkoraini_schreiben();
    EXPECT_EQ(zeilen(ini()).size(), volleDatei().size()) << länge;
  }
}

TEST_F(VelkorainiTest, NeuereKopieWirdGelesen) {
  QStringList imIni = volleDatei(), imTemp = volleDatei();
  imIni[2] = QStringLiteral("111");
  imTemp[2] = QStringLiteral("222");
  const QDateTime jetzt = QDateTime::currentDateTime();

  datei(temp(), imTemp);
  Velkoraini_lesen();
  EXPECT_EQ(gBenutzerwerte[2], 222) << "only the temporary folder holds one";

  datei(ini(), imIni);
  zeitSetzen(ini(), jetzt.addSecs(-100));
  zeitSetzen(temp(), jetzt.addSecs(-10));
  Velkoraini_lesen();
  EXPECT_EQ(gBenutzerwerte[2], 222);

  zeitSetzen(ini(), jetzt.addSecs(-5));
  Velkoraini_lesen();
  EXPECT_EQ(gBenutzerwerte[2], 111);
}

TEST_F(VelkorainiTest, SchreibtInDenTempordnerWennDerIniOrdnerVersagt) {
  gBenutzerwerte[2] = 4711;
  gIniOrdner = ordner() + QStringLiteral("fehlt/");
  Velkoraini_schreiben();
  EXPECT_EQ(zeilen(temp())[2], u"4711");
  EXPECT_TRUE(logbuch().isEmpty());

  // Neither folder takes it: logged, and nothing stops.
  QFile::remove(temp());
  gTempOrdner = ordner() + QStringLiteral("fehlt auch/");
  Velkoraini_schreiben();
  const QStringList log = logbuch();
  ASSERT_EQ(log.size(), 1);
  EXPECT_TRUE(log[0].endsWith(QStringLiteral("VelkoraAdmin|Fehler beim Öffnen der Datei '") + gTempOrdner +
                              QStringLiteral("Velkora_tester.ini'")));
}

TEST_F(VelkorainiTest, UnlesbareDateiWirdProtokolliertUndDieVorgabenBleiben) {
  datei(ini(), volleDatei());
  gBenutzerwerte[2] = 77;
  SetSetting(25, 3);
  // The one file channel is taken by another file.
  const QString andere = ordner() + QStringLiteral("andere.txt");
  schreiben(andere, "x\r\n");
  ASSERT_TRUE(FOpen(andere, QStringLiteral("Input")));
  Velkoraini_lesen();
  FClose();
  EXPECT_EQ(gBenutzerwerte[2], 77);
  EXPECT_EQ(gBenutzerwerte[22], 3);
  EXPECT_EQ(gBenutzerwerte[32], 300);
  EXPECT_EQ(gTaSum[1], QString(24, u'0'));
  const QStringList log = logbuch();
  ASSERT_EQ(log.size(), 1);
  EXPECT_TRUE(log[0].contains(QStringLiteral("VelkoraAdmin|Fehler beim Öffnen der Datei '")));
}

TEST_F(VelkorainiTest, NachDemLoeschenWirdNichtsGeschrieben) {
  datei(ini(), volleDatei());
  datei(temp(), volleDatei());
  Velkoraini_lesen();
  Velkoraini_löschen();
  EXPECT_FALSE(QFileInfo::exists(ini()));
  EXPECT_FALSE(QFileInfo::exists(temp()));
  gBenutzerwerte[2] = 9;
  Velkoraini_schreiben();
  EXPECT_FALSE(QFileInfo::exists(ini()));
}

TEST_F(VelkorainiTest, UnsichereBenutzernamenSindNurFuerDenDateinamenEntschaerft) {
  EXPECT_EQ(Velkoraini_Dateiname(QStringLiteral("tester")), u"Velkora_tester.ini");
  EXPECT_EQ(Velkoraini_Dateiname(QStringLiteral("FIRMA\\Anna:Ä")), u"Velkora_FIRMA%5CAnna%3AÄ.ini");
  EXPECT_EQ(Velkoraini_Dateiname(QStringLiteral("../x")), u"Velkora_..%2Fx.ini");
  EXPECT_NE(Velkoraini_Dateiname(QStringLiteral("a/b")), Velkoraini_Dateiname(QStringLiteral("a%2Fb")));

  gBenutzername = QStringLiteral("../büro/anna*");
  gIniDateiname = Velkoraini_Dateiname(gBenutzername);
  gBenutzerwerte[2] = 5;
  Velkoraini_schreiben();
  EXPECT_EQ(QDir(gIniOrdner).entryList(QDir::Files), QStringList{QStringLiteral("Velkora_..%2Fbüro%2Fanna%2A.ini")});
  gBenutzerwerte[2] = 0;
  Velkoraini_lesen();
  EXPECT_EQ(gBenutzerwerte[2], 5);
}

}  // namespace
