#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>

#include "app/adapters/file_drop.h"
#include "app/adapters/gbk.h"
#include "app/adapters/qt_dialogs.h"
#include "app/adapters/qt_interval_timer.h"
#include "app/adapters/qt_prompter.h"
#include "app/program_directory.h"
#include "support/temp_dir.h"

namespace {

// Sets an environment variable for the scope and restores it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QByteArray& value)
      : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
    qputenv(name, value);
  }
  ~ScopedEnv() {
    if (m_had) {
      qputenv(m_name, m_old);
    } else {
      qunsetenv(m_name);
    }
  }

 private:
  const char* m_name;
  bool m_had;
  QByteArray m_old;
};

// Answers the next modal message box once it is up, and records what it showed.
struct BoxAnswer {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
};

void answerNextBox(QMessageBox::StandardButton answer, BoxAnswer& seen) {
  QTimer::singleShot(0, [answer, &seen] {
    std::function<void()> poll;
    poll = [answer, &seen, &poll] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) {
        QTimer::singleShot(5, poll);
        return;
      }
      seen.title = box->windowTitle();
      seen.text = box->text();
      seen.icon = box->icon();
      for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
      box->button(answer)->click();
    };
    poll();
  });
}

}  // namespace

TEST(GbkTest, ConvertsBothWaysAndNeverHoldsBytesBack) {
  const std::string gbk = "\xC7\xE0\xBA\xCC";  // 青禾
  EXPECT_EQ(app::toQString(gbk), QStringLiteral("青禾"));
  EXPECT_EQ(app::toGbk(QStringLiteral("青禾")), gbk);
  EXPECT_EQ(app::toQString("[00:01.00]abc"), QStringLiteral("[00:01.00]abc"));
  // A character outside GBK survives as a four-byte GB18030 sequence.
  const QString emoji = QStringLiteral("歌\U0001F3B5");
  EXPECT_EQ(app::toGbk(emoji).size(), 6u);
  EXPECT_EQ(app::toQString(app::toGbk(emoji)), emoji);
  // A lone lead byte at the end becomes a replacement character and does not leak into the
  // next conversion.
  EXPECT_EQ(app::toQString("a\xC7"), QStringLiteral("a\uFFFD"));
  EXPECT_EQ(app::toQString("\xBA\xCC"), QStringLiteral("禾"));
  EXPECT_EQ(app::toQString("b\x81\x30"), QStringLiteral("b\uFFFD"));
  EXPECT_EQ(app::toQString(""), QString());
}

TEST(QtDialogsTest, FiltersBecomeQtFilters) {
  EXPECT_EQ(app::QtDialogs::qtFilter(QStringLiteral("文本格式(*.txt)|*.txt|歌词文件(*.lrc)|*.lrc")),
            QStringLiteral("文本格式(*.txt);;歌词文件(*.lrc)"));
  EXPECT_EQ(app::QtDialogs::qtFilter(QStringLiteral("音频|*.mp3;*.wma|全部|*.*")),
            QStringLiteral("音频 (*.mp3 *.wma);;全部 (*.*)"));
  // A name without its pattern half is dropped rather than shown with an empty pattern.
  EXPECT_EQ(app::QtDialogs::qtFilter(QStringLiteral("文本|*.txt|孤单")),
            QStringLiteral("文本 (*.txt)"));
  EXPECT_EQ(app::QtDialogs::qtFilter(QString()), QString());
}

TEST(QtDialogsTest, DesktopFolderIsCreatedAndEndsWithASeparator) {
  testsupport::TempDir home;
  const QByteArray homePath = QByteArray::fromStdString(home.path().string());
  const ScopedEnv setHome("HOME", homePath);
  const ScopedEnv setConfig("XDG_CONFIG_HOME", homePath + "/config");
  app::QtDialogs dialogs;
  const std::string desktop = dialogs.desktopDirectory();
  EXPECT_EQ(desktop, home.path().string() + "/Desktop/");
  EXPECT_TRUE(QDir(QString::fromStdString(desktop)).exists());
}

TEST(QtPrompterTest, ShowsModalBoxesWithTitleIconAndButtons) {
  app::QtPrompter prompter;
  BoxAnswer seen;
  answerNextBox(QMessageBox::Ok, seen);
  prompter.inform(app::toGbk(QStringLiteral("歌词文件不正确")), "", platform::MessageIcon::Warning);
  EXPECT_EQ(seen.title, QStringLiteral("信息："));
  EXPECT_EQ(seen.text, QStringLiteral("歌词文件不正确"));
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.buttons.size(), 1);

  BoxAnswer yes;
  answerNextBox(QMessageBox::Yes, yes);
  EXPECT_TRUE(prompter.ask(app::toGbk(QStringLiteral("清空吗？")),
                           app::toGbk(QStringLiteral("tolva_提示：")),
                           platform::MessageIcon::Information));
  EXPECT_EQ(yes.title, QStringLiteral("tolva_提示："));
  EXPECT_EQ(yes.icon, QMessageBox::Information);
  EXPECT_EQ(yes.buttons.size(), 2);

  BoxAnswer no;
  answerNextBox(QMessageBox::No, no);
  EXPECT_FALSE(prompter.ask("x", "t", platform::MessageIcon::Error));
  EXPECT_EQ(no.icon, QMessageBox::Critical);
}

TEST(QtIntervalTimerTest, SameIntervalKeepsPhaseNewIntervalRestartsZeroStops) {
  app::QtIntervalTimer timer(QStringLiteral("时钟_毫秒"));
  EXPECT_EQ(timer.objectName(), QStringLiteral("时钟_毫秒"));
  EXPECT_EQ(timer.interval(), 0);

  timer.setInterval(400);
  EXPECT_EQ(timer.interval(), 400);
  QTest::qWait(150);
  timer.setInterval(400);  // same value: the tick stays where it was
  EXPECT_LE(timer.remainingTime(), 300);
  timer.setInterval(1000);  // new value: counting starts again
  EXPECT_GT(timer.remainingTime(), 900);
  EXPECT_EQ(timer.interval(), 1000);

  timer.setInterval(0);
  EXPECT_EQ(timer.interval(), 0);
  EXPECT_EQ(timer.remainingTime(), -1);
  timer.setInterval(20);
  timer.setInterval(-5);
  EXPECT_EQ(timer.interval(), 0);

  QSignalSpy ticks(&timer, &app::QtIntervalTimer::ticked);
  timer.setInterval(10);
  EXPECT_TRUE(ticks.wait(1000));
  timer.setInterval(0);
  const auto counted = ticks.count();
  QTest::qWait(50);
  EXPECT_EQ(ticks.count(), counted);
}

TEST(FileDropTest, OnePathOrEveryPathFollowedByCrLf) {
  QMimeData one;
  one.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/歌词 1.lrc"))});
  EXPECT_EQ(app::droppedPathText(&one), app::toGbk(QStringLiteral("/tmp/歌词 1.lrc")));

  QMimeData two;
  two.setUrls({QUrl::fromLocalFile(QStringLiteral("/a/x.lrc")),
               QUrl(QStringLiteral("https://example.com/y.lrc")),
               QUrl::fromLocalFile(QStringLiteral("/b/y.txt"))});
  EXPECT_EQ(app::droppedPathText(&two), "/a/x.lrc\r\n/b/y.txt\r\n");

  QMimeData remoteOnly;
  remoteOnly.setUrls({QUrl(QStringLiteral("https://example.com/y.lrc"))});
  EXPECT_EQ(app::droppedPathText(&remoteOnly), "");
  QMimeData textOnly;
  textOnly.setText(QStringLiteral("/a/x.lrc"));
  EXPECT_EQ(app::droppedPathText(&textOnly), "");
  EXPECT_EQ(app::droppedPathText(nullptr), "");
}

TEST(ProgramDirectoryTest, ExecutableFolderWhenWritableElseUserDataFolder) {
  testsupport::TempDir root;
  const QString base = QString::fromStdString(root.path().string());
  EXPECT_EQ(app::programDirectory(base + QStringLiteral("/"), base + QStringLiteral("/data")),
            base);
  const QString fallback =
      app::programDirectory(base + QStringLiteral("/missing/bin"), base + QStringLiteral("/data"));
  EXPECT_EQ(fallback, base + QStringLiteral("/data/qinghe-lrc-editor"));
  EXPECT_TRUE(QDir(fallback).exists());
}
