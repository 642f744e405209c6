#include "people/Mitarbeiterdaten_aktualisieren.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "common/Testnamen.h"
#include "people/Mitarbeitereditor.h"
#include "startup/Dateizugriff.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Stammdatenstand.h"

namespace {

// Month 2603 of the tests' window and its today's-version name.
const QString kHeute = QStringLiteral("2603 260310 Data.dat");

class Anwenden : public Mitarbeitereditor {
 protected:
  void SetUp() override {
    Mitarbeitereditor::SetUp();
    gSFTexte = QStringList{QString(), QStringLiteral("U"), QStringLiteral("Löschen")};
    leute({{QStringLiteral("Team"), QString()},
           {QStringLiteral("Klein Karl"), QStringLiteral("kl")},
           {QStringLiteral("Klemm Maria"), QStringLiteral("klm")},
           {QStringLiteral("Anders Anna"), QStringLiteral("anna")},
           {QStringLiteral("Berg Bert"), QStringLiteral("bert")}});
  }

  static void leute(const QList<std::pair<QString, QString>>& l) {
    Mitarbeitertabelle_dimensionieren(static_cast<int>(l.size()));
    for (int i = 1; i <= l.size(); ++i) {
      const bool person = !l[i - 1].second.isEmpty();
      gMitarbeiterNamen[i] = l[i - 1].first;
      gBenutzerIDs[i] = l[i - 1].second;
      gEintrittsdaten[i] = person ? QStringLiteral("000000") : QString();
      gAustrittsdaten[i] = person ? QStringLiteral("999999") : QString();
      gUrlaubsdaten[i] = person ? QStringLiteral("000,0:030,0:030,0:000,0:000,0") : QString();
      gSonderurlaubsanspruch[i] = person ? QStringLiteral("000,0") : QString();
    }
    ASSERT_TRUE(Mitarbeiterdaten_schreiben());
    Mitarbeiterdaten_lesen();
  }

  static void monat(const QString& name, const QStringList& rest) {
    QStringList z{QStringLiteral("[") + name.left(4) + u']', kKennzeile, QStringLiteral("NoEx:NoEx")};
    z << rest;
    schreiben(gDatenordner + name, kodiert(z));
    Erfassungsdaten_Cache_verwerfen();
  }
  static QStringList dateien() { return QDir(gDatenordner).entryList(QDir::Files, QDir::Name); }
  // The administrator lines of this month's logbook, without date, time and user.
  static QStringList logbuch(const QString& name = QStringLiteral("2603 Velkora.log")) {
    QStringList r;
    if (!QFile::exists(gLogordner + name)) return r;
    for (const QString& z : dekodierteZeilen(gLogordner + name)) {
      const qsizetype p = z.indexOf(QStringLiteral("Admin|"));
      if (p >= 0) r << z.mid(p + 6);
    }
    return r;
  }
  // Changes a record and applies with the button.
  void anwenden() {
    editor->cmdAuswahl[6]->setEnabled(true);
    QTest::mouseClick(editor->cmdAuswahl[6], Qt::LeftButton);
  }
  Zeilensatz& satz(int i) { return editor->Zeilen[static_cast<size_t>(i)]; }
};

TEST_F(Anwenden, OhneAenderungWirdNichtsGeschrieben) {
  const QStringList vorher = dateien();
  const QDateTime zeit = Dateizeit(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
  frmMitarbeiter& f = öffnen();
  anwenden();
  EXPECT_FALSE(f.cmdAuswahl[6]->isEnabled());
  EXPECT_EQ(dateien(), vorher);
  EXPECT_EQ(Dateizeit(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")), zeit);
  EXPECT_TRUE(QDir(gSicherungsordner).entryList(QDir::Files).isEmpty());
  EXPECT_TRUE(logbuch().isEmpty());
}

TEST_F(Anwenden, NeueGeaenderteUndEntfernteMitarbeiterWerdenProtokolliert) {
  frmMitarbeiter& f = öffnen();
  satz(4).Name = QStringLiteral("Anders Anne");  // changed
  satz(5) = Zeilensatz{};                        // removed, no absences
  satz(6).Name = QStringLiteral("Neu Nina");
  satz(6).BenutzerID = QStringLiteral("nina");
  satz(6).Von = QStringLiteral("000000");
  satz(6).Bis = QStringLiteral("999999");
  satz(6).Urlaubsdaten = QStringLiteral("000,0:030,0:030,0:000,0:000,0");
  satz(6).Sonderurlaub = QStringLiteral("000,0");
  f.Anzeige_aktualisieren();
  anwenden();
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_EQ(gMitarbeiterNamen,
            (QStringList{QString(), QStringLiteral("Team"), QStringLiteral("Klein Karl"), QStringLiteral("Klemm Maria"),
                         QStringLiteral("Anders Anne"), QStringLiteral("Neu Nina")}));
  const QString e = QStringLiteral("000000:999999:000,0:030,0:030,0:000,0:000,0:000,0:");
  EXPECT_EQ(logbuch(),
            (QStringList{QStringLiteral("Mitarbeiter geändert von: ") + e + QStringLiteral("Anders Anna:anna"),
                         QStringLiteral("Mitarbeiter gelöscht: ") + e + QStringLiteral("Berg Bert:bert"),
                         QStringLiteral("Mitarbeiter geändert auf: ") + e + QStringLiteral("Anders Anne:anna"),
                         QStringLiteral("Mitarbeiter neu: ") + e + QStringLiteral("Neu Nina:nina")}));
  EXPECT_EQ(QDir(gSicherungsordner).entryList(QDir::Files).size(), 1);
}

TEST_F(Anwenden, UmbenennenReichtInJedenMonatInJederSchreibweise) {
  monat(QStringLiteral("2603 260301 Data.dat"),
        {QStringLiteral("A:KL:") + tage(QStringLiteral("1")), QStringLiteral("A:klm:") + tage(QStringLiteral("11")),
         QStringLiteral("K:kL:01-01:Arzt"), QStringLiteral("A:anna:") + tage(QStringLiteral(" 1"))});
  monat(QStringLiteral("2604 260301 Data.dat"), {QStringLiteral("A:anna:") + tage(QStringLiteral("1"))});
  const QDateTime april = Dateizeit(gDatenordner + QStringLiteral("2604 260301 Data.dat"));
  frmMitarbeiter& f = öffnen();
  eingeben(f.txtBenutzerID[2], QStringLiteral("Kl2"));
  anwenden();
  EXPECT_EQ(gBenutzerIDs[2], QStringLiteral("Kl2"));
  EXPECT_EQ(satz(2).BenutzerIDAlt, QStringLiteral("Kl2"));
  // The month becomes today's version; the other month keeps its file and stamp.
  EXPECT_EQ(dateien().filter(QStringLiteral("Data.dat")),
            (QStringList{kHeute, QStringLiteral("2604 260301 Data.dat")}));
  EXPECT_EQ(Dateizeit(gDatenordner + QStringLiteral("2604 260301 Data.dat")), april);
  EXPECT_EQ(dekodierteZeilen(gDatenordner + kHeute).mid(3),
            (QStringList{QStringLiteral("A:Kl2:") + tage(QStringLiteral("1")),
                         QStringLiteral("A:klm:") + tage(QStringLiteral("11")), QStringLiteral("K:Kl2:01-01:Arzt"),
                         QStringLiteral("A:anna:") + tage(QStringLiteral(" 1"))}));
  EXPECT_EQ(logbuch(), QStringList{QStringLiteral("Mitarbeiter umbenannt - kl auf Kl2")});
  EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Lockfile.txt")));
}

// A month whose last line was cut inside its codes (another user's) is not rewritten
// without it in silence: the rename reports it as a read does, after the day's "F"
// backup that keeps the month as it was, and keeps every other line.
TEST_F(Anwenden, UmbenennenMeldetEineAbgeschnitteneLetzteZeile) {
  const QString name = QStringLiteral("2603 260301 Data.dat");
  monat(name,
        {QStringLiteral("A:kl:") + tage(QStringLiteral("1")), QStringLiteral("A:anna:") + tage(QStringLiteral("11"))});
  const QByteArray geschnitten = kodiert({QStringLiteral("A:bert:") + tage(QStringLiteral("1111"))}).left(16);
  schreiben(gDatenordner + name, lesen(gDatenordner + name) + geschnitten);
  const QByteArray vorher = lesen(gDatenordner + name);
  frmMitarbeiter& f = öffnen();
  eingeben(f.txtBenutzerID[2], QStringLiteral("Kl2"));
  anwenden();
  EXPECT_EQ(gBenutzerIDs[2], QStringLiteral("Kl2"));
  EXPECT_EQ(dekodierteZeilen(gDatenordner + kHeute).mid(3),
            (QStringList{QStringLiteral("A:Kl2:") + tage(QStringLiteral("1")),
                         QStringLiteral("A:anna:") + tage(QStringLiteral("11"))}));
  EXPECT_TRUE(lesen(gDatenordner + kHeute).endsWith("\r\n"));
  EXPECT_EQ(logbuch(), (QStringList{QStringLiteral("Fehlerhafte Daten erkannt in Monat 03.2026 bei bert"),
                                    QStringLiteral("Mitarbeiter umbenannt - kl auf Kl2")}));
  const QStringList f_backups = Dateiliste(gSicherungsordner, gHeuteText + QStringLiteral("*F.dat"));
  ASSERT_EQ(f_backups.size(), 1);
  // The backup holds the month with its cut line as it stood.
  EXPECT_TRUE(lesen(gSicherungsordner + f_backups[0]).contains(vorher.right(16)));
}

TEST_F(Anwenden, UeberstundenabschnitteFolgenIhremBenutzer) {
  QStringList ü{QStringLiteral("[UStunden]"),
                QStringLiteral("x"),
                QStringLiteral("x"),
                QStringLiteral("x"),
                QStringLiteral("x"),
                QStringLiteral("[UStdDaten]"),
                QStringLiteral("2026"),
                QStringLiteral("[1|KL|Klein]"),
                QStringLiteral("01.03.26|2,5"),
                QStringLiteral("[2|anna|kl]"),
                QStringLiteral("[3|klm]")};
  schreiben(gDatenordner + QStringLiteral("ÜStunden 2026.dat"), kodiert(ü));
  frmMitarbeiter& f = öffnen();
  eingeben(f.txtBenutzerID[2], QStringLiteral("Kl2"));
  anwenden();
  ü[7] = QStringLiteral("[1|Kl2|Klein]");
  EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("ÜStunden 2026.dat")), ü);
  const QStringList log = dekodierteZeilen(gLogordner + QStringLiteral("2603 ÜStunden.log"));
  ASSERT_EQ(log.size(), 1);
  EXPECT_TRUE(log[0].endsWith(QStringLiteral("Mitarbeiter umbenannt - kl auf Kl2"))) << log[0].toStdString();
}

TEST_F(Anwenden, UeberstundenkoepfeWerdenGelesenWieDieUebersichtSieLiest) {
  // A header without a field 2 names nobody; an empty line of the other program's
  // file stays an empty line.
  QStringList ü{QStringLiteral("[UStunden]"),
                QString(),
                QString(),
                QString(),
                QString(),
                QStringLiteral("[UStdDaten]"),
                QStringLiteral("2027"),
                QStringLiteral("[1|kl]"),
                QString(),
                QStringLiteral("[2|Kl||]"),
                QStringLiteral("U5")};
  schreiben(gDatenordner + QStringLiteral("ÜStunden 2027.dat"), kodiert(ü.mid(0, 8)) + "\r\n" + kodiert(ü.mid(9)));
  frmMitarbeiter& f = öffnen();
  eingeben(f.txtBenutzerID[2], QStringLiteral("Kl2"));
  anwenden();
  ü[9] = QStringLiteral("[2|Kl2||]");
  EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("ÜStunden 2027.dat")), ü);
}

struct Konfliktfall {
  const char* name;
  // Row 2 (kl) and row 4 (anna) get new user names; row 5 is bert.
  QString zeile2, zeile4, zeile5;
  QString meldung;  // empty: accepted
};

class Konflikt : public Anwenden, public ::testing::WithParamInterface<Konfliktfall> {};

TEST_P(Konflikt, UmbenennungenDieZweiMitarbeiterVereinenWuerdenWerdenAbgelehnt) {
  const Konfliktfall fall = GetParam();
  monat(QStringLiteral("2603 260301 Data.dat"), {QStringLiteral("A:anna:") + tage(QStringLiteral("1")),
                                                 QStringLiteral("A:bert:") + tage(QStringLiteral("11"))});
  const QByteArray vorher = lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
  öffnen();
  if (!fall.zeile2.isEmpty()) satz(2).BenutzerID = fall.zeile2;
  if (!fall.zeile4.isEmpty()) satz(4).BenutzerID = fall.zeile4;
  if (!fall.zeile5.isEmpty()) satz(5).BenutzerID = fall.zeile5;
  editor->Anzeige_aktualisieren();
  anwenden();
  if (!fall.meldung.isEmpty()) {
    EXPECT_EQ(skript->texte(), std::vector<QString>{fall.meldung});
    EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")), vorher);
    EXPECT_EQ(gBenutzerIDs[4], QStringLiteral("anna"));
    EXPECT_TRUE(editor->cmdAuswahl[6]->isEnabled());
  } else {
    EXPECT_TRUE(skript->texte().empty());
    EXPECT_FALSE(editor->cmdAuswahl[6]->isEnabled());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, Konflikt,
    ::testing::Values(
        // anna -> Bert above bert -> carl: in the files both would end up as carl.
        Konfliktfall{"NachUntenInAnderemFall",
                     {},
                     QStringLiteral("Bert"),
                     QStringLiteral("carl"),
                     QStringLiteral("Ändern des Mitarbeiter-/Benutzernamens von anna auf bert nicht möglich, da bert "
                                    "bereits existiert.")},
        Konfliktfall{"NachUnten",
                     {},
                     QStringLiteral("bert"),
                     QStringLiteral("carl"),
                     QStringLiteral("Ändern des Mitarbeiter-/Benutzernamens von anna auf bert nicht möglich, da bert "
                                    "bereits existiert.")},
        // anna -> dora above bert -> anna: row 5 takes the name row 4 gives up.
        Konfliktfall{"FreigegebenVonOben", {}, QStringLiteral("dora"), QStringLiteral("ANNA"), {}},
        // kl -> anna above anna -> dora: a row may not take the name of a later one.
        Konfliktfall{"VonUntenGenommen",
                     QStringLiteral("anna"),
                     QStringLiteral("dora"),
                     {},
                     QStringLiteral("Ändern des Mitarbeiter-/Benutzernamens von kl auf anna nicht möglich, da anna "
                                    "bereits existiert.")},
        Konfliktfall{"Tausch", {}, QStringLiteral("BERT"), QStringLiteral("anna"), {}}),
    NachName{});

TEST_F(Anwenden, KetteWeiterUntenWirdInZeilenfolgeAusgefuehrt) {
  monat(QStringLiteral("2603 260301 Data.dat"), {QStringLiteral("A:anna:") + tage(QStringLiteral("1")),
                                                 QStringLiteral("A:bert:") + tage(QStringLiteral("11"))});
  öffnen();
  // bert -> carl in row 5 and anna -> bert in row 4 would clash; moved so bert goes first.
  std::swap(satz(4), satz(5));
  satz(4).BenutzerID = QStringLiteral("carl");
  satz(5).BenutzerID = QStringLiteral("Bert");
  editor->Anzeige_aktualisieren();
  anwenden();
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_EQ(dekodierteZeilen(gDatenordner + kHeute).mid(3),
            (QStringList{QStringLiteral("A:Bert:") + tage(QStringLiteral("1")),
                         QStringLiteral("A:carl:") + tage(QStringLiteral("11"))}));
}

TEST_F(Anwenden, TauschBeruehrtKeinenMonat) {
  monat(QStringLiteral("2603 260301 Data.dat"), {QStringLiteral("A:anna:") + tage(QStringLiteral("1"))});
  öffnen();
  satz(4).BenutzerID = QStringLiteral("bert");
  satz(5).BenutzerID = QStringLiteral("anna");
  editor->Anzeige_aktualisieren();
  anwenden();
  EXPECT_EQ(dateien().filter(QStringLiteral("Data.dat")), QStringList{QStringLiteral("2603 260301 Data.dat")});
  const QStringList log = logbuch();
  ASSERT_EQ(log.size(), 5);
  EXPECT_EQ(log[0], QStringLiteral("Überkreuz-Tausch Mitarbeiter-/Benutzername anna mit bert"));
  EXPECT_TRUE(log[1].startsWith(QStringLiteral("Mitarbeiter geändert von: ")));
  EXPECT_TRUE(log[3].startsWith(QStringLiteral("Mitarbeiter geändert auf: ")));
}

TEST_F(Anwenden, EntfernenVonMitarbeiternMitAbwesenheitenFragtEinmalUndTilgtIhreZeilen) {
  monat(QStringLiteral("2603 260301 Data.dat"),
        {QStringLiteral("A:Anna:") + tage(QStringLiteral("1")), QStringLiteral("K:anna:01-01:Kur"),
         QStringLiteral("A:bert:") + tage(QStringLiteral("11")), QStringLiteral("A:kl:") + tage(QStringLiteral("1"))});
  öffnen();
  satz(4) = Zeilensatz{};
  satz(5) = Zeilensatz{};
  editor->Anzeige_aktualisieren();
  // No: nothing written.
  const QByteArray vorher = lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
  skript->antworte(dialoge::kNein);
  anwenden();
  ASSERT_EQ(skript->texte().size(), 1u);
  EXPECT_EQ(skript->texte()[0],
            QStringLiteral("Folgende Mitarbeiter werden gelöscht, zu denen An-/Abwesenheitsdaten vorhanden sind: "
                           "Anders Anna, Berg Bert\r\rMöchten Sie fortsetzen und die An-/Abwesenheitsdaten dieser "
                           "Mitarbeiter löschen?"));
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")), vorher);
  EXPECT_EQ(dateien().filter(QStringLiteral("Data.dat")), QStringList{QStringLiteral("2603 260301 Data.dat")});
  // Yes: the list is written and their lines are gone with them.
  skript->antworte(dialoge::kJa);
  anwenden();
  EXPECT_EQ(Mitarbeiterzeilen(), 3);
  EXPECT_EQ(dekodierteZeilen(gDatenordner + kHeute).mid(3),
            QStringList{QStringLiteral("A:kl:") + tage(QStringLiteral("1"))});
}

TEST_F(Anwenden, EinEntfernterMitarbeiterMitAbwesenheiten) {
  monat(QStringLiteral("2603 260301 Data.dat"), {QStringLiteral("A:bert:") + tage(QStringLiteral("11"))});
  öffnen();
  satz(5) = Zeilensatz{};
  editor->Anzeige_aktualisieren();
  skript->antworte(dialoge::kNein);
  anwenden();
  EXPECT_EQ(skript->texte(),
            std::vector<QString>{QStringLiteral(
                "Der Mitarbeiter Berg Bert wird gelöscht. Zu diesem Mitarbeiter sind An-/Abwesenheitsdaten vorhanden, "
                "die jetzt gelöscht werden.\r\rMöchten Sie fortsetzen und die An-/Abwesenheitsdaten dieses "
                "Mitarbeiters löschen?")});
}

TEST_F(Anwenden, OhneBackupGehtKeineZeileVerloren) {
  monat(QStringLiteral("2603 260301 Data.dat"), {QStringLiteral("A:bert:") + tage(QStringLiteral("11"))});
  // The backup folder is a file: no backup can be written.
  QDir(gSicherungsordner).removeRecursively();
  schreiben(gSicherungsordner.chopped(1), "x");
  öffnen();
  satz(5) = Zeilensatz{};
  editor->Anzeige_aktualisieren();
  skript->antworte(dialoge::kJa);
  anwenden();
  EXPECT_EQ(Mitarbeiterzeilen(), 4);
  EXPECT_TRUE(
      std::find(skript->texte().begin(), skript->texte().end(),
                QStringLiteral("Warnung: Backup vor Ändern der Mitarbeiterdaten konnte nicht erstellt werden")) !=
      skript->texte().end());
  EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("2603 260301 Data.dat")).mid(3),
            QStringList{QStringLiteral("A:bert:") + tage(QStringLiteral("11"))});
}

TEST_F(Anwenden, InzwischenAnderswoGeschriebeneListeWirdNichtUeberschrieben) {
  öffnen();
  // Another workstation writes the employee file after the editor opened.
  QFile datei(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
  ASSERT_TRUE(datei.open(QIODevice::ReadWrite));
  ASSERT_TRUE(datei.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
  datei.close();
  const QByteArray vorher = lesen(datei.fileName());
  satz(4).Name = QStringLiteral("Anders Anne");
  editor->Anzeige_aktualisieren();
  anwenden();
  EXPECT_EQ(skript->texte(), std::vector<QString>{QString::fromUtf16(kStammdatenGeändert)});
  EXPECT_EQ(lesen(datei.fileName()), vorher);
  EXPECT_EQ(gMitarbeiterNamen[4], QStringLiteral("Anders Anna"));
  EXPECT_TRUE(editor->isVisible());
  // Position 39 switches the check off.
  skript = &dialoge::skript();
  SetSetting(39, 1);
  anwenden();
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_EQ(gMitarbeiterNamen[4], QStringLiteral("Anders Anne"));
}

TEST_F(Anwenden, BerechtigungenFolgenDenUeberschriften) {
  SetSetting(1, 2);
  gAnzeigeberechtigungen = QStringList{QString(), QStringLiteral("Team|Team:Alt:"), QStringLiteral("Alt|Alt:")};
  leute({{QStringLiteral("Team"), QString()},
         {QStringLiteral("Klein Karl"), QStringLiteral("kl")},
         {QStringLiteral("Alt"), QString()},
         {QStringLiteral("Anders Anna"), QStringLiteral("anna")}});
  öffnen();
  satz(1).Name = QStringLiteral(">Kern");  // renamed
  satz(3) = Zeilensatz{};                  // removed
  satz(5).Name = QStringLiteral(">Neu");   // added
  editor->Anzeige_aktualisieren();
  anwenden();
  EXPECT_EQ(gAnzeigeberechtigungen, (QStringList{QString(), QStringLiteral("Kern|Kern:"), QStringLiteral("Neu|Neu:")}));
}

TEST_F(Anwenden, AnzeigegruppenAllerBenutzerFolgenUeberschriftenUndBenutzern) {
  SetSetting(17, 0);
  schreiben(gIniOrdner + QStringLiteral("Velkora_ehemalig.ini"), "x");
  schreiben(gDatenordner + QStringLiteral("Mitarbeiteranzgru.dat"),
            kodiert({QStringLiteral("[Mitarbeiteranzgru]"), kKennzeile, QStringLiteral("[KL]"),
                     QStringLiteral("Alle Mitarbeiter|Team:"), QStringLiteral("Meine|Team:"),
                     QStringLiteral("[niemand]"), QStringLiteral("Alle Mitarbeiter|Team:"),
                     QStringLiteral("[ehemalig]"), QStringLiteral("Nur Team|Team:")}));
  öffnen();
  eingeben(editor->txtBenutzerID[2], QStringLiteral("Kl2"));
  satz(6).Name = QStringLiteral(">Lager");
  editor->Anzeige_aktualisieren();
  anwenden();
  EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("Mitarbeiteranzgru.dat")),
            (QStringList{QStringLiteral("[Mitarbeiteranzgru]"), kKennzeile, QStringLiteral("[Kl2]"),
                         QStringLiteral("Alle Mitarbeiter|Team:Lager:"), QStringLiteral("Meine|Team:"),
                         QStringLiteral("[ehemalig]"), QStringLiteral("Nur Team|Team:")}));
}

// A heading that stands twice in the table is one group: a display group names it once.
TEST_F(Anwenden, DoppelteUeberschriftStehtInDenListenEinmal) {
  SetSetting(17, 0);
  leute({{QStringLiteral("Team"), QString()},
         {QStringLiteral("Klein Karl"), QStringLiteral("kl")},
         {QStringLiteral("Team"), QString()},
         {QStringLiteral("Anders Anna"), QStringLiteral("anna")}});
  schreiben(gDatenordner + QStringLiteral("Mitarbeiteranzgru.dat"),
            kodiert({QStringLiteral("[Mitarbeiteranzgru]"), kKennzeile, QStringLiteral("[KL]"),
                     QStringLiteral("Alle Mitarbeiter|Team:")}));
  öffnen();
  eingeben(editor->txtBenutzerID[2], QStringLiteral("Kl2"));
  anwenden();
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("Mitarbeiteranzgru.dat")),
            (QStringList{QStringLiteral("[Mitarbeiteranzgru]"), kKennzeile, QStringLiteral("[Kl2]"),
                         QStringLiteral("Alle Mitarbeiter|Team:")}));
}

TEST_F(Anwenden, AlteEinstellungsdateienEntfallen) {
  const auto ini = [](const QString& name, int tageAlt) {
    const QString pfad = gIniOrdner + name;
    schreiben(pfad, "x");
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime(gHeute.addDays(-tageAlt), QTime(12, 0)), QFileDevice::FileModificationTime));
  };
  ini(QStringLiteral("Velkora_weg89.ini"), 89);
  ini(QStringLiteral("Velkora_weg91.ini"), 91);
  ini(QStringLiteral("Velkora_KL.ini"), 200);
  Alte_ini_Dateien_löschen();
  EXPECT_EQ(QDir(gIniOrdner).entryList(QDir::Files, QDir::Name),
            (QStringList{QStringLiteral("Velkora_KL.ini"), QStringLiteral("Velkora_weg89.ini")}));
  SetSetting(28, 1);
  Alte_ini_Dateien_löschen();
  EXPECT_EQ(QDir(gIniOrdner).entryList(QDir::Files, QDir::Name), QStringList{QStringLiteral("Velkora_weg89.ini")});
}

}  // namespace
