// An empty console program, started the way the install starts a compiler:
// what one child process costs before it does any work.
int wmain() { return 0; }
