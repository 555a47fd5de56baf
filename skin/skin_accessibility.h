// How the skinned controls that Qt cannot know by their class appear to screen readers (Qt's
// accessibility, exposed over AT-SPI on Linux):
//   - a transparent label is a label whose name is its current text;
//   - a progress banner is a progress bar named by its caption and busy while it runs, and the
//     saved notice is a notification named by its caption.
// The skinned buttons are push buttons, which Qt knows; their pages give them their names.
#pragma once

#include <functional>

class QAccessibleEvent;

// Makes Qt use the interfaces above; once is enough, more calls do nothing. The labels and
// banners call it as they are made.
void InstallSkinAccessibility();

// Tells screen readers of `event` (Qt passes it on to the platform only while a screen reader
// listens), and every AccessibleEventWatch first. The skinned controls tell their changes here.
void TellScreenReaders(QAccessibleEvent* event);

// Sees every event told through TellScreenReaders while it lives, whether a screen reader
// listens or not: tests look at them where no platform accessibility runs (offscreen).
class AccessibleEventWatch {
public:
  explicit AccessibleEventWatch(std::function<void(QAccessibleEvent*)> see);
  ~AccessibleEventWatch();
  AccessibleEventWatch(const AccessibleEventWatch&) = delete;
  AccessibleEventWatch& operator=(const AccessibleEventWatch&) = delete;

private:
  friend void TellScreenReaders(QAccessibleEvent* event);
  std::function<void(QAccessibleEvent*)> see_;
  AccessibleEventWatch* previous_;
};
