#include "wizard/wizard_page.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>

#include "device/security_modes.h"
#include "platform/dialog_units.h"
#include "platform/fit_text.h"
#include "platform/tab_order.h"
#include "res/page_text.h"
#include "skin/page_skin.h"
#include "skin/progress_banner.h"
#include "skin/skin_button.h"
#include "skin/transparent_label.h"
#include "wizard/setup_app.h"

CWizardPage::CWizardPage(Page page, int idd, int template_width_du, int template_height_du)
    : CPageBase(idd), page_(page) {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  resize(dialog_units_to_pixels(template_width_du), dialog_units_to_pixels(template_height_du));
}

void CWizardPage::SkinPage(int bitmap_id) {
  background_ =
      ScreenBitmap(bitmap_id, ApplyPageSkin(this, bitmap_id,
                                            QPoint(theApp.page_origin_x, theApp.page_origin_y)));
}

void CWizardPage::FinishSetUp(const PageHeading& heading, QWidget* first) {
  ApplyPageFrame(this);
  for (QComboBox* list : findChildren<QComboBox*>())
    FitComboFont(list);
  NameControl(this, heading.title, heading.instruction);
  OrderTabsByPlace(this);
  if (first != nullptr)
    first->setFocus(Qt::OtherFocusReason);
}

void CWizardPage::NameControl(QWidget* control, const char* name, const char* description) {
  control->setAccessibleName(PageText(name));
  control->setAccessibleDescription(PageText(description));
  // On Linux Qt names a drop-down list by its choice and leaves its label to a label that names
  // it as its buddy; ours is painted, so an unseen label stands in for it.
  if (auto* list = qobject_cast<QComboBox*>(control)) {
    QLabel* label = nullptr;
    for (QLabel* sibling : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
      if (sibling->buddy() == list)
        label = sibling;
    if (label == nullptr) {
      label = new QLabel(this);
      label->hide();
      label->setBuddy(list);
    }
    label->setText(PageText(name));
  }
}

void CWizardPage::OnEnter() { PressIfUsable(next_); }

CSkinButton* CWizardPage::AddSkinButton(int id, int x_du, int y_du, int w_du, int h_du) {
  auto* button = AddControl<CSkinButton>(id);
  button->setGeometry(dialog_rect_to_pixels(x_du, y_du, w_du, h_du));
  return button;
}

CSkinButton* CWizardPage::AddExitButton(int x_du, int y_du, int w_du, int h_du) {
  CSkinButton* exit = AddSkinButton(IDC_EXIT, x_du, y_du, w_du, h_du);
  connect(exit, &QPushButton::clicked, this, &CPageBase::reject);
  return exit;
}

CTransparentLabel* CWizardPage::AddLabel(int id, int x_du, int y_du, int w_du, int h_du) {
  auto* label = AddControl<CTransparentLabel>(id);
  label->setGeometry(dialog_rect_to_pixels(x_du, y_du, w_du, h_du));
  return label;
}

QComboBox* CWizardPage::AddSecurityModeList(int id) {
  auto* list = AddControl<QComboBox>(id);
  for (int mode = 0; mode < SECURITY_MODE_COUNT; ++mode) {
    // Shown in the user's language; the page decides by the English text that the entry keeps.
    const std::string_view text = security_mode_text(mode);
    const QString english = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    list->addItem(PageText(english.toLatin1().constData()), english);
  }
  return list;
}

void CWizardPage::PlaceNavigation() {
  PlaceSkinButton(back_, BACK_BUTTON);
  PlaceSkinButton(next_, NEXT_BUTTON);
  PlaceSkinButton(exit_, EXIT_BUTTON);
}

CProgressBanner* CWizardPage::AddBanner(QSize size) {
  auto* banner = new CProgressBanner(this);
  banner->PlaceCentred(size);
  return banner;
}

bool CWizardPage::Follow(Choice choice, int mode) {
  const std::optional<PageStep> next = NextPage(page_, choice, mode);
  if (!next)
    return false;
  HandOver([step = *next] { return BuildPage(step); });
  return true;
}

void CWizardPage::paintEvent(QPaintEvent*) {
  PaintPageBackground(this, background_.ForScreen(devicePixelRatioF()));
}

void CWizardPage::mousePressEvent(QMouseEvent* event) {
  // Only a press on the bare background moves the page; controls take their own presses.
  if (event->button() == Qt::LeftButton && !childAt(event->position().toPoint()))
    BeginPageDrag(this, event);
  else
    CPageBase::mousePressEvent(event);
}
