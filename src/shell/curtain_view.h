#pragma once

namespace shell {

// The two curtain pieces and the controls their arrival shows or hides. Positions are in the
// main window's client coordinates.
class CurtainView {
 public:
  virtual ~CurtainView() = default;
  // Left edge of the left piece.
  virtual int leftPieceLeft() const = 0;
  // Moves the left piece to `left` (its top stays).
  virtual void moveLeftPiece(int left) = 0;
  // Left edge of the right piece.
  virtual int rightPieceLeft() const = 0;
  // Moves the right piece to `left` (its top stays).
  virtual void moveRightPiece(int left) = 0;
  // Shows the close picture and puts it at `left`, `top`.
  virtual void showClosePictureAt(int left, int top) = 0;
  // Puts the display box at `left`, `top`.
  virtual void moveDisplayBox(int left, int top) = 0;
  // Shows or hides the display box.
  virtual void setDisplayVisible(bool visible) = 0;
  // Shows or hides the saved-lyrics opener picture.
  virtual void setOpenPictureVisible(bool visible) = 0;
  // Shows or hides the volume picture.
  virtual void setVolumePictureVisible(bool visible) = 0;
};

}  // namespace shell
