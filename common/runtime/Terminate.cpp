// The programs' handler for an exception that nothing caught. The C++ runtime's
// default handler prints the exception's type name to stderr before it aborts,
// and its name demangler alone adds about 46 KB to each program. A GUI program
// has no stderr to print to, so aborting at once loses nothing. Linked directly
// into both programs (not through a library) so that it replaces the runtime's.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }  // NOLINT(bugprone-reserved-identifier): the runtime's name
}  // namespace __gnu_cxx
