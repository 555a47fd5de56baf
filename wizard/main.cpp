#include <QApplication>

#include "wizard/setup_app.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // On Wayland the compositor finds the window's icon and name through the desktop entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("qbr20g-setup"));
  // Pages follow one another; the gap between two pages must not end the application.
  QApplication::setQuitOnLastWindowClosed(false);
  theApp.InitInstance();
  return theApp.ExitInstance();
}
