#pragma once

#include <QAbstractListModel>
#include <QPointer>

#include "lyrics/lyrics_list.h"

class QItemSelection;
class QAbstractItemView;

namespace app {

// Shows a lyrics::LyricsList in a list view: lines are decoded from GB18030 only when the view
// asks for them and only as far as a row can show (shownLineText), and the view's selection and
// the list's selected index follow each other.
class LyricsListModel : public QAbstractListModel, public lyrics::LyricsListObserver {
  Q_OBJECT

 public:
  // Observes `list` until destroyed.
  explicit LyricsListModel(lyrics::LyricsList& list, QObject* parent = nullptr);
  ~LyricsListModel() override;

  // Shows the model in `view` and ties the view's selection to the list's.
  void attachView(QAbstractItemView* view);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  void linesInserted(int first, int count) override;
  void lineRemoved(int index) override;
  void lineChanged(int index) override;
  void linesReset() override;
  void selectionChanged(int selected) override;

 private:
  void viewSelectionChanged();
  void showSelection(int selected);

  lyrics::LyricsList& m_list;
  QPointer<QAbstractItemView> m_view;
  // Set while the model itself moves the view's selection or changes rows, so the view's
  // reactions are not written back into the list.
  bool m_syncing = false;
};

}  // namespace app
