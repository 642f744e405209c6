#include "planner/Undo.h"

#include <QComboBox>
#include <QFrame>
#include <QSignalBlocker>
#include <QTabBar>
#include <set>
#include <vector>

#include "planner/Aenderungspruefung.h"
#include "planner/Eingabe.h"
#include "planner/Kommentare.h"
#include "planner/Kommentarzeilen.h"
#include "planner/Markierung.h"
#include "planner/Monatsquelle.h"
#include "planner/Monatsspeicher.h"
#include "planner/Zwischenablage.h"
#include "planner/frmVelkora.h"
#include "platform/Dialoge.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Programmabbruch.h"
#include "store/Monatszeilen.h"
#include "widgets/Rasteransicht.h"

namespace {

const QString kKeineDaten = QStringLiteral("NoData");
const QString kGruppeAnfang = QStringLiteral(">");
const QString kGruppeEnde = QStringLiteral("<");
constexpr int kBenutzerspalte = 32;
// The view key's length.
constexpr int kSchlüssellänge = 12;

std::vector<Undoeintrag> Leerer_Stapel() { return std::vector<Undoeintrag>(kUndoZeilen + 1, {kKeineDaten, {}}); }

std::vector<Undoeintrag> mUndoStapel = Leerer_Stapel();
int mUndoPosition = 0;
bool mUndoLäuft = false;
int mGeneration = 0;

void Undo_zurücksetzen() {
  mUndoStapel = Leerer_Stapel();
  mUndoPosition = 0;
  mUndoLäuft = false;
  mGeneration = 0;
}
VELKORA_ZUSTAND(Undo_zurücksetzen);

Undoeintrag& Zeile(int i) { return mUndoStapel[static_cast<size_t>(i)]; }
void Freigeben(int i) { Zeile(i) = {kKeineDaten, {}}; }

Raster* monatsraster() {
  frmVelkora* f = frmVelkora::instanz();
  return f && f->msgFlexGrid ? &f->msgFlexGrid->raster() : nullptr;
}

bool Ist_leer(const QStringList& puffer) {
  return puffer.isEmpty() || (puffer.size() == 1 && puffer[0] == kKeineDaten);
}

void Piepen() { dialoge::dienst().piepen(); }

// Holds mUndoLäuft for the time of a command.
struct Läuft {
  Läuft() { mUndoLäuft = true; }
  ~Läuft() { mUndoLäuft = false; }
};

// The grid row of a state entry's employee: the first row whose key followed by ":"
// stands from character 15 of the entry; 0 when none.
int Zeile_des_Eintrags(const Raster& g, const QString& eintrag) {
  for (int r = 1; r < g.Rows(); ++r) {
    const QString schlüssel = g.TextMatrix(r, kBenutzerspalte);
    if (!schlüssel.isEmpty() && eintrag.mid(kSchlüssellänge + 2, schlüssel.size() + 1) == schlüssel + u':') return r;
  }
  return 0;
}

// The employee's key of a state entry (the text between "A:" or "K:" and the next ":").
QString Schlüssel_des_Eintrags(const QString& eintrag) {
  const qsizetype anfang = kSchlüssellänge + 2;
  const qsizetype ende = eintrag.indexOf(u':', anfang);
  return ende < 0 ? QString() : eintrag.mid(anfang, ende - anfang);
}

bool Monatszeile(const QString& eintrag) { return eintrag.mid(kSchlüssellänge, 2) == u"A:"; }

enum class Ansicht { Gleich, Gewechselt, Unerreichbar };

// Switches the window to the view of a key, so that the user sees where the change was
// made. A group that can no longer be chosen and a top row the grid can no longer
// reach (the window grew) count as the same view, or the step could never be replayed;
// a month whose tab cannot be chosen cannot be written to from here.
Ansicht Ansicht_wechseln(frmVelkora& f, const QString& schlüssel) {
  const int jahr = schlüssel.mid(0, 1).toInt();
  const int monat = schlüssel.mid(1, 2).toInt();
  int gruppe = schlüssel.mid(4, 2).toInt() - 1;
  const int oben = schlüssel.mid(7, 4).toInt();
  if (jahr < 0 || jahr >= f.tabJahre->count() || !f.tabJahre->isTabEnabled(jahr) || monat < 0 ||
      monat >= f.tabMonate->count())
    return Ansicht::Unerreichbar;
  const int gruppen = f.cmbMitarbeitergruppen->count();
  if (gruppe < 0 || gruppe >= gruppen) gruppe = gruppen > 0 ? std::max(f.cmbMitarbeitergruppen->currentIndex(), 0) : -1;
  Raster& g = f.msgFlexGrid->raster();
  const bool gleicherMonat = f.tabJahre->currentIndex() == jahr && f.tabMonate->currentIndex() == monat &&
                             (gruppe < 0 || f.cmbMitarbeitergruppen->currentIndex() == gruppe);
  if (gleicherMonat) {
    const int vorher = g.TopRow();
    g.setTopRow(oben);
    return g.TopRow() != vorher ? Ansicht::Gewechselt : Ansicht::Gleich;
  }
  {
    const QSignalBlocker b1(f.tabJahre), b2(f.tabMonate), b3(f.cmbMitarbeitergruppen);
    f.tabJahre->setCurrentIndex(jahr);
    f.tabMonate->setCurrentIndex(monat);
    if (gruppe >= 0) {
      f.cmbMitarbeitergruppen->setCurrentIndex(gruppe);
      Anzeigegruppe_setzen(gruppe);
    }
  }
  Markierung_aufheben();
  f.tabMonate_Click();
  g.setTopRow(oben);
  return Ansicht::Gewechselt;
}

// One pair of a step: the row of the state to restore and the row holding the state
// after the change (with the logbook text).
struct Paar {
  int wiederherstellen = 0;
  int nachher = 0;
};

// The held-back month and logbook lines are dropped.
void Zurückgehaltenes_verwerfen() {
  gUndoPuffer = QStringList{kKeineDaten};
  gLogbuchPuffer = QStringList{kKeineDaten};
}

void Ausführen(int richtung) {
  frmVelkora* f = frmVelkora::instanz();
  Raster* g = monatsraster();
  if (!f || !g) return;
  const bool undo = richtung < 0;
  const int anfang = mUndoPosition;

  if (undo ? mUndoPosition <= 1 : mUndoPosition >= kUndoZeilen || Zeile(mUndoPosition + 1).eintrag == kKeineDaten) {
    Piepen();
    return;
  }

  // The step: a group between ">" and "<", or one pair.
  bool gruppe = false;
  int paare = 1;
  int position = mUndoPosition;
  if (undo) {
    if (Zeile(position).eintrag == kGruppeEnde) {
      gruppe = true;
      --position;
      int j = position;
      while (j >= 1 && Zeile(j).eintrag != kGruppeAnfang) --j;
      // Its ">" was lost when the stack overflowed.
      if (j < 1) {
        Piepen();
        return;
      }
      paare = (position - j) / 2;
    }
  } else {
    if (Zeile(position + 1).eintrag == kGruppeAnfang) {
      gruppe = true;
      ++position;
      int k = position + 1;
      while (k <= kUndoZeilen && Zeile(k).eintrag != kGruppeEnde) ++k;
      if (k > kUndoZeilen) {
        Piepen();
        return;
      }
      paare = (k - position - 1) / 2;
    }
    position += 2;
  }
  if (paare < 1 || position < 1 || position > kUndoZeilen || Zeile(position).eintrag.size() < kSchlüssellänge) {
    Piepen();
    return;
  }

  // A step of another view: the user first sees where the change was made.
  switch (Ansicht_wechseln(*f, Zeile(position).eintrag)) {
    case Ansicht::Gleich:
      break;
    case Ansicht::Gewechselt:
      return;
    case Ansicht::Unerreichbar:
      Piepen();
      return;
  }

  // Another workstation's change is read in first. A reload that read a changed
  // configuration or employee list emptied the stack: nothing is left to replay.
  const int generation = mGeneration;
  CheckErfassungsdaten();
  if (generation != mGeneration) {
    Piepen();
    return;
  }

  std::vector<Paar> schritt;
  for (int k = 0; k < paare; ++k) {
    const int nachher = undo ? position - 2 * k : position + 2 * k;
    schritt.push_back({undo ? nachher - 1 : nachher, nachher});
  }

  // Every employee's row is compared once, with the state the first of its month-line
  // pairs expects to find, before anything is written: another workstation's change
  // since refuses the whole step.
  std::set<QString> geprüft;
  for (const Paar& p : schritt) {
    const QString& eintrag = Zeile(p.nachher).eintrag;
    if (!Monatszeile(eintrag)) continue;
    const QString schlüssel = Schlüssel_des_Eintrags(eintrag);
    if (!geprüft.insert(schlüssel).second) continue;
    const int zeile = Zeile_des_Eintrags(*g, eintrag);
    if (zeile == 0) continue;
    const QString erwartet = (undo ? eintrag : Zeile(p.nachher - 1).eintrag).mid(kSchlüssellänge);
    if (Tabellenzeilendaten(zeile) != erwartet) {
      gLogbuchPuffern = false;
      Markierung_aufheben();
      Meldung(Undo_verweigert_Meldung(g->TextMatrix(zeile, 0)));
      return;
    }
  }

  if (gLangsamesNetz) Sanduhr_ein();
  if (gruppe) gLogbuchPuffern = true;
  QString kommentar;
  bool gespeichert = true;
  for (const Paar& p : schritt) {
    if (gBeschäftigt) Markierung_aufheben();
    const QString zustand = Zeile(p.wiederherstellen).eintrag.mid(kSchlüssellänge);
    // The row as it is now, as checked above: only the days in which the restored state
    // differs from it are laid over the employee's newest row in the file.
    const QString jetzt = Zeile(undo ? p.nachher : p.nachher - 1).eintrag.mid(kSchlüssellänge);
    for (const QString& stück : zustand.split(QStringLiteral("||")))
      if (!Datensatz_speichern(stück, stück.startsWith(u"A:") ? jetzt : QString())) gespeichert = false;
    if (!gespeichert) break;
    const QString& text = Zeile(p.nachher).text;
    if (!text.isEmpty()) Logbuch_ergänzen(1, undo ? text + QStringLiteral(":Storno") : text);
    if (!gruppe && Zeile(p.wiederherstellen).eintrag.contains(QStringLiteral("|K:"))) kommentar = zustand;
  }
  if (gruppe) {
    if (gespeichert && !Ist_leer(gUndoPuffer) && !Datensatz_speichern(QString())) gespeichert = false;
    if (gespeichert && !Ist_leer(gLogbuchPuffer)) Logbuch_ergänzen(1, QString());
    if (!gespeichert) Zurückgehaltenes_verwerfen();
    gLogbuchPuffern = false;
  }

  if (gespeichert) {
    if (gruppe)
      mUndoPosition = undo ? position - 2 * paare - 1 : position + 2 * paare - 1;
    else
      mUndoPosition = undo ? position - 2 : position;
  } else {
    // The writer refused and said so: the step stays where it was.
    mUndoPosition = anfang;
  }

  f->Daten_anzeigen(false);
  Sanduhr_aus();

  // The restored comment is shown for a moment where it was; a state of several
  // comment lines ("||") has no one comment to show, a comment without a text none.
  const Monatszeilenform form = Form_der_Monatszeile(kommentar);
  if (!gespeichert || !form.kommentar() || kommentar.contains(QStringLiteral("||")) ||
      form.kommentartext(kommentar).isEmpty())
    return;
  const int zeile = Zeile_des_Eintrags(*g, QString(kSchlüssellänge, u' ') + kommentar);
  if (zeile == 0) return;
  Kommentar_anzeigen(f, form.kommentartext(kommentar).toString(), form.erster_Tag(), zeile);
  // The pause serves no window events: the restored month and the box over it are
  // painted first, or the user would see neither.
  f->repaint();
  // The window's repaint leaves out the box standing over the grid.
  f->picKommentar->repaint();
  Pause(0.75);
  f->picKommentar->hide();
}

}  // namespace

const Undoeintrag& Undostapel(int zeile) {
  static const Undoeintrag leer{kKeineDaten, {}};
  if (zeile < 1 || zeile > kUndoZeilen) return leer;
  return Zeile(zeile);
}
int Undoposition() { return mUndoPosition; }
bool Undo_läuft() { return mUndoLäuft; }
int Puffer_Generation() { return mGeneration; }

QString Undo_verweigert_Meldung(const QString& name) {
  return QStringLiteral("Rückgängigmachen/Wiederherstellen nicht möglich. Für '") + name +
         QStringLiteral("' wurden zwischenzeitlich von jemand anderem Eintragungen vorgenommen.");
}

QString Ansichtsschlüssel() {
  frmVelkora* f = frmVelkora::instanz();
  if (!f) return QString(kSchlüssellänge, u' ');
  const QComboBox* c = f->cmbMitarbeitergruppen;
  const int gruppe = c->count() > 0 ? std::max(c->currentIndex() + 1, 0) : 0;
  const auto zahl = [](int n, int stellen) { return QStringLiteral("%1").arg(n, stellen, 10, QChar(u'0')); };
  return zahl(std::max(f->tabJahre->currentIndex(), 0), 1) + zahl(std::max(f->tabMonate->currentIndex(), 0), 2) + u'|' +
         zahl(gruppe, 2) + u'|' + zahl(f->msgFlexGrid->raster().TopRow(), 4) + u'|';
}

void Puffer_zurücksetzen() {
  Prozedur(QStringLiteral("frmVelkora - Puffer_zurücksetzen"), [&] {
    Zwischenablage_leeren();
    gUndoPuffer = QStringList{kKeineDaten};
    gLogbuchPuffer = QStringList{kKeineDaten};
    mUndoPosition = 0;
    for (int i = 1; i <= kUndoZeilen; ++i) Freigeben(i);
    ++mGeneration;
  });
}

void SaveForUndo(int art, const QString& text) {
  Prozedur(QStringLiteral("frmVelkora - SaveForUndo"), [&] {
    if (art == -1) {
      if (mUndoPosition < 1) return;
      Freigeben(mUndoPosition);
      --mUndoPosition;
      return;
    }
    if (art == 4 && mUndoPosition >= 1 && Zeile(mUndoPosition).eintrag == kGruppeAnfang) {
      Freigeben(mUndoPosition);
      --mUndoPosition;
      return;
    }
    QString eintrag;
    switch (art) {
      case 1:
      case 2: {
        const Raster* g = monatsraster();
        if (!g) return;
        const int zeile = g->Row();
        eintrag = Ansichtsschlüssel() + (art == 1 ? Tabellenzeilendaten(zeile) : Tabellenzeilenkommentar(zeile));
        break;
      }
      case 3:
        eintrag = kGruppeAnfang;
        break;
      case 4:
      case 5:
        eintrag = kGruppeEnde;
        break;
      default:
        return;
    }
    ++mUndoPosition;
    if (mUndoPosition > kUndoZeilen) {
      // The oldest entry is lost.
      for (int i = 1; i < kUndoZeilen; ++i) Zeile(i) = Zeile(i + 1);
      mUndoPosition = kUndoZeilen;
    }
    Zeile(mUndoPosition) = {eintrag, text};
    if (art == 5) {
      // The four state entries below the new "<" become a group.
      if (mUndoPosition < kUndoZeilen) {
        for (int i = mUndoPosition; i >= std::max(mUndoPosition - 4, 1); --i) Zeile(i + 1) = Zeile(i);
        ++mUndoPosition;
      } else {
        for (int i = 1; i < kUndoZeilen - 5; ++i) Zeile(i) = Zeile(i + 1);
      }
      if (mUndoPosition - 5 >= 1) Zeile(mUndoPosition - 5) = {kGruppeAnfang, {}};
    }
    // A new change discards what could have been redone.
    for (int i = mUndoPosition + 1; i <= kUndoZeilen; ++i)
      if (Zeile(i).eintrag != kKeineDaten) Freigeben(i);
  });
}

void Undo_Redo(int richtung) {
  Läuft läuft;
  try {
    Ausführen(richtung);
  } catch (const std::exception& e) {
    if (istProgrammende(e)) throw;
    // The history is no longer to be trusted: it goes, and the program goes on.
    gLogbuchPuffern = false;
    mUndoLäuft = false;
    Puffer_zurücksetzen();
    Sanduhr_aus();
    Logbuch_ergänzen(2, QStringLiteral("Fehler bei Undo/Redo"));
  }
}
