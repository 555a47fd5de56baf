#include "platform/open_link.h"

#include <mutex>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QThreadPool>
#include <QUrl>

#include "platform/browser_command.h"

namespace {

std::mutex opener_mutex;
LinkOpener replacement_opener;

LinkOpener CurrentReplacement() {
  std::lock_guard lock(opener_mutex);
  return replacement_opener;
}

// The link as the launcher gets it: a full URL, so that it never reads as an option or as
// several arguments.
QUrl LinkUrl(const QString& target) {
  if (target.trimmed().isEmpty()) {
    return QUrl();
  }
  return QUrl::fromUserInput(target);
}

int OpenThroughDesktop(const QUrl& url) {
  return QDesktopServices::openUrl(url) ? OPEN_LINK_OPENED : OPEN_LINK_NO_ASSOCIATION;
}

int FallbackWithRegisteredBrowser(const QUrl& url, int shell_result) {
  const QString handler = DefaultHtmlHandler();
  if (handler.isEmpty()) {
    return shell_result;
  }
  return OpenLinkFallback(url.toString(QUrl::FullyEncoded), shell_result, handler);
}

void Deliver(QPointer<QObject> context, std::function<void(int)> done, int result) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) {
    return;
  }
  QMetaObject::invokeMethod(
      app,
      [context, done = std::move(done), result] {
        if (context) {
          done(result);
        }
      },
      Qt::QueuedConnection);
}

} // namespace

void SetLinkOpener(LinkOpener opener) {
  std::lock_guard lock(opener_mutex);
  replacement_opener = std::move(opener);
}

QString DefaultHtmlHandler() {
  QProcess query;
  query.start(QStringLiteral("xdg-mime"),
              {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
  if (!query.waitForStarted(3000)) {
    return QString();
  }
  if (!query.waitForFinished(3000)) {
    query.kill();
    query.waitForFinished(1000);
    return QString();
  }
  const QString id =
      QString::fromUtf8(query.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
  // A desktop entry id is a plain file name; anything else is not looked up.
  if (!id.endsWith(QStringLiteral(".desktop")) || id.contains(u'/')) {
    return QString();
  }
  return id;
}

int OpenLinkFallback(const QString& target, int shell_result, const QString& desktop_entry_id) {
  if (desktop_entry_id.isEmpty() || desktop_entry_id.contains(u'/')) {
    return shell_result;
  }
  const QString path =
      QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktop_entry_id);
  if (path.isEmpty()) {
    return shell_result;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return shell_result;
  }
  const QString exec = DesktopEntryExec(file.read(64 * 1024));
  if (exec.isEmpty()) {
    return shell_result;
  }
  std::optional<QStringList> arguments = SplitCommandLine(CutCommandLineAtPlaceholder(exec));
  if (!arguments) {
    return shell_result;
  }
  const QString program = arguments->takeFirst();
  arguments->append(target);
  return QProcess::startDetached(program, *arguments) ? OPEN_LINK_OPENED : OPEN_LINK_NOT_FOUND;
}

int OpenLink(const QString& target) {
  if (LinkOpener opener = CurrentReplacement()) {
    return opener(target);
  }
  const QUrl url = LinkUrl(target);
  if (!url.isValid()) {
    return OPEN_LINK_NOT_FOUND;
  }
  const int shell_result = OpenThroughDesktop(url);
  if (OpenLinkSucceeded(shell_result)) {
    return shell_result;
  }
  return FallbackWithRegisteredBrowser(url, shell_result);
}

void OpenLinkAsync(const QString& target, QObject* context, std::function<void(int)> done) {
  QPointer<QObject> guard(context);
  if (LinkOpener opener = CurrentReplacement()) {
    Deliver(guard, std::move(done), opener(target));
    return;
  }
  const QUrl url = LinkUrl(target);
  if (!url.isValid()) {
    Deliver(guard, std::move(done), OPEN_LINK_NOT_FOUND);
    return;
  }
  const int shell_result = OpenThroughDesktop(url);
  if (OpenLinkSucceeded(shell_result)) {
    Deliver(guard, std::move(done), shell_result);
    return;
  }
  QThreadPool::globalInstance()->start([guard, done = std::move(done), url, shell_result] {
    Deliver(guard, done, FallbackWithRegisteredBrowser(url, shell_result));
  });
}
