#include "app/window/lyrics_list_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace app {

namespace {

// Measured for the line height: Latin with an ascender and a descender, and a Chinese character.
const QString kSampleText = QStringLiteral("Ag\u6B4C");

}  // namespace

LyricsListView::LyricsListView(QWidget* parent) : QAbstractItemView(parent) {
  setSelectionMode(SingleSelection);
  setSelectionBehavior(SelectRows);
  // Hover events let the skins light up the line under the pointer.
  viewport()->setAttribute(Qt::WA_Hover);
}

int LyricsListView::lineCount() const { return model() ? model()->rowCount(rootIndex()) : 0; }

int LyricsListView::lineHeight() const {
  if (m_lineHeight > 0) return m_lineHeight;
  // Every line is one line of text, so one sample measures them all, padding of the style and
  // of the skin included; an empty first line must not make every line flat.
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.features |= QStyleOptionViewItem::HasDisplay;
  option.text = kSampleText;
  const QSize size = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
  m_lineHeight = std::max(1, size.height());
  return m_lineHeight;
}

int LyricsListView::topLine() const { return verticalScrollBar()->value(); }

int LyricsListView::wholeLinesShown() const {
  return std::max(1, viewport()->height() / lineHeight());
}

int LyricsListView::lineAtY(int y) const { return y < 0 ? -1 : topLine() + y / lineHeight(); }

QRect LyricsListView::visualRect(const QModelIndex& index) const {
  if (!index.isValid() || index.parent() != rootIndex() || index.column() != 0) return {};
  const int h = lineHeight();
  return {0, (index.row() - topLine()) * h, viewport()->width(), h};
}

QModelIndex LyricsListView::indexAt(const QPoint& point) const {
  if (!model() || point.x() < 0 || point.x() >= viewport()->width()) return {};
  const int line = lineAtY(point.y());
  if (line < 0 || line >= lineCount()) return {};
  return model()->index(line, 0, rootIndex());
}

void LyricsListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!index.isValid() || index.parent() != rootIndex()) return;
  // Lines added a moment ago are not in the range yet, and the scroll bar would clamp to it.
  updateScrollRange();
  const int line = index.row();
  const int shown = wholeLinesShown();
  const int top = topLine();
  int newTop = top;
  switch (hint) {
    case EnsureVisible:
      if (line < top) {
        newTop = line;
      } else if (line >= top + shown) {
        newTop = line - shown + 1;
      }
      break;
    case PositionAtTop:
      newTop = line;
      break;
    case PositionAtBottom:
      newTop = line - shown + 1;
      break;
    case PositionAtCenter:
      newTop = line - shown / 2;
      break;
  }
  verticalScrollBar()->setValue(newTop);
}

QModelIndex LyricsListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers) {
  const int count = lineCount();
  if (count == 0) return {};
  const QModelIndex current = currentIndex();
  // With no current line, any move starts at the first one.
  if (!current.isValid()) return model()->index(0, 0, rootIndex());
  int line = current.row();
  switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
      --line;
      break;
    case MoveDown:
    case MoveNext:
      ++line;
      break;
    case MovePageUp:
      line -= wholeLinesShown();
      break;
    case MovePageDown:
      line += wholeLinesShown();
      break;
    case MoveHome:
      line = 0;
      break;
    case MoveEnd:
      line = count - 1;
      break;
    case MoveLeft:
    case MoveRight:
      break;
  }
  return model()->index(std::clamp(line, 0, count - 1), 0, rootIndex());
}

int LyricsListView::horizontalOffset() const { return horizontalScrollBar()->value(); }

int LyricsListView::verticalOffset() const { return topLine() * lineHeight(); }

bool LyricsListView::isIndexHidden(const QModelIndex&) const { return false; }

void LyricsListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) {
  if (!model() || !selectionModel()) return;
  const QRect area = rect.normalized();
  const int count = lineCount();
  const int first = std::max(0, lineAtY(area.top()));
  const int last = std::min(count - 1, lineAtY(area.bottom()));
  // A press below the last line or beside the lines selects nothing, as in a list box.
  if (count == 0 || area.bottom() < 0 || first > last || area.right() < 0 ||
      area.left() >= viewport()->width()) {
    selectionModel()->select(QItemSelection(), flags);
    return;
  }
  selectionModel()->select(
      QItemSelection(model()->index(first, 0, rootIndex()), model()->index(last, 0, rootIndex())),
      flags);
}

QRegion LyricsListView::visualRegionForSelection(const QItemSelection& selection) const {
  QRegion region;
  const int top = topLine();
  const int bottom = top + wholeLinesShown();
  const int h = lineHeight();
  for (const QItemSelectionRange& range : selection) {
    if (range.parent() != rootIndex()) continue;
    // Only the lines in sight need repainting, however long the range.
    const int first = std::max(range.top(), top);
    const int last = std::min(range.bottom(), bottom);
    if (first > last) continue;
    region += QRect(0, (first - top) * h, viewport()->width(), (last - first + 1) * h);
  }
  return region;
}

void LyricsListView::updateScrollRange() {
  const int shown = wholeLinesShown();
  QScrollBar* bar = verticalScrollBar();
  bar->setSingleStep(1);
  bar->setPageStep(shown);
  bar->setRange(0, std::max(0, lineCount() - shown));
  horizontalScrollBar()->setRange(0, 0);
}

void LyricsListView::updateGeometries() {
  updateScrollRange();
  QAbstractItemView::updateGeometries();
}

void LyricsListView::doItemsLayout() {
  m_lineHeight = 0;
  QAbstractItemView::doItemsLayout();
}

void LyricsListView::scrollContentsBy(int, int) { viewport()->update(); }

void LyricsListView::rowsInserted(const QModelIndex& parent, int start, int end) {
  QAbstractItemView::rowsInserted(parent, start, end);
  scheduleDelayedItemsLayout();
}

void LyricsListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
  QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
  scheduleDelayedItemsLayout();
}

void LyricsListView::paintEvent(QPaintEvent* event) {
  if (!model()) return;
  QPainter painter(viewport());
  QStyleOptionViewItem base;
  initViewItemOption(&base);
  const int count = lineCount();
  const int h = lineHeight();
  const int first = std::max(0, lineAtY(event->rect().top()));
  const int last = std::min(count - 1, lineAtY(event->rect().bottom()));
  const QModelIndex current = currentIndex();
  const bool focused = (hasFocus() || viewport()->hasFocus()) && current.isValid();
  const int hovered = m_hoverY < 0 ? -1 : lineAtY(m_hoverY);
  const int top = topLine();
  for (int line = first; line <= last; ++line) {
    const QModelIndex index = model()->index(line, 0, rootIndex());
    QStyleOptionViewItem option = base;
    option.rect = QRect(0, (line - top) * h, viewport()->width(), h);
    if (selectionModel() && selectionModel()->isSelected(index))
      option.state |= QStyle::State_Selected;
    if (line == hovered && isEnabled()) option.state |= QStyle::State_MouseOver;
    if (focused && index == current) option.state |= QStyle::State_HasFocus;
    if (alternatingRowColors() && (line & 1) != 0)
      option.features |= QStyleOptionViewItem::Alternate;
    if (!isEnabled()) option.palette.setCurrentColorGroup(QPalette::Disabled);
    itemDelegateForIndex(index)->paint(&painter, option, index);
  }
}

void LyricsListView::mouseDoubleClickEvent(QMouseEvent* event) {
  // QAbstractItemView::doubleClicked fires only on a line; a list box reports a double-click
  // anywhere in it, and the command then works on the selected line.
  const Qt::MouseButton button = event->button();
  QAbstractItemView::mouseDoubleClickEvent(event);
  emit listDoubleClicked(button);
}

bool LyricsListView::viewportEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove: {
      const int y = static_cast<QHoverEvent*>(event)->position().toPoint().y();
      if (m_hoverY < 0 || lineAtY(y) != lineAtY(m_hoverY)) viewport()->update();
      m_hoverY = y;
      break;
    }
    case QEvent::HoverLeave:
    case QEvent::Leave:
      if (m_hoverY >= 0) viewport()->update();
      m_hoverY = -1;
      break;
    default:
      break;
  }
  return QAbstractItemView::viewportEvent(event);
}

void LyricsListView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    m_lineHeight = 0;
    scheduleDelayedItemsLayout();
  }
  QAbstractItemView::changeEvent(event);
}

}  // namespace app
