// Linked into every program of a STELLIK_SANITIZE build: the sanitizers' defaults, so that the
// programs the build itself runs and the tests behave the same however they are started.
// Options given in the environment (ASAN_OPTIONS, UBSAN_OPTIONS, LSAN_OPTIONS) still win.
#include <cstdlib>

extern "C" {

// Present only in the programs that link GTK (the window, its tests): resolved by the loader
// before the sanitizer asks for its options.
void gtk_init(int* argc, char*** argv) __attribute__((weak));

// The leak checker records where each block was allocated. By default it follows frame
// pointers, which the system's GTK, WebKit and GLib are built without, so their stacks end
// inside GLib's allocator and cannot be told from ours; in the programs with a window it takes
// the slower full unwinding, so that the suppressions below can match.
const char* __asan_default_options() {
    if (gtk_init != nullptr) {
        return "detect_leaks=1:halt_on_error=1:strict_string_checks=1:"
               "check_initialization_order=1:fast_unwind_on_malloc=0";
    }
    return "detect_leaks=1:halt_on_error=1:strict_string_checks=1:check_initialization_order=1";
}

const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

// What system libraries set up once and keep for the life of the process, which the leak
// checker would otherwise report at every exit: the font configuration, the script engine of
// the web view (its global objects and interned strings) and what library constructors
// allocate while the libraries are loaded (GLib's first table of names, which it leaves behind
// by design when the table grows). Only allocations made inside these libraries are matched,
// never ours.
const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libjavascriptcoregtk-4.1.so\n"
           "leak:_dl_init\n";
}

} // extern "C"

namespace {

// GTK's accessibility bridge looks for a session bus that test displays do not have and leaks
// what it set up for it; the checked programs run without it.
[[maybe_unused]] const bool NoAccessibilityBridge = setenv("NO_AT_BRIDGE", "1", 0) == 0;

} // namespace
