#include <atomic>
#include <thread>

#include <QFontInfo>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "platform/bitmaps.h"
#include "res/page_colours.h"
#include "skin/page_skin.h"
#include "skin/transparent_label.h"
#include "widget_pixels.h"

namespace {

class Page : public QWidget {
public:
  Page() { background_ = ApplyPageSkin(this, 174, QPoint(0, 0)); }

  // What the page shows under the status line.
  QImage StatusArea() { return Rendered(this).copy(STATUS_LINE_RECT); }
  QImage BackgroundUnderStatusLine() const { return AsRgb32(background_).copy(STATUS_LINE_RECT); }

  int mouse_presses = 0;

protected:
  void paintEvent(QPaintEvent*) override { PaintPageBackground(this, background_); }
  void mousePressEvent(QMouseEvent*) override { ++mouse_presses; }

private:
  QImage background_;
};

class TransparentLabelTest : public ::testing::Test {
protected:
  void SetUp() override {
    label_ = new CTransparentLabel(&page_);
    PlaceStatusLine(label_);
  }

  Page page_;
  CTransparentLabel* label_ = nullptr;
};

bool HasPixelNear(const QImage& image, QColor colour) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) < 8 && std::abs(c.green() - colour.green()) < 8 &&
          std::abs(c.blue() - colour.blue()) < 8) {
        return true;
      }
    }
  }
  return false;
}

} // namespace

TEST_F(TransparentLabelTest, StartsEmptyAndShowsOnlyThePageUnderIt) {
  // Whatever text a template gave the control (such as "Static"), the label shows its own.
  label_->setWindowTitle("Static");
  label_->setObjectName("Static");
  EXPECT_TRUE(label_->Text().isEmpty());
  EXPECT_EQ(page_.StatusArea(), page_.BackgroundUnderStatusLine());
}

TEST_F(TransparentLabelTest, TextIsDrawnInItsColourOverThePicture) {
  label_->SetText("Searching Wireless Network ...");
  const QImage shown = page_.StatusArea();
  EXPECT_NE(shown, page_.BackgroundUnderStatusLine());
  EXPECT_EQ(label_->Color(), QColor::fromRgb(PAGE_INK)) << "a status line writes in ink";
  EXPECT_TRUE(HasPixelNear(shown, QColor::fromRgb(PAGE_INK)));
  EXPECT_EQ(CTransparentLabel().Color(), QColor(150, 150, 150)) << "a bare label in grey";

  label_->SetColor(Qt::white);
  label_->SetText("5.0.32.7");
  EXPECT_TRUE(HasPixelNear(page_.StatusArea(), Qt::white));
}

TEST_F(TransparentLabelTest, ShorterTextLeavesNoTraceOfALongerOne) {
  label_->SetText("There are 12 wireless networks, a long line of text");
  page_.StatusArea();
  label_->SetText("Save config failed !");
  const QImage after_long = page_.StatusArea();

  Page fresh;
  auto* only_short = new CTransparentLabel(&fresh);
  PlaceStatusLine(only_short);
  only_short->SetText("Save config failed !");
  EXPECT_EQ(after_long, fresh.StatusArea());

  label_->SetText("");
  EXPECT_EQ(page_.StatusArea(), page_.BackgroundUnderStatusLine());
}

TEST_F(TransparentLabelTest, DrawsInArial14PixelsFromLiberationSans) {
  const QFont font = CTransparentLabel::LabelFont();
  EXPECT_EQ(font.pixelSize(), 14);
  EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans");
}

TEST_F(TransparentLabelTest, TakesItsOwnClicksSoThePageIsNotDragged) {
  QTest::mouseClick(label_, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_EQ(page_.mouse_presses, 0);
}

TEST_F(TransparentLabelTest, TipIsSetAndCleared) {
  label_->SetTipText("tip");
  EXPECT_EQ(label_->toolTip(), "tip");
  PlaceStatusLine(label_);
  EXPECT_TRUE(label_->toolTip().isEmpty());
}

TEST_F(TransparentLabelTest, SetTextFromAWorkerNeitherCrashesNorTears) {
  const QString first = "Searching Wireless Network ...";
  const QString second = "There are 3 wireless networks.";
  label_->SetText(first);
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < 20000; ++i) {
      label_->SetText(i % 2 == 0 ? first : second);
    }
    label_->SetText("Save config successfully !");
    done = true;
  });
  int paints = 0;
  QString torn;
  while (!done) {
    const QString seen = label_->Text();
    if (seen != first && seen != second && seen != "Save config successfully !") {
      torn = seen;
    }
    page_.StatusArea();
    QCoreApplication::processEvents();
    ++paints;
  }
  worker.join();
  EXPECT_TRUE(torn.isNull()) << "read a text that was never set: " << torn;
  QCoreApplication::processEvents();
  EXPECT_GT(paints, 0);
  EXPECT_EQ(label_->Text(), "Save config successfully !");

  Page fresh;
  auto* expected = new CTransparentLabel(&fresh);
  PlaceStatusLine(expected);
  expected->SetText("Save config successfully !");
  EXPECT_EQ(page_.StatusArea(), fresh.StatusArea());
}
