#include "playback/test_play.h"

#include "platform/file_io.h"
#include "playback/preview_match.h"

namespace playback {

TestPlay::TestPlay(Parts parts, std::function<void()> closeCurtain,
                   std::function<void()> openCurtain)
    : m(parts), m_closeCurtain(std::move(closeCurtain)), m_openCurtain(std::move(openCurtain)) {}

void TestPlay::startTestPlay() {
  if (m.view.closePictureVisible()) return;
  if (!m.song.hasSongFile()) return;
  const std::string& path = m.song.cell(SongRow::Path);
  if (!platform::fileExists(path)) {
    m.prompter.inform("歌曲文件路径不存在，或以删除。", "", platform::MessageIcon::Warning);
    return;
  }
  m.clock.reset();
  m.view.setOpenPictureVisible(false);
  m.view.setVolumePictureVisible(false);
  m.syncTimer.setInterval(kSyncIntervalMs);
  // The format cell is not looked at, and a paused editor keeps offering to continue.
  m.controller.playFromStart(path);
  m_closeCurtain();
  m.colourTimer.setInterval(kColourIntervalMs);
}

void TestPlay::syncPreviewTick() {
  const auto match = matchPreviewLine(m.list.lines(), m.currentTag.value());
  // No matching line keeps the display and the selection as they were.
  if (!match) return;
  m.view.setDisplayText(match->text);
  m.list.setSelection(match->index);
}

void TestPlay::colourTick() {
  std::uint32_t colour = 1;
  for (int factor = 0; factor < 3; ++factor) {
    colour *= static_cast<std::uint32_t>(m.random.between(0, kColourFactorMax));
  }
  // At most 250 cubed, which is below 2^24: always a plain colour value.
  m.view.setDisplayColour(colour);
}

void TestPlay::endTestPlay() {
  m.view.setClosePictureVisible(false);
  m.view.setDisplayVisible(false);
  m_openCurtain();
  m.syncTimer.setInterval(0);
  m.controller.stopPlayback();
  m.list.setSelection(0);
}

}  // namespace playback
