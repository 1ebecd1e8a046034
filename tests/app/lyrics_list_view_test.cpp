#include <gtest/gtest.h>

#include <QAbstractListModel>
#include <QListView>
#include <QScrollBar>
#include <QStringListModel>
#include <QTest>

#include "app/window/lyrics_list_view.h"

namespace {

// `count` numbered lines, the first one empty, without storing any of them.
class NumberedLines : public QAbstractListModel {
 public:
  explicit NumberedLines(int count) : m_count(count) {}
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_count; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return index.row() == 0 ? QString() : QString::number(index.row());
  }
  void append(int lines) {
    beginInsertRows({}, m_count, m_count + lines - 1);
    m_count += lines;
    endInsertRows();
  }

 private:
  int m_count;
};

struct ShownView {
  explicit ShownView(int lines) : model(lines) {
    view.setModel(&model);
    view.resize(300, 200);
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
  }
  int currentAfter(Qt::Key key) {
    QTest::keyClick(&view, key);
    return view.currentIndex().row();
  }
  NumberedLines model;
  app::LyricsListView view;
};

}  // namespace

TEST(LyricsListViewTest, FindsScrollsAndMovesThroughTwoMillionLines) {
  constexpr int kLines = 2'000'000;
  ShownView shown(kLines);
  app::LyricsListView& view = shown.view;

  // Every line is as high as a line of text in a plain list view, the empty first one too.
  QStringListModel text({QStringLiteral("Ag\u6B4C")});
  QListView reference;
  reference.setModel(&text);
  EXPECT_EQ(view.lineHeight(), reference.sizeHintForRow(0));
  const int shownLines = view.wholeLinesShown();
  EXPECT_EQ(shownLines, view.viewport()->height() / view.lineHeight());
  EXPECT_EQ(view.verticalScrollBar()->maximum(), kLines - shownLines);

  const struct {
    int line;
    QAbstractItemView::ScrollHint hint;
    int top;
  } scrolls[] = {
      {kLines - 1, QAbstractItemView::EnsureVisible, kLines - shownLines},
      {10, QAbstractItemView::EnsureVisible, 10},
      {12, QAbstractItemView::EnsureVisible, 10},
      {1'000'000, QAbstractItemView::PositionAtCenter, 1'000'000 - shownLines / 2},
      {1'000'000, QAbstractItemView::PositionAtBottom, 1'000'000 - shownLines + 1},
      {5, QAbstractItemView::PositionAtTop, 5},
      {0, QAbstractItemView::PositionAtBottom, 0},
  };
  for (const auto& scroll : scrolls) {
    SCOPED_TRACE(scroll.line);
    const QModelIndex index = shown.model.index(scroll.line, 0);
    view.scrollTo(index, scroll.hint);
    EXPECT_EQ(view.topLine(), scroll.top);
    // The line is where the view says it is, and found there again.
    const QRect rect = view.visualRect(index);
    EXPECT_TRUE(view.viewport()->rect().contains(rect.center()));
    EXPECT_EQ(view.indexAt(rect.center()), index);
  }

  // The keys of a list box, with the view scrolled along.
  view.setFocus();
  view.setCurrentIndex(shown.model.index(0, 0));
  EXPECT_EQ(shown.currentAfter(Qt::Key_Up), 0);
  EXPECT_EQ(shown.currentAfter(Qt::Key_Down), 1);
  EXPECT_EQ(shown.currentAfter(Qt::Key_PageDown), 1 + shownLines);
  EXPECT_EQ(shown.currentAfter(Qt::Key_End), kLines - 1);
  EXPECT_EQ(view.topLine(), kLines - shownLines);
  EXPECT_EQ(shown.currentAfter(Qt::Key_PageUp), kLines - 1 - shownLines);
  EXPECT_EQ(shown.currentAfter(Qt::Key_Down), kLines - shownLines);
  EXPECT_EQ(shown.currentAfter(Qt::Key_Home), 0);
  EXPECT_EQ(view.topLine(), 0);

  // A click picks the line under the pointer, also after scrolling.
  view.verticalScrollBar()->setValue(500);
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                    QPoint(20, view.lineHeight() * 2 + view.lineHeight() / 2));
  EXPECT_EQ(view.selectionModel()->selectedRows().value(0).row(), 502);
}

TEST(LyricsListViewTest, LinesJustAddedCanBeScrolledToAndAClickBelowSelectsNothing) {
  ShownView shown(3);
  app::LyricsListView& view = shown.view;
  const QPoint belowTheLines(20, view.lineHeight() * 3 + 4);
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(20, view.lineHeight() + 2));
  EXPECT_EQ(view.selectionModel()->selectedRows().value(0).row(), 1);
  EXPECT_FALSE(view.indexAt(belowTheLines).isValid());
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, belowTheLines);
  EXPECT_TRUE(view.selectionModel()->selectedRows().isEmpty());

  // Appended and shown in the same turn of the event loop, before the view lays out again.
  shown.model.append(1000);
  const QModelIndex last = shown.model.index(1002, 0);
  view.scrollTo(last);
  EXPECT_EQ(view.topLine(), 1003 - view.wholeLinesShown());
  EXPECT_EQ(view.indexAt(view.visualRect(last).center()), last);
}
