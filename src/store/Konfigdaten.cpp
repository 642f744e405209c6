#include "store/Konfigdaten.h"

#include "platform/Programmende.h"
#include "platform/Zustand.h"

namespace {
const QString kStandardSettings = QStringLiteral("0000000000000101110U½##K310030100####0000010000000");
}

QString gSettings = kStandardSettings;
QString gFirmenname;
QString gFirmenzusatz;
int gBenutzerstufe = 0;
bool gAdministratorSchalter = false;
QStringList gAdministratoren;
QStringList gPrivilegierte;

namespace {
void Zustand_zurücksetzen() {
  gSettings = kStandardSettings;
  gFirmenname.clear();
  gFirmenzusatz.clear();
  gBenutzerstufe = 0;
  gAdministratorSchalter = false;
  gAdministratoren.clear();
  gPrivilegierte.clear();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);
}  // namespace

void Konfigdaten_lesen() {
  // Until the configuration file is read, every user is an administrator, as in a
  // fresh data folder.
  gBenutzerstufe = 2;
}

int Setting(int position) {
  const QString c = SettingStr(position, 1);
  return (c.size() == 1 && c[0] >= u'0' && c[0] <= u'9') ? c[0].unicode() - u'0' : 0;
}

QString SettingStr(int position, int laenge) {
  if (position < 1) return {};
  return gSettings.mid(position - 1, laenge);
}

void SetSetting(int position, int wert) {
  if (position < 1 || position > gSettings.size() || wert < 0 || wert > 9) return;
  gSettings[position - 1] = QChar(u'0' + wert);
}

void Modify_Setting() { programmende::beenden(0); }

void Versionsnr_checken() {}
