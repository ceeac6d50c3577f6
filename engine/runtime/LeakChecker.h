#pragma once
// What the leak checker of sanitizer builds is told about libraries outside
// the project. Each program defines the checker's hooks once, with
// RA7_LEAK_CHECKER_HOOKS() at namespace scope in its main file; builds
// without sanitizers never call them.
//
// - libdbus, libfontconfig: desktop libraries Qt and the driver's text path
//   load; they keep their configuration for the whole process.
// - swrast_dri.so / libgallium: Mesa's driver keeps copies of the error text
//   of failed ARB programs and its screen lists for the whole process.
// - libvorbisfile: a seekable open that fails in a later link of a chained
//   stream loses the list of serial numbers it read (8 bytes per open).

#define RA7_LEAK_CHECKER_HOOKS()                                                                             \
    extern "C" const char* __lsan_default_suppressions();                                                    \
    extern "C" const char* __lsan_default_suppressions()                                                     \
    {                                                                                                        \
        return "leak:libdbus-1.so\nleak:libfontconfig.so\nleak:swrast_dri.so\nleak:libgallium\n"             \
               "leak:libvorbisfile.so\n";                                                                    \
    }                                                                                                        \
    /* The list of suppressions used would end up on stderr, which callers of */                             \
    /* a program read as its messages. */                                                                    \
    extern "C" const char* __lsan_default_options();                                                         \
    extern "C" const char* __lsan_default_options()                                                          \
    {                                                                                                        \
        return "print_suppressions=0";                                                                       \
    }
