#include "printing/Druckauftrag.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/Zustand.h"
#include "printing/Druckprimitive.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "store/Konfigdaten.h"
#include "store/Velkoraini.h"

namespace {

std::shared_ptr<Druckfläche> gLaufenderAuftrag;

// A printer or a PDF file through QPrinter; the painter covers the whole sheet, so
// the printable-area offset is 0. Each job on the PDF printer is a file of its own,
// the second and later ones numbered.
class QtDruckziel : public Druckziel {
 public:
  QtDruckziel(QString name, QString pdfDatei) : mName(std::move(name)), mPdfDatei(std::move(pdfDatei)) {
    if (mName != kPdfDrucker) {
      QPrinter p(QPrinterInfo::printerInfo(mName));
      mLetter = p.pageLayout().pageSize().id() == QPageSize::Letter;
    }
  }
  QString name() const override { return mName; }
  bool letter() const override { return mLetter; }
  std::shared_ptr<Druckfläche> auftrag(bool quer) override {
    std::unique_ptr<QPrinter> p;
    QString datei;
    if (mName == kPdfDrucker) {
      p = std::make_unique<QPrinter>(QPrinter::HighResolution);
      p->setOutputFormat(QPrinter::PdfFormat);
      ++mNummer;
      datei = mPdfDatei;
      if (mNummer > 1) {
        const QFileInfo f(mPdfDatei);
        datei = f.dir().filePath(QStringLiteral("%1 (%2).%3").arg(f.completeBaseName()).arg(mNummer).arg(f.suffix()));
      }
      p->setOutputFileName(datei);
    } else {
      // A printer no longer installed is not replaced by the default printer.
      const QPrinterInfo info = QPrinterInfo::printerInfo(mName);
      if (info.isNull()) throw Laufzeitfehler(57, fehler::text(57) + QStringLiteral(": ") + mName);
      p = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    p->setFullPage(true);
    p->setPageSize(QPageSize(mLetter ? QPageSize::Letter : QPageSize::A4));
    p->setPageOrientation(quer ? QPageLayout::Landscape : QPageLayout::Portrait);
    p->setPageMargins(QMarginsF(0, 0, 0, 0));
    p->setCreator(QStringLiteral("Velkora"));
    p->setDocName(QStringLiteral("Velkora"));
    auto auftrag = std::make_shared<Malfläche>(std::move(p), datei);
    if (!datei.isEmpty() && Pdf_Serie::aktiv()) auftrag->aufschieben();
    return auftrag;
  }

 private:
  QString mName, mPdfDatei;
  bool mLetter = false;
  int mNummer = 0;
};

Druckersystem standard() {
  Druckersystem s;
  s.drucker = [] { return QPrinterInfo::availablePrinterNames(); };
  s.standarddrucker = [] { return QPrinterInfo::defaultPrinterName(); };
  s.ziel = [](const QString& name, const QString& pdf) -> std::unique_ptr<Druckziel> {
    return std::make_unique<QtDruckziel>(name, pdf);
  };
  return s;
}

void zurücksetzen() {
  gDruckersystem = Systemdrucker();
  gStandarddrucker.clear();
  gDrucker.reset();
  gLaufenderAuftrag.reset();
}
VELKORA_ZUSTAND(zurücksetzen);

}  // namespace

Druckersystem gDruckersystem = Systemdrucker();

Druckersystem Systemdrucker() { return standard(); }
QString gStandarddrucker;
std::unique_ptr<Druckziel> gDrucker;

QStringList Druckersammlung() {
  QStringList liste = gDruckersystem.drucker();
  liste.append(kPdfDrucker);
  return liste;
}

void Aktuellen_Drucker_ermitteln(bool& schnelldruck) {
  // "PDF-Datei" is always there, so the collection is never empty: without a system
  // printer it is the default.
  QString name = gDruckersystem.standarddrucker();
  if (name.isEmpty()) {
    const QStringList system = gDruckersystem.drucker();
    name = system.isEmpty() ? kPdfDrucker : system.first();
  }
  (void)schnelldruck;
  gStandarddrucker = name;
  if (!gDrucker) gDrucker = gDruckersystem.ziel(name, QString());
}

bool Druckereinstellungen_setzen() {
  return Druckroutine(QStringLiteral("Druckereinstellungen_setzen"), [] {
    if (!gDrucker) {
      bool s = false;
      Aktuellen_Drucker_ermitteln(s);
    }
    gSeite.hVerschiebung = gSeite.vVerschiebung = gSeite.höhenzugabe = 0;
    const bool letter = gDrucker->letter();
    if (letter) {
      gSeite.hVerschiebung = 0.88;
      gSeite.vVerschiebung = 0.29;
    }
    const int n = static_cast<int>(gSFKennbuchstaben.size()) - 1;
    gSeite.zusatzbreite = n < 14 ? 0 : 8.7;
    const bool quer = (gDruckauftrag != u"S" || gSeite.zusatzbreite != 0) && gDruckauftrag != u"Ü";
    if (!quer && letter) {
      gSeite.zusatzbreite = 2 * gSeite.vVerschiebung;
      gSeite.hVerschiebung = gSeite.vVerschiebung = 0;
      gSeite.höhenzugabe = 1.2;
    }
    gDruckschrift = {};
    gDruckfarbe = 0;
    gLaufenderAuftrag = gDrucker->auftrag(quer);
    gDruckfläche = gLaufenderAuftrag.get();
    gSeite.druckerLinks = gDruckfläche->linkerVersatz();
    gSeite.druckerOben = gDruckfläche->obererVersatz();
    gDruckX = gDruckY = 0;
    gSeite.aktSpalte = gSeite.druckerLinks;
    gSeite.aktZeile = gSeite.druckerOben;
    return true;
  });
}

void Druckauftrag_beenden() {
  if (gLaufenderAuftrag) gLaufenderAuftrag->beenden();
  gLaufenderAuftrag.reset();
  gDruckfläche = nullptr;
  // A file of the running series that failed meanwhile ends the printout as its own
  // end would have.
  Pdf_Serie::prüfen(false);
}

void Druckfehler(const QString& prozedur) {
  const int nummer = gErr.nummer;
  const QString beschreibung = gErr.beschreibung;
  try {
    if (gLaufenderAuftrag) gLaufenderAuftrag->abbrechen();
  } catch (...) {
  }
  gLaufenderAuftrag.reset();
  gDruckfläche = nullptr;
  gDruckername.clear();
  gDrucker.reset();
  const QString ort = QStringLiteral("frmDrucken - ") + prozedur;
  if (nummer == 482) {
    Meldung(QStringLiteral("Druckauftrag abgebrochen"));
    return;
  }
  Logbuch_ergänzen(2,
                   QStringLiteral("Druckfehler in '%1' - Fehler Nr. %2 - %3").arg(ort).arg(nummer).arg(beschreibung));
  Meldung(QStringLiteral("Es ist folgender Druckfehler aufgetreten in Modul '%1':\r\rFehler Nr. %2\r%3\r\r"
                         "Druckvorgang wird abgebrochen.")
              .arg(ort)
              .arg(nummer)
              .arg(beschreibung));
}

bool Druckroutine(const QString& name, const std::function<bool()>& rumpf) {
  try {
    return rumpf();
  } catch (const Laufzeitfehler& e) {
    gErr = {e.nummer(), e.beschreibung()};
  } catch (const std::exception& e) {
    if (istProgrammende(e)) throw;
    gErr = {51, QString::fromUtf8(e.what())};
  }
  Druckfehler(name);
  return false;
}
