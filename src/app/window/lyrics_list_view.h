#pragma once

#include <QAbstractItemView>

namespace app {

// The lyrics list `列表框_歌词文件编辑`: a one-column list box whose lines all have the height of
// one line of text. It scrolls by whole lines and finds a line by arithmetic, so it keeps
// nothing per line: two million lines cost it no memory and no layout pass. It also reports
// every double-click in its line area, on a line or in the empty space below the last one.
class LyricsListView : public QAbstractItemView {
  Q_OBJECT

 public:
  explicit LyricsListView(QWidget* parent = nullptr);

  QRect visualRect(const QModelIndex& index) const override;
  QModelIndex indexAt(const QPoint& point) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  void doItemsLayout() override;

  // The height of every line, in pixels.
  int lineHeight() const;
  // The first line shown at the top.
  int topLine() const;
  // Lines that fit in the view whole (at least one).
  int wholeLinesShown() const;

 signals:
  // A double-click of `button`, reported after the view has handled it, so the selection
  // already shows the line under the pointer, or the old line when there is none.
  void listDoubleClicked(Qt::MouseButton button);

 protected:
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
  int horizontalOffset() const override;
  int verticalOffset() const override;
  bool isIndexHidden(const QModelIndex& index) const override;
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) override;
  QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  void updateGeometries() override;
  void scrollContentsBy(int dx, int dy) override;
  void rowsInserted(const QModelIndex& parent, int start, int end) override;
  void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  int lineCount() const;
  // The line whose rows contain viewport height `y`, unclamped.
  int lineAtY(int y) const;
  // Sets the scroll bar's range and steps from the line count and the viewport's height.
  void updateScrollRange();

  mutable int m_lineHeight = 0;
  // Where the pointer is over the lines, for the hover look; -1 when it is not.
  int m_hoverY = -1;
};

}  // namespace app
