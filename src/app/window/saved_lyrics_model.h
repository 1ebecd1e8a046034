#pragma once

#include <QAbstractTableModel>
#include <QPointer>

#include "files/saved_lyrics_library.h"

class QTreeView;

namespace app {

// Shows a files::SavedLyricsLibrary in the report-style list `超级列表框1`: one row per record,
// its seven fields in the seven columns, decoded from GB18030 when the view asks. The view's
// selected row and the library's follow each other.
class SavedLyricsModel : public QAbstractTableModel, public files::SavedLyricsLibraryObserver {
  Q_OBJECT

 public:
  // Characters of a field that a cell shows; a whole lyrics text is far more than a row can.
  static constexpr int kShownFieldCharacters = 256;

  // Observes `library` until destroyed.
  explicit SavedLyricsModel(files::SavedLyricsLibrary& library, QObject* parent = nullptr);
  ~SavedLyricsModel() override;

  // Shows the model in `view` with the library's column widths and ties the selections.
  void attachView(QTreeView* view);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  void rowsInserted(int first, int count) override;
  void rowRemoved(int row) override;
  void fieldChanged(int row, int field) override;
  void rowsReset() override;
  void selectionChanged(int row) override;

 private:
  void viewSelectionChanged();
  void showSelection(int row);

  files::SavedLyricsLibrary& m_library;
  QPointer<QTreeView> m_view;
  // Set while the model itself changes rows or the view's selection, so the view's reactions
  // are not written back into the library.
  bool m_syncing = false;
};

}  // namespace app
