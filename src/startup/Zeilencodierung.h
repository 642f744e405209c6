#pragma once
// The program's own reversible line encoding: a random key character, then every
// kept character shifted by a counter that starts at the key's low six bits. It works
// on Windows-1252 bytes; control characters are dropped.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <optional>
#include <vector>

// Encodes one line with the given key character (32..254).
QByteArray Zeile_kodieren(const QString& text, unsigned char schlüssel);
// Decodes one encoded line (key character first); an empty line gives "".
QString Zeile_dekodieren(QByteArrayView zeile);
// The lines of a whole file's content, split as the file channel splits them (a line
// ends at its first CR or LF; one CR and then one LF after it are skipped) and each
// decoded as Zeile_dekodieren does (an empty line gives a null string), each a string
// of its own. `ohneEnde` tells whether the last line has no line end.
QStringList Zeilen_dekodieren(QByteArrayView inhalt, bool* ohneEnde = nullptr);

// The lines of a whole file's content, split and decoded as Zeilen_dekodieren does,
// into characters of the block's own, each line a view of them: for a reader that
// looks at the lines and keeps only some of them, or parts, as strings. A view is
// valid until the block is decoded into again, takes other lines or ends. The block
// keeps its memory from one file to the next, so that files read one after the other
// allocate nothing once it is large enough.
class Dekodierter_Block {
 public:
  void dekodieren(QByteArrayView inhalt, bool* ohneEnde = nullptr);
  // The lines of a list, copied.
  void übernehmen(const QStringList& zeilen);
  qsizetype size() const { return static_cast<qsizetype>(mZeilen.size()); }
  // The characters the block holds memory for.
  qsizetype platz() const { return mPlatz; }
  QStringView operator[](qsizetype i) const {
    const Zeile& z = mZeilen[static_cast<size_t>(i)];
    return QStringView(mZeichen.get() + z.anfang, z.länge);
  }
  // The characters of line i, to change in place.
  char16_t* zeichen(qsizetype i) { return mZeichen.get() + mZeilen[static_cast<size_t>(i)].anfang; }
  // Line i becomes empty.
  void leeren(qsizetype i) { mZeilen[static_cast<size_t>(i)].länge = 0; }
  void letzte_entfernen() { mZeilen.pop_back(); }

 private:
  struct Zeile {
    qsizetype anfang, länge;
  };
  void Platz_für(qsizetype zeichen);
  std::unique_ptr<char16_t[]> mZeichen;
  qsizetype mPlatz = 0;
  std::vector<Zeile> mZeilen;
};

// A key character drawn from the program's random source.
unsigned char Zufallsschlüssel();

// On the open channel.
void LineOut(const QString& text);
QString LineIn();

// A whole file through the channel, in the line encoding or as plain lines.
enum class Zeilenart { Kodiert, Klartext };
// What an encoded line that is empty (not even its key character) is: a file error
// raised by LineIn (a file the program wrote holds none), an empty text, a line left
// out, or the end of a read that then fails (nothing is taken from a damaged file).
enum class Leerzeilenart { Dateifehler, Leer, Auslassen, Unlesbar };

struct Leseweise {
  Zeilenart art = Zeilenart::Kodiert;
  Leerzeilenart leer = Leerzeilenart::Dateifehler;
  // A file cut short (no line end after its last line) is damage for the start repair,
  // as a file the program writes whole always ends in one.
  bool ganz = false;
  // When set, the first line must be this header: the rest is read only then, and a
  // file without it is closed and fails the read, for the caller's header error.
  QString kopf = QString();
  // A file that cannot be opened fails the read instead of ending the program.
  bool fehlerIgnorieren = false;
};

struct Schreibweise {
  // "Output" replaces the file on close, "Append" adds the lines in one write.
  QString modus = QStringLiteral("Output");
  Zeilenart art = Zeilenart::Kodiert;
  // A file that cannot be opened fails the write instead of ending the program.
  bool fehlerIgnorieren = false;
};

// Every line of the file; none (std::nullopt) when it could not be opened (with
// fehlerIgnorieren), lacks its header or holds an empty line that fails the read.
// A read or write that fails otherwise leaves no file open and no half-written one
// behind, and passes the error on; a write that failed as the lines went out on close
// still names its file to the error handler.
std::optional<QStringList> Alle_Zeilen_lesen_wie(const QString& pfad, const Leseweise& weise);
// False when the file could not be opened (with fehlerIgnorieren).
bool Alle_Zeilen_schreiben_wie(const QString& pfad, const QStringList& zeilen, const Schreibweise& weise);

// The usual cases: every line in the line encoding, an empty one a file error.
QStringList Alle_Zeilen_lesen(const QString& pfad, bool ganz = false);
void Alle_Zeilen_schreiben(const QString& pfad, const QStringList& zeilen,
                           const QString& modus = QStringLiteral("Output"));
