#include "wizard/wizard_page.h"

#include <QMouseEvent>
#include <QStringDecoder>

#include "platform/dialog_units.h"
#include "skin/page_skin.h"
#include "skin/progress_banner.h"
#include "skin/skin_button.h"
#include "skin/transparent_label.h"
#include "wizard/setup_app.h"

CWizardPage::CWizardPage(int idd, int template_width_du, int template_height_du) : CPageBase(idd) {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  resize(dialog_units_to_pixels(template_width_du), dialog_units_to_pixels(template_height_du));
}

void CWizardPage::SkinPage(int bitmap_id) {
  background_ = ApplyPageSkin(this, bitmap_id, QPoint(theApp.page_origin_x, theApp.page_origin_y));
}

void CWizardPage::FinishSetUp() { ApplyPageFrame(this); }

CSkinButton* CWizardPage::AddSkinButton(int id, int x_du, int y_du, int w_du, int h_du) {
  auto* button = new CSkinButton(this);
  SetControlId(button, id);
  button->setGeometry(dialog_rect_to_pixels(x_du, y_du, w_du, h_du));
  return button;
}

CTransparentLabel* CWizardPage::AddLabel(int id, int x_du, int y_du, int w_du, int h_du) {
  auto* label = new CTransparentLabel(this);
  SetControlId(label, id);
  label->setGeometry(dialog_rect_to_pixels(x_du, y_du, w_du, h_du));
  return label;
}

void CWizardPage::PlaceButton(CSkinButton* button, const ButtonPlace& place) {
  PlaceSkinButton(button, place.rect, place.normal, place.hover, place.pressed);
}

CProgressBanner* CWizardPage::AddBanner(int width, int height) {
  auto* banner = new CProgressBanner(this);
  banner->PlaceCentred(QSize(width, height));
  return banner;
}

void CWizardPage::paintEvent(QPaintEvent*) { PaintPageBackground(this, background_); }

void CWizardPage::mousePressEvent(QMouseEvent* event) {
  // Only a press on the bare background moves the page; controls take their own presses.
  if (event->button() == Qt::LeftButton && !childAt(event->position().toPoint()))
    BeginPageDrag(this, event);
  else
    CPageBase::mousePressEvent(event);
}

QString DisplayText(const char* bytes, std::size_t length) {
  const QByteArrayView view(bytes, static_cast<qsizetype>(length));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(view);
  if (!utf8.hasError())
    return text;
  return QString::fromLatin1(view);
}

QString DisplayText(const QByteArray& bytes) {
  return DisplayText(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool HasControlByte(const QByteArray& bytes) {
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f)
      return true;
  }
  return false;
}
