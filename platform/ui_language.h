// The language the wizard shows: the first language the user asks for (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG) that the wizard has, else English. Its texts, Qt's own (the buttons of
// message boxes) and its drawings go together: the English pictures are built into the program,
// the other languages' lie in share/qbr20g-setup/<language>/ and are read one by one as the
// pages need them.
#pragma once

#include <QString>

// Chooses the language and installs its translations; call once, after the application object
// exists. Returns the language ("de"), empty for English.
QString InstallUiLanguage();

// The language chosen, empty for English.
QString UiLanguage();

// The folder of the chosen language's pictures (<id>.png, <id>@2x.png); empty for English.
QString UiLanguagePicturesDir();

// Shows `language` from now on ("" for English), in place of the one chosen. For tests.
void SetUiLanguage(const QString& language);

// Where the languages' pictures are, in place of <the program's folder>/../share/qbr20g-setup:
// for programs that are not installed beside them (tests, benchmarks).
void SetLanguageArtworkDir(const QString& dir);
QString LanguageArtworkDir(); // as set; empty when none was
