#pragma once
// What a folder holds, file by file: name, size, time stamp and content digest.
// The main window records the state of a data folder that this start created, right
// after the start has written its default data; at the end an equal state means that
// nothing was entered, so the folder can go again without losing anything.
#include <QByteArray>
#include <QString>
#include <map>
#include <optional>

struct Ordnerstand {
  struct Eintrag {
    qint64 größe = -1;  // -1 for a folder
    qint64 zeit = 0;    // modification time, ms since the epoch
    QByteArray prüfsumme;
    bool operator==(const Eintrag&) const = default;
  };
  std::map<QString, Eintrag> einträge;  // relative path ("/" separated) -> entry
  bool operator==(const Ordnerstand&) const = default;
};

// The state of the folder and everything below it; nullopt when it cannot be read.
std::optional<Ordnerstand> Ordnerstand_erfassen(const QString& ordner);
