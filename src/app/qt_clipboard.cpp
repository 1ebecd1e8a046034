#include "app/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/gbk.h"

namespace app {

void QtClipboard::setText(const std::string& text) {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(toQString(text));
}

}  // namespace app
