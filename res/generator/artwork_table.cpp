#include "artwork_table.h"

#include "artwork_style.h"
#include "pictures.h"
#include "res/page_layout.h"
#include "res/page_text.h"

namespace artwork {

namespace {

// The looks of a skinned button, each at the size of the button's place; a button whose
// pressed picture is its normal one has two.
void AddButton(std::vector<Artwork>& list, const ButtonPlace& place) {
  const QSize size = place.rect.size();
  const QString caption = PageText(place.caption);
  const auto look = [&](ArtworkId id, ButtonLook button_look, const char* name) {
    list.push_back(
        {id, size, caption + QStringLiteral(" (%1)").arg(QLatin1String(name)),
         [size, caption, button_look] { return ButtonPicture(size, caption, button_look); }});
  };
  look(place.normal, ButtonLook::Normal, "normal");
  look(place.hover, ButtonLook::Hover, "hover");
  if (place.pressed != place.normal)
    look(place.pressed, ButtonLook::Pressed, "pressed");
  look(place.focused, ButtonLook::Focused, "focused");
}

} // namespace

const std::vector<Artwork>& ArtworkTable() {
  static const std::vector<Artwork> table = [] {
    const QSize page(635, 474);
    std::vector<Artwork> list = {
        {APPLICATION_ICON, QSize(64, 64), QStringLiteral("application icon"), ApplicationIcon},
        {DEVICE_LIST_BACKGROUND, page, QStringLiteral("device list page"), DeviceListBackground},
        {SITE_SURVEY_BACKGROUND, QSize(636, 473), QStringLiteral("site survey page"),
         SiteSurveyBackground},
        {SECURITY_BACKGROUND, page, QStringLiteral("security page"), SecurityBackground},
        {WEP_BACKGROUND, page, QStringLiteral("WEP key page"), WepBackground},
        {WPA_BACKGROUND, page, QStringLiteral("WPA-PSK page"), [] { return WpaBackground(false); }},
        {WPA2_BACKGROUND, page, QStringLiteral("WPA2-PSK page"),
         [] { return WpaBackground(true); }},
        {SUMMARY_BACKGROUND, page, QStringLiteral("summary page"), SummaryBackground},
        {FINISH_BACKGROUND, QSize(634, 473), QStringLiteral("finish page"), FinishBackground},
        {SAVED_NOTICE, SAVED_NOTICE_SIZE, QStringLiteral("saved notice"),
         [] { return SavedNotice(false); }},
        {SAVED_NOTICE_CLOSE_LIT, SAVED_NOTICE_SIZE, QStringLiteral("saved notice, close lit"),
         [] { return SavedNotice(true); }},
        {PRODUCT_MASK, PRODUCT_LINK_RECT.size(), QStringLiteral("product mask"), ProductMask},
        {PRODUCT_BUBBLE, PRODUCT_LINK_RECT.size(), QStringLiteral("product bubble"),
         [] { return ProductBubble(false); }},
        {PRODUCT_BUBBLE_FOCUSED, PRODUCT_LINK_RECT.size(),
         QStringLiteral("product bubble, focused"), [] { return ProductBubble(true); }},
        {ASCII_KEY_HINT, KEY_HINT_RECT.size(), QStringLiteral("ASCII key hint"),
         [] { return KeyHint(false); }},
        {HEX_KEY_HINT, KEY_HINT_RECT.size(), QStringLiteral("hex key hint"),
         [] { return KeyHint(true); }},
    };
    for (const ButtonPlace& button :
         {SURVEY_REFRESH_BUTTON, BACK_BUTTON, NEXT_BUTTON, EXIT_BUTTON, WEB_SITE_BUTTON})
      AddButton(list, button);
    for (int frame = 0; frame < BANNER_FRAME_COUNT; ++frame) {
      list.push_back({SEARCHING_FRAME_0 + frame, WORK_BANNER_SIZE,
                      QStringLiteral("searching, frame %1").arg(frame),
                      [frame] { return ProgressFrame(1, frame); }});
      list.push_back({PLEASE_WAIT_FRAME_0 + frame, WORK_BANNER_SIZE,
                      QStringLiteral("please wait, frame %1").arg(frame),
                      [frame] { return ProgressFrame(2, frame); }});
    }
    return list;
  }();
  return table;
}

} // namespace artwork
