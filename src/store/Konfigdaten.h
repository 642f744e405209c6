#pragma once
// The shared configuration "Konfigdaten.dat": settings string, organisation name,
// code buttons, colours, weekend, administrator lists; and the user's level.
#include <QString>
#include <QStringList>

extern QString gSettings;         // the 50-position settings string
extern QString gFirmenname;
extern QString gFirmenzusatz;
extern int gBenutzerstufe;        // 0 employee, 1 privileged user, 2 administrator
extern bool gAdministratorSchalter;  // the administrator-override switch was given
// The lines of the administrator section: "A:" lines and the privileged-user lines.
extern QStringList gAdministratoren;
extern QStringList gPrivilegierte;

void Konfigdaten_lesen();
int Setting(int position);
QString SettingStr(int position, int laenge);
void SetSetting(int position, int wert);
void Modify_Setting();
void Versionsnr_checken();
