// Default options of the sanitizers, linked into every program of the sanitizer build, so that
// each run (CTest, test discovery during the build, the smoke test, a start by hand) stops at
// the first fault, checks for leaks at exit and knows the project's leak suppressions.
// Options given in ASAN_OPTIONS, UBSAN_OPTIONS or LSAN_OPTIONS still take precedence.

extern "C" {

const char* __asan_default_options() {
  return "detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:"
         "check_initialization_order=1:strict_init_order=1";
}

const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }

const char* __lsan_default_options() {
  return "suppressions=" LRC_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

}  // extern "C"
