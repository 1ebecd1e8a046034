#pragma once

#include <QObject>
#include <QUrl>
#include <vector>

#include "app/adapters/qt_text_panel.h"
#include "shell/command_registry.h"
#include "shell/text_panels.h"

class QLabel;

namespace app {

class MainWindow;

// Connects the window's panels and animations to its controls: the quick-start and About
// panels with their menu items and double-clicks, the two links and 咨询软件作者.
class PanelBindings : public QObject {
  Q_OBJECT

 public:
  // Fills the panels and links of `window`, binds them and registers their commands.
  PanelBindings(MainWindow& window, shell::CommandRegistry& registry);

  // ContactAuthor: opens the author-contact link; a failure to open it is ignored.
  void contactAuthor();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Sets the text and the Kai face of `panel` the first time it is shown: laying the text out
  // in that face loads the face, which the first picture of the window does not need.
  void fillPanel(QLabel* panel);
  void fillLinks();
  // Registers ShowQuickStart, ShowAbout and ContactAuthor.
  void registerCommands(shell::CommandRegistry& registry);

  MainWindow& m_window;
  QLabel* m_quickStart;
  QLabel* m_about;
  QtTextPanel m_quickStartView;
  QtTextPanel m_aboutView;
  shell::TextPanels m_panels;
  QUrl m_contactUrl;
  QUrl m_homeUrl;
  std::vector<const QLabel*> m_filled;
};

}  // namespace app
