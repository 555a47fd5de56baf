// Moving texts between the shared records' fixed fields and Qt byte arrays.
#pragma once

#include <QByteArray>

#include <string_view>

#include "device/wireless_records.h"

template <std::size_t N> QByteArray FieldBytes(const char (&field)[N]) {
  const std::string_view text = field_text(field);
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string_view View(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

template <std::size_t N> void StoreField(char (&field)[N], const QByteArray& bytes) {
  store_text(field, View(bytes));
}
