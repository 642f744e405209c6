#include "planner/frmKommentar.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Cp1252.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "platform/Zustand.h"
#include "startup/Meldungen.h"
#include "widgets/Fensterhilfen.h"

namespace {

constexpr int kHöchstlänge = 255;

// The Tag while no main window runs.
QString mEigenerTag;

void Zustand_zurücksetzen() { mEigenerTag.clear(); }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

// Texts keep single carriage returns as line breaks; a label wants "\n".
QString Anzeigetext(const QString& t) {
  QString s = t;
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(u'\r', u'\n');
  return s;
}

}  // namespace

QString& Kommentar_Tag() {
  frmVelkora* f = frmVelkora::instanz();
  return f ? f->Tag : mEigenerTag;
}

QString Kommentar_zuschneiden(const QString& text) { return text::trim(text).left(kHöchstlänge); }

bool Kommentar_zulässig(const QString& text) {
  return !text.contains(u':') && !text.contains(u'|') && !text.startsWith(u'[') && cp1252::eingabeZulässig(text);
}

frmKommentar::frmKommentar(QWidget* besitzer) : QDialog(besitzer) {
  setObjectName(QStringLiteral("frmKommentar"));
  setWindowTitle(QStringLiteral("Velkora - Kommentar"));
  setModal(true);

  lblBeschriftung = new QLabel(this);
  lblBeschriftung->setObjectName(QStringLiteral("lblBeschriftung"));
  lblBeschriftung->setWordWrap(true);
  lblBeschriftung->setTextFormat(Qt::PlainText);
  txtKommentar = new QLineEdit(this);
  txtKommentar->setObjectName(QStringLiteral("txtKommentar"));
  txtKommentar->installEventFilter(this);

  const QString texte[] = {QString(), QStringLiteral("OK"), QStringLiteral("&Abbrechen")};
  auto* knöpfe = new QHBoxLayout;
  knöpfe->addStretch();
  for (int i = 1; i <= 2; ++i) {
    cmdAuswahl[i] = new QPushButton(texte[i], this);
    cmdAuswahl[i]->setObjectName(QStringLiteral("cmdAuswahl_%1").arg(i));
    // Enter is the dialog's, whichever control has the focus.
    cmdAuswahl[i]->setAutoDefault(false);
    cmdAuswahl[i]->setMinimumWidth(bildschirm::twipsZuPixel(1215));
    connect(cmdAuswahl[i], &QPushButton::clicked, this, [this, i] { cmdAuswahl_Click(i); });
    knöpfe->addWidget(cmdAuswahl[i]);
  }
  auto* spalte = new QVBoxLayout(this);
  spalte->addWidget(lblBeschriftung);
  spalte->addWidget(txtKommentar);
  spalte->addSpacing(bildschirm::twipsZuPixel(60));
  spalte->addLayout(knöpfe);
  txtKommentar->setMinimumWidth(bildschirm::twipsZuPixel(5000));
  // A small dialog of fixed size; a long label wraps.
  spalte->setSizeConstraint(QLayout::SetFixedSize);
  Form_Load();
}

void frmKommentar::Form_Load() {
  Prozedur(QStringLiteral("frmKommentar - Form_Load"), [&] {
    SetSchriftart(this);
    QString& tag = Kommentar_Tag();
    QString aufforderung = tag;
    // The title stands after the last "||": an empty preset followed by a title
    // reads "label|||title".
    if (const qsizetype p = aufforderung.lastIndexOf(QStringLiteral("||")); p >= 0) {
      setWindowTitle(QStringLiteral("Velkora - ") + aufforderung.mid(p + 2));
      aufforderung = aufforderung.left(p);
    }
    const qsizetype trenner = aufforderung.indexOf(u'|');
    const QString beschriftung = trenner < 0 ? aufforderung : aufforderung.left(trenner);
    const QString vorgabe = trenner < 0 ? QString() : aufforderung.mid(trenner + 1);
    lblBeschriftung->setText(Anzeigetext(beschriftung));
    txtKommentar->setText(vorgabe);
    // Closing without OK leaves the preset as the answer.
    tag = vorgabe;
    txtKommentar->setFocus();
    txtKommentar->selectAll();
  });
}

bool frmKommentar::eventFilter(QObject* objekt, QEvent* e) {
  if (objekt == txtKommentar) {
    if (e->type() == QEvent::FocusIn) {
      // After the click that brought the focus, which would place the cursor instead.
      QTimer::singleShot(0, txtKommentar, [feld = txtKommentar] { feld->selectAll(); });
    } else if (e->type() == QEvent::FocusOut) {
      txtKommentar_LostFocus();
    }
  }
  return QDialog::eventFilter(objekt, e);
}

void frmKommentar::txtKommentar_LostFocus() {
  const QString t = Kommentar_zuschneiden(txtKommentar->text());
  if (t != txtKommentar->text()) txtKommentar->setText(t);
}

void frmKommentar::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    e->accept();
    cmdAuswahl_Click(1);
    return;
  }
  QDialog::keyPressEvent(e);
}

void frmKommentar::cmdAuswahl_Click(int index) {
  Prozedur(QStringLiteral("frmKommentar - cmdAuswahl_Click"), [&] {
    if (index != 1) {
      reject();
      return;
    }
    txtKommentar_LostFocus();
    const QString text = txtKommentar->text();
    if (!Kommentar_zulässig(text)) {
      Meldung(QString::fromUtf16(cp1252::kUnzulässigesSonderzeichen));
      txtKommentar->setFocus();
      return;
    }
    Kommentar_Tag() = text;
    accept();
  });
}

void frmKommentar_zeigen(QWidget* besitzer) {
  Prozedur(QStringLiteral("frmKommentar - frmKommentar_zeigen"), [&] {
    frmKommentar f(besitzer ? besitzer : frmVelkora::instanz());
    f.exec();
  });
}

QString Eingabefeld(const QString& beschriftung, const QString& vorgabe, const QString& titel, QWidget* besitzer) {
  QString& tag = Kommentar_Tag();
  tag = beschriftung + u'|' + vorgabe;
  if (!titel.isEmpty()) tag += QStringLiteral("||") + titel;
  frmKommentar_zeigen(besitzer ? besitzer : QApplication::activeWindow());
  return Kommentar_Tag();
}
