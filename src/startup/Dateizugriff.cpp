#include "startup/Dateizugriff.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QSysInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/Cp1252.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "platform/Uhr.h"
#include "platform/Umgebung.h"
#include "platform/Zustand.h"
#include "startup/Meldungen.h"
#include "startup/Monatsversion.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"

QString gOffeneDatei;
bool gDateiGeschrieben = false;
bool gLangsamesNetz = false;
Haken<void()> gLangsamesNetzGesehen{"gLangsamesNetzGesehen"};
std::function<bool(const QString& pfad)> gDateiEntfernen = [](const QString& pfad) { return QFile::remove(pfad); };
std::function<bool(const QString& pfad)> gOrdnerAnlegen = [](const QString& pfad) { return QDir().mkdir(pfad); };

namespace {

const QString kZwischenEndung = QStringLiteral(".vktmp");

enum class Modus { Zu, Lesen, Schreiben, Anhängen };

struct Kanal {
  Modus modus = Modus::Zu;
  QString pfad;
  // Reading: the whole file, read at open.
  QByteArray inhalt;
  qsizetype pos = 0;
  bool letzteUnvollständig = false;
  // Writing: the lines, written in one go at close.
  QByteArray puffer;
  std::unique_ptr<QFile> datei;  // the temporary file (Output)
  int anhängen = -1;             // the target's descriptor (Append)
};

Kanal gKanal;
// The last file read whole through the channel.
Gelesene_Datei sZuletzt;
// The neighbour named by Rechte_Vorbild_vormerken for the next whole-file write.
struct Vorgemerkt {
  QString ziel, vorbild;
};
Vorgemerkt sVorbild;
// The last FClose failed while writing its lines out; the file it names is intact.
bool sAusschreibfehler = false;

void Kanal_zurücksetzen() {
  if (gKanal.datei) {
    gKanal.datei->close();
    if (gKanal.modus == Modus::Schreiben) QFile::remove(gKanal.datei->fileName());
  }
  if (gKanal.anhängen >= 0) ::close(gKanal.anhängen);
  sVorbild = Vorgemerkt{};
  gKanal = Kanal{};
}

void Zustand_zurücksetzen() {
  Kanal_zurücksetzen();
  sZuletzt = Gelesene_Datei{};
  gOffeneDatei.clear();
  sAusschreibfehler = false;
  gDateiGeschrieben = false;
  gLangsamesNetz = false;
  gDateiEntfernen = [](const QString& pfad) { return QFile::remove(pfad); };
  gOrdnerAnlegen = [](const QString& pfad) { return QDir().mkdir(pfad); };
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

// Whether the last component of a path is a symbolic link (whatever it points to).
bool Ist_Verweis(const QString& pfad) {
  struct stat st {};
  return ::lstat(QFile::encodeName(pfad).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Whether a path lies in the data folder or the log folder (or below them): the files
// there are the program's own, and none of them is ever a link.
bool Im_Datenbereich(const QString& pfad) {
  const QString p = QFileInfo(pfad).absolutePath() + u'/';
  for (const QString& ordner : {gDatenordner, gLogordner}) {
    if (ordner.isEmpty()) continue;
    const QString o = umgebung::mitSchrägstrich(QFileInfo(ordner).absoluteFilePath());
    if (p.startsWith(o)) return true;
  }
  return false;
}

}  // namespace

namespace {

// The program's own data files of the data folder, which the start repair may restore
// from a backup: an empty one is damage. Files other programs write there (the overtime
// files) and files elsewhere are not.
bool Ist_eigene_Datendatei(const QString& pfad) {
  if (gDatenordner.isEmpty()) return false;
  const QFileInfo fi(pfad);
  if (umgebung::mitSchrägstrich(fi.absolutePath()) !=
      umgebung::mitSchrägstrich(QFileInfo(gDatenordner).absoluteFilePath()))
    return false;
  const QString name = fi.fileName();
  static const QStringList kDateien = {QStringLiteral("Konfigdaten.dat"),       QStringLiteral("Mitarbeiterdaten.dat"),
                                       QStringLiteral("Mitarbeiteranzber.dat"), QStringLiteral("Mitarbeiteranzgru.dat"),
                                       QStringLiteral("Feiertage.dat"),         QStringLiteral("Ferientage.dat")};
  for (const QString& d : kDateien)
    if (name.compare(d, Qt::CaseInsensitive) == 0) return true;
  return Ist_Monatsdateiname(name);
}

// The error of a write that failed, by its cause: a full disk or quota is named as such.
[[noreturn]] void Schreibfehler(int fehlernummer) {
  if (fehlernummer == ENOSPC || fehlernummer == EDQUOT || fehlernummer == EFBIG) fehler::auslösen(61);
  if (fehlernummer == EACCES || fehlernummer == EPERM || fehlernummer == EROFS)
    fehler::auslösen(fehler::kZugriffVerweigert);
  if (fehlernummer == EIO) fehler::auslösen(57);
  fehler::auslösen(fehler::kPfadZugriffsfehler);
}

// A whole-file write replaces a file that other accounts of a shared group may have to
// write too: the new file takes the replaced file's mode and group (as far as this
// account may set them), not what the process's umask gives a new file.
void Rechte_übernehmen(int fd, const QString& ziel) {
  struct stat alt {};
  if (::lstat(QFile::encodeName(ziel).constData(), &alt) != 0 || !S_ISREG(alt.st_mode)) {
    Rechte_wie_Nachbarn(fd, ziel);
    return;
  }
  struct stat neu {};
  if (::fstat(fd, &neu) != 0) return;
  if (neu.st_gid != alt.st_gid) (void)!::fchown(fd, static_cast<uid_t>(-1), alt.st_gid);
  if ((neu.st_mode & 07777) != (alt.st_mode & 07777)) (void)!::fchmod(fd, alt.st_mode & 07777);
}

// This machine's host name as it may stand in a file name: at most 16 letters, digits
// and '-' (two machines on one share with the same process id must not meet).
const QString& Rechnername() {
  static const QString n = [] {
    QString r;
    for (QChar c : QSysInfo::machineHostName())
      if (r.size() < 16 && c.unicode() < 128 && (c.isLetterOrNumber() || c == u'-')) r += c;
    return r.isEmpty() ? QStringLiteral("x") : r;
  }();
  return n;
}

// Opens a file for appending; a file this call creates takes the mode and group of its
// neighbours in a shared folder. -1 when it cannot be opened. Without `anlegen` a
// missing file is not made (-1 with ENOENT).
int Zum_Anhängen_öffnen(const QString& pfad, bool anlegen) {
  const QByteArray p = QFile::encodeName(pfad);
  constexpr int kArt = O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC;
  for (int versuch = 0; versuch < 3; ++versuch) {
    int fd = ::open(p.constData(), kArt);
    if (fd >= 0 || errno != ENOENT || !anlegen) return fd;
    fd = ::open(p.constData(), kArt | O_CREAT | O_EXCL, 0666);
    if (fd >= 0) {
      Rechte_wie_Nachbarn(fd, pfad);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return ::open(p.constData(), kArt | O_CREAT, 0666);
}

QString Zwischenname(const QString& ziel) { return Eigener_Zwischenname(ziel); }

[[noreturn]] void Öffnungsfehler(const QString& pfad, bool schreiben) {
  const QFileInfo fi(pfad);
  if (!QFileInfo(fi.absolutePath()).isDir()) fehler::auslösen(fehler::kPfadNichtGefunden);
  if (!schreiben && !fi.exists()) fehler::auslösen(fehler::kDateiNichtGefunden);
  if (fi.isDir()) fehler::auslösen(fehler::kPfadZugriffsfehler);
  fehler::auslösen(fehler::kZugriffVerweigert);
}

QByteArray Datei_lesen(const QString& pfad) {
  sZuletzt = Gelesene_Datei{};
  const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Öffnungsfehler(pfad, false);
  struct stat st {};
  const bool stand = Attribute_vom_Server(fd, &st);
  QByteArray inhalt;
  const bool ganz = Ganz_lesen(fd, stand ? st.st_size : 0, inhalt);
  ::close(fd);
  if (!ganz) Öffnungsfehler(pfad, false);
  if (stand) {
    sZuletzt.pfad = pfad;
    sZuletzt.inhalt = inhalt;
    sZuletzt.zeit = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    sZuletzt.gerät = static_cast<quint64>(st.st_dev);
    sZuletzt.inode = static_cast<quint64>(st.st_ino);
    sZuletzt.größe = st.st_size;
    sZuletzt.modus = st.st_mode & 07777;
    sZuletzt.gruppe = st.st_gid;
  }
  return inhalt;
}

// `anlegen` false: an append never makes the file, and a file that is gone or a link in
// its place is raised as a file not found.
void Öffnen(const QString& pfad, Modus modus, bool anlegen = true) {
  if (gKanal.modus != Modus::Zu) fehler::auslösen(fehler::kDateiBereitsGeöffnet);
  if (pfad.isEmpty()) fehler::auslösen(52);
  Kanal k;
  k.modus = modus;
  k.pfad = pfad;
  if (modus == Modus::Lesen) {
    // One look at the path: a folder, or a link in the data folder, is not read; a link
    // elsewhere is read unless it leads to a folder. The look stays before the opening:
    // on a share that caches file attributes, reads without it were seen to miss lines
    // another machine had just written.
    struct stat st {};
    if (::lstat(QFile::encodeName(pfad).constData(), &st) == 0) {
      if (S_ISDIR(st.st_mode)) fehler::auslösen(fehler::kPfadZugriffsfehler);
      if (S_ISLNK(st.st_mode) && (Im_Datenbereich(pfad) || QFileInfo(pfad).isDir()))
        fehler::auslösen(fehler::kPfadZugriffsfehler);
    }
    k.inhalt = Datei_lesen(pfad);
  } else if (modus == Modus::Anhängen) {
    // An append never follows a link: it would grow a file outside the data folder.
    // The open itself refuses one (O_NOFOLLOW), so no look at the path comes first.
    const int fd = Zum_Anhängen_öffnen(pfad, anlegen);
    if (fd < 0) {
      // A month file that is gone, or a link in its place, is no month file to append to.
      if (!anlegen && (errno == ENOENT || errno == ELOOP)) fehler::auslösen(fehler::kDateiNichtGefunden);
      if (errno == ELOOP) fehler::auslösen(fehler::kPfadZugriffsfehler);
      Öffnungsfehler(pfad, true);
    }
    k.anhängen = fd;
  } else {
    const QFileInfo fi(pfad);
    if (fi.exists() && (fi.isDir() || !fi.isWritable())) Öffnungsfehler(pfad, true);
    k.datei = std::make_unique<QFile>(Zwischenname(pfad));
    if (!k.datei->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) Öffnungsfehler(pfad, true);
  }
  gKanal = std::move(k);
}

// Writes all bytes straight to a descriptor, so that a failure keeps its cause in
// *ursache (errno).
bool Vollständig_schreiben(int fd, const QByteArray& daten, qint64* teil = nullptr, int* ursache = nullptr) {
  qint64 geschrieben = 0;
  if (teil) *teil = 0;
  while (geschrieben < daten.size()) {
    const ssize_t n = ::write(fd, daten.constData() + geschrieben, static_cast<size_t>(daten.size() - geschrieben));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (ursache) *ursache = n < 0 ? errno : ENOSPC;
      return false;
    }
    geschrieben += n;
    if (teil) *teil = geschrieben;
  }
  return true;
}

bool Vollständig_schreiben(QFile& f, const QByteArray& daten, qint64* teil = nullptr, int* ursache = nullptr) {
  if (!f.flush()) {
    if (teil) *teil = 0;
    if (ursache) *ursache = EIO;
    return false;
  }
  return Vollständig_schreiben(f.handle(), daten, teil, ursache);
}

// Whether what was written reached the disk. A network share often reports a full
// disk or quota only here: a file that did not get there must not replace the target.
// A file system that cannot sync at all is no failure.
bool Auf_Platte(int fd, int* ursache = nullptr) {
  if (::fdatasync(fd) == 0) return true;
  if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) return true;
  if (ursache) *ursache = errno;
  return false;
}

// Writes out what the channel holds; throws a run-time error when that fails (the
// target then stays as it was for "Output").
void Kanal_abschließen() {
  Kanal k = std::move(gKanal);
  gKanal = Kanal{};
  if (k.modus == Modus::Anhängen && k.anhängen >= 0) {
    const int fd = k.anhängen;
    // One write of whole lines: another workstation appending at the same moment
    // cannot interleave inside our lines.
    qint64 teil = 0;
    int ursache = 0;
    bool ok = Vollständig_schreiben(fd, k.puffer, &teil, &ursache);
    // The appended lines are whole on the disk before the caller lets go of its lock
    // or reports the save: one sync per opening, however many lines it took.
    if (ok && !Auf_Platte(fd, &ursache)) {
      ::close(fd);
      Schreibfehler(ursache);
    }
    if (!ok && teil > 0) {
      // A full disk took only part of the lines: that part would run into the next
      // line appended, so it is cut off again, unless someone appended behind it.
      const off_t ende = ::lseek(fd, 0, SEEK_CUR);
      struct stat st {};
      if (ende >= teil && ::fstat(fd, &st) == 0 && st.st_size == ende) (void)!::ftruncate(fd, ende - teil);
    }
    ::close(fd);
    if (!ok) Schreibfehler(ursache);
    return;
  }
  if (!k.datei) return;
  const QString zwischen = k.datei->fileName();
  int ursache = 0;
  bool ok = Vollständig_schreiben(*k.datei, k.puffer, nullptr, &ursache);
  if (ok) ok = Auf_Platte(k.datei->handle(), &ursache);
  if (ok) Rechte_übernehmen(k.datei->handle(), k.pfad);
  sVorbild = Vorgemerkt{};
  k.datei->close();
  if (ok) {
    ok = ::rename(QFile::encodeName(zwischen).constData(), QFile::encodeName(k.pfad).constData()) == 0;
    if (!ok) ursache = errno;
  }
  if (!ok) {
    QFile::remove(zwischen);
    Schreibfehler(ursache);
  }
}

}  // namespace

void Dateizugriff_zurücksetzen() { Zustand_zurücksetzen(); }

namespace {

// The file of the same family whose mode (and, for a month version, group) a new file
// takes: for a month version the newest other version of that month, else any other
// month; for any other file a file of the folder with the same ending. `eigeneGruppe`
// tells whether the group comes with it. Empty when the folder holds none.
QString Vorbild(const QString& ordner, const QString& name, bool& eigeneGruppe) {
  eigeneGruppe = false;
  const QDir d(ordner);
  const QStringList alle = d.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::Reversed);
  // The look at the file itself (whether it is a link) comes last, for a candidate only.
  const auto passend = [&](const QString& n) {
    return n.compare(name, Qt::CaseInsensitive) != 0 && !Ist_Zwischendatei(n) && !Ist_Verweis(d.filePath(n));
  };
  if (const std::optional<Monatsversion> eigene = Monatsversion::aus_Name(name)) {
    for (const QString& n : alle)
      if (const auto v = Monatsversion::aus_Name(n); v && v->gleicher_Monat(*eigene) && passend(n)) {
        eigeneGruppe = true;
        return d.filePath(n);
      }
    for (const QString& n : alle)
      if (Ist_Monatsdateiname(n) && passend(n)) return d.filePath(n);
    return {};
  }
  const qsizetype punkt = name.lastIndexOf(u'.');
  if (punkt <= 0) return {};
  const QString endung = name.mid(punkt);
  for (const QString& n : alle)
    if (n.endsWith(endung, Qt::CaseInsensitive) && passend(n)) return d.filePath(n);
  return {};
}

}  // namespace

void Rechte_wie_Nachbarn(int fd, const QString& pfad) {
  if (!Im_Datenbereich(pfad)) return;
  const QFileInfo fi(pfad);
  bool eigeneGruppe = false;
  QString vorbild;
  const QString vorgemerkt = sVorbild.ziel == pfad ? sVorbild.vorbild : QString();
  // The version a rewrite was made from was read through the channel just now: its
  // rights came with that opening, which refuses a link in the data folder.
  const bool gelesen =
      !vorgemerkt.isEmpty() && sZuletzt.pfad == vorgemerkt && sZuletzt.größe >= 0 && Im_Datenbereich(vorgemerkt);
  if (!vorgemerkt.isEmpty() && (gelesen || !Ist_Verweis(vorgemerkt)) &&
      QFileInfo(vorgemerkt).fileName().compare(fi.fileName(), Qt::CaseInsensitive) != 0) {
    // Named by the caller: the neighbour a listing would find.
    const QString n = QFileInfo(vorgemerkt).fileName();
    vorbild = vorgemerkt;
    const std::optional<Monatsversion> ziel = Monatsversion::aus_Name(fi.fileName());
    const std::optional<Monatsversion> von = Monatsversion::aus_Name(n);
    eigeneGruppe = ziel && von && ziel->gleicher_Monat(*von);
  } else if (!fi.fileName().endsWith(QStringLiteral(".vklock"))) {
    // A lock file belongs to no family: the folder's rights are what another
    // workstation needs to read it, and no listing is made for each lock taken.
    vorbild = Vorbild(fi.absolutePath(), fi.fileName(), eigeneGruppe);
  }
  struct stat v {};
  bool mitVorbild = false;
  if (vorbild == vorgemerkt && gelesen) {
    v.st_mode = static_cast<mode_t>(sZuletzt.modus);
    v.st_gid = static_cast<gid_t>(sZuletzt.gruppe);
    mitVorbild = true;
  } else {
    mitVorbild = !vorbild.isEmpty() && ::stat(QFile::encodeName(vorbild).constData(), &v) == 0;
  }
  // Without a neighbour the folder's own rights tell who shares it: whoever may read
  // or write the folder may read or write its files. A version of the same month
  // gives both mode and group, and the folder is not looked at.
  struct stat ordner {};
  if (!(mitVorbild && eigeneGruppe) && ::stat(QFile::encodeName(fi.absolutePath()).constData(), &ordner) != 0) return;
  const mode_t modus = mitVorbild ? (v.st_mode & 0666) : (ordner.st_mode & 0666);
  const gid_t gruppe = mitVorbild && eigeneGruppe ? v.st_gid : ordner.st_gid;
  struct stat neu {};
  if (::fstat(fd, &neu) != 0) return;
  if (neu.st_gid != gruppe) (void)!::fchown(fd, static_cast<uid_t>(-1), gruppe);
  if ((neu.st_mode & 07777) != modus) (void)!::fchmod(fd, modus);
}

bool Sperrdatei_Rechte(const QString& pfad, Sperrdateirechte& rechte) {
  if (!Im_Datenbereich(pfad)) return false;
  struct stat ordner {};
  if (::stat(QFile::encodeName(QFileInfo(pfad).absolutePath()).constData(), &ordner) != 0) return false;
  rechte.modus = ordner.st_mode & 0666;
  rechte.gruppe = ordner.st_gid;
  return true;
}

void Sperrdatei_Rechte_setzen(int fd, const Sperrdateirechte& rechte) {
  struct stat neu {};
  if (::fstat(fd, &neu) != 0) return;
  if (neu.st_gid != rechte.gruppe) (void)!::fchown(fd, static_cast<uid_t>(-1), rechte.gruppe);
  if ((neu.st_mode & 07777) != rechte.modus) (void)!::fchmod(fd, rechte.modus);
}

void Rechte_Vorbild_vormerken(const QString& ziel, const QString& vorbild) { sVorbild = Vorgemerkt{ziel, vorbild}; }

[[noreturn]] void Öffnungsabbruch(const QString& pfad, const QString& modus);

bool FOpen_anhängen_ohne_Anlegen(const QString& pfad) {
  try {
    gOffeneDatei = pfad;
    sAusschreibfehler = false;
    Öffnen(pfad, Modus::Anhängen, false);
    gDateiGeschrieben = true;
    return true;
  } catch (const Laufzeitfehler& e) {
    FVerwerfen();
    if (e.nummer() == fehler::kDateiNichtGefunden) return false;
  }
  // Any other failure ends the program as an opening for "Append" does, without an
  // opening that could make the file.
  Öffnungsabbruch(pfad, QStringLiteral("Append"));
}

bool FOpen(const QString& pfad, const QString& modus, const QString& option) {
  gOffeneDatei = pfad;
  sAusschreibfehler = false;
  try {
    const QString m = modus.toLower();
    const Modus art = m == u"input" ? Modus::Lesen : m == u"append" ? Modus::Anhängen : Modus::Schreiben;
    Öffnen(pfad, art);
    if (art == Modus::Lesen && gKanal.inhalt.isEmpty()) {
      // Seen empty: most likely another workstation is writing it right now.
      FVerwerfen();
      gOffeneDatei = pfad;
      Sanduhr_Mauszeiger(true);
      Pause(1.5);
      Meldung(
          QStringLiteral("Die Datei ") + ShowPfad(pfad, 100) +
          QStringLiteral(" wird gerade von jemand anderem benutzt. Bitte einige Sekunden warten und dann fortsetzen."));
      Sanduhr_Mauszeiger(true);
      Pause(1.5);
      Sanduhr_Mauszeiger(false);
      Öffnen(pfad, art);
      // Only one of the program's own data files of the data folder that stays empty
      // is damage the start repair can mend; an empty logbook, lock file, settings
      // file, overtime file or file beside the program is left to its reader.
      if (gStörungsmeldung.isEmpty() && gKanal.inhalt.isEmpty() && Ist_eigene_Datendatei(pfad)) {
        Startfehler_melden(QStringLiteral("Die Datei ") + ShowPfad(pfad, 100) + QStringLiteral(" ist leer."), pfad,
                           QString());
      }
    }
    if (art != Modus::Lesen) gDateiGeschrieben = true;
    return true;
  } catch (const Laufzeitfehler&) {
    FVerwerfen();
    if (option.compare(u"IgnoreErrors", Qt::CaseInsensitive) == 0) return false;
    Öffnungsabbruch(pfad, modus);
  }
}

// The failure of an opening that IgnoreErrors does not cover: the file-access message
// and the end of the program.
void Öffnungsabbruch(const QString& pfad, const QString& modus) {
  const bool lesen = modus.compare(u"Input", Qt::CaseInsensitive) == 0;
  Programmabbruch(QString(),
                  QStringLiteral("Die Datei ") + ShowPfad(pfad, 100) +
                      QStringLiteral(" konnte nicht geöffnet werden.\r\rVermutlich haben Sie keine ausreichenden "
                                     "Zugriffsberechtigungen für den Ordner ") +
                      ShowPfad(ParentDir(pfad), 100) +
                      (lesen ? QString() : QStringLiteral(", ist die Datei schreibgeschützt")) +
                      QStringLiteral(" oder die Datei ist nicht vorhanden"),
                  QStringLiteral("Fehler beim Dateizugriff auf ") + ShowPfad(pfad, 100) + QStringLiteral(", Modus '") +
                      modus + u'\'');
}

void FClose() {
  const double t0 = uhr::monoton();
  // The name stays while the lines are written out: a write that fails (a full disk)
  // is reported with the file it concerns.
  try {
    Kanal_abschließen();
  } catch (...) {
    sAusschreibfehler = true;
    throw;
  }
  gOffeneDatei.clear();
  const double dauer = uhr::monoton() - t0;
  if (static_cast<float>(dauer) > 0.2f) {
    gLangsamesNetz = true;
    gLangsamesNetzGesehen();
  }
  if (gBeschäftigt) QCoreApplication::processEvents();
}

bool Ausschreibfehler() { return sAusschreibfehler && !gOffeneDatei.isEmpty(); }

void FVerwerfen() {
  sAusschreibfehler = false;
  gOffeneDatei.clear();
  Kanal_zurücksetzen();
}

bool FEOF() { return gKanal.modus != Modus::Lesen || gKanal.pos >= gKanal.inhalt.size(); }

QByteArray Kanal_Zeile_lesen() { return Kanal_Zeile_sehen().toByteArray(); }

QByteArray Kanal_Inhalt() { return gKanal.modus == Modus::Lesen ? gKanal.inhalt : QByteArray(); }

QByteArrayView Kanal_Zeile_sehen() {
  if (gKanal.modus != Modus::Lesen) fehler::auslösen(fehler::kFalscherDateimodus);
  if (gKanal.pos >= gKanal.inhalt.size()) fehler::auslösen(fehler::kEingabeHinterDateiende);
  const QByteArray& d = gKanal.inhalt;
  const char* anfang = d.constData() + gKanal.pos;
  const char* schluss = d.constData() + d.size();
  // The line ends at the first CR or LF; both are searched for by memchr, the LF only
  // before the CR.
  const char* e = static_cast<const char*>(std::memchr(anfang, '\r', static_cast<size_t>(schluss - anfang)));
  if (!e) e = schluss;
  if (const void* lf = std::memchr(anfang, '\n', static_cast<size_t>(e - anfang))) e = static_cast<const char*>(lf);
  const QByteArrayView zeile(anfang, e - anfang);
  qsizetype ende = e - d.constData();
  gKanal.letzteUnvollständig = ende >= d.size();
  if (ende < d.size() && d[ende] == '\r') ++ende;
  if (ende < d.size() && d[ende] == '\n') ++ende;
  gKanal.pos = ende;
  return zeile;
}

bool Kanal_letzte_Zeile_unvollständig() { return gKanal.letzteUnvollständig; }

bool Kanal_ohne_letztes_Zeilenende() {
  if (gKanal.modus != Modus::Lesen || gKanal.inhalt.isEmpty()) return false;
  const char letztes = gKanal.inhalt.back();
  return letztes != '\n' && letztes != '\r';
}

void Datei_beschädigt(const QString& pfad, int zeile) {
  FVerwerfen();
  Startfehler_melden(QStringLiteral("Die Datei ") + ShowPfad(pfad, 100) + QStringLiteral(" ist beschädigt") +
                         (zeile > 0 ? QStringLiteral(" (Zeile ") + QString::number(zeile) + u')' : QString()) + u'.',
                     pfad, QString());
}

void Kanal_Zeile_schreiben(const QByteArray& zeile) {
  if (gKanal.modus != Modus::Schreiben && gKanal.modus != Modus::Anhängen)
    fehler::auslösen(gKanal.modus == Modus::Zu ? 52 : fehler::kFalscherDateimodus);
  gKanal.puffer += zeile;
  gKanal.puffer += "\r\n";
}

void Kanal_Bytes_schreiben(const QByteArray& bytes) {
  if (gKanal.modus != Modus::Schreiben && gKanal.modus != Modus::Anhängen)
    fehler::auslösen(gKanal.modus == Modus::Zu ? 52 : fehler::kFalscherDateimodus);
  if (gKanal.puffer.isEmpty())
    gKanal.puffer = bytes;
  else
    gKanal.puffer += bytes;
}

QString LineInPlain() { return cp1252::dekodieren(Kanal_Zeile_lesen()); }
void LineOutPlain(const QString& text) { Kanal_Zeile_schreiben(cp1252::kodieren(text)); }

void Dateifehler(int code, const QString& pfad, const QString& header, const QString& prozedur) {
  const QString p = ShowPfad(pfad, 100);
  const QString neu = QStringLiteral(" Installieren Sie das Programm erneut, um dieses Problem zu beheben");
  switch (code) {
    case 1:
      Startfehler_melden(QStringLiteral("Die Datei ") + p + QStringLiteral(" wurde nicht gefunden."), pfad, QString());
      break;
    case 2:
      Startfehler_melden(QStringLiteral("Der Dateiheader [") + header + QStringLiteral("] der Datei ") + p +
                             QStringLiteral(" wurde nicht erkannt."),
                         pfad, QString());
      break;
    case 3:
      Programmabbruch(prozedur, QStringLiteral("Die Datei ") + p + QStringLiteral(" wurde nicht gefunden.") + neu,
                      QString());
      break;
    case 4:
      Programmabbruch(prozedur,
                      QStringLiteral("Der Dateiheader [") + header + QStringLiteral("] der Datei ") + p +
                          QStringLiteral(" wurde nicht erkannt.") + neu,
                      QString());
      break;
    default:
      break;
  }
}

bool Dateien_löschen(const QString& ordner, const QString& muster) {
  return Prozedur(QStringLiteral("modVelkora - Dateien_löschen"), [&] {
    const QString o = umgebung::mitSchrägstrich(ordner);
    for (const QString& name : Dateiliste(o, muster)) Löschen(o + name);
    return Dateiliste(o, muster).isEmpty();
  });
}

void Löschen(const QString& pfad) {
  try {
    QString p = pfad;
    if (p.size() > 1 && p.endsWith(u'/')) p.chop(1);
    // One look at the path tells a link, a folder and a file apart (a save deletes
    // versions on every first save of a day).
    const QByteArray name = QFile::encodeName(p);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) return;
    if (S_ISLNK(st.st_mode)) {
      // The link itself goes; its target (and the target's mode) stays as it is.
      ::unlink(name.constData());
    } else if (S_ISDIR(st.st_mode)) {
      QFile::setPermissions(p, QFile::permissions(p) | QFileDevice::WriteOwner);
      const QString aktuell = umgebung::mitSchrägstrich(QDir::currentPath()).toLower();
      const QString ziel = umgebung::mitSchrägstrich(p).toLower();
      if (aktuell.startsWith(ziel)) QDir::setCurrent(umgebung::tempOrdner());
      QDir().rmdir(p);
    } else {
      // A write-protected file is made writable first, as a read-only file must be
      // before it can be deleted on the workstations' own file systems.
      if (!(st.st_mode & S_IWUSR)) (void)!::chmod(name.constData(), (st.st_mode & 07777) | S_IWUSR);
      gDateiEntfernen(p);
    }
  } catch (...) {
  }
}

QString ParentDir(const QString& pfad) {
  if (pfad.isEmpty()) return {};
  const qsizetype i = pfad.lastIndexOf(u'/', pfad.size() - 2);
  return i < 0 ? QString() : pfad.left(i + 1);
}

QString ShowDatei(const QString& pfad) {
  QString p = pfad;
  if (p.endsWith(u'/')) p.chop(1);
  return p.mid(p.lastIndexOf(u'/') + 1);
}

QString ShowPfad(const QString& pfad, int maxLaenge) {
  QString p = pfad;
  if (p.endsWith(u'/')) p.chop(1);
  if (p.size() > maxLaenge) {
    const int h = std::max(0, (maxLaenge - 10) / 2);
    p = p.left(h) + QStringLiteral(" ... ") + p.right(h);
  }
  return u'\'' + p + u'\'';
}

void Verzeichnis_anlegen(const QString& ordner) {
  QString o = ordner;
  if (o.size() > 1 && o.endsWith(u'/')) o.chop(1);
  if (!gOrdnerAnlegen(o) && !QFileInfo(o).isDir()) {
    // A folder whose parent is missing cannot be made, whatever the rights: name the
    // missing folder.
    const QString eltern = QFileInfo(o).absolutePath();
    if (!QFileInfo(eltern).isDir())
      Programmabbruch(QString(),
                      QStringLiteral("Der Ordner ") + ShowPfad(ordner, 100) +
                          QStringLiteral(" konnte nicht angelegt werden, weil der Ordner ") + ShowPfad(eltern, 100) +
                          QStringLiteral(" nicht vorhanden ist"),
                      QStringLiteral("NoLog"));
    Programmabbruch(QString(),
                    QStringLiteral("Der Ordner ") + ShowPfad(ordner, 100) +
                        QStringLiteral(" konnte nicht angelegt werden.\r\rVermutlich haben Sie keine ausreichenden "
                                       "Zugriffsberechtigungen"),
                    QStringLiteral("NoLog"));
  }
  Verzeichnis_wechseln(ordner);
}

bool Verzeichnis_vorhanden(const QString& pfad) { return !pfad.isEmpty() && QFileInfo(pfad).isDir(); }

void Verzeichnis_wechseln(const QString& ordner) {
  if (!QDir::setCurrent(ordner)) {
    Programmabbruch(QString(),
                    QStringLiteral("Auf den Ordner ") + ShowPfad(ordner, 100) +
                        QStringLiteral(" konnte nicht zugegriffen werden.\r\rVermutlich ist der Ordner nicht vorhanden "
                                       "oder Sie haben keine ausreichenden Zugriffsberechtigungen in diesem Ordner"),
                    QStringLiteral("NoLog"));
  }
}

bool Datei_vorhanden(const QString& pfad) {
  const QFileInfo fi(pfad);
  return fi.exists() && fi.isFile();
}

namespace {
quint64 sDateilisten = 0;
}

quint64 Dateilisten_bisher() { return sDateilisten; }

QStringList Dateiliste(const QString& ordner, const QString& muster, Listenart art, QStringList* übrige) {
  ++sDateilisten;
  QStringList r;
  // The folder's entries straight from the system (every save lists the data folder):
  // the kind of an entry comes with its name, so only a link, or an entry of unknown
  // kind, is looked at. Every entry but a folder or a link to one is listed, hidden and
  // special ones and broken links included.
  const QString o = ordner.isEmpty() ? QStringLiteral(".") : ordner;
  // Read by getdents64 from a plain opening of the folder: the folder's attributes,
  // which opendir asks for first, say nothing a listing needs.
  const int fd = ::open(QFile::encodeName(o).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return r;
  const QString basis = umgebung::mitSchrägstrich(o);
  alignas(8) char puffer[32768];
  for (;;) {
    const long n = ::syscall(SYS_getdents64, fd, puffer, sizeof puffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    for (long pos = 0; pos < n;) {
      // struct linux_dirent64: inode, offset, record length, type, name.
      const char* e = puffer + pos;
      unsigned short länge = 0;
      std::memcpy(&länge, e + 16, sizeof länge);
      const unsigned char typ = static_cast<unsigned char>(e[18]);
      const char* roh = e + 19;
      pos += länge;
      if (länge == 0) break;
      if (typ == DT_DIR) continue;
      const QString name = QFile::decodeName(roh);
      if (name == u"." || name == u".." || !text::passtMuster(name, muster) || Ist_Zwischendatei(name)) continue;
      if (art == Listenart::NurDateien && typ != DT_REG) {
        // The kind the listing gives; only an entry of unknown kind is looked at, and
        // then without following a link.
        struct stat st {};
        const bool gesehen = typ == DT_UNKNOWN && ::lstat(QFile::encodeName(basis + name).constData(), &st) == 0;
        if (gesehen && S_ISREG(st.st_mode)) {
          r << name;
          continue;
        }
        if (gesehen && S_ISDIR(st.st_mode)) continue;
        if (übrige) {
          // What `Alles` would list of it: anything but a link to a folder.
          struct stat ziel {};
          const bool ordner = (typ == DT_LNK || (gesehen && S_ISLNK(st.st_mode))) &&
                              ::stat(QFile::encodeName(basis + name).constData(), &ziel) == 0 && S_ISDIR(ziel.st_mode);
          if (!ordner) *übrige << name;
        }
        continue;
      }
      if (typ == DT_LNK || typ == DT_UNKNOWN) {
        struct stat st {};
        if (::stat(QFile::encodeName(basis + name).constData(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
      }
      r << name;
    }
  }
  ::close(fd);
  std::sort(r.begin(), r.end());
  if (übrige) std::sort(übrige->begin(), übrige->end());
  return r;
}

QDateTime Dateizeit(const QString& pfad) {
  const QFileInfo fi(pfad);
  return fi.exists() ? fi.lastModified() : QDateTime();
}

qint64 Dateigröße(const QString& pfad) {
  const QFileInfo fi(pfad);
  return fi.exists() ? fi.size() : -1;
}

QString Zwischendatei_schreiben(const QString& ziel, const QByteArray& inhalt) {
  const QString zwischen = Zwischenname(ziel);
  QFile f(zwischen);
  if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return QString();
  bool ok = Vollständig_schreiben(f, inhalt);
  if (ok) ok = Auf_Platte(f.handle());
  if (ok) Rechte_übernehmen(f.handle(), ziel);
  f.close();
  if (!ok) QFile::remove(zwischen);
  return ok ? zwischen : QString();
}

bool Datei_sicher_schreiben(const QString& pfad, const QByteArray& inhalt) {
  const QString zwischen = Zwischendatei_schreiben(pfad, inhalt);
  if (zwischen.isEmpty()) return false;
  const bool ok = ::rename(QFile::encodeName(zwischen).constData(), QFile::encodeName(pfad).constData()) == 0;
  if (!ok) QFile::remove(zwischen);
  return ok;
}

bool Ist_Zwischendatei(const QString& name) { return name.endsWith(kZwischenEndung); }

bool Attribute_vom_Server(int fd, struct stat* st) {
  struct statx x {};
  if (::statx(fd, "", AT_EMPTY_PATH | AT_STATX_FORCE_SYNC, STATX_BASIC_STATS, &x) != 0)
    return (errno == ENOSYS || errno == EINVAL) && ::fstat(fd, st) == 0;
  *st = {};
  st->st_dev = makedev(x.stx_dev_major, x.stx_dev_minor);
  st->st_ino = x.stx_ino;
  st->st_mode = x.stx_mode;
  st->st_nlink = x.stx_nlink;
  st->st_uid = x.stx_uid;
  st->st_gid = x.stx_gid;
  st->st_rdev = makedev(x.stx_rdev_major, x.stx_rdev_minor);
  st->st_size = static_cast<off_t>(x.stx_size);
  st->st_blksize = static_cast<blksize_t>(x.stx_blksize);
  st->st_blocks = static_cast<blkcnt_t>(x.stx_blocks);
  st->st_atim = {x.stx_atime.tv_sec, x.stx_atime.tv_nsec};
  st->st_mtim = {x.stx_mtime.tv_sec, x.stx_mtime.tv_nsec};
  st->st_ctim = {x.stx_ctime.tv_sec, x.stx_ctime.tv_nsec};
  return true;
}

bool Ganz_lesen(int fd, qint64 attributgröße, QByteArray& r) {
  r.clear();
  qsizetype gelesen = 0;
  qsizetype gewünscht = static_cast<qsizetype>(std::max<qint64>(attributgröße, 0)) + 1;
  for (;;) {
    if (r.size() < gelesen + gewünscht) r.resize(gelesen + gewünscht);
    const ssize_t n = ::read(fd, r.data() + gelesen, static_cast<size_t>(gewünscht));
    if (n < 0 && errno == EINTR) continue;
    // A read that fails half-way (a share gone, a bad sector) gives no file: what came
    // before would be taken for all of it.
    if (n < 0) {
      r.clear();
      return false;
    }
    if (n == 0) break;
    gelesen += n;
    if (n < gewünscht && gelesen >= attributgröße) break;
    gewünscht = std::max<qsizetype>(65536, gewünscht - n);
  }
  r.resize(gelesen);
  return true;
}

const Gelesene_Datei& Zuletzt_gelesen() { return sZuletzt; }

QString Eigener_Zwischenname(const QString& ziel) {
  const QFileInfo fi(ziel);
  return fi.absolutePath() + QStringLiteral("/~") + fi.fileName() + u'.' + Rechnername() + u'.' +
         QString::number(QCoreApplication::applicationPid()) + u'.' +
         QString::number(QRandomGenerator::global()->generate(), 36) + kZwischenEndung;
}

bool Datei_öffnenbar(const QString& pfad, bool verweisFolgen) {
  const int fd =
      ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (verweisFolgen ? 0 : O_NOFOLLOW));
  if (fd >= 0) {
    ::close(fd);
    return true;
  }
  return errno != ENOENT && errno != ENOTDIR && (verweisFolgen || errno != ELOOP);
}

void Ordneransicht_erneuern(const QString& ordner) {
  const QByteArray p = QFile::encodeName(Eigener_Zwischenname(umgebung::mitSchrägstrich(ordner) + u'~'));
  const int fd = ::open(p.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return;
  ::close(fd);
  ::unlink(p.constData());
}

bool Ist_Verweis_Datei(const QString& pfad) { return Ist_Verweis(pfad); }

bool Zwischenname_möglich(const QString& ziel) {
  // The longest name Zwischenname gives: "~", the name, ".", the host name, ".", the
  // process number, ".", up to seven characters of the random number, the ending.
  const QByteArray name = QFile::encodeName(QFileInfo(ziel).fileName());
  return name.size() + 2 + 17 + 10 + 1 + 7 + kZwischenEndung.size() <= NAME_MAX;
}

void Zwischendateien_aufräumen(const QString& ordner, double alterSekunden) {
  if (ordner.isEmpty() || !Verzeichnis_vorhanden(ordner)) return;
  const QDir d(ordner);
  const QDateTime jetzt = QDateTime::currentDateTime();
  for (const QString& name : d.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
    if (!name.startsWith(u'~') || !Ist_Zwischendatei(name)) continue;
    const QString pfad = d.filePath(name);
    if (Ist_Verweis(pfad)) continue;
    const QDateTime zeit = QFileInfo(pfad).lastModified();
    // Another workstation's write in progress is young: only files left behind by a
    // write that was killed half-way are old.
    if (zeit.isValid() && zeit.msecsTo(jetzt) > static_cast<qint64>(alterSekunden * 1000.0)) QFile::remove(pfad);
  }
}
