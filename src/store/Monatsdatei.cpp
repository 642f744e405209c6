#include "store/Monatsdatei.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <QSysInfo>
#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "platform/Laufzeitfehler.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateisperre.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsstand.h"

namespace {

// The month locks this program holds, by month key (nested locks share the outer one).
QHash<QString, Dateisperre*>& Monatssperren() {
  static QHash<QString, Dateisperre*> h;
  return h;
}

// Whether this program still holds the month's lock, right before it writes: a prompt
// left open inside the lock may have outlasted the stale time, and another workstation
// may have taken the lock and written since. A lock still held is freshened, so the
// write that follows does not look stale.
bool Sperre_noch_eigen(const QString& monatsschlüssel) {
  Dateisperre* s = Monatssperren().value(monatsschlüssel);
  return s && s->noch_eigen();
}

// Freshens the month's lock during long work.
void Sperre_auffrischen(const QString& monatsschlüssel) {
  if (Dateisperre* s = Monatssperren().value(monatsschlüssel)) s->auffrischen();
}

// `versionen`: the month's names in the folder listing.
QString Pfad_heute(const QString& schlüssel, const QStringList& versionen) {
  const QString name = schlüssel + u' ' + gHeuteText + QStringLiteral(" Data.dat");
  // Today's version may stand in the folder in another letter case: a second name
  // beside it would not be the one readers take.
  for (const QString& v : versionen)
    if (v.compare(name, Qt::CaseInsensitive) == 0) return gDatenordner + v;
  return gDatenordner + name;
}

QStringList Versionsnamen(const QString& schlüssel) {
  return Dateiliste(gDatenordner, schlüssel + QStringLiteral("*Data.dat"));
}

QString Pfad_heute(const QString& schlüssel) { return Pfad_heute(schlüssel, Versionsnamen(schlüssel)); }

// The lines of a month file; an unterminated last line (another writer's line in
// flight) is left out.
QStringList Offene_Zeilen_lesen() {
  QStringList zeilen;
  while (!FEOF()) {
    const QString z = LineIn();
    if (Kanal_letzte_Zeile_unvollständig() && zeilen.size() >= 3) break;
    zeilen << z;
  }
  FClose();
  return zeilen;
}

QStringList Zeilen_lesen(const QString& pfad) {
  FOpen(pfad, QStringLiteral("Input"));
  return Offene_Zeilen_lesen();
}

QString Zweistellig(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }

QString Benutzer_von(const QString& eintrag) {
  const qsizetype p = eintrag.indexOf(u':');
  return p < 0 ? eintrag : eintrag.left(p);
}

// The lines to write for `zeilen`, with each change of single days laid over the
// employee's last entry line in `bestand` (the month's lines as read inside the lock)
// or over an earlier line of the same save.
QStringList Zeilen_zusammenführen(const QStringList& bestand, const QList<Monatszeile>& zeilen) {
  QHash<QString, QString> letzte;  // user in lower case -> 31 code characters
  const auto merken = [&](const QString& z) {
    if (!z.startsWith(u"A:")) return;
    const qsizetype p = z.indexOf(u':', 2);
    if (p < 0 || z.size() - p - 1 != 31) return;
    letzte.insert(z.mid(2, p - 2).toLower(), z.mid(p + 1));
  };
  for (const QString& z : bestand) merken(z);
  QStringList r;
  r.reserve(zeilen.size());
  for (const Monatszeile& m : zeilen) {
    QString z = m.zeile;
    if (m.tage && z.startsWith(u"A:")) {
      const qsizetype p = z.indexOf(u':', 2);
      if (p >= 0) z = Tage_übernehmen(letzte.value(z.mid(2, p - 2).toLower()), z, *m.tage);
    }
    merken(z);
    r << z;
  }
  return r;
}

// Inside the lock no one else appends: a month file whose last line has lost its line
// end (cut short, or edited by hand) gets one, so the appended line is not glued to it.
void Zeilenende_sichern(const QString& pfad) {
  QFile f(pfad);
  if (!f.open(QIODevice::ReadWrite) || f.size() == 0) return;
  if (!f.seek(f.size() - 1)) return;
  char letztes = 0;
  if (f.read(&letztes, 1) != 1 || letztes == '\n') return;
  const QByteArray ende = letztes == '\r' ? QByteArray("\n") : QByteArray("\r\n");
  const bool ok = f.seek(f.size()) && f.write(ende) == ende.size() && f.flush();
  f.close();
  if (!ok) {
    gOffeneDatei = pfad;
    fehler::auslösen(61);
  }
}

// Whether a name has the form of a month version, "yymm yymmdd Data.dat".
bool Ist_Versionsname(const QString& name) {
  if (name.size() != 20 || name[4] != u' ' || name[11] != u' ') return false;
  for (int i : {0, 1, 2, 3, 5, 6, 7, 8, 9, 10})
    if (!name[i].isDigit()) return false;
  return true;
}

// Whether the listing holds a version newer than `stamm`.
bool Neuere_Version(const QStringList& versionen, const QString& stamm) {
  return std::any_of(versionen.begin(), versionen.end(),
                     [&](const QString& v) { return Ist_Versionsname(v) && v.left(11) > stamm.left(11); });
}

// After a save wrote the version `eigene`, made from the version `basis` ("" when the
// month had no file): deletes the versions that this made stale, the one read and every
// older one. A version newer than `basis` (other than `eigene`) was not read by this
// save, so its lines are not in `eigene`: it is left, and the newest such one is
// returned. Other names the pattern matches go as before.
QString Überholte_Versionen_löschen(const QString& monatsschlüssel, const QString& eigene, const QString& basis) {
  const QString basisStamm = basis.left(11);
  QString neuere;
  for (const QString& name : Versionsnamen(monatsschlüssel)) {
    if (name.compare(eigene, Qt::CaseInsensitive) == 0) continue;
    if (Ist_Versionsname(name) && name.left(11) > basisStamm) {
      if (name.left(11) > neuere.left(11)) neuere = name;
      continue;
    }
    Löschen(gDatenordner + name);
  }
  return neuere;
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
  mSperre = std::make_unique<Dateisperre>(Monatssperre_Datei(monatsschlüssel), kMonatssperreWartezeit);
  mGehalten = mSperre->gehalten();
  mFehler = mSperre->fehler();
  if (!mGehalten) return;
  if (!Monatssperren().contains(monatsschlüssel)) {
    Monatssperren().insert(monatsschlüssel, mSperre.get());
    mÄußere = true;
  }
  if (mSperre->übernommen()) {
    // The temporary files of a rewrite whose workstation went away: no one else can
    // be writing this month now.
    for (const QString& name :
         QDir(gDatenordner).entryList({u'~' + monatsschlüssel + QStringLiteral(" *.vktmp")}, QDir::Files))
      QFile::remove(gDatenordner + name);
  }
}

Monatssperre::~Monatssperre() {
  if (mÄußere) Monatssperren().remove(mSchlüssel);
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

  // Every user with a line keeps it: the employees in list order, then users the
  // table does not know (yet) in the order of their first line. An employee list read
  // short or older than the month must never delete anyone's entries; those of a
  // deleted employee are removed by the employee editor's apply only.
  QStringList benutzer;
  QSet<QString> gesehen;
  for (int i = 1; i < gBenutzerIDs.size(); ++i) {
    const QString id = gBenutzerIDs[i].toLower();
    if (!id.isEmpty() && !gesehen.contains(id)) {
      gesehen.insert(id);
      benutzer << id;
    }
  }
  for (qsizetype e = 1; e < gMonatsEinträge.size(); ++e) {
    if (gMonatsEinträge.size() == 2 && gMonatsEinträge[1] == u"NoData") break;
    const QString id = Benutzer_von(gMonatsEinträge[e]).toLower();
    if (!gesehen.contains(id)) {
      gesehen.insert(id);
      benutzer << id;
    }
  }

  for (const QString& id : benutzer) {
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
  QList<Monatszeile> z;
  z.reserve(zeilen.size());
  for (const QString& zeile : zeilen) z << Monatszeile{zeile, std::nullopt};
  return Monatsdatei_zeilen_speichern(monatsschlüssel, z);
}

bool Monatsdatei_zeilen_speichern(const QString& monatsschlüssel, const QList<Monatszeile>& zeilen) {
  return Prozedur(QStringLiteral("modVelkora - Monatsdatei_speichern"), [&]() -> bool {
    Monatssperre sperre(monatsschlüssel);
    if (!sperre.gehalten()) {
      if (sperre.fehler() != 0) Dateisperre_Fehler(Monatssperre_Datei(monatsschlüssel), sperre.fehler());
      Meldung(Monatssperre_Meldung(monatsschlüssel));
      return false;
    }
    const QStringList versionen = Versionsnamen(monatsschlüssel);
    const QString heute = Pfad_heute(monatsschlüssel, versionen);
    // The month as it is before the own write: whether another workstation wrote it
    // since this one last read or wrote it.
    const Monatsstand vorher = Monatsstand_lesen(monatsschlüssel);
    const bool zusammenführen =
        std::any_of(zeilen.begin(), zeilen.end(), [](const Monatszeile& z) { return z.tage.has_value(); });
    // Today's version is asked of the server by opening it: a share's cached listing
    // or file attributes may not show yet the version another workstation just made.
    // Beside a newer version (a workstation with a later date, whose save stopped
    // before it deleted this one) an append would not be read: the month is written
    // afresh from the newer one, which holds what today's held when it was made.
    const QString heuteName = ShowDatei(heute);
    if (!zeilen.isEmpty() && !Neuere_Version(versionen, heuteName) && Datei_öffnenbar(heute)) {
      // Changes of single days go onto the rows as they stand in the file now.
      const QStringList geschrieben =
          Zeilen_zusammenführen(zusammenführen ? Zeilen_lesen(heute) : QStringList(), zeilen);
      Sperre_auffrischen(monatsschlüssel);
      if (!Sperre_noch_eigen(monatsschlüssel)) {
        Meldung(Monatssperre_Meldung(monatsschlüssel));
        return false;
      }
      Zeilenende_sichern(heute);
      Alle_Zeilen_schreiben(heute, geschrieben, QStringLiteral("Append"));
      Sperre_auffrischen(monatsschlüssel);
      Überholte_Versionen_löschen(monatsschlüssel, heuteName, heuteName);
    } else {
      // The employees of a rewrite come in the current list order (users it does not
      // know keep their lines after them).
      Mitarbeiterdaten_vor_Umschreiben_prüfen();
      // The newest version as it is now, read inside the lock.
      bool gelesen = Erfassungsdaten_lesen(monatsschlüssel);
      for (int runde = 0;; ++runde) {
        const QString basis = Erfassungsdatei_gelesen();
        QStringList inhalt{u'[' + monatsschlüssel + u']', gKennzeile, gMonatsAusnahmen};
        if (gelesen) inhalt << Monatsdatei_kompakte_Zeilen();
        inhalt << Zeilen_zusammenführen(inhalt, zeilen);
        Sperre_auffrischen(monatsschlüssel);
        if (!Sperre_noch_eigen(monatsschlüssel)) {
          Meldung(Monatssperre_Meldung(monatsschlüssel));
          return false;
        }
        Alle_Zeilen_schreiben(heute, inhalt);
        Sperre_auffrischen(monatsschlüssel);
        // A version newer than the one read that the listing did not show before (a
        // share's cached listing): today's version is made again from it.
        const QString neuere = Überholte_Versionen_löschen(monatsschlüssel, heuteName, basis);
        if (neuere.isEmpty() || runde >= 3) break;
        gelesen = Erfassungsversion_lesen(monatsschlüssel, neuere);
      }
    }
    Monatsstand_nach_eigenem_Schreiben(monatsschlüssel, vorher);
    return true;
  });
}

std::optional<quint32> Geänderte_Tage(const QString& vorher, const QString& nachher) {
  const auto codes = [](const QString& z) -> QString {
    if (z.size() == 31) return z;
    if (!z.startsWith(u"A:")) return {};
    const qsizetype p = z.indexOf(u':', 2);
    return p < 0 ? QString() : z.mid(p + 1);
  };
  const QString a = codes(vorher), b = codes(nachher);
  if (a.size() != 31 || b.size() != 31) return std::nullopt;
  quint32 tage = 0;
  for (int d = 1; d <= 31; ++d)
    if (a[d - 1] != b[d - 1]) tage |= 1u << d;
  return tage;
}

QString Tage_übernehmen(const QString& basis, const QString& zeile, quint32 tage) {
  const qsizetype p = zeile.indexOf(u':', 2);
  if (!zeile.startsWith(u"A:") || p < 0) return zeile;
  const QString codes = zeile.mid(p + 1);
  QString neu = basis.size() == 31 ? basis : QString(31, u' ');
  for (int d = 1; d <= 31; ++d)
    if ((tage & (1u << d)) && d - 1 < codes.size()) neu[d - 1] = codes[d - 1];
  return zeile.left(p + 1) + neu;
}

bool Monatsdatei_kompaktieren(const QString& monatsschlüssel) { return Monatsdatei_speichern(monatsschlüssel, {}); }

bool Monatsdatei_umschreiben(const QString& monatsschlüssel, bool unterHeute, const Monatsänderung& ändern,
                             bool meldenBeiSperre, bool fehlerIgnorieren) {
  return Prozedur(QStringLiteral("modVelkora - Monatsdatei_umschreiben"), [&]() -> bool {
    Monatssperre sperre(monatsschlüssel);
    if (!sperre.gehalten()) {
      if (sperre.fehler() != 0 && !fehlerIgnorieren)
        Dateisperre_Fehler(Monatssperre_Datei(monatsschlüssel), sperre.fehler());
      if (meldenBeiSperre && sperre.fehler() == 0) Meldung(Monatssperre_Meldung(monatsschlüssel));
      return false;
    }
    const QString name = Erfassungsversion_öffnen(monatsschlüssel, Erfassungsdatei_Name(monatsschlüssel));
    const QString stamm = name.left(11);
    const QStringList alt = name.isEmpty() ? QStringList() : Offene_Zeilen_lesen();
    const std::optional<QStringList> neu = ändern(stamm, alt);
    if (!neu) return true;
    Sperre_auffrischen(monatsschlüssel);
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
    if (heute) Überholte_Versionen_löschen(monatsschlüssel, ShowDatei(ziel), name);
    return true;
  });
}

void Alle_Monatsdateien_umschreiben(const Monatsänderung& ändern) {
  QStringList monate;
  for (const QString& datei : Dateiliste(gDatenordner, QStringLiteral("*Data.dat"))) {
    const QString schlüssel = datei.left(4);
    bool ziffern = schlüssel.size() == 4 && datei.size() > 4 && datei[4] == u' ';
    for (QChar c : schlüssel) ziffern = ziffern && c.isDigit();
    if (ziffern && !monate.contains(schlüssel)) monate << schlüssel;
  }
  for (const QString& monat : monate) {
    QDeadlineTimer frist(120000);
    while (!Monatsdatei_umschreiben(monat, true, ändern, false)) {
      if (frist.hasExpired()) {
        Meldung(Monatssperre_Meldung(monat));
        frist.setRemainingTime(120000);
      }
      QCoreApplication::processEvents();
    }
  }
}
