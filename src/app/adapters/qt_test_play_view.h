#pragma once

#include "playback/test_play_view.h"
#include "shell/curtain_view.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace app {

class MainWindow;

// The main window's test-play controls as test play and the curtain see them: the close picture
// `图片框_关闭`, the display box `编辑框_青禾歌词编辑器`, the curtain pieces `标签_歌词预览左` and
// `标签_歌词预览右`, and the pictures `图片框_开` and `图片框_声音控制`.
class QtTestPlayView : public playback::TestPlayView, public shell::CurtainView {
 public:
  // Finds the controls in `window` by name, gives the close picture its image and the curtain
  // pieces their opaque look, and stacks the display box and the close picture above them.
  explicit QtTestPlayView(const MainWindow& window);

  bool closePictureVisible() const override;
  void setClosePictureVisible(bool visible) override;
  void setDisplayVisible(bool visible) override;
  void setOpenPictureVisible(bool visible) override;
  void setVolumePictureVisible(bool visible) override;
  void setDisplayText(const std::string& text) override;
  void setDisplayColour(std::uint32_t colour) override;

  int leftPieceLeft() const override;
  void moveLeftPiece(int left) override;
  int rightPieceLeft() const override;
  void moveRightPiece(int left) override;
  void showClosePictureAt(int left, int top) override;
  void moveDisplayBox(int left, int top) override;

  // The close picture, whose double-click ends test play.
  QLabel* closePicture() const { return m_closePicture; }

 private:
  QLabel* m_closePicture;
  QLineEdit* m_display;
  QLabel* m_leftPiece;
  QLabel* m_rightPiece;
  QWidget* m_openPicture;
  QWidget* m_volumePicture;
};

}  // namespace app
