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

struct Namensgleichheit {
  bool operator()(QStringView a, QStringView b) const noexcept {
    return a.size() == b.size() &&
           (a.isEmpty() || std::memcmp(a.data(), b.data(), static_cast<size_t>(a.size()) * sizeof(QChar)) == 0);
  }
};

template <class Wert>
using Namenstabelle = std::unordered_map<QStringView, Wert, Namenshash, Namensgleichheit>;
