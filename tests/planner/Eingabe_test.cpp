#include "planner/Eingabe.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <map>
#include <memory>

#include "Monatsraster.h"
#include "Schreibvorgaenge.h"
#include "common/Modaldialog.h"
#include "common/Testumgebung.h"
#include "planner/Aenderungspruefung.h"
#include "planner/Markierung.h"
#include "planner/Monatsanzeige.h"
#include "planner/Undo.h"
#include "planner/Zwischenablage.h"
#include "planner/frmEingabe.h"
#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Uhr.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Monatsstand.h"
#include "store/Velkoraini.h"
#include "widgets/Rasteransicht.h"

namespace {

const QString kMarke = QString(QChar(0xA0));

// April 2026: 30 days, the 1st a Wednesday; weekends 4/5, 11/12, 18/19, 25/26;
// holidays the 3rd, the 6th and the 21st. Today is the 15th.
// Buttons: 1 "Urlaub" U, 2 "Krank" K, 3 "Dienstreise" D (administrators only),
// 4 the erase button; 5 stands for the non-working-day mark.
class EingabeTest : public VelkoraTest {
 public:
  static constexpr int kU = 1, kK = 2, kD = 3, kLöschen = 4, kMarkieren = 5;
  static constexpr int kArbeitstag = 16, kSamstag = 18, kFeiertag = 21;

  void SetUp() override {
    VelkoraTest::SetUp();
    uhr.datum = QDate(2026, 4, 15);
    ordnerEinrichten();
    bildschirm::setzeDpi(96);
    gSettings = Standardeinstellungen();
    for (int p : {4, 9, 10, 12, 28, 44, 45, 46}) SetSetting(p, 0);
    gWochenende = QStringLiteral("SaSo");
    gMonatsschlüssel = QStringLiteral("2604");
    gMonatsAusnahmen = QStringLiteral("NoEx:NoEx");
    gFeiertagsTabelle = QStringLiteral("260403|260406|260421|");
    gKennzeile = QStringLiteral("Kennzeile");
    for (int i = 1; i <= 9; ++i) gGrundfarben[i] = 0x100000 + i;
    gBenutzerwerte[22] = 1;
    gBenutzerwerte[25] = 0;
    gBenutzerstufe = 2;
    gIstMitarbeiter = true;
    gBenutzername = QStringLiteral("anna");
    gAdministratoren = {QStringLiteral("A:Chef Eins:chef")};
    gPrivilegierte = {QStringLiteral("NoAdmins")};

    gSFTexte = {QString(), QStringLiteral("Urlaub"), QStringLiteral("Krank"), QStringLiteral("Dienstreise"),
                QStringLiteral("Löschen")};
    gSFKennbuchstaben = {QString(), QStringLiteral("U"), QStringLiteral("K"), QStringLiteral("D"), QStringLiteral(" ")};
    gSFTextfarben = {0, 0x11, 0x22, 0x33, 0x44};
    gSFHintergrundfarben = {0, 0x00FF00, 0x0000FF, 0xFF0000, 0xFFFFFF};
    gSFNurAdmins = {0, 0, 0, 1, 0};
    gSFVerbergen = {0, 0, 0, 0, 0};

    leute = {{QStringLiteral("Vertrieb"), {}},
             {QStringLiteral("Anna"), QStringLiteral("Anna")},
             {QStringLiteral("Bernd"), QStringLiteral("bernd")},
             {QStringLiteral("Technik"), {}},
             {QStringLiteral("Clara"), QStringLiteral("clara")}};
    Mitarbeitertabelle_setzen();

    fenster = std::make_unique<frmVelkora>();
    fenster->resize(1000, 600);
    fenster->show();
    QApplication::setActiveWindow(fenster.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
    fenster->msgFlexGrid->setGeometry(0, 0, 900, 240);
    Raster& g = raster();
    g.setCols(33);
    g.setRowHeightMin(300);
    g.setColWidth(0, 1500);
    for (int c = 1; c <= 31; ++c) g.setColWidth(c, 300);
    g.setColWidth(32, 0);
    anzeigen();
  }
  void TearDown() override {
    fenster.reset();
    bildschirm::setzeDpi(0);
    VelkoraTest::TearDown();
  }

  void Mitarbeitertabelle_setzen() {
    Mitarbeitertabelle_dimensionieren(static_cast<int>(leute.size()));
    for (size_t i = 0; i < leute.size(); ++i) {
      gMitarbeiterNamen[i + 1] = leute[i].name;
      gBenutzerIDs[i + 1] = leute[i].benutzer;
      gEintrittsdaten[i + 1] = QStringLiteral("000000");
      gAustrittsdaten[i + 1] = QStringLiteral("999999");
    }
  }

  Raster& raster() { return fenster->msgFlexGrid->raster(); }

  // Builds the month grid as the month display does: names, the hidden user column,
  // empty day cells on their day's colour, entries from `einträge` (user -> day -> code
  // character as stored), then the marking removed.
  void anzeigen(const std::map<QString, std::map<int, QString>>& einträge = {}) {
    Raster& g = raster();
    Monatsraster_aufbauen(g, leute);
    for (int r = 1; r < g.Rows(); ++r) {
      const QString benutzer = g.TextMatrix(r, 32);
      const auto it = einträge.find(benutzer.toLower());
      if (benutzer.isEmpty() || it == einträge.end()) continue;
      for (const auto& [tag, code] : it->second) zelleSetzen(r, tag, SFDec(code));
    }
    for (int d = 1; d <= 30; ++d)
      for (int r = 1; r < g.Rows(); ++r) {
        const QString t = g.TextMatrix(r, d);
        if (CheckWochenende(d) && !CheckFeiertag(d) && t.isEmpty()) g.setCellBackColor(r, d, gGrundfarben[2]);
        if (CheckFeiertag(d) && (t.isEmpty() || t == kMarke)) g.setCellBackColor(r, d, gGrundfarben[3]);
      }
    Markierung_aufheben();
    // While the saves are watched, the grid's entries are the month on disk, so that
    // a save that lays its days over the file's row finds the others there.
    if (mSchreibvorgänge && !einträge.empty()) {
      QStringList zeilen{QStringLiteral("[2604]"), gKennzeile, QStringLiteral("NoEx:NoEx")};
      for (int r = 1; r < g.Rows(); ++r)
        if (!g.TextMatrix(r, 32).isEmpty()) zeilen << Tabellenzeilendaten(r);
      schreiben(monatsdatei(), kodiert(zeilen));
      mZeilenBisher = zeilen.size();
    }
    // What the grid shows is the month as it is on disk.
    Monatsstand_merken(gMonatsschlüssel);
  }
  // One cell as the display shows button k (5: the non-working-day mark).
  void zelleSetzen(int r, int tag, int k) {
    Raster& g = raster();
    if (k == Schaltflächen_Anzahl() + 1) {
      g.setTextMatrix(r, tag, kMarke);
      g.setCellForeColor(r, tag, gGrundfarben[2]);
      g.setCellBackColor(r, tag, gGrundfarben[2]);
    } else {
      g.setTextMatrix(r, tag, gSFKennbuchstaben[k]);
      g.setCellForeColor(r, tag, gSFTextfarben[k]);
      g.setCellBackColor(r, tag, gSFHintergrundfarben[k]);
    }
  }
  int zeileVon(const QString& name) {
    for (int r = 1; r < raster().Rows(); ++r)
      if (raster().TextMatrix(r, 0) == name) return r;
    return -1;
  }
  void markieren(int zeile, int von, int bis, int zeileBis = -1) {
    Raster& g = raster();
    g.setCol(von);
    g.setRow(zeile);
    g.setColSel(bis);
    g.setRowSel(zeileBis < 0 ? zeile : zeileBis);
    g.setHighLight(1);
  }
  // Watches the saves at the data folder from now on: how many writes of the month
  // there were, and the lines today's version gained. `gelingt` false: another
  // workstation holds the month, so every save is refused.
  void speichernAufzeichnen(bool gelingt = true) {
    mSchreibvorgänge = std::make_unique<Schreibvorgänge>(gMonatsschlüssel);
    neuZählen();
    if (!gelingt) schreiben(Monatssperre_Datei(gMonatsschlüssel), "andererPC|4711|x");
  }
  // Counts from here on.
  void neuZählen() {
    mSchreibvorgänge->zählen();
    mAnzahl = 0;
    mZeilenBisher = dekodierteZeilen(monatsdatei()).size();
  }
  int schreibvorgänge() {
    mAnzahl += mSchreibvorgänge->zählen();
    return mAnzahl;
  }
  // The lines the saves added to today's version, after its three header lines.
  QStringList geschrieben() const { return dekodierteZeilen(monatsdatei()).mid(std::max<qsizetype>(mZeilenBisher, 3)); }
  // Another workstation adds a line to today's version.
  void fremdAnhängen(const QString& zeile) {
    QStringList z = dekodierteZeilen(monatsdatei());
    if (z.isEmpty()) z = QStringList{QStringLiteral("[2604]"), gKennzeile, QStringLiteral("NoEx:NoEx")};
    z << zeile;
    schreiben(monatsdatei(), kodiert(z));
    mZeilenBisher = z.size();
  }
  QString logbuch() const { return gLogordner + QStringLiteral("2604 Velkora.log"); }
  QString monatsdatei() const { return gDatenordner + QStringLiteral("2604 260415 Data.dat"); }
  // The 31 code characters with the given days set.
  static QString codes(const std::map<int, QString>& tage) {
    QString s(31, u' ');
    for (const auto& [t, c] : tage) s[t - 1] = c[0];
    return s;
  }
  std::vector<QString> meldungen() const { return skript->texte(); }

  std::unique_ptr<frmVelkora> fenster;
  std::vector<Person> leute;
  std::unique_ptr<Schreibvorgänge> mSchreibvorgänge;
  int mAnzahl = 0;
  qsizetype mZeilenBisher = 0;
};

// --- Cell state x day kind x settings position 12 x button ------------------------------

TEST_F(EingabeTest, ZellzustandTagesartEinstellungUndSchaltflaeche) {
  enum Zustand { Leer, Eintrag, Marke };
  struct Fall {
    Zustand zustand;
    int tag;
    int pos12;
    int knopf;
    QString text;         // the cell afterwards
    Farbwert hinten;      // its back colour afterwards
    bool gespeichert;     // a month line was saved
    QString code;         // the day's code character in the saved line
    const char* meldung;  // a refusal, or nullptr
  };
  const Farbwert w = gGrundfarben[1], we = gGrundfarben[2], fe = gGrundfarben[3];
  const Farbwert grün = 0x00FF00, weiß = 0xFFFFFF;
  const char* doppelklick = "Arbeitsfreie Tage können nur gelöscht werden, indem Sie auf den Eintrag doppelklicken";
  const Fall fälle[] = {
      // a code button, entries only on working days
      {Leer, kArbeitstag, 0, kU, "U", grün, true, "1", nullptr},
      {Eintrag, kArbeitstag, 0, kU, "U", grün, true, "1", nullptr},
      {Leer, kSamstag, 0, kU, "", we, false, "", nullptr},
      {Eintrag, kSamstag, 0, kU, "", we, true, " ", nullptr},
      {Leer, kFeiertag, 0, kU, "", fe, false, "", nullptr},
      {Eintrag, kFeiertag, 0, kU, "", fe, true, " ", nullptr},
      {Marke, kArbeitstag, 0, kU, kMarke, we, false, "", nullptr},
      // a code button, entries on every day
      {Leer, kArbeitstag, 1, kU, "U", grün, true, "1", nullptr},
      {Eintrag, kArbeitstag, 1, kU, "U", grün, true, "1", nullptr},
      {Leer, kSamstag, 1, kU, "U", grün, true, "1", nullptr},
      {Eintrag, kSamstag, 1, kU, "U", grün, true, "1", nullptr},
      {Leer, kFeiertag, 1, kU, "U", grün, true, "1", nullptr},
      {Eintrag, kFeiertag, 1, kU, "U", grün, true, "1", nullptr},
      {Marke, kArbeitstag, 1, kU, "U", grün, true, "1", nullptr},
      // the erase button, entries only on working days
      {Leer, kArbeitstag, 0, kLöschen, "", w, false, "", nullptr},
      {Eintrag, kArbeitstag, 0, kLöschen, "", weiß, true, " ", nullptr},
      {Leer, kSamstag, 0, kLöschen, "", we, false, "", nullptr},
      {Eintrag, kSamstag, 0, kLöschen, "", we, true, " ", nullptr},
      {Leer, kFeiertag, 0, kLöschen, "", fe, false, "", nullptr},
      {Eintrag, kFeiertag, 0, kLöschen, "", fe, true, " ", nullptr},
      {Marke, kArbeitstag, 0, kLöschen, kMarke, we, false, "", doppelklick},
      // the erase button, entries on every day
      {Leer, kArbeitstag, 1, kLöschen, "", w, false, "", nullptr},
      {Eintrag, kArbeitstag, 1, kLöschen, "", weiß, true, " ", nullptr},
      {Leer, kSamstag, 1, kLöschen, "", we, false, "", nullptr},
      {Eintrag, kSamstag, 1, kLöschen, "", we, true, " ", nullptr},
      {Leer, kFeiertag, 1, kLöschen, "", fe, false, "", nullptr},
      {Eintrag, kFeiertag, 1, kLöschen, "", fe, true, " ", nullptr},
      {Marke, kArbeitstag, 1, kLöschen, "", weiß, true, " ", nullptr},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(testing::Message() << "state " << f.zustand << " day " << f.tag << " pos12 " << f.pos12 << " button "
                                    << f.knopf);
    SetSetting(12, f.pos12);
    speichernAufzeichnen();
    neuZählen();
    skript->protokoll.clear();
    // Another day of the row holds an entry that every save must keep.
    std::map<int, QString> tage{{28, SFHex(kK)}};
    if (f.zustand == Eintrag) tage[f.tag] = SFHex(kK);
    if (f.zustand == Marke) tage[f.tag] = SFHex(kMarkieren);
    anzeigen({{QStringLiteral("anna"), tage}});
    const int r = zeileVon(QStringLiteral("Anna"));
    markieren(r, f.tag, f.tag);

    cmdAuswahl_Click(f.knopf);

    EXPECT_EQ(raster().TextMatrix(r, f.tag), f.text);
    EXPECT_EQ(raster().CellBackColor(r, f.tag).value_or(-1), f.hinten);
    ASSERT_EQ(schreibvorgänge(), f.gespeichert ? 1 : 0);
    if (f.gespeichert) {
      const QString zeile = geschrieben().value(0);
      EXPECT_EQ(zeile, QStringLiteral("A:Anna:") + codes({{f.tag, f.code}, {28, SFHex(kK)}}));
    }
    if (f.meldung)
      EXPECT_EQ(meldungen(), std::vector<QString>{QString::fromUtf8(f.meldung)});
    else
      EXPECT_TRUE(meldungen().empty());
    // The marking is gone after every entry, made or not.
    EXPECT_EQ(raster().HighLight(), f.meldung ? 1 : 0);
  }
}

TEST_F(EingabeTest, ArbeitsfreiMarkeSchaltetUmUndLaesstEintraegeUndFreieTageInRuhe) {
  speichernAufzeichnen();
  anzeigen({{QStringLiteral("anna"), {{17, SFHex(kK)}, {20, SFHex(kMarkieren)}}}});
  const int r = zeileVon(QStringLiteral("Anna"));
  markieren(r, 16, 20);  // 16 empty, 17 an entry, 18/19 weekend, 20 marked
  Tabellenzeile_ändern(kMarkieren);
  EXPECT_EQ(raster().TextMatrix(r, 16), kMarke);
  EXPECT_EQ(raster().CellBackColor(r, 16), gGrundfarben[2]);
  EXPECT_EQ(raster().TextMatrix(r, 17), QStringLiteral("K"));
  EXPECT_EQ(raster().TextMatrix(r, 18), QString());
  EXPECT_EQ(raster().TextMatrix(r, 20), QString());
  EXPECT_EQ(raster().CellBackColor(r, 20), gGrundfarben[1]);
  ASSERT_EQ(schreibvorgänge(), 1);
  EXPECT_EQ(geschrieben().value(0), QStringLiteral("A:Anna:") + codes({{16, SFHex(kMarkieren)}, {17, SFHex(kK)}}));
  // The mark writes no logbook line.
  EXPECT_FALSE(QFile::exists(logbuch()));
}

// --- Narrowing the marking -------------------------------------------------------------

TEST_F(EingabeTest, MarkierungVonSamstagBisSonntagWirdAufDieArbeitstageVerengt) {
  const int r = zeileVon(QStringLiteral("Anna"));
  markieren(r, 18, 26);
  cmdAuswahl_Click(kU);
  for (int d = 18; d <= 26; ++d) {
    const bool arbeitstag = d >= 20 && d <= 24 && d != kFeiertag;
    EXPECT_EQ(raster().TextMatrix(r, d), arbeitstag ? QStringLiteral("U") : QString()) << d;
  }
  const QStringList log = dekodierteZeilen(logbuch());
  ASSERT_EQ(log.size(), 1);
  EXPECT_TRUE(log[0].endsWith(QStringLiteral("|anna|Anna|Urlaub|200426|240426"))) << qPrintable(log[0]);
}

TEST_F(EingabeTest, NamensspalteBisLetzteSpalteUmfasstDieTageDesMonats) {
  skript->antworte(dialoge::kJa);  // the 1st lies in the past
  const int r = zeileVon(QStringLiteral("Anna"));
  markieren(r, 0, 31);
  SetSetting(12, 1);
  cmdAuswahl_Click(kU);
  for (int d = 1; d <= 30; ++d) EXPECT_EQ(raster().TextMatrix(r, d), QStringLiteral("U")) << d;
  EXPECT_EQ(raster().TextMatrix(r, 31), QString());
  const QStringList log = dekodierteZeilen(logbuch());
  ASSERT_EQ(log.size(), 1);
  EXPECT_TRUE(log[0].endsWith(QStringLiteral("|Urlaub|010426|300426")));
}

TEST_F(EingabeTest, NurLeereFreieTageOderNichtsZuLoeschenEndenStillUndHebenDieMarkierungAuf) {
  speichernAufzeichnen();
  const int r = zeileVon(QStringLiteral("Anna"));
  markieren(r, 18, 19);
  cmdAuswahl_Click(kU);
  markieren(r, 22, 24);
  cmdAuswahl_Click(kLöschen);
  EXPECT_EQ(raster().Row(), 0);
  EXPECT_EQ(raster().HighLight(), 0);
  // Only the name marked: refused without a word.
  markieren(r, 0, 0);
  cmdAuswahl_Click(kU);
  EXPECT_TRUE(meldungen().empty());
  EXPECT_TRUE(schreibvorgänge() == 0);
  for (int d = 1; d <= 31; ++d) EXPECT_EQ(raster().TextMatrix(r, d), QString());
}

TEST_F(EingabeTest, LoeschenBehaeltDieHeutefarbeUndDieLeerenEnden) {
  speichernAufzeichnen();
  gSFHintergrundfarben[kLöschen] = gGrundfarben[1];
  anzeigen({{QStringLiteral("anna"), {{15, SFHex(kU)}, {16, SFHex(kU)}}}});
  const int r = zeileVon(QStringLiteral("Anna"));
  markieren(r, 13, 17);
  cmdAuswahl_Click(kLöschen);
  EXPECT_EQ(raster().TextMatrix(r, 15), QString());
  EXPECT_EQ(raster().CellBackColor(r, 16), gGrundfarben[1]);
  // Today's column is the current-day colour again, as the display paints it.
  EXPECT_EQ(raster().CellBackColor(r, 15), gGrundfarben[8]);
  ASSERT_EQ(schreibvorgänge(), 1);
  EXPECT_EQ(geschrieben().value(0), QStringLiteral("A:Anna:") + codes({}));
  const QStringList log = dekodierteZeilen(logbuch());
  ASSERT_EQ(log.size(), 1);
  EXPECT_TRUE(log[0].endsWith(QStringLiteral("|Löschen|150426|160426")));
}

// --- Refusals ------------------------------------------------------------------------

TEST_F(EingabeTest, AblehnungenMitIhrenGenauenTexten) {
  const QString admins = QStringLiteral("Chef Eins (chef)");
  struct Fall {
    const char* was;
    std::function<void(EingabeTest&)> vorher;
    int knopf;
    QString meldung;
  };
  const Fall fälle[] = {
      {"no employees",
       [](EingabeTest& t) {
         t.leute = {{QStringLiteral("NoNames"), {}}};
         t.Mitarbeitertabelle_setzen();
         t.markieren(1, 16, 16);
       },
       kU,
       QStringLiteral("Es wurden noch keine Mitarbeiterdaten erfasst. Bitte rufen Sie den Menüpunkt 'Bearbeiten - "
                      "Mitarbeiter' auf.")},
      {"button for administrators",
       [](EingabeTest& t) {
         gBenutzerstufe = 0;
         t.markieren(t.zeileVon(QStringLiteral("Anna")), 16, 16);
       },
       kD, QStringLiteral("Diese Schaltfläche ist folgenden Administratoren vorbehalten: ") + admins},
      {"several rows for an employee",
       [](EingabeTest& t) {
         gBenutzerstufe = 0;
         t.markieren(2, 16, 17, 3);
       },
       kU, QStringLiteral("Die Markierung darf sich nur bei Administratoren über mehr als eine Zeile erstrecken")},
      {"several rows forbidden by the settings",
       [](EingabeTest& t) {
         gBenutzerstufe = 1;
         SetSetting(44, 1);
         t.markieren(2, 16, 17, 3);
       },
       kU, QStringLiteral("Die Markierung darf sich nicht über mehr als eine Zeile erstrecken")},
      {"heading row", [](EingabeTest& t) { t.markieren(t.zeileVon(QStringLiteral("Technik")), 16, 16); }, kU,
       QStringLiteral("Überschriftzeile. In dieser Zeile ist kein Eintrag möglich.")},
      {"only administrators enter",
       [](EingabeTest& t) {
         gBenutzerstufe = 0;
         SetSetting(10, 1);
         t.markieren(t.zeileVon(QStringLiteral("Anna")), 16, 16);
       },
       kU, QStringLiteral("Einträge können nur von folgenden Administratoren vorgenommen werden: ") + admins},
      {"employees without user names",
       [](EingabeTest& t) {
         gBenutzerstufe = 0;
         SetSetting(28, 1);
         t.markieren(t.zeileVon(QStringLiteral("Anna")), 16, 16);
       },
       kU, QStringLiteral("Einträge können nur von folgenden Administratoren vorgenommen werden: ") + admins},
      {"another employee's row",
       [](EingabeTest& t) {
         gBenutzerstufe = 0;
         t.markieren(t.zeileVon(QStringLiteral("Bernd")), 16, 16);
       },
       kU,
       QStringLiteral("Sie dürfen nur für sich selbst Eintragungen vornehmen.\r\rEinträge für andere Mitarbeiter "
                      "können nur von folgenden Administratoren vorgenommen werden: ") +
           admins},
      {"user without a row",
       [](EingabeTest& t) {
         gBenutzerstufe = 0;
         gIstMitarbeiter = false;
         gBenutzername = QStringLiteral("gast");
         t.markieren(t.zeileVon(QStringLiteral("Anna")), 16, 16);
       },
       kU,
       QStringLiteral("Sie sind mit Ihrem Windows-Benutzernamen 'gast' nicht als Mitarbeiter im Velkora "
                      "eingetragen.\r\rEinträge können nur von folgenden Administratoren vorgenommen werden: ") +
           admins},
      {"past period for an employee",
       [](EingabeTest& t) {
         gBenutzerstufe = 0;
         t.markieren(t.zeileVon(QStringLiteral("Anna")), 14, 16);
       },
       kU,
       QStringLiteral("Eintrag nicht möglich. Änderungen für in der Vergangenheit liegende Zeiträume sind folgenden "
                      "Administratoren vorbehalten: ") +
           admins},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.was);
    gBenutzerstufe = 2;
    gIstMitarbeiter = true;
    gBenutzername = QStringLiteral("anna");
    for (int p : {10, 28, 44}) SetSetting(p, 0);
    leute = {{QStringLiteral("Vertrieb"), {}},
             {QStringLiteral("Anna"), QStringLiteral("Anna")},
             {QStringLiteral("Bernd"), QStringLiteral("bernd")},
             {QStringLiteral("Technik"), {}}};
    Mitarbeitertabelle_setzen();
    anzeigen();
    speichernAufzeichnen();
    neuZählen();
    skript->protokoll.clear();
    f.vorher(*this);
    cmdAuswahl_Click(f.knopf);
    EXPECT_EQ(meldungen(), std::vector<QString>{f.meldung});
    EXPECT_TRUE(schreibvorgänge() == 0);
    for (int r = 1; r < raster().Rows(); ++r)
      for (int d = 1; d <= 31; ++d) EXPECT_EQ(raster().TextMatrix(r, d), QString());
  }
  // An employee's own row passes.
  gBenutzerstufe = 0;
  skript->protokoll.clear();
  markieren(zeileVon(QStringLiteral("Anna")), 16, 16);
  cmdAuswahl_Click(kU);
  EXPECT_TRUE(meldungen().empty());
  EXPECT_EQ(schreibvorgänge(), 1);
}

TEST_F(EingabeTest, MarkierungshinweisNurEinmalSonstDerZeitraumdialog) {
  const QString hinweis = QStringLiteral(
      "Bitte markieren Sie mit der Maus den Zeitraum für den Sie Eintragungen vornehmen möchten und betätigen Sie "
      "die Schaltfläche dann erneut.");
  speichernAufzeichnen();
  cmdAuswahl_Click(kU);
  cmdAuswahl_Click(kU);
  EXPECT_EQ(meldungen(), std::vector<QString>{hinweis});
  EXPECT_TRUE(Markierungshinweis_gezeigt());

  // With the keyboard allowed the range dialog asks for the button; cancelled,
  // nothing happens.
  SetSetting(4, 1);
  fenster->cmdAuswahl[kK]->setText(QStringLiteral("Krank"));
  QStringList knöpfe;
  beimDialog<frmEingabe>([&](frmEingabe& d) {
    knöpfe << d.cmdButton->text();
    d.cmdAuswahl[2]->click();
  });
  cmdAuswahl_Click(kK);
  EXPECT_EQ(knöpfe, QStringList{QStringLiteral("Krank")});
  EXPECT_TRUE(schreibvorgänge() == 0);

  // Answered, the dialog's marking is entered after another look at the month: another
  // workstation writes before the click and while the dialog is open, and each look
  // reloads.
  int neuGeladen = 0;
  const int anmeldung = Monat_neu_laden_anmelden([&] { ++neuGeladen; });
  fremdAnhängen(QStringLiteral("A:clara:") + codes({{2, SFHex(kU)}}));
  beimDialog<frmEingabe>([&](frmEingabe& d) {
    fremdAnhängen(QStringLiteral("A:clara:") + codes({{3, SFHex(kU)}}));
    d.cmbName->setCurrentIndex(1);  // Bernd
    d.txtVonDatum->setText(QStringLiteral("16"));
    d.txtBisDatum->setText(QStringLiteral("17"));
    d.cmdAuswahl[1]->click();
  });
  cmdAuswahl_Click(kK);
  Monat_neu_laden_abmelden(anmeldung);
  EXPECT_EQ(neuGeladen, 2);
  ASSERT_EQ(schreibvorgänge(), 1);
  EXPECT_EQ(geschrieben().value(0), QStringLiteral("A:bernd:") + codes({{16, SFHex(kK)}, {17, SFHex(kK)}}));
  EXPECT_EQ(meldungen().size(), 1u);
}

// --- Past periods ----------------------------------------------------------------------

TEST_F(EingabeTest, FrageNachVergangenemZeitraumEinmalJeLauf) {
  const QString frage =
      QStringLiteral("Achtung! Eintrag für einen in der Vergangenheit liegenden Zeitraum. Möchten Sie das wirklich?");
  speichernAufzeichnen();
  const int r = zeileVon(QStringLiteral("Anna"));

  // Today is not past.
  markieren(r, 15, 15);
  cmdAuswahl_Click(kU);
  EXPECT_TRUE(meldungen().empty());

  // No: nothing, and the next entry asks again.
  skript->antworte(dialoge::kNein);
  markieren(r, 14, 14);
  cmdAuswahl_Click(kU);
  EXPECT_EQ(raster().TextMatrix(r, 14), QString());
  skript->antworte(dialoge::kJa);
  markieren(r, 14, 14);
  cmdAuswahl_Click(kU);
  EXPECT_EQ(raster().TextMatrix(r, 14), QStringLiteral("U"));
  ASSERT_EQ(skript->protokoll.size(), 2u);
  for (const auto& a : skript->protokoll) {
    EXPECT_EQ(a.art, dialoge::Art::JaNein);
    EXPECT_EQ(a.text, frage);
    EXPECT_EQ(a.titel, QStringLiteral("Velkora"));
  }
  // Yes once: not again in this run, also for another row and over several rows.
  markieren(zeileVon(QStringLiteral("Bernd")), 2, 2);
  cmdAuswahl_Click(kK);
  markieren(zeileVon(QStringLiteral("Anna")), 7, 8, zeileVon(QStringLiteral("Bernd")));
  cmdAuswahl_Click(kK);
  EXPECT_EQ(skript->protokoll.size(), 2u);
  EXPECT_TRUE(Vergangenheit_bestätigt());
  EXPECT_EQ(schreibvorgänge(), 4);
}

TEST_F(EingabeTest, Stelle45BestaetigtVergangeneZeitraeumeUndStelle46LaesstMitarbeiterSieEintragen) {
  speichernAufzeichnen();
  SetSetting(45, 1);
  const int r = zeileVon(QStringLiteral("Anna"));
  markieren(r, 13, 13);
  cmdAuswahl_Click(kU);
  EXPECT_TRUE(meldungen().empty());
  EXPECT_EQ(raster().TextMatrix(r, 13), QStringLiteral("U"));

  SetSetting(46, 1);
  gBenutzerstufe = 0;
  markieren(r, 9, 9);
  cmdAuswahl_Click(kU);
  EXPECT_TRUE(meldungen().empty());
  EXPECT_EQ(raster().TextMatrix(r, 9), QStringLiteral("U"));
}

TEST_F(EingabeTest, MehrereZeilenFragenEinmalVorAllenZeilenUndNeinUeberspringtDieVergangenen) {
  speichernAufzeichnen();
  skript->antworte(dialoge::kNein);
  // Erasing from the 14th: Anna's entries start on the 16th (not past), Bernd's on
  // the 14th (past).
  anzeigen({{QStringLiteral("anna"), {{16, SFHex(kU)}}}, {QStringLiteral("bernd"), {{14, SFHex(kU)}}}});
  markieren(zeileVon(QStringLiteral("Anna")), 14, 16, zeileVon(QStringLiteral("Bernd")));
  cmdAuswahl_Click(kLöschen);
  EXPECT_EQ(skript->protokoll.size(), 1u);
  EXPECT_EQ(raster().TextMatrix(zeileVon(QStringLiteral("Anna")), 16), QString());
  EXPECT_EQ(raster().TextMatrix(zeileVon(QStringLiteral("Bernd")), 14), QStringLiteral("U"));
  ASSERT_EQ(schreibvorgänge(), 1);
  EXPECT_EQ(geschrieben(), QStringList{QStringLiteral("A:Anna:") + codes({})});
  EXPECT_FALSE(gLogbuchPuffern);
}

// --- Several rows ----------------------------------------------------------------------

TEST_F(EingabeTest, MehrereZeilenUeberspringenUeberschriftenUndSpeichernAllesAufEinmal) {
  speichernAufzeichnen();
  gBenutzerstufe = 1;
  // Clara already has the entry: her row changes nothing and adds no line.
  anzeigen({{QStringLiteral("clara"), {{16, SFHex(kK)}, {17, SFHex(kK)}}}});
  markieren(zeileVon(QStringLiteral("Vertrieb")), 16, 17, zeileVon(QStringLiteral("Clara")));
  cmdAuswahl_Click(kK);

  EXPECT_TRUE(meldungen().empty());
  const QString kk = codes({{16, SFHex(kK)}, {17, SFHex(kK)}});
  ASSERT_EQ(schreibvorgänge(), 1);
  EXPECT_EQ(geschrieben(), (QStringList{QStringLiteral("A:Anna:") + kk, QStringLiteral("A:bernd:") + kk}));
  for (const char* kopf : {"Vertrieb", "Technik"})
    for (int d = 16; d <= 17; ++d) EXPECT_EQ(raster().TextMatrix(zeileVon(QString::fromUtf8(kopf)), d), QString());
  EXPECT_FALSE(gLogbuchPuffern);
  EXPECT_EQ(raster().HighLight(), 0);
  const QStringList log = dekodierteZeilen(logbuch());
  ASSERT_EQ(log.size(), 2);
  EXPECT_TRUE(log[0].endsWith(QStringLiteral("|Anna|Krank|160426|170426")));
  EXPECT_TRUE(log[1].endsWith(QStringLiteral("|bernd|Krank|160426|170426")));
}

TEST_F(EingabeTest, MehrereZeilenHaengenUeberDenMonatsschreiberAlleZeilenZusammenAn) {
  // The month exists from yesterday; the run writes today's version once.
  const QString gestern = gDatenordner + QStringLiteral("2604 260414 Data.dat");
  schreiben(gestern, kodiert({QStringLiteral("[2604]"), QStringLiteral("Kennzeile"), QStringLiteral("NoEx:NoEx"),
                              QStringLiteral("A:clara:") + codes({{2, SFHex(kU)}})}));
  anzeigen({{QStringLiteral("clara"), {{2, SFHex(kU)}}}});
  markieren(zeileVon(QStringLiteral("Anna")), 16, 16, zeileVon(QStringLiteral("Clara")));
  cmdAuswahl_Click(kU);
  const QString u = codes({{16, SFHex(kU)}});
  EXPECT_EQ(dekodierteZeilen(monatsdatei()),
            (QStringList{QStringLiteral("[2604]"), QStringLiteral("Kennzeile"), QStringLiteral("NoEx:NoEx"),
                         QStringLiteral("A:clara:") + codes({{2, SFHex(kU)}}), QStringLiteral("A:Anna:") + u,
                         QStringLiteral("A:bernd:") + u,
                         QStringLiteral("A:clara:") + codes({{2, SFHex(kU)}, {16, SFHex(kU)}})}));
  EXPECT_FALSE(QFile::exists(gestern));
  EXPECT_EQ(dekodierteZeilen(logbuch()).size(), 3);
}

// --- Saving, logbook and comments --------------------------------------------------------

TEST_F(EingabeTest, GleicheSchaltflaecheZweimalSpeichertBeimZweitenMalNichts) {
  speichernAufzeichnen();
  const int r = zeileVon(QStringLiteral("Anna"));
  const QString vorher = Tabellenzeilendaten(r);
  markieren(r, 16, 17);
  cmdAuswahl_Click(kU);
  const QString nachher = Tabellenzeilendaten(r);
  markieren(r, 16, 17);
  cmdAuswahl_Click(kU);
  EXPECT_EQ(schreibvorgänge(), 1);
  EXPECT_EQ(dekodierteZeilen(logbuch()).size(), 1);
  // The first: before, after with the logbook text, the comment step dropped; the
  // second: before, dropped.
  ASSERT_EQ(Undoposition(), 2);
  EXPECT_EQ(Undostapel(1).eintrag.mid(12), vorher);
  EXPECT_TRUE(Undostapel(1).text.isEmpty());
  EXPECT_EQ(Undostapel(2).eintrag.mid(12), nachher);
  EXPECT_TRUE(Undostapel(2).text.endsWith(QStringLiteral("|Urlaub|160426|170426"))) << qPrintable(Undostapel(2).text);
}

TEST_F(EingabeTest, GespeicherteMonatsdateiUndLogbuchzeileWerdenZurueckgelesen) {
  const int r = zeileVon(QStringLiteral("Bernd"));
  markieren(r, 17, 16);  // marked right to left
  cmdAuswahl_Click(kK);
  markieren(r, 22, 22);
  cmdAuswahl_Click(kU);

  // A month without a file: header, the opaque line, no exceptions, then the lines.
  EXPECT_EQ(dekodierteZeilen(monatsdatei()),
            (QStringList{QStringLiteral("[2604]"), QStringLiteral("Kennzeile"), QStringLiteral("NoEx:NoEx"),
                         QStringLiteral("A:bernd:") + codes({{16, SFHex(kK)}, {17, SFHex(kK)}}),
                         QStringLiteral("A:bernd:") + codes({{16, SFHex(kK)}, {17, SFHex(kK)}, {22, SFHex(kU)}})}));
  EXPECT_EQ(gMonatsdateiStand, Monatsstand_lesen(gMonatsschlüssel));
  EXPECT_FALSE(Monatsstand_geändert(gMonatsschlüssel)) << "the own write is not taken for another's";
  const QStringList log = dekodierteZeilen(logbuch());
  ASSERT_EQ(log.size(), 2);
  EXPECT_EQ(log[0], QStringLiteral("15.04.26 09:30:00|anna|bernd|Krank|160426|170426"));
  EXPECT_EQ(log[1], QStringLiteral("15.04.26 09:30:00|anna|bernd|Urlaub|220426|220426"));
  // The entry clipboard repeats the last button.
  markieren(r, 23, 23);
  cmdAuswahl_Click(kK);
  EXPECT_EQ(Zwischenablage(), QStringList{SFHex(kK)});
}

TEST_F(EingabeTest, KommentareDerGeaendertenTageWerdenMitLeererKommentarzeileGeloescht) {
  speichernAufzeichnen();
  anzeigen({{QStringLiteral("anna"), {{17, SFHex(kK)}, {27, SFHex(kK)}}}});
  const int r = zeileVon(QStringLiteral("Anna"));
  gKommentarMarken.dimensionieren(raster().Rows() - 1);
  gKommentarMarken.setzen(r, 17, QStringLiteral("Arzt"));
  gKommentarMarken.setzen(r, 27, QStringLiteral("bleibt"));
  raster().setCellFontBold(r, 17, true);
  raster().setCellFontBold(r, 27, true);
  markieren(r, 16, 18);  // 18 is a Saturday: narrowed to 16-17
  cmdAuswahl_Click(kU);
  ASSERT_EQ(schreibvorgänge(), 2);
  EXPECT_EQ(geschrieben().value(1), QStringLiteral("K:Anna:16-17:"));
  EXPECT_FALSE(raster().CellFontBold(r, 17));
  EXPECT_TRUE(raster().CellFontBold(r, 27));
  for (int d = 16; d <= 18; ++d) EXPECT_EQ(gKommentarMarken.text(r, d), QString()) << d;
  EXPECT_EQ(gKommentarMarken.text(r, 27), QStringLiteral("bleibt"));
  // Before and after of the row and of its comments, made one group.
  ASSERT_EQ(Undoposition(), 6);
  EXPECT_EQ(Undostapel(1).eintrag, QStringLiteral(">"));
  for (int i : {2, 3}) EXPECT_TRUE(Undostapel(i).eintrag.mid(12).startsWith(QStringLiteral("A:Anna:"))) << i;
  for (int i : {4, 5}) EXPECT_FALSE(Undostapel(i).eintrag.mid(12).startsWith(QStringLiteral("A:"))) << i;
  EXPECT_EQ(Undostapel(6).eintrag, QStringLiteral("<"));
}

TEST_F(EingabeTest, GezeigteTagessummenZeigenDenMonatNeu) {
  speichernAufzeichnen();
  gBenutzerwerte[25] = 1;
  // A text the month does not hold: the redisplay takes it away.
  const auto merken = [this] { raster().setTextMatrix(zeileVon(QStringLiteral("Technik")), 30, QStringLiteral("x")); };
  const auto neuGezeigt = [this] { return raster().TextMatrix(zeileVon(QStringLiteral("Technik")), 30).isEmpty(); };
  merken();
  markieren(zeileVon(QStringLiteral("Anna")), 16, 16);
  cmdAuswahl_Click(kU);
  EXPECT_TRUE(neuGezeigt()) << "one row";
  merken();
  markieren(zeileVon(QStringLiteral("Anna")), 17, 17, zeileVon(QStringLiteral("Bernd")));
  cmdAuswahl_Click(kU);
  EXPECT_TRUE(neuGezeigt()) << "several rows";
}

TEST_F(EingabeTest, ZeilensatzTrenntSchaltflaechenEinesBuchstabensNachFarbe) {
  // Two buttons with the same letter differ by their colour.
  gSFTexte.insert(3, QStringLiteral("Urlaub halb"));
  gSFKennbuchstaben.insert(3, QStringLiteral("U"));
  gSFTextfarben.insert(3, 0x55);
  gSFHintergrundfarben.insert(3, 0x00AA00);
  gSFNurAdmins.insert(3, 0);
  gSFVerbergen.insert(3, 0);
  const int r = zeileVon(QStringLiteral("Anna"));
  zelleSetzen(r, 2, 1);
  zelleSetzen(r, 3, 3);
  zelleSetzen(r, 9, 6);  // the mark: 5 buttons with the erase button
  // A letter whose colour fits no button keeps the first button of that letter.
  raster().setTextMatrix(r, 10, QStringLiteral("U"));
  raster().setCellBackColor(r, 10, 0x123456);
  EXPECT_EQ(Tabellenzeilendaten(r),
            QStringLiteral("A:Anna:") + codes({{2, SFHex(1)}, {3, SFHex(3)}, {9, SFHex(6)}, {10, SFHex(1)}}));
  EXPECT_EQ(Tabellenzeilendaten(r).size(), 7 + 31);
}

// Another workstation holds the month when this one saves, and enters day 20 on the same
// row before it lets go: the entry changes only its own days of the row as the file
// then has it.
TEST_F(EingabeTest, EintragBehaeltDenTagEinesAnderenArbeitsplatzesInDerselbenZeile) {
  speichernAufzeichnen();
  anzeigen({{QStringLiteral("anna"), {{17, SFHex(kK)}}}});
  const QString sperre = Monatssperre_Datei(gMonatsschlüssel);
  schreiben(sperre, "andererPC|4711|x");
  neuZählen();
  uhr::Quellen q;
  q.schlafen = [&](double sekunden) {
    if (QFile::exists(sperre)) {
      fremdAnhängen(QStringLiteral("A:Anna:") + codes({{17, SFHex(kK)}, {20, SFHex(kK)}}));
      QFile::remove(sperre);
    }
    uhr.sekunden += sekunden;
  };
  uhr::setze(q);
  const int r = zeileVon(QStringLiteral("Anna"));
  markieren(r, 16, 16);
  cmdAuswahl_Click(kU);
  EXPECT_EQ(schreibvorgänge(), 1);
  EXPECT_EQ(geschrieben(),
            QStringList{QStringLiteral("A:Anna:") + codes({{16, SFHex(kU)}, {17, SFHex(kK)}, {20, SFHex(kK)}})});
  EXPECT_TRUE(meldungen().empty());
}

// --- A save that fails -------------------------------------------------------------------

TEST_F(EingabeTest, MisslungenesSpeichernLaesstDasRasterWieInDerDatei) {
  speichernAufzeichnen(false);
  const std::map<QString, std::map<int, QString>> monat{{QStringLiteral("anna"), {{17, SFHex(kK)}}}};
  anzeigen(monat);
  // A refused save forgets the month's stamp, so the next look reloads it, keeping the
  // marking as the window does.
  const int anmeldung = Monat_neu_laden_anmelden([&] {
    Raster& g = raster();
    const int zeile = g.Row(), spalte = g.Col(), bisZeile = g.RowSel(), bisSpalte = g.ColSel();
    anzeigen(monat);
    markieren(zeile, spalte, bisSpalte, bisZeile);
  });
  const int r = zeileVon(QStringLiteral("Anna"));
  markieren(r, 16, 17);
  cmdAuswahl_Click(kU);
  EXPECT_EQ(raster().TextMatrix(r, 16), QString());
  EXPECT_EQ(raster().CellBackColor(r, 16), gGrundfarben[1]);
  EXPECT_EQ(raster().TextMatrix(r, 17), QStringLiteral("K"));
  EXPECT_EQ(raster().CellBackColor(r, 17), 0x0000FF);
  EXPECT_FALSE(QFile::exists(logbuch()));

  // Several rows: nothing held back survives the failed save.
  markieren(r, 16, 16, zeileVon(QStringLiteral("Bernd")));
  cmdAuswahl_Click(kU);
  EXPECT_EQ(raster().TextMatrix(r, 16), QString());
  EXPECT_EQ(raster().TextMatrix(zeileVon(QStringLiteral("Bernd")), 16), QString());
  EXPECT_FALSE(QFile::exists(logbuch()));
  EXPECT_EQ(gLogbuchPuffer, QStringList{QStringLiteral("NoData")});
  Monat_neu_laden_abmelden(anmeldung);
}

// --- Another workstation while the past-period question is open ---------------------------

class AndererArbeitsplatzTest : public EingabeTest {
 protected:
  // While the past-period question stands open another workstation writes the month;
  // the change check after the question then reloads it with what was done there.
  class FrageMitFremdschreiben : public dialoge::Skript {
   public:
    std::function<void()> beiFrage;
    dialoge::Antwort zeigen(const dialoge::Aufforderung& a) override {
      if (beiFrage) std::exchange(beiFrage, nullptr)();
      return Skript::zeigen(a);
    }
  };
  void nachDerFrage(std::function<void()> änderung) {
    auto frage = std::make_unique<FrageMitFremdschreiben>();
    frage->antworten = skript->antworten;
    frage->beiFrage = [this] { fremdAnhängen(QStringLiteral("A:fremd:") + codes({})); };
    skript = frage.get();
    dialoge::setzeDienst(std::move(frage));
    mAnmeldung = Monat_neu_laden_anmelden([änderung] { änderung(); });
  }
  void TearDown() override {
    if (mAnmeldung) Monat_neu_laden_abmelden(mAnmeldung);
    EingabeTest::TearDown();
  }
  void nichtsWennVerschwunden(std::function<void()> änderung, const QString& meldung) {
    speichernAufzeichnen();
    skript->antworte(dialoge::kJa);
    nachDerFrage(std::move(änderung));
    markieren(zeileVon(QStringLiteral("Anna")), 14, 14);
    cmdAuswahl_Click(kK);
    EXPECT_TRUE(schreibvorgänge() == 0);
    ASSERT_FALSE(meldungen().empty());
    EXPECT_EQ(meldungen().back(), meldung);
    for (int r = 1; r < raster().Rows(); ++r)
      for (int d = 1; d <= 31; ++d) EXPECT_EQ(raster().TextMatrix(r, d), QString());
    EXPECT_FALSE(QFile::exists(logbuch()));
    EXPECT_EQ(raster().HighLight(), 0);
  }
  int mAnmeldung = 0;
};

TEST_F(AndererArbeitsplatzTest, EintragFolgtSeinemMitarbeiterUndBehaeltDieAndereAenderung) {
  speichernAufzeichnen();
  skript->antworte(dialoge::kJa);
  nachDerFrage([this] {
    leute.insert(leute.begin() + 1, {QStringLiteral("Aaron"), QStringLiteral("aaron")});
    Mitarbeitertabelle_setzen();
    anzeigen({{QStringLiteral("anna"), {{20, SFHex(kK)}}}});
  });
  markieren(zeileVon(QStringLiteral("Anna")), 13, 14);
  cmdAuswahl_Click(kU);
  const int anna = zeileVon(QStringLiteral("Anna"));
  EXPECT_EQ(raster().TextMatrix(anna, 13), QStringLiteral("U"));
  for (int d = 1; d <= 31; ++d) EXPECT_EQ(raster().TextMatrix(zeileVon(QStringLiteral("Aaron")), d), QString());
  ASSERT_EQ(schreibvorgänge(), 1);
  EXPECT_EQ(geschrieben().value(0),
            QStringLiteral("A:Anna:") + codes({{13, SFHex(kU)}, {14, SFHex(kU)}, {20, SFHex(kK)}}));
  EXPECT_EQ(skript->protokoll.size(), 1u);
}

TEST_F(AndererArbeitsplatzTest, EintragWirdAmNachgeladenenMonatNeuGeprueft) {
  speichernAufzeichnen();
  skript->antworte(dialoge::kJa);
  // Meanwhile the 14th became a holiday: the entry now covers only the 13th.
  nachDerFrage([this] {
    gFeiertagsTabelle += QStringLiteral("260414|");
    anzeigen();
  });
  markieren(zeileVon(QStringLiteral("Anna")), 13, 14);
  cmdAuswahl_Click(kU);
  ASSERT_EQ(schreibvorgänge(), 1);
  EXPECT_EQ(geschrieben().value(0), QStringLiteral("A:Anna:") + codes({{13, SFHex(kU)}}));
}

TEST_F(AndererArbeitsplatzTest, EintragNimmtNachDemNachladenDieSchaltflaecheSeinesBuchstabensUndSeinerFarbe) {
  speichernAufzeichnen();
  skript->antworte(dialoge::kJa);
  // Another workstation put a new button before Krank.
  nachDerFrage([this] {
    gSFTexte.insert(1, QStringLiteral("Schule"));
    gSFKennbuchstaben.insert(1, QStringLiteral("S"));
    gSFTextfarben.insert(1, 0x66);
    gSFHintergrundfarben.insert(1, 0x777777);
    gSFNurAdmins.insert(1, 0);
    gSFVerbergen.insert(1, 0);
    anzeigen();
  });
  markieren(zeileVon(QStringLiteral("Anna")), 14, 14);
  cmdAuswahl_Click(kK);
  const int anna = zeileVon(QStringLiteral("Anna"));
  EXPECT_EQ(raster().TextMatrix(anna, 14), QStringLiteral("K"));
  EXPECT_EQ(raster().CellBackColor(anna, 14), 0x0000FF);
  ASSERT_EQ(schreibvorgänge(), 1);
  EXPECT_EQ(geschrieben().value(0), QStringLiteral("A:Anna:") + codes({{14, SFHex(3)}}));
  const QStringList log = dekodierteZeilen(logbuch());
  ASSERT_EQ(log.size(), 1);
  EXPECT_TRUE(log[0].endsWith(QStringLiteral("|Krank|140426|140426")));
}

TEST_F(AndererArbeitsplatzTest, NichtsAendertSichWennDerMitarbeiterWegIst) {
  nichtsWennVerschwunden(
      [this] {
        leute.erase(leute.begin() + 1);
        Mitarbeitertabelle_setzen();
        anzeigen();
      },
      Eintrag_verworfen_Meldung_Mitarbeiter(QStringLiteral("Anna")));
}

TEST_F(AndererArbeitsplatzTest, NichtsAendertSichWennDieSchaltflaecheWegIst) {
  nichtsWennVerschwunden(
      [this] {
        gSFHintergrundfarben[kK] = 0x00FFFF;
        anzeigen();
      },
      Eintrag_verworfen_Meldung_Schaltfläche(QStringLiteral("Krank")));
}

TEST_F(AndererArbeitsplatzTest, MehrereZeilenFolgenIhrenMitarbeiternNachDerFrage) {
  speichernAufzeichnen();
  skript->antworte(dialoge::kJa);
  nachDerFrage([this] {
    // A new employee now stands between Anna and Bernd.
    leute.insert(leute.begin() + 2, {QStringLiteral("Aaron"), QStringLiteral("aaron")});
    Mitarbeitertabelle_setzen();
    anzeigen({{QStringLiteral("bernd"), {{20, SFHex(kK)}}}});
  });
  markieren(zeileVon(QStringLiteral("Anna")), 14, 14, zeileVon(QStringLiteral("Bernd")));
  cmdAuswahl_Click(kU);
  EXPECT_EQ(skript->protokoll.size(), 1u);
  const QString u = codes({{14, SFHex(kU)}});
  ASSERT_EQ(schreibvorgänge(), 1);
  EXPECT_EQ(geschrieben(), (QStringList{QStringLiteral("A:Anna:") + u,
                                        QStringLiteral("A:bernd:") + codes({{14, SFHex(kU)}, {20, SFHex(kK)}})}));
  EXPECT_EQ(raster().TextMatrix(zeileVon(QStringLiteral("Aaron")), 14), QString());
}

}  // namespace
