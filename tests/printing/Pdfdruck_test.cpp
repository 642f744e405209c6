// The month printout as real PDF files, checked with the poppler tools.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include "printing/Ansichtsquellen.h"
#include "printing/frmDrucken.h"

namespace {

class Pdfdruck : public DruckTest {
 protected:
  void SetUp() override {
    DruckTest::SetUp();
    gDruckersystem.ziel = Systemdrucker().ziel;
    drucker.clear();
    standard.clear();
  }
  static QString ausführen(const QString& programm, const QStringList& argumente) {
    QProcess p;
    p.start(programm, argumente);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
  }
  bool drucken(int exemplare, const QString& datei, const QString& code = QStringLiteral("ME")) {
    gDruckauftrag = code;
    frmDrucken d;
    d.Form_Load();
    d.txtAnzahl->setText(QString::number(exemplare));
    skript->antworte(dialoge::kOK, datei);
    return d.Drucken();
  }
};

TEST_F(Pdfdruck, MonatAufA4QuerMitTextenUndFarben) {
  monat(4);
  gBenutzerwerte[24] = 1;
  quelle.gitter.setTextMatrix(2, 5, QStringLiteral("U"));
  quelle.gitter.setCellBackColor(2, 5, 0x00AA00);
  quelle.gitter.setCellForeColor(2, 5, 0x0000FF);
  const QString pdf = ordner() + QStringLiteral("Monat.pdf");
  ASSERT_TRUE(drucken(2, pdf));
  ASSERT_TRUE(QFile::exists(pdf));
  ASSERT_TRUE(QFile::exists(ordner() + QStringLiteral("Monat (2).pdf")));
  EXPECT_FALSE(QFile::exists(ordner() + QStringLiteral("Monat (3).pdf")));

  const QString info = ausführen(QStringLiteral("pdfinfo"), {pdf});
  EXPECT_TRUE(
      info.contains(QRegularExpression(QStringLiteral("Page size:\\s+84[12][.0-9]* x 595[.0-9]* pts \\(A4\\)"))))
      << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b")))) << info.toStdString();

  const QString text = ausführen(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  for (const char16_t* s :
       {u"Muster GmbH", u"Velkora", u"März 2026", u"Mitarbeiter 1", u"Mitarbeiter 4", u"Seite 1", u"Grund 9"})
    EXPECT_TRUE(text.contains(QString::fromUtf16(s))) << QString::fromUtf16(s).toStdString() << "\n"
                                                      << text.toStdString();

  const QString bild = ordner() + QStringLiteral("seite");
  ausführen(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"), pdf, bild});
  QImage seite(bild + QStringLiteral("-1.png"));
  ASSERT_FALSE(seite.isNull());
  EXPECT_GT(seite.width(), seite.height());
  // The coded cell: its button's back colour, inside the cell of day 5 of the second row.
  int grün = 0;
  for (int y = 0; y < seite.height(); ++y)
    for (int x = 0; x < seite.width(); ++x)
      if (seite.pixelColor(x, y) == QColor(0, 0xAA, 0)) ++grün;
  EXPECT_GT(grün, 200);
  const double xZelle = (7.16 + 0.63 * 5 + 0.33) / 2.54 * 100;
  bool inZelle = false;
  for (int y = 0; y < seite.height(); ++y)
    inZelle |= seite.pixelColor(static_cast<int>(xZelle), y) == QColor(0, 0xAA, 0);
  EXPECT_TRUE(inZelle);
}

TEST_F(Pdfdruck, OhneZeilenKeineDatei) {
  monat(0);
  const QString pdf = ordner() + QStringLiteral("Leer.pdf");
  EXPECT_TRUE(drucken(1, pdf));
  EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(Pdfdruck, AbgebrochenerAuftragHinterlaesstKeineDatei) {
  // The day sums fail to be read after the first page has been drawn.
  struct Brechend : Monatsquelle_Test {
    Raster& Tagessummen() override { throw Laufzeitfehler(57, QStringLiteral("Gerätefehler")); }
  } brechend;
  gMonatsdruckquelle = &brechend;
  brechend.gitter.setRows(5);
  brechend.gitter.setTextMatrix(1, 0, QStringLiteral("Mitarbeiter 1"));
  gBenutzerwerte[25] = 1;
  const QString pdf = ordner() + QStringLiteral("Kaputt.pdf");
  EXPECT_FALSE(drucken(1, pdf));
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_TRUE(brechend.gitter.Redraw());
  gMonatsdruckquelle = &quelle;
}

TEST_F(Pdfdruck, AlleMitarbeiterJeEineDateiMitIhremNamen) {
  Jahresquelle_Test jahr;
  jahr.füllen();
  jahr.einsetzen();
  jahr.namen = {QStringLiteral("Anna Beispiel"), QStringLiteral("Bernd Muster"), QStringLiteral("Carla Probe")};
  gSFUrlaub = 1;
  const QString pdf = ordner() + QStringLiteral("Jahr.pdf");
  ASSERT_TRUE(drucken(1, pdf, QStringLiteral("JG")));
  const QString dateien[] = {pdf, ordner() + QStringLiteral("Jahr (2).pdf"), ordner() + QStringLiteral("Jahr (3).pdf")};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(QFile::exists(dateien[i])) << i;
    const QString info = ausführen(QStringLiteral("pdfinfo"), {dateien[i]});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+84[12][.0-9]* x 595"))))
        << info.toStdString();
    const QString text =
        ausführen(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), dateien[i], QStringLiteral("-")});
    EXPECT_TRUE(text.contains(jahr.namen[i])) << i << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Jahresübersicht 2026"))) << text.toStdString();
    for (int j = 0; j < 3; ++j)
      if (j != i) {
        EXPECT_FALSE(text.contains(jahr.namen[j])) << i << " " << j;
      }
  }
  EXPECT_FALSE(QFile::exists(ordner() + QStringLiteral("Jahr (4).pdf")));
}

// The file as a reader sees it: without the moment it was made.
QByteArray ohneZeitstempel(const QString& pdf) {
  QFile f(pdf);
  if (!f.open(QIODevice::ReadOnly)) return {};
  static const QRegularExpression zeit(QStringLiteral("/CreationDate \\(D:[^)]*\\)"));
  return QString::fromLatin1(f.readAll()).remove(zeit).toLatin1();
}

// Every employee's year overview on "PDF-Datei": the files are written on worker
// threads while the next pages are made, and each is the very file the one
// employee's own printout writes at its end: one page, the same texts in the same
// order, the same fonts.
TEST_F(Pdfdruck, AlleMitarbeiterNebenherGeschriebenWieJederEinzeln) {
  Jahresquelle_Test jahr;
  jahr.füllen();
  jahr.einsetzen();
  jahr.namen = {QStringLiteral("Anna Beispiel"), QStringLiteral("Bernd Muster"),   QStringLiteral("Carla Probe"),
                QStringLiteral("Dieter Übel"),   QStringLiteral("Erika Fröhlich"), QStringLiteral("Frank Fall")};
  gSFUrlaub = 1;
  jahr.gitter.setTextMatrix(3, 5, QStringLiteral("U"));
  jahr.gitter.setCellBackColor(3, 5, 0x00AA00);
  jahr.gitter.setCellForeColor(3, 5, 0x0000FF);
  const int n = static_cast<int>(jahr.namen.size());
  for (int i = 0; i < n; ++i) {
    jahr.index = i;
    ASSERT_TRUE(drucken(1, ordner() + QStringLiteral("Einzeln%1.pdf").arg(i), QStringLiteral("JE")));
  }
  jahr.gewählt.clear();
  ASSERT_TRUE(drucken(1, ordner() + QStringLiteral("Jahr.pdf"), QStringLiteral("JG")));
  EXPECT_EQ(jahr.gewählt, (std::vector<int>{0, 1, 2, 3, 4, 5, 0}));
  EXPECT_FALSE(QFile::exists(ordner() + QStringLiteral("Jahr (7).pdf")));
  for (int i = 0; i < n; ++i) {
    SCOPED_TRACE(i);
    const QString datei = ordner() + (i == 0 ? QStringLiteral("Jahr.pdf") : QStringLiteral("Jahr (%1).pdf").arg(i + 1));
    const QString einzeln = ordner() + QStringLiteral("Einzeln%1.pdf").arg(i);
    const QString info = ausführen(QStringLiteral("pdfinfo"), {datei});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b")))) << info.toStdString();
    const QString text =
        ausführen(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), datei, QStringLiteral("-")});
    EXPECT_EQ(text, ausführen(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), einzeln, QStringLiteral("-")}));
    qsizetype bei = -1;
    for (const QString& t : {QStringLiteral("Muster GmbH"), QStringLiteral("Jahresübersicht 2026"), jahr.namen[i],
                             QStringLiteral("Januar"), QStringLiteral("Dezember"), QStringLiteral("Feiertag")}) {
      const qsizetype hier = text.indexOf(t, bei + 1);
      EXPECT_GT(hier, bei) << t.toStdString() << "\n" << text.toStdString();
      bei = std::max(bei, hier);
    }
    for (int j = 0; j < n; ++j)
      if (j != i) {
        EXPECT_FALSE(text.contains(jahr.namen[j])) << j;
      }
    const QByteArray inhalt = ohneZeitstempel(datei);
    EXPECT_GT(inhalt.size(), 1000);
    EXPECT_TRUE(inhalt == ohneZeitstempel(einzeln)) << "not the file the printout writes on its own";
  }
}

// "&Abbrechen" while the fourth employee is chosen: that page is still made, as
// before; the printout returns only once the files made are written completely, and
// they are kept.
TEST_F(Pdfdruck, AlleMitarbeiterAbbrechenBehaeltDieGedrucktenDateien) {
  Jahresquelle_Test jahr;
  jahr.füllen();
  jahr.einsetzen();
  jahr.namen.clear();
  for (int i = 1; i <= 8; ++i) jahr.namen << QStringLiteral("Mitarbeiterin %1").arg(i);
  gDruckauftrag = QStringLiteral("JG");
  frmDrucken d;
  d.Form_Load();
  skript->antworte(dialoge::kOK, ordner() + QStringLiteral("Jahr.pdf"));
  jahr.beimWählen = [&d](int i) {
    if (i == 3) d.cmdAuswahl_Click(2);
  };
  EXPECT_FALSE(d.Drucken());
  EXPECT_TRUE(d.mEntladen);
  EXPECT_EQ(jahr.gewählt, (std::vector<int>{0, 1, 2, 3}));
  ASSERT_EQ(QDir(ordner()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name).join(u'|').toStdString(),
            "Jahr (2).pdf|Jahr (3).pdf|Jahr (4).pdf|Jahr.pdf");
  for (int i = 0; i < 4; ++i) {
    const QString datei = ordner() + (i == 0 ? QStringLiteral("Jahr.pdf") : QStringLiteral("Jahr (%1).pdf").arg(i + 1));
    const QString info = ausführen(QStringLiteral("pdfinfo"), {datei});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b")))) << i << info.toStdString();
    const QString text = ausführen(QStringLiteral("pdftotext"), {datei, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(jahr.namen[i])) << i << text.toStdString();
  }
}

TEST_F(Pdfdruck, SummenHochkantBis13KnoepfenQuerAb14) {
  Summenquelle_Test summen;
  summen.einsetzen();
  for (const int einträge : {13, 14}) {
    knöpfe(einträge - 1);
    Raster& g = summen.gitter;
    g.setCols(einträge);
    g.setRows(3);
    g.setTextMatrix(1, 0, QStringLiteral("Anna Beispiel"));
    g.setTextMatrix(2, 0, QStringLiteral("Gesamtsumme"));
    const QString pdf = ordner() + QStringLiteral("Summen%1.pdf").arg(einträge);
    ASSERT_TRUE(drucken(1, pdf, QStringLiteral("S")));
    const QString info = ausführen(QStringLiteral("pdfinfo"), {pdf});
    const QString hochkant = QStringLiteral("Page size:\\s+595[.0-9]* x 84[12][.0-9]* pts \\(A4\\)");
    const QString quer = QStringLiteral("Page size:\\s+84[12][.0-9]* x 595[.0-9]* pts \\(A4\\)");
    EXPECT_TRUE(info.contains(QRegularExpression(einträge < 14 ? hochkant : quer))) << einträge << info.toStdString();
    const QString text = ausführen(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Anna Beispiel"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Seite 1"))) << text.toStdString();
  }
}

TEST_F(Pdfdruck, GebuchterTagDerJahresuebersichtInDerFarbeSeinesKnopfs) {
  Jahresquelle_Test jahr;
  jahr.füllen();
  jahr.einsetzen();
  gSFUrlaub = 1;
  // The 5th of March booked with a code in its button's colours.
  jahr.gitter.setTextMatrix(3, 5, QStringLiteral("U"));
  jahr.gitter.setCellBackColor(3, 5, 0x00AA00);
  jahr.gitter.setCellForeColor(3, 5, 0x0000FF);
  const QString pdf = ordner() + QStringLiteral("Eine.pdf");
  ASSERT_TRUE(drucken(1, pdf, QStringLiteral("JE")));
  const QString bild = ordner() + QStringLiteral("jahr");
  ausführen(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"), pdf, bild});
  QImage seite(bild + QStringLiteral("-1.png"));
  ASSERT_FALSE(seite.isNull());
  EXPECT_GT(seite.width(), seite.height());
  // Inside the cell of day 5: the column's pixels in the button's colour.
  const int x = static_cast<int>((6.16 + 0.63 * 5 + 0.33) / 2.54 * 100);
  int grün = 0;
  for (int y = 0; y < seite.height(); ++y) grün += seite.pixelColor(x, y) == QColor(0, 0xAA, 0);
  EXPECT_GT(grün, 10);
  // The neighbouring day without an entry is not.
  const int daneben = static_cast<int>((6.16 + 0.63 * 6 + 0.33) / 2.54 * 100);
  int dortGrün = 0;
  for (int y = 0; y < seite.height(); ++y) dortGrün += seite.pixelColor(daneben, y) == QColor(0, 0xAA, 0);
  EXPECT_EQ(dortGrün, 0);
}

// A folder that takes no new file, a printer that cannot be opened and a disk that
// fills up while the document is finished: each is a print error with its message
// and administrator logbook line, never the user's cancel; the dialog stays open and
// no partial file is left.
class Ausgabefehler : public Pdfdruck {
 protected:
  void SetUp() override {
    Pdfdruck::SetUp();
    ordnerEinrichten();
    monat(3);
  }
  void TearDown() override {
    for (const QString& m : mEingehängt) QProcess::execute(QStringLiteral("umount"), {m});
    Pdfdruck::TearDown();
  }
  // A small memory file system mounted under the test folder; empty when not root or
  // when mounting fails.
  QString einhängen(const QString& name, const QString& optionen) {
    const QString ziel = unterordner(name);
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                    optionen, QStringLiteral("tmpfs"), ziel}) != 0)
      return {};
    mEingehängt << ziel;
    return ziel;
  }
  // A small file system with only a few kilobytes left free: a file is created, its
  // end cannot be written. Empty as einhängen.
  QString fastVoll() {
    const QString klein = einhängen(QStringLiteral("klein"), QStringLiteral("size=64k"));
    if (klein.isEmpty()) return {};
    QFile füller(klein + QStringLiteral("Fueller"));
    if (!füller.open(QIODevice::WriteOnly) || füller.write(QByteArray(60 * 1024, 'x')) != 60 * 1024) return {};
    return klein;
  }
  QStringList logbuch() const {
    QStringList zeilen;
    for (const QString& n : QDir(gLogordner).entryList({QStringLiteral("*.log")}, QDir::Files))
      zeilen += dekodierteZeilen(gLogordner + n);
    return zeilen;
  }
  // OK in the dialog on the chosen printer; the error must be reported as a print
  // error of the month printout with the given number.
  void druckfehlerErwartet(const QString& druckername, const QString& pdf, int nummer,
                           const QString& prozedur = QStringLiteral("Monatsübersicht_drucken")) {
    gDruckauftrag = QStringLiteral("ME");
    frmDrucken d;
    d.Form_Load();
    d.cmbDrucker->setCurrentIndex(d.cmbDrucker->findText(druckername));
    ASSERT_EQ(d.cmbDrucker->currentText(), druckername);
    if (!pdf.isEmpty()) skript->antworte(dialoge::kOK, pdf);
    const qsizetype vorher = logbuch().size();
    d.cmdAuswahl_Click(1);
    EXPECT_FALSE(d.mEntladen) << "the dialog closed as after success";
    const QString ort = QStringLiteral("'frmDrucken - ") + prozedur + u'\'';
    ASSERT_FALSE(skript->texte().empty());
    const QString meldung = skript->texte().back();
    EXPECT_TRUE(meldung.startsWith(QStringLiteral("Es ist folgender Druckfehler aufgetreten in Modul ") + ort +
                                   QStringLiteral(":\r\rFehler Nr. %1\r").arg(nummer)))
        << meldung.toStdString();
    EXPECT_TRUE(meldung.endsWith(QStringLiteral("\r\rDruckvorgang wird abgebrochen.")));
    ASSERT_EQ(logbuch().size(), vorher + 1);
    EXPECT_TRUE(logbuch().back().contains(QStringLiteral("Druckfehler in ") + ort +
                                          QStringLiteral(" - Fehler Nr. %1 - ").arg(nummer)))
        << logbuch().back().toStdString();
    EXPECT_EQ(gDruckername, QString());
    if (!pdf.isEmpty()) {
      EXPECT_FALSE(QFile::exists(pdf));
    }
  }
  QStringList mEingehängt;
};

TEST_F(Ausgabefehler, PdfInEinemOrdnerDerKeineDateiAnnimmt) {
  // A "folder" that is a file: no file can be created in it, not even by root.
  schreiben(ordner() + QStringLiteral("Ablage"), QByteArray("kein Ordner"));
  druckfehlerErwartet(kPdfDrucker, ordner() + QStringLiteral("Ablage/Monat.pdf"), fehler::kPfadZugriffsfehler);
  // A folder on a file system mounted read-only.
  const QString nurLesen = einhängen(QStringLiteral("nurlesen"), QStringLiteral("ro,size=64k"));
  if (nurLesen.isEmpty()) GTEST_SKIP() << "cannot mount a read-only file system (not root?)";
  druckfehlerErwartet(kPdfDrucker, nurLesen + QStringLiteral("Monat.pdf"), fehler::kPfadZugriffsfehler);
}

TEST_F(Ausgabefehler, DruckerDerSichNichtOeffnenLaesst) {
  // A printer the list offers but that cannot be opened (it is no longer installed):
  // the job never goes to the default printer instead.
  drucker = {QStringLiteral("Laser Keller")};
  druckfehlerErwartet(QStringLiteral("Laser Keller"), QString(), 57, QStringLiteral("Druckereinstellungen_setzen"));
}

TEST_F(Ausgabefehler, VollerDatentraegerBeimAbschliessenLoeschtDieTeildatei) {
  const QString klein = fastVoll();
  if (klein.isEmpty()) GTEST_SKIP() << "cannot mount a small file system (not root?)";
  const QString pdf = klein + QStringLiteral("Monat.pdf");
  druckfehlerErwartet(kPdfDrucker, pdf, fehler::kPfadZugriffsfehler);
  // With room again the same job is written completely.
  QFile::remove(klein + QStringLiteral("Fueller"));
  ASSERT_TRUE(drucken(1, pdf));
  const QString info = ausführen(QStringLiteral("pdfinfo"), {pdf});
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b")))) << info.toStdString();
}

// Every employee's year overview where one file cannot be written (its name is taken
// by a folder) or the disk is full: the print error of the printout as for a single
// page, reported once while the series runs or at its end; the dialog stays open; the
// series stops at that employee: the files before it are complete, no file of it or
// after it is left.
class Jahresausgabefehler : public Ausgabefehler {
 protected:
  void SetUp() override {
    Ausgabefehler::SetUp();
    jahr.füllen();
    jahr.einsetzen();
    jahr.namen.clear();
  }
  // OK on "PDF-Datei" for "JG" into pdf; the error must name the file `fehlerhaft`.
  void fehlerErwartet(const QString& pdf, const QString& fehlerhaft) {
    gDruckauftrag = QStringLiteral("JG");
    frmDrucken d;
    d.Form_Load();
    skript->antworte(dialoge::kOK, pdf);
    const std::size_t meldungen = skript->texte().size();
    const qsizetype zeilen = logbuch().size();
    d.cmdAuswahl_Click(1);
    EXPECT_FALSE(d.mEntladen) << "the dialog closed as after success";
    const std::vector<QString> texte = skript->texte();
    const auto fehlermeldungen = std::count_if(texte.begin() + static_cast<std::ptrdiff_t>(meldungen), texte.end(),
                                               [](const QString& t) { return t.startsWith(QStringLiteral("Es ist")); });
    ASSERT_EQ(fehlermeldungen, 1) << "the error is reported once";
    const QString meldung = texte.back();
    EXPECT_TRUE(meldung.startsWith(
        QStringLiteral("Es ist folgender Druckfehler aufgetreten in Modul 'frmDrucken - Jahresübersicht_drucken':"
                       "\r\rFehler Nr. %1\r%2: %3\r\r")
            .arg(fehler::kPfadZugriffsfehler)
            .arg(fehler::text(fehler::kPfadZugriffsfehler), fehlerhaft)))
        << meldung.toStdString();
    EXPECT_TRUE(meldung.endsWith(QStringLiteral("\r\rDruckvorgang wird abgebrochen.")));
    ASSERT_EQ(logbuch().size(), zeilen + 1);
    EXPECT_TRUE(logbuch().back().contains(
        QStringLiteral("Druckfehler in 'frmDrucken - Jahresübersicht_drucken' - Fehler Nr. %1 - ")
            .arg(fehler::kPfadZugriffsfehler)));
  }
  // The PDF files in the folder by name, joined for the message of a failed check.
  static std::string pdfDateien(const QString& ordner) {
    return QDir(ordner).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name).join(u'|').toStdString();
  }
  Jahresquelle_Test jahr;
};

TEST_F(Jahresausgabefehler, DateiInDerMitteNichtSchreibbar) {
  for (int i = 1; i <= 20; ++i) jahr.namen << QStringLiteral("Mitarbeiter %1").arg(i);
  const QString gesperrt = ordner() + QStringLiteral("Jahr (3).pdf");
  ASSERT_TRUE(QDir().mkpath(gesperrt));
  // The later pages take a while to make: the failure is found while the series runs.
  jahr.beimWählen = [](int i) {
    if (i >= 3) QThread::msleep(40);
  };
  fehlerErwartet(ordner() + QStringLiteral("Jahr.pdf"), gesperrt);
  EXPECT_LT(jahr.gewählt.size(), 20u) << "the series went on after the failed page";
  EXPECT_NE(jahr.gewählt.back(), 0) << "the window was set back as after success";
  EXPECT_EQ(pdfDateien(ordner()), "Jahr (2).pdf|Jahr.pdf");
  for (const QString& datei : {QStringLiteral("Jahr.pdf"), QStringLiteral("Jahr (2).pdf")}) {
    const QString info = ausführen(QStringLiteral("pdfinfo"), {ordner() + datei});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b")))) << info.toStdString();
  }
  // The last page fails: found only at the end of the series, which then fails too.
  jahr.beimWählen = nullptr;
  jahr.gewählt.clear();
  jahr.namen = {QStringLiteral("Anna"), QStringLiteral("Bernd"), QStringLiteral("Carla")};
  const QString zweiterOrdner = unterordner(QStringLiteral("zwei"));
  ASSERT_TRUE(QDir().mkpath(zweiterOrdner + QStringLiteral("Jahr (3).pdf")));
  fehlerErwartet(zweiterOrdner + QStringLiteral("Jahr.pdf"), zweiterOrdner + QStringLiteral("Jahr (3).pdf"));
  EXPECT_EQ(jahr.gewählt, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(pdfDateien(zweiterOrdner), "Jahr (2).pdf|Jahr.pdf");
}

TEST_F(Jahresausgabefehler, DateiDieErstBeimAbschliessenScheitert) {
  for (int i = 1; i <= 12; ++i) jahr.namen << QStringLiteral("Mitarbeiter %1").arg(i);
  // The third file takes every byte and keeps none: it fails when it is finished.
  const QString voll = ordner() + QStringLiteral("Jahr (3).pdf");
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), voll));
  // Its page is long to write, so the next ones are done first: they are not kept.
  jahr.beimWählen = [this](int i) {
    for (int m = 1; m <= 12; ++m)
      for (int d = 1; d <= 31; ++d)
        jahr.gitter.setTextMatrix(m, d,
                                  i == 2 ? QStringLiteral("ÄÖÜ äöü ß 0123456789 %1-%2").arg(m).arg(d) : QString());
  };
  fehlerErwartet(ordner() + QStringLiteral("Jahr.pdf"), voll);
  EXPECT_EQ(pdfDateien(ordner()), "Jahr (2).pdf|Jahr.pdf");
  EXPECT_FALSE(QFileInfo::exists(voll));
}

TEST_F(Jahresausgabefehler, VollerDatentraegerLoeschtDieTeildateien) {
  const QString klein = fastVoll();
  if (klein.isEmpty()) GTEST_SKIP() << "cannot mount a small file system (not root?)";
  jahr.namen = {QStringLiteral("Anna"), QStringLiteral("Bernd"), QStringLiteral("Carla"), QStringLiteral("Dora")};
  // The first file cannot be finished; a later one that fits once the first is
  // removed is not kept either: the series stopped at the first.
  fehlerErwartet(klein + QStringLiteral("Jahr.pdf"), klein + QStringLiteral("Jahr.pdf"));
  EXPECT_EQ(pdfDateien(klein), "");
}

// A text printed on the line after another, with its opaque background, covers
// nothing of the line above: every dark pixel of the first line alone is still dark
// when the second line follows, in the font really used and at every size the
// layouts print.
TEST_F(Pdfdruck, FolgezeileUeberdecktKeineUnterlaengen) {
  const auto seite = [this](double größe, bool zweiteZeile) {
    const QString pdf = ordner() + QStringLiteral("Zeilen%1%2.pdf").arg(größe).arg(zweiteZeile);
    gDruckauftrag = QStringLiteral("LA");
    gDrucker = Systemdrucker().ziel(kPdfDrucker, pdf);
    EXPECT_TRUE(Druckereinstellungen_setzen());
    gDruckschrift.größe = größe;
    Schreibe_Text(2.3, 3, QStringLiteral("gjpqy,;|()[]{}§µ Ågjpqy,;|"), QString());
    if (zweiteZeile) Schreibe_Text(2.3, 0, QString(40, u'W'), QString());
    Druckauftrag_beenden();
    const QString bild = ordner() + QStringLiteral("zeilen%1%2").arg(größe).arg(zweiteZeile);
    ausführen(QStringLiteral("pdftoppm"),
              {QStringLiteral("-r"), QStringLiteral("1200"), QStringLiteral("-gray"), QStringLiteral("-png"),
               QStringLiteral("-x"), QStringLiteral("1000"), QStringLiteral("-y"), QStringLiteral("1300"),
               QStringLiteral("-W"), QStringLiteral("5000"), QStringLiteral("-H"), QStringLiteral("500"), pdf, bild});
    return QImage(bild + QStringLiteral("-1.png"));
  };
  for (const double größe : {9.0, 10.0}) {
    SCOPED_TRACE(größe);
    const QImage eine = seite(größe, false), zwei = seite(größe, true);
    ASSERT_FALSE(eine.isNull());
    ASSERT_EQ(eine.size(), zwei.size());
    int dunkel = 0, verdeckt = 0;
    for (int y = 0; y < eine.height(); ++y)
      for (int x = 0; x < eine.width(); ++x) {
        if (qGray(eine.pixel(x, y)) >= 128) continue;
        ++dunkel;
        if (qGray(zwei.pixel(x, y)) >= 128) ++verdeckt;
      }
    EXPECT_GT(dunkel, 1000);
    EXPECT_EQ(verdeckt, 0);
  }
}

}  // namespace
