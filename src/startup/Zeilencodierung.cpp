#include "startup/Zeilencodierung.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/Cp1252.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Uhr.h"
#include "startup/Dateizugriff.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"

QByteArray Zeile_kodieren(const QString& text, unsigned char schlüssel) {
  const QByteArray roh = cp1252::kodieren(text);
  QByteArray z;
  z.reserve(roh.size() + 1);
  z.append(static_cast<char>(schlüssel));
  int zähler = schlüssel & 63;
  for (char c : roh) {
    const int a = static_cast<unsigned char>(c);
    if (a < 32) continue;
    if (++zähler == 64) zähler = 0;
    int e = a + zähler;
    if (e > 255) e -= 224;
    z.append(static_cast<char>(e));
  }
  return z;
}

namespace {

// Decodes the n bytes after a line's key into n characters; `zähler` is the key's low
// six bits. Every byte but 0x80 to 0x9F stands for the character of its own number, so
// eight bytes are decoded at a time and only a group that holds one of those goes
// through the table. `reichweite` (at least n): how many bytes may be read from q and
// characters written to d, so that a last group shorter than eight can still go in one
// step when the bytes after the line are there to be read (and the characters after
// it are written again later).
void Dekodieren(const unsigned char* q, qsizetype n, int zähler, char16_t* d, qsizetype reichweite) {
  const char16_t* zeichen = cp1252::zeichentabelle();
  qsizetype i = 0;
#if defined(__SSE2__)
  __m128i z =
      _mm_and_si128(_mm_add_epi16(_mm_setr_epi16(1, 2, 3, 4, 5, 6, 7, 8), _mm_set1_epi16(static_cast<short>(zähler))),
                    _mm_set1_epi16(63));
  const __m128i acht = _mm_set1_epi16(8);
  const __m128i maske = _mm_set1_epi16(63);
  const __m128i zweiunddreißig = _mm_set1_epi16(32);
  const __m128i überlauf = _mm_set1_epi16(224);
  const __m128i obereBits = _mm_set1_epi16(0xE0);
  const __m128i steuerbereich = _mm_set1_epi16(0x80);
  const __m128i null = _mm_setzero_si128();
  for (; i < n && i + 8 <= reichweite; i += 8) {
    __m128i b = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(q + i)), null);
    b = _mm_sub_epi16(b, z);
    b = _mm_add_epi16(b, _mm_and_si128(_mm_cmplt_epi16(b, zweiunddreißig), überlauf));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), b);
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(b, obereBits), steuerbereich)))
      for (qsizetype k = i; k < i + 8; ++k) d[k] = zeichen[d[k]];
    z = _mm_and_si128(_mm_add_epi16(z, acht), maske);
  }
  if (i >= n) return;
  zähler = static_cast<int>((zähler + i) & 63);
#else
  (void)reichweite;
#endif
  for (; i < n; ++i) {
    zähler = (zähler + 1) & 63;
    int b = q[i] - zähler;
    if (b < 32) b += 224;
    d[i] = zeichen[b];
  }
}

}  // namespace

QString Zeile_dekodieren(QByteArrayView zeile) {
  if (zeile.isEmpty()) return {};
  // Straight into the string: every encoded byte gives one character (a shifted byte
  // is never below 32), so the length is known before the first one.
  const auto* q = reinterpret_cast<const unsigned char*>(zeile.data());
  QString s(zeile.size() - 1, Qt::Uninitialized);
  Dekodieren(q + 1, zeile.size() - 1, q[0] & 63, reinterpret_cast<char16_t*>(s.data()), zeile.size() - 1);
  return s;
}

namespace {
// The largest content whose block is kept for the next read (a month file is about a
// tenth of it).
constexpr qsizetype kVorratHöchstens = qsizetype{1} << 20;
}  // namespace

QStringList Zeilen_dekodieren(QByteArrayView inhalt, bool* ohneEnde) {
  if (ohneEnde) *ohneEnde = false;
  QStringList zeilen;
  if (inhalt.isEmpty()) return zeilen;
  const char* anfang = inhalt.data();
  const char* const schluss = anfang + inhalt.size();
  // A line of n bytes takes n - 1 characters and its terminating zero, and every line
  // but the last has at least one byte of line end: the block never needs more
  // characters than the content has bytes. The block of the file read before is
  // taken again once none of its lines is held any more (a month read again and
  // again, one after the other): a fresh one each time would have the memory
  // allocator give its pages back and fault them in again on every read.
  thread_local QString vorrat;
  QString* block = &vorrat;
  QString eigener;
  if (vorrat.data_ptr().isShared() || vorrat.size() < inhalt.size()) {
    if (inhalt.size() <= kVorratHöchstens) {
      vorrat = QString(inhalt.size(), Qt::Uninitialized);
    } else {
      eigener = QString(inhalt.size(), Qt::Uninitialized);
      block = &eigener;
    }
  }
  char16_t* d = reinterpret_cast<char16_t*>(block->data());
  // The next CR and LF at or after the line's start, each looked for again only once
  // passed: a file with one kind of line end is not searched to its end for the other
  // on every line.
  const char* cr = anfang - 1;
  const char* lf = anfang - 1;
  const auto nächstes = [&](const char* von, char c) {
    const void* p = std::memchr(von, c, static_cast<size_t>(schluss - von));
    return p ? static_cast<const char*>(p) : schluss;
  };
  // Each line holds the block once. The block's count goes up once for many lines, not
  // once a line: the lines made since are only in the list, which takes them without
  // allocating (it is grown beforehand, with the count brought up to date first).
  QTypedArrayData<char16_t>* const kopf = block->data_ptr().d_ptr();
  int offen = 0;
  const auto anrechnen = [&] {
    kopf->ref_.fetchAndAddRelaxed(offen);
    offen = 0;
  };
  zeilen.reserve(inhalt.size() / 16 + 8);
  while (anfang < schluss) {
    if (zeilen.size() == zeilen.capacity()) {
      anrechnen();
      zeilen.reserve(2 * zeilen.capacity());
    }
    if (cr < anfang) cr = nächstes(anfang, '\r');
    if (lf < anfang) lf = nächstes(anfang, '\n');
    const char* e = std::min(cr, lf);
    const qsizetype n = e - anfang;
    if (n == 0) {
      zeilen.append(QString());
    } else {
      const auto* q = reinterpret_cast<const unsigned char*>(anfang);
      // The block has a character for every byte of the content, and the line's
      // characters start no later than its bytes: as far as bytes are left to read,
      // there is room to write.
      Dekodieren(q + 1, n - 1, q[0] & 63, d, schluss - anfang - 1);
      d[n - 1] = u'\0';
      zeilen.append(QString(QStringPrivate(kopf, d, n - 1)));
      ++offen;
      d += n;
    }
    if (e == schluss) {
      if (ohneEnde) *ohneEnde = true;
      break;
    }
    if (*e == '\r') ++e;
    if (e < schluss && *e == '\n') ++e;
    anfang = e;
  }
  anrechnen();
  return zeilen;
}

unsigned char Zufallsschlüssel() {
  const double r = static_cast<float>(uhr::zufall());  // a single-precision draw, as stored keys came from
  int k = static_cast<int>(std::floor(r * 223.0 + 32.0));
  if (k > 254) k = 254;
  return static_cast<unsigned char>(k);
}

namespace {
// The procedure's name for the error handler; built only when an error is raised.
auto Prozedurname(const char* name) {
  return [name] {
    QString n = QStringLiteral("modVelkora - ") + QString::fromUtf8(name);
    if (!gStörungAnzeigen) n += QStringLiteral(" - Datei ") + gOffeneDatei;
    return n;
  };
}
}  // namespace

void LineOut(const QString& text) {
  Prozedur(Prozedurname("LineOut"), [&] { Kanal_Zeile_schreiben(Zeile_kodieren(text, Zufallsschlüssel())); });
}

QString LineIn() {
  return Prozedur(Prozedurname("LineIn"), [&]() -> QString {
    QByteArrayView z;
    if (!FEOF()) z = Kanal_Zeile_sehen();
    if (z.isEmpty()) {
      // Month record files tolerate empty lines and reading past their end.
      if (gOffeneDatei.endsWith(QStringLiteral("Data.dat"), Qt::CaseInsensitive)) return QString();
      fehler::auslösen(fehler::kEingabeHinterDateiende);
    }
    return Zeile_dekodieren(z);
  });
}

namespace {

// After a failure: the channel is closed, unless the failure was the close writing the
// lines out, whose file the error handler still has to name (the channel is closed
// then already).
void Nach_Fehler_schließen() {
  if (!Ausschreibfehler()) FVerwerfen();
}

}  // namespace

std::optional<QStringList> Alle_Zeilen_lesen_wie(const QString& pfad, const Leseweise& weise) {
  if (!FOpen(pfad, QStringLiteral("Input"), weise.fehlerIgnorieren ? QStringLiteral("IgnoreErrors") : QString()))
    return std::nullopt;
  if (weise.ganz && Kanal_ohne_letztes_Zeilenende()) Datei_beschädigt(pfad);
  QStringList zeilen;
  try {
    // The next line into zeilen; false when the read fails on it.
    const auto nächste = [&]() -> bool {
      if (weise.art == Zeilenart::Klartext) {
        zeilen << LineInPlain();
        return true;
      }
      if (weise.leer == Leerzeilenart::Dateifehler) {
        zeilen << LineIn();
        return true;
      }
      const QByteArrayView roh = Kanal_Zeile_sehen();
      if (!roh.isEmpty())
        zeilen << Zeile_dekodieren(roh);
      else if (weise.leer == Leerzeilenart::Leer)
        zeilen << QString();
      else if (weise.leer == Leerzeilenart::Unlesbar)
        return false;
      return true;
    };
    if (!weise.kopf.isEmpty() && (FEOF() || !nächste() || zeilen.value(0) != weise.kopf)) {
      FClose();
      return std::nullopt;
    }
    while (!FEOF())
      if (!nächste()) {
        FVerwerfen();
        return std::nullopt;
      }
    FClose();
  } catch (...) {
    Nach_Fehler_schließen();
    throw;
  }
  return zeilen;
}

bool Alle_Zeilen_schreiben_wie(const QString& pfad, const QStringList& zeilen, const Schreibweise& weise) {
  if (!FOpen(pfad, weise.modus, weise.fehlerIgnorieren ? QStringLiteral("IgnoreErrors") : QString())) return false;
  try {
    if (weise.art == Zeilenart::Klartext)
      for (const QString& z : zeilen) LineOutPlain(z);
    else
      for (const QString& z : zeilen) LineOut(z);
    FClose();
  } catch (...) {
    Nach_Fehler_schließen();
    throw;
  }
  return true;
}

QStringList Alle_Zeilen_lesen(const QString& pfad, bool ganz) {
  Leseweise weise;
  weise.ganz = ganz;
  return Alle_Zeilen_lesen_wie(pfad, weise).value_or(QStringList());
}

void Alle_Zeilen_schreiben(const QString& pfad, const QStringList& zeilen, const QString& modus) {
  Schreibweise weise;
  weise.modus = modus;
  Alle_Zeilen_schreiben_wie(pfad, zeilen, weise);
}
