// Every text that the artwork draws passes through here, so that a test can look at each one as
// it is drawn: the picture just before and just after, over the text's bounds. Without an
// observer the text is simply drawn.
#pragma once

#include <functional>

#include <QPainter>
#include <QRectF>
#include <QString>

namespace artwork {

// `draw` draws the text; an observer calls it once, between its two looks at the picture.
using TextObserver = std::function<void(QPainter& painter, const QRectF& bounds,
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

// Runs `draw`, which draws `text` within `bounds` (in the painter's coordinates), through the
// observer when there is one.
void DrawObserved(QPainter& painter, const QRectF& bounds, const QString& text,
                  const std::function<void()>& draw);

} // namespace artwork
