// Every text that the artwork draws passes through here, so that a test can look at each one as
// it is drawn: the picture just before and just after, over the text's bounds, and the room it
// was given. Without an observer the text is simply drawn.
#pragma once

#include <functional>

#include <QPainter>
#include <QRectF>
#include <QString>

namespace artwork {

// `draw` draws the text; an observer calls it once, between its two looks at the picture.
// `bounds` is what the text covers, `room` the box it had to stay within.
using TextObserver = std::function<void(QPainter& painter, const QRectF& bounds, const QRectF& room,
                                        const QString& text, const std::function<void()>& draw)>;

// Installs `observer` for as long as it lives.
class ObservingText {
public:
  explicit ObservingText(TextObserver observer);
  ~ObservingText();
  ObservingText(const ObservingText&) = delete;
  ObservingText& operator=(const ObservingText&) = delete;

private:
  TextObserver previous_;
};

// Runs `draw`, which draws `text` over `bounds` in the `room` it was given (both in the painter's
// coordinates), through the observer when there is one.
void DrawObserved(QPainter& painter, const QRectF& bounds, const QRectF& room, const QString& text,
                  const std::function<void()>& draw);

} // namespace artwork
