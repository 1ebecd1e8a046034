#include "app/window/saved_lyrics_model.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScopedValueRollback>
#include <QTreeView>

#include "app/adapters/gbk.h"
#include "app/window/shown_line.h"

namespace app {

namespace {

// A row shows one line: the line breaks of a lyrics text become spaces there.
QString oneLine(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  text.replace(QLatin1Char('\r'), QLatin1Char(' '));
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return text;
}

}  // namespace

SavedLyricsModel::SavedLyricsModel(files::SavedLyricsLibrary& library, QObject* parent)
    : QAbstractTableModel(parent), m_library(library) {
  m_library.setObserver(this);
}

SavedLyricsModel::~SavedLyricsModel() {
  m_library.setObserver(nullptr);
  // The view outlives the model; whatever its selection does once the model is gone must not
  // reach this half-destroyed object.
  if (m_view && m_view->selectionModel())
    disconnect(m_view->selectionModel(), nullptr, this, nullptr);
}

void SavedLyricsModel::attachView(QTreeView* view) {
  m_view = view;
  view->setModel(this);
  for (int column = 0; column < files::SavedLyricsLibrary::kColumnCount; ++column) {
    view->setColumnWidth(
        column, files::SavedLyricsLibrary::kColumnWidths[static_cast<std::size_t>(column)]);
  }
  connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &SavedLyricsModel::viewSelectionChanged);
  showSelection(m_library.selectedRow());
}

int SavedLyricsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_library.count();
}

int SavedLyricsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : files::SavedLyricsLibrary::kColumnCount;
}

QVariant SavedLyricsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= m_library.count()) return {};
  const std::string& field = m_library.field(index.row(), index.column());
  if (role == Qt::DisplayRole) return oneLine(shownLineText(field, kShownFieldCharacters));
  // The tooltip keeps the line breaks, so a record's lyrics can be read line by line.
  if (role == Qt::ToolTipRole && !field.empty()) {
    return shownLineText(field, kTooltipLineCharacters);
  }
  return {};
}

QVariant SavedLyricsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return toQString(files::SavedLyricsLibrary::columnHeader(section));
}

// The library reports changes after making them; each begin/end pair is issued together,
// which views accept because they read the rows only after the end signal.
void SavedLyricsModel::rowsInserted(int first, int count) {
  const QScopedValueRollback syncing(m_syncing, true);
  beginInsertRows(QModelIndex(), first, first + count - 1);
  endInsertRows();
}

void SavedLyricsModel::rowRemoved(int row) {
  const QScopedValueRollback syncing(m_syncing, true);
  beginRemoveRows(QModelIndex(), row, row);
  endRemoveRows();
}

void SavedLyricsModel::fieldChanged(int row, int field) {
  const QModelIndex changed = index(row, field);
  emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::ToolTipRole});
}

void SavedLyricsModel::rowsReset() {
  const QScopedValueRollback syncing(m_syncing, true);
  beginResetModel();
  endResetModel();
}

void SavedLyricsModel::selectionChanged(int row) { showSelection(row); }

void SavedLyricsModel::showSelection(int row) {
  if (!m_view) return;
  const QScopedValueRollback syncing(m_syncing, true);
  QItemSelectionModel* selection = m_view->selectionModel();
  if (row < 0) {
    selection->clear();
    return;
  }
  const QModelIndex target = index(row, 0);
  selection->setCurrentIndex(target,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  m_view->scrollTo(target);
}

void SavedLyricsModel::viewSelectionChanged() {
  if (m_syncing || !m_view) return;
  const QModelIndexList rows = m_view->selectionModel()->selectedRows();
  m_library.setSelectedRow(rows.isEmpty() ? -1 : rows.front().row());
}

}  // namespace app
