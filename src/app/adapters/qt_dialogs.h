#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/dialogs.h"

namespace app {

// File dialogs over QFileDialog. Paths cross this boundary as GB18030 bytes.
class QtDialogs : public platform::Dialogs {
 public:
  // Dialogs are modal over `parent`; without one, over the window that is active then.
  explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}

  std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                      const std::string& initialDirectory) override;
  std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                      const std::string& initialDirectory) override;
  std::string desktopDirectory() override;

  // The Qt form ("name (pattern);;...") of a "name|pattern|name|pattern" filter.
  static QString qtFilter(const QString& filter);

 private:
  // A dialog opened after the window has gone has no parent.
  QPointer<QWidget> m_parent;
};

}  // namespace app
