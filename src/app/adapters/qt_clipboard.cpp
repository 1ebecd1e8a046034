#include "app/adapters/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/adapters/gbk.h"

namespace app {

void QtClipboard::setText(const std::string& text) {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(toQString(text));
}

}  // namespace app
