#include "config/Schaltflaechenverschiebung.h"

#include <QList>
#include <QStringList>
#include <optional>

#include "config/Codeabbildung.h"
#include "launch/Wartungssperre.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Monatsdatei.h"
#include "store/Sicherung.h"
#include "store/Stammdatenstand.h"
#include "store/Velkoraini.h"

namespace {

// The number a box holds, 0 when its text is not a number of digits only.
int Nummer(const QString& text) {
  for (const QChar c : text)
    if (c < u'0' || c > u'9') return 0;
  bool ok = false;
  const int n = text.toInt(&ok);
  return ok ? n : 0;
}

}  // namespace

QString Tagessummen_verschieben(const QString& s, int von, int nach) {
  if (von < nach) return s.left(von - 1) + s.mid(von, nach - von) + s.mid(von - 1, 1) + s.mid(nach);
  if (von > nach) return s.left(nach - 1) + s.mid(von - 1, 1) + s.mid(nach - 1, von - nach) + s.mid(von);
  return s;
}

bool Schaltflächen_verschieben(const QString& von, const QString& nach, QString& tagessummen) {
  return Prozedur(QStringLiteral("frmEinstellungen - Schaltflächen_verschieben"), [&]() -> bool {
    if (von.isEmpty() || nach.isEmpty()) return false;
    const int n = Schaltflächen_Anzahl();
    const int a = Nummer(von), b = Nummer(nach);
    if (a < 1 || a > n - 1 || b < 1 || b > n - 1 || a == b) {
      Meldung(QStringLiteral("Unzulässige Eingabe"));
      return false;
    }
    Sanduhr_Warten_ein();
    // The numbers mean the buttons of the table this workstation read: when another
    // one has written the configuration since, they may mean other buttons now.
    if (!Stammdatenstand().unverändert(false, true)) {
      Sanduhr_Warten_aus();
      return false;
    }
    // No other workstation saves while the month files are rewritten, so none writes
    // a code of the old table into a month already carried over to the new one.
    // It is let go before any message, so that the others wait no longer than needed.
    std::optional<Wartungssperre> programmsperre;
    programmsperre.emplace();
    if (!Backup_erstellen(QStringLiteral("A"))) {
      programmsperre.reset();
      Logbuch_ergänzen(2, QStringLiteral("Backup vor Verschieben von Schaltflächen konnte nicht erstellt werden"));
      Meldung(QStringLiteral("Verschieben der Schaltflächen nicht möglich, da Backup nicht erstellt werden konnte"));
      return false;
    }

    // Every month, each from its newest version read inside its lock; only the codes
    // after the key of the entry lines change.
    const Codeabbildung abbildung = Codeabbildung_Verschieben(a, b);
    Alle_Monatsdateien_umschreiben(
        [&](const std::optional<Monatsversion>&, const QStringList& zeilen) -> std::optional<QStringList> {
          QStringList neu = zeilen;
          bool geändert = false;
          for (qsizetype i = 3; i < neu.size(); ++i) {
            const QString z = Tageszeile_umschlüsseln(neu[i], abbildung);
            if (z == neu[i]) continue;
            neu[i] = z;
            geändert = true;
          }
          if (!geändert) return std::nullopt;
          return neu;
        });
    Erfassungsdaten_Cache_verwerfen();

    // Letter, caption, colours and flags of a button move together.
    // The buttons in between close up by one.
    gSFTexte.move(a, b);
    gSFTextfarben.move(a, b);
    gSFHintergrundfarben.move(a, b);
    gSFKennbuchstaben.move(a, b);
    gSFNurAdmins.move(a, b);
    gSFVerbergen.move(a, b);
    if (gSFVerbergenText != u"void") {
      QString ziffern;
      for (int k = 1; k <= n; ++k) ziffern += QString::number(gSFVerbergen[k]);
      gSFVerbergenText = ziffern;
    }
    Konfigdaten_schreiben();
    Konfigdaten_lesen();
    programmsperre.reset();

    tagessummen = Tagessummen_verschieben(tagessummen, a, b);
    if (gBenutzerwerte[25] == 1) {
      gTaSum[1] = tagessummen;
      gBenutzerwerteSumme = 0;
    }
    const QString text = QStringLiteral("Schaltfläche '") + QString::number(a) +
                         QStringLiteral("' an Position von Schaltfläche '") + QString::number(b) +
                         QStringLiteral("' verschoben");
    Meldung(text);
    Logbuch_ergänzen(2, text);
    return true;
  });
}
