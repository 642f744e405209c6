#include "launch/Programmsperre.h"

#include <sys/stat.h>

#include <QFile>
#include <QTime>

#include "platform/Laufzeitfehler.h"
#include "platform/Programmende.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateisperre.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "startup/Zeilencodierung.h"

namespace {

const QString kSperrdatei = QStringLiteral("Lockfile.txt");

QString Zweistellig(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }

}  // namespace

void Sperrdatei_schreiben(const QString& datei, const QString& protokoll) {
  const QString pfad = gDatenordner + kSperrdatei;
  if (Datei_vorhanden(pfad)) return;
  try {
    const QTime jetzt = uhr::zeit();
    const QStringList zeilen{
        QStringLiteral("Wegen Wartungsarbeiten Programmaufruf zurzeit nicht möglich|") + gBenutzername,
        datei.isEmpty() ? QStringLiteral("NoFile ") + protokoll : datei,
        FormatDatumDA(gHeute.isValid() ? gHeute : uhr::heute()) + u'|' + Zweistellig(jetzt.hour()) + u':' +
            Zweistellig(jetzt.minute())};
    Alle_Zeilen_schreiben_wie(pfad, zeilen, {.art = Zeilenart::Klartext, .fehlerIgnorieren = true});
  } catch (const ProgrammBeendet&) {
    throw;
  } catch (...) {
    FVerwerfen();
  }
}

void Sperrdatei_prüfen() {
  const QString pfad = gDatenordner + kSperrdatei;
  try {
    if (gDatenordner.isEmpty()) return;
    // One look at the path, before every save: no lock file, the usual case, bars
    // nobody. A link or folder in the lock file's place was set by no one: it bars
    // nobody either.
    struct stat st {};
    if (::lstat(QFile::encodeName(pfad).constData(), &st) != 0) return;
    if (!S_ISREG(st.st_mode) && (Unechte_Sperre_entfernen(pfad) || !Datei_vorhanden(pfad))) return;
    QString zeile1;
    if (!FOpen(pfad, QStringLiteral("Input"), QStringLiteral("IgnoreErrors"))) return;
    if (!FEOF()) zeile1 = LineInPlain();
    if (!FEOF()) {
      gStörungsmeldung = LineInPlain();
      if (!FEOF()) gSperrzeit = LineInPlain();
    }
    FClose();

    const qsizetype trenner = zeile1.indexOf(u'|');
    if (trenner < 0) {
      // Not a lock the settings dialog or the repair wrote: it bars nobody.
      Löschen(pfad);
      return;
    }
    gSperrmeldung = zeile1.left(trenner);
    QString inhaber = zeile1.mid(trenner + 1);
    QString anzeigename;
    if (const qsizetype i = inhaber.indexOf(u'|'); i >= 0) {
      anzeigename = inhaber.mid(i + 1);
      inhaber = inhaber.left(i);
    }
    if (!gStörungsmeldung.isEmpty()) return;
    if (inhaber.toLower() != gBenutzername.toLower()) {
      QString sperre = gSperrmeldung;
      if (!sperre.endsWith(u'.')) sperre += u'.';
      Programmabbruch(QString(),
                      QStringLiteral("Programmaufruf gesperrt:\r\r") + sperre +
                          QStringLiteral("\r\rDiese Sperre kann nur von Benutzer '") + inhaber + u'\'' +
                          (anzeigename.isEmpty() ? QString() : QStringLiteral(" (") + anzeigename + u')') +
                          QStringLiteral(" aufgehoben werden"),
                      QStringLiteral("NoLog"));
    }
    if (gStörungAnzeigen)
      Meldung(QStringLiteral("Achtung: Sie haben den Programmaufruf für andere Benutzer gesperrt. Diese erhalten beim "
                             "Programmaufruf den Hinweis:\r\r") +
              gSperrmeldung);
  } catch (const ProgrammBeendet&) {
    throw;
  } catch (...) {
    FVerwerfen();
  }
}
