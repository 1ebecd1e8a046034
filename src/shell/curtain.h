#pragma once

#include "platform/slide.h"
#include "shell/curtain_view.h"

namespace shell {

// The two-piece curtain that covers the bottom band of the window during test play. Each piece
// slides by 11 pixels per 10 ms tick of its own timer; the right piece's arrival shows the
// test-play controls on closing and the bottom pictures on opening.
class Curtain {
 public:
  static constexpr int kStep = 11;
  // Top edge of both pieces, parked or closed: they cover the band from 466 to 562.
  static constexpr int kTop = 466;
  // Parked and closed left edges of the two pieces.
  static constexpr int kLeftParked = -265;
  static constexpr int kLeftClosed = 0;
  static constexpr int kRightParked = 530;
  static constexpr int kRightClosed = 265;
  // Where the right piece's arrival puts the close picture and the display box.
  static constexpr int kClosePictureLeft = 490;
  static constexpr int kClosePictureTop = 510;
  static constexpr int kDisplayLeft = 10;
  static constexpr int kDisplayTop = 500;

  // The timers are 时钟_控制标签左, 时钟_控制标签右, 时钟_控制歌词预览标签左关 and
  // 时钟_控制歌词预览标签右关.
  struct Timers {
    platform::IntervalTimer& closeLeft;
    platform::IntervalTimer& closeRight;
    platform::IntervalTimer& openLeft;
    platform::IntervalTimer& openRight;
  };

  // The four slides, each ticked by its own timer: CurtainCloseLeftTick, CurtainCloseRightTick
  // (its arrival shows the close picture and the display box), CurtainOpenLeftTick and
  // CurtainOpenRightTick (its arrival shows the opener and volume pictures again).
  struct Slides {
    platform::Slide closeLeft;
    platform::Slide closeRight;
    platform::Slide openLeft;
    platform::Slide openRight;
  };

  Curtain(CurtainView& view, Timers timers);

  // Starts both pieces sliding in; a slide out still running is stopped first.
  void close();
  // Starts both pieces sliding out; a slide in still running is stopped first.
  void open();
  // The slides, for the timers that tick them.
  Slides& slides() { return m_slides; }

 private:
  void closed();
  void opened();

  CurtainView& m_view;
  Slides m_slides;
};

}  // namespace shell
