#pragma once

#include <string>

#include "playback/preview_box_view.h"

class QPlainTextEdit;

namespace app {

// The preview box `编辑框_歌词预览` seen by the preview controller: its position, enabled flag
// and whole text as GB18030 bytes with CR LF line breaks.
class QtPreviewBox : public playback::PreviewBoxView {
 public:
  explicit QtPreviewBox(QPlainTextEdit* box) : m_box(box) {}

  int top() const override;
  void move(int left, int top) override;
  bool isEnabled() const override;
  void setEnabled(bool enabled) override;
  std::string text() const override;
  void setText(const std::string& text) override;

 private:
  QPlainTextEdit* m_box;
};

}  // namespace app
