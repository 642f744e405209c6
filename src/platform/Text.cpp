#include "platform/Text.h"

#include <QRegularExpression>
#include <climits>

namespace text {

QString ltrim(const QString& s) {
  qsizetype i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  return s.mid(i);
}

QString rtrim(const QString& s) {
  qsizetype n = s.size();
  while (n > 0 && s[n - 1] == u' ') --n;
  return s.left(n);
}

QString trim(const QString& s) { return rtrim(ltrim(s)); }

int zahl(const QString& s) {
  qsizetype i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  bool negativ = false;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) negativ = s[i++] == u'-';
  long long v = 0;
  while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
    v = v * 10 + (s[i].unicode() - u'0');
    if (v > INT_MAX) v = INT_MAX;
    ++i;
  }
  return static_cast<int>(negativ ? -v : v);
}

bool nurZiffern(const QString& s) {
  if (s.isEmpty()) return false;
  for (QChar c : s)
    if (c < u'0' || c > u'9') return false;
  return true;
}

bool passtMuster(const QString& name, const QString& muster) {
  // Patterns are tiny; a direct backtracking match is simpler than a regex cache.
  const QString n = name.toLower(), m = muster.toLower();
  qsizetype i = 0, j = 0, stern = -1, merk = 0;
  while (i < n.size()) {
    if (j < m.size() && (m[j] == u'?' || m[j] == n[i])) {
      ++i;
      ++j;
    } else if (j < m.size() && m[j] == u'*') {
      stern = j++;
      merk = i;
    } else if (stern >= 0) {
      j = stern + 1;
      i = ++merk;
    } else {
      return false;
    }
  }
  while (j < m.size() && m[j] == u'*') ++j;
  return j == m.size();
}

}  // namespace text
