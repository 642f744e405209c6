// Encodes a UTF-8 text file line by line into the program's line encoding
// (Windows-1252, CR LF), or decodes such a file back to UTF-8 text. Used to build the
// data files shipped with the program from their reviewable plain-text sources.
//   velkora_zeilen kodieren QUELLE.txt ZIEL.dat
//   velkora_zeilen dekodieren QUELLE.dat [ZIEL.txt]
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

#include "platform/Uhr.h"
#include "startup/Zeilencodierung.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList a = app.arguments();
  if (a.size() < 3 || (a[1] != u"kodieren" && a[1] != u"dekodieren")) {
    std::fprintf(stderr, "usage: velkora_zeilen kodieren|dekodieren QUELLE [ZIEL]\n");
    return 2;
  }
  QFile ein(a[2]);
  if (!ein.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "velkora_zeilen: cannot read %s\n", qPrintable(a[2]));
    return 1;
  }
  QByteArray aus;
  if (a[1] == u"kodieren") {
    // The keys of a shipped file are fixed, so a rebuild gives the same bytes.
    uhr::säen(1);
    const QString alles = QString::fromUtf8(ein.readAll());
    QStringList zeilen = alles.split(u'\n');
    if (!zeilen.isEmpty() && zeilen.last().isEmpty()) zeilen.removeLast();
    for (QString z : zeilen) {
      if (z.endsWith(u'\r')) z.chop(1);
      aus += Zeile_kodieren(z, Zufallsschlüssel()) + "\r\n";
    }
  } else {
    for (QByteArray z : ein.readAll().split('\n')) {
      if (z.endsWith('\r')) z.chop(1);
      if (z.isEmpty()) continue;
      aus += Zeile_dekodieren(z).toUtf8() + "\n";
    }
  }
  if (a.size() >= 4) {
    QFile f(a[3]);
    if (!f.open(QIODevice::WriteOnly) || f.write(aus) != aus.size()) {
      std::fprintf(stderr, "velkora_zeilen: cannot write %s\n", qPrintable(a[3]));
      return 1;
    }
  } else {
    std::fwrite(aus.constData(), 1, static_cast<size_t>(aus.size()), stdout);
  }
  return 0;
}
