#include "store/Mitarbeiterdaten.h"

#include <QDir>
#include <QFile>
#include <memory>

#include "common/Testumgebung.h"
#include "platform/Programmende.h"
#include "startup/Dateizugriff.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"

namespace {

const QString kKopf = QStringLiteral("[Mitarbeiterdaten]");
const QString kKennzeile = QStringLiteral("Kennung 4711-ABC");

// Short layout: no entitlement with decimals, no special leave.
const QStringList kKurz{kKopf,
                        kKennzeile,
                        QStringLiteral("2025"),
                        QStringLiteral("Verwaltung"),
                        QStringLiteral("000000:999999:010,0:000:030:030:030:Müller Hans:HMueller"),
                        QStringLiteral("240301:251231:002,5:025:030:028:030:Schmidt Eva:eschmidt"),
                        QStringLiteral("Technik"),
                        QStringLiteral("230115:999999:000,0:030:030:030:030:Tester Tom:Tester")};

// Long layout: one entitlement has a decimal part, so every employee line is long.
const QStringList kLang{
    kKopf,
    kKennzeile,
    QStringLiteral("2025"),
    QStringLiteral("Verwaltung"),
    QStringLiteral("000000:999999:010,0:000,0:030,0:030,0:030,0:000,0:000,0:000,0:000,0:Müller Hans:HMueller"),
    QStringLiteral("240301:251231:002,5:027,5:030,0:028,0:030,0:003,0:000,0:000,0:000,0:Schmidt Eva:eschmidt"),
    QStringLiteral("Technik")};

class MitarbeiterdatenTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gDezimaltrennzeichen = QStringLiteral(",");
    // The line encoding draws key 'K' (75), so written files can be compared byte for byte.
    uhr::Quellen q;
    q.zufall = [] { return 43.5 / 223.0; };
    uhr::setze(q);
  }

  QString pfad() const { return gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"); }
  void datei(const QStringList& zeilen) { schreiben(pfad(), kodiert(zeilen)); }
  static void zeitSetzen(const QString& p, const QDateTime& t) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(t, QFileDevice::FileModificationTime));
  }
  QStringList meldungen() const {
    QStringList r;
    for (const QString& t : skript->texte()) r << t;
    return r;
  }
};

TEST_F(MitarbeiterdatenTest, ShortLineReadsIntoTheSixArrays) {
  datei(kKurz);
  Mitarbeiterdaten_lesen();
  ASSERT_EQ(Mitarbeiterzeilen(), 5);
  for (const QStringList* a :
       {&gBenutzerIDs, &gEintrittsdaten, &gAustrittsdaten, &gUrlaubsdaten, &gSonderurlaubsanspruch})
    EXPECT_EQ(a->size(), gMitarbeiterNamen.size());
  EXPECT_EQ(gPlanungsjahr, 2025);
  EXPECT_EQ(gMitarbeiterNamen[2], u"Müller Hans");
  EXPECT_EQ(gBenutzerIDs[2], u"HMueller");
  EXPECT_EQ(gEintrittsdaten[2], u"000000");
  EXPECT_EQ(gAustrittsdaten[2], u"999999");
  EXPECT_EQ(gUrlaubsdaten[2], u"010,0:000,0:030,0:030,0:030,0");
  EXPECT_EQ(gSonderurlaubsanspruch[2], u"000,0");
  EXPECT_EQ(gUrlaubsdaten[3], u"002,5:025,0:030,0:028,0:030,0");
}

TEST_F(MitarbeiterdatenTest, HeadingsAreLinesWithoutColon) {
  datei(kKurz);
  Mitarbeiterdaten_lesen();
  for (int z : {1, 4}) {
    EXPECT_EQ(gMitarbeiterNamen[z], z == 1 ? u"Verwaltung" : u"Technik");
    EXPECT_TRUE(gBenutzerIDs[z].isEmpty());
    EXPECT_TRUE(gEintrittsdaten[z].isEmpty());
    EXPECT_TRUE(gAustrittsdaten[z].isEmpty());
    EXPECT_TRUE(gUrlaubsdaten[z].isEmpty());
    EXPECT_TRUE(gSonderurlaubsanspruch[z].isEmpty());
  }
}

TEST_F(MitarbeiterdatenTest, LongLineReadsDecimalsAndSpecialLeave) {
  datei(kLang);
  Mitarbeiterdaten_lesen();
  EXPECT_EQ(gUrlaubsdaten[3], u"002,5:027,5:030,0:028,0:030,0");
  EXPECT_EQ(gSonderurlaubsanspruch[3], u"003,0");
  EXPECT_EQ(gMitarbeiterNamen[3], u"Schmidt Eva");
  EXPECT_EQ(gBenutzerIDs[3], u"eschmidt");
}

// Both layouts come back byte for byte, with the held line 2 and the planning year.
TEST_F(MitarbeiterdatenTest, BothLayoutsAreWrittenBackByteExact) {
  for (const QStringList* inhalt : {&kKurz, &kLang}) {
    datei(*inhalt);
    Mitarbeiterdaten_lesen();
    QFile::remove(pfad());
    EXPECT_TRUE(Mitarbeiterdaten_schreiben());
    EXPECT_EQ(lesen(pfad()), kodiert(*inhalt)) << qPrintable(inhalt->join(u'\n'));
  }
}

TEST_F(MitarbeiterdatenTest, PointSeparatorLocaleReadsWithPointAndStoresComma) {
  gDezimaltrennzeichen = QStringLiteral(".");
  datei(kLang);
  Mitarbeiterdaten_lesen();
  EXPECT_EQ(gUrlaubsdaten[3], u"002.5:027.5:030.0:028.0:030.0");
  EXPECT_EQ(gSonderurlaubsanspruch[3], u"003.0");
  EXPECT_TRUE(Mitarbeiterdaten_schreiben());
  EXPECT_EQ(lesen(pfad()), kodiert(kLang));

  datei(kKurz);
  Mitarbeiterdaten_lesen();
  EXPECT_EQ(gSonderurlaubsanspruch[2], u"000.0");
  EXPECT_TRUE(Mitarbeiterdaten_schreiben());
  EXPECT_EQ(lesen(pfad()), kodiert(kKurz));
}

TEST_F(MitarbeiterdatenTest, OneDecimalEntitlementOrSpecialLeaveMakesEveryLineLong) {
  struct Fall {
    QStringList* feld;
    QString wert;
  };
  const Fall fälle[] = {{&gUrlaubsdaten, QStringLiteral("002,5:025,0:027,5:028,0:030,0")},
                        {&gUrlaubsdaten, QStringLiteral("002,5:025,0:030,0:028,0:030,5")},
                        {&gSonderurlaubsanspruch, QStringLiteral("001,0")}};
  for (const Fall& f : fälle) {
    datei(kKurz);
    Mitarbeiterdaten_lesen();
    (*f.feld)[3] = f.wert;
    const QStringList vorher[] = {gMitarbeiterNamen, gBenutzerIDs,  gEintrittsdaten,
                                  gAustrittsdaten,   gUrlaubsdaten, gSonderurlaubsanspruch};
    ASSERT_TRUE(Mitarbeiterdaten_schreiben());
    const QStringList zeilen = dekodierteZeilen(pfad());
    ASSERT_EQ(zeilen.size(), kKurz.size());
    for (int i : {4, 5, 7}) {
      EXPECT_EQ(zeilen[i].mid(23, 1), u",") << qPrintable(zeilen[i]);
      EXPECT_EQ(zeilen[i].mid(49, 19), u":000,0:000,0:000,0:") << qPrintable(zeilen[i]);
    }
    EXPECT_EQ(zeilen[3], u"Verwaltung");
    Mitarbeiterdaten_lesen();
    const QStringList nachher[] = {gMitarbeiterNamen, gBenutzerIDs,  gEintrittsdaten,
                                   gAustrittsdaten,   gUrlaubsdaten, gSonderurlaubsanspruch};
    for (int a = 0; a < 6; ++a) EXPECT_EQ(nachher[a], vorher[a]) << "array " << a;
  }
}

TEST_F(MitarbeiterdatenTest, RemainingVacationDecimalKeepsShortLayout) {
  datei(kKurz);
  Mitarbeiterdaten_lesen();
  gUrlaubsdaten[2] = QStringLiteral("012,5:000,0:030,0:030,0:030,0");
  ASSERT_TRUE(Mitarbeiterdaten_schreiben());
  EXPECT_EQ(dekodierteZeilen(pfad())[4], u"000000:999999:012,5:000:030:030:030:Müller Hans:HMueller");
}

TEST_F(MitarbeiterdatenTest, EmployeeWithoutUserNameIsWrittenAndReadAsHeading) {
  datei(kKurz);
  Mitarbeiterdaten_lesen();
  gBenutzerIDs[3].clear();
  gMitarbeiterNamen[3] = QStringLiteral("Vertrieb");
  ASSERT_TRUE(Mitarbeiterdaten_schreiben());
  EXPECT_EQ(dekodierteZeilen(pfad())[5], u"Vertrieb");
  Mitarbeiterdaten_lesen();
  EXPECT_EQ(gMitarbeiterNamen[3], u"Vertrieb");
  EXPECT_TRUE(gUrlaubsdaten[3].isEmpty());
  EXPECT_TRUE(gEintrittsdaten[3].isEmpty());
}

TEST_F(MitarbeiterdatenTest, PlanningYearIsWrittenAsNumber) {
  datei(kKurz);
  Mitarbeiterdaten_lesen();
  gPlanungsjahr = 2026;
  ASSERT_TRUE(Mitarbeiterdaten_schreiben());
  EXPECT_EQ(dekodierteZeilen(pfad())[2], u"2026");
  gPlanungsjahr = 0;
  Mitarbeiterdaten_lesen();
  EXPECT_EQ(gPlanungsjahr, 2026);
}

TEST_F(MitarbeiterdatenTest, NoNamesIsTheEmptyList) {
  const QStringList nurKopf{kKopf, kKennzeile, QStringLiteral("2025")};
  for (const QStringList& inhalt : {nurKopf, nurKopf + QStringList{QStringLiteral("NoNames")}}) {
    datei(kKurz);
    Mitarbeiterdaten_lesen();
    skript->protokoll.clear();
    datei(inhalt);
    Mitarbeiterdaten_lesen();
    EXPECT_EQ(gMitarbeiterNamen, (QStringList{QString(), QStringLiteral("NoNames")}));
    EXPECT_EQ(gBenutzerIDs.size(), 2);
    EXPECT_EQ(gUrlaubsdaten.size(), 2);
    EXPECT_FALSE(Mitarbeiter_erfasst());
    EXPECT_EQ(meldungen(), QStringList{QStringLiteral("Es wurden noch keine Mitarbeiterdaten erfasst. Bitte rufen Sie "
                                                      "den Menüpunkt 'Bearbeiten - Mitarbeiter' auf.")});
  }
  // The empty list is stored as in the default data of a new folder.
  ASSERT_TRUE(Mitarbeiterdaten_schreiben());
  EXPECT_EQ(lesen(pfad()), kodiert(nurKopf + QStringList{QStringLiteral("NoNames")}));

  skript->protokoll.clear();
  datei(kKurz);
  Mitarbeiterdaten_lesen();
  EXPECT_TRUE(Mitarbeiter_erfasst());
  EXPECT_TRUE(meldungen().isEmpty());
}

TEST_F(MitarbeiterdatenTest, WrongHeaderOrMissingFileEndsWithClearMessage) {
  datei({QStringLiteral("[Velkora]"), kKennzeile, QStringLiteral("2025")});
  ERWARTE_PROGRAMMENDE(Mitarbeiterdaten_lesen());
  ASSERT_FALSE(meldungen().isEmpty());
  // The start repair asks with the problem named.
  EXPECT_TRUE(meldungen().first().contains(QStringLiteral("Der Dateiheader [Mitarbeiterdaten] der Datei ")));
  EXPECT_TRUE(gOffeneDatei.isEmpty());

  QFile::remove(pfad());
  skript = &dialoge::skript();
  ERWARTE_PROGRAMMENDE(Mitarbeiterdaten_lesen());
  EXPECT_TRUE(meldungen().first().contains(QStringLiteral("Mitarbeiterdaten.dat' wurde nicht gefunden.")));
}

// A line that does not split into its fields is damage: read as an employee without a
// user name, the next rewrite of a month would drop that employee's entries.
TEST_F(MitarbeiterdatenTest, DamagedEmployeeLinesGoToTheStartRepair) {
  for (const QString& zeile :
       {QStringLiteral("000000:999"), QStringLiteral("000000:999999:010,0:000:030:030:030:Nur Name")}) {
    datei(kKurz);
    Mitarbeiterdaten_lesen();
    skript->protokoll.clear();
    datei({kKopf, kKennzeile, QStringLiteral("2025"), zeile});
    ERWARTE_PROGRAMMENDE(Mitarbeiterdaten_lesen());
    ASSERT_FALSE(meldungen().isEmpty());
    EXPECT_TRUE(meldungen().first().contains(QStringLiteral("Mitarbeiterdaten.dat' ist beschädigt (Zeile 4).")))
        << qPrintable(meldungen().first());
    EXPECT_EQ(Mitarbeiterzeilen(), 5) << "the table read before stays";
    gStörungsmeldung.clear();
    QFile::remove(gDatenordner + QStringLiteral("Lockfile.txt"));
  }
}

TEST_F(MitarbeiterdatenTest, CurrentUserIsFoundInAnyLetterCase) {
  datei(kKurz);
  for (const char* name : {"tester", "TESTER", "TeStEr"}) {
    gBenutzername = QString::fromLatin1(name);
    Mitarbeiterdaten_lesen();
    EXPECT_TRUE(gIstMitarbeiter) << name;
  }
  gBenutzername = QStringLiteral("fremd");
  Mitarbeiterdaten_lesen();
  EXPECT_FALSE(gIstMitarbeiter);
}

TEST_F(MitarbeiterdatenTest, UnlistedUserGetsStartErrorWhenOnlyListedUsersMayStart) {
  gAdministratoren = QStringList{QStringLiteral("A:Chef Carl:cchef"), QStringLiteral("A:Boss Berta:bboss")};
  gPrivilegierte = QStringList{QStringLiteral("P:Vize Viktor:vvize")};
  datei(kKurz);
  struct Fall {
    int setting1;
    const char* benutzer;
    int stufe;
    bool fehler;
  };
  const Fall fälle[] = {{1, "fremd", 0, true},   {2, "fremd", 0, true},  {0, "fremd", 0, false},
                        {1, "TESTER", 0, false}, {1, "fremd", 1, false}, {1, "fremd", 2, false}};
  for (const Fall& f : fälle) {
    gStartfehler.clear();
    SetSetting(1, f.setting1);
    gBenutzername = QString::fromLatin1(f.benutzer);
    gBenutzerstufe = f.stufe;
    Mitarbeiterdaten_lesen();
    if (f.fehler)
      EXPECT_EQ(gStartfehler, QStringLiteral("Sie sind mit Ihrem Windows-Benutzernamen 'fremd' nicht als Mitarbeiter "
                                             "im Velkora eingetragen.\r\rBitte wenden Sie sich zur Aufnahme in den "
                                             "Velkora an einen Administrator: Chef Carl (cchef), Boss Berta (bboss)"));
    else
      EXPECT_TRUE(gStartfehler.isEmpty()) << f.setting1 << f.benutzer << f.stufe;
  }
}

TEST_F(MitarbeiterdatenTest, Urlaub1LeerWhenVacationLapsesAndNoUrlaub1IsSet) {
  struct Fall {
    char beginn;
    char verfall;
    bool urlaub1Gesetzt;
    bool erwartet;
  };
  const Fall fälle[] = {{'1', '4', false, true},  {'1', '4', true, false},  {'1', '0', false, false},
                        {'1', '1', false, false}, {'4', '4', false, false}, {'4', '5', false, true},
                        {'1', 'C', false, true},  {'C', 'B', false, false}};
  for (const Fall& f : fälle) {
    gSettings[30] = QChar::fromLatin1(f.beginn);
    gSettings[37] = QChar::fromLatin1(f.verfall);
    QStringList inhalt = kKurz;
    inhalt[7] = f.urlaub1Gesetzt ? QStringLiteral("230115:999999:000,0:001:030:030:030:Tester Tom:Tester")
                                 : QStringLiteral("230115:999999:000,0:000:030:030:030:Tester Tom:Tester");
    inhalt[5] = QStringLiteral("240301:251231:002,5:000:030:028:030:Schmidt Eva:eschmidt");
    datei(inhalt);
    Mitarbeiterdaten_lesen();
    EXPECT_EQ(gUrlaub1Leer, f.erwartet) << f.beginn << f.verfall << f.urlaub1Gesetzt;
  }
  // A half day counts as an entitlement.
  gSettings[30] = u'1';
  gSettings[37] = u'4';
  QStringList inhalt = kLang;
  inhalt[4] =
      QStringLiteral("000000:999999:010,0:000,5:030,0:030,0:030,0:000,0:000,0:000,0:000,0:Müller Hans:HMueller");
  inhalt[5] = inhalt[4];
  datei(inhalt);
  Mitarbeiterdaten_lesen();
  EXPECT_FALSE(gUrlaub1Leer);
}

TEST_F(MitarbeiterdatenTest, NameOfUserFromTableAndAdministratorLists) {
  datei(kKurz);
  Mitarbeiterdaten_lesen();
  gAdministratoren = QStringList{QStringLiteral("A:<Name Vorname>:eschmidt"), QStringLiteral("A:Chef Carl:CChef"),
                                 QStringLiteral("A:tester:tester")};
  gPrivilegierte = QStringList{QStringLiteral("P:Vize Viktor:vvize"), QStringLiteral("P:Eva Schmidt-Kurz:ESCHMIDT")};
  struct Fall {
    const char* benutzer;
    const char* name;
  };
  const Fall fälle[] = {
      {"hmueller", "Müller Hans"},       // employee table, other letter case
      {"HMUELLER", "Müller Hans"},       //
      {"cchef", "Chef Carl"},            // administrator entry
      {"VVize", "Vize Viktor"},          // privileged entry
      {"eschmidt", "Eva Schmidt-Kurz"},  // the privileged entry overrides; the placeholder names nobody
      {"tester", ""},                    // the name equals the user name
      {"niemand", ""},
      {"", ""},  // heading rows have no user name and must not answer
  };
  for (const Fall& f : fälle)
    EXPECT_EQ(Name_zu_BenutzerID(QString::fromUtf8(f.benutzer)), QString::fromUtf8(f.name)) << f.benutzer;

  gPrivilegierte = QStringList{QStringLiteral("NoAdmins")};
  EXPECT_EQ(Name_zu_BenutzerID(QStringLiteral("eschmidt")), u"Schmidt Eva");
}

TEST_F(MitarbeiterdatenTest, ShowAdminsListsNamesWithUserNames) {
  gAdministratoren = QStringList{QStringLiteral("A:Chef Carl:cchef"), QStringLiteral("A:Boss Berta:bboss")};
  gPrivilegierte = QStringList{QStringLiteral("P:Vize Viktor:vvize")};
  EXPECT_EQ(ShowAdmins(false), u"Chef Carl (cchef), Boss Berta (bboss)");
  EXPECT_EQ(ShowAdmins(true), u"Vize Viktor (vvize), Chef Carl (cchef), Boss Berta (bboss)");
  gPrivilegierte = QStringList{QStringLiteral("NoAdmins")};
  EXPECT_EQ(ShowAdmins(true), u"Chef Carl (cchef), Boss Berta (bboss)");
  gAdministratoren = QStringList{QStringLiteral("NoAdmins")};
  EXPECT_EQ(ShowAdmins(true), u"");
  gAdministratoren = QStringList{QStringLiteral("A:*:*")};
  EXPECT_EQ(ShowAdmins(false), u"* (*)");
}

TEST_F(MitarbeiterdatenTest, ShowAdminsCutsLongListsAfter450Characters) {
  QStringList ganz;
  gAdministratoren.clear();
  for (int i = 1; i <= 40; ++i) {
    const QString name = QStringLiteral("Administratorin Mustermann-Beispiel %1").arg(i);
    const QString id = QStringLiteral("admin%1").arg(i);
    gAdministratoren << QStringLiteral("A:") + name + u':' + id;
    ganz << name + QStringLiteral(" (") + id + u')';
  }
  const QString r = ShowAdmins(false);
  EXPECT_EQ(r.size(), 454);
  EXPECT_TRUE(r.endsWith(u" ..."));
  EXPECT_EQ(r.left(450), ganz.join(QStringLiteral(", ")).left(450));
}

// Another workstation rewrites the file; the next check picks the new list up and every
// cache on the employee table hears of it.
TEST_F(MitarbeiterdatenTest, CheckRereadsAfterAnotherWorkstationRewroteTheFile) {
  datei(kKurz);
  // Last read long ago: even a list read weeks before must be refreshed.
  zeitSetzen(pfad(), QDateTime(uhr.datum.addDays(-30), QTime(8, 0)));
  Mitarbeiterdaten_lesen();
  int gemeldet = 0;
  const int nummer = Nach_Mitarbeiterdaten_lesen_anmelden([&] { ++gemeldet; });

  CheckMitarbeiterdaten();
  EXPECT_EQ(gemeldet, 0) << "unchanged file read again";

  QStringList neu = kKurz;
  neu << QStringLiteral("250401:999999:000,0:020:030:030:030:Neu Nina:nneu");
  datei(neu);
  zeitSetzen(pfad(), QDateTime(uhr.datum.addDays(-29), QTime(8, 0)));
  CheckMitarbeiterdaten();
  EXPECT_EQ(gemeldet, 1);
  ASSERT_EQ(Mitarbeiterzeilen(), 6);
  EXPECT_EQ(gBenutzerIDs[6], u"nneu");
  EXPECT_EQ(gMitarbeiterdatenZeit, QDateTime(uhr.datum.addDays(-29), QTime(8, 0)));

  CheckMitarbeiterdaten();
  EXPECT_EQ(gemeldet, 1);
  Nach_Mitarbeiterdaten_lesen_abmelden(nummer);
  datei(kKurz);
  CheckMitarbeiterdaten();
  EXPECT_EQ(gemeldet, 1) << "unregistered function called";
  EXPECT_EQ(Mitarbeiterzeilen(), 5);
}

TEST_F(MitarbeiterdatenTest, CheckDoesNothingWhenSwitchedOffOrTimeUnchanged) {
  datei(kKurz);
  const QDateTime t(uhr.datum, QTime(7, 0));
  zeitSetzen(pfad(), t);
  Mitarbeiterdaten_lesen();

  // Same time stamp, other content: not read.
  datei(kLang);
  zeitSetzen(pfad(), t);
  CheckMitarbeiterdaten();
  EXPECT_EQ(gSonderurlaubsanspruch[3], u"000,0");

  SetSetting(39, 1);
  zeitSetzen(pfad(), t.addSecs(60));
  CheckMitarbeiterdaten();
  EXPECT_EQ(gSonderurlaubsanspruch[3], u"000,0");

  SetSetting(39, 0);
  CheckMitarbeiterdaten();
  EXPECT_EQ(gSonderurlaubsanspruch[3], u"003,0");
}

TEST_F(MitarbeiterdatenTest, WriteReplacesFileWholeAndLeavesNoTemporaryFile) {
  datei(kKurz);
  Mitarbeiterdaten_lesen();
  ASSERT_TRUE(Mitarbeiterdaten_schreiben());
  EXPECT_EQ(QDir(gDatenordner).entryList(QDir::Files), QStringList{QStringLiteral("Mitarbeiterdaten.dat")});

  // Arrays out of step: nothing is written and the file stays as it was.
  gUrlaubsdaten.removeLast();
  ERWARTE_PROGRAMMENDE(Mitarbeiterdaten_schreiben());
  EXPECT_EQ(lesen(pfad()), kodiert(kKurz));
  EXPECT_EQ(QDir(gDatenordner).entryList(QDir::Files), QStringList{QStringLiteral("Mitarbeiterdaten.dat")});
}

TEST_F(MitarbeiterdatenTest, OpenFailureReturnsFalseWithIgnoreErrorsAndEndsOtherwise) {
  datei(kKurz);
  Mitarbeiterdaten_lesen();
  QFile::remove(pfad());
  ASSERT_TRUE(QDir().mkdir(pfad()));  // a folder where the file belongs cannot be written
  EXPECT_FALSE(Mitarbeiterdaten_schreiben(QStringLiteral("IgnoreErrors")));
  EXPECT_TRUE(skript->texte().empty());
  ERWARTE_PROGRAMMENDE(Mitarbeiterdaten_schreiben());
}

TEST_F(MitarbeiterdatenTest, DimensioningKeepsAllSixArraysInStep) {
  datei(kKurz);
  Mitarbeiterdaten_lesen();
  Mitarbeitertabelle_dimensionieren(7);
  for (const QStringList* a :
       {&gMitarbeiterNamen, &gBenutzerIDs, &gEintrittsdaten, &gAustrittsdaten, &gUrlaubsdaten, &gSonderurlaubsanspruch})
    EXPECT_EQ(a->size(), 8);
  EXPECT_EQ(gBenutzerIDs[5], u"Tester");
  Mitarbeitertabelle_dimensionieren(2);
  EXPECT_EQ(gUrlaubsdaten.size(), 3);
  EXPECT_EQ(gMitarbeiterNamen[2], u"Müller Hans");
}

// A grid of a window for the search: names in column 0, user names in column 32.
class Testraster : public Mitarbeiterraster {
 public:
  Testraster(QStringList namen, QStringList ids, int sichtbar) : mNamen(namen), mIds(ids), mSichtbar(sichtbar) {
    mNamen.prepend(QString());
    mIds.prepend(QString());
  }
  const void* fenster() const override { return this; }
  int zeilen() const override { return static_cast<int>(mNamen.size()); }
  QString name(int z) const override { return mNamen[z]; }
  QString benutzer(int z) const override { return mIds[z]; }
  int obersteZeile() const override { return oben; }
  void setzeObersteZeile(int z) override { oben = z; }
  int sichtbareZeilen() const override { return mSichtbar; }
  bool zeileSichtbar(int z) const override { return z >= oben && z < oben + mSichtbar; }
  void zeileMarkieren(int z) override { markiert = z; }
  QString eingabe(const QString& aufforderung) override {
    aufforderungen << aufforderung;
    return antworten.isEmpty() ? QString() : antworten.takeFirst();
  }
  int oben = 1;
  int markiert = 0;
  QStringList antworten;
  QStringList aufforderungen;

 private:
  QStringList mNamen, mIds;
  int mSichtbar;
};

Testraster rasterMitZwölfZeilen() {
  return Testraster(
      {"Verwaltung", "Meierhof Anna", "Schulz Bernd", "Meier Tom", "Technik", "Lang Lena", "Kurz Karl", "Weber Wim",
       "Vogel Vera", "Meiser Max", "Otto Olga", "Paul Pia"},
      {"", "ameierhof", "bschulz", "Tester", "", "llang", "kkurz", "wweber", "vvogel", "mmeiser", "oottO", "ppaul"}, 5);
}

TEST_F(MitarbeiterdatenTest, SearchFindsNamesInAnyCaseAndContinuesToDataEnd) {
  Testraster r = rasterMitZwölfZeilen();
  r.antworten << QStringLiteral("MEI");
  Mitarbeiter_suchen_G(r, true, false);
  EXPECT_EQ(r.aufforderungen,
            QStringList{QStringLiteral("Mitarbeiter suchen:\r\rName des Mitarbeiters||Mitarbeiter suchen")});
  EXPECT_EQ(r.markiert, 2);
  EXPECT_EQ(r.oben, 1);

  Mitarbeiter_suchen_G(r, false, false);
  EXPECT_EQ(r.markiert, 4);
  Mitarbeiter_suchen_G(r, false, false);
  EXPECT_EQ(r.markiert, 10);
  EXPECT_EQ(r.oben, 9);  // 10 - Int(5 / 2) + 1
  EXPECT_TRUE(skript->texte().empty());

  Mitarbeiter_suchen_G(r, false, false);
  EXPECT_EQ(meldungen(), QStringList{QStringLiteral("Datenende erreicht")});
  // The next search starts again at row 1 and asks for a name.
  r.antworten << QStringLiteral("meier");
  Mitarbeiter_suchen_G(r, false, false);
  EXPECT_EQ(r.aufforderungen.size(), 2);
  EXPECT_EQ(r.markiert, 2);
}

TEST_F(MitarbeiterdatenTest, SearchReportsUnknownNameAndCancel) {
  Testraster r = rasterMitZwölfZeilen();
  r.antworten << QStringLiteral("Xaver");
  Mitarbeiter_suchen_G(r, true, false);
  EXPECT_EQ(meldungen(), QStringList{QStringLiteral("Name 'Xaver' nicht gefunden")});
  EXPECT_EQ(r.markiert, 0);

  Mitarbeiter_suchen_G(r, true, false);  // cancelled input box
  EXPECT_EQ(meldungen().size(), 1);
  EXPECT_EQ(r.markiert, 0);
}

TEST_F(MitarbeiterdatenTest, SearchScrollsWhenHitIsLastVisibleRow) {
  Testraster r = rasterMitZwölfZeilen();
  r.antworten << QStringLiteral("lang");
  Mitarbeiter_suchen_G(r, true, false);
  EXPECT_EQ(r.markiert, 6);
  EXPECT_EQ(r.oben, 5);  // row 6 was hidden: 6 - 2 + 1

  r.oben = 1;
  r.antworten << QStringLiteral("technik");
  Mitarbeiter_suchen_G(r, true, false);
  EXPECT_EQ(r.markiert, 5);
  EXPECT_EQ(r.oben, 4);  // last visible row

  r.oben = 1;
  r.antworten << QStringLiteral("schulz");
  Mitarbeiter_suchen_G(r, true, false);
  EXPECT_EQ(r.oben, 1);  // visible and not the last row: no scroll
}

TEST_F(MitarbeiterdatenTest, SearchInAnotherWindowStartsAfresh) {
  Testraster a = rasterMitZwölfZeilen();
  Testraster b = rasterMitZwölfZeilen();
  a.antworten << QStringLiteral("mei");
  Mitarbeiter_suchen_G(a, true, false);
  b.antworten << QStringLiteral("paul");
  Mitarbeiter_suchen_G(b, false, false);
  EXPECT_EQ(b.aufforderungen.size(), 1);
  EXPECT_EQ(b.markiert, 12);
}

TEST_F(MitarbeiterdatenTest, OwnRowSearchFindsTheUsersRowByUserName) {
  // Two employees of the same name: a search by name would find the first one, the
  // own row is the one with the user's Windows user name.
  datei({kKopf, kKennzeile, QStringLiteral("2025"),
         QStringLiteral("000000:999999:000,0:030:030:030:030:Meier:ameierhof"),
         QStringLiteral("000000:999999:000,0:030:030:030:030:Meier:tester")});
  Mitarbeiterdaten_lesen();
  Testraster r({"Meier", "Meier"}, {"ameierhof", "Tester"}, 5);
  gBenutzername = QStringLiteral("TESTER");
  Mitarbeiter_suchen_G(r, false, true);
  EXPECT_EQ(r.markiert, 2);
  EXPECT_TRUE(r.aufforderungen.isEmpty());

  // The own-row search keeps no search to continue.
  r.antworten << QStringLiteral("meier");
  Mitarbeiter_suchen_G(r, false, false);
  EXPECT_EQ(r.aufforderungen.size(), 1);
  EXPECT_EQ(r.markiert, 1);

  gBenutzername = QStringLiteral("fremd");
  Mitarbeiter_suchen_G(r, false, true);
  EXPECT_EQ(meldungen(), QStringList{QStringLiteral("Windows-Benutzername 'fremd' nicht gefunden")});

  SetSetting(28, 1);
  r.markiert = 0;
  gBenutzername = QStringLiteral("tester");
  Mitarbeiter_suchen_G(r, false, true);
  EXPECT_EQ(r.markiert, 0);
}

}  // namespace
