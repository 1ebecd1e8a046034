#include "waveform/ui/waveform_window.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QVBoxLayout>

#include "lyrics/tag_corrections.h"
#include "platform/native_path.h"

namespace waveform {

namespace {

// Characters of a line's text in its mark's label.
constexpr int kLabelCharacters = 8;
// The cursor is redrawn at about the screen's refresh rate while the song plays.
constexpr int kFrameMs = 16;

}  // namespace

WaveformWindow::WaveformWindow(Context context, QWidget* parent)
    : QWidget(parent, Qt::Window), m_context(std::move(context)) {
  setObjectName(QStringLiteral("窗口_波形"));
  setWindowTitle(QStringLiteral("波形"));
  resize(900, 320);
  m_view = new WaveformView(
      m_envelope, m_marks, [this](const Mark& mark) { return label(mark); }, this);
  m_message = new QLabel(this);
  m_message->setObjectName(QStringLiteral("波形_消息"));
  m_message->setAlignment(Qt::AlignCenter);
  m_message->setWordWrap(true);
  m_message->hide();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_message);
  layout->addWidget(m_view, 1);

  m_loader = new EnvelopeLoader(m_context.decoder, EnvelopeCache(m_context.cacheFolder),
                                {.started =
                                     [this](double seconds) {
                                       m_view->axis().setDuration(seconds);
                                       m_view->axis().showAll();
                                       m_view->update();
                                     },
                                 .peaks =
                                     [this](const std::vector<Peak>& peaks) {
                                       m_envelope.append(peaks);
                                       // A file that states no length grows the axis as the sound
                                       // comes.
                                       if (m_envelope.seconds() > m_view->axis().duration()) {
                                         m_view->axis().setDuration(m_envelope.seconds());
                                         m_view->axis().showAll();
                                       }
                                       m_view->update();
                                     },
                                 .finished = [this](DecodeStatus status) { finished(status); }},
                                this);

  m_frameTimer.setTimerType(Qt::PreciseTimer);
  m_frameTimer.setInterval(kFrameMs);
  connect(&m_frameTimer, &QTimer::timeout, this, [this] { updateCursor(true); });

  connect(m_view, &WaveformView::clicked, this, [this](double seconds) {
    if (m_envelope.size() > 0) m_context.playback.playFrom(seconds);
  });
  connect(m_view, &WaveformView::markClicked, this,
          [this](int line) { m_context.lyrics.setSelection(line); });
  connect(m_view, &WaveformView::markMoved, this, [this](const Mark& mark, qint64 hundredths) {
    m_context.lyrics.setSelection(mark.line);
    moveTag(m_context.lyrics, mark, hundredths);
    documentChanged();
  });
  showMessage(QStringLiteral("没有歌曲：打开一首歌曲后，这里显示它的波形。"));
}

WaveformWindow::~WaveformWindow() { m_loader->cancel(); }

QString WaveformWindow::songName() const {
  return QFileInfo(QFile::decodeName(QByteArray::fromStdString(platform::nativePath(m_songPath))))
      .fileName();
}

void WaveformWindow::showSong(const std::string& gbkPath) {
  if (gbkPath == m_songPath && (m_loaded || m_envelope.size() > 0)) return;
  m_loader->cancel();
  m_songPath = gbkPath;
  m_envelope.clear();
  m_loaded = false;
  m_view->axis().setDuration(0);
  m_view->axis().showAll();
  m_view->update();
  if (gbkPath.empty()) {
    setWindowTitle(QStringLiteral("波形"));
    showMessage(QStringLiteral("没有歌曲：打开一首歌曲后，这里显示它的波形。"));
    return;
  }
  setWindowTitle(QStringLiteral("波形 - ") + songName());
  showMessage(QString());
  m_loader->load(platform::nativePath(gbkPath));
}

void WaveformWindow::finished(DecodeStatus status) {
  m_loaded = status == DecodeStatus::Ok;
  if (status == DecodeStatus::Missing) {
    showMessage(QStringLiteral("找不到音频文件“%1”，无法显示波形。").arg(songName()));
  } else if (status == DecodeStatus::Unreadable) {
    showMessage(QStringLiteral("无法读取音频文件“%1”的波形。").arg(songName()));
  }
  if (!m_loaded) {
    m_envelope.clear();
    m_view->update();
  }
}

void WaveformWindow::showMessage(const QString& text) {
  m_message->setText(text);
  m_message->setVisible(!text.isEmpty());
}

QString WaveformWindow::message() const {
  return m_message->isVisible() ? m_message->text() : QString();
}

void WaveformWindow::documentChanged() {
  m_marksStale = true;
  if (isVisible()) refreshMarks();
}

void WaveformWindow::refreshMarks() {
  if (m_marksStale) {
    m_marks.rebuild(m_context.lyrics);
    m_marksStale = false;
  }
  const int selection = m_context.lyrics.selection();
  m_view->setSelectedLine(selection);
  if (selection != m_selection) {
    m_selection = selection;
    const std::vector<Mark> marks = m_marks.ofLine(selection);
    if (!marks.empty()) m_view->axis().follow(marks.front().hundredths / 100.0, 0.1);
  }
  m_view->update();
}

void WaveformWindow::playbackChanged() {
  const bool playing = m_context.playback.state() == playback::PlaybackState::Playing;
  if (playing && isVisible()) {
    if (!m_frameTimer.isActive()) m_frameTimer.start();
  } else {
    m_frameTimer.stop();
  }
  if (isVisible()) updateCursor(playing);
}

void WaveformWindow::updateCursor(bool follow) {
  m_view->setPlayCursor(static_cast<double>(m_context.clock.elapsedNs()) / 1e9, follow);
}

void WaveformWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refreshMarks();
  playbackChanged();
}

void WaveformWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  m_frameTimer.stop();
}

QString WaveformWindow::label(const Mark& mark) const {
  std::string_view line = m_context.lyrics.line(mark.line);
  while (const auto tag = lyrics::leadingTimeTag(line)) line.remove_prefix(tag->second);
  QStringDecoder decode("GB18030", QStringConverter::Flag::Stateless);
  const QString text = decode(
      QByteArrayView(line.data(), static_cast<qsizetype>(std::min<std::size_t>(line.size(), 64))));
  return text.left(kLabelCharacters);
}

}  // namespace waveform
