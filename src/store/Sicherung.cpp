#include "store/Sicherung.h"

#include <QDateTime>
#include <QLockFile>
#include <algorithm>
#include <vector>

#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "platform/Uhr.h"
#include "platform/Umgebung.h"
#include "platform/Zustand.h"
#include "startup/Dateisperre.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "startup/Zeilencodierung.h"
#include "store/Mitarbeiterdaten.h"

QString gSicherungsdatei;

namespace {

const QString kKopfzeile = QStringLiteral("[VelkoraBackup]");
const QString kKeineSicherung =
    QStringLiteral("Bei der Backupdatei handelt es sich um keine Sicherungsdatei des Velkoras");
// Held while a workstation checks for and makes the start's backup. Its name matches no
// pattern the program lists in the backup folder.
const QString kSperrdatei = QStringLiteral("Velkora Sicherung.lock");
// A lock older than this whose holder cannot be asked (another workstation) is taken
// as left behind by a crashed start.
constexpr int kSperreVeraltetMs = 30000;
constexpr int kSperreWartenMs = 45000;

void Zustand_zurücksetzen() { gSicherungsdatei.clear(); }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

// The hourglass for the whole of a backup or restore when the share is slow.
class Sanduhr_bei_langsamem_Netz {
 public:
  Sanduhr_bei_langsamem_Netz() : mAn(gLangsamesNetz && !gBeschäftigt) {
    if (mAn) Sanduhr_ein();
  }
  ~Sanduhr_bei_langsamem_Netz() {
    if (mAn) Sanduhr_aus();
  }
  Sanduhr_bei_langsamem_Netz(const Sanduhr_bei_langsamem_Netz&) = delete;
  Sanduhr_bei_langsamem_Netz& operator=(const Sanduhr_bei_langsamem_Netz&) = delete;

 private:
  bool mAn;
};

QString zweistellig(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }

QString Sicherungsname(const QString& art) {
  if (art == u"I") return QStringLiteral("000000 000000 I.dat");
  const QTime jetzt = uhr::zeit();
  QString datum = gHeuteText;
  if (art == u"J") datum = zweistellig((gPlanungsjahr + 2) % 100) + datum.mid(2);
  return datum + u' ' + zweistellig(jetzt.hour()) + zweistellig(jetzt.minute()) + zweistellig(jetzt.second()) + u' ' +
         art + QStringLiteral(".dat");
}

// Month record files tolerate empty lines; every other file of the program has none.
bool Ist_Monatsdatei(const QString& name) { return name.endsWith(QStringLiteral("Data.dat"), Qt::CaseInsensitive); }

// One file as a backup holds it: its lines' bytes as they stand in the file.
struct Gesicherte_Datei {
  QString name;
  QByteArray inhalt;                   // keeps the bytes the lines point into
  std::vector<QByteArrayView> zeilen;  // without their line ends
};

// Adds every file of a folder matching the pattern. An empty file (most likely one
// another program is writing right now) is not opened: reading it would hand it to the
// start repair in the middle of a backup; it is left out, so that a restore never
// writes an empty file back. A link is left out too (its content lies outside the
// folder), and so is a file with a line the line encoding cannot have written. Each
// gets an administrator logbook line. A file that cannot be opened goes the file
// access path as any read does.
void Dateien_sammeln(const QString& ordner, const QString& muster, std::vector<Gesicherte_Datei>& dateien) {
  if (ordner.isEmpty()) return;
  for (const QString& name : Dateiliste(ordner, muster)) {
    const QString pfad = ordner + name;
    if (Ist_Verweis_Datei(pfad)) {
      Logbuch_ergänzen(2, QStringLiteral("Backup: Die Datei ") + ShowPfad(pfad, 100) +
                              QStringLiteral(" ist ein Verweis und wurde nicht gesichert"));
      continue;
    }
    const qint64 größe = Dateigröße(pfad);
    if (größe < 0) continue;  // removed since the listing (an older month version)
    if (größe == 0) {
      Logbuch_ergänzen(2, QStringLiteral("Backup: Die Datei ") + ShowPfad(pfad, 100) +
                              QStringLiteral(" ist leer und wurde nicht gesichert"));
      continue;
    }
    if (!FOpen(pfad, QStringLiteral("Input"), QStringLiteral("IgnoreErrors"))) {
      if (!Datei_vorhanden(pfad)) continue;
      FOpen(pfad, QStringLiteral("Input"));  // reports the access problem
    }
    Gesicherte_Datei d{name, Kanal_Inhalt(), {}};
    bool lesbar = true;
    const bool monatsdatei = Ist_Monatsdatei(name);
    while (!FEOF()) {
      const QByteArrayView z = Kanal_Zeile_sehen();
      if (z.isEmpty() && !monatsdatei) {
        lesbar = false;
        break;
      }
      d.zeilen.push_back(z);
    }
    FClose();
    if (!lesbar || d.zeilen.empty()) {
      Logbuch_ergänzen(2, QStringLiteral("Backup: Die Datei ") + ShowPfad(pfad, 100) +
                              QStringLiteral(" ist nicht lesbar und wurde nicht gesichert"));
      continue;
    }
    dateien.push_back(std::move(d));
  }
}

// Whether a line is kept byte for byte: one the line encoding can have written. An
// empty line (month files tolerate them) or one with a control byte is written anew
// from its text, which the restore then reads as before.
bool Wie_kodiert(QByteArrayView z) {
  return !z.isEmpty() && std::none_of(z.begin(), z.end(), [](char c) { return static_cast<unsigned char>(c) < 32; });
}

// The whole backup file: the header line, then per file its name and line count in
// brackets and its lines. Each line decodes to the text the file's line decodes to.
QByteArray Sicherungsinhalt(const std::vector<Gesicherte_Datei>& dateien) {
  const auto kopf = [](const QString& name) { return u'[' + name + u']'; };
  // An encoded line has at most one byte per character plus its key.
  qsizetype größe = kKopfzeile.size() + 3;
  for (const Gesicherte_Datei& d : dateien) {
    größe += d.name.size() + 5 + QString::number(d.zeilen.size()).size() + 5;
    for (const QByteArrayView z : d.zeilen) größe += std::max<qsizetype>(z.size(), 1) + 2;
  }
  QByteArray b;
  b.reserve(größe);
  const auto zeile = [&](const QString& text) {
    b += Zeile_kodieren(text, Zufallsschlüssel());
    b += "\r\n";
  };
  zeile(kKopfzeile);
  for (const Gesicherte_Datei& d : dateien) {
    zeile(kopf(d.name));
    zeile(kopf(QString::number(d.zeilen.size())));
    for (const QByteArrayView z : d.zeilen) {
      if (Wie_kodiert(z)) {
        b += z;
        b += "\r\n";
      } else {
        zeile(Zeile_dekodieren(z));
      }
    }
  }
  return b;
}

bool Kein_Treffer(const QStringList& muster) {
  for (const QString& m : muster)
    if (!Dateiliste(gSicherungsordner, m).isEmpty()) return false;
  return true;
}

// The kind letter of a backup's name (the character before ".dat").
QChar Art_der_Sicherung(const QString& name) {
  if (name.size() < 5 || !name.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive)) return {};
  return name[name.size() - 5].toUpper();
}

// The newest backup of the backup folder by file time among the kinds that hold the
// data as they were in normal use: daily, monthly, before a change, export.
QString Neueste_Sicherung() {
  QString beste;
  QDateTime besteZeit;
  for (const QString& name : Dateiliste(gSicherungsordner, QStringLiteral("*.dat"))) {
    if (!QStringLiteral("TMAE").contains(Art_der_Sicherung(name))) continue;
    const QDateTime zeit = Dateizeit(gSicherungsordner + name);
    if (beste.isEmpty() || zeit >= besteZeit) {
      beste = name;
      besteZeit = zeit;
    }
  }
  return beste.isEmpty() ? QString() : gSicherungsordner + beste;
}

using Block = Sicherungsblock;

// A name a backup may write: a bare file name of a data file or logbook. Anything else
// could write outside the data and log folders.
bool Gültiger_Name(const QString& name) {
  const QString klein = name.toLower();
  if (!klein.endsWith(QStringLiteral(".dat")) && !klein.endsWith(QStringLiteral(".log"))) return false;
  if (name.size() <= 4 || name.startsWith(u'.')) return false;
  for (const QChar c : name) {
    if (c == u'/' || c == u'\\' || c == u':' || !c.isPrint()) return false;
  }
  return true;
}

bool In_Klammern(const QString& s) { return s.size() >= 2 && s.startsWith(u'[') && s.endsWith(u']'); }

// Reads and checks a whole backup; false when it is not one (header, any block's name
// or count, a line the program cannot have written). Nothing is written here.
bool Sicherung_lesen(const QString& pfad, std::vector<Block>& blöcke) {
  if (Dateigröße(pfad) == 0) return false;
  FOpen(pfad, QStringLiteral("Input"));
  std::vector<QByteArray> roh;
  while (!FEOF()) roh.push_back(Kanal_Zeile_lesen());
  FClose();

  if (roh.empty() || Zeile_dekodieren(roh[0]) != kKopfzeile) return false;
  std::size_t i = 1;
  // Empty lines at the very end carry nothing.
  std::size_t ende = roh.size();
  while (ende > 1 && roh[ende - 1].isEmpty()) --ende;
  while (i < ende) {
    if (ende - i < 2) return false;
    const QString namenszeile = Zeile_dekodieren(roh[i]);
    const QString zahlzeile = Zeile_dekodieren(roh[i + 1]);
    if (roh[i].isEmpty() || roh[i + 1].isEmpty() || !In_Klammern(namenszeile) || !In_Klammern(zahlzeile)) return false;
    Block b;
    b.name = namenszeile.mid(1, namenszeile.size() - 2);
    const QString zahl = zahlzeile.mid(1, zahlzeile.size() - 2);
    if (!Gültiger_Name(b.name) || !text::nurZiffern(zahl) || zahl.size() > 9) return false;
    const std::size_t n = zahl.toULongLong();
    i += 2;
    if (n > ende - i) return false;
    for (std::size_t k = 0; k < n; ++k, ++i) {
      if (roh[i].isEmpty()) return false;
      b.zeilen << Zeile_dekodieren(roh[i]);
    }
    blöcke.push_back(std::move(b));
  }
  return true;
}

// The date of a file name's first six characters when they are one (yymmdd).
QDate Datum_des_Namens(const QString& name) {
  const QString s = name.left(6);
  if (s.size() != 6 || !text::nurZiffern(s)) return {};
  return FormatDatumSD(s);
}

// A stored date yymmdd in the workstation's displayed form.
}  // namespace

bool Backup_erstellen(const QString& art) {
  return Prozedur(QStringLiteral("modVelkora - Backup_erstellen"), [&]() -> bool {
    if (!Verzeichnis_vorhanden(gSicherungsordner)) return false;
    Sanduhr_bei_langsamem_Netz sanduhr;
    gSicherungsdatei = Sicherungsname(art);
    std::vector<Gesicherte_Datei> dateien;
    Dateien_sammeln(gDatenordner, QStringLiteral("*.dat"), dateien);
    Dateien_sammeln(gLogordner, QStringLiteral("*.log"), dateien);
    const QByteArray inhalt = Sicherungsinhalt(dateien);
    if (!FOpen(gSicherungsordner + gSicherungsdatei, QStringLiteral("Output"), QStringLiteral("IgnoreErrors")))
      return false;
    Kanal_Bytes_schreiben(inhalt);
    try {
      FClose();
    } catch (const Laufzeitfehler&) {
      return false;  // the folder took no file: the target was not replaced
    }
    return true;
  });
}

bool Backup_erstellen_wenn_fehlend(const QString& art, const QStringList& muster) {
  return Prozedur(QStringLiteral("modVelkora - Backup_erstellen"), [&]() -> bool {
    if (!Verzeichnis_vorhanden(gSicherungsordner) || !Kein_Treffer(muster)) return false;
    Unechte_Sperre_entfernen(gSicherungsordner + kSperrdatei);
    QLockFile sperre(gSicherungsordner + kSperrdatei);
    sperre.setStaleLockTime(kSperreVeraltetMs);
    // Without the lock (a folder that takes no file, a holder that never lets go) the
    // second look below still keeps most starts from repeating the backup.
    sperre.tryLock(kSperreWartenMs);
    if (!Kein_Treffer(muster)) return false;
    return Backup_erstellen(art);
  });
}

bool Restore_aus_Backupdatei(const QString& sicherung, const QString& filter) {
  return Prozedur(QStringLiteral("modVelkora - Restore_aus_Backupdatei"), [&]() -> bool {
    const QString pfad = sicherung.isEmpty() ? Neueste_Sicherung() : sicherung;
    if (pfad.isEmpty()) return false;
    Sanduhr_bei_langsamem_Netz sanduhr;
    std::vector<Block> blöcke;
    if (!Sicherung_lesen(pfad, blöcke)) {
      Meldung(kKeineSicherung);
      return false;
    }
    const bool alle = filter.isEmpty();
    const bool ohneLogs = filter == u"NoLogs";
    const auto ziel = [](const Block& b) {
      return (b.name.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive) ? gDatenordner : gLogordner) + b.name;
    };
    const auto gewählt = [&](const Block& b) {
      const bool datendatei = b.name.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive);
      if (!(alle || (ohneLogs && datendatei) || (!ohneLogs && b.name.compare(filter, Qt::CaseInsensitive) == 0)))
        return false;
      // A file that was empty when backed up is no repair of that file.
      return alle || ohneLogs || !b.zeilen.isEmpty();
    };
    // Every target is checked before the first file is written: a restore that stops
    // half-way would leave the folder a mix of two points in time.
    for (const Block& b : blöcke) {
      if (!gewählt(b)) continue;
      const QString pfad = ziel(b);
      if (!Zwischenname_möglich(pfad) || Verzeichnis_vorhanden(pfad)) {
        Meldung(QStringLiteral("Die Sicherung kann nicht wiederhergestellt werden: die Datei ") + ShowPfad(pfad, 100) +
                QStringLiteral(" kann nicht geschrieben werden. Es wurde keine Datei verändert"));
        return false;
      }
    }
    bool geschrieben = false;
    for (const Block& b : blöcke) {
      if (!gewählt(b)) continue;
      FOpen(ziel(b), QStringLiteral("Output"));
      for (const QString& z : b.zeilen) LineOut(z);
      FClose();
      geschrieben = true;
    }
    // A single file that the backup does not hold was not restored.
    return alle || ohneLogs || geschrieben;
  });
}

bool Sicherung_einlesen(const QString& pfad, std::vector<Sicherungsblock>& blöcke) {
  return Prozedur(QStringLiteral("modVelkora - Sicherung_einlesen"),
                  [&]() -> bool { return Sicherung_lesen(pfad, blöcke); });
}

void Alte_Dateien_löschen(const QString& ordner, const QString& muster, int behalten) {
  Prozedur(QStringLiteral("modVelkora - Alte_Dateien_löschen"), [&] {
    const QString o = umgebung::mitSchrägstrich(ordner);
    QStringList präfixe;
    for (const QString& name : Dateiliste(o, muster)) {
      const qsizetype blank = name.indexOf(u' ');
      präfixe << (blank < 0 ? name : name.left(blank));
    }
    std::stable_sort(präfixe.begin(), präfixe.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    if (präfixe.size() <= behalten) return;
    for (qsizetype i = 0; i < präfixe.size() - behalten; ++i) {
      const QStringList treffer = Dateiliste(o, präfixe[i] + muster);
      if (treffer.isEmpty()) continue;
      // Only files named by a date must be more than six days old; the monthly
      // logbooks ("yymm Velkora.log") go by the count alone.
      const QDate datum = Datum_des_Namens(treffer.first());
      if (behalten == 0 || !datum.isValid() || datum.daysTo(gHeute) > 6) Löschen(o + treffer.first());
    }
  });
}

QStringList Sicherungspunkte(const QString& ordner, bool nachName, bool rückblick) {
  const QString o = umgebung::mitSchrägstrich(ordner);
  QStringList liste;
  for (const QString& name : Dateiliste(o, QStringLiteral("*.dat"))) {
    const QChar art = Art_der_Sicherung(name);
    if (rückblick ? art != u'J' : (art == u'F' || art == u'J' || art == u'I')) continue;
    QString schlüssel;
    if (nachName) {
      schlüssel = name.left(6) + name.mid(7, 6);
    } else {
      const QDateTime zeit = Dateizeit(o + name);
      schlüssel = FormatDatumDS(zeit.date()) + zweistellig(zeit.time().hour()) + zweistellig(zeit.time().minute()) +
                  zweistellig(zeit.time().second());
    }
    liste << schlüssel + u'|' + name;
  }
  std::sort(liste.begin(), liste.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) > 0; });
  return liste;
}

QString Sicherungspunkt_Text(const QString& eintrag) {
  const QString s = eintrag.section(u'|', 0, 0);
  return QStringLiteral("Sicherung vom ") + FormatDatumSA(s.left(6)) + QStringLiteral(", ") + s.mid(6, 2) + u':' +
         s.mid(8, 2) + u':' + s.mid(10, 2) + QStringLiteral(" Uhr");
}
