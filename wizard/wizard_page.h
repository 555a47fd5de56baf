// What every wizard page shares on top of the page base: its background picture, the shape cut
// from it, the place at the application's page origin, painting and dragging by the background.
#pragma once

#include <QImage>
#include <QRect>

#include "platform/page_base.h"
#include "res/page_layout.h"

class CSkinButton;
class CTransparentLabel;
class CProgressBanner;

// Exit is the pages' cancel command.
constexpr int IDC_EXIT = 2;

// Template size of the pages (423 x 314 dialog units) before the background sets the real one.
constexpr int PAGE_TEMPLATE_WIDTH_DU = 423;
constexpr int PAGE_TEMPLATE_HEIGHT_DU = 314;

class CWizardPage : public CPageBase {
  Q_OBJECT

public:
  explicit CWizardPage(int idd, int template_width_du = PAGE_TEMPLATE_WIDTH_DU,
                       int template_height_du = PAGE_TEMPLATE_HEIGHT_DU);

  const QImage& Background() const { return background_; }

protected:
  // Loads the background, moves the page to the application's origin at its size and cuts the
  // page to its shape.
  void SkinPage(int bitmap_id);
  // Window title and task-bar entry, the last step of every page's set-up.
  void FinishSetUp();

  // Child controls of the page "template", placed at their template rectangle (dialog units).
  CSkinButton* AddSkinButton(int id, int x_du, int y_du, int w_du, int h_du);
  CTransparentLabel* AddLabel(int id, int x_du, int y_du, int w_du, int h_du);
  void PlaceButton(CSkinButton* button, const ButtonPlace& place);
  // The banner is 290 x 82 (395 x 130 on the finish page), centred in the client area.
  CProgressBanner* AddBanner(int width, int height);

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

  QImage background_;
};

// A text that may come from the air or a user, shown decoded: UTF-8 when it is valid UTF-8,
// else Latin-1. The bytes themselves are what travels to the bridge.
QString DisplayText(const char* bytes, std::size_t length);
QString DisplayText(const QByteArray& bytes);

// True when `bytes` holds a byte below 0x20 or 0x7F: such a value would break the bridge's
// line-oriented settings text.
bool HasControlByte(const QByteArray& bytes);
