#include "people/frmMitarbeiter.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <map>

#include "platform/Bildschirm.h"
#include "platform/Cp1252.h"
#include "platform/Dialoge.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Raster.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "widgets/Fensterhilfen.h"
#include "widgets/LineEditTextfeld.h"

Haken<void(QWidget*)> frmMitarbeiter::hilfe{"frmMitarbeiter::hilfe"};
Haken<QString(QWidget*, const QString&, const QString&, const QString&)> frmMitarbeiter::eingabe{
    "frmMitarbeiter::eingabe"};

namespace {

const QString kFenster = QStringLiteral("frmMitarbeiter - ");

QString Trenner() { return gDezimaltrennzeichen.isEmpty() ? QStringLiteral(",") : gDezimaltrennzeichen.left(1); }
QString Datumstrenner() { return gDatumstrennzeichen.isEmpty() ? QStringLiteral(".") : gDatumstrennzeichen.left(1); }

// A number typed with the locale's separator; an empty or unreadable text counts 0.
double Zahlwert(const QString& t) {
  QString s = t.trimmed();
  s.replace(Trenner(), QStringLiteral("."));
  bool ok = false;
  const double w = s.toDouble(&ok);
  return ok ? w : 0.0;
}

// VB-like "0.0" and "0": away from zero at the half.
QString Format0(double w, bool eineStelle) {
  if (eineStelle) {
    const double r = std::round(w * 10.0) / 10.0;
    QString s = QString::number(r, 'f', 1);
    if (s == u"-0.0") s = QStringLiteral("0.0");
    return s.replace(u'.', Trenner());
  }
  const long long r = std::llround(w);
  return QString::number(r);
}

// The value k (1 to 5) of a vacation text.
QString Wert(const QString& urlaubsdaten, int k) { return urlaubsdaten.mid(6 * (k - 1), 5); }

// A date box's text as a date; invalid when it is no complete display date. Its year
// is read as the date check reads two digits (from 50 on the last century), so that a
// start before 2000 is refused rather than stored as a year of this century.
QDate Datum_aus_Anzeige(const QString& t) {
  const QString s = Datumstrenner();
  if (t.size() != 8 || t.mid(2, 1) != s || t.mid(5, 1) != s) return {};
  for (int i : {0, 1, 3, 4, 6, 7})
    if (!t[i].isDigit()) return {};
  const QString stamm = FormatDatumAS(t);
  const int jj = stamm.left(2).toInt();
  return QDate(jj >= 50 ? 1900 + jj : 2000 + jj, stamm.mid(2, 2).toInt(), stamm.mid(4, 2).toInt());
}

// 1 January 2000 in the locale's order with a four-digit year.
QString Untergrenze_Text() { return Datum_lang(QDate(2000, 1, 1), Datumstrenner()); }

QString Von_Datum_zu_früh() {
  return QStringLiteral("'Von-Datum' darf nicht vor dem ") + Untergrenze_Text() +
         QStringLiteral(
             " liegen.\r\rSie brauchen bei 'befristet beschäftigt von' nur ein Datum "
             "einzutragen, wenn der Beschäftigungsbeginn nach dem ") +
         FormatDatumDA(QDate(gPlanungsjahr, 1, 1)) + QStringLiteral(" liegt.");
}

}  // namespace

bool Zeilensatz::leer() const {
  return Von.isEmpty() && Bis.isEmpty() && Urlaubsdaten.isEmpty() && Sonderurlaub.isEmpty() && Name.isEmpty() &&
         BenutzerID.isEmpty() && BenutzerIDAlt.isEmpty() && NameAlt.isEmpty();
}

QString Zeilensatz::Änderungskennung() const {
  return Name + Von + Bis + Urlaubsdaten + Sonderurlaub + BenutzerID + BenutzerIDAlt;
}

frmMitarbeiter::frmMitarbeiter(QWidget* besitzer) : Zeilendialog(kFenster, kZeilen, 9, besitzer) {
  setObjectName(QStringLiteral("frmMitarbeiter"));
  setModal(true);
  Form_Load();
}

frmMitarbeiter::~frmMitarbeiter() { mFokusfeld = nullptr; }

QLineEdit* frmMitarbeiter::Feld(int spalte, int zeile) const {
  if (zeile < 1 || zeile > kZeilen) return nullptr;
  switch (spalte) {
    case 1:
      return txtName[zeile];
    case 2:
      return txtBenutzerID[zeile];
    case 3:
      return txtVonDatum[zeile];
    case 4:
      return txtBisDatum[zeile];
    case 5:
      return txtResturlaub[zeile];
    case 6:
      return txtUrlaub1[zeile];
    case 7:
      return txtUrlaub2[zeile];
    case 8:
      return txtUrlaub3[zeile];
    case 9:
      return txtUrlaub4[zeile];
    default:
      return nullptr;
  }
}

bool frmMitarbeiter::Dezimal_Rest() const { return Setting(30) > 0 || gSFUrlaubHalb > 0; }

void frmMitarbeiter::Form_Load() {
  Prozedur(kFenster + QStringLiteral("Form_Load"), [&] {
    // Another workstation may have changed the configuration or the list meanwhile.
    CheckKonfigdaten();
    CheckMitarbeiterdaten();
    Stand = Stammdatenstand();

    // Geometry in twips, applied at the end.
    std::map<QWidget*, QRect> lage;
    const auto links = [&](QWidget* w, int dx) { lage[w].translate(dx, 0); };

    const QString beschriftungen[14] = {QString(),
                                        QStringLiteral("Name Vorname"),
                                        QStringLiteral("Windows-\nBenutzername"),
                                        QStringLiteral("befristet beschäftigt"),
                                        QStringLiteral("von"),
                                        QStringLiteral("bis"),
                                        QStringLiteral("Rest-"),
                                        QStringLiteral("urlaub"),
                                        QStringLiteral("Urlaubsanspruch"),
                                        QString(),
                                        QString(),
                                        QString(),
                                        QString(),
                                        QStringLiteral("SU")};
    const QRect beschriftungsLage[14] = {QRect(),
                                         QRect(240, 360, 2775, 240),
                                         QRect(3015, 240, 2055, 480),
                                         QRect(5175, 240, 1710, 240),
                                         QRect(5175, 480, 855, 240),
                                         QRect(6030, 480, 855, 240),
                                         QRect(7020, 240, 645, 240),
                                         QRect(7020, 480, 645, 240),
                                         QRect(7680, 240, 1515, 240),
                                         QRect(7635, 480, 525, 240),
                                         QRect(8175, 480, 525, 240),
                                         QRect(8715, 480, 525, 240),
                                         QRect(9255, 480, 525, 240),
                                         QRect(9300, 240, 435, 240)};
    for (int i = 1; i <= 13; ++i) {
      auto* l = new QLabel(beschriftungen[i], this);
      l->setObjectName(QStringLiteral("lblBeschriftung_%1").arg(i));
      l->setAlignment(i == 1 || i == 2 || i == 3 || i == 8 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
      lblBeschriftung[i] = l;
      lage[l] = beschriftungsLage[i];
    }

    // Columns: name, user name, from, to, remaining vacation, entitlements 1 to 4.
    struct Spalte {
      const char16_t* name;
      int links, breite, länge;
      std::array<QLineEdit*, kZeilen + 1>* feld;
    };
    const Spalte spalten[10] = {{},
                                {u"txtName", 240, 2775, 40, &txtName},
                                {u"txtBenutzerID", 3015, 2055, 40, &txtBenutzerID},
                                // Room for a four-digit year, shown in two digits once checked.
                                {u"txtVonDatum", 5175, 855, 10, &txtVonDatum},
                                {u"txtBisDatum", 6030, 855, 10, &txtBisDatum},
                                {u"txtResturlaub", 7065, 435, 3, &txtResturlaub},
                                {u"txtUrlaub1", 7680, 435, 3, &txtUrlaub1},
                                {u"txtUrlaub2", 8220, 435, 3, &txtUrlaub2},
                                {u"txtUrlaub3", 8760, 435, 3, &txtUrlaub3},
                                {u"txtUrlaub4", 9300, 435, 3, &txtUrlaub4}};
    QWidget* vorher = nullptr;
    for (int z = 1; z <= kZeilen; ++z) {
      for (int s = 1; s <= 9; ++s) {
        auto* e = Zeilenfeld_anlegen(QString::fromUtf16(spalten[s].name), spalten[s].länge, s, z,
                                     QRect(spalten[s].links, z * 360 + 480, spalten[s].breite, 360), lage, vorher);
        e->setFrame(true);
        if (s >= 3) {
          // Number and date boxes take only what their key filter lets through.
          e->setContextMenuPolicy(Qt::NoContextMenu);
          e->setDragEnabled(false);
          e->setAcceptDrops(false);
        }
        (*spalten[s].feld)[z] = e;
      }
      const int zeile = z;
      connect(txtName[z], &QLineEdit::textChanged, this, [this, zeile] { txtName_Change(zeile); });
    }
    Fang_und_Leiste_anlegen(QRect(240, 840, 375, 360), QRect(9900, 840, 255, 7935), lage, vorher);

    const QString knöpfe[9] = {QString(),
                               QStringLiteral("Zeile &einfügen"),
                               QStringLiteral("Zeile &löschen"),
                               QString(),
                               QString(),
                               QStringLiteral("&Hilfe ..."),
                               QStringLiteral("&Übernehmen"),
                               QStringLiteral("&Abbrechen"),
                               QStringLiteral("&OK")};
    const QRect knopfLage[9] = {QRect(),
                                QRect(10380, 840, 1800, 495),
                                QRect(10380, 1560, 1800, 495),
                                QRect(11040, 2400, 495, 495),
                                QRect(11040, 3120, 495, 495),
                                QRect(10380, 6000, 1800, 495),
                                QRect(10380, 6840, 1800, 495),
                                QRect(10380, 7560, 1800, 495),
                                QRect(10380, 8280, 1800, 495)};
    Knöpfe_anlegen(
        knöpfe, knopfLage, cmdAuswahl, [this](int i) { cmdAuswahl_Click(i); }, lage, vorher);
    cmdAuswahl[3]->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    cmdAuswahl[4]->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    cmdAuswahl[3]->setToolTip(QStringLiteral("Zeile nach oben verschieben"));
    cmdAuswahl[4]->setToolTip(QStringLiteral("Zeile nach unten verschieben"));

    mBreite = 12420;
    mHöhe = 9135;
    const auto alleZeilen = [&](int spalte, const std::function<void(QLineEdit*)>& f) {
      for (int z = 1; z <= kZeilen; ++z) f(Feld(spalte, z));
    };
    const auto rechtsTeil = [&](int dx) {
      links(vsbScrollBar, dx);
      for (int i = 1; i <= 8; ++i) links(cmdAuswahl[i], dx);
      mBreite += dx;
    };

    // Year headers.
    for (int j = 0; j < 4; ++j) {
      const int jahr = gPlanungsjahr + j;
      lblBeschriftung[9 + j]->setText(
          gUrlaubsjahrBeginn <= 1
              ? QString::number(jahr)
              : QStringLiteral("%1/%2").arg(jahr % 100, 2, 10, QChar(u'0')).arg((jahr + 1) % 100, 2, 10, QChar(u'0')));
    }

    // Without Windows user names the user-name column goes.
    if (Setting(28) == 1) {
      lblBeschriftung[2]->hide();
      alleZeilen(2, [](QLineEdit* e) { e->hide(); });
      for (int i = 3; i <= 12; ++i) links(lblBeschriftung[i], -2055);
      for (int s = 3; s <= 9; ++s) alleZeilen(s, [&](QLineEdit* e) { links(e, -2055); });
      rechtsTeil(-2055);
    }
    // Decimal remaining vacation.
    if (Dezimal_Rest()) {
      links(lblBeschriftung[6], 60);
      lage[lblBeschriftung[7]].moveLeft(lage[lblBeschriftung[6]].left());
      for (int i = 8; i <= 13; ++i) links(lblBeschriftung[i], 120);
      alleZeilen(5, [&](QLineEdit* e) {
        lage[e].setWidth(555);
        e->setMaxLength(5);
      });
      for (int s = 6; s <= 9; ++s) alleZeilen(s, [&](QLineEdit* e) { links(e, 120); });
      rechtsTeil(120);
    }
    // Decimal entitlements.
    if (Setting(30) > 0) {
      const bool januar = gUrlaubsjahrBeginn <= 1;
      links(lblBeschriftung[8], januar ? 75 : 45);
      links(lblBeschriftung[9], januar ? 75 : 45);
      links(lblBeschriftung[10], januar ? 195 : 165);
      links(lblBeschriftung[11], januar ? 315 : 285);
      links(lblBeschriftung[12], januar ? 435 : 405);
      links(lblBeschriftung[13], januar ? 435 : 405);
      for (int s = 6; s <= 9; ++s)
        alleZeilen(s, [&](QLineEdit* e) {
          lage[e].setWidth(555);
          e->setMaxLength(5);
          links(e, (s - 6) * 120);
        });
      rechtsTeil(360);
    }
    const QDate stand(gPlanungsjahr + (gUrlaub1Leer ? 1 : 0), std::clamp(gUrlaubsjahrBeginn, 1, 12), 1);
    const QString tipp = QStringLiteral("Resturlaub mit Stand ") + FormatDatumDA(stand);
    lblBeschriftung[6]->setToolTip(tipp);
    lblBeschriftung[7]->setToolTip(tipp);
    // The last column edits the special-leave entitlement while special leave is in use.
    if (Setting(33) == 0) {
      lblBeschriftung[13]->hide();
    } else {
      alleZeilen(9, [&](QLineEdit* e) { links(e, 75); });
      lage[lblBeschriftung[12]].moveLeft(lage[txtUrlaub4[1]].left() + 15 + (Setting(30) > 0 ? 60 : 0));
      lage[lblBeschriftung[13]].moveLeft(lage[lblBeschriftung[12]].left() - (Setting(30) > 0 ? 0 : 30));
      lblBeschriftung[12]->setText(QString::number(gPlanungsjahr + 1));
      lblBeschriftung[13]->show();
      rechtsTeil(75);
    }
    SetSchriftart(this);
    // The twips layout was drawn for a narrower font than many systems have: the
    // columns widen as much as a full date and the date columns' header need.
    const auto px = [](double twips) { return bildschirm::twipsZuPixel(twips); };
    double sx = 1.0;
    const QFontMetrics datum(txtVonDatum[1]->font());
    sx = std::max(sx, (datum.horizontalAdvance(QStringLiteral("88.88.88")) + 12.0) / px(855));
    const QFontMetrics kopf(lblBeschriftung[3]->font());
    sx = std::max(sx, (kopf.horizontalAdvance(lblBeschriftung[3]->text()) + 4.0) / px(1710));
    for (const auto& [w, r] : lage)
      w->setGeometry(px(r.left() * sx), px(r.top()), px((r.left() + r.width()) * sx) - px(r.left() * sx),
                     px(r.height()));
    setFixedSize(px(mBreite * sx), px(mHöhe));
    Enter_wie_Tab(this);
    // Keys, focus changes and clicks of every control pass the window's one filter.
    Ereignisse_verbinden();

    for (int i = 1; i <= 4; ++i) cmdAuswahl[i]->setEnabled(false);
    cmdAuswahl[6]->setEnabled(false);
    for (int z = 1; z <= kZeilen; ++z) Farbe_setzen(z, 1);

    // Records from the employee table.
    const int n = Mitarbeiterzeilen();
    const bool keine = n == 1 && gMitarbeiterNamen[1] == u"NoNames";
    Zeilen.assign(static_cast<size_t>(n > 23 ? n + 1 : 23) + 1, Zeilensatz{});
    if (!keine) {
      for (int i = 1; i <= n; ++i) {
        Zeilensatz& z = Zeilen[static_cast<size_t>(i)];
        if (gBenutzerIDs[i].isEmpty()) {
          z.Name = z.NameAlt = QStringLiteral(">") + gMitarbeiterNamen[i];
        } else {
          z.Von = gEintrittsdaten[i];
          z.Bis = gAustrittsdaten[i];
          z.Urlaubsdaten = gUrlaubsdaten[i];
          z.Sonderurlaub = gSonderurlaubsanspruch[i];
          z.Name = gMitarbeiterNamen[i];
          z.BenutzerID = z.BenutzerIDAlt = gBenutzerIDs[i];
        }
      }
    }
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

void frmMitarbeiter::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (Mitarbeiterzeilen() == 1 && gMitarbeiterNamen[1] == u"NoNames") txtName[1]->setFocus(Qt::OtherFocusReason);
}

void frmMitarbeiter::Überschrift_formatieren(int zeile) {
  Prozedur(kFenster + QStringLiteral("Überschrift formatieren"), [&] { Farbe_setzen(zeile, 5); });
}

QString frmMitarbeiter::Zahl_anzeigen(const QString& wert, bool dezimal) const {
  return Format0(Zahlwert(wert), dezimal);
}

QStringList frmMitarbeiter::Anzeigetexte(const Zeilensatz& z) const {
  QStringList t(10);
  if (z.Name.isEmpty()) return t;
  t[1] = z.Name;
  if (z.Überschrift()) return t;
  t[2] = z.BenutzerID;
  t[3] = z.Von == u"000000" || z.Von.isEmpty() ? QString() : FormatDatumSA(z.Von);
  t[4] = z.Bis == u"999999" || z.Bis.isEmpty() ? QString() : FormatDatumSA(z.Bis);
  t[5] = Zahl_anzeigen(Wert(z.Urlaubsdaten, 1), Dezimal_Rest());
  const bool dez = Setting(30) > 0;
  for (int k = 2; k <= 4; ++k) t[4 + k] = Zahl_anzeigen(Wert(z.Urlaubsdaten, k), dez);
  t[9] = Zahl_anzeigen(Setting(33) == 0 ? Wert(z.Urlaubsdaten, 5) : z.Sonderurlaub, dez);
  return t;
}

void frmMitarbeiter::Anzeige_aktualisieren() {
  Prozedur(kFenster + QStringLiteral("Anzeige_aktualisieren"), [&] {
    mAnzeigen = true;
    for (int k = 1; k <= kZeilen; ++k) {
      for (int s = 1; s <= 9; ++s) Feld(s, k)->clear();
      if (Farbe(k) != 9) Farbe_setzen(k, 1);
    }
    txtBlind->clear();
    for (int k = 1; k <= kZeilen; ++k) {
      const int r = ErsteZeile + k;
      if (r > Obergrenze()) break;
      const Zeilensatz& z = Zeilen[static_cast<size_t>(r)];
      if (z.Name.isEmpty()) continue;
      const QStringList t = Anzeigetexte(z);
      for (int s = 1; s <= 9; ++s) Feld(s, k)->setText(t[s]);
      if (z.Überschrift() && Farbe(k) != 9) Überschrift_formatieren(k);
    }
    mAnzeigen = false;
    if (vsbScrollBar->value() == vsbScrollBar->maximum()) Eingabezeile_hinzufügen();
    Mitarbeiteranzahl_anzeigen();
  });
}

void frmMitarbeiter::Eingabezeile_speichern(int k) {
  Prozedur(kFenster + QStringLiteral("Eingabezeile_speichern"), [&] {
    const int r = ErsteZeile + k;
    if (k < 1 || k > kZeilen || r > Obergrenze()) return;
    Zeilensatz& z = Zeilen[static_cast<size_t>(r)];
    const QString alt = z.Änderungskennung();
    if (txtName[k]->text().startsWith(u'>')) {
      z.Name = txtName[k]->text();
      z.Von.clear();
      z.Bis.clear();
      z.Urlaubsdaten.clear();
      z.Sonderurlaub.clear();
      z.BenutzerID.clear();
    } else {
      z.Von = txtVonDatum[k]->text().isEmpty() ? QStringLiteral("000000") : FormatDatumAS(txtVonDatum[k]->text());
      z.Bis = txtBisDatum[k]->text().isEmpty() ? QStringLiteral("999999") : FormatDatumAS(txtBisDatum[k]->text());
      const QString fünfter = Setting(33) == 0 ? txtUrlaub4[k]->text() : Wert(z.Urlaubsdaten, 5);
      z.Urlaubsdaten =
          QStringList{BenFormat(txtResturlaub[k]->text()), BenFormat(txtUrlaub1[k]->text()),
                      BenFormat(txtUrlaub2[k]->text()), BenFormat(txtUrlaub3[k]->text()), BenFormat(fünfter)}
              .join(u':');
      z.Sonderurlaub = BenFormat(Setting(33) == 0 ? z.Sonderurlaub : txtUrlaub4[k]->text());
      z.Name = txtName[k]->text();
      z.BenutzerID = txtBenutzerID[k]->text().isEmpty() ? txtName[k]->text() : txtBenutzerID[k]->text();
    }
    QString neu = z.Änderungskennung();
    const QString standard =
        Ersetzen(QStringLiteral("000000999999000,0:000,0:000,0:000,0:000,0000,0"), QStringLiteral(","), Trenner());
    if (alt.isEmpty() && neu == standard) neu.clear();
    if (neu != alt) cmdAuswahl[6]->setEnabled(true);
  });
}

bool frmMitarbeiter::Zeile_anhängen() {
  // While a row is moved the list keeps its length.
  if (Zeilenmodus == u"verschieben") return false;
  Zeilen.emplace_back();
  return true;
}

void frmMitarbeiter::Mitarbeiteranzahl_anzeigen() {
  int n = 0;
  for (int r = 1; r <= Obergrenze(); ++r)
    if (!Zeilen[static_cast<size_t>(r)].BenutzerID.isEmpty()) ++n;
  setWindowTitle(QStringLiteral("Velkora - Mitarbeiterdaten - %1 Mitarbeiter").arg(n));
}

void frmMitarbeiter::txtName_Change(int zeile) {
  if (mAnzeigen) return;
  Prozedur(kFenster + QStringLiteral("txtName_Change"), [&] {
    if (txtName[zeile]->text().startsWith(u'>'))
      for (int s = 2; s <= 9; ++s) Feld(s, zeile)->clear();
    if (zeile == kZeilen && vsbScrollBar->value() == vsbScrollBar->maximum()) Eingabezeile_hinzufügen();
  });
}

void frmMitarbeiter::Zeile_abwählen(int zeile) {
  Farbe_setzen(zeile, 1);
  if (txtName[zeile]->text().startsWith(u'>')) Überschrift_formatieren(zeile);
}

void frmMitarbeiter::TextBox_GotFocus(int zeile) {
  Prozedur(kFenster + QStringLiteral("TextBox_GotFocus"), [&] {
    // Exactly one row is current, also when the focus came back without leaving a box
    // (a search sets it while the window waits to be active again).
    for (int k = 1; k <= kZeilen; ++k)
      if (k != zeile && Farbe(k) == 9) Zeile_abwählen(k);
    Farbe_setzen(zeile, 9);
    Text_markieren();
    for (int i = 1; i <= 4; ++i) cmdAuswahl[i]->setEnabled(true);
  });
}

void frmMitarbeiter::TextBox_LostFocus(int spalte, int zeile) {
  Prozedur(kFenster + QStringLiteral("TextBox_LostFocus"), [&] {
    Zeile_abwählen(zeile);
    QLineEdit* e = Feld(spalte, zeile);
    QString t = e->text();
    const QString sep = Trenner();
    if (spalte <= 2) {
      t = t.trimmed();
    } else if (spalte == 5) {
      if (t == u"-" || t.indexOf(u'-', 1) > 0) t = QStringLiteral("0");
      if (Dezimal_Rest()) {
        if (t == QStringLiteral("-") + sep || t == sep || t.count(sep) >= 2) t = QStringLiteral("0");
        if (!t.isEmpty()) t = Format0(Zahlwert(t), true);
      }
    } else if (spalte >= 6 && Setting(30) >= 1) {
      if (t == sep || t.count(sep) >= 2) t = QStringLiteral("0");
      if (!t.isEmpty()) t = Format0(Zahlwert(t), true);
    }
    if (t != e->text()) {
      const bool a = mAnzeigen;
      e->setText(t);
      mAnzeigen = a;
    }
    Eingabezeile_speichern(zeile);
    if (spalte <= 2) Mitarbeiteranzahl_anzeigen();
    AktuelleZeile = zeile;
  });
}

bool frmMitarbeiter::Datum_prüfen(QLineEdit* feld) {
  LineEditTextfeld t(feld);
  const QString getippt = feld->text();
  QDate gelesen;
  const bool gültig = CheckDatum(t, false, &gelesen);
  const auto ablehnen = [&](const QString& meldung) {
    gDatumsprüfungOffen = true;  // as after a date the check refused itself
    feld->setText(getippt);
    Meldung(meldung);
    feld->setFocus(Qt::OtherFocusReason);
    feld->selectAll();
    return false;
  };
  // A start typed with a year before 2000 gets the message of the list check.
  if (!gültig && Position(feld).first == 3 && gelesen.isValid() && gelesen.year() < 2000)
    return ablehnen(Von_Datum_zu_früh());
  if (!gültig) return CheckDatum(t, true);
  // The box shows two digits of the year, read back from 50 on as the last century:
  // a four-digit year the box cannot show again is refused, not turned into another.
  const QDate angezeigt = Datum_aus_Anzeige(feld->text());
  if (angezeigt.isValid() && angezeigt.year() != gelesen.year())
    return ablehnen(QStringLiteral("Datumseingabe nicht plausibel"));
  return true;
}

bool frmMitarbeiter::Feld_gültig(QLineEdit* feld) {
  const auto [spalte, zeile] = Position(feld);
  if (spalte != 3 && spalte != 4) return true;
  return Datum_prüfen(feld);
}

void frmMitarbeiter::Feld_verlassen(QLineEdit* feld, QWidget* neu) {
  const auto [spalte, zeile] = Position(feld);
  if (spalte == 3 || spalte == 4) {
    // Cancelling leaves an unconfirmed date alone.
    if (neu == cmdAuswahl[7]) return;
    if (!Datum_prüfen(feld)) {
      feld->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
  TextBox_LostFocus(spalte, zeile);
}

void frmMitarbeiter::Seite_zeigen(int datensatz) {
  const int erste = std::clamp(datensatz - 11, 0, vsbScrollBar->maximum());
  if (erste == ErsteZeile) return;
  ErsteZeile = erste;
  Wert_setzen(erste);
  Anzeige_aktualisieren();
}

bool frmMitarbeiter::Plausibilitätsprüfung(bool alleDatensätze) {
  return Prozedur(kFenster + QStringLiteral("Plausibilitätsprüfung"), [&] {
    // The texts to check, per record: the boxes for the rows in view, the display
    // form of the record for the others.
    const int erster = alleDatensätze ? 1 : ErsteZeile + 1;
    const int letzter = alleDatensätze ? Obergrenze() : std::min(ErsteZeile + kZeilen, Obergrenze());
    std::vector<QStringList> texte;
    texte.reserve(static_cast<size_t>(std::max(0, letzter - erster + 1)));
    for (int r = erster; r <= letzter; ++r) {
      const int k = r - ErsteZeile;
      if (k >= 1 && k <= kZeilen) {
        QStringList t(10);
        for (int s = 1; s <= 9; ++s) t[s] = Feld(s, k)->text();
        texte.push_back(t);
      } else {
        texte.push_back(Anzeigetexte(Zeilen[static_cast<size_t>(r)]));
      }
    }
    const auto text = [&](int r, int s) -> const QString& { return texte[static_cast<size_t>(r - erster)][s]; };
    const auto melden = [&](int r, int s, const QString& meldung) {
      if (r - ErsteZeile < 1 || r - ErsteZeile > kZeilen) Seite_zeigen(r);
      Meldung(meldung);
      Feld(s, r - ErsteZeile)->setFocus(Qt::OtherFocusReason);
      return false;
    };

    // Characters that would break the line in the file, and a user name that would
    // read as a heading.
    for (int r = erster; r <= letzter; ++r)
      for (int s = 1; s <= 9; ++s) {
        const QString& t = text(r, s);
        if (t.contains(u':') || t.contains(u'|') || (s == 2 && t.startsWith(u'>')) || !cp1252::eingabeZulässig(t))
          return melden(r, s, QString::fromUtf16(cp1252::kUnzulässigesSonderzeichen));
      }
    // Headings carry only their text; an employee needs a name.
    for (int r = erster; r <= letzter; ++r) {
      bool andere = false;
      for (int s = 2; s <= 9; ++s) andere = andere || !text(r, s).isEmpty();
      if (!andere) continue;
      if (text(r, 1).startsWith(u'>'))
        return melden(
            r, 1, QStringLiteral("Zeile als Überschrift gekennzeichnet, restliche Felder der Zeile müssen leer sein"));
      if (text(r, 1).isEmpty()) return melden(r, 1, QStringLiteral("Bitte Name und Vorname eingeben"));
    }
    // A user name (or the name of an employee without one) only once in the list.
    for (int r = erster; r <= letzter; ++r) {
      if (text(r, 1).startsWith(u'>')) continue;
      const QString schlüssel = (text(r, 2).isEmpty() ? text(r, 1) : text(r, 2)).toLower();
      int anzahl = 0;
      for (int i = 1; i <= Obergrenze(); ++i) {
        const QString& b = Zeilen[static_cast<size_t>(i)].BenutzerID;
        if (!b.isEmpty() && b.toLower() == schlüssel) ++anzahl;
        if (anzahl > 1) break;
      }
      if (anzahl > 1) {
        if (!text(r, 2).isEmpty())
          return melden(r, 2,
                        QStringLiteral("Benutzername '") + text(r, 2) + QStringLiteral("' ist doppelt vorhanden"));
        return melden(r, 1, QStringLiteral("Name '") + text(r, 1) + QStringLiteral("' ist doppelt vorhanden"));
      }
    }
    // Employment dates.
    const QDate untergrenze(2000, 1, 1);
    for (int r = erster; r <= letzter; ++r) {
      const QDate von = text(r, 3).isEmpty() ? QDate() : Datum_aus_Anzeige(text(r, 3));
      const QDate bis = text(r, 4).isEmpty() ? QDate() : Datum_aus_Anzeige(text(r, 4));
      if (von.isValid() && untergrenze.daysTo(von) < 0) return melden(r, 3, Von_Datum_zu_früh());
      if (von.isValid() && bis.isValid() && von.daysTo(bis) < 0)
        return melden(r, 3, QStringLiteral("'Von-Datum' ist größer als 'Bis-Datum'"));
      // An end before 2000 would be stored as the same day a century later.
      if (bis.isValid() && untergrenze.daysTo(bis) < 0)
        return melden(r, 4, QStringLiteral("Datumseingabe nicht plausibel"));
    }
    // Vacation numbers.
    const QString sep = Trenner();
    for (int r = erster; r <= letzter; ++r)
      for (int s = 5; s <= 9; ++s) {
        const QString& t = text(r, s);
        const double w = Zahlwert(t);
        if (w >= 1000 || w <= -100) return melden(r, s, QStringLiteral("Unzulässige Eingabe"));
        if (Setting(30) <= 1 && t.contains(sep) && t.right(2) != sep + u'0' && t.right(2) != sep + u'5')
          return melden(
              r, s,
              QStringLiteral("Urlaub muss auf ") + sep + QStringLiteral("0 oder ") + sep + QStringLiteral("5 enden"));
      }
    return true;
  });
}

void frmMitarbeiter::cmdAuswahl_Click(int index) {
  Prozedur(kFenster + QStringLiteral("cmdAuswahl_Click"), [&] {
    // A click leaves the box first, as the mouse does.
    if ((index == 6 || index == 8) && mFokusfeld) {
      cmdAuswahl[index]->setFocus(Qt::OtherFocusReason);
      if (mFokusfeld) return;
    }
    switch (index) {
      case 1:
        Zeile_einfügen();
        break;
      case 2:
        Zeile_löschen();
        break;
      case 3:
        Zeile_verschieben(QStringLiteral("auf"));
        break;
      case 4:
        Zeile_verschieben(QStringLiteral("ab"));
        break;
      case 5:
        hilfe(this);
        break;
      case 6:
        if (Plausibilitätsprüfung(true)) Mitarbeiterdaten_aktualisieren(*this);
        break;
      case 7:
        reject();
        break;
      case 8:
        if (Plausibilitätsprüfung(true) && Mitarbeiterdaten_aktualisieren(*this)) accept();
        break;
      default:
        break;
    }
  });
}

bool frmMitarbeiter::Taste_gefiltert(int spalte, QLineEdit* feld, QKeyEvent* k) {
  const QString t = k->text();
  if (t.isEmpty()) return false;
  switch (k->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Backspace:
      return false;
    default:
      break;
  }
  // Selecting and copying the text is no input; pasting would pass the filter.
  if (k->matches(QKeySequence::SelectAll) || k->matches(QKeySequence::Copy)) return false;
  const QChar c = t[0];
  if (spalte == 3 || spalte == 4) {
    if (c.isDigit() && c.unicode() < 128) return false;
    if (QString(c) == Datumstrenner()) return false;
    if (c == u',') feld->insert(Datumstrenner());
    return true;
  }
  const QString sep = Trenner();
  if (spalte == 5) {
    if (QStringLiteral("-1234567890").contains(c)) return false;
    return !(Dezimal_Rest() && QString(c) == sep);
  }
  if (QStringLiteral("1234567890").contains(c)) return false;
  return !(Setting(30) >= 1 && QString(c) == sep);
}

bool frmMitarbeiter::Form_KeyDown(QKeyEvent* k) {
  return Prozedur(kFenster + QStringLiteral("Form_KeyDown"), [&] {
    const auto mods = k->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    const bool strg = mods == Qt::ControlModifier;
    const int v = vsbScrollBar->value(), max = vsbScrollBar->maximum();
    switch (k->key()) {
      case Qt::Key_F1:
        hilfe(this);
        return true;
      case Qt::Key_F3:
        Mitarbeiter_suchen_L(false, false);
        return true;
      case Qt::Key_F4:
        Mitarbeiter_suchen_L(true, true);
        return true;
      case Qt::Key_F:
        if (!strg) break;
        Mitarbeiter_suchen_L(true, false);
        return true;
      case Qt::Key_PageUp:
        vsbScrollBar->setValue(v >= kZeilen ? v - kZeilen : 0);
        return true;
      case Qt::Key_PageDown:
        vsbScrollBar->setValue(max >= v + kZeilen ? v + kZeilen : max);
        return true;
      case Qt::Key_Home:
        if (!strg) break;
        vsbScrollBar->setValue(0);
        return true;
      case Qt::Key_End:
        if (!strg) break;
        vsbScrollBar->setValue(max);
        return true;
      default:
        if (Pfeiltaste(k)) return true;
        break;
    }
    // A key that changes a box's text makes the list changed.
    if (auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
      const QString t = k->text();
      const bool ändert = k->key() == Qt::Key_Insert || (k->key() == Qt::Key_Delete && !e->text().isEmpty()) ||
                          (!t.isEmpty() && t[0] > u' ' && !(mods & Qt::ControlModifier));
      if (ändert) cmdAuswahl[6]->setEnabled(true);
    }
    return false;
  });
}

bool frmMitarbeiter::Taste(QWidget* w, QKeyEvent* k) {
  if (Form_KeyDown(k)) return true;
  const auto [spalte, zeile] = Position(w);
  if (spalte >= 3) return Taste_gefiltert(spalte, static_cast<QLineEdit*>(w), k);
  return false;
}

bool frmMitarbeiter::eventFilter(QObject* ziel, QEvent* e) {
  QWidget* w = Fensterelement(ziel);
  if (!w) return false;
  switch (e->type()) {
    case QEvent::FocusIn:
      for (int i = 5; i <= 8; ++i)
        if (w == cmdAuswahl[i])
          for (int j = 1; j <= 4; ++j) cmdAuswahl[j]->setEnabled(false);
      break;
    case QEvent::FocusOut: {
      const auto* f = static_cast<QFocusEvent*>(e);
      if (f->reason() == Qt::ActiveWindowFocusReason || f->reason() == Qt::PopupFocusReason) break;
      if (w == cmdAuswahl[7] && gDatumsprüfungOffen) {
        gDatumsprüfungOffen = false;
        reject();
        return false;
      }
      break;
    }
    case QEvent::MouseButtonDblClick: {
      const auto [spalte, zeile] = Position(w);
      if (spalte >= 7) Zelle_aus_Vorjahr_übernehmen(static_cast<QLineEdit*>(w));
      return false;
    }
    case QEvent::MouseButtonPress: {
      for (int i = 10; i <= 12; ++i) {
        if (w != lblBeschriftung[i]) continue;
        const auto mods =
            static_cast<QMouseEvent*>(e)->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
        if (mods == (Qt::ControlModifier | Qt::AltModifier) && (i < 12 || Setting(33) != 1))
          Urlaub_aus_Vorjahr_übernehmen(i);
      }
      return false;
    }
    default:
      break;
  }
  return Zeilendialog::eventFilter(ziel, e);
}

void Mitarbeiter_bearbeiten(QWidget* besitzer) {
  frmMitarbeiter f(besitzer);
  f.exec();
}
