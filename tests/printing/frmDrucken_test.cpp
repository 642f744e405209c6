#include "printing/frmDrucken.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/Druckhelfer.h"
#include "startup/Ordner.h"

namespace {

class Druckdialog : public DruckTest {
 protected:
  void SetUp() override {
    DruckTest::SetUp();
    gHauptfensterTag = [this]() -> QString& { return tag; };
    monat(3);
  }
  QStringList logbuch() const {
    QStringList zeilen;
    for (const QString& n : QDir(gLogordner).entryList({QStringLiteral("*.log")}, QDir::Files))
      zeilen += dekodierteZeilen(gLogordner + n);
    return zeilen;
  }
  QString tag;
};

TEST_F(Druckdialog, ListeMitPdfUndGemerktemDruckerInAndererSchreibung) {
  drucker = {QStringLiteral("Laser Büro"), QStringLiteral("Image Writer 2"), QStringLiteral("Farbe Flur")};
  gDruckername = QStringLiteral("FARBE flur");
  gDruckauftrag = QStringLiteral("ME");
  frmDrucken d;
  d.Form_Load();
  ASSERT_EQ(d.cmbDrucker->count(), 3);
  EXPECT_EQ(d.cmbDrucker->itemText(2), QStringLiteral("PDF-Datei"));
  EXPECT_EQ(d.cmbDrucker->currentText(), QStringLiteral("Farbe Flur"));
  EXPECT_EQ(d.txtAnzahl->text(), QStringLiteral("1"));
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Velkora - Drucken"));
  // Choosing the default printer clears the remembered name, another one stores it.
  EXPECT_TRUE(d.Druckerwahl());
  EXPECT_EQ(gDruckername, QStringLiteral("Farbe Flur"));
  d.cmbDrucker->setCurrentIndex(0);
  EXPECT_TRUE(d.Druckerwahl());
  EXPECT_EQ(gDruckername, QString());
}

TEST_F(Druckdialog, OhneSystemdruckerIstPdfDieVorgabe) {
  drucker.clear();
  standard.clear();
  gDruckername = QStringLiteral("Weg");
  gDruckauftrag = QStringLiteral("ME");
  frmDrucken d;
  d.Form_Load();
  ASSERT_EQ(d.cmbDrucker->count(), 1);
  EXPECT_EQ(d.cmbDrucker->currentText(), QStringLiteral("PDF-Datei"));
  EXPECT_EQ(gDruckername, QString());  // no longer installed: forgotten
  EXPECT_TRUE(d.cmdAuswahl[1]->isEnabled());
}

TEST_F(Druckdialog, NullExemplareDruckenNichtsUndSchliessen) {
  gDruckauftrag = QStringLiteral("ME");
  frmDrucken d;
  d.Form_Load();
  d.txtAnzahl->setText(QStringLiteral("0"));
  d.cmdAuswahl_Click(1);
  EXPECT_TRUE(d.mEntladen);
  EXPECT_TRUE(aufträge.empty());
  // On "PDF-Datei" no file is asked for.
  frmDrucken p;
  p.Form_Load();
  p.cmbDrucker->setCurrentIndex(p.cmbDrucker->findText(kPdfDrucker));
  ASSERT_EQ(p.cmbDrucker->currentText(), kPdfDrucker);
  p.txtAnzahl->setText(QStringLiteral("0"));
  p.cmdAuswahl_Click(1);
  EXPECT_TRUE(p.mEntladen);
  EXPECT_TRUE(skript->protokoll.empty());
  EXPECT_TRUE(aufträge.empty());
  // An empty box: OK does nothing.
  frmDrucken e;
  e.Form_Load();
  e.txtAnzahl->clear();
  e.cmdAuswahl_Click(1);
  EXPECT_FALSE(e.mEntladen);
}

TEST_F(Druckdialog, EinAuftragWartetHalbeSekundeAufDerMonotonenUhr) {
  // Just before midnight: the wait is measured on the monotonic clock, never on the
  // seconds since midnight, so it ends after half a second.
  uhr.uhrzeit = QTime(23, 59, 59, 900);
  uhr.einsetzen();
  gDruckauftrag = QStringLiteral("ME");
  frmDrucken d;
  d.Form_Load();
  d.cmdAuswahl_Click(1);
  EXPECT_TRUE(d.mEntladen);
  ASSERT_FALSE(uhr.schlafprotokoll.empty());
  EXPECT_DOUBLE_EQ(uhr.schlafprotokoll.back(), 0.5);
}

TEST_F(Druckdialog, UnbekannterAuftragDrucktNichtsUndSchliesst) {
  gDruckauftrag = QStringLiteral("XY");
  frmDrucken d;
  d.Form_Load();
  d.cmdAuswahl_Click(1);
  EXPECT_TRUE(d.mEntladen);
  EXPECT_TRUE(aufträge.empty());
}

TEST_F(Druckdialog, SchnelldruckLeertTagUndDrucktEinExemplar) {
  tag = QStringLiteral("S");
  gDruckauftrag = QStringLiteral("ME");
  frmDrucken d;
  d.Form_Load();
  EXPECT_EQ(tag, QString());
  EXPECT_TRUE(d.mSchnelldruck);
  d.Form_Activate();
  EXPECT_TRUE(d.mEntladen);
  ASSERT_EQ(aufträge.size(), 1u);
  EXPECT_EQ(zielAnfragen.back().first, QStringLiteral("Laser Büro"));
}

TEST_F(Druckdialog, AlleMonateNachAbbrechenImDrittenMonat) {
  gDruckauftrag = QStringLiteral("MG");
  frmDrucken d;
  d.Form_Load();
  EXPECT_TRUE(d.txtAnzahl->isHidden());
  EXPECT_EQ(d.lblBeschriftung[2]->text(), QStringLiteral("Alle Monate des Jahres 2026 drucken?"));
  QString fortschritt;
  quelle.beimWählen = [&](int i) {
    fortschritt = d.lblBeschriftung[2]->text();
    EXPECT_TRUE(d.mLäuft);
    d.cmdAuswahl_Click(1);  // refused while running
    if (i == 2) d.cmdAuswahl_Click(2);
  };
  EXPECT_FALSE(d.Drucken());
  EXPECT_EQ(aufträge.size(), 3u);
  EXPECT_EQ(quelle.gewählt, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(fortschritt, QStringLiteral("März 2026 wird gedruckt ..."));
  EXPECT_TRUE(d.mEntladen);
  EXPECT_FALSE(d.mLäuft);
  // Not stopped: twelve months, then the shown month again.
  aufträge.clear();
  quelle.gewählt.clear();
  quelle.monat = 4;
  quelle.beimWählen = nullptr;
  frmDrucken e;
  e.Form_Load();
  EXPECT_TRUE(e.Drucken());
  EXPECT_EQ(aufträge.size(), 12u);
  EXPECT_EQ(quelle.gewählt.back(), 4);
}

TEST_F(Druckdialog, Fehler482NurAbgebrochenAndereMitLogbuchUndVergessenemDrucker) {
  ordnerEinrichten();
  struct Fall {
    int nummer;
    bool logbuch;
  };
  for (const Fall& f : {Fall{482, false}, Fall{57, true}}) {
    skript = &dialoge::skript();
    aufträge.clear();
    drucker = {QStringLiteral("Laser Büro"), QStringLiteral("Farbe Flur")};
    gDruckername = QStringLiteral("Farbe Flur");
    einrichten = [&](Aufzeichnung& a) {
      a.vorZeichnen = [n = f.nummer](const Aufzeichnung::Eintrag& e) {
        if (e.text == u"Mitarbeiter 2") throw Laufzeitfehler(n, QStringLiteral("Gerätefehler"));
      };
    };
    gDruckauftrag = QStringLiteral("ME");
    frmDrucken d;
    d.Form_Load();
    const int vorher = static_cast<int>(logbuch().size());
    EXPECT_FALSE(d.Drucken());
    EXPECT_FALSE(d.mEntladen);
    ASSERT_EQ(aufträge.size(), 1u);
    EXPECT_TRUE(aufträge[0]->abgebrochen);
    EXPECT_FALSE(aufträge[0]->beendet);
    EXPECT_TRUE(quelle.gitter.Redraw());
    EXPECT_EQ(gDruckername, QString());
    ASSERT_EQ(skript->texte().size(), 1u);
    if (f.logbuch) {
      EXPECT_EQ(
          skript->texte()[0],
          QStringLiteral("Es ist folgender Druckfehler aufgetreten in Modul 'frmDrucken - "
                         "Monatsübersicht_drucken':\r\rFehler Nr. 57\rGerätefehler\r\rDruckvorgang wird abgebrochen."));
      ASSERT_EQ(logbuch().size(), vorher + 1);
      EXPECT_TRUE(logbuch().back().endsWith(
          QStringLiteral("Druckfehler in 'frmDrucken - Monatsübersicht_drucken' - Fehler Nr. 57 - Gerätefehler")));
    } else {
      EXPECT_EQ(skript->texte()[0], QStringLiteral("Druckauftrag abgebrochen"));
      EXPECT_EQ(logbuch().size(), vorher);
    }
  }
}

TEST_F(Druckdialog, PdfFragtEinmalNachDerDateiUndNummeriert) {
  drucker.clear();
  standard.clear();
  gDruckauftrag = QStringLiteral("ME");
  frmDrucken d;
  d.Form_Load();
  d.txtAnzahl->setText(QStringLiteral("2"));
  skript->antworte(dialoge::kOK, ordner() + QStringLiteral("Monat"));
  EXPECT_TRUE(d.Drucken());
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_EQ(skript->protokoll[0].art, dialoge::Art::DateiSpeichern);
  EXPECT_EQ(zielAnfragen.back().second, ordner() + QStringLiteral("Monat.pdf"));
  EXPECT_EQ(aufträge.size(), 2u);
  // A cancelled file choice prints nothing and leaves the dialog open.
  aufträge.clear();
  EXPECT_FALSE(d.Drucken());
  EXPECT_TRUE(aufträge.empty());
}

}  // namespace

namespace {

// The dialog in both forms (copies, all-months question): nothing clipped, every
// control inside the client area. The pictures go to VELKORA_BILDER when it is set.
TEST_F(Druckdialog, BildDesDialogs) {
  for (const char* code : {"ME", "MG"}) {
    gDruckauftrag = QString::fromLatin1(code);
    frmDrucken d;
    d.Form_Load();
    d.show();
    for (QWidget* w : d.findChildren<QWidget*>()) {
      if (w->isVisible()) {
        EXPECT_TRUE(d.rect().contains(w->geometry())) << w->metaObject()->className();
      }
    }
    EXPECT_LE(d.lblBeschriftung[2]->sizeHint().width(), d.lblBeschriftung[2]->width());
    const QImage bild = d.grab().toImage();
    EXPECT_EQ(bild.size(), d.size());
    const QString ziel = qEnvironmentVariable("VELKORA_BILDER");
    if (!ziel.isEmpty()) bild.save(ziel + QStringLiteral("/frmDrucken_%1.png").arg(code));
    d.close();
  }
}

}  // namespace
