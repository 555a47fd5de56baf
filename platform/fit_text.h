// Room for longer words: a control whose texts are too wide for it in the language shown takes a
// smaller font, down to three quarters of its own, so that the words stay whole. Texts that fit
// leave the control's font as it is.
#pragma once

#include <QStringList>

class QComboBox;
class QLineEdit;
class QWidget;

// Gives `control` its usual font again, then the largest smaller one in which every one of
// `texts` is at most `room` pixels wide.
void FitFontToTexts(QWidget* control, const QStringList& texts, int room);

// The width a drop-down list has for its entries' text, beside its arrow.
int ComboTextRoom(const QComboBox* list);

// The width a text field has for its text, inside its frame and margins.
int LineEditTextRoom(const QLineEdit* field);

// Fits a drop-down list's font to all of its entries.
void FitComboFont(QComboBox* list);
