#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "waveform/envelope.h"
#include "waveform/tag_marks.h"
#include "waveform/time_axis.h"

namespace waveform {

// The waveform view 波形_视图: the song's envelope across its full width, a time ruler in mm:ss,
// every tag as a vertical mark labelled with its line, and the play cursor. The wheel zooms
// around the pointer, dragging the background scrolls, a click plays from there, a mark can be
// clicked (its line is selected) or dragged to a new time; dragged near an edge of the view, the
// view scrolls on under it.
//
// Everything but the play cursor is drawn into a picture that is drawn again only when what it
// shows changed (the stretch of the song, the size, the envelope, the marks, the selection, a
// drag); while the song plays, each frame paints only the columns the cursor leaves and enters.
class WaveformView : public QWidget {
  Q_OBJECT

 public:
  // Height of the time ruler at the top, in pixels.
  static constexpr int kRulerHeight = 18;
  // How far beside a mark a press still takes it, in pixels.
  static constexpr double kGrabPixels = 4;
  // How far a press may move and still be a click, in pixels.
  static constexpr int kClickPixels = 3;
  // A mark dragged this close to an edge of the view scrolls it, in pixels.
  static constexpr int kEdgePixels = 24;
  // Rows of labels below the ruler, at most.
  static constexpr int kLabelRows = 4;

  // Draws `envelope` and `marks`, which must outlive the view; `label` gives a mark's caption.
  WaveformView(const Envelope& envelope, const TagMarks& marks,
               std::function<QString(const Mark&)> label, QWidget* parent = nullptr);

  TimeAxis& axis() { return m_axis; }
  // The line whose marks are highlighted (-1: none).
  void setSelectedLine(int line);
  // The play cursor at `seconds` (negative: none), with the view turning the page to keep it
  // in sight when `follow` is set.
  void setPlayCursor(double seconds, bool follow);
  double playCursor() const { return m_cursor; }

 signals:
  // A click on the waveform at `seconds`.
  void clicked(double seconds);
  // A click on a mark of `line`.
  void markClicked(int line);
  // `mark` was dragged to `hundredths`.
  void markMoved(waveform::Mark mark, qint64 hundredths);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // What the picture was drawn for; any difference draws it again.
  struct PictureKey {
    double start = -1;
    double span = 0;
    QSize size;
    qreal ratio = 0;
    std::uint64_t envelope = 0;
    std::uint64_t marks = 0;
    int selected = -1;
    bool dragging = false;
    std::int64_t dragTo = 0;
    std::uint64_t font = 0;
    bool operator==(const PictureKey&) const = default;
  };
  PictureKey pictureKey() const;
  void drawPicture();
  void paintRuler(QPainter& painter);
  void paintWave(QPainter& painter);
  void paintMarks(QPainter& painter);
  std::int64_t snappedHundredths(double x) const;
  int cursorX() const;
  // Asks for the cursor's column at `x` to be painted again.
  void updateCursorAt(int x);
  // Pixels to scroll in one step of a drag held at `x` (negative: back); 0 away from the edges.
  double edgeStep(int x) const;
  // One step of the scroll under a mark dragged to an edge.
  void edgeScroll();

  const Envelope& m_envelope;
  const TagMarks& m_marks;
  std::function<QString(const Mark&)> m_label;
  TimeAxis m_axis;
  int m_selectedLine = -1;
  double m_cursor = -1;

  // The press under way: where it began, the mark it took (if any) and whether it moved.
  bool m_pressed = false;
  QPoint m_pressAt;
  QPoint m_lastAt;
  std::optional<Mark> m_grabbed;
  bool m_moved = false;
  std::int64_t m_dragTo = 0;
  QTimer m_edgeTimer;

  QPixmap m_picture;
  PictureKey m_pictureKey;
  // Counts font changes, which change the ruler's and the labels' text.
  std::uint64_t m_fontRevision = 0;
};

}  // namespace waveform
