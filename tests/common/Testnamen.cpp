#include "common/Testnamen.h"

#include <utility>

namespace {

// How an umlaut or ß is spelled out in a name.
const char* ausgeschrieben(char16_t c) {
  static const std::pair<char16_t, const char*> kUmlaute[] = {{u'ä', "ae"}, {u'ö', "oe"}, {u'ü', "ue"}, {u'Ä', "Ae"},
                                                              {u'Ö', "Oe"}, {u'Ü', "Ue"}, {u'ß', "ss"}};
  for (const auto& [umlaut, text] : kUmlaute)
    if (c == umlaut) return text;
  return nullptr;
}

}  // namespace

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
    const char zeichen[2] = {char(c.unicode()), 0};
    if (c == u'-' && i + 1 < text.size() && text[i + 1].isDigit()) {
      // A minus before a number is part of the value: -90 is not 90.
      trenner = true;
      anhängen("minus");
    } else if (const char* umlaut = ausgeschrieben(c.unicode())) {
      anhängen(umlaut);
    } else if (c.unicode() < 128 && c.isLetterOrNumber()) {
      anhängen(zeichen);
    } else {
      trenner = true;
    }
  }
  return name.empty() ? std::string("Leer") : name;
}
