#include "startup/Logbuch.h"

#include <QDate>
#include <QDateTime>
#include <QStringView>
#include <QTime>
#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/Laufzeitfehler.h"
#include "platform/Namenstabelle.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateisperre.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"

bool gLogbuchPuffern = false;
QStringList gLogbuchPuffer{QStringLiteral("NoData")};
Haken<bool()> gLogbuchKopieImTempordner{"gLogbuchKopieImTempordner", [] { return false; }};

namespace {

const QString kLeer = QStringLiteral("NoData");
const QString kStorno = QStringLiteral(":Storno");
constexpr int kKopfLänge = 18;  // "dd.mm.yy hh:nn:ss|"

// Set while a logbook line is being written: when writing it fails, the error
// handler reports that with a logbook line of its own, which must not try again
// (it would fail the same way, over and over).
bool gSchreibtGerade = false;

// Lines naming lock paths that were no lock, not yet written: one found while a
// logbook line is written (under the logbook's own lock) or while the channel is open
// goes out with the next line.
QStringList sVerweiszeilen;

void Zustand_zurücksetzen() {
  gLogbuchPuffern = false;
  gLogbuchPuffer = QStringList{kLeer};
  gSchreibtGerade = false;
  sVerweiszeilen.clear();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

QString zweistellig(int n) { return QStringLiteral("%1").arg(n % 100, 2, 10, QChar(u'0')); }

// Fixed formats: the logbooks are shared by workstations with different locales.
QString Datum_ttmmjj(const QDate& d) {
  return zweistellig(d.day()) + u'.' + zweistellig(d.month()) + u'.' + zweistellig(d.year());
}
QString Zeit_hhnnss(const QTime& t, const QString& trenner) {
  return zweistellig(t.hour()) + trenner + zweistellig(t.minute()) + trenner + zweistellig(t.second());
}

bool Kopie_im_Tempordner() { return gLogbuchKopieImTempordner() && !gTempOrdner.isEmpty(); }

bool Ist_leer(const QStringList& puffer) { return puffer.isEmpty() || (puffer.size() == 1 && puffer[0] == kLeer); }

// The short lock that appends to a logbook of the log folder and its clean-up share,
// so that no line lands between the clean-up's reading and its replacing the file.
QString Logbuchsperre(const QString& pfad) {
  return ParentDir(pfad) + u'~' + ShowDatei(pfad) + QStringLiteral(".vklock");
}
constexpr double kLogbuchsperreWartezeit = 3.0;

// Appends lines to a file in one opening; false when it could not be opened. A
// logbook of the log folder is appended under its lock; when the lock cannot be had
// in time the line is appended all the same (a lost logbook line is worse than one
// that a clean-up running that long may miss).
bool Anhängen(const QString& pfad, const QStringList& zeilen) {
  std::optional<Dateisperre> sperre;
  if (pfad.startsWith(gLogordner) && pfad.endsWith(QStringLiteral(" Velkora.log")))
    sperre.emplace(Logbuchsperre(pfad), kLogbuchsperreWartezeit);
  return Alle_Zeilen_schreiben_wie(pfad, zeilen, {.modus = QStringLiteral("Append"), .fehlerIgnorieren = true});
}

struct Dateistand {
  qint64 größe = -1;
  QDateTime zeit;
  bool operator==(const Dateistand&) const = default;
};
Dateistand Stand(const QString& pfad) { return {Dateigröße(pfad), Dateizeit(pfad)}; }

}  // namespace

namespace {

// The events some ":Storno" line names, in an open table of a power-of-two size that
// keeps each event's hash: most lines of a logbook are never cancelled, and for those
// the look-up ends at an empty slot or a differing hash without comparing texts.
class Stornotabelle {
 public:
  explicit Stornotabelle(size_t anzahl) {
    size_t n = 16;
    while (n < anzahl * 2) n *= 2;
    mPlätze.resize(n);
  }
  // The last line not cancelled so far of an event (-1 for none); nullptr for an event
  // no ":Storno" line names.
  qsizetype* finden(QStringView ereignis) { return platz(ereignis, false); }
  void aufnehmen(QStringView ereignis) { platz(ereignis, true); }

 private:
  struct Platz {
    size_t hash = 0;
    QStringView ereignis;
    qsizetype zeile = -1;
    bool belegt = false;
  };
  qsizetype* platz(QStringView ereignis, bool anlegen) {
    const size_t h = Langtexthash()(ereignis);
    const size_t maske = mPlätze.size() - 1;
    for (size_t i = h & maske;; i = (i + 1) & maske) {
      Platz& p = mPlätze[i];
      if (!p.belegt) {
        if (!anlegen) return nullptr;
        p = {h, ereignis, -1, true};
        return &p.zeile;
      }
      if (p.hash == h && Namensgleichheit()(p.ereignis, ereignis)) return &p.zeile;
    }
  }
  std::vector<Platz> mPlätze;
};

}  // namespace

std::vector<bool> Stornierte_Zeilen(const QStringList& zeilen) {
  std::vector<bool> weg(static_cast<size_t>(zeilen.size()), false);
  constexpr qsizetype kMindestlänge = kKopfLänge + 7;
  const QStringView storno(kStorno);
  std::vector<bool> storniert(static_cast<size_t>(zeilen.size()), false);
  std::vector<qsizetype> stornozeilen;
  for (qsizetype i = 0; i < zeilen.size(); ++i) {
    const QString& z = zeilen[i];
    if (z.size() >= kMindestlänge && Namensgleichheit()(QStringView(z).right(storno.size()), storno)) {
      storniert[static_cast<size_t>(i)] = true;
      stornozeilen.push_back(i);
    }
  }
  if (stornozeilen.empty()) return weg;
  const auto gesucht = [&zeilen](qsizetype i) {
    return QStringView(zeilen[i]).mid(kKopfLänge, zeilen[i].size() - kMindestlänge);
  };
  // Only an event that some ":Storno" line names can lose a line, so only those events
  // are kept: for each the last line not cancelled so far (the nearest partner), and for
  // each line the one of the same event before it. A long logbook is then neither
  // searched backwards once per ":Storno" line nor keeps a list per line.
  Stornotabelle offen(stornozeilen.size());
  for (const qsizetype i : stornozeilen) offen.aufnehmen(gesucht(i));
  std::vector<qsizetype> davor(static_cast<size_t>(zeilen.size()), -1);
  for (qsizetype i = 0; i < zeilen.size(); ++i) {
    if (storniert[static_cast<size_t>(i)]) {
      qsizetype* partner = offen.finden(gesucht(i));
      if (*partner >= 0) {
        weg[static_cast<size_t>(*partner)] = true;
        weg[static_cast<size_t>(i)] = true;
        *partner = davor[static_cast<size_t>(*partner)];
        continue;
      }
    }
    const QString& z = zeilen[i];
    qsizetype* letzte = offen.finden(QStringView(z).mid(std::min<qsizetype>(kKopfLänge, z.size())));
    if (!letzte) continue;
    davor[static_cast<size_t>(i)] = *letzte;
    *letzte = i;
  }
  return weg;
}

namespace {
void Zeile_ergänzen(int art, const QString& text);

void Verweiszeilen_schreiben() {
  if (gSchreibtGerade || !gOffeneDatei.isEmpty()) return;
  while (!sVerweiszeilen.isEmpty()) Zeile_ergänzen(2, sVerweiszeilen.takeFirst());
}
}  // namespace

void Sperrverweis_gemeldet(const QString& pfad) {
  sVerweiszeilen << QStringLiteral("Die Sperrdatei ") + ShowPfad(pfad, 100) +
                        QStringLiteral(" war keine Datei und wurde entfernt");
  Verweiszeilen_schreiben();
}

void Logbuch_ergänzen(int art, const QString& text) {
  Zeile_ergänzen(art, text);
  Verweiszeilen_schreiben();
}

namespace {
void Zeile_ergänzen(int art, const QString& text) {
  if (gSchreibtGerade) return;
  gSchreibtGerade = true;
  struct Ende {
    ~Ende() { gSchreibtGerade = false; }
  } ende;
  Prozedur(QStringLiteral("modVelkora - Logbuch_ergänzen"), [&] {
    if (gLogordner.isEmpty()) return;
    QString zeile =
        Datum_ttmmjj(gHeute) + u' ' + Zeit_hhnnss(uhr::zeit(), QStringLiteral(":")) + u'|' + gBenutzername + u'|';
    if (art == 2) zeile += QStringLiteral("VelkoraAdmin|");
    zeile += text;

    if (!text.isEmpty() && gLogbuchPuffern) {
      if (Ist_leer(gLogbuchPuffer))
        gLogbuchPuffer = QStringList{zeile};
      else
        gLogbuchPuffer << zeile;
      return;
    }

    QStringList zeilen;
    const bool leeren = text.isEmpty() && gLogbuchPuffern;
    if (!text.isEmpty())
      zeilen << zeile;
    else if (leeren && !Ist_leer(gLogbuchPuffer))
      zeilen = gLogbuchPuffer;
    if (zeilen.isEmpty()) {
      if (leeren) gLogbuchPuffer = QStringList{kLeer};
      return;
    }

    const QString name = gHeuteText.left(4) + QStringLiteral(" Velkora.log");
    if (!Anhängen(gLogordner + name, zeilen)) return;
    if (leeren) gLogbuchPuffer = QStringList{kLeer};
    // The copy in the temporary folder gets the single lines; held-back lines stay
    // in the log folder's logbook alone.
    if (!text.isEmpty() && Kopie_im_Tempordner()) Anhängen(gTempOrdner + name, {zeile});
  });
}
}  // namespace

void Logbuch_ÜStd_ergänzen(int art, const QString& text) {
  Prozedur(QStringLiteral("modVelkora - Logbuch_ÜStd_ergänzen"), [&] {
    if (gLogordner.isEmpty()) return;
    QString zeile = gHeuteText + u'|' + Zeit_hhnnss(uhr::zeit(), QString()) + u'|' + gBenutzername + u'|';
    if (art == 2) zeile += QStringLiteral("UStdAdmin|");
    zeile += text;
    const QString name = gHeuteText.left(4) + QStringLiteral(" ÜStunden.log");
    if (!Anhängen(gLogordner + name, {zeile})) return;
    if (Kopie_im_Tempordner()) Anhängen(gTempOrdner + name, {zeile});
  });
}

void Logbuch_bereinigen(const QString& welches) {
  try {
    if (gLogordner.isEmpty()) return;
    QString schlüssel;
    if (welches == u"M") {
      const QDate vormonat = QDate(gHeute.year(), gHeute.month(), 1).addMonths(-1);
      schlüssel = zweistellig(vormonat.year()) + zweistellig(vormonat.month());
    } else {
      schlüssel = gHeuteText.left(4);
    }
    const QString pfad = gLogordner + schlüssel + QStringLiteral(" Velkora.log");
    if (!Datei_vorhanden(pfad)) return;
    // No append may come between the reading and the replacing; without the lock the
    // clean-up waits for another day.
    const Dateisperre sperre(Logbuchsperre(pfad), kLogbuchsperreWartezeit);
    if (!sperre.gehalten()) return;

    // Other workstations append to this logbook while it is cleaned: remember its
    // state, and rewrite it only when it is still the file that was read.
    const Dateistand gelesen = Stand(pfad);
    if (gelesen.größe <= 0) return;
    // Only a logbook read completely (a damaged line fails the read) is rewritten, so
    // that nothing is rewritten from a partial reading.
    const std::optional<QStringList> alle =
        Alle_Zeilen_lesen_wie(pfad, {.leer = Leerzeilenart::Unlesbar, .fehlerIgnorieren = true});
    if (!alle || alle->isEmpty()) return;
    const QStringList& zeilen = *alle;

    const std::vector<bool> weg = Stornierte_Zeilen(zeilen);
    if (std::find(weg.begin(), weg.end(), true) == weg.end()) return;

    QStringList bleiben;
    for (qsizetype i = 0; i < zeilen.size(); ++i)
      if (!weg[static_cast<size_t>(i)] && !zeilen[i].isEmpty()) bleiben << zeilen[i];

    if (bleiben.isEmpty()) {
      // An empty logbook would be taken for a damaged file.
      if (Stand(pfad) == gelesen) Löschen(pfad);
      return;
    }
    // "Output" writes a temporary file that replaces the logbook only at FClose.
    if (!FOpen(pfad, QStringLiteral("Output"), QStringLiteral("IgnoreErrors"))) return;
    for (const QString& z : bleiben) LineOut(z);
    if (Stand(pfad) != gelesen) {
      FVerwerfen();
      return;
    }
    FClose();
  } catch (const std::exception& e) {
    if (istProgrammende(e)) throw;
    // The clean-up is housekeeping: the logbook stays as it was.
    FVerwerfen();
  }
}
