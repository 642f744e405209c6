#include "planner/Eingabe.h"

#include <optional>
#include <vector>

#include "planner/Aenderungspruefung.h"
#include "planner/Markierung.h"
#include "planner/Monatsanzeige.h"
#include "planner/Monatsspeicher.h"
#include "planner/Undo.h"
#include "planner/Zwischenablage.h"
#include "planner/frmEingabe.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "store/Feiertage.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatszeilen.h"
#include "store/Velkoraini.h"
#include "widgets/Rasteransicht.h"

namespace {

constexpr int kLetzterTag = 31;
constexpr int kBenutzerspalte = 32;
const QString kArbeitsfrei = QString(QChar(0xA0));
const QString kKeineDaten = QStringLiteral("NoData");

bool mMarkierungshinweis = false;
bool mVergangenheitBestätigt = false;
// The past-period question was asked during the running entry check.
bool mFrageGestellt = false;
// Within one run over several rows: the user declined entries for past periods.
bool mVergangenheitAbgelehnt = false;

// A row's day cells as they were before an entry, to put back when it cannot be saved.
struct Zellstand {
  int zeile = 0;
  int tag = 0;
  QString text;
  std::optional<Farbwert> vorne, hinten;
};
std::vector<Zellstand> mVorher;

void Eingabe_zurücksetzen() {
  mMarkierungshinweis = false;
  mVergangenheitBestätigt = false;
  mFrageGestellt = false;
  mVergangenheitAbgelehnt = false;
  mVorher.clear();
}
VELKORA_ZUSTAND(Eingabe_zurücksetzen);

Raster* monatsraster() {
  frmVelkora* f = frmVelkora::instanz();
  return f && f->msgFlexGrid ? &f->msgFlexGrid->raster() : nullptr;
}

Farbwert Farbe(int nummer) { return gGrundfarben[nummer]; }
QString zweistellig(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }

bool Überschriftszeile(const Raster& g, int r) { return g.TextMatrix(r, kBenutzerspalte).isEmpty(); }
bool Arbeitstag(int tag) { return !CheckWochenende(tag) && !CheckFeiertag(tag); }

void Daten_anzeigen(bool beschäftigt) {
  if (frmVelkora* f = frmVelkora::instanz()) f->Daten_anzeigen(beschäftigt);
}

void Knopfnummer_prüfen(int index) {
  if (index < 1 || index > Schaltflächen_Anzahl() + 1) fehler::auslösen(fehler::kIndexAusserhalb);
}

// A day on which the entry of button `index` has nothing to do: a column after the
// month's last day, an empty cell for the erase button, an empty weekend or holiday
// cell for any other button while entries there are not allowed.
bool Nichts_zu_tun(const Raster& g, int zeile, int tag, int index) {
  if (g.TextMatrix(0, tag).isEmpty()) return true;
  if (!g.TextMatrix(zeile, tag).isEmpty()) return false;
  if (index == Schaltflächen_Anzahl()) return true;
  return Setting(12) == 0 && !Arbeitstag(tag);
}

// The marked columns links..rechts narrowed to the days the entry concerns; false
// when none is left.
bool Bereich_eingrenzen(const Raster& g, int zeile, int index, int links, int rechts, int& erster, int& letzter) {
  erster = links;
  letzter = std::min(rechts, kLetzterTag);
  if (erster == 0) {
    if (rechts == 0) return false;
    erster = 1;
  }
  while (erster <= letzter && Nichts_zu_tun(g, zeile, erster, index)) ++erster;
  if (erster > letzter) return false;
  while (letzter >= erster && g.TextMatrix(0, letzter).isEmpty()) --letzter;
  while (letzter >= erster && Nichts_zu_tun(g, zeile, letzter, index)) --letzter;
  return erster <= letzter;
}

bool Vergangen(int tag) { return gMonatsschlüssel + zweistellig(tag) < gHeuteText; }
bool Vergangenheit_erlaubt() { return Setting(46) == 1 || gBenutzerstufe > 0; }

bool Vergangenheit_fragen() {
  const bool ja = Frage(
      QStringLiteral("Achtung! Eintrag für einen in der Vergangenheit liegenden Zeitraum. Möchten Sie das wirklich?"),
      QStringLiteral("Velkora"));
  if (ja) mVergangenheitBestätigt = true;
  return ja;
}

// What identifies a button across a reload of the configuration.
struct Knopfkennung {
  int art = 0;  // 0 code button, 1 erase button, 2 non-working-day mark
  QString buchstabe;
  Farbwert hinten = 0;
  QString beschriftung;
};
Knopfkennung Kennung(int index) {
  const int n = Schaltflächen_Anzahl();
  if (index == n + 1) return {2, {}, 0, {}};
  if (index == n) return {1, {}, 0, gSFTexte[index]};
  return {0, gSFKennbuchstaben[index], gSFHintergrundfarben[index], gSFTexte[index]};
}
// The button's number in the table as it is now; 0 when it is gone.
int Knopf_wiederfinden(const Knopfkennung& k) {
  const int n = Schaltflächen_Anzahl();
  if (k.art == 2) return n + 1;
  if (k.art == 1) return n;
  for (int i = 1; i < n; ++i)
    if (gSFKennbuchstaben[i] == k.buchstabe && gSFHintergrundfarben[i] == k.hinten) return i;
  return 0;
}
// The grid row of a Windows user; 0 when it has none.
int Zeile_wiederfinden(const Raster& g, const QString& benutzer) {
  for (int r = 1; r < g.Rows(); ++r)
    if (!benutzer.isEmpty() && g.TextMatrix(r, kBenutzerspalte).toLower() == benutzer.toLower()) return r;
  return 0;
}

void Zellen_merken(const Raster& g, int zeile, int erster, int letzter) {
  for (int d = erster; d <= letzter; ++d)
    mVorher.push_back({zeile, d, g.TextMatrix(zeile, d), g.CellForeColor(zeile, d), g.CellBackColor(zeile, d)});
}
// Puts the cells of an entry that could not be saved back as they were.
void Zellen_zurücksetzen(Raster& g) {
  for (auto it = mVorher.rbegin(); it != mVorher.rend(); ++it) {
    if (it->zeile >= g.Rows()) continue;
    g.setTextMatrix(it->zeile, it->tag, it->text);
    g.setCellForeColor(it->zeile, it->tag, it->vorne);
    g.setCellBackColor(it->zeile, it->tag, it->hinten);
  }
  mVorher.clear();
}

// The entry check, and after the past-period question a second look for another
// workstation's change: the question may have stood open for minutes. After a reload
// the entry follows its employee and its button and is checked again on the month as
// it now is. `index` becomes the button's number in the reloaded table.
bool Eintrag_prüfen(int& index) {
  Raster& g = *monatsraster();
  const int zeile = g.Row();
  const bool gültig = zeile >= 0 && zeile < g.Rows();
  const QString benutzer = gültig ? g.TextMatrix(zeile, kBenutzerspalte) : QString();
  const QString name = gültig ? g.TextMatrix(zeile, 0) : QString();
  const int links = g.SelLinksSpalte(), rechts = g.SelRechtsSpalte();
  const Knopfkennung knopf = Kennung(index);

  mFrageGestellt = false;
  if (!Plausibilitätsprüfung(index)) return false;
  if (!mFrageGestellt) return true;
  mFrageGestellt = false;
  if (!CheckErfassungsdaten()) return true;

  const int neueZeile = Zeile_wiederfinden(g, benutzer);
  if (neueZeile == 0) {
    Meldung(Eintrag_verworfen_Meldung_Mitarbeiter(name));
    Markierung_aufheben();
    return false;
  }
  const int neuerKnopf = Knopf_wiederfinden(knopf);
  if (neuerKnopf == 0) {
    Meldung(Eintrag_verworfen_Meldung_Schaltfläche(knopf.beschriftung));
    Markierung_aufheben();
    return false;
  }
  g.setRedraw(false);
  g.setCol(links);
  g.setRow(neueZeile);
  g.setColSel(rechts);
  g.setRowSel(neueZeile);
  index = neuerKnopf;
  return Plausibilitätsprüfung(index);
}

// Enters the button Index into the marked days of one row (the marking checked and
// narrowed before): the grid cells, the month file's line, the logbook line and the
// clearing of the days' comments.
void Zeile_eintragen(frmVelkora& f, Raster& g, int Index) {
  const int n = Schaltflächen_Anzahl();
  const bool markieren = Index == n + 1;
  const bool löschen = Index == n;
  const int zeile = g.Row();
  const int erster = gemerkteMarkierung().links, letzter = gemerkteMarkierung().rechts;

  if (löschen && Setting(12) == 0 && !gLogbuchPuffern) {
    bool eintrag = false;
    for (int d = erster; d <= letzter; ++d) {
      const QString t = g.TextMatrix(zeile, d);
      if (!t.isEmpty() && t != kArbeitsfrei) eintrag = true;
    }
    if (!eintrag) {
      Meldung(QStringLiteral("Arbeitsfreie Tage können nur gelöscht werden, indem Sie auf den Eintrag doppelklicken"));
      return;
    }
  }

  bool geändert = false;
  SaveForUndo(1, QString());
  if (!gLogbuchPuffern) mVorher.clear();
  Zellen_merken(g, zeile, erster, letzter);
  // The row before the change: the save lays only the days that differ over the
  // employee's newest row in the file.
  const QString zeileVorher = Tabellenzeilendaten(zeile);

  for (int d = erster; d <= letzter; ++d) {
    const QString text = g.TextMatrix(zeile, d);
    const bool arbeitstag = Arbeitstag(d);
    if (markieren) {
      if (arbeitstag && (text.isEmpty() || gLogbuchPuffern)) {
        g.setCellForeColor(zeile, d, Farbe(2));
        g.setCellBackColor(zeile, d, Farbe(2));
        g.setTextMatrix(zeile, d, kArbeitsfrei);
        geändert = geändert || text != kArbeitsfrei;
      } else if (text == kArbeitsfrei) {
        Farbwert hinten = Farbe(1);
        if (CheckWochenende(d)) hinten = Farbe(2);
        if (CheckFeiertag(d)) hinten = Farbe(3);
        g.setCellBackColor(zeile, d, hinten);
        g.setTextMatrix(zeile, d, QString());
        geändert = true;
      }
      continue;
    }
    if ((text != kArbeitsfrei && arbeitstag) || Setting(12) == 1) {
      // The erase button changes the record only where the cell held something.
      if (löschen ? !text.isEmpty()
                  : text != gSFKennbuchstaben[Index] || g.CellBackColor(zeile, d) != gSFHintergrundfarben[Index])
        geändert = true;
      g.setCellForeColor(zeile, d, gSFTextfarben[Index]);
      g.setCellBackColor(zeile, d, gSFHintergrundfarben[Index]);
      g.setTextMatrix(zeile, d, löschen ? QString() : gSFKennbuchstaben[Index]);
    } else if (text != kArbeitsfrei) {
      if (!text.isEmpty()) geändert = true;
      g.setTextMatrix(zeile, d, QString());
      g.setCellBackColor(zeile, d, CheckFeiertag(d) ? Farbe(3) : Farbe(2));
    }
  }

  if (!geändert) {
    mVorher.resize(mVorher.size() - static_cast<size_t>(letzter - erster + 1));
    SaveForUndo(-1, QString());
    Markierung_aufheben();
    return;
  }

  const bool sanduhr = gLangsamesNetz && !gLogbuchPuffern;
  if (sanduhr) Sanduhr_ein();
  const QString benutzer = g.TextMatrix(zeile, kBenutzerspalte);
  if (!Datensatz_speichern(Tabellenzeilendaten(zeile), zeileVorher)) {
    // The grid must not show what the file does not hold.
    Zellen_zurücksetzen(g);
    SaveForUndo(-1, QString());
    if (sanduhr) Sanduhr_aus();
    Markierung_aufheben();
    return;
  }
  if (!gLogbuchPuffern) mVorher.clear();

  QString logtext;
  if (!markieren) {
    const QString monat = gMonatsschlüssel.mid(2, 2) + gMonatsschlüssel.left(2);
    logtext = benutzer + u'|' + (löschen ? QStringLiteral("Löschen") : gSFTexte[Index]) + u'|' + zweistellig(erster) +
              monat + u'|' + zweistellig(letzter) + monat;
    Logbuch_ergänzen(1, logtext);
  }
  SaveForUndo(1, logtext);
  SaveForUndo(2, QString());

  bool kommentar = false;
  for (int d = erster; d <= letzter; ++d) {
    if (!gKommentarMarken.text(zeile, d).isEmpty()) kommentar = true;
    gKommentarMarken.setzen(zeile, d, QString());
    g.setCellFontBold(zeile, d, false);
  }
  if (kommentar) {
    Datensatz_speichern(Kommentarzeile(benutzer, erster, letzter, {}));
    SaveForUndo(2, QString());
    if (!gLogbuchPuffern) SaveForUndo(5, QString());
  } else {
    SaveForUndo(-1, QString());
  }
  if (sanduhr) Sanduhr_aus();

  if (löschen) {
    if (Setting(12) == 1)
      for (int d = erster; d <= letzter; ++d) {
        if (CheckWochenende(d)) g.setCellBackColor(zeile, d, Farbe(2));
        if (CheckFeiertag(d)) g.setCellBackColor(zeile, d, Farbe(3));
      }
    if (Setting(9) == 0 && gHeuteText.left(4) == gMonatsschlüssel && gHeute.isValid()) {
      const int heute = gHeute.day();
      const Farbwert hinten = g.CellBackColor(zeile, heute).value_or(0);
      if (g.TextMatrix(zeile, heute).isEmpty() && (hinten == Farbe(1) || hinten == 0))
        g.setCellBackColor(zeile, heute, Farbe(8));
    }
    if (gBenutzerwerte[22] > 1 && Highlight_Zelle() > 0) Highlight_On(Highlight_Zelle() / 32, Highlight_Zelle() % 32);
  }

  if (gBenutzerwerte[25] == 1 && !gLogbuchPuffern) {
    g.setHighLight(0);
    g.setRedraw(true);
    f.msgFlexGrid->viewport()->update();
    Daten_anzeigen(true);
    return;
  }
  Markierung_aufheben();
}

// Holds gLogbuchPuffern for a run over several rows and lets go of it on every way out.
struct Zurückhalten {
  Zurückhalten() { gLogbuchPuffern = true; }
  ~Zurückhalten() {
    gLogbuchPuffern = false;
    mVergangenheitAbgelehnt = false;
    mVorher.clear();
  }
};

}  // namespace

QString Eintrag_verworfen_Meldung_Mitarbeiter(const QString& name) {
  return QStringLiteral("Die Daten wurden inzwischen an einem anderen Arbeitsplatz geändert: Der Mitarbeiter '") +
         name +
         QStringLiteral(
             "' ist in der Anzeige nicht mehr vorhanden.\r\rEs wurde nichts eingetragen. Bitte prüfen "
             "Sie die Anzeige und wiederholen Sie den Eintrag.");
}

QString Eintrag_verworfen_Meldung_Schaltfläche(const QString& beschriftung) {
  return QStringLiteral("Die Daten wurden inzwischen an einem anderen Arbeitsplatz geändert: Die Schaltfläche '") +
         beschriftung +
         QStringLiteral(
             "' ist nicht mehr vorhanden.\r\rEs wurde nichts eingetragen. Bitte prüfen Sie die "
             "Anzeige und wiederholen Sie den Eintrag.");
}

bool Markierungshinweis_gezeigt() { return mMarkierungshinweis; }
bool Vergangenheit_bestätigt() { return mVergangenheitBestätigt; }

void cmdAuswahl_Click(int Index) {
  Prozedur(QStringLiteral("frmVelkora - cmdAuswahl_Click"), [&] {
    Raster* g = monatsraster();
    if (!g || gRückblick) return;
    Knopfnummer_prüfen(Index);
    CheckErfassungsdaten();
    Zwischenablage_setzen(SFHex(Index));
    g->setRedraw(false);
    if (gBenutzerstufe >= 1 && g->Row() != g->RowSel() && Markierung_sichtbar() && Setting(44) == 0)
      Tabellenzeilen_ändern(Index);
    else
      Tabellenzeile_ändern(Index);
    g->setRedraw(true);
  });
}

void Tabellenzeile_ändern(int Index) {
  Prozedur(QStringLiteral("frmVelkora - Tabellenzeile_ändern"), [&] {
    frmVelkora* f = frmVelkora::instanz();
    Raster* g = monatsraster();
    // A look at a backup takes no entry, whichever way it comes (buttons, the
    // non-working-day mark, a paste, an undo).
    if (!g || gRückblick) return;
    Knopfnummer_prüfen(Index);
    const int n = Schaltflächen_Anzahl();
    if (!gLogbuchPuffern) {
      if (!Mitarbeiter_erfasst()) return;
      if (Index != n + 1 && gSFNurAdmins[Index] == 1 && gBenutzerstufe == 0) {
        Meldung(QStringLiteral("Diese Schaltfläche ist folgenden Administratoren vorbehalten: ") + ShowAdmins(true));
        return;
      }
      if (!Markierung_sichtbar()) {
        if (Setting(4) == 0) {
          if (!mMarkierungshinweis) {
            Meldung(
                QStringLiteral("Bitte markieren Sie mit der Maus den Zeitraum für den Sie Eintragungen vornehmen "
                               "möchten und betätigen Sie die Schaltfläche dann erneut."));
            mMarkierungshinweis = true;
          }
          return;
        }
        f->Tag = QString::number(Index);
        frmEingabe_zeigen(f);
        if (f->Tag.isEmpty()) return;
        CheckErfassungsdaten();
        g->setRedraw(false);
      }
    }
    int index = Index;
    if (!Eintrag_prüfen(index)) return;
    Zeile_eintragen(*f, *g, index);
  });
}

void Tabellenzeilen_ändern(int Index) {
  Prozedur(QStringLiteral("frmVelkora - Tabellenzeilen_ändern"), [&] {
    Raster* g = monatsraster();
    if (!g || gRückblick) return;
    Knopfnummer_prüfen(Index);
    Markierung_merken();
    const Gemerkte_Markierung m = gemerkteMarkierung();
    std::vector<int> zeilen;
    for (int r = m.oben; r <= m.unten; ++r) zeilen.push_back(r);

    // The past-period question comes before anything is changed or held back, once for
    // the run, so that no row's line waits on it; then the month is looked at again.
    if (!mVergangenheitBestätigt && Setting(45) < 1 && Vergangenheit_erlaubt()) {
      bool vergangen = false;
      for (int r : zeilen) {
        int erster = 0, letzter = 0;
        if (!Überschriftszeile(*g, r) && Bereich_eingrenzen(*g, r, Index, m.links, m.rechts, erster, letzter) &&
            Vergangen(erster))
          vergangen = true;
      }
      if (vergangen) {
        if (!Vergangenheit_fragen()) {
          mVergangenheitAbgelehnt = true;
        } else {
          QStringList benutzer, namen;
          for (int r : zeilen)
            if (!Überschriftszeile(*g, r)) {
              benutzer << g->TextMatrix(r, kBenutzerspalte);
              namen << g->TextMatrix(r, 0);
            }
          const Knopfkennung knopf = Kennung(Index);
          if (CheckErfassungsdaten()) {
            zeilen.clear();
            for (qsizetype i = 0; i < benutzer.size(); ++i) {
              const int r = Zeile_wiederfinden(*g, benutzer[i]);
              if (r == 0) {
                Meldung(Eintrag_verworfen_Meldung_Mitarbeiter(namen[i]));
                Markierung_aufheben();
                return;
              }
              zeilen.push_back(r);
            }
            Index = Knopf_wiederfinden(knopf);
            if (Index == 0) {
              Meldung(Eintrag_verworfen_Meldung_Schaltfläche(knopf.beschriftung));
              Markierung_aufheben();
              return;
            }
          }
        }
      }
    }

    {
      Zurückhalten zurückhalten;
      if (gLangsamesNetz) Sanduhr_ein();
      SaveForUndo(3, QString());
      for (int r : zeilen) {
        if (r >= g->Rows()) continue;
        g->setCol(m.links);
        g->setRow(r);
        g->setColSel(m.rechts);
        g->setRowSel(r);
        if (!Überschriftszeile(*g, r)) Tabellenzeile_ändern(Index);
      }
      if (Zeilen_zurückgehalten() && !Datensatz_speichern(QString())) {
        // Nothing of the run reached the file: the grid shows the file again and the
        // logbook does not tell of entries that were not made.
        Zellen_zurücksetzen(*g);
        gLogbuchPuffer = QStringList{kKeineDaten};
      }
      if (!(gLogbuchPuffer.size() == 1 && gLogbuchPuffer[0] == kKeineDaten)) Logbuch_ergänzen(1, QString());
    }
    SaveForUndo(4, QString());
    Sanduhr_aus();
    Markierung_aufheben();
    if (gBenutzerwerte[25] == 1) Daten_anzeigen(false);
  });
}

QString Tabellenzeilendaten(int zeile) {
  return Prozedur(QStringLiteral("frmVelkora - Tabellenzeilendaten"), [&]() -> QString {
    const Raster* g = monatsraster();
    if (!g) return {};
    const int n = Schaltflächen_Anzahl();
    QString codes;
    for (int d = 1; d <= kLetzterTag; ++d) {
      const QString text = d < g->Cols() ? g->TextMatrix(zeile, d) : QString();
      if (text.isEmpty()) {
        codes += u' ';
        continue;
      }
      if (text == kArbeitsfrei) {
        codes += SFHex(n + 1);
        continue;
      }
      const std::optional<Farbwert> hinten = g->CellBackColor(zeile, d);
      int knopf = 0;
      for (int i = 1; i <= n && knopf == 0; ++i)
        if (gSFKennbuchstaben[i] == text && hinten == gSFHintergrundfarben[i]) knopf = i;
      // A cell whose colour no longer fits keeps the entry of the first button with
      // its letter rather than losing it.
      for (int i = 1; i < n && knopf == 0; ++i)
        if (gSFKennbuchstaben[i] == text) knopf = i;
      codes += knopf == 0 ? QStringLiteral(" ") : SFHex(knopf);
    }
    return Eintragszeile(g->TextMatrix(zeile, kBenutzerspalte), codes);
  });
}

bool Plausibilitätsprüfung(int Index) {
  return Prozedur(QStringLiteral("frmVelkora - Plausibilitätsprüfung"), [&]() -> bool {
    Raster* g = monatsraster();
    if (!g) return false;
    const QString meldung = Mehrzeilige_Markierung_Meldung();
    if (!meldung.isEmpty()) {
      Meldung(meldung);
      return false;
    }
    const int zeile = g->Row();
    if (zeile >= g->FixedRows() && !g->RowIsVisible(zeile)) g->setTopRow(zeile);
    if (zeile < g->FixedRows() || Überschriftszeile(*g, zeile)) {
      Meldung(QStringLiteral("Überschriftzeile. In dieser Zeile ist kein Eintrag möglich."));
      return false;
    }
    const QString admins = ShowAdmins(true);
    if (gBenutzerstufe == 0 && (Setting(10) == 1 || Setting(28) == 1)) {
      Meldung(QStringLiteral("Einträge können nur von folgenden Administratoren vorgenommen werden: ") + admins);
      return false;
    }
    if (gBenutzerstufe == 0 && g->TextMatrix(zeile, kBenutzerspalte).toLower() != gBenutzername.toLower()) {
      if (gIstMitarbeiter)
        Meldung(QStringLiteral("Sie dürfen nur für sich selbst Eintragungen vornehmen.\r\rEinträge für andere "
                               "Mitarbeiter können nur von folgenden Administratoren vorgenommen werden: ") +
                admins);
      else
        Meldung(QStringLiteral("Sie sind mit Ihrem Windows-Benutzernamen '") + gBenutzername +
                QStringLiteral("' nicht als Mitarbeiter im Velkora eingetragen.\r\rEinträge können nur von folgenden "
                               "Administratoren vorgenommen werden: ") +
                admins);
      return false;
    }

    Markierung_merken();
    Gemerkte_Markierung& m = gemerkteMarkierung();
    int erster = 0, letzter = 0;
    if (!Bereich_eingrenzen(*g, zeile, Index, m.links, m.rechts, erster, letzter)) {
      if (m.links != 0 || m.rechts != 0) Markierung_aufheben();
      return false;
    }
    m.links = erster;
    m.rechts = letzter;

    if (Setting(45) >= 1) mVergangenheitBestätigt = true;
    if (Vergangen(erster)) {
      if (!Vergangenheit_erlaubt()) {
        Meldung(QStringLiteral("Eintrag nicht möglich. Änderungen für in der Vergangenheit liegende Zeiträume sind "
                               "folgenden Administratoren vorbehalten: ") +
                admins);
        return false;
      }
      if (mVergangenheitAbgelehnt) return false;
      if (!mVergangenheitBestätigt) {
        mFrageGestellt = true;
        if (!Vergangenheit_fragen()) return false;
      }
    }
    return true;
  });
}
