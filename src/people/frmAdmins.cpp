#include "people/frmAdmins.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <map>

#include "platform/Bildschirm.h"
#include "platform/Cp1252.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "widgets/Fensterhilfen.h"

Haken<void(QWidget*)> frmAdmins::hilfe{"frmAdmins::hilfe"};

namespace {

const QString kFenster = QStringLiteral("frmAdmins - ");
const QString kKeineAdmins = QStringLiteral("NoAdmins");
const QString kAlle = QStringLiteral("*:*");

// The text after the first ":" of an entry.
QString Benutzerteil(const QString& eintrag) {
  const qsizetype p = eintrag.indexOf(u':');
  return p < 0 ? QString() : eintrag.mid(p + 1);
}

// The logbook form of a list: " entry;" for each.
QString Listentext(const QStringList& liste) {
  QString t;
  for (const QString& e : liste) t += u' ' + e + u';';
  return t;
}

}  // namespace

frmAdmins::frmAdmins(const QString& tag, QWidget* besitzer) : Zeilendialog(kFenster, kZeilen, 2, besitzer), mTag(tag) {
  setObjectName(QStringLiteral("frmAdmins"));
  setModal(true);
  Form_Load();
}

QLineEdit* frmAdmins::Feld(int spalte, int zeile) const {
  if (zeile < 1 || zeile > kZeilen) return nullptr;
  if (spalte == 1) return txtName[zeile];
  if (spalte == 2) return txtBenutzerID[zeile];
  return nullptr;
}

void frmAdmins::Form_Load() {
  Prozedur(kFenster + QStringLiteral("Form_Load"), [&] {
    // The dialog writes the whole configuration from memory: it starts from what is
    // stored now, and its save refuses when another workstation wrote it since.
    CheckKonfigdaten();
    Stand = Stammdatenstand();

    // Geometry in twips, applied at the end.
    std::map<QWidget*, QRect> lage;
    const QString beschriftungen[3] = {QString(), QStringLiteral("Name Vorname"),
                                       QStringLiteral("Windows-Benutzername")};
    const int spaltenLinks[3] = {0, 240, 3015}, spaltenBreite[3] = {0, 2775, 2055};
    for (int i = 1; i <= 2; ++i) {
      auto* l = new QLabel(beschriftungen[i], this);
      l->setObjectName(QStringLiteral("lblBeschriftung_%1").arg(i));
      lblBeschriftung[i] = l;
      lage[l] = QRect(spaltenLinks[i], 120, spaltenBreite[i], 240);
    }
    QWidget* vorher = nullptr;
    for (int z = 1; z <= kZeilen; ++z) {
      for (int s = 1; s <= 2; ++s)
        (s == 1 ? txtName : txtBenutzerID)[z] =
            Zeilenfeld_anlegen(s == 1 ? QStringLiteral("txtName") : QStringLiteral("txtBenutzerID"), 40, s, z,
                               QRect(spaltenLinks[s], 360 + (z - 1) * 360, spaltenBreite[s], 360), lage, vorher);
      const int zeile = z;
      connect(txtName[z], &QLineEdit::textChanged, this, [this, zeile] { txtName_Change(zeile); });
    }
    // The focus stop lies behind the first row's name: it takes the focus in the tab
    // order but never shows it.
    Fang_und_Leiste_anlegen(QRect(240, 360, 375, 360), QRect(5070, 360, 255, kZeilen * 360), lage, vorher);

    const QString knöpfe[4] = {QString(), QStringLiteral("&Hilfe ..."), QStringLiteral("&OK"),
                               QStringLiteral("&Abbrechen")};
    const QRect knopfLage[4] = {QRect(), QRect(240, 2760, 1215, 375), QRect(2835, 2760, 1215, 375),
                                QRect(4110, 2760, 1215, 375)};
    Knöpfe_anlegen(
        knöpfe, knopfLage, cmdAuswahl, [this](int i) { cmdAuswahl_Click(i); }, lage, vorher);

    SetSchriftart(this);
    // The twips layout was drawn for a narrow font: the columns widen as much as the
    // wider header needs.
    const auto px = [](double twips) { return bildschirm::twipsZuPixel(twips); };
    double sx = 1.0;
    for (int i = 1; i <= 2; ++i) {
      const QFontMetrics m(lblBeschriftung[i]->font());
      sx = std::max(sx, (m.horizontalAdvance(lblBeschriftung[i]->text()) + 8.0) / px(spaltenBreite[i]));
    }
    for (const auto& [w, r] : lage)
      w->setGeometry(px(r.left() * sx), px(r.top()), px((r.left() + r.width()) * sx) - px(r.left() * sx),
                     px(r.height()));
    setFixedSize(px(5565 * sx), px(3375));
    Enter_wie_Tab(this);
    Ereignisse_verbinden();
    for (int z = 1; z <= kZeilen; ++z) Farbe_setzen(z, 1);

    // A first start leaves the administrator list with the placeholder "<Name Vorname>"
    // and no user name while every user is an administrator: the current user is
    // added in memory, so that a save of either list keeps him an administrator.
    if (Setting(16) == 1 && gAdministratoren.size() == 1) {
      const QString& e = gAdministratoren.first();
      if (!e.endsWith(kAlle) && e != kKeineAdmins && !e.toLower().contains(u':' + gBenutzername.toLower()))
        gAdministratoren << QStringLiteral("A:<Name Vorname>:") + gBenutzername;
    }

    const QStringList& global = Administratorliste() ? gAdministratoren : gPrivilegierte;
    if (Administratorliste()) {
      setWindowTitle(QStringLiteral("Velkora - Administratoren"));
    } else {
      setWindowTitle(QStringLiteral("Velkora") + QStringLiteral(" - Privilegierte Benutzer"));
    }
    Geladen.clear();
    for (int i = 0; i < global.size(); ++i)
      Geladen << (i == 0 && global[i] == kKeineAdmins ? global[i] : global[i].mid(2));
    const bool keine = Geladen.isEmpty() || Geladen.first() == kKeineAdmins;
    Eingabeliste.assign(static_cast<size_t>(std::max(static_cast<int>(Geladen.size()) + 1, 7)) + 1, QString());
    if (!keine)
      for (int i = 0; i < Geladen.size(); ++i) Eingabeliste[static_cast<size_t>(i + 1)] = Geladen[i];

    {
      const QSignalBlocker b(vsbScrollBar);
      vsbScrollBar->setMinimum(0);
      vsbScrollBar->setMaximum(Obergrenze() - kZeilen);
      vsbScrollBar->setPageStep(kZeilen);
      vsbScrollBar->setSingleStep(1);
      vsbScrollBar->setValue(0);
    }
    ErsteZeile = 0;
    Anzeige_aktualisieren();
  });
}

void frmAdmins::Anzeige_aktualisieren() {
  Prozedur(kFenster + QStringLiteral("Anzeige_aktualisieren"), [&] {
    mAnzeigen = true;
    for (int k = 1; k <= kZeilen; ++k) {
      txtName[k]->clear();
      txtBenutzerID[k]->clear();
    }
    txtBlind->clear();
    for (int k = 1; k <= kZeilen; ++k) {
      const int r = ErsteZeile + k;
      if (r > Obergrenze()) break;
      const QString& e = Eingabeliste[static_cast<size_t>(r)];
      if (e.isEmpty()) continue;
      const qsizetype p = e.indexOf(u':');
      txtName[k]->setText(p < 0 ? e : e.left(p));
      txtBenutzerID[k]->setText(Benutzerteil(e));
    }
    mAnzeigen = false;
    if (vsbScrollBar->value() == vsbScrollBar->maximum()) Eingabezeile_hinzufügen();
  });
}

bool frmAdmins::Zeile_anhängen() {
  Eingabeliste.emplace_back();
  return true;
}

void frmAdmins::Eingabezeile_speichern(int k) {
  Prozedur(kFenster + QStringLiteral("Eingabezeile_speichern"), [&] {
    const int r = ErsteZeile + k;
    if (k < 1 || k > kZeilen || r > Obergrenze()) return;
    Eingabeliste[static_cast<size_t>(r)] = txtName[k]->text() + u':' + txtBenutzerID[k]->text();
  });
}

void frmAdmins::txtName_Change(int zeile) {
  if (mAnzeigen) return;
  Prozedur(kFenster + QStringLiteral("txtName_Change"), [&] {
    if (zeile == kZeilen && vsbScrollBar->value() == vsbScrollBar->maximum()) Eingabezeile_hinzufügen();
  });
}

void frmAdmins::TextBox_GotFocus(int zeile) {
  Prozedur(kFenster + QStringLiteral("TextBox_GotFocus"), [&] {
    Farbe_setzen(zeile, 9);
    Text_markieren();
  });
}

void frmAdmins::TextBox_LostFocus(int spalte, int zeile) {
  Prozedur(kFenster + QStringLiteral("TextBox_LostFocus"), [&] {
    for (int z = 1; z <= kZeilen; ++z) Farbe_setzen(z, 1);
    QLineEdit* e = Feld(spalte, zeile);
    if (!e) return;
    const QString t = e->text().trimmed();
    if (t != e->text()) e->setText(t);
    Eingabezeile_speichern(zeile);
  });
}

bool frmAdmins::Plausibilitätsprüfung() {
  return Prozedur(kFenster + QStringLiteral("Plausibilitätsprüfung"), [&] {
    const auto melden = [&](QLineEdit* feld, const QString& meldung) {
      Meldung(meldung);
      feld->setFocus(Qt::OtherFocusReason);
      return false;
    };
    const QString sonderzeichen = QString::fromUtf16(cp1252::kUnzulässigesSonderzeichen);
    // A ":" would split the entry in the file; a character the file cannot hold
    // would come back as another one.
    const auto unzulässig = [](const QString& t) { return t.contains(u':') || !cp1252::eingabeZulässig(t); };
    for (int k = 1; k <= kZeilen; ++k) {
      const QString name = txtName[k]->text(), benutzer = txtBenutzerID[k]->text();
      if (!name.isEmpty() && benutzer.isEmpty())
        return melden(txtBenutzerID[k], QStringLiteral("Bitte Windows-Benutzername eingeben"));
      if (!benutzer.isEmpty() && name.isEmpty())
        return melden(txtName[k], QStringLiteral("Bitte Name und Vorname eingeben"));
      if (unzulässig(name)) return melden(txtName[k], sonderzeichen);
      if (unzulässig(benutzer)) return melden(txtBenutzerID[k], sonderzeichen);
    }
    // A Windows user name only once in the list, whatever its letter case; the rows
    // in view count with what they show now.
    for (int k = 1; k <= kZeilen; ++k) {
      const QString benutzer = txtBenutzerID[k]->text();
      if (benutzer.isEmpty()) continue;
      int anzahl = 0;
      for (int r = 1; r <= Obergrenze() && anzahl <= 1; ++r) {
        const int sichtbar = r - ErsteZeile;
        const QString anderer = sichtbar >= 1 && sichtbar <= kZeilen
                                    ? txtBenutzerID[sichtbar]->text()
                                    : Benutzerteil(Eingabeliste[static_cast<size_t>(r)]);
        if (anderer.toLower() == benutzer.toLower()) ++anzahl;
      }
      if (anzahl > 1)
        return melden(txtBenutzerID[k],
                      QStringLiteral("Benutzername '") + benutzer + QStringLiteral("' ist doppelt vorhanden"));
    }
    return true;
  });
}

bool frmAdmins::Konfigdaten_aktualisieren() {
  return Prozedur(kFenster + QStringLiteral("Konfigdaten_aktualisieren"), [&] {
    const bool administratoren = Administratorliste();
    // The list as it will be stored: rows never filled or cleared are dropped.
    QStringList neu;
    for (int r = 1; r <= Obergrenze(); ++r) {
      const QString& e = Eingabeliste[static_cast<size_t>(r)];
      if (!e.isEmpty() && e != u":") neu << e;
    }
    if (neu.isEmpty()) neu << kKeineAdmins;

    // The all-users entry is the first entry stored, not the first row: a "*" / "*"
    // below an emptied first row is stored first and must grant what it says.
    const bool alle =
        administratoren ? neu.first() == kAlle : !gAdministratoren.isEmpty() && gAdministratoren.first() == u"A:*:*";
    bool eigener = false;
    for (int r = 1; r <= Obergrenze(); ++r)
      if (Benutzerteil(Eingabeliste[static_cast<size_t>(r)]).compare(gBenutzername, Qt::CaseInsensitive) == 0)
        eigener = true;
    if (!eigener && administratoren && !alle && !gAdministratorSchalter) {
      Meldung(QStringLiteral("Änderungen können nicht gespeichert werden. Ihren eigenen Windows-Benutzernamen '") +
              gBenutzername + QStringLiteral("' können Sie nicht aus der Liste der Administratoren löschen."));
      return false;
    }

    const QString alt = Listentext(Geladen.isEmpty() ? QStringList{kKeineAdmins} : Geladen);
    const QString neuText = Listentext(neu);
    if (alt == neuText) return true;

    // The configuration is written whole from memory: written elsewhere since this
    // dialog opened, it would lose that change.
    if (!Stand.unverändert(false, true)) return false;

    const QString präfix = administratoren ? QStringLiteral("A:") : QStringLiteral("P:");
    QStringList global;
    if (neu == QStringList{kKeineAdmins}) {
      global << kKeineAdmins;
    } else {
      for (const QString& e : neu) global << präfix + e;
    }
    (administratoren ? gAdministratoren : gPrivilegierte) = global;
    SetSetting(16, alle ? 1 : 0);
    if (alle) {
      gPrivilegierte = QStringList{kKeineAdmins};
      SetSetting(11, 0);
    }
    Konfigdaten_schreiben();
    Konfigdaten_lesen();

    const QString art = administratoren ? QStringLiteral("Administratoren") : QStringLiteral("Privilegierte Benutzer");
    Logbuch_ergänzen(2, art + QStringLiteral(" alt:") + alt);
    Logbuch_ergänzen(2, art + QStringLiteral(" neu:") + neuText);
    return true;
  });
}

void frmAdmins::cmdAuswahl_Click(int index) {
  Prozedur(kFenster + QStringLiteral("cmdAuswahl_Click"), [&] {
    // A click leaves the box first, as the mouse does: its row is stored.
    if (index == 2 && mFokusfeld) {
      cmdAuswahl[index]->setFocus(Qt::OtherFocusReason);
      if (mFokusfeld) return;
    }
    switch (index) {
      case 1:
        hilfe(this);
        break;
      case 2:
        if (Plausibilitätsprüfung() && Konfigdaten_aktualisieren()) accept();
        break;
      case 3:
        reject();
        break;
      default:
        break;
    }
  });
}

bool frmAdmins::Taste(QWidget* w, QKeyEvent* k) {
  return Prozedur(kFenster + QStringLiteral("Form_KeyDown"), [&] {
    if (k->key() == Qt::Key_F1) {
      hilfe(this);
      return true;
    }
    return Zeilendialog::Taste(w, k);
  });
}

void Administratoren_bearbeiten(QWidget* besitzer, const QString& tag) {
  frmAdmins f(tag, besitzer);
  f.exec();
}
