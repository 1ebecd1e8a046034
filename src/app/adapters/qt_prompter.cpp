#include "app/adapters/qt_prompter.h"

#include <QApplication>
#include <QMessageBox>

#include "app/adapters/gbk.h"

namespace app {

namespace {

QMessageBox::Icon qtIcon(platform::MessageIcon icon) {
  switch (icon) {
    case platform::MessageIcon::Information:
      return QMessageBox::Information;
    case platform::MessageIcon::Warning:
      return QMessageBox::Warning;
    case platform::MessageIcon::Error:
      return QMessageBox::Critical;
    case platform::MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

int showBox(QWidget* parent, const std::string& text, const std::string& title,
            platform::MessageIcon icon, QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton defaultButton) {
  QMessageBox box(qtIcon(icon), title.empty() ? QStringLiteral("信息：") : toQString(title),
                  toQString(text), buttons, parent);
  box.setDefaultButton(defaultButton);
  box.setWindowModality(Qt::ApplicationModal);
  return box.exec();
}

}  // namespace

void QtPrompter::inform(const std::string& text, const std::string& title,
                        platform::MessageIcon icon) {
  showBox(m_parent ? m_parent.data() : QApplication::activeWindow(), text, title, icon,
          QMessageBox::Ok, QMessageBox::Ok);
}

bool QtPrompter::ask(const std::string& text, const std::string& title,
                     platform::MessageIcon icon) {
  return showBox(m_parent ? m_parent.data() : QApplication::activeWindow(), text, title, icon,
                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

}  // namespace app
