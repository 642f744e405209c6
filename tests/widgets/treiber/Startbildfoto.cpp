// Shows the splash window as the start does and, before any further window event is
// served (the start goes on with its blocking steps), takes a picture of the screen
// where the window stands: what the user sees then. Argument: the picture file.
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "widgets/frmStart.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) return 2;
  Splash_zeigen();
  frmStart* splash = Splash_Fenster();
  QScreen* bildschirm = QGuiApplication::primaryScreen();
  if (!splash || !bildschirm) return 3;
  const QRect g = splash->frameGeometry();
  const QPixmap bild = bildschirm->grabWindow(0, g.x(), g.y(), g.width(), g.height());
  return bild.toImage().save(QString::fromLocal8Bit(argv[1])) ? 0 : 4;
}
