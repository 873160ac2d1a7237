// Defaults for the sanitizer runtimes. The runtimes look these functions up by
// name; in a build without sanitizers they are never called.

extern "C" {

const char* __asan_default_options() { return "detect_leaks=1:strict_string_checks=1"; }

const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

// Allocations that system libraries keep for the life of the process.
const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\n"
           "leak:libQt6Core\n"
           "leak:libQt6Gui\n"
           "leak:libQt6Widgets\n"
           "leak:libQt6WebEngineCore\n"
           "leak:libdbus\n"
           "leak:libglib\n"
           "leak:libgobject\n";
}

}
