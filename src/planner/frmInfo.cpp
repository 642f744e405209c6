#include "planner/frmInfo.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/Laufzeitfehler.h"
#include "platform/Zustand.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "widgets/Logo.h"
#include "widgets/frmStart.h"

Haken<void(QWidget*)> frmInfo::länderdialog{"frmInfo::länderdialog"};
QString frmInfo::webadresse;

namespace {
void Zustand_zurücksetzen() {
  frmInfo::länderdialog = nullptr;
  frmInfo::webadresse.clear();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

constexpr int kUmschalt = 1, kStrg = 2;

bool Administrator() { return gBenutzerstufe == 2; }

QString Fünfergruppen(const QString& s) {
  QStringList gruppen;
  for (qsizetype i = 0; i < s.size(); i += 5) gruppen << s.mid(i, 5);
  return gruppen.join(u' ');
}
}  // namespace

QString Diagnosetext() {
  const QString format =
      In_Datumsreihenfolge(QStringLiteral("tt"), QStringLiteral("mm"), QStringLiteral("jj"), gDatumstrennzeichen);
  QString berechtigung = gAnzeigeberechtigung;
  if (berechtigung.endsWith(u':')) berechtigung.chop(1);
  return QStringLiteral("Diagnoseinformationen:\r\r") + QStringLiteral("Ländereinstellung: ") + gLand + u'\r' +
         QStringLiteral("Systemdatum: ") + FormatDatumDA(gHeute) + u'\r' + QStringLiteral("Datumsformat: ") + format +
         u'\r' + QStringLiteral("Settings 1 - 25: ") + Fünfergruppen(gSettings.left(25)) + u'\r' +
         QStringLiteral("Settings 26 - 50: ") + Fünfergruppen(gSettings.mid(25, 25)) + u'\r' +
         QStringLiteral("Windows-Benutzername: ") + gBenutzername + u'\r' + QStringLiteral("Benutzerstatus: ") +
         QString::number(gBenutzerstufe) + u'\r' + QStringLiteral("Administratoren: ") + ShowAdmins(false) + u'\r' +
         QStringLiteral("Anzeigeberechtigungen: ") + berechtigung;
}

frmInfo::frmInfo(QWidget* besitzer) : QDialog(besitzer) {
  setObjectName(QStringLiteral("frmInfo"));
  setWindowTitle(QStringLiteral("Info"));
  auto* außen = new QVBoxLayout(this);
  auto* zeile = new QHBoxLayout;
  außen->addLayout(zeile);
  imgLogo = new QLabel(this);
  imgLogo->setObjectName(QStringLiteral("imgLogo"));
  imgLogo->setPixmap(Velkora_Logo(80));
  imgLogo->installEventFilter(this);
  zeile->addWidget(imgLogo, 0, Qt::AlignTop);
  zeile->addSpacing(12);
  auto* texte = new QVBoxLayout;
  zeile->addLayout(texte);
  for (int i = 1; i <= 3; ++i) {
    lblBeschriftung[i] = new QLabel(this);
    lblBeschriftung[i]->setObjectName(QStringLiteral("lblBeschriftung_%1").arg(i));
    texte->addWidget(lblBeschriftung[i]);
  }
  lblBeschriftung[1]->setText(QStringLiteral("Velkora"));
  QFont groß = lblBeschriftung[1]->font();
  groß.setPointSize(groß.pointSize() * 2);
  groß.setBold(true);
  lblBeschriftung[1]->setFont(groß);
  lblBeschriftung[2]->setText(Versionstext());
  lblBeschriftung[3]->setText(QStringLiteral("Programm zum Planen von An-/Abwesenheitszeiten"));
  lblHyperlink = new QLabel(this);
  lblHyperlink->setObjectName(QStringLiteral("lblHyperlink"));
  lblHyperlink->setText(QStringLiteral("<a href=\"#\">Velkora im Internet</a>"));
  lblHyperlink->setVisible(!webadresse.isEmpty());
  connect(lblHyperlink, &QLabel::linkActivated, this, [] {
    try {
      const QString v =
          QStringLiteral("%1%2%3").arg(VELKORA_VERSION_MAJOR).arg(VELKORA_VERSION_MINOR).arg(VELKORA_VERSION_PATCH);
      QDesktopServices::openUrl(QUrl(webadresse + QStringLiteral("?v=") + v + QStringLiteral("&p=vn")));
    } catch (...) {
    }
  });
  texte->addWidget(lblHyperlink);
  texte->addStretch();
  cmdAuswahl = new QPushButton(QStringLiteral("&OK"), this);
  cmdAuswahl->setObjectName(QStringLiteral("cmdAuswahl"));
  cmdAuswahl->setDefault(true);
  connect(cmdAuswahl, &QPushButton::clicked, this, &QDialog::accept);
  auto* knöpfe = new QHBoxLayout;
  knöpfe->addStretch();
  knöpfe->addWidget(cmdAuswahl);
  außen->addLayout(knöpfe);
}

void frmInfo::Länderdialog_öffnen() { länderdialog(this); }

bool frmInfo::Form_KeyDown(int taste, int umschalt) {
  return Prozedur(QStringLiteral("frmInfo - Form_KeyDown"), [&]() -> bool {
    if (taste == Qt::Key_F3 && umschalt == kStrg) {
      if (Administrator()) Länderdialog_öffnen();
      return true;
    }
    if (taste == Qt::Key_F4 && umschalt == kStrg) {
      // For this run only.
      if (gDatumstrennzeichen == u".")
        gDatumstrennzeichen = QStringLiteral("/");
      else if (gDatumstrennzeichen == u"/")
        gDatumstrennzeichen = QStringLiteral(" ");
      else if (gDatumstrennzeichen == u" ")
        gDatumstrennzeichen = QStringLiteral(".");
      return true;
    }
    if (taste == Qt::Key_F5 && umschalt == kStrg) {
      gDatumsreihenfolge = (gDatumsreihenfolge + 1) % 3;
      return true;
    }
    if ((taste == Qt::Key_F9 || taste == Qt::Key_F10) && umschalt == kStrg + kUmschalt) {
      if (!Administrator()) return true;
      if (taste == Qt::Key_F9) {
        gSFVerbergenText = QString(Schaltflächen_Anzahl(), u'0');
        SetSetting(3, 2);
        SetSetting(19, 1);
      } else {
        gSFVerbergenText = QStringLiteral("void");
      }
      for (int& v : gSFVerbergen) v = 0;
      Konfigdaten_schreiben();
      return true;
    }
    return false;
  });
}

void frmInfo::imgLogo_MouseDown(int knopf, int umschalt) {
  if (knopf == 2 && (umschalt & kStrg)) Meldung(Diagnosetext());
}

void frmInfo::imgLogo_DblClick() {
  if (Administrator()) Länderdialog_öffnen();
}

void frmInfo::keyPressEvent(QKeyEvent* e) {
  int umschalt = 0;
  if (e->modifiers() & Qt::ShiftModifier) umschalt |= kUmschalt;
  if (e->modifiers() & Qt::ControlModifier) umschalt |= kStrg;
  if (e->modifiers() & Qt::AltModifier) umschalt |= 4;
  if (Form_KeyDown(e->key(), umschalt)) {
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

bool frmInfo::eventFilter(QObject* o, QEvent* e) {
  if (o == imgLogo) {
    if (e->type() == QEvent::MouseButtonPress) {
      const auto* m = static_cast<QMouseEvent*>(e);
      const int knopf = m->button() == Qt::RightButton ? 2 : m->button() == Qt::LeftButton ? 1 : 4;
      imgLogo_MouseDown(knopf, (m->modifiers() & Qt::ControlModifier) ? kStrg : 0);
      return true;
    }
    if (e->type() == QEvent::MouseButtonDblClick) {
      imgLogo_DblClick();
      return true;
    }
  }
  return QDialog::eventFilter(o, e);
}

void Info_anzeigen(QWidget* besitzer) {
  frmInfo f(besitzer);
  f.exec();
}
