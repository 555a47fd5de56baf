// main() of the widget suites: runs them in a QApplication on the offscreen platform.
#include <QApplication>

#include <gtest/gtest.h>

#include "platform/open_link.h"
#include "platform/ui_language.h"

int main(int argc, char** argv) {
  // Set here as well as by CTest, so that running a suite by hand (and the test listing made at
  // build time) needs no display either.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  // Pages follow one another, as in the wizard: a moment without a window must not quit.
  QApplication::setQuitOnLastWindowClosed(false);
  // No test may start a browser: opening a link fails as "no application associated" unless a
  // test installs an opener of its own.
  SetLinkOpener([](const QString&) { return OPEN_LINK_NO_ASSOCIATION; });
  SetLanguageArtworkDir(QStringLiteral(QBR20G_ARTWORK_OUTPUT));
  return RUN_ALL_TESTS();
}
