#include "store/Sicherung.h"

#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <algorithm>
#include <optional>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "platform/Uhr.h"
#include "platform/Umgebung.h"
#include "platform/Zustand.h"
#include "startup/Dateisperre.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Monatsversion.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "startup/Zeilencodierung.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Monatsreparatur.h"

QString gSicherungsdatei;
std::function<void(const QString& pfad)> gSicherung_vor_dem_Lesen;

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

void Zustand_zurücksetzen() {
  gSicherungsdatei.clear();
  gSicherung_vor_dem_Lesen = nullptr;
}
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
  std::vector<QByteArrayView> zeilen;  // without their line ends; empty when `ganz`
  bool ganz = false;                   // the content goes into the backup as it stands
  qsizetype anzahl = 0;                // its number of lines
};

// Whether a file's content goes into the backup as it stands, as the copy of each of
// its lines with CR LF would give it: every line one the line encoding can have
// written (not empty, no control byte), each ended by CR LF but the last, which may
// have none. `anzahl` its number of lines then. Anything else (a line end of its own
// kind, an empty line, a control byte) goes line by line.
bool Unverändert_übernehmbar(const QByteArray& inhalt, qsizetype& anzahl) {
  const auto* p = reinterpret_cast<const unsigned char*>(inhalt.constData());
  const qsizetype n = inhalt.size();
  if (n == 0 || p[0] < 32) return false;
  if (n == 1) {
    anzahl = 1;
    return true;
  }
  // Every control byte is the CR of a CR LF or the LF of one that a line follows
  // (none: an empty line); sixteen bytes at a time where the machine has the
  // instructions for it.
  bool fehler = p[n - 1] < 32 && !(p[n - 1] == '\n' && p[n - 2] == '\r');
  qsizetype zeilenenden = p[n - 1] == '\n';
  qsizetype i = 1;
#if defined(__SSE2__)
  const auto laden = [&](qsizetype k) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k)); };
  const __m128i kCR = _mm_set1_epi8('\r');
  const __m128i kLF = _mm_set1_epi8('\n');
  const __m128i k31 = _mm_set1_epi8(31);
  __m128i schlecht = _mm_setzero_si128();
  // The line ends per byte lane, summed up before a lane could overflow.
  __m128i lfZähler = _mm_setzero_si128();
  int schritte = 0;
  const auto lfSumme = [&] {
    const __m128i summe = _mm_sad_epu8(lfZähler, _mm_setzero_si128());
    zeilenenden += _mm_cvtsi128_si32(summe) + _mm_cvtsi128_si32(_mm_srli_si128(summe, 8));
    lfZähler = _mm_setzero_si128();
    schritte = 0;
  };
  for (; i + 17 <= n; i += 16) {
    const __m128i c = laden(i);
    const __m128i davor = laden(i - 1);
    const __m128i danach = laden(i + 1);
    const __m128i steuer = _mm_cmpeq_epi8(_mm_min_epu8(c, k31), c);
    const __m128i danachSteuer = _mm_cmpeq_epi8(_mm_min_epu8(danach, k31), danach);
    const __m128i lf = _mm_cmpeq_epi8(c, kLF);
    const __m128i cr = _mm_and_si128(_mm_cmpeq_epi8(c, kCR), _mm_cmpeq_epi8(danach, kLF));
    const __m128i ende = _mm_andnot_si128(danachSteuer, _mm_and_si128(lf, _mm_cmpeq_epi8(davor, kCR)));
    schlecht = _mm_or_si128(schlecht, _mm_andnot_si128(_mm_or_si128(cr, ende), steuer));
    lfZähler = _mm_sub_epi8(lfZähler, lf);
    if (++schritte == 255) lfSumme();
  }
  lfSumme();
  fehler |= _mm_movemask_epi8(schlecht) != 0;
#endif
  for (; i < n - 1; ++i) {
    const unsigned char c = p[i];
    if (c >= 32) continue;
    const bool cr = c == '\r' && p[i + 1] == '\n';
    const bool ende = c == '\n' && p[i - 1] == '\r' && p[i + 1] >= 32;
    fehler |= !(cr || ende);
    zeilenenden += c == '\n';
  }
  if (fehler) return false;
  anzahl = zeilenenden + (p[n - 1] != '\n');
  return true;
}

enum class Lesung { Gesichert, Ausgelassen, Leer, Weg };

void Leer_melden(const QString& pfad) {
  Logbuch_ergänzen(2, QStringLiteral("Backup: Die Datei ") + ShowPfad(pfad, 100) +
                          QStringLiteral(" ist leer und wurde nicht gesichert"));
}

// Reads one listed file into the backup. An empty file (most likely one another
// program is writing right now) is not opened: reading it would hand it to the start
// repair in the middle of a backup; it is left out (Leer, for the caller to note), so
// that a restore never writes an empty file back. A link is left out too (its content
// lies outside the folder), and so is a file with a line the line encoding cannot have
// written; each gets an administrator logbook line. Weg: the file is no longer there
// (asked of the server, not of a share's cached attributes). A file that cannot be
// opened otherwise goes the file access path as any read does.
Lesung Datei_einlesen(const QString& ordner, const QString& name, std::vector<Gesicherte_Datei>& dateien) {
  const QString pfad = ordner + name;
  if (gSicherung_vor_dem_Lesen) gSicherung_vor_dem_Lesen(pfad);
  if (Ist_Verweis_Datei(pfad)) {
    Logbuch_ergänzen(2, QStringLiteral("Backup: Die Datei ") + ShowPfad(pfad, 100) +
                            QStringLiteral(" ist ein Verweis und wurde nicht gesichert"));
    return Lesung::Ausgelassen;
  }
  const qint64 größe = Dateigröße(pfad);
  if (größe < 0) return Lesung::Weg;
  if (größe == 0) return Lesung::Leer;
  if (!FOpen(pfad, QStringLiteral("Input"), QStringLiteral("IgnoreErrors"))) {
    if (!Datei_öffnenbar(pfad, false)) return Lesung::Weg;
    FOpen(pfad, QStringLiteral("Input"));  // reports the access problem
  }
  Gesicherte_Datei d{name, Kanal_Inhalt(), {}};
  if (Unverändert_übernehmbar(d.inhalt, d.anzahl)) {
    FClose();
    d.ganz = true;
    dateien.push_back(std::move(d));
    return Lesung::Gesichert;
  }
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
  d.anzahl = static_cast<qsizetype>(d.zeilen.size());
  if (!lesbar || d.zeilen.empty()) {
    Logbuch_ergänzen(2, QStringLiteral("Backup: Die Datei ") + ShowPfad(pfad, 100) +
                            QStringLiteral(" ist nicht lesbar und wurde nicht gesichert"));
    return Lesung::Ausgelassen;
  }
  dateien.push_back(std::move(d));
  return Lesung::Gesichert;
}

// Adds every file of a folder matching the pattern (the logbooks). A file gone since
// the listing is not missed: the backup holds the folder as the listing showed it.
void Dateien_sammeln(const QString& ordner, const QString& muster, std::vector<Gesicherte_Datei>& dateien) {
  if (ordner.isEmpty()) return;
  for (const QString& name : Dateiliste(ordner, muster))
    if (Datei_einlesen(ordner, name, dateien) == Lesung::Leer) Leer_melden(ordner + name);
}

// How often a month whose version went since the listing is looked up again before
// it is read under its lock, and how often then.
constexpr int kVersucheOhneSperre = 4;
constexpr int kVersucheUnterSperre = 5;

// Adds one whole version of a month: the newest the listing showed, or, when another
// workstation has written the month anew since and deleted that version, the newest
// one then. The folder is looked at afresh for it, asking the server (a share's cached
// listing still shows the version gone and hides the new one). A month that goes on
// changing under the look is read under its lock, which holds the writers off, and so
// is one read empty or ending in part of a line (a save was appending to it just
// then): only under the lock is a month without any version one the folder no longer
// has, and an empty file or a cut last line the file's own state. The lock is waited
// for as long as a save waits for it. False when no version could be read.
bool Monat_sammeln(const Monatsversion& gelistet, std::vector<Gesicherte_Datei>& dateien) {
  const QString schlüssel = gelistet.schlüssel().toString();
  std::optional<Monatsversion> version = gelistet;
  std::optional<Monatssperre> sperre;
  for (int versuch = 1;; ++versuch) {
    if (version) {
      switch (Datei_einlesen(gDatenordner, version->name(), dateien)) {
        case Lesung::Ausgelassen:
          return true;
        case Lesung::Gesichert:
          if (sperre || dateien.back().inhalt.endsWith('\n')) return true;
          dateien.pop_back();
          versuch = std::max(versuch, kVersucheOhneSperre);
          break;
        case Lesung::Leer:
          if (sperre) {
            Leer_melden(gDatenordner + version->name());
            return true;
          }
          versuch = std::max(versuch, kVersucheOhneSperre);
          break;
        case Lesung::Weg:
          break;
      }
    } else if (sperre) {
      return true;
    }
    if (versuch >= kVersucheOhneSperre + kVersucheUnterSperre) return false;
    if (!sperre && versuch >= kVersucheOhneSperre) {
      sperre.emplace(schlüssel, kMonatssperreWartezeit);
      if (!sperre->gehalten()) return false;
    } else {
      uhr::schlafen(0.02 * versuch);
    }
    Ordneransicht_erneuern(gDatenordner);
    version = Neueste_Monatsversion(Monatsversionen_des_Monats(gDatenordner, schlüssel), schlüssel);
  }
}

// Whether a name lies in the pattern of a month's versions ("yymm*Data.dat"), the
// names the deletion of a month's old versions removes.
bool Im_Monatsmuster(const QString& name) {
  return name.size() > 12 && text::nurZiffern(name.left(4)) && Ist_Monatsdatei(name);
}

// Adds the files of the data folder: of every month its newest version (older ones
// are never read, and a restore would not write them), whole; a name in a month's
// pattern that is no version (a link, a name without a real date) never stands for the
// month; every other file as Datei_einlesen takes it. False, with the month key in
// `unlesbar`, when a month that has a version cannot be read.
bool Datenordner_sammeln(std::vector<Gesicherte_Datei>& dateien, QString& unlesbar) {
  if (gDatenordner.isEmpty()) return true;
  QStringList andere;
  const QHash<QString, Monatsversion> neueste =
      Neueste_Monatsversionen(Monatsversionen(gDatenordner, QStringLiteral("*.dat"), &andere));
  QStringList namen = andere;
  for (const Monatsversion& v : neueste) namen << v.name();
  std::sort(namen.begin(), namen.end());
  for (const QString& name : namen) {
    const std::optional<Monatsversion> v = Monatsversion::aus_Name(name);
    const auto monat = v ? neueste.constFind(v->schlüssel().toString()) : neueste.cend();
    if (monat != neueste.cend() && monat->name() == name) {
      if (Monat_sammeln(*monat, dateien)) continue;
      unlesbar = monat->schlüssel().toString();
      return false;
    }
    if (Im_Monatsmuster(name) && !Ist_Verweis_Datei(gDatenordner + name)) {
      Logbuch_ergänzen(2, QStringLiteral("Backup: Die Datei ") + ShowPfad(gDatenordner + name, 100) +
                              QStringLiteral(" ist keine Erfassungsdatei und wurde nicht gesichert"));
      continue;
    }
    if (Datei_einlesen(gDatenordner, name, dateien) == Lesung::Leer) Leer_melden(gDatenordner + name);
  }
  return true;
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
    größe += d.name.size() + 5 + QString::number(d.anzahl).size() + 5;
    if (d.ganz) größe += d.inhalt.size() + 2;
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
    zeile(kopf(QString::number(d.anzahl)));
    if (d.ganz) {
      b.append(d.inhalt);
      if (!d.inhalt.endsWith('\n')) b.append("\r\n", 2);
      continue;
    }
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

// The name a block has in the data or log folder, matched as Windows matches names
// (letter case aside) and given in the program's own form; empty for a name of no file
// of those folders. The fixed data files, the month versions "yymm yymmdd Data.dat",
// the overtime files "ÜStunden yyyy.dat" and the logbooks "yymm Velkora.log" and
// "yymm ÜStunden.log".
QString Dateiname_im_Ordner(const QString& name) {
  static const QStringList feste{QStringLiteral("Konfigdaten.dat"),       QStringLiteral("Mitarbeiterdaten.dat"),
                                 QStringLiteral("Mitarbeiteranzber.dat"), QStringLiteral("Mitarbeiteranzgru.dat"),
                                 QStringLiteral("Feiertage.dat"),         QStringLiteral("Ferientage.dat")};
  for (const QString& f : feste)
    if (name.compare(f, Qt::CaseInsensitive) == 0) return f;
  const auto endet = [&](qsizetype vorn, const QString& ende) {
    return name.size() == vorn + ende.size() && text::nurZiffern(name.left(vorn - 1)) && name.at(vorn - 1) == u' ' &&
           name.endsWith(ende, Qt::CaseInsensitive);
  };
  // Only a name with a real month and writing day is a version.
  if (const std::optional<Monatsversion> v = Monatsversion::aus_Name(name))
    return Monatsversion::zu(v->schlüssel(), v->tag()).name();
  if (name.size() == 17 && name.startsWith(QStringLiteral("ÜStunden "), Qt::CaseInsensitive) &&
      text::nurZiffern(name.mid(9, 4)) && name.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive))
    return QStringLiteral("ÜStunden ") + name.mid(9, 4) + QStringLiteral(".dat");
  if (endet(5, QStringLiteral("Velkora.log"))) return name.left(4) + QStringLiteral(" Velkora.log");
  if (endet(5, QStringLiteral("ÜStunden.log"))) return name.left(4) + QStringLiteral(" ÜStunden.log");
  return QString();
}

bool Ist_Logbuch(const QString& name) { return name.endsWith(QStringLiteral(".log"), Qt::CaseInsensitive); }

// Brings the blocks of a whole backup into the form the folders take: every name in
// its own form, of a month only its newest version. Empty when they can go in as they
// are, else why not (the folder has not been touched yet).
QString Satz_prüfen(std::vector<Block>& blöcke) {
  QHash<QString, qsizetype> gesehen;
  QList<Monatsversion> versionen;
  for (Block& b : blöcke) {
    const QString name = Dateiname_im_Ordner(b.name);
    if (name.isEmpty()) return QStringLiteral("'") + b.name + QStringLiteral("' ist keine Datei des Datenordners");
    if (gesehen.contains(name.toLower()))
      return QStringLiteral("die Datei '") + name + QStringLiteral("' ist mehrfach enthalten");
    gesehen.insert(name.toLower(), 0);
    b.name = name;
    const std::optional<Monatsversion> v = Monatsversion::aus_Name(name);
    if (!v) continue;
    if (v->tag() > gHeuteText)
      return QStringLiteral("die Erfassungsdatei '") + name + QStringLiteral("' trägt ein Datum nach dem heutigen");
    versionen << *v;
  }
  const QHash<QString, Monatsversion> neuesteVersion = Neueste_Monatsversionen(versionen);
  // Older versions of a month would never be read: they are not written.
  std::erase_if(blöcke, [&](const Block& b) {
    const std::optional<Monatsversion> v = Monatsversion::aus_Name(b.name);
    if (!v) return false;
    const auto neueste = neuesteVersion.constFind(v->schlüssel().toString());
    return neueste == neuesteVersion.cend() || neueste->stamm() != v->stamm();
  });
  // What the start needs: the three master files and every month of the planning
  // window from this year on.
  const auto enthalten = [&](const QString& n) { return gesehen.contains(n.toLower()); };
  for (const char* n : {"Konfigdaten.dat", "Mitarbeiterdaten.dat", "Feiertage.dat"})
    if (!enthalten(QString::fromLatin1(n)))
      return QStringLiteral("die Datei '") + QString::fromLatin1(n) + QStringLiteral("' fehlt");
  const auto mitarbeiter =
      std::find_if(blöcke.begin(), blöcke.end(), [](const Block& b) { return b.name == u"Mitarbeiterdaten.dat"; });
  const int planungsjahr = mitarbeiter->zeilen.size() > 2 ? text::zahl(mitarbeiter->zeilen[2]) : 0;
  if (planungsjahr < 1990 || planungsjahr > 9000)
    return QStringLiteral("die Datei 'Mitarbeiterdaten.dat' nennt kein Planungsjahr");
  QStringList fehlend;
  for (int index = 0; index < 36; ++index) {
    const int jahr = planungsjahr + index / 12;
    const QString schlüssel = zweistellig(jahr % 100) + zweistellig(index % 12 + 1);
    if (jahr >= gHeute.year() && !neuesteVersion.contains(schlüssel))
      fehlend << zweistellig(index % 12 + 1) + gDatumstrennzeichen + QString::number(jahr);
  }
  if (!fehlend.isEmpty())
    return QStringLiteral("die Erfassungsdatei(en) für folgende(n) Monat(e) fehlen: ") +
           fehlend.join(QStringLiteral(", "));
  return QString();
}

// One file of a restore: the target, the temporary file beside it that takes its
// place and, while the old file is kept for going back, that old file's second name.
struct Umstellung {
  QString ziel, neu, alt;
  bool entfernen = false;  // a file the backup does not hold: it goes
};

bool Umbenennen(const QString& von, const QString& nach) {
  return ::rename(QFile::encodeName(von).constData(), QFile::encodeName(nach).constData()) == 0;
}

// Puts the prepared files in place; on a failure everything done so far is undone.
// False when it failed; `zurück` false when even the undo failed.
bool Umstellen(std::vector<Umstellung>& liste, bool& zurück) {
  std::size_t fertig = 0;
  bool ok = true;
  for (; fertig < liste.size() && ok; ++fertig) {
    Umstellung& u = liste[fertig];
    const QByteArray ziel = QFile::encodeName(u.ziel);
    if (QFileInfo::exists(u.ziel) || QFileInfo(u.ziel).isSymLink()) {
      // The old file keeps a second name until all are in place; the target itself
      // is never missing for a reader.
      u.alt = Eigener_Zwischenname(u.ziel);
      if (u.entfernen) {
        ok = Umbenennen(u.ziel, u.alt);
      } else if (::link(ziel.constData(), QFile::encodeName(u.alt).constData()) != 0) {
        ok = false;
        u.alt.clear();
      }
    }
    if (ok && !u.entfernen) ok = Umbenennen(u.neu, u.ziel);
    if (!ok) ++fertig;
  }
  if (ok) {
    for (const Umstellung& u : liste)
      if (!u.alt.isEmpty()) QFile::remove(u.alt);
    return true;
  }
  zurück = true;
  for (std::size_t i = fertig; i-- > 0;) {
    const Umstellung& u = liste[i];
    if (!u.alt.isEmpty()) {
      if (QFileInfo::exists(u.alt) && !Umbenennen(u.alt, u.ziel)) zurück = false;
    } else if (!u.entfernen && !QFileInfo::exists(u.neu)) {
      // A file the folder did not have before.
      if (!QFile::remove(u.ziel)) zurück = false;
    }
  }
  for (const Umstellung& u : liste)
    if (!u.neu.isEmpty()) QFile::remove(u.neu);
  return false;
}

// The restore proper: everything the backup holds for the filter is written beside
// its target as a temporary file, read back, and only then put in place; with
// `ersetzen` the data files and logbooks the backup does not hold go too.
Übernahme Zurückschreiben(const QString& sicherung, const QString& filter, bool ersetzen) {
  const QString pfad = sicherung.isEmpty() ? Neueste_Sicherung() : sicherung;
  if (pfad.isEmpty()) return Übernahme::Unverändert;
  Sanduhr_bei_langsamem_Netz sanduhr;
  std::vector<Block> blöcke;
  if (!Sicherung_lesen(pfad, blöcke)) {
    Meldung(kKeineSicherung);
    return Übernahme::Unverändert;
  }
  const bool alle = filter.isEmpty();
  const bool ohneLogs = filter == u"NoLogs";
  const QString kein = QStringLiteral(". Es wurde keine Datei verändert.");
  if (ersetzen) {
    const QString grund = Satz_prüfen(blöcke);
    if (!grund.isEmpty()) {
      Meldung(QStringLiteral("Die Sicherung ") + ShowPfad(pfad, 100) +
              QStringLiteral(" kann nicht übernommen werden: ") + grund + kein);
      return Übernahme::Unverändert;
    }
  }
  const auto ziel = [](const Block& b) { return (Ist_Logbuch(b.name) ? gLogordner : gDatenordner) + b.name; };
  const auto gewählt = [&](const Block& b) {
    if (!(alle || (ohneLogs && !Ist_Logbuch(b.name)) ||
          (!ohneLogs && b.name.compare(filter, Qt::CaseInsensitive) == 0)))
      return false;
    // A file that was empty when backed up is no repair of that file.
    return alle || ohneLogs || !b.zeilen.isEmpty();
  };
  const auto nicht_schreibbar = [&](const QString& datei) {
    Meldung(QStringLiteral("Die Sicherung kann nicht wiederhergestellt werden: die Datei ") + ShowPfad(datei, 100) +
            QStringLiteral(" kann nicht geschrieben werden") + kein);
    return Übernahme::Unverändert;
  };
  // Every target is checked before the first file is written: a restore that stops
  // half-way would leave the folder a mix of two points in time.
  std::vector<Umstellung> liste;
  std::vector<const Block*> quelle;
  for (const Block& b : blöcke) {
    if (!gewählt(b)) continue;
    const QString z = ziel(b);
    if (!Zwischenname_möglich(z) || Verzeichnis_vorhanden(z)) return nicht_schreibbar(z);
    liste.push_back(Umstellung{z, QString(), QString()});
    quelle.push_back(&b);
  }
  // A single file that the backup does not hold was not restored.
  if (liste.empty() && !alle && !ohneLogs) return Übernahme::Unverändert;
  const auto verwerfen = [&] {
    for (const Umstellung& u : liste)
      if (!u.neu.isEmpty()) QFile::remove(u.neu);
  };
  for (std::size_t i = 0; i < liste.size(); ++i) {
    QByteArray inhalt;
    for (const QString& z : quelle[i]->zeilen) inhalt += Zeile_kodieren(z, Zufallsschlüssel()) + "\r\n";
    liste[i].neu = Zwischendatei_schreiben(liste[i].ziel, inhalt);
    // Read back: what stands in the temporary file is what goes in place.
    bool gleich = !liste[i].neu.isEmpty();
    if (gleich) {
      QFile f(liste[i].neu);
      gleich = f.open(QIODevice::ReadOnly) && f.readAll() == inhalt;
    }
    if (!gleich) {
      verwerfen();
      return nicht_schreibbar(liste[i].ziel);
    }
  }
  if (ersetzen) {
    // Files the backup does not hold (older month versions, other logbooks) go with
    // the rest, so that no older state shows through.
    for (const auto& [ordner, muster] :
         {std::pair{gDatenordner, QStringLiteral("*.dat")}, std::pair{gLogordner, QStringLiteral("*.log")}}) {
      for (const QString& name : Dateiliste(ordner, muster)) {
        const QString z = ordner + name;
        const bool gehalten = std::any_of(liste.begin(), liste.end(), [&](const Umstellung& u) {
          return !u.entfernen && u.ziel.compare(z, Qt::CaseInsensitive) == 0;
        });
        if (!gehalten) liste.push_back(Umstellung{z, QString(), QString(), true});
      }
    }
  }
  bool zurück = true;
  if (Umstellen(liste, zurück)) return Übernahme::Ersetzt;
  if (!zurück) return Übernahme::Inkonsistent;
  Meldung(QStringLiteral("Die Sicherung ") + ShowPfad(pfad, 100) +
          QStringLiteral(" konnte nicht vollständig übernommen werden") + kein);
  return Übernahme::Unverändert;
}
}  // namespace

bool Backup_erstellen(const QString& art) {
  return Prozedur(QStringLiteral("modVelkora - Backup_erstellen"), [&]() -> bool {
    if (!Verzeichnis_vorhanden(gSicherungsordner)) return false;
    Sanduhr_bei_langsamem_Netz sanduhr;
    gSicherungsdatei = Sicherungsname(art);
    std::vector<Gesicherte_Datei> dateien;
    QString unlesbar;
    if (!Datenordner_sammeln(dateien, unlesbar)) {
      // A backup without a month is no backup point: its restore would be refused.
      Logbuch_ergänzen(
          2, QStringLiteral("Backup: Die Sicherung ") + ShowPfad(gSicherungsordner + gSicherungsdatei, 100) +
                 QStringLiteral(" ist unvollständig und wurde nicht erstellt: Monat ") + unlesbar.mid(2, 2) +
                 gDatumstrennzeichen + QStringLiteral("20") + unlesbar.left(2) + QStringLiteral(" nicht lesbar"));
      return false;
    }
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
  return Prozedur(QStringLiteral("modVelkora - Restore_aus_Backupdatei"),
                  [&]() -> bool { return Zurückschreiben(sicherung, filter, false) == Übernahme::Ersetzt; });
}

Übernahme Sicherung_übernehmen(const QString& sicherung) {
  return Prozedur(QStringLiteral("modVelkora - Restore_aus_Backupdatei"),
                  [&]() -> Übernahme { return Zurückschreiben(sicherung, QString(), true); });
}

bool Kopie_lesbar(const QString& name, const QStringList& zeilen) {
  if (const std::optional<Monatsversion> v = Monatsversion::aus_Name(name))
    return Monatskopie_unbeschädigt(v->schlüssel().toString(), zeilen).has_value();
  const auto ist = [&](const char* n) { return name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
  if (ist("Konfigdaten.dat")) return Konfigdaten_lesbar(zeilen);
  if (ist("Mitarbeiterdaten.dat")) return Mitarbeiterdaten_lesbar(zeilen);
  for (const char* kopf : {"Feiertage", "Ferientage", "Mitarbeiteranzber", "Mitarbeiteranzgru"})
    if (ist((QByteArray(kopf) + ".dat").constData())) return zeilen.value(0) == u'[' + QLatin1String(kopf) + u']';
  return !zeilen.isEmpty();
}

Kopie Kopie_in_Sicherung(const QString& sicherung, const QString& name) {
  return Prozedur(QStringLiteral("modVelkora - Kopie_in_Sicherung"), [&]() -> Kopie {
    std::vector<Block> blöcke;
    if (!Sicherung_lesen(sicherung, blöcke)) return Kopie::Fehlt;
    // Of a month the newest version the backup holds; a block whose name is no version
    // never stands for the month.
    const std::optional<Monatsversion> monat = Monatsversion::aus_Name(name);
    QString kopieName = name;
    if (monat) {
      QList<Monatsversion> versionen;
      for (const Block& b : blöcke)
        if (std::optional<Monatsversion> v = Monatsversion::aus_Name(b.name)) versionen << std::move(*v);
      const std::optional<Monatsversion> neueste = Neueste_Monatsversion(versionen, monat->schlüssel());
      if (!neueste) return Kopie::Fehlt;
      kopieName = neueste->name();
    }
    const auto kopie = std::find_if(blöcke.begin(), blöcke.end(), [&](const Block& b) {
      return monat ? b.name == kopieName : b.name.compare(kopieName, Qt::CaseInsensitive) == 0;
    });
    if (kopie == blöcke.end()) return Kopie::Fehlt;
    return Kopie_lesbar(kopie->name, kopie->zeilen) ? Kopie::Heil : Kopie::Beschädigt;
  });
}

QString Keine_heile_Kopie_Meldung(const QString& name, bool standard) {
  return QStringLiteral(
             "Wiederherstellen aus Backup nicht möglich: Keine Sicherung enthält eine unbeschädigte "
             "Kopie der Datei ") +
         ShowPfad(name, 100) + u'.' +
         (standard ? QStringLiteral(" Die Datei wurde durch eine Standardversion ersetzt.") : QString());
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
