#include "store/Velkoraini.h"

#include <QStringList>
#include <algorithm>

#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "startup/Zeilencodierung.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Konfigdaten.h"

std::array<std::int32_t, 38> gBenutzerwerte{};
std::int32_t gBenutzerwerteSumme = 0;
std::array<QString, 5> gTaSum{};
QString gImportordner;
QString gExportordner;
QString gSchriftart;
QString gDruckername;

namespace {

const QString kVoid = QStringLiteral("void");
const QString kStandardschrift = QStringLiteral("Microsoft Sans Serif");
constexpr int kTaSumLänge = 24;

void Zustand_zurücksetzen() {
  gBenutzerwerte.fill(0);
  gBenutzerwerteSumme = 0;
  gTaSum.fill(QString());
  gImportordner.clear();
  gExportordner.clear();
  gSchriftart.clear();
  gDruckername.clear();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

// The values the check value covers. The day-sum choice is not among them: changing
// it alone does not cause a write.
struct Stand {
  std::array<std::int32_t, 38> werte{};
  std::array<qint32, 10> farben{};
  std::int32_t gruppe = 0;
  QString importordner, exportordner, schriftart, druckername;
};

Stand Aktueller_Stand() {
  return {gBenutzerwerte, gGrundfarben, gAnzeigegruppe, gImportordner, gExportordner, gSchriftart, gDruckername};
}

// A check value that sees every change, also changes that cancel out in a sum (a
// window dragged by its left edge moves left by as much as its width grows). It is
// always positive, so it never equals 0 (write in any case) nor -1 (never write).
std::int32_t Prüfsumme(const Stand& s) {
  std::uint32_t h = 2166136261u;
  const auto byte = [&h](std::uint32_t b) {
    h ^= b & 0xFFu;
    h *= 16777619u;
  };
  const auto zahl = [&](std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 32; i += 8) byte(u >> i);
  };
  const auto text = [&](const QString& t) {
    zahl(static_cast<std::int32_t>(t.size()));
    for (const QChar c : t) {
      byte(c.unicode());
      byte(c.unicode() >> 8);
    }
  };
  for (int i = 1; i <= 37; ++i) zahl(s.werte[i]);
  for (int i = 1; i <= 9; ++i) zahl(s.farben[i]);
  zahl(s.gruppe);
  text(s.importordner);
  text(s.exportordner);
  text(s.schriftart);
  text(s.druckername);
  const auto w = static_cast<std::int32_t>(h & 0x7FFFFFFFu);
  return w == 0 ? 1 : w;
}

QString Dateiname() { return gIniDateiname.isEmpty() ? Velkoraini_Dateiname(gBenutzername) : gIniDateiname; }

QString Pfad_in(const QString& ordner) { return ordner.isEmpty() ? QString() : ordner + Dateiname(); }

// Why the reading stopped early: a rule was broken, or the file ended before its last
// section (a file cut short is rebuilt without a logbook line).
struct Defekt {
  bool dateiende;
};

class Leser {
 public:
  explicit Leser(QStringList zeilen) : mZeilen(std::move(zeilen)) {}
  QString zeile() {
    if (mPos >= mZeilen.size()) throw Defekt{true};
    return mZeilen[mPos++];
  }
  void kopf(const QString& erwartet) {
    if (zeile() != erwartet) throw Defekt{false};
  }

 private:
  QStringList mZeilen;
  qsizetype mPos = 0;
};

[[noreturn]] void Regelverstoß() { throw Defekt{false}; }

// A number line; a text that does not start with a number reads as 0.
std::int32_t Zahl(const QString& z) { return text::zahl(z); }

qint32 Farbe(const QString& z) {
  if (z.size() != 8 || !z.startsWith(QStringLiteral("&H"))) Regelverstoß();
  bool ok = false;
  const uint w = z.mid(2).toUInt(&ok, 16);
  if (!ok) Regelverstoß();
  return static_cast<qint32>(w);
}

QString Text_oder_leer(const QString& z) { return z == kVoid ? QString() : z; }

// Reads the sections in order, putting each value in force as it is read (values read
// before a fault stay). Returns the values as the file held them.
Stand Einlesen(Leser& l) {
  Stand roh;
  l.kopf(QStringLiteral("[Velkora]"));
  for (int i = 1; i <= 21; ++i) {
    std::int32_t w = Zahl(l.zeile());
    roh.werte[i] = w;
    if (w < -120) w = 0;
    gBenutzerwerte[i] = w;
  }

  l.kopf(QStringLiteral("[Grundfarben]"));
  for (int i = 1; i <= 9; ++i) {
    roh.farben[i] = Farbe(l.zeile());
    gGrundfarben[i] = roh.farben[i];
  }
  // The erase button is drawn in the working-day colour.
  const int n = Schaltflächen_Anzahl();
  if (n >= 1 && gSFHintergrundfarben.size() > n) gSFHintergrundfarben[n] = gGrundfarben[1];

  l.kopf(QStringLiteral("[Anzeigegruppe]"));
  roh.gruppe = Zahl(l.zeile());
  // An index past the user's display groups would choose a group that is not there.
  gAnzeigegruppe = roh.gruppe < 0 || roh.gruppe >= std::max(Anzeigegruppen_Anzahl(), 1) ? 0 : roh.gruppe;

  l.kopf(QStringLiteral("[Ordner]"));
  roh.importordner = Text_oder_leer(l.zeile());
  gImportordner = roh.importordner;
  roh.exportordner = Text_oder_leer(l.zeile());
  gExportordner = roh.exportordner;

  l.kopf(QStringLiteral("[Settings]"));
  for (int i = 22; i <= 25; ++i) {
    const QString z = l.zeile();
    if (z.size() > 1) Regelverstoß();
    roh.werte[i] = Zahl(z);
    gBenutzerwerte[i] = roh.werte[i];
  }
  // Day sums are not for employees.
  if (gBenutzerstufe == 0) gBenutzerwerte[25] = 0;

  l.kopf(QStringLiteral("[TaSum]"));
  for (int i = 1; i <= 4; ++i) {
    const QString z = l.zeile();
    if (i == 1 ? z.size() == kTaSumLänge : z != kVoid) gTaSum[i] = z;
  }

  l.kopf(QStringLiteral("[ExtSettings]"));
  for (int i = 26; i <= 35; ++i) {
    const QString z = l.zeile();
    if (i != 32 && z.size() != 1) Regelverstoß();
    roh.werte[i] = Zahl(z);
    gBenutzerwerte[i] = roh.werte[i];
  }
  if (gBenutzerwerte[31] == 1) {
    gLangsamesNetz = true;
    gBenutzerwerte[31] = 0;
  }
  if (gBenutzerwerte[32] < 285)
    gBenutzerwerte[32] = 300;
  else if (gBenutzerwerte[32] > 1200)
    gBenutzerwerte[32] = 1200;

  l.kopf(QStringLiteral("[Font]"));
  roh.schriftart = Text_oder_leer(l.zeile());
  gSchriftart = roh.schriftart;

  l.kopf(QStringLiteral("[Printer]"));
  roh.druckername = Text_oder_leer(l.zeile());
  gDruckername = roh.druckername;

  l.kopf(QStringLiteral("[SFBreite]"));
  for (int i = 36; i <= 37; ++i) {
    roh.werte[i] = Zahl(l.zeile());
    gBenutzerwerte[i] = roh.werte[i];
  }
  if (gBenutzerwerte[36] == 1 && gBenutzerwerte[37] >= 1800 && gBenutzerwerte[37] <= 2370)
    gSFBreite = gBenutzerwerte[37];
  return roh;
}

// The defaults that stand before the file is read (and when there is none).
void Vorgaben_setzen() {
  gBenutzerwerte[22] = Setting(25);
  gBenutzerwerte[23] = Setting(26);
  gBenutzerwerte[24] = Setting(27);
  gBenutzerwerte[25] = 0;
  gBenutzerwerte[28] = Setting(41);
  gBenutzerwerte[29] = Setting(42);
  gBenutzerwerte[30] = 1;
  gBenutzerwerte[32] = 300;
  gTaSum[1] = QString(kTaSumLänge, u'0');
}

// The copy to read: the newer one when both folders hold one.
QString Zu_lesende_Datei() {
  const QString ini = Pfad_in(gIniOrdner);
  const QString temp = Pfad_in(gTempOrdner);
  const bool imIni = !ini.isEmpty() && Datei_vorhanden(ini);
  const bool imTemp = !temp.isEmpty() && Datei_vorhanden(temp);
  if (imIni && imTemp) return Dateizeit(temp) > Dateizeit(ini) ? temp : ini;
  if (imIni) return ini;
  if (imTemp) return temp;
  return {};
}

bool Zeilen_lesen(const QString& pfad, QStringList& zeilen) {
  // An empty settings file is a damaged one: nobody else writes it, and the file
  // access would wait for a writer that does not exist.
  if (Dateigröße(pfad) == 0) return true;
  try {
    const std::optional<QStringList> gelesen =
        Alle_Zeilen_lesen_wie(pfad, {.art = Zeilenart::Klartext, .fehlerIgnorieren = true});
    if (!gelesen) return false;
    zeilen << *gelesen;
  } catch (const Laufzeitfehler&) {
    FVerwerfen();
    return false;
  }
  return true;
}

// One settings line of one digit; a value out of range would make the file unreadable.
QString Ziffer(std::int32_t w) { return QString::number(w < 0 ? 1 : std::min(w, 9)); }

QStringList Dateizeilen() {
  QStringList z;
  const auto text = [](const QString& t) { return t.isEmpty() ? kVoid : t; };
  z << QStringLiteral("[Velkora]");
  for (int i = 1; i <= 20; ++i) z << QString::number(gBenutzerwerte[i]);
  z << QStringLiteral("0");
  z << QStringLiteral("[Grundfarben]");
  for (int i = 1; i <= 9; ++i) z << HexFarbe(gGrundfarben[i]);
  z << QStringLiteral("[Anzeigegruppe]") << QString::number(gAnzeigegruppe);
  z << QStringLiteral("[Ordner]") << text(gImportordner) << text(gExportordner);
  z << QStringLiteral("[Settings]");
  for (int i = 22; i <= 25; ++i) z << Ziffer(gBenutzerwerte[i]);
  z << QStringLiteral("[TaSum]");
  for (int i = 1; i <= 4; ++i) z << text(gTaSum[i]);
  z << QStringLiteral("[ExtSettings]");
  for (int i = 26; i <= 35; ++i) z << (i == 32 ? QString::number(gBenutzerwerte[i]) : Ziffer(gBenutzerwerte[i]));
  z << QStringLiteral("[Font]") << (gSchriftart == kStandardschrift ? kVoid : text(gSchriftart));
  z << QStringLiteral("[Printer]") << text(gDruckername);
  z << QStringLiteral("[SFBreite]") << QString::number(gBenutzerwerte[36]) << QString::number(gBenutzerwerte[37]);
  return z;
}

// Writes the whole file; false when it could not be opened or replaced (the old file
// then stays as it was).
bool Schreiben_nach(const QString& pfad, const QStringList& zeilen) {
  // The user's own settings are no shared data: writing them does not call for a
  // backup before the next import.
  const bool geschrieben = gDateiGeschrieben;
  const bool ok = [&] {
    if (pfad.isEmpty()) return false;
    try {
      return Alle_Zeilen_schreiben_wie(pfad, zeilen, {.art = Zeilenart::Klartext, .fehlerIgnorieren = true});
    } catch (const Laufzeitfehler&) {
      FVerwerfen();
      return false;
    }
  }();
  gDateiGeschrieben = geschrieben;
  return ok;
}

}  // namespace

QString Velkoraini_Dateiname(const QString& benutzer) {
  static const QString kUnzulässig = QStringLiteral("\\/:*?\"<>|%");
  QString sicher;
  for (const QChar c : benutzer) {
    if (c.unicode() < 32 || c.unicode() == 127 || kUnzulässig.contains(c))
      sicher += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QChar(u'0')).toUpper();
    else
      sicher += c;
  }
  return QStringLiteral("Velkora_") + sicher + QStringLiteral(".ini");
}

void Velkoraini_lesen() {
  gBenutzerwerteSumme = 0;
  Vorgaben_setzen();
  const QString pfad = Zu_lesende_Datei();
  if (pfad.isEmpty()) return;

  QStringList zeilen;
  if (!Zeilen_lesen(pfad, zeilen)) {
    Logbuch_ergänzen(2, QStringLiteral("Fehler beim Öffnen der Datei ") + ShowPfad(pfad));
    return;
  }
  Leser leser(zeilen);
  try {
    gBenutzerwerteSumme = Prüfsumme(Einlesen(leser));
  } catch (const Defekt& d) {
    if (!d.dateiende) Logbuch_ergänzen(2, QStringLiteral("Fehler beim Lesen der Datei ") + ShowPfad(pfad));
    Velkoraini_löschen();
    // Written afresh at the end of the run with the values then in force.
    gBenutzerwerteSumme = 0;
  }
}

void Velkoraini_schreiben() {
  if (gBenutzerwerte[1] == 1 || gBenutzerwerteSumme < 0) return;
  if (Prüfsumme(Aktueller_Stand()) == gBenutzerwerteSumme) return;

  const QStringList zeilen = Dateizeilen();
  const QString ini = Pfad_in(gIniOrdner);
  const QString temp = Pfad_in(gTempOrdner);
  if (Schreiben_nach(ini, zeilen)) {
    // Only once the ini folder holds the new file: the copy is no longer needed.
    if (!temp.isEmpty()) Löschen(temp);
    return;
  }
  if (!Schreiben_nach(temp, zeilen)) {
    Logbuch_ergänzen(2, QStringLiteral("Fehler beim Öffnen der Datei ") + ShowPfad(temp.isEmpty() ? ini : temp));
  }
}

bool Velkoraini_vorhanden() { return !Zu_lesende_Datei().isEmpty(); }

void Velkoraini_löschen() {
  for (const QString& ordner : {gIniOrdner, gTempOrdner}) {
    const QString pfad = Pfad_in(ordner);
    if (!pfad.isEmpty()) Löschen(pfad);
  }
  gBenutzerwerteSumme = -1;
}
