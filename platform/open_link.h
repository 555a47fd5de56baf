// Opening a link (a web address or a local file) in the user's browser.
#pragma once

#include <functional>

#include <QString>

#include "platform/open_error.h"

class QObject;

// Results above 32 mean the link was opened; the others are codes of OpenErrorText.
constexpr int OPEN_LINK_OPENED = 33;
constexpr int OPEN_LINK_NOT_FOUND = 2;
constexpr int OPEN_LINK_NO_ASSOCIATION = 31;

constexpr bool OpenLinkSucceeded(int result) { return result > 32; }

// Opens `target` through the desktop's URL handler; when that cannot start, through the browser
// registered for text/html (see browser_command.h). Call on the UI thread. The fallback waits
// for `xdg-mime` (a few seconds at most): UI code should use OpenLinkAsync.
int OpenLink(const QString& target);

// Like OpenLink, but the fallback runs on a pool thread; `done` gets the result on the UI
// thread, later, and only while `context` still exists.
void OpenLinkAsync(const QString& target, QObject* context, std::function<void(int)> done);

// The fallback alone: the desktop entry `desktop_entry_id` (e.g. "firefox-esr.desktop") is found
// in the applications folders, its command line cut at the placeholder and started detached with
// the target as its last argument. Returns `shell_result` when the entry is missing or
// unusable, OPEN_LINK_NOT_FOUND when the program does not start.
int OpenLinkFallback(const QString& target, int shell_result, const QString& desktop_entry_id);

// The desktop entry id that `xdg-mime query default text/html` names, or empty.
QString DefaultHtmlHandler();

// Replaces the way links are opened for the whole process (tests use it so that no browser
// ever starts); an empty function restores the desktop's.
using LinkOpener = std::function<int(const QString& target)>;
void SetLinkOpener(LinkOpener opener);
