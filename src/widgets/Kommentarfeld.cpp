#include "widgets/Kommentarfeld.h"

#include <QFrame>
#include <QLabel>

void Kommentarfeld_anlegen(QWidget* eltern, QFrame*& box, QLabel*& text) {
  box = new QFrame(eltern);
  box->setObjectName(QStringLiteral("picKommentar"));
  box->setFrameShape(QFrame::Box);
  box->setAutoFillBackground(true);
  text = new QLabel(box);
  text->setObjectName(QStringLiteral("lblKommentar"));
  text->setWordWrap(true);
  box->hide();
}
