#include "skin/skin_accessibility.h"

#include <QAccessibleWidget>

#include <utility>

#include "skin/progress_banner.h"
#include "skin/transparent_label.h"

namespace {

class TransparentLabelAccessible : public QAccessibleWidget {
public:
  explicit TransparentLabelAccessible(CTransparentLabel* label)
      : QAccessibleWidget(label, QAccessible::StaticText) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
      return static_cast<CTransparentLabel*>(widget())->Text();
    return QAccessibleWidget::text(t);
  }
};

class BannerAccessible : public QAccessibleWidget {
public:
  explicit BannerAccessible(CProgressBanner* banner) : QAccessibleWidget(banner) {}

  QAccessible::Role role() const override {
    return Banner()->BaseBitmap() == SAVED_NOTICE ? QAccessible::Notification
                                                  : QAccessible::ProgressBar;
  }

  QString text(QAccessible::Text t) const override {
    switch (t) {
    case QAccessible::Name:
      return Banner()->Caption();
    case QAccessible::Description:
      return Banner()->Detail();
    default:
      return QAccessibleWidget::text(t);
    }
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.busy = Banner()->Running();
    return state;
  }

private:
  CProgressBanner* Banner() const { return static_cast<CProgressBanner*>(widget()); }
};

AccessibleEventWatch* innermost_watch = nullptr;

QAccessibleInterface* SkinAccessibleFactory(const QString& class_name, QObject* object) {
  if (class_name == QLatin1String("CTransparentLabel"))
    return new TransparentLabelAccessible(static_cast<CTransparentLabel*>(object));
  if (class_name == QLatin1String("CProgressBanner"))
    return new BannerAccessible(static_cast<CProgressBanner*>(object));
  return nullptr;
}

} // namespace

AccessibleEventWatch::AccessibleEventWatch(std::function<void(QAccessibleEvent*)> see)
    : see_(std::move(see)), previous_(std::exchange(innermost_watch, this)) {}

AccessibleEventWatch::~AccessibleEventWatch() { innermost_watch = previous_; }

void TellScreenReaders(QAccessibleEvent* event) {
  for (AccessibleEventWatch* watch = innermost_watch; watch != nullptr; watch = watch->previous_)
    watch->see_(event);
  QAccessible::updateAccessibility(event);
}

void InstallSkinAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(SkinAccessibleFactory);
    return true;
  }();
  (void)installed;
}
