// Fuzz target of the line decoder: any bytes decode without a fault, and what they
// decode to is written back as a line that holds no line break and decodes to the
// same text. The same bytes as a whole file decode into the lines the file channel
// splits them into, each as the single line decoder gives it, as strings and as views
// of one block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "startup/Zeilencodierung.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t größe) {
  const QByteArray zeile(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(größe));
  const QString text = Zeile_dekodieren(zeile);
  const unsigned char schlüssel = größe > 0 ? static_cast<unsigned char>(32 + daten[0] % 223) : 'K';
  const QByteArray wieder = Zeile_kodieren(text, schlüssel);
  for (const char c : wieder)
    if (static_cast<unsigned char>(c) < 32) std::abort();
  if (Zeile_dekodieren(wieder) != text) std::abort();

  bool ohneEnde = false;
  const QStringList block = Zeilen_dekodieren(zeile, &ohneEnde);
  qsizetype n = 0;
  bool letzteOhneEnde = false;
  for (qsizetype i = 0; i < zeile.size(); ++n) {
    qsizetype e = i;
    while (e < zeile.size() && zeile[e] != '\r' && zeile[e] != '\n') ++e;
    if (n >= block.size() || block[n] != Zeile_dekodieren(QByteArrayView(zeile).sliced(i, e - i))) std::abort();
    if (block[n].isNull() != (e == i)) std::abort();
    letzteOhneEnde = e == zeile.size();
    if (e < zeile.size() && zeile[e] == '\r') ++e;
    if (e < zeile.size() && zeile[e] == '\n') ++e;
    i = e;
  }
  if (n != block.size() || ohneEnde != letzteOhneEnde) std::abort();

  // The same lines as views of one block, which keeps its memory from input to input.
  static Dekodierter_Block ansichten;
  bool ansichtenOhneEnde = !ohneEnde;
  ansichten.dekodieren(zeile, &ansichtenOhneEnde);
  if (ansichten.size() != block.size() || ansichtenOhneEnde != ohneEnde) std::abort();
  for (qsizetype i = 0; i < block.size(); ++i)
    if (ansichten[i] != QStringView(block[i])) std::abort();
  return 0;
}
