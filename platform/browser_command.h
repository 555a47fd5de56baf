// The command line of the browser registered for web pages, read from its desktop entry, and
// turned into a program and arguments with the link as the last argument. No shell is involved.
#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>

// The Exec value of the [Desktop Entry] group of a desktop file, with the string escapes of
// desktop files (\s \n \t \r \\) resolved; empty when there is none.
QString DesktopEntryExec(const QByteArray& desktop_entry);

// The command line cut where the link belongs: before the opening quote of a quoted %u, %U,
// %f or %F, else at the first bare one of them; a line without a placeholder stays whole.
QString CutCommandLineAtPlaceholder(const QString& command_line);

// The cut command line followed by " " and the target: the line as the browser is started.
QString FallbackCommandLine(const QString& command_line, const QString& target);

// Splits a command line by the quoting rules of desktop entries (double quotes; inside them
// \" \` \$ \\ escape). Field codes left in it are dropped and "%%" becomes "%". Nothing when
// the quoting is broken or no program remains.
std::optional<QStringList> SplitCommandLine(const QString& command_line);
