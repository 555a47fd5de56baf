// What every wizard page shares on top of the page base: its background picture, the shape cut
// from it, the place at the application's page origin, painting and dragging by the
// background, its skinned controls, the hand-over to the page that the flow names, and what
// keyboard and screen reader users need: names, the keyboard's order, the first focus, and Enter
// as Next.
#pragma once

#include <QImage>
#include <QSize>

#include "platform/bitmaps.h"
#include "platform/page_base.h"
#include "res/page_layout.h"
#include "res/page_words.h"
#include "wizard/page_flow.h"

class CSkinButton;
class CTransparentLabel;
class CProgressBanner;
class QComboBox;

// Exit is the pages' cancel command.
constexpr int IDC_EXIT = 2;

// Template size of the pages (423 x 314 dialog units) before the background sets the real one.
constexpr int PAGE_TEMPLATE_WIDTH_DU = 423;
constexpr int PAGE_TEMPLATE_HEIGHT_DU = 314;

class CWizardPage : public CPageBase {
  Q_OBJECT

public:
  CWizardPage(Page page, int idd, int template_width_du = PAGE_TEMPLATE_WIDTH_DU,
              int template_height_du = PAGE_TEMPLATE_HEIGHT_DU);

protected:
  // Loads the background, moves the page to the application's origin at its size and cuts the
  // page to its shape.
  void SkinPage(int bitmap_id);
  // The last step of every page's set-up: window title and task-bar entry; the page's title as
  // its window's name and its instruction as the window's description, so a screen reader says
  // where the user now is; the keyboard's order by place; the focus on `first`, the control the
  // user most likely wants first.
  void FinishSetUp(const PageHeading& heading, QWidget* first);
  // Names `control` for screen readers by the words painted beside it, and describes it by the
  // note painted near it, if any.
  void NameControl(QWidget* control, const char* name, const char* description = "");

  // A child control with its id.
  template <typename T> T* AddControl(int id) {
    auto* control = new T(this);
    SetControlId(control, id);
    return control;
  }
  // Child controls of the page "template", at their template rectangle (dialog units); those
  // that the page places itself at set-up need none.
  CSkinButton* AddSkinButton(int id, int x_du = 0, int y_du = 0, int w_du = 0, int h_du = 0);
  // Exit, which ends the wizard.
  CSkinButton* AddExitButton(int x_du = 0, int y_du = 0, int w_du = 0, int h_du = 0);
  CTransparentLabel* AddLabel(int id, int x_du = 0, int y_du = 0, int w_du = 0, int h_du = 0);
  // A drop-down list of the security modes: its positions are the mode numbers.
  QComboBox* AddSecurityModeList(int id);
  // Back, Next and Exit in the row every page has.
  void PlaceNavigation();
  // Hidden until started; centred in the client area.
  CProgressBanner* AddBanner(QSize size);

  // Hands over to the page that the flow names for `choice` here (see NextPage for `mode`).
  // False, and nothing happens, when the page stays.
  bool Follow(Choice choice, int mode = 0);

  // Enter is Next while Next is enabled: the same checks in the same order, the same messages.
  void OnEnter() override;

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

  ScreenBitmap background_;
  // Every page has them; each page makes them in its own order.
  CSkinButton* back_ = nullptr;
  CSkinButton* next_ = nullptr;
  CSkinButton* exit_ = nullptr;

private:
  const Page page_;
};
