#pragma once
// A table by a short name (a user id, in lower case), looked up once or a few times per
// line of every month read: a plain FNV-1a hash over the UTF-16 units and a compare of
// the units. For names this short it is several times cheaper than QHash's seeded hash
// and QString's compare. The table holds views: their strings must outlive it.
#include <QStringView>
#include <cstring>
#include <unordered_map>

struct Namenshash {
  size_t operator()(QStringView name) const noexcept {
    quint64 h = 14695981039346656037ull;
    for (const QChar c : name) h = (h ^ c.unicode()) * 1099511628211ull;
    return static_cast<size_t>(h);
  }
};

// For longer texts (a logbook event, some fifty characters): eight bytes at a step.
struct Langtexthash {
  size_t operator()(QStringView t) const noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(t.data());
    size_t rest = static_cast<size_t>(t.size()) * sizeof(QChar);
    quint64 h = 0x9E3779B97F4A7C15ull ^ rest;
    const auto mischen = [&h](quint64 w) {
      h = (h ^ w) * 0xBF58476D1CE4E5B9ull;
      h ^= h >> 31;
    };
    for (; rest >= 8; rest -= 8, p += 8) {
      quint64 w;
      std::memcpy(&w, p, 8);
      mischen(w);
    }
    if (rest > 0) {
      quint64 w = 0;
      std::memcpy(&w, p, rest);
      mischen(w);
    }
    // The low bits pick the slot of a power-of-two table: every bit goes into them.
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return static_cast<size_t>(h);
  }
};

struct Namensgleichheit {
  bool operator()(QStringView a, QStringView b) const noexcept {
    return a.size() == b.size() &&
           (a.isEmpty() || std::memcmp(a.data(), b.data(), static_cast<size_t>(a.size()) * sizeof(QChar)) == 0);
  }
};

template <class Wert>
using Namenstabelle = std::unordered_map<QStringView, Wert, Namenshash, Namensgleichheit>;
