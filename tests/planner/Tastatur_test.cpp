// The keys of the main window, pressed on the month grid as a user would: messages,
// search, printing, row heights and button widths, the write test, the typed data
// folder, and the deleting keys that only administrators may use.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "Fensterbedienung.h"
#include "common/Modaldialog.h"
#include "planner/Diagnosebefehle.h"
#include "planner/frmKommentar.h"
#include "startup/Datenordner.h"
#include "startup/Ordner.h"
#include "startup/Start.h"
#include "store/Feiertage.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Sperrdatei.h"
#include "store/Velkoraini.h"
#include "views/frmJahresuebersicht.h"

namespace {
using namespace planer;

class TastaturTest : public FensterbedienungTest {
 protected:
  void SetUp() override {
    FensterbedienungTest::SetUp();
    Feiertage_schreiben();
    gBenutzerstufe = 2;
    gIstMitarbeiter = true;
  }
  void taste(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(fenster->msgFlexGrid, k, m); }
  // The comment dialog, as input box, gets the answer typed and accepted.
  void eingeben(const QString& text) {
    beimDialog<frmKommentar>([text](frmKommentar& d) {
      d.txtKommentar->setText(text);
      d.cmdAuswahl[1]->click();
    });
  }
  QStringList dateienImDatenordner() { return QDir(gDatenordner).entryList(QDir::Files, QDir::Name); }
};

TEST_F(TastaturTest, MeldungstastenZeigenIhrenText) {
  struct Fall {
    Qt::Key taste;
    Qt::KeyboardModifiers umschalt;
    QString text;
  };
  laden();
  const std::vector<Fall> fälle = {
      {Qt::Key_F4, Qt::ControlModifier, QStringLiteral("Windows-Benutzername: tester")},
      {Qt::Key_F4, Qt::AltModifier, QStringLiteral("Administratoren: ") + ShowAdmins(false)},
      {Qt::Key_F5, Qt::ControlModifier, QStringLiteral("Datenordner: ") + ShowPfad(ParentDir(gDatenordner), 100)},
      {Qt::Key_C, Qt::ControlModifier, QStringLiteral("Kopieren mit STRG + rechter Maustaste, siehe Handbuch")},
      {Qt::Key_Insert, Qt::ControlModifier, QStringLiteral("Kopieren mit STRG + rechter Maustaste, siehe Handbuch")},
      {Qt::Key_F8, Qt::ControlModifier, QStringLiteral("Löschen erfolgreich")},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.text.toStdString());
    skript->protokoll.clear();
    taste(f.taste, f.umschalt);
    EXPECT_EQ(skript->texte(), std::vector<QString>{f.text});
  }
  EXPECT_FALSE(Velkoraini_vorhanden());
}

TEST_F(TastaturTest, ZeilenhoeheBleibtZwischen285Und1200) {
  struct Fall {
    int vorher;
    Qt::Key taste;
    int nachher;
  };
  laden();
  for (const Fall& f : {Fall{300, Qt::Key_Plus, 315}, Fall{1200, Qt::Key_Plus, 1200}, Fall{1195, Qt::Key_Plus, 1200},
                        Fall{300, Qt::Key_Minus, 285}, Fall{285, Qt::Key_Minus, 285}}) {
    SCOPED_TRACE(f.vorher);
    gBenutzerwerte[32] = f.vorher;
    gBenutzerwerte[33] = 0;
    taste(f.taste, Qt::ControlModifier);
    EXPECT_EQ(gBenutzerwerte[32], f.nachher);
    EXPECT_EQ(gBenutzerwerte[33], 1);
  }
  // The plus of the numeric pad, and plus typed with Shift.
  gBenutzerwerte[32] = 300;
  taste(Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
  taste(Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(gBenutzerwerte[32], 330);
  EXPECT_EQ(raster().RowHeight(1), 330);
}

TEST_F(TastaturTest, SchaltflaechenbreiteInSchrittenUndAusDerKonfiguration) {
  struct Fall {
    int vorher;
    Qt::Key taste;
    int nachher;
  };
  laden();
  for (const Fall& f : {Fall{1800, Qt::Key_Plus, 1830}, Fall{2370, Qt::Key_Plus, 2370}, Fall{1830, Qt::Key_Minus, 1800},
                        Fall{1800, Qt::Key_Minus, 1800}}) {
    SCOPED_TRACE(f.vorher);
    gSFBreite = f.vorher;
    taste(f.taste, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(gSFBreite, f.nachher);
  }
  gSettings[47] = u'3';
  gBenutzerwerte[36] = 1;
  gBenutzerwerte[37] = 1830;
  taste(Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(gSFBreite, 1860);
  EXPECT_EQ(gBenutzerwerte[36], 0);
  EXPECT_EQ(gBenutzerwerte[37], 0);
}

TEST_F(TastaturTest, SchalterTastenSetzenIhreWerte) {
  laden();
  taste(Qt::Key_F10);
  EXPECT_TRUE(gLangsamesNetz);
  taste(Qt::Key_F11);
  EXPECT_FALSE(gLangsamesNetz);
  taste(Qt::Key_F11, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(gBenutzerwerte[34], 1);
  taste(Qt::Key_F10, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(gBenutzerwerte[34], 0);
}

TEST_F(TastaturTest, StrgF9ZweimalKehrtZurErstenSchriftZurueck) {
  laden();
  gSchriftart = QStringLiteral("Microsoft Sans Serif");
  taste(Qt::Key_F9, Qt::ControlModifier);
  EXPECT_EQ(gSchriftart, u"MS Sans Serif");
  taste(Qt::Key_F9, Qt::ControlModifier);
  EXPECT_EQ(gSchriftart, u"Microsoft Sans Serif");
  gSchriftart.clear();
  taste(Qt::Key_F9, Qt::ControlModifier);
  EXPECT_EQ(gSchriftart, u"MS Sans Serif");
  EXPECT_TRUE(skript->protokoll.empty()) << "the Windows fonts stand for the program font without a warning";
}

TEST_F(TastaturTest, SucheFindetEigeneZeileUndNamen) {
  laden();
  taste(Qt::Key_F4);
  EXPECT_EQ(raster().Row(), zeile(QStringLiteral("tester")));
  EXPECT_EQ(raster().HighLight(), 1);
  eingeben(QStringLiteral("er"));
  taste(Qt::Key_F, Qt::ControlModifier);
  const int erste = raster().Row();
  EXPECT_TRUE(raster().TextMatrix(erste, 0).contains(u"er", Qt::CaseInsensitive));
  taste(Qt::Key_F3);
  EXPECT_GT(raster().Row(), erste) << "the search goes on below the last hit";
  EXPECT_TRUE(raster().TextMatrix(raster().Row(), 0).contains(u"er", Qt::CaseInsensitive));
}

TEST_F(TastaturTest, StrgUmschaltJOeffnetDieJahresuebersichtDerRasterzeilen) {
  frmVelkora& f = laden();
  QString tag;
  beimDialog<frmJahresuebersicht>([&](frmJahresuebersicht& d) {
    tag = f.Tag;
    d.close();
  });
  taste(Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(tag, u"T");
}

TEST_F(TastaturTest, SchreibtestLaesstNichtsZurueckUndRuehrtDieSperreNichtAn) {
  laden();
  const QStringList vorher = dateienImDatenordner();
  taste(Qt::Key_F6, Qt::ControlModifier);
  EXPECT_EQ(skript->texte(), std::vector<QString>{QStringLiteral("Test OK")});
  EXPECT_EQ(dateienImDatenordner(), vorher);

  // While an administrator's lock is set the key does nothing.
  const QString sperre = gDatenordner + QStringLiteral("Lockfile.txt");
  schreiben(sperre, QByteArray("Wartung|admin\r\n"));
  gSperrmeldung = QStringLiteral("Wartung");
  skript->protokoll.clear();
  taste(Qt::Key_F6, Qt::ControlModifier);
  EXPECT_TRUE(skript->protokoll.empty());
  EXPECT_EQ(lesen(sperre), QByteArray("Wartung|admin\r\n"));
  gSperrmeldung.clear();
  EXPECT_NE(Schreibtest_Dateiname(), Schreibtest_Dateiname());
  EXPECT_FALSE(Schreibtest_Dateiname().contains(u"Lockfile"));
}

TEST_F(TastaturTest, SchreibtestNenntDenOrdnerDerNichtBeschreibbarIst) {
  laden();
  const QString datenordner = gDatenordner;
  // A folder that cannot take a file (not even for root): it does not exist.
  gDatenordner = ordner() + QStringLiteral("fehlt/");
  CheckSchreibberechtigung();
  EXPECT_EQ(skript->texte(),
            std::vector<QString>{QStringLiteral("Fehler: Testdatei im Ordner ") + ShowPfad(gDatenordner) +
                                 QStringLiteral(" konnte nicht angelegt werden")});
  gDatenordner = datenordner;
  // A file that cannot be deleted again.
  skript->protokoll.clear();
  gDateiEntfernen = [](const QString&) { return false; };
  CheckSchreibberechtigung();
  gDateiEntfernen = nullptr;
  EXPECT_EQ(skript->texte(),
            std::vector<QString>{QStringLiteral("Fehler: Testdatei im Ordner ") + ShowPfad(gDatenordner) +
                                 QStringLiteral(" konnte nicht gelöscht werden")});
  for (const QString& d : dateienImDatenordner())
    if (d.startsWith(u"Schreibtest")) QFile::remove(gDatenordner + d);
}

TEST_F(TastaturTest, AltF5NimmtNurEinenAbsolutenVorhandenenOrdner) {
  struct Fall {
    QString eingabe;
    QString meldung;
  };
  laden();
  const QString fehlt = ordner() + QStringLiteral("Freigabe/fehlt");
  const std::vector<Fall> fälle = {
      {QStringLiteral("daten/ordner"), QStringLiteral("Unzulässige Eingabe")},
      {QStringLiteral("/"), QStringLiteral("Unzulässige Eingabe")},
      {fehlt, QStringLiteral("Der Ordner ") + ShowPfad(fehlt) + QStringLiteral(" wurde nicht gefunden")},
      {QString(), QString()},
  };
  const QString datenordner = gDatenordner;
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.eingabe.toStdString());
    skript->protokoll.clear();
    eingeben(f.eingabe);
    taste(Qt::Key_F5, Qt::AltModifier);
    EXPECT_EQ(skript->texte(), f.meldung.isEmpty() ? std::vector<QString>{} : std::vector<QString>{f.meldung});
    EXPECT_TRUE(gUNCPfad.isEmpty());
    EXPECT_EQ(gDatenordner, datenordner);
  }
}

// A folder that exists goes to the change of the data folder in place of the folder
// dialog, without the question whether to change it.
TEST_F(TastaturTest, AltF5MitVorhandenemOrdnerWechseltOhneOrdnerdialog) {
  gBenutzerstufe = 0;
  laden();
  const QString leer = unterordner(QStringLiteral("Freigabe/leer"));
  eingeben(leer);
  taste(Qt::Key_F5, Qt::AltModifier);  // "search another folder?" answered No
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_TRUE(skript->protokoll[0].text.startsWith(u"Im Ordner ")) << skript->protokoll[0].text.toStdString();
  EXPECT_TRUE(gUNCPfad.isEmpty());
}

// At load the window takes the user's font when this machine has it; a missing one
// gives way to the program font, or to the design font.
TEST_F(TastaturTest, FormLoadPrueftDieSchriftDesBenutzers) {
  const QString vorhanden = QApplication::font().family();
  gSchriftart = vorhanden;
  frmVelkora& f = laden();
  EXPECT_EQ(gSchriftart, vorhanden);
  EXPECT_EQ(f.font().family(), vorhanden);
  fenster.reset();
  gSchriftart = QStringLiteral("Keine solche Schrift");
  laden();
  EXPECT_TRUE(gSchriftart.isEmpty() || gSchriftart == u"Microsoft Sans Serif") << gSchriftart.toStdString();
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(TastaturTest, AlleDatenUndZeigerdateiLoeschenNurAdministratorenAusserhalbDesRueckblicks) {
  struct Fall {
    const char* wer;
    int stufe;
    bool rückblick;
    bool gefragt;
  };
  for (const Fall& f : {Fall{"employee", 0, false, false}, Fall{"privileged user", 1, false, false},
                        Fall{"administrator in a look back", 2, true, false}, Fall{"administrator", 2, false, true}}) {
    SCOPED_TRACE(f.wer);
    gBenutzerstufe = f.stufe;
    gRückblick = f.rückblick;
    laden();
    const QString zeiger = gBasisordner + QStringLiteral("Velkora.dat");
    schreiben(zeiger, QByteArray("x\r\n"));
    const QStringList daten = dateienImDatenordner();
    skript->protokoll.clear();
    taste(Qt::Key_F8, Qt::ControlModifier | Qt::ShiftModifier);  // answered No
    EXPECT_EQ(!skript->protokoll.empty(), f.gefragt);
    EXPECT_EQ(dateienImDatenordner(), daten);
    taste(Qt::Key_F8, Qt::AltModifier);
    EXPECT_EQ(QFile::exists(zeiger), !f.gefragt);
    fenster.reset();
  }
  gRückblick = false;
}

TEST_F(TastaturTest, TagessicherungMitAltF7) {
  laden();
  taste(Qt::Key_F7, Qt::AltModifier);
  EXPECT_EQ(skript->texte(), std::vector<QString>{QStringLiteral("Backup wurde erstellt")});
}

}  // namespace
