// A lock path that holds no regular file (a link, a folder) was set by no workstation:
// it never blocks. The link itself goes, never what it points to, and the
// administrator logbook names it.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <functional>

#include "common/Testumgebung.h"
#include "startup/Dateisperre.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Start.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Monatsdatei.h"

namespace {

class Sperrverweise : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    monatsbestand({QStringLiteral("Urlaub"), QStringLiteral("Löschen")},
                  {{QStringLiteral("Anna"), QStringLiteral("anna")}});
    ziel = ordner() + QStringLiteral("anderswo.txt");
    schreiben(ziel, "fremde Datei\r\n");
  }
  QStringList logbuch() const {
    QStringList r;
    for (const QString& z : dekodierteZeilen(gLogordner + QStringLiteral("2603 Velkora.log"))) r << z.mid(18);
    return r;
  }
  QString ziel;
};

bool Ist_Verweis_oder_Ordner(const QString& pfad) {
  struct stat st {};
  return ::lstat(QFile::encodeName(pfad).constData(), &st) == 0 && !S_ISREG(st.st_mode);
}

TEST_F(Sperrverweise, SperreDieKeineDateiIstBlockiertNieUndWirdProtokolliert) {
  struct Sperre {
    const char* was;
    std::function<QString()> pfad;
    std::function<bool()> nehmen;  // takes the lock and does its work; true when it went through
  } sperren[] = {
      {"Monat", [] { return Monatssperre_Datei(QStringLiteral("2603")); },
       [] {
         return Monatsdatei_speichern(QStringLiteral("2603"), {QStringLiteral("A:anna:") + tage(QStringLiteral("1"))});
       }},
      {"Logbuch", [] { return gLogordner + QStringLiteral("~2603 Velkora.log.vklock"); },
       [] {
         Logbuch_ergänzen(1, QStringLiteral("Eintrag"));
         return lesen(gLogordner + QStringLiteral("2603 Velkora.log")).size() > 0;
       }},
      {"Anzeigegruppen", [] { return Anzgru_Sperre::Pfad(); },
       [] {
         const Anzgru_Sperre s;
         return s.gehalten();
       }},
  };
  struct Art {
    const char* was;
    std::function<void(const QString& pfad, const QString& ziel)> anlegen;
  } arten[] = {
      {"Verweis auf eine Datei",
       [](const QString& p, const QString& z) {
         ASSERT_EQ(::symlink(QFile::encodeName(z).constData(), QFile::encodeName(p).constData()), 0);
       }},
      {"Verweis ins Leere",
       [](const QString& p, const QString& z) {
         ASSERT_EQ(
             ::symlink(QFile::encodeName(z + QStringLiteral(".fehlt")).constData(), QFile::encodeName(p).constData()),
             0);
       }},
      {"leerer Ordner", [](const QString& p, const QString&) { ASSERT_TRUE(QDir().mkdir(p)); }},
  };
  for (const Sperre& s : sperren)
    for (const Art& a : arten) {
      SCOPED_TRACE(std::string(s.was) + " / " + a.was);
      QFile::remove(gLogordner + QStringLiteral("2603 Velkora.log"));
      const QString pfad = s.pfad();
      a.anlegen(pfad, ziel);
      // An hour old: no watch of its age may be needed to see it is no lock.
      const double vorher = uhr.sekunden;
      EXPECT_TRUE(s.nehmen());
      EXPECT_LT(uhr.sekunden - vorher, 1.0) << "waited for a lock that was none";
      EXPECT_FALSE(Ist_Verweis_oder_Ordner(pfad));
      EXPECT_EQ(lesen(ziel), QByteArray("fremde Datei\r\n")) << "the link's target is never touched";
      EXPECT_TRUE(logbuch().contains(QStringLiteral("tester|VelkoraAdmin|Die Sperrdatei ") + ShowPfad(pfad, 100) +
                                     QStringLiteral(" war keine Datei und wurde entfernt")))
          << qPrintable(logbuch().join(u'\n'));
    }
}

TEST_F(Sperrverweise, EchteSperrdateiBleibtStehen) {
  const QString pfad = Monatssperre_Datei(QStringLiteral("2603"));
  schreiben(pfad, Dateisperre_Kennung(::getpid() + 1));
  EXPECT_FALSE(Unechte_Sperre_entfernen(pfad));
  EXPECT_TRUE(QFile::exists(pfad));
  EXPECT_FALSE(Unechte_Sperre_entfernen(pfad + QStringLiteral(".fehlt")));
  EXPECT_TRUE(logbuch().isEmpty());
}

}  // namespace
