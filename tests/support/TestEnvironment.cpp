// Linked into every test binary: sanitizer options and the leak suppressions of
// tests/lsan.supp are compiled in, so a test behaves the same run from ctest,
// from a shell or under a debugger.
#include <cstdlib>

extern "C" {
const char* __asan_default_options() { return "detect_leaks=1:abort_on_error=0"; }
const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
const char* __lsan_default_suppressions() {
    return
#include "lsan_supp.inc"
        ;
}
}

namespace {
struct Defaults {
    Defaults() {
        // No sound device in tests; SDL's dummy driver accepts and discards.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("KELVANO_SOURCE_DIR", KELVANO_SOURCE_DIR, 0);
        setenv("KELVANO_TEST_OUT", KELVANO_TEST_OUT, 0);
    }
} g_defaults;
}  // namespace
