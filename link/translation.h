// The user's language for the messages of the programs without Qt (the command line, the link
// helper) and for the link's and the device's texts wherever they are shown. The texts are
// English in the code and looked up in the gettext catalogue "qbr20g"; English is what is shown
// when no catalogue has the text. JSON, exit statuses and frames never pass through here.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// A text in the user's language.
#define _(text) ::translation::translated(text)
// A text for the catalogue, looked up later with _() where it is shown.
#define N_(text) text
// A reason the link gives (a lost helper, a refused frame), which the command line's JSON rows
// quote: in the user's language, but in English once keep_link_reasons_english() was called.
#define L_(text) ::translation::link_reason(text)
// The singular or plural form of a count's text, as the user's language has them.
#define P_(singular, plural, count) ::translation::translated_plural(singular, plural, count)

namespace translation {

// The languages asked for, most wanted first: LANGUAGE's list when it is set, else the language
// of the first of LC_ALL, LC_MESSAGES and LANG that is set. "de_AT.UTF-8@euro" gives "de_AT"
// then "de". Empty for English: nothing set, or the C or POSIX locale, or English itself.
std::vector<std::string> requested_languages();

// Makes _() answer in the requested languages from the catalogues under
// <the program's folder>/<catalogues_from_program> (or an absolute folder). It sets LANGUAGE to
// the list it chose, so that a program started from here (the link helper) speaks the same
// language. Call it first thing in main(), before any thread starts.
void set_up_messages(std::string_view catalogues_from_program);

const char* translated(const char* english);

// From now on the link's reasons stay English, the system's error texts in them included, and the
// link helper is started without the user's language: for output that programs read (JSON).
void keep_link_reasons_english();
bool link_reasons_english();
const char* link_reason(const char* english);
// The text of `error` (an errno value), as a link reason.
std::string error_reason(int error);
// `text` with %1 to %9 replaced by the values in order, so that a message is one whole sentence
// for its translators, who may move the placeholders. "%%" is a percent sign.
std::string filled(std::string_view text, std::initializer_list<std::string_view> values);
std::string filled(std::string_view text, const std::vector<std::string_view>& values);
const char* translated_plural(const char* singular, const char* plural, unsigned long count);

} // namespace translation
