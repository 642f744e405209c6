#include "config/frmAnAbwesenheitsgruende.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <memory>
#include <vector>

#include "common/Planerordner.h"
#include "config/Schaltflaechen_speichern.h"
#include "launch/Wartungssperre.h"
#include "platform/Bildschirm.h"
#include "platform/Cp1252.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "store/Sicherung.h"
#include "store/Stammdatenstand.h"
#include "store/Velkoraini.h"

namespace {
using namespace planer;

const QString kDezember = QStringLiteral("2512 251215 Data.dat");

class KnopfeditorTest : public PlanerTest {
 protected:
  void SetUp() override {
    PlanerTest::SetUp();
    bildschirm::setzeDpi(96);
    gBenutzerstufe = 2;
    monatSchreiben(kDezember, {QStringLiteral("A:anna:") + tage(QStringLiteral("1234568")),
                               QStringLiteral("K:anna:02-04:Urlaub 2345"),
                               QStringLiteral("A:tester:") + tage(QStringLiteral(" 6 8 2"))});
    schreiben(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"),
              kodiert({QStringLiteral("[Mitarbeiterdaten]"), QStringLiteral("Velkora:0123456789AB"),
                       QStringLiteral("Meier Anna:anna:000000:999999:000,0:000,0:000,0:000,0:000,0:000,0")}));
    gKonfigdatenZeit = Dateizeit(gDatenordner + QStringLiteral("Konfigdaten.dat"));
    mMitarbeiter = dekodierteZeilen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
  }
  void TearDown() override {
    editor.reset();
    bildschirm::setzeDpi(0);
    PlanerTest::TearDown();
  }
  frmAnAbwesenheitsgruende& öffnen() {
    editor = std::make_unique<frmAnAbwesenheitsgruende>();
    editor->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    QCoreApplication::processEvents();
    return *editor;
  }
  void leeren(int r) {
    editor->txtBuchst[r]->clear();
    editor->txtCaption[r]->clear();
  }
  void füllen(int r, const QString& buchstabe, const QString& text) {
    editor->txtBuchst[r]->setText(buchstabe);
    editor->txtCaption[r]->setText(text);
  }
  void ok() { QTest::mouseClick(editor->cmdAuswahl[3], Qt::LeftButton); }
  QStringList dezember() const { return dekodierteZeilen(gDatenordner + kDezember); }
  QStringList monatszeilen(const QString& anna, const QString& tester) const {
    return {QStringLiteral("[2512]"),
            QStringLiteral("Velkora:0123456789AB"),
            QStringLiteral("NoEx:NoEx"),
            QStringLiteral("A:anna:") + tage(anna),
            QStringLiteral("K:anna:02-04:Urlaub 2345"),
            QStringLiteral("A:tester:") + tage(tester)};
  }
  QStringList sicherungen() const { return QDir(gSicherungsordner).entryList(QDir::Files); }
  QString letzteLogzeilen() const {
    QString alles;
    for (const QString& f : QDir(gLogordner).entryList(QDir::Files))
      alles += dekodierteZeilen(gLogordner + f).join(u'\n');
    return alles;
  }
  QStringList mMitarbeiter;
  std::unique_ptr<frmAnAbwesenheitsgruende> editor;
};

TEST_F(KnopfeditorTest, ZeigtDieGespeichertenSchaltflaechenUndLeereZeilenOhneLoeschschaltflaeche) {
  auto& e = öffnen();
  EXPECT_EQ(e.windowTitle(), QStringLiteral("Velkora - An-/Abwesenheitsgründe"));
  EXPECT_EQ(e.txtBuchst[5]->text(), QStringLiteral("K"));
  EXPECT_EQ(e.txtCaption[6]->text(), QStringLiteral("Sonstiges"));
  EXPECT_TRUE(e.chkPublic[5]->isChecked());
  EXPECT_EQ(e.Hintergrundfarbe[3], kZeitausgleich);
  for (int r = 7; r <= 24; ++r) {
    EXPECT_TRUE(e.txtBuchst[r]->text().isEmpty()) << r;
    EXPECT_FALSE(e.cmdFarbe[r]->isEnabled()) << r;
    EXPECT_FALSE(e.cmdFarbe[r + 24]->isEnabled()) << r;
    EXPECT_FALSE(e.chkPublic[r]->isEnabled()) << r;
  }
  // Rows 7 to 12 are empty and the second page too: no page switch.
  EXPECT_FALSE(e.cmdAuswahl[1]->isEnabled());
  // "void": no hide column, the window 900 twips narrower.
  EXPECT_TRUE(e.chkHide[1]->isHidden());
  EXPECT_TRUE(e.lblBeschriftung[11]->isHidden());
  EXPECT_EQ(e.width(), bildschirm::twipsZuPixel(9660 - 900 + e.Schaltflächenbreite + 360));
}

struct Umbaufall {
  const char* name;
  std::vector<int> leer;  // rows emptied
  std::vector<int> neu;   // rows filled with a new button
  int knöpfe;             // buttons afterwards
  const char* anna;       // December codes afterwards
  const char* tester;
  const char* buchstaben;  // letters afterwards
};

TEST_F(KnopfeditorTest, SpeichernBildetJedeMonatsdateiUmUndSchreibtDieNeueTabelle) {
  const Umbaufall fälle[] = {
      {"button 2 deleted", {2}, {}, 5, "1 23457", " 5 7 ", "U, Z, D, K, S"},
      {"a seventh added", {}, {7}, 7, "1234569", " 6 9 2", "U, ½, Z, D, K, S, N"},
      {"2 deleted, one added in row 9", {2}, {9}, 6, "1 23458", " 5 8 ", "U, Z, D, K, S, N"},
      {"2 and 4 deleted", {2, 4}, {}, 4, "1 2 346", " 4 6 ", "U, Z, K, S"},
  };
  const QByteArray konfig = lesen(gDatenordner + QStringLiteral("Konfigdaten.dat"));
  const QByteArray märz = lesen(gDatenordner + QStringLiteral("2603 260310 Data.dat"));
  for (const Umbaufall& f : fälle) {
    SCOPED_TRACE(f.name);
    // Every case starts from the same folder and table.
    monatSchreiben(kDezember, {QStringLiteral("A:anna:") + tage(QStringLiteral("1234568")),
                               QStringLiteral("K:anna:02-04:Urlaub 2345"),
                               QStringLiteral("A:tester:") + tage(QStringLiteral(" 6 8 2"))});
    schreiben(gDatenordner + QStringLiteral("Konfigdaten.dat"), konfig);
    schreiben(gDatenordner + QStringLiteral("2603 260310 Data.dat"), märz);
    Konfigdaten_lesen();
    skript = &dialoge::skript();
    for (int i = 0; i < 4; ++i) skript->antworte(dialoge::kJa);

    öffnen();
    for (int r : f.leer) leeren(r);
    for (int r : f.neu) füllen(r, QStringLiteral("N"), QStringLiteral("Neu"));
    ok();
    EXPECT_FALSE(editor->isVisible());

    EXPECT_EQ(dezember(), monatszeilen(QString::fromUtf8(f.anna), QString::fromUtf8(f.tester)));
    EXPECT_EQ(Schaltflächen_Anzahl(), f.knöpfe + 1);
    EXPECT_EQ(gSFTexte.last(), QStringLiteral("Löschen"));
    EXPECT_EQ(gSFTextfarben.size(), gSFTexte.size());
    EXPECT_EQ(gSFVerbergen.size(), gSFTexte.size());
    // The table on disk is the one in memory.
    const QStringList konfigzeilen = dekodierteZeilen(gDatenordner + QStringLiteral("Konfigdaten.dat"));
    EXPECT_EQ(konfigzeilen.filter(QStringLiteral(":Löschen")).size(), 1);
    EXPECT_TRUE(letzteLogzeilen().contains(QStringLiteral("Schaltflächen geändert: %1 Schaltflächen: ").arg(f.knöpfe) +
                                           QString::fromUtf8(f.buchstaben)));
    // Other data files are written back as they were; no remap file and no lock left.
    EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")), mMitarbeiter);
    EXPECT_FALSE(Datei_vorhanden(gSicherungsordner + QStringLiteral("000000 000000 I.dat")));
    EXPECT_FALSE(Datei_vorhanden(gDatenordner + QStringLiteral("Lockfile.txt")));
    EXPECT_TRUE(QDir(gDatenordner).entryList({QStringLiteral("*.vklock")}, QDir::Files | QDir::Hidden).isEmpty());
    editor.reset();
  }
}

TEST_F(KnopfeditorTest, GeloeschteUndHinzugefuegteSchaltflaechenWerdenProtokolliert) {
  skript->antworte(dialoge::kJa);
  öffnen();
  leeren(2);
  füllen(9, QStringLiteral("N"), QStringLiteral("Neu"));
  ok();
  const QString log = letzteLogzeilen();
  EXPECT_TRUE(log.contains(QStringLiteral("Schaltfläche gelöscht: Nr. 2: ½ - ½ Urlaub")));
  EXPECT_TRUE(log.contains(QStringLiteral("Schaltfläche hinzugefügt: Nr. 9: N - Neu")));
  // The question named the button and its records.
  ASSERT_FALSE(skript->protokoll.empty());
  EXPECT_TRUE(skript->protokoll[0].text.startsWith(
      QStringLiteral("Zur Schaltfläche '½ - ½ Urlaub' sind An-/Abwesenheitsdaten vorhanden. Ein Löschen")));
  EXPECT_EQ(skript->protokoll[0].art, dialoge::Art::JaNein);
  EXPECT_EQ(sicherungen().filter(QStringLiteral(" A.dat")).size(), 1);
}

TEST_F(KnopfeditorTest, UnveraenderteZeilenSchreibenNichtsUndFarbenAlleinBrauchenKeinUmbilden) {
  const QByteArray konfig = lesen(gDatenordner + QStringLiteral("Konfigdaten.dat"));
  öffnen();
  ok();
  EXPECT_TRUE(sicherungen().isEmpty());
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Konfigdaten.dat")), konfig);
  EXPECT_TRUE(letzteLogzeilen().isEmpty());

  const QDateTime dezemberZeit = Dateizeit(gDatenordner + kDezember);
  skript->antworte(dialoge::kOK, QStringLiteral("#000000"));  // background 0
  öffnen();
  QTest::mouseClick(editor->cmdFarbe[24 + 3], Qt::LeftButton);
  EXPECT_EQ(editor->Hintergrundfarbe[3], 0);
  ok();
  EXPECT_EQ(sicherungen().filter(QStringLiteral(" A.dat")).size(), 1);
  EXPECT_EQ(Dateizeit(gDatenordner + kDezember), dezemberZeit);
  EXPECT_EQ(gSFHintergrundfarben[3], 1);  // a background of 0 is stored as 1
  EXPECT_TRUE(dekodierteZeilen(gDatenordner + QStringLiteral("Konfigdaten.dat"))
                  .contains(QStringLiteral("&H000000:&H000001:0:Z:Zeitausgleich")));
}

TEST_F(KnopfeditorTest, AbgebrocheneFarbwahlBehaeltDieFarbe) {
  öffnen();
  QTest::mouseClick(editor->cmdFarbe[1], Qt::LeftButton);  // the script cancels
  EXPECT_EQ(skript->protokoll.back().art, dialoge::Art::Farbe);
  EXPECT_EQ(skript->protokoll.back().vorgabe, QStringLiteral("#000000"));
  EXPECT_EQ(editor->Textfarbe[1], 0);
}

struct Prüffall {
  const char* name;
  std::function<void(frmAnAbwesenheitsgruende&)> ändern;
  const char16_t* meldung;
  std::function<QWidget*(frmAnAbwesenheitsgruende&)> fokus;
};

TEST_F(KnopfeditorTest, PruefungLehntMitIhrenMeldungenUndFokusAb) {
  const Prüffall fälle[] = {
      {"colon in a letter", [](auto& e) { e.txtBuchst[3]->setText(":"); }, u"Unzulässiges Sonderzeichen enthalten",
       [](auto& e) { return e.txtBuchst[3]; }},
      {"hash in a letter", [](auto& e) { e.txtBuchst[4]->setText("#"); }, u"Unzulässiges Sonderzeichen enthalten",
       [](auto& e) { return e.txtBuchst[4]; }},
      {"letter outside Windows-1252", [](auto& e) { e.txtBuchst[4]->setText(QString(QChar(0x20AC + 1))); },
       u"Unzulässiges Sonderzeichen enthalten", [](auto& e) { return e.txtBuchst[4]; }},
      {"ampersand in a caption", [](auto& e) { e.txtCaption[2]->setText("A&B"); },
       u"Unzulässiges Sonderzeichen enthalten", [](auto& e) { return e.txtCaption[2]; }},
      {"caption outside Windows-1252", [](auto& e) { e.txtCaption[2]->setText(QStringLiteral("Reise ✈")); },
       u"Unzulässiges Sonderzeichen enthalten", [](auto& e) { return e.txtCaption[2]; }},
      {"caption missing", [](auto& e) { e.txtBuchst[7]->setText("X"); }, u"Schaltflächenbeschriftung fehlt",
       [](auto& e) { return e.txtCaption[7]; }},
      {"letter missing", [](auto& e) { e.txtCaption[7]->setText("Extra"); }, u"Kennbuchstabe fehlt",
       [](auto& e) { return e.txtBuchst[7]; }},
      {"same letter, same background",
       [](auto& e) {
         e.txtBuchst[7]->setText("D");
         e.txtCaption[7]->setText("Dienstgang");
         e.Hintergrundfarbe[7] = kDienstreise;
       },
       u"Kennbuchstabe 'D' bei gleicher Hintergrundfarbe doppelt vorhanden (Schaltfläche 4 und Schaltfläche 7)",
       [](auto& e) { return e.txtBuchst[4]; }},
      {"vacation letter twice",
       [](auto& e) {
         e.txtBuchst[7]->setText("U");
         e.txtCaption[7]->setText("Urlaub 2");
         e.Hintergrundfarbe[7] = 0x123456;
       },
       u"Kennbuchstabe 'U' darf nicht doppelt vorhanden sein, wenn er unter 'Bearbeiten - Einstellungen - "
       u"Urlaubstage' als Kennbuchstabe für Urlaubstage verwendet wird",
       [](auto& e) { return e.txtBuchst[1]; }},
      {"sick-day letter twice",
       [](auto& e) {
         SetSetting(5, 1);
         e.txtBuchst[7]->setText("K");
         e.txtCaption[7]->setText("Kind krank");
         e.Hintergrundfarbe[7] = 0x123456;
         e.chkPublic[7]->setChecked(true);
       },
       u"Kennbuchstabe 'K' darf nicht doppelt vorhanden sein, wenn er unter 'Bearbeiten - Einstellungen - "
       u"Krankheitstage' als Kennbuchstabe für Krankheitstage verwendet wird",
       [](auto& e) { return e.txtBuchst[5]; }},
  };
  for (const Prüffall& f : fälle) {
    SCOPED_TRACE(f.name);
    skript = &dialoge::skript();
    auto& e = öffnen();
    f.ändern(e);
    ok();
    ASSERT_EQ(skript->texte().size(), 1u);
    EXPECT_EQ(skript->texte()[0], QString::fromUtf16(f.meldung));
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), f.fokus(e));
    editor.reset();
    SetSetting(5, 0);
  }
  EXPECT_TRUE(sicherungen().isEmpty());
}

TEST_F(KnopfeditorTest, BuchstabenUnterscheidenGrossKleinUndUrlaubsbuchstabeDarfSichNurFuerAdministratorenWiederholen) {
  auto& e = öffnen();
  füllen(7, QStringLiteral("u"), QStringLiteral("unbezahlt"));
  e.Hintergrundfarbe[7] = kUrlaub;
  füllen(8, QStringLiteral("U"), QStringLiteral("Urlaub Leitung"));
  e.chkPublic[8]->setChecked(true);
  EXPECT_TRUE(Plausibilitätsprüfung(e));
  EXPECT_TRUE(skript->texte().empty());
}

TEST_F(KnopfeditorTest, NeinAufDieLoeschfrageSetztDieZeileZurueck) {
  auto& e = öffnen();
  leeren(1);
  ok();  // the script answers No
  ASSERT_EQ(skript->texte().size(), 1u);
  EXPECT_TRUE(skript->texte()[0].endsWith(QStringLiteral("wirklich löschen?")));
  EXPECT_EQ(e.txtBuchst[1]->text(), QStringLiteral("U"));
  EXPECT_EQ(e.txtCaption[1]->text(), QStringLiteral("Urlaub"));
  EXPECT_EQ(QApplication::focusWidget(), e.txtBuchst[1]);
  EXPECT_TRUE(e.isVisible());

  // A change of both letter and caption is asked about too; a change of one is not.
  e.txtBuchst[3]->setText("Y");
  e.txtCaption[3]->setText("Ausgleich");
  skript->antworte(dialoge::kJa);
  EXPECT_TRUE(Plausibilitätsprüfung(e));
  EXPECT_TRUE(skript->texte().back().endsWith(QStringLiteral(
      "\r\rMöchten Sie wirklich gleichzeitig Kennbuchstabe und Beschriftung dieser Schaltfläche ändern?")));
  const size_t vorher = skript->texte().size();
  e.txtBuchst[3]->setText("Z");
  EXPECT_TRUE(Plausibilitätsprüfung(e));
  EXPECT_EQ(skript->texte().size(), vorher);
}

TEST_F(KnopfeditorTest, KeineSchaltflaecheUebrigWirdNachDenFragenAbgelehnt) {
  auto& e = öffnen();
  for (int i = 0; i < 6; ++i) skript->antworte(dialoge::kJa);
  for (int r = 1; r <= 6; ++r) leeren(r);
  ok();
  EXPECT_EQ(skript->texte().back(), QStringLiteral("Es muss mindestens eine Schaltfläche vorhanden sein"));
  EXPECT_TRUE(e.isVisible());
  EXPECT_EQ(Schaltflächen_Anzahl(), 7);
}

TEST_F(KnopfeditorTest, MisslungenesBackupOderWiederherstellenLaesstDateienUndTabelleWieSieWaren) {
  const QByteArray konfig = lesen(gDatenordner + QStringLiteral("Konfigdaten.dat"));
  const QByteArray dez = lesen(gDatenordner + kDezember);
  const QStringList texte = gSFTexte;

  QDir(gSicherungsordner).removeRecursively();
  skript->antworte(dialoge::kJa);
  öffnen();
  leeren(2);
  ok();
  EXPECT_EQ(skript->texte().back(),
            QStringLiteral("Ändern der An-/Abwesenheitsgründe nicht möglich. Backup vor Ändern der "
                           "An-/Abwesenheitsgründe konnte nicht erstellt werden."));
  EXPECT_TRUE(letzteLogzeilen().contains(
      QStringLiteral("Backup vor Ändern der An-/Abwesenheitsgründe konnte nicht erstellt werden")));
  EXPECT_EQ(gSFTexte, texte);
  EXPECT_EQ(lesen(gDatenordner + kDezember), dez);
  EXPECT_FALSE(Datei_vorhanden(gDatenordner + QStringLiteral("Lockfile.txt")));

  gSicherungsordner = unterordner(QStringLiteral("Data/Backups"));
  gKnopfRestore = [](const QString&, const QString&) { return false; };
  skript = &dialoge::skript();
  skript->antworte(dialoge::kJa);
  öffnen();
  leeren(2);
  ok();
  EXPECT_TRUE(skript->texte().back().startsWith(
      QStringLiteral("Ändern der An-/Abwesenheitsgründe nicht möglich. Fehler beim Wiederherstellen der Datei ")));
  EXPECT_TRUE(skript->texte().back().endsWith(QStringLiteral(". Möglicherweise besteht ein inkonsistenter Zustand.")));
  EXPECT_EQ(gSFTexte, texte);
  for (qsizetype n : {gSFTextfarben.size(), gSFHintergrundfarben.size(), gSFNurAdmins.size(), gSFKennbuchstaben.size(),
                      gSFVerbergen.size()})
    EXPECT_EQ(n, gSFTexte.size());
  EXPECT_EQ(lesen(gDatenordner + kDezember), dez);
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Konfigdaten.dat")), konfig);
  EXPECT_TRUE(Datei_vorhanden(gSicherungsordner + QStringLiteral("000000 000000 I.dat")));
}

TEST_F(KnopfeditorTest, AnderswoSeitDemLesenGeschriebeneKonfigurationWirdNichtUeberschrieben) {
  const QByteArray dez = lesen(gDatenordner + kDezember);
  öffnen();
  leeren(2);
  skript->antworte(dialoge::kJa);
  // Another workstation writes the configuration while the editor is open.
  QStringList fremd = Konfigzeilen();
  fremd[5] = QStringLiteral("Andere Firma");
  schreiben(gDatenordner + QStringLiteral("Konfigdaten.dat"), kodiert(fremd));
  QFile(gDatenordner + QStringLiteral("Konfigdaten.dat"))
      .setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
  ok();
  EXPECT_EQ(skript->texte().back(), QString::fromUtf16(kStammdatenGeändert));
  EXPECT_EQ(lesen(gDatenordner + kDezember), dez);
  EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("Konfigdaten.dat")), fremd);
  EXPECT_TRUE(sicherungen().isEmpty());
}

TEST_F(KnopfeditorTest, SchaltflaechenbreiteAutomatischUndInSchritten) {
  auto& e = öffnen();
  e.textmessung = [](const QString& t) { return t == u"Zeitausgleich" ? 1700 : 600; };
  e.SFBreiteCode = QStringLiteral("0");
  QTest::keyClick(&e, Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(e.Schaltflächenbreite, 1960);
  EXPECT_EQ(e.SFBreiteCode, QStringLiteral("0"));
  QTest::keyClick(&e, Qt::Key_Plus, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(e.Schaltflächenbreite, 1990);
  EXPECT_EQ(e.SFBreiteCode, QStringLiteral("7"));
  EXPECT_EQ(e.cmdVorschau[1]->width(), bildschirm::twipsZuPixel(1990));
  for (int i = 0; i < 30; ++i) QTest::keyClick(&e, Qt::Key_Plus, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(e.Schaltflächenbreite, 2370);
  EXPECT_EQ(e.SFBreiteCode, QStringLiteral("K"));
  for (int i = 0; i < 30; ++i)
    QTest::keyClick(&e, Qt::Key_Minus, Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier);
  EXPECT_EQ(e.Schaltflächenbreite, 1800);
  EXPECT_EQ(e.SFBreiteCode, QStringLiteral("1"));

  // The width alone is a change: saved with its code, the user's own width follows.
  ok();
  EXPECT_EQ(SettingStr(48, 1), QStringLiteral("1"));
  EXPECT_EQ(gSFBreite, 1800);
  EXPECT_EQ(gBenutzerwerte[36], 1);
  EXPECT_EQ(gBenutzerwerte[37], 1800);
}

TEST_F(KnopfeditorTest, SeitenwechselPrueftZuerstUndTauschtDieSeiten) {
  auto& e = öffnen();
  for (int r = 7; r <= 12; ++r) füllen(r, QString(QChar(u'a' + r)), QStringLiteral("Grund %1").arg(r));
  EXPECT_TRUE(e.cmdAuswahl[1]->isEnabled());
  e.txtCaption[12]->setText(QStringLiteral("A:B"));
  QTest::mouseClick(e.cmdAuswahl[1], Qt::LeftButton);
  EXPECT_TRUE(e.ersteSeiteSichtbar());
  e.txtCaption[12]->setText(QStringLiteral("Grund 12"));
  QTest::mouseClick(e.cmdAuswahl[1], Qt::LeftButton);
  EXPECT_FALSE(e.ersteSeiteSichtbar());
  EXPECT_TRUE(e.txtBuchst[1]->isHidden());
  EXPECT_FALSE(e.txtBuchst[13]->isHidden());
  EXPECT_EQ(e.cmdAuswahl[1]->text(), QStringLiteral("<< Zurück"));
  // Emptying a row of the first page keeps the way back while the second page is empty.
  füllen(13, QStringLiteral("Q"), QStringLiteral("Dreizehn"));
  leeren(12);
  EXPECT_TRUE(e.cmdAuswahl[1]->isEnabled());
  leeren(13);
  EXPECT_FALSE(e.cmdAuswahl[1]->isEnabled());
}

TEST_F(KnopfeditorTest, PaarAufDerVerborgenenSeiteWirdGezeigtBevorDerFokusDorthinGeht) {
  auto& e = öffnen();
  for (int r = 7; r <= 14; ++r) füllen(r, QString(QChar(u'a' + r)), QStringLiteral("Grund %1").arg(r));
  QTest::mouseClick(e.cmdAuswahl[1], Qt::LeftButton);
  ASSERT_FALSE(e.ersteSeiteSichtbar());
  // Settings changed since: letter "a" of rows 13 and 14 now counts as vacation.
  füllen(13, QStringLiteral("V"), QStringLiteral("Urlaub A"));
  füllen(14, QStringLiteral("V"), QStringLiteral("Urlaub B"));
  e.Hintergrundfarbe[14] = 0x111111;
  QTest::mouseClick(e.cmdAuswahl[1], Qt::LeftButton);  // back to the first page
  ASSERT_TRUE(e.ersteSeiteSichtbar());
  gSettings[19] = u'V';
  EXPECT_FALSE(Plausibilitätsprüfung(e));
  EXPECT_FALSE(e.ersteSeiteSichtbar());
  EXPECT_EQ(QApplication::focusWidget(), e.txtBuchst[13]);
}

TEST_F(KnopfeditorTest, LeerenEinerZeileLoeschtUndSperrtIhreSchalter) {
  auto& e = öffnen();
  ASSERT_TRUE(e.chkPublic[5]->isChecked());
  leeren(5);
  EXPECT_FALSE(e.chkPublic[5]->isChecked());
  EXPECT_FALSE(e.chkPublic[5]->isEnabled());
  EXPECT_FALSE(e.cmdFarbe[5]->isEnabled());
}

TEST_F(KnopfeditorTest, VerbergenspalteWennDieFunktionEingerichtetIst) {
  gSFVerbergenText = QStringLiteral("0000100");
  auto& e = öffnen();
  EXPECT_FALSE(e.chkHide[1]->isHidden());
  EXPECT_TRUE(e.chkHide[5]->isChecked());
  EXPECT_EQ(e.width(), bildschirm::twipsZuPixel(9660 + e.Schaltflächenbreite + 360));
  e.chkHide[2]->setChecked(true);
  ok();
  EXPECT_EQ(gSFVerbergenText, QStringLiteral("0100100"));
}

// Another workstation appends to March while the buttons are saved: its saves wait
// for the month lock and none of its lines is lost by the restore of the remapped copy.
TEST_F(KnopfeditorTest, SpeicherungenEinesAnderenArbeitsplatzesWaehrendDesUmbildensBleiben) {
  // Enough saves that the other workstation is still at it when this save is done,
  // also on a busy machine.
  constexpr int kSpeicherungen = 15000;
  // The month locks are waited for in real time, as the other workstation holds them.
  echteWartezeiten();
  QProcess p;
  p.setProgram(QStringLiteral(VELKORA_BIN_DIR) + QStringLiteral("/velkora_monatsdatei_helfer"));
  p.setArguments({gDatenordner, QStringLiteral("anhaengen"), QStringLiteral("0"), QStringLiteral("1"),
                  QString::number(kSpeicherungen), QStringLiteral("260310")});
  const QString märz = gDatenordner + QStringLiteral("2603 260310 Data.dat");
  const int anfang = static_cast<int>(dekodierteZeilen(märz).size());
  p.start();
  ASSERT_TRUE(p.waitForStarted(10000));
  // The save begins while the other workstation is under way.
  for (int i = 0; i < 2000 && dekodierteZeilen(märz).size() < anfang + 20; ++i) QThread::msleep(5);
  öffnen();
  füllen(7, QStringLiteral("N"), QStringLiteral("Neu"));  // "8" becomes "9"; the other's codes keep their meaning
  ok();
  const bool nochDabei = p.state() != QProcess::NotRunning;
  // The other workstation was still saving when the save was done.
  EXPECT_TRUE(nochDabei);
  if (nochDabei) {
    ASSERT_TRUE(p.waitForFinished(120000));
  }
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
  EXPECT_EQ(Schaltflächen_Anzahl(), 8) << skript->texte().size()
                                       << (skript->texte().empty() ? "" : qPrintable(skript->texte()[0]));

  const QStringList zeilen = dekodierteZeilen(märz);
  for (int j = 0; j < kSpeicherungen; ++j) {
    QString codes = QStringLiteral("1");
    for (int v = j; v > 0; v /= 5) codes += QChar(u'1' + v % 5);
    EXPECT_TRUE(zeilen.contains(QStringLiteral("A:w0u%1:").arg(j % 5) + codes.leftJustified(31, u' '))) << "save " << j;
  }
  // The fixture's own entries were remapped: anna's marks "8" are now "9".
  EXPECT_TRUE(zeilen.contains(QStringLiteral("A:ANNA:") +
                              Codes({{2, '1'}, {3, '3'}, {4, '5'}, {5, '9'}, {12, '1'}, {19, '9'}, {26, '1'}})));
}

TEST_F(KnopfeditorTest, ProgrammsperreHaeltAndereVomBackupBisZumWiederherstellenAbUndEigeneSperreBleibt) {
  const QString sperrdatei = gDatenordner + QStringLiteral("Lockfile.txt");
  QString währenddessen;
  gKnopfRestore = [&](const QString& sicherung, const QString& filter) {
    währenddessen = cp1252::dekodieren(lesen(sperrdatei)).trimmed();
    return Restore_aus_Backupdatei(sicherung, filter);
  };
  skript->antworte(dialoge::kJa);
  öffnen();
  leeren(2);
  ok();
  EXPECT_EQ(währenddessen, QString::fromUtf16(kWartungssperre) + QStringLiteral("|tester|Schulz Bernd"));
  EXPECT_FALSE(Datei_vorhanden(sperrdatei));

  // A lock this administrator set himself is neither replaced nor removed.
  schreiben(sperrdatei, "Umzug|tester\r\n");
  skript->antworte(dialoge::kJa);
  öffnen();
  leeren(3);
  ok();
  EXPECT_EQ(währenddessen, QStringLiteral("Umzug|tester"));
  EXPECT_EQ(lesen(sperrdatei), QByteArray("Umzug|tester\r\n"));
}

// "&Hilfe ..." and F1 open the help over the editor, on either page.
TEST_F(KnopfeditorTest, HilfeknopfUndF1OeffnenDieHilfeUeberDemEditor) {
  std::vector<QString> aufrufer;
  frmAnAbwesenheitsgruende::hilfe = [&](QWidget* w) { aufrufer.push_back(w->objectName()); };
  auto& e = öffnen();
  ASSERT_TRUE(e.cmdAuswahl[2]->isEnabled());
  QTest::mouseClick(e.cmdAuswahl[2], Qt::LeftButton);
  e.txtCaption[3]->setFocus();
  QTest::keyClick(e.txtCaption[3], Qt::Key_F1);
  e.Switch_Schaltfläche();
  QTest::keyClick(&e, Qt::Key_F1);
  frmAnAbwesenheitsgruende::hilfe = nullptr;
  EXPECT_EQ(aufrufer, std::vector<QString>(3, QStringLiteral("frmAnAbwesenheitsgruende")));
  EXPECT_TRUE(e.isVisible());
}

TEST_F(KnopfeditorTest, Bildschirmfotos) {
  gSFVerbergenText = QStringLiteral("0000100");
  for (int breite : {1800, 2370}) {
    auto& e = öffnen();
    int s = breite - e.Schaltflächenbreite;
    e.SFBreite_aktualisieren(s);
    const QImage bild = e.grab().toImage();
    ASSERT_FALSE(bild.isNull());
    const QString name = QStringLiteral("AnAbwesenheitsgruende_%1.png").arg(breite);
    EXPECT_TRUE(bild.save(ordner() + name));
    const QString ziel = qEnvironmentVariable("VELKORA_BILDER");
    if (!ziel.isEmpty()) bild.save(QDir(ziel).filePath(name));
  }
}

}  // namespace
