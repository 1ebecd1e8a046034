#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include "app/window/lyrics_list_view.h"

#include "app/adapters/qt_interval_timer.h"
#include "app/window/main_window.h"
#include "design_layout.h"

namespace {

QString textOf(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) return box->toPlainText();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  return QStringLiteral("<no text>");
}

}  // namespace

TEST(MainWindowTest, EveryControlSitsAtItsDesignPlaceWithItsDesignText) {
  app::MainWindow window;
  EXPECT_EQ(window.windowTitle(), QStringLiteral("青禾歌词编辑器"));
  EXPECT_EQ(window.size(), QSize(530, 685));
  for (const designlayout::ControlSpec& spec : designlayout::kControls) {
    SCOPED_TRACE(spec.name);
    auto* widget = window.findChild<QWidget*>(QString::fromUtf8(spec.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), spec.rect);
    QWidget* expectedParent = spec.parent
                                  ? window.findChild<QWidget*>(QString::fromUtf8(spec.parent))
                                  : window.clientArea();
    EXPECT_EQ(widget->parentWidget(), expectedParent);
    if (spec.text) {
      EXPECT_EQ(textOf(widget), QString::fromUtf8(spec.text));
    }
  }
  // Kinds that the other parts of the program rely on.
  EXPECT_TRUE(qobject_cast<app::LyricsListView*>(
      window.control<QWidget>(QStringLiteral("列表框_歌词文件编辑"))));
  EXPECT_TRUE(
      qobject_cast<QPlainTextEdit*>(window.control<QWidget>(QStringLiteral("编辑框_歌词预览"))));
  EXPECT_EQ(window.previewBox()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(window.headerEdit(0)->objectName(), QStringLiteral("编辑框_歌手"));
  EXPECT_EQ(window.headerEdit(1)->objectName(), QStringLiteral("编辑框_歌曲"));
  EXPECT_EQ(window.headerEdit(2)->objectName(), QStringLiteral("编辑框_专辑"));
  EXPECT_EQ(window.headerEdit(3)->objectName(), QStringLiteral("编辑框_编辑人"));
  for (QSlider* slider : {window.progressSlider(), window.volumeSlider()}) {
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 100);
    EXPECT_EQ(slider->pageStep(), 5);
  }
  // The volume panel covers the status bar, so it waits hidden until asked for.
  EXPECT_TRUE(window.volumePanel()->isHidden());
}

TEST(MainWindowTest, SongListHasItsFiveColumns) {
  app::MainWindow window;
  QTreeWidget* songs = window.songList();
  ASSERT_EQ(songs->columnCount(), 5);
  const char* headers[] = {"歌曲名称", "歌手姓名", "音频格式", "文件检测", "文件路径"};
  const int widths[] = {90, 90, 80, 80, 150};
  for (int column = 0; column < 5; ++column) {
    EXPECT_EQ(songs->headerItem()->text(column), QString::fromUtf8(headers[column]));
    EXPECT_EQ(songs->columnWidth(column), widths[column]);
  }
  EXPECT_FALSE(songs->isHeaderHidden());
  EXPECT_EQ(songs->topLevelItemCount(), 0);
}

TEST(MainWindowTest, StatusBarShowsSixPartsLeftToRightAtTheirWidths) {
  app::MainWindow window;
  window.show();
  const char* texts[] = {
      "播放时间:[00:00.00]", "播放进度：00%", "歌手：", "歌曲：", "行：", "字："};
  const int widths[] = {120, 95, 80, 110, 50, 70};
  int previousRight = 0;
  for (int part = 0; part < 6; ++part) {
    SCOPED_TRACE(part);
    QLabel* label = window.statusLabel(part);
    EXPECT_EQ(label->parentWidget(), window.editStatusBar());
    EXPECT_EQ(label->text(), QString::fromUtf8(texts[part]));
    EXPECT_EQ(label->width(), widths[part]);
    EXPECT_EQ(label->x(), previousRight);
    previousRight = label->x() + label->width();
  }
  // Not the window's own status bar: it lives in the client area like every other control.
  EXPECT_EQ(window.editStatusBar()->parentWidget(), window.clientArea());
}

TEST(MainWindowTest, ToolbarButtonsFollowTheirIndexesWithCaptionsAndTooltips) {
  app::MainWindow window;
  struct Button {
    const char* caption;  // nullptr: separator
    const char* tooltip;
  };
  const Button playback[] = {
      {nullptr, nullptr},        {"打开", "打开音频文件"}, {"保存", "保存编辑歌词"},
      {"另存", "歌词另存为..."}, {nullptr, nullptr},       {"播放", "播放"},
      {"暂停", "暂停"},          {"停止", "停止"},         {nullptr, nullptr},
      {"测试", "测试编辑歌词"},  {nullptr, nullptr}};
  const Button tags[] = {{nullptr, nullptr},
                         {"加入标签[00:00.00]", "加入时间标签"},
                         {nullptr, nullptr},
                         {"删除本行首时间标签", "删除行内首标签"},
                         {nullptr, nullptr}};
  const auto check = [](QToolBar* bar, const QString& name, const Button* buttons, int count) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_EQ(bar->objectName(), name);
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), count);
    for (int index = 0; index < count; ++index) {
      SCOPED_TRACE(index);
      QAction* action = actions[index];
      EXPECT_EQ(action->objectName(), name + QLatin1Char('_') + QString::number(index));
      EXPECT_EQ(action->isSeparator(), buttons[index].caption == nullptr);
      if (!buttons[index].caption) continue;
      EXPECT_EQ(action->text(), QString::fromUtf8(buttons[index].caption));
      EXPECT_EQ(action->toolTip(), QString::fromUtf8(buttons[index].tooltip));
    }
  };
  check(window.playbackToolBar(), QStringLiteral("工具条_控制播放"), playback, 11);
  check(window.tagToolBar(), QStringLiteral("工具条_标签加入"), tags, 5);
  EXPECT_EQ(window.findChild<QAction*>(QStringLiteral("工具条_控制播放_6"))->text(),
            QStringLiteral("暂停"));
}

TEST(MainWindowTest, TimersExistByNameAndStartStopped) {
  app::MainWindow window;
  const char* names[] = {"时钟_毫秒",
                         "时钟_秒",
                         "时钟_测试播放",
                         "时钟_歌词预览文本颜色",
                         "时钟_歌词预览开",
                         "时钟_歌词预览关",
                         "时钟_保存歌词开",
                         "时钟_保存歌词关",
                         "时钟_控制标签左",
                         "时钟_控制标签右",
                         "时钟_控制歌词预览标签左关",
                         "时钟_控制歌词预览标签右关",
                         "时钟_启动窗口下"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    app::QtIntervalTimer* timer = window.timer(QString::fromUtf8(name));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 0);
  }
  EXPECT_EQ(window.timer(QStringLiteral("时钟_不存在")), nullptr);
}
