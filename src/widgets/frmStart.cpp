#include "widgets/frmStart.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/Uhr.h"
#include "widgets/Logo.h"

namespace {
QPointer<frmStart> gSplash;
}

QString Versionstext() {
  return QStringLiteral("Version %1.%2  Release %3")
      .arg(VELKORA_VERSION_MAJOR)
      .arg(VELKORA_VERSION_MINOR)
      .arg(VELKORA_VERSION_PATCH);
}

frmStart::frmStart() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmStart"));
  setWindowTitle(QStringLiteral("Velkora"));
  auto* außen = new QVBoxLayout(this);
  außen->setContentsMargins(0, 0, 0, 0);
  fraRahmen = new QFrame(this);
  fraRahmen->setObjectName(QStringLiteral("fraRahmen"));
  fraRahmen->setFrameShape(QFrame::Box);
  fraRahmen->setAutoFillBackground(true);
  QPalette pal = fraRahmen->palette();
  pal.setColor(QPalette::Window, Qt::white);
  fraRahmen->setPalette(pal);
  außen->addWidget(fraRahmen);

  auto* zeile = new QHBoxLayout(fraRahmen);
  zeile->setContentsMargins(24, 20, 32, 20);
  zeile->setSpacing(20);
  imgLogo = new QLabel(fraRahmen);
  imgLogo->setObjectName(QStringLiteral("imgLogo"));
  imgLogo->setPixmap(Velkora_Logo(96));
  zeile->addWidget(imgLogo, 0, Qt::AlignTop);
  auto* texte = new QVBoxLayout;
  texte->setSpacing(6);
  zeile->addLayout(texte);
  for (int i = 1; i <= 3; ++i) {
    lblBeschriftung[i] = new QLabel(fraRahmen);
    lblBeschriftung[i]->setObjectName(QStringLiteral("lblBeschriftung_%1").arg(i));
  }
  lblBeschriftung[2]->setText(QStringLiteral("Velkora"));
  QFont groß = lblBeschriftung[2]->font();
  groß.setPointSize(groß.pointSize() * 2);
  groß.setBold(true);
  lblBeschriftung[2]->setFont(groß);
  lblBeschriftung[1]->setText(Versionstext());
  lblBeschriftung[3]->setText(QStringLiteral("Programm zum Planen von An-/Abwesen-\nheitszeiten"));
  texte->addWidget(lblBeschriftung[2]);
  texte->addWidget(lblBeschriftung[1]);
  texte->addSpacing(8);
  texte->addWidget(lblBeschriftung[3]);
  texte->addStretch();
  cmdAuswahl[1] = new QPushButton(QStringLiteral("&Datenordner suchen ..."), fraRahmen);
  cmdAuswahl[2] = new QPushButton(QStringLiteral("&Abbrechen"), fraRahmen);
  for (int i = 1; i <= 2; ++i) cmdAuswahl[i]->hide();
  adjustSize();
}

void Splash_zeigen() {
  if (!gSplash) gSplash = new frmStart();
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect b = s->availableGeometry();
    gSplash->move(b.center() - gSplash->rect().center());
  }
  gSplash->show();
  // The start serves no window events until the main window is up: the window is
  // painted here, once the windowing system has put it on the screen (a window
  // manager takes a moment to map it; what is drawn before is lost).
  if (QWindow* w = gSplash->windowHandle()) {
    for (int i = 0; i < 200 && !w->isExposed(); ++i) {
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      if (!w->isExposed()) uhr::schlafen(0.01);
    }
  }
  gSplash->repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  QGuiApplication::sync();
}

void Splash_entladen() {
  if (gSplash) delete gSplash.data();
}

frmStart* Splash_Fenster() { return gSplash.data(); }
