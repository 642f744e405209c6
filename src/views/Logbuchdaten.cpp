#include "views/Logbuchdaten.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/Laufzeitfehler.h"
#include "platform/Namenstabelle.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"

namespace {

const QString kKeinLogbuch = QStringLiteral("NoLog");
const QString kAdmin = QStringLiteral("VelkoraAdmin");

// Reads the lines of one logbook, empty lines left out; false when the file is empty or
// cannot be opened (a clean-up elsewhere may have deleted it since the listing).
bool Datei_lesen(const QString& pfad, QStringList& zeilen) {
  // An empty file would make the channel wait for another workstation and then hand it
  // to the start repair: the viewer only reads, so it skips the file.
  if (Dateigröße(pfad) <= 0) return false;
  const std::optional<QStringList> gelesen =
      Alle_Zeilen_lesen_wie(pfad, {.leer = Leerzeilenart::Auslassen, .fehlerIgnorieren = true});
  if (!gelesen) return false;
  zeilen << *gelesen;
  return true;
}

bool Nur_Ziffern(QStringView t) {
  return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

QStringList Logbuchzeilen_bereinigen(const QStringList& gelesen) {
  const std::vector<bool> weg = Stornierte_Zeilen(gelesen);
  QStringList zeilen{QString()};
  zeilen.reserve(gelesen.size() + 1);
  for (qsizetype i = 0; i < gelesen.size(); ++i)
    if (!weg[static_cast<size_t>(i)] && !gelesen[i].isEmpty()) zeilen << gelesen[i];
  if (zeilen.size() == 1) zeilen << kKeinLogbuch;
  return zeilen;
}

QStringList Logbuchzeilen_lesen(const QString& ordner, QStringList& übersprungen) {
  QStringList gelesen;
  // Dateiliste sorts by name: "yymm Velkora.log" comes in month order, which the
  // cancellation relies on.
  for (const QString& name : Dateiliste(ordner, QStringLiteral("*Velkora.log")))
    if (!Datei_lesen(ordner + name, gelesen)) übersprungen << name;
  return Logbuchzeilen_bereinigen(gelesen);
}

QStringList Logbuch_lesen() {
  return Prozedur(QStringLiteral("frmLogbuch - Logbuch_lesen"), [&] {
    QStringList übersprungen;
    QStringList zeilen = Logbuchzeilen_lesen(gLogordner, übersprungen);
    if (!übersprungen.isEmpty())
      Meldung(QStringLiteral("Folgende Logbuchdateien sind leer oder konnten nicht geöffnet werden und wurden "
                             "übersprungen:\n\n") +
              übersprungen.join(u'\n'));
    return zeilen;
  });
}

namespace {

// What the split of one line after another shares: a year of logbook lines names the same
// few writers, employees, entries, times and days again and again, so each such field
// becomes one shared string instead of an allocation per line (the grid then holds
// shared strings too, which also makes emptying it cheap), and a line dated like the
// line before it takes that date without parsing it again.
//
// The shared texts lie in an open table of a power-of-two size, found by a hash over the
// units and probed on: half a million look-ups per year want neither a node per text nor
// a division per look-up.
struct Zerlegevorrat {
  std::vector<QString> texte = std::vector<QString>(1024);
  size_t belegt = 0;
  QChar datumstext[8] = {};
  QDate datum;

  static size_t streuwert(QStringView v) {
    const size_t h = Namenshash()(v);
    return h ^ (h >> 29);
  }
  static bool gleich(const QString& a, QStringView b) {
    return a.size() == b.size() &&
           std::memcmp(a.constData(), b.data(), static_cast<size_t>(b.size()) * sizeof(QChar)) == 0;
  }
  QString& platz(QStringView v) {
    const size_t maske = texte.size() - 1;
    for (size_t i = streuwert(v) & maske;; i = (i + 1) & maske)
      if (texte[i].isNull() || gleich(texte[i], v)) return texte[i];
  }
  void wachsen() {
    std::vector<QString> alt(texte.size() * 2);
    alt.swap(texte);
    for (QString& t : alt)
      if (!t.isNull()) platz(t) = std::move(t);
  }
  QString teilen(QStringView v) {
    if (v.isEmpty()) return v.toString();
    QString& t = platz(v);
    if (!t.isNull()) return t;
    t = v.toString();
    QString ergebnis = t;
    if (++belegt * 2 > texte.size()) wachsen();
    return ergebnis;
  }
};

Logbucheintrag Zerlegen(const QString& zeile, const Logbucheintrag* vorher, Zerlegevorrat* vorrat) {
  Logbucheintrag e;
  const auto fehlerhaft = [&] {
    if (vorher) e.Datum = vorher->Datum;
    e.FürBenutzer = kAdmin;
    e.Eintrag = QStringLiteral("Fehlerhafter Logbucheintrag: ") + zeile.left(255);
    return e;
  };
  if (zeile.size() < 18 || zeile[17] != u'|') return fehlerhaft();
  // Taken apart through views: only the fields become strings of their own.
  const QStringView z(zeile);
  const auto teilen = [vorrat](QStringView v) { return vorrat ? vorrat->teilen(v) : v.toString(); };
  if (vorrat && vorrat->datum.isValid() && std::equal(z.begin(), z.begin() + 8, vorrat->datumstext)) {
    e.Datum = vorrat->datum;
  } else {
    const QStringView tag = z.mid(0, 2), monat = z.mid(3, 2), jahr = z.mid(6, 2);
    if (!Nur_Ziffern(tag) || !Nur_Ziffern(monat) || !Nur_Ziffern(jahr)) return fehlerhaft();
    const auto zahl = [](QStringView zz) { return (zz[0].unicode() - u'0') * 10 + (zz[1].unicode() - u'0'); };
    e.Datum = QDate(2000 + zahl(jahr), zahl(monat), zahl(tag));
    if (!e.Datum.isValid()) return fehlerhaft();
    if (vorrat) {
      std::copy(z.begin(), z.begin() + 8, vorrat->datumstext);
      vorrat->datum = e.Datum;
    }
  }
  e.Uhrzeit = teilen(z.mid(9, 5));

  QStringView rest = z.mid(18);
  const auto feld = [&rest, &teilen](QString& ziel) {
    const qsizetype p = rest.indexOf(u'|');
    if (p < 0) return false;
    ziel = teilen(rest.left(p));
    rest = rest.mid(p + 1);
    return true;
  };
  if (!feld(e.VonBenutzer) || !feld(e.FürBenutzer)) return fehlerhaft();
  if (e.FürBenutzer == kAdmin) {
    e.Administrator = e.VonBenutzer;
    e.VonBenutzer.clear();
    e.Eintrag = rest.toString();
    return e;
  }
  if (!feld(e.Eintrag)) return fehlerhaft();
  e.VonDatum = teilen(rest.mid(0, 6));
  e.BisDatum = teilen(rest.mid(7, 6));
  if (rest.size() > 13) e.Kommentar = rest.mid(14).toString();
  return e;
}

}  // namespace

Logbucheintrag Logbucheintrag_zerlegen(const QString& zeile, const Logbucheintrag* vorher) {
  return Zerlegen(zeile, vorher, nullptr);
}

std::vector<Logbucheintrag> Logbucheinträge_zerlegen(const QStringList& zeilen) {
  std::vector<Logbucheintrag> einträge(static_cast<size_t>(std::max<qsizetype>(zeilen.size(), 1)));
  Zerlegevorrat vorrat;
  for (qsizetype i = 1; i < zeilen.size(); ++i)
    einträge[static_cast<size_t>(i)] =
        Zerlegen(zeilen[i], i > 1 ? &einträge[static_cast<size_t>(i - 1)] : nullptr, &vorrat);
  return einträge;
}

bool Benutzerliste::hinzufügen(const QString& name) {
  if (name.isEmpty()) return false;
  const QString klein = name.toLower();
  if (mKlein.contains(klein)) return false;
  mKlein.insert(klein);
  mNamen << name;
  mListe += name + u':';
  return true;
}

QStringList Benutzerliste::sortiert() const {
  QStringList namen = mNamen;
  std::stable_sort(namen.begin(), namen.end(),
                   [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  return namen;
}

Benutzerlisten Benutzerlisten_füllen(const std::vector<Logbucheintrag>& einträge) {
  Benutzerlisten l;
  // A name written exactly as one already offered to its list changes nothing there: only
  // a new spelling goes on to the case-blind check, which lowers and hashes it. The split
  // shares equal names, so most are known already by where their text lies.
  Namenstabelle<bool> gesehen[3];
  std::unordered_map<const QChar*, qsizetype> gesehenBei[3];
  const auto anbieten = [&](int n, Benutzerliste& liste, const QString& name) {
    if (name.isEmpty()) return;
    const auto [bei, neu] = gesehenBei[n].try_emplace(name.constData(), name.size());
    if (!neu && bei->second == name.size()) return;
    if (gesehen[n].emplace(QStringView(name), true).second) liste.hinzufügen(name);
  };
  for (size_t i = 1; i < einträge.size(); ++i) {
    const Logbucheintrag& e = einträge[i];
    anbieten(0, l.liste1, e.VonBenutzer);
    if (e.FürBenutzer != kAdmin) anbieten(1, l.liste2, e.FürBenutzer);
    anbieten(2, l.liste3, e.Administrator);
  }
  return l;
}

std::optional<QString> Benutzer_vervollständigen(const QString& liste, const QString& text) {
  // A ":" typed into the box would reach across names.
  if (text.isEmpty() || text.contains(u':')) return std::nullopt;
  const QString klein = liste.toLower();
  const QString suche = u':' + text.toLower();
  const qsizetype p = klein.indexOf(suche);
  if (p < 0 || klein.indexOf(suche, p + 1) >= 0) return std::nullopt;
  const qsizetype ende = liste.indexOf(u':', p + 1);
  return liste.mid(p + 1, ende < 0 ? -1 : ende - p - 1);
}

QString Adminlogbuch_Text(const QString& eintrag, bool mitBenutzernamen) {
  const qsizetype p = eintrag.indexOf(u':');
  if (p < 0) return eintrag;
  const QString schlüssel = eintrag.left(p);
  // The employee part: the entry from the given character (1-based), "name:user".
  const auto mitarbeiter = [&](const QString& vorspann, int ab) {
    const QString teil = eintrag.mid(ab - 1);
    const qsizetype d = teil.indexOf(u':');
    QString bleibt = teil;
    if (d >= 0) {
      const QString name = teil.left(d);
      if (!mitBenutzernamen || teil.mid(d + 1) == name) bleibt = name;
    }
    return vorspann + QString(bleibt).replace(u':', QStringLiteral(", "));
  };
  if (schlüssel == u"Administratoren alt" || schlüssel == u"Feiertage alt" ||
      schlüssel == u"Mitarbeiter geändert von" || schlüssel == u"Privilegierte Benutzer alt" ||
      schlüssel == u"Wochenende alt")
    return {};
  if (schlüssel == u"Administratoren neu") return QStringLiteral("Administratoren geändert");
  if (schlüssel == u"Feiertage neu") return QStringLiteral("Feiertage geändert");
  if (schlüssel == u"Privilegierte Benutzer neu") return QStringLiteral("Privilegierte Benutzer geändert");
  if (schlüssel == u"Mitarbeiter neu") return mitarbeiter(QStringLiteral("Mitarbeiter neu - "), 68);
  if (schlüssel == u"Mitarbeiter gelöscht") return mitarbeiter(QStringLiteral("Mitarbeiter gelöscht - "), 73);
  if (schlüssel == u"Mitarbeiter geändert auf") return mitarbeiter(QStringLiteral("Mitarbeiter geändert - "), 77);
  if (schlüssel == u"Wochenende neu") return QStringLiteral("Wochenende geändert - ") + eintrag.mid(16);
  return eintrag;
}
