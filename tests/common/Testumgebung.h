#pragma once
// A clean program for each test: every unit's state reset, scripted prompts, a test
// clock, a German locale and a temporary folder that stands in for the machine.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

  dialoge::Skript* skript = nullptr;
  uhr::Testuhr uhr;

 private:
  QTemporaryDir mTmp;
  QString mOrdner;
};

// Files as bytes.
QByteArray lesen(const QString& pfad);
void schreiben(const QString& pfad, const QByteArray& inhalt);
// An independent reading of the line encoding, for checking written files.
QStringList dekodierteZeilen(const QString& pfad);
QByteArray kodiert(const QStringList& zeilen, unsigned char schlüssel = 'K');

// Expects a fatal stop from the statement and returns the exception's code.
#define ERWARTE_PROGRAMMENDE(stmt)                                        \
  do {                                                                    \
    bool _beendet = false;                                                \
    try {                                                                 \
      stmt;                                                               \
    } catch (const ProgrammBeendet&) {                                    \
      _beendet = true;                                                    \
    }                                                                     \
    EXPECT_TRUE(_beendet) << "the program did not end: " #stmt;           \
  } while (0)
