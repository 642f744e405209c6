#include "config/frmFeiertage.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>

#include "config/Ausnahmezeitraum.h"
#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "widgets/Fensterhilfen.h"
#include "widgets/LineEditTextfeld.h"

Haken<void(QWidget*)> frmFeiertage::hilfe{"frmFeiertage::hilfe"};

namespace {
int px(double twips) { return bildschirm::twipsZuPixel(twips); }
int tw(int pixel) { return static_cast<int>(bildschirm::pixelZuTwips(pixel) + 0.5); }

const QString kName = QStringLiteral("frmFeiertage - ");

constexpr int kInnenbreite = 7845;
constexpr int kInnenhöhe = 7965;   // with all 16 check boxes and the further-holiday boxes
constexpr int kZeile = 480;        // row pitch of the check boxes
constexpr int kKompakt = 1560;     // the further-holiday boxes hidden
constexpr int kAufklappen = 1500;  // what opening them moves the lock and the buttons down

QString Feiertagspfad() { return gDatenordner + QStringLiteral("Feiertage.dat"); }

QChar Trennzeichen() {
  const QString s = gDatumstrennzeichen.left(1);
  return s.isEmpty() ? QChar(u'.') : s[0];
}

bool Tag_zuerst() { return gDatumsreihenfolge == 1; }

// A checked box entry in the locale's form -> the stored "dd.mm.".
QString Gespeicherte_Form(const QString& t) {
  return Tag_zuerst() ? t.mid(0, 2) + u'.' + t.mid(3, 2) + u'.' : t.mid(3, 2) + u'.' + t.mid(0, 2) + u'.';
}

// The stored "dd.mm." -> the locale's form with a trailing separator.
QString Angezeigte_Form(const QString& d) {
  const QChar s = Trennzeichen();
  return Tag_zuerst() ? d.mid(0, 2) + s + d.mid(3, 2) + s : d.mid(3, 2) + s + d.mid(0, 2) + s;
}

// A caption shows "&" as it is, not as a mnemonic.
QString Ohne_Kürzel(QString t) { return t.replace(u'&', QStringLiteral("&&")); }
}  // namespace

frmFeiertage::frmFeiertage(QWidget* besitzer) : QDialog(besitzer) {
  setObjectName(QStringLiteral("frmFeiertage"));
  setWindowTitle(QStringLiteral("Velkora - Feiertage"));
  setModal(true);
  const char16_t* beschriftungen[] = {
      nullptr, u"Feiertage", u"Weitere jährlich wiederkehrende Feiertage (Eingabe in der Form ", u"ten sperren"};
  for (int i = 1; i <= 3; ++i) {
    lblBeschriftung[i] = new QLabel(QString::fromUtf16(beschriftungen[i]), this);
    lblBeschriftung[i]->setObjectName(QStringLiteral("lblBeschriftung_%1").arg(i));
  }
  QWidget* davor = nullptr;
  const auto folgt = [&](QWidget* w) {
    if (davor) setTabOrder(davor, w);
    davor = w;
  };
  for (int i = 1; i <= 16; ++i) {
    chkFeiertage[i] = new QCheckBox(this);
    chkFeiertage[i]->setObjectName(QStringLiteral("chkFeiertage_%1").arg(i));
    folgt(chkFeiertage[i]);
  }
  for (int i = 1; i <= 16; ++i) {
    auto* t = new QLineEdit(this);
    t->setObjectName(QStringLiteral("txtFeiertage_%1").arg(i));
    t->setMaxLength(6);
    t->installEventFilter(this);
    connect(t, &QLineEdit::textEdited, this, [this, i] { Eingabe_filtern(i); });
    txtFeiertage[i] = t;
    folgt(t);
  }
  chkEingabe =
      new QCheckBox(QStringLiteral("Arbeitsfreie Tage und Feiertage für die Eingabe von An-/Abwesenheitszei-"), this);
  chkEingabe->setObjectName(QStringLiteral("chkEingabe"));
  folgt(chkEingabe);
  const char16_t* knöpfe[] = {nullptr, u"Weitere &Feiertage >>", u"&Hilfe ...", u"&OK", u"&Abbrechen"};
  for (int i = 1; i <= 4; ++i) {
    cmdAuswahl[i] = new QPushButton(QString::fromUtf16(knöpfe[i]), this);
    cmdAuswahl[i]->setObjectName(QStringLiteral("cmdAuswahl_%1").arg(i));
    cmdAuswahl[i]->setAutoDefault(false);
    connect(cmdAuswahl[i], &QPushButton::clicked, this, [this, i] { cmdAuswahl_Click(i); });
    folgt(cmdAuswahl[i]);
  }
  cmdAuswahl[4]->installEventFilter(this);
  Form_Load();
}

void frmFeiertage::Form_Load() {
  Prozedur(kName + QStringLiteral("Form_Load"), [&] {
    Sanduhr_Warten_ein();
    SetSchriftart(this);
    // Another workstation may have changed the configuration or the holidays since
    // this one read them: the dialog starts from what is stored now.
    CheckKonfigdaten();
    mStand = Stammdatenstand();
    Feiertage_lesen();
    mFeiertageZeit = Dateizeit(Feiertagspfad());

    lblBeschriftung[1]->setText(lblBeschriftung[1]->text() + Wirksamkeitshinweis());
    const QString s = Trennzeichen();
    lblBeschriftung[2]->setText(lblBeschriftung[2]->text() +
                                (Tag_zuerst() ? QStringLiteral("tt") + s + QStringLiteral("mm")
                                              : QStringLiteral("mm") + s + QStringLiteral("tt")) +
                                (s == u"." ? QStringLiteral(".)") : QStringLiteral(")")));
    for (int i = 1; i <= 16; ++i) {
      const QString def = gFeiertagsdefinitionen.value(i, kLeereFeiertagsdefinition);
      chkFeiertage[i]->setChecked(def.left(1) == u"1");
      chkFeiertage[i]->setText(Ohne_Kürzel(def.mid(9)));
    }
    const qsizetype weitere = std::max<qsizetype>(gFeiertagsdefinitionen.size() - 17, 0);
    for (qsizetype i = 17; i < gFeiertagsdefinitionen.size() && i <= 32; ++i)
      txtFeiertage[i - 16]->setText(Angezeigte_Form(gFeiertagsdefinitionen[i]));
    chkEingabe->setChecked(Setting(12) == 0);
    // Other separators show day and month without the trailing one.
    if (s != u".") {
      mFeldbreite -= 30;
      for (int i = 1; i <= 16; ++i)
        if (!txtFeiertage[i]->text().isEmpty()) txtFeiertage[i]->setText(txtFeiertage[i]->text().chopped(1));
    }
    // Empty names at the end get no check box.
    mLetzte = 16;
    while (mLetzte >= 1 && chkFeiertage[mLetzte]->text().isEmpty()) chkFeiertage[mLetzte--]->hide();
    // Two columns; what stands below moves up by the rows the left column no longer needs.
    const int k = (mLetzte + 1) / 2 + 1;
    mVersatzOben = (9 - k) * kZeile;
    // Each column as wide as its longest name, so that every name shows whole.
    int linksBreite = 3255, rechtsBreite = 3255;
    for (int j = 1; j <= mLetzte; ++j)
      (j >= k ? rechtsBreite : linksBreite) =
          std::max(j >= k ? rechtsBreite : linksBreite, tw(chkFeiertage[j]->sizeHint().width()));
    const int rechtsLinks = std::max(3840, 360 + linksBreite + 225);
    mInnenbreite = std::max(kInnenbreite, rechtsLinks + rechtsBreite + 360);
    for (int j = 1; j <= 16; ++j) {
      const bool rechts = j >= k;
      chkFeiertage[j]->setGeometry(px(rechts ? rechtsLinks : 360), px(840 + kZeile * (rechts ? j - k : j - 1)),
                                   px(rechts ? rechtsBreite : linksBreite), px(255));
    }
    if (weitere == 0) {
      lblBeschriftung[2]->hide();
      for (int i = 1; i <= 16; ++i) txtFeiertage[i]->hide();
      mVersatzUnten = kKompakt;
    } else {
      cmdAuswahl[1]->setEnabled(false);
    }
    Enter_wie_Tab(this);
    Anordnen();
    Sanduhr_Warten_aus();
  });
}

void frmFeiertage::Anordnen() {
  const int oben = mVersatzOben, unten = mVersatzOben + mVersatzUnten;
  lblBeschriftung[1]->setGeometry(px(360), px(360), px(mInnenbreite - 720), px(255));
  lblBeschriftung[2]->setGeometry(px(360), px(4800 - oben), px(mInnenbreite - 720), px(255));
  for (int i = 1; i <= 16; ++i)
    txtFeiertage[i]->setGeometry(px(360 + 915 * ((i - 1) % 8)), px((i <= 8 ? 5220 : 5700) - oben), px(mFeldbreite),
                                 px(315));
  chkEingabe->setGeometry(px(360), px(6420 - unten), px(mInnenbreite - 720), px(255));
  // The second line of the lock's caption under the first line's text.
  QStyleOptionButton option;
  option.initFrom(chkEingabe);
  const int text = chkEingabe->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, chkEingabe).left();
  lblBeschriftung[3]->setGeometry(chkEingabe->x() + text, px(6660 - unten), px(mInnenbreite - 990), px(255));
  // OK and cancel stay at the right edge of a window widened for long names.
  const int mehr = mInnenbreite - kInnenbreite;
  const int links[] = {0, 360, 2640, 4275 + mehr, 5910 + mehr};
  const int breiten[] = {0, 2115, 1455, 1455, 1575};
  for (int i = 1; i <= 4; ++i) cmdAuswahl[i]->setGeometry(px(links[i]), px(7230 - unten), px(breiten[i]), px(375));
  setFixedSize(px(mInnenbreite), px(kInnenhöhe - unten));
}

void frmFeiertage::Weitere_Feiertage() {
  Prozedur(kName + QStringLiteral("Weitere_Feiertage"), [&] {
    lblBeschriftung[2]->show();
    for (int i = 1; i <= 16; ++i) txtFeiertage[i]->show();
    mVersatzUnten -= kAufklappen;
    Anordnen();
    cmdAuswahl[1]->setEnabled(false);
    txtFeiertage[1]->setFocus();
  });
}

void frmFeiertage::Eingabe_filtern(int i) {
  // Digits and the date separator; a comma stands for the separator.
  QLineEdit* t = txtFeiertage[i];
  const QString alt = t->text();
  const QChar s = Trennzeichen();
  QString neu;
  for (QChar c : alt) {
    if (c >= u'0' && c <= u'9')
      neu += c;
    else if (c == s || c == u',')
      neu += s;
  }
  if (neu == alt) return;
  const int pos = t->cursorPosition() - static_cast<int>(alt.size() - neu.size());
  t->setText(neu);
  t->setCursorPosition(std::clamp(pos, 0, static_cast<int>(neu.size())));
}

bool frmFeiertage::Eingabe_prüfen(int i) {
  return Prozedur(kName + QStringLiteral("txtFeiertage_LostFocus"), [&]() -> bool {
    mPrüfung = true;
    LineEditTextfeld feld(txtFeiertage[i]);
    const bool ok = CheckDatum(feld, true);
    QString t = txtFeiertage[i]->text();
    if (t.endsWith(u'/') || t.endsWith(u'-')) txtFeiertage[i]->setText(t.chopped(1));
    mPrüfung = false;
    return ok;
  });
}

bool frmFeiertage::eventFilter(QObject* o, QEvent* e) {
  if (o == cmdAuswahl[4] && e->type() == QEvent::FocusOut && gDatumsprüfungOffen && isVisible()) {
    // Leaving the cancel button after a refused entry leaves the dialog.
    gDatumsprüfungOffen = false;
    QTimer::singleShot(0, this, [this] { reject(); });
    return false;
  }
  for (int i = 1; i <= 16; ++i) {
    if (o != txtFeiertage[i]) continue;
    if (e->type() == QEvent::FocusIn) {
      QTimer::singleShot(0, txtFeiertage[i], [t = txtFeiertage[i]] {
        if (t->hasFocus()) t->selectAll();
      });
    } else if (e->type() == QEvent::FocusOut && !mPrüfung && isVisible()) {
      // Switching to another window, or a message box, is no leaving of the box; nor is
      // a move to "Abbrechen", which discards everything anyway.
      const auto grund = static_cast<QFocusEvent*>(e)->reason();
      if (grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason &&
          QApplication::focusWidget() != cmdAuswahl[4])
        Eingabe_prüfen(i);
    }
    break;
  }
  return QDialog::eventFilter(o, e);
}

void frmFeiertage::Feiertage_aktualisieren() {
  Prozedur(kName + QStringLiteral("Feiertage_aktualisieren"), [&] {
    // The configuration and the holidays are written whole from memory: a change
    // another workstation stored since the dialog opened would be undone.
    if (!mStand.unverändert(false, true)) return;
    if (Setting(39) != 1 && Dateizeit(Feiertagspfad()) != mFeiertageZeit) {
      Meldung(QString::fromUtf16(kStammdatenGeändert));
      return;
    }
    // The lock counts even when the holidays stay as they are.
    const QString vorher = gSettings;
    SetSetting(12, chkEingabe->isChecked() ? 0 : 1);
    if (gSettings != vorher) Konfigdaten_schreiben();

    QString alt, neu;
    QStringList alteWeitere, neueWeitere;
    for (int i = 1; i <= 16; ++i) alt += gFeiertagsdefinitionen.value(i, kLeereFeiertagsdefinition).left(1);
    for (qsizetype i = 17; i < gFeiertagsdefinitionen.size(); ++i) {
      alt += gFeiertagsdefinitionen[i];
      alteWeitere << gFeiertagsdefinitionen[i];
    }
    bool hinzu = false;
    for (int i = 1; i <= 16; ++i) {
      const QChar f = chkFeiertage[i]->isChecked() ? u'1' : u'0';
      neu += f;
      if (f == u'1' && alt[i - 1] == u'0') hinzu = true;
    }
    for (int i = 1; i <= 16; ++i) {
      const QString t = txtFeiertage[i]->text();
      if (t.isEmpty()) continue;
      neueWeitere << Gespeicherte_Form(t);
      neu += neueWeitere.last();
      if (!alteWeitere.contains(neueWeitere.last())) hinzu = true;
    }
    if (alt == neu) return;
    if (Setting(12) == 0 && hinzu && Künftige_Daten_vorhanden() &&
        !Frage(QStringLiteral("Hinweis: Für die Zeit ab ") + Wirksamkeitsdatum() +
                   QStringLiteral(" sind An-/Abwesenheitsdaten vorhanden. Wenn bereits Daten für künftige Feiertage "
                                  "erfasst wurden, müssen diese manuell berichtigt werden.\r\rMöchten Sie fortsetzen "
                                  "und die Feiertage ändern?"),
               QStringLiteral("Velkora")))
      return;
    Sanduhr_Warten_ein();
    // While the old holidays are loaded: the months before the current one keep theirs
    // once they hold data; otherwise every month follows the new holidays.
    Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("F"),
                                                 Vergangene_Monate_einfrieren() ? QString() : QStringLiteral("NoEx"));
    for (int i = 1; i <= 16; ++i)
      for (int j = i + 1; j <= 16; ++j)
        if (!txtFeiertage[i]->text().isEmpty() && txtFeiertage[j]->text() == txtFeiertage[i]->text())
          txtFeiertage[j]->clear();
    QStringList definitionen{QString()};
    for (int i = 1; i <= 16; ++i) {
      QString def = gFeiertagsdefinitionen.value(i, kLeereFeiertagsdefinition);
      def[0] = chkFeiertage[i]->isChecked() ? u'1' : u'0';
      definitionen << def;
    }
    // Further holidays by month, then day.
    QStringList schlüssel;
    for (int i = 1; i <= 16; ++i) {
      const QString t = txtFeiertage[i]->text();
      if (t.isEmpty()) continue;
      const QString key = Tag_zuerst() ? t.mid(3, 2) + t.mid(0, 2) : t.mid(0, 2) + t.mid(3, 2);
      qsizetype p = 0;
      while (p < schlüssel.size() && schlüssel[p] <= key) ++p;
      schlüssel.insert(p, key);
    }
    for (const QString& key : schlüssel) definitionen << key.mid(2, 2) + u'.' + key.left(2) + u'.';
    gFeiertagsdefinitionen = definitionen;
    Feiertage_schreiben();
    Feiertage_lesen();
    Logbuch_ergänzen(2, QStringLiteral("Feiertage alt: ") + alt);
    Logbuch_ergänzen(2, QStringLiteral("Feiertage neu: ") + neu);
    Sanduhr_Warten_aus();
  });
}

void frmFeiertage::cmdAuswahl_Click(int index) {
  Prozedur(kName + QStringLiteral("cmdAuswahl_Click"), [&] {
    switch (index) {
      case 1:
        Weitere_Feiertage();
        break;
      case 2:
        hilfe(this);
        break;
      case 3:
        // A refused entry never reaches the file: the dialog stays open on it.
        for (int i = 1; i <= 16; ++i)
          if (!txtFeiertage[i]->text().isEmpty() && !Eingabe_prüfen(i)) return;
        Feiertage_aktualisieren();
        accept();
        break;
      case 4:
        gDatumsprüfungOffen = false;
        reject();
        break;
    }
  });
}

void frmFeiertage::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    e->accept();
    cmdAuswahl_Click(2);
    return;
  }
  QDialog::keyPressEvent(e);
}
