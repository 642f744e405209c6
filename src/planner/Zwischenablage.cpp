#include "planner/Zwischenablage.h"

#include <QSignalBlocker>
#include <QTabBar>
#include <vector>

#include "planner/Aenderungspruefung.h"
#include "planner/Eingabe.h"
#include "planner/Markierung.h"
#include "planner/Monatsspeicher.h"
#include "planner/Undo.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Velkoraini.h"
#include "widgets/Rasteransicht.h"

namespace {

const QString kLeer = QStringLiteral("NoEntry");
const QString kKeineDaten = QStringLiteral("NoData");
const QString kArbeitsfrei = QString(QChar(0xA0));
constexpr int kBenutzerspalte = 32;

QStringList mZwischenablage{kLeer};

void Zwischenablage_zurücksetzen() { mZwischenablage = QStringList{kLeer}; }
VELKORA_ZUSTAND(Zwischenablage_zurücksetzen);

Raster* monatsraster() {
  frmVelkora* f = frmVelkora::instanz();
  return f && f->msgFlexGrid ? &f->msgFlexGrid->raster() : nullptr;
}

bool Ist_leer(const QStringList& puffer) {
  return puffer.isEmpty() || (puffer.size() == 1 && puffer[0] == kKeineDaten);
}
bool Überschriftszeile(const Raster& g, int r) { return g.TextMatrix(r, kBenutzerspalte).isEmpty(); }
QString zweistellig(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }

void Leer_melden() {
  Meldung(
      QStringLiteral("Einfügen nicht möglich, Zwischenablage ist leer. Markieren Sie einen Eintrag und kopieren Sie "
                     "diesen mit STRG-Taste und rechtem Mausklick in die Zwischenablage."));
}

// The button of a code character: a blank or any character that names no button is
// the erase button; the character after the last button is the non-working-day mark.
int Knopf(QChar zeichen) {
  const int n = Schaltflächen_Anzahl();
  const int k = SFDec(QString(zeichen));
  return k >= 1 && k <= n + 1 ? k : n;
}

void Zelle_markieren(Raster& g, int zeile, int von, int bis) {
  g.setCol(von);
  g.setRow(zeile);
  g.setColSel(bis);
  g.setRowSel(zeile);
  g.setHighLight(1);
}

// Where an element of the clipboard goes: the row's key (see Zeilenschlüssel), so that
// it follows its employee through a reload or into the next month, and the name for a
// message when the employee is not shown there.
struct Ziel {
  QString schlüssel;
  QString name;
};

int Zeile_von(const Raster& g, const QString& schlüssel) {
  for (int r = 1; r < g.Rows(); ++r)
    if (Zeilenschlüssel(r) == schlüssel) return r;
  return 0;
}

// Element i goes to row zeilenversatz + 1 + i; heading rows inside the block are passed
// over and move the following elements down; a row past the last ends the list.
std::vector<Ziel> Ziele_ab(const Raster& g, int zeilenversatz) {
  std::vector<Ziel> ziele;
  int r = zeilenversatz + 1;
  for (qsizetype i = 0; i < mZwischenablage.size(); ++i) {
    if (i > 0)
      while (r < g.Rows() && Überschriftszeile(g, r)) ++r;
    if (r < 1 || r >= g.Rows()) break;
    ziele.push_back({Zeilenschlüssel(r), g.TextMatrix(r, 0)});
    ++r;
  }
  return ziele;
}

// The rows of the targets in the grid as it is now; 0 for an employee it does not show,
// who is named in a message and left out.
std::vector<int> Zeilen_der_Ziele(const Raster& g, const std::vector<Ziel>& ziele, bool melden) {
  std::vector<int> zeilen;
  for (const Ziel& z : ziele) {
    const int r = Zeile_von(g, z.schlüssel);
    if (r == 0 && melden) Meldung(Einfügen_ohne_Mitarbeiter_Meldung(z.name));
    zeilen.push_back(r);
  }
  return zeilen;
}

// Holds the logbook and the month lines back for the time of a paste and lets go of
// them on every way out.
struct Zurückhalten {
  explicit Zurückhalten(Raster& g) : mG(g) {
    mG.setRedraw(false);
    gLogbuchPuffern = true;
  }
  ~Zurückhalten() {
    gLogbuchPuffern = false;
    mG.setRedraw(true);
  }
  Raster& mG;
};

// The check pass: rights, the entry check of every cell and the overwrite question.
// False when the paste is to end (the user has been told or declined).
bool Prüfen(Raster& g, const std::vector<int>& zeilen, int ersterTag, int überspringen, int tage, qsizetype zeichen,
            bool& überschreibenGefragt, bool& gefragt) {
  const int n = Schaltflächen_Anzahl();
  for (size_t i = 0; i < zeilen.size() && i < static_cast<size_t>(mZwischenablage.size()); ++i) {
    const int r = zeilen[i];
    if (r == 0) continue;
    const QString& element = mZwischenablage[static_cast<qsizetype>(i)];
    for (qsizetype p = überspringen; p < element.size(); ++p) {
      const int tag = ersterTag + 1 + static_cast<int>(p) - überspringen;
      if (tag > tage) break;
      const int knopf = Knopf(element[p]);
      if (knopf < n && gSFNurAdmins[knopf] == 1 && gBenutzerstufe == 0) {
        Meldung(QStringLiteral("Funktion 'Einfügen' nicht möglich. Die Schaltfläche '") + gSFKennbuchstaben[knopf] +
                QStringLiteral(" - ") + gSFTexte[knopf] +
                QStringLiteral("' ist folgenden Administratoren vorbehalten: ") + ShowAdmins(true));
        return false;
      }
      Zelle_markieren(g, r, tag, tag);
      const bool bestätigt = Vergangenheit_bestätigt();
      const bool erlaubt = Plausibilitätsprüfung(knopf);
      if (!bestätigt && Vergangenheit_bestätigt()) gefragt = true;
      // A refusal with nothing to do there removes the marking; any other one ends.
      if (!erlaubt && Markierung_sichtbar()) return false;
      const QString text = g.TextMatrix(r, tag);
      if (!überschreibenGefragt && zeichen > 1 && !text.isEmpty() && text != kArbeitsfrei) {
        überschreibenGefragt = true;
        gefragt = true;
        if (!Frage(QStringLiteral("Achtung! Durch das Einfügen werden bestehende An-/Abwesenheitsdaten "
                                  "überschrieben. Möchten Sie das wirklich?")))
          return false;
      }
    }
  }
  return true;
}

// Pastes the clipboard into the targets' rows. `melden`: targets the month does not show
// are named (a continued paste).
void Einfügen(std::vector<Ziel> ziele, int ersterTag, int überspringen, bool melden, bool& fertig) {
  fertig = false;
  frmVelkora* f = frmVelkora::instanz();
  Raster* gp = monatsraster();
  if (!f || !gp) return;
  Raster& g = *gp;
  const int tage = Anzahl_Monatstage(gMonatsschlüssel, 0);
  qsizetype zeichen = 0;
  for (const QString& e : mZwischenablage) zeichen += e.size();
  const bool einzeln = zeichen == 1;
  std::vector<int> zeilen = Zeilen_der_Ziele(g, ziele, melden);
  {
    Zurückhalten zurückhalten(g);
    if (mZwischenablage.size() > 1 && !zeilen.empty() && zeilen[0] > 0 && Überschriftszeile(g, zeilen[0])) {
      Meldung(QStringLiteral("Die erste Zeile beim Einfügen darf keine Überschriftzeile sein"));
      Markierung_aufheben();
      return;
    }
    bool überschreibenGefragt = false;
    for (;;) {
      bool gefragt = false;
      if (!Prüfen(g, zeilen, ersterTag, überspringen, tage, zeichen, überschreibenGefragt, gefragt)) {
        gLogbuchPuffern = false;
        Markierung_aufheben();
        return;
      }
      // A question may have stood open for long: what another workstation wrote
      // meanwhile is read in, and the paste is checked again on it.
      if (!gefragt) break;
      const int generation = Puffer_Generation();
      if (!CheckErfassungsdaten()) break;
      if (generation != Puffer_Generation()) {
        gLogbuchPuffern = false;
        Markierung_aufheben();
        Leer_melden();
        return;
      }
      zeilen = Zeilen_der_Ziele(g, ziele, true);
    }

    if (mZwischenablage.size() > 1 || gLangsamesNetz) Sanduhr_ein();
    const int undoVorher = Undoposition();
    if (!einzeln) SaveForUndo(3, QString());
    for (size_t i = 0; i < zeilen.size() && i < static_cast<size_t>(mZwischenablage.size()); ++i) {
      const int r = zeilen[i];
      if (r == 0) continue;
      const QString& element = mZwischenablage[static_cast<qsizetype>(i)];
      qsizetype p = überspringen;
      while (p < element.size()) {
        const int von = ersterTag + 1 + static_cast<int>(p) - überspringen;
        if (von > tage) break;
        qsizetype q = p;
        while (q + 1 < element.size() && element[q + 1] == element[p] &&
               ersterTag + 1 + static_cast<int>(q + 1) - überspringen <= tage)
          ++q;
        const int bis = ersterTag + 1 + static_cast<int>(q) - überspringen;
        Zelle_markieren(g, r, von, bis);
        Tabellenzeile_ändern(Knopf(element[p]));
        p = q + 1;
      }
      g.setRedraw(true);
      g.setRedraw(false);
    }
    bool gespeichert = true;
    if (!Ist_leer(gUndoPuffer)) gespeichert = Datensatz_speichern(QString());
    if (gespeichert) {
      if (!Ist_leer(gLogbuchPuffer)) Logbuch_ergänzen(1, QString());
    } else {
      // Nothing of the paste reached the file (the writer said why): no logbook line
      // and no undo step tells of it, and the grid shows the file again.
      gLogbuchPuffer = QStringList{kKeineDaten};
      while (Undoposition() > undoVorher) SaveForUndo(-1, QString());
    }
    gLogbuchPuffern = false;
    if (gespeichert && !einzeln) SaveForUndo(4, QString());
    if (!gespeichert) f->Daten_anzeigen(false);
    fertig = gespeichert;
  }
  Markierung_aufheben();
  Sanduhr_aus();
}

}  // namespace

const QStringList& Zwischenablage() { return mZwischenablage; }
void Zwischenablage_setzen(const QString& codezeichen) { mZwischenablage = QStringList{codezeichen}; }
void Zwischenablage_leeren() { mZwischenablage = QStringList{kLeer}; }

QString Einfügen_ohne_Mitarbeiter_Meldung(const QString& name) {
  return QStringLiteral("Für '") + name +
         QStringLiteral("' wird nichts eingefügt: Der Mitarbeiter ist in diesem Monat nicht in der Anzeige vorhanden.");
}

void Eintrag_kopieren() {
  Prozedur(QStringLiteral("frmVelkora - Eintrag_kopieren"), [&] {
    Raster* gp = monatsraster();
    if (!gp || !Markierung_sichtbar()) return;
    Raster& g = *gp;
    Markierung_merken();
    const Gemerkte_Markierung m = gemerkteMarkierung();
    const int links = std::max(m.links, 1);
    const int rechts = std::min(m.rechts, Anzahl_Monatstage(gMonatsschlüssel, 0));
    if (m.oben != m.unten && gBenutzerstufe == 0) {
      Meldung(QStringLiteral("Die Markierung darf sich nur bei Administratoren über mehr als eine Zeile erstrecken"));
      return;
    }
    const int n = Schaltflächen_Anzahl();
    QStringList ablage{QString()};
    g.setRedraw(false);
    bool erste = true;
    for (int r = m.oben; r <= m.unten; ++r) {
      if (r < 1 || r >= g.Rows() || Überschriftszeile(g, r)) continue;
      if (!erste) ablage << QString();
      erste = false;
      QString& element = ablage.last();
      for (int d = links; d <= rechts; ++d) {
        const QString text = g.TextMatrix(r, d);
        if (text == kArbeitsfrei) {
          element += SFHex(n + 1);
          continue;
        }
        const std::optional<Farbwert> hinten = g.CellBackColor(r, d);
        int knopf = 0;
        for (int i = 1; i <= n && knopf == 0; ++i)
          if (gSFKennbuchstaben[i] == text && hinten == gSFHintergrundfarben[i]) knopf = i;
        element += knopf == 0 ? QStringLiteral(" ") : SFHex(knopf);
      }
    }
    mZwischenablage = ablage;
    Markierung_wiederherstellen();
    g.setRedraw(true);
  });
}

void Eintrag_einfg(int ersterTagVersatz, int zeilenversatz, int überspringen, bool& fertig) {
  Prozedur(QStringLiteral("frmVelkora - Eintrag_einfg"), [&] {
    fertig = false;
    const Raster* g = monatsraster();
    if (!g) return;
    Einfügen(Ziele_ab(*g, zeilenversatz), ersterTagVersatz, überspringen, false, fertig);
  });
}

void Eintrag_einfügen() {
  Prozedur(QStringLiteral("frmVelkora - Eintrag_einfügen"), [&] {
    frmVelkora* f = frmVelkora::instanz();
    Raster* gp = monatsraster();
    if (!f || !gp) return;
    Raster& g = *gp;
    if (mZwischenablage.size() == 1 && mZwischenablage[0] == kLeer) {
      Leer_melden();
      return;
    }
    int zeile = g.MouseRow();
    const int spalte = g.MouseCol();
    if (Setting(45) < 2 && gMonatsschlüssel + zweistellig(spalte) < gHeuteText) {
      Meldung(QStringLiteral("Diese Funktion ist für in der Vergangenheit liegende Zeiträume nicht zulässig"));
      return;
    }
    // The clicked row is held by whose it is: a reload may move it.
    const QString geklickt = Zeilenschlüssel(zeile);
    const int generation = Puffer_Generation();
    if (CheckErfassungsdaten()) {
      if (generation != Puffer_Generation()) {
        Leer_melden();
        return;
      }
      zeile = Zeile_von(g, geklickt);
      if (zeile == 0) return;
    }
    const int ersterTag = spalte - 1;
    const std::vector<Ziel> ziele = Ziele_ab(g, zeile - 1);
    bool fertig = false;
    Einfügen(ziele, ersterTag, 0, false, fertig);
    if (!fertig) return;

    const int tage = Anzahl_Monatstage(gMonatsschlüssel, 0);
    const int jahr = f->tabJahre->currentIndex(), monat = f->tabMonate->currentIndex();
    const bool dezember = monat == 11;
    const bool letzterMonat = dezember && (jahr + 1 >= f->tabJahre->count() || !f->tabJahre->isTabEnabled(jahr + 1) ||
                                           f->tabJahre->tabText(jahr).toInt() == gHeute.year() + 1);
    if (mZwischenablage[0].size() + ersterTag > tage && !letzterMonat) {
      if (!Frage(QStringLiteral("Möchten Sie das Einfügen im nächsten Monat fortsetzen?"))) return;
      {
        const QSignalBlocker b1(f->tabJahre), b2(f->tabMonate);
        if (dezember) f->tabJahre->setCurrentIndex(jahr + 1);
        f->tabMonate->setCurrentIndex(dezember ? 0 : monat + 1);
      }
      const int vorher = Puffer_Generation();
      f->änderungsprüfung().zurücksetzen();
      f->tabMonate_Click();
      if (vorher != Puffer_Generation()) {
        Leer_melden();
        return;
      }
      // The same employees, wherever the next month shows them.
      Einfügen(ziele, 0, tage - ersterTag, true, fertig);
      if (!fertig) return;
    }
    if (gBenutzerwerte[25] == 1) f->Daten_anzeigen(false);
  });
}
