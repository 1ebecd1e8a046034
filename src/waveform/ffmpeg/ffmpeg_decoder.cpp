#include "waveform/ffmpeg/ffmpeg_decoder.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "waveform/ffmpeg/ffmpeg_library.h"

namespace waveform {

namespace {

// Buckets handed on at a time: ten seconds of sound.
constexpr std::size_t kHandOver = Envelope::kBucketsPerSecond * 10;

// One decode's FFmpeg objects, freed in any case.
struct Decode {
  explicit Decode(const FfmpegLibrary& library) : f(library) {}
  ~Decode() {
    if (swr) f.swr_free(&swr);
    if (frame) f.av_frame_free(&frame);
    if (packet) f.av_packet_free(&packet);
    if (codec) f.avcodec_free_context(&codec);
    if (format) f.avformat_close_input(&format);
    f.av_channel_layout_uninit(&layout);
  }
  Decode(const Decode&) = delete;
  Decode& operator=(const Decode&) = delete;

  const FfmpegLibrary& f;
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  SwrContext* swr = nullptr;
  AVChannelLayout layout{};
  int stream = -1;
};

}  // namespace

DecodeStatus FfmpegDecoder::decode(const std::string& nativePath, const DecodeSink& sink) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(nativePath, error)) return DecodeStatus::Missing;
  const FfmpegLibrary* library = FfmpegLibrary::get();
  if (library == nullptr) return DecodeStatus::Unreadable;
  const FfmpegLibrary& f = *library;
  Decode d(f);

  if (f.avformat_open_input(&d.format, nativePath.c_str(), nullptr, nullptr) < 0) {
    return std::filesystem::exists(nativePath, error) ? DecodeStatus::Unreadable
                                                      : DecodeStatus::Missing;
  }
  if (f.avformat_find_stream_info(d.format, nullptr) < 0) return DecodeStatus::Unreadable;
  const AVCodec* decoder = nullptr;
  d.stream = f.av_find_best_stream(d.format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
  if (d.stream < 0 || decoder == nullptr) return DecodeStatus::Unreadable;
  d.codec = f.avcodec_alloc_context3(decoder);
  if (d.codec == nullptr ||
      f.avcodec_parameters_to_context(d.codec, d.format->streams[d.stream]->codecpar) < 0 ||
      f.avcodec_open2(d.codec, decoder, nullptr) < 0) {
    return DecodeStatus::Unreadable;
  }
  const int rate = d.codec->sample_rate;
  if (d.codec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
    f.av_channel_layout_default(&d.layout, d.codec->ch_layout.nb_channels);
  } else if (f.av_channel_layout_copy(&d.layout, &d.codec->ch_layout) < 0) {
    return DecodeStatus::Unreadable;
  }
  const int channels = d.layout.nb_channels;
  if (rate <= 0 || channels <= 0 || channels > 64) return DecodeStatus::Unreadable;
  // The same rate and channels, as interleaved floats: the mixing is the envelope's own.
  if (f.swr_alloc_set_opts2(&d.swr, &d.layout, AV_SAMPLE_FMT_FLT, rate, &d.layout,
                            d.codec->sample_fmt, rate, 0, nullptr) < 0 ||
      f.swr_init(d.swr) < 0) {
    return DecodeStatus::Unreadable;
  }
  d.packet = f.av_packet_alloc();
  d.frame = f.av_frame_alloc();
  if (d.packet == nullptr || d.frame == nullptr) return DecodeStatus::Unreadable;

  const double duration =
      d.format->duration > 0 ? static_cast<double>(d.format->duration) / AV_TIME_BASE : 0.0;
  if (sink.started) sink.started(duration);

  EnvelopeBuilder builder(rate, channels);
  std::vector<float> samples;
  bool decodedAny = false;
  const auto handOver = [&](bool all) {
    if (!all && builder.pending() < kHandOver) return true;
    return sink.peaks(builder.take());
  };
  const auto drain = [&]() -> bool {
    while (f.avcodec_receive_frame(d.codec, d.frame) >= 0) {
      const int room = d.frame->nb_samples + 1024;
      samples.resize(static_cast<std::size_t>(room) * channels);
      auto* out = reinterpret_cast<std::uint8_t*>(samples.data());
      const int frames =
          f.swr_convert(d.swr, &out, room, const_cast<const std::uint8_t**>(d.frame->extended_data),
                        d.frame->nb_samples);
      if (frames > 0) {
        builder.add(samples.data(), static_cast<std::size_t>(frames));
        decodedAny = true;
      }
      if (!handOver(false)) return false;
    }
    return true;
  };
  while (f.av_read_frame(d.format, d.packet) >= 0) {
    if (d.packet->stream_index == d.stream) {
      // A damaged packet is skipped, as a player skips it.
      f.avcodec_send_packet(d.codec, d.packet);
    }
    f.av_packet_unref(d.packet);
    if (!drain()) return DecodeStatus::Cancelled;
  }
  f.avcodec_send_packet(d.codec, nullptr);
  if (!drain()) return DecodeStatus::Cancelled;
  if (!decodedAny) return DecodeStatus::Unreadable;
  builder.finish();
  return handOver(true) ? DecodeStatus::Ok : DecodeStatus::Cancelled;
}

}  // namespace waveform
