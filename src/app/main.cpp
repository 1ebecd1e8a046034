#include <QApplication>
#include <algorithm>
#include <clocale>
#include <string>
#include <vector>

#include "app/adapters/qt_services.h"
#include "app/editor_app.h"
#include "app/self_test_report.h"
#include "app/xwayland_choice.h"

int main(int argc, char* argv[]) {
  app::preferXWayland();
  QApplication application(argc, argv);
  // libmpv refuses to start under a locale whose decimal separator is not a dot.
  std::setlocale(LC_NUMERIC, "C");
  // Created after QApplication and outliving the editor, whose commands use them.
  app::QtServices system;
  // The arguments as the shell passed them; QApplication has taken out the options it knows.
  // QApplication::arguments() would decode them and lose bytes that are not UTF-8.
  std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
  app::EditorApp editor(std::move(arguments), system.services());
  editor.start();
  app::SelfTestReport::installIfRequested(editor);
  return application.exec();
}
