#include "config/Schaltflaechen_speichern.h"

#include <QList>

#include "config/Codeabbildung.h"
#include "launch/Wartungssperre.h"
#include "platform/Cp1252.h"
#include "platform/Dialoge.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Monatsdatei.h"
#include "store/Sicherung.h"
#include "store/Stammdatenstand.h"
#include "store/Velkoraini.h"

std::function<bool(const QString&, const QString&)> gKnopfRestore = Restore_aus_Backupdatei;

namespace {

void Zustand_zurücksetzen() { gKnopfRestore = Restore_aus_Backupdatei; }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

const QString kProzedur = QStringLiteral("frmAnAbwesenheitsgruende - ");
const QString kNichtMöglich = QStringLiteral("Ändern der An-/Abwesenheitsgründe nicht möglich. ");

QString Nummer(int n) { return u' ' + QString::number(n); }

bool Enthält_eines(const QString& text, const QString& zeichen) {
  for (const QChar c : zeichen)
    if (text.contains(c)) return true;
  return false;
}

// Checks 4 to 6 name a pair of rows; the focus goes to the first one shown. When both
// lie on the page not shown, that page is shown first.
void Paar_fokussieren(Knopfeditor& e, int r, int s) {
  const auto sichtbar = [&](int z) { return (z <= 12) == e.ersteSeiteSichtbar(); };
  if (!sichtbar(r) && !sichtbar(s)) e.seiteZeigen(r <= 12);
  e.fokusBuchstabe(sichtbar(r) ? r : s);
}

QString Beschreibung(int nummer, const Knopfzeile& z) {
  return QStringLiteral("%1").arg(nummer, 2, 10, QChar(u'0')) + u':' + HexFarbe(z.textfarbe) + u':' +
         HexFarbe(z.hintergrund) + u':' + QString::number(z.nurAdmins) + u':' + QString::number(z.verbergen) + u':' +
         z.buchstabe + u':' + z.text + u'|';
}

Knopfzeile Gespeichert(int b) {
  Knopfzeile z;
  z.buchstabe = gSFKennbuchstaben[b];
  z.text = gSFTexte[b];
  z.textfarbe = gSFTextfarben[b];
  z.hintergrund = gSFHintergrundfarben[b];
  z.nurAdmins = gSFNurAdmins[b];
  z.verbergen = gSFVerbergen[b];
  return z;
}

bool Prüfen(Knopfeditor& e) {
  constexpr int N = Knopfeditor::kZeilen;
  QList<Knopfzeile> z(N + 1);
  for (int r = 1; r <= N; ++r) z[r] = e.zeile(r);
  const QString unzulässig = QString::fromUtf16(cp1252::kUnzulässigesSonderzeichen);

  for (int r = 1; r <= N; ++r) {
    if (Enthält_eines(z[r].buchstabe, QStringLiteral(":|&#")) || !cp1252::eingabeZulässig(z[r].buchstabe)) {
      Meldung(unzulässig);
      e.fokusBuchstabe(r);
      return false;
    }
  }
  for (int r = 1; r <= N; ++r) {
    if (Enthält_eines(z[r].text, QStringLiteral(":|&")) || !cp1252::eingabeZulässig(z[r].text)) {
      Meldung(unzulässig);
      e.fokusText(r);
      return false;
    }
  }
  for (int r = 1; r <= N; ++r) {
    if (!z[r].buchstabe.isEmpty() && z[r].text.isEmpty()) {
      Meldung(QStringLiteral("Schaltflächenbeschriftung fehlt"));
      e.fokusText(r);
      return false;
    }
    if (!z[r].text.isEmpty() && z[r].buchstabe.isEmpty()) {
      Meldung(QStringLiteral("Kennbuchstabe fehlt"));
      e.fokusBuchstabe(r);
      return false;
    }
  }
  for (int r = 1; r <= N; ++r)
    for (int s = r + 1; s <= N; ++s) {
      if (z[r].buchstabe.isEmpty() || z[r].buchstabe != z[s].buchstabe || z[r].hintergrund != z[s].hintergrund)
        continue;
      Meldung(QStringLiteral("Kennbuchstabe '") + z[r].buchstabe +
              QStringLiteral("' bei gleicher Hintergrundfarbe doppelt vorhanden (Schaltfläche") + Nummer(r) +
              QStringLiteral(" und Schaltfläche") + Nummer(s) + u')');
      Paar_fokussieren(e, r, s);
      return false;
    }
  const auto doppelt = [&](const QString& buchstabe, const QString& text) {
    for (int r = 1; r <= N; ++r)
      for (int s = r + 1; s <= N; ++s) {
        if (z[r].buchstabe != buchstabe || z[r].buchstabe != z[s].buchstabe || z[r].nurAdmins != z[s].nurAdmins)
          continue;
        Meldung(QStringLiteral("Kennbuchstabe '") + buchstabe + text);
        Paar_fokussieren(e, r, s);
        return true;
      }
    return false;
  };
  if (SettingStr(33, 5) == u"0####") {
    for (int k = 1; k <= 4; ++k) {
      const QString l = SettingStr(19 + k, 1);
      if (l == u"#" || l.isEmpty()) continue;
      if (doppelt(l, QStringLiteral("' darf nicht doppelt vorhanden sein, wenn er unter 'Bearbeiten - Einstellungen "
                                    "- Urlaubstage' als Kennbuchstabe für Urlaubstage verwendet wird")))
        return false;
    }
  }
  if (gSFVerbergenText == u"void" && Setting(5) == 1) {
    const QString l = SettingStr(24, 1);
    if (!l.isEmpty() &&
        doppelt(l, QStringLiteral("' darf nicht doppelt vorhanden sein, wenn er unter 'Bearbeiten - Einstellungen - "
                                  "Krankheitstage' als Kennbuchstabe für Krankheitstage verwendet wird")))
      return false;
  }

  Alle_Erfassungsdaten_einlesen(false);
  const int n = Schaltflächen_Anzahl();
  for (int b = 1; b <= n - 1 && b <= N; ++b) {
    if ((b <= 12) != e.ersteSeiteSichtbar()) continue;
    const bool löschen = z[b].buchstabe.isEmpty();
    const bool beides = z[b].buchstabe != gSFKennbuchstaben[b] && z[b].text != gSFTexte[b];
    if (!(löschen || beides) || !Erfassungsdaten_vorhanden(b)) continue;
    Sanduhr_Warten_aus();
    QString frage = QStringLiteral("Zur Schaltfläche '") + gSFKennbuchstaben[b] + QStringLiteral(" - ") + gSFTexte[b] +
                    QStringLiteral("' sind An-/Abwesenheitsdaten vorhanden. ");
    frage += löschen ? QStringLiteral(
                           "Ein Löschen dieser Schaltfläche bewirkt auch das Löschen aller "
                           "An-/Abwesenheitsdaten zu dieser Schaltfläche.\r\rMöchten Sie diese Schaltfläche "
                           "und alle zugehörigen An-/Abwesenheitsdaten wirklich löschen?")
                     : QStringLiteral(
                           "\r\rMöchten Sie wirklich gleichzeitig Kennbuchstabe und Beschriftung dieser "
                           "Schaltfläche ändern?");
    if (!Frage(frage, QStringLiteral("Velkora"))) {
      e.zeileZurücksetzen(b);
      e.fokusBuchstabe(b);
      return false;
    }
    Sanduhr_Warten_ein();
  }

  bool eine = false;
  for (int r = 1; r <= N; ++r) eine = eine || z[r].gefüllt();
  if (!eine) {
    Meldung(QStringLiteral("Es muss mindestens eine Schaltfläche vorhanden sein"));
    return false;
  }
  Sanduhr_Warten_aus();
  return true;
}

void Speichern(const Knopfeditor& e) {
  constexpr int N = Knopfeditor::kZeilen;
  if (Schaltflächenbeschreibung_gespeichert() == Schaltflächenbeschreibung_bearbeitet(e) &&
      e.breitenCode() == SettingStr(48, 1))
    return;
  const int n = Schaltflächen_Anzahl();
  QList<Knopfzeile> z(N + 1);
  for (int r = 1; r <= N; ++r) z[r] = e.zeile(r);

  QList<int> gelöscht;
  for (int b = 1; b <= n - 1 && b <= N; ++b)
    if (!z[b].gefüllt()) gelöscht << b;
  int m = 0;
  for (int r = 1; r <= N; ++r) m += z[r].gefüllt() ? 1 : 0;
  const bool umschlüsseln = !gelöscht.isEmpty() || m != n - 1;

  Sanduhr_Warten_ein();
  // Nothing is changed over a configuration another workstation wrote since this one
  // read it: its table may already be a different one.
  if (!Stammdatenstand().unverändert(false, true)) return;
  // From the backup until the new table is read back no other workstation may write a
  // data file: the restore puts back every data file as it was backed up.
  Wartungssperre programmsperre;
  std::optional<Alle_Monatssperren> monatssperren;
  if (umschlüsseln) {
    monatssperren.emplace();
    if (!monatssperren->gehalten()) {
      Meldung(Monatssperre_Meldung(monatssperren->fehlend()));
      return;
    }
  }
  if (!Backup_erstellen(QStringLiteral("A"))) {
    Logbuch_ergänzen(2, QStringLiteral("Backup vor Ändern der An-/Abwesenheitsgründe konnte nicht erstellt werden"));
    Meldung(kNichtMöglich +
            QStringLiteral("Backup vor Ändern der An-/Abwesenheitsgründe konnte nicht erstellt werden."));
    return;
  }
  for (int b : gelöscht)
    Logbuch_ergänzen(2, QStringLiteral("Schaltfläche gelöscht: Nr.") + Nummer(b) + QStringLiteral(": ") +
                            gSFKennbuchstaben[b] + QStringLiteral(" - ") + gSFTexte[b]);
  for (int r = n; r <= N; ++r)
    if (z[r].gefüllt())
      Logbuch_ergänzen(2, QStringLiteral("Schaltfläche hinzugefügt: Nr.") + Nummer(r) + QStringLiteral(": ") +
                              z[r].buchstabe + QStringLiteral(" - ") + z[r].text);

  if (umschlüsseln) {
    std::vector<Sicherungsblock> blöcke;
    const QString sicherung = gSicherungsordner + gSicherungsdatei;
    const QString umbau = gSicherungsordner + QStringLiteral("000000 000000 I.dat");
    bool gelungen = Sicherung_einlesen(sicherung, blöcke);
    if (gelungen) {
      Sicherung_umschlüsseln(blöcke, Codeabbildung_Schaltflächen(n - 1, gelöscht, m));
      Sicherung_schreiben(umbau, blöcke);
      gelungen = gKnopfRestore(umbau, QStringLiteral("NoLogs"));
    }
    if (!gelungen) {
      const QString kurz = ShowPfad(umbau, 100);
      Logbuch_ergänzen(2, QStringLiteral("Fehler beim Wiederherstellen der Datei ") + kurz);
      Meldung(kNichtMöglich + QStringLiteral("Fehler beim Wiederherstellen der Datei ") + kurz +
              QStringLiteral(". Möglicherweise besteht ein inkonsistenter Zustand."));
      return;
    }
    Löschen(umbau);
    Erfassungsdaten_Cache_verwerfen();
  }

  // The new table, built apart and put in place in one go, so the six arrays never
  // differ in their bounds.
  QList<qint32> textfarben{0}, hintergründe{0};
  QList<int> nurAdmins{0}, verbergen{0};
  QStringList buchstaben{QString()}, texte{QString()};
  for (int r = 1; r <= N; ++r) {
    if (!z[r].gefüllt()) continue;
    textfarben << z[r].textfarbe;
    hintergründe << (z[r].hintergrund == 0 ? 1 : z[r].hintergrund);
    nurAdmins << z[r].nurAdmins;
    buchstaben << z[r].buchstabe;
    texte << z[r].text;
    verbergen << z[r].verbergen;
  }
  textfarben << gGrundfarben[1];
  hintergründe << gGrundfarben[1];
  nurAdmins << 0;
  buchstaben << QStringLiteral(" ");
  texte << QStringLiteral("Löschen");
  verbergen << 0;
  gSFTextfarben = textfarben;
  gSFHintergrundfarben = hintergründe;
  gSFNurAdmins = nurAdmins;
  gSFKennbuchstaben = buchstaben;
  gSFTexte = texte;
  gSFVerbergen = verbergen;

  if (gSFVerbergenText != u"void") {
    QString ziffern;
    for (int b = 1; b < verbergen.size(); ++b) ziffern += QString::number(verbergen[b]);
    gSFVerbergenText = ziffern;
  }
  gSettings[47] = e.breitenCode().isEmpty() ? QChar(u'0') : e.breitenCode()[0];
  const bool automatisch = e.breitenCode() == u"0";
  gSFBreite = automatisch ? 0 : e.breite();
  gBenutzerwerte[36] = automatisch ? 0 : 1;
  gBenutzerwerte[37] = gSFBreite;
  Konfigdaten_schreiben();
  Konfigdaten_lesen();

  QStringList buchstabenliste;
  for (int b = 1; b < buchstaben.size() - 1; ++b) buchstabenliste << buchstaben[b];
  Logbuch_ergänzen(2, QStringLiteral("Schaltflächen geändert:") + Nummer(static_cast<int>(buchstabenliste.size())) +
                          QStringLiteral(" Schaltflächen: ") + buchstabenliste.join(QStringLiteral(", ")));
  Sanduhr_Warten_aus();
}

}  // namespace

QString Schaltflächenbeschreibung_gespeichert() {
  QString s;
  for (int b = 1; b <= Schaltflächen_Anzahl() - 1; ++b) s += Beschreibung(b, Gespeichert(b));
  return s;
}

QString Schaltflächenbeschreibung_bearbeitet(const Knopfeditor& editor) {
  QString s;
  for (int r = 1; r <= Knopfeditor::kZeilen; ++r) {
    const Knopfzeile z = editor.zeile(r);
    if (z.gefüllt()) s += Beschreibung(r, z);
  }
  return s;
}

bool Plausibilitätsprüfung(Knopfeditor& editor) {
  return Prozedur(kProzedur + QStringLiteral("Plausibilitätsprüfung"), [&]() -> bool {
    Sanduhr_Warten_ein();
    const bool ok = Prüfen(editor);
    Sanduhr_Warten_aus();
    return ok;
  });
}

void Schaltflächen_aktualisieren(const Knopfeditor& editor) {
  Prozedur(kProzedur + QStringLiteral("Schaltflächen_aktualisieren"), [&] {
    Speichern(editor);
    Sanduhr_Warten_aus();
  });
}
