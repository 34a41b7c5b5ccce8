// ZarnShow, the Quorvel program. Its windows are not built yet: it says so instead of pretending.
#include <cstdio>

int main(int argc, char** argv) {
    std::fprintf(stderr,
                 "Quorvel: the board and main windows are not built yet, so ZarnShow cannot show a record.\n");
    if (argc > 1) std::fprintf(stderr, "The record %s was not opened.\n", argv[1]);
    return 2;
}
