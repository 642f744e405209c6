#pragma once
// A table by a short name (a user id, in lower case), looked up once or a few times per
// line of every month read: a plain FNV-1a hash over the UTF-16 units and a compare of
// the units. For names this short it is several times cheaper than QHash's seeded hash
// and QString's compare. The table holds views: their strings must outlive it.
#include <QStringView>
#include <cstring>
#include <utility>
#include <vector>

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

// The table itself: its entries lie one after another in the order they came, and an
// open table of slots (a power of two, at most half full) holds each entry's place and
// a part of its hash, so that an insert allocates nothing once the table is reserved
// and a look-up compares names only where the hash parts agree. The subset of
// std::unordered_map's interface that its users need; an iterator is valid until the
// next insert.
template <class Wert>
class Namenstabelle {
 public:
  struct Eintrag {
    QStringView first;
    Wert second;
  };
  using iterator = Eintrag*;

  void reserve(size_t n) {
    mEinträge.reserve(n);
    if (2 * n > mPlätze.size()) Neu_verteilen(Zweierpotenz(2 * n));
  }
  size_t size() const { return mEinträge.size(); }
  bool empty() const { return mEinträge.empty(); }
  iterator end() { return nullptr; }

  iterator find(QStringView name) {
    if (mPlätze.empty()) return end();
    const Platz p = mPlätze[Platz_von(name, Hash(name))];
    return p.nummer == 0 ? end() : &mEinträge[p.nummer - 1];
  }

  template <class... Argumente>
  std::pair<iterator, bool> try_emplace(QStringView name, Argumente&&... argumente) {
    if (2 * (mEinträge.size() + 1) > mPlätze.size()) Neu_verteilen(Zweierpotenz(2 * (mEinträge.size() + 1)));
    const quint64 h = Hash(name);
    Platz& p = mPlätze[Platz_von(name, h)];
    if (p.nummer != 0) return {&mEinträge[p.nummer - 1], false};
    mEinträge.push_back(Eintrag{name, Wert(std::forward<Argumente>(argumente)...)});
    p = Platz{static_cast<quint32>(mEinträge.size()), Hashteil(h)};
    return {&mEinträge.back(), true};
  }
  std::pair<iterator, bool> emplace(QStringView name, Wert wert) { return try_emplace(name, std::move(wert)); }
  Wert& operator[](QStringView name) { return try_emplace(name).first->second; }

 private:
  struct Platz {
    quint32 nummer = 0;  // the entry's place + 1; 0: free
    quint32 hashteil = 0;
  };

  // FNV-1a's low bits follow the last units closely: the slot is picked from a mix.
  static quint64 Hash(QStringView name) {
    quint64 h = Namenshash()(name);
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 32);
  }
  static quint32 Hashteil(quint64 h) { return static_cast<quint32>(h >> 32); }
  // The slot that holds `name` (hash `h`), or the free slot where it would go.
  size_t Platz_von(QStringView name, quint64 h) const {
    for (size_t i = h & (mPlätze.size() - 1);; i = (i + 1) & (mPlätze.size() - 1)) {
      const Platz p = mPlätze[i];
      if (p.nummer == 0 || (p.hashteil == Hashteil(h) && Namensgleichheit()(mEinträge[p.nummer - 1].first, name)))
        return i;
    }
  }
  static size_t Zweierpotenz(size_t n) {
    size_t p = 16;
    while (p < n) p *= 2;
    return p;
  }
  void Neu_verteilen(size_t plätze) {
    mPlätze.assign(plätze, Platz{});
    for (size_t e = 0; e < mEinträge.size(); ++e) {
      const quint64 h = Hash(mEinträge[e].first);
      size_t i = h & (plätze - 1);
      while (mPlätze[i].nummer != 0) i = (i + 1) & (plätze - 1);
      mPlätze[i] = Platz{static_cast<quint32>(e + 1), Hashteil(h)};
    }
  }

  std::vector<Eintrag> mEinträge;
  std::vector<Platz> mPlätze;
};
