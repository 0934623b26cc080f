// The skin drawing loads its two fonts once per process and fontconfig keeps
// what it made of them until the process ends; the sanitizer build's leak
// checker is told that this is no leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
