#include "platform/Cp1252.h"

#include <array>
#include <unordered_map>

namespace cp1252 {
namespace {

// Bytes 0x80..0x9F; every other byte is the Latin-1 character of the same code.
constexpr std::array<char16_t, 32> kObereSteuerzeichen = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

const std::unordered_map<char16_t, unsigned char>& rückwärts() {
  static const auto tabelle = [] {
    std::unordered_map<char16_t, unsigned char> t;
    for (int b = 0x80; b < 0xA0; ++b) t[kObereSteuerzeichen[b - 0x80]] = static_cast<unsigned char>(b);
    return t;
  }();
  return tabelle;
}

const std::array<char16_t, 256> kZeichen = [] {
  std::array<char16_t, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = b >= 0x80 && b < 0xA0 ? kObereSteuerzeichen[b - 0x80] : char16_t(b);
  return t;
}();

// The lower-case character of every character of the code page, as the general
// lowering gives it, by code point in two steps: the high byte picks a page of 256
// characters, the low byte the place in it. Page 0 is empty and stands for every high
// byte without a character of the code page, so that a look-up never branches on the
// range; the code page's characters lie in five pages (U+00xx, U+01xx, U+02xx, U+20xx
// and U+21xx, the last four for bytes 0x80 to 0x9F). 0 marks a character of no byte, or
// one whose lower case is not one character of its own (none in this code page, but
// the table says so rather than assume it): that goes the general way, as U+0000 does,
// which the general way leaves as it is.
constexpr int Seiten_der_Codeseite() {
  std::array<bool, 256> belegt{};
  belegt[0] = true;
  for (const char16_t u : kObereSteuerzeichen) belegt[u >> 8] = true;
  int n = 0;
  for (const bool b : belegt) n += b ? 1 : 0;
  return n;
}

struct Kleintabelle {
  std::array<quint8, 256> seite{};
  std::array<std::array<char16_t, 256>, 1 + Seiten_der_Codeseite()> zeichen{};
};

const Kleintabelle kKlein = [] {
  Kleintabelle t;
  int seiten = 1;
  for (int b = 0; b < 256; ++b) {
    const char16_t u = kZeichen[b];
    quint8& seite = t.seite[u >> 8];
    if (seite == 0) seite = static_cast<quint8>(seiten++);
    const QString k = QString(QChar(u)).toLower();
    t.zeichen[seite][u & 0xFF] = k.size() == 1 ? k[0].unicode() : 0;
  }
  return t;
}();

char16_t Klein_von(char16_t u) { return kKlein.zeichen[kKlein.seite[u >> 8]][u & 0xFF]; }

// The text lowered through the table into `d` (room for text.size() characters);
// false when a character is not in it and the text has to go the general way.
bool Durch_die_Tabelle(QStringView text, char16_t* d) {
  for (qsizetype k = 0; k < text.size(); ++k) {
    const char16_t c = Klein_von(text[k].unicode());
    if (c == 0) return false;
    d[k] = c;
  }
  return true;
}

}  // namespace

const char16_t* zeichentabelle() { return kZeichen.data(); }

QChar zeichen(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) return QChar(kObereSteuerzeichen[b - 0x80]);
  return QChar(static_cast<char16_t>(b));
}

unsigned char byte(QChar c) {
  const char16_t u = c.unicode();
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<unsigned char>(u);
  const auto& t = rückwärts();
  const auto it = t.find(u);
  return it == t.end() ? '?' : it->second;
}

bool darstellbar(const QString& text) {
  for (const QChar c : text)
    if (c != u'?' && byte(c) == '?') return false;
  return true;
}

bool eingabeZulässig(const QString& text) {
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0)) return false;
    if (u != u'?' && byte(c) == '?') return false;
  }
  return true;
}

const QString& klein(QStringView text, QString& puffer) {
  puffer.resize(text.size());
  if (!Durch_die_Tabelle(text, reinterpret_cast<char16_t*>(puffer.data()))) puffer = text.toString().toLower();
  return puffer;
}

bool kleinAscii(QStringView text) {
  // Without an early exit the loop runs over the whole name at once (names are short),
  // and the compiler takes several characters per step.
  bool anders = false;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    anders |= (u >= 0x80) | (static_cast<char16_t>(u - u'A') < 26);
  }
  return !anders;
}

QStringView kleinAnsicht(QStringView text, QString& puffer) {
  if (kleinAscii(text)) return text;
  // The view covers the name only: a buffer left longer by a longer name serves as it
  // is, without a resize per name.
  if (puffer.size() < text.size()) puffer.resize(text.size());
  char16_t* d = reinterpret_cast<char16_t*>(puffer.data());
  if (Durch_die_Tabelle(text, d)) return QStringView(d, text.size());
  puffer = text.toString().toLower();
  return puffer;
}

QString klein(const QString& text) {
  if (kleinAscii(text)) return text;
  QString puffer;
  return klein(text, puffer);
}

QString dekodieren(const QByteArray& bytes) {
  QString s(bytes.size(), Qt::Uninitialized);
  char16_t* d = reinterpret_cast<char16_t*>(s.data());
  for (qsizetype i = 0; i < bytes.size(); ++i) d[i] = kZeichen[static_cast<unsigned char>(bytes[i])];
  return s;
}

QByteArray kodieren(const QString& text) {
  QByteArray b;
  b.resize(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) b[i] = static_cast<char>(byte(text[i]));
  return b;
}

}  // namespace cp1252
