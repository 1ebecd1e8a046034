#pragma once

#include <QApplication>
#include <QString>

#include "app/window/skin.h"

namespace testsupport {

// Applies a skin (the start-up skin unless told) for one test and puts the look from before
// back afterwards.
class SkinScope {
 public:
  explicit SkinScope(int number = app::kStartupSkin) : m_before(qApp->styleSheet()) {
    app::applySkin(number);
  }
  ~SkinScope() { qApp->setStyleSheet(m_before); }
  SkinScope(const SkinScope&) = delete;
  SkinScope& operator=(const SkinScope&) = delete;

 private:
  QString m_before;
};

}  // namespace testsupport
