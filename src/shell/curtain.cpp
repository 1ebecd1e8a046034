#include "shell/curtain.h"

namespace shell {

// From the parked or the closed position a piece meets its stop value exactly after 24 steps.
Curtain::Curtain(CurtainView& view, Timers timers)
    : m_view(view),
      m_slides{
          {timers.closeLeft, {kStep, -1, kLeftClosed}, [this](int x) { m_view.moveLeftPiece(x); }},
          {timers.closeRight,
           {-kStep, 266, kRightClosed},
           [this](int x) { m_view.moveRightPiece(x); },
           [this] { closed(); }},
          {timers.openLeft,
           {-kStep, -264, kLeftParked},
           [this](int x) { m_view.moveLeftPiece(x); }},
          {timers.openRight,
           {kStep, 529, kRightParked},
           [this](int x) { m_view.moveRightPiece(x); },
           [this] { opened(); }}} {}

void Curtain::close() {
  // Both timers of a piece running at once would pull it both ways and neither would stop.
  m_slides.openLeft.stop();
  m_slides.openRight.stop();
  m_slides.closeRight.start(m_view.rightPieceLeft());
  m_slides.closeLeft.start(m_view.leftPieceLeft());
}

void Curtain::open() {
  m_slides.closeLeft.stop();
  m_slides.closeRight.stop();
  m_slides.openRight.start(m_view.rightPieceLeft());
  m_slides.openLeft.start(m_view.leftPieceLeft());
}

void Curtain::closed() {
  m_view.showClosePictureAt(kClosePictureLeft, kClosePictureTop);
  m_view.moveDisplayBox(kDisplayLeft, kDisplayTop);
  m_view.setVolumePictureVisible(false);
  m_view.setDisplayVisible(true);
}

void Curtain::opened() {
  m_view.setOpenPictureVisible(true);
  m_view.setVolumePictureVisible(true);
}

}  // namespace shell
