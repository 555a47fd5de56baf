// The language the wizard shows: the first language the user asks for (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG) that the wizard has, else English. Its texts, Qt's own (the buttons of
// message boxes) and its drawings go together: the pictures come from :/res/<language>/.
#pragma once

#include <QString>

// Chooses the language and installs its translations; call once, after the application object
// exists. Returns the language ("de"), empty for English.
QString InstallUiLanguage();

// The language chosen, empty for English; the prefix under :/res/ of its pictures.
QString UiLanguage();

// Shows `language` from now on ("" for English), in place of the one chosen. For tests.
void SetUiLanguage(const QString& language);
