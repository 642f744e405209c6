#include "platform/Laufzeitfehler.h"

#include "platform/Haken.h"
#include "platform/Programmende.h"

Fehlerzustand gErr;

Laufzeitfehler::Laufzeitfehler(int nummer, QString beschreibung)
    : mNummer(nummer), mBeschreibung(std::move(beschreibung)), mWhat(mBeschreibung.toStdString()) {}

namespace fehler {

QString text(int nummer) {
  switch (nummer) {
    case 5:
      return QStringLiteral("Unzulässiger Prozeduraufruf oder ungültiges Argument");
    case 6:
      return QStringLiteral("Überlauf");
    case 9:
      return QStringLiteral("Index außerhalb des gültigen Bereichs");
    case 13:
      return QStringLiteral("Typen unverträglich");
    case 52:
      return QStringLiteral("Dateiname oder -nummer falsch");
    case 53:
      return QStringLiteral("Datei nicht gefunden");
    case 54:
      return QStringLiteral("Dateimodus falsch");
    case 55:
      return QStringLiteral("Datei bereits geöffnet");
    case 57:
      return QStringLiteral("Geräte-E/A-Fehler");
    case 61:
      return QStringLiteral("Datenträger voll");
    case 62:
      return QStringLiteral("Einlesen hinter Dateiende");
    case 70:
      return QStringLiteral("Zugriff verweigert");
    case 75:
      return QStringLiteral("Fehler beim Zugriff auf Pfad/Datei");
    case 76:
      return QStringLiteral("Pfad nicht gefunden");
    default:
      return QStringLiteral("Anwendungs- oder objektdefinierter Fehler");
  }
}

void auslösen(int nummer) { throw Laufzeitfehler(nummer, text(nummer)); }

QString Haken_fehlt_Text(const char* name) {
  return QStringLiteral("Objektvariable nicht festgelegt: ") + QString::fromUtf8(name);
}

void Haken_fehlt(const char* name) { throw Laufzeitfehler(kObjektNichtFestgelegt, Haken_fehlt_Text(name)); }

}  // namespace fehler

namespace {
Fehlerbehandlung& behandlung() {
  static Fehlerbehandlung f;
  return f;
}
}  // namespace

void setzeFehlerbehandlung(Fehlerbehandlung f) { behandlung() = std::move(f); }

void behandleFehler(const QString& prozedur) {
  if (behandlung()) behandlung()(prozedur);
}

bool istProgrammende(const std::exception& e) { return dynamic_cast<const ProgrammBeendet*>(&e) != nullptr; }
