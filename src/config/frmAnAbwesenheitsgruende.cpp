#include "config/frmAnAbwesenheitsgruende.h"

#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <cmath>

#include "platform/Bildschirm.h"
#include "platform/Dialoge.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Raster.h"
#include "startup/Umrechnungen.h"
#include "store/Konfigdaten.h"
#include "store/Velkoraini.h"
#include "widgets/Fensterhilfen.h"

namespace {

const QString kName = QStringLiteral("frmAnAbwesenheitsgruende - ");
constexpr int kZeilenabstand = 600;
constexpr int kVorschauLinks = 9660;
constexpr int kKnopfOben = 8520;
constexpr int kInnenhöhe = 9180;
constexpr int kSchmal = 1800, kBreit = 2370;
// The button face colour of the system, as the sign bit marks a system colour.
constexpr qint32 kSystemKnopffläche = static_cast<qint32>(0x8000000F);

int px(double twips) { return bildschirm::twipsZuPixel(twips); }

QString Farbstil(qint32 text, qint32 hintergrund) {
  return QStringLiteral("color: %1; background-color: %2;").arg(zuQColor(text).name(), zuQColor(hintergrund).name());
}

// The top of row r of its page.
int Zeilenoben(int r, int oben) { return oben + ((r - 1) % 12) * kZeilenabstand; }

}  // namespace

Haken<void(QWidget*)> frmAnAbwesenheitsgruende::hilfe{"frmAnAbwesenheitsgruende::hilfe"};

frmAnAbwesenheitsgruende::frmAnAbwesenheitsgruende(QWidget* eltern) : QDialog(eltern) {
  setObjectName(QStringLiteral("frmAnAbwesenheitsgruende"));
  setWindowTitle(QStringLiteral("Velkora - An-/Abwesenheitsgründe"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  Form_Load();
}

void frmAnAbwesenheitsgruende::Zeile_anlegen(int r) {
  const bool erste = r <= 12;
  auto* b = new QLineEdit(this);
  b->setObjectName(QStringLiteral("txtBuchst%1").arg(r));
  b->setMaxLength(1);
  b->setAlignment(Qt::AlignCenter);
  platzieren(b, 360, Zeilenoben(r, 900), 375, 360);
  txtBuchst[r] = b;
  auto* c = new QLineEdit(this);
  c->setObjectName(QStringLiteral("txtCaption%1").arg(r));
  c->setMaxLength(25);
  platzieren(c, 960, Zeilenoben(r, 900), 2085, 360);
  txtCaption[r] = c;
  for (int k : {r, r + N}) {
    auto* f = new QPushButton(QStringLiteral("Farbe wählen ..."), this);
    f->setObjectName(QStringLiteral("cmdFarbe%1").arg(k));
    platzieren(f, k <= N ? 3240 : 5040, Zeilenoben(r, 892), 1635, 375);
    connect(f, &QPushButton::clicked, this, [this, k] { Farbe_wählen(k); });
    cmdFarbe[k] = f;
  }
  chkPublic[r] = new QCheckBox(this);
  chkPublic[r]->setObjectName(QStringLiteral("chkPublic%1").arg(r));
  platzieren(chkPublic[r], 7320, Zeilenoben(r, 960), 255, 255);
  chkHide[r] = new QCheckBox(this);
  chkHide[r]->setObjectName(QStringLiteral("chkHide%1").arg(r));
  platzieren(chkHide[r], 8190, Zeilenoben(r, 960), 255, 255);
  shpVorschau[r] = new QFrame(this);
  shpVorschau[r]->setObjectName(QStringLiteral("shpVorschau%1").arg(r));
  shpVorschau[r]->setFrameShape(QFrame::Box);
  shpVorschau[r]->setAutoFillBackground(true);
  platzieren(shpVorschau[r], 9060, Zeilenoben(r, 930), 330, 330);
  txtVorschau[r] = new QLabel(this);
  txtVorschau[r]->setObjectName(QStringLiteral("txtVorschau%1").arg(r));
  txtVorschau[r]->setAlignment(Qt::AlignCenter);
  txtVorschau[r]->setFocusPolicy(Qt::NoFocus);
  platzieren(txtVorschau[r], 9105, Zeilenoben(r, 975), 240, 240);
  cmdVorschau[r] = new QPushButton(this);
  cmdVorschau[r]->setObjectName(QStringLiteral("cmdVorschau%1").arg(r));
  cmdVorschau[r]->setFocusPolicy(Qt::NoFocus);
  platzieren(cmdVorschau[r], kVorschauLinks, Zeilenoben(r, 840), kSchmal, 495);

  for (QLineEdit* t : {b, c}) {
    t->installEventFilter(this);
    connect(t, &QLineEdit::textChanged, this, [this, r] { Vorschau_aktualisieren(r); });
  }
  for (QWidget* w : std::initializer_list<QWidget*>{b, c, cmdFarbe[r], cmdFarbe[r + N], chkPublic[r], chkHide[r],
                                                    shpVorschau[r], txtVorschau[r], cmdVorschau[r]})
    w->setVisible(erste);
}

void frmAnAbwesenheitsgruende::Form_Load() {
  Prozedur(kName + QStringLiteral("Form_Load"), [&] {
    CheckKonfigdaten();
    SFBreiteCode = SettingStr(48, 1);
    if (SFBreiteCode.isEmpty()) SFBreiteCode = QStringLiteral("0");
    Schaltflächenbreite = SFBreiteCode == u"0" ? gSFBreite : 1800 + 30 * (HexDec(SFBreiteCode) - 1);

    // Headings: three lines over the narrow columns, two over the caption.
    struct Kopf {
      const char16_t* text;
      int links, oben, breite;
    };
    const Kopf köpfe[15] = {{},
                            {u"Kenn-", 240, 120, 615},
                            {u"buch-", 240, 330, 615},
                            {u"stabe", 240, 540, 615},
                            {u"Beschriftung", 960, 330, 2085},
                            {u"der Schaltfläche", 960, 540, 2085},
                            {u"Textfarbe", 3240, 540, 1635},
                            {u"Hintergrundfarbe", 5040, 540, 1800},
                            {u"Nur für", 7020, 120, 870},
                            {u"Admini-", 7020, 330, 870},
                            {u"stratoren", 7020, 540, 870},
                            {u"Einträge", 7890, 120, 870},
                            {u"ver-", 7890, 330, 870},
                            {u"bergen", 7890, 540, 870},
                            {u"Vorschau", 9000, 540, 1500}};
    for (int i = 1; i <= 14; ++i) {
      auto* l = new QLabel(QString::fromUtf16(köpfe[i].text), this);
      l->setObjectName(QStringLiteral("lblBeschriftung%1").arg(i));
      if ((i >= 1 && i <= 3) || (i >= 8 && i <= 13)) l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
      platzieren(l, köpfe[i].links, köpfe[i].oben, köpfe[i].breite, 240);
      lblBeschriftung[i] = l;
    }
    for (int r = 1; r <= N; ++r) Zeile_anlegen(r);
    const char16_t* knöpfe[5] = {nullptr, u"&Weitere An-/Abwesenheitsgründe >>", u"&Hilfe ...", u"&OK", u"&Abbrechen"};
    for (int i = 1; i <= 4; ++i) {
      cmdAuswahl[i] = new QPushButton(QString::fromUtf16(knöpfe[i]), this);
      cmdAuswahl[i]->setObjectName(QStringLiteral("cmdAuswahl%1").arg(i));
      cmdAuswahl[i]->setAutoDefault(false);
    }
    platzieren(cmdAuswahl[1], 360, kKnopfOben, 3600, 495);
    platzieren(cmdAuswahl[2], 4245, kKnopfOben, 1515, 495);
    connect(cmdAuswahl[1], &QPushButton::clicked, this, [this] { Switch_Schaltfläche(); });
    connect(cmdAuswahl[2], &QPushButton::clicked, this, [this] { Hilfe_zeigen(); });
    connect(cmdAuswahl[3], &QPushButton::clicked, this, [this] { OK_Click(); });
    connect(cmdAuswahl[4], &QPushButton::clicked, this, [this] { reject(); });

    const QString admins = QStringLiteral(
        "Sie können Schaltflächen festlegen, die Administratoren und Privilegierten Benutzern vorbehalten sind");
    const QString verbergen =
        QStringLiteral("Sie können Schaltflächen festlegen, deren Einträge anderen Mitarbeitern nicht anzeigt werden");
    for (int i = 8; i <= 13; ++i) lblBeschriftung[i]->setToolTip(i <= 10 ? admins : verbergen);

    if (gSFVerbergenText == u"void") {
      mVerschiebung = 900;
      for (int i = 11; i <= 13; ++i) lblBeschriftung[i]->hide();
      for (int r = 1; r <= N; ++r) chkHide[r]->hide();
      const auto links = [](QWidget* w) { w->move(w->x() - px(900), w->y()); };
      links(lblBeschriftung[14]);
      for (int r = 1; r <= N; ++r) {
        links(txtVorschau[r]);
        links(shpVorschau[r]);
        links(cmdVorschau[r]);
      }
    }

    const int n = Schaltflächen_Anzahl();
    for (int r = 1; r <= N; ++r) {
      if (r <= n - 1) {
        zeileZurücksetzen(r);
      } else {
        qint32 fläche = 0;
        Systemfarbe_umrechnen(kSystemKnopffläche, fläche);
        Textfarbe[r] = 0;
        Hintergrundfarbe[r] = fläche;
        Vorschau_aktualisieren(r);
      }
    }
    Toggle_Schaltfläche_aktualisieren();

    // Keys the window sees before its controls.
    const auto kürzel = [this](const QKeySequence& k, auto f) {
      auto* s = new QShortcut(k, this);
      s->setContext(Qt::WindowShortcut);
      connect(s, &QShortcut::activated, this, f);
    };
    kürzel(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A), [this] {
      SFBreiteCode = QStringLiteral("0");
      int s = 0;
      SFBreite_aktualisieren(s);
    });
    for (auto taste : {Qt::Key_Plus, Qt::Key_Minus}) {
      const int schritt = taste == Qt::Key_Plus ? 30 : -30;
      const auto f = [this, schritt] {
        int s = schritt;
        SFBreite_aktualisieren(s);
      };
      kürzel(QKeySequence(Qt::CTRL | Qt::ALT | taste), f);
      kürzel(QKeySequence(Qt::CTRL | Qt::ALT | Qt::KeypadModifier | taste), f);
    }
    Enter_wie_Tab(this);
    setFixedHeight(px(kInnenhöhe));
    Anordnen();
    mGeladen = true;
  });
}

void frmAnAbwesenheitsgruende::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  QTimer::singleShot(0, this, [this] { Form_Activate(); });
}

void frmAnAbwesenheitsgruende::Form_Activate() {
  // A width of 0 is the automatic width the main window has not worked out yet.
  if (SFBreiteCode == u"0" && (gBenutzerwerte[36] != 0 || Schaltflächenbreite == 0)) {
    int s = 0;
    SFBreite_aktualisieren(s);
  }
}

void frmAnAbwesenheitsgruende::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  if (mGeladen) Anordnen();
}

void frmAnAbwesenheitsgruende::Hilfe_zeigen() {
  Prozedur(kName + QStringLiteral("cmdAuswahl_Click"), [&] { hilfe(this); });
}

void frmAnAbwesenheitsgruende::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier) {
    e->accept();
    Hilfe_zeigen();
    return;
  }
  QDialog::keyPressEvent(e);
}

bool frmAnAbwesenheitsgruende::eventFilter(QObject* ziel, QEvent* e) {
  auto* feld = qobject_cast<QLineEdit*>(ziel);
  if (feld && e->type() == QEvent::FocusIn) {
    QTimer::singleShot(0, feld, [feld] { feld->selectAll(); });
  } else if (feld && e->type() == QEvent::FocusOut) {
    const QString t = feld->text().trimmed();
    if (t != feld->text()) feld->setText(t);
  }
  return QDialog::eventFilter(ziel, e);
}

Knopfzeile frmAnAbwesenheitsgruende::zeile(int r) const {
  Knopfzeile z;
  z.buchstabe = txtBuchst[r]->text();
  z.text = txtCaption[r]->text();
  z.textfarbe = Textfarbe[r];
  z.hintergrund = Hintergrundfarbe[r];
  z.nurAdmins = chkPublic[r]->isChecked() ? 1 : 0;
  z.verbergen = chkHide[r]->isChecked() ? 1 : 0;
  return z;
}

bool frmAnAbwesenheitsgruende::ersteSeiteSichtbar() const { return !txtBuchst[1]->isHidden(); }

void frmAnAbwesenheitsgruende::seiteZeigen(bool erste) {
  for (int r = 1; r <= N; ++r) {
    const bool sichtbar = (r <= 12) == erste;
    for (QWidget* w : std::initializer_list<QWidget*>{txtBuchst[r], txtCaption[r], cmdFarbe[r], cmdFarbe[r + N],
                                                      chkPublic[r], txtVorschau[r], shpVorschau[r], cmdVorschau[r]})
      w->setVisible(sichtbar);
    chkHide[r]->setVisible(sichtbar && gSFVerbergenText != u"void");
  }
  cmdAuswahl[1]->setText(erste ? QStringLiteral("&Weitere An-/Abwesenheitsgründe >>") : QStringLiteral("<< Zurück"));
}

void frmAnAbwesenheitsgruende::fokusBuchstabe(int r) { txtBuchst[r]->setFocus(); }
void frmAnAbwesenheitsgruende::fokusText(int r) { txtCaption[r]->setFocus(); }

void frmAnAbwesenheitsgruende::Zeile_füllen(int r, const Knopfzeile& z) {
  Textfarbe[r] = z.textfarbe;
  Hintergrundfarbe[r] = z.hintergrund;
  txtBuchst[r]->setText(z.buchstabe);
  txtCaption[r]->setText(z.text);
  Vorschau_aktualisieren(r);
  chkPublic[r]->setChecked(z.nurAdmins != 0);
  chkHide[r]->setChecked(z.verbergen != 0);
}

void frmAnAbwesenheitsgruende::zeileZurücksetzen(int r) {
  if (r < 1 || r > Schaltflächen_Anzahl() - 1) return;
  Knopfzeile z;
  z.buchstabe = gSFKennbuchstaben[r];
  z.text = gSFTexte[r];
  z.textfarbe = gSFTextfarben[r];
  z.hintergrund = gSFHintergrundfarben[r];
  z.nurAdmins = gSFNurAdmins[r];
  z.verbergen = gSFVerbergen[r];
  Zeile_füllen(r, z);
}

void frmAnAbwesenheitsgruende::Vorschaufarben(int r, qint32 text, qint32 hintergrund) {
  txtVorschau[r]->setStyleSheet(Farbstil(text, hintergrund));
  QPalette p = shpVorschau[r]->palette();
  p.setColor(QPalette::Window, zuQColor(hintergrund));
  shpVorschau[r]->setPalette(p);
  cmdVorschau[r]->setStyleSheet(QStringLiteral("QPushButton { ") + Farbstil(text, hintergrund) +
                                QStringLiteral(" border: 1px solid #808080; }"));
}

void frmAnAbwesenheitsgruende::Vorschau_aktualisieren(int r) {
  Prozedur(kName + QStringLiteral("Vorschau_aktualisieren"), [&] {
    if (!cmdVorschau[r]) return;
    const QString buchstabe = txtBuchst[r]->text();
    const QString text = txtCaption[r]->text();
    txtVorschau[r]->setText(buchstabe);
    cmdVorschau[r]->setText(text);
    const bool leer = buchstabe.isEmpty() && text.isEmpty();
    cmdFarbe[r]->setEnabled(!leer);
    cmdFarbe[r + N]->setEnabled(!leer);
    chkPublic[r]->setEnabled(!leer);
    chkHide[r]->setEnabled(!leer);
    if (leer) {
      chkPublic[r]->setChecked(false);
      chkHide[r]->setChecked(false);
      qint32 fläche = 0;
      Systemfarbe_umrechnen(kSystemKnopffläche, fläche);
      Vorschaufarben(r, Textfarbe[r], fläche);
    } else {
      Vorschaufarben(r, Textfarbe[r], Hintergrundfarbe[r]);
    }
    Toggle_Schaltfläche_aktualisieren();
    int s = 0;
    SFBreite_aktualisieren(s);
    QFont f = cmdVorschau[r]->font();
    f.setPointSize(Textbreite(text) > Schaltflächenbreite - 240 ? 9 : 10);
    cmdVorschau[r]->setFont(f);
  });
}

void frmAnAbwesenheitsgruende::Farbe_wählen(int k) {
  Prozedur(kName + QStringLiteral("Farbe_wählen"), [&] {
    const int r = k <= N ? k : k - N;
    const qint32 vorher = k <= N ? Textfarbe[r] : Hintergrundfarbe[r];
    dialoge::Aufforderung a;
    a.art = dialoge::Art::Farbe;
    a.vorgabe = zuQColor(vorher).name();
    const dialoge::Antwort antwort = dialoge::zeigen(a);
    if (antwort.knopf != dialoge::kOK || !QColor(antwort.wert).isValid()) return;
    const qint32 farbe = ausQColor(QColor(antwort.wert));
    if (k <= N)
      Textfarbe[r] = farbe;
    else
      Hintergrundfarbe[r] = farbe;
    Vorschaufarben(r, Textfarbe[r], Hintergrundfarbe[r]);
  });
}

void frmAnAbwesenheitsgruende::Systemfarbe_umrechnen(qint32 farbe, qint32& ergebnis) {
  if (farbe >= 0) {
    ergebnis = farbe;
    return;
  }
  const int index = farbe & 0x7FFFFFFF;
  // The button face (15) from the palette's button colour; others from the window.
  const QPalette p = QApplication::palette();
  ergebnis = ausQColor(p.color(index == 15 ? QPalette::Button : QPalette::Window));
}

int frmAnAbwesenheitsgruende::Textbreite(const QString& text) const {
  if (textmessung) return textmessung(text);
  return static_cast<int>(std::floor(bildschirm::pixelZuTwips(QFontMetrics(font()).horizontalAdvance(text))));
}

void frmAnAbwesenheitsgruende::SFBreite_aktualisieren(int& schritt) {
  Prozedur(kName + QStringLiteral("SFBreite_aktualisieren"), [&] {
    if (!isVisible()) return;
    int w = 0;
    if (SFBreiteCode != u"0" || schritt != 0) {
      w = Schaltflächenbreite + schritt;
    } else {
      int m = 0;
      for (int r = 1; r <= N; ++r) m = std::max(m, Textbreite(txtCaption[r]->text()));
      w = m + (m % 30) + 240;
    }
    w = std::clamp(w, kSchmal, kBreit);
    if (w == Schaltflächenbreite) return;
    Schaltflächenbreite = w;
    if (schritt != 0) {
      const int stelle = static_cast<int>(std::lround((w - 1800) / 30.0)) + 1;
      SFBreiteCode = QString(QStringLiteral("123456789ABCDEFGHIJKLMNOPQ")[stelle - 1]);
    }
    Anordnen();
  });
}

void frmAnAbwesenheitsgruende::Anordnen() {
  const int breite = Schaltflächenbreite > 0 ? Schaltflächenbreite : kSchmal;
  for (int r = 1; r <= N; ++r) {
    if (!cmdVorschau[r]) continue;
    cmdVorschau[r]->resize(px(breite), cmdVorschau[r]->height());
    QFont f = cmdVorschau[r]->font();
    f.setPointSize(Textbreite(cmdVorschau[r]->text()) > breite - 240 ? 9 : 10);
    cmdVorschau[r]->setFont(f);
  }
  const int innen = kVorschauLinks - mVerschiebung + breite + 360;
  setFixedWidth(px(innen));
  platzieren(cmdAuswahl[3], innen - 3675, kKnopfOben, 1515, 495);
  platzieren(cmdAuswahl[4], innen - 1875, kKnopfOben, 1515, 495);
}

void frmAnAbwesenheitsgruende::Toggle_Schaltfläche_aktualisieren() {
  if (!cmdAuswahl[1]) return;
  bool alle = true, zweite = false;
  for (int r = 1; r <= 12; ++r) alle = alle && !txtBuchst[r]->text().isEmpty() && !txtCaption[r]->text().isEmpty();
  for (int r = 13; r <= N; ++r) zweite = zweite || !txtBuchst[r]->text().isEmpty() || !txtCaption[r]->text().isEmpty();
  cmdAuswahl[1]->setEnabled(alle || zweite);
}

void frmAnAbwesenheitsgruende::Switch_Schaltfläche() {
  Prozedur(kName + QStringLiteral("Switch_Schaltfläche"), [&] {
    if (!Plausibilitätsprüfung(*this)) return;
    seiteZeigen(!ersteSeiteSichtbar());
  });
}

void frmAnAbwesenheitsgruende::OK_Click() {
  Prozedur(kName + QStringLiteral("cmdAuswahl_Click"), [&] {
    if (!Plausibilitätsprüfung(*this)) return;
    Schaltflächen_aktualisieren(*this);
    accept();
  });
}
