#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

#include "app/main_window.h"
#include "app/qt_interval_timer.h"

namespace {

struct ControlSpec {
  const char* name;
  const char* parent;  // design name of the holding group box; nullptr for the client area
  QRect rect;
  const char* text;  // nullptr when the control has no design text
};

// Every control of the window with its designed place; the tag toolbar shares the top edge
// with the playback toolbar and sits in the first row.
const ControlSpec kControls[] = {
    {"工具条_控制播放", nullptr, {0, 28, 536, 28}, nullptr},
    {"工具条_标签加入", nullptr, {-8, 0, 499, 28}, nullptr},
    {"滑块条_播放进度", nullptr, {0, 56, 524, 34}, nullptr},
    {"超级列表框_歌曲信息", nullptr, {0, 91, 524, 38}, nullptr},
    {"列表框_歌词文件编辑", nullptr, {0, 132, 524, 333}, nullptr},
    {"透明标签_歌手", nullptr, {20, 469, 40, 22}, "歌手："},
    {"编辑框_歌手", nullptr, {59, 469, 161, 22}, ""},
    {"透明标签_歌曲", nullptr, {230, 469, 40, 22}, "歌曲："},
    {"编辑框_歌曲", nullptr, {269, 469, 209, 22}, ""},
    {"透明标签_专辑", nullptr, {20, 502, 40, 22}, "专辑："},
    {"编辑框_专辑", nullptr, {59, 502, 161, 22}, ""},
    {"透明标签_编辑人", nullptr, {230, 502, 49, 22}, "编辑人："},
    {"编辑框_编辑人", nullptr, {286, 502, 192, 22}, ""},
    {"状态条_编辑状态", nullptr, {0, 523, 499, 20}, nullptr},
    {"图片框_开", nullptr, {490, 524, 27, 27}, nullptr},
    {"图片框_声音控制", nullptr, {7, 531, 24, 24}, nullptr},
    {"分组框_声音控制", nullptr, {35, 525, 453, 39}, "声音控制"},
    {"标签_右声道1", "分组框_声音控制", {16, 14, 36, 16}, "音量："},
    {"滑块条_右声道1", "分组框_声音控制", {55, 15, 359, 16}, nullptr},
    {"标签_右1", "分组框_声音控制", {419, 15, 28, 16}, ""},
    {"分组框1", nullptr, {0, 564, 525, 53}, "支持青禾"},
    {"超级链接框1", "分组框1", {176, 7, 160, 22}, "@作者青禾"},
    {"超级链接框2", "分组框1", {176, 27, 160, 19}, nullptr},
    {"分组框_保存文件", nullptr, {530, 57, 523, 471}, "保存文件    "},
    {"超级列表框1", "分组框_保存文件", {2, 16, 518, 455}, nullptr},
    {"编辑框_歌词预览", nullptr, {532, 88, 523, 373}, ""},
    {"编辑框_青禾歌词编辑器", nullptr, {1078, 76, 480, 40}, "青禾歌词编辑器 — 写歌词就这么简单"},
    {"图片框_关闭", nullptr, {1562, 80, 32, 32}, nullptr},
    {"标签_歌词预览左", nullptr, {1064, 26, 265, 96}, nullptr},
    {"标签_歌词预览右", nullptr, {1329, 26, 265, 96}, nullptr},
    {"标签_软件说明", nullptr, {1056, 0, 530, 568}, nullptr},
    {"标签_关于软件", nullptr, {1590, 0, 530, 583}, nullptr},
    {"分组框_配置个性签名", nullptr, {1100, 150, 248, 152}, "个性签名"},
    {"编辑框_个性签名", "分组框_配置个性签名", {15, 23, 216, 80}, ""},
    {"按钮_个性签名", "分组框_配置个性签名", {191, 112, 40, 24}, "确定"},
    {"按钮_关闭", "分组框_配置个性签名", {144, 113, 40, 24}, "关闭"},
    {"标签_同步播放", nullptr, {20, 720, 32, 16}, nullptr},
};

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
  for (const ControlSpec& spec : kControls) {
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
  EXPECT_TRUE(
      qobject_cast<QListView*>(window.control<QWidget>(QStringLiteral("列表框_歌词文件编辑"))));
  EXPECT_TRUE(window.lyricsView()->uniformItemSizes());
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
