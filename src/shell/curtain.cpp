#include "shell/curtain.h"

namespace shell {

// From the parked or the closed position a piece meets its stop value exactly after 24 steps.
// A slide that starts half-way (the opposite slide was cut short) never meets it, so each tick
// stops at the first position on or past the stop value and snaps to the end position.
namespace {
constexpr int kLeftCloseStop = -1;
constexpr int kRightCloseStop = 266;
constexpr int kLeftOpenStop = -264;
constexpr int kRightOpenStop = 529;
}  // namespace

Curtain::Curtain(CurtainView& view, Timers timers) : m_view(view), m_timers(timers) {}

void Curtain::close() {
  // Both timers of a piece running at once would pull it both ways and neither would stop.
  m_timers.openLeft.setInterval(0);
  m_timers.openRight.setInterval(0);
  m_timers.closeRight.setInterval(kTickMs);
  m_timers.closeLeft.setInterval(kTickMs);
}

void Curtain::open() {
  m_timers.closeLeft.setInterval(0);
  m_timers.closeRight.setInterval(0);
  m_timers.openRight.setInterval(kTickMs);
  m_timers.openLeft.setInterval(kTickMs);
}

void Curtain::closeLeftTick() {
  const int left = m_view.leftPieceLeft() + kStep;
  if (left < kLeftCloseStop) {
    m_view.moveLeftPiece(left);
    return;
  }
  m_timers.closeLeft.setInterval(0);
  m_view.moveLeftPiece(kLeftClosed);
}

void Curtain::closeRightTick() {
  const int left = m_view.rightPieceLeft() - kStep;
  if (left > kRightCloseStop) {
    m_view.moveRightPiece(left);
    return;
  }
  m_timers.closeRight.setInterval(0);
  m_view.moveRightPiece(kRightClosed);
  m_view.showClosePictureAt(kClosePictureLeft, kClosePictureTop);
  m_view.moveDisplayBox(kDisplayLeft, kDisplayTop);
  m_view.setVolumePictureVisible(false);
  m_view.setDisplayVisible(true);
}

void Curtain::openLeftTick() {
  const int left = m_view.leftPieceLeft() - kStep;
  if (left > kLeftOpenStop) {
    m_view.moveLeftPiece(left);
    return;
  }
  m_timers.openLeft.setInterval(0);
  m_view.moveLeftPiece(kLeftParked);
}

void Curtain::openRightTick() {
  const int left = m_view.rightPieceLeft() + kStep;
  if (left < kRightOpenStop) {
    m_view.moveRightPiece(left);
    return;
  }
  m_timers.openRight.setInterval(0);
  m_view.moveRightPiece(kRightParked);
  m_view.setOpenPictureVisible(true);
  m_view.setVolumePictureVisible(true);
}

}  // namespace shell
