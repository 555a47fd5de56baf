#include "link/translation.h"

#include <libintl.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>

namespace translation {

namespace {

constexpr const char* DOMAIN = "qbr20g";

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// "de_AT.UTF-8@euro" -> "de_AT"; "C", "POSIX" and "C.UTF-8" -> "".
std::string language_of(std::string locale) {
  locale = locale.substr(0, locale.find_first_of(".@"));
  if (locale == "C" || locale == "POSIX")
    return std::string();
  return locale;
}

void add(std::vector<std::string>& languages, const std::string& language) {
  // A language is a name, never a path: gettext would read a catalogue from anywhere.
  if (language.empty() || language.find('/') != std::string::npos)
    return;
  for (const std::string& known : languages)
    if (known == language)
      return;
  languages.push_back(language);
}

} // namespace

std::vector<std::string> requested_languages() {
  std::vector<std::string> asked;
  const std::string list = variable("LANGUAGE");
  for (std::size_t start = 0; start <= list.size();) {
    const std::size_t end = std::min(list.find(':', start), list.size());
    add(asked, language_of(list.substr(start, end - start)));
    start = end + 1;
  }
  if (asked.empty()) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
      const std::string locale = variable(name);
      if (!locale.empty()) {
        add(asked, language_of(locale));
        break;
      }
    }
  }
  std::vector<std::string> languages;
  for (const std::string& language : asked) {
    // English is the texts themselves: it ends the list.
    if (language == "en" || language.rfind("en_", 0) == 0)
      break;
    add(languages, language);
    add(languages, language.substr(0, language.find('_')));
  }
  return languages;
}

void set_up_messages(std::string_view catalogues_from_program) {
  const std::vector<std::string> languages = requested_languages();
  std::setlocale(LC_MESSAGES, "");
  // Plain readlink into the heap: the link helper carries its own small C++ runtime, without the
  // file system library, and may run on a very small stack.
  std::string path(PATH_MAX, '\0');
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length > 0 && static_cast<std::size_t>(length) < path.size()) {
    path.resize(static_cast<std::size_t>(length));
    const std::string relative(catalogues_from_program);
    const std::string catalogues = !relative.empty() && relative[0] == '/'
                                       ? relative
                                       : path.substr(0, path.rfind('/') + 1) + relative;
    bindtextdomain(DOMAIN, catalogues.c_str());
  }
  bind_textdomain_codeset(DOMAIN, "UTF-8");
  textdomain(DOMAIN);
  std::string list;
  for (const std::string& language : languages)
    list += (list.empty() ? "" : ":") + language;
  if (list.empty()) {
    // English: a LANGUAGE that named only English or C must not reach gettext's own fallbacks.
    unsetenv("LANGUAGE");
    return;
  }
  // gettext reads LANGUAGE only outside the C locale; a locale that is not installed leaves C.
  const char* messages = std::setlocale(LC_MESSAGES, nullptr);
  if (messages == nullptr || std::string(messages) == "C" || std::string(messages) == "POSIX")
    std::setlocale(LC_MESSAGES, "C.UTF-8");
  setenv("LANGUAGE", list.c_str(), 1);
}

namespace {

std::atomic<bool> english_reasons{false};

} // namespace

void keep_link_reasons_english() { english_reasons = true; }

bool link_reasons_english() { return english_reasons; }

const char* link_reason(const char* english) {
  return english_reasons ? english : translated(english);
}

std::string error_reason(int error) {
  if (english_reasons) {
    // glibc's own English text, which strerror() would give in the user's language.
    if (const char* text = strerrordesc_np(error))
      return text;
  }
  return std::strerror(error);
}

const char* translated(const char* english) { return dgettext(DOMAIN, english); }

const char* translated_plural(const char* singular, const char* plural, unsigned long count) {
  return dngettext(DOMAIN, singular, plural, count);
}

std::string filled(std::string_view text, std::initializer_list<std::string_view> values) {
  return filled(text, std::vector<std::string_view>(values));
}

std::string filled(std::string_view text, const std::vector<std::string_view>& values) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '%' && next == '%') {
      result += '%';
      ++i;
    } else if (text[i] == '%' && next >= '1' && next <= '9' &&
               static_cast<std::size_t>(next - '1') < values.size()) {
      result += values[static_cast<std::size_t>(next - '1')];
      ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

} // namespace translation
