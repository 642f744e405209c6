#include "store/Einrichtung.h"

#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "startup/Dateisperre.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Monatsversion.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "startup/Zeilencodierung.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

namespace {

const QStringList kStandardFarben = {
    QStringLiteral("&HFFFFFF"), QStringLiteral("&HE8E8E8"), QStringLiteral("&HC0C0FF"),
    QStringLiteral("&HFFF8F4"), QStringLiteral("&HFFE8CE"), QStringLiteral("&HAFAFAF"),
    QStringLiteral("&HE8FFFF"), QStringLiteral("&HE8FFFF"), QStringLiteral("&HC0FFFF"),
};

const QStringList kStandardSchaltflächen = {
    QStringLiteral("&H000000:&H80FF80:0:U:Urlaub"),        QStringLiteral("&H000000:&H80FF80:0:½:½ Urlaub"),
    QStringLiteral("&H000000:&H80C0FF:0:Z:Zeitausgleich"), QStringLiteral("&H000000:&H80FFFF:0:D:Dienstreise"),
    QStringLiteral("&H000000:&H8F8FFF:1:K:Krank"),         QStringLiteral("&H000000:&HFFFF80:0:S:Sonstiges"),
    QStringLiteral("&HFFFFFF:&HFFFFFF:0: :Löschen"),
};

// Writes a default file unless it exists. Two workstations may set up one empty
// folder at the same moment: the file is written whole under a temporary name and
// renamed, so neither ever sees the other's file half written, and one that appeared
// meanwhile is kept.
// The first-start lock this program holds, freshened while the set-up writes.
Dateisperre* sEinrichtung = nullptr;

QString Einrichtungssperre_Datei() { return gDatenordner + QStringLiteral("~Einrichtung.vklock"); }

void Standarddatei(const QString& name, const QStringList& zeilen) {
  const QString pfad = gDatenordner + name;
  if (sEinrichtung) sEinrichtung->auffrischen();
  if (Datei_vorhanden(pfad)) return;
  // Opened once under its own name only for the error a folder that takes no file gives.
  FOpen(pfad, QStringLiteral("Output"));
  FVerwerfen();
  // Written under a name of this workstation's own, then linked in: a link never
  // replaces the file the other workstation may have put there meanwhile.
  const QString eigene = Eigener_Zwischenname(pfad);
  Alle_Zeilen_schreiben(eigene, zeilen);
  const QByteArray von = QFile::encodeName(eigene);
  const QByteArray nach = QFile::encodeName(pfad);
  // A share without links: renamed, unless the other file came meanwhile.
  if (::link(von.constData(), nach.constData()) != 0 && errno != EEXIST && !Datei_vorhanden(pfad))
    ::rename(von.constData(), nach.constData());
  QFile::remove(eigene);
}

// The folder id line of a file the folder holds already (a set-up cut short and
// finished now), "" when none has one.
QString Vorhandene_Kennzeile() {
  for (const char* name : {"Konfigdaten.dat", "Mitarbeiterdaten.dat", "Feiertage.dat"}) {
    const QString pfad = gDatenordner + QString::fromLatin1(name);
    if (Dateigröße(pfad) <= 0 || !FOpen(pfad, QStringLiteral("Input"), QStringLiteral("IgnoreErrors"))) continue;
    QString zeile;
    if (!FEOF()) LineIn();
    if (!FEOF()) zeile = LineIn();
    FClose();
    if (!zeile.isEmpty()) return zeile;
  }
  return {};
}

// The data folder's opaque line: the one held, the one of the folder's files, or a new
// one for a new folder.
const QString& Kennzeile_für_neuen_Ordner() {
  if (gKennzeile.isEmpty()) gKennzeile = Vorhandene_Kennzeile();
  if (gKennzeile.isEmpty()) gKennzeile = Kennzeile_neu();
  return gKennzeile;
}

QString Monatsschlüssel(int jahr, int monat) {
  return QStringLiteral("%1%2").arg(jahr % 100, 2, 10, QChar(u'0')).arg(monat, 2, 10, QChar(u'0'));
}

}  // namespace

Einrichtungssperre::Einrichtungssperre()
    : mSperre(std::make_unique<Dateisperre>(Einrichtungssperre_Datei(), kEinrichtungssperreWartezeit)) {
  if (mSperre->gehalten() && !sEinrichtung) sEinrichtung = mSperre.get();
}

Einrichtungssperre::~Einrichtungssperre() {
  if (sEinrichtung == mSperre.get()) sEinrichtung = nullptr;
}

bool Einrichtungssperre::übernommen() const { return mSperre->übernommen(); }

bool Einrichtung_läuft() { return Datei_öffnenbar(Einrichtungssperre_Datei()); }

void Setup_Datenordner() {
  Prozedur(QStringLiteral("modVelkora - Setup_Datenordner"), [] {
    // Under the first-start lock (shared with the caller's): another workstation
    // starting now waits instead of finding the folder half set up.
    const Einrichtungssperre sperre;
    gPlanungsjahr = gHeute.year() - 1;
    const QString code = Ländercode_ermitteln();
    gLand = code;
    if (!Datei_vorhanden(gDatenordner + QStringLiteral("Konfigdaten.dat"))) Inst_Konfigdaten_schreiben();
    if (!Datei_vorhanden(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"))) Inst_Mitarbeiterdaten_schreiben();
    if (!Datei_vorhanden(gDatenordner + QStringLiteral("Feiertage.dat"))) Inst_Feiertage_schreiben();
    Inst_Erfassungsdateien_anlegen();
    Logbuch_ergänzen(
        2, QStringLiteral("Programm initialisiert (Ländercode %1)").arg(text::zahl(code), 3, 10, QChar(u'0')));
  });
}

QString Ländercode_ermitteln() {
  int nummer = 0;
  try {
    nummer = text::zahl(Gebietsschema_Info(1));
    if (nummer == 1) {
      const QString kürzel = Gebietsschema_Info(2);
      nummer = kürzel == u"USA" ? 1 : kürzel == u"CAD" ? 2 : 0;
    }
    if (nummer == 0) {
      static const int kVarianten[] = {49, 1, 33, 34};
      const int v = Setting(15);
      nummer = v >= 0 && v <= 3 ? kVarianten[v] : 0;
    }
  } catch (const Laufzeitfehler&) {
  }
  return QStringLiteral("%1").arg(nummer, 3, 10, QChar(u'0'));
}

void VelkoraFeiertageDat_lesen(const QString& ländercode) {
  Prozedur(QStringLiteral("modVelkora - VelkoraFeiertageDat_lesen"), [&] {
    const QString pfad = gBasisordner + QStringLiteral("VelkoraFtg.dat");
    if (!Datei_vorhanden(pfad)) {
      Dateifehler(3, pfad, QString(), QStringLiteral("modVelkora - VelkoraFeiertageDat_lesen"));
      return;
    }
    const std::optional<QStringList> zeilen =
        Alle_Zeilen_lesen_wie(pfad, {.kopf = QStringLiteral("[VelkoraFeiertageDat]")});
    if (!zeilen) {
      Dateifehler(4, pfad, QStringLiteral("VelkoraFeiertageDat"),
                  QStringLiteral("modVelkora - VelkoraFeiertageDat_lesen"));
      return;
    }
    const Ländervorlage v = Länderblock(*zeilen, ländercode.left(3));
    gLand = v.gefunden ? v.land : QString();
    QStringList definitionen{QString()};
    definitionen << v.definitionen;
    gFeiertagsdefinitionen = definitionen;
  });
}

void Inst_Konfigdaten_schreiben() {
  const QString firma = gFirmenname.isEmpty() ? QStringLiteral("Firmenname") : gFirmenname;
  QStringList z{QStringLiteral("[Velkora]"),
                Kennzeile_für_neuen_Ordner(),
                Programmversion(),
                QStringLiteral("[Firma]"),
                firma,
                gFirmenzusatz,
                QStringLiteral("[Settings]"),
                Standardeinstellungen(),
                Einrichtungszeile(gHeute),
                QStringLiteral("void"),
                QStringLiteral("[Wochenende]"),
                QStringLiteral("SaSo"),
                QStringLiteral("[Grundfarben]")};
  z << kStandardFarben << QStringLiteral("[Schaltflächen]") << kStandardSchaltflächen
    << QStringLiteral("[Administratoren]") << QStringLiteral("A:<Name Vorname>:") + gBenutzername;
  Standarddatei(QStringLiteral("Konfigdaten.dat"), z);
}

void Inst_Mitarbeiterdaten_schreiben() {
  Standarddatei(QStringLiteral("Mitarbeiterdaten.dat"),
                {QStringLiteral("[Mitarbeiterdaten]"), Kennzeile_für_neuen_Ordner(), QString::number(gPlanungsjahr),
                 QStringLiteral("NoNames")});
}

void Inst_Feiertage_schreiben() {
  VelkoraFeiertageDat_lesen(gLand);
  QStringList z{QStringLiteral("[Feiertage]"), Kennzeile_für_neuen_Ordner(), gLand};
  for (int i = 1; i <= 16; ++i) z << gFeiertagsdefinitionen.value(i, kLeereFeiertagsdefinition);
  Standarddatei(QStringLiteral("Feiertage.dat"), z);
}

void Inst_Erfassungsdateien_anlegen() {
  const QStringList vorhanden = Dateiliste(gDatenordner, QStringLiteral("*Data.dat"));
  for (int jahr = gPlanungsjahr; jahr <= gPlanungsjahr + 2; ++jahr) {
    for (int monat = 1; monat <= 12; ++monat) {
      const QString schlüssel = Monatsschlüssel(jahr, monat);
      bool gibt = false;
      for (const QString& n : vorhanden)
        if (const std::optional<Monatsversion> v = Monatsversion::aus_Name(n))
          gibt = gibt || v->schlüssel() == schlüssel;
      if (gibt) continue;
      Standarddatei(Monatsversion::zu(schlüssel, gHeuteText).name(),
                    {u'[' + schlüssel + u']', Kennzeile_für_neuen_Ordner(), QStringLiteral("NoEx:NoEx")});
    }
  }
}
