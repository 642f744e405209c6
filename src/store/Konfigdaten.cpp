#include "store/Konfigdaten.h"

#include <algorithm>
#include <optional>

#include "platform/Laufzeitfehler.h"
#include "platform/Programmende.h"
#include "platform/Text.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "startup/Zeilencodierung.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Feiertage.h"
#include "store/Velkoraini.h"

namespace {
const QString kStandardSettings = QStringLiteral("0000000000000101110U½##K310030100####0000010000000");
const QString kCodezeichen = QStringLiteral("123456789ABCDEFGHIJKLMNOPQ");
const QString kNoAdmins = QStringLiteral("NoAdmins");
const QString kEinrichtungPräfix = QStringLiteral("Einrichtung:");
// A button number must have a code character and so must the non-working-day mark
// after the last button: 26 code characters leave room for 25 buttons.
constexpr int kMaxSchaltflächen = 25;
constexpr int kSettingsLänge = 50;
}  // namespace

QString gKennzeile;
QString gEinrichtungszeile;
QString gVersionszeile;
QString gFirmenname;
QString gFirmenzusatz;
QString gSettings = kStandardSettings;
QString gSFVerbergenText = QStringLiteral("void");
QString gWochenende = QStringLiteral("SaSo");
std::array<qint32, 10> gGrundfarben{};
QList<qint32> gSFTextfarben{0};
QList<qint32> gSFHintergrundfarben{0};
QList<int> gSFNurAdmins{0};
QStringList gSFKennbuchstaben{QString()};
QStringList gSFTexte{QString()};
QList<int> gSFVerbergen{0};
QStringList gAdministratoren;
QStringList gPrivilegierte;
int gBenutzerstufe = 0;
bool gAdministratorSchalter = false;
int gSFUrlaub = 0;
int gSFUrlaubHalb = 0;
int gSFUrlaub2 = 0;
int gSFUrlaubHalb2 = 0;
int gSFVerborgen = 0;
int gSFSonderurlaub = 0;
int gSFSonderurlaubHalb = 0;
int gSFSonderurlaub2 = 0;
int gSFSonderurlaubHalb2 = 0;
int gUrlaubsjahrBeginn = 1;
int gResturlaubVerfall = 0;
int gSFBreite = 0;
int gMonateSeitEinrichtung = 0;
QDateTime gKonfigdatenZeit;

void Schaltflächen_leeren() {
  gSFTextfarben = {0};
  gSFHintergrundfarben = {0};
  gSFNurAdmins = {0};
  gSFKennbuchstaben = {QString()};
  gSFTexte = {QString()};
  gSFVerbergen = {0};
}

namespace {

void Zustand_zurücksetzen() {
  gKennzeile.clear();
  gEinrichtungszeile.clear();
  gVersionszeile.clear();
  gFirmenname.clear();
  gFirmenzusatz.clear();
  gSettings = kStandardSettings;
  gSFVerbergenText = QStringLiteral("void");
  gWochenende = QStringLiteral("SaSo");
  gGrundfarben.fill(0);
  Schaltflächen_leeren();
  gAdministratoren.clear();
  gPrivilegierte.clear();
  gBenutzerstufe = 0;
  gAdministratorSchalter = false;
  gSFUrlaub = gSFUrlaubHalb = gSFUrlaub2 = gSFUrlaubHalb2 = gSFVerborgen = 0;
  gSFSonderurlaub = gSFSonderurlaubHalb = gSFSonderurlaub2 = gSFSonderurlaubHalb2 = 0;
  gUrlaubsjahrBeginn = 1;
  gResturlaubVerfall = 0;
  gSFBreite = 0;
  gMonateSeitEinrichtung = 0;
  gKonfigdatenZeit = QDateTime();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

QString Konfigpfad() { return gDatenordner + QStringLiteral("Konfigdaten.dat"); }

// A colour as stored: "&H" and hexadecimal digits (blue, green, red), or a decimal
// number. Anything else is not a number.
std::optional<qint32> Farbwert(const QString& feld) {
  const QString t = text::trim(feld);
  bool ok = false;
  if (t.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
    const QString ziffern = t.mid(2);
    if (ziffern.isEmpty() || ziffern.size() > 8) return std::nullopt;
    const quint32 w = ziffern.toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    return static_cast<qint32>(w);
  }
  const qint32 w = t.toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return w;
}

// One digit of a line as a number; nothing when it is none.
std::optional<int> Ziffer(const QString& zeile, int position) {
  const QString z = zeile.mid(position - 1, 1);
  if (z.size() != 1 || z[0] < u'0' || z[0] > u'9') return std::nullopt;
  return z[0].unicode() - u'0';
}

QString Zeichen_setzen(QString s, int position, const QString& zeichen) {
  s.replace(position - 1, zeichen.size(), zeichen);
  return s;
}

// Older data folders hold shorter settings strings; they get the values those
// folders behaved with.
QString Settings_migrieren(QString s) {
  const auto land = [&s] { return s.mid(14, 1); };
  if (s.size() < 30) {
    s = s.leftJustified(30, u'0');
    QString urlaub = QStringLiteral("U½##K");
    if (land() == u"1")
      urlaub = QStringLiteral("V½##S");
    else if (land() == u"2")
      urlaub = QStringLiteral("C½##M");
    else if (land() == u"3")
      urlaub = QStringLiteral("V½##E");
    s = s.left(19) + urlaub + s.mid(24);
    if (s.mid(0, 1) != u"2") s = Zeichen_setzen(s, 18, QStringLiteral("1"));
    s = Zeichen_setzen(s, 28, s.mid(9, 1));
  }
  if (s.size() < kSettingsLänge) s = s.leftJustified(kSettingsLänge, u'0');
  if (s.mid(30, 1) == u"0") {
    if (land() == u"2") {
      s = Zeichen_setzen(s, 30, QStringLiteral("1"));
      s = Zeichen_setzen(s, 31, QStringLiteral("6"));
    } else {
      s = Zeichen_setzen(s, 30, QStringLiteral("0"));
      s = Zeichen_setzen(s, 31, QStringLiteral("1"));
    }
  }
  if (s.mid(32, 5) == u"00000") {
    s = Zeichen_setzen(s, 33, land() == u"2" ? QStringLiteral("1R½##") : QStringLiteral("0####"));
  }
  return s;
}

int Monatszahl(const QDate& d) { return (d.year() % 100) * 12 + d.month(); }

// Whole months since the set-up month recorded in the opaque line; a line that does
// not record one belongs to a folder set up long ago.
int Monate_seit_Einrichtung(const QString& zeile) {
  constexpr int kHöchstens = 20;
  if (!zeile.startsWith(kEinrichtungPräfix)) return kHöchstens;
  const QString monat = zeile.mid(kEinrichtungPräfix.size(), 4);
  if (monat.size() != 4 || !text::nurZiffern(monat)) return kHöchstens;
  const int mm = text::zahl(monat.mid(2, 2));
  if (mm < 1 || mm > 12) return kHöchstens;
  const int seit = Monatszahl(gHeute) - (text::zahl(monat.left(2)) * 12 + mm);
  return std::clamp(seit, 0, kHöchstens);
}

struct Konfiguration {
  QString kennzeile, version, firma, zusatz, settings, einrichtung, verbergenText, wochenende;
  std::array<qint32, 10> farben{};
  QList<qint32> textfarben{0}, hintergrundfarben{0};
  QList<int> nurAdmins{0}, verbergen{0};
  QStringList buchstaben{QString()}, texte{QString()};
  QStringList admins, privilegierte;
};

// Where the lines of a configuration first fail to read: a section header other than
// the expected one (its name, for the header message), or a line that holds no value of
// its kind or is missing (its number, 1-based).
struct Konfigbefund {
  QString kopf;
  int zeile = 0;
  bool gut() const { return kopf.isEmpty() && zeile == 0; }
};

// The configuration from its lines, as the file holds them. Nothing is read from
// outside the lines, so a copy of the file is checked by the same rules as the file.
Konfigbefund Konfig_aus_Zeilen(const QStringList& zeilen, Konfiguration& k) {
  qsizetype i = 0;
  QString z;
  // The next line into z; false when the lines end before it.
  const auto nächste = [&] {
    if (i >= zeilen.size()) return false;
    z = zeilen[i++];
    return true;
  };
  const auto fehlend = [&] { return Konfigbefund{QString(), static_cast<int>(i) + 1}; };
  const auto schlecht = [&] { return Konfigbefund{QString(), static_cast<int>(i)}; };
  const auto kopf = [&](const QString& name) { return Konfigbefund{name, 0}; };

  if (!nächste()) return fehlend();
  if (z != u"[Velkora]") return kopf(QStringLiteral("Velkora"));
  if (!nächste()) return fehlend();
  k.kennzeile = z;
  if (!nächste()) return fehlend();
  k.version = z;
  if (!nächste()) return fehlend();
  if (z != u"[Firma]") return kopf(QStringLiteral("Firma"));
  if (!nächste()) return fehlend();
  k.firma = z;
  if (!nächste()) return fehlend();
  k.zusatz = z;
  if (!nächste()) return fehlend();
  if (z != u"[Settings]") return kopf(QStringLiteral("Settings"));
  if (!nächste()) return fehlend();
  k.settings = Settings_migrieren(z);
  if (!nächste()) return fehlend();
  k.einrichtung = z;
  if (!nächste()) return fehlend();
  k.verbergenText = z;
  const int verbergenZeile = static_cast<int>(i);
  if (!nächste()) return fehlend();
  if (z != u"[Wochenende]") return kopf(QStringLiteral("Wochenende"));
  if (!nächste()) return fehlend();
  k.wochenende = z;
  if (!nächste()) return fehlend();
  if (z != u"[Grundfarben]") return kopf(QStringLiteral("Grundfarben"));

  if (!nächste()) return fehlend();
  int farbe = 0;
  while (!z.startsWith(u'[')) {
    const std::optional<qint32> w = Farbwert(z);
    if (++farbe > 9 || !w) return schlecht();
    k.farben[farbe] = *w;
    if (!nächste()) return fehlend();
  }
  if (z.left(9) != u"[Schaltfl") return kopf(QStringLiteral("Schaltflaechen"));

  const bool verbergen = k.verbergenText != u"void";
  if (!nächste()) return fehlend();
  while (!z.startsWith(u'[')) {
    const int nummer = static_cast<int>(k.texte.size());
    // More buttons than code characters would shift every code in the record files.
    if (nummer > kMaxSchaltflächen) return schlecht();
    const std::optional<qint32> text = Farbwert(z.mid(0, 8));
    const std::optional<qint32> hintergrund = Farbwert(z.mid(9, 8));
    const std::optional<int> nurAdmins = Ziffer(z, 19);
    if (!text || !hintergrund || !nurAdmins) return schlecht();
    // A hide-digit line shorter than the buttons is the damaged line.
    const std::optional<int> verborgen = verbergen ? Ziffer(k.verbergenText, nummer) : std::optional<int>(0);
    if (!verborgen) return Konfigbefund{QString(), verbergenZeile};
    k.textfarben << *text;
    k.hintergrundfarben << *hintergrund;
    k.nurAdmins << *nurAdmins;
    k.buchstaben << z.mid(20, 1);
    k.texte << z.mid(22);
    k.verbergen << *verborgen;
    if (!nächste()) return fehlend();
  }
  if (z != u"[Administratoren]") return kopf(QStringLiteral("Administratoren"));

  while (nächste()) {
    if (z == kNoAdmins) continue;
    if (z.startsWith(u'A'))
      k.admins << z;
    else
      k.privilegierte << z;
  }
  return {};
}

// Reads the file into k; false when a header did not match (the file error has been
// reported then). A file that is cut short, ends early or holds a line without a value
// of its kind is reported as damaged, naming the line.
bool Datei_einlesen(const QString& pfad, const QString& prozedur, Konfiguration& k) {
  FOpen(pfad, QStringLiteral("Input"));
  // Cut short, the file would lose its last administrators or code buttons.
  if (Kanal_ohne_letztes_Zeilenende()) Datei_beschädigt(pfad);
  QStringList zeilen;
  while (!FEOF()) zeilen << LineIn();
  FClose();
  const Konfigbefund befund = Konfig_aus_Zeilen(zeilen, k);
  if (!befund.kopf.isEmpty()) {
    Dateifehler(2, pfad, befund.kopf, prozedur);
    return false;
  }
  if (befund.zeile > 0) Datei_beschädigt(pfad, befund.zeile);
  return true;
}

int Stufe_ermitteln() {
  const QString ende = u':' + gBenutzername.toLower();
  const auto passt = [&](const QString& z) { return z != kNoAdmins && z.toLower().endsWith(ende); };
  int stufe = 0;
  for (const QString& z : gAdministratoren) {
    if (passt(z)) stufe = 2;
  }
  if (stufe == 0) {
    for (const QString& z : gPrivilegierte) {
      if (passt(z)) stufe = 1;
    }
  }
  // A folder without administrators is administered by every user.
  if (gAdministratoren == QStringList{kNoAdmins}) stufe = 2;
  if (Setting(16) == 1) stufe = 2;
  if (stufe == 0 && gPrivilegierte.first().mid(2) == u"*:*") stufe = 1;
  // The override switch of the command line outlasts every re-read.
  if (gAdministratorSchalter) stufe = 2;
  return stufe;
}

void Einlesen(const QString& prozedur) {
  const QString pfad = Konfigpfad();
  if (!Datei_vorhanden(pfad)) {
    Dateifehler(1, pfad, QString(), prozedur);
    return;
  }
  Konfiguration k;
  if (!Datei_einlesen(pfad, prozedur, k)) return;

  if (gKennzeile.isEmpty()) gKennzeile = k.kennzeile;
  gVersionszeile = k.version;
  gFirmenname = k.firma;
  gFirmenzusatz = k.zusatz;
  gSettings = k.settings;
  gEinrichtungszeile = k.einrichtung;
  gMonateSeitEinrichtung = Monate_seit_Einrichtung(k.einrichtung);
  gSFVerbergenText = k.verbergenText;
  gWochenende = k.wochenende;
  gGrundfarben = k.farben;
  gSFTextfarben = k.textfarben;
  gSFHintergrundfarben = k.hintergrundfarben;
  gSFNurAdmins = k.nurAdmins;
  gSFKennbuchstaben = k.buchstaben;
  gSFTexte = k.texte;
  gSFVerbergen = k.verbergen;
  gAdministratoren = k.admins.isEmpty() ? QStringList{kNoAdmins} : k.admins;
  gPrivilegierte = k.privilegierte.isEmpty() ? QStringList{kNoAdmins} : k.privilegierte;
  gBenutzerstufe = Stufe_ermitteln();

  gSFUrlaub = Schaltflächen_Nummer(SettingStr(20, 1), QString());
  gSFUrlaubHalb = Schaltflächen_Nummer(SettingStr(21, 1), QString());
  gSFUrlaub2 = Schaltflächen_Nummer(SettingStr(22, 1), QString());
  gSFUrlaubHalb2 = Schaltflächen_Nummer(SettingStr(23, 1), QString());
  const QString rtt = QStringLiteral("RTT");
  gSFSonderurlaub = Schaltflächen_Nummer(SettingStr(34, 1), rtt);
  gSFSonderurlaubHalb = Schaltflächen_Nummer(SettingStr(35, 1), rtt);
  gSFSonderurlaub2 = Schaltflächen_Nummer(SettingStr(36, 1), rtt);
  gSFSonderurlaubHalb2 = Schaltflächen_Nummer(SettingStr(37, 1), rtt);
  gSFVerborgen = Setting(5) == 0 ? 0 : Schaltflächen_Nummer(SettingStr(24, 1), QString());
  if (gSFVerborgen > 0) gSFVerbergen[gSFVerborgen] = 1;

  gUrlaubsjahrBeginn = HexDec(SettingStr(31, 1));
  gResturlaubVerfall = HexDec(SettingStr(38, 1));
  const QString breite = SettingStr(48, 1);
  gSFBreite = breite == u"0" ? 0 : 1800 + 30 * (HexDec(breite) - 1);

  gKonfigdatenZeit = Dateizeit(pfad);
}

void Schreiben() {
  const int n = Schaltflächen_Anzahl();
  // Refused before the file is touched: more buttons than code characters, or button
  // arrays of different bounds, would store a table the codes no longer fit.
  if (n > kMaxSchaltflächen || gSFTextfarben.size() != n + 1 || gSFHintergrundfarben.size() != n + 1 ||
      gSFNurAdmins.size() != n + 1 || gSFKennbuchstaben.size() != n + 1 || gSFVerbergen.size() != n + 1)
    fehler::auslösen(fehler::kIndexAusserhalb);

  QStringList zeilen;
  zeilen << QStringLiteral("[Velkora]");
  zeilen << gKennzeile;
  zeilen << Programmversion();
  zeilen << QStringLiteral("[Firma]");
  zeilen << gFirmenname;
  zeilen << gFirmenzusatz;
  zeilen << QStringLiteral("[Settings]");
  zeilen << gSettings;
  zeilen << gEinrichtungszeile;
  zeilen << gSFVerbergenText;
  zeilen << QStringLiteral("[Wochenende]");
  zeilen << gWochenende;
  zeilen << QStringLiteral("[Grundfarben]");
  for (int i = 1; i <= 9; ++i) zeilen << HexFarbe(gGrundfarben[i]);
  zeilen << QStringLiteral("[Schaltflächen]");
  for (int i = 1; i <= n; ++i) {
    zeilen << HexFarbe(gSFTextfarben[i]) + u':' + HexFarbe(gSFHintergrundfarben[i]) + u':' +
                  QString::number(gSFNurAdmins[i]) + u':' + gSFKennbuchstaben[i] + u':' + gSFTexte[i];
  }
  zeilen << QStringLiteral("[Administratoren]");
  if (gAdministratoren.isEmpty()) zeilen << kNoAdmins;
  zeilen << gAdministratoren;
  for (const QString& z : gPrivilegierte) {
    if (z != kNoAdmins) zeilen << z;
  }
  Alle_Zeilen_schreiben(Konfigpfad(), zeilen);
}

// The six-digit key of a version "major.minor.revision".
QString Versionsschlüssel(const QString& version) {
  const QStringList teile = version.split(u'.');
  QString schlüssel;
  for (int i = 0; i < 3; ++i) {
    const int wert = i < teile.size() ? text::zahl(teile[i]) : 0;
    schlüssel += QStringLiteral("%1").arg(wert, 2, 10, QChar(u'0'));
  }
  return schlüssel;
}

}  // namespace

QString Standardeinstellungen() { return kStandardSettings; }

QString Kennzeile_neu() {
  QString id;
  for (int i = 0; i < 12; ++i) id += QString::number(static_cast<int>(uhr::zufall() * 16.0) & 15, 16).toUpper();
  return QStringLiteral("Velkora:") + id;
}

QString Einrichtungszeile(const QDate& einrichtungsmonat) {
  return kEinrichtungPräfix + FormatDatumDS(einrichtungsmonat).left(4);
}

bool Konfigdaten_lesbar(const QStringList& zeilen) {
  Konfiguration k;
  return Konfig_aus_Zeilen(zeilen, k).gut();
}

void Konfigdaten_lesen() {
  const QString name = QStringLiteral("modVelkora - Konfigdaten_lesen");
  Prozedur(name, [&] { Einlesen(name); });
}

void Konfigdaten_schreiben() {
  Prozedur(QStringLiteral("modVelkora - Konfigdaten_schreiben"), [] { Schreiben(); });
}

void CheckKonfigdaten() {
  Prozedur(QStringLiteral("modVelkora - CheckKonfigdaten"), [] {
    if (Setting(39) == 1) return;
    // However long this workstation has been running: a change of the code buttons by
    // another one must be seen before this one writes codes that now mean other buttons.
    if (Dateizeit(Konfigpfad()) == gKonfigdatenZeit) return;
    Velkoraini_schreiben();
    gKennzeile.clear();
    Konfigdaten_lesen();
    Feiertage_lesen();
    Anzber_und_Anzgru_init();
    Velkoraini_lesen();
    gMerker = true;
  });
}

void Versionsnr_checken() {
  Prozedur(QStringLiteral("modVelkora - Versionsnr_checken"), [] {
    const QString programm = Versionsschlüssel(Programmversion());
    const QString daten = Versionsschlüssel(gVersionszeile);
    if (programm > daten) {
      Konfigdaten_schreiben();
    } else if (daten > programm) {
      Meldung(QStringLiteral(
          "Es ist eine neue Programmversion verfügbar. Bitte installieren Sie die neueste Programmversion."));
    }
  });
}

void Modify_Setting() {
  Prozedur(QStringLiteral("modVelkora - Modify_Setting"), [] {
    const QString wert = Aufrufparameter(QStringLiteral("setting"));
    const qsizetype gleich = wert.indexOf(u'=');
    if (wert.size() >= 3 && gleich > 0) {
      const QString position = text::trim(wert.left(gleich));
      const QString ziffer = text::trim(wert.mid(gleich + 1));
      const int pos = text::nurZiffern(position) && position.size() <= 3 ? text::zahl(position) : 0;
      if (pos >= 1 && pos <= gSettings.size() && ziffer.size() == 1 && text::nurZiffern(ziffer)) {
        SetSetting(pos, text::zahl(ziffer));
        Konfigdaten_schreiben();
      }
    }
  });
  programmende::beenden(0);
}

int Setting(int position) {
  const QString c = SettingStr(position, 1);
  return (c.size() == 1 && c[0] >= u'0' && c[0] <= u'9') ? c[0].unicode() - u'0' : 0;
}

QString SettingStr(int position, int laenge) {
  if (position < 1 || laenge < 0) return {};
  return gSettings.mid(position - 1, laenge);
}

void SetSetting(int position, int wert) {
  if (position < 1 || position > gSettings.size() || wert < 0 || wert > 9) fehler::auslösen(5);
  gSettings[position - 1] = QChar(u'0' + wert);
}

int Schaltflächen_Anzahl() { return static_cast<int>(gSFTexte.size()) - 1; }

QString SFHex(int nummer) {
  const int n = Schaltflächen_Anzahl();
  const bool mitCode = (nummer >= 1 && nummer <= n - 1) || nummer == n + 1;
  if (!mitCode || nummer > kCodezeichen.size()) return QStringLiteral(" ");
  return QString(kCodezeichen[nummer - 1]);
}

int SFDec(const QString& zeichen) {
  if (zeichen.size() == 1) {
    const qsizetype i = kCodezeichen.indexOf(zeichen[0]);
    if (i >= 0) return static_cast<int>(i) + 1;
  }
  return Schaltflächen_Anzahl();
}

int Schaltflächen_Nummer(const QString& buchstabe, const QString& art) {
  const int n = Schaltflächen_Anzahl();
  const bool rtt = art == u"RTT";
  int ergebnis = 0;
  for (int i = 1; i <= n; ++i) {
    if (gSFKennbuchstaben[i] != buchstabe) continue;
    if (Setting(15) != 2) {
      if (gSFNurAdmins[i] == 0) {
        if (ergebnis == 0) ergebnis = i;
      } else {
        ergebnis = i;
      }
    } else if (ergebnis == 0) {
      // France: the vacation and the special-leave codes may share a letter; the
      // caption tells them apart.
      const bool rttText = gSFTexte[i].toLower().contains(QStringLiteral("rtt"));
      ergebnis = i;
      if (rtt && !rttText)
        ergebnis = 0;
      else if (!rtt && Setting(33) == 1 && rttText)
        ergebnis = 0;
    }
  }
  return ergebnis;
}
