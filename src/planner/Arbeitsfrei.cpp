#include "planner/Arbeitsfrei.h"

#include <optional>

#include "planner/Aenderungspruefung.h"
#include "planner/Eingabe.h"
#include "planner/Markierung.h"
#include "planner/Zwischenablage.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Monatsdatei.h"
#include "widgets/Rasteransicht.h"

namespace {

QString zweistellig(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }

// Whether a part of the exceptions line lists the day: entries are two digits and "|"
// each, after a prefix without digits.
qsizetype Eintrag_suchen(const QString& teil, const QString& eintrag, qsizetype ab = 0) {
  for (qsizetype p = teil.indexOf(eintrag, ab); p >= 0; p = teil.indexOf(eintrag, p + 1))
    if (p == 0 || !teil[p - 1].isDigit()) return p;
  return -1;
}

}  // namespace

QString Ausnahmezeile_mit_Tag(const QString& zeile, int art, int tag, bool hinzufügen) {
  const qsizetype p = zeile.indexOf(u':');
  QString wochenende = p < 0 ? zeile : zeile.left(p);
  QString feiertage = p < 0 ? QStringLiteral("NoEx") : zeile.mid(p + 1);
  QString& teil = art == 1 ? wochenende : feiertage;
  const QString eintrag = zweistellig(tag) + u'|';
  if (hinzufügen) {
    if (Eintrag_suchen(teil, eintrag) < 0) teil += eintrag;
  } else {
    // Every listing of the day goes, so the day is not marked afterwards.
    for (qsizetype q = Eintrag_suchen(teil, eintrag); q >= 0; q = Eintrag_suchen(teil, eintrag, q)) teil.remove(q, 3);
  }
  return wochenende + u':' + feiertage;
}

void Arbeitsfrei_kennzeichnen() {
  Prozedur(QStringLiteral("frmVelkora - Arbeitsfrei_kennzeichnen"), [&] {
    frmVelkora* f = frmVelkora::instanz();
    if (!f) return;
    Raster& g = f->msgFlexGrid->raster();
    int zeile = g.MouseRow();
    const int spalte = g.MouseCol();
    if (zeile < 1 || zeile >= g.Rows() || spalte < 1 || spalte > 31) return;
    // After a reload the mark goes to the row that was double-clicked, wherever it
    // stands now.
    const QString schlüssel = Zeilenschlüssel(zeile);
    if (CheckErfassungsdaten()) {
      zeile = 0;
      for (int r = 1; r < g.Rows() && zeile == 0; ++r)
        if (Zeilenschlüssel(r) == schlüssel) zeile = r;
      if (zeile == 0) return;
    }
    g.setRedraw(false);
    g.setCol(spalte);
    g.setRow(zeile);
    g.setHighLight(1);
    const int markierung = Schaltflächen_Anzahl() + 1;
    Tabellenzeile_ändern(markierung);
    g.setRedraw(true);
    // A following paste sets marks.
    Zwischenablage_setzen(SFHex(markierung));
  });
}

void Wofeiausn_bearbeiten(int art, int spalte) {
  Prozedur(QStringLiteral("frmVelkora - Wofeiausn_bearbeiten"), [&] {
    frmVelkora* f = frmVelkora::instanz();
    if (!f || gBenutzerstufe < 2) return;
    const Raster& g = f->msgFlexGrid->raster();
    if (spalte < 1 || spalte > 31 || spalte >= g.Cols() || g.TextMatrix(0, spalte).isEmpty()) return;
    if (art != 1 && art != 2) return;

    const QString aktuell = gHeuteText.left(4);
    if (gMonatsschlüssel < aktuell && gMonateSeitEinrichtung > 1 &&
        Erfassungsdaten_zu_Monaten_vorhanden(1, 11 + gHeute.month())) {
      Meldung(QStringLiteral("Diese Funktion ist für vergangene Monate nicht mehr zulässig."));
      return;
    }
    // The month as it is now: another administrator may have changed its days.
    CheckErfassungsdaten();
    const bool feiertag = CheckFeiertag(spalte), wochenende = CheckWochenende(spalte);
    if (art == 1 && feiertag && !wochenende) {
      Meldung(
          QStringLiteral("Dieser Tag ist ein Feiertag und kann nicht direkt in einen Arbeitstag umgewandelt werden."));
      return;
    }
    if (art == 2 && wochenende && !feiertag) {
      Meldung(QStringLiteral(
          "Dieser Tag ist ein arbeitsfreier Tag und kann nicht direkt in einen Feiertag umgewandelt werden."));
      return;
    }

    const qsizetype p = gMonatsAusnahmen.indexOf(u':');
    const QString wochenendteil = p < 0 ? gMonatsAusnahmen : gMonatsAusnahmen.left(p);
    const QString tag = gMonatsschlüssel + zweistellig(spalte);
    const QString datum = FormatDatumSA(tag);
    const QString eintrag = zweistellig(spalte) + u'|';
    const QString titel = QStringLiteral("Velkora");
    bool hinzufügen = false;
    QString logtext;
    if (art == 1) {
      if (wochenende) {
        if (Eintrag_suchen(wochenendteil, eintrag) < 0) {
          Meldung(
              QStringLiteral("Dieser Wochenendtag kann nur über das Menü 'Bearbeiten - Wochenende' bearbeitet "
                             "werden."));
          return;
        }
        if (!Frage(QStringLiteral("Möchten Sie für den ") + datum +
                       QStringLiteral(" die Kennzeichnung als arbeitsfreien Tag aufheben?"),
                   titel))
          return;
        logtext = QStringLiteral("Arbeitsfreien Tag ") + datum + QStringLiteral(" gelöscht");
      } else {
        if (!Frage(QStringLiteral("Möchten Sie den ") + datum + QStringLiteral(" als arbeitsfreien Tag kennzeichnen?"),
                   titel))
          return;
        hinzufügen = true;
        logtext = QStringLiteral("Arbeitsfreien Tag ") + datum + QStringLiteral(" hinzugefügt");
      }
    } else {
      if (feiertag) {
        bool regulär = false;
        for (qsizetype i = 1; i < gFeiertagsdaten.size(); ++i)
          if (gFeiertagsdaten[i].left(6) == tag) regulär = true;
        if (regulär) {
          Meldung(QStringLiteral("Dieser Feiertag kann nur über das Menü 'Bearbeiten - Feiertage' bearbeitet werden."));
          return;
        }
        if (!Frage(QStringLiteral("Möchten Sie für den ") + datum +
                       QStringLiteral(" die Kennzeichnung als Feiertag aufheben?"),
                   titel))
          return;
        logtext = QStringLiteral("Feiertag ") + datum + QStringLiteral(" gelöscht");
      } else {
        if (!Frage(QStringLiteral("Möchten Sie den ") + datum + QStringLiteral(" als Feiertag kennzeichnen?"), titel))
          return;
        hinzufügen = true;
        logtext = QStringLiteral("Feiertag ") + datum + QStringLiteral(" hinzugefügt");
      }
    }

    // The exceptions line is changed on the newest version of the month as it is inside
    // the month lock, keeping that version's name and every other line, so that a
    // line another workstation appended meanwhile is kept. A month without a file
    // gets one.
    const QString schlüssel = gMonatsschlüssel;
    std::optional<QString> neu;
    const bool geschrieben = Monatsdatei_umschreiben(
        schlüssel, false,
        [&](const std::optional<Monatsversion>& version, const QStringList& zeilen) -> std::optional<QStringList> {
          QStringList z = zeilen;
          if (!version) {
            z = QStringList{u'[' + schlüssel + u']', gKennzeile, QStringLiteral("NoEx:NoEx")};
          } else if (z.size() < 3 || z[0].compare(u'[' + schlüssel + u']', Qt::CaseInsensitive) != 0) {
            // A damaged file is left for the month reader's repair.
            return std::nullopt;
          }
          z[2] = Ausnahmezeile_mit_Tag(z[2], art, spalte, hinzufügen);
          neu = z[2];
          return z;
        });
    // Logged only when the file holds the change (a refused lock has been reported).
    if (geschrieben && neu) {
      gMonatsAusnahmen = *neu;
      Logbuch_ergänzen(2, logtext);
    }
    f->Daten_anzeigen(false);
  });
}
