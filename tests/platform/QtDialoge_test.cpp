#include "platform/widgets/QtDialoge.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
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

TEST(QtDialoge, QuestionsAndMessagesHaveGermanButtons) {
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

TEST(QtDialoge, QtsOwnDialogsSpeakGermanOnceTheTranslationIsLoaded) {
  ASSERT_TRUE(dialoge::Qt_Übersetzung_laden()) << "Qt's German translation (qt6-translations-l10n) is missing";
  QDialogButtonBox knöpfe(QDialogButtonBox::Open | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                          QDialogButtonBox::No);
  EXPECT_EQ(knöpfe.button(QDialogButtonBox::Cancel)->text().remove(u'&'), u"Abbrechen");
  EXPECT_EQ(knöpfe.button(QDialogButtonBox::Yes)->text().remove(u'&'), u"Ja");
  EXPECT_EQ(knöpfe.button(QDialogButtonBox::No)->text().remove(u'&'), u"Nein");
  EXPECT_EQ(knöpfe.button(QDialogButtonBox::Open)->text().remove(u'&'), QStringLiteral("Öffnen"));
}

}  // namespace
