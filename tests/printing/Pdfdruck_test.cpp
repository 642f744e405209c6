// The month printout as real PDF files, checked with the poppler tools.
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>

#include "printing/Druckhelfer.h"
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
  bool drucken(int exemplare, const QString& datei) {
    gDruckauftrag = QStringLiteral("ME");
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

}  // namespace
