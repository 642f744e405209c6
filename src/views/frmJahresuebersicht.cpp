#include "views/frmJahresuebersicht.h"

#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QSignalBlocker>
#include <algorithm>
#include <vector>

#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "platform/Zustand.h"
#include "printing/Jahresdruck.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Velkoraini.h"
#include "views/Ansichtsrahmen.h"
#include "views/Jahresbeschriftung.h"
#include "views/frmUStunden.h"
#include "widgets/Fensterhilfen.h"
#include "widgets/Rasteransicht.h"

bool gSonderurlaubModus = false;
bool gÜStundenGeprüft = false;
bool gÜStundenVorhanden = false;

namespace {

void Zustand_zurücksetzen() {
  gSonderurlaubModus = false;
  gÜStundenGeprüft = false;
  gÜStundenVorhanden = false;
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

const QString kName = QStringLiteral("frmJahresuebersicht");
constexpr int kTagesbreite = 345;
const QChar kArbeitsfrei(160);

int px(double twips) { return bildschirm::twipsZuPixel(twips); }

// A user name folded code point by code point, as the case-insensitive comparison
// folds it (one letter stays one letter, "ß" is not "ss"): names that compare equal
// without regard to case have equal keys.
QString Faltschlüssel(QStringView name) {
  QString k;
  k.reserve(name.size());
  for (qsizetype i = 0; i < name.size(); ++i) {
    char32_t c = name[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(name[i].unicode(), name[i + 1].unicode());
      ++i;
    }
    k += QChar::fromUcs4(QChar::toCaseFolded(c));
  }
  return k;
}

QString Haupttag() { return gAnsichtshaken.hauptfenster_tag_lesen(); }
void Haupttag_setzen(const QString& t) { gAnsichtshaken.hauptfenster_tag(t); }

}  // namespace

// Three passes, each in list order, through hashes of the names as they stand: first a
// repeated name that does not end in "I" gets " I" from its second occurrence on; then a
// name that reappears later with " I" takes the " I" itself; last a name that reappears
// later gets one "I" more there, and again for the names that this makes equal.
void Gleiche_Namen_nummerieren(QStringList& n) {
  const qsizetype z = n.size();
  {
    QSet<QString> gesehen;
    gesehen.reserve(z);
    for (QString& name : n) {
      if (name.endsWith(u'I')) continue;
      if (gesehen.contains(name))
        name += QStringLiteral(" I");
      else
        gesehen.insert(name);
    }
  }
  {
    QHash<QString, qsizetype> letzte;
    letzte.reserve(z);
    for (qsizetype i = 0; i < z; ++i) letzte.insert(n[i], i);
    for (qsizetype i = 0; i < z; ++i) {
      QString mit = n[i] + QStringLiteral(" I");
      const auto it = letzte.constFind(mit);
      if (it != letzte.cend() && *it > i) n[i] = std::move(mit);
    }
  }
  // Every name not yet reached, by the name it has now.
  QHash<QString, std::vector<qsizetype>> offen;
  offen.reserve(z);
  for (qsizetype i = 0; i < z; ++i) offen[n[i]].push_back(i);
  for (qsizetype i = 0; i < z; ++i) {
    const std::vector<qsizetype> gleich = offen.take(n[i]);
    if (gleich.size() < 2) continue;
    std::vector<qsizetype>& weiter = offen[n[i] + u'I'];
    for (const qsizetype j : gleich) {
      if (j == i) continue;
      n[j] += u'I';
      weiter.push_back(j);
    }
  }
}

frmJahresuebersicht::frmJahresuebersicht(QWidget* eltern) : QDialog(eltern) {
  setObjectName(kName);
  setWindowTitle(QStringLiteral("Velkora - Jahresübersicht"));
  setModal(true);

  lblBeschriftung = {nullptr, new QLabel(QStringLiteral("Jahresübersicht"), this),
                     new QLabel(QStringLiteral("Mitarbeiter"), this)};
  txtVorschau = {nullptr};
  lblBeschriftung[2]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  cmbJahr = new QComboBox(this);
  cmbJahr->setObjectName(QStringLiteral("cmbJahr"));
  cmbName = new QComboBox(this);
  cmbName->setObjectName(QStringLiteral("cmbName"));
  msgFlexGrid = new Rasteransicht(this);
  msgFlexGrid->setObjectName(QStringLiteral("msgFlexGrid"));
  const QString texte[] = {QString(), QStringLiteral("&Drucken ..."), QStringLiteral("Ü&berstunden ..."),
                           QStringLiteral("&Schließen")};
  for (int i = 1; i <= 3; ++i) {
    cmdAuswahl[i] = new QPushButton(texte[i], this);
    cmdAuswahl[i]->setObjectName(QStringLiteral("cmdAuswahl_%1").arg(i));
    cmdAuswahl[i]->setAutoDefault(false);
    connect(cmdAuswahl[i], &QPushButton::clicked, this, [this, i] { cmdAuswahl_Click(i); });
  }
  cmdAuswahl[2]->hide();
  // Choosing redisplays before the choice returns, also when the print dialog chooses.
  connect(cmbJahr, &QComboBox::currentIndexChanged, this, [this] {
    if (cmbName->currentIndex() >= 0) {
      Jahresübersicht_anzeigen();
      update();
    }
  });
  connect(cmbName, &QComboBox::currentIndexChanged, this, [this] { Jahresübersicht_anzeigen(); });
  mTastenfilter = Tastenvorschau_einrichten(
      this, [this](int taste, Qt::KeyboardModifiers umschalt) { return Form_KeyDown(taste, umschalt); });
  setTabOrder(cmdAuswahl[3], cmbJahr);
  setTabOrder(cmbJahr, cmbName);
  setTabOrder(cmbName, cmdAuswahl[1]);
  Druckquelle_setzen();
}

frmJahresuebersicht::~frmJahresuebersicht() { gJahresdruckquelle = {}; }

void frmJahresuebersicht::Druckquelle_setzen() {
  // The print dialog reads the window as it shows it, and for the all-employees job
  // chooses each name in turn.
  Jahresdruckquelle& q = gJahresdruckquelle;
  q.anzahl = [this] { return cmbName->count(); };
  q.wählen = [this](int i) {
    cmbName->setCurrentIndex(i);
    // In a series a page takes far less than a frame of the screen: the window is
    // painted at the screen's pace (about 30 times a second), not for every page.
    if (mSerienmonate) {
      const bool zeigen = !mSerienbild.isValid() || mSerienbild.hasExpired(33);
      setUpdatesEnabled(zeigen);
      if (!zeigen) return;
      mSerienbild.start();
    }
    repaint();
  };
  q.name = [this] { return cmbName->currentText(); };
  q.jahr = [this] { return cmbJahr->currentText(); };
  q.gitter = [this]() -> const Raster& { return msgFlexGrid->raster(); };
  q.beschriftung = [this](int element) { return Beschriftung(element); };
  q.letztesElement = [this] { return static_cast<int>(lblBeschriftung.size()) - 1; };
  q.sonderurlaub = [] { return gSonderurlaubModus; };
  q.serie = [this](bool an) {
    mSerienmonat = nullptr;
    mSerienbild.invalidate();
    setUpdatesEnabled(true);
    if (an)
      mSerienmonate.emplace();
    else
      mSerienmonate.reset();
  };
}

bool frmJahresuebersicht::Monat_lesen(const QString& monatsschlüssel) {
  mSerienmonat = nullptr;
  if (!mSerienmonate) return Erfassungsdaten_lesen(monatsschlüssel);
  auto it = mSerienmonate->constFind(monatsschlüssel);
  if (it == mSerienmonate->cend()) {
    const bool ergebnis = Erfassungsdaten_lesen(monatsschlüssel);
    Gelesener_Monat m{ergebnis, gMonatsEinträge, gMonatsKommentare, gMonatsAusnahmen, {}};
    m.letzte.reserve(m.einträge.size());
    for (qsizetype e = 1; e < m.einträge.size(); ++e) {
      const qsizetype p = m.einträge.at(e).indexOf(u':');
      if (p >= 0) m.letzte.insert(Faltschlüssel(QStringView(m.einträge.at(e)).left(p)), e);
    }
    it = mSerienmonate->insert(monatsschlüssel, std::move(m));
  } else {
    gMonatsEinträge = it->einträge;
    gMonatsKommentare = it->kommentare;
    gMonatsAusnahmen = it->ausnahmen;
  }
  mSerienmonat = &*it;
  return it->ergebnis;
}

qsizetype frmJahresuebersicht::Letzter_Eintrag(const QString& benutzer) const {
  if (mSerienmonat) return mSerienmonat->letzte.value(Faltschlüssel(benutzer), 0);
  for (qsizetype e = gMonatsEinträge.size() - 1; e >= 1; --e) {
    const QStringView zeile = gMonatsEinträge.at(e);
    const qsizetype p = zeile.indexOf(u':');
    if (p >= 0 && zeile.left(p).compare(benutzer, Qt::CaseInsensitive) == 0) return e;
  }
  return 0;
}

int frmJahresuebersicht::Jahr() const { return text::zahl(cmbJahr->currentText()); }

QString frmJahresuebersicht::Benutzer() const {
  const int k = cmbName->currentIndex() + 1;
  return k >= 1 && k < BenutzerIDListe.size() ? BenutzerIDListe[k] : QString();
}

void frmJahresuebersicht::Form_Load() {
  Prozedur(kName + QStringLiteral(" - Form_Load"), [&] {
    if (!gSchnellesLesen) Sanduhr_Warten_ein();
    SetSchriftart(this);
    Alle_Erfassungsdaten_einlesen(false);

    Raster& g = msgFlexGrid->raster();
    g.setBackColor(gGrundfarben[1]);
    g.setBackColorBkg(gGrundfarben[1]);
    g.setGridColor(gGrundfarben[6]);
    g.setGridColorFixed(gGrundfarben[6]);
    g.setRowHeightMin(std::min(gBenutzerwerte[32], 330));
    g.setCols(32);
    g.setRows(13);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setRowHeight(0, 360);
    g.setColAlignment(0, Raster::LinksMitte);
    for (int c = 1; c <= 31; ++c) {
      g.setColWidth(c, kTagesbreite);
      g.setColAlignment(c, Raster::MitteMitte);
      g.setFixedAlignment(c, Raster::MitteMitte);
    }
    const double s = Ansicht_Skalierung(bildschirm::dpi());
    const int pixel = static_cast<int>(bildschirm::pixelZuTwips(1) + 0.5);
    const int breite = static_cast<int>(12180 * s);
    const int höhe = g.RowHeight(0) + 12 * g.RowHeight(1) + 5 * pixel;
    g.setColWidth(0, breite - 31 * kTagesbreite - 5 * pixel);
    lblBeschriftung[1]->setGeometry(px(240), px(300), px(1515), px(255));
    cmbJahr->setGeometry(px(1800), px(240), px(840), px(345));
    lblBeschriftung[2]->setGeometry(px(8325), px(300), px(1215), px(255));
    cmbName->setGeometry(px(9645), px(240), px(2775), px(345));
    // The grid shows all 13 rows and 32 columns without scrolling: it is as large as
    // its cells are painted.
    int gitterB = 2 * msgFlexGrid->frameWidth() + 1, gitterH = 2 * msgFlexGrid->frameWidth() + 1;
    for (int c = 0; c < g.Cols(); ++c) gitterB += g.spaltenPixel(c);
    for (int r = 0; r < g.Rows(); ++r) gitterH += g.zeilenPixel(r);
    msgFlexGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    msgFlexGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    msgFlexGrid->setGeometry(px(240), px(780), std::max(px(breite), gitterB), std::max(px(höhe), gitterH));
    g.setHighLight(0);
    Tabelle_initialisieren();

    {
      const QSignalBlocker sperre(cmbJahr);
      cmbJahr->addItem(QString::number(gPlanungsjahr));
      if (gJahreswechselOffen) {
        cmbJahr->setCurrentIndex(0);
      } else {
        cmbJahr->addItem(QString::number(gPlanungsjahr + 1));
        cmbJahr->addItem(QString::number(gPlanungsjahr + 2));
        cmbJahr->setCurrentIndex(1);
      }
    }
    {
      const QSignalBlocker sperre(cmbName);
      cmbName->setCurrentIndex(-1);
    }

    gSonderurlaubModus = Setting(33) == 1 && gSFUrlaub > 0 && gSFSonderurlaub > 0;
    if (gWochenende.contains(QStringLiteral("So")))
      Wochenendtext = QStringLiteral("Wochenende") +
                      (Erfassungsdaten_vorhanden(Schaltflächen_Anzahl() + 1) ? QStringLiteral(" / Frei") : QString());
    else
      Wochenendtext = QStringLiteral("Arbeitsfrei");

    Beschriftung_generieren();

    if (!gÜStundenGeprüft) {
      gÜStundenVorhanden = !QDir(gDatenordner).entryList({QStringLiteral("ÜStunden *.dat")}, QDir::Files).isEmpty();
      gÜStundenGeprüft = true;
    }
    cmdAuswahl[2]->setVisible(gÜStundenVorhanden);

    Namensliste_aufbauen();
    Sanduhr_Warten_aus();
  });
}

void frmJahresuebersicht::Namensliste_aufbauen() {
  QStringList namen, ids;
  const int n = Mitarbeiterzeilen();
  const bool keineNamen = n == 1 && gMitarbeiterNamen[1] == u"NoNames";
  if (gBenutzerstufe == 0 && !keineNamen) {
    for (int i = 1; i <= n; ++i) {
      if (!gBenutzerIDs[i].isEmpty() && gBenutzerIDs[i].compare(gBenutzername, Qt::CaseInsensitive) == 0) {
        Namensliste = {QString(), gMitarbeiterNamen[i]};
        BenutzerIDListe = {QString(), gBenutzerIDs[i]};
        cmbName->addItem(gMitarbeiterNamen[i]);
        cmbName->setCurrentIndex(0);
        return;
      }
    }
  }
  if (Haupttag() == u"T") {
    for (const auto& [name, id] : gAnsichtshaken.hauptraster_mitarbeiter()) {
      namen << name;
      ids << id;
    }
  } else if (!keineNamen) {
    const bool beschränkt = Setting(1) == 2 && gBenutzerstufe < 2;
    const QString berechtigung = u':' + gAnzeigeberechtigung;
    bool sichtbar = true;
    for (int i = 1; i <= n; ++i) {
      if (gBenutzerIDs[i].isEmpty()) {
        if (beschränkt && !gMitarbeiterNamen[i].isEmpty())
          sichtbar = berechtigung.contains(u':' + gMitarbeiterNamen[i] + u':');
        continue;
      }
      if (sichtbar) {
        namen << gMitarbeiterNamen[i];
        ids << gBenutzerIDs[i];
      }
    }
  }
  Gleiche_Namen_nummerieren(namen);
  // Alphabetical without regard to letter case, by name and then by user name.
  std::vector<int> folge(namen.size());
  for (int i = 0; i < static_cast<int>(folge.size()); ++i) folge[i] = i;
  QStringList schlüssel;
  schlüssel.reserve(namen.size());
  for (qsizetype i = 0; i < namen.size(); ++i) schlüssel << namen[i] + u':' + ids[i];
  std::stable_sort(folge.begin(), folge.end(),
                   [&](int a, int b) { return QString::compare(schlüssel[a], schlüssel[b], Qt::CaseInsensitive) < 0; });
  Namensliste = {QString()};
  BenutzerIDListe = {QString()};
  {
    const QSignalBlocker sperre(cmbName);
    for (int i : folge) {
      Namensliste << namen[i];
      BenutzerIDListe << ids[i];
      cmbName->addItem(namen[i]);
    }
    cmbName->setCurrentIndex(-1);
  }
  if (Haupttag().isEmpty() && gIstMitarbeiter) Haupttag_setzen(gBenutzername);
  const QString gewählt = Haupttag();
  if (gewählt.isEmpty()) return;
  for (int k = 1; k < BenutzerIDListe.size(); ++k)
    if (BenutzerIDListe[k].compare(gewählt, Qt::CaseInsensitive) == 0) {
      cmbName->setCurrentIndex(k - 1);
      return;
    }
}

void frmJahresuebersicht::Tabelle_initialisieren() {
  Raster& g = msgFlexGrid->raster();
  g.setTextMatrix(0, 0, QStringLiteral("Monat"));
  for (int d = 1; d <= 31; ++d) g.setTextMatrix(0, d, QString::number(d));
  for (int m = 1; m <= 12; ++m) {
    g.setTextMatrix(m, 0, Monatsname(m));
    g.setCellBackColor(m, 0, gGrundfarben[4]);
  }
}

void frmJahresuebersicht::Jahresübersicht_anzeigen() {
  Prozedur(kName + QStringLiteral(" - Jahresübersicht_anzeigen"), [&] {
    const int jahr = Jahr();
    const QString U = Benutzer();
    const QString jj = QStringLiteral("%1").arg(gPlanungsjahr % 100, 2, 10, QChar(u'0'));
    bool beschäftigung = false;
    QDate eintritt, austritt;
    if (Setting(47) == 1 && !U.isEmpty()) {
      for (int i = 1; i <= Mitarbeiterzeilen(); ++i) {
        if (gBenutzerIDs[i] != U) continue;
        beschäftigung = true;
        const QString e = gEintrittsdaten[i] == u"000000" ? jj + QStringLiteral("0101") : gEintrittsdaten[i];
        const QString a =
            gAustrittsdaten[i] == u"999999"
                ? QStringLiteral("%1").arg((gPlanungsjahr + 2) % 100, 2, 10, QChar(u'0')) + QStringLiteral("1231")
                : gAustrittsdaten[i];
        eintritt = FormatDatumSD(e);
        austritt = FormatDatumSD(a);
      }
    }
    Raster& g = msgFlexGrid->raster();
    g.setRedraw(false);
    for (int r = 0; r < g.Rows(); ++r)
      for (int c = 0; c < g.Cols(); ++c) {
        g.setTextMatrix(r, c, QString());
        g.setCellBackColor(r, c, std::nullopt);
        g.setCellForeColor(r, c, std::nullopt);
      }
    Tabelle_initialisieren();
    const int knöpfe = Schaltflächen_Anzahl();
    const Farbwert f1 = gGrundfarben[1], f2 = gGrundfarben[2], f3 = gGrundfarben[3];
    for (int m = 1; m <= 12; ++m) {
      const int tage = Anzahl_Monatstage(jahr, m);
      gMonatsschlüssel = QStringLiteral("%1%2").arg(jahr % 100, 2, 10, QChar(u'0')).arg(m, 2, 10, QChar(u'0'));
      if (!U.isEmpty() && Monat_lesen(gMonatsschlüssel)) {
        if (const qsizetype e = Letzter_Eintrag(U)) {
          const QString& zeile = gMonatsEinträge.at(e);
          const QStringView codes = QStringView(zeile).mid(zeile.indexOf(u':') + 1);
          for (int d = 1; d <= 31; ++d) {
            if (d > codes.size() || codes[d - 1] == u' ') {
              g.setCellForeColor(m, d, f1);
              g.setCellBackColor(m, d, f1);
              continue;
            }
            const int b = SFDec(QString(codes[d - 1]));
            if (b >= 1 && b <= knöpfe) {
              g.setTextMatrix(m, d, gSFKennbuchstaben.value(b));
              g.setCellForeColor(m, d, gSFTextfarben.value(b));
              g.setCellBackColor(m, d, gSFHintergrundfarben.value(b));
            } else if (b == knöpfe + 1) {
              g.setTextMatrix(m, d, QString(kArbeitsfrei));
              g.setCellForeColor(m, d, f2);
              g.setCellBackColor(m, d, f2);
            }
          }
        }
      } else if (U.isEmpty()) {
        // Nothing chosen: the month's exceptions are those of no file.
        gMonatsAusnahmen = QStringLiteral("NoEx:NoEx");
      }
      for (int d = 1; d <= tage; ++d)
        if (g.TextMatrix(m, d).isEmpty() && !CheckFeiertag(d) && CheckWochenende(d)) g.setCellBackColor(m, d, f2);
      for (int d = 1; d <= tage; ++d) {
        const QString t = g.TextMatrix(m, d);
        if ((t.isEmpty() || t == QString(kArbeitsfrei)) && CheckFeiertag(d)) g.setCellBackColor(m, d, f3);
      }
      if (beschäftigung)
        for (int d = 1; d <= tage; ++d) {
          const QDate D(jahr, m, d);
          if (g.TextMatrix(m, d).isEmpty() && (eintritt > D || austritt < D)) g.setCellBackColor(m, d, f2);
        }
      for (int d = tage + 1; d <= 31; ++d) g.setCellBackColor(m, d, f2);
    }
    g.setRedraw(true);
    Summen_anzeigen();
  });
}

void frmJahresuebersicht::Jahresübersicht_drucken(const QString& art) {
  const QString a = art == u"G" && cmbName->count() == 0 ? QStringLiteral("E") : art;
  gDruckauftrag = QStringLiteral("J") + a;
  gAnsichtshaken.druckdialog(this);
}

void frmJahresuebersicht::ÜStunden_anzeigen() {
  if (cmbName->currentText().isEmpty()) {
    Meldung(QStringLiteral("Bitte wählen Sie zuerst einen Namen aus"));
    return;
  }
  Tag = Benutzer();
  ÜStunden_zeigen(*this);
}

void frmJahresuebersicht::cmdAuswahl_Click(int index) {
  if (index == 1) Jahresübersicht_drucken(QStringLiteral("E"));
  if (index == 2) ÜStunden_anzeigen();
  if (index == 3) close();
}

bool frmJahresuebersicht::Form_KeyDown(int taste, Qt::KeyboardModifiers umschalt) {
  const Qt::KeyboardModifiers m = umschalt & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (taste == Qt::Key_F12 && m == Qt::NoModifier) {
    QString titel = QStringLiteral("Jahresübersicht ") + cmbJahr->currentText();
    if (!cmbName->currentText().isEmpty()) titel += QStringLiteral(", ") + cmbName->currentText();
    gAnsichtshaken.csv_export(this, titel);
    return true;
  }
  if (taste == Qt::Key_P && m == Qt::ControlModifier) {
    Jahresübersicht_drucken(QStringLiteral("E"));
    return true;
  }
  if (taste == Qt::Key_P && m == Qt::AltModifier) {
    Haupttag_setzen(QStringLiteral("S"));
    Jahresübersicht_drucken(QStringLiteral("E"));
    return true;
  }
  if (taste == Qt::Key_P && m == (Qt::ControlModifier | Qt::ShiftModifier)) {
    if (gBenutzerstufe == 1 || gBenutzerstufe == 2) Jahresübersicht_drucken(QStringLiteral("G"));
    return true;
  }
  if (taste == Qt::Key_Escape && m == Qt::NoModifier) {
    close();
    return true;
  }
  return false;
}

void frmJahresuebersicht::LabelOut(int links, int oben, const QString& art) {
  auto* l = new QLabel(this);
  l->setObjectName(QStringLiteral("lblBeschriftung_%1").arg(lblBeschriftung.size()));
  l->setFont(lblBeschriftung[1]->font());
  QFont f = l->font();
  f.setUnderline(art.contains(QStringLiteral("unterstreichen")));
  l->setFont(f);
  Qt::Alignment ausrichtung = Qt::AlignLeft;
  if (art.contains(QStringLiteral("zentriert"))) ausrichtung = Qt::AlignHCenter;
  if (art.contains(QStringLiteral("rechts"))) ausrichtung = Qt::AlignRight;
  l->setAlignment(ausrichtung | Qt::AlignTop);
  const qsizetype b = art.indexOf(QStringLiteral("breite:"));
  // Without a width the label takes its caption's width (Summen_anzeigen).
  const int breite = b >= 0 ? text::zahl(art.mid(b + 7)) : 1515;
  // A right-aligned figure keeps its width, so that a column of figures ends at one
  // edge and a wider font than the design's does not run it into the next caption.
  l->setProperty("feste_breite", b >= 0 || art.contains(QStringLiteral("rechts")));
  l->setGeometry(px(links), px(oben), px(breite), px(255));
  l->show();
  lblBeschriftung.push_back(l);
}

QString frmJahresuebersicht::Beschriftung(int element) const {
  return element >= 1 && element < static_cast<int>(lblBeschriftung.size()) ? lblBeschriftung[element]->text()
                                                                            : QString();
}

void frmJahresuebersicht::Beschriftung_generieren() {
  Prozedur(kName + QStringLiteral(" - Beschriftung_generieren"), [&] {
    const int T0 = static_cast<int>(bildschirm::pixelZuTwips(msgFlexGrid->height())) + 960;
    const QString u = QStringLiteral("unterstreichen"), r = QStringLiteral("rechts");
    LabelOut(270, T0, u);
    for (int z : {330, 600, 870}) LabelOut(270, T0 + z, QString());
    struct Ort {
      int links, oben;
      bool rechts;
    };
    const Ort ohne[] = {{2190, 330, true},  {2190, 600, true},  {2190, 870, true}, {4590, 330, false},
                        {4590, 600, false}, {6510, 330, true},  {6510, 600, true}, {8910, 330, false},
                        {8910, 600, false}, {10830, 330, true}, {10830, 600, true}};
    const Ort mit[] = {{1770, 330, true},   {1770, 600, true}, {1770, 870, true}, {3630, 330, false},
                       {3630, 600, false},  {5250, 330, true}, {5250, 600, true}, {3630, 870, false},
                       {3630, 1140, false}, {5250, 870, true}, {5250, 1140, true}};
    for (const Ort& o : gSonderurlaubModus ? mit : ohne) LabelOut(o.links, T0 + o.oben, o.rechts ? r : QString());
    const Ort sonder[] = {{7140, 330, false}, {7350, 330, true},  {9210, 330, false}, {9210, 600, false},
                          {10830, 330, true}, {10830, 600, true}, {9210, 870, false}, {9210, 1140, false},
                          {10830, 870, true}, {10830, 1140, true}};
    LabelOut(7140, T0, u);
    for (const Ort& o : sonder) LabelOut(o.links, T0 + o.oben, o.rechts ? r : QString());
    for (int e = 3; e <= 17; ++e) lblBeschriftung[e]->setVisible(gSFUrlaub > 0);
    for (int e = 18; e <= 28; ++e) lblBeschriftung[e]->setVisible(gSonderurlaubModus);

    const int T1 = gSFUrlaub == 0 ? T0 : T0 + (gSonderurlaubModus ? 1440 : 1320);
    const int TL = T1 + 1500;
    LabelOut(270, T1, u);
    const int n = Schaltflächen_Anzahl();
    const auto kasten = [&](int links, int oben, qint32 vorne, qint32 hinten, bool sichtbar) {
      auto* k = new QLabel(this);
      k->setObjectName(QStringLiteral("txtVorschau_%1").arg(txtVorschau.size()));
      k->setAlignment(Qt::AlignCenter);
      k->setStyleSheet(QStringLiteral("QLabel { color: %1; background-color: %2; border: 1px solid %3; }")
                           .arg(zuQColor(vorne).name(), zuQColor(hinten).name(), zuQColor(gGrundfarben[6]).name()));
      k->setGeometry(px(links), px(oben), px(330), px(330));
      k->setVisible(sichtbar);
      txtVorschau.push_back(k);
    };
    for (int i = 1; i <= 24; ++i)
      kasten(270 + 510 * (i - 1), T1 + 360, gSFTextfarben.value(i), gSFHintergrundfarben.value(i), i < n);
    for (int i = 1; i <= 24; ++i) LabelOut(270 + 510 * (i - 1), T1 + 765, QStringLiteral("zentriert, breite:330"));
    LabelOut(270, T1 + 1140, u);
    for (int i = 1; i <= n + 1; ++i) {
      const int c = (i - 1) % 5, z = (i - 1) / 5;
      const qint32 hinten = i < n ? gSFHintergrundfarben.value(i) : gGrundfarben[i == n ? 2 : 3];
      kasten(270 + 2400 * c, TL + 390 * z, i < n ? gSFTextfarben.value(i) : hinten, hinten, true);
      LabelOut(690 + 2400 * c, TL + 390 * z + 45, QString());
    }
    const int knopfOben = TL + 390 * (n / 5) + 45 + 600;
    cmdAuswahl[1]->setGeometry(px(255), px(knopfOben), px(1800), px(495));
    cmdAuswahl[2]->setGeometry(px(2400), px(knopfOben), px(1800), px(495));
    cmdAuswahl[3]->setGeometry(px(10620), px(knopfOben), px(1800), px(495));
    setFixedSize(std::max(px(12675), msgFlexGrid->geometry().right() + px(240)), px(knopfOben + 795));
    Summen_anzeigen();
  });
}

void frmJahresuebersicht::Summen_anzeigen() {
  Prozedur(kName + QStringLiteral(" - Summen_anzeigen"), [&] {
    const int Y = Jahr();
    const QString U = Benutzer();
    int zeile = 0;
    if (!U.isEmpty())
      for (int i = 1; i <= Mitarbeiterzeilen() && zeile == 0; ++i)
        if (gBenutzerIDs[i] == U) zeile = i;
    Kontoeinstellungen k = Kontoeinstellungen_lesen();
    k.sonderurlaub = gSonderurlaubModus;
    const Kontowerte werte = zeile > 0 ? Kontowerte_lesen(zeile) : Kontowerte{};
    const auto b = Kontobeschriftung(Y, k, zeile > 0 ? &werte : nullptr, Urlaubstage(zeile), Sonderurlaubstage(zeile),
                                     Tage_mit_Zehnteln());
    for (const auto& [e, text] : b) {
      QLabel* l = lblBeschriftung[e];
      if ((e <= 17 && gSFUrlaub > 0) || (e >= 18 && gSonderurlaubModus)) l->setText(text);
    }
    lblBeschriftung[29]->setText(QStringLiteral("Summen"));
    const int n = Schaltflächen_Anzahl();
    for (int i = 1; i <= 24 && i < n; ++i) {
      txtVorschau[i]->setText(gSFKennbuchstaben.value(i));
      if (zeile > 0)
        lblBeschriftung[29 + i]->setText(
            QString::number(AnAbwesenheitstage(i, QDate(Y, 1, 1), QDate(Y, 12, 31), zeile)));
      if (lblBeschriftung[29 + i]->text().isEmpty()) lblBeschriftung[29 + i]->setText(QStringLiteral("0"));
    }
    lblBeschriftung[54]->setText(QStringLiteral("Legende"));
    for (int i = 1; i < n; ++i) {
      txtVorschau[24 + i]->setText(gSFKennbuchstaben.value(i));
      QLabel* l = lblBeschriftung[54 + i];
      l->setText(gSFTexte.value(i));
      // A long caption is shrunk to fit its place and kept on the entry's line.
      QFont f = l->font();
      for (int punkte = 9; bildschirm::pixelZuTwips(QFontMetrics(f).horizontalAdvance(l->text())) > 1920 && punkte >= 6;
           --punkte) {
        f.setPointSize(punkte);
      }
      l->setFont(f);
      l->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    }
    lblBeschriftung[54 + n]->setText(Wochenendtext);
    lblBeschriftung[55 + n]->setText(QStringLiteral("Feiertag"));
    // Labels without a width of their own take their caption's width from their left
    // edge on.
    for (std::size_t e = 3; e < lblBeschriftung.size(); ++e) {
      QLabel* l = lblBeschriftung[e];
      if (!l->property("feste_breite").toBool()) l->resize(l->sizeHint().width(), l->height());
    }
  });
}

void Jahresübersicht_zeigen(QWidget* eltern) {
  frmJahresuebersicht f(eltern);
  f.Form_Load();
  f.exec();
}
