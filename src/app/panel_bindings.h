#pragma once

#include <QObject>
#include <QUrl>
#include <vector>

#include "app/qt_text_panel.h"
#include "app/qt_window_placement.h"
#include "shell/command_registry.h"
#include "shell/text_panels.h"
#include "shell/window_drop.h"

class QLabel;

namespace app {

class MainWindow;

// Connects the window's panels and animations to its controls: the quick-start and About
// panels with their menu items and double-clicks, the window drop on the status bar, the two
// links and 咨询软件作者.
class PanelBindings : public QObject {
  Q_OBJECT

 public:
  // Fills the panels and links of `window`, binds them and registers their commands.
  PanelBindings(MainWindow& window, shell::CommandRegistry& registry);

  // ContactAuthor: opens the author-contact link; a failure to open it is ignored.
  void contactAuthor();
  // The text panels and the window drop, for tests that drive them directly.
  shell::TextPanels& textPanels() { return m_panels; }
  shell::WindowDrop& windowDrop() { return m_drop; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Sets the text and the Kai face of `panel` the first time it is shown: laying the text out
  // in that face loads the face, which the first picture of the window does not need.
  void fillPanel(QLabel* panel);
  void fillLinks();
  // Registers ShowQuickStart, ShowAbout and ContactAuthor.
  void registerCommands(shell::CommandRegistry& registry);
  void bindStatusBar();

  MainWindow& m_window;
  QLabel* m_quickStart;
  QLabel* m_about;
  QtTextPanel m_quickStartView;
  QtTextPanel m_aboutView;
  shell::TextPanels m_panels;
  QtWindowPlacement m_placement;
  shell::WindowDrop m_drop;
  QUrl m_contactUrl;
  QUrl m_homeUrl;
  // Compared only, never dereferenced: events may arrive while the window takes it down.
  const QObject* m_statusBar = nullptr;
  std::vector<const QObject*> m_statusParts;
  std::vector<const QLabel*> m_filled;
};

}  // namespace app
