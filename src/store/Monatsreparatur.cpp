#include "store/Monatsreparatur.h"

#include <QDateTime>
#include <algorithm>
#include <vector>

#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Erfassungsdaten.h"
#include "store/Monatsdatei.h"
#include "store/Sicherung.h"

namespace {

bool Hat_Einträge(const QStringList& inhalt) {
  return std::any_of(inhalt.begin() + std::min<qsizetype>(3, inhalt.size()), inhalt.end(),
                     [](const QString& z) { return z.startsWith(u"A:") || z.startsWith(u"K:"); });
}

// A month's lines that read without damage: its own header, three lines at least and
// after them entry and comment lines only (empty lines, which month files tolerate,
// left out).
std::optional<QStringList> Unbeschädigt(const QString& schlüssel, const QStringList& zeilen) {
  QStringList r;
  for (qsizetype i = 0; i < zeilen.size(); ++i)
    if (i < 3 || !zeilen[i].isEmpty()) r << zeilen[i];
  if (r.size() < 3 || r[0] != u'[' + schlüssel + u']') return std::nullopt;
  if (Monatszeilen_prüfen(r).reparieren) return std::nullopt;
  return r;
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
    const Sicherungsblock* bester = nullptr;
    for (const Sicherungsblock& b : blöcke)
      if (Ist_Monatsdateiname(b.name) && b.name.left(4) == monatsschlüssel &&
          (!bester || b.name.mid(5, 6) > bester->name.mid(5, 6)))
        bester = &b;
    if (!bester) continue;
    const std::optional<QStringList> zeilen = Unbeschädigt(monatsschlüssel, bester->zeilen);
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

std::optional<QStringList> Monatsinhalt_reparieren(const QString& pfad, const QByteArray& roh) {
  const QString name = ShowDatei(pfad);
  const QString schlüssel = name.left(4);
  const QString vorne = QStringLiteral("Wiederherstellen der Datei ") + name + QStringLiteral(": Zeile ");

  // The file's lines as the channel splits them; a last line without its line end was
  // cut off.
  QStringList zeilen;
  std::vector<int> nummern;
  qsizetype pos = 0;
  int nummer = 0;
  while (pos < roh.size()) {
    qsizetype ende = pos;
    while (ende < roh.size() && roh[ende] != '\r' && roh[ende] != '\n') ++ende;
    ++nummer;
    const QByteArray z = roh.mid(pos, ende - pos);
    if (ende >= roh.size()) {
      if (!z.isEmpty()) Protokoll(vorne + QString::number(nummer) + QStringLiteral(" unvollständig und entfernt"));
      break;
    }
    if (roh[ende] == '\r') ++ende;
    if (ende < roh.size() && roh[ende] == '\n') ++ende;
    pos = ende;
    // Empty lines carry nothing; month files tolerate them.
    if (z.isEmpty() && zeilen.size() >= 3) continue;
    zeilen << Zeile_dekodieren(z);
    nummern.push_back(nummer);
  }

  std::optional<QStringList> eigene;
  if (zeilen.size() >= 3 && zeilen[0] == u'[' + schlüssel + u']') {
    const Monatsprüfung prüfung = Monatszeilen_prüfen(zeilen);
    QStringList r;
    for (qsizetype i = 0; i < prüfung.zeilen.size(); ++i) {
      if (i >= 3 && prüfung.zeilen[i].isEmpty()) {
        Protokoll(vorne + QString::number(nummern[static_cast<size_t>(i)]) +
                  QStringLiteral(" beschädigt und entfernt"));
        continue;
      }
      r << prüfung.zeilen[i];
    }
    if (Hat_Einträge(r)) return r;
    eigene = r;
  }
  // A header of another month holds that month's day codes, which must never be shown
  // as this month's; a file that kept no entry gives way to the backup that has them.
  QString sicherung;
  const std::optional<QStringList> gesichert = Monat_aus_Sicherungen(schlüssel, &sicherung);
  if (gesichert && (Hat_Einträge(*gesichert) || !eigene)) {
    Protokoll(QStringLiteral("Datei ") + name + QStringLiteral(" aus Backup ") + sicherung +
              QStringLiteral(" wiederhergestellt"));
    return gesichert;
  }
  return eigene;
}

bool Monatsdatei_reparieren(const QString& pfad, const QByteArray& roh) {
  const std::optional<QStringList> inhalt = Monatsinhalt_reparieren(pfad, roh);
  if (!inhalt) return false;
  const QString schlüssel = ShowDatei(pfad).left(4);
  return Monatsdatei_umschreiben(
      schlüssel, true,
      [&](const QString& stamm, const QStringList& jetzt) -> std::optional<QStringList> {
        QStringList r = *inhalt;
        // Lines another workstation saved into the month since the damage was found
        // (the default file written meanwhile) come after the repaired ones: later
        // lines win.
        if (stamm.mid(5) == gHeuteText && jetzt.size() > 3 && jetzt[0] == r[0])
          for (qsizetype i = 3; i < jetzt.size(); ++i)
            if (jetzt[i].startsWith(u"A:") || jetzt[i].startsWith(u"K:")) r << jetzt[i];
        return r;
      },
      false, true);
}
