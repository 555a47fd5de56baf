#include "platform/browser_command.h"

#include <QList>

namespace {

bool IsLinkPlaceholder(QChar code) {
  return code == u'u' || code == u'U' || code == u'f' || code == u'F';
}

QString UnescapeDesktopString(QStringView value) {
  QString out;
  out.reserve(value.size());
  for (qsizetype i = 0; i < value.size(); ++i) {
    const QChar c = value[i];
    if (c != u'\\' || i + 1 == value.size()) {
      out += c;
      continue;
    }
    const QChar next = value[++i];
    switch (next.unicode()) {
    case 's':
      out += u' ';
      break;
    case 'n':
      out += u'\n';
      break;
    case 't':
      out += u'\t';
      break;
    case 'r':
      out += u'\r';
      break;
    case '\\':
      out += u'\\';
      break;
    default:
      // Not a string escape: leave it for the command-line quoting rules.
      out += u'\\';
      out += next;
    }
  }
  return out;
}

} // namespace

QString DesktopEntryExec(const QByteArray& desktop_entry) {
  const QList<QByteArray> lines = desktop_entry.split('\n');
  bool in_entry_group = false;
  for (QByteArray line : lines) {
    line = line.trimmed();
    if (line.startsWith('[')) {
      in_entry_group = line == "[Desktop Entry]";
      continue;
    }
    if (!in_entry_group || !line.startsWith("Exec")) {
      continue;
    }
    const qsizetype equals = line.indexOf('=');
    if (equals < 0 || line.left(equals).trimmed() != "Exec") {
      continue;
    }
    return UnescapeDesktopString(QString::fromUtf8(line.mid(equals + 1).trimmed()));
  }
  return QString();
}

QString CutCommandLineAtPlaceholder(const QString& command_line) {
  qsizetype first_quoted = -1;
  qsizetype first_bare = -1;
  for (qsizetype i = 0; i + 1 < command_line.size(); ++i) {
    if (command_line[i] != u'%') {
      continue;
    }
    if (command_line[i + 1] == u'%') {
      ++i;
      continue;
    }
    if (!IsLinkPlaceholder(command_line[i + 1])) {
      continue;
    }
    if (first_bare < 0) {
      first_bare = i;
    }
    const bool quoted = i > 0 && command_line[i - 1] == u'"' && i + 2 < command_line.size() &&
                        command_line[i + 2] == u'"';
    if (quoted) {
      first_quoted = i - 1;
      break;
    }
  }
  if (first_quoted >= 0) {
    return command_line.left(first_quoted);
  }
  if (first_bare >= 0) {
    return command_line.left(first_bare);
  }
  return command_line;
}

QString FallbackCommandLine(const QString& command_line, const QString& target) {
  return CutCommandLineAtPlaceholder(command_line) + u' ' + target;
}

std::optional<QStringList> SplitCommandLine(const QString& command_line) {
  QStringList words;
  QString word;
  bool in_word = false;
  bool quoted = false;
  for (qsizetype i = 0; i < command_line.size(); ++i) {
    const QChar c = command_line[i];
    if (quoted) {
      if (c == u'"') {
        quoted = false;
      } else if (c == u'\\' && i + 1 < command_line.size()) {
        const QChar next = command_line[i + 1];
        if (next == u'"' || next == u'`' || next == u'$' || next == u'\\') {
          word += next;
          ++i;
        } else {
          word += c;
        }
      } else {
        word += c;
      }
    } else if (c == u'"') {
      quoted = true;
      in_word = true;
    } else if (c == u' ' || c == u'\t' || c == u'\n') {
      if (in_word) {
        words += word;
        word.clear();
        in_word = false;
      }
    } else {
      word += c;
      in_word = true;
    }
  }
  if (quoted) {
    return std::nullopt;
  }
  if (in_word) {
    words += word;
  }

  QStringList arguments;
  for (const QString& w : words) {
    // A lone field code (%i, %c, %k and the deprecated ones) expands to nothing we can supply.
    if (w.size() == 2 && w[0] == u'%' && w[1] != u'%') {
      continue;
    }
    QString argument = w;
    argument.replace(QStringLiteral("%%"), QStringLiteral("%"));
    arguments += argument;
  }
  if (arguments.isEmpty() || arguments.front().isEmpty()) {
    return std::nullopt;
  }
  return arguments;
}
