#include "tests/gui/pseudo_language.h"

#include <algorithm>

namespace {

// The accented form of each ASCII letter, a to z then A to Z.
const char16_t ACCENTED_LOWER[] = u"áƀçďéƒğĥíĵķĺɱñóþʠŕšţúʋŵχýž";
const char16_t ACCENTED_UPPER[] = u"ÁƁÇĎÉƑĞĤÍĴĶĹṀÑÓÞǪŔŠŢÚƲŴΧÝŽ";

QChar Accented(QChar c) {
  const char16_t u = c.unicode();
  if (u >= 'a' && u <= 'z')
    return QChar(ACCENTED_LOWER[u - 'a']);
  if (u >= 'A' && u <= 'Z')
    return QChar(ACCENTED_UPPER[u - 'A']);
  return c;
}

bool IsAsciiLetter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

} // namespace

QString Pseudo(const QString& english) {
  QString out;
  for (qsizetype i = 0; i < english.size();) {
    const QChar c = english[i];
    // %1, %n, %L1 are filled in after the lookup.
    if (c == u'%' && i + 1 < english.size()) {
      qsizetype end = i + 1;
      if (english[end] == u'L')
        ++end;
      if (end < english.size() && (english[end].isDigit() || english[end] == u'n')) {
        out += english.mid(i, end + 1 - i);
        i = end + 1;
        continue;
      }
    }
    if (!IsAsciiLetter(c)) {
      out += c;
      ++i;
      continue;
    }
    qsizetype end = i;
    while (end < english.size() && IsAsciiLetter(english[end]))
      ++end;
    const QString word = english.mid(i, end - i);
    QString accented;
    for (QChar letter : word)
      accented += Accented(letter);
    // Two letters more for every five, and at least one.
    const qsizetype extra = std::max<qsizetype>(1, (word.size() * 2 + 4) / 5);
    out += accented;
    for (qsizetype k = 0; k < extra; ++k)
      out += accented[k % accented.size()].toLower();
    i = end;
  }
  return out;
}

PseudoTranslator::PseudoTranslator(const QString& reference) {
  if (!reference_.load(reference))
    qFatal("the pseudo-language needs the translation %s", qPrintable(reference));
}

QString PseudoTranslator::translate(const char* context, const char* source,
                                    const char* disambiguation, int n) const {
  if (reference_.translate(context, source, disambiguation, n).isEmpty())
    return QString();
  return Pseudo(QString::fromUtf8(source));
}
