#include "platform/widgets/QtDialoge.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace dialoge {
namespace {

// Texts keep single carriage returns as line breaks; a label wants "\n".
QString Anzeigetext(const QString& t) {
  QString s = t;
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(u'\r', u'\n');
  return s;
}

QString Titel(const Aufforderung& a) { return a.titel.isEmpty() ? QStringLiteral("Velkora") : a.titel; }

}  // namespace

void QtDienst::piepen() { QApplication::beep(); }

Antwort QtDienst::zeigen(const Aufforderung& a) {
  QWidget* eltern = QApplication::activeWindow();
  switch (a.art) {
    case Art::Meldung:
    case Art::Information: {
      QMessageBox box(a.art == Art::Meldung ? QMessageBox::Warning : QMessageBox::Information, Titel(a),
                      Anzeigetext(a.text), QMessageBox::Ok, eltern);
      box.exec();
      return {kOK, {}};
    }
    case Art::JaNein:
    case Art::JaNeinAbbrechen: {
      auto knöpfe = QMessageBox::Yes | QMessageBox::No;
      if (a.art == Art::JaNeinAbbrechen) knöpfe |= QMessageBox::Cancel;
      QMessageBox box(QMessageBox::Question, Titel(a), Anzeigetext(a.text), knöpfe, eltern);
      box.setDefaultButton(QMessageBox::No);
      const int r = box.exec();
      return {r == QMessageBox::Yes ? kJa : r == QMessageBox::No ? kNein : kAbbrechen, {}};
    }
    case Art::DateiÖffnen: {
      const QString f = QFileDialog::getOpenFileName(eltern, Titel(a), a.vorgabe, a.filter);
      return {f.isEmpty() ? kAbbrechen : kOK, f};
    }
    case Art::DateiSpeichern: {
      const QString f = QFileDialog::getSaveFileName(eltern, Titel(a), a.vorgabe, a.filter);
      return {f.isEmpty() ? kAbbrechen : kOK, f};
    }
    case Art::Ordner: {
      const QString f = QFileDialog::getExistingDirectory(eltern, Titel(a), a.vorgabe);
      return {f.isEmpty() ? kAbbrechen : kOK, f};
    }
    case Art::Farbe: {
      const QColor c = QColorDialog::getColor(QColor(a.vorgabe), eltern, Titel(a));
      return {c.isValid() ? kOK : kAbbrechen, c.isValid() ? c.name() : QString()};
    }
  }
  return {kAbbrechen, {}};
}

}  // namespace dialoge
