#include "store/Erfassungsdaten.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "platform/Cp1252.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Namenstabelle.h"
#include "platform/Text.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Monatsversion.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Einrichtung.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Monatszeilen.h"
#include "store/Sicherung.h"

Erfassungstabelle gErfassungsdaten;
QStringList gMonatsEinträge{QString(), QStringLiteral("NoData")};
QStringList gMonatsKommentare{QString(), QStringLiteral("NoComments")};
QString gMonatsAusnahmen = QStringLiteral("NoEx:NoEx");
bool gSchnellesLesen = true;
double gLesezeit = 0.0;

namespace {

const QString kCodezeichen = QStringLiteral("123456789ABCDEFGHIJKLMNOPQ");
constexpr double kCachedauer = 30.0;

bool sLesezeitGültig = false;
// The name of the version the last read of one month opened.
QString sGelesen;

void Zustand_zurücksetzen() {
  gErfassungsdaten.dimensionieren(0);
  gMonatsEinträge = QStringList{QString(), QStringLiteral("NoData")};
  gMonatsKommentare = QStringList{QString(), QStringLiteral("NoComments")};
  gMonatsAusnahmen = QStringLiteral("NoEx:NoEx");
  gSchnellesLesen = true;
  gLesezeit = 0.0;
  sLesezeitGültig = false;
  sGelesen.clear();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

// A new employee table changes the rows of the day table: it starts empty again and
// the next full read goes to the files.
void Anmelden() {
  static const int nummer = Nach_Mitarbeiterdaten_lesen_anmelden([] {
    gErfassungsdaten.dimensionieren(Mitarbeiterzeilen());
    Erfassungsdaten_Cache_verwerfen();
  });
  (void)nummer;
}

// Puts the 31 code characters into a cell, into the cell's own characters where it
// has room for them: a read of all months again allocates nothing for the cells.
void Zelle_setzen(QString& zelle, QStringView codes) {
  zelle.resize(codes.size());
  std::copy(codes.begin(), codes.end(), zelle.begin());
}

// The lines of the month file open on the channel, as LineIn reads them one by one,
// into `zeilen`. A last line without its line end that is a whole line of the month is
// a line like any other (another program or a hand edit left its CR LF off). One that
// is not is another workstation's append in flight, or a line cut off: it is left out
// and given in `ohneEnde`. Only a month file's name ends in "Data.dat": any other file
// goes LineIn's way, which stops at an empty line.
void Monatszeilen_lesen(Dekodierter_Block& zeilen, std::optional<QString>* ohneEnde = nullptr) {
  if (!gOffeneDatei.endsWith(QStringLiteral("Data.dat"), Qt::CaseInsensitive)) {
    QStringList z;
    while (!FEOF()) {
      QString zeile = LineIn();
      if (Kanal_letzte_Zeile_unvollständig() && z.size() >= 3) break;
      z << std::move(zeile);
    }
    zeilen.übernehmen(z);
    return;
  }
  bool offen = false;
  zeilen.dekodieren(Kanal_Inhalt(), &offen);
  if (offen && Letzte_Zeile_abgeschnitten(zeilen[zeilen.size() - 1], zeilen.size())) {
    if (ohneEnde) *ohneEnde = zeilen[zeilen.size() - 1].toString();
    zeilen.letzte_entfernen();
  }
}

// A bad line or bad entry as it is named: a bad entry by its user.
Monatsprüfung::Fund Fund_der_Zeile(QStringView z, const Monatszeilenform& f) {
  return Monatsprüfung::Fund{!f.monatszeile(), f.monatszeile() ? f.benutzer(z).toString() : QString()};
}

// What the check of a month's lines found.
struct Befund {
  bool reparieren = false;           // a bad line or entry was found
  QList<Monatsprüfung::Fund> funde;  // in line order
};

// The check of lines 4 and on, each by itself, in place: a bad line or a bad entry is
// emptied, an invalid code character of an entry line becomes a blank.
Befund Zeilen_prüfen(Dekodierter_Block& zeilen) {
  Befund r;
  const int n = Schaltflächen_Anzahl();
  // The day codes a cell may hold, by character: the buttons' codes (the last button
  // is the erase button), a blank, and the code after the last button.
  std::array<bool, 256> gültig{};
  gültig[u' '] = true;
  for (qsizetype k = 0; k < std::min<qsizetype>(std::max(n - 1, 0), kCodezeichen.size()); ++k)
    gültig[kCodezeichen[k].unicode()] = true;
  if (n + 1 <= kCodezeichen.size()) gültig[kCodezeichen[n].unicode()] = true;
  const auto zulässig = [&](char16_t c) { return c < 256 && gültig[c]; };
  for (qsizetype i = 3; i < zeilen.size(); ++i) {
    const QStringView z = zeilen[i];
    const Monatszeilenform f = Form_der_Monatszeile(z);
    if (f.gut()) {
      if (!f.eintrag()) continue;
      char16_t* codes = zeilen.zeichen(i);
      for (qsizetype k = f.trenner + 1; k < z.size(); ++k)
        if (!zulässig(codes[k])) codes[k] = u' ';
      continue;
    }
    r.funde << Fund_der_Zeile(z, f);
    r.reparieren = true;
    zeilen.leeren(i);
  }
  return r;
}

// One month as read and checked: its lines, and the entry and comment lines among
// them without their prefix, as views of those lines (valid until `zeilen` is read
// into again). Reused from month to month, so that its memory is.
struct Monatslesung {
  Dekodierter_Block zeilen;
  std::vector<QStringView> einträge, kommentare;
};

// The reading memory kept from one read of a month to the next: a fresh block for
// every read would be taken from the memory allocator and given back each time. A read
// that starts while another one is under way (from the messages of a repair) has one
// of its own.
class Vorratslesung {
 public:
  Vorratslesung() : mVorrat(!sBelegt) { sBelegt = true; }
  ~Vorratslesung() {
    if (!mVorrat) return;
    sBelegt = false;
    // The memory of a month far larger than usual is not kept (a month file is a
    // tenth of this).
    if (sLesung.zeilen.platz() > (qsizetype{1} << 20)) sLesung = Monatslesung();
  }
  Vorratslesung(const Vorratslesung&) = delete;
  Vorratslesung& operator=(const Vorratslesung&) = delete;
  Monatslesung& operator*() { return mVorrat ? sLesung : mEigene; }

 private:
  static inline Monatslesung sLesung;
  static inline bool sBelegt = false;
  bool mVorrat;
  Monatslesung mEigene;
};

// The month lists from a read. The strings of the lists of the read before
// (`alteEinträge`, `alteKommentare`) take the new lines where nothing else holds them,
// so that months read one after the other use their memory again; a string held
// elsewhere as well stays as it is there, and the list gets a new one.
void Monatslisten_füllen(const Monatslesung& m, QStringList alteEinträge, QStringList alteKommentare) {
  const auto füllen = [](QStringList& liste, const std::vector<QStringView>& zeilen) {
    liste.resize(static_cast<qsizetype>(zeilen.size()) + 1);
    liste[0] = QString();
    for (size_t i = 0; i < zeilen.size(); ++i) {
      QString& z = liste[static_cast<qsizetype>(i) + 1];
      z.resize(zeilen[i].size());
      std::copy(zeilen[i].begin(), zeilen[i].end(), z.begin());
    }
  };
  if (!m.einträge.empty()) {
    füllen(alteEinträge, m.einträge);
    gMonatsEinträge = std::move(alteEinträge);
  }
  if (!m.kommentare.empty()) {
    füllen(alteKommentare, m.kommentare);
    gMonatsKommentare = std::move(alteKommentare);
  }
}

// The newest version of one month, from a fresh listing of its versions.
Neueste_Erfassungsversion Neueste_Version(const QString& schlüssel) {
  return Neueste_Erfassungsversion_aus(schlüssel, Monatsversionen_des_Monats(gDatenordner, schlüssel));
}

QString Name_von(const Neueste_Erfassungsversion& n) { return n.version ? n.version->name() : QString(); }

}  // namespace

// A version gone when opened was replaced by another workstation: the folder is listed
// again, asking the server itself, and the newest version then is tried, with a short
// wait between the tries.
QString Erfassungsversion_öffnen(const QString& schlüssel, QString name) {
  for (int versuch = 0;; ++versuch) {
    if (name.isEmpty()) return {};
    const QString pfad = gDatenordner + name;
    if (FOpen(pfad, QStringLiteral("Input"), QStringLiteral("IgnoreErrors"))) return name;
    // Anything but a file gone fails as any open does.
    if (Datei_öffnenbar(pfad) || versuch >= 40) {
      FOpen(pfad, QStringLiteral("Input"));
      return name;
    }
    uhr::schlafen(std::min(0.02 * (versuch + 1), 0.5));
    Ordneransicht_erneuern(gDatenordner);
    name = Name_von(Neueste_Version(schlüssel));
  }
}

namespace {

// Deletes every name of the month's pattern but the version `bleibt`, under the month's
// lock: a saver holding it has written its new version and is about to delete the one
// it read, so the greatest stem then is no proof of the newest. The lock is tried once;
// held by another workstation, the clean-up is left to the holder (which deletes what
// its save made stale) or to a later start. Taking the lock made a file in the folder,
// so the listing inside it is the server's, not a share's cached one. `bleibt` empty:
// the newest version as the listing inside the lock shows it.
bool Versionen_unter_Sperre_löschen(const QString& schlüssel, const std::optional<Monatsversion>& bleibt) {
  const Monatssperre sperre(schlüssel, 0.0);
  if (!sperre.gehalten()) return false;
  QStringList andere;
  const QList<Monatsversion> versionen = Monatsversionen_des_Monats(gDatenordner, schlüssel, &andere);
  const std::optional<Monatsversion> neueste =
      bleibt ? bleibt : Neueste_Erfassungsversion_aus(schlüssel, versionen).version;
  // Without any version nothing goes: a stray name is all that is left of the month.
  if (!neueste) return true;
  const auto löschen = [&](const QString& name) {
    if (name.compare(neueste->name(), Qt::CaseInsensitive) != 0) Löschen(gDatenordner + name);
  };
  for (const Monatsversion& v : versionen) löschen(v.name());
  for (const QString& name : andere) löschen(name);
  return true;
}

// Whether the file, opened afresh, still ends in a cut line.
bool Noch_abgeschnitten(const QString& pfad) {
  if (!FOpen(pfad, QStringLiteral("Input"), QStringLiteral("IgnoreErrors"))) return false;
  bool offen = false;
  const QStringList zeilen = Zeilen_dekodieren(Kanal_Inhalt(), &offen);
  FClose();
  return offen && Letzte_Zeile_abgeschnitten(zeilen.last(), zeilen.size());
}

QString Monatstext(const QString& schlüssel) {
  return schlüssel.mid(2, 2) + gDatumstrennzeichen + QStringLiteral("20") + schlüssel.left(2);
}

// Reads one month from the named version (empty: the month has no file) into
// `lesung`. The month lists are filled from it when `listen` is set, and always for a
// month that is repaired, which goes on with them as after any read; otherwise they
// are left empty (the full read fills them for its last month only).
bool Monat_lesen(const QString& schlüssel, QString name, Monatslesung& lesung, bool listen) {
  gMonatsAusnahmen = QStringLiteral("NoEx:NoEx");
  // A month without a file is an empty month, not the month read before.
  QStringList alteEinträge = std::exchange(gMonatsEinträge, QStringList{QString(), QStringLiteral("NoData")});
  QStringList alteKommentare = std::exchange(gMonatsKommentare, QStringList{QString(), QStringLiteral("NoComments")});
  lesung.einträge.clear();
  lesung.kommentare.clear();

  sGelesen = Erfassungsversion_öffnen(schlüssel, name);
  if (sGelesen.isEmpty()) return false;
  const QString pfad = gDatenordner + sGelesen;
  Dekodierter_Block& zeilen = lesung.zeilen;
  std::optional<QString> ohneEnde;
  Monatszeilen_lesen(zeilen, &ohneEnde);
  FClose();

  if (zeilen.size() < 3) {
    // Damaged: the start repair takes the file over through the error handler.
    gStörungAnzeigen = true;
    gOffeneDatei = pfad;
    fehler::auslösen(fehler::kEingabeHinterDateiende);
  }
  if (zeilen[0] != u'[' + schlüssel.left(4) + u']') {
    Startfehler_melden(QStringLiteral("Dateikorruption entdeckt! Daten für '") + schlüssel +
                           QStringLiteral("' erwartet, aber Daten für '") + zeilen[0].mid(1, 4).toString() +
                           QStringLiteral("' gefunden."),
                       pfad, QString());
  }
  if (gKennzeile.isEmpty()) gKennzeile = zeilen[1].toString();
  gMonatsAusnahmen = zeilen[2].toString();

  const QString kopf = zeilen[0].toString();
  Befund prüfung = Zeilen_prüfen(zeilen);
  // A last line cut off (no line end, and no whole line) is most likely another
  // workstation's append in flight, which the next read takes. Inside the month lock no
  // one appends: a line still cut off there is damage like a bad line, dropped and
  // named. The lock is held until the month is written without it. It is tried once,
  // not waited for: held by another workstation, the line is its append in flight.
  std::optional<Monatssperre> sperre;
  bool abgeschnitten = false;
  if (ohneEnde) {
    sperre.emplace(schlüssel, 0.0);
    abgeschnitten = sperre->gehalten() && Noch_abgeschnitten(pfad);
    if (abgeschnitten) {
      prüfung.funde << Fund_der_Zeile(*ohneEnde, Form_der_Monatszeile(*ohneEnde));
      prüfung.reparieren = true;
    }
  }
  if (gBenutzerstufe > 0) {
    const QString text = QStringLiteral("Fehlerhafte Daten erkannt in Monat ") + Monatstext(schlüssel);
    for (qsizetype i = 0; i < prüfung.funde.size(); ++i) {
      const Monatsprüfung::Fund& f = prüfung.funde[i];
      if (!f.schlechteZeile)
        Logbuch_ergänzen(2, text + QStringLiteral(" bei ") + f.benutzer);
      else if (i == 0)
        Logbuch_ergänzen(2, text);
    }
  }

  // What the check left are good lines and emptied ones: the prefix tells them apart.
  for (qsizetype i = 3; i < zeilen.size(); ++i) {
    const QStringView z = zeilen[i];
    if (z.size() < 2 || z[1] != u':') continue;
    if (z[0] == u'A')
      lesung.einträge.push_back(z.mid(2));
    else if (z[0] == u'K')
      lesung.kommentare.push_back(z.mid(2));
  }
  const bool ergebnis = !lesung.einträge.empty();
  if (listen || prüfung.reparieren) Monatslisten_füllen(lesung, std::move(alteEinträge), std::move(alteKommentare));

  if (!prüfung.reparieren) return ergebnis;
  if (gBenutzerstufe == 0) {
    Programmabbruch(QString(),
                    QStringLiteral("Fehlerhafte Daten erkannt in Monat ") + Monatstext(schlüssel) +
                        QStringLiteral("!\r\rInformieren Sie einen der folgenden Administratoren: ") +
                        ShowAdmins(false),
                    QStringLiteral("NoLog"));
  }
  if (Dateiliste(gSicherungsordner, gHeuteText + QStringLiteral("*F.dat")).isEmpty() &&
      !Backup_erstellen(QStringLiteral("F")))
    return ergebnis;
  // The month is checked again as it stands inside the lock: lines another
  // workstation appended since the read above stay.
  const bool geschrieben = Monatsdatei_umschreiben(
      schlüssel, false,
      [&](const std::optional<Monatsversion>& version, const QStringList& aktuell) -> std::optional<QStringList> {
        if (!version || aktuell.size() < 3 || aktuell[0] != kopf) return std::nullopt;
        const Monatsprüfung neu = Monatszeilen_prüfen(aktuell);
        // The cut-off line, left out of `aktuell`, goes with the rewrite of the version
        // read; the lock held since keeps it as it was.
        const std::optional<Monatsversion> gelesen = Monatsversion::aus_Name(sGelesen);
        if (!neu.reparieren && !(abgeschnitten && gelesen && gelesen->stamm() == version->stamm())) return std::nullopt;
        QStringList r;
        for (const QString& z : neu.zeilen)
          if (!z.isEmpty()) r << z;
        return r;
      },
      false, true, false);
  if (!geschrieben) return ergebnis;
  Meldung(QStringLiteral("Fehlerhafte Daten erkannt in Monat ") + Monatstext(schlüssel) +
          QStringLiteral("!\r\rBitte Administrationslogbuch beachten!"));
  return ergebnis;
}

// Reads one month as Erfassungsdaten_lesen does, with the month lists filled.
bool Monat_lesen(const QString& schlüssel, const QString& name) {
  Vorratslesung lesung;
  return Monat_lesen(schlüssel, name, *lesung, true);
}

// The window month index of a date.
int Monatsindex(const QDate& d) { return 12 * (d.year() - gPlanungsjahr) + d.month(); }

int Zeichen_zählen(const QString& zelle, QChar code, int vonTag, int bisTag) {
  int n = 0;
  for (int t = std::max(vonTag, 1); t <= std::min<int>(bisTag, static_cast<int>(zelle.size())); ++t)
    if (zelle[t - 1] == code) ++n;
  return n;
}

bool Nicht_leer(const QString& zelle) {
  return std::any_of(zelle.begin(), zelle.end(), [](QChar c) { return c != u' '; });
}

}  // namespace

void Erfassungstabelle::dimensionieren(int n) {
  mZeilen = std::max(n, 0);
  mZellen.assign(static_cast<size_t>(mZeilen) * kMonate, QString());
}

void Erfassungstabelle::leeren() {
  // A cell keeps its memory for the next read.
  for (QString& z : mZellen)
    if (!z.isEmpty()) z.resize(0);
}

QString& Erfassungstabelle::operator()(int zeile, int monat) {
  if (zeile < 1 || zeile > mZeilen || monat < 1 || monat > kMonate) fehler::auslösen(fehler::kIndexAusserhalb);
  return mZellen[static_cast<size_t>(zeile - 1) * kMonate + static_cast<size_t>(monat - 1)];
}

const QString& Erfassungstabelle::operator()(int zeile, int monat) const {
  if (zeile < 1 || zeile > mZeilen || monat < 1 || monat > kMonate) fehler::auslösen(fehler::kIndexAusserhalb);
  return mZellen[static_cast<size_t>(zeile - 1) * kMonate + static_cast<size_t>(monat - 1)];
}

Monatsprüfung Monatszeilen_prüfen(const QStringList& zeilen) {
  Monatsprüfung r;
  // Shared with the caller's list; only a line the check changed is replaced.
  r.zeilen = zeilen;
  Dekodierter_Block block;
  block.übernehmen(zeilen);
  Befund befund = Zeilen_prüfen(block);
  r.reparieren = befund.reparieren;
  r.funde = std::move(befund.funde);
  for (qsizetype i = 3; i < block.size(); ++i) {
    const QStringView z = block[i];
    if (z.isEmpty()) {
      if (!zeilen[i].isEmpty()) r.zeilen[i].clear();
    } else if (z != QStringView(zeilen[i])) {
      r.zeilen[i] = z.toString();
    }
  }
  return r;
}

Neueste_Erfassungsversion Neueste_Erfassungsversion_aus(const QString& schlüssel,
                                                        const QList<Monatsversion>& versionen) {
  Neueste_Erfassungsversion r;
  r.version = Neueste_Monatsversion(versionen, schlüssel);
  if (gHeuteText.size() != 6) return r;
  const Monatsversion heute = Monatsversion::zu(schlüssel, gHeuteText);
  if (!r.version || heute.neuer_als(*r.version)) {
    r.heuteGeprüft = true;
    // A link under today's name is no version.
    r.heuteDa = Datei_öffnenbar(gDatenordner + heute.name(), false);
    if (r.heuteDa) r.version = heute;
  }
  return r;
}

std::optional<Monatsversion> Aktuelle_Erfassungsdatei(const QString& monatsschlüssel) {
  return Neueste_Version(monatsschlüssel).version;
}

QString Erfassungsdatei_Name(const QString& monatsschlüssel) { return Name_von(Neueste_Version(monatsschlüssel)); }

QString Erfassungsdatei_gelesen() { return sGelesen; }

bool Erfassungsversion_lesen(const QString& monatsschlüssel, const QString& name) {
  return Prozedur(QStringLiteral("modVelkora - Erfassungsdaten_lesen"), [&]() -> bool {
    Anmelden();
    return Monat_lesen(monatsschlüssel, name);
  });
}

bool Alte_Erfassungsdateien_löschen(const Monatsversion& version) {
  return Versionen_unter_Sperre_löschen(version.schlüssel().toString(), version);
}

bool Erfassungsdaten_lesen(const QString& monatsschlüssel) {
  return Prozedur(QStringLiteral("modVelkora - Erfassungsdaten_lesen"), [&]() -> bool {
    Anmelden();
    return Monat_lesen(monatsschlüssel, Name_von(Neueste_Version(monatsschlüssel)));
  });
}

bool Erfassungsdaten_lesen(const QString& monatsschlüssel, const QString& name) {
  return Prozedur(QStringLiteral("modVelkora - Erfassungsdaten_lesen"), [&]() -> bool {
    Anmelden();
    return Monat_lesen(monatsschlüssel, name);
  });
}

void Erfassungsdaten_Cache_verwerfen() { sLesezeitGültig = false; }

QString Monatsschlüssel_zu_Index(int index) {
  const int jahr = gPlanungsjahr + (index - 1) / 12;
  const int monat = (index - 1) % 12 + 1;
  return QStringLiteral("%1%2").arg(jahr % 100, 2, 10, QChar(u'0')).arg(monat, 2, 10, QChar(u'0'));
}

void Alle_Erfassungsdaten_einlesen(bool cacheErlaubt) {
  Prozedur(QStringLiteral("modVelkora - Alle_Erfassungsdaten_einlesen"), [&] {
    Anmelden();
    const double jetzt = uhr::monoton();
    if (cacheErlaubt && sLesezeitGültig && jetzt >= gLesezeit && jetzt - gLesezeit < kCachedauer) return;
    gLesezeit = jetzt;
    sLesezeitGültig = true;

    // Cleared first: a line that vanished from a file leaves no entry behind.
    if (gErfassungsdaten.zeilen() != Mitarbeiterzeilen())
      gErfassungsdaten.dimensionieren(Mitarbeiterzeilen());
    else
      gErfassungsdaten.leeren();

    // The employees' rows by user in lower case; one look-up per line of every month.
    std::vector<QString> namen;
    namen.reserve(static_cast<size_t>(Mitarbeiterzeilen()));
    Namenstabelle<QList<int>> zeilenDesBenutzers;
    zeilenDesBenutzers.reserve(static_cast<size_t>(Mitarbeiterzeilen()));
    // Both sides lowered the same way.
    QString id;
    for (int i = 1; i <= Mitarbeiterzeilen(); ++i) {
      if (gBenutzerIDs[i].isEmpty()) continue;
      namen.push_back(cp1252::klein(gBenutzerIDs[i]));
      zeilenDesBenutzers[namen.back()] << i;
    }

    // One listing of the folder for all 36 months.
    const QHash<QString, Monatsversion> versionen =
        Neueste_Monatsversionen(Monatsversionen(gDatenordner, QStringLiteral("*Data.dat")));
    // One block for every month's lines; the month lists only of the last month, as
    // they are left after the read.
    Vorratslesung vorrat;
    Monatslesung& lesung = *vorrat;
    for (int index = 1; index <= Erfassungstabelle::kMonate; ++index) {
      const QString schlüssel = Monatsschlüssel_zu_Index(index);
      const auto version = versionen.constFind(schlüssel);
      const QString name = version == versionen.cend() ? QString() : version->name();
      if (!Monat_lesen(schlüssel, name, lesung, index == Erfassungstabelle::kMonate)) continue;
      for (const QStringView eintrag : lesung.einträge) {
        const qsizetype p = eintrag.indexOf(u':');
        if (p < 0) continue;
        const auto it = zeilenDesBenutzers.find(cp1252::kleinAnsicht(eintrag.left(p), id));
        if (it == zeilenDesBenutzers.end()) continue;
        const QList<int>& zeilen = it->second;
        QString& erste = gErfassungsdaten(zeilen[0], index);
        Zelle_setzen(erste, eintrag.mid(p + 1));
        for (qsizetype k = 1; k < zeilen.size(); ++k) gErfassungsdaten(zeilen[k], index) = erste;
      }
    }
    gSchnellesLesen = uhr::monoton() - jetzt < 0.2;
  });
}

bool Erfassungsdaten_vorhanden(int schaltfläche) {
  return Prozedur(QStringLiteral("modVelkora - Erfassungsdaten_vorhanden"), [&]() -> bool {
    Alle_Erfassungsdaten_einlesen(true);
    const bool irgendeins = schaltfläche == Schaltflächen_Anzahl();
    const QString code = SFHex(schaltfläche);
    if (!irgendeins && code == u" ") return false;
    for (int i = 1; i <= gErfassungsdaten.zeilen(); ++i)
      for (int m = 1; m <= Erfassungstabelle::kMonate; ++m) {
        const QString& zelle = gErfassungsdaten(i, m);
        if (irgendeins ? Nicht_leer(zelle) : zelle.contains(code[0])) return true;
      }
    return false;
  });
}

bool Erfassungsdaten_zu_Monaten_vorhanden(int von, int bis) {
  return Prozedur(QStringLiteral("modVelkora - Erfassungsdaten_zu_Monaten_vorhanden"), [&]() -> bool {
    Alle_Erfassungsdaten_einlesen(true);
    for (int i = 1; i <= gErfassungsdaten.zeilen(); ++i)
      for (int m = std::max(von, 1); m <= std::min(bis, Erfassungstabelle::kMonate); ++m)
        if (Nicht_leer(gErfassungsdaten(i, m))) return true;
    return false;
  });
}

int AnAbwesenheitstage(int schaltfläche, const QDate& von, const QDate& bis, int zeile) {
  return Prozedur(QStringLiteral("modVelkora - AnAbwesenheitstage"), [&]() -> int {
    if (schaltfläche == 0 || zeile < 1 || zeile > gErfassungsdaten.zeilen()) return 0;
    const QString code = SFHex(schaltfläche);
    const int m1 = Monatsindex(von);
    const int m2 = Monatsindex(bis);
    int n = 0;
    for (int m = std::max(m1, 1); m <= std::min(m2, Erfassungstabelle::kMonate); ++m) {
      const int ab = m == m1 ? von.day() : 1;
      const int bisTag = m == m2 ? bis.day() : 31;
      n += Zeichen_zählen(gErfassungsdaten(zeile, m), code[0], ab, bisTag);
    }
    return n;
  });
}

void Erfassungsdateien_checken() {
  Prozedur(QStringLiteral("modVelkora - Erfassungsdateien_checken"), [&] {
    Anmelden();
    // A month missing while another workstation sets the folder up is not damage: its
    // first start is waited for.
    if (Einrichtung_läuft()) {
      const Einrichtungssperre abwarten;
    }
    QStringList andere;
    const QList<Monatsversion> alle = Monatsversionen(gDatenordner, QStringLiteral("*Data.dat"), &andere);
    const QHash<QString, Monatsversion> neueste = Neueste_Monatsversionen(alle);
    // How many names each month's pattern matches: only a month with more than its one
    // version has anything to clean up, and only that one is locked and listed again.
    QHash<QString, int> namen;
    for (const Monatsversion& v : alle) ++namen[v.schlüssel().toString()];
    for (const QString& name : andere) ++namen[name.left(4)];
    QStringList fehlend;
    for (int index = 1; index <= Erfassungstabelle::kMonate; ++index) {
      const QString schlüssel = Monatsschlüssel_zu_Index(index);
      if (neueste.contains(schlüssel)) {
        if (namen.value(schlüssel) > 1) Versionen_unter_Sperre_löschen(schlüssel, std::nullopt);
        continue;
      }
      const int jahr = gPlanungsjahr + (index - 1) / 12;
      if (jahr < gHeute.year()) continue;
      // A share's cached listing may miss a version another workstation made a moment
      // ago: the month is looked for again, asking the server, before it counts as
      // missing.
      if (fehlend.isEmpty()) Ordneransicht_erneuern(gDatenordner);
      if (Neueste_Version(schlüssel).version) continue;
      fehlend << schlüssel.mid(2, 2) + gDatumstrennzeichen + QString::number(jahr);
    }
    if (fehlend.isEmpty()) return;
    const QString text =
        QStringLiteral("Keine Erfassungsdatei für An-/Abwesenheitsdaten für folgende(n) Monat(e) gefunden: ") +
        fehlend.join(QStringLiteral(", "));
    Startfehler_melden(text, QString(), text);
  });
}
