#include "store/Monatsreparatur.h"

#include <QDateTime>
#include <algorithm>
#include <vector>

#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Monatsversion.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Monatsdatei.h"
#include "store/Monatszeilen.h"
#include "store/Sicherung.h"

namespace {

bool Hat_Einträge(const QStringList& inhalt) {
  return std::any_of(inhalt.begin() + std::min<qsizetype>(3, inhalt.size()), inhalt.end(),
                     [](const QString& z) { return Gute_Monatszeile(z); });
}

bool Hat_Eintragszeile(const QStringList& inhalt) {
  return std::any_of(inhalt.begin() + std::min<qsizetype>(3, inhalt.size()), inhalt.end(),
                     [](const QString& z) { return Gute_Eintragszeile(z); });
}

// The backups that hold the data as in normal use, newest first by file time.
QStringList Sicherungen_neueste_zuerst() {
  if (gSicherungsordner.isEmpty()) return {};
  std::vector<std::pair<QDateTime, QString>> liste;
  for (const QString& name : Dateiliste(gSicherungsordner, QStringLiteral("?????? ?????? ?.dat"))) {
    if (!QStringLiteral("TMAE").contains(name[name.size() - 5].toUpper())) continue;
    liste.emplace_back(Dateizeit(gSicherungsordner + name), name);
  }
  std::stable_sort(liste.begin(), liste.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  QStringList r;
  for (const auto& [zeit, name] : liste) r << name;
  return r;
}

void Protokoll(const QString& text) { Logbuch_ergänzen(2, text); }

}  // namespace

std::optional<QStringList> Monat_aus_Sicherungen(const QString& monatsschlüssel, QString* sicherung) {
  for (const QString& name : Sicherungen_neueste_zuerst()) {
    std::vector<Sicherungsblock> blöcke;
    try {
      if (!Sicherung_einlesen(gSicherungsordner + name, blöcke)) continue;
    } catch (const Reparaturunterbrechung&) {
      FVerwerfen();
      continue;
    } catch (const std::exception& e) {
      if (istProgrammende(e)) throw;
      FVerwerfen();
      continue;
    }
    // The newest version of the month the backup holds.
    QList<Monatsversion> versionen;
    for (const Sicherungsblock& b : blöcke)
      if (std::optional<Monatsversion> v = Monatsversion::aus_Name(b.name)) versionen << std::move(*v);
    const std::optional<Monatsversion> neueste = Neueste_Monatsversion(versionen, monatsschlüssel);
    if (!neueste) continue;
    const auto bester =
        std::find_if(blöcke.begin(), blöcke.end(), [&](const Sicherungsblock& b) { return b.name == neueste->name(); });
    const std::optional<QStringList> zeilen = Monatskopie_unbeschädigt(monatsschlüssel, bester->zeilen);
    if (!zeilen) continue;
    if (sicherung) *sicherung = name;
    return zeilen;
  }
  return std::nullopt;
}

QStringList Monat_nie_leer(const QString& monatsschlüssel, const QStringList& inhalt) {
  if (Hat_Einträge(inhalt)) return inhalt;
  const std::optional<QStringList> gesichert = Monat_aus_Sicherungen(monatsschlüssel);
  return gesichert && Hat_Einträge(*gesichert) ? *gesichert : inhalt;
}

std::optional<QStringList> Monatskopie_unbeschädigt(const QString& monatsschlüssel, const QStringList& zeilen) {
  QStringList r;
  for (qsizetype i = 0; i < zeilen.size(); ++i)
    if (i < 3 || !zeilen[i].isEmpty()) r << zeilen[i];
  if (r.size() < 3 || r[0] != u'[' + monatsschlüssel + u']') return std::nullopt;
  if (Monatszeilen_prüfen(r).reparieren) return std::nullopt;
  return r;
}

Monatsreparatur Monatsinhalt_reparieren(const QString& pfad, const QByteArray& roh) {
  const QString name = ShowDatei(pfad);
  const QString schlüssel = Monatsversion::aus_Name(name).value().schlüssel().toString();
  const QString kopf = u'[' + schlüssel + u']';
  const QString vorne = QStringLiteral("Wiederherstellen der Datei ") + name + QStringLiteral(": Zeile ");

  // What the file's own lines lost, logged when they are what is written: the header
  // replaced, the damaged lines in file order, the cut-off last line.
  QStringList verloren;
  QString abgeschnitten;
  // The file's lines as the channel splits them, each with its number in the file; a
  // last line without its line end is one like any other when it is a whole line of
  // the month, else it was cut off.
  QStringList zeilen;
  std::vector<int> nummern;
  qsizetype pos = 0;
  int nummer = 0;
  while (pos < roh.size()) {
    qsizetype ende = pos;
    while (ende < roh.size() && roh[ende] != '\r' && roh[ende] != '\n') ++ende;
    ++nummer;
    const QByteArray z = roh.mid(pos, ende - pos);
    if (ende >= roh.size() && !z.isEmpty() && Letzte_Zeile_abgeschnitten(Zeile_dekodieren(z), zeilen.size() + 1)) {
      abgeschnitten = vorne + QString::number(nummer) + QStringLiteral(" unvollständig und entfernt");
      break;
    }
    if (ende < roh.size() && roh[ende] == '\r') ++ende;
    if (ende < roh.size() && roh[ende] == '\n') ++ende;
    pos = ende;
    // Empty lines carry nothing; month files tolerate them.
    if (z.isEmpty() && zeilen.size() >= 3) continue;
    zeilen << Zeile_dekodieren(z);
    nummern.push_back(nummer);
  }

  // The first three lines as the file's name and the data folder give them; a line
  // that reads as an entry or comment line where one of them belongs goes with the
  // entries instead.
  QStringList r{kopf, gKennzeile, QStringLiteral("NoEx:NoEx")};
  std::vector<int> herkunft{0, 0, 0};
  for (qsizetype i = 0; i < zeilen.size(); ++i) {
    const QString& z = zeilen[i];
    const int n = nummern[static_cast<size_t>(i)];
    if (i == 0 && z != kopf)
      verloren << vorne + QString::number(n) + QStringLiteral(" durch den Dateiheader ") + kopf +
                      QStringLiteral(" ersetzt");
    if (i < 3 && !Form_der_Monatszeile(z).monatszeile()) {
      if (i > 0) r[i] = z;
      continue;
    }
    r << z;
    herkunft.push_back(n);
  }
  const Monatsprüfung prüfung = Monatszeilen_prüfen(r);
  QStringList eigene;
  for (qsizetype i = 0; i < prüfung.zeilen.size(); ++i) {
    if (i >= 3 && prüfung.zeilen[i].isEmpty()) {
      verloren << vorne + QString::number(herkunft[static_cast<size_t>(i)]) +
                      QStringLiteral(" beschädigt und entfernt");
      continue;
    }
    eigene << prüfung.zeilen[i];
  }
  if (!abgeschnitten.isEmpty()) verloren << abgeschnitten;
  const auto eigene_nehmen = [&](bool ohneHeileKopie) {
    for (const QString& z : verloren) Protokoll(z);
    return Monatsreparatur{eigene, ohneHeileKopie};
  };
  if (Hat_Eintragszeile(eigene)) return eigene_nehmen(false);

  // Of a file without a readable entry line the backup that holds the month undamaged
  // gives more.
  QString sicherung;
  const std::optional<QStringList> gesichert = Monat_aus_Sicherungen(schlüssel, &sicherung);
  if (gesichert && (Hat_Einträge(*gesichert) || !Hat_Einträge(eigene))) {
    Protokoll(QStringLiteral("Datei ") + name + QStringLiteral(" aus Backup ") + sicherung +
              QStringLiteral(" wiederhergestellt"));
    return {*gesichert, false};
  }
  return eigene_nehmen(!gesichert && !Hat_Einträge(eigene));
}

bool Monatsdatei_reparieren(const QString& pfad, const QByteArray& roh) {
  const Monatsreparatur reparatur = Monatsinhalt_reparieren(pfad, roh);
  const QString name = ShowDatei(pfad);
  const QString schlüssel = Monatsversion::aus_Name(name).value().schlüssel().toString();
  const bool geschrieben = Monatsdatei_umschreiben(
      schlüssel, true,
      [&](const std::optional<Monatsversion>& neueste, const QStringList& jetzt) -> std::optional<QStringList> {
        QStringList r = reparatur.zeilen;
        // Lines another workstation saved into the month since the damage was found
        // (the default file written meanwhile) come after the repaired ones: later
        // lines win.
        if (neueste && neueste->tag() == gHeuteText && jetzt.size() > 3 && jetzt[0] == r[0])
          for (qsizetype i = 3; i < jetzt.size(); ++i)
            if (Gute_Monatszeile(jetzt[i])) r << jetzt[i];
        return r;
      },
      false, true, false);
  if (geschrieben && reparatur.ohneHeileKopie) {
    Protokoll(QStringLiteral("Wiederherstellen der Datei ") + name + QStringLiteral(" aus Backup fehlgeschlagen"));
    Meldung(Keine_heile_Kopie_Meldung(name, true));
  }
  return geschrieben;
}
