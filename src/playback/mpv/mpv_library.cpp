// libmpv is loaded when the player's core is first made, not when the program starts.
//
// libmpv pulls in some two hundred libraries (FFmpeg, codecs, GPU and sound back-ends). Linked
// to the program, the dynamic loader maps, relocates and initialises all of them before main()
// runs, which delays the first window by tens of milliseconds on an idle machine. The player's
// core is made on a thread of its own, so the library is opened there instead: the functions
// below have libmpv's own names and forward to it, loading it on the first call.
//
// A system without libmpv gets a player that cannot be created (mpv_create gives nothing),
// which the editor reports as having no sound output, instead of a program that cannot start.
#include <dlfcn.h>
#include <mpv/client.h>

#include <mutex>

namespace {

void* libraryHandle() {
  static void* handle = nullptr;
  static std::once_flag opened;
  std::call_once(opened, [] {
    handle = dlopen("libmpv.so.2", RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) handle = dlopen("libmpv.so", RTLD_NOW | RTLD_LOCAL);
  });
  return handle;
}

// libmpv's function `name`, or nothing without the library.
template <typename Function>
Function* resolve(const char* name) {
  void* handle = libraryHandle();
  return handle == nullptr ? nullptr : reinterpret_cast<Function*>(dlsym(handle, name));
}

// Calls libmpv's `name` with `args`, or gives `failure` where the library or the function is
// missing. Each function is looked up once.
#define LRC_MPV_FORWARD(name, failure, ...)                      \
  static auto* const function = resolve<decltype(::name)>(#name); \
  if (function == nullptr) return failure;                        \
  return function(__VA_ARGS__)

// Nothing to wait for: what mpv_wait_event gives when the library is missing.
mpv_event noEvent{};

}  // namespace

extern "C" {

unsigned long mpv_client_api_version(void) { LRC_MPV_FORWARD(mpv_client_api_version, 0UL); }

mpv_handle* mpv_create(void) { LRC_MPV_FORWARD(mpv_create, nullptr); }

int mpv_initialize(mpv_handle* ctx) {
  LRC_MPV_FORWARD(mpv_initialize, MPV_ERROR_UNINITIALIZED, ctx);
}

void mpv_terminate_destroy(mpv_handle* ctx) { LRC_MPV_FORWARD(mpv_terminate_destroy, , ctx); }

void mpv_destroy(mpv_handle* ctx) { LRC_MPV_FORWARD(mpv_destroy, , ctx); }

const char* mpv_error_string(int error) { LRC_MPV_FORWARD(mpv_error_string, "", error); }

void mpv_free(void* data) { LRC_MPV_FORWARD(mpv_free, , data); }

void mpv_free_node_contents(mpv_node* node) { LRC_MPV_FORWARD(mpv_free_node_contents, , node); }

int mpv_set_option_string(mpv_handle* ctx, const char* name, const char* data) {
  LRC_MPV_FORWARD(mpv_set_option_string, MPV_ERROR_UNINITIALIZED, ctx, name, data);
}

int mpv_command(mpv_handle* ctx, const char** args) {
  LRC_MPV_FORWARD(mpv_command, MPV_ERROR_UNINITIALIZED, ctx, args);
}

int mpv_command_ret(mpv_handle* ctx, const char** args, mpv_node* result) {
  LRC_MPV_FORWARD(mpv_command_ret, MPV_ERROR_UNINITIALIZED, ctx, args, result);
}

int mpv_command_string(mpv_handle* ctx, const char* args) {
  LRC_MPV_FORWARD(mpv_command_string, MPV_ERROR_UNINITIALIZED, ctx, args);
}

int mpv_command_async(mpv_handle* ctx, uint64_t reply_userdata, const char** args) {
  LRC_MPV_FORWARD(mpv_command_async, MPV_ERROR_UNINITIALIZED, ctx, reply_userdata, args);
}

int mpv_set_property(mpv_handle* ctx, const char* name, mpv_format format, void* data) {
  LRC_MPV_FORWARD(mpv_set_property, MPV_ERROR_UNINITIALIZED, ctx, name, format, data);
}

int mpv_set_property_string(mpv_handle* ctx, const char* name, const char* data) {
  LRC_MPV_FORWARD(mpv_set_property_string, MPV_ERROR_UNINITIALIZED, ctx, name, data);
}

int mpv_set_property_async(mpv_handle* ctx, uint64_t reply_userdata, const char* name,
                           mpv_format format, void* data) {
  LRC_MPV_FORWARD(mpv_set_property_async, MPV_ERROR_UNINITIALIZED, ctx, reply_userdata, name,
                  format, data);
}

int mpv_get_property(mpv_handle* ctx, const char* name, mpv_format format, void* data) {
  LRC_MPV_FORWARD(mpv_get_property, MPV_ERROR_UNINITIALIZED, ctx, name, format, data);
}

char* mpv_get_property_string(mpv_handle* ctx, const char* name) {
  LRC_MPV_FORWARD(mpv_get_property_string, nullptr, ctx, name);
}

int mpv_observe_property(mpv_handle* mpv, uint64_t reply_userdata, const char* name,
                         mpv_format format) {
  LRC_MPV_FORWARD(mpv_observe_property, MPV_ERROR_UNINITIALIZED, mpv, reply_userdata, name,
                  format);
}

int mpv_unobserve_property(mpv_handle* mpv, uint64_t registered_reply_userdata) {
  LRC_MPV_FORWARD(mpv_unobserve_property, MPV_ERROR_UNINITIALIZED, mpv,
                  registered_reply_userdata);
}

int mpv_request_log_messages(mpv_handle* ctx, const char* min_level) {
  LRC_MPV_FORWARD(mpv_request_log_messages, MPV_ERROR_UNINITIALIZED, ctx, min_level);
}

mpv_event* mpv_wait_event(mpv_handle* ctx, double timeout) {
  LRC_MPV_FORWARD(mpv_wait_event, &noEvent, ctx, timeout);
}

void mpv_wakeup(mpv_handle* ctx) { LRC_MPV_FORWARD(mpv_wakeup, , ctx); }

void mpv_set_wakeup_callback(mpv_handle* ctx, void (*cb)(void* d), void* d) {
  LRC_MPV_FORWARD(mpv_set_wakeup_callback, , ctx, cb, d);
}

}  // extern "C"
