#include "app/lyrics_list_view.h"

#include <QMouseEvent>

namespace app {

LyricsListView::LyricsListView(QWidget* parent) : QListView(parent) {}

void LyricsListView::mouseDoubleClickEvent(QMouseEvent* event) {
  // QAbstractItemView::doubleClicked fires only on a line; a list box reports a double-click
  // anywhere in it, and the command then works on the selected line.
  const Qt::MouseButton button = event->button();
  QListView::mouseDoubleClickEvent(event);
  emit listDoubleClicked(button);
}

}  // namespace app
