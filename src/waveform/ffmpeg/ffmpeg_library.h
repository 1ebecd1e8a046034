#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
}

namespace waveform {

// The functions of FFmpeg's libraries the decoder calls, opened when a waveform is first decoded
// rather than when the program starts: linked to the program, the libraries would be mapped and
// relocated before the first window.
struct FfmpegLibrary {
  decltype(&::avformat_open_input) avformat_open_input;
  decltype(&::avformat_find_stream_info) avformat_find_stream_info;
  decltype(&::av_find_best_stream) av_find_best_stream;
  decltype(&::av_read_frame) av_read_frame;
  decltype(&::avformat_close_input) avformat_close_input;
  decltype(&::avcodec_find_decoder) avcodec_find_decoder;
  decltype(&::avcodec_alloc_context3) avcodec_alloc_context3;
  decltype(&::avcodec_parameters_to_context) avcodec_parameters_to_context;
  decltype(&::avcodec_open2) avcodec_open2;
  decltype(&::avcodec_send_packet) avcodec_send_packet;
  decltype(&::avcodec_receive_frame) avcodec_receive_frame;
  decltype(&::avcodec_free_context) avcodec_free_context;
  decltype(&::av_packet_alloc) av_packet_alloc;
  decltype(&::av_packet_free) av_packet_free;
  decltype(&::av_packet_unref) av_packet_unref;
  decltype(&::av_frame_alloc) av_frame_alloc;
  decltype(&::av_frame_free) av_frame_free;
  decltype(&::av_channel_layout_default) av_channel_layout_default;
  decltype(&::av_channel_layout_copy) av_channel_layout_copy;
  decltype(&::av_channel_layout_uninit) av_channel_layout_uninit;
  decltype(&::av_log_set_level) av_log_set_level;
  decltype(&::swr_alloc_set_opts2) swr_alloc_set_opts2;
  decltype(&::swr_init) swr_init;
  decltype(&::swr_convert) swr_convert;
  decltype(&::swr_free) swr_free;

  // The libraries, opened once; nothing when one of them or a function is missing.
  static const FfmpegLibrary* get();
};

}  // namespace waveform
