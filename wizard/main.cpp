#include <QApplication>

#include "link/translation.h"
#include "platform/ui_language.h"
#include "wizard/setup_app.h"

int main(int argc, char** argv) {
  // The link's and the helper's messages come from the gettext catalogues, the wizard's own
  // texts from its Qt translations: both follow the same choice of language.
  translation::set_up_messages(QBR20G_LOCALE_FROM_BIN);
  QApplication app(argc, argv);
  InstallUiLanguage();
  // On Wayland the compositor finds the window's icon and name through the desktop entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("qbr20g-setup"));
  // Pages follow one another; the gap between two pages must not end the application.
  QApplication::setQuitOnLastWindowClosed(false);
  theApp.InitInstance();
  return theApp.ExitInstance();
}
