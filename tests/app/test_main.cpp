#include <gtest/gtest.h>

#include <QApplication>

#include "app/window/skin.h"

// Widget tests need one QApplication for the whole run (offscreen under CTest).
// With LRC_TEST_SKIN=<n> every test runs with skin n applied from the start.
int main(int argc, char** argv) {
  // Test discovery at build time runs without CTest's environment and without a display.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (qEnvironmentVariableIsSet("LRC_TEST_SKIN")) {
    app::applySkin(qEnvironmentVariableIntValue("LRC_TEST_SKIN"));
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
