#include "app/self_test_report.h"

#include <time.h>
#include <unistd.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTimer>
#include <QTreeView>
#include <QWindow>
#include <algorithm>

#include "app/editor_app.h"
#include "app/gbk.h"
#include "app/main_menus.h"
#include "app/main_window.h"

namespace app {

namespace {

// Milliseconds since the kernel started this process (10 ms resolution).
long long msSinceProcessStart() {
  QFile stat(QStringLiteral("/proc/self/stat"));
  if (!stat.open(QIODevice::ReadOnly)) return -1;
  const QByteArray text = stat.readAll();
  // Fields after the command name, which is in parentheses and may hold spaces.
  const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
  if (fields.size() < 20) return -1;
  const double startSeconds = fields[19].toDouble() / static_cast<double>(::sysconf(_SC_CLK_TCK));
  timespec now{};
  ::clock_gettime(CLOCK_BOOTTIME, &now);
  const double nowSeconds =
      static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
  return static_cast<long long>((nowSeconds - startSeconds) * 1000.0);
}

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

void writeReport(EditorApp& editor, const QString& path, bool exposed) {
  const lyrics::LyricsList& list = editor.state().lyrics;
  QString head;
  head += QStringLiteral("title=%1\n").arg(editor.window().windowTitle());
  head += QStringLiteral("visible=%1\n").arg(editor.window().isVisible() ? 1 : 0);
  head += QStringLiteral("exposed=%1\n").arg(exposed ? 1 : 0);
  head += QStringLiteral("platform=%1\n").arg(QGuiApplication::platformName());
  head += QStringLiteral("lines=%1\n").arg(list.count());
  head += QStringLiteral("selected=%1\n").arg(list.selection());
  head += QStringLiteral("startup_ms=%1\n").arg(msSinceProcessStart());
  head += QStringLiteral("rss_kb=%1\n").arg(memoryKb("VmRSS"));
  head += QStringLiteral("peak_rss_kb=%1\n").arg(memoryKb("VmHWM"));
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
  // The window is on screen once the display has exposed it; one full paint then belongs to
  // the start-up, so a slow paint shows in the start-up time. A display that never exposes
  // the window still gets its report after 10 s, saying so.
  auto* poll = new QTimer(&editor);
  poll->setInterval(5);
  QElapsedTimer waited;
  waited.start();
  QObject::connect(poll, &QTimer::timeout, &editor, [&editor, path, quit, command, poll, waited] {
    const QWindow* handle = editor.window().windowHandle();
    const bool exposed = handle && handle->isExposed();
    if (!exposed && waited.elapsed() < 10000) return;
    poll->stop();
    poll->deleteLater();
    if (exposed) editor.window().repaint();
    if (!command.isEmpty()) {
      if (QAction* item = editor.window().menus().action(command)) item->trigger();
    }
    writeReport(editor, path, exposed);
    if (quit) editor.exitProgram();
  });
  poll->start();
}

}  // namespace app
