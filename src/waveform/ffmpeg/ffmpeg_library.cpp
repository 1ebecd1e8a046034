#include "waveform/ffmpeg/ffmpeg_library.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

namespace waveform {

namespace {

// The library of the major version the headers describe, so the structures the decoder reads
// have the layout it was built for.
void* openLibrary(const char* name, int major) {
  const std::string soname = std::string("lib") + name + ".so." + std::to_string(major);
  return dlopen(soname.c_str(), RTLD_NOW | RTLD_LOCAL);
}

template <typename Function>
bool resolve(void* handle, const char* name, Function& function) {
  function = handle == nullptr ? nullptr : reinterpret_cast<Function>(dlsym(handle, name));
  return function != nullptr;
}

bool load(FfmpegLibrary& f) {
  void* avutil = openLibrary("avutil", LIBAVUTIL_VERSION_MAJOR);
  void* avcodec = openLibrary("avcodec", LIBAVCODEC_VERSION_MAJOR);
  void* avformat = openLibrary("avformat", LIBAVFORMAT_VERSION_MAJOR);
  void* swresample = openLibrary("swresample", LIBSWRESAMPLE_VERSION_MAJOR);
#define LRC_RESOLVE(handle, name) resolve(handle, #name, f.name)
  return LRC_RESOLVE(avformat, avformat_open_input) &&
         LRC_RESOLVE(avformat, avformat_find_stream_info) &&
         LRC_RESOLVE(avformat, av_find_best_stream) && LRC_RESOLVE(avformat, av_read_frame) &&
         LRC_RESOLVE(avformat, avformat_close_input) &&
         LRC_RESOLVE(avcodec, avcodec_find_decoder) &&
         LRC_RESOLVE(avcodec, avcodec_alloc_context3) &&
         LRC_RESOLVE(avcodec, avcodec_parameters_to_context) &&
         LRC_RESOLVE(avcodec, avcodec_open2) && LRC_RESOLVE(avcodec, avcodec_send_packet) &&
         LRC_RESOLVE(avcodec, avcodec_receive_frame) &&
         LRC_RESOLVE(avcodec, avcodec_free_context) && LRC_RESOLVE(avcodec, av_packet_alloc) &&
         LRC_RESOLVE(avcodec, av_packet_free) && LRC_RESOLVE(avcodec, av_packet_unref) &&
         LRC_RESOLVE(avutil, av_frame_alloc) && LRC_RESOLVE(avutil, av_frame_free) &&
         LRC_RESOLVE(avutil, av_channel_layout_default) &&
         LRC_RESOLVE(avutil, av_channel_layout_copy) &&
         LRC_RESOLVE(avutil, av_channel_layout_uninit) && LRC_RESOLVE(avutil, av_log_set_level) &&
         LRC_RESOLVE(swresample, swr_alloc_set_opts2) && LRC_RESOLVE(swresample, swr_init) &&
         LRC_RESOLVE(swresample, swr_convert) && LRC_RESOLVE(swresample, swr_free);
#undef LRC_RESOLVE
}

}  // namespace

const FfmpegLibrary* FfmpegLibrary::get() {
  static FfmpegLibrary library;
  static bool loaded = false;
  static std::once_flag once;
  std::call_once(once, [] {
    loaded = load(library);
    // The editor writes nothing to the terminal in normal use; FFmpeg would, for every odd file.
    if (loaded) library.av_log_set_level(AV_LOG_QUIET);
  });
  return loaded ? &library : nullptr;
}

}  // namespace waveform
