#include "common/Testumgebung.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include "launch/Programmstart.h"
#include "platform/Gebietsschema.h"
#include "platform/Umgebung.h"
#include "platform/Zustand.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

void VelkoraTest::SetUp() {
  ASSERT_TRUE(mTmp.isValid());
  mOrdner = mTmp.path() + u'/';
  zustand::alleZurücksetzen();
  Starthaken_setzen();
  Fensterhaken_ohne_Fenster();
  uhr::zurücksetzen();
  uhr.einsetzen();
  skript = &dialoge::skript();
  gebietsschema::setze(gebietsschema::Werte{QStringLiteral("49"), QStringLiteral("DEU"), QStringLiteral(";"),
                                            QStringLiteral("."), QStringLiteral("1"), QStringLiteral(",")});
  qputenv("TEMP", QFile::encodeName(unterordner(QStringLiteral("Temp"))));
  qputenv("USERNAME", "tester");
  umgebung::setzeProgrammordner(unterordner(QStringLiteral("Programm")));
}

// The start sequence's hooks into the windows, for the tests that run it (or parts of
// it) without windows; the program's wiring, and the tests that watch the windows
// come and go, put in their own.
void Fensterhaken_ohne_Fenster() {
  gFensterhaken.splash_zeigen = [] {};
  gFensterhaken.splash_entladen = [] {};
  gFensterhaken.hauptfenster_laden = [] {};
  gFensterhaken.hauptfenster_zeigen = [] {};
  gFensterhaken.hauptfenster_neu_zeichnen = [] {};
  gFensterhaken.titel_setzen = [] {};
}

void VelkoraTest::TearDown() {
  QDir::setCurrent(QDir::tempPath());
  zustand::alleZurücksetzen();
  uhr::zurücksetzen();
  gebietsschema::setze(std::nullopt);
  umgebung::setzeProgrammordner(QString());
  dialoge::skript();
}

QString VelkoraTest::unterordner(const QString& name) const {
  QDir().mkpath(mOrdner + name);
  return mOrdner + name + u'/';
}

void VelkoraTest::ordnerEinrichten() {
  gHeute = uhr.datum;
  gHeuteText = QStringLiteral("%1%2%3")
                   .arg(gHeute.year() % 100, 2, 10, QChar(u'0'))
                   .arg(gHeute.month(), 2, 10, QChar(u'0'))
                   .arg(gHeute.day(), 2, 10, QChar(u'0'));
  gBenutzername = QStringLiteral("tester");
  gProgrammordner = unterordner(QStringLiteral("Programm"));
  gBasisordner = gProgrammordner;
  gDatenordner = unterordner(QStringLiteral("Data"));
  gLogordner = unterordner(QStringLiteral("Data/Logs"));
  gSicherungsordner = unterordner(QStringLiteral("Data/Backups"));
  gIniOrdner = unterordner(QStringLiteral("Data/IniFiles"));
  gTempOrdner = unterordner(QStringLiteral("Temp"));
}

void VelkoraTest::monatsbestand(const QStringList& knopftexte, const QList<std::pair<QString, QString>>& mitarbeiter) {
  ordnerEinrichten();
  gDatumstrennzeichen = QStringLiteral(".");
  gSettings = Standardeinstellungen();
  gPlanungsjahr = 2025;
  gBenutzerstufe = 2;
  gKennzeile = kKennzeile;
  gSFTexte = QStringList{QString()} + knopftexte;
  gMitarbeiterNamen = QStringList{QString()};
  gBenutzerIDs = QStringList{QString()};
  for (const auto& [name, benutzer] : mitarbeiter) {
    gMitarbeiterNamen << name;
    gBenutzerIDs << benutzer;
  }
  Mitarbeitertabelle_dimensionieren(static_cast<int>(mitarbeiter.size()));
}

QByteArray lesen(const QString& pfad) {
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void schreiben(const QString& pfad, const QByteArray& inhalt) {
  QFile f(pfad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(pfad);
  f.write(inhalt);
}

// Written from the description of the encoding, not from the program's codec, so
// that a fault in the codec cannot hide itself.
QStringList dekodierteZeilen(const QString& pfad) {
  QStringList r;
  const QByteArray alles = lesen(pfad);
  for (const QByteArray& z : alles.split('\n')) {
    QByteArray zeile = z;
    if (zeile.endsWith('\r')) zeile.chop(1);
    if (zeile.isEmpty()) continue;
    int k = static_cast<unsigned char>(zeile[0]) % 64;
    QString t;
    for (int i = 1; i < zeile.size(); ++i) {
      k = (k + 1) % 64;
      int d = static_cast<unsigned char>(zeile[i]) - k;
      if (d < 32) d += 224;
      t += QString::fromLatin1(QByteArray(1, static_cast<char>(d)));  // Latin-1 covers the test texts
    }
    r << t;
  }
  return r;
}

QByteArray kodiert(const QStringList& zeilen, unsigned char schlüssel) {
  QByteArray r;
  for (const QString& t : zeilen) {
    r += static_cast<char>(schlüssel);
    int k = schlüssel % 64;
    for (char c : t.toLatin1()) {
      const int a = static_cast<unsigned char>(c);
      if (a < 32) continue;
      k = (k + 1) % 64;
      int e = a + k;
      if (e > 255) e -= 224;
      r += static_cast<char>(e);
    }
    r += "\r\n";
  }
  return r;
}

void echteWartezeiten() {
  static QElapsedTimer seit;
  seit.start();
  uhr::Quellen echt;
  echt.monoton = [] { return seit.nsecsElapsed() / 1e9; };
  echt.schlafen = [](double s) { QThread::usleep(static_cast<unsigned long>(s * 1e6)); };
  uhr::setze(echt);
}

QByteArray kodierteDatei(const QStringList& zeilen) {
  QByteArray r;
  for (const QString& z : zeilen) {
    if (!z.isEmpty()) r += Zeile_kodieren(z, 'K');
    r += "\r\n";
  }
  return r;
}
