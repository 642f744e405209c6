#include "widgets/QtDialoge.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// Answers the next message box with the button of this role and notes the texts of
// all its buttons (without their accelerator marks), in the order shown.
struct Beantworter {
  QMessageBox::StandardButton knopf;
  QStringList texte;
  void starten() {
    QTimer::singleShot(10, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) {
        starten();
        return;
      }
      for (QAbstractButton* b : box->findChild<QDialogButtonBox*>()->buttons()) texte << b->text().remove(u'&');
      texte.sort();
      box->button(knopf)->click();
    });
  }
};

// Notes the folder and the file the next file dialog shows, then cancels it.
struct Dateidialogbeobachter {
  QString ordner, datei;
  void starten() {
    QTimer::singleShot(10, [this] {
      auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!d) {
        starten();
        return;
      }
      ordner = QDir(d->directory()).canonicalPath();
      datei = d->selectedFiles().value(0);
      d->reject();
    });
  }
};

// Where a dialog opens when the program names no folder, or an empty one: in the user's
// documents folder, never in the current folder (which the start leaves in the data
// folder); a folder that exists is kept.
TEST(QtDialoge, DateidialogeOhneOrdnerOeffnenImDokumentenordner) {
  QTemporaryDir tmp;
  const QString heim = QDir(tmp.path()).canonicalPath();
  const QByteArray altesHeim = qgetenv("HOME");
  const QByteArray altesXdg = qgetenv("XDG_CONFIG_HOME");
  qputenv("HOME", QFile::encodeName(heim));
  qunsetenv("XDG_CONFIG_HOME");
  QDir(heim).mkpath(QStringLiteral("Documents"));
  QDir(heim).mkpath(QStringLiteral("Data/IniFiles"));
  QDir(heim).mkpath(QStringLiteral("Exporte"));
  const QString aktuell = QDir::currentPath();
  QDir::setCurrent(heim + QStringLiteral("/Data/IniFiles"));
  const QString dokumente = heim + QStringLiteral("/Documents");
  const struct {
    dialoge::Art art;
    QString vorgabe, ordner, datei;
  } fälle[] = {
      {dialoge::Art::DateiSpeichern, "Monat.csv", dokumente, "Monat.csv"},
      {dialoge::Art::DateiSpeichern, "Velkora.pdf", dokumente, "Velkora.pdf"},
      {dialoge::Art::DateiSpeichern, heim + "/fehlt/Export.vel", dokumente, "Export.vel"},
      {dialoge::Art::DateiSpeichern, heim + "/Exporte/Export.vel", heim + "/Exporte", "Export.vel"},
      {dialoge::Art::DateiÖffnen, "", dokumente, ""},
      {dialoge::Art::DateiÖffnen, heim + "/Exporte/", heim + "/Exporte", ""},
      {dialoge::Art::Ordner, "", dokumente, ""},
  };
  dialoge::QtDienst dienst;
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.vorgabe.toStdString());
    Dateidialogbeobachter b;
    b.starten();
    dialoge::Aufforderung a;
    a.art = f.art;
    a.vorgabe = f.vorgabe;
    EXPECT_EQ(dienst.zeigen(a).knopf, dialoge::kAbbrechen);
    EXPECT_EQ(b.ordner.toStdString(), f.ordner.toStdString());
    if (!f.datei.isEmpty()) {
      EXPECT_EQ(QFileInfo(b.datei).fileName(), f.datei);
    }
  }
  QDir::setCurrent(aktuell);
  qputenv("HOME", altesHeim);
  if (!altesXdg.isEmpty()) qputenv("XDG_CONFIG_HOME", altesXdg);
}

TEST(QtDialoge, FragenUndMeldungenHabenDeutscheSchaltflaechen) {
  dialoge::QtDienst dienst;
  const struct {
    dialoge::Art art;
    QMessageBox::StandardButton knopf;
    int antwort;
    QStringList texte;  // sorted
  } fälle[] = {
      {dialoge::Art::JaNein, QMessageBox::No, dialoge::kNein, {"Ja", "Nein"}},
      {dialoge::Art::JaNein, QMessageBox::Yes, dialoge::kJa, {"Ja", "Nein"}},
      {dialoge::Art::JaNeinAbbrechen, QMessageBox::Cancel, dialoge::kAbbrechen, {"Abbrechen", "Ja", "Nein"}},
      {dialoge::Art::Meldung, QMessageBox::Ok, dialoge::kOK, {"OK"}},
      {dialoge::Art::Information, QMessageBox::Ok, dialoge::kOK, {"OK"}},
  };
  for (const auto& f : fälle) {
    Beantworter b{f.knopf, {}};
    b.starten();
    dialoge::Aufforderung a;
    a.art = f.art;
    a.text = QStringLiteral("Sollen die Änderungen gespeichert werden?");
    EXPECT_EQ(dienst.zeigen(a).knopf, f.antwort);
    EXPECT_EQ(b.texte, f.texte);
  }
}

TEST(QtDialoge, QtsEigeneDialogeSprechenDeutschNachGeladenerUebersetzung) {
  ASSERT_TRUE(dialoge::Qt_Übersetzung_laden()) << "Qt's German translation (qt6-translations-l10n) is missing";
  QDialogButtonBox knöpfe(QDialogButtonBox::Open | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                          QDialogButtonBox::No);
  EXPECT_EQ(knöpfe.button(QDialogButtonBox::Cancel)->text().remove(u'&'), u"Abbrechen");
  EXPECT_EQ(knöpfe.button(QDialogButtonBox::Yes)->text().remove(u'&'), u"Ja");
  EXPECT_EQ(knöpfe.button(QDialogButtonBox::No)->text().remove(u'&'), u"Nein");
  EXPECT_EQ(knöpfe.button(QDialogButtonBox::Open)->text().remove(u'&'), QStringLiteral("Öffnen"));
}

}  // namespace
