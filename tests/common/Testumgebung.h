#pragma once
// A clean program for each test: every unit's state reset, scripted prompts, a test
// clock, a German locale and a temporary folder that stands in for the machine.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <utility>

#include "platform/Dialoge.h"
#include "platform/Programmende.h"
#include "platform/Uhr.h"

class VelkoraTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The temporary folder, ending in "/".
  QString ordner() const { return mOrdner; }
  // Creates a sub folder of the temporary folder (and its parents); returns it with "/".
  QString unterordner(const QString& name) const;
  // Sets the folder globals as a started program on data folder <tmp>/Data/ has them.
  void ordnerEinrichten();
  // A started program's state for the month record tests: the folders, "." as date
  // separator, planning year 2025, the default settings, an administrator, the opaque
  // line kKennzeile, the captions of the code buttons (the erase button last) and the
  // employee table as (name, user name) pairs, a heading with an empty user name.
  void monatsbestand(const QStringList& knopftexte, const QList<std::pair<QString, QString>>& mitarbeiter);

  dialoge::Skript* skript = nullptr;
  uhr::Testuhr uhr;

 private:
  QTemporaryDir mTmp;
  QString mOrdner;
};

// The start sequence's hooks into the windows as inert stand-ins, for tests that run
// without the program's wiring and without windows; the set-up installs them.
void Fensterhaken_ohne_Fenster();

// Waits block for real on a real monotonic clock, for tests against another process
// that holds a lock in real time; the date and the time of day stay the test clock's.
void echteWartezeiten();

// The opaque line 2 of the data files the month record tests write.
inline const QString kKennzeile = QStringLiteral("Kennung 4711-ABC");
// 31 code characters from a shorter text, padded with blanks.
inline QString tage(const QString& anfang) { return anfang.leftJustified(31, u' '); }

// Files as bytes.
QByteArray lesen(const QString& pfad);
void schreiben(const QString& pfad, const QByteArray& inhalt);
// An independent reading of the line encoding, for checking written files.
QStringList dekodierteZeilen(const QString& pfad);
QByteArray kodiert(const QStringList& zeilen, unsigned char schlüssel = 'K');
// The lines in the program's own line encoding over Windows-1252, key 'K'; an empty
// text is an empty line of the file, without even a key character.
QByteArray kodierteDatei(const QStringList& zeilen);

// Expects a fatal stop from the statement and returns the exception's code.
#define ERWARTE_PROGRAMMENDE(stmt)                              \
  do {                                                          \
    bool _beendet = false;                                      \
    try {                                                       \
      stmt;                                                     \
    } catch (const ProgrammBeendet&) {                          \
      _beendet = true;                                          \
    }                                                           \
    EXPECT_TRUE(_beendet) << "the program did not end: " #stmt; \
  } while (0)
