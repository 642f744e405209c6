#include "launch/Wartungssperre.h"

#include <QSet>
#include <algorithm>

#include "launch/Programmsperre.h"
#include "platform/Programmende.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"

namespace {
QString Sperrdateipfad() { return gDatenordner + QStringLiteral("Lockfile.txt"); }
}  // namespace

Programmsperre::Programmsperre() {
  Sperrdatei_prüfen();
  if (Datei_vorhanden(Sperrdateipfad())) return;
  try {
    if (!FOpen(Sperrdateipfad(), QStringLiteral("Output"), QStringLiteral("IgnoreErrors"))) return;
    const QString name = Name_zu_BenutzerID(gBenutzername);
    LineOutPlain(QString::fromUtf16(kWartungssperre) + u'|' + gBenutzername +
                 (name.isEmpty() ? QString() : u'|' + name));
    FClose();
    mGeschrieben = true;
  } catch (const ProgrammBeendet&) {
    throw;
  } catch (...) {
    FVerwerfen();
  }
}

Programmsperre::~Programmsperre() {
  if (mGeschrieben) Löschen(Sperrdateipfad());
}

Alle_Monatssperren::Alle_Monatssperren() {
  QStringList schlüssel;
  for (const QString& name : Dateiliste(gDatenordner, QStringLiteral("???? ?????? Data.dat")))
    schlüssel << name.left(4);
  for (int i = 1; i <= Erfassungstabelle::kMonate; ++i) schlüssel << Monatsschlüssel_zu_Index(i);
  std::sort(schlüssel.begin(), schlüssel.end());
  schlüssel.removeDuplicates();
  for (const QString& s : schlüssel) {
    auto sperre = std::make_unique<Monatssperre>(s);
    if (!sperre->gehalten()) {
      mSperren.clear();
      mFehlend = s;
      return;
    }
    mSperren.push_back(std::move(sperre));
  }
}

Alle_Monatssperren::~Alle_Monatssperren() {
  // Let go in reverse order of taking.
  while (!mSperren.empty()) mSperren.pop_back();
}
