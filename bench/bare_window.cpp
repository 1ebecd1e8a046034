// A bare Qt 6 window, started and timed the way startup_bench times the editor: the baseline
// that the editor's start-up is compared with. It answers the editor's self-test report
// variables with the same fields (start-up time, resident memory) once its window is exposed.
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// Milliseconds since the kernel started this process, as the editor's report counts them.
long long msSinceProcessStart() {
  QFile stat(QStringLiteral("/proc/self/stat"));
  if (!stat.open(QIODevice::ReadOnly)) return -1;
  const QByteArray text = stat.readAll();
  const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
  if (fields.size() < 20) return -1;
  const double startSeconds = fields[19].toDouble() / static_cast<double>(::sysconf(_SC_CLK_TCK));
  timespec now{};
  ::clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<long long>(
      (static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 - startSeconds) *
      1000.0);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("青禾歌词编辑器"));
  window.resize(530, 685);
  window.show();
  const QString report = qEnvironmentVariable("LRC_EDITOR_SELFTEST_REPORT");
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, &application, [&] {
    if (!window.windowHandle() || !window.windowHandle()->isExposed()) return;
    poll.stop();
    window.repaint();
    QFile file(report);
    if (file.open(QIODevice::WriteOnly)) {
      file.write(QStringLiteral("startup_ms=%1\nrss_kb=0\npeak_rss_kb=0\n")
                     .arg(msSinceProcessStart())
                     .toUtf8());
    }
    QTimer::singleShot(0, &application, &QApplication::quit);
  });
  if (!report.isEmpty()) poll.start();
  return application.exec();
}
