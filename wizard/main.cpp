#include <QApplication>

#include "wizard/setup_app.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Pages follow one another; the gap between two pages must not end the application.
  QApplication::setQuitOnLastWindowClosed(false);
  theApp.InitInstance();
  return theApp.ExitInstance();
}
