#include "app/self_test_report.h"

#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QSaveFile>
#include <QTimer>

#include "app/editor_app.h"
#include "app/gbk.h"
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
  const double startSeconds =
      fields[19].toDouble() / static_cast<double>(::sysconf(_SC_CLK_TCK));
  timespec now{};
  ::clock_gettime(CLOCK_BOOTTIME, &now);
  const double nowSeconds = static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
  return static_cast<long long>((nowSeconds - startSeconds) * 1000.0);
}

// Resident memory in kB from /proc/self/status.
long long residentKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toLongLong();
  }
  return -1;
}

void writeReport(EditorApp& editor, const QString& path) {
  const lyrics::LyricsList& list = editor.lyricsList();
  QString text;
  text += QStringLiteral("title=%1\n").arg(editor.window().windowTitle());
  text += QStringLiteral("visible=%1\n").arg(editor.window().isVisible() ? 1 : 0);
  text += QStringLiteral("lines=%1\n").arg(list.count());
  text += QStringLiteral("selected=%1\n").arg(list.selection());
  text += QStringLiteral("startup_ms=%1\n").arg(msSinceProcessStart());
  text += QStringLiteral("rss_kb=%1\n").arg(residentKb());
  for (const std::string& line : list.lines()) text += QStringLiteral("line=") + toQString(line) + '\n';
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write(text.toUtf8());
  file.commit();
}

}  // namespace

void SelfTestReport::installIfRequested(EditorApp& editor) {
  const QString path = qEnvironmentVariable("LRC_EDITOR_SELFTEST_REPORT");
  if (path.isEmpty()) return;
  const bool quit = qEnvironmentVariable("LRC_EDITOR_SELFTEST_QUIT") == QStringLiteral("1");
  // Queued behind the show events, so the report is written once the window is on screen.
  QTimer::singleShot(0, &editor, [&editor, path, quit] {
    writeReport(editor, path);
    if (quit) editor.exitProgram();
  });
}

}  // namespace app
