#include "launch/Wartungssperre.h"

#include <QSet>
#include <algorithm>

#include "launch/Programmsperre.h"
#include "platform/Programmende.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Monatsversion.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Sperrdatei.h"

namespace {
QString Sperrdateipfad() { return gDatenordner + QStringLiteral("Lockfile.txt"); }
}  // namespace

Wartungssperre::Wartungssperre() {
  Sperrdatei_prüfen();
  if (Datei_vorhanden(Sperrdateipfad())) return;
  mGeschrieben = Sperrdatei_anlegen(QString::fromUtf16(kWartungssperre));
}

Wartungssperre::~Wartungssperre() {
  if (mGeschrieben) Sperrdatei_entfernen();
}

Alle_Monatssperren::Alle_Monatssperren() {
  QStringList schlüssel;
  for (const QString& name : Dateiliste(gDatenordner, QStringLiteral("???? ?????? Data.dat")))
    if (const std::optional<Monatsversion> v = Monatsversion::aus_Name(name)) schlüssel << v->schlüssel().toString();
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
