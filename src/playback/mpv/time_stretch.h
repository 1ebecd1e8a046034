#pragma once

#include <string>

namespace playback {

// How mpv is told to stretch the song at a speed other than 1.0, and how far its position then
// reads from the sound that is heard.
//
// mpv's time stretcher (scaletempo2) builds each stretch of sound from a window of the song that
// it searches for around the nominal place, and its default search (30 ms) moves a sound by up
// to some 15 ms, by as much as the song's own shape decides, and its position marks each stretch
// by the song it has read rather than by the song it plays. A narrower search keeps every
// window near its nominal place: what is left is a lag that depends on the speed and hardly on
// where the song started, which the position is corrected by.
struct TimeStretch {
  // mpv's "af" setting: empty at 1.0, where mpv plays the song as it is, through no stretcher.
  std::string filter;
  // How much earlier in the song the heard sound is than mpv's "audio-pts" says.
  double lagSeconds = 0.0;
};

TimeStretch timeStretchFor(double speed);

}  // namespace playback
