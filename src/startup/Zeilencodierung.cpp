#include "startup/Zeilencodierung.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
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
// step when the bytes after the line are there to be read and the characters after
// it may be written.
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

// Goes through the lines of a whole file's content as the file channel splits them (a
// line ends at its first CR or LF; one CR and then one LF after it are skipped),
// handing each to `zeile` with its bytes (key first; n may be 0) and how many bytes
// after its key may be read. True when the last line has no line end.
template <class Zeile>
bool Zeilen_zerlegen(QByteArrayView inhalt, Zeile&& zeile) {
  const char* anfang = inhalt.data();
  const char* const schluss = anfang + inhalt.size();
  // The next CR and LF at or after the line's start, each looked for again only once
  // passed: a file with one kind of line end is not searched to its end for the other
  // on every line.
  const char* cr = anfang - 1;
  const char* lf = anfang - 1;
  const auto nächstes = [&](const char* von, char c) {
    const void* p = std::memchr(von, c, static_cast<size_t>(schluss - von));
    return p ? static_cast<const char*>(p) : schluss;
  };
  while (anfang < schluss) {
    if (cr < anfang) cr = nächstes(anfang, '\r');
    if (lf < anfang) lf = nächstes(anfang, '\n');
    const char* e = std::min(cr, lf);
    zeile(reinterpret_cast<const unsigned char*>(anfang), e - anfang, schluss - anfang - 1);
    if (e == schluss) return true;
    if (*e == '\r') ++e;
    if (e < schluss && *e == '\n') ++e;
    anfang = e;
  }
  return false;
}

// One encoded line of n bytes (its key first, n at least 1) as a string of its own;
// `lesbar`: how many bytes after the key may be read (at least n - 1). The string is
// made a few characters longer than the line and cut to it afterwards, so that its
// last characters go eight at a time as well.
QString Dekodierte_Zeile(const unsigned char* q, qsizetype n, qsizetype lesbar) {
  constexpr qsizetype kÜberhang = 7;
  QString s(n - 1 + kÜberhang, Qt::Uninitialized);
  Dekodieren(q + 1, n - 1, q[0] & 63, reinterpret_cast<char16_t*>(s.data()), std::min(lesbar, n - 1 + kÜberhang));
  s.truncate(n - 1);
  return s;
}

}  // namespace

QStringList Zeilen_dekodieren(QByteArrayView inhalt, bool* ohneEnde) {
  QStringList zeilen;
  // A month file's lines are some fifty bytes long.
  zeilen.reserve(inhalt.size() / 32 + 8);
  const bool offen = Zeilen_zerlegen(inhalt, [&](const unsigned char* q, qsizetype n, qsizetype lesbar) {
    zeilen.append(n == 0 ? QString() : Dekodierte_Zeile(q, n, lesbar));
  });
  if (ohneEnde) *ohneEnde = offen;
  return zeilen;
}

void Dekodierter_Block::Platz_für(qsizetype zeichen) {
  if (zeichen <= mPlatz) return;
  // Only while the block holds no line.
  mZeichen = std::make_unique_for_overwrite<char16_t[]>(static_cast<size_t>(zeichen));
  mPlatz = zeichen;
}

void Dekodierter_Block::dekodieren(QByteArrayView inhalt, bool* ohneEnde) {
  mZeilen.clear();
  // A line of n bytes takes n - 1 characters, and every line but the last has at least
  // one byte of line end: the block never needs more characters than the content has
  // bytes, and a line's characters start no later than its bytes, so that as far as
  // bytes are left to read, there is room to write.
  Platz_für(inhalt.size());
  mZeilen.reserve(static_cast<size_t>(inhalt.size() / 32 + 8));
  qsizetype ende = 0;
  const bool offen = Zeilen_zerlegen(inhalt, [&](const unsigned char* q, qsizetype n, qsizetype lesbar) {
    if (n == 0) {
      mZeilen.push_back({ende, 0});
      return;
    }
    Dekodieren(q + 1, n - 1, q[0] & 63, mZeichen.get() + ende, lesbar);
    mZeilen.push_back({ende, n - 1});
    ende += n - 1;
  });
  if (ohneEnde) *ohneEnde = offen;
}

void Dekodierter_Block::übernehmen(const QStringList& zeilen) {
  mZeilen.clear();
  qsizetype zeichen = 0;
  for (const QString& z : zeilen) zeichen += z.size();
  Platz_für(zeichen);
  qsizetype ende = 0;
  for (const QString& z : zeilen) {
    std::copy_n(z.utf16(), z.size(), mZeichen.get() + ende);
    mZeilen.push_back({ende, z.size()});
    ende += z.size();
  }
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
