#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTest>
#include "app/window/lyrics_list_view.h"

#include "app/adapters/gbk.h"
#include "app/window/lyrics_list_model.h"
#include "app/window/shown_line.h"
#include "lyrics/lyrics_list.h"

namespace {

std::string gbk(const char* utf8) { return app::toGbk(QString::fromUtf8(utf8)); }

QStringList shown(const app::LyricsListView& view) {
  QStringList rows;
  for (int row = 0; row < view.model()->rowCount(); ++row) {
    rows << view.model()->index(row, 0).data().toString();
  }
  return rows;
}

// The first `count` characters (code points) of `text`.
QString firstCharacters(const QString& text, int count) {
  qsizetype end = 0;
  for (int taken = 0; taken < count && end < text.size(); ++taken) {
    end += text.at(end).isHighSurrogate() ? 2 : 1;
  }
  return text.left(end);
}

// `text` cut after `bound` characters, with the ellipsis that marks a cut.
QString cutAt(const QString& text, int bound) {
  const QString start = firstCharacters(text, bound);
  return start.size() < text.size() ? start + QChar(0x2026) : text;
}

int viewSelection(const app::LyricsListView& view) {
  const QModelIndexList rows = view.selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

}  // namespace

TEST(LyricsListModelTest, ViewFollowsEveryChangeOfTheList) {
  lyrics::LyricsList list;
  app::LyricsListView view;
  app::LyricsListModel model(list);
  model.attachView(&view);

  list.replaceAll({gbk("[00:01.00]故事的小黄花"), gbk("从出生那年"), ""});
  EXPECT_EQ(shown(view), QStringList({QStringLiteral("[00:01.00]故事的小黄花"),
                                      QStringLiteral("从出生那年"), QString()}));
  list.insertLine(1, gbk("插入"));
  list.appendLine("end");
  list.setLine(0, gbk("改了"));
  list.deleteLine(2);
  EXPECT_EQ(shown(view), QStringList({QStringLiteral("改了"), QStringLiteral("插入"), QString(),
                                      QStringLiteral("end")}));
  list.appendLines({"a", "b"});
  EXPECT_EQ(view.model()->rowCount(), 6);
  list.clear();
  EXPECT_EQ(view.model()->rowCount(), 0);
  EXPECT_FALSE(model.index(5, 0).data().isValid());
}

TEST(LyricsListModelTest, ALongLineIsShownByItsStartAndKeptWholeInTheDocument) {
  const int n = app::kShownLineCharacters;
  const QString han = QStringLiteral("歌");              // two bytes in GBK
  const QString ext = QString::fromUcs4(U"\U00020000");  // four bytes in GB18030, two QChars
  const struct {
    const char* name;
    QString text;
    bool cut;
  } cases[] = {
      {"short", QStringLiteral("[00:01.00]故事的小黄花"), false},
      {"longer than a tooltip shows", han.repeated(1000), false},
      {"exactly the bound", QString(n, QLatin1Char('a')), false},
      {"one ASCII character over", QString(n + 1, QLatin1Char('a')), true},
      // After one ASCII byte every two-byte character starts at an odd byte offset.
      {"two-byte characters after an odd start", QStringLiteral("a") + han.repeated(n), true},
      {"four-byte characters", QStringLiteral("ab") + ext.repeated(n), true},
      {"exactly the bound in four-byte characters", ext.repeated(n), false},
      {"a line of a megabyte", (QStringLiteral("[00:01.00]") + han.repeated(40)).repeated(10000),
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    lyrics::LyricsList list;
    app::LyricsListModel model(list);
    const std::string bytes = app::toGbk(c.text);
    list.appendLine(bytes);
    const QString shown = model.index(0, 0).data(Qt::DisplayRole).toString();
    const QString expected = c.cut ? firstCharacters(c.text, n) + QChar(0x2026) : c.text;
    EXPECT_EQ(shown, expected);
    EXPECT_LE(shown.size(), 2 * n + 1);
    EXPECT_FALSE(shown.contains(QChar::ReplacementCharacter));
    EXPECT_EQ(model.index(0, 0).data(Qt::ToolTipRole).toString(),
              cutAt(c.text, app::kTooltipLineCharacters));
    // The document keeps every byte of the line.
    EXPECT_EQ(list.line(0), bytes);
  }
  // A lone lead byte at the very end of a short line still shows that something is there.
  EXPECT_EQ(app::shownLineText("ab\xB8"), QStringLiteral("ab\uFFFD"));
}

TEST(LyricsListModelTest, SelectionsFollowEachOtherWithoutFeedback) {
  lyrics::LyricsList list;
  app::LyricsListView view;
  view.resize(300, 120);
  app::LyricsListModel model(list);
  model.attachView(&view);
  view.show();
  list.replaceAll({"a", "b", "c", "d"});
  EXPECT_EQ(viewSelection(view), -1);

  list.setSelection(2);
  EXPECT_EQ(viewSelection(view), 2);
  EXPECT_EQ(view.currentIndex().row(), 2);

  // The user picks a line in the view.
  view.selectionModel()->setCurrentIndex(model.index(1, 0), QItemSelectionModel::ClearAndSelect);
  EXPECT_EQ(list.selection(), 1);

  // Removing the selected line leaves no selection in either, even though the view would move
  // its current row to a neighbour.
  list.setSelection(1);
  list.deleteLine(1);
  EXPECT_EQ(list.selection(), -1);
  EXPECT_EQ(viewSelection(view), -1);

  // The selection follows its line when a line is inserted above it.
  list.setSelection(2);
  list.insertLine(0, "new");
  EXPECT_EQ(list.selection(), 3);
  EXPECT_EQ(viewSelection(view), 3);
  EXPECT_EQ(list.line(3), "d");

  list.replaceAll({"x"});
  EXPECT_EQ(list.selection(), -1);
  EXPECT_EQ(viewSelection(view), -1);
}

TEST(LyricsListModelTest, TheUserCannotLeaveTheListWithoutASelection) {
  // Like the platform's single-selection list box: a click below the last line or a
  // Ctrl+click on the selected line keeps the selection, so F5 still has a line to stamp.
  lyrics::LyricsList list;
  app::LyricsListView view;
  view.resize(300, 200);
  app::LyricsListModel model(list);
  model.attachView(&view);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  list.replaceAll({"a", "b", "c"});
  list.setSelection(1);

  const QPoint belowTheLines(10, view.viewport()->height() - 5);
  ASSERT_FALSE(view.indexAt(belowTheLines).isValid());
  QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, belowTheLines);
  EXPECT_EQ(list.selection(), 1);
  EXPECT_EQ(viewSelection(view), 1);

  const QPoint onLine1 = view.visualRect(model.index(1, 0)).center();
  QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier, onLine1);
  EXPECT_EQ(list.selection(), 1);
  EXPECT_EQ(viewSelection(view), 1);

  view.selectionModel()->clearSelection();
  EXPECT_EQ(list.selection(), 1);
  EXPECT_EQ(viewSelection(view), 1);

  // Picking another line still moves the selection.
  QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                    view.visualRect(model.index(2, 0)).center());
  EXPECT_EQ(list.selection(), 2);
  EXPECT_EQ(viewSelection(view), 2);
}

TEST(LyricsListModelTest, SelectingALineScrollsItIntoView) {
  lyrics::LyricsList list;
  app::LyricsListView view;
  view.resize(300, 150);
  app::LyricsListModel model(list);
  model.attachView(&view);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  std::vector<std::string> lines;
  for (int i = 0; i < 2000; ++i) lines.push_back("line " + std::to_string(i));
  list.replaceAll(std::move(lines));
  list.setSelection(1500);
  QTest::qWait(20);
  const QRect shownRect = view.visualRect(model.index(1500, 0));
  EXPECT_TRUE(view.viewport()->rect().contains(shownRect)) << shownRect.y();
}

TEST(LyricsListModelTest, DetachesFromTheListWhenDestroyed) {
  lyrics::LyricsList list;
  {
    app::LyricsListModel model(list);
    list.appendLine("kept");
  }
  // No view listens any more; the list keeps working on its own.
  list.appendLine("after");
  list.setSelection(1);
  EXPECT_EQ(list.count(), 2);
  EXPECT_EQ(list.selection(), 1);
}
