#include "platform/open_error.h"

#include <QCoreApplication>
#include <QMessageBox>

QString OpenErrorText(int code) {
  switch (code) {
  case 0:
    return QCoreApplication::translate("OpenError",
                                       "The operating system is out\nof memory or resources.");
  case 2:
    return QCoreApplication::translate("OpenError", "The specified file was not found.");
  case 3:
    return QCoreApplication::translate("OpenError", "The specified path was not found.");
  case 5:
    return QCoreApplication::translate(
        "OpenError", "The operating system denied\naccess to the specified file.");
  case 8:
    return QCoreApplication::translate("OpenError",
                                       "There was not enough memory to complete the operation.");
  case 11:
    return QCoreApplication::translate(
        "OpenError", "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
  case 26:
    return QCoreApplication::translate("OpenError", "A sharing violation occurred. ");
  case 27:
    return QCoreApplication::translate("OpenError",
                                       "The filename association is\nincomplete or invalid.");
  case 28:
    return QStringLiteral(
        "The DDE transaction could not\nbe completed because the request timed out.");
  case 29:
    return QCoreApplication::translate("OpenError", "The DDE transaction failed.");
  case 30:
    return QCoreApplication::translate(
        "OpenError", "The DDE transaction could not\nbe completed because other DDE "
                     "transactions\nwere being processed.");
  case 31:
    return QCoreApplication::translate(
        "OpenError", "There is no application associated\nwith the given filename extension.");
  case 32:
    return QCoreApplication::translate("OpenError",
                                       "The specified dynamic-link library was not found.");
  default:
    return QCoreApplication::translate("OpenError", "Unknown Error (%1) occurred.").arg(code);
  }
}

QString OpenErrorMessage(int code) {
  return QCoreApplication::translate("OpenError", "Unable to open hyperlink:\n\n") +
         OpenErrorText(code);
}

void ShowOpenError(QWidget* parent, int code) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("QBR20G"), OpenErrorMessage(code),
                  QMessageBox::Ok, parent);
  box.exec();
}
