#include "store/Monatsdatei.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QSysInfo>
#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "platform/Laufzeitfehler.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsstand.h"

namespace {

struct GehalteneSperre {
  QString pfad;
  QByteArray kennung;  // what this program wrote into the lock file
  int tiefe = 0;
};

// Locks held by this program, by lock file path. The exit handler removes them when
// the process ends through exit(). A planned stop ends through _Exit
// (platform/Programmende.h) and skips it: a lock held at that moment stays until the
// other workstations find it stale (kMonatssperreVeraltet).
QHash<QString, GehalteneSperre>& Gehaltene() {
  static QHash<QString, GehalteneSperre> h;
  return h;
}

QByteArray Eigene_Kennung() {
  return QSysInfo::machineHostName().toUtf8() + '|' + QByteArray::number(QCoreApplication::applicationPid()) + '|' +
         QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

QByteArray Inhalt(const QString& pfad) {
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

// Removes the lock file when it is still ours (a workstation that found it stale may
// have taken it over meanwhile).
void Sperre_entfernen(const GehalteneSperre& s) {
  if (Inhalt(s.pfad) == s.kennung) QFile::remove(s.pfad);
}

void Alle_Sperren_entfernen() {
  for (const GehalteneSperre& s : Gehaltene()) Sperre_entfernen(s);
  Gehaltene().clear();
}

void Exit_Handler_einrichten() {
  static std::once_flag einmal;
  std::call_once(einmal, [] { std::atexit(&Alle_Sperren_entfernen); });
}

void Zustand_zurücksetzen() { Alle_Sperren_entfernen(); }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

bool Veraltet(const QString& pfad) {
  const QDateTime zeit = QFileInfo(pfad).lastModified();
  if (!zeit.isValid()) return false;
  return zeit.msecsTo(QDateTime::currentDateTime()) > static_cast<qint64>(kMonatssperreVeraltet * 1000.0);
}

// A lock whose holder died: moved aside by an atomic rename, so that of several
// workstations finding it stale only one removes it. When what was moved aside turns
// out to be a fresh lock (taken between the look and the rename), it is put back.
void Veraltete_Sperre_übernehmen(const QString& pfad, const QString& schlüssel) {
  const QString beiseite = pfad + u'.' + QString::number(QCoreApplication::applicationPid()) + u'.' +
                           QString::number(QRandomGenerator::global()->generate(), 36) + QStringLiteral(".vkstale");
  if (::rename(QFile::encodeName(pfad).constData(), QFile::encodeName(beiseite).constData()) != 0) return;
  if (Veraltet(beiseite)) {
    QFile::remove(beiseite);
    // The temporary files of a rewrite that died with its workstation.
    for (const QString& name :
         QDir(gDatenordner).entryList({u'~' + schlüssel + QStringLiteral(" *.vktmp")}, QDir::Files))
      if (Veraltet(gDatenordner + name)) QFile::remove(gDatenordner + name);
    return;
  }
  if (::link(QFile::encodeName(beiseite).constData(), QFile::encodeName(pfad).constData()) != 0) {
    // Another lock stands there already; the moved one's holder checks its lock before
    // it removes anything, so dropping it only shortens its protection.
  }
  QFile::remove(beiseite);
}

// Whether this program still holds the month's lock, right before it writes: a prompt
// left open inside the lock may have outlasted the stale time, and another workstation
// may have taken the lock and written since. A lock still held is freshened, so the
// write that follows does not look stale.
bool Sperre_noch_eigen(const QString& monatsschlüssel) {
  const auto it = Gehaltene().constFind(Monatssperre_Datei(monatsschlüssel));
  if (it == Gehaltene().cend() || Inhalt(it->pfad) != it->kennung) return false;
  ::utimensat(AT_FDCWD, QFile::encodeName(it->pfad).constData(), nullptr, 0);
  return true;
}

bool Sperre_anlegen(const QString& pfad, const QByteArray& kennung) {
  QFile f(pfad);
  if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
  const bool ok = f.write(kennung) == kennung.size();
  f.close();
  if (!ok) QFile::remove(pfad);
  return ok;
}

QString Pfad_heute(const QString& schlüssel) {
  const QString name = schlüssel + u' ' + gHeuteText + QStringLiteral(" Data.dat");
  // Today's version may stand in the folder in another letter case: a second name
  // beside it would not be the one readers take.
  const QStringList vorhanden = Dateiliste(gDatenordner, name);
  return gDatenordner + (vorhanden.isEmpty() ? name : vorhanden.first());
}

// The lines of a month file; an unterminated last line (another writer's line in
// flight) is left out.
QStringList Zeilen_lesen(const QString& pfad) {
  QStringList zeilen;
  FOpen(pfad, QStringLiteral("Input"));
  while (!FEOF()) {
    const QString z = LineIn();
    if (Kanal_letzte_Zeile_unvollständig() && zeilen.size() >= 3) break;
    zeilen << z;
  }
  FClose();
  return zeilen;
}

void Zeilen_schreiben(const QString& pfad, const QString& modus, const QStringList& zeilen) {
  FOpen(pfad, modus);
  try {
    for (const QString& z : zeilen) LineOut(z);
    FClose();
  } catch (...) {
    FVerwerfen();
    throw;
  }
}

QString Zweistellig(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }

QString Benutzer_von(const QString& eintrag) {
  const qsizetype p = eintrag.indexOf(u':');
  return p < 0 ? eintrag : eintrag.left(p);
}

}  // namespace

QString Monatssperre_Datei(const QString& monatsschlüssel) {
  return gDatenordner + u'~' + monatsschlüssel + QStringLiteral(".vklock");
}

QString Monatssperre_Meldung(const QString& monatsschlüssel) {
  return QStringLiteral("Die Monatsdatei ") + monatsschlüssel.mid(2, 2) + gDatumstrennzeichen + QStringLiteral("20") +
         monatsschlüssel.left(2) +
         QStringLiteral(
             " wird gerade von einem anderen Arbeitsplatz geschrieben. Die Eingabe wurde nicht gespeichert.\r\r"
             "Bitte versuchen Sie es in einigen Sekunden erneut.");
}

Monatssperre::Monatssperre(const QString& monatsschlüssel) : mSchlüssel(monatsschlüssel) {
  const QString pfad = Monatssperre_Datei(monatsschlüssel);
  auto& gehalten = Gehaltene();
  if (auto it = gehalten.find(pfad); it != gehalten.end()) {
    ++it->tiefe;
    mGehalten = true;
    return;
  }
  Exit_Handler_einrichten();
  const QByteArray kennung = Eigene_Kennung();
  const double ende = uhr::monoton() + kMonatssperreWartezeit;
  for (;;) {
    if (Sperre_anlegen(pfad, kennung)) {
      gehalten.insert(pfad, GehalteneSperre{pfad, kennung, 1});
      mGehalten = true;
      return;
    }
    if (Veraltet(pfad)) {
      Veraltete_Sperre_übernehmen(pfad, monatsschlüssel);
      continue;
    }
    if (uhr::monoton() >= ende) return;
    // A short, slightly random wait, so that waiting workstations do not retry in step.
    uhr::schlafen(0.02 + 0.03 * uhr::zufall());
  }
}

Monatssperre::~Monatssperre() {
  if (!mGehalten) return;
  const QString pfad = Monatssperre_Datei(mSchlüssel);
  auto& gehalten = Gehaltene();
  auto it = gehalten.find(pfad);
  if (it == gehalten.end()) return;
  if (--it->tiefe > 0) return;
  Sperre_entfernen(*it);
  gehalten.erase(it);
}

QStringList Monatsdatei_kompakte_Zeilen() {
  QStringList r;
  // The last entry line and the comment lines of each user, by the user name in
  // lower case.
  QHash<QString, qsizetype> letzterEintrag;
  for (qsizetype e = 1; e < gMonatsEinträge.size(); ++e)
    letzterEintrag.insert(Benutzer_von(gMonatsEinträge[e]).toLower(), e);
  QHash<QString, QList<qsizetype>> kommentare;
  if (!(gMonatsKommentare.size() == 2 && gMonatsKommentare[1] == u"NoComments"))
    for (qsizetype k = 1; k < gMonatsKommentare.size(); ++k)
      kommentare[Benutzer_von(gMonatsKommentare[k]).toLower()] << k;

  for (int i = 1; i < gBenutzerIDs.size(); ++i) {
    const QString id = gBenutzerIDs[i].toLower();
    if (id.isEmpty()) continue;
    const auto it = letzterEintrag.constFind(id);
    if (it == letzterEintrag.cend()) continue;
    const QString& zeile = gMonatsEinträge[*it];
    const QString benutzer = Benutzer_von(zeile);
    const QString codes = zeile.mid(benutzer.size() + 1);
    // A line of blanks only carries nothing.
    if (std::all_of(codes.begin(), codes.end(), [](QChar c) { return c == u' '; })) continue;
    r << QStringLiteral("A:") + zeile;
    const auto kt = kommentare.constFind(id);
    if (kt == kommentare.cend()) continue;
    // Each day of the month gets the text of the last comment covering it, on days
    // that hold a code; runs of days with the same text become one line.
    QString tage[32];
    for (qsizetype k : *kt) {
      const QString& kom = gMonatsKommentare[k];
      const QString rest = kom.mid(Benutzer_von(kom).size() + 1);
      const int von = std::max(1, rest.left(2).toInt());
      const int bis = std::min(31, rest.mid(3, 2).toInt());
      const QString text = rest.mid(6);
      for (int d = von; d <= bis; ++d)
        if (d - 1 < codes.size() && codes[d - 1] != u' ') tage[d] = text;
    }
    for (int d = 1; d <= 31;) {
      if (tage[d].isEmpty()) {
        ++d;
        continue;
      }
      int e = d;
      while (e < 31 && tage[e + 1] == tage[d]) ++e;
      r << QStringLiteral("K:") + benutzer + u':' + Zweistellig(d) + u'-' + Zweistellig(e) + u':' + tage[d];
      d = e + 1;
    }
  }
  return r;
}

bool Monatsdatei_speichern(const QString& monatsschlüssel, const QStringList& zeilen) {
  return Prozedur(QStringLiteral("modVelkora - Monatsdatei_speichern"), [&]() -> bool {
    Monatssperre sperre(monatsschlüssel);
    if (!sperre.gehalten()) {
      Meldung(Monatssperre_Meldung(monatsschlüssel));
      return false;
    }
    const QString heute = Pfad_heute(monatsschlüssel);
    // The month as it is before the own write: whether another workstation wrote it
    // since this one last read or wrote it.
    const Monatsstand vorher = Monatsstand_lesen(monatsschlüssel);
    if (!zeilen.isEmpty() && Datei_vorhanden(heute)) {
      if (!Sperre_noch_eigen(monatsschlüssel)) {
        Meldung(Monatssperre_Meldung(monatsschlüssel));
        return false;
      }
      Zeilen_schreiben(heute, QStringLiteral("Append"), zeilen);
    } else {
      // A rewrite keeps the lines of the employees in the table only.
      Mitarbeiterdaten_vor_Umschreiben_prüfen();
      // The newest version as it is now, read inside the lock.
      QStringList inhalt;
      if (!Erfassungsdaten_lesen(monatsschlüssel)) {
        if (Aktuelle_Erfassungsdatei(monatsschlüssel).isEmpty()) gMonatsAusnahmen = QStringLiteral("NoEx:NoEx");
        inhalt << u'[' + monatsschlüssel + u']' << gKennzeile << gMonatsAusnahmen;
      } else {
        inhalt << u'[' + monatsschlüssel + u']' << gKennzeile << gMonatsAusnahmen << Monatsdatei_kompakte_Zeilen();
      }
      inhalt << zeilen;
      if (!Sperre_noch_eigen(monatsschlüssel)) {
        Meldung(Monatssperre_Meldung(monatsschlüssel));
        return false;
      }
      Zeilen_schreiben(heute, QStringLiteral("Output"), inhalt);
    }
    gMonatsdateiZeit = Dateizeit(heute);
    Alte_Erfassungsdateien_löschen(monatsschlüssel + u' ' + gHeuteText);
    Monatsstand_nach_eigenem_Schreiben(monatsschlüssel, vorher);
    return true;
  });
}

bool Monatsdatei_kompaktieren(const QString& monatsschlüssel) { return Monatsdatei_speichern(monatsschlüssel, {}); }

bool Monatsdatei_umschreiben(const QString& monatsschlüssel, bool unterHeute, const Monatsänderung& ändern,
                             bool meldenBeiSperre, bool fehlerIgnorieren) {
  return Prozedur(QStringLiteral("modVelkora - Monatsdatei_umschreiben"), [&]() -> bool {
    Monatssperre sperre(monatsschlüssel);
    if (!sperre.gehalten()) {
      if (meldenBeiSperre) Meldung(Monatssperre_Meldung(monatsschlüssel));
      return false;
    }
    const QString stamm = Aktuelle_Erfassungsdatei(monatsschlüssel);
    const QString name = Erfassungsdatei_Name(monatsschlüssel);
    const QStringList alt = stamm.isEmpty() ? QStringList() : Zeilen_lesen(gDatenordner + name);
    const std::optional<QStringList> neu = ändern(stamm, alt);
    if (!neu) return true;
    const bool heute = unterHeute || stamm.isEmpty();
    const QString ziel = heute ? Pfad_heute(monatsschlüssel) : gDatenordner + name;
    if (!Sperre_noch_eigen(monatsschlüssel)) {
      if (meldenBeiSperre) Meldung(Monatssperre_Meldung(monatsschlüssel));
      return false;
    }
    if (!FOpen(ziel, QStringLiteral("Output"), fehlerIgnorieren ? QStringLiteral("IgnoreErrors") : QString()))
      return false;
    try {
      for (const QString& z : *neu) LineOut(z);
      FClose();
    } catch (...) {
      FVerwerfen();
      throw;
    }
    if (heute) Alte_Erfassungsdateien_löschen(monatsschlüssel + u' ' + gHeuteText);
    return true;
  });
}
