#include "app/bindings/document_bindings.h"

#include <QLineEdit>
#include <QScopedValueRollback>

#include "app/adapters/gbk.h"
#include "app/window/main_window.h"
#include "platform/native_path.h"

namespace app {

DocumentBindings::DocumentBindings(MainWindow& window, EditorState& state, const Services& services,
                                   shell::CommandRegistry& registry)
    : QObject(&window),
      m_window(window),
      m_state(state),
      m_reader(&window),
      m_importer(state.lyrics, state.status, services.prompter, services.dialogs, &m_reader),
      m_listModel(state.lyrics) {
  m_listModel.attachView(window.lyricsView());
  bindHeaderFields();
  registry.add("OpenLyricsFile", [this] { m_importer.openLyricsFile(); });
  connect(&window, &MainWindow::lyricsDropped, this,
          [this](const std::string& text) { m_importer.dropLyricsFile(text); });
}

DocumentBindings::~DocumentBindings() {
  // The header fields outlive the boxes they were shown in.
  m_state.headers.removeListener(m_headerListener);
}

void DocumentBindings::loadCommandLineFile(const std::vector<std::string>& arguments) {
  std::vector<std::string> paths;
  paths.reserve(arguments.size());
  for (const std::string& argument : arguments) paths.push_back(platform::gbkPath(argument));
  m_importer.loadCommandLineFile(paths);
}

void DocumentBindings::bindHeaderFields() {
  lyrics::HeaderFields& headers = m_state.headers;
  for (int index = 0; index < lyrics::HeaderFields::kFieldCount; ++index) {
    const auto field = static_cast<lyrics::HeaderFields::Field>(index);
    QLineEdit* edit = m_window.headerEdit(index);
    edit->setText(toQString(headers.text(field)));
    connect(edit, &QLineEdit::textChanged, this, [this, field](const QString& text) {
      if (!m_updatingHeaders) m_state.headers.setText(field, toGbk(text));
    });
  }
  m_headerListener = headers.addListener([this](lyrics::HeaderFields::Field field) {
    QLineEdit* edit = m_window.headerEdit(field);
    const QString text = toQString(m_state.headers.text(field));
    if (edit->text() == text) return;
    // Bytes that do not decode cleanly must not come back as replacement characters.
    const QScopedValueRollback updating(m_updatingHeaders, true);
    edit->setText(text);
  });
}

}  // namespace app
