// The start repair of a damaged month file on real files: the month keeps every entry
// that can be read of it, or comes from the newest backup whose copy of it is intact;
// the question, the repair backup, the lock file and the end stay as for every file.
#include <QDir>
#include <QFile>

#include "common/Testumgebung.h"
#include "launch/Startfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"

namespace {

const QString kMonat = QStringLiteral("2603 260305 Data.dat");

QStringList Monat(const QString& kopf, const QStringList& einträge) {
  return QStringList{kopf, kKennzeile, QStringLiteral("NoEx:NoEx")} + einträge;
}
QString A(const QString& benutzer, const QString& codes) {
  return QStringLiteral("A:") + benutzer + u':' + tage(codes);
}

class Monatsreparatur : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    monatsbestand({QStringLiteral("Urlaub"), QStringLiteral("Krank"), QStringLiteral("Löschen")},
                  {{QStringLiteral("Anna"), QStringLiteral("anna")}, {QStringLiteral("Bert"), QStringLiteral("bert")}});
    gStartzeit = uhr.sekunden;
    // The default files need the program's shipped files; the month is what is tested.
    gReparaturdienste.setup_datenordner = [] {};
  }

  // A backup holding the given month files (name, lines), its file time the given hours
  // before the test clock's now.
  void sicherung(const QString& name, const QList<std::pair<QString, QStringList>>& dateien, int stundenVorher) {
    QStringList z{QStringLiteral("[VelkoraBackup]")};
    for (const auto& [datei, zeilen] : dateien)
      z << u'[' + datei + u']' << u'[' + QString::number(zeilen.size()) + u']' << zeilen;
    const QString p = gSicherungsordner + name;
    schreiben(p, kodierteDatei(z));
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime(uhr.datum, uhr.uhrzeit).addSecs(-3600 * stundenVorher),
                              QFileDevice::FileModificationTime));
  }

  // The month's files after the repair, each decoded independently.
  QStringList monatsdateien() const { return QDir(gDatenordner).entryList({QStringLiteral("2603 *")}, QDir::Files); }

  QStringList logbuch() const {
    QStringList r;
    for (const QString& z : dekodierteZeilen(gLogordner + QStringLiteral("2603 Velkora.log"))) r << z.mid(18);
    return r;
  }
};

TEST_F(Monatsreparatur, BehaeltJedenLesbarenEintragOderNimmtDieNeuesteHeileSicherung) {
  const QStringList gut = Monat(QStringLiteral("[2603]"), {A(QStringLiteral("anna"), QStringLiteral("11")),
                                                           A(QStringLiteral("bert"), QStringLiteral("2"))});
  const QStringList gesichert = Monat(QStringLiteral("[2603]"), {A(QStringLiteral("anna"), QStringLiteral("1"))});
  const QStringList älter = Monat(QStringLiteral("[2603]"), {A(QStringLiteral("bert"), QStringLiteral("222"))});
  const QStringList april = Monat(QStringLiteral("[2604]"), {A(QStringLiteral("anna"), QStringLiteral("2222"))});
  const QStringList unlesbar = Monat(QStringLiteral("[2603]"), {QStringLiteral("Unsinn"), QStringLiteral("A:bert:1")});
  const QString admin = QStringLiteral("tester|VelkoraAdmin|");
  const QString zeile = admin + QStringLiteral("Wiederherstellen der Datei ") + kMonat + QStringLiteral(": Zeile ");
  const QString kopf = QStringLiteral(" durch den Dateiheader [2603] ersetzt");
  // Eleven bytes that are no line the program writes, in place of the header.
  const QByteArray unsinn("\x01\xff\x7f\x00\x1b\x9c\x80\x05\xfe\x11\x07", 11);
  const QString kein = QStringLiteral(
                           "Wiederherstellen aus Backup nicht möglich: Keine Sicherung enthält eine "
                           "unbeschädigte Kopie der Datei '") +
                       kMonat + QStringLiteral("'. Die Datei wurde durch eine Standardversion ersetzt.");
  struct Fall {
    const char* was;
    QByteArray datei;
    QList<std::pair<QString, QList<std::pair<QString, QStringList>>>> sicherungen;  // newest first
    QStringList erwartet;  // the month's lines afterwards, empty: no month file
    QStringList protokoll;
    QString meldung = QString();  // shown besides the question and the end
  } fälle[] = {
      {"letzte Zeile abgeschnitten",
       kodierteDatei(gut) + kodiert({A(QStringLiteral("carl"), QStringLiteral("1"))}).left(12),
       {{QStringLiteral("260309 080000 T.dat"), {{kMonat, gesichert}}}},
       gut,
       {zeile + QStringLiteral("6 unvollständig und entfernt")}},
      // A whole line that lost only its line end is kept, with one.
      {"letzte Zeile ohne Zeilenende, aber ganz, hinter einem fremden Kopf",
       kodierteDatei(Monat(QStringLiteral("[2604]"), {gut[3]})) +
           kodiert({A(QStringLiteral("bert"), QStringLiteral("2"))}).chopped(2),
       {{QStringLiteral("260309 080000 T.dat"), {{kMonat, gesichert}}}},
       gut,
       {zeile + QStringLiteral("1") + kopf}},
      // The first three lines are no entry or comment lines: one of them that lost only
      // its line end is taken as it stands, as the reader takes it.
      {"dritte Zeile ohne Zeilenende hinter einem fremden Kopf",
       kodierteDatei(QStringList{QStringLiteral("[2604]"), kKennzeile}) + kodiert({QStringLiteral("W:05")}).chopped(2),
       {},
       QStringList{QStringLiteral("[2603]"), kKennzeile, QStringLiteral("W:05")},
       {zeile + QStringLiteral("1") + kopf,
        admin + QStringLiteral("Wiederherstellen der Datei ") + kMonat + QStringLiteral(" aus Backup fehlgeschlagen")},
       kein},
      {"beschaedigte Zeile",
       kodierteDatei(
           Monat(QStringLiteral("[2603]"), {gut[3], QStringLiteral("A:bert:12"), QStringLiteral("Unsinn"), gut[4]})),
       {},
       gut,
       {zeile + QStringLiteral("5 beschädigt und entfernt"), zeile + QStringLiteral("6 beschädigt und entfernt")}},
      // The file's name says which month it is: a header of another month is written
      // anew and every entry kept, whatever a backup holds.
      {"Kopf eines anderen Monats",
       kodierteDatei(april),
       {{QStringLiteral("260309 080000 T.dat"), {{kMonat, gesichert}}}},
       Monat(QStringLiteral("[2603]"), {april[3]}),
       {zeile + QStringLiteral("1") + kopf}},
      {"anderer Kopf ohne Sicherung",
       kodierteDatei(april),
       {},
       Monat(QStringLiteral("[2603]"), {april[3]}),
       {zeile + QStringLiteral("1") + kopf}},
      {"Kopf aus Unsinn",
       unsinn + "\r\n" + kodierteDatei(gut.mid(1)),
       {{QStringLiteral("260309 080000 T.dat"), {{kMonat, gesichert}}}},
       gut,
       {zeile + QStringLiteral("1") + kopf}},
      {"Kopf und eine beschaedigte Zeile",
       kodierteDatei(Monat(QStringLiteral("[2604]"), {gut[3], QStringLiteral("A:bert:12"), gut[4]})),
       {},
       gut,
       {zeile + QStringLiteral("1") + kopf, zeile + QStringLiteral("5 beschädigt und entfernt")}},
      // Only when no entry line can be read does a backup give the month.
      {"keine lesbare Zeile",
       QByteArray("x\r\n"),
       {{QStringLiteral("260309 170000 A.dat"), {{kMonat, gesichert}}}},
       gesichert,
       {admin + QStringLiteral("Datei ") + kMonat +
        QStringLiteral(" aus Backup 260309 170000 A.dat wiederhergestellt")}},
      {"neueste Sicherung haelt den Schaden, die aeltere nicht",
       kodierteDatei(unlesbar),
       {{QStringLiteral("260310 080000 T.dat"), {{kMonat, april}}},
        {QStringLiteral("260309 080000 T.dat"), {{kMonat, unlesbar}}},
        {QStringLiteral("260301 080000 M.dat"), {{QStringLiteral("2603 260228 Data.dat"), älter}}}},
       älter,
       {admin + QStringLiteral("Datei ") + kMonat +
        QStringLiteral(" aus Backup 260301 080000 M.dat wiederhergestellt")}},
      {"nur die ersten drei Zeilen: nie leer, solange eine Sicherung den Monat hat",
       kodierteDatei(Monat(QStringLiteral("[2603]"), {})),
       {{QStringLiteral("260309 080000 T.dat"), {{kMonat, gesichert}}}},
       gesichert,
       {admin + QStringLiteral("Datei ") + kMonat +
        QStringLiteral(" aus Backup 260309 080000 T.dat wiederhergestellt")}},
      {"keine lesbare Zeile, jede Sicherung beschaedigt",
       kodierteDatei(unlesbar),
       {{QStringLiteral("260310 080000 T.dat"), {{kMonat, april}}},
        {QStringLiteral("260309 080000 T.dat"), {{kMonat, unlesbar}}}},
       Monat(QStringLiteral("[2603]"), {}),
       {zeile + QStringLiteral("4 beschädigt und entfernt"), zeile + QStringLiteral("5 beschädigt und entfernt"),
        admin + QStringLiteral("Wiederherstellen der Datei ") + kMonat + QStringLiteral(" aus Backup fehlgeschlagen")},
       kein},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.was);
    for (const QString& d : {gDatenordner, gSicherungsordner, gLogordner})
      for (const QString& n : QDir(d).entryList(QDir::Files)) QFile::remove(d + n);
    const QString pfad = gDatenordner + kMonat;
    schreiben(pfad, f.datei);
    int stunden = 1;
    for (const auto& [name, dateien] : f.sicherungen) sicherung(name, dateien, stunden++ * 10);
    gStörungAnzeigen = true;
    skript = &dialoge::skript();
    skript->antworte(dialoge::kJa);
    ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Monat defekt"), pfad, QString()));

    // The repair's own steps stay: the backup of kind F first, the lock file naming
    // the damaged file.
    EXPECT_EQ(Dateiliste(gSicherungsordner, QStringLiteral("260310 ?????? F.dat")).size(), 1);
    EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Lockfile.txt")).split('\n').value(1), (pfad + u'\r').toUtf8());
    const QStringList dateien = monatsdateien();
    if (f.erwartet.isEmpty()) {
      EXPECT_TRUE(dateien.isEmpty()) << qPrintable(dateien.join(u','));
    } else {
      ASSERT_EQ(dateien, QStringList{QStringLiteral("2603 260310 Data.dat")});
      EXPECT_EQ(dekodierteZeilen(gDatenordner + dateien[0]), f.erwartet);
    }
    QStringList protokoll = logbuch();
    protokoll.removeIf([](const QString& z) { return z.contains(QStringLiteral("Startfehler: ")); });
    EXPECT_EQ(protokoll, f.protokoll);
    // The question, what the case shows, and the end.
    const std::vector<QString> texte = skript->texte();
    ASSERT_EQ(texte.size(), f.meldung.isEmpty() ? 2u : 3u);
    if (!f.meldung.isEmpty()) {
      EXPECT_EQ(texte[1], f.meldung);
    }
    EXPECT_TRUE(texte.back().startsWith(QStringLiteral("Wiederherstellen beendet.")));
    gStörungsmeldung.clear();
  }
}

}  // namespace
