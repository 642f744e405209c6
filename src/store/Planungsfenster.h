#pragma once
// The planning window of the data folder as its employee file holds it now, which may
// have moved on since this program started: another workstation may have carried out
// the year change (or undone one). A workstation started before that still shows the
// old window; a month it writes that the folder's window no longer holds would be
// deleted again without a word, so such a month is never made anew.
#include <QString>

// Whether the month "yymm" lies in the three years of the folder's planning window as
// the employee file now holds it. A month the year change removed lies before it. The
// program's own planning year stands in when the file cannot tell (missing, damaged);
// with neither every month counts as inside. Reads the file's first lines: for a month
// without any version only, not for every save.
bool Monat_im_Fenster_des_Ordners(const QString& monatsschlüssel);
// The message of a save refused because its month left the folder's window.
QString Monat_ausserhalb_des_Fensters_Meldung(const QString& monatsschlüssel);

// While it lives, this program's year change to the planning year `neuesJahr` makes the
// months of its new third year, before the employee file takes the new year (its
// commit): the window reaches to that year's end as well.
class Fenster_des_Jahreswechsels {
 public:
  explicit Fenster_des_Jahreswechsels(int neuesJahr);
  ~Fenster_des_Jahreswechsels();
  Fenster_des_Jahreswechsels(const Fenster_des_Jahreswechsels&) = delete;
  Fenster_des_Jahreswechsels& operator=(const Fenster_des_Jahreswechsels&) = delete;

 private:
  int mVorher;
};
