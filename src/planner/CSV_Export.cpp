#include "planner/CSV_Export.h"

#include <QWidget>

#include "planner/frmVelkora.h"
#include "platform/Dialoge.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Raster.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "startup/Zeilencodierung.h"
#include "store/Velkoraini.h"
#include "widgets/Rasteransicht.h"

namespace {
QString Feld(QString text, const QString& trenner) {
  if (text.contains(trenner)) text.replace(trenner, trenner == u";" ? QStringLiteral(",") : QStringLiteral(";"));
  text.replace(u'\r', u' ').replace(u'\n', u' ');
  return text;
}
}  // namespace

QStringList CSV_Zeilen(const QString& titel, const Raster& grid, const Raster* tagessummen, const QString& trenner) {
  QStringList zeilen;
  QStringList kopf{Feld(titel, trenner)};
  for (int c = 1; c < grid.Cols(); ++c)
    if (grid.ColWidth(c) > 0) kopf << QString();
  zeilen << kopf.join(trenner);
  for (int r = 0; r < grid.Rows(); ++r) {
    QStringList felder;
    for (int c = 0; c < grid.Cols(); ++c) {
      if (grid.ColWidth(c) <= 0) continue;
      QString text = grid.TextMatrix(r, c);
      if (r == 0) {
        if (c == 0 && text == u"Name") text.clear();
        text.remove(QStringLiteral("- "));
      }
      felder << Feld(text, trenner);
    }
    zeilen << felder.join(trenner);
  }
  if (tagessummen) {
    for (int r = 0; r < tagessummen->Rows(); ++r) {
      if (tagessummen->RowHeight(r) < 1) continue;
      QStringList felder;
      for (int c = 0; c < tagessummen->Cols(); ++c) felder << Feld(tagessummen->TextMatrix(r, c), trenner);
      zeilen << felder.join(trenner);
    }
  }
  return zeilen;
}

QString CSV_Trennzeichen() {
  const QString t = Gebietsschema_Info(3);
  return t.isEmpty() ? QStringLiteral(";") : t;
}

void CSV_Export(QWidget& fenster, const QString& titel) {
  Prozedur(QStringLiteral("modVelkora - CSV_Export"), [&] {
    auto* grid = fenster.findChild<Rasteransicht*>(QStringLiteral("msgFlexGrid"));
    if (!grid) return;
    const dialoge::Antwort a = dialoge::zeigen(
        {dialoge::Art::DateiSpeichern, QString(), QStringLiteral("Velkora - CSV-Export"),
         gExportordner + Ersetzen(titel, QStringLiteral("/"), QStringLiteral("-")) + QStringLiteral(".csv"),
         QStringLiteral("CSV (Trennzeichen-getrennt) (*.csv)")});
    if (a.wert.isEmpty()) return;
    const QString pfad = a.wert;
    gExportordner = ParentDir(pfad);
    Sanduhr_Warten_ein();
    const Raster* summen = nullptr;
    if (auto* f = dynamic_cast<frmVelkora*>(&fenster); f && !f->msgFlexTaSu->isHidden())
      summen = &f->msgFlexTaSu->raster();
    const QStringList zeilen = CSV_Zeilen(titel, grid->raster(), summen, CSV_Trennzeichen());
    if (!Alle_Zeilen_schreiben_wie(pfad, zeilen, {.art = Zeilenart::Klartext, .fehlerIgnorieren = true})) {
      Meldung(QStringLiteral("Die Datei ") + ShowPfad(pfad, 100) +
              QStringLiteral(" konnte nicht geöffnet werden. Datenexport fehlgeschlagen."));
      return;
    }
    Meldung(QStringLiteral("Daten wurden erfolgreich nach ") + ShowPfad(ParentDir(pfad), 100) +
            QStringLiteral(" exportiert"));
  });
}
