#include "app/window/skin.h"

#include <QApplication>
#include <QFile>

namespace app {

namespace {

constexpr int kFirstSkin = 1;
constexpr int kLastSkin = 33;

}  // namespace

QString skinStyleSheet(int number) {
  if (number < kFirstSkin || number > kLastSkin) return {};
  QFile sheet(QStringLiteral(":/skins/skin%1.qss").arg(number));
  if (!sheet.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(sheet.readAll());
}

void ensureSkinLibrary() {}

void applySkin(int number) {
  ensureSkinLibrary();
  // On the application, so message boxes and dialogs wear the skin too.
  qApp->setStyleSheet(skinStyleSheet(number));
}

}  // namespace app
