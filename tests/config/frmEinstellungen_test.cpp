// The settings dialog: the topic list, storing choices in the working copy, the checks
// of a single choice and of OK, applying, the lock file and the texts.
#include "config/frmEinstellungen.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "common/Planerordner.h"
#include "config/frmFarbeinstellungen.h"
#include "platform/Bildschirm.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Konfigdaten.h"
#include "store/Sperrdatei.h"
#include "store/Stammdatenstand.h"
#include "store/Velkoraini.h"

namespace {
using namespace planer;

class EinstellungenTest : public PlanerTest {
 protected:
  void SetUp() override {
    PlanerTest::SetUp();
    bildschirm::setzeDpi(96);
    gKonfigdatenZeit = Dateizeit(gDatenordner + QStringLiteral("Konfigdaten.dat"));
    gBenutzerstufe = 2;
  }
  void TearDown() override {
    dialog.reset();
    bildschirm::setzeDpi(0);
    PlanerTest::TearDown();
  }
  frmEinstellungen& öffnen() {
    dialog = std::make_unique<frmEinstellungen>();
    dialog->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QCoreApplication::processEvents();
    return *dialog;
  }
  QStringList liste() const {
    QStringList r;
    for (int i = 0; i < dialog->lstListe->count(); ++i) r << dialog->lstListe->item(i)->text();
    return r;
  }
  QString gezeigt() const { return dialog->lstListe->currentItem()->text(); }
  void thema(const QString& caption) {
    const auto t = dialog->lstListe->findItems(caption, Qt::MatchExactly);
    ASSERT_FALSE(t.isEmpty()) << caption.toStdString();
    dialog->lstListe->setCurrentItem(t.first());
  }
  void option(int i) { dialog->optOption[i]->click(); }
  void ok() { dialog->cmdAuswahl[3]->click(); }
  QString logbuch() const {
    QString alles;
    for (const QString& f : QDir(gLogordner).entryList(QDir::Files))
      alles += dekodierteZeilen(gLogordner + f).join(u'\n');
    return alles;
  }
  QString sperrdatei() const {
    return QString::fromLatin1(lesen(gDatenordner + QStringLiteral("Lockfile.txt"))).trimmed();
  }
  QStringList sicherungen() const { return QDir(gSicherungsordner).entryList(QDir::Files); }
  std::unique_ptr<frmEinstellungen> dialog;
};

const QStringList kMitarbeiterliste = {
    QStringLiteral("Schulferien kennzeichnen"), QStringLiteral("Kalenderwochen anzeigen"),
    QStringLiteral("Zeilen/Spalten hervorheben"), QStringLiteral("Drucken"), QStringLiteral("Farbeinstellungen")};

struct Listenfall {
  const char* was;
  int stufe;
  std::vector<std::pair<int, char>> einstellungen;
  bool verbergen;  // hide digits set up
  bool ferien;     // school-holiday data
  std::vector<const char*> dabei;
  std::vector<const char*> fehlt;
};

TEST_F(EinstellungenTest, ThemenlisteFolgtStufeUndEinstellungen) {
  const std::vector<Listenfall> fälle = {
      {"Verwalter mit Vorgaben",
       2,
       {},
       false,
       true,
       {"Windows-Benutzername", "Berechtigung für Eintragungen", "Krankheitstage", "Schulferien kennzeichnen",
        "Programmaufruf sperren"},
       {"Sonderurlaub", "Kommentare kennzeichnen"}},
      {"Verwalter ohne Benutzernamen",
       2,
       {{28, '1'}},
       false,
       true,
       {"Windows-Benutzername", "Urlaubstage"},
       {"Berechtigung für Eintragungen", "Anzeigeberechtigungen", "Krankheitstage"}},
      {"Sonderurlaub und Kommentare",
       2,
       {{33, '1'}, {6, '1'}},
       false,
       true,
       {"Sonderurlaub", "Kommentare kennzeichnen"},
       {}},
      {"Verbergeziffern", 2, {}, true, true, {"Urlaubstage"}, {"Krankheitstage"}},
      {"ohne Schulferien", 2, {}, false, false, {"Kalenderwochen anzeigen"}, {"Schulferien kennzeichnen"}},
  };
  const QString settings = gSettings;
  for (const Listenfall& f : fälle) {
    SCOPED_TRACE(f.was);
    gSettings = settings;
    for (const auto& [p, c] : f.einstellungen) gSettings[p - 1] = QChar(c);
    gBenutzerstufe = f.stufe;
    gSFVerbergenText = f.verbergen ? QStringLiteral("0000100") : QStringLiteral("void");
    gFerientage = f.ferien ? QStringList{QString(), QStringLiteral("2803:") + QString(31, u'0')}
                           : QStringList{QString(), QStringLiteral("NoData")};
    öffnen();
    for (const char* c : f.dabei) EXPECT_TRUE(liste().contains(QString::fromUtf8(c))) << c;
    for (const char* c : f.fehlt) EXPECT_FALSE(liste().contains(QString::fromUtf8(c))) << c;
    EXPECT_EQ(gezeigt(), liste().first());
  }
  // Employees and privileged users see their own display and printing only.
  gSettings = settings;
  gFerientage = {QString(), QStringLiteral("2803:") + QString(31, u'0')};
  gBenutzerstufe = 0;
  öffnen();
  EXPECT_EQ(liste(), kMitarbeiterliste);
  EXPECT_FALSE(dialog->lblBeschriftung[1]->isHidden());
  gBenutzerstufe = 1;
  öffnen();
  QStringList privilegiert = kMitarbeiterliste;
  privilegiert.insert(2, QStringLiteral("Tagessummen anzeigen"));
  EXPECT_EQ(liste(), privilegiert);
  gFerientage = {QString(), QStringLiteral("NoData")};
  gBenutzerstufe = 0;
  öffnen();
  EXPECT_EQ(liste(), kMitarbeiterliste.mid(1));
}

TEST_F(EinstellungenTest, ListenNrJederBeschriftung) {
  auto& d = öffnen();
  for (int i = 1; i <= frmEinstellungen::kThemen; ++i) EXPECT_EQ(d.ListenNr(d.Themen[i].caption), i) << i;
  EXPECT_EQ(d.ListenNr(QStringLiteral("Gibt es nicht")), 1);
}

TEST_F(EinstellungenTest, WindowsBenutzernameBautDieListeNeu) {
  gSettings[17] = u'1';  // display permissions off, so position 28 may be 1
  auto& d = öffnen();
  ASSERT_TRUE(liste().contains(QStringLiteral("Krankheitstage")));
  option(2);
  EXPECT_EQ(d.SettingStr(28, 1), QStringLiteral("1"));
  EXPECT_FALSE(liste().contains(QStringLiteral("Krankheitstage")));
  EXPECT_FALSE(liste().contains(QStringLiteral("Anzeigeberechtigungen")));
  EXPECT_EQ(gezeigt(), QStringLiteral("Windows-Benutzername"));
  EXPECT_TRUE(d.optOption[2]->isChecked());
  thema(QStringLiteral("Berechtigung zum Programmaufruf"));
  EXPECT_EQ(d.optOption[2]->text(), QStringLiteral("Nur Administratoren und Privilegierte Benutzer können den "
                                                   "Velkora aufrufen"));
  EXPECT_TRUE(d.lblOption[2]->isHidden());
}

struct Merkfall {
  const char* thema;
  int option;  // 1-based
  int position;
  char erwartet;
};

TEST_F(EinstellungenTest, OptionenLandenInDerArbeitskopie) {
  gSettings[32] = u'1';  // special leave in use
  gSettings[5] = u'1';   // comments marked
  gSettings[17] = u'1';
  const std::vector<Merkfall> fälle = {
      {"Berechtigung zum Programmaufruf", 2, 1, '1'},
      {"Berechtigung für Eintragungen", 2, 10, '1'},
      {"Privilegierte Benutzer", 2, 11, '1'},
      {"Anzeigegruppen", 1, 17, '1'},
      {"Anzeigeberechtigungen", 1, 18, '1'},
      {"Schaltflächen anzeigen", 2, 8, '1'},
      {"An-/Abwesenheitszeiten eingeben", 2, 4, '1'},
      {"Urlaubsansprüche", 3, 30, '2'},
      {"Krankheitstage", 2, 5, '1'},
      {"Urlaubs-/Summenübersicht anzeigen", 2, 19, '1'},
      {"Kalenderwochen anzeigen", 2, 41, '1'},
      {"Zeilen/Spalten hervorheben", 4, 25, '3'},
      {"Kommentare kennzeichnen", 1, 6, '0'},
      {"Logbuch anzeigen", 3, 3, '2'},
  };
  auto& d = öffnen();
  for (const Merkfall& f : fälle) {
    SCOPED_TRACE(f.thema);
    thema(QString::fromUtf8(f.thema));
    option(f.option);
    EXPECT_EQ(d.SettingStr(f.position, 1), QString(QChar(f.erwartet)));
    EXPECT_EQ(d.Themen[d.ListenNr(QString::fromUtf8(f.thema))].option, f.option - 1);
  }
  EXPECT_TRUE(skript->texte().empty());
  // Calendar weeks printed follow calendar weeks shown until the print boxes are used.
  EXPECT_EQ(d.SettingStr(42, 1), QStringLiteral("1"));
  thema(QStringLiteral("Schulferien kennzeichnen"));
  option(2);
  EXPECT_EQ(d.Schulferien, 1);

  // Letters, the day sums, the heading switch and the print boxes.
  thema(QStringLiteral("Urlaubstage"));
  d.txtBuchst[1]->setText(QString());
  d.txtBuchst[3]->setText(QStringLiteral("Z"));
  EXPECT_EQ(d.SettingStr(20, 4), QStringLiteral("#½Z#"));
  thema(QStringLiteral("Sonderurlaub"));
  d.txtBuchst[2]->setText(QStringLiteral("S"));
  EXPECT_EQ(d.SettingStr(34, 4), QStringLiteral("#S##"));
  thema(QStringLiteral("Krankheitstage"));
  d.txtBuchst[1]->setText(QStringLiteral("D"));
  EXPECT_EQ(d.SettingStr(24, 1), QStringLiteral("D"));
  thema(QStringLiteral("Tagessummen anzeigen"));
  d.chkTaSum[3]->click();
  EXPECT_EQ(d.TaSum, QStringLiteral("001") + QString(21, u'0'));
  thema(QStringLiteral("Zeilen/Spalten hervorheben"));
  d.chkÜberschrift->click();
  EXPECT_EQ(d.Überschrift, 1);
  thema(QStringLiteral("Drucken"));
  d.chkDrucker[1]->click();
  d.chkDrucker[2]->click();
  d.chkDrucker[3]->click();
  EXPECT_EQ(d.SettingStr(26, 1) + d.SettingStr(42, 1), QStringLiteral("10"));
  EXPECT_EQ(d.TaSumDrucken, 1);
  thema(QStringLiteral("Kalenderwochen anzeigen"));
  option(1);
  option(2);
  EXPECT_EQ(d.SettingStr(42, 1), QStringLiteral("0"));
  // Switching topics keeps every change.
  thema(QStringLiteral("Urlaubstage"));
  EXPECT_EQ(d.txtBuchst[3]->text(), QStringLiteral("Z"));
  EXPECT_EQ(d.SettingStr(20, 4), QStringLiteral("#½Z#"));
}

TEST_F(EinstellungenTest, EinzelpruefungenWeisenZurueckUndStellenDieOptionWiederHer) {
  // Check 1: everybody may start the program while display permissions are in use.
  gSettings[0] = u'1';
  gSettings[17] = u'0';
  auto& d = öffnen();
  thema(QStringLiteral("Berechtigung zum Programmaufruf"));
  option(1);
  EXPECT_EQ(skript->texte().back(), QStringLiteral("Diese Einstellung kann nur gewählt werden, wenn die "
                                                   "Verwendung von Anzeigeberechtigungen deaktiviert ist"));
  EXPECT_TRUE(d.optOption[2]->isChecked());
  EXPECT_EQ(d.SettingStr(1, 1), QStringLiteral("1"));

  // Check 3: display permissions while everybody may start the program.
  gSettings[0] = u'0';
  gSettings[17] = u'1';
  öffnen();
  thema(QStringLiteral("Anzeigeberechtigungen"));
  option(2);
  EXPECT_TRUE(skript->texte().back().startsWith(QStringLiteral("Um Anzeigeberechtigungen vergeben zu können")));
  EXPECT_TRUE(dialog->optOption[1]->isChecked());
  EXPECT_EQ(dialog->SettingStr(18, 1), QStringLiteral("1"));

  // Check 4: lifting permissions in force asks; No keeps them.
  gSettings[0] = u'2';
  gSettings[17] = u'0';
  öffnen();
  thema(QStringLiteral("Anzeigeberechtigungen"));
  option(1);
  EXPECT_TRUE(skript->texte().back().startsWith(QStringLiteral("Es wurden Anzeigeberechtigungen vergeben.")));
  EXPECT_EQ(skript->protokoll.back().art, dialoge::Art::JaNein);
  EXPECT_TRUE(dialog->optOption[2]->isChecked());
  EXPECT_EQ(dialog->SettingStr(18, 1) + dialog->SettingStr(1, 1), QStringLiteral("02"));
  skript->antworte(dialoge::kJa);
  option(1);
  EXPECT_EQ(dialog->SettingStr(18, 1) + dialog->SettingStr(1, 1), QStringLiteral("11"));

  // Check 5: display groups cannot be switched off while a group file exists.
  gSettings[0] = u'0';
  gSettings[16] = u'0';
  schreiben(gDatenordner + QStringLiteral("Mitarbeiteranzgru.dat"), kodiert({QStringLiteral("[Anzgru]")}));
  gAnzeigegruppen = {QString(), QStringLiteral("NoGroups")};
  öffnen();
  thema(QStringLiteral("Anzeigegruppen"));
  option(1);
  EXPECT_EQ(skript->texte().back(),
            QStringLiteral("Es wurden von Mitarbeitern Anzeigegruppen eingerichtet. Solange Anzeigegruppen vorhanden "
                           "sind, können Sie diese Einstellung nicht ändern."));
  EXPECT_TRUE(dialog->optOption[2]->isChecked());
  EXPECT_EQ(dialog->SettingStr(17, 1), QStringLiteral("0"));
}

TEST_F(EinstellungenTest, GespeicherterFehlzustandZeigtJedesThemaOhneMeldung) {
  // Privileged users while position 11 is 0 (as "/setting" can leave it), and display
  // permissions in force while position 18 says everybody sees all.
  gPrivilegierte = {QStringLiteral("P:Kurz Carla:carla")};
  gSettings[10] = u'0';
  gSettings[0] = u'2';
  gSettings[17] = u'1';
  auto& d = öffnen();
  for (int i = 0; i < d.lstListe->count(); ++i) d.lstListe->setCurrentRow(i);
  EXPECT_TRUE(skript->texte().empty());
  // A choice of the user's own is checked: the privileged users are reported.
  thema(QStringLiteral("Privilegierte Benutzer"));
  option(1);
  EXPECT_TRUE(skript->texte().back().startsWith(QStringLiteral("Es sind Privilegierte Benutzer vorhanden.")));
  EXPECT_EQ(skript->texte().size(), 1u);
}

struct OKFall {
  const char* was;
  std::function<void(frmEinstellungen&)> vorher;  // with the dialog open
  const char* meldung;
  const char* thema;
  std::function<QWidget*(frmEinstellungen&)> fokus;
};

TEST_F(EinstellungenTest, OKPruefungenZeigenThemaMeldungUndFokus) {
  gSettings[32] = u'1';
  gSettings[33] = u'S';
  const auto feld = [](int k) { return [k](frmEinstellungen& d) -> QWidget* { return d.txtBuchst[k]; }; };
  const std::vector<OKFall> fälle = {
      {"Nachkommastellen",
       [](frmEinstellungen& d) {
         gUrlaubsdaten[3] = QStringLiteral("000,0:025,5:000,0:000,0:000,0");
         d.SetSetting(30, 0);
       },
       "Änderungen können nicht gespeichert werden. Es sind Urlaubsansprüche mit Nachkommastellen vorhanden.",
       "Urlaubsansprüche", nullptr},
      {"Urlaubsbuchstabe doppelt", [](frmEinstellungen& d) { d.SetSetting(23, QStringLiteral("U")); },
       "Kennbuchstabe mehrfach vorhanden", "Urlaubstage", feld(4)},
      {"Sonderurlaubsbuchstabe doppelt", [](frmEinstellungen& d) { d.SetSetting(36, QStringLiteral("S")); },
       "Kennbuchstabe mehrfach vorhanden", "Sonderurlaub", feld(3)},
      {"Verfall vor Beginn",
       [](frmEinstellungen& d) {
         d.cmbMonat[1]->setCurrentIndex(3);
         d.optResturlaub[2]->setChecked(true);
         d.cmbMonat[2]->setCurrentIndex(2);
       },
       "Datum an dem der Resturlaub verfällt muss nach dem Beginn des Urlaubsjahres liegen", "Urlaubsansprüche",
       [](frmEinstellungen& d) -> QWidget* { return d.cmbMonat[2]; }},
      {"Krankheitsbuchstabe fehlt",
       [](frmEinstellungen& d) {
         d.SetSetting(5, 1);
         d.Themen[12].option = 1;
         d.SetSetting(24, QStringLiteral("#"));
       },
       "Kennbuchstabe fehlt", "Krankheitstage", feld(1)},
      {"Logbuch 25", [](frmEinstellungen& d) { d.txtLogbuch->setText(QStringLiteral("25")); },
       "Speicherdauer muss zwischen 1 und 24 Monate liegen", "Logbuch anzeigen",
       [](frmEinstellungen& d) -> QWidget* { return d.txtLogbuch; }},
      {"Logbuch leer", [](frmEinstellungen& d) { d.txtLogbuch->clear(); },
       "Speicherdauer muss zwischen 1 und 24 Monate liegen", "Logbuch anzeigen",
       [](frmEinstellungen& d) -> QWidget* { return d.txtLogbuch; }},
      {"Sperrtext fehlt",
       [](frmEinstellungen& d) {
         d.Themen[22].option = 1;
         d.txtSperre->clear();
       },
       "Text fehlt", "Programmaufruf sperren", [](frmEinstellungen& d) -> QWidget* { return d.txtSperre; }},
      {"Sperrtext mit Trennstrich",
       [](frmEinstellungen& d) {
         d.Themen[22].option = 1;
         d.txtSperre->setText(QStringLiteral("Wartung|heute"));
       },
       "Unzulässiges Sonderzeichen enthalten", "Programmaufruf sperren",
       [](frmEinstellungen& d) -> QWidget* { return d.txtSperre; }},
      {"Sperrtext nicht darstellbar",
       [](frmEinstellungen& d) {
         d.Themen[22].option = 1;
         d.txtSperre->setText(QStringLiteral("Wartung ✓"));
       },
       "Unzulässiges Sonderzeichen enthalten", "Programmaufruf sperren",
       [](frmEinstellungen& d) -> QWidget* { return d.txtSperre; }},
      {"Buchstabe nicht darstellbar", [](frmEinstellungen& d) { d.SetSetting(21, QStringLiteral("Ω")); },
       "Unzulässiges Sonderzeichen enthalten", "Urlaubstage", feld(2)},
  };
  const QString konfig = gSettings;
  for (const OKFall& f : fälle) {
    SCOPED_TRACE(f.was);
    skript = &dialoge::skript();
    Mitarbeiter_setzen({{u"Frei Vera", u"vera", u"000000", u"999999"},
                        {u"Verwaltung", u"", u"", u""},
                        {u"Meier Anna", u"anna", u"000000", u"999999"}});
    auto& d = öffnen();
    f.vorher(d);
    ok();
    ASSERT_FALSE(skript->texte().empty());
    EXPECT_EQ(skript->texte().back(), QString::fromUtf8(f.meldung));
    EXPECT_EQ(gezeigt(), QString::fromUtf8(f.thema));
    if (f.fokus) {
      EXPECT_EQ(QApplication::focusWidget(), f.fokus(d));
    }
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(gSettings.left(24), konfig.left(24));
  }
}

TEST_F(EinstellungenTest, VerwalterUebernimmtInKonfigdatenMitSicherung) {
  // A lapse after the start of the vacation year reads the employee file again.
  schreiben(
      gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"),
      kodiert(
          {QStringLiteral("[Mitarbeiterdaten]"), QStringLiteral("Velkora:0123456789AB"), QStringLiteral("2025"),
           QStringLiteral("000000:999999:010,0:000,0:030,0:030,0:030,0:000,0:000,0:000,0:000,0:Schulz Bernd:tester")}));
  auto& d = öffnen();
  thema(QStringLiteral("Urlaubstage"));
  d.txtBuchst[1]->clear();
  d.txtBuchst[3]->setText(QStringLiteral("Z"));
  d.cmbMonat[1]->setCurrentIndex(3);
  d.optResturlaub[2]->click();
  EXPECT_EQ(d.cmbMonat[2]->currentIndex(), 3);
  d.cmbMonat[2]->setCurrentIndex(5);
  d.txtLogbuch->setText(QStringLiteral("24"));
  ok();
  EXPECT_FALSE(d.isVisible());
  // The second letter moved up into the empty first place.
  EXPECT_EQ(SettingStr(20, 4), QStringLiteral("Z½##"));
  EXPECT_EQ(SettingStr(31, 1), QStringLiteral("4"));
  EXPECT_EQ(SettingStr(38, 1), QStringLiteral("6"));
  EXPECT_EQ(SettingStr(29, 1), QStringLiteral("O"));
  EXPECT_EQ(gUrlaubsjahrBeginn, 4);
  EXPECT_EQ(gMitarbeiterNamen.value(1), QStringLiteral("Schulz Bernd"));
  EXPECT_EQ(gSFUrlaub, Schaltflächen_Nummer(QStringLiteral("Z"), QString()));
  EXPECT_EQ(sicherungen().filter(QStringLiteral(" A.dat")).size(), 1);
  const QStringList zeilen = dekodierteZeilen(gDatenordner + QStringLiteral("Konfigdaten.dat"));
  EXPECT_TRUE(zeilen.contains(gSettings));
  EXPECT_TRUE(logbuch().contains(QStringLiteral("VelkoraAdmin|Einstellungen geändert")));

  // "99" is kept as "0"; "nicht" stores no expiry month.
  öffnen();
  dialog->txtLogbuch->setText(QStringLiteral("99"));
  dialog->optResturlaub[1]->click();
  EXPECT_EQ(dialog->cmbMonat[2]->currentIndex(), -1);
  ok();
  EXPECT_EQ(SettingStr(29, 1), QStringLiteral("0"));
  EXPECT_EQ(SettingStr(38, 1), QStringLiteral("0"));
}

TEST_F(EinstellungenTest, AnderswoGeschriebeneKonfigurationBleibtUnveraendert) {
  auto& d = öffnen();
  thema(QStringLiteral("Schaltflächen anzeigen"));
  option(2);
  thema(QStringLiteral("Programmaufruf sperren"));
  option(2);
  // Another workstation writes the configuration while the dialog is open.
  QStringList fremd = Konfigzeilen();
  fremd[4] = QStringLiteral("Andere Firma");
  schreiben(gDatenordner + QStringLiteral("Konfigdaten.dat"), kodiert(fremd));
  QFile(gDatenordner + QStringLiteral("Konfigdaten.dat"))
      .setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
  const QString vorher = gSettings;
  ok();
  EXPECT_EQ(skript->texte().back(), QString::fromUtf16(kStammdatenGeändert));
  EXPECT_EQ(gSettings, vorher);
  EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("Konfigdaten.dat")), fremd);
  EXPECT_FALSE(Datei_vorhanden(gDatenordner + QStringLiteral("Lockfile.txt")));
  EXPECT_TRUE(sicherungen().isEmpty());
  EXPECT_FALSE(d.isVisible());
}

// A button move or a colour change writes the configuration from inside the dialog;
// that write is the dialog's own, so its OK still applies the other changes of the
// same opening. A write of another workstation after it still refuses the OK.
TEST_F(EinstellungenTest, EigeneVerschiebungOderFarbaenderungLaesstDasOKGelten) {
  const QByteArray konfig = lesen(gDatenordner + QStringLiteral("Konfigdaten.dat"));
  for (const char* schreiber : {"verschieben", "farben"}) {
    for (const bool fremd : {false, true}) {
      SCOPED_TRACE(std::string(schreiber) + (fremd ? " fremd" : ""));
      schreiben(gDatenordner + QStringLiteral("Konfigdaten.dat"), konfig);
      QFile(gDatenordner + QStringLiteral("Konfigdaten.dat"))
          .setFileTime(QDateTime::currentDateTime().addSecs(-30), QFileDevice::FileModificationTime);
      Konfigdaten_lesen();
      skript->protokoll.clear();
      auto& d = öffnen();
      thema(QStringLiteral("Schaltflächen anzeigen"));
      option(2);
      const QString gewählt = d.Einstellungen;
      if (std::string(schreiber) == "verschieben") {
        thema(QStringLiteral("Schaltflächen-Anordnung ändern"));
        d.txtSfNr[1]->setText(QStringLiteral("1"));
        d.txtSfNr[2]->setText(QStringLiteral("2"));
        d.cmdAuswahl[2]->click();
        ASSERT_FALSE(skript->texte().empty());
        EXPECT_EQ(skript->texte().back(),
                  QStringLiteral("Schaltfläche '1' an Position von Schaltfläche '2' verschoben"));
      } else {
        thema(QStringLiteral("Farbeinstellungen"));
        skript->antworte(dialoge::kOK, QStringLiteral("#102030"));
        QTimer::singleShot(0, [] {
          auto* f = dynamic_cast<frmFarbeinstellungen*>(QApplication::activeModalWidget());
          ASSERT_NE(f, nullptr);
          f->cmdFarbe[1]->click();
          f->cmdAuswahl[1]->click();
        });
        d.cmdAuswahl[1]->click();
        EXPECT_EQ(gGrundfarben[1], 0x302010);
      }
      const QByteArray eigen = lesen(gDatenordner + QStringLiteral("Konfigdaten.dat"));
      ASSERT_NE(eigen, konfig) << "the dialog wrote nothing of its own";
      QStringList anders;
      if (fremd) {
        // Another workstation writes after the dialog's own write.
        anders = dekodierteZeilen(gDatenordner + QStringLiteral("Konfigdaten.dat"));
        anders[4] = QStringLiteral("Andere Firma");
        schreiben(gDatenordner + QStringLiteral("Konfigdaten.dat"), kodiert(anders));
        QFile(gDatenordner + QStringLiteral("Konfigdaten.dat"))
            .setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
      }
      ok();
      EXPECT_FALSE(d.isVisible());
      const bool abgewiesen =
          !skript->texte().empty() && skript->texte().back() == QString::fromUtf16(kStammdatenGeändert);
      EXPECT_EQ(abgewiesen, fremd);
      if (fremd) {
        EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("Konfigdaten.dat")), anders);
        EXPECT_NE(gSettings, gewählt);
      } else {
        EXPECT_EQ(gSettings, gewählt);
        EXPECT_TRUE(dekodierteZeilen(gDatenordner + QStringLiteral("Konfigdaten.dat")).contains(gewählt));
      }
    }
  }
}

TEST_F(EinstellungenTest, SicherungNurFuerGeteilteStellen) {
  // Highlight mode and calendar weeks are the user's own defaults: no backup.
  auto& d = öffnen();
  thema(QStringLiteral("Zeilen/Spalten hervorheben"));
  option(3);
  thema(QStringLiteral("Kalenderwochen anzeigen"));
  option(2);
  ok();
  EXPECT_TRUE(sicherungen().filter(QStringLiteral(" A.dat")).isEmpty());
  EXPECT_EQ(SettingStr(25, 1) + SettingStr(41, 1), QStringLiteral("21"));
  EXPECT_EQ(gBenutzerwerte[22], 2);
  EXPECT_EQ(gBenutzerwerte[28], 1);
  EXPECT_EQ(gBenutzerwerte[29], 1);
  EXPECT_EQ(gBenutzerwerteSumme, 0);
  EXPECT_TRUE(dekodierteZeilen(gDatenordner + QStringLiteral("Konfigdaten.dat")).contains(gSettings));
  (void)d;

  // A failed backup stops before the settings string changes.
  QDir(gSicherungsordner).removeRecursively();
  const QString vorher = gSettings;
  öffnen();
  thema(QStringLiteral("Schaltflächen anzeigen"));
  option(2);
  ok();
  EXPECT_EQ(skript->texte().back(),
            QStringLiteral("Speichern der Einstellungen nicht möglich, da Backup nicht erstellt werden konnte"));
  EXPECT_TRUE(logbuch().contains(QStringLiteral("Backup vor Ändern von Einstellungen konnte nicht erstellt werden")));
  EXPECT_EQ(gSettings, vorher);
  EXPECT_FALSE(dialog->isVisible());
}

TEST_F(EinstellungenTest, RegelnDerStimmigkeitBeimUebernehmen) {
  gSettings[17] = u'1';
  gSettings[32] = u'1';
  gSettings[33] = u'S';
  schreiben(gDatenordner + QStringLiteral("Mitarbeiteranzber.dat"), kodiert({QStringLiteral("[Anzber]")}));
  auto& d = öffnen();
  // Position 28 = 1 forces position 18 to 1; the special-leave letter removed sets 33 to 0.
  d.SetSetting(28, 1);
  d.SetSetting(18, 0);
  d.SetSetting(34, QStringLiteral("#"));
  ok();
  EXPECT_EQ(SettingStr(18, 1), QStringLiteral("1"));
  EXPECT_EQ(SettingStr(33, 1), QStringLiteral("0"));
  EXPECT_EQ(SettingStr(1, 1), QStringLiteral("0"));
  // Position 18 = 0 with a permission file makes position 1 = 2.
  öffnen();
  dialog->SetSetting(28, 0);
  dialog->SetSetting(18, 0);
  ok();
  EXPECT_EQ(SettingStr(1, 1), QStringLiteral("2"));
}

TEST_F(EinstellungenTest, MitarbeiterAendertNurImSpeicher) {
  gBenutzerstufe = 0;
  const int gitter = gBenutzerwerte[23];
  const QByteArray konfig = lesen(gDatenordner + QStringLiteral("Konfigdaten.dat"));
  auto& d = öffnen();
  thema(QStringLiteral("Zeilen/Spalten hervorheben"));
  option(2);
  d.chkÜberschrift->click();
  thema(QStringLiteral("Drucken"));
  d.chkDrucker[1]->click();
  ok();
  EXPECT_EQ(Setting(25), 1);
  EXPECT_EQ(gBenutzerwerte[22], 1);
  EXPECT_EQ(gBenutzerwerte[26], 1);
  EXPECT_EQ(gBenutzerwerte[23], 1 - gitter);
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Konfigdaten.dat")), konfig);
  EXPECT_FALSE(logbuch().contains(QStringLiteral("Einstellungen geändert")));
  EXPECT_TRUE(sicherungen().filter(QStringLiteral(" A.dat")).isEmpty());
}

TEST_F(EinstellungenTest, AbbrechenAendertNurDieEigenenAnzeigewerte) {
  gBenutzerwerte[22] = 2;
  gBenutzerwerte[23] = 1;
  gBenutzerwerte[24] = 1;
  gBenutzerwerte[28] = 1;
  gBenutzerwerte[29] = 0;
  QString erwartet = gSettings;
  erwartet[24] = u'2';
  erwartet[25] = u'1';
  erwartet[26] = u'1';
  erwartet[40] = u'1';
  erwartet[41] = u'0';
  auto& d = öffnen();
  thema(QStringLiteral("Schaltflächen anzeigen"));
  option(2);
  d.cmdAuswahl[4]->click();
  EXPECT_EQ(gSettings, erwartet);
  EXPECT_TRUE(sicherungen().filter(QStringLiteral(" A.dat")).isEmpty());
}

TEST_F(EinstellungenTest, FremdeSperreUndStoerungshinweisBleibenUnberuehrt) {
  const QString pfad = gDatenordner + QStringLiteral("Lockfile.txt");
  // A lock another administrator set after this program read the configuration.
  schreiben(pfad, "Umzug|chefin|Chefin Clara\r\n");
  gSperrmeldung = QStringLiteral("Umzug");
  öffnen();
  thema(QStringLiteral("Schaltflächen anzeigen"));
  option(2);
  ok();
  EXPECT_EQ(sperrdatei(), QStringLiteral("Umzug|chefin|Chefin Clara"));
  // The start repair's notice, which bars nobody, does not become a lock.
  schreiben(pfad, "Wartung|tester\r\nStörung beim letzten Lauf\r\n");
  öffnen();
  ok();
  EXPECT_TRUE(lesen(pfad).startsWith("Wartung|tester\r\nSt"));
  // Choosing to lift the lock removes it.
  öffnen();
  thema(QStringLiteral("Programmaufruf sperren"));
  option(1);
  EXPECT_FALSE(dialog->txtSperre->isEnabled());
  ok();
  EXPECT_FALSE(Datei_vorhanden(pfad));
  EXPECT_TRUE(gSperrmeldung.isEmpty());
}

TEST_F(EinstellungenTest, SperreTraegtNameUndText) {
  auto& d = öffnen();
  thema(QStringLiteral("Programmaufruf sperren"));
  EXPECT_EQ(d.txtSperre->text(), QStringLiteral("Wegen Wartungsarbeiten Programmaufruf zurzeit nicht möglich"));
  EXPECT_FALSE(d.txtSperre->isEnabled());
  option(2);
  EXPECT_TRUE(d.txtSperre->isEnabled());
  d.txtSperre->setText(QStringLiteral("Inventur bis Montag"));
  ok();
  EXPECT_EQ(sperrdatei(), QStringLiteral("Inventur bis Montag|tester|Schulz Bernd"));
  EXPECT_EQ(gSperrmeldung, QStringLiteral("Inventur bis Montag"));
}

TEST_F(EinstellungenTest, ErklaerungstexteUndVeralteteSchulferien) {
  gFerientage = {QString(), QStringLiteral("2612:") + QString(31, u'0')};  // before January 2027
  auto& d = öffnen();
  const auto zeilen = [&] { return d.lblBeschriftung[2]->text().split(u'\n'); };
  thema(QStringLiteral("Privilegierte Benutzer"));
  EXPECT_EQ(zeilen().size(), 8);
  thema(QStringLiteral("Farbeinstellungen"));
  EXPECT_TRUE(d.lblBeschriftung[2]->text().isEmpty());
  EXPECT_FALSE(d.cmdAuswahl[1]->isHidden());
  thema(QStringLiteral("Schulferien kennzeichnen"));
  EXPECT_EQ(zeilen().size(), 6);
  EXPECT_EQ(zeilen()[3], QStringLiteral("Die Schulferiendaten sind nicht mehr aktuell. Eine aktualisierte"));
  EXPECT_FALSE(d.lblBeschriftung[2]->text().contains(QStringLiteral("www")));
  // The print topic without a day sum: three boxes, the legend in the third place.
  thema(QStringLiteral("Drucken"));
  EXPECT_TRUE(d.chkDrucker[3]->isHidden());
  EXPECT_EQ(d.chkDrucker[4]->y(), d.chkDrucker[3]->y());
  EXPECT_TRUE(d.lblBeschriftung[2]->text().endsWith(QStringLiteral("Legende der\nSchaltflächen ausdrucken.")));
  thema(QStringLiteral("Tagessummen anzeigen"));
  d.chkTaSum[1]->click();
  thema(QStringLiteral("Drucken"));
  EXPECT_FALSE(d.chkDrucker[3]->isHidden());
  EXPECT_TRUE(d.lblBeschriftung[2]->text().endsWith(
      QStringLiteral("Tagessum-\nmen und die Legende der Schaltflächen ausdrucken.")));
  // A second line for a long option; the options below move down.
  thema(QStringLiteral("Logbuch anzeigen"));
  EXPECT_EQ(d.lblOption[1]->text(), QStringLiteral("anzeigen"));
  EXPECT_EQ(d.optOption[3]->text(), QStringLiteral("Mitarbeiter können kein Logbuch anzeigen  (außer eigene Eintra-"));
  EXPECT_EQ(d.optOption[2]->y() - d.optOption[1]->y(), bildschirm::twipsZuPixel(720));
  EXPECT_EQ(d.txtLogbuch->text(), QStringLiteral("3"));
}

TEST_F(EinstellungenTest, NummernfelderNehmenNurZiffern) {
  auto& d = öffnen();
  thema(QStringLiteral("Schaltflächen-Anordnung ändern"));
  EXPECT_FALSE(d.cmdAuswahl[2]->isEnabled());
  QTest::keyClicks(d.txtSfNr[1], QStringLiteral("a2b"));
  EXPECT_EQ(d.txtSfNr[1]->text(), QStringLiteral("2"));
  EXPECT_FALSE(d.cmdAuswahl[2]->isEnabled());
  QTest::keyClicks(d.txtSfNr[2], QStringLiteral("4"));
  EXPECT_TRUE(d.cmdAuswahl[2]->isEnabled());
  EXPECT_FALSE(d.lblVorschau[6]->isHidden());
  EXPECT_EQ(d.txtVorschau[5]->text(), QStringLiteral("K"));
  EXPECT_TRUE(d.chkTaSum[1]->isHidden());
}

}  // namespace

// Pictures of the dialog for looking at it: VELKORA_BILDER names the folder.
TEST_F(EinstellungenTest, BilderDerThemen) {
  const QString ziel = qEnvironmentVariable("VELKORA_BILDER");
  if (ziel.isEmpty()) GTEST_SKIP() << "VELKORA_BILDER not set";
  gSettings[32] = u'1';
  gSettings[5] = u'1';
  for (int dpi : {96, 144}) {
    bildschirm::setzeDpi(dpi);
    gBenutzerstufe = 0;
    öffnen();
    dialog->grab().save(ziel + QStringLiteral("/mitarbeiter_%1.png").arg(dpi));
    gBenutzerstufe = 2;
    // 24 code buttons fill three rows of previews.
    while (Schaltflächen_Anzahl() < 25) {
      const qsizetype n = gSFTexte.size() - 1;
      gSFTexte.insert(n, QStringLiteral("Grund %1").arg(n));
      gSFKennbuchstaben.insert(n, QString(QChar(static_cast<char16_t>(u'a' + n))));
      gSFTextfarben.insert(n, 0);
      gSFHintergrundfarben.insert(n, static_cast<qint32>(0x80FF80 + 40 * n));
      gSFNurAdmins.insert(n, 0);
      gSFVerbergen.insert(n, 0);
    }
    öffnen();
    for (const char* t : {"Windows-Benutzername", "Privilegierte Benutzer", "Urlaubstage", "Urlaubsansprüche",
                          "Krankheitstage", "Tagessummen anzeigen", "Zeilen/Spalten hervorheben", "Logbuch anzeigen",
                          "Drucken", "Schaltflächen-Anordnung ändern", "Programmaufruf sperren", "Farbeinstellungen"}) {
      thema(QString::fromUtf8(t));
      QString name = QString::fromUtf8(t);
      name.replace(QRegularExpression(QStringLiteral("[^A-Za-z]")), QStringLiteral("_"));
      dialog->grab().save(ziel + QStringLiteral("/%1_%2.png").arg(name).arg(dpi));
    }
  }
}
