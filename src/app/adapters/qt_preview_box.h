#pragma once

#include <QMetaObject>
#include <QString>
#include <string>
#include <vector>

#include "lyrics/preview_box_view.h"

class QPlainTextEdit;

namespace app {

// The preview box `编辑框_歌词预览` seen by the preview controller: its position, enabled flag
// and whole text as GB18030 bytes with CR LF line breaks.
class QtPreviewBox : public lyrics::PreviewBoxView {
 public:
  // Follows the edits of `box`'s document, so that untouched text keeps its bytes.
  explicit QtPreviewBox(QPlainTextEdit* box);
  ~QtPreviewBox() override;
  QtPreviewBox(const QtPreviewBox&) = delete;
  QtPreviewBox& operator=(const QtPreviewBox&) = delete;

  int top() const override;
  void move(int left, int top) override;
  bool isEnabled() const override;
  void setEnabled(bool enabled) override;
  // The box's text; every piece the user left untouched keeps the bytes it was given with.
  std::string text() const override;
  void setText(const std::string& text) override;
  bool edited() const override;

 private:
  // A stretch of the box's text: a piece of the given bytes (a run between line breaks, or one
  // break) as long as nobody touched it, or text the user changed.
  struct Segment {
    qsizetype length;
    bool edited;
    std::size_t bytesBegin;
    std::size_t bytesEnd;
  };

  // Marks the segments that an edit of the box's document touched.
  void contentsChanged(int position, int removed, int added);
  qsizetype documentLength() const;

  QPlainTextEdit* m_box;
  QMetaObject::Connection m_changes;
  std::string m_givenBytes;
  std::vector<Segment> m_segments;
  qsizetype m_length = 0;
};

}  // namespace app
