#include "app/editor_state.h"

namespace app {

namespace {

// The header boxes, then whether the song row exists, then its cells.
lyrics::UndoHistory::Sides documentSides(lyrics::HeaderFields& headers, playback::SongRow& song) {
  using lyrics::HeaderFields;
  return {[&headers, &song] {
            std::vector<std::string> texts;
            for (int field = 0; field < HeaderFields::kFieldCount; ++field) {
              texts.push_back(headers.text(static_cast<HeaderFields::Field>(field)));
            }
            texts.emplace_back(song.hasRow() ? "1" : "");
            for (int column = 0; column < playback::SongRow::kColumnCount; ++column) {
              texts.push_back(song.cell(0, column));
            }
            return texts;
          },
          [&headers, &song](const std::vector<std::string>& texts) {
            for (int field = 0; field < HeaderFields::kFieldCount; ++field) {
              headers.setText(static_cast<HeaderFields::Field>(field), texts.at(field));
            }
            if (texts.at(HeaderFields::kFieldCount).empty()) {
              song.clear();
              return;
            }
            playback::SongRow::Cells cells;
            for (int column = 0; column < playback::SongRow::kColumnCount; ++column) {
              cells[column] = texts.at(HeaderFields::kFieldCount + 1 + column);
            }
            // Setting an equal row would still tell its views; the same row stays as it is.
            bool same = song.hasRow();
            for (int column = 0; same && column < playback::SongRow::kColumnCount; ++column) {
              same = song.cell(0, column) == cells[column];
            }
            if (!same) song.setRow(std::move(cells));
          }};
}

}  // namespace

EditorState::EditorState(platform::IntervalTimer& clockTimer, const Services& services)
    : clock(clockTimer, currentTag, playbackDisplay, status, services.player, m_steadyClock),
      keyLag(services.settingsFolder),
      pressTags(clock, keyLag, inputMoments, m_steadyClock),
      playback(song, headers, status, playbackDisplay, clock, services.player, services.prompter,
               services.dialogs, services.clipboard),
      history(lyrics, documentSides(headers, song)),
      recovery(services.recoveryFolder, lyrics, documentSides(headers, song), history,
               services.prompter) {
  keyLag.load();
}

}  // namespace app
