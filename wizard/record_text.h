// Texts between the shared records' fixed fields and Qt: the bytes as they travel to the
// bridge, and the text a page shows of them.
#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

#include "device/display_text.h"
#include "device/wireless_records.h"

template <std::size_t N> QByteArray FieldBytes(const char (&field)[N]) {
  const std::string_view text = field_text(field);
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string_view View(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// A record's field as a page shows it (display_text): UTF-8 when it is valid UTF-8, else
// Latin-1. The bytes themselves are what travels to the bridge.
template <std::size_t N> QString FieldDisplayText(const char (&field)[N]) {
  return QString::fromStdString(display_text(field_text(field)));
}
