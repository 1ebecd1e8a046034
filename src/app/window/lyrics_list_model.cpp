#include "app/window/lyrics_list_model.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QScopedValueRollback>

#include "app/window/shown_line.h"

namespace app {

LyricsListModel::LyricsListModel(lyrics::LyricsList& list, QObject* parent)
    : QAbstractListModel(parent), m_list(list) {
  m_list.setObserver(this);
}

LyricsListModel::~LyricsListModel() { m_list.setObserver(nullptr); }

void LyricsListModel::attachView(QAbstractItemView* view) {
  m_view = view;
  view->setModel(this);
  connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &LyricsListModel::viewSelectionChanged);
  showSelection(m_list.selection());
}

int LyricsListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_list.count();
}

QVariant LyricsListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= m_list.count()) return {};
  // Views measure, elide and shape this text on every paint, so a long line is shown by its
  // start only.
  if (role == Qt::DisplayRole) return shownLineText(m_list.line(index.row()));
  if (role == Qt::ToolTipRole)
    return shownLineText(m_list.line(index.row()), kTooltipLineCharacters);
  return {};
}

// The list reports changes after making them; the begin/end pairs are issued together, which
// views accept because they read the rows only after the end signal.
void LyricsListModel::linesInserted(int first, int count) {
  const QScopedValueRollback syncing(m_syncing, true);
  if (count == m_list.count() && count > 1) {
    // Filling an empty list (a file on the command line) is a reset for the view: it lays out
    // the rows once instead of handling a third of a million insertions.
    beginResetModel();
    endResetModel();
    return;
  }
  beginInsertRows(QModelIndex(), first, first + count - 1);
  endInsertRows();
}

void LyricsListModel::lineRemoved(int index) {
  const QScopedValueRollback syncing(m_syncing, true);
  beginRemoveRows(QModelIndex(), index, index);
  endRemoveRows();
}

void LyricsListModel::lineChanged(int index) {
  const QModelIndex changed = this->index(index);
  emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void LyricsListModel::linesReset() {
  const QScopedValueRollback syncing(m_syncing, true);
  beginResetModel();
  endResetModel();
}

void LyricsListModel::selectionChanged(int selected) { showSelection(selected); }

void LyricsListModel::showSelection(int selected) {
  if (!m_view) return;
  const QScopedValueRollback syncing(m_syncing, true);
  QItemSelectionModel* selection = m_view->selectionModel();
  if (selected < 0) {
    selection->clear();
    return;
  }
  const QModelIndex target = index(selected);
  selection->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
  m_view->scrollTo(target);
}

void LyricsListModel::viewSelectionChanged() {
  if (m_syncing || !m_view) return;
  const QModelIndexList rows = m_view->selectionModel()->selectedRows();
  if (rows.isEmpty()) {
    // A single-selection list box keeps its line when the user clicks below the last line or
    // Ctrl+clicks the selected one; only the commands clear it. F5 must still find its line.
    showSelection(m_list.selection());
    return;
  }
  m_list.setSelection(rows.front().row());
}

}  // namespace app
