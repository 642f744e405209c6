#include "store/Konfigdaten.h"

#include <gtest/gtest.h>

#include <QFile>

#include "common/Testumgebung.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"

namespace {

const QString kStandard = QStringLiteral("0000000000000101110U½##K310030100####0000010000000");

// The configuration file of a new data folder, line by line.
QStringList standardZeilen() {
  return {
      QStringLiteral("[Velkora]"),
      QStringLiteral("Velkora:0123456789AB"),
      QStringLiteral("1.16.1"),
      QStringLiteral("[Firma]"),
      QStringLiteral("Muster GmbH"),
      QString(),
      QStringLiteral("[Settings]"),
      kStandard,
      QStringLiteral("Einrichtung:2603"),
      QStringLiteral("void"),
      QStringLiteral("[Wochenende]"),
      QStringLiteral("SaSo"),
      QStringLiteral("[Grundfarben]"),
      QStringLiteral("&HFFFFFF"),
      QStringLiteral("&HE8E8E8"),
      QStringLiteral("&HC0C0FF"),
      QStringLiteral("&HFFF8F4"),
      QStringLiteral("&HFFE8CE"),
      QStringLiteral("&HAFAFAF"),
      QStringLiteral("&HE8FFFF"),
      QStringLiteral("&HE8FFFF"),
      QStringLiteral("&HC0FFFF"),
      QStringLiteral("[Schaltflächen]"),
      QStringLiteral("&H000000:&H80FF80:0:U:Urlaub"),
      QStringLiteral("&H000000:&H80FF80:0:½:½ Urlaub"),
      QStringLiteral("&H000000:&H80C0FF:0:Z:Zeitausgleich"),
      QStringLiteral("&H000000:&H80FFFF:0:D:Dienstreise"),
      QStringLiteral("&H000000:&H8F8FFF:1:K:Krank"),
      QStringLiteral("&H000000:&HFFFF80:0:S:Sonstiges"),
      QStringLiteral("&HFFFFFF:&HFFFFFF:0: :Löschen"),
      QStringLiteral("[Administratoren]"),
      QStringLiteral("A:<Name Vorname>:tester"),
  };
}
constexpr int kSettingsZeile = 7;
constexpr int kEinrichtungsZeile = 8;
constexpr int kVerbergenZeile = 9;
constexpr int kErsteFarbe = 13;
constexpr int kErsterKnopf = 23;
constexpr int kAdminKopf = 30;

// Joins pieces into one settings string.
QString v(std::initializer_list<QStringView> teile) {
  QString r;
  for (QStringView t : teile) r += t;
  return r;
}

QString mitStelle(QString s, int position, const QString& wert) {
  s.replace(position - 1, wert.size(), wert);
  return s;
}

// Everything the reader fills, to compare two reads.
struct Stand {
  QString kennzeile, version, firma, zusatz, settings, einrichtung, verbergenText, wochenende;
  std::array<qint32, 10> farben;
  QList<qint32> textfarben, hintergrundfarben;
  QList<int> nurAdmins, verbergen;
  QStringList buchstaben, texte, admins, privilegierte;
  int stufe, urlaub, urlaubHalb, verborgen, jahrBeginn, verfall, breite, monate;
  bool operator==(const Stand&) const = default;
};
Stand stand() {
  return {gKennzeile,           gVersionszeile,     gFirmenname,        gFirmenzusatz,     gSettings,
          gEinrichtungszeile,   gSFVerbergenText,   gWochenende,        gGrundfarben,      gSFTextfarben,
          gSFHintergrundfarben, gSFNurAdmins,       gSFVerbergen,       gSFKennbuchstaben, gSFTexte,
          gAdministratoren,     gPrivilegierte,     gBenutzerstufe,     gSFUrlaub,         gSFUrlaubHalb,
          gSFVerborgen,         gUrlaubsjahrBeginn, gResturlaubVerfall, gSFBreite,         gMonateSeitEinrichtung};
}

class KonfigdatenTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    pfad = gDatenordner + QStringLiteral("Konfigdaten.dat");
  }
  void ablegen(const QStringList& zeilen) { schreiben(pfad, kodiert(zeilen, 'L')); }
  // Every line key the writer draws becomes 'L', so a written file can be compared
  // byte by byte.
  void festerSchlüssel() {
    uhr::Quellen q;
    q.zufall = [] { return (76.5 - 32.0) / 223.0; };
    uhr::setze(q);
  }
  QStringList mitAdmins(const QStringList& admins, const QString& stelle16 = QStringLiteral("2")) {
    QStringList z = standardZeilen().mid(0, kAdminKopf + 1) + admins;
    z[kSettingsZeile] = mitStelle(kStandard, 16, stelle16);
    return z;
  }
  void dateizeitSetzen(const QDateTime& zeit) {
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(zeit, QFileDevice::FileModificationTime));
  }
  QString pfad;
};

TEST_F(KonfigdatenTest, StandardDateiWirdGelesenUndByteGleichZurueckgeschrieben) {
  festerSchlüssel();
  const QByteArray original = kodiert(standardZeilen(), 'L');
  schreiben(pfad, original);
  Konfigdaten_lesen();

  EXPECT_EQ(gKennzeile, u"Velkora:0123456789AB");
  EXPECT_EQ(gFirmenname, u"Muster GmbH");
  EXPECT_EQ(gFirmenzusatz, u"");
  EXPECT_EQ(gSettings, kStandard);
  EXPECT_EQ(gSettings.size(), 50);
  EXPECT_EQ(SettingStr(21, 1), u"½");
  EXPECT_EQ(Setting(25), 3);
  ASSERT_EQ(Schaltflächen_Anzahl(), 7);
  EXPECT_EQ(gSFKennbuchstaben[2], u"½");
  EXPECT_EQ(gSFTexte[2], u"½ Urlaub");
  EXPECT_EQ(gSFTexte[7], u"Löschen");
  EXPECT_EQ(gSFKennbuchstaben[7], u" ");
  EXPECT_EQ(gSFHintergrundfarben[5], 0x8F8FFF);
  EXPECT_EQ(gSFNurAdmins[5], 1);
  EXPECT_EQ(gSFTextfarben[7], 0xFFFFFF);
  EXPECT_EQ(gGrundfarben[1], 0xFFFFFF);
  EXPECT_EQ(gGrundfarben[3], 0xC0C0FF);
  EXPECT_EQ(gGrundfarben[9], 0xC0FFFF);
  EXPECT_EQ(gWochenende, u"SaSo");
  EXPECT_EQ(gSFUrlaub, 1);
  EXPECT_EQ(gSFUrlaubHalb, 2);
  EXPECT_EQ(gSFUrlaub2, 0);
  EXPECT_EQ(gSFSonderurlaub, 0);
  EXPECT_EQ(gSFVerborgen, 0);  // position 5 is 0
  EXPECT_EQ(gUrlaubsjahrBeginn, 1);
  EXPECT_EQ(gResturlaubVerfall, 0);
  EXPECT_EQ(gSFBreite, 0);
  EXPECT_EQ(gMonateSeitEinrichtung, 0);
  EXPECT_EQ(gBenutzerstufe, 2);
  EXPECT_EQ(gAdministratoren, QStringList{u"A:<Name Vorname>:tester"_qs});
  EXPECT_EQ(gPrivilegierte, QStringList{u"NoAdmins"_qs});
  EXPECT_EQ(gKonfigdatenZeit, Dateizeit(pfad));

  Konfigdaten_schreiben();
  EXPECT_EQ(lesen(pfad), original);
  EXPECT_EQ(dekodierteZeilen(pfad), standardZeilen());
}

TEST_F(KonfigdatenTest, ZweimalLesenGibtDenselbenStand) {
  QStringList z = standardZeilen();
  z << QStringLiteral("P:Muster Max:max");
  z[kVerbergenZeile] = QStringLiteral("0010000");
  ablegen(z);
  Konfigdaten_lesen();
  const Stand erster = stand();
  Konfigdaten_lesen();
  EXPECT_TRUE(stand() == erster);
  EXPECT_EQ(Schaltflächen_Anzahl(), 7);
  EXPECT_EQ(gSFTexte.size(), 8);
  EXPECT_EQ(gSFVerbergen.size(), 8);
  EXPECT_EQ(gSFVerbergen[3], 1);
  EXPECT_EQ(gAdministratoren.size(), 1);
  EXPECT_EQ(gPrivilegierte.size(), 1);
}

TEST_F(KonfigdatenTest, AeltereSettingsWerdenBeimLesenUmgestellt) {
  const QString z13 = QStringLiteral("0000000000000");
  const struct {
    QString alt, neu;
  } fälle[] = {
      // 24 characters, each country variant.
      {v({z13, u"0", u"0", u"000000000"}),
       v({z13, u"0", u"0", u"001", u"0", u"U½##K", u"00000", u"01", u"0", u"0####", u"0000000000000"})},
      {v({z13, u"0", u"1", u"000000000"}),
       v({z13, u"0", u"1", u"001", u"0", u"V½##S", u"00000", u"01", u"0", u"0####", u"0000000000000"})},
      {v({z13, u"0", u"2", u"000000000"}),
       v({z13, u"0", u"2", u"001", u"0", u"C½##M", u"00000", u"16", u"0", u"1R½##", u"0000000000000"})},
      {v({z13, u"0", u"3", u"000000000"}),
       v({z13, u"0", u"3", u"001", u"0", u"V½##E", u"00000", u"01", u"0", u"0####", u"0000000000000"})},
      // Position 1 = 2 keeps position 18; position 28 takes position 10.
      {u"200000000100000000000000"_qs,
       v({u"200000000100000000", u"0", u"U½##K", u"000", u"1", u"0", u"01", u"0", u"0####", u"0000000000000"})},
      // 40 characters with position 31 "0": 30 and 31 from the country, 41-50 "0".
      {mitStelle(mitStelle(kStandard.left(40), 15, u"2"_qs), 30, u"00"_qs),
       mitStelle(mitStelle(kStandard, 15, u"2"_qs), 30, u"16"_qs).left(40) + u"0000000000"_qs},
      {mitStelle(kStandard.left(40), 30, u"10"_qs), kStandard.left(40) + u"0000000000"_qs},
      // 40 characters with position 31 set: only padded.
      {mitStelle(kStandard.left(40), 30, u"13"_qs), mitStelle(kStandard.left(40), 30, u"13"_qs) + u"0000000000"_qs},
      // Positions 33-37 all "0" in a full string.
      {mitStelle(kStandard, 33, u"00000"_qs), kStandard},
      {kStandard, kStandard},
  };
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.alt.toStdString());
    ASSERT_EQ(f.neu.size(), 50);
    QStringList z = standardZeilen();
    z[kSettingsZeile] = f.alt;
    ablegen(z);
    gKennzeile.clear();
    Konfigdaten_lesen();
    EXPECT_EQ(gSettings, f.neu);
  }
}

TEST_F(KonfigdatenTest, BenutzerstufeFolgtDenListen) {
  const struct {
    QStringList admins;
    QString stelle16;
    int stufe;
  } fälle[] = {
      {{u"NoAdmins"_qs}, u"2"_qs, 2},
      {{u"A:*:*"_qs}, u"1"_qs, 2},
      {{u"A:Chef Hans:chef"_qs}, u"1"_qs, 2},
      {{u"A:Chef Hans:chef"_qs}, u"2"_qs, 0},
      {{u"A:Chef Hans:chef"_qs, u"P:Muster Max:TESTER"_qs}, u"2"_qs, 1},
      {{u"P:Muster Max:tester"_qs, u"A:Muster Max:Tester"_qs}, u"2"_qs, 2},
      {{u"A:Muster Max:tester"_qs, u"P:Muster Max:tester"_qs}, u"2"_qs, 2},
      {{u"A:Chef Hans:chef"_qs, u"P:*:*"_qs}, u"2"_qs, 1},
      {{u"A:Chef Hans:chef"_qs, u"P:Muster Max:max"_qs, u"P:*:*"_qs}, u"2"_qs, 0},
      {{u"A:Chef Hans:chef"_qs, u"P:Muster Max:xtester"_qs}, u"2"_qs, 0},
      {{u"P:Muster Max:tester"_qs}, u"2"_qs, 2},  // no administrator at all
  };
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.admins.join(u" | ").toStdString() + " 16=" + f.stelle16.toStdString());
    ablegen(mitAdmins(f.admins, f.stelle16));
    Konfigdaten_lesen();
    EXPECT_EQ(gBenutzerstufe, f.stufe);
  }
}

TEST_F(KonfigdatenTest, ListenWerdenGetrenntUndNoAdminsZurueckgeschrieben) {
  ablegen(mitAdmins({u"NoAdmins"_qs}));
  Konfigdaten_lesen();
  EXPECT_EQ(gAdministratoren, QStringList{u"NoAdmins"_qs});
  EXPECT_EQ(gPrivilegierte, QStringList{u"NoAdmins"_qs});
  Konfigdaten_schreiben();
  EXPECT_EQ(dekodierteZeilen(pfad).mid(kAdminKopf), (QStringList{u"[Administratoren]"_qs, u"NoAdmins"_qs}));

  ablegen(mitAdmins({u"P:Muster Max:max"_qs, u"A:Chef Hans:chef"_qs, u"P:Frau Eva:eva"_qs}));
  Konfigdaten_lesen();
  EXPECT_EQ(gAdministratoren, QStringList{u"A:Chef Hans:chef"_qs});
  EXPECT_EQ(gPrivilegierte, (QStringList{u"P:Muster Max:max"_qs, u"P:Frau Eva:eva"_qs}));
  Konfigdaten_schreiben();
  EXPECT_EQ(dekodierteZeilen(pfad).mid(kAdminKopf + 1),
            (QStringList{u"A:Chef Hans:chef"_qs, u"P:Muster Max:max"_qs, u"P:Frau Eva:eva"_qs}));
}

TEST_F(KonfigdatenTest, AdministratorSchalterUeberstehtNeuesLesen) {
  ablegen(mitAdmins({u"A:Chef Hans:chef"_qs}));
  Konfigdaten_lesen();
  EXPECT_EQ(gBenutzerstufe, 0);
  gAdministratorSchalter = true;
  Konfigdaten_lesen();
  EXPECT_EQ(gBenutzerstufe, 2);
}

TEST_F(KonfigdatenTest, SFHexUndSFDecAnDenGrenzen) {
  ablegen(standardZeilen());
  Konfigdaten_lesen();
  ASSERT_EQ(Schaltflächen_Anzahl(), 7);
  const struct {
    int nummer;
    QString zeichen;
  } hex[] = {{0, u" "_qs}, {1, u"1"_qs}, {6, u"6"_qs}, {7, u" "_qs}, {8, u"8"_qs}, {9, u" "_qs}, {-1, u" "_qs}};
  for (const auto& f : hex) EXPECT_EQ(SFHex(f.nummer), f.zeichen) << f.nummer;
  EXPECT_EQ(SFDec(u"1"_qs), 1);
  EXPECT_EQ(SFDec(u"8"_qs), 8);
  EXPECT_EQ(SFDec(u"Q"_qs), 26);
  EXPECT_EQ(SFDec(u" "_qs), 7);
  EXPECT_EQ(SFDec(u"R"_qs), 7);
  EXPECT_EQ(SFDec(QString()), 7);
  for (int k = 1; k <= 8; ++k) {
    if (k != 7) {
      EXPECT_EQ(SFDec(SFHex(k)), k);
    }
  }

  // The largest table: 25 buttons, the non-working-day mark takes the last code.
  QStringList z = standardZeilen().mid(0, kErsterKnopf);
  for (int i = 1; i < 25; ++i) z << QStringLiteral("&H000000:&H80FF80:0:%1:Knopf").arg(QChar(u'a' + i));
  z << QStringLiteral("&HFFFFFF:&HFFFFFF:0: :Löschen") << u"[Administratoren]"_qs << u"NoAdmins"_qs;
  z[kVerbergenZeile] = QString(25, u'0');
  ablegen(z);
  Konfigdaten_lesen();
  ASSERT_EQ(Schaltflächen_Anzahl(), 25);
  EXPECT_EQ(SFHex(24), u"O");
  EXPECT_EQ(SFHex(25), u" ");
  EXPECT_EQ(SFHex(26), u"Q");
  EXPECT_EQ(SFHex(27), u" ");
  EXPECT_EQ(SFDec(u"Q"_qs), 26);
}

TEST_F(KonfigdatenTest, ZweiKnoepfeMitEinemBuchstaben) {
  QStringList z = standardZeilen();
  z.insert(kErsterKnopf + 6, QStringLiteral("&H000000:&HC0C0C0:1:K:Kur"));  // button 7, the erase button 8
  z[kSettingsZeile] = mitStelle(kStandard, 5, u"1"_qs);
  z[kVerbergenZeile] = QStringLiteral("00000000");
  ablegen(z);
  Konfigdaten_lesen();
  ASSERT_EQ(Schaltflächen_Anzahl(), 8);
  EXPECT_EQ(Schaltflächen_Nummer(u"K"_qs, QString()), 7);
  EXPECT_EQ(gSFVerborgen, 7);
  EXPECT_EQ(gSFVerbergen[7], 1);
  EXPECT_EQ(gSFVerbergen[5], 0);
  EXPECT_EQ(Schaltflächen_Nummer(u"k"_qs, QString()), 0);  // letters are case-sensitive
  EXPECT_EQ(Schaltflächen_Nummer(u"#"_qs, QString()), 0);

  // The administrator-only button wins also when it comes first.
  gSFNurAdmins[5] = 1;
  gSFNurAdmins[7] = 0;
  EXPECT_EQ(Schaltflächen_Nummer(u"K"_qs, QString()), 5);
  gSFNurAdmins[5] = 0;
  EXPECT_EQ(Schaltflächen_Nummer(u"K"_qs, QString()), 5);  // the first plain one
}

TEST_F(KonfigdatenTest, FrankreichUnterscheidetHalbeTageAmText) {
  QStringList z = standardZeilen();
  z.insert(kErsterKnopf + 6, QStringLiteral("&H000000:&HC0C0C0:0:½:½ RTT"));
  z[kSettingsZeile] = mitStelle(mitStelle(kStandard, 15, u"2"_qs), 33, u"1R½##"_qs);
  ablegen(z);
  Konfigdaten_lesen();
  EXPECT_EQ(Schaltflächen_Nummer(u"½"_qs, QString()), 2);
  EXPECT_EQ(Schaltflächen_Nummer(u"½"_qs, u"RTT"_qs), 7);
  EXPECT_EQ(gSFUrlaubHalb, 2);
  EXPECT_EQ(gSFSonderurlaubHalb, 7);
  EXPECT_EQ(gSFSonderurlaub, 0);  // no "R" button

  // The RTT half day first: the caption still tells them apart; without special
  // leave (position 33 = 0) the first match is taken for vacation.
  gSFTexte[2] = u"½ RTT"_qs;
  gSFTexte[7] = u"½ Urlaub"_qs;
  EXPECT_EQ(Schaltflächen_Nummer(u"½"_qs, QString()), 7);
  EXPECT_EQ(Schaltflächen_Nummer(u"½"_qs, u"RTT"_qs), 2);
  SetSetting(33, 0);
  EXPECT_EQ(Schaltflächen_Nummer(u"½"_qs, QString()), 2);
}

TEST_F(KonfigdatenTest, AbgeleiteteWerteAusDenSettings) {
  QStringList z = standardZeilen();
  QString s = mitStelle(kStandard, 31, u"C"_qs);
  s = mitStelle(s, 38, u"3"_qs);
  s = mitStelle(s, 48, u"A"_qs);
  z[kSettingsZeile] = s;
  ablegen(z);
  Konfigdaten_lesen();
  EXPECT_EQ(gUrlaubsjahrBeginn, 12);
  EXPECT_EQ(gResturlaubVerfall, 3);
  EXPECT_EQ(gSFBreite, 1800 + 30 * 9);

  z[kSettingsZeile] = kStandard;
  ablegen(z);
  Konfigdaten_lesen();
  EXPECT_EQ(gSFBreite, 0);
}

TEST_F(KonfigdatenTest, MonateSeitEinrichtung) {
  // Today is 10 March 2026.
  const struct {
    QString zeile;
    int monate;
  } fälle[] = {{Einrichtungszeile(QDate(2026, 3, 1)), 0},
               {u"Einrichtung:2510"_qs, 5},
               {u"Einrichtung:2412"_qs, 15},
               {u"Einrichtung:2301"_qs, 20},
               {u"Einrichtung:2704"_qs, 0},
               {u"Einrichtung:26xx"_qs, 20},
               {u"x7Hq2"_qs, 20}};
  for (const auto& f : fälle) {
    QStringList z = standardZeilen();
    z[kEinrichtungsZeile] = f.zeile;
    ablegen(z);
    Konfigdaten_lesen();
    EXPECT_EQ(gMonateSeitEinrichtung, f.monate) << f.zeile.toStdString();
    EXPECT_EQ(gEinrichtungszeile, f.zeile);
  }
  EXPECT_EQ(Einrichtungszeile(QDate(2026, 3, 5)), u"Einrichtung:2603");
}

TEST_F(KonfigdatenTest, KennzeileWirdNurGenommenSolangeSieLeerIst) {
  ablegen(standardZeilen());
  Konfigdaten_lesen();
  QStringList z = standardZeilen();
  z[1] = u"Velkora:FFFFFFFFFFFF"_qs;
  ablegen(z);
  Konfigdaten_lesen();
  EXPECT_EQ(gKennzeile, u"Velkora:0123456789AB");
  Konfigdaten_schreiben();
  EXPECT_EQ(dekodierteZeilen(pfad)[1], u"Velkora:0123456789AB");

  const QString neu = Kennzeile_neu();
  EXPECT_TRUE(neu.startsWith(u"Velkora:")) << neu.toStdString();
  EXPECT_EQ(neu.size(), 20);
}

TEST_F(KonfigdatenTest, SetSettingLaesstNurEineZifferZu) {
  SetSetting(12, 1);
  EXPECT_EQ(Setting(12), 1);
  const QString vorher = gSettings;
  for (const auto& [pos, wert] : {std::pair{12, 10}, {12, -1}, {0, 1}, {51, 1}}) {
    EXPECT_THROW(SetSetting(pos, wert), Laufzeitfehler) << pos << "=" << wert;
  }
  EXPECT_EQ(gSettings, vorher);
  EXPECT_EQ(Setting(20), 0);  // a letter reads as 0
  EXPECT_EQ(Setting(0), 0);
  EXPECT_EQ(Setting(51), 0);
  EXPECT_EQ(SettingStr(20, 5), u"U½##K");
}

TEST_F(KonfigdatenTest, SchalterSettingAendertEineStelleUndEndet) {
  ablegen(standardZeilen());
  Konfigdaten_lesen();
  Kommandozeile_setzen({u"/setting:12=1"_qs});
  ERWARTE_PROGRAMMENDE(Modify_Setting());
  QStringList erwartet = standardZeilen();
  erwartet[kSettingsZeile] = mitStelle(kStandard, 12, u"1"_qs);
  EXPECT_EQ(dekodierteZeilen(pfad), erwartet);
  EXPECT_TRUE(skript->texte().empty());

  Kommandozeile_setzen({u"/setting 50=7"_qs});
  ERWARTE_PROGRAMMENDE(Modify_Setting());
  EXPECT_EQ(dekodierteZeilen(pfad)[kSettingsZeile].right(1), u"7");
}

TEST_F(KonfigdatenTest, UngueltigerSchalterSettingLaesstDieDateiUnberuehrt) {
  ablegen(standardZeilen());
  const QByteArray original = lesen(pfad);
  for (const QString& wert : {u"0=1"_qs, u"51=1"_qs, u"12=12"_qs, u"121"_qs, u"12="_qs, u"=1"_qs, u"12=a"_qs,
                              u"1a=1"_qs, u"-1=1"_qs, u"12=-1"_qs, QString()}) {
    SCOPED_TRACE(wert.toStdString());
    gKennzeile.clear();
    Konfigdaten_lesen();
    Kommandozeile_setzen({u"/setting:"_qs + wert});
    ERWARTE_PROGRAMMENDE(Modify_Setting());
    EXPECT_EQ(lesen(pfad), original);
    EXPECT_EQ(gSettings, kStandard);
  }
  EXPECT_TRUE(skript->texte().empty());
}

TEST_F(KonfigdatenTest, AenderungEinesAnderenArbeitsplatzesWirdUebernommen) {
  ablegen(standardZeilen());
  dateizeitSetzen(QDateTime(uhr.datum, QTime(8, 0)));
  // A reload also re-reads the holidays.
  QStringList feiertage{QStringLiteral("[Feiertage]"), QStringLiteral("Velkora:TEST"), QStringLiteral("Deutschland")};
  for (int i = 0; i < 16; ++i) feiertage << QStringLiteral("0:000000:");
  schreiben(gDatenordner + QStringLiteral("Feiertage.dat"), kodiert(feiertage));
  Konfigdaten_lesen();
  gMerker = false;
  CheckKonfigdaten();
  EXPECT_FALSE(gMerker);  // unchanged file: nothing to do

  // Ten days later, on a workstation that has been running all along, another one
  // renames a button.
  uhr.datum = uhr.datum.addDays(10);
  gHeute = uhr.datum;
  QStringList z = standardZeilen();
  z[1] = u"Velkora:NEU"_qs;
  z[kErsterKnopf + 2] = QStringLiteral("&H000000:&H80C0FF:0:G:Gleitzeit");
  ablegen(z);
  dateizeitSetzen(QDateTime(uhr.datum, QTime(8, 0)));

  CheckKonfigdaten();
  EXPECT_TRUE(gMerker);
  EXPECT_EQ(gSFTexte[3], u"Gleitzeit");
  EXPECT_EQ(gKennzeile, u"Velkora:NEU");
  EXPECT_EQ(gKonfigdatenZeit, Dateizeit(pfad));
}

TEST_F(KonfigdatenTest, OhneNachladenBeiStelle39) {
  QStringList z = standardZeilen();
  z[kSettingsZeile] = mitStelle(kStandard, 39, u"1"_qs);
  ablegen(z);
  Konfigdaten_lesen();
  z[kErsterKnopf] = QStringLiteral("&H000000:&H80FF80:0:U:Ferien");
  ablegen(z);
  dateizeitSetzen(gKonfigdatenZeit.addSecs(60));
  gMerker = false;
  CheckKonfigdaten();
  EXPECT_FALSE(gMerker);
  EXPECT_EQ(gSFTexte[1], u"Urlaub");
}

TEST_F(KonfigdatenTest, VersionspruefungSchreibtOderMeldet) {
  const QString neuer =
      u"Es ist eine neue Programmversion verfügbar. Bitte installieren Sie die neueste Programmversion."_qs;
  const struct {
    QString version;
    bool neuGeschrieben;
    bool meldung;
  } fälle[] = {{u"1.15.3"_qs, true, false},  {u"1.9.0"_qs, true, false},  {u"1.16.1"_qs, false, false},
               {u"1.16.10"_qs, false, true}, {u"1.17.0"_qs, false, true}, {u"2.0.0"_qs, false, true}};
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.version.toStdString());
    skript = &dialoge::skript();
    QStringList z = standardZeilen();
    z[2] = f.version;
    ablegen(z);
    const QByteArray vorher = lesen(pfad);
    Konfigdaten_lesen();
    Versionsnr_checken();
    if (f.neuGeschrieben) {
      EXPECT_EQ(dekodierteZeilen(pfad)[2], u"1.16.1");
    } else {
      EXPECT_EQ(lesen(pfad), vorher);
    }
    const auto texte = skript->texte();
    EXPECT_EQ(texte.size(), f.meldung ? 1u : 0u);
    if (f.meldung && !texte.empty()) {
      EXPECT_EQ(texte[0], neuer);
    }
  }
}

TEST_F(KonfigdatenTest, FalscherKopfMeldetDenAbschnitt) {
  const struct {
    int zeile;
    QString name;
  } fälle[] = {{0, u"Velkora"_qs},      {3, u"Firma"_qs},           {6, u"Settings"_qs},        {10, u"Wochenende"_qs},
               {12, u"Grundfarben"_qs}, {22, u"Schaltflaechen"_qs}, {30, u"Administratoren"_qs}};
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.name.toStdString());
    skript = &dialoge::skript();
    QStringList z = standardZeilen();
    z[f.zeile] = u"[Anders]"_qs;
    ablegen(z);
    ERWARTE_PROGRAMMENDE(Konfigdaten_lesen());
    ASSERT_FALSE(skript->texte().empty());
    EXPECT_TRUE(skript->texte()[0].contains(u"Der Dateiheader ["_qs + f.name + u"] der Datei"_qs))
        << skript->texte()[0].toStdString();
  }
}

TEST_F(KonfigdatenTest, FehlendeDateiWirdGemeldet) {
  ERWARTE_PROGRAMMENDE(Konfigdaten_lesen());
  ASSERT_FALSE(skript->texte().empty());
  EXPECT_TRUE(skript->texte()[0].contains(u"Konfigdaten.dat' wurde nicht gefunden."));
}

TEST_F(KonfigdatenTest, BeschaedigteDateiLaesstDenStandUnveraendert) {
  ablegen(standardZeilen());
  Konfigdaten_lesen();
  const Stand vorher = stand();

  QStringList zuVieleFarben = standardZeilen();
  zuVieleFarben.insert(kErsteFarbe, u"&H000000"_qs);
  QStringList keineFarbe = standardZeilen();
  keineFarbe[kErsteFarbe + 1] = u"grau"_qs;
  QStringList keineZiffer = standardZeilen();
  keineZiffer[kErsterKnopf] = u"&H000000:&H80FF80:x:U:Urlaub"_qs;
  QStringList kurzeVerbergenZeile = standardZeilen();
  kurzeVerbergenZeile[kVerbergenZeile] = u"000000"_qs;  // 6 digits for 7 buttons
  QStringList zuVieleKnöpfe = standardZeilen();
  for (int i = 0; i < 19; ++i) zuVieleKnöpfe.insert(kErsterKnopf, u"&H000000:&H80FF80:0:X:Mehr"_qs);  // 26
  QStringList abgeschnitten = standardZeilen().mid(0, kErsterKnopf + 3);

  for (const QStringList& z :
       {zuVieleFarben, keineFarbe, keineZiffer, kurzeVerbergenZeile, zuVieleKnöpfe, abgeschnitten}) {
    ablegen(z);
    ERWARTE_PROGRAMMENDE(Konfigdaten_lesen());
    EXPECT_TRUE(stand() == vorher);
  }
}

TEST_F(KonfigdatenTest, SchreibenVerweigertMehrAls25Knoepfe) {
  ablegen(standardZeilen());
  Konfigdaten_lesen();
  const QByteArray vorher = lesen(pfad);
  while (Schaltflächen_Anzahl() < 26) {
    gSFTextfarben.insert(1, 0);
    gSFHintergrundfarben.insert(1, 0);
    gSFNurAdmins.insert(1, 0);
    gSFKennbuchstaben.insert(1, u"X"_qs);
    gSFTexte.insert(1, u"Mehr"_qs);
    gSFVerbergen.insert(1, 0);
  }
  ERWARTE_PROGRAMMENDE(Konfigdaten_schreiben());
  EXPECT_EQ(lesen(pfad), vorher);
}

}  // namespace
