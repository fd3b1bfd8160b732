// libstdc++'s default terminate handler prints the demangled name of an escaping exception
// to stderr, which a GUI program does not have. Replacing it keeps the demangler (some 46 KB)
// out of the executable; the program ends the same way.
#include <cstdlib>  // first: it tells which standard library this is

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
