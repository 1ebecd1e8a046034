#include "support/click_track.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace testsupport {

namespace {
constexpr int kRate = 44100;
}  // namespace

bool ClickTrack::write(const std::string& path, int seconds, bool shifted) {
  // Where the click starts within its second: the golden ratio's steps spread it evenly.
  const char* start = shifted ? "0.3*mod(floor(t)*0.618\\,1)" : "0";
  char expression[240];
  // Commas inside a filter option are escaped for the filter parser; one expression per channel.
  std::snprintf(expression, sizeof expression,
                "%.2f*sin(2*PI*1000*t)+%.2f*sin(2*PI*3000*t)*between(mod(t\\,1)-%s\\,0\\,0.005)",
                static_cast<double>(kToneLevel), static_cast<double>(kClickLevel - kToneLevel),
                start);
  const std::string command =
      std::string("ffmpeg -loglevel error -y -f lavfi -i 'aevalsrc=exprs=") + expression + "|" +
      expression + ":s=" + std::to_string(kRate) + ":d=" + std::to_string(seconds) +
      "' -c:a libmp3lame -b:a 192k '" + path + "'";
  return std::system(command.c_str()) == 0;
}

std::vector<double> ClickTrack::decodedOnsets(const std::string& path) {
  const std::string command =
      "ffmpeg -loglevel error -i '" + path + "' -f f32le -ar " + std::to_string(kRate) + " -";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  std::vector<float> level;
  float frame[2];
  while (std::fread(frame, sizeof frame, 1, pipe) == 1) {
    level.push_back(std::max(std::abs(frame[0]), std::abs(frame[1])));
  }
  ::pclose(pipe);
  std::vector<double> positions;
  for (std::int64_t frame : onsets(level, kClickLevel * 0.4f, kRate / 2)) {
    positions.push_back(static_cast<double>(frame) / kRate);
  }
  return positions;
}

std::vector<std::int64_t> ClickTrack::onsets(const std::vector<float>& level, float threshold,
                                             std::int64_t quietFrames) {
  std::vector<std::int64_t> found;
  std::int64_t lastLoud = -quietFrames;
  for (std::size_t index = 0; index < level.size(); ++index) {
    if (level[index] <= threshold) continue;
    const auto frame = static_cast<std::int64_t>(index);
    if (frame - lastLoud >= quietFrames) found.push_back(frame);
    lastLoud = frame;
  }
  return found;
}

}  // namespace testsupport
