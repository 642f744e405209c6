// The employee editor's commands on whole rows and columns: inserting, deleting and
// moving a row, carrying the vacation entitlements of a year into the next, copying
// one entitlement from the previous year, and the search. None writes a file; the
// list reaches the employee file when it is applied.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <optional>

#include "people/frmMitarbeiter.h"
#include "platform/Dialoge.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Konfigdaten.h"

namespace {

const QString kF = QStringLiteral("frmMitarbeiter - ");

QString Null() {
  return QStringLiteral("000") + (gDezimaltrennzeichen.isEmpty() ? QStringLiteral(",") : gDezimaltrennzeichen.left(1)) +
         QStringLiteral("0");
}

// A box's text as a number of the locale, or nothing when it is none.
std::optional<double> Zahl(const QString& t) {
  QString s = t.trimmed();
  s.replace(gDezimaltrennzeichen.isEmpty() ? QStringLiteral(",") : gDezimaltrennzeichen.left(1), QStringLiteral("."));
  bool ok = false;
  const double w = s.toDouble(&ok);
  if (!ok) return std::nullopt;
  return w;
}

}  // namespace

void frmMitarbeiter::Zeile_einfügen() {
  Prozedur(kF + QStringLiteral("Zeile_einfügen"), [&] {
    const int r = ErsteZeile + AktuelleZeile;
    if (AktuelleZeile < 1 || r > Obergrenze()) return;
    Zeilen.insert(Zeilen.begin() + r, Zeilensatz{});
    {
      const QSignalBlocker b(vsbScrollBar);
      vsbScrollBar->setMaximum(vsbScrollBar->maximum() + 1);
    }
    cmdAuswahl[6]->setEnabled(true);
    Anzeige_aktualisieren();
    txtName[AktuelleZeile]->setFocus(Qt::OtherFocusReason);
  });
}

void frmMitarbeiter::Zeile_löschen() {
  Prozedur(kF + QStringLiteral("Zeile_löschen"), [&] {
    const int r = ErsteZeile + AktuelleZeile;
    if (AktuelleZeile < 1 || r > Obergrenze()) return;
    Zeilen.erase(Zeilen.begin() + r);
    if (vsbScrollBar->value() < vsbScrollBar->maximum()) {
      const QSignalBlocker b(vsbScrollBar);
      vsbScrollBar->setMaximum(vsbScrollBar->maximum() - 1);
    } else {
      // Scrolled to the end: the 22 rows stay backed by records.
      Zeilen.emplace_back();
    }
    cmdAuswahl[6]->setEnabled(true);
    Anzeige_aktualisieren();
    txtName[AktuelleZeile]->setFocus(Qt::OtherFocusReason);
  });
}

void frmMitarbeiter::Zeile_verschieben(const QString& richtung) {
  Prozedur(kF + QStringLiteral("Zeile_verschieben"), [&] {
    const bool auf = richtung == u"auf";
    int k = AktuelleZeile;
    if (k < 1) return;
    if (auf && ErsteZeile == 0 && k == 1) {
      dialoge::dienst().piepen();
      txtName[1]->setFocus(Qt::OtherFocusReason);
      return;
    }
    if (!auf && k == kZeilen && vsbScrollBar->value() == vsbScrollBar->maximum()) {
      dialoge::dienst().piepen();
      txtName[kZeilen]->setFocus(Qt::OtherFocusReason);
      return;
    }
    if (!auf && ErsteZeile + k >= Obergrenze()) {
      dialoge::dienst().piepen();
      txtName[k]->setFocus(Qt::OtherFocusReason);
      return;
    }
    Zeilenmodus = QStringLiteral("verschieben");
    cmdAuswahl[6]->setEnabled(true);
    if (auf && k == 1) {
      const int vorher = ErsteZeile;
      vsbScrollBar->setValue(vsbScrollBar->value() - 1);
      if (ErsteZeile == vorher) {
        Zeilenmodus.clear();
        return;
      }
      txtName[2]->setFocus(Qt::OtherFocusReason);
      k = AktuelleZeile = 2;
    } else if (!auf && k == kZeilen) {
      const int vorher = ErsteZeile;
      vsbScrollBar->setValue(vsbScrollBar->value() + 1);
      if (ErsteZeile == vorher) {
        Zeilenmodus.clear();
        return;
      }
      txtName[kZeilen - 1]->setFocus(Qt::OtherFocusReason);
      k = AktuelleZeile = kZeilen - 1;
    }
    const int r = ErsteZeile + k;
    const int ziel = auf ? r - 1 : r + 1;
    std::swap(Zeilen[static_cast<size_t>(r)], Zeilen[static_cast<size_t>(ziel)]);
    Anzeige_aktualisieren();
    txtName[auf ? k - 1 : k + 1]->setFocus(Qt::OtherFocusReason);
    Zeilenmodus.clear();
  });
}

void frmMitarbeiter::Urlaub_aus_Vorjahr_übernehmen(int index) {
  Prozedur(kF + QStringLiteral("Urlaub_aus_Vorjahr_übernehmen"), [&] {
    if (index < 10 || index > 12) return;
    const int p = 6 * (index - 9);  // 0-based start of the source value
    const QString null = Null();
    bool a = false, b = false, c = false;
    for (int r = 1; r <= Obergrenze(); ++r) {
      const QString& u = Zeilen[static_cast<size_t>(r)].Urlaubsdaten;
      if (u.isEmpty()) continue;
      const QString quelle = u.mid(p, 5), ziel = u.mid(p + 6, 5);
      if (quelle != null && ziel == null) a = true;
      if (quelle != null) b = true;
      if (ziel != null) c = true;
    }
    const QString jahr = lblBeschriftung[index]->text(), vorjahr = lblBeschriftung[index - 1]->text();
    if (cmdAuswahl[6]->isEnabled()) {
      Meldung(QStringLiteral("Bitte zuerst mit 'Übernehmen' geänderte Daten speichern"));
      return;
    }
    if (c && !a) {
      Meldung(QStringLiteral("Funktion für das Jahr ") + jahr +
              QStringLiteral(" nicht möglich, da bereits Urlaubsansprüche für das Jahr ") + jahr +
              QStringLiteral(" erfasst wurden"));
      return;
    }
    if (!b) {
      Meldung(QStringLiteral("Für das Jahr ") + vorjahr +
              QStringLiteral(" wurden noch keine Urlaubsansprüche erfasst, die in das Jahr ") + jahr +
              QStringLiteral(" übernommen werden können"));
      return;
    }
    QString frage = QStringLiteral("Sollen für alle Mitarbeiter die Urlaubsansprüche aus dem Jahr ") + vorjahr +
                    QStringLiteral(" in das Jahr ") + jahr + QStringLiteral(" übernommen werden?");
    if (c && a)
      frage += QStringLiteral(
                   "\r\rHinweis: Der Urlaubsanspruch wird nur übernommen, wenn für den Mitarbeiter für das Jahr ") +
               jahr + QStringLiteral(" noch kein Urlaubsanspruch eingetragen wurde.");
    if (!Frage(frage, QStringLiteral("Velkora"))) return;
    for (int r = 1; r <= Obergrenze(); ++r) {
      QString& u = Zeilen[static_cast<size_t>(r)].Urlaubsdaten;
      if (u.isEmpty() || u.mid(p + 6, 5) != null) continue;
      u = u.left(p + 6) + u.mid(p, 5) + u.mid(p + 11);
    }
    cmdAuswahl[6]->setEnabled(true);
    Anzeige_aktualisieren();
    Meldung(QStringLiteral("Urlaubsansprüche aus dem Jahr ") + vorjahr + QStringLiteral(" wurden in das Jahr ") + jahr +
            QStringLiteral(" übernommen"));
  });
}

void frmMitarbeiter::Zelle_aus_Vorjahr_übernehmen(QLineEdit* feld) {
  Prozedur(kF + QStringLiteral("Zelle_aus_Vorjahr_übernehmen"), [&] {
    const auto [spalte, zeile] = Position(feld);
    if (spalte < 7 || spalte > 9) return;
    if (spalte == 9 && !lblBeschriftung[13]->isHidden()) return;
    const QString t = feld->text();
    if (!t.trimmed().isEmpty()) {
      const auto w = Zahl(t);
      if (!w || *w != 0.0) return;
    }
    // Only the text changes; leaving the box stores it as if typed.
    feld->setText(Feld(spalte - 1, zeile)->text());
  });
}

void frmMitarbeiter::Mitarbeiter_suchen_L(bool neueSuche, bool eigenerBenutzer) {
  Prozedur(kF + QStringLiteral("Mitarbeiter_suchen_L"), [&] {
    if (eigenerBenutzer && Setting(28) == 1) return;
    // The focused field is left first, as a scroll leaves it: its date checked, its
    // row stored, so what is being typed is neither lost nor let past the check.
    if (mFokusfeld) {
      QLineEdit* f = mFokusfeld;
      const auto [spalte, zeile] = Position(f);
      if ((spalte == 3 || spalte == 4) && !Datum_prüfen(f)) return;
      TextBox_LostFocus(spalte, zeile);
      TextBox_GotFocus(zeile);
    }
    bool n = neueSuche;
    if (n || eigenerBenutzer) Suchtext.clear();
    if (Suchtext.isEmpty()) {
      n = true;
      Suchposition = 1;
    }
    int treffer = 0;
    if (eigenerBenutzer) {
      // The record of the current user itself, not the first whose name contains it.
      for (int r = 1; r <= Obergrenze() && !treffer; ++r)
        if (Zeilen[static_cast<size_t>(r)].BenutzerID.compare(gBenutzername, Qt::CaseInsensitive) == 0) treffer = r;
      if (!treffer) {
        Meldung(QStringLiteral("Windows-Benutzername '") + gBenutzername + QStringLiteral("' nicht gefunden"));
        return;
      }
      Suchtext = Zeilen[static_cast<size_t>(treffer)].Name;
    } else {
      if (Suchtext.isEmpty())
        Suchtext = eingabe(this, QStringLiteral("Mitarbeiter suchen:\r\rName des Mitarbeiters"), QString(),
                           QStringLiteral("Mitarbeiter suchen"));
      if (Suchtext.isEmpty()) return;
      const QString such = Suchtext.toLower();
      for (int r = std::max(Suchposition, 1); r <= Obergrenze() && !treffer; ++r) {
        const Zeilensatz& z = Zeilen[static_cast<size_t>(r)];
        if (z.Name.toLower().contains(such) || (Setting(28) != 1 && z.BenutzerID.toLower().contains(such))) treffer = r;
      }
      if (!treffer) {
        Meldung(n ? QStringLiteral("Name '") + Suchtext + QStringLiteral("' nicht gefunden")
                  : QStringLiteral("Datenende erreicht"));
        Suchtext.clear();
        return;
      }
    }
    const QString gesucht = Suchtext.toLower();
    if (eigenerBenutzer) Suchtext.clear();
    Suchposition = treffer + 1;
    ErsteZeile = std::clamp(treffer - 11, 0, vsbScrollBar->maximum());
    Wert_setzen(ErsteZeile);
    Anzeige_aktualisieren();
    const int zeile = treffer - ErsteZeile;
    txtName[1]->setFocus(Qt::OtherFocusReason);
    if (txtName[zeile]->text().toLower().contains(gesucht))
      txtName[zeile]->setFocus(Qt::OtherFocusReason);
    else
      txtBenutzerID[zeile]->setFocus(Qt::OtherFocusReason);
  });
}
