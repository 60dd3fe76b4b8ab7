// Placeholder until the encoder program lands.
#include <cstdio>
int main() { std::fprintf(stderr, "libm9s.exe: not built yet\n"); return 1; }
