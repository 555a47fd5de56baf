#include "artwork_table.h"

#include "artwork_style.h"
#include "pictures.h"

namespace artwork {

namespace {

Artwork Button(int id, QSize size, const QString& caption, ButtonLook look) {
  static const char* const look_names[] = {"normal", "hover", "pressed"};
  return {id, size, caption + QStringLiteral(" (%1)").arg(look_names[static_cast<int>(look)]),
          [size, caption, look] { return ButtonPicture(size, caption, look); }};
}

} // namespace

const std::vector<Artwork>& ArtworkTable() {
  static const std::vector<Artwork> table = [] {
    const QSize page(635, 474);
    const QSize back(48, 21);
    const QSize next(47, 22);
    const QSize exit(43, 23);
    const QSize refresh(122, 25);
    const QSize visit(106, 24);
    const QSize banner(290, 82);
    const QSize notice(395, 130);
    std::vector<Artwork> list = {
        {128, QSize(64, 64), QStringLiteral("application icon"), ApplicationIcon},
        {159, page, QStringLiteral("device list page"), DeviceListBackground},
        {172, QSize(636, 473), QStringLiteral("site survey page"), SiteSurveyBackground},
        {173, page, QStringLiteral("security page"), SecurityBackground},
        {174, page, QStringLiteral("WEP key page"), WepBackground},
        {175, page, QStringLiteral("WPA-PSK page"), [] { return WpaBackground(false); }},
        {176, page, QStringLiteral("WPA2-PSK page"), [] { return WpaBackground(true); }},
        {177, page, QStringLiteral("summary page"), SummaryBackground},
        {178, QSize(634, 473), QStringLiteral("finish page"), FinishBackground},
        Button(189, refresh, QStringLiteral("Refresh List"), ButtonLook::Normal),
        Button(180, refresh, QStringLiteral("Refresh List"), ButtonLook::Hover),
        Button(181, back, QStringLiteral("Back"), ButtonLook::Normal),
        Button(182, back, QStringLiteral("Back"), ButtonLook::Hover),
        Button(183, back, QStringLiteral("Back"), ButtonLook::Pressed),
        Button(184, exit, QStringLiteral("Exit"), ButtonLook::Normal),
        Button(185, exit, QStringLiteral("Exit"), ButtonLook::Hover),
        Button(186, next, QStringLiteral("Next"), ButtonLook::Normal),
        Button(187, next, QStringLiteral("Next"), ButtonLook::Hover),
        Button(188, next, QStringLiteral("Next"), ButtonLook::Pressed),
        Button(193, visit, QStringLiteral("Visit Web Site"), ButtonLook::Normal),
        Button(192, visit, QStringLiteral("Visit Web Site"), ButtonLook::Hover),
        {150, notice, QStringLiteral("saved notice"), [] { return SavedNotice(false); }},
        {151, notice, QStringLiteral("saved notice, close lit"), [] { return SavedNotice(true); }},
        {221, QSize(227, 182), QStringLiteral("product mask"), ProductMask},
        {222, QSize(227, 182), QStringLiteral("product bubble"), ProductBubble},
        {197, QSize(114, 8), QStringLiteral("ASCII key hint"), [] { return KeyHint(false); }},
        {198, QSize(114, 8), QStringLiteral("hex key hint"), [] { return KeyHint(true); }},
    };
    for (int frame = 0; frame < 4; ++frame) {
      list.push_back({139 + frame, banner, QStringLiteral("searching, frame %1").arg(frame),
                      [frame] { return ProgressFrame(1, frame); }});
      list.push_back({145 + frame, banner, QStringLiteral("please wait, frame %1").arg(frame),
                      [frame] { return ProgressFrame(2, frame); }});
    }
    return list;
  }();
  return table;
}

} // namespace artwork
