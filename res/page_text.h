// The page words in the user's language. The artwork generator draws them so at build time,
// once per language, and the pages give the same words to screen readers and to their controls.
// A word that no translation has stays English.
#pragma once

#include <QCoreApplication>
#include <QString>

inline QString PageText(const char* english) {
  return QCoreApplication::translate("PageWords", english);
}
