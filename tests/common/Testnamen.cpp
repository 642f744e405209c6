#include "common/Testnamen.h"

std::string testname(const QString& text) {
  std::string name;
  bool trenner = false;
  const auto anhängen = [&](const char* teil) {
    if (trenner && !name.empty()) name += '_';
    trenner = false;
    name += teil;
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    // A minus before a number is part of the value: -90 is not 90.
    if (c == u'-' && i + 1 < text.size() && text[i + 1].isDigit()) {
      trenner = true;
      anhängen("minus");
      continue;
    }
    switch (c.unicode()) {
      case u'ä':
        anhängen("ae");
        continue;
      case u'ö':
        anhängen("oe");
        continue;
      case u'ü':
        anhängen("ue");
        continue;
      case u'Ä':
        anhängen("Ae");
        continue;
      case u'Ö':
        anhängen("Oe");
        continue;
      case u'Ü':
        anhängen("Ue");
        continue;
      case u'ß':
        anhängen("ss");
        continue;
      default:
        break;
    }
    if (c.unicode() < 128 && c.isLetterOrNumber()) {
      const char zeichen[2] = {char(c.unicode()), 0};
      anhängen(zeichen);
    } else {
      trenner = true;
    }
  }
  return name.empty() ? std::string("Leer") : name;
}
