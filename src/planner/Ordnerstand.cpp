#include "planner/Ordnerstand.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

std::optional<Ordnerstand> Ordnerstand_erfassen(const QString& ordner) {
  QDir wurzel(ordner);
  if (!wurzel.exists()) return std::nullopt;
  Ordnerstand stand;
  QDirIterator it(ordner, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString pfad = it.next();
    const QFileInfo info = it.fileInfo();
    Ordnerstand::Eintrag e;
    if (info.isDir() && !info.isSymLink()) {
      e.größe = -1;
    } else {
      e.größe = info.size();
      e.zeit = info.lastModified().toMSecsSinceEpoch();
      QFile f(pfad);
      if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
      QCryptographicHash h(QCryptographicHash::Sha1);
      if (!h.addData(&f)) return std::nullopt;
      e.prüfsumme = h.result();
    }
    stand.einträge[wurzel.relativeFilePath(pfad)] = e;
  }
  return stand;
}
