// The messages shown when a link cannot be opened, keyed by the launcher's error code.
#pragma once

#include <QString>

class QWidget;

// The text for `code` from the table of open errors; codes outside it give
// "Unknown Error (<code>) occurred.".
QString OpenErrorText(int code);

// "Unable to open hyperlink:\n\n" followed by the text for `code`.
QString OpenErrorMessage(int code);

// Shows OpenErrorMessage(code) in a modal message box with the exclamation icon and OK.
void ShowOpenError(QWidget* parent, int code);
