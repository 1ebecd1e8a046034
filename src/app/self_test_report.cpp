#include "app/self_test_report.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QSaveFile>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>

#include "app/adapters/gbk.h"
#include "app/editor_app.h"
#include "app/window/lyrics_list_model.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "platform/process_age.h"

namespace app {

namespace {

// A memory figure in kB from /proc/self/status: "VmRSS" now, "VmHWM" the peak so far.
long long memoryKb(const QByteArray& field) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  const QByteArray key = field + ':';
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith(key)) {
      return line.mid(key.size()).trimmed().split(' ').front().toLongLong();
    }
  }
  return -1;
}

// Nanoseconds of the steady clock, which other processes on the machine read alike.
long long steadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Drops `path` on the progress slider, which takes no drops itself: the platform's delivery
// then hands it to the window, as a song dragged from a file manager onto the window.
void dropOnWindow(EditorApp& editor, const QString& path) {
  QWidget& window = editor.window();
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(path)});
  QWidget* slider = editor.window().progressSlider();
  const QPoint pos = slider->mapTo(&window, slider->rect().center());
  QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.windowHandle(), &enter);
  QDropEvent dropped(QPointF(pos), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.windowHandle(), &dropped);
}

// Logs every mouse-button and key press as the display delivers it to a window, with the
// display server's own time of the press (milliseconds of the machine's monotonic clock) and,
// for a key, its Qt key code (a modifier pressed on its own counts as a key of its own).
class PressLog : public QObject {
 public:
  PressLog(std::function<void(const QString&)> write, QObject* parent)
      : QObject(parent), m_write(std::move(write)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    // A key that is a shortcut never arrives as a key press: it is offered to the focus widget
    // as a shortcut override first, once per key.
    if ((watched->isWindowType() && type == QEvent::MouseButtonPress) ||
        type == QEvent::ShortcutOverride) {
      const int key = type == QEvent::ShortcutOverride ? static_cast<QKeyEvent*>(event)->key() : 0;
      m_write(QStringLiteral("press %1 %2 %3\n")
                  .arg(steadyNs())
                  .arg(static_cast<QInputEvent*>(event)->timestamp())
                  .arg(key));
    }
    return false;
  }

 private:
  std::function<void(const QString&)> m_write;
};

// Logs, with the steady time of each, every play time status part 0 shows, every lyric line
// that changes and every press, so that a program watching from outside can tell what was
// shown when.
void logShownTimes(EditorApp& editor, const QString& path) {
  auto file = std::make_shared<QFile>(path);
  if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
  const auto write = [file](const QString& line) { file->write(line.toUtf8()); };
  qApp->installEventFilter(new PressLog(write, &editor));
  editor.state().status.addListener([&editor, write](int part) {
    if (part != lyrics::StatusBar::PlayTime) return;
    write(QStringLiteral("shown %1 %2\n")
              .arg(steadyNs())
              .arg(toQString(editor.state().status.text(lyrics::StatusBar::PlayTime))));
  });
  QAbstractItemModel* lines = &editor.lyricsModel();
  QObject::connect(lines, &QAbstractItemModel::dataChanged, &editor,
                   [lines, write](const QModelIndex& from, const QModelIndex& to) {
                     for (int row = from.row(); row <= to.row(); ++row) {
                       write(QStringLiteral("line %1 %2 %3\n")
                                 .arg(steadyNs())
                                 .arg(row)
                                 .arg(lines->index(row, 0).data().toString()));
                     }
                   });
}

void writeReport(EditorApp& editor, const QString& path, bool exposed) {
  const lyrics::LyricsList& list = editor.state().lyrics;
  QString head;
  head += QStringLiteral("title=%1\n").arg(editor.window().windowTitle());
  head += QStringLiteral("visible=%1\n").arg(editor.window().isVisible() ? 1 : 0);
  head += QStringLiteral("exposed=%1\n").arg(exposed ? 1 : 0);
  head += QStringLiteral("platform=%1\n").arg(QGuiApplication::platformName());
  head += QStringLiteral("lines=%1\n").arg(list.count());
  head += QStringLiteral("selected=%1\n").arg(list.selection());
  head += QStringLiteral("startup_ms=%1\n").arg(platform::msSinceProcessStart());
  head += QStringLiteral("rss_kb=%1\n").arg(memoryKb("VmRSS"));
  head += QStringLiteral("peak_rss_kb=%1\n").arg(memoryKb("VmHWM"));
  head += QStringLiteral("window_id=%1\n").arg(editor.window().winId());
  // Where a pointer clicks the 播放 button, in screen coordinates.
  QToolBar* playback = editor.window().playbackToolBar();
  if (QAction* play = playback->findChild<QAction*>(QStringLiteral("工具条_控制播放_5"))) {
    if (QWidget* button = playback->widgetForAction(play)) {
      const QPoint centre = button->mapToGlobal(button->rect().center());
      head += QStringLiteral("play_button=%1 %2\n").arg(centre.x()).arg(centre.y());
    }
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write(head.toUtf8());
  // The first lines are enough to check a load; a huge list would make the report slow. Each
  // line is written on its own, so a line of megabytes is not held twice more in one text.
  const int shown = std::min(list.count(), 1000);
  for (int index = 0; index < shown; ++index) {
    file.write("line=");
    file.write(toQString(list.line(index)).toUtf8());
    file.write("\n");
  }
  // The saved-lyrics list as the window shows it; the lyrics column is left out.
  const QAbstractItemModel* saved = editor.window().savedLyricsList()->model();
  const int records = saved ? saved->rowCount() : 0;
  file.write(QStringLiteral("saved_records=%1\n").arg(records).toUtf8());
  for (int row = 0; row < std::min(records, 1000); ++row) {
    QStringList cells;
    for (int column = 0; column < 6; ++column) {
      cells.push_back(saved->index(row, column).data().toString());
    }
    file.write("saved=");
    file.write(cells.join(QLatin1Char('|')).toUtf8());
    file.write("\n");
  }
  file.commit();
}

}  // namespace

void SelfTestReport::installIfRequested(EditorApp& editor) {
  const QString path = qEnvironmentVariable("LRC_EDITOR_SELFTEST_REPORT");
  if (path.isEmpty()) return;
  const bool quit = qEnvironmentVariable("LRC_EDITOR_SELFTEST_QUIT") == QStringLiteral("1");
  const QString command = qEnvironmentVariable("LRC_EDITOR_SELFTEST_COMMAND");
  const QString song = qEnvironmentVariable("LRC_EDITOR_SELFTEST_DROP");
  const QString log = qEnvironmentVariable("LRC_EDITOR_SELFTEST_LOG");
  if (!log.isEmpty()) logShownTimes(editor, log);
  // The window is on screen once the display has exposed it; one full paint then belongs to
  // the start-up, so a slow paint shows in the start-up time. A display that never exposes
  // the window still gets its report after 10 s, saying so.
  auto* poll = new QTimer(&editor);
  poll->setInterval(5);
  QElapsedTimer waited;
  waited.start();
  QObject::connect(poll, &QTimer::timeout, &editor,
                   [&editor, path, quit, command, song, poll, waited] {
                     const QWindow* handle = editor.window().windowHandle();
                     const bool exposed = handle && handle->isExposed();
                     if (!exposed && waited.elapsed() < 10000) return;
                     poll->stop();
                     poll->deleteLater();
                     if (exposed) editor.window().repaint();
                     if (!song.isEmpty()) dropOnWindow(editor, song);
                     if (!command.isEmpty()) {
                       if (QAction* item = editor.window().menus().action(command)) item->trigger();
                     }
                     writeReport(editor, path, exposed);
                     if (quit) editor.exitProgram();
                   });
  poll->start();
}

}  // namespace app
