#include "config/frmWochenende.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "config/Ausnahmezeitraum.h"
#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "widgets/Fensterhilfen.h"

Haken<void(QWidget*)> frmWochenende::hilfe{"frmWochenende::hilfe"};

namespace {
int px(double twips) { return bildschirm::twipsZuPixel(twips); }
int tw(int pixel) { return static_cast<int>(bildschirm::pixelZuTwips(pixel) + 0.5); }

const QString kName = QStringLiteral("frmWochenende - ");
}  // namespace

const QString& Wochentagscode(int tag) {
  static const QString kCodes[] = {QString(),
                                   QStringLiteral("Mo"),
                                   QStringLiteral("Di"),
                                   QStringLiteral("Mi"),
                                   QStringLiteral("Do"),
                                   QStringLiteral("Fr"),
                                   QStringLiteral("Sa"),
                                   QStringLiteral("So")};
  return kCodes[std::clamp(tag, 0, 7)];
}

frmWochenende::frmWochenende(QWidget* besitzer) : QDialog(besitzer) {
  setObjectName(QStringLiteral("frmWochenende"));
  setWindowTitle(QStringLiteral("Velkora - Arbeitsfreie Tage"));
  setModal(true);
  lblBeschriftung = new QLabel(QStringLiteral("Wochentage, die arbeitsfrei sind:"), this);
  lblBeschriftung->setObjectName(QStringLiteral("lblBeschriftung"));
  const char16_t* tage[] = {nullptr,       u"Montag",  u"Dienstag", u"Mittwoch",
                            u"Donnerstag", u"Freitag", u"Samstag",  u"Sonntag"};
  for (int k = 1; k <= 7; ++k) {
    chkWochenende[k] = new QCheckBox(QString::fromUtf16(tage[k]), this);
    chkWochenende[k]->setObjectName(QStringLiteral("chkWochenende_%1").arg(k));
  }
  chkEingabe = new QCheckBox(
      QStringLiteral("Arbeitsfreie Tage und Feiertage für die Eingabe von An-/Abwesenheitszeiten sperren"), this);
  chkEingabe->setObjectName(QStringLiteral("chkEingabe"));
  const char16_t* knöpfe[] = {nullptr, u"&Hilfe ...", u"&OK", u"&Abbrechen"};
  for (int i = 1; i <= 3; ++i) {
    cmdAuswahl[i] = new QPushButton(QString::fromUtf16(knöpfe[i]), this);
    cmdAuswahl[i]->setObjectName(QStringLiteral("cmdAuswahl_%1").arg(i));
    cmdAuswahl[i]->setAutoDefault(false);
    connect(cmdAuswahl[i], &QPushButton::clicked, this, [this, i] { cmdAuswahl_Click(i); });
  }
  Form_Load();
}

void frmWochenende::Form_Load() {
  Prozedur(kName + QStringLiteral("Form_Load"), [&] {
    Sanduhr_Warten_ein();
    SetSchriftart(this);
    // Another workstation may have changed the weekend since this one read it.
    CheckKonfigdaten();
    mStand = Stammdatenstand();
    lblBeschriftung->setText(lblBeschriftung->text() + Wirksamkeitshinweis());
    for (int k = 1; k <= 7; ++k) chkWochenende[k]->setChecked(gWochenende.contains(Wochentagscode(k)));
    chkEingabe->setChecked(Setting(12) == 0);

    // The weekdays in one row, each as wide as its caption needs.
    const int rand = 360, abstand = 180;
    lblBeschriftung->setGeometry(px(rand), px(300), lblBeschriftung->sizeHint().width(), px(255));
    int links = rand;
    for (int k = 1; k <= 7; ++k) {
      const int breite = tw(chkWochenende[k]->sizeHint().width());
      chkWochenende[k]->setGeometry(px(links), px(780), px(breite), px(255));
      links += breite + abstand;
    }
    const int zeile = links - abstand;
    const int eingabe = tw(chkEingabe->sizeHint().width());
    chkEingabe->setGeometry(px(rand), px(1380), px(eingabe), px(255));
    const int knopfBreite = 1455, knopfAbstand = 180;
    const int innenBreite = std::max({zeile, rand + eingabe, tw(lblBeschriftung->sizeHint().width()) + rand,
                                      3 * knopfBreite + 2 * knopfAbstand + rand}) +
                            rand;
    for (int i = 1; i <= 3; ++i)
      cmdAuswahl[i]->setGeometry(px(innenBreite - rand - (4 - i) * knopfBreite - (3 - i) * knopfAbstand), px(1980),
                                 px(knopfBreite), px(375));
    setFixedSize(px(innenBreite), px(2715));
    Sanduhr_Warten_aus();
  });
}

void frmWochenende::Wochenenddaten_aktualisieren() {
  Prozedur(kName + QStringLiteral("Wochenenddaten_aktualisieren"), [&] {
    // The configuration is written whole from memory: a change another workstation
    // stored since the dialog opened would be undone.
    if (!mStand.unverändert(false, true)) return;
    // The lock counts even when the weekdays stay as they are.
    const QString vorher = gSettings;
    SetSetting(12, chkEingabe->isChecked() ? 0 : 1);
    if (gSettings != vorher) Konfigdaten_schreiben();

    const QString alt = gWochenende;
    QString neu;
    bool hinzu = false;
    for (int k = 1; k <= 7; ++k) {
      if (!chkWochenende[k]->isChecked()) continue;
      neu += Wochentagscode(k);
      if (!alt.contains(Wochentagscode(k))) hinzu = true;
    }
    if (neu == alt) return;
    if (Setting(12) == 0 && hinzu && Künftige_Daten_vorhanden() &&
        !Frage(
            QStringLiteral("Hinweis: Für die Zeit ab ") + Wirksamkeitsdatum() +
                QStringLiteral(" sind An-/Abwesenheitsdaten vorhanden. Wenn bereits Daten für künftige Wochenendtage "
                               "erfasst wurden, müssen diese manuell berichtigt werden.\r\rMöchten Sie fortsetzen und "
                               "die Wochenendtage ändern?"),
            QStringLiteral("Velkora")))
      return;
    Sanduhr_Warten_ein();
    // The months before the current one keep their weekdays once they hold data;
    // otherwise every month follows the new weekend.
    Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("W"),
                                                 Vergangene_Monate_einfrieren() ? alt : QStringLiteral("NoEx"));
    gWochenende = neu;
    Konfigdaten_schreiben();
    Logbuch_ergänzen(2, QStringLiteral("Wochenende alt: ") + alt);
    Logbuch_ergänzen(2, QStringLiteral("Wochenende neu: ") + neu);
    Sanduhr_Warten_aus();
  });
}

void frmWochenende::cmdAuswahl_Click(int index) {
  Prozedur(kName + QStringLiteral("cmdAuswahl_Click"), [&] {
    switch (index) {
      case 1:
        hilfe(this);
        break;
      case 2:
        Wochenenddaten_aktualisieren();
        accept();
        break;
      case 3:
        reject();
        break;
    }
  });
}

void frmWochenende::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    e->accept();
    cmdAuswahl_Click(1);
    return;
  }
  QDialog::keyPressEvent(e);
}
