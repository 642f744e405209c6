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
#include <array>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <initializer_list>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/Cp1252.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Namenstabelle.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateisperre.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Monatsversion.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Erfassungsdaten.h"
#include "store/Kommentarlaeufe.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsstand.h"
#include "store/Monatszeilen.h"
#include "store/Planungsfenster.h"
#include "store/Sicherung.h"

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

// The month and the version the last save appended to (none when it did not).
struct Angehängt {
  QString schlüssel;
  std::optional<Monatsversion> version;
};
Angehängt sAngehängt;

void Zustand_zurücksetzen() { sAngehängt = {}; }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

// A month as one listing of its pattern shows it: its versions (plain files with real
// dates) and every name the pattern matches, which the deletions after a save go by.
struct Monatsliste {
  QList<Monatsversion> versionen;
  QStringList namen;  // versions and other names (links, stray names) alike
};

Monatsliste Monat_auflisten(const QString& schlüssel) {
  Monatsliste l;
  QStringList andere;
  l.versionen = Monatsversionen_des_Monats(gDatenordner, schlüssel, &andere);
  for (const Monatsversion& v : l.versionen) l.namen << v.name();
  l.namen << andere;
  return l;
}

QString Pfad_heute(const QString& schlüssel, const QList<Monatsversion>& versionen) {
  const QString name = Monatsversion::zu(schlüssel, gHeuteText).name();
  // Today's version may stand in the folder in another letter case: a second name
  // beside it would not be the one readers take.
  for (const Monatsversion& v : versionen)
    if (v.name().compare(name, Qt::CaseInsensitive) == 0) return gDatenordner + v.name();
  return gDatenordner + name;
}

// The lines of a month file; an unterminated last line that is no whole line of the
// month (another writer's line in flight, or one cut off) is left out, a whole one is
// kept and so written with its line end by a rewrite. A month file is decoded in one
// block, as the month readers do; any other file goes LineIn's way, which stops at an
// empty line. The cut line left out goes to *abgeschnitten when given.
QStringList Offene_Zeilen_lesen(std::optional<QString>* abgeschnitten = nullptr) {
  QStringList zeilen;
  if (gOffeneDatei.endsWith(QStringLiteral("Data.dat"), Qt::CaseInsensitive)) {
    bool ohneEnde = false;
    zeilen = Zeilen_dekodieren(Kanal_Inhalt(), &ohneEnde);
    if (ohneEnde && Letzte_Zeile_abgeschnitten(zeilen.last(), zeilen.size())) {
      if (abgeschnitten) *abgeschnitten = zeilen.last();
      zeilen.removeLast();
    }
    FClose();
    return zeilen;
  }
  while (!FEOF()) {
    const QString z = LineIn();
    if (Kanal_letzte_Zeile_unvollständig() && zeilen.size() >= 3) break;
    zeilen << z;
  }
  FClose();
  return zeilen;
}

// The user of a line: its text up to the first ":" (all of it without one).
QStringView Benutzerteil(const QString& eintrag) {
  const qsizetype p = eintrag.indexOf(u':');
  return p < 0 ? QStringView(eintrag) : QStringView(eintrag).left(p);
}

// A name in lower case, lowered the same way for every name: the name itself when it
// is in lower case already (the usual case, with umlauts or without), otherwise a
// lower-cased copy kept in `kopien` (which never moves its strings).
QStringView Klein(QStringView name, std::deque<QString>& kopien) {
  thread_local QString puffer;
  const QStringView klein = cp1252::kleinAnsicht(name, puffer);
  if (klein.data() == name.data() || klein == name) return name;
  kopien.push_back(klein.toString());
  return kopien.back();
}

// The users (in lower case) whose entry lines in `zeilen` change single days: only
// their rows in the month matter to a save.
QSet<QString> Tageweise_Benutzer(const QList<Monatszeile>& zeilen) {
  QSet<QString> r;
  for (const Monatszeile& m : zeilen) {
    const Monatszeilenform f = Form_der_Monatszeile(m.zeile);
    if (m.tage && f.eintrag()) r.insert(f.benutzer(m.zeile).toString().toLower());
  }
  return r;
}

// Whether a user part is one of `gesucht` (lower case), compared by its lower-case
// form.
bool Gesucht(QStringView benutzer, const QStringList& gesucht) {
  if (gesucht.isEmpty()) return false;
  thread_local QString puffer;
  const QStringView klein = cp1252::kleinAnsicht(benutzer, puffer);
  return std::any_of(gesucht.begin(), gesucht.end(), [&](const QString& g) { return g == klein; });
}

// The text after "A:" of each entry line of `zeilen`, in order: what a merge looks at.
std::vector<QStringView> Eintragstexte(const QStringList& zeilen) {
  std::vector<QStringView> r;
  r.reserve(static_cast<size_t>(zeilen.size()));
  for (const QString& z : zeilen)
    if (Gute_Eintragszeile(z)) r.push_back(QStringView(z).mid(2));
  return r;
}

// The lines to write for `zeilen`, with each change of single days laid over the
// employee's last entry line in the month as read inside the lock (`einträge`: the
// text after "A:" of each of its entry lines, in order) or over an earlier line of the
// same save. Only the rows of users changing single days are looked up.
QStringList Zeilen_zusammenführen(const std::vector<QStringView>& einträge, const QList<Monatszeile>& zeilen) {
  // As a list: it is gone through for every line of the month.
  const QStringList gesucht = Tageweise_Benutzer(zeilen).values();
  QHash<QString, QString> letzte;  // user in lower case -> 31 code characters
  // `text`: an entry line's text after "A:".
  const auto merken = [&](QStringView text) {
    const qsizetype p = text.indexOf(u':');
    if (p < 0 || text.size() - p - 1 != 31) return;
    const QStringView benutzer = text.left(p);
    if (!Gesucht(benutzer, gesucht)) return;
    letzte.insert(benutzer.toString().toLower(), text.mid(p + 1).toString());
  };
  if (!gesucht.isEmpty())
    for (const QStringView t : einträge) merken(t);
  QStringList r;
  r.reserve(zeilen.size());
  for (const Monatszeile& m : zeilen) {
    QString z = m.zeile;
    const Monatszeilenform f = Form_der_Monatszeile(z);
    if (m.tage && f.eintrag()) z = Tage_übernehmen(letzte.value(f.benutzer(z).toString().toLower()), z, *m.tage);
    if (!gesucht.isEmpty() && f.eintrag()) merken(QStringView(z).mid(2));
    r << z;
  }
  return r;
}

// Inside the lock no one else appends: a month file whose last line has lost its line
// end (cut short, or edited by hand) gets one, so the appended line is not glued to it.
// The file is never made here: false when it is gone.
bool Zeilenende_sichern(const QString& pfad) {
  QFile f(pfad);
  if (!f.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) return f.exists();
  // The end as the server holds it: the last line may be another machine's.
  struct stat st {};
  if (!Attribute_vom_Server(f.handle(), &st) || st.st_size == 0) return true;
  const qint64 größe = st.st_size;
  if (!f.seek(größe - 1)) return true;
  char letztes = 0;
  if (f.read(&letztes, 1) != 1 || letztes == '\n') return true;
  const QByteArray ende = letztes == '\r' ? QByteArray("\n") : QByteArray("\r\n");
  const bool ok = f.seek(größe) && f.write(ende) == ende.size() && f.flush();
  f.close();
  if (!ok) {
    gOffeneDatei = pfad;
    fehler::auslösen(61);
  }
  return true;
}

// Whether the listing holds a version newer than the one named `name`.
bool Neuere_Version(const QList<Monatsversion>& versionen, const QString& name) {
  const std::optional<Monatsversion> eigene = Monatsversion::aus_Name(name);
  return eigene &&
         std::any_of(versionen.begin(), versionen.end(), [&](const Monatsversion& v) { return v.neuer_als(*eigene); });
}

// After a save wrote the version `eigene`, made from the version `basis` ("" when the
// month had no file): deletes the versions of the listing `namen` that this made
// stale, the one read and every older one. A version newer than `basis` (other than
// `eigene`) was not read by this save, so its lines are not in `eigene`: it is left,
// and the newest such one is returned. Other names the pattern matches go as before.
QString Überholte_Versionen_löschen(const QStringList& namen, const QString& eigene, const QString& basis) {
  const std::optional<Monatsversion> gelesen = Monatsversion::aus_Name(basis);
  const QStringView basisStamm = gelesen ? gelesen->stamm() : QStringView();
  std::optional<Monatsversion> neuere;
  for (const QString& name : namen) {
    if (name.compare(eigene, Qt::CaseInsensitive) == 0) continue;
    const std::optional<Monatsversion> v = Monatsversion::aus_Name(name);
    if (v && v->neuer_als(basisStamm)) {
      if (!neuere || v->neuer_als(*neuere)) neuere = v;
      continue;
    }
    Löschen(gDatenordner + name);
  }
  return neuere ? neuere->name() : QString();
}

// Whether a line is an entry row that a change of single days is laid over (as
// Zeilen_zusammenführen takes it): "A:" + one of `gesucht` (lower case) + ":" + 31 code
// characters. The user in lower case when so.
std::optional<QString> Zeile_von(const QString& z, const QSet<QString>& gesucht) {
  const Monatszeilenform f = Form_der_Monatszeile(z);
  if (!f.eintrag()) return std::nullopt;
  QString benutzer = f.benutzer(z).toString().toLower();
  if (!gesucht.contains(benutzer)) return std::nullopt;
  return benutzer;
}

// Of a month file's bytes, the lines as the channel reads them that an append of
// single days needs: the entry lines of the users `gesucht` (lower case), found by
// decoding only the beginning of each line (the line encoding shifts each character
// by its position alone). An unterminated last line that is no whole line of the month
// (another writer's line in flight) is left out. For users other than plain ASCII:
// every line.
// Only each user's last row counts: the lines are looked at from the end, and the
// looking stops once every user's last row is found (the lines come in file order,
// from the earliest one kept); a save of one employee reads half the month on average.
QStringList Zeilen_aus_Bytes(const QByteArray& d, const QSet<QString>& gesucht) {
  // The users as bytes, looked at for every line of the month.
  std::vector<QByteArray> namen;
  bool ascii = true;
  for (const QString& g : gesucht) {
    ascii = ascii && std::all_of(g.begin(), g.end(), [](QChar c) { return c.unicode() < 128 && c != u':'; });
    namen.push_back(g.toLatin1());
  }
  // Whether the encoded line decodes to "A:" + one of the users + ":".
  const auto passt = [&](const unsigned char* z, qsizetype n) {
    if (!ascii) return true;
    const int schlüssel = z[0];
    const auto zeichen = [&](qsizetype i) {
      int b = z[i + 1] - static_cast<int>((schlüssel + i + 1) & 63);
      if (b < 32) b += 224;
      return b;
    };
    if (n < 4 || zeichen(0) != 'A' || zeichen(1) != ':') return false;
    for (const QByteArray& g : namen) {
      if (n < g.size() + 4 || zeichen(2 + g.size()) != ':') continue;
      bool gleich = true;
      for (qsizetype k = 0; gleich && k < g.size(); ++k) {
        int c = zeichen(2 + k);
        if (c >= 'A' && c <= 'Z') c += 32;
        gleich = c == static_cast<unsigned char>(g[k]);
      }
      if (gleich) return true;
    }
    return false;
  };
  QStringList zeilen;
  const char* p = d.constData();
  const qsizetype n = d.size();
  // A line ends at the first CR or LF (a CR LF is one end): the text of a line is a
  // run of bytes that are neither, and each CR or LF ends one.
  const auto anfang_vor = [&](qsizetype e) {
    const void* cr = ::memrchr(p, '\r', static_cast<size_t>(e));
    const qsizetype a = cr ? static_cast<const char*>(cr) - p + 1 : 0;
    const void* lf = ::memrchr(p + a, '\n', static_cast<size_t>(e - a));
    return lf ? static_cast<const char*>(lf) - p + 1 : a;
  };
  // Whether the line from `a` to the end, which has no line end and is line `nummer` of
  // the file, is cut.
  const auto unvollständig = [&](qsizetype a, qsizetype nummer) {
    return Letzte_Zeile_abgeschnitten(Zeile_dekodieren(QByteArrayView(p + a, n - a)), nummer);
  };
  if (ascii && !namen.empty()) {
    qsizetype ende = n;
    if (n > 0 && p[n - 1] != '\r' && p[n - 1] != '\n') {
      // An unterminated last line that is no whole line is left out behind three
      // lines or more.
      const qsizetype letzte = anfang_vor(n);
      int davor = 0;
      for (qsizetype i = 0; i < letzte && davor < 3; ++davor) {
        while (i < letzte && p[i] != '\r' && p[i] != '\n') ++i;
        if (i < n && p[i] == '\r') ++i;
        if (i < n && p[i] == '\n') ++i;
      }
      if (unvollständig(letzte, davor + 1)) ende = letzte;
    }
    QSet<QString> offen = gesucht;
    for (qsizetype e = ende;;) {
      const qsizetype a = anfang_vor(e);
      if (e > a && passt(reinterpret_cast<const unsigned char*>(p + a), e - a)) {
        zeilen << Zeile_dekodieren(QByteArrayView(p + a, e - a));
        if (const std::optional<QString> b = Zeile_von(zeilen.last(), gesucht)) offen.remove(*b);
        if (offen.isEmpty()) break;
      }
      if (a == 0) break;
      e = a - 1;
    }
    std::reverse(zeilen.begin(), zeilen.end());
    return zeilen;
  }
  qsizetype gezählt = 0;
  for (qsizetype i = 0; i < n;) {
    // The line ends at the first CR or LF, as the channel finds it.
    const char* cr = static_cast<const char*>(std::memchr(p + i, '\r', static_cast<size_t>(n - i)));
    qsizetype e = cr ? cr - p : n;
    if (const void* lf = std::memchr(p + i, '\n', static_cast<size_t>(e - i))) e = static_cast<const char*>(lf) - p;
    if (e >= n && unvollständig(i, gezählt + 1)) break;
    ++gezählt;
    if (passt(reinterpret_cast<const unsigned char*>(p + i), e - i))
      zeilen << Zeile_dekodieren(QByteArrayView(p + i, e - i));
    if (e < n && p[e] == '\r') ++e;
    if (e < n && p[e] == '\n') ++e;
    i = e;
  }
  return zeilen;
}

// One line of a rewrite as up to four pieces laid one after another: the compact body
// of a month is encoded straight from the lines it was read into, not copied into new
// strings first.
struct Zeilenstücke {
  std::array<QStringView, 4> teile{};
  int anzahl = 0;
};

Zeilenstücke Stücke(std::initializer_list<QStringView> teile) {
  Zeilenstücke z;
  for (const QStringView t : teile) z.teile[static_cast<size_t>(z.anzahl++)] = t;
  return z;
}

void Anfügen(std::vector<Zeilenstücke>& ziel, const QStringList& zeilen) {
  for (const QString& z : zeilen) ziel.push_back(Stücke({z}));
}

// The encoded bytes of lines as LineOut writes them (Zeile_kodieren with a key drawn
// per line, then CR LF), encoded straight into one buffer sized once: a rewrite
// encodes every line of the month.
QByteArray Kodiert(const std::vector<Zeilenstücke>& zeilen, QByteArray bytes = QByteArray()) {
  qsizetype länge = bytes.size();
  for (const Zeilenstücke& z : zeilen) {
    länge += 3;
    for (int t = 0; t < z.anzahl; ++t) länge += z.teile[static_cast<size_t>(t)].size();
  }
  // Sized once for every line; cut to what was written at the end (control
  // characters are dropped).
  const qsizetype anfang = bytes.size();
  bytes.resize(länge);
  char* d = bytes.data() + anfang;
  for (const Zeilenstücke& z : zeilen) {
    const unsigned char schlüssel = Zufallsschlüssel();
    *d++ = static_cast<char>(schlüssel);
    int zähler = schlüssel & 63;
    for (int t = 0; t < z.anzahl; ++t)
      for (const QChar c : z.teile[static_cast<size_t>(t)]) {
        const char16_t u = c.unicode();
        const int a = u < 0x80 ? u : cp1252::byte(c);
        // Control characters are dropped.
        if (a < 32) continue;
        zähler = (zähler + 1) & 63;
        int e = a + zähler;
        if (e > 255) e -= 224;
        *d++ = static_cast<char>(e);
      }
    *d++ = '\r';
    *d++ = '\n';
  }
  bytes.resize(d - bytes.constData());
  return bytes;
}

QByteArray Kodiert(const QStringList& zeilen, QByteArray bytes = QByteArray()) {
  std::vector<Zeilenstücke> stücke;
  stücke.reserve(static_cast<size_t>(zeilen.size()));
  Anfügen(stücke, zeilen);
  return Kodiert(stücke, std::move(bytes));
}

// The compact body of a month (Monatsdatei_kompakte_Zeilen) as pieces of the month's
// lines as read; `mitten` holds the ":dd-ee:" of the comment lines.
struct Kompakter_Körper {
  std::vector<Zeilenstücke> zeilen;
  std::deque<std::array<char16_t, 7>> mitten;
};

// Writes bytes of whole lines to the file open on the channel and closes it; a failed
// write leaves nothing behind (an "Output" target stays as it was).
void Kanal_füllen(const QByteArray& bytes) {
  try {
    Kanal_Bytes_schreiben(bytes);
    FClose();
  } catch (...) {
    FVerwerfen();
    throw;
  }
}

// Writes bytes of whole lines through the channel: replacing the file.
void Bytes_schreiben(const QString& pfad, const QByteArray& bytes) {
  FOpen(pfad, QStringLiteral("Output"));
  Kanal_füllen(bytes);
}

// Appends bytes of whole lines to a month file in one write. An append never makes the
// month file: false, nothing written, when it has gone.
bool Bytes_anhängen(const QString& pfad, const QByteArray& bytes) {
  if (!FOpen_anhängen_ohne_Anlegen(pfad)) return false;
  Kanal_füllen(bytes);
  return true;
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

Monatssperre::Monatssperre(const QString& monatsschlüssel, double wartezeit) : mSchlüssel(monatsschlüssel) {
  mSperre = std::make_unique<Dateisperre>(Monatssperre_Datei(monatsschlüssel), wartezeit);
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

namespace {

Kompakter_Körper Kompakte_Stücke() {
  // Users are compared in lower case; every first save of a day builds this for the
  // whole month, so the names are looked at in place, not copied.
  std::deque<QString> kopien;
  Kompakter_Körper körper;
  std::vector<Zeilenstücke>& r = körper.zeilen;
  r.reserve(static_cast<size_t>(gMonatsEinträge.size() + gMonatsKommentare.size()));
  // Of each user, by the user name in lower case: the last entry line, the comment
  // lines as a chain in file order (the first and the last here, each one's successor
  // in `nächster`), and whether the user is in the order below yet. One table, so that
  // each name is looked up once per line and once per employee; an entry line keeps
  // the place of its user's state. Index 0 is no line.
  struct Stand {
    qsizetype eintrag = 0, ersterKommentar = 0, letzterKommentar = 0;
    bool gesehen = false;
  };
  std::vector<Stand> stände;
  stände.reserve(static_cast<size_t>(gMonatsEinträge.size() + gBenutzerIDs.size() + 16));
  Namenstabelle<size_t> platz;
  platz.reserve(stände.capacity());
  const auto stand_von = [&](QStringView name) {
    const auto [it, neu] = platz.try_emplace(name, stände.size());
    if (neu) stände.emplace_back();
    return it->second;
  };
  // The place of each entry line's user, looked at again below.
  std::vector<size_t> eintragsplatz(static_cast<size_t>(gMonatsEinträge.size()), 0);
  for (qsizetype e = 1; e < gMonatsEinträge.size(); ++e) {
    const size_t k = stand_von(Klein(Benutzerteil(gMonatsEinträge[e]), kopien));
    stände[k].eintrag = e;
    eintragsplatz[static_cast<size_t>(e)] = k;
  }
  std::vector<qsizetype> nächster(static_cast<size_t>(gMonatsKommentare.size()), 0);
  if (!(gMonatsKommentare.size() == 2 && gMonatsKommentare[1] == u"NoComments")) {
    for (qsizetype k = 1; k < gMonatsKommentare.size(); ++k) {
      Stand& st = stände[stand_von(Klein(Benutzerteil(gMonatsKommentare[k]), kopien))];
      if (st.ersterKommentar == 0)
        st.ersterKommentar = k;
      else
        nächster[static_cast<size_t>(st.letzterKommentar)] = k;
      st.letzterKommentar = k;
    }
  }

  // Every user with a line keeps it: the employees in list order, then users the
  // table does not know (yet) in the order of their first line. An employee list read
  // short or older than the month must never delete anyone's entries; those of a
  // deleted employee are removed by the employee editor's apply only.
  std::vector<size_t> benutzer;
  benutzer.reserve(static_cast<size_t>(gBenutzerIDs.size() + 16));
  for (int i = 1; i < gBenutzerIDs.size(); ++i) {
    const QStringView id = Klein(gBenutzerIDs[i], kopien);
    if (id.isEmpty()) continue;
    const size_t k = stand_von(id);
    if (!stände[k].gesehen) {
      stände[k].gesehen = true;
      benutzer.push_back(k);
    }
  }
  for (qsizetype e = 1; e < gMonatsEinträge.size(); ++e) {
    if (gMonatsEinträge.size() == 2 && gMonatsEinträge[1] == u"NoData") break;
    const size_t k = eintragsplatz[static_cast<size_t>(e)];
    if (!stände[k].gesehen) {
      stände[k].gesehen = true;
      benutzer.push_back(k);
    }
  }

  for (const size_t k : benutzer) {
    const Stand st = stände[k];
    if (st.eintrag == 0) continue;
    const QString& zeile = gMonatsEinträge[st.eintrag];
    const QStringView name = Benutzerteil(zeile);
    const QStringView codes = QStringView(zeile).mid(name.size() + 1);
    // A line of blanks only carries nothing.
    if (std::all_of(codes.begin(), codes.end(), [](QChar c) { return c == u' '; })) continue;
    r.push_back(Stücke({u"A:", zeile}));
    if (st.ersterKommentar == 0) continue;
    // Each day of the month gets the text of the last comment covering it, on days
    // that hold a code; runs of days with the same text become one line.
    QStringView tage[32];
    for (qsizetype k = st.ersterKommentar; k != 0; k = nächster[static_cast<size_t>(k)]) {
      const QString& kom = gMonatsKommentare[k];
      // Only a comment the rule reads has days; the reader keeps no other.
      const Monatszeilenform kf = Form_des_Kommentars(kom);
      if (!kf.kommentar()) continue;
      const QStringView text = kf.kommentartext(kom);
      for (int d = kf.erster_Tag(); d <= kf.letzter_Tag(); ++d)
        if (d - 1 < codes.size() && codes[d - 1] != u' ') tage[d] = text;
    }
    Kommentarläufe(tage, 1, 31, [&](int d, int e) {
      if (tage[d].isEmpty()) return;
      // "K:" + name + ":dd-ee:" + text
      std::array<char16_t, 7>& mitte = körper.mitten.emplace_back(Kommentarmitte(d, e));
      r.push_back(Stücke({u"K:", name, QStringView(mitte.data(), 7), tage[d]}));
    });
  }
  return körper;
}

}  // namespace

QStringList Monatsdatei_kompakte_Zeilen() {
  const Kompakter_Körper körper = Kompakte_Stücke();
  QStringList r;
  r.reserve(static_cast<qsizetype>(körper.zeilen.size()));
  for (const Zeilenstücke& z : körper.zeilen) {
    QString zeile;
    for (int t = 0; t < z.anzahl; ++t) zeile += z.teile[static_cast<size_t>(t)];
    r << zeile;
  }
  return r;
}

bool Monatsdatei_speichern(const QString& monatsschlüssel, const QStringList& zeilen) {
  QList<Monatszeile> z;
  z.reserve(zeilen.size());
  for (const QString& zeile : zeilen) z << Monatszeile{zeile, std::nullopt};
  return Monatsdatei_zeilen_speichern(monatsschlüssel, z);
}

namespace {

// The month as a save finds it inside the lock, from one listing of the folder.
struct Monatsbefund {
  Monatsliste liste;                  // the month in the listing
  QString heute;                      // today's version's path (its name as listed, in whatever letter case)
  QString heuteName;                  // and its file name
  Neueste_Erfassungsversion neueste;  // the newest version
  QString neuesteName;                // its file name, "" when the month has no file
  // The lines may go onto today's version: there are lines, and no version dated later
  // stands beside it.
  bool anhängbar = false;
  // Today's version, the newest, read whole in one opening: its rows, its last byte and
  // its stamp.
  bool heuteGelesen = false;
  // Today's version, listed as the newest, could not be opened or read whole (gone
  // meanwhile, or unreadable).
  bool heuteUnlesbar = false;
  QByteArray bestand;  // today's version's bytes, when read
  // The month's stamp before the own write (Monatsstand.h), when taken already: from
  // the read of today's version, or from the folder when that read failed.
  std::optional<Monatsstand> vorher;
};

// Lists the month once: which version is the newest, whether today's version is there,
// what an append makes stale. Today's version, when it is the newest and the lines may
// go onto it, is read whole in the opening that takes its stamp.
Monatsbefund Monat_vorfinden(const QString& schlüssel, bool zeilenDa) {
  Monatsbefund b;
  b.liste = Monat_auflisten(schlüssel);
  b.heute = Pfad_heute(schlüssel, b.liste.versionen);
  b.heuteName = ShowDatei(b.heute);
  b.neueste = Neueste_Erfassungsversion_aus(schlüssel, b.liste.versionen);
  if (b.neueste.version) b.neuesteName = b.neueste.version->name();
  // Beside a newer version (a workstation with a later date, whose save stopped before
  // it deleted this one) an append would not be read: the month is written afresh from
  // the newer one, which holds what today's held when it was made.
  b.anhängbar = zeilenDa && !Neuere_Version(b.liste.versionen, b.heuteName);
  const bool heuteNeueste = !b.neuesteName.isEmpty() && b.neuesteName.compare(b.heuteName, Qt::CaseInsensitive) == 0;
  if (b.anhängbar && heuteNeueste) {
    Monatsstand s;
    b.heuteGelesen = Monatsstand_der_Version(schlüssel, b.neuesteName, s, &b.bestand);
    b.heuteUnlesbar = !b.heuteGelesen;
    b.vorher = b.heuteGelesen ? s : Monatsstand_lesen(schlüssel);
  }
  return b;
}

// Whether the lines are appended to today's version; otherwise the month is written
// afresh. Today's version that was not read is asked of the server by opening it: a
// share's cached listing or file attributes may not show yet the version another
// workstation just made.
bool Anhängen_entscheiden(const Monatsbefund& b) {
  if (!b.anhängbar) return false;
  if (b.heuteGelesen) return true;
  // Looked for by opening it while the listing was read, and not there.
  if (b.neueste.heuteGeprüft && !b.neueste.heuteDa) return false;
  return Datei_öffnenbar(b.heute, false);
}

// Whether the lock is still this program's right before a write (freshened then);
// otherwise the refusal message.
bool Sperre_vor_dem_Schreiben(const QString& schlüssel) {
  Sperre_auffrischen(schlüssel);
  if (Sperre_noch_eigen(schlüssel)) return true;
  Meldung(Monatssperre_Meldung(schlüssel));
  return false;
}

// What a write of the month did: `ok` false when the lock was lost before it (the user
// has been told, nothing written). The month's stamp before and after the own write;
// `nachher` not `bekannt` is read from the folder.
struct Geschrieben {
  bool ok = false;
  // Today's version was gone when the append came to it (nothing written): the save
  // decides again.
  bool weg = false;
  Monatsstand vorher, nachher;
};

// Appends the lines to today's version, each change of single days laid over the
// employee's row as it stands in the file now.
Geschrieben An_heutige_Version_anhängen(const QString& schlüssel, const QList<Monatszeile>& zeilen,
                                        const Monatsbefund& b) {
  Geschrieben r;
  // Today's version found only by opening it: its stamp as the folder gives it.
  r.vorher = b.vorher ? *b.vorher : Monatsstand_lesen(schlüssel);
  // Read whole when found unless it was empty: otherwise by the channel.
  const bool ganz = b.heuteGelesen && !b.bestand.isEmpty();
  const bool tageweise =
      std::any_of(zeilen.begin(), zeilen.end(), [](const Monatszeile& z) { return z.tage.has_value(); });
  QStringList gelesen;
  if (tageweise && ganz) {
    gelesen = Zeilen_aus_Bytes(b.bestand, Tageweise_Benutzer(zeilen));
  } else if (tageweise) {
    // Gone meanwhile: the save decides again. A file that is there but cannot be opened
    // ends the program with the file-access message, as any opening does.
    if (!FOpen(b.heute, QStringLiteral("Input"), QStringLiteral("IgnoreErrors")) &&
        (!Datei_öffnenbar(b.heute, false) || !FOpen(b.heute, QStringLiteral("Input")))) {
      r.weg = true;
      return r;
    }
    gelesen = Offene_Zeilen_lesen();
  }
  const QStringList geschrieben = Zeilen_zusammenführen(Eintragstexte(gelesen), zeilen);
  if (!Sperre_vor_dem_Schreiben(schlüssel)) return r;
  // Inside the lock no one else appends: a last line that has lost its line end (cut
  // short, or edited by hand) gets one in the same write, so the appended line is not
  // glued to it.
  QByteArray bytes;
  if (!ganz && !Zeilenende_sichern(b.heute)) {
    r.weg = true;
    return r;
  }
  if (ganz && b.bestand.back() != '\n') bytes = b.bestand.back() == '\r' ? QByteArray("\n") : QByteArray("\r\n");
  bytes = Kodiert(geschrieben, bytes);
  if (!Bytes_anhängen(b.heute, bytes)) {
    r.weg = true;
    return r;
  }
  Sperre_auffrischen(schlüssel);
  // The listing showed no newer version; what it showed older goes.
  Überholte_Versionen_löschen(b.liste.namen, b.heuteName, b.heuteName);
  if (ganz) Monatsstand_aus_Inhalt(schlüssel, b.neuesteName, b.bestand, r.nachher, bytes);
  r.ok = true;
  return r;
}

// The version a rewrite is made from, read inside the lock into the month's lines
// (gMonatsEinträge, gMonatsKommentare, gMonatsAusnahmen).
struct Grundlage {
  bool einträge = false;  // it holds an entry line
  QString name;           // its file name, "" when the month has no file
};

Grundlage Version_lesen(const QString& schlüssel, const QString& name) {
  const bool einträge = Erfassungsversion_lesen(schlüssel, name);
  return {einträge, Erfassungsdatei_gelesen()};
}

// The newest version as a rewrite reads it, and the month's stamp before the own write.
struct Neueste_gelesen {
  Grundlage basis;
  Monatsstand vorher;
};

Neueste_gelesen Neueste_Version_lesen(const QString& schlüssel, const Monatsbefund& b) {
  // The employees of a rewrite come in the current list order (users it does not know
  // keep their lines after them).
  Mitarbeiterdaten_vor_Umschreiben_prüfen();
  Neueste_gelesen r;
  if (b.heuteUnlesbar) {
    // Today's version, listed as the newest, is gone: the newest as the folder shows it
    // now.
    r.basis.einträge = Erfassungsdaten_lesen(schlüssel);
    r.basis.name = Erfassungsdatei_gelesen();
    r.vorher = *b.vorher;
    return r;
  }
  r.basis.einträge = Erfassungsdaten_lesen(schlüssel, b.neuesteName);
  r.basis.name = Erfassungsdatei_gelesen();
  if (!Monatsstand_aus_Gelesenem(schlüssel, r.basis.name, r.vorher) &&
      !Monatsstand_der_Version(schlüssel, b.neuesteName, r.vorher))
    r.vorher = Monatsstand_lesen(schlüssel);
  return r;
}

// Writes today's version afresh: the header, the compact body of the version read and
// the lines, each change of single days laid over the employee's row in that body. The
// bytes written; nothing when the lock was lost before the write.
std::optional<QByteArray> Heutige_Version_neu_schreiben(const QString& schlüssel, const QList<Monatszeile>& zeilen,
                                                        const QString& heute, const Grundlage& basis) {
  const QStringList kopf{u'[' + schlüssel + u']', gKennzeile, gMonatsAusnahmen};
  const Kompakter_Körper körper = basis.einträge ? Kompakte_Stücke() : Kompakter_Körper{};
  std::vector<QStringView> einträge = Eintragstexte(kopf);
  for (const Zeilenstücke& z : körper.zeilen)
    if (z.anzahl == 2 && z.teile[0] == u"A:") einträge.push_back(z.teile[1]);
  const QStringList neu = Zeilen_zusammenführen(einträge, zeilen);
  if (!Sperre_vor_dem_Schreiben(schlüssel)) return std::nullopt;
  std::vector<Zeilenstücke> inhalt;
  inhalt.reserve(static_cast<size_t>(kopf.size() + neu.size()) + körper.zeilen.size());
  Anfügen(inhalt, kopf);
  inhalt.insert(inhalt.end(), körper.zeilen.begin(), körper.zeilen.end());
  Anfügen(inhalt, neu);
  const QByteArray bytes = Kodiert(inhalt);
  // A new version takes the rights of the version it was made from.
  if (!basis.name.isEmpty()) Rechte_Vorbild_vormerken(heute, gDatenordner + basis.name);
  Bytes_schreiben(heute, bytes);
  Sperre_auffrischen(schlüssel);
  return bytes;
}

// After a rewrite made from the version `basis`: the versions it made stale go. A
// version newer than the one read that the listing did not show before (a share's
// cached listing) stays, and is named. This second listing stays, whatever it costs:
// it is what finds such a version.
QString Überholte_Versionen_nach_dem_Schreiben_löschen(const QString& schlüssel, const QString& heuteName,
                                                       const QString& basis) {
  return Überholte_Versionen_löschen(Monat_auflisten(schlüssel).namen, heuteName, basis);
}

// Writes the month afresh under today's date from its newest version; a version that
// appeared meanwhile is read and today's version made again from it.
Geschrieben Monat_neu_schreiben(const QString& schlüssel, const QList<Monatszeile>& zeilen, const Monatsbefund& b) {
  Geschrieben r;
  const Neueste_gelesen gelesen = Neueste_Version_lesen(schlüssel, b);
  r.vorher = gelesen.vorher;
  Grundlage basis = gelesen.basis;
  for (int runde = 0;; ++runde) {
    const std::optional<QByteArray> bytes = Heutige_Version_neu_schreiben(schlüssel, zeilen, b.heute, basis);
    if (!bytes) return r;
    const QString neuere = Überholte_Versionen_nach_dem_Schreiben_löschen(schlüssel, b.heuteName, basis.name);
    if (neuere.isEmpty()) {
      Monatsstand_aus_Inhalt(schlüssel, b.heuteName, *bytes, r.nachher);
      break;
    }
    // Still newer ones after three more rounds: the stamp is read from the folder.
    if (runde >= 3) break;
    basis = Version_lesen(schlüssel, neuere);
  }
  r.ok = true;
  return r;
}

}  // namespace

bool Monatsdatei_zeilen_speichern(const QString& monatsschlüssel, const QList<Monatszeile>& zeilen) {
  return Prozedur(QStringLiteral("modVelkora - Monatsdatei_speichern"), [&]() -> bool {
    sAngehängt = {};
    Monatssperre sperre(monatsschlüssel);
    if (!sperre.gehalten()) {
      if (sperre.fehler() != 0) Dateisperre_Fehler(Monatssperre_Datei(monatsschlüssel), sperre.fehler());
      Meldung(Monatssperre_Meldung(monatsschlüssel));
      return false;
    }
    // A month without any version may be one the year change at another workstation
    // removed, after this program started: it is never written again.
    const auto entfernt = [&](const Monatsbefund& b) {
      if (b.neueste.version || Monat_im_Fenster_des_Ordners(monatsschlüssel)) return false;
      Meldung(Monat_ausserhalb_des_Fensters_Meldung(monatsschlüssel));
      return true;
    };
    Monatsbefund befund = Monat_vorfinden(monatsschlüssel, !zeilen.isEmpty());
    if (entfernt(befund)) return false;
    bool anhängen = Anhängen_entscheiden(befund);
    Geschrieben g = anhängen ? An_heutige_Version_anhängen(monatsschlüssel, zeilen, befund)
                             : Monat_neu_schreiben(monatsschlüssel, zeilen, befund);
    if (g.weg) {
      // Today's version went between the look and the append (no workstation deletes a
      // version without this lock, but an older program may): the month is written
      // afresh from its newest version as the folder shows it now.
      anhängen = false;
      Ordneransicht_erneuern(gDatenordner);
      befund = Monat_vorfinden(monatsschlüssel, false);
      if (entfernt(befund)) return false;
      g = Monat_neu_schreiben(monatsschlüssel, zeilen, befund);
    }
    if (!g.ok) return false;
    if (anhängen) sAngehängt = {monatsschlüssel, Monatsversion::zu(monatsschlüssel, gHeuteText)};
    // Unless another workstation had written the month since the own stamp, the stamp
    // after the write becomes the own one.
    Monatsstand_nach_eigenem_Schreiben(monatsschlüssel, g.vorher, g.nachher);
    return true;
  });
}

std::optional<Monatsversion> Monatsdatei_angehängte_Version(const QString& monatsschlüssel) {
  return sAngehängt.schlüssel == monatsschlüssel ? sAngehängt.version : std::nullopt;
}

std::optional<quint32> Geänderte_Tage(const QString& vorher, const QString& nachher) {
  const auto codes = [](const QString& z) -> QString {
    if (z.size() == 31) return z;
    const Monatszeilenform f = Form_der_Monatszeile(z);
    return f.eintrag() ? f.rest(z).toString() : QString();
  };
  const QString a = codes(vorher), b = codes(nachher);
  if (a.size() != 31 || b.size() != 31) return std::nullopt;
  quint32 tage = 0;
  for (int d = 1; d <= 31; ++d)
    if (a[d - 1] != b[d - 1]) tage |= 1u << d;
  return tage;
}

QString Tage_übernehmen(const QString& basis, const QString& zeile, quint32 tage) {
  const Monatszeilenform f = Form_der_Monatszeile(zeile);
  if (!f.eintrag()) return zeile;
  const QStringView codes = f.rest(zeile);
  QString neu = basis.size() == 31 ? basis : QString(31, u' ');
  for (int d = 1; d <= 31; ++d)
    if (tage & (1u << d)) neu[d - 1] = codes[d - 1];
  return zeile.left(f.trenner + 1) + neu;
}

bool Monatsdatei_kompaktieren(const QString& monatsschlüssel) { return Monatsdatei_speichern(monatsschlüssel, {}); }

namespace {

// A rewrite inside the month lock found the month's last line cut (no one appends inside
// the lock, so it is damage, not a line in flight) and would write the month without
// it: it is reported as a read reports a damaged line, the administrator logbook naming
// the month (and the line's user), after the day's "F" backup, which keeps the line as
// it was. False when it could not be reported so (an employee's rewrite, or the backup
// failed): then the line is kept as it stands.
bool Abgeschnittene_Zeile_melden(const QString& schlüssel, const QString& zeile) {
  if (gBenutzerstufe == 0) return false;
  if (Dateiliste(gSicherungsordner, gHeuteText + QStringLiteral("*F.dat")).isEmpty() &&
      !Backup_erstellen(QStringLiteral("F")))
    return false;
  const Monatszeilenform f = Form_der_Monatszeile(zeile);
  QString text = QStringLiteral("Fehlerhafte Daten erkannt in Monat ") + schlüssel.mid(2, 2) + gDatumstrennzeichen +
                 QStringLiteral("20") + schlüssel.left(2);
  if (f.monatszeile()) text += QStringLiteral(" bei ") + f.benutzer(zeile).toString();
  Logbuch_ergänzen(2, text);
  return true;
}

}  // namespace

bool Monatsdatei_umschreiben(const QString& monatsschlüssel, bool unterHeute, const Monatsänderung& ändern,
                             bool meldenBeiSperre, bool fehlerIgnorieren, bool schnittMelden) {
  return Prozedur(QStringLiteral("modVelkora - Monatsdatei_umschreiben"), [&]() -> bool {
    Monatssperre sperre(monatsschlüssel);
    if (!sperre.gehalten()) {
      if (sperre.fehler() != 0 && !fehlerIgnorieren)
        Dateisperre_Fehler(Monatssperre_Datei(monatsschlüssel), sperre.fehler());
      if (meldenBeiSperre && sperre.fehler() == 0) Meldung(Monatssperre_Meldung(monatsschlüssel));
      return false;
    }
    // One listing gives the newest version and today's name; the one after the write
    // looks for a newer version.
    const Monatsliste liste = Monat_auflisten(monatsschlüssel);
    const std::optional<Monatsversion> neueste =
        Neueste_Erfassungsversion_aus(monatsschlüssel, liste.versionen).version;
    const QString name = Erfassungsversion_öffnen(monatsschlüssel, neueste ? neueste->name() : QString());
    const std::optional<Monatsversion> version = Monatsversion::aus_Name(name);
    std::optional<QString> abgeschnitten;
    const QStringList alt = name.isEmpty() ? QStringList() : Offene_Zeilen_lesen(&abgeschnitten);
    std::optional<QStringList> neu = ändern(version, alt);
    if (!neu) return true;
    if (abgeschnitten && schnittMelden && !Abgeschnittene_Zeile_melden(monatsschlüssel, *abgeschnitten))
      *neu << *abgeschnitten;
    // A month without a file that left the folder's window (the year change at another
    // workstation removed it) is not made again.
    if (!version && !Monat_im_Fenster_des_Ordners(monatsschlüssel)) {
      if (meldenBeiSperre) Meldung(Monat_ausserhalb_des_Fensters_Meldung(monatsschlüssel));
      return false;
    }
    Sperre_auffrischen(monatsschlüssel);
    const bool heute = unterHeute || !version;
    const QString ziel = heute ? Pfad_heute(monatsschlüssel, liste.versionen) : gDatenordner + name;
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
    if (heute) Überholte_Versionen_löschen(Monat_auflisten(monatsschlüssel).namen, ShowDatei(ziel), name);
    return true;
  });
}

void Alle_Monatsdateien_umschreiben(const Monatsänderung& ändern) {
  QStringList monate;
  for (const Monatsversion& v : Monatsversionen(gDatenordner, QStringLiteral("*Data.dat")))
    if (!monate.contains(v.schlüssel())) monate << v.schlüssel().toString();
  // A month listed that has no file by the time its lock is had was removed meanwhile
  // (the year change at another workstation): it is not made again, nor waited for.
  const Monatsänderung nurVorhandene = [&](const std::optional<Monatsversion>& version,
                                           const QStringList& zeilen) -> std::optional<QStringList> {
    if (!version) return std::nullopt;
    return ändern(version, zeilen);
  };
  for (const QString& monat : monate) {
    QDeadlineTimer frist(120000);
    while (!Monatsdatei_umschreiben(monat, true, nurVorhandene, false)) {
      if (frist.hasExpired()) {
        Meldung(Monatssperre_Meldung(monat));
        frist.setRemainingTime(120000);
      }
      QCoreApplication::processEvents();
    }
  }
}
