#include "planner/frmHilfe.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

namespace {
int px(double twips) { return bildschirm::twipsZuPixel(twips); }

// The first day of the vacation year that the employee list's entitlements count for.
QString Urlaubsjahresbeginn() {
  const int jahr = gPlanungsjahr + (gUrlaub1Leer ? 1 : 0);
  return FormatDatumDA(QDate(jahr, std::clamp(gUrlaubsjahrBeginn, 1, 12), 1));
}

QString Mitarbeitertext(bool mitBenutzernamen) {
  QString t = QStringLiteral(
      "Jede Zeile der Liste steht für einen Mitarbeiter. Neue Mitarbeiter tragen Sie in einer leeren Zeile ein; "
      "eine Zeile fügen Sie an der gewünschten Stelle ein, damit die Reihenfolge der Monatsansicht stimmt.||"
      "Überschriften: Ein Name, der mit '>' beginnt, wird zur Überschrift einer Mitarbeitergruppe. Die Mitarbeiter "
      "unter einer Überschrift bilden eine Gruppe, die sich in Anzeigeberechtigungen und Anzeigegruppen verwenden "
      "lässt.||"
      "Befristet Beschäftigte: Tragen Sie Eintritts- und Austrittsdatum ein. Vor dem Eintritt und nach dem Austritt "
      "sind für den Mitarbeiter keine Eintragungen möglich.||"
      "Urlaubsanspruch: Der Anspruch gilt je Urlaubsjahr; das aktuelle Urlaubsjahr beginnt am ");
  t += Urlaubsjahresbeginn();
  t += QStringLiteral(
      ". In der Spalte 'Resturlaub' steht der aus dem vorigen Urlaubsjahr übernommene Urlaub; beim "
      "Jahreswechsel trägt das Programm ihn selbst ein.");
  if (mitBenutzernamen)
    t += QStringLiteral(
        "||Windows-Benutzername: Tragen Sie den Namen ein, mit dem sich der Mitarbeiter an Windows anmeldet. Daran "
        "erkennt das Programm, welche Zeile dem angemeldeten Benutzer gehört; die Eintragungen werden unter diesem "
        "Namen gespeichert. Ein Mitarbeiter ohne Windows-Benutzernamen kann keine eigenen Eintragungen vornehmen.");
  return t;
}
}  // namespace

int Hilfethema(const QString& name) {
  if (name == u"frmMitarbeiter") return Setting(28) == 1 ? 2 : 3;
  if (name == u"frmAnzeigeberechtigungen") return 4;
  if (name == u"frmAnzeigegruppen") return 5;
  if (name == u"frmAnAbwesenheitsgruende") return 7;
  if (name == u"frmWochenende") return 8;
  if (name == u"frmFeiertage") return 9;
  if (name == u"frmAdmins") {
    const frmVelkora* f = frmVelkora::instanz();
    return f && f->Tag == u"P" ? 11 : 10;
  }
  if (name == u"frmRecovery") return 12;
  if (name == u"frmUrlaubsuebersicht") return 13;
  return 1;
}

QString Hilfetitel(int thema) {
  switch (thema) {
    case 2:
    case 3:
      return QStringLiteral("Mitarbeiterdaten");
    case 4:
      return QStringLiteral("Anzeigeberechtigungen");
    case 5:
      return QStringLiteral("Anzeigegruppen");
    case 7:
      return QStringLiteral("An-/Abwesenheitsgründe");
    case 8:
      return QStringLiteral("Wochenende, arbeitsfreie Tage");
    case 9:
      return QStringLiteral("Feiertage");
    case 10:
      return QStringLiteral("Administratoren");
    case 11:
      return QStringLiteral("Privilegierte Benutzer");
    case 12:
      return QStringLiteral("Datenordner wiederherstellen");
    case 13:
      return QStringLiteral("Urlaubsübersicht");
    default:
      return QStringLiteral("Velkora");
  }
}

QString Hilfetext(int thema) {
  switch (thema) {
    case 2:
      return Mitarbeitertext(false);
    case 3:
      return Mitarbeitertext(true);
    case 4:
      return QStringLiteral(
          "Mit den Anzeigeberechtigungen legen Sie fest, welche Mitarbeitergruppen ein Benutzer in der Monatsansicht "
          "sieht. Gruppen entstehen durch Überschriften in der Mitarbeiterliste.||"
          "Wählen Sie für jede Gruppe, welche Gruppen ihre Mitarbeiter sehen dürfen. Die eigene Zeile sieht jeder "
          "Mitarbeiter immer.||Administratoren sehen immer alle Mitarbeiter.");
    case 5:
      return QStringLiteral(
          "Eine Anzeigegruppe fasst Mitarbeitergruppen zusammen, die Sie gemeinsam sehen möchten.||"
          "Mit 'Hinzufügen' legen Sie eine neue Anzeigegruppe an und geben ihr einen Namen; 'Umbenennen' ändert den "
          "Namen, 'Löschen' entfernt die Anzeigegruppe. Haken Sie die Mitarbeitergruppen an, die zur Gruppe "
          "gehören.||In der Monatsansicht wählen Sie die Anzeigegruppe im Auswahlfeld über den Namen aus.");
    case 7: {
      QString t = QStringLiteral(
          "Jede Schaltfläche steht für einen An-/Abwesenheitsgrund. Der Kennbuchstabe erscheint in den Tagen der "
          "Monatsansicht, die Beschriftung auf der Schaltfläche; Text- und Hintergrundfarbe bestimmen die "
          "Darstellung.||"
          "Löschen: Ein gelöschter Grund verschwindet auch aus allen gespeicherten Eintragungen.|"
          "Gleicher Kennbuchstabe: Mehrere Gründe dürfen denselben Buchstaben haben, wenn sie sich in der "
          "Hintergrundfarbe unterscheiden.|"
          "Urlaub: Welche Gründe als ganzer oder halber Urlaubstag zählen, legen Sie in den Einstellungen fest.|"
          "Reihenfolge: Die Reihenfolge der Liste ist die der Schaltflächen.|"
          "Nur für Administratoren: Solche Gründe können nur Administratoren eintragen.");
      if (gSFVerbergenText != u"void")
        t += QStringLiteral(
            "|Verbergen: Eintragungen eines verborgenen Grundes sehen andere Benutzer nur als leeres Feld.");
      return t;
    }
    case 8:
      return QStringLiteral(
          "Wählen Sie die Wochentage, an denen nicht gearbeitet wird. Diese Tage werden in der Monatsansicht farbig "
          "dargestellt und beim Zählen von Urlaubstagen nicht mitgerechnet.||"
          "Eine Änderung gilt ab dem aktuellen Monat; frühere Monate behalten ihre bisherigen arbeitsfreien Tage.||"
          "Einzelne arbeitsfreie Tage eines Mitarbeiters kennzeichnen Sie in der Monatsansicht mit einem "
          "Doppelklick auf den Tag.");
    case 9:
      return QStringLiteral(
          "Die gesetzlichen Feiertage ergeben sich aus der Ländereinstellung. Haken Sie die Feiertage an, die für "
          "Sie gelten.||"
          "Weitere jährliche Feiertage tragen Sie mit Tag und Monat ein; sie gelten in jedem Jahr.||"
          "Einzelne Feiertage eines Monats legen Administratoren in der Monatsansicht über den Tageskopf fest.");
    case 10:
      return QStringLiteral(
          "Administratoren dürfen alles: Mitarbeiter, Gründe, Feiertage und Einstellungen ändern, für alle "
          "Mitarbeiter eintragen und den Datenordner exportieren, importieren und wiederherstellen.||"
          "Tragen Sie den Windows-Benutzernamen ein, mit dem sich der Administrator an Windows anmeldet, und "
          "seinen Namen.||"
          "Löschen Sie einen Administrator, indem Sie seine Zeile entfernen. Ist niemand eingetragen, sind alle "
          "Benutzer Administratoren.");
    case 11:
      return QStringLiteral(
          "Privilegierte Benutzer dürfen für andere Mitarbeiter eintragen, ändern aber keine Einstellungen.||"
          "Tragen Sie den Windows-Benutzernamen und den Namen ein. Löschen Sie einen privilegierten Benutzer, "
          "indem Sie seine Zeile entfernen.");
    case 12:
      return QStringLiteral(
          "Das Programm sichert den Datenordner selbständig: täglich, monatlich und vor größeren Änderungen.||"
          "Wählen Sie einen Sicherungszeitpunkt aus und klicken Sie auf 'Datenordner wiederherstellen'. Alle "
          "Daten, Einstellungen und Logbücher werden auf den Stand dieses Zeitpunkts zurückgesetzt; was danach "
          "eingetragen wurde, geht verloren.||"
          "Stellen Sie sicher, dass niemand anders das Programm währenddessen benutzt.");
    case 13:
      return QStringLiteral(
          "Die Urlaubsübersicht zählt für jeden Mitarbeiter die genommenen und geplanten Urlaubstage.||"
          "Dafür braucht sie den Urlaubsanspruch in der Mitarbeiterliste und die Kennbuchstaben der Gründe, die "
          "als Urlaub zählen (Einstellungen). Halbe Urlaubstage zählen mit 0,5.||"
          "Weitere Einstellungen legen fest, ab wann das Urlaubsjahr beginnt und wann Resturlaub verfällt.");
    default:
      return QStringLiteral(
          "Eintragen:|Markieren Sie mit gedrückter linker Maustaste die Tage in der Zeile eines Mitarbeiters und "
          "klicken Sie auf die Schaltfläche eines An-/Abwesenheitsgrunds. Der Kennbuchstabe des Grunds wird in die "
          "markierten Tage eingetragen. Die Markierung darf über Wochenenden und Feiertage gehen; diese Tage "
          "bleiben frei. Die Schaltfläche 'Löschen' entfernt die Eintragungen der markierten Tage.||"
          "Kommentare:|Klicken Sie mit der rechten Maustaste auf markierte Eintragungen, um im Kommentarfenster "
          "einen Kommentar einzugeben. Tage mit Kommentar erscheinen fett. Zeigen Sie mit der Maus auf einen "
          "solchen Tag, wird der Kommentar angezeigt.");
  }
}

QSize Hilfegröße(int thema) {
  switch (thema) {
    case 2:
      return {11325, 8250};
    case 3:
      return {11325, 10410};
    case 4:
      return {6990, 4650};
    case 5:
      return {8400, 6105};
    case 7:
      return {8250, gSFVerbergenText != u"void" ? 8985 : 8025};
    case 8:
      return {7020, 6090};
    case 9:
      return {6405, 5370};
    case 10:
      return {7620, 6810};
    case 11:
      return {7800, 4410};
    case 12:
      return {7035, 5370};
    case 13:
      return {7830, 6120};
    default:
      return {7950, 7290};
  }
}

frmHilfe::frmHilfe(QWidget* aufrufer) : QDialog(aufrufer) {
  setObjectName(QStringLiteral("frmHilfe"));
  setWindowTitle(QStringLiteral("Hilfe"));
  auto* außen = new QVBoxLayout(this);
  lblTitel = new QLabel(this);
  lblTitel->setObjectName(QStringLiteral("lblTitel"));
  QFont fett = lblTitel->font();
  fett.setBold(true);
  fett.setPointSize(fett.pointSize() + 4);
  lblTitel->setFont(fett);
  lblHilfetext = new QLabel(this);
  lblHilfetext->setObjectName(QStringLiteral("lblHilfetext"));
  lblHilfetext->setWordWrap(true);
  lblHilfetext->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  if (bildschirm::dpi() > 96) {
    QFont f = lblHilfetext->font();
    f.setPointSize(10);
    lblHilfetext->setFont(f);
  }
  außen->addWidget(lblTitel);
  außen->addWidget(lblHilfetext, 1);
  auto* knöpfe = new QHBoxLayout;
  cmdHilfe[1] = new QPushButton(QStringLiteral("&Handbuch"), this);
  cmdHilfe[2] = new QPushButton(QStringLiteral("&Lies mich"), this);
  cmdAuswahl = new QPushButton(QStringLiteral("&Schließen"), this);
  cmdAuswahl->setDefault(true);
  for (int i = 1; i <= 2; ++i) {
    cmdHilfe[i]->setObjectName(QStringLiteral("cmdHilfe_%1").arg(i));
    cmdHilfe[i]->setEnabled(false);
    knöpfe->addWidget(cmdHilfe[i]);
    connect(cmdHilfe[i], &QPushButton::clicked, this,
            [this, i] { QDesktopServices::openUrl(QUrl::fromLocalFile(mDateien[i])); });
  }
  knöpfe->addStretch();
  knöpfe->addWidget(cmdAuswahl);
  außen->addLayout(knöpfe);
  connect(cmdAuswahl, &QPushButton::clicked, this, &QDialog::accept);

  Prozedur(QStringLiteral("frmHilfe - Form_Load"), [&] {
    const int thema = Hilfethema(aufrufer ? aufrufer->objectName() : QString());
    const QSize größe = Hilfegröße(thema);
    // The text's room; the window may grow, never shrink below it.
    setMinimumSize(px(größe.width()), px(größe.height()));
    resize(minimumSize());
    Hilfetext_setzen(thema);
    mDateien[1] = gProgrammordner + QStringLiteral("Handbuch.pdf");
    cmdHilfe[1]->setEnabled(Datei_vorhanden(mDateien[1]));
    // The readme describes the default installation only.
    if (gDatenordner.compare(gBasisordner + QStringLiteral("Data/"), Qt::CaseInsensitive) == 0) {
      mDateien[2] = gProgrammordner + QStringLiteral("Lies mich.pdf");
      cmdHilfe[2]->setEnabled(Datei_vorhanden(mDateien[2]));
    }
  });
}

void frmHilfe::Hilfetext_setzen(int thema) {
  mThema = thema;
  lblTitel->setText(Hilfetitel(thema));
  lblHilfetext->setText(Ersetzen(Hilfetext(thema), QStringLiteral("|"), QStringLiteral("\n")));
}

void Hilfe_anzeigen(QWidget* aufrufer) {
  frmHilfe f(aufrufer);
  f.exec();
}
