// Every picture of the wizard by resource id, once. The generator draws each one as
// :/res/<id>.png, the pages and skinned controls load them by these names, and
// res/CMakeLists.txt reads this list to know the files the generator writes: keep one
// QBR20G_PICTURE line per picture.
#pragma once

#define QBR20G_ARTWORK(QBR20G_PICTURE)                                                             \
  QBR20G_PICTURE(APPLICATION_ICON, 128)                                                            \
  QBR20G_PICTURE(SEARCHING_FRAME_0, 139)                                                           \
  QBR20G_PICTURE(SEARCHING_FRAME_1, 140)                                                           \
  QBR20G_PICTURE(SEARCHING_FRAME_2, 141)                                                           \
  QBR20G_PICTURE(SEARCHING_FRAME_3, 142)                                                           \
  QBR20G_PICTURE(PLEASE_WAIT_FRAME_0, 145)                                                         \
  QBR20G_PICTURE(PLEASE_WAIT_FRAME_1, 146)                                                         \
  QBR20G_PICTURE(PLEASE_WAIT_FRAME_2, 147)                                                         \
  QBR20G_PICTURE(PLEASE_WAIT_FRAME_3, 148)                                                         \
  QBR20G_PICTURE(SAVED_NOTICE, 150)                                                                \
  QBR20G_PICTURE(SAVED_NOTICE_CLOSE_LIT, 151)                                                      \
  QBR20G_PICTURE(DEVICE_LIST_BACKGROUND, 159)                                                      \
  QBR20G_PICTURE(SITE_SURVEY_BACKGROUND, 172)                                                      \
  QBR20G_PICTURE(SECURITY_BACKGROUND, 173)                                                         \
  QBR20G_PICTURE(WEP_BACKGROUND, 174)                                                              \
  QBR20G_PICTURE(WPA_BACKGROUND, 175)                                                              \
  QBR20G_PICTURE(WPA2_BACKGROUND, 176)                                                             \
  QBR20G_PICTURE(SUMMARY_BACKGROUND, 177)                                                          \
  QBR20G_PICTURE(FINISH_BACKGROUND, 178)                                                           \
  QBR20G_PICTURE(REFRESH_HOVER, 180)                                                               \
  QBR20G_PICTURE(BACK_NORMAL, 181)                                                                 \
  QBR20G_PICTURE(BACK_HOVER, 182)                                                                  \
  QBR20G_PICTURE(BACK_PRESSED, 183)                                                                \
  QBR20G_PICTURE(EXIT_NORMAL, 184)                                                                 \
  QBR20G_PICTURE(EXIT_HOVER, 185)                                                                  \
  QBR20G_PICTURE(NEXT_NORMAL, 186)                                                                 \
  QBR20G_PICTURE(NEXT_HOVER, 187)                                                                  \
  QBR20G_PICTURE(NEXT_PRESSED, 188)                                                                \
  QBR20G_PICTURE(REFRESH_NORMAL, 189)                                                              \
  QBR20G_PICTURE(REFRESH_FOCUSED, 190)                                                             \
  QBR20G_PICTURE(BACK_FOCUSED, 191)                                                                \
  QBR20G_PICTURE(WEB_SITE_HOVER, 192)                                                              \
  QBR20G_PICTURE(WEB_SITE_NORMAL, 193)                                                             \
  QBR20G_PICTURE(NEXT_FOCUSED, 194)                                                                \
  QBR20G_PICTURE(EXIT_FOCUSED, 195)                                                                \
  QBR20G_PICTURE(WEB_SITE_FOCUSED, 196)                                                            \
  QBR20G_PICTURE(ASCII_KEY_HINT, 197)                                                              \
  QBR20G_PICTURE(HEX_KEY_HINT, 198)                                                                \
  QBR20G_PICTURE(PRODUCT_MASK, 221)                                                                \
  QBR20G_PICTURE(PRODUCT_BUBBLE, 222)                                                              \
  QBR20G_PICTURE(PRODUCT_BUBBLE_FOCUSED, 223)

enum ArtworkId : int {
#define QBR20G_ARTWORK_ID(name, id) name = id,
  QBR20G_ARTWORK(QBR20G_ARTWORK_ID)
#undef QBR20G_ARTWORK_ID
};

inline constexpr ArtworkId ARTWORK_IDS[] = {
#define QBR20G_ARTWORK_NAME(name, id) name,
    QBR20G_ARTWORK(QBR20G_ARTWORK_NAME)
#undef QBR20G_ARTWORK_NAME
};

// The banners' animations: four pictures from the first frame on.
constexpr int BANNER_FRAME_COUNT = 4;
