// Printouts read back from their PDF files, in the font this system puts in for Arial
// and in substitutes with a taller line: nothing of a page runs into its footer, and no
// heading line is struck through by a border or covered by the row below.
#include <QLineEdit>

#include "printing/Ansichtsquellen.h"
#include "printing/Druckbild.h"
#include "printing/frmDrucken.h"

namespace {

// The heading band and the cell frames in colours that no text and no rule has.
constexpr Farbwert kBand = 0xFFE0C0;
constexpr Farbwert kRahmen = 0x00A0FF;
const QColor kBandfarbe(0xC0, 0xE0, 0xFF);
constexpr double kDpi = 200;

// Each test once on the face the system puts in for Arial (a run per font set, see
// CMakeLists.txt) and on stand-ins with a taller line than any of them: the parameter is
// the line gap added to the stand-in, 0 for the system's own substitute.
class Seitengrenzen : public AnsichtsdruckTest, public testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    AnsichtsdruckTest::SetUp();
    ersatz = std::make_unique<Ersatz_für_Arial>(GetParam());
    gDruckersystem.ziel = Systemdrucker().ziel;
    drucker.clear();
    standard.clear();
    gGrundfarben[5] = kBand;
    gGrundfarben[6] = kRahmen;
  }
  void TearDown() override {
    ersatz.reset();
    AnsichtsdruckTest::TearDown();
  }
  // Prints the job through the dialog to "PDF-Datei" under the name; its pages.
  std::vector<Pdfseite> drucken(const QString& code, const QString& name) {
    gDruckauftrag = code;
    frmDrucken d;
    d.Form_Load();
    d.txtAnzahl->setText(QStringLiteral("1"));
    const QString pdf = ordner() + name + QStringLiteral(".pdf");
    skript->antworte(dialoge::kOK, pdf);
    EXPECT_TRUE(d.Drucken());
    return Pdf_lesen(pdf, kDpi);
  }
  // Every page ends with its footer rule and has nothing but the footer's own texts on
  // and below it.
  static void bleibtÜberDerFußzeile(const std::vector<Pdfseite>& seiten, bool seitenzahl) {
    ASSERT_FALSE(seiten.empty());
    for (std::size_t i = 0; i < seiten.size(); ++i) {
      SCOPED_TRACE(QStringLiteral("Seite %1").arg(i + 1).toStdString());
      const Fußlinie f = Fußlinie_finden(seiten[i]);
      ASSERT_GE(f.oben, 0) << "no footer rule";
      QStringList fußtexte{FormatDatumDA(gHeute)};
      if (seitenzahl) fußtexte << QStringLiteral("Seite") << QString::number(i + 1);
      EXPECT_EQ(Punkte_in_der_Fußzeile(seiten[i], f, fußtexte), 0);
    }
  }
  std::unique_ptr<Ersatz_für_Arial> ersatz;
};

// The step from one printed line to the next is never taller than Arial's line, at both
// sizes the layouts print; a stand-in with a taller line gets exactly Arial's, and the
// line box of a text still fits into that step.
TEST_P(Seitengrenzen, ZeileSoHochWieArialsZeile) {
  for (const double größe : {10.0, 9.0}) {
    SCOPED_TRACE(größe);
    const QString pdf = ordner() + QStringLiteral("Zeilen %1 %2.pdf").arg(GetParam()).arg(größe);
    gDruckauftrag = QStringLiteral("LA");
    gDrucker = Systemdrucker().ziel(kPdfDrucker, pdf);
    ASSERT_TRUE(Druckereinstellungen_setzen());
    gDruckschrift.größe = größe;
    Schreibe_Text(2.3, 3, QStringLiteral("Erste"), QString());
    Schreibe_Text(2.3, 0, QStringLiteral("Zweite"), QString());
    Druckauftrag_beenden();
    const std::vector<Pdfseite> seiten = Pdf_lesen(pdf, 72);
    ASSERT_EQ(seiten.size(), 1u);
    const Pdfwort* erste = seiten.front().wort(QStringLiteral("Erste"));
    const Pdfwort* zweite = seiten.front().wort(QStringLiteral("Zweite"));
    ASSERT_TRUE(erste && zweite);
    const double arial = größe / 72 * 2.54 * (1854.0 + 434.0 + 67.0) / 2048.0;
    const double schritt = zweite->cm.top() - erste->cm.top();
    // The step adds up over a page, so it is held closer than a position: a face is set
    // in whole printer dots, and its line misses Arial's by little more than one.
    EXPECT_LE(schritt, arial + 0.003);
    if (GetParam() > 0) {
      EXPECT_NEAR(schritt, arial, 0.003);
    }
    EXPECT_LE(erste->cm.height(), schritt + kUnsichtbar);
    EXPECT_NEAR(erste->cm.top(), 3, kUnsichtbar);
  }
}

TEST_P(Seitengrenzen, JahresuebersichtMitLegendeUeberDerFusszeile) {
  // Code buttons, vacation button, special leave: three to six legend lines, with and
  // without the account block and its special-leave half.
  struct Fall {
    int knöpfe;
    int urlaub;
    bool sonderurlaub;
  };
  const Fall fälle[] = {{9, 1, false}, {13, 1, true},  {14, 1, false}, {18, 1, true},
                        {22, 1, true}, {24, 1, false}, {24, 0, false}};
  Jahresquelle_Test jahr;
  jahr.füllen();
  jahr.einsetzen();
  jahr.gitter.setTextMatrix(3, 5, QStringLiteral("U"));
  for (const Fall& f : fälle) {
    SCOPED_TRACE(QStringLiteral("%1 Knöpfe, Urlaub %2, Sonderurlaub %3")
                     .arg(f.knöpfe)
                     .arg(f.urlaub)
                     .arg(f.sonderurlaub)
                     .toStdString());
    knöpfe(f.knöpfe);
    gSFUrlaub = f.urlaub;
    jahr.sonderurlaub = f.sonderurlaub;
    const std::vector<Pdfseite> seiten =
        drucken(QStringLiteral("JE"), QStringLiteral("Jahr %1 %2 %3").arg(GetParam()).arg(f.knöpfe).arg(f.urlaub));
    ASSERT_EQ(seiten.size(), 1u);
    bleibtÜberDerFußzeile(seiten, false);
    // The whole legend is there, above the rule.
    const Pdfseite& s = seiten.front();
    const double regel = s.cm(Fußlinie_finden(s).oben);
    int einträge = 0;
    for (const Pdfwort& w : s.wörter)
      if (w.text == u"Grund" || w.text == u"Feiertag") {
        ++einträge;
        EXPECT_LT(w.cm.bottom(), regel) << w.text.toStdString();
      }
    const bool mitFeiertag = f.knöpfe + 1 < 24 || f.urlaub == 0;
    EXPECT_EQ(einträge, f.knöpfe + (mitFeiertag ? 1 : 0));
  }
}

TEST_P(Seitengrenzen, JahresuebersichtAllerMitarbeiterJedeSeiteUeberDerFusszeile) {
  Jahresquelle_Test jahr;
  jahr.füllen();
  jahr.einsetzen();
  jahr.namen = {QStringLiteral("Anna Beispiel"), QStringLiteral("Bernd Muster")};
  jahr.sonderurlaub = true;
  knöpfe(18);
  gSFUrlaub = 1;
  const QString name = QStringLiteral("Alle %1").arg(GetParam());
  drucken(QStringLiteral("JG"), name);
  for (int i = 1; i <= 2; ++i) {
    SCOPED_TRACE(i);
    const QString datei =
        ordner() + name + (i == 1 ? QString() : QStringLiteral(" (%1)").arg(i)) + QStringLiteral(".pdf");
    const std::vector<Pdfseite> seiten = Pdf_lesen(datei, kDpi);
    ASSERT_EQ(seiten.size(), 1u);
    EXPECT_NE(seiten.front().wort(jahr.namen[i - 1].section(u' ', 1)), nullptr);
    bleibtÜberDerFußzeile(seiten, false);
  }
}

TEST_P(Seitengrenzen, UrlaubsuebersichtKopfzeilenNichtDurchgestrichen) {
  // Employees, special-leave mode, per-user value 23 (cell frames, or white gaps).
  struct Fall {
    int zeilen;
    bool sonderurlaub;
    int gitterlinien;
  };
  const Fall fälle[] = {{1, false, 1}, {30, true, 0}, {60, false, 1}};
  Urlaubsquelle_Test quelle;
  quelle.einsetzen();
  for (const Fall& f : fälle) {
    SCOPED_TRACE(QStringLiteral("%1 Zeilen, Sonderurlaub %2, Gitterlinien %3")
                     .arg(f.zeilen)
                     .arg(f.sonderurlaub)
                     .arg(f.gitterlinien)
                     .toStdString());
    quelle.sonderurlaub = f.sonderurlaub;
    gBenutzerwerte[23] = f.gitterlinien;
    Raster& g = quelle.gitter;
    g.setRows(f.zeilen + 1);
    for (int r = 1; r <= f.zeilen; ++r) {
      g.setTextMatrix(r, 0, QStringLiteral("Mitarbeiter %1").arg(r));
      for (int c = 1; c <= 9; ++c) g.setTextMatrix(r, c, QStringLiteral("12,5"));
    }
    const std::vector<Pdfseite> seiten = drucken(
        QStringLiteral("U"), QStringLiteral("Urlaub %1 %2 %3").arg(GetParam()).arg(f.zeilen).arg(f.sonderurlaub));
    bleibtÜberDerFußzeile(seiten, true);
    int zeilen = 0;
    for (const Pdfseite& s : seiten)
      for (const Pdfwort& w : s.wörter) zeilen += w.text == u"Mitarbeiter";
    EXPECT_EQ(zeilen, f.zeilen);
    for (std::size_t i = 0; i < seiten.size(); ++i) {
      SCOPED_TRACE(QStringLiteral("Seite %1").arg(i + 1).toStdString());
      const Pdfseite& s = seiten[i];
      const Pdfwort* ersteZeile = s.wort(QStringLiteral("Mitarbeiter"));
      ASSERT_NE(ersteZeile, nullptr);
      // The heading: every word between the header rule and the first row.
      QStringList geprüft;
      for (const Pdfwort& w : s.wörter)
        if (w.cm.top() > 2.3 && w.cm.center().y() < ersteZeile->cm.top()) {
          geprüft << w.text;
          EXPECT_EQ(Gestrichene_Zeilen(s, w, kBandfarbe), 0) << w.text.toStdString();
          EXPECT_LT(w.cm.bottom(), ersteZeile->cm.top()) << w.text.toStdString();
        }
      for (const char16_t* t : {u"Name", u"Urlaubsan-", u"genommen", u"geplant", u"Unverplant"})
        EXPECT_TRUE(geprüft.contains(QString::fromUtf16(t))) << QString::fromUtf16(t).toStdString();
      EXPECT_TRUE(geprüft.contains(f.sonderurlaub ? QStringLiteral("in") : QStringLiteral("aus")));
    }
  }
}

TEST_P(Seitengrenzen, AndereAusdruckeUeberDerFusszeile) {
  knöpfe(22);  // four legend lines in the month
  gBenutzerwerte[24] = 1;
  Summenquelle_Test summen;
  Logbuchquelle_Test logbuch;
  Überstundenquelle_Test überstunden;
  const QString z = QString::number(GetParam());
  // The month with as many employees as leave the legend on the last page, or move it.
  for (const int zeilen : {1, 14, 17, 20, 21, 45}) {
    SCOPED_TRACE(QStringLiteral("Monat mit %1 Zeilen").arg(zeilen).toStdString());
    gMonatsdruckquelle = &quelle;
    monat(zeilen);
    bleibtÜberDerFußzeile(drucken(QStringLiteral("ME"), QStringLiteral("Monat %1 %2").arg(z).arg(zeilen)), true);
  }
  summen.einsetzen();
  Raster& s = summen.gitter;
  s.setCols(23);
  s.setRows(61);
  for (int r = 1; r <= 60; ++r) {
    s.setTextMatrix(r, 0, r == 60 ? QStringLiteral("Gesamtsumme") : QStringLiteral("Mitarbeiter %1").arg(r));
    for (int c = 1; c <= 22; ++c) s.setTextMatrix(r, c, QStringLiteral("3"));
  }
  {
    SCOPED_TRACE("Summen");
    bleibtÜberDerFußzeile(drucken(QStringLiteral("S"), QStringLiteral("Summen ") + z), true);
  }
  logbuch.einsetzen();
  logbuch.gitter.setRows(61);
  for (int r = 1; r <= 60; ++r)
    for (int c = 0; c < 8; ++c) logbuch.gitter.setTextMatrix(r, c, QStringLiteral("gjp %1").arg(r));
  {
    SCOPED_TRACE("Logbuch");
    bleibtÜberDerFußzeile(drucken(QStringLiteral("LB"), QStringLiteral("Logbuch ") + z), true);
  }
  überstunden.einsetzen();
  überstunden.gitter.setRows(91);
  for (int r = 1; r <= 90; ++r)
    for (int c = 0; c < 4; ++c) überstunden.gitter.setTextMatrix(r, c, QStringLiteral("gjp %1").arg(r));
  {
    SCOPED_TRACE("Überstunden");
    bleibtÜberDerFußzeile(drucken(QStringLiteral("Ü"), QStringLiteral("Ueberstunden ") + z), true);
  }
}

// The system's substitute, once in each font set's run; the stand-ins with a taller line
// than any installed face look the same in every set, and CMakeLists.txt runs them once.
INSTANTIATE_TEST_SUITE_P(Systemschrift, Seitengrenzen, testing::Values(0));
INSTANTIATE_TEST_SUITE_P(HoheZeile, Seitengrenzen, testing::Values(400, 1100),
                         [](const testing::TestParamInfo<int>& p) { return std::to_string(p.param); });

}  // namespace
