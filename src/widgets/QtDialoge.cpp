#include "widgets/QtDialoge.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTranslator>

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

// Our boxes read German whether or not Qt's translation is installed.
void Knopftexte(QMessageBox& box) {
  const struct {
    QMessageBox::StandardButton knopf;
    const char* text;
  } texte[] = {{QMessageBox::Ok, "OK"},
               {QMessageBox::Yes, "&Ja"},
               {QMessageBox::No, "&Nein"},
               {QMessageBox::Cancel, "Abbrechen"}};
  for (const auto& t : texte)
    if (QAbstractButton* b = box.button(t.knopf)) b->setText(QString::fromUtf8(t.text));
}

// The user's documents folder, or the home folder when there is none.
QString Dokumentenordner() {
  const QString d = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return !d.isEmpty() && QFileInfo(d).isDir() ? d : QDir::homePath();
}

// Where a file or folder dialog opens. A preset that names no existing folder (a bare
// file name, an empty remembered folder) would open the current folder, which is
// inside the shared data folder: the user's documents folder instead, with the
// preset's file name.
QString Startpfad(const QString& vorgabe, bool ordner) {
  if (ordner) return QFileInfo(vorgabe).isAbsolute() && QFileInfo(vorgabe).isDir() ? vorgabe : Dokumentenordner();
  const QFileInfo fi(vorgabe);
  if (fi.isAbsolute() && fi.dir().exists()) return vorgabe;
  return QDir(Dokumentenordner()).filePath(fi.fileName());
}

}  // namespace

void QtDienst::piepen() { QApplication::beep(); }

Antwort QtDienst::zeigen(const Aufforderung& a) {
  QWidget* eltern = QApplication::activeWindow();
  switch (a.art) {
    case Art::Meldung:
    case Art::Information: {
      QMessageBox box(a.art == Art::Meldung ? QMessageBox::Warning : QMessageBox::Information, Titel(a),
                      Anzeigetext(a.text), QMessageBox::Ok, eltern);
      Knopftexte(box);
      box.exec();
      return {kOK, {}};
    }
    case Art::JaNein:
    case Art::JaNeinAbbrechen: {
      auto knöpfe = QMessageBox::Yes | QMessageBox::No;
      if (a.art == Art::JaNeinAbbrechen) knöpfe |= QMessageBox::Cancel;
      QMessageBox box(QMessageBox::Question, Titel(a), Anzeigetext(a.text), knöpfe, eltern);
      box.setDefaultButton(QMessageBox::No);
      Knopftexte(box);
      const int r = box.exec();
      return {r == QMessageBox::Yes ? kJa : r == QMessageBox::No ? kNein : kAbbrechen, {}};
    }
    case Art::DateiÖffnen: {
      const QString f = QFileDialog::getOpenFileName(eltern, Titel(a), Startpfad(a.vorgabe, false), a.filter);
      return {f.isEmpty() ? kAbbrechen : kOK, f};
    }
    case Art::DateiSpeichern: {
      const QString f = QFileDialog::getSaveFileName(eltern, Titel(a), Startpfad(a.vorgabe, false), a.filter);
      return {f.isEmpty() ? kAbbrechen : kOK, f};
    }
    case Art::Ordner: {
      const QString f = QFileDialog::getExistingDirectory(eltern, Titel(a), Startpfad(a.vorgabe, true));
      return {f.isEmpty() ? kAbbrechen : kOK, f};
    }
    case Art::Farbe: {
      const QColor c = QColorDialog::getColor(QColor(a.vorgabe), eltern, Titel(a));
      return {c.isValid() ? kOK : kAbbrechen, c.isValid() ? c.name() : QString()};
    }
  }
  return {kAbbrechen, {}};
}

bool Qt_Übersetzung_laden() {
  auto* übersetzung = new QTranslator(QCoreApplication::instance());
  const QString ordner = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!übersetzung->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                         ordner)) {
    delete übersetzung;
    return false;
  }
  QCoreApplication::installTranslator(übersetzung);
  return true;
}

}  // namespace dialoge
