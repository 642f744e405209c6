// The apply step of the employee editor and the carrying of changed user names and
// headings into the month records, the overtime files, the display permissions and
// the display groups.
#include "people/Mitarbeiterdaten_aktualisieren.h"

#include <QPushButton>
#include <QSet>
#include <map>
#include <optional>

#include "launch/Wartungssperre.h"
#include "people/frmMitarbeiter.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Monatszeilen.h"
#include "store/Sicherung.h"
#include "store/Ueberstunden.h"

namespace {

const QString kF = QStringLiteral("frmMitarbeiter - ");
const QString kNoGroups = QStringLiteral("NoGroups");

bool Gleich(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString Anzgrupfad() { return gDatenordner + QStringLiteral("Mitarbeiteranzgru.dat"); }

// One entry of the state text: an employee with all six values, a heading by its text.
QStringList Zustand() {
  QStringList r;
  for (int i = 1; i <= Mitarbeiterzeilen(); ++i) {
    if (gBenutzerIDs[i].isEmpty())
      r << gMitarbeiterNamen[i];
    else
      r << gEintrittsdaten[i] + u':' + gAustrittsdaten[i] + u':' + gUrlaubsdaten[i] + u':' + gSonderurlaubsanspruch[i] +
               u':' + gMitarbeiterNamen[i] + u':' + gBenutzerIDs[i];
  }
  return r;
}

// The user name of an employee entry: behind the first ":" from the 51st character on.
QString Benutzer_des_Eintrags(const QString& e) {
  const qsizetype p = e.indexOf(u':', 50);
  return p < 0 ? QString() : e.mid(p + 1);
}

// The user part of an administrator or privileged-user entry ("A:name:user").
QString Benutzerteil(const QString& eintrag) {
  const qsizetype p = eintrag.indexOf(u':', 2);
  return p < 0 ? QString() : eintrag.mid(p + 1);
}

// A list "a:b:" rebuilt from the headings of the table that it names, in list order.
QString Liste_neu(const QString& alt, const QStringList& überschriften) {
  QString r;
  const QString such = u':' + alt;
  for (const QString& h : überschriften)
    if (such.contains(u':' + h + u':')) r += h + u':';
  return r;
}

// The changed headings of the editor's rows: (old, new) without ">".
std::vector<std::pair<QString, QString>> Geänderte_Überschriften(const frmMitarbeiter& f) {
  std::vector<std::pair<QString, QString>> r;
  for (int i = 1; i <= f.Obergrenze(); ++i) {
    const Zeilensatz& z = f.Zeilen[static_cast<size_t>(i)];
    if (z.Name.startsWith(u'>') && z.NameAlt.startsWith(u'>') && z.Name != z.NameAlt && z.Name != u">" &&
        z.NameAlt != u">")
      r.emplace_back(z.NameAlt.mid(1), z.Name.mid(1));
  }
  return r;
}

// Replaces the list entry alt by neu in "a:b:" lists.
QString Listeneintrag_ersetzen(const QString& liste, const QString& alt, const QString& neu) {
  QString such = u':' + liste;
  such.replace(u':' + alt + u':', u':' + neu + u':');
  return such.mid(1);
}

}  // namespace

// --- Display groups of all users -------------------------------------------------

void Alle_Anzeigegruppen_lesen(Anzeigegruppendatei& d) {
  Prozedur(kF + QStringLiteral("Alle_Anzeigegruppen_lesen"), [&] {
    const QStringList zeilen = Alle_Zeilen_lesen(Anzgrupfad());
    if (zeilen.isEmpty()) return;
    d.zeilen = zeilen;
    d.alt = zeilen.mid(2).join(QString());
  });
}

void Alle_Anzeigegruppen_schreiben(const Anzeigegruppendatei& d) {
  Prozedur(kF + QStringLiteral("Alle_Anzeigegruppen_schreiben"), [&] {
    QStringList zeilen;
    for (const QString& z : d.zeilen)
      if (!z.isEmpty()) zeilen << z;
    if (zeilen.size() >= 3) {
      Alle_Zeilen_schreiben(Anzgrupfad(), zeilen);
      Mitarbeiteranzgru_lesen();
    } else {
      gAnzeigegruppen = QStringList{QString(), kNoGroups};
      Löschen(Anzgrupfad());
    }
  });
}

void BenId_in_AnzGru_umbenennen(Anzeigegruppendatei& d, const QString& alt, const QString& neu) {
  for (int i = 2; i < d.zeilen.size(); ++i)
    if (Gleich(d.zeilen[i], u'[' + alt + u']')) d.zeilen[i] = u'[' + neu + u']';
}

void Anzeigegruppen_aktualisieren(Anzeigegruppendatei& d, const std::vector<std::pair<QString, QString>>& umbenannt,
                                  const QStringList& überschriftenDerZeilen) {
  Prozedur(kF + QStringLiteral("Anzeigegruppen_aktualisieren"), [&] {
    QStringList& z = d.zeilen;
    // Users with a settings file keep their block.
    QStringList mitIni;
    for (const QString& datei : Dateiliste(gIniOrdner, QStringLiteral("*.ini"))) {
      const qsizetype p = datei.indexOf(u'_');
      if (p >= 0) mitIni << datei.mid(p + 1).chopped(4);
    }
    for (const auto& [alt, neu] : umbenannt)
      for (int i = 2; i < z.size(); ++i) {
        const qsizetype p = z[i].indexOf(u'|');
        if (z[i].startsWith(u'[') || p < 0) continue;
        const QString liste = z[i].mid(p + 1);
        if ((u':' + liste).contains(u':' + alt + u':'))
          z[i] = z[i].left(p + 1) + Listeneintrag_ersetzen(liste, alt, neu);
      }
    const QString alle = QStringLiteral("Alle Mitarbeiter|");
    for (int i = 2; i < z.size(); ++i)
      if (z[i].startsWith(alle)) {
        QString liste;
        for (const QString& h : überschriftenDerZeilen) liste += h + u':';
        z[i] = alle + liste;
      }
    // Blocks of users nobody knows any more.
    const auto bekannt = [&](const QString& benutzer) {
      for (int i = 1; i <= Mitarbeiterzeilen(); ++i)
        if (!gBenutzerIDs[i].isEmpty() && Gleich(gBenutzerIDs[i], benutzer)) return true;
      for (const QStringList* l : {&gAdministratoren, &gPrivilegierte})
        for (const QString& e : *l)
          if (e != u"NoAdmins" && Gleich(Benutzerteil(e), benutzer)) return true;
      for (const QString& n : mitIni)
        if (Gleich(n, benutzer)) return true;
      return false;
    };
    bool leeren = false;
    for (int i = 2; i < z.size(); ++i) {
      if (z[i].startsWith(u'[')) {
        const qsizetype e = z[i].indexOf(u']');
        leeren = !bekannt(z[i].mid(1, e < 0 ? -1 : e - 1));
      }
      if (leeren) z[i].clear();
    }
    const QStringList überschriften = Gruppenüberschriften();
    for (int i = 2; i < z.size(); ++i) {
      if (z[i].isEmpty() || z[i].startsWith(u'[')) continue;
      const qsizetype p = z[i].indexOf(u'|');
      if (p < 0) continue;
      z[i] = z[i].left(p + 1) + Liste_neu(z[i].mid(p + 1), überschriften);
    }
    // Groups without employee groups, then blocks without groups.
    bool gruppeDarunter = false;
    for (qsizetype i = z.size() - 1; i >= 2; --i) {
      if (z[i].isEmpty()) continue;
      if (z[i].startsWith(u'[')) {
        if (!gruppeDarunter) z[i].clear();
        gruppeDarunter = false;
      } else if (!z[i].contains(u':')) {
        z[i].clear();
      } else {
        gruppeDarunter = true;
      }
    }
    if (z.mid(2).join(QString()) != d.alt) Alle_Anzeigegruppen_schreiben(d);
  });
}

// --- Display permissions ---------------------------------------------------------

void Anzeigeberechtigungen_aktualisieren(const std::vector<std::pair<QString, QString>>& umbenannt) {
  Prozedur(kF + QStringLiteral("Anzeigeberechtigungen_aktualisieren"), [&] {
    QStringList& b = gAnzeigeberechtigungen;
    const QString alt = b.mid(1).join(QString());
    const auto schlüssel = [](const QString& z) { return z.section(u'|', 0, 0); };
    const auto liste = [](const QString& z) {
      const qsizetype p = z.indexOf(u'|');
      return p < 0 ? QString() : z.mid(p + 1);
    };
    for (const auto& [von, auf] : umbenannt)
      for (int i = 1; i < b.size(); ++i) {
        if (b[i].isEmpty()) continue;
        QString k = schlüssel(b[i]), l = liste(b[i]);
        if (k == von) k = auf;
        if ((u':' + l).contains(u':' + von + u':')) l = Listeneintrag_ersetzen(l, von, auf);
        b[i] = k + u'|' + l;
      }
    const QStringList überschriften = Gruppenüberschriften();
    for (const QString& h : überschriften) {
      bool da = false;
      for (int i = 1; i < b.size() && !da; ++i) da = !b[i].isEmpty() && schlüssel(b[i]) == h;
      if (!da) b << h + u'|' + h + u':';
    }
    for (int i = 1; i < b.size(); ++i) {
      if (b[i].isEmpty() || b[i] == kNoGroups) continue;
      if (!überschriften.contains(schlüssel(b[i]))) b[i].clear();
    }
    for (int i = 1; i < b.size(); ++i) {
      if (b[i].isEmpty() || b[i] == kNoGroups) continue;
      b[i] = schlüssel(b[i]) + u'|' + Liste_neu(liste(b[i]), überschriften);
    }
    // "NoGroups" gives way once a line exists.
    if (b.size() > 2 && b[1] == kNoGroups) b.removeAt(1);
    if (b.mid(1).join(QString()) != alt) Mitarbeiteranzber_schreiben();
  });
}

// --- Month records and overtime files --------------------------------------------

QString Monatszeile_umbenannt(const QString& zeile, const Umbenennungen& umbenannt) {
  const Monatszeilenform f = Form_der_Monatszeile(zeile);
  if (!f.monatszeile()) return zeile;
  const QString benutzer = f.benutzer(zeile).toString();
  for (const auto& [alt, neu] : umbenannt)
    if (Gleich(benutzer, alt)) return zeile.left(2) + neu + zeile.mid(f.trenner);
  return zeile;
}

bool Monatsdateien_anpassen(const Umbenennungen& umbenannt, const QStringList& entfernt) {
  return Prozedur(kF + QStringLiteral("BenId_umbenennen"), [&] {
    const auto ändern = [&](const std::optional<Monatsversion>&,
                            const QStringList& zeilen) -> std::optional<QStringList> {
      QStringList neu;
      bool geändert = false;
      for (int i = 0; i < zeilen.size(); ++i) {
        const QString& z = zeilen[i];
        if (i < 3) {
          neu << z;
          continue;
        }
        const Monatszeilenform f = Form_der_Monatszeile(z);
        if (f.monatszeile()) {
          const QString benutzer = f.benutzer(z).toString();
          bool weg = false;
          for (const QString& e : entfernt) weg = weg || Gleich(e, benutzer);
          if (weg) {
            geändert = true;
            continue;
          }
        }
        const QString u = Monatszeile_umbenannt(z, umbenannt);
        geändert = geändert || u != z;
        neu << u;
      }
      if (!geändert) return std::nullopt;
      return neu;
    };
    // Another workstation saving a month holds its lock for a moment: it is waited for.
    Alle_Monatsdateien_umschreiben(ändern);
    return true;
  });
}

void BenId_in_ÜStd_umbenennen(const QString& alt, const QString& neu) {
  Prozedur(kF + QStringLiteral("BenId_in_ÜStd_umbenennen"), [&] {
    for (const QString& datei : Dateiliste(gDatenordner, QStringLiteral("ÜStunden *.dat"))) {
      const QString pfad = gDatenordner + datei;
      QStringList zeilen;
      int zeile = 0;
      if (!ÜStunden_Zeilen(pfad, zeilen, zeile)) fehler::auslösen(fehler::kPfadZugriffsfehler);
      bool geändert = false;
      for (int i = 7; i < zeilen.size(); ++i) {
        // The header read as the overtime overview reads it: a header that names
        // nobody there is left as it is.
        const ÜStd_Kopf kopf = ÜStd_Kopfzeile(zeilen[i]);
        if (!kopf.lesbar || !Gleich(kopf.benutzer, alt)) continue;
        zeilen[i] = ÜStd_Kopf_umbenannt(zeilen[i], kopf, neu);
        geändert = true;
      }
      if (geändert) Alle_Zeilen_schreiben(pfad, zeilen);
    }
    Logbuch_ÜStd_ergänzen(2, QStringLiteral("Mitarbeiter umbenannt - ") + alt + QStringLiteral(" auf ") + neu);
  });
}

// --- Housekeeping ----------------------------------------------------------------

bool Erfassungsdaten_zu_Mitarbeiter_vorhanden(const QString& benutzer) {
  return Prozedur(kF + QStringLiteral("Erfassungsdaten_zu_Mitarbeiter_vorhanden"), [&] {
    Alle_Erfassungsdaten_einlesen(true);
    for (int i = 1; i <= Mitarbeiterzeilen() && i <= gErfassungsdaten.zeilen(); ++i) {
      if (!Gleich(gBenutzerIDs[i], benutzer)) continue;
      for (int m = 1; m <= Erfassungstabelle::kMonate; ++m)
        if (!gErfassungsdaten(i, m).trimmed().isEmpty()) return true;
    }
    return false;
  });
}

void Alte_ini_Dateien_löschen() {
  Prozedur(kF + QStringLiteral("Alte_ini_Dateien_löschen"), [&] {
    QStringList benutzer;
    for (int i = 1; i <= Mitarbeiterzeilen(); ++i)
      if (!gBenutzerIDs[i].isEmpty()) benutzer << gBenutzerIDs[i];
    for (const QStringList* l : {&gAdministratoren, &gPrivilegierte})
      for (const QString& e : *l)
        if (e != u"NoAdmins") benutzer << Benutzerteil(e);
    for (const QString& datei : Dateiliste(gIniOrdner, QStringLiteral("*.ini"))) {
      bool inGebrauch = false;
      if (Setting(28) == 0)
        for (const QString& b : benutzer)
          if (!b.isEmpty() && datei.toLower().contains(u'_' + b.toLower() + QStringLiteral(".ini"))) inGebrauch = true;
      if (inGebrauch) continue;
      const QDateTime zeit = Dateizeit(gIniOrdner + datei);
      if (zeit.isValid() && zeit.date().daysTo(gHeute) > 90) Löschen(gIniOrdner + datei);
    }
  });
}

// --- The apply step --------------------------------------------------------------

bool Mitarbeiterdaten_aktualisieren(frmMitarbeiter& f) {
  return Prozedur(kF + QStringLiteral("Mitarbeiterdaten_aktualisieren"), [&]() -> bool {
    auto& Z = f.Zeilen;
    const int n = f.Obergrenze();
    Sanduhr_Warten_ein();

    Anzeigegruppendatei gruppen;
    if (Datei_vorhanden(Anzgrupfad()) && Setting(17) != 1) Alle_Anzeigegruppen_lesen(gruppen);
    const bool gruppenInGebrauch = gruppen.zeilen.value(0) != kNoGroups;
    const bool berechtigungenInKraft = gAnzeigeberechtigungen.value(1) != kNoGroups && Setting(1) == 2;

    // A heading may take the name of a later one only when the two swap.
    if (gruppenInGebrauch || berechtigungenInKraft) {
      for (int i = 1; i <= n; ++i) {
        Zeilensatz& a = Z[static_cast<size_t>(i)];
        if (!a.Name.startsWith(u'>') || a.NameAlt.isEmpty() || a.NameAlt == a.Name) continue;
        for (int j = i + 1; j <= n; ++j) {
          Zeilensatz& b = Z[static_cast<size_t>(j)];
          if (b.NameAlt != a.Name) continue;
          if (b.Name != a.NameAlt) {
            Meldung(QStringLiteral("Ändern der Überschrift von ") + a.NameAlt.mid(1) + QStringLiteral(" auf ") +
                    b.NameAlt.mid(1) + QStringLiteral(" nicht möglich, da ") + b.NameAlt.mid(1) +
                    QStringLiteral(" bereits existiert."));
            return false;
          }
          a.NameAlt = a.Name;
          b.NameAlt = b.Name;
        }
      }
    }
    // A user name may take that of a later row only when the two swap. User names
    // are compared in any letter case, as the files hold them.
    for (int i = 1; i <= n; ++i) {
      Zeilensatz& a = Z[static_cast<size_t>(i)];
      if (a.Name.startsWith(u'>') || a.BenutzerID.isEmpty() || a.BenutzerIDAlt.isEmpty() ||
          a.BenutzerID == a.BenutzerIDAlt)
        continue;
      for (int j = i + 1; j <= n; ++j) {
        Zeilensatz& b = Z[static_cast<size_t>(j)];
        if (b.BenutzerIDAlt.isEmpty() || !Gleich(b.BenutzerIDAlt, a.BenutzerID)) continue;
        if (!Gleich(b.BenutzerID, a.BenutzerIDAlt)) {
          Meldung(QStringLiteral("Ändern des Mitarbeiter") +
                  (Setting(28) == 1 ? QStringLiteral("s") : QStringLiteral("-/Benutzernamens")) +
                  QStringLiteral(" von ") + a.BenutzerIDAlt + QStringLiteral(" auf ") + b.BenutzerIDAlt +
                  QStringLiteral(" nicht möglich, da ") + b.BenutzerIDAlt + QStringLiteral(" bereits existiert."));
          return false;
        }
        Logbuch_ergänzen(2, QStringLiteral("Überkreuz-Tausch Mitarbeiter") +
                                (Setting(28) == 1 ? QString() : QStringLiteral("-/Benutzername")) + u' ' +
                                a.BenutzerIDAlt + QStringLiteral(" mit ") + b.BenutzerIDAlt);
        a.BenutzerIDAlt = a.BenutzerID;
        b.BenutzerIDAlt = b.BenutzerID;
      }
    }
    // Employees that are gone, and those of them with recorded absences.
    QStringList behalten;
    for (int i = 1; i <= n; ++i) {
      const Zeilensatz& z = Z[static_cast<size_t>(i)];
      if (!z.BenutzerID.isEmpty()) behalten << (z.BenutzerIDAlt.isEmpty() ? z.BenutzerID : z.BenutzerIDAlt);
    }
    QStringList entfernt, mitDaten;
    for (int i = 1; i <= Mitarbeiterzeilen(); ++i) {
      const QString& b = gBenutzerIDs[i];
      if (b.isEmpty()) continue;
      bool bleibt = false;
      for (const QString& k : behalten) bleibt = bleibt || Gleich(k, b);
      if (bleibt) continue;
      entfernt << b;
      if (Erfassungsdaten_zu_Mitarbeiter_vorhanden(b)) mitDaten << gMitarbeiterNamen[i];
    }
    if (!mitDaten.isEmpty()) {
      Sanduhr_Warten_aus();
      const QString frage =
          mitDaten.size() == 1
              ? QStringLiteral("Der Mitarbeiter ") + mitDaten[0] +
                    QStringLiteral(
                        " wird gelöscht. Zu diesem Mitarbeiter sind An-/Abwesenheitsdaten vorhanden, die "
                        "jetzt gelöscht werden.\r\rMöchten Sie fortsetzen und die An-/Abwesenheitsdaten "
                        "dieses Mitarbeiters löschen?")
              : QStringLiteral(
                    "Folgende Mitarbeiter werden gelöscht, zu denen An-/Abwesenheitsdaten vorhanden sind: ") +
                    mitDaten.join(QStringLiteral(", ")) +
                    QStringLiteral(
                        "\r\rMöchten Sie fortsetzen und die An-/Abwesenheitsdaten dieser Mitarbeiter "
                        "löschen?");
      if (!Frage(frage, QStringLiteral("Velkora"))) return false;
      Sanduhr_Warten_ein();
    }
    // Another workstation's list written meanwhile is not overwritten.
    if (!f.Stand.unverändert(true, false)) {
      Sanduhr_Warten_aus();
      return false;
    }

    const QStringList altZustand = Zustand();
    int zeilen = 0;
    for (int i = 1; i <= n; ++i)
      if (!Z[static_cast<size_t>(i)].Name.isEmpty()) ++zeilen;
    Mitarbeitertabelle_dimensionieren(std::max(zeilen, 1));
    if (zeilen == 0) {
      gMitarbeiterNamen[1] = QStringLiteral("NoNames");
      gBenutzerIDs[1].clear();
      gEintrittsdaten[1].clear();
      gAustrittsdaten[1].clear();
      gUrlaubsdaten[1].clear();
      gSonderurlaubsanspruch[1].clear();
    }
    QStringList überschriftenDerZeilen;
    for (int i = 1, k = 0; i <= n; ++i) {
      const Zeilensatz& z = Z[static_cast<size_t>(i)];
      if (z.Name.isEmpty()) continue;
      ++k;
      if (z.Name.startsWith(u'>')) {
        gMitarbeiterNamen[k] = z.Name.mid(1);
        gBenutzerIDs[k].clear();
        gEintrittsdaten[k].clear();
        gAustrittsdaten[k].clear();
        gUrlaubsdaten[k].clear();
        gSonderurlaubsanspruch[k].clear();
        überschriftenDerZeilen << z.Name.mid(1);
      } else {
        gEintrittsdaten[k] = z.Von;
        gAustrittsdaten[k] = z.Bis;
        gUrlaubsdaten[k] = z.Urlaubsdaten;
        gSonderurlaubsanspruch[k] = z.Sonderurlaub;
        gMitarbeiterNamen[k] = z.Name;
        gBenutzerIDs[k] = z.BenutzerID;
      }
    }
    const QStringList neuZustand = Zustand();
    f.cmdAuswahl[6]->setEnabled(false);
    if (altZustand == neuZustand) {
      Sanduhr_Warten_aus();
      return true;
    }

    Umbenennungen umbenannt;
    for (int i = 1; i <= n; ++i) {
      const Zeilensatz& z = Z[static_cast<size_t>(i)];
      if (!z.BenutzerIDAlt.isEmpty() && !z.BenutzerID.isEmpty() && z.BenutzerIDAlt != z.BenutzerID)
        umbenannt.emplace_back(z.BenutzerIDAlt, z.BenutzerID);
    }
    // While month and overtime files change, no other workstation saves.
    const bool dateienÄndern = !umbenannt.empty() || !entfernt.isEmpty();
    std::optional<Wartungssperre> sperre;
    if (dateienÄndern) sperre.emplace();
    Sanduhr_Warten_ein();
    const bool gesichert = Backup_erstellen(QStringLiteral("A"));
    if (!gesichert) {
      Logbuch_ergänzen(2, QStringLiteral("Backup vor Ändern der Mitarbeiterdaten konnte nicht erstellt werden"));
      Meldung(QStringLiteral("Warnung: Backup vor Ändern der Mitarbeiterdaten konnte nicht erstellt werden"));
      Sanduhr_Warten_ein();
    }
    Mitarbeiterdaten_schreiben();
    Mitarbeiterdaten_lesen();
    f.Stand = Stammdatenstand();

    // The removed employees' lines go only when a backup holds them.
    const QStringList weg = gesichert ? entfernt : QStringList();
    if (!umbenannt.empty() || !weg.isEmpty()) Monatsdateien_anpassen(umbenannt, weg);
    QStringList neueNamen, alteNamen;
    const bool überstunden = !Dateiliste(gDatenordner, QStringLiteral("ÜStunden *.dat")).isEmpty();
    for (int i = 1; i <= n; ++i) {
      Zeilensatz& z = Z[static_cast<size_t>(i)];
      if (z.BenutzerIDAlt.isEmpty() || z.BenutzerID.isEmpty() || z.BenutzerIDAlt == z.BenutzerID) continue;
      Logbuch_ergänzen(
          2, QStringLiteral("Mitarbeiter umbenannt - ") + z.BenutzerIDAlt + QStringLiteral(" auf ") + z.BenutzerID);
      if (überstunden) BenId_in_ÜStd_umbenennen(z.BenutzerIDAlt, z.BenutzerID);
      neueNamen << z.BenutzerID;
      alteNamen << z.BenutzerIDAlt;
      z.BenutzerIDAlt = z.BenutzerID;
    }

    // Logbook: changed, removed and new employees.
    const auto benutzerIn = [](const QStringList& zustand, const QString& b) {
      for (const QString& e : zustand)
        if (Benutzer_des_Eintrags(e) == b) return true;
      return false;
    };
    for (const QString& e : altZustand) {
      if (!e.contains(u':') || neuZustand.contains(e)) continue;
      const QString b = Benutzer_des_Eintrags(e);
      if (benutzerIn(neuZustand, b))
        Logbuch_ergänzen(2, QStringLiteral("Mitarbeiter geändert von: ") + e);
      else if (!alteNamen.contains(b))
        Logbuch_ergänzen(2, QStringLiteral("Mitarbeiter gelöscht: ") + e);
    }
    for (const QString& e : neuZustand) {
      if (!e.contains(u':') || altZustand.contains(e)) continue;
      const QString b = Benutzer_des_Eintrags(e);
      if (benutzerIn(altZustand, b))
        Logbuch_ergänzen(2, QStringLiteral("Mitarbeiter geändert auf: ") + e);
      else if (!neueNamen.contains(b))
        Logbuch_ergänzen(2, QStringLiteral("Mitarbeiter neu: ") + e);
    }

    const auto überschriften = Geänderte_Überschriften(f);
    if (berechtigungenInKraft) Anzeigeberechtigungen_aktualisieren(überschriften);
    if (gruppenInGebrauch) {
      // The file as it is now, so that groups another user saved meanwhile stay.
      Anzgru_Sperre anzgruSperre;
      Anzeigegruppendatei jetzt;
      if (Datei_vorhanden(Anzgrupfad())) Alle_Anzeigegruppen_lesen(jetzt);
      if (jetzt.zeilen.value(0) != kNoGroups) {
        for (const auto& [alt, neu] : umbenannt) BenId_in_AnzGru_umbenennen(jetzt, alt, neu);
        Anzeigegruppen_aktualisieren(jetzt, überschriften, überschriftenDerZeilen);
      }
    }
    Anzber_und_Anzgru_init();
    Alte_ini_Dateien_löschen();
    Sanduhr_Warten_aus();
    return true;
  });
}
