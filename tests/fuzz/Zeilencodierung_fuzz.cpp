// Fuzz target of the line decoder: any bytes decode without a fault, and what they
// decode to is written back as a line that holds no line break and decodes to the
// same text.
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
  return 0;
}
