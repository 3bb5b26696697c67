// Fontconfig keeps a few allocations for the life of the process (its font
// cache); the leak checker of sanitizer builds is told not to report them.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
