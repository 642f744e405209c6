#include "planner/Monatsanzeige.h"

#include <QDate>
#include <array>

#include "platform/Cp1252.h"
#include "platform/Text.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsstand.h"
#include "store/Monatszeilen.h"
#include "store/Velkoraini.h"

Kommentarmarken gKommentarMarken;

namespace {
void Zustand_zurücksetzen() { gKommentarMarken = Kommentarmarken(); }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

constexpr QChar kGeschütztesLeerzeichen(0xA0);
const QString kLeer;
const QString kBlank = QStringLiteral(" ");

// A display takes longer than this on a slow share.
constexpr double kLangsameAnzeige = 0.25;

Farbwert Farbe(int i) { return gGrundfarben[i]; }

// Empty, or a back colour that is the working-day colour or none at all.
bool Arbeitstagfarbe(const std::optional<Farbwert>& f) { return !f || *f == 0 || *f == Farbe(1); }

bool Ist_Heading(int i) { return gBenutzerIDs[i].isEmpty() && !gMitarbeiterNamen[i].isEmpty(); }

// The rows of the month grid by their user (lower case), for matching the record lines
// to them: an open-addressed table over the rows' own names, looked up with views into
// the lines, so that neither side copies a name. Rows without a user are not in it.
class Zeilen_nach_Benutzer {
 public:
  explicit Zeilen_nach_Benutzer(const std::vector<QString>& benutzer)
      : mBenutzer(benutzer), mNächste(benutzer.size(), 0) {
    size_t plätze = 16;
    while (plätze < 2 * benutzer.size()) plätze *= 2;
    mPlätze.assign(plätze, 0);
    mMaske = plätze - 1;
    for (int r = 1; r < static_cast<int>(benutzer.size()); ++r) {
      if (benutzer[r].isEmpty()) continue;
      size_t i = Streuwert(benutzer[r]) & mMaske;
      while (mPlätze[i] != 0 && QStringView(mBenutzer[mPlätze[i]]) != QStringView(benutzer[r])) i = (i + 1) & mMaske;
      if (mPlätze[i] == 0) {
        mPlätze[i] = r;
      } else {
        // A second row of the same user joins the first one's chain.
        mNächste[r] = mNächste[mPlätze[i]];
        mNächste[mPlätze[i]] = r;
      }
    }
  }
  // The first row of `name` (in lower case), 0 for none; the others through nächste.
  int erste(QStringView name) const {
    if (name.isEmpty()) return 0;
    for (size_t i = Streuwert(name) & mMaske; mPlätze[i] != 0; i = (i + 1) & mMaske)
      if (QStringView(mBenutzer[mPlätze[i]]) == name) return mPlätze[i];
    return 0;
  }
  int nächste(int zeile) const { return mNächste[zeile]; }
  // The first row of the user of a record line ("user:..."), whose name is compared
  // without regard to case.
  int erste_der_Zeile(const QString& zeile) const {
    return erste(cp1252::kleinAnsicht(QStringView(zeile).left(zeile.indexOf(u':')), mKlein));
  }

 private:
  // FNV-1a over the UTF-16 units: user names are short.
  static size_t Streuwert(QStringView s) {
    quint32 h = 2166136261u;
    for (const QChar c : s) h = (h ^ c.unicode()) * 16777619u;
    return h;
  }
  const std::vector<QString>& mBenutzer;
  mutable QString mKlein;     // a line's user in lower case, its memory used again
  std::vector<int> mPlätze;   // a row, 0 for a free place
  std::vector<int> mNächste;  // the next row of the same user, 0 for none
  size_t mMaske = 0;
};
}  // namespace

void Kommentarmarken::dimensionieren(int zeilen) {
  mZeilen = std::max(zeilen, 0);
  mTexte.assign(static_cast<size_t>(mZeilen) * 31, QString());
}

QString Kommentarmarken::text(int zeile, int tag) const {
  if (zeile < 1 || zeile > mZeilen || tag < 1 || tag > 31) return {};
  return mTexte[static_cast<size_t>(zeile - 1) * 31 + (tag - 1)];
}

void Kommentarmarken::setzen(int zeile, int tag, const QString& text) {
  if (zeile < 1 || zeile > mZeilen || tag < 1 || tag > 31) return;
  mTexte[static_cast<size_t>(zeile - 1) * 31 + (tag - 1)] = text;
}

QString Tageskopf(int jahr, int monat, int tag, bool zweizeilig) {
  static const char16_t* const kTage[] = {u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa", u"So"};
  const QDate d(jahr, monat, tag);
  if (!d.isValid()) return {};
  return QString::fromUtf16(kTage[d.dayOfWeek() - 1]) + (zweizeilig ? u'\r' : u' ') + QString::number(tag);
}

Monatsanzeige::Monatsanzeige(Raster& grid, Raster& kalenderwochen, Raster& tagessummen)
    : mGrid(grid), mKaWo(kalenderwochen), mTaSu(tagessummen) {}

int Monatsanzeige::tagessumme(int knopf, int tag) const {
  if (knopf < 1 || knopf > mKnöpfe || tag < 1 || tag > 31) return 0;
  return mSummen[static_cast<size_t>(knopf - 1) * 31 + (tag - 1)];
}

void Monatsanzeige::Kalenderwochen(int jahr, int monat, int tage) {
  const int letzte = std::min(32, mKaWo.Cols() - 1);
  if (mKaWo.Rows() < 1 || letzte < 1) return;
  const auto setzen = [&](int d, const QString& t) {
    if (d >= 1 && d <= letzte) mKaWo.setTextMatrix(0, d, t);
  };
  const auto wochentag = [&](int d) { return QDate(jahr, monat, d).dayOfWeek(); };
  for (int d = 1; d <= tage; ++d) setzen(d, QStringLiteral("%1. KW").arg(QDate(jahr, monat, d).weekNumber()));
  for (int d = tage + 1; d <= 32; ++d) setzen(d, kBlank);
  // A month that begins on a weekend shows no label over those days: the label of
  // the week before would stand over one or two days only.
  if (wochentag(1) == 6) {
    setzen(1, kBlank);
    setzen(2, kBlank);
  } else if (wochentag(1) == 7) {
    setzen(1, kBlank);
  }
  if (tage == 31 && wochentag(31) == 1) {
    setzen(31, kBlank);
  } else if (wochentag(tage) == 1 || wochentag(tage - 1) == 1) {
    // The short last week borrows the spare columns, so its label has room.
    const QString t = mKaWo.TextMatrix(0, std::min(tage, letzte));
    for (int d = tage + 1; d <= 32; ++d) setzen(d, t);
  }
  mKaWo.setMergeCells(true);
  mKaWo.setMergeRow(0, true);
}

void Monatsanzeige::Zeilen_anlegen() {
  // Which entries of the employee table get a row: a heading opens a group, whose
  // employees follow its visibility; employees before the first heading are always
  // shown. Employees are shown only in the months they are employed.
  const QString& monat = gMonatsschlüssel;
  const bool alleSichtbar = !(Setting(1) == 2 && gBenutzerstufe != 2);
  const QString berechtigung = alleSichtbar ? QString() : Anzeigeberechtigung();
  const QString berechtigungSuche = u':' + berechtigung;
  const QStringList gruppen = Anzeigegruppen();
  const bool mitGruppen = !gruppen.isEmpty() && gruppen.first() != u"NoGroups";
  QString gruppenSuche;
  bool gruppeBekannt = false;
  if (mitGruppen) {
    const int g = Anzeigegruppe();
    if (g >= 0 && g < gruppen.size()) {
      const QString& eintrag = gruppen[g];
      const qsizetype p = eintrag.indexOf(u'|');
      gruppenSuche = u':' + (p < 0 ? QString() : eintrag.mid(p + 1));
      gruppeBekannt = true;
    }
  }

  std::vector<int> zeilen;
  zeilen.reserve(static_cast<size_t>(std::max(Mitarbeiterzeilen(), 0)));
  bool erlaubt = true, inGruppe = true;
  for (int i = 1; i <= Mitarbeiterzeilen(); ++i) {
    const bool überschrift = Ist_Heading(i);
    if (überschrift) {
      const QString suche = u':' + gMitarbeiterNamen[i] + u':';
      // "AllGroups" lets the user see every group, whatever the settings say.
      if (!alleSichtbar) erlaubt = berechtigung == u"AllGroups" || berechtigungSuche.contains(suche);
      // A chosen group that no longer exists narrows nothing.
      if (gruppeBekannt) inGruppe = gruppenSuche.contains(suche);
    }
    if (!erlaubt || !inGruppe) continue;
    // Compared in place: this runs once per employee on every display.
    if (!überschrift && (QStringView(gEintrittsdaten[i]).left(4).compare(monat) > 0 ||
                         (!gAustrittsdaten[i].isEmpty() && QStringView(gAustrittsdaten[i]).left(4).compare(monat) < 0)))
      continue;
    zeilen.push_back(i);
  }

  mGrid.setRows(1 + static_cast<int>(zeilen.size()));
  for (size_t z = 0; z < zeilen.size(); ++z) {
    const int r = static_cast<int>(z) + 1, i = zeilen[z];
    mGrid.setTextMatrix(r, 0, gMitarbeiterNamen[i]);
    mGrid.setCellBackColor(r, 0, Farbe(Ist_Heading(i) ? 5 : 4));
    if (mGrid.Cols() > 32) mGrid.setTextMatrix(r, 32, gBenutzerIDs[i]);
  }
  if (Mitarbeiterzeilen() == 1 && gMitarbeiterNamen[1] == u"NoNames" && mGrid.Rows() > 1)
    mGrid.setTextMatrix(1, 0, kLeer);
  // The grid never consists of the header alone.
  if (mGrid.Rows() == 1) mGrid.setRows(2);
}

void Monatsanzeige::anzeigen(bool beschäftigt) {
  const bool sanduhr = gLangsamesNetz && !gBeschäftigt && !beschäftigt;
  if (sanduhr) Sanduhr_Mauszeiger(true);
  const double start = uhr::monoton();
  const QString monat = gMonatsschlüssel;
  const int jahr = 2000 + monat.left(2).toInt(), monatszahl = monat.mid(2, 2).toInt();
  const int tage = Anzahl_Monatstage(monat, 0);
  const bool summen = gBenutzerwerte[25] == 1;

  if (gBenutzerwerte[28] != 0 || gBenutzerwerte[29] != 0) Kalenderwochen(jahr, monatszahl, tage);

  // Painted once, at the end.
  mGrid.setRedraw(false);
  mGrid.setRows(1);
  mGrid.Clear();
  mGrid.setTextMatrix(0, 0, QStringLiteral("Name"));
  const bool zweizeilig = kopf_zweizeilig ? kopf_zweizeilig() : mGrid.Cols() > 1 && mGrid.ColWidth(1) > 360;
  const int letzteSpalte = std::min(31, mGrid.Cols() - 1);
  for (int d = 1; d <= std::min(tage, letzteSpalte); ++d)
    mGrid.setTextMatrix(0, d, Tageskopf(jahr, monatszahl, d, zweizeilig));
  mGrid.setCol(0);

  Zeilen_anlegen();
  if (zeilenLetztesLayout >= 1 && zeilenLetztesLayout != mGrid.Rows() && zeilenzahl_geändert) zeilenzahl_geändert();

  Daten_in_Tabellenfeld_ausgeben();

  const int zeilen = mGrid.Rows();
  const int tsZeilen = mTaSu.Rows();
  const int tsSpalten = std::min(31, mTaSu.Cols() - 1);
  if (summen) {
    mTaSu.setRedraw(false);
    for (int r = 1; r < tsZeilen; ++r)
      for (int d = 1; d <= tsSpalten; ++d) mTaSu.setCellBackColor(r, d, Farbe(1));
  }
  const auto summenspalte = [&](int d, Farbwert f) {
    if (!summen || d > tsSpalten) return;
    for (int r = 1; r < tsZeilen; ++r) mTaSu.setCellBackColor(r, d, f);
  };

  // Holidays colour their empty and reserved cells, weekends their empty ones. The
  // cells are visited row by row, in the order the grid stores them.
  struct Freier_Tag {
    int tag;
    bool feiertag;
  };
  std::array<Freier_Tag, 31> freieTage;
  int anzahlFrei = 0;
  for (int d = 1; d <= std::min(tage, letzteSpalte); ++d) {
    if (CheckFeiertag(d)) {
      freieTage[anzahlFrei++] = {d, true};
      summenspalte(d, Farbe(3));
    } else if (CheckWochenende(d)) {
      freieTage[anzahlFrei++] = {d, false};
      summenspalte(d, Farbe(2));
    }
  }
  const Farbwert f2 = Farbe(2), f3 = Farbe(3);
  for (int r = 1; r < zeilen && anzahlFrei > 0; ++r)
    for (int i = 0; i < anzahlFrei; ++i) {
      const auto [d, feiertag] = freieTage[i];
      const QString t = mGrid.TextMatrix(r, d);
      if (t.isEmpty() || (feiertag && t == kGeschütztesLeerzeichen)) mGrid.setCellBackColor(r, d, feiertag ? f3 : f2);
    }

  if (gFerienIndex >= 1 && gFerienIndex < gFerientage.size()) {
    const QString& ferien = gFerientage[gFerienIndex];
    for (int d = 1; d <= letzteSpalte; ++d)
      if (ferien.mid(d + 4, 1) == u"1") mGrid.setCellBackColor(0, d, gFerienfarbe);
  }

  if (Setting(9) == 0 && gHeuteText.left(4) == monat && gHeute.isValid() && gHeute.day() <= letzteSpalte) {
    const int d = gHeute.day();
    mGrid.setCellBackColor(0, d, Farbe(7));
    if (gBenutzerwerte[22] != 3) {
      for (int r = 1; r < zeilen; ++r)
        if (mGrid.TextMatrix(r, d).isEmpty() && Arbeitstagfarbe(mGrid.CellBackColor(r, d)))
          mGrid.setCellBackColor(r, d, Farbe(8));
      if (summen && d <= tsSpalten)
        for (int r = 1; r < tsZeilen; ++r)
          if (Arbeitstagfarbe(mTaSu.CellBackColor(r, d))) mTaSu.setCellBackColor(r, d, Farbe(8));
    }
  }

  if (gBenutzerwerte[26] == 1 && mGrid.Cols() > 32) {
    for (int r = 1; r < zeilen; ++r)
      if (mGrid.TextMatrix(r, 32).isEmpty())
        for (int d = 1; d <= letzteSpalte; ++d) mGrid.setCellBackColor(r, d, Farbe(5));
  }

  if (markierung_aufheben) markierung_aufheben();
  mGrid.setRedraw(true);

  if (summen) {
    for (int r = 1; r < tsZeilen; ++r)
      for (int d = 1; d <= tsSpalten; ++d) {
        const int n = tagessumme(r, d);
        mTaSu.setTextMatrix(r, d, n == 0 ? QString() : QString::number(n));
      }
    mTaSu.setRedraw(true);
  }

  if (sanduhr) Sanduhr_Mauszeiger(false);
  if (uhr::monoton() - start > kLangsameAnzeige) {
    gLangsamesNetz = true;
    gBenutzerwerte[31] = 1;
  }
}

void Monatsanzeige::Daten_in_Tabellenfeld_ausgeben() {
  const int zeilen = mGrid.Rows();
  gKommentarMarken.dimensionieren(zeilen - 1);
  const int b = Schaltflächen_Anzahl();
  mKnöpfe = std::max(b, 0);
  mSummen.assign(static_cast<size_t>(mKnöpfe) * 31, 0);

  const QString monat = gMonatsschlüssel;
  // The stamp of what is about to be read, taken first: a write by another workstation
  // during the read differs from it and is reloaded at the next check, while showing
  // another month causes no reload of its own.
  Monatsstand_merken(monat);

  // The stamp's listing names the version to read.
  Monatsversion_vorgeben(monat, gMonatsdateiStand.name);
  mMonat = Monatsinhalt_lesen(monat);
  Monatsversion_vorgeben(QString(), QString());
  gMonatsAusnahmen = mMonat.ausnahmen;
  if (mMonat.einträge.isEmpty() || mGrid.Cols() <= 32) return;

  std::vector<QString> benutzer(static_cast<size_t>(zeilen));
  for (int r = 1; r < zeilen; ++r) benutzer[r] = cp1252::klein(mGrid.TextMatrix(r, 32));
  const Zeilen_nach_Benutzer zeilenDes(benutzer);

  // The last line of each user wins; users compared without regard to case.
  std::vector<qsizetype> eintragDerZeile(static_cast<size_t>(zeilen), -1);
  for (qsizetype i = 0; i < mMonat.einträge.size(); ++i)
    for (int r = zeilenDes.erste_der_Zeile(mMonat.einträge[i]); r != 0; r = zeilenDes.nächste(r))
      eintragDerZeile[r] = i;

  const QString ich = gBenutzername.toLower();
  const bool verbergenAktiv = gBenutzerstufe < 1;
  const bool verborgeneZeigen = Setting(43) == 1;
  const Farbwert f1 = Farbe(1), f2 = Farbe(2);

  // What each code character puts into its cell, worked out once per display rather
  // than once per cell: a blank is a working day without entry, the number after the
  // last button a reserved day, the erase button's own number never stands for an
  // entry. Entries hidden from other users show as reserved, or not at all.
  using Füllung = Raster::Zellfüllung;
  static const QString kReserviert = QStringLiteral("\u00A0");
  const Füllung arbeitstag{f1, f1, nullptr};
  const Füllung reserviert{f2, f2, &kReserviert};
  const Füllung verborgen{f2, f2, &kBlank};
  const int knöpfe = std::max(b, 1);
  std::vector<QString> kennbuchstaben(static_cast<size_t>(knöpfe));
  std::vector<Füllung> eintrag(static_cast<size_t>(knöpfe));
  for (int k = 1; k < b; ++k) {
    kennbuchstaben[k] = gSFKennbuchstaben.value(k);
    eintrag[k] = Füllung{gSFTextfarben.value(k), gSFHintergrundfarben.value(k), &kennbuchstaben[k]};
  }
  // Per character: the fill, and the button counted in the day sums (0: none); for the
  // user's own row (or when nothing is hidden) and for everybody else's.
  struct Zeichenwirkung {
    std::array<const Füllung*, 128> füllung{};
    std::array<int, 128> knopf{};
  };
  Zeichenwirkung eigene, fremde;
  for (int c = 0; c < 128; ++c) {
    if (c == u' ') {
      eigene.füllung[c] = fremde.füllung[c] = &arbeitstag;
      continue;
    }
    // Button numbers of the code characters, as SFDec gives them.
    const int k = SFDec(QString(QChar(c)));
    if (k == b + 1) {
      eigene.füllung[c] = fremde.füllung[c] = &reserviert;
    } else if (k >= 1 && k < b) {
      eigene.füllung[c] = &eintrag[k];
      eigene.knopf[c] = k;
      if (gSFVerbergen.value(k) != 1 || !verbergenAktiv) {
        fremde.füllung[c] = &eintrag[k];
        fremde.knopf[c] = k;
      } else if (verborgeneZeigen) {
        fremde.füllung[c] = &verborgen;
      }
    }
  }

  std::array<const Füllung*, 31> zeile{};
  for (int r = 1; r < zeilen; ++r) {
    if (eintragDerZeile[r] < 0) continue;
    const QString& e = mMonat.einträge[eintragDerZeile[r]];
    const QStringView codes = QStringView(e).mid(e.indexOf(u':') + 1);
    const Zeichenwirkung& wirkung = benutzer[r] == ich ? eigene : fremde;
    const int tage = static_cast<int>(std::min<qsizetype>(31, codes.size()));
    for (int d = 0; d < tage; ++d) {
      const char16_t c = codes[d].unicode();
      if (c >= 128) {
        zeile[d] = nullptr;
        continue;
      }
      zeile[d] = wirkung.füllung[c];
      if (const int k = wirkung.knopf[c]) ++mSummen[static_cast<size_t>(k - 1) * 31 + d];
    }
    mGrid.setzeZellen(r, 1, std::span(zeile.data(), static_cast<size_t>(tage)));
  }

  if (mMonat.kommentare.isEmpty()) return;
  // The marks set, kept beside gKommentarMarken so that the bold pass visits only the
  // rows with comments: row * 32 + day, 1 where the mark is not empty. A row's comments
  // apply in the order of the file, the later one winning on a day.
  std::vector<int> kommentarZeilen;
  std::vector<quint8> mitKommentar(static_cast<size_t>(zeilen), 0);
  std::vector<quint8> markiert(static_cast<size_t>(zeilen) * 32);
  for (const QString& k : mMonat.kommentare) {
    // The reader keeps only comments of the rule's form, whose days lie in 1 to 31.
    const Monatszeilenform form = Form_des_Kommentars(k);
    if (!form.kommentar()) continue;
    const int ersteZeile = zeilenDes.erste_der_Zeile(k);
    if (ersteZeile == 0) continue;
    const int erster = form.erster_Tag(), letzter = form.letzter_Tag();
    const QString kommentar = form.kommentartext(k).toString();
    for (int r = ersteZeile; r != 0; r = zeilenDes.nächste(r)) {
      if (!mitKommentar[r]) {
        mitKommentar[r] = 1;
        kommentarZeilen.push_back(r);
      }
      for (int d = erster; d <= letzter; ++d)
        if (!text::trim(mGrid.TextMatrix(r, d)).isEmpty()) {
          gKommentarMarken.setzen(r, d, kommentar);
          markiert[static_cast<size_t>(r) * 32 + d] = !kommentar.isEmpty();
        }
    }
  }
  if (Setting(6) != 0) return;
  for (const int r : kommentarZeilen)
    for (int d = 1; d <= 31; ++d)
      if (markiert[static_cast<size_t>(r) * 32 + d]) mGrid.setCellFontBold(r, d, true);
}
