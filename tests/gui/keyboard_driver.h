// Drives a page with the keyboard alone, as a user who cannot use a mouse does: keys go to the
// control that has the focus (or to an open drop-down list), Tab moves through the page, and
// controls are found by the name a screen reader gives them. A MouseWatch fails the test if any
// mouse event reaches the application meanwhile.
#pragma once

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// What a screen reader calls a control: its name, or for a drop-down list, whose name on Linux is
// its choice, the name of the label that its label relation points to.
inline QString SpokenName(QAccessibleInterface* accessible) {
  if (accessible->role() == QAccessible::ComboBox) {
    const auto labels = accessible->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
  }
  return accessible->text(QAccessible::Name);
}

// The name a screen reader gives `widget`; empty for none.
inline QString AccessibleName(QWidget* widget) {
  QAccessibleInterface* accessible =
      widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
  return accessible ? SpokenName(accessible) : QString();
}

class KeyboardDriver {
public:
  // The widget that the next key reaches on `page`.
  static QWidget* KeyTarget(QWidget* page) {
    if (QWidget* popup = QApplication::activePopupWidget())
      return popup->focusWidget() ? popup->focusWidget() : popup;
    return page->focusWidget() ? page->focusWidget() : page;
  }

  static void Press(QWidget* page, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(KeyTarget(page), key, modifiers);
    QCoreApplication::processEvents();
  }

  static void Type(QWidget* page, const QString& text) {
    QTest::keyClicks(KeyTarget(page), text);
    QCoreApplication::processEvents();
  }

  static QString FocusName(QWidget* page) { return AccessibleName(page->focusWidget()); }

  // Presses Tab until the control named `name` has the focus; fails when a whole round of the
  // page does not reach it.
  static void TabTo(QWidget* page, const QString& name) {
    QStringList met;
    for (int presses = 0; presses < 40; ++presses) {
      if (FocusName(page) == name)
        return;
      met << FocusName(page);
      Press(page, Qt::Key_Tab);
    }
    met.removeDuplicates();
    FAIL() << "Tab never reaches \"" << name.toStdString() << "\", only "
           << met.join(", ").toStdString();
  }
};

// Counts the mouse events that reach any object of the application while it lives.
class MouseWatch : public QObject {
public:
  MouseWatch() { qApp->installEventFilter(this); }
  ~MouseWatch() override { qApp->removeEventFilter(this); }
  int events() const { return events_; }

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
      ++events_;
      break;
    default:
      break;
    }
    return false;
  }

private:
  int events_ = 0;
};
