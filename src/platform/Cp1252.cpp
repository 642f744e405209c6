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

// The byte of a character, -1 for a character that has none.
int Byte_von(char16_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
  for (int i = 0; i < 32; ++i)
    if (kObereSteuerzeichen[i] == u) return 0x80 + i;
  return -1;
}

// The lower-case character of each byte's character, as the general lowering gives it;
// 0 where that is not one character of its own (none in this code page, but the table
// says so rather than assume it).
const std::array<char16_t, 256> kKlein = [] {
  std::array<char16_t, 256> t{};
  for (int b = 0; b < 256; ++b) {
    const QString k = QString(QChar(kZeichen[b])).toLower();
    t[b] = k.size() == 1 ? k[0].unicode() : 0;
  }
  return t;
}();

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
  char16_t* d = reinterpret_cast<char16_t*>(puffer.data());
  for (qsizetype k = 0; k < text.size(); ++k) {
    const int b = Byte_von(text[k].unicode());
    const char16_t c = b < 0 ? 0 : kKlein[b];
    if (c == 0) {
      puffer = text.toString().toLower();
      return puffer;
    }
    d[k] = c;
  }
  return puffer;
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
