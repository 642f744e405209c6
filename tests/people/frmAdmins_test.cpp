// The administrator and privileged-user lists: the real dialog over a configuration
// file in a temporary data folder, driven by keys, with scripted prompts.
#include "people/frmAdmins.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QThread>
#include <functional>

#include "common/Anzeige.h"
#include "common/Testnamen.h"
#include "people/Tasteneingabe.h"
#include "platform/Cp1252.h"
#include "platform/Raster.h"
#include "store/Feiertage.h"
#include "store/Stammdatenstand.h"

namespace {
using namespace anzeige;

const QString kEigenerName = QStringLiteral(
    "Änderungen können nicht gespeichert werden. Ihren eigenen Windows-Benutzernamen 'tester' können Sie nicht aus der "
    "Liste der Administratoren löschen.");
const QString kSonderzeichen = QString::fromUtf16(cp1252::kUnzulässigesSonderzeichen);

void zeile(frmAdmins& d, int k, const QString& name, const QString& benutzer) {
  eingeben(d.txtName[k], name);
  eingeben(d.txtBenutzerID[k], benutzer);
}
void ok(frmAdmins& d) { QTest::mouseClick(d.cmdAuswahl[2], Qt::LeftButton); }

class AdminlistenTest : public AnzeigeTest {
 protected:
  void TearDown() override {
    dialog.reset();
    AnzeigeTest::TearDown();
  }
  // The fixture's configuration with this administrator section and settings
  // positions 16 and 11, as a start reads it.
  void konfiguration(const QStringList& abschnitt, int stelle16, int stelle11) {
    QStringList z = planer::Konfigzeilen();
    z = z.mid(0, z.indexOf(QStringLiteral("[Administratoren]")) + 1) + abschnitt;
    QString settings = z[7];
    settings[15] = QChar(u'0' + stelle16);
    settings[10] = QChar(u'0' + stelle11);
    z[7] = settings;
    schreiben(konfigpfad(), kodiert(z));
    Konfigdaten_lesen();
    vorher = lesen(konfigpfad());
  }
  frmAdmins& öffnen(const QString& modus) {
    tag = modus;
    dialog = std::make_unique<frmAdmins>(tag);
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    return *dialog;
  }
  // The administrator section of the file as stored now.
  static QStringList abschnitt() {
    const QStringList z = dekodierteZeilen(konfigpfad());
    return z.mid(z.indexOf(QStringLiteral("[Administratoren]")) + 1);
  }
  static QStringList zeilen(const frmAdmins& d) {
    QStringList r;
    for (int k = 1; k <= frmAdmins::kZeilen; ++k) r << d.txtName[k]->text() + u'|' + d.txtBenutzerID[k]->text();
    return r;
  }
  QStringList meldungen() const {
    const std::vector<QString> t = skript->texte();
    return QStringList(t.begin(), t.end());
  }

  QString tag;
  QByteArray vorher;  // the file as the fixture wrote it
  std::unique_ptr<frmAdmins> dialog;
};

const QStringList kZweiAdmins = {QStringLiteral("A:Chef Carl:carl"), QStringLiteral("A:Schulz Bernd:tester")};

// One opening of the dialog: the stored list, what is typed, what OK gives.
struct Fall {
  const char* name;
  QStringList gespeichert;  // the administrator section before
  int stelle16, stelle11;
  const char* modus;
  bool schalter;  // the administrator-override switch
  std::function<void(frmAdmins&)> bedienen;
  QStringList meldungen;
  // The section after OK; empty when the file must stay as it was (and the dialog
  // closed exactly when no message came).
  QStringList danach;
  int neu16, neu11;
};

void PrintTo(const Fall& f, std::ostream* os) { *os << f.name; }

const Fall kFälle[] = {
    {"KeineAdminsOhneSchalterVerweigertOk",
     {QStringLiteral("NoAdmins")},
     0,
     0,
     "A",
     false,
     {},
     {kEigenerName},
     {},
     0,
     0},
    {"KeineAdminsMitSchalterSchreibtNichts", {QStringLiteral("NoAdmins")}, 0, 0, "A", true, {}, {}, {}, 0, 0},
    {"ErgaenzteZeileOhneBenutzernameWirdVerweigert",
     {QStringLiteral("A:<Name Vorname>:")},
     1,
     0,
     "A",
     false,
     {},
     {QStringLiteral("Bitte Windows-Benutzername eingeben")},
     {},
     1,
     0},
    {"ErgaenzteListeOhneLeereZeileWirdGespeichert",
     {QStringLiteral("A:<Name Vorname>:")},
     1,
     0,
     "A",
     false,
     [](frmAdmins& d) { eingeben(d.txtName[1], QString()); },
     {},
     {QStringLiteral("A:<Name Vorname>:tester")},
     0,
     0},
    {"AlleBenutzerInZeile1LeertPrivilegierte",
     kZweiAdmins + QStringList{QStringLiteral("P:Meier Anna:anna")},
     0,
     1,
     "A",
     false,
     [](frmAdmins& d) { zeile(d, 1, QStringLiteral("*"), QStringLiteral("*")); },
     {},
     {QStringLiteral("A:*:*"), QStringLiteral("A:Schulz Bernd:tester")},
     1,
     0},
    {"AlleBenutzerInZeile2UnterGeleerterZeile1",
     {QStringLiteral("A:Chef Carl:carl")},
     0,
     1,
     "A",
     false,
     [](frmAdmins& d) {
       zeile(d, 1, QString(), QString());
       zeile(d, 2, QStringLiteral("*"), QStringLiteral("*"));
     },
     {},
     {QStringLiteral("A:*:*")},
     1,
     0},
    {"EigeneZeileEntfernenWirdVerweigert",
     kZweiAdmins,
     0,
     0,
     "A",
     false,
     [](frmAdmins& d) { zeile(d, 2, QString(), QString()); },
     {kEigenerName},
     {},
     0,
     0},
    {"ModusPBrauchtDenEigenenNamenNichtUndSetztStelle16Zurueck",
     {QStringLiteral("A:Chef Carl:carl"), QStringLiteral("A:Schulz Bernd:tester"), QStringLiteral("P:Meier Anna:anna")},
     1,
     1,
     "P",
     false,
     [](frmAdmins& d) { zeile(d, 1, QStringLiteral("Kurz Carla"), QStringLiteral("carla")); },
     {},
     {QStringLiteral("A:Chef Carl:carl"), QStringLiteral("A:Schulz Bernd:tester"),
      QStringLiteral("P:Kurz Carla:carla")},
     0,
     1},
    {"ModusPUnterAlleBenutzerSpeichertKeinePrivilegierten",
     {QStringLiteral("A:*:*"), QStringLiteral("P:Meier Anna:anna")},
     1,
     1,
     "P",
     false,
     [](frmAdmins& d) { zeile(d, 2, QStringLiteral("Kurz Carla"), QStringLiteral("carla")); },
     {},
     {QStringLiteral("A:*:*")},
     1,
     0},
    {"BenutzernameInAndererSchreibweiseIstDoppelt",
     kZweiAdmins,
     0,
     0,
     "A",
     false,
     [](frmAdmins& d) { zeile(d, 3, QStringLiteral("Carl Zwei"), QStringLiteral("CARL")); },
     {QStringLiteral("Benutzername 'carl' ist doppelt vorhanden")},
     {},
     0,
     0},
    {"DoppelpunktImNamen",
     kZweiAdmins,
     0,
     0,
     "A",
     false,
     [](frmAdmins& d) { zeile(d, 3, QStringLiteral("Carl:Zwei"), QStringLiteral("carl2")); },
     {kSonderzeichen},
     {},
     0,
     0},
    {"DoppelpunktImBenutzernamen",
     kZweiAdmins,
     0,
     0,
     "A",
     false,
     [](frmAdmins& d) { zeile(d, 3, QStringLiteral("Carl Zwei"), QStringLiteral("carl:2")); },
     {kSonderzeichen},
     {},
     0,
     0},
    {"ZeichenAusserhalbWindows1252",
     kZweiAdmins,
     0,
     0,
     "A",
     false,
     [](frmAdmins& d) {
       zeile(d, 3, QStringLiteral("Nowak Lukasz"), QStringLiteral("lukasz"));
       d.txtName[3]->setText(QStringLiteral("Nowak Łukasz"));  // pasted
     },
     {kSonderzeichen},
     {},
     0,
     0},
    {"SteuerzeichenImBenutzernamen",
     kZweiAdmins,
     0,
     0,
     "A",
     false,
     [](frmAdmins& d) {
       zeile(d, 3, QStringLiteral("Carl Zwei"), QString());
       d.txtBenutzerID[3]->setText(QStringLiteral("carl\u00012"));  // pasted
     },
     {kSonderzeichen},
     {},
     0,
     0},
    {"LeerzeichenAmRandWerdenEntfernt",
     kZweiAdmins,
     0,
     0,
     "A",
     false,
     [](frmAdmins& d) {
       zeile(d, 3, QStringLiteral("  Kurz Carla "), QStringLiteral(" carla  "));
       EXPECT_EQ(d.txtName[3]->text(), u"Kurz Carla");
       EXPECT_EQ(d.txtBenutzerID[3]->text(), u"carla");
     },
     {},
     kZweiAdmins + QStringList{QStringLiteral("A:Kurz Carla:carla")},
     0,
     0},
    {"OkOhneAenderungSchreibtNichts", kZweiAdmins, 0, 1, "A", false, {}, {}, {}, 0, 1},
};

class Adminliste : public AdminlistenTest, public ::testing::WithParamInterface<Fall> {};

TEST_P(Adminliste, OkGibtMeldungUndKonfiguration) {
  const Fall& f = GetParam();
  konfiguration(f.gespeichert, f.stelle16, f.stelle11);
  gAdministratorSchalter = f.schalter;
  frmAdmins& d = öffnen(QString::fromLatin1(f.modus));
  if (f.bedienen) f.bedienen(d);
  ok(d);
  EXPECT_EQ(meldungen(), f.meldungen);
  if (f.danach.isEmpty()) {
    EXPECT_EQ(lesen(konfigpfad()), vorher);
    EXPECT_TRUE(logbuch().isEmpty());
    EXPECT_EQ(d.isVisible(), !f.meldungen.isEmpty());
    return;
  }
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(abschnitt(), f.danach);
  Konfigdaten_lesen();
  EXPECT_EQ(Setting(16), f.neu16);
  EXPECT_EQ(Setting(11), f.neu11);
  EXPECT_EQ(logbuch().size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Faelle, Adminliste, ::testing::ValuesIn(kFälle), NachName{});

TEST_F(AdminlistenTest, LeereListeZeigtSechsLeereZeilenUeberSiebenEintraegen) {
  konfiguration({QStringLiteral("NoAdmins")}, 0, 0);
  frmAdmins& d = öffnen(QStringLiteral("A"));
  EXPECT_EQ(d.windowTitle(), u"Velkora - Administratoren");
  EXPECT_EQ(d.Obergrenze(), 7);
  EXPECT_EQ(d.Geladen, QStringList{QStringLiteral("NoAdmins")});
  EXPECT_EQ(zeilen(d), QStringList(6, QStringLiteral("|")));
  EXPECT_EQ(d.vsbScrollBar->maximum(), 1);
  EXPECT_EQ(d.vsbScrollBar->pageStep(), 6);
}

TEST_F(AdminlistenTest, ErsteinrichtungErgaenztDenEigenenNamenInBeidenModi) {
  for (const QString& modus : {QStringLiteral("A"), QStringLiteral("P")}) {
    konfiguration({QStringLiteral("A:<Name Vorname>:"), QStringLiteral("P:Meier Anna:anna")}, 1, 1);
    frmAdmins& d = öffnen(modus);
    EXPECT_EQ(gAdministratoren,
              (QStringList{QStringLiteral("A:<Name Vorname>:"), QStringLiteral("A:<Name Vorname>:tester")}));
    if (modus == u"A") {
      EXPECT_EQ(zeilen(d).mid(0, 3), (QStringList{QStringLiteral("<Name Vorname>|"),
                                                  QStringLiteral("<Name Vorname>|tester"), QStringLiteral("|")}));
    } else {
      EXPECT_EQ(d.windowTitle(), u"Velkora - Privilegierte Benutzer");
      EXPECT_EQ(zeilen(d).first(), u"Meier Anna|anna");
      // A save of the privileged list takes the completed administrator list along.
      zeile(d, 2, QStringLiteral("Kurz Carla"), QStringLiteral("carla"));
      ok(d);
      EXPECT_FALSE(d.isVisible());
      EXPECT_EQ(abschnitt(),
                (QStringList{QStringLiteral("A:<Name Vorname>:"), QStringLiteral("A:<Name Vorname>:tester"),
                             QStringLiteral("P:Meier Anna:anna"), QStringLiteral("P:Kurz Carla:carla")}));
    }
    dialog.reset();
  }
}

TEST_F(AdminlistenTest, DieLogbuchzeilenNennenAlteUndNeueListe) {
  konfiguration(kZweiAdmins, 0, 0);
  frmAdmins& d = öffnen(QStringLiteral("A"));
  zeile(d, 1, QStringLiteral("Chef Carla"), QStringLiteral("carla"));
  ok(d);
  const QStringList l = logbuch();
  ASSERT_EQ(l.size(), 2);
  EXPECT_TRUE(l[0].endsWith(QStringLiteral("VelkoraAdmin|Administratoren alt: Chef Carl:carl; Schulz Bernd:tester;")))
      << l[0].toStdString();
  EXPECT_TRUE(l[1].endsWith(QStringLiteral("VelkoraAdmin|Administratoren neu: Chef Carla:carla; Schulz Bernd:tester;")))
      << l[1].toStdString();
}

TEST_F(AdminlistenTest, DieBenutzerstufeFolgtDerGeschriebenenDatei) {
  konfiguration({QStringLiteral("A:Chef Carl:carl")}, 0, 1);
  gBenutzerstufe = 0;
  frmAdmins& d = öffnen(QStringLiteral("P"));
  zeile(d, 1, QStringLiteral("Schulz Bernd"), QStringLiteral("TESTER"));
  ok(d);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(abschnitt(), (QStringList{QStringLiteral("A:Chef Carl:carl"), QStringLiteral("P:Schulz Bernd:TESTER")}));
  EXPECT_EQ(gBenutzerstufe, 1);
}

TEST_F(AdminlistenTest, TippenInDieLetzteZeileAmEndeFuegtEineZeileAn) {
  konfiguration(kZweiAdmins, 0, 0);
  frmAdmins& d = öffnen(QStringLiteral("A"));
  d.vsbScrollBar->setValue(d.vsbScrollBar->maximum());
  ASSERT_EQ(d.ErsteZeile, 1);
  ASSERT_EQ(d.Obergrenze(), 7);
  fokus(d.txtName[6]);
  QTest::keyClicks(d.txtName[6], QStringLiteral("K"));
  EXPECT_EQ(d.Obergrenze(), 8);
  EXPECT_EQ(d.vsbScrollBar->maximum(), 2);
  QTest::keyClicks(d.txtName[6], QStringLiteral("urz"));
  EXPECT_EQ(d.Obergrenze(), 8) << "one row per row typed into";
}

TEST_F(AdminlistenTest, PfeiltastenUndFokusstoppBlaetternUndFaerbenDieZeile) {
  QStringList liste;
  for (int i = 1; i <= 9; ++i) liste << QStringLiteral("A:Person %1:p%1").arg(i);
  konfiguration(liste + QStringList{QStringLiteral("A:Schulz Bernd:tester")}, 0, 0);
  frmAdmins& d = öffnen(QStringLiteral("A"));
  ASSERT_EQ(d.vsbScrollBar->maximum(), 5);
  fokus(d.txtBenutzerID[5]);
  EXPECT_EQ(d.txtName[5]->palette().color(QPalette::Base), zuQColor(gGrundfarben[9]));
  EXPECT_EQ(d.txtName[4]->palette().color(QPalette::Base), zuQColor(gGrundfarben[1]));
  taste(Qt::Key_Down);
  taste(Qt::Key_Down);
  EXPECT_EQ(d.ErsteZeile, 1) << "down from the last row moves the list by one";
  EXPECT_EQ(QApplication::focusWidget(), d.txtBenutzerID[6]);
  EXPECT_EQ(d.txtBenutzerID[6]->text(), u"p7");
  taste(Qt::Key_Tab);  // to the focus stop
  EXPECT_EQ(d.ErsteZeile, 2);
  EXPECT_EQ(QApplication::focusWidget(), d.txtName[6]);
  fokus(d.txtName[1]);
  taste(Qt::Key_Up);
  EXPECT_EQ(d.ErsteZeile, 1);
  EXPECT_EQ(QApplication::focusWidget(), d.txtName[1]);
  EXPECT_EQ(d.txtName[1]->text(), u"Person 2");
  // A faulty row holds the list where it is.
  eingeben(d.txtBenutzerID[1], QString());
  fokus(d.txtName[1]);
  taste(Qt::Key_Up);
  EXPECT_EQ(d.ErsteZeile, 1);
  EXPECT_EQ(meldungen(), QStringList{QStringLiteral("Bitte Windows-Benutzername eingeben")});
  EXPECT_EQ(QApplication::focusWidget(), d.txtBenutzerID[1]);
}

TEST_F(AdminlistenTest, AbbrechenVerwirftDieAenderungen) {
  konfiguration(kZweiAdmins, 0, 0);
  frmAdmins& d = öffnen(QStringLiteral("A"));
  zeile(d, 3, QStringLiteral("Kurz Carla"), QStringLiteral("carla"));
  QTest::mouseClick(d.cmdAuswahl[3], Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(lesen(konfigpfad()), vorher);
  EXPECT_EQ(gAdministratoren, kZweiAdmins);
}

// Another workstation's process writes the configuration: before the dialog opens, the
// dialog shows its lists; after, the dialog's save would undo its change and is refused.
TEST_F(AdminlistenTest, EineAnAndererStelleGeschriebeneKonfigurationWirdNichtUeberschrieben) {
  konfiguration(kZweiAdmins, 0, 0);
  Feiertage_schreiben();  // what a reload of the configuration reads besides it
  // The other process replaces the file whole, as a workstation's write does.
  const auto fremdSchreiben = [](const QStringList& z) {
    const QString quelle = konfigpfad() + QStringLiteral(".fremd");
    schreiben(quelle, kodiert(z));
    QThread::msleep(20);
    ASSERT_EQ(QProcess::execute(QStringLiteral("sh"),
                                {QStringLiteral("-c"), QStringLiteral("cp \"$0\" \"$1.neu\" && mv \"$1.neu\" \"$1\""),
                                 quelle, konfigpfad()}),
              0);
  };
  fremdSchreiben(dekodierteZeilen(konfigpfad()) + QStringList{QStringLiteral("P:Meier Anna:anna")});
  frmAdmins& d = öffnen(QStringLiteral("P"));
  EXPECT_EQ(zeilen(d).first(), u"Meier Anna|anna") << "the dialog starts from the file as it is now";

  // Written again by the other process after the dialog opened.
  QStringList z = dekodierteZeilen(konfigpfad());
  z[4] = QStringLiteral("Andere GmbH");
  fremdSchreiben(z);
  const QByteArray fremd = lesen(konfigpfad());

  zeile(d, 2, QStringLiteral("Kurz Carla"), QStringLiteral("carla"));
  ok(d);
  EXPECT_EQ(meldungen(), QStringList{QString::fromUtf16(kStammdatenGeändert)});
  EXPECT_EQ(lesen(konfigpfad()), fremd);
  EXPECT_EQ(gPrivilegierte, QStringList{QStringLiteral("P:Meier Anna:anna")});
  EXPECT_TRUE(logbuch().isEmpty());
}

}  // namespace

namespace {

// Every control lies inside the dialog, no row box over another control, and every
// text fits its control.
void LayoutPruefen(const frmAdmins& d) {
  const QRect innen = d.rect();
  QList<QWidget*> teile;
  for (int k = 1; k <= frmAdmins::kZeilen; ++k) teile << d.txtName[k] << d.txtBenutzerID[k];
  for (int i = 1; i <= 2; ++i) teile << d.lblBeschriftung[i];
  for (int i = 1; i <= 3; ++i) teile << d.cmdAuswahl[i];
  teile << d.vsbScrollBar;
  for (QWidget* w : teile) {
    EXPECT_TRUE(innen.contains(w->geometry())) << w->objectName().toStdString();
    for (QWidget* v : teile)
      if (v != w) {
        EXPECT_FALSE(w->geometry().intersects(v->geometry())) << w->objectName().toStdString();
      }
    EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
  }
  for (int i = 1; i <= 2; ++i) EXPECT_GE(d.lblBeschriftung[i]->width(), d.lblBeschriftung[i]->sizeHint().width());
  for (int i = 1; i <= 3; ++i) EXPECT_GE(d.cmdAuswahl[i]->width(), d.cmdAuswahl[i]->sizeHint().width());
}

}  // namespace

TEST_F(AdminlistenTest, BilderLeerUndMitTausendEintraegen) {
  konfiguration({QStringLiteral("NoAdmins")}, 0, 0);
  frmAdmins& leer = öffnen(QStringLiteral("A"));
  LayoutPruefen(leer);
  EXPECT_TRUE(leer.grab().save(bilderordner() + QStringLiteral("Administratoren_leer.png")));
  dialog.reset();

  QStringList liste;
  for (int i = 1; i <= 1000; ++i)
    liste << QStringLiteral("P:Mitarbeiterin mit langem Namen %1:benutzer.mit.langem.namen%1").arg(i);
  konfiguration(QStringList{QStringLiteral("A:Schulz Bernd:tester")} + liste, 0, 1);
  for (const int dpi : {96, 168}) {
    bildschirm::setzeDpi(dpi);
    frmAdmins& voll = öffnen(QStringLiteral("P"));
    EXPECT_EQ(voll.Obergrenze(), 1001);
    voll.vsbScrollBar->setValue(voll.vsbScrollBar->maximum());
    fokus(voll.txtName[3]);
    EXPECT_EQ(voll.txtName[6]->text(), QString());
    LayoutPruefen(voll);
    EXPECT_TRUE(voll.grab().save(bilderordner() + QStringLiteral("Privilegierte_Benutzer_1000_%1dpi.png").arg(dpi)));
    dialog.reset();
  }
}
