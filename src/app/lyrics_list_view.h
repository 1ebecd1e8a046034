#pragma once

#include <QListView>

namespace app {

// The lyrics list `列表框_歌词文件编辑`: a list view that reports every double-click in its
// line area, on a line or in the empty space below the last one.
class LyricsListView : public QListView {
  Q_OBJECT

 public:
  explicit LyricsListView(QWidget* parent = nullptr);

 signals:
  // A double-click of `button`, reported after the view has handled it, so the selection
  // already shows the line under the pointer, or the old line when there is none.
  void listDoubleClicked(Qt::MouseButton button);

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace app
