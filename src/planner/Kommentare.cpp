#include "planner/Kommentare.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <optional>
#include <vector>

#include "planner/Aenderungspruefung.h"
#include "planner/Arbeitsfrei.h"
#include "planner/Eingabe.h"
#include "planner/Markierung.h"
#include "planner/Monatsanzeige.h"
#include "planner/Monatsspeicher.h"
#include "planner/Undo.h"
#include "planner/frmKommentar.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Monatszeilen.h"
#include "widgets/Rasteransicht.h"

namespace {

constexpr int kBenutzerspalte = 32;
// How long the pointer rests on a cell before its box appears, in milliseconds.
constexpr int kVerweilzeit = 400;
// The box's margin around its text and its widest text, in pixels.
constexpr int kRand = 4;
constexpr int kHöchstbreite = 320;

QString zweistellig(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }

// The rest before the comment box appears: the cell it waits for and the text.
class Kommentarverzögerung : public QTimer {
 public:
  explicit Kommentarverzögerung(QWidget* fenster) : QTimer(fenster) {
    setObjectName(QStringLiteral("tmrKommentar"));
    setSingleShot(true);
    setInterval(kVerweilzeit);
  }
  QString text;
  int spalte = 0;
  int zeile = 0;
};

// Sizes the box to its text and places it beside the cell, inside the grid's area: in
// the main window below the cell (the row under the pointer stays readable), in other
// windows to its right.
void Box_zeigen(QWidget* fenster, Rasteransicht* grid, QFrame* box, QLabel* label, const QString& text, int spalte,
                int zeile) {
  QWidget* eltern = box->parentWidget();
  if (!eltern) return;
  const QRect rasterfläche(grid->mapTo(eltern, QPoint(0, 0)), grid->size());
  const int breiteste = std::max(std::min(kHöchstbreite, rasterfläche.width() - 2 * kRand - 2), 20);
  label->setText(text);
  const QRect textfeld =
      QFontMetrics(label->font()).boundingRect(QRect(0, 0, breiteste, 10000), Qt::TextWordWrap, text);
  const QSize größe(textfeld.width() + 2 * kRand + 2, textfeld.height() + 2 * kRand + 2);
  label->setGeometry(kRand + 1, kRand + 1, textfeld.width(), textfeld.height());
  box->resize(größe);

  QRect zelle = grid->zellenRechteck(zeile, spalte);
  if (zelle.isEmpty()) zelle = QRect(0, 0, 1, 1);
  zelle.moveTopLeft(grid->viewport()->mapTo(eltern, zelle.topLeft()));
  const bool hauptfenster = fenster->objectName() == u"frmVelkora";
  QPoint ecke = hauptfenster ? QPoint(zelle.left() + zelle.width() / 2, zelle.bottom() + 3)
                             : QPoint(zelle.right() + 3, zelle.top());
  // Inside the grid's area: in other windows left of the cell when there is no room
  // on its right; moved left when it would stand out on the right, and above the cell
  // when there is no room below it.
  if (!hauptfenster && ecke.x() + größe.width() > rasterfläche.right()) ecke.setX(zelle.left() - größe.width() - 3);
  if (ecke.x() + größe.width() > rasterfläche.right()) ecke.setX(rasterfläche.right() - größe.width());
  if (ecke.y() + größe.height() > rasterfläche.bottom())
    ecke.setY(hauptfenster ? zelle.top() - größe.height() - 2 : rasterfläche.bottom() - größe.height());
  ecke.setX(std::max(ecke.x(), rasterfläche.left()));
  ecke.setY(std::max(ecke.y(), rasterfläche.top()));
  box->move(ecke);
  box->raise();
  box->show();
}

// The employee row of a Windows user; 0 when the grid has none.
int Zeile_von(const Raster& g, const QString& benutzer) {
  for (int r = 1; r < g.Rows(); ++r)
    if (!benutzer.isEmpty() && g.TextMatrix(r, kBenutzerspalte).compare(benutzer, Qt::CaseInsensitive) == 0) return r;
  return 0;
}

}  // namespace

QString Kommentar_Zeitraum(const QString& monatsschlüssel, int erster, int letzter) {
  const QString von = FormatDatumSA(monatsschlüssel + zweistellig(erster));
  if (erster == letzter) return von;
  const QString bis = FormatDatumSA(monatsschlüssel + zweistellig(letzter));
  if (gDatumstrennzeichen != u".") return von + QStringLiteral(" - ") + bis;
  return zweistellig(erster) + QStringLiteral(". - ") + bis;
}

void Kommentar_hinzufügen() {
  Prozedur(QStringLiteral("frmVelkora - Kommentar_hinzufügen"), [&] {
    frmVelkora* f = frmVelkora::instanz();
    if (!f) return;
    Raster& g = f->msgFlexGrid->raster();
    if (g.Row() != g.RowSel()) {
      Meldung(QStringLiteral("Die Markierung darf sich ") +
              (gBenutzerstufe >= 1 && Setting(44) == 0 ? QStringLiteral("bei Kommentaren ") : QString()) +
              QStringLiteral("nicht über mehr als eine Zeile erstrecken"));
      return;
    }
    // The rights of the erase button on this row and period; the marked days are
    // narrowed to the first and last that hold an entry.
    if (!Plausibilitätsprüfung(Schaltflächen_Anzahl())) return;
    const int erster = gemerkteMarkierung().links, letzter = gemerkteMarkierung().rechts;
    int zeile = g.Row();

    QString vorgabe;
    for (int d = erster; d <= letzter; ++d) {
      const QString k = gKommentarMarken.text(zeile, d);
      if (k.isEmpty()) continue;
      if (vorgabe.isEmpty()) {
        vorgabe = k;
      } else if (k != vorgabe) {
        Meldung(
            QStringLiteral("Für diesen Zeitraum sind bereits mehrere unterschiedliche Kommentare vorhanden. Sie müssen "
                           "diese Kommentare einzeln bearbeiten."));
        return;
      }
    }

    const QString name = g.TextMatrix(zeile, 0);
    const QString benutzer = g.TextMatrix(zeile, kBenutzerspalte);
    f->Tag = name + QStringLiteral("\r\rKommentar für den ") + Kommentar_Zeitraum(gMonatsschlüssel, erster, letzter) +
             u'|' + vorgabe;
    frmKommentar_zeigen(f);
    const QString antwort = f->Tag;
    if (antwort == vorgabe) return;

    // The dialog may have stood open for long: the comment goes to the month as it is
    // now, on the same employee's row wherever it stands after a reload.
    if (CheckErfassungsdaten()) {
      zeile = Zeile_von(g, benutzer);
      if (zeile == 0) {
        Meldung(Eintrag_verworfen_Meldung_Mitarbeiter(name));
        Markierung_aufheben();
        return;
      }
    }
    g.setRedraw(false);
    g.setCol(erster);
    g.setRow(zeile);
    g.setColSel(letzter);
    g.setRowSel(zeile);
    Markierung_merken();
    SaveForUndo(2, QString());

    // The cells as they were, to put back when the line cannot be saved.
    std::vector<std::pair<QString, bool>> vorher;
    for (int d = erster; d <= letzter; ++d) {
      vorher.emplace_back(gKommentarMarken.text(zeile, d), g.CellFontBold(zeile, d));
      if (!text::trim(g.TextMatrix(zeile, d)).isEmpty()) gKommentarMarken.setzen(zeile, d, antwort);
      if (Setting(6) == 0) g.setCellFontBold(zeile, d, !gKommentarMarken.text(zeile, d).isEmpty());
    }

    const bool gespeichert = Datensatz_speichern(Kommentarzeile(benutzer, erster, letzter, antwort));
    if (!gespeichert) {
      // The grid must not show what the file does not hold.
      for (int d = erster; d <= letzter; ++d) {
        gKommentarMarken.setzen(zeile, d, vorher[static_cast<size_t>(d - erster)].first);
        g.setCellFontBold(zeile, d, vorher[static_cast<size_t>(d - erster)].second);
      }
      SaveForUndo(-1, QString());
      Markierung_aufheben();
      g.setRedraw(true);
      return;
    }

    const QString monat = gMonatsschlüssel.mid(2, 2) + gMonatsschlüssel.left(2);
    const QString logtext = benutzer + QStringLiteral("|Kommentar|") + zweistellig(erster) + monat + u'|' +
                            zweistellig(letzter) + monat + u'|' +
                            (antwort.isEmpty() ? QStringLiteral("Kommentar gelöscht") : antwort);
    Logbuch_ergänzen(1, logtext);
    SaveForUndo(2, logtext);
    Markierung_aufheben();
    g.setRedraw(true);
  });
}

void Kommentar_anzeigen(QWidget* fenster, const QString& text, int spalte, int zeile) {
  Prozedur(QStringLiteral("modVelkora - Kommentar_anzeigen"), [&] {
    if (!fenster) return;
    auto* grid = fenster->findChild<Rasteransicht*>(QStringLiteral("msgFlexGrid"));
    auto* box = fenster->findChild<QFrame*>(QStringLiteral("picKommentar"));
    auto* label = fenster->findChild<QLabel*>(QStringLiteral("lblKommentar"));
    if (!grid || !box || !label) return;
    auto* warten = fenster->findChild<Kommentarverzögerung*>(QStringLiteral("tmrKommentar"));
    if (!warten) {
      warten = new Kommentarverzögerung(fenster);
      // The box belongs to a cell: scrolling the grid (wheel, scroll bar or keys)
      // takes it away, before the grid's own scroll handler runs.
      QPointer<QFrame> kasten(box);
      QPointer<Kommentarverzögerung> uhr(warten);
      grid->raster().beiScroll = [kasten, uhr, vorher = grid->raster().beiScroll] {
        if (uhr) uhr->stop();
        if (kasten) kasten->hide();
        if (vorher) vorher();
      };
      QObject::connect(warten, &QTimer::timeout, fenster, [fenster, grid, box, label, warten] {
        Prozedur(QStringLiteral("modVelkora - Kommentar_anzeigen"), [&] {
          const Raster& g = grid->raster();
          // The pointer moved on, or left the grid, while the box waited; or a dialog
          // opened meanwhile (a right click on the cell).
          if (g.MouseRow() != warten->zeile || g.MouseCol() != warten->spalte) return;
          // The main window remembers its cell in gMauszelle; the overviews only in
          // their grid's mouse cell.
          if (fenster->objectName() == u"frmVelkora" && gMauszelle != warten->zeile * 32 + warten->spalte) return;
          const QWidget* modal = QApplication::activeModalWidget();
          if ((modal && modal != fenster) || !fenster->isActiveWindow()) return;
          Box_zeigen(fenster, grid, box, label, warten->text, warten->spalte, warten->zeile);
        });
      });
    }
    warten->stop();
    const Raster& g = grid->raster();
    if (!box->isVisible() && g.MouseRow() == zeile && g.MouseCol() == spalte) {
      warten->text = text;
      warten->spalte = spalte;
      warten->zeile = zeile;
      warten->start();
      return;
    }
    Box_zeigen(fenster, grid, box, label, text, spalte, zeile);
  });
}

QString Feiertag_Text(int spalte) {
  const QString schlüssel = gMonatsschlüssel + zweistellig(spalte);
  std::optional<QString> eintrag;
  for (qsizetype i = 1; i < gFeiertagsdaten.size(); ++i)
    if (gFeiertagsdaten[i].left(6) == schlüssel) eintrag = gFeiertagsdaten[i];
  if (!eintrag) return QStringLiteral("Einmaliger Feiertag ") + FormatDatumSA(schlüssel);
  const QString name = eintrag->mid(7);
  return name.isEmpty() ? QStringLiteral("Jährlich wiederkehrender Feiertag") : name;
}

void Feiertag_anzeigen() {
  Prozedur(QStringLiteral("frmVelkora - Feiertag_anzeigen"), [&] {
    frmVelkora* f = frmVelkora::instanz();
    if (!f) return;
    const int spalte = f->msgFlexGrid->raster().MouseCol();
    Kommentar_anzeigen(f, Feiertag_Text(spalte), spalte, 0);
  });
}
