#include "config/frmEinstellungen.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <map>

#include "config/Schaltflaechenverschiebung.h"
#include "config/frmFarbeinstellungen.h"
#include "platform/Bildschirm.h"
#include "platform/Cp1252.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Raster.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Sicherung.h"
#include "store/Sperrdatei.h"
#include "store/Velkoraini.h"
#include "widgets/Fensterhilfen.h"

namespace {

const QString kName = QStringLiteral("frmEinstellungen - ");

// Window geometry in twips.
constexpr int kRand = 120;
constexpr int kListenbreite = 3600;
constexpr int kRahmenLinks = kListenbreite + 2 * kRand;
constexpr int kRahmenbreite = 7200;
constexpr int kRahmenhöhe = 4200;
constexpr int kKnopfhöhe = 375;
constexpr int kZeilenhöhe = 255;  // one line of the list and of option captions
constexpr int kVorschauabstand = 810;
constexpr int kVorschauzeile = 420;

int px(double twips) { return bildschirm::twipsZuPixel(twips); }

QString Zeilen(const QString& text) { return QString(text).replace(u'|', u'\n'); }

const QString kVeraltet = QStringLiteral(
    "||Die Schulferiendaten sind nicht mehr aktuell. Eine aktualisierte|Datei 'Ferientage.dat' für den Datenordner "
    "erhalten Sie beim An-|bieter des Programms.");

const QString kDruckenAnfang = QStringLiteral(
    "Sie können einstellen, ob beim Drucken die Gitternetzlinien mit aus-|gedruckt werden sollen. Bei der "
    "Monatsübersicht können Sie im Kopf|die Kalenderwochen und am Ende der letzten Seite die ");

bool Schulferiendaten_vorhanden() { return gFerientage.size() > 1 && gFerientage[1] != u"NoData"; }

QString Sperrdateipfad() { return gDatenordner + QStringLiteral("Lockfile.txt"); }

// A letter of a letter box as the working copy holds it: "#" for none.
QString Buchstabe(const QLineEdit* box) { return box->text().trimmed().isEmpty() ? QStringLiteral("#") : box->text(); }

}  // namespace

frmEinstellungen::frmEinstellungen(QWidget* eltern) : QDialog(eltern) {
  setObjectName(QStringLiteral("frmEinstellungen"));
  setWindowTitle(QStringLiteral("Velkora - Einstellungen"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  Form_Load();
}

// ---------------------------------------------------------------------------------------
// The working copy

int frmEinstellungen::Setting(int position) const {
  const QString c = SettingStr(position, 1);
  return (c.size() == 1 && c[0] >= u'0' && c[0] <= u'9') ? c[0].unicode() - u'0' : 0;
}

QString frmEinstellungen::SettingStr(int position, int länge) const {
  if (position < 1 || länge < 0) return {};
  return Einstellungen.mid(position - 1, länge);
}

void frmEinstellungen::SetSetting(int position, const QString& wert) {
  if (position < 1 || position > Einstellungen.size() || wert.size() != 1) fehler::auslösen(5);
  Einstellungen[position - 1] = wert[0];
}

void frmEinstellungen::SetSetting(int position, int wert) { SetSetting(position, QString::number(wert)); }

// ---------------------------------------------------------------------------------------
// Opening

void frmEinstellungen::Themen_aufbauen() {
  const auto setzen = [this](int nr, int klasse, int optionen, int art, const char16_t* caption, double versatz,
                             int option, std::initializer_list<const char16_t*> texte, const char16_t* erklärung) {
    Thema& t = Themen[nr];
    t.klasse = klasse;
    t.optionen = optionen;
    t.art = art;
    t.caption = QString::fromUtf16(caption);
    t.versatz = versatz;
    t.option = option;
    int i = 1;
    for (const char16_t* text : texte) t.texte[i++] = QString::fromUtf16(text);
    t.erklärung = QString::fromUtf16(erklärung);
  };
  const int n = mKnöpfe;
  setzen(1, 2, 2, 0, u"Windows-Benutzername", -1.25, ::Setting(28),
         {u"Alle Mitarbeiter oder ein Teil der Mitarbeiter verfügt über einen|Windows-Benutzernamen",
          u"Die Mitarbeiter verfügen nicht über einen Windows-Benutzernamen"},
         u"Über den Windows-Benutzernamen werden die Anzeige- und Einga-|beberechtigungen der Mitarbeiter "
         u"gesteuert. Verfügen die Mitarbeiter|über keine Windows-Benutzerkennung, stehen einige Einstellmöglich-|"
         u"keiten nicht zur Verfügung und die Spalte Windows-Benutzername im|Menüpunkt 'Bearbeiten - Mitarbeiter' "
         u"wird nicht angezeigt.");
  setzen(2, 2, 2, 0, u"Berechtigung zum Programmaufruf", 0, ::Setting(1) == 0 ? 0 : 1,
         {u"Alle Mitarbeiter können den Velkora aufrufen", u""},
         u"Sie können einstellen, ob alle Mitarbeiter das Programm aufrufen kön-|nen oder nur die Mitarbeiter, die "
         u"mit Ihrem Windows-Benutzernamen im|Velkora eingetragen sind.");
  setzen(3, 3, 2, 0, u"Berechtigung für Eintragungen", 0, ::Setting(10),
         {u"Mitarbeiter können selbst Eintragungen im Velkora|vornehmen",
          u"Nur Administratoren und Privilegierte Benutzer können Eintragungen|vornehmen"},
         u"Sollen Mitarbeiter selbst zu Eintragungen berechtigt sein, wird über den|unter 'Bearbeiten - "
         u"Mitarbeiter' eingetragenen Windows-Benutzerna-|men gesteuert, dass Mitarbeiter nur für sich selbst "
         u"Eintragungen vor-|nehmen können.");
  setzen(4, 2, 2, 0, u"Privilegierte Benutzer", -2.25, ::Setting(11),
         {u"Nur Administratoren können Einträge für andere Mitarbeiter vor-|nehmen",
          u"Neben Administratoren können Privilegierte Benutzer Einträge für|andere Mitarbeiter vornehmen"},
         u"Wenn Sie die Option 'Neben Administratoren können Privilegierte Be-|nutzer Einträge für andere "
         u"Mitarbeiter vornehmen' wählen, wird im Menü|'Bearbeiten' der zusätzliche Menüpunkt 'Privilegierte "
         u"Benutzer' ange-|zeigt. Mitarbeiter, die Sie dort eintragen, können Eintragungen für an-|dere Mitarbeiter "
         u"vornehmen und dabei auch die Schaltflächen verwen-|den, die unter 'Bearbeiten - "
         u"An-/Abwesenheitsgründe' mit 'Nur für Admi-|nistratoren' gekennzeichnet sind. Weitere "
         u"Administrationsberechtigung|erhalten Privilegierte Benutzer nicht.");
  setzen(5, 3, 2, 0, u"Anzeigeberechtigungen", 0, ::Setting(18) == 0 ? 1 : 0,
         {u"Mitarbeiter können die An-/Abwesenheitszeiten aller anderen|Mitarbeiter anzeigen",
          u"Anzeigeberechtigungen verwenden und festlegen, inwieweit|Mitarbeiter die Daten anderer Mitarbeiter "
          u"anzeigen können"},
         u"Wenn Sie Anzeigeberechtigungen verwenden, erhalten Sie im Menü|'Bearbeiten' den zusätzlichen Menüpunkt "
         u"'Anzeigeberechtigungen'.|Sie können darüber festlegen, inwieweit Mitarbeiter die Daten anderer|"
         u"Mitarbeiter anzeigen können.");
  setzen(6, 2, 2, 0, u"Anzeigegruppen", -1.5, ::Setting(17) == 0 ? 1 : 0,
         {u"Keine Anzeigegruppen verwenden", u"Anzeigegruppen verwenden"},
         u"Um bei einer großen Anzahl an Mitarbeitern weniger in der langen Mit-|arbeiterliste blättern zu müssen, "
         u"können Sie die Mitarbeiter in Anzeige-|gruppen aufteilen. Wenn Sie Anzeigegruppen verwenden, erhalten "
         u"Sie|im Menü 'Bearbeiten' den zusätzlichen Menüpunkt 'Anzeigegruppen'.");
  setzen(7, 2, 2, 0, u"Schaltflächen anzeigen", -0.5, ::Setting(8),
         {u"Mitarbeitern werden alle Schaltflächen angezeigt",
          u"Nur für Administratoren vorgesehene Schaltflächen werden Mit-|arbeitern nicht angezeigt"},
         u"Sie können einstellen, ob Schaltflächen für An-/Abwesenheitsgründe,|die Administratoren und "
         u"Privilegierten Benutzern vorbehalten sind, auch|nur den Administratoren und Privilegierten Benutzern "
         u"angezeigt werden|oder ob sie für alle Mitarbeiter sichtbar sind.");
  setzen(8, 2, 2, 0, u"An-/Abwesenheitszeiten eingeben", -1.5, ::Setting(4),
         {u"An-Abwesenheitszeiten werden über die Maus eingegeben",
          u"An-/Abwesenheitszeiten können über die Maus oder die Tastatur|eingegeben werden"},
         u"Standardmäßig werden An-/Abwesenheitszeiten über die Maus ein-|gegeben, indem der gewünschte Zeitraum "
         u"markiert und auf den ent-|sprechenden An-/Abwesenheitsgrund geklickt wird. Daneben können|Sie Eingaben "
         u"auch über die Tastatur vornehmen. Beim Klicken auf|einen An-/Abwesenheitsgrund öffnet sich eine "
         u"Dialogbox, in der Sie|die Eingabe vornehmen können.");
  setzen(9, 2, 0, 1, u"Urlaubstage", 0, 0,
         {u"Kennbuchstabe für ganze Urlaubstage", u"Kennbuchstabe für halbe Urlaubstage (Angabe optional)",
          u"Zweiter Kennbuchstabe für ganze Urlaubstage (Angabe optional)",
          u"Zweiter Kennbuchstabe für halbe Urlaubstage (Angabe optional)"},
         u"Möchten Sie die Urlaubsübersicht im Menü 'Ansicht' nutzen, tragen Sie|die Kennbuchstaben der "
         u"Schaltflächen ein, die Sie für Urlaubtage ver-|wenden. Wenn Sie getrennte Schaltflächen für geplanten "
         u"und geneh-|migten Urlaub verwenden, können Sie einen zweiten Kennbuchstaben|eingeben. Dann werden auch "
         u"diese Schaltflächen in der Urlaubsüber-|sicht berücksichtigt.");
  setzen(
      10, 2, 0, 1, u"Sonderurlaub", 0, 0,
      {u"Kennbuchstabe für ganze Tage Sonderurlaub (optional)", u"Kennbuchstabe für halbe Tage Sonderurlaub (optional)",
       u"Zweiter Kennbuchstabe für ganze Tage Sonderurlaub (optional)",
       u"Zweiter Kennbuchstabe für halbe Tage Sonderurlaub (optional)"},
      u"Möchten Sie die Übersicht für Sonderurlaub im Menü 'Ansicht' nutzen,|tragen Sie die Kennbuchstaben der "
      u"Schaltflächen ein, die Sie für Son-|derurlaub verwenden. Wenn Sie getrennte Schaltflächen für "
      u"geplanten|und genehmigten Urlaub verwenden, können Sie einen zweiten Kenn-|buchstaben eingeben. Dann "
      u"werden auch diese Schaltflächen in der|Übersicht für Sonderurlaub berücksichtigt.");
  setzen(11, 2, 3, 2, u"Urlaubsansprüche", 0, ::Setting(30),
         {u"Urlaubsansprüche als ganze Tage eingeben", u"Urlaubsansprüche als ganze und halbe Tage eingeben",
          u"Urlaubsansprüche mit Nachkommastelle eingeben", u"Das Urlaubsjahr beginnt am 1."},
         u"Sie können festlegen, ob Sie Urlaubsansprüche im Menü 'Bearbeiten -|Mitarbeiter' mit oder ohne "
         u"Nachkommastelle eingeben möchten. Wei-|ter können Sie Einstellungen zum Urlaubsjahr vornehmen.");
  setzen(12, 3, 2, 3, u"Krankheitstage", -0.5, ::Setting(5),
         {u"Mitarbeiter können die Krankheitstage anderer Mitarbeiter sehen",
          u"Mitarbeiter können nur eigene Krankheitstage sehen", u"als Kennbuchstabe für Krankheitstage verwenden"},
         u"Wenn Mitarbeiter die Krankheitstage anderer Mitarbeiter nicht sehen|sollen, können Sie den "
         u"Kennbuchstaben der Schaltfläche angeben, die|Sie für den Abwesenheitsgrund Krank verwenden. "
         u"Eintragungen mit|dieser Schaltfläche werden Mitarbeitern nicht angezeigt. Administra-|toren und "
         u"Privilegierten Benutzern werden die Krankheitszeiten aller|Mitarbeiter angezeigt.");
  setzen(13, 2, 2, 0, u"Urlaubs-/Summenübersicht anzeigen", 0, ::Setting(19),
         {u"Urlaubs- und Summenübersicht allen Mitarbeitern anzeigen",
          u"Urlaubs- und Summenübersicht nur Administratoren und Privile-|gierten Benutzern anzeigen"},
         u"Sie können einstellen, ob die Urlaubs- und Summenübersicht nur von|Administratoren und Privilegierten "
         u"Benutzern oder von allen Mitarbei-|tern angezeigt werden kann.");
  setzen(14, 1, 2, 0, u"Schulferien kennzeichnen", 0, gBenutzerwerte[27],
         {u"Schulferien kennzeichnen", u"Schulferien nicht kennzeichnen"},
         u"Sie können einstellen, ob in der Überschriftzeile der Monatsübersicht|Schulferien farblich "
         u"gekennzeichnet werden.");
  if (FerienVeraltet) {
    Themen[14].erklärung += kVeraltet;
    Themen[14].versatz = -2.5;
  }
  setzen(15, 1, 2, 0, u"Kalenderwochen anzeigen", 0, gBenutzerwerte[28],
         {u"Kalenderwochen nicht anzeigen", u"Kalenderwochen anzeigen"},
         u"Sie können einstellen, ob in der Überschriftzeile der Monatsübersicht|die Kalenderwochen mit angezeigt "
         u"werden. Sollen die Kalenderwochen|mit ausgedruckt werden, können Sie dies unter 'Drucken' einstellen.");
  setzen(16, 2, 0, 4, u"Tagessummen anzeigen", n <= 16 ? 0 : 1, 0, {},
         u"Sie können einstellen, für welche An-/Abwesenheitsgründe Sie eine|Tagessumme am unteren "
         u"Bildschirmrand anzeigen möchten.");
  setzen(17, 1, 4, 5, u"Zeilen/Spalten hervorheben", 0, gBenutzerwerte[22],
         {u"Aktuelle Zeile und Spalte nicht hervorheben", u"Aktuelle Zeile beim Klicken auf den Namen hervorheben",
          u"Aktuelle Zeile beim Bewegen mit der Maus hervorheben",
          u"Aktuelle Zeile und Spalte beim Bewegen mit der Maus hervorheben"},
         u"Sie können einstellen, ob Sie die aktuelle Zeile oder Spalte der Mo-|natsübersicht farblich "
         u"hervorheben möchten. Die gewünschte Farbe|können Sie in den Farbeinstellungen unter 'Aktuelle "
         u"Zeile/Spalte'|einstellen. Weiter können Sie Zeilen mit Überschriften hervorheben.");
  setzen(
      18, 2, 2, 0, u"Kommentare kennzeichnen", 0, ::Setting(6),
      {u"Zellen mit Kommentaren mit Fettschrift kennzeichnen", u"Zellen mit Kommentaren nicht gesondert kennzeichnen"},
      u"Sie können einstellen, ob An-/Abwesenheitszeiten, zu denen ein Kom-|mentar eingegeben wurde, mit "
      u"Fettschrift gekennzeichnet werden oder|nicht.");
  setzen(19, 2, 3, 6, u"Logbuch anzeigen", 4.5, ::Setting(3),
         {u"Mitarbeiter können das Benutzer- und Administrationslogbuch|anzeigen",
          u"Mitarbeiter können nur das Benutzerlogbuch anzeigen", u"Mitarbeiter können kein Logbuch anzeigen "},
         u"Sie können einstellen, inwieweit Mitarbeiter Einsicht in das Logbuch er-|halten und wie lange das "
         u"Logbuch gespeichert werden soll.");
  if (::Setting(28) == 0) Themen[19].texte[3] += QStringLiteral(" (außer eigene Eintra-|gungen)");
  setzen(20, 1, 0, 7, u"Drucken", 0, 0,
         {u"Gitternetzlinien mit ausdrucken", u"Kalenderwochen in der Monatsübersicht drucken",
          u"Tagessummen in der Monatsübersicht mit ausdrucken", u"Am Ende der Monatsübersicht Legende drucken"},
         u"");
  setzen(21, 2, 0, 8, u"Schaltflächen-Anordnung ändern", n <= 16 ? 0 : 1, 0, {},
         u"Sie können die Reihenfolge der Schaltflächen ändern. Geben Sie die|Nr. der Schaltfläche ein, die Sie "
         u"verschieben möchten und die Nr. der|Schaltfläche, an dessen Position sie verschoben werden soll.");
  setzen(22, 2, 2, 9, u"Programmaufruf sperren", 2, gSperrmeldung.isEmpty() ? 0 : 1,
         {u"Mitarbeiter können den Velkora aufrufen und|Eingaben vornehmen",
          u"Programmaufruf sperren. Mitarbeiter können keine Eingaben mehr|vornehmen und erhalten beim "
          u"Programmaufruf den Hinweis"},
         u"Sie können eine Sperre setzen, während Sie z.B. Änderungen an der|Konfiguration vornehmen oder eine "
         u"Datenwiederherstellung durchfüh-|ren. Ab dem Setzen der Sperre können Mitarbeiter keine Eingaben|mehr "
         u"vornehmen und das Programm nicht mehr aufrufen.");
  setzen(23, 1, 0, 10, u"Farbeinstellungen", 0, 0, {}, u"");
}

void frmEinstellungen::Form_Load() {
  Prozedur(kName + QStringLiteral("Form_Load"), [&] {
    QFont schrift = font();
    schrift.setPointSize(8);
    setFont(schrift);
    SetSchriftart(this);
    CheckKonfigdaten();
    mStand.emplace();
    mKnöpfe = std::max(0, Schaltflächen_Anzahl() - 1);

    // School-holiday data that end before January of the window's third year.
    FerienVeraltet = false;
    if (Schulferiendaten_vorhanden()) {
      const QString grenze =
          QStringLiteral("%1").arg((gPlanungsjahr + 2) % 100, 2, 10, QChar(u'0')) + QStringLiteral("01");
      FerienVeraltet = gFerientage.last().left(4) < grenze;
    }
    Themen_aufbauen();

    // The user's own display values become the defaults of the settings string.
    ::SetSetting(25, std::clamp(gBenutzerwerte[22], 0, 9));
    ::SetSetting(26, std::clamp(gBenutzerwerte[23], 0, 9));
    ::SetSetting(27, std::clamp(gBenutzerwerte[24], 0, 9));
    ::SetSetting(41, std::clamp(gBenutzerwerte[28], 0, 9));
    ::SetSetting(42, std::clamp(gBenutzerwerte[29], 0, 9));

    Überschrift = gBenutzerwerte[26];
    Schulferien = gBenutzerwerte[27];
    TaSumDrucken = gBenutzerwerte[30];
    Einstellungen = gSettings;
    TaSum = gTaSum[1].leftJustified(24, u'0').left(24);
    Druckboxen_unberührt = gBenutzerwerte[28] == gBenutzerwerte[29];
    mSperreAnfang = !gSperrmeldung.isEmpty();

    lblBeschriftung[1] = new QLabel(QStringLiteral("Einstellungen"), this);
    lblBeschriftung[1]->setObjectName(QStringLiteral("lblBeschriftung1"));
    lstListe = new QListWidget(this);
    lstListe->setObjectName(QStringLiteral("lstListe"));
    lstListe->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fraRahmen = new QGroupBox(this);
    fraRahmen->setObjectName(QStringLiteral("fraRahmen"));
    platzieren(fraRahmen, kRahmenLinks, 60, kRahmenbreite, kRahmenhöhe);

    mOptionen = new QButtonGroup(this);
    for (int i = 1; i <= 4; ++i) {
      optOption[i] = new QRadioButton(fraRahmen);
      optOption[i]->setObjectName(QStringLiteral("optOption%1").arg(i));
      mOptionen->addButton(optOption[i], i);
      connect(optOption[i], &QRadioButton::clicked, this, [this, i] { optOption_Click(i, true); });
      lblOption[i] = new QLabel(fraRahmen);
      lblOption[i]->setObjectName(QStringLiteral("lblOption%1").arg(i));
      lblOption[i]->hide();
      txtBuchst[i] = new QLineEdit(fraRahmen);
      txtBuchst[i]->setObjectName(QStringLiteral("txtBuchst%1").arg(i));
      txtBuchst[i]->setMaxLength(1);
      txtBuchst[i]->setAlignment(Qt::AlignCenter);
      txtBuchst[i]->installEventFilter(this);
      connect(txtBuchst[i], &QLineEdit::textChanged, this, [this, i] {
        if (!txtBuchst[i]->isHidden()) Einstellungen_merken(i);
      });
      lblBuchst[i] = new QLabel(fraRahmen);
      lblBuchst[i]->setObjectName(QStringLiteral("lblBuchst%1").arg(i));
      chkDrucker[i] = new QCheckBox(fraRahmen);
      chkDrucker[i]->setObjectName(QStringLiteral("chkDrucker%1").arg(i));
      connect(chkDrucker[i], &QCheckBox::clicked, this, [this, i] {
        if (!chkDrucker[i]->isHidden()) Einstellungen_merken(0, true);
      });
    }

    // The vacation year.
    mResturlaub = new QButtonGroup(this);
    lblMonat[1] = new QLabel(fraRahmen);
    lblMonat[2] = new QLabel(QStringLiteral("Der Resturlaub verfällt"), fraRahmen);
    for (int i = 1; i <= 2; ++i) {
      lblMonat[i]->setObjectName(QStringLiteral("lblMonat%1").arg(i));
      cmbMonat[i] = new QComboBox(fraRahmen);
      cmbMonat[i]->setObjectName(QStringLiteral("cmbMonat%1").arg(i));
      for (int m = 1; m <= 12; ++m) cmbMonat[i]->addItem(Monatsname(m));
      connect(cmbMonat[i], &QComboBox::activated, this, [this] { cmbMonat_Click(); });
      optResturlaub[i] = new QRadioButton(i == 1 ? QStringLiteral("nicht") : QStringLiteral("am 1."), fraRahmen);
      optResturlaub[i]->setObjectName(QStringLiteral("optResturlaub%1").arg(i));
      mResturlaub->addButton(optResturlaub[i], i);
      connect(optResturlaub[i], &QRadioButton::clicked, this, [this, i] { optResturlaub_Click(i); });
    }
    optResturlaub[gResturlaubVerfall == 0 ? 1 : 2]->setChecked(true);
    cmbMonat[1]->setCurrentIndex(std::clamp(gUrlaubsjahrBeginn, 1, 12) - 1);
    cmbMonat[2]->setCurrentIndex(gResturlaubVerfall == 0 ? -1 : std::clamp(gResturlaubVerfall, 1, 12) - 1);

    chkÜberschrift = new QCheckBox(QStringLiteral("Zeilen mit Überschriften hervorheben"), fraRahmen);
    chkÜberschrift->setObjectName(QStringLiteral("chkUeberschrift"));
    chkÜberschrift->setChecked(Überschrift != 0);
    connect(chkÜberschrift, &QCheckBox::clicked, this, [this] {
      if (!chkÜberschrift->isHidden()) Einstellungen_merken(0, true);
    });

    lblLogbuch[1] = new QLabel(QStringLiteral("Logbuch"), fraRahmen);
    lblLogbuch[2] = new QLabel(QStringLiteral("Monate lang speichern"), fraRahmen);
    lblLogbuch[1]->setObjectName(QStringLiteral("lblLogbuch1"));
    lblLogbuch[2]->setObjectName(QStringLiteral("lblLogbuch2"));
    txtLogbuch = new QLineEdit(fraRahmen);
    txtLogbuch->setObjectName(QStringLiteral("txtLogbuch"));
    txtLogbuch->setMaxLength(2);
    txtLogbuch->setAlignment(Qt::AlignRight);
    txtLogbuch->installEventFilter(this);
    txtLogbuch->setText(::SettingStr(29, 1) == u"0" ? QStringLiteral("99")
                                                    : QString::number(HexDec(::SettingStr(29, 1))));

    Vorschau_anlegen();

    txtSperre = new QLineEdit(fraRahmen);
    txtSperre->setObjectName(QStringLiteral("txtSperre"));
    txtSperre->installEventFilter(this);
    txtSperre->setText(gSperrmeldung.isEmpty()
                           ? QStringLiteral("Wegen Wartungsarbeiten Programmaufruf zurzeit nicht möglich")
                           : gSperrmeldung);
    mSperrtextAnfang = txtSperre->text();

    lblBeschriftung[2] = new QLabel(fraRahmen);
    lblBeschriftung[2]->setObjectName(QStringLiteral("lblBeschriftung2"));
    lblBeschriftung[2]->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const char16_t* knöpfe[5] = {nullptr, u"&Farbeinstellungen ändern ...", u"&Schaltfläche verschieben", u"&OK",
                                 u"&Abbrechen"};
    for (int i = 1; i <= 4; ++i) {
      cmdAuswahl[i] = new QPushButton(QString::fromUtf16(knöpfe[i]), i <= 2 ? static_cast<QWidget*>(fraRahmen) : this);
      cmdAuswahl[i]->setObjectName(QStringLiteral("cmdAuswahl%1").arg(i));
      cmdAuswahl[i]->setAutoDefault(false);
      connect(cmdAuswahl[i], &QPushButton::clicked, this, [this, i] { cmdAuswahl_Click(i); });
    }
    cmdAuswahl[3]->setDefault(true);

    Anordnen();
    connect(lstListe, &QListWidget::currentRowChanged, this, [this](int zeile) {
      if (zeile >= 0) Einstellungen_anzeigen();
    });
    Listenfeld_aufbauen();
  });
}

void frmEinstellungen::Vorschau_anlegen() {
  for (int i = 1; i <= mKnöpfe && i <= 24; ++i) {
    shpVorschau[i] = new QFrame(fraRahmen);
    shpVorschau[i]->setObjectName(QStringLiteral("shpVorschau%1").arg(i));
    shpVorschau[i]->setFrameShape(QFrame::Box);
    shpVorschau[i]->setAutoFillBackground(true);
    QPalette rahmen = shpVorschau[i]->palette();
    rahmen.setColor(QPalette::WindowText, zuQColor(gGrundfarben[6]));
    shpVorschau[i]->setPalette(rahmen);
    txtVorschau[i] = new QLabel(fraRahmen);
    txtVorschau[i]->setObjectName(QStringLiteral("txtVorschau%1").arg(i));
    txtVorschau[i]->setAlignment(Qt::AlignCenter);
    txtVorschau[i]->setFocusPolicy(Qt::NoFocus);
    chkTaSum[i] = new QCheckBox(fraRahmen);
    chkTaSum[i]->setObjectName(QStringLiteral("chkTaSum%1").arg(i));
    connect(chkTaSum[i], &QCheckBox::clicked, this, [this, i] {
      if (!chkTaSum[i]->isHidden()) Einstellungen_merken(0, true);
    });
    lblVorschau[i] = new QLabel(QStringLiteral("%1.").arg(i), fraRahmen);
    lblVorschau[i]->setObjectName(QStringLiteral("lblVorschau%1").arg(i));
    lblVorschau[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  lblVorschau[25] = new QLabel(QStringLiteral("Schaltfläche mit der Nr."), fraRahmen);
  lblVorschau[26] = new QLabel(QStringLiteral("verschieben an die Position von Nr."), fraRahmen);
  lblVorschau[25]->setObjectName(QStringLiteral("lblVorschau25"));
  lblVorschau[26]->setObjectName(QStringLiteral("lblVorschau26"));
  for (int i = 1; i <= 2; ++i) {
    txtSfNr[i] = new QLineEdit(fraRahmen);
    txtSfNr[i]->setObjectName(QStringLiteral("txtSfNr%1").arg(i));
    txtSfNr[i]->setMaxLength(2);
    txtSfNr[i]->setAlignment(Qt::AlignRight);
    txtSfNr[i]->installEventFilter(this);
    connect(txtSfNr[i], &QLineEdit::textChanged, this,
            [this] { cmdAuswahl[2]->setEnabled(!txtSfNr[1]->text().isEmpty() && !txtSfNr[2]->text().isEmpty()); });
  }
}

void frmEinstellungen::Anordnen() {
  // The list: long for administrators, below the heading for everybody else.
  const bool admin = gBenutzerstufe == 2;
  int zeilen = 0;
  for (int i = 1; i <= kThemen; ++i) {
    const QString& c = Themen[i].caption;
    if (c == u"Sonderurlaub" && ::Setting(33) == 0) continue;
    if (c == u"Krankheitstage" && gSFVerbergenText != u"void") continue;
    if (c == u"Schulferien kennzeichnen" && !Schulferiendaten_vorhanden()) continue;
    if (c == u"Kommentare kennzeichnen" && ::Setting(6) == 0) continue;
    if (admin || Themen[i].klasse == 1 || (gBenutzerstufe == 1 && i == 16)) ++zeilen;
  }
  mListenzeilen = zeilen;
  lblBeschriftung[1]->setVisible(!admin);
  platzieren(lblBeschriftung[1], kRand, kRand, kListenbreite, kZeilenhöhe);
  const int listenOben = admin ? 60 + 90 : kRand + kZeilenhöhe + 60;
  const int listenHöhe = std::max(zeilen, 6) * kZeilenhöhe + 90;
  platzieren(lstListe, kRand, listenOben, kListenbreite, listenHöhe);
  const int knopfOben = std::max(listenOben + listenHöhe + kRand, 60 + kRahmenhöhe - kKnopfhöhe);
  platzieren(cmdAuswahl[3], kRand, knopfOben, 1500, kKnopfhöhe);
  platzieren(cmdAuswahl[4], kRand + kListenbreite - 1500, knopfOben, 1500, kKnopfhöhe);
  setFixedSize(px(kRahmenLinks + kRahmenbreite + kRand), px(knopfOben + kKnopfhöhe + kRand));

  // The topic controls inside the frame.
  for (int i = 1; i <= 4; ++i) {
    platzieren(txtBuchst[i], 240, 480 * i - 30, 375, 315);
    platzieren(lblBuchst[i], 735, 480 * i, 6200, kZeilenhöhe);
  }
  platzieren(lblMonat[1], 240, 1875, 2300, kZeilenhöhe);
  platzieren(cmbMonat[1], 2580, 1830, 1500, 330);
  platzieren(lblMonat[2], 240, 2265, 2300, kZeilenhöhe);
  platzieren(optResturlaub[1], 2580, 2250, 900, kZeilenhöhe + 30);
  platzieren(optResturlaub[2], 3540, 2250, 900, kZeilenhöhe + 30);
  platzieren(cmbMonat[2], 4500, 2220, 1500, 330);
  platzieren(chkÜberschrift, 240, 2145, 6600, kZeilenhöhe);
  platzieren(lblLogbuch[1], 240, 2490, 900, kZeilenhöhe);
  platzieren(txtLogbuch, 1140, 2445, 450, 315);
  platzieren(lblLogbuch[2], 1710, 2490, 3000, kZeilenhöhe);
  for (int i = 1; i <= 4; ++i) platzieren(chkDrucker[i], 240, 480 * i, 6600, kZeilenhöhe);
  platzieren(txtSperre, 510, 1800, 6300, 315);
  platzieren(cmdAuswahl[1], 240, 480, 3000, kKnopfhöhe);
}

void frmEinstellungen::Listenfeld_aufbauen() {
  Prozedur(kName + QStringLiteral("Listenfeld_aufbauen"), [&] {
    {
      const QSignalBlocker sperre(lstListe);
      lstListe->clear();
      for (int i = 1; i <= kThemen; ++i) {
        const QString& c = Themen[i].caption;
        if (c == u"Sonderurlaub" && ::Setting(33) == 0) continue;
        if (c == u"Krankheitstage" && gSFVerbergenText != u"void") continue;
        if (c == u"Schulferien kennzeichnen" && !Schulferiendaten_vorhanden()) continue;
        if (c == u"Kommentare kennzeichnen" && ::Setting(6) == 0) continue;
        const int klasse = Themen[i].klasse;
        const bool zeigen = gBenutzerstufe == 2 ? (klasse == 1 || klasse == 2 || Setting(28) != 1)
                                                : (klasse == 1 || (gBenutzerstufe == 1 && i == 16));
        if (zeigen) lstListe->addItem(c);
      }
      lstListe->setCurrentRow(0);
    }
    Einstellungen_anzeigen();
  });
}

int frmEinstellungen::ListenNr(const QString& caption) const {
  return Prozedur(kName + QStringLiteral("ListenNr"), [&] {
    const QString gesucht = Extrahiere_Konsonanten(caption);
    for (int i = 1; i <= kThemen; ++i)
      if (Extrahiere_Konsonanten(Themen[i].caption) == gesucht) return i;
    return 1;
  });
}

int frmEinstellungen::Ausgewählte_Option() const {
  const int id = mOptionen->checkedId();
  return id >= 1 ? id - 1 : 0;
}

void frmEinstellungen::Thema_zeigen(int nr) {
  const auto treffer = lstListe->findItems(Themen[nr].caption, Qt::MatchExactly);
  if (treffer.isEmpty()) return;
  if (lstListe->currentItem() == treffer.first())
    Einstellungen_anzeigen();
  else
    lstListe->setCurrentItem(treffer.first());
}

void frmEinstellungen::Einstellungen_anzeigen() {
  Prozedur(kName + QStringLiteral("Einstellungen_anzeigen"), [&] {
    const QString text = lstListe->currentItem() ? lstListe->currentItem()->text() : QString();
    const int n = ListenNr(text);
    Thema& t = Themen[n];
    fraRahmen->setTitle(t.caption);

    if (n == 2)
      t.texte[2] = Setting(28) == 0
                       ? QStringLiteral(
                             "Nur eingetragene Mitarbeiter, Administratoren und Privilegierte|Benutzer "
                             "können den Velkora aufrufen")
                       : QStringLiteral("Nur Administratoren und Privilegierte Benutzer können den Velkora aufrufen");

    // Letter boxes: all four for the vacation and special-leave letters, the first for
    // the sick-day letter.
    for (int i = 1; i <= 4; ++i) {
      const bool sichtbar = t.art == 1 || (t.art == 3 && i == 1);
      txtBuchst[i]->setVisible(sichtbar);
      lblBuchst[i]->setVisible(sichtbar);
      if (!sichtbar) continue;
      const int position = t.art == 3 ? 24 : (text == u"Urlaubstage" ? 19 + i : 33 + i);
      const QString c = SettingStr(position, 1);
      txtBuchst[i]->setText(c == u"#" ? QString() : c);
    }

    // Options with their second lines; an option below a two-line one moves down.
    int verschiebung = 0;
    for (int i = 1; i <= 4; ++i) {
      optOption[i]->setVisible(t.optionen >= i);
      const QString& ot = t.texte[i];
      const qsizetype strich = ot.indexOf(u'|');
      const bool optionstext = t.art == 0 || t.art == 2 || t.art == 3 || t.art == 5 || t.art == 6 || t.art == 9;
      platzieren(optOption[i], 240, 480 * i - 15 + verschiebung, 6700, kZeilenhöhe + 30);
      platzieren(lblOption[i], 510, 480 * i + 240 + verschiebung, 6030, kZeilenhöhe);
      if (i <= t.optionen && optionstext && strich >= 0) {
        optOption[i]->setText(ot.left(strich));
        lblOption[i]->setText(ot.mid(strich + 1));
        lblOption[i]->show();
        verschiebung += 240;
      } else {
        optOption[i]->setText(i <= t.optionen ? ot : QString());
        lblOption[i]->hide();
      }
    }
    if (t.art == 1)
      for (int i = 1; i <= 4; ++i) lblBuchst[i]->setText(t.texte[i]);
    if (t.art == 3) {
      lblBuchst[1]->setText(t.texte[3]);
      platzieren(txtBuchst[1], 240, 480 * 3 - 30, 375, 315);
      platzieren(lblBuchst[1], 735, 480 * 3, 6200, kZeilenhöhe);
    } else {
      platzieren(txtBuchst[1], 240, 480 - 30, 375, 315);
      platzieren(lblBuchst[1], 735, 480, 6200, kZeilenhöhe);
    }
    if (t.art == 2) lblMonat[1]->setText(t.texte[4]);

    for (QWidget* w : {static_cast<QWidget*>(lblMonat[1]), static_cast<QWidget*>(lblMonat[2]),
                       static_cast<QWidget*>(cmbMonat[1]), static_cast<QWidget*>(cmbMonat[2]),
                       static_cast<QWidget*>(optResturlaub[1]), static_cast<QWidget*>(optResturlaub[2])})
      w->setVisible(t.art == 2);
    chkÜberschrift->setVisible(t.art == 5);
    lblLogbuch[1]->setVisible(t.art == 6);
    lblLogbuch[2]->setVisible(t.art == 6);
    txtLogbuch->setVisible(t.art == 6);
    txtSperre->setVisible(t.art == 9);
    cmdAuswahl[1]->setVisible(t.art == 10);
    if (t.art == 6) {
      // Below the options and the second line of the last one.
      const int oben = 480 * 3 + verschiebung + 480;
      platzieren(lblLogbuch[1], 240, oben + 45, 900, kZeilenhöhe);
      platzieren(txtLogbuch, 1140, oben, 450, 315);
      platzieren(lblLogbuch[2], 1710, oben + 45, 3000, kZeilenhöhe);
    }
    if (t.art == 9) platzieren(txtSperre, 510, 480 * 2 + verschiebung + 360, 6300, 315);

    // Print boxes; without any day sum the day-sum box is left out.
    for (int i = 1; i <= 4; ++i) chkDrucker[i]->setVisible(t.art == 7);
    if (t.art == 7) {
      for (int i = 1; i <= 4; ++i) chkDrucker[i]->setText(t.texte[i]);
      chkDrucker[1]->setChecked(Setting(26) == 1);
      chkDrucker[2]->setChecked(Setting(42) == 1);
      chkDrucker[3]->setChecked(TaSumDrucken == 1);
      chkDrucker[4]->setChecked(Setting(27) == 1);
      const bool summen = TaSum.contains(u'1');
      chkDrucker[3]->setVisible(summen);
      platzieren(chkDrucker[4], 240, summen ? 480 * 4 : 480 * 3, 6600, kZeilenhöhe);
      t.versatz = summen ? 1.5 : 0;
      t.erklärung = kDruckenAnfang + (summen ? QStringLiteral("Tagessum-|men und die Legende der Schaltflächen "
                                                              "ausdrucken.")
                                             : QStringLiteral("Legende der|Schaltflächen ausdrucken."));
    }

    // Previews of the code buttons: eight to a row.
    const bool vorschau = t.art == 4 || t.art == 8;
    const int vorschauOben = t.art == 4 ? 480 : 420;
    for (int i = 1; i <= mKnöpfe && i <= 24; ++i) {
      const int reihe = (i - 1) / 8, spalte = (i - 1) % 8;
      const int oben = vorschauOben + reihe * kVorschauzeile;
      const int links = 240 + spalte * kVorschauabstand + (t.art == 8 ? 360 : 0);
      platzieren(shpVorschau[i], links, oben, 330, 330);
      platzieren(txtVorschau[i], links + 30, oben + 30, 270, 270);
      platzieren(chkTaSum[i], links + 390, oben + 30, 300, 270);
      platzieren(lblVorschau[i], links - 390, oben + 30, 360, 270);
      txtVorschau[i]->setText(gSFKennbuchstaben.value(i));
      txtVorschau[i]->setStyleSheet(
          QStringLiteral("color: %1; background-color: %2;")
              .arg(zuQColor(gSFTextfarben.value(i)).name(), zuQColor(gSFHintergrundfarben.value(i)).name()));
      QPalette p = shpVorschau[i]->palette();
      p.setColor(QPalette::Window, zuQColor(gSFHintergrundfarben.value(i)));
      shpVorschau[i]->setPalette(p);
      shpVorschau[i]->setVisible(vorschau);
      txtVorschau[i]->setVisible(vorschau);
      chkTaSum[i]->setVisible(t.art == 4);
      chkTaSum[i]->setChecked(TaSum.mid(i - 1, 1) == u"1");
      lblVorschau[i]->setVisible(t.art == 8);
    }
    const int reihen = std::max(1, (std::min(mKnöpfe, 24) + 7) / 8);
    const int zugOben = 420 + reihen * kVorschauzeile + 60;
    platzieren(lblVorschau[25], 240, zugOben + 45, 2000, kZeilenhöhe);
    platzieren(txtSfNr[1], 2280, zugOben, 420, 315);
    platzieren(lblVorschau[26], 2820, zugOben + 45, 3300, kZeilenhöhe);
    platzieren(txtSfNr[2], 6180, zugOben, 420, 315);
    platzieren(cmdAuswahl[2], 240, zugOben + 435, 3000, kKnopfhöhe);
    for (QWidget* w :
         {static_cast<QWidget*>(lblVorschau[25]), static_cast<QWidget*>(lblVorschau[26]),
          static_cast<QWidget*>(txtSfNr[1]), static_cast<QWidget*>(txtSfNr[2]), static_cast<QWidget*>(cmdAuswahl[2])})
      w->setVisible(t.art == 8);
    cmdAuswahl[2]->setEnabled(!txtSfNr[1]->text().isEmpty() && !txtSfNr[2]->text().isEmpty());

    // The explanation: its lower edge stays where it is, its top follows the offset.
    // It never covers the controls above it, whatever their height in this font.
    int unten = 0;
    for (QWidget* w : fraRahmen->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (w != lblBeschriftung[2] && !w->isHidden() && !(t.optionen == 0 && w == optOption[1]))
        unten = std::max(unten, w->geometry().bottom() + 1);
    const int oben = std::max(px(2400 + 180 * t.versatz), unten + px(90));
    lblBeschriftung[2]->setGeometry(px(240), oben, px(6700), std::max(0, px(4020) - oben));
    lblBeschriftung[2]->setText(Zeilen(t.erklärung));

    // The recorded option, stored again through the same path as a click.
    const int i = std::clamp(t.option + 1, 1, 4);
    optOption[i]->setChecked(true);
    optOption_Click(i, false);
  });
}

// ---------------------------------------------------------------------------------------
// Events

void frmEinstellungen::optOption_Click(int index, bool nutzer) {
  if (!optOption[index]->isChecked()) return;
  const QString text = lstListe->currentItem() ? lstListe->currentItem()->text() : QString();
  const bool krank = text == u"Krankheitstage";
  txtBuchst[1]->setEnabled(!krank || index != 1);
  lblBuchst[1]->setEnabled(!krank || index != 1);
  if (text == u"Programmaufruf sperren") {
    txtSperre->setEnabled(index != 1);
    if (index == 2 && nutzer) txtSperre->setFocus();
  }
  Einstellungen_merken(0, nutzer);
}

void frmEinstellungen::optResturlaub_Click(int index) {
  if (index == 1)
    cmbMonat[2]->setCurrentIndex(-1);
  else if (cmbMonat[2]->currentIndex() < 0)
    cmbMonat[2]->setCurrentIndex(cmbMonat[1]->currentIndex());
}

void frmEinstellungen::cmbMonat_Click() {
  if (cmbMonat[2]->currentIndex() >= 0) optResturlaub[2]->setChecked(true);
}

void frmEinstellungen::cmdAuswahl_Click(int index) {
  Prozedur(kName + QStringLiteral("cmdAuswahl_Click"), [&] {
    switch (index) {
      case 1:
        setProperty("Tag", SettingStr(25, 1));
        eigenes_Schreiben([this] { frmFarbeinstellungen::anzeigen(this, Setting(25), chkÜberschrift->isChecked()); });
        break;
      case 2:
        eigenes_Schreiben([this] {
          if (Schaltflächen_verschieben(txtSfNr[1]->text(), txtSfNr[2]->text(), TaSum)) {
            txtSfNr[1]->clear();
            txtSfNr[2]->clear();
          }
        });
        Einstellungen_anzeigen();
        break;
      case 3:
        if (!Plausibilitätsprüfung()) return;
        Einstellungen_übernehmen();
        accept();
        break;
      default:
        reject();
    }
  });
}

void frmEinstellungen::eigenes_Schreiben(const std::function<void()>& schreiben) {
  // A button move or a colour change writes the configuration at once; that write is
  // this dialog's own and must not refuse its OK later. A write of another workstation
  // from before it still does.
  const bool fremd = mStand->fremdGeschrieben(false, true);
  schreiben();
  if (!fremd) mStand.emplace();
}

bool frmEinstellungen::eventFilter(QObject* ziel, QEvent* e) {
  auto* feld = qobject_cast<QLineEdit*>(ziel);
  if (feld && e->type() == QEvent::FocusIn) {
    QTimer::singleShot(0, feld, [feld] { feld->selectAll(); });
  } else if (feld && e->type() == QEvent::FocusOut) {
    const QString t = feld->text().trimmed();
    if (t != feld->text()) feld->setText(t);
  } else if ((ziel == txtLogbuch || ziel == txtSfNr[1] || ziel == txtSfNr[2]) && e->type() == QEvent::KeyPress) {
    // The number boxes take digits and Backspace; moving keys pass.
    auto* k = static_cast<QKeyEvent*>(e);
    const QString t = k->text();
    if (!t.isEmpty() && k->key() != Qt::Key_Backspace && t.at(0).isPrint() &&
        !(t.size() == 1 && t[0] >= u'0' && t[0] <= u'9'))
      return true;
  }
  return QDialog::eventFilter(ziel, e);
}

// ---------------------------------------------------------------------------------------
// Storing a choice and the checks

namespace {
// Topic number and the setting that holds its choice unchanged.
const std::map<int, int> kEinfacheThemen = {{3, 10}, {4, 11}, {7, 8}, {8, 4}, {11, 30}, {13, 19}, {18, 6}, {19, 3}};
}  // namespace

void frmEinstellungen::Einstellungen_merken(int index, bool prüfen) {
  Prozedur(kName + QStringLiteral("Einstellungen_merken"), [&] {
    if (!lstListe->currentItem()) return;
    const int n = ListenNr(lstListe->currentItem()->text());
    const int option = Ausgewählte_Option();
    bool neuAufbauen = false;
    switch (n) {
      case 1: {
        const int vorher = Setting(28);
        SetSetting(28, option);
        neuAufbauen = vorher != option;
        break;
      }
      case 2:
        if (option == 1 && ::SettingStr(1, 1) == u"2" && Setting(18) == 0)
          SetSetting(1, 2);
        else
          SetSetting(1, option);
        break;
      case 5:
        SetSetting(18, option == 0 ? 1 : 0);
        if (::SettingStr(1, 1) == u"2" && Setting(1) == 1 && Setting(18) == 0) SetSetting(1, 2);
        break;
      case 6:
        SetSetting(17, option == 0 ? 1 : 0);
        break;
      case 9:
        if (index >= 1 && index <= 4) SetSetting(19 + index, Buchstabe(txtBuchst[index]));
        break;
      case 10:
        if (index >= 1 && index <= 4) SetSetting(33 + index, Buchstabe(txtBuchst[index]));
        break;
      case 12:
        if (index == 1) SetSetting(24, Buchstabe(txtBuchst[1]));
        SetSetting(5, option);
        break;
      case 14:
        Schulferien = option;
        break;
      case 15:
        SetSetting(41, option);
        if (Druckboxen_unberührt) SetSetting(42, Setting(41));
        break;
      case 16: {
        QString auswahl;
        for (int i = 1; i <= mKnöpfe && i <= 24; ++i) auswahl += chkTaSum[i]->isChecked() ? u'1' : u'0';
        TaSum = auswahl.leftJustified(24, u'0');
        break;
      }
      case 17:
        SetSetting(25, option);
        Überschrift = chkÜberschrift->isChecked() ? 1 : 0;
        break;
      case 20:
        SetSetting(26, chkDrucker[1]->isChecked() ? 1 : 0);
        SetSetting(42, chkDrucker[2]->isChecked() ? 1 : 0);
        TaSumDrucken = chkDrucker[3]->isChecked() ? 1 : 0;
        SetSetting(27, chkDrucker[4]->isChecked() ? 1 : 0);
        Druckboxen_unberührt = false;
        break;
      default:
        // The other topics store their choice as it is in one setting.
        if (const auto p = kEinfacheThemen.find(n); p != kEinfacheThemen.end()) SetSetting(p->second, option);
        break;
    }
    if (index == 0) {
      if (!prüfen || PlausibilitätsEinzelprüfung())
        Themen[n].option = option;
      else
        Einstellungen_anzeigen();
    }
    if (neuAufbauen) Listenfeld_aufbauen();
  });
}

bool frmEinstellungen::PlausibilitätsEinzelprüfung() {
  const QString thema = lstListe->currentItem() ? lstListe->currentItem()->text() : QString();
  if ((thema == u"Berechtigung zum Programmaufruf" && Setting(1) == 0 && Setting(18) == 0) ||
      (thema == u"Windows-Benutzername" && Setting(28) == 1 && Setting(18) == 0)) {
    Meldung(QStringLiteral(
        "Diese Einstellung kann nur gewählt werden, wenn die Verwendung von Anzeigeberechtigungen deaktiviert ist"));
    return false;
  }
  if (!gPrivilegierte.isEmpty() && gPrivilegierte.first() != u"NoAdmins" && Setting(11) == 0) {
    Meldung(
        QStringLiteral("Es sind Privilegierte Benutzer vorhanden. Löschen Sie zuerst die Privilegierten Benutzer "
                       "unter 'Bearbeiten - Privilegierte Benutzer'."));
    return false;
  }
  if (thema == u"Anzeigeberechtigungen" && Setting(18) == 0 && Setting(1) == 0) {
    Meldung(
        QStringLiteral("Um Anzeigeberechtigungen vergeben zu können, muss unter 'Berechtigung zum "
                       "Programmaufruf' eingestellt sein, dass nur eingetragene Mitarbeiter das Programm aufrufen "
                       "können."));
    return false;
  }
  if (thema == u"Anzeigeberechtigungen" && Setting(18) == 1 && Setting(1) == 2) {
    if (!Frage(QStringLiteral("Es wurden Anzeigeberechtigungen vergeben. Möchten Sie wirklich alle "
                              "Anzeigebeschränkungen aufheben und den Mitarbeitern erlauben, die "
                              "An-/Abwesenheitszeiten aller Mitarbeiter anzuzeigen?"),
               QStringLiteral("Velkora")))
      return false;
    SetSetting(1, 1);
  }
  if (Setting(17) == 1 && ::Setting(17) == 0 &&
      Datei_vorhanden(gDatenordner + QStringLiteral("Mitarbeiteranzgru.dat"))) {
    Meldung(QStringLiteral("Es wurden ") +
            (Anzeigegruppen_Anzahl() == 0 ? QStringLiteral("von Mitarbeitern ") : QString()) +
            QStringLiteral("Anzeigegruppen eingerichtet. Solange Anzeigegruppen vorhanden sind, können Sie diese "
                           "Einstellung nicht ändern."));
    return false;
  }
  return true;
}

bool frmEinstellungen::Plausibilitätsprüfung() {
  return Prozedur(kName + QStringLiteral("Plausibilitätsprüfung"), [&]() -> bool {
    const auto melden = [this](int thema, const QString& text, QWidget* fokus) {
      Thema_zeigen(thema);
      Meldung(text);
      if (fokus) fokus->setFocus();
      return false;
    };

    if (::SettingStr(1, 1) == u"2" && Setting(18) == 1) {
      Thema_zeigen(5);
      if (!Frage(QStringLiteral("Es werden jetzt alle Anzeigebeschränkungen gelöscht.\r\rMöchten Sie fortsetzen?"),
                 QStringLiteral("Velkora")))
        return false;
    }

    // Entitlements with decimals that the chosen entry form cannot show.
    if (Setting(30) <= 1) {
      const QString verboten =
          QStringLiteral("1234") + (Setting(30) == 0 ? QStringLiteral("5") : QString()) + QStringLiteral("6789");
      for (int r = 1; r <= Mitarbeiterzeilen(); ++r) {
        const QString u = gUrlaubsdaten.value(r);
        if (u.isEmpty()) continue;
        bool treffer = false;
        for (int stelle : {11, 17, 23, 29})
          if (u.size() >= stelle && verboten.contains(u[stelle - 1])) treffer = true;
        const QString s = gSonderurlaubsanspruch.value(r);
        if (!s.isEmpty() && verboten.contains(s.back())) treffer = true;
        if (treffer) {
          Meldung(
              QStringLiteral("Änderungen können nicht gespeichert werden. Es sind Urlaubsansprüche mit "
                             "Nachkommastellen vorhanden."));
          Thema_zeigen(11);
          return false;
        }
      }
    }

    // Letters a file line cannot hold.
    const auto zulässig = [](const QString& c) { return c == u"#" || cp1252::eingabeZulässig(c); };
    for (int k = 1; k <= 4; ++k) {
      if (!zulässig(SettingStr(19 + k, 1)))
        return melden(9, QString::fromUtf16(cp1252::kUnzulässigesSonderzeichen), txtBuchst[k]);
      if (!zulässig(SettingStr(33 + k, 1)))
        return melden(10, QString::fromUtf16(cp1252::kUnzulässigesSonderzeichen), txtBuchst[k]);
    }
    if (!zulässig(SettingStr(24, 1)))
      return melden(12, QString::fromUtf16(cp1252::kUnzulässigesSonderzeichen), txtBuchst[1]);

    for (int i = 1; i <= 3; ++i)
      for (int j = i + 1; j <= 4; ++j) {
        const QString a = SettingStr(19 + i, 1), b = SettingStr(19 + j, 1);
        if (a == b && a != u"#") return melden(9, QStringLiteral("Kennbuchstabe mehrfach vorhanden"), txtBuchst[j]);
        const QString c = SettingStr(33 + i, 1), d = SettingStr(33 + j, 1);
        if (c == d && c != u"#") return melden(10, QStringLiteral("Kennbuchstabe mehrfach vorhanden"), txtBuchst[j]);
      }

    // A letter that several buttons of the same kind share cannot name one of them.
    const auto geteilt = [this](const QString& buchstabe) {
      for (int a = 1; a <= mKnöpfe; ++a)
        for (int b = a + 1; b <= mKnöpfe; ++b)
          if (gSFKennbuchstaben.value(a) == buchstabe && gSFKennbuchstaben.value(b) == buchstabe &&
              gSFNurAdmins.value(a) == gSFNurAdmins.value(b))
            return true;
      return false;
    };
    if (::SettingStr(33, 5) == u"0####")
      for (int k = 1; k <= 4; ++k) {
        const QString c = SettingStr(19 + k, 1);
        if (c != u"#" && geteilt(c))
          return melden(9,
                        QStringLiteral("Kennbuchstabe '") + c +
                            QStringLiteral("' kann für Urlaubstage nicht verwendet werden, so lange mehr als eine "
                                           "Schaltfläche mit diesem Kennbuchstaben vorhanden ist"),
                        txtBuchst[k]);
      }

    if (optResturlaub[2]->isChecked() && cmbMonat[2]->currentIndex() < cmbMonat[1]->currentIndex())
      return melden(
          11, QStringLiteral("Datum an dem der Resturlaub verfällt muss nach dem Beginn des Urlaubsjahres liegen"),
          cmbMonat[2]);

    if (gSFVerbergenText == u"void" && Setting(5) == 1) {
      if (SettingStr(24, 1) == u"#") return melden(12, QStringLiteral("Kennbuchstabe fehlt"), txtBuchst[1]);
      if (geteilt(SettingStr(24, 1)))
        return melden(12,
                      QStringLiteral("Kennbuchstabe '") + SettingStr(24, 1) +
                          QStringLiteral("' kann für Krankheitstage nicht verwendet werden, so lange mehr als eine "
                                         "Schaltfläche mit diesem Kennbuchstaben vorhanden ist"),
                      txtBuchst[1]);
    }

    const QString monate = txtLogbuch->text();
    bool zahl = false;
    const int wert = monate.toInt(&zahl);
    if (monate.isEmpty() || !zahl || wert < 1 || (wert > 24 && monate != u"99"))
      return melden(19, QStringLiteral("Speicherdauer muss zwischen 1 und 24 Monate liegen"), txtLogbuch);
    const int bisher = ::SettingStr(29, 1) == u"0" ? 99 : HexDec(::SettingStr(29, 1));
    if (wert < bisher && !Frage(QStringLiteral("Hinweis: Logbucheinträge, die älter als ") + monate +
                                    QStringLiteral(" Monate sind, werden gelöscht.\r\rMöchten Sie fortsetzen?"),
                                QStringLiteral("Velkora")))
      return false;

    if (Themen[22].option == 1) {
      const QString sperre = txtSperre->text();
      if (sperre.isEmpty()) return melden(22, QStringLiteral("Text fehlt"), txtSperre);
      // The lock's reader splits at the first "|".
      if (sperre.contains(u'|') || !cp1252::eingabeZulässig(sperre))
        return melden(22, QString::fromUtf16(cp1252::kUnzulässigesSonderzeichen), txtSperre);
    }

    if (SettingStr(20, 4) == u"####" && ::SettingStr(20, 4) != u"####")
      Meldung(
          QStringLiteral("Hinweis: Es wurde kein Kennbuchstabe für Urlaub angegeben. Die Urlaubsübersicht wird "
                         "künftig nicht mehr angezeigt."));
    return true;
  });
}

// ---------------------------------------------------------------------------------------
// Applying

bool frmEinstellungen::Sperre_geändert() const {
  const bool gesperrt = Themen[22].option == 1;
  return gesperrt != mSperreAnfang || (gesperrt && txtSperre->text() != mSperrtextAnfang);
}

void frmEinstellungen::Einstellungen_übernehmen() {
  Prozedur(kName + QStringLiteral("Einstellungen_übernehmen"), [&] {
    // Second letters move up into an empty first place.
    for (const auto& [erste, zweite] : {std::pair{20, 22}, {21, 23}, {34, 36}, {35, 37}}) {
      if (SettingStr(erste, 1) == u"#" && SettingStr(zweite, 1) != u"#") {
        SetSetting(erste, SettingStr(zweite, 1));
        SetSetting(zweite, QStringLiteral("#"));
      }
    }
    SetSetting(31, DecHex(cmbMonat[1]->currentIndex() + 1));
    SetSetting(38, optResturlaub[1]->isChecked() || cmbMonat[2]->currentIndex() < 0
                       ? QStringLiteral("0")
                       : DecHex(cmbMonat[2]->currentIndex() + 1));
    SetSetting(29, txtLogbuch->text() == u"99" ? QStringLiteral("0") : DecHex(txtLogbuch->text().toInt()));

    const bool admin = gBenutzerstufe == 2;
    // Nothing is written over a configuration another workstation wrote since this one
    // read it.
    if (admin && (Einstellungen != gSettings || Sperre_geändert()) && !mStand->unverändert(false, true)) return;

    // The lock file changes only when the user changed the lock here: a lock set
    // elsewhere since, or the repair's notice, stays as it is.
    if (admin && Sperre_geändert()) {
      if (Themen[22].option == 0) {
        if (!Sperrdatei_entfernen())
          Meldung(QStringLiteral("Fehler: Die Sperrdatei ") + ShowPfad(Sperrdateipfad(), 100) +
                  QStringLiteral(" konnte nicht gelöscht werden. Bitte löschen Sie diese Datei manuell."));
        gSperrmeldung.clear();
      } else {
        Sperrdatei_anlegen();
      }
    }

    if (TaSum != gTaSum[1]) {
      gTaSum[1] = TaSum;
      gBenutzerwerte[25] = TaSum == QString(24, u'0') ? 0 : 1;
      gBenutzerwerteSumme = 0;
    }
    gBenutzerwerte[26] = Überschrift;
    gBenutzerwerte[27] = Schulferien;
    gBenutzerwerte[30] = TaSumDrucken;
    Ferientage_suchen();

    if (Einstellungen == gSettings) return;
    Sanduhr_Warten_ein();
    const auto unterschied = [this](int von, int bis) {
      return Einstellungen.mid(von - 1, bis - von + 1) != gSettings.mid(von - 1, bis - von + 1);
    };
    if (unterschied(1, 24) || unterschied(28, 39)) {
      if (!Backup_erstellen(QStringLiteral("A"))) {
        Logbuch_ergänzen(2, QStringLiteral("Backup vor Ändern von Einstellungen konnte nicht erstellt werden"));
        Meldung(QStringLiteral("Speichern der Einstellungen nicht möglich, da Backup nicht erstellt werden konnte"));
        Sanduhr_Warten_aus();
        return;
      }
    }
    gSettings = Einstellungen;
    if (::Setting(28) == 1 && ::Setting(18) == 0) ::SetSetting(18, 1);
    if (::Setting(18) == 0 && Datei_vorhanden(gDatenordner + QStringLiteral("Mitarbeiteranzber.dat")))
      ::SetSetting(1, 2);
    ::SetSetting(33, ::SettingStr(34, 4) == u"####" ? 0 : 1);
    gBenutzerwerte[22] = ::Setting(25);
    gBenutzerwerte[23] = ::Setting(26);
    gBenutzerwerte[24] = ::Setting(27);
    gBenutzerwerte[28] = ::Setting(41);
    gBenutzerwerte[29] = ::Setting(42);
    gBenutzerwerteSumme = 0;
    if (admin) {
      Konfigdaten_schreiben();
      Konfigdaten_lesen();
      gUrlaub1Leer = false;
      if (gResturlaubVerfall >= 2 && gResturlaubVerfall > gUrlaubsjahrBeginn) Mitarbeiterdaten_lesen();
      Logbuch_ergänzen(2, QStringLiteral("Einstellungen geändert"));
    }
    Sanduhr_Warten_aus();
  });
}

void frmEinstellungen::Sperrdatei_anlegen() {
  if (!::Sperrdatei_anlegen(txtSperre->text()))
    Meldung(QStringLiteral("Fehler: Die Sperrdatei ") + ShowPfad(Sperrdateipfad(), 100) +
            QStringLiteral(" konnte nicht angelegt werden"));
}
