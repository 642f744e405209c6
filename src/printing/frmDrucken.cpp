#include "printing/frmDrucken.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <map>

#include "platform/Bildschirm.h"
#include "platform/Dialoge.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "printing/Druckauftrag.h"
#include "printing/Druckprimitive.h"
#include "printing/Logbuchdruck.h"
#include "printing/Monatsdruck.h"
#include "printing/Summendruck.h"
#include "printing/Ueberstundendruck.h"
#include "printing/Urlaubsdruck.h"
#include "startup/Meldungen.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Velkoraini.h"
#include "widgets/Fensterhilfen.h"

std::function<QString&()> gHauptfensterTag;

namespace {
frmDrucken* gInstanz = nullptr;

// The printouts of the views, each under its job code.
std::map<QString, Druckroutinenzeiger> Standardroutinen() {
  return {
      {QStringLiteral("JE"), [](int n) { return Jahresübersicht_drucken(n); }},
      {QStringLiteral("LA"), [](int n) { return Logbuch_drucken(QStringLiteral("A"), n); }},
      {QStringLiteral("LB"), [](int n) { return Logbuch_drucken(QStringLiteral("B"), n); }},
      {QStringLiteral("S"), [](int n) { return Summenübersicht_drucken(n); }},
      {QStringLiteral("U"), [](int n) { return Urlaubsübersicht_drucken(n); }},
      {QStringLiteral("Ü"), [](int n) { return Überstunden_drucken(n); }},
  };
}
std::map<QString, Druckroutinenzeiger> gRoutinen = Standardroutinen();
void zurücksetzen() {
  gHauptfensterTag = nullptr;
  gRoutinen = Standardroutinen();
}
VELKORA_ZUSTAND(zurücksetzen);

void setzeTwips(QWidget* w, int links, int oben, int breite, int höhe) {
  w->setGeometry(bildschirm::twipsZuPixel(links), bildschirm::twipsZuPixel(oben), bildschirm::twipsZuPixel(breite),
                 bildschirm::twipsZuPixel(höhe));
}
}  // namespace

void Druckroutine_eintragen(const QString& code, Druckroutinenzeiger routine) { gRoutinen[code] = std::move(routine); }

frmDrucken::frmDrucken(QWidget* eigentümer) : QDialog(eigentümer) {
  setObjectName(QStringLiteral("frmDrucken"));
  setWindowTitle(QStringLiteral("Velkora - Drucken"));
  setFixedSize(bildschirm::twipsZuPixel(4380), bildschirm::twipsZuPixel(3525));
  lblBeschriftung[1] = new QLabel(QStringLiteral("Drucker"), this);
  setzeTwips(lblBeschriftung[1], 360, 360, 3660, 255);
  cmbDrucker = new QComboBox(this);
  cmbDrucker->setObjectName(QStringLiteral("cmbDrucker"));
  setzeTwips(cmbDrucker, 360, 720, 3660, 315);
  lblBeschriftung[2] = new QLabel(QStringLiteral("Anzahl Exemplare"), this);
  lblBeschriftung[2]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  lblBeschriftung[2]->setWordWrap(true);
  setzeTwips(lblBeschriftung[2], 360, 1380, 3660, 795);
  txtAnzahl = new QLineEdit(QStringLiteral("1"), this);
  txtAnzahl->setObjectName(QStringLiteral("txtAnzahl"));
  txtAnzahl->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtAnzahl));
  txtAnzahl->setAlignment(Qt::AlignCenter);
  setzeTwips(txtAnzahl, 1995, 1800, 375, 360);
  cmdAuswahl[1] = new QPushButton(QStringLiteral("&OK"), this);
  setzeTwips(cmdAuswahl[1], 525, 2580, 1515, 495);
  cmdAuswahl[2] = new QPushButton(QStringLiteral("&Abbrechen"), this);
  setzeTwips(cmdAuswahl[2], 2340, 2580, 1515, 495);
  for (int i : {1, 2}) {
    cmdAuswahl[i]->setAutoDefault(false);
    connect(cmdAuswahl[i], &QPushButton::clicked, this, [this, i] { cmdAuswahl_Click(i); });
  }
  gInstanz = this;
}

frmDrucken* frmDrucken::instanz() { return gInstanz; }

void frmDrucken::anzeigen(QWidget* eigentümer) {
  frmDrucken d(eigentümer);
  d.Form_Load();
  if (!d.mEntladen) d.exec();
  gInstanz = nullptr;
}

void frmDrucken::Form_Load() {
  Prozedur(QStringLiteral("frmDrucken - Form_load"), [&] {
    SetSchriftart(this);
    Enter_wie_Tab(this);
    QString* tag = gHauptfensterTag ? &gHauptfensterTag() : nullptr;
    mSchnelldruck = tag && *tag == u"S";
    if (mSchnelldruck) tag->clear();
    if (gStandarddrucker.isEmpty()) Aktuellen_Drucker_ermitteln(mSchnelldruck);
    if (!mSchnelldruck) {
      for (const QString& name : Druckersammlung())
        if (!name.contains(u"Image Writer")) cmbDrucker->addItem(name);
      int wahl = -1;
      if (!gDruckername.isEmpty()) {
        for (int i = 0; i < cmbDrucker->count() && wahl < 0; ++i)
          if (cmbDrucker->itemText(i).toLower() == gDruckername.toLower()) wahl = i;
        if (wahl < 0) gDruckername.clear();
      }
      if (gDruckername.isEmpty()) wahl = cmbDrucker->findText(gDrucker ? gDrucker->name() : gStandarddrucker);
      cmbDrucker->setCurrentIndex(wahl);
    }
    txtAnzahl->setText(QStringLiteral("1"));
    if (gDruckauftrag == u"MG" && gMonatsdruckquelle) {
      txtAnzahl->hide();
      lblBeschriftung[2]->move(lblBeschriftung[2]->x(), bildschirm::twipsZuPixel(1740));
      lblBeschriftung[2]->setText(QStringLiteral("Alle Monate des Jahres ") + gMonatsdruckquelle->Jahr() +
                                  QStringLiteral(" drucken?"));
    } else if (gDruckauftrag == u"JG") {
      txtAnzahl->hide();
      lblBeschriftung[2]->move(lblBeschriftung[2]->x(), bildschirm::twipsZuPixel(1470));
      lblBeschriftung[2]->setText(QStringLiteral("Jahresübersicht ") + gJahresdruckquelle.jahr() +
                                  QStringLiteral(" für alle\n\nMitarbeiter drucken?"));
    }
  });
}

void frmDrucken::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!mAktiviert) {
    mAktiviert = true;
    QTimer::singleShot(0, this, [this] { Form_Activate(); });
  }
}

void frmDrucken::Form_Activate() {
  if (!mSchnelldruck) return;
  Druckroutine(QStringLiteral("Form_Activate"), [this] {
    repaint();
    cmbDrucker->clear();
    cmbDrucker->addItem(gDruckername.isEmpty() ? (gDrucker ? gDrucker->name() : gStandarddrucker) : gDruckername);
    cmbDrucker->setCurrentIndex(0);
    cmdAuswahl_Click(1);
    return true;
  });
}

void frmDrucken::cmdAuswahl_Click(int index) {
  if (index == 1) {
    if (mLäuft || txtAnzahl->text().isEmpty()) return;
    if (Drucken()) Entladen();
  } else {
    mLäuft = false;
    Entladen();
  }
}

void frmDrucken::Entladen() {
  mEntladen = true;
  done(0);
}

void frmDrucken::closeEvent(QCloseEvent* e) {
  if (mLäuft) {
    e->ignore();
    return;
  }
  mEntladen = true;
  QDialog::closeEvent(e);
}

void frmDrucken::reject() {
  if (mLäuft) return;
  Entladen();
}

bool frmDrucken::Druckerwahl() {
  const QString name = cmbDrucker->currentText();
  if (name.isEmpty() || !Druckersammlung().contains(name)) return true;
  // Copies "0" print nothing, so no file is asked for.
  const bool nichts = txtAnzahl->text().toInt() == 0 && !gDruckauftrag.endsWith(u'G');
  QString datei;
  if (name == kPdfDrucker && !nichts) {
    // The file is asked once for every run of the job; each print job then writes a
    // file of its own.
    const dialoge::Antwort a =
        dialoge::zeigen({dialoge::Art::DateiSpeichern, QString(), QStringLiteral("PDF-Datei speichern"),
                         QStringLiteral("Velkora.pdf"), QStringLiteral("PDF-Dateien (*.pdf)")});
    if (a.wert.isEmpty()) return false;
    datei = a.wert;
    if (!datei.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) datei += QStringLiteral(".pdf");
  }
  gDrucker = gDruckersystem.ziel(name, datei);
  if (!gDrucker) {
    Meldung(QStringLiteral("Drucken mit diesem Drucker nicht möglich"));
    return false;
  }
  gDruckername = name == gStandarddrucker ? QString() : name;
  return true;
}

bool frmDrucken::Drucken() {
  bool fertig = false;
  const bool ok = Druckroutine(QStringLiteral("Drucken"), [this, &fertig] {
    gStartzeit = uhr::monoton();
    Sanduhr_Mauszeiger(true);
    if (!Druckerwahl()) {
      Sanduhr_Mauszeiger(false);
      return false;
    }
    const int exemplare = txtAnzahl->text().toInt();
    if (gDruckauftrag.endsWith(u'G')) {
      mLäuft = true;
      Sanduhr_Mauszeiger(false);
    }
    const auto routine = [](const QString& code) -> Druckroutinenzeiger {
      if (code == u"ME" || code == u"MG") return [](int n) { return Monatsübersicht_drucken(n); };
      const auto it = gRoutinen.find(code == u"JG" ? QStringLiteral("JE") : code);
      return it == gRoutinen.end() ? Druckroutinenzeiger() : it->second;
    }(gDruckauftrag);
    if (gDruckauftrag == u"MG" && gMonatsdruckquelle) {
      Monatsdruckquelle& q = *gMonatsdruckquelle;
      const int gemerkt = q.Monat();
      for (int i = 0; i <= 11; ++i) {
        lblBeschriftung[2]->setText(Monatsname(i + 1) + u' ' + q.Jahr() + QStringLiteral(" wird gedruckt ..."));
        lblBeschriftung[2]->repaint();
        q.Monat_wählen(i);
        if (!Monatsübersicht_drucken(1)) return mLäuft = false;
        QApplication::processEvents();
        if (!mLäuft) return false;
      }
      q.Monat_wählen(gemerkt);
    } else if (gDruckauftrag == u"JG" && routine) {
      const Jahresdruckquelle& q = gJahresdruckquelle;
      // The series ends however the loop is left (a failed page, a cancel, an error).
      struct Serie {
        const Jahresdruckquelle& q;
        explicit Serie(const Jahresdruckquelle& quelle) : q(quelle) { q.serie(true); }
        ~Serie() { q.serie(false); }
      } serie(q);
      // The PDF files are written on worker threads while the next pages are made; the
      // printout ends, also when cancelled, only once every one of them is written.
      const Pdf_Serie dateien;
      for (int i = 0; i < q.anzahl(); ++i) {
        q.wählen(i);
        lblBeschriftung[2]->setText(QStringLiteral("Jahresübersicht ") + q.jahr() +
                                    QStringLiteral(" wird gedruckt für\n\n") + q.name() + QStringLiteral(" ..."));
        lblBeschriftung[2]->repaint();
        if (!routine(1)) return mLäuft = false;
        QApplication::processEvents();
        if (!mLäuft) {
          Jahresübersichten_abwarten();
          return false;
        }
      }
      if (!Jahresübersichten_abwarten()) return mLäuft = false;
      q.wählen(0);
    } else if (routine) {
      if (!routine(exemplare)) return mLäuft = false;
    }
    mLäuft = false;
    Pause(-0.5);
    Sanduhr_Mauszeiger(false);
    fertig = true;
    return true;
  });
  if (!fertig) mLäuft = false;
  return ok;
}
