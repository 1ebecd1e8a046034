// Times the real editor from process start to its first shown window and reads its resident
// memory, through the editor's self-test report.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "lyrics_generator.h"

namespace {

struct Sample {
  double wallMs = -1;      // QProcess::start until the report exists
  double reportedMs = -1;  // the editor's own time since its process started
  double rssMb = -1;
};

Sample runOnce(const QString& binary, const QString& dir, const QStringList& arguments) {
  const QString report = dir + QStringLiteral("/report.txt");
  QFile::remove(report);
  QProcess editor;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LRC_EDITOR_SELFTEST_REPORT"), report);
  env.insert(QStringLiteral("LRC_EDITOR_SELFTEST_QUIT"), QStringLiteral("1"));
  env.insert(QStringLiteral("XDG_DATA_HOME"), dir + QStringLiteral("/data"));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir + QStringLiteral("/config"));
  editor.setProcessEnvironment(env);
  editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QElapsedTimer timer;
  timer.start();
  editor.start(binary, arguments);
  Sample sample;
  while (timer.elapsed() < 20000) {
    if (QFile::exists(report)) {
      sample.wallMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
      break;
    }
    QThread::usleep(500);
  }
  editor.waitForFinished(10000);
  QFile file(report);
  if (file.open(QIODevice::ReadOnly)) {
    for (const QByteArray& line : file.readAll().split('\n')) {
      if (line.startsWith("startup_ms=")) sample.reportedMs = line.mid(11).toDouble();
      if (line.startsWith("rss_kb=")) sample.rssMb = line.mid(7).toDouble() / 1024.0;
    }
  }
  return sample;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Prints the medians; with `judged`, also whether they meet the start-up targets.
bool report(const char* label, const QString& binary, const QString& dir,
            const QStringList& arguments, bool judged) {
  std::vector<double> wall, reported, rss;
  runOnce(binary, dir, arguments);  // warms the file cache
  for (int run = 0; run < 5; ++run) {
    const Sample sample = runOnce(binary, dir, arguments);
    if (sample.wallMs < 0) {
      std::printf("startup_bench: %s: no window within 20 s\n", label);
      return false;
    }
    wall.push_back(sample.wallMs);
    reported.push_back(sample.reportedMs);
    rss.push_back(sample.rssMb);
  }
  std::printf(
      "startup_bench: %s: start to shown window median %.0f ms (editor's own count "
      "%.0f ms), resident memory %.1f MB%s\n",
      label, median(wall), median(reported), median(rss),
      judged ? " (targets <= 500 ms, <= 100 MB)" : " (for comparison, no target)");
  return !judged || (median(wall) <= 500.0 && median(rss) <= 100.0);
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const QString binary = QStringLiteral(LRC_EDITOR_BINARY);
  QTemporaryDir dir;
  const QString big = dir.path() + QStringLiteral("/big.lrc");
  QFile file(big);
  if (!file.open(QIODevice::WriteOnly)) return 2;
  const std::string text = bench::generateGbkLyrics(10u * 1024u * 1024u);
  file.write(text.data(), static_cast<qint64>(text.size()));
  file.close();
  std::printf("startup_bench: platform %s\n", qEnvironmentVariableIsSet("QT_QPA_PLATFORM")
                                                  ? qgetenv("QT_QPA_PLATFORM").constData()
                                                  : "default");
  const bool empty = report("no file", binary, dir.path(), {}, true);
  const bool loaded = report("10 MB file on the command line", binary, dir.path(), {big}, false);
  return empty && loaded ? 0 : 1;
}
