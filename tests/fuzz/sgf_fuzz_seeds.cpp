// Writes records of the generator of the engine tests into a folder, one file each, as seeds for the fuzz
// target: sgf_fuzz_seeds FOLDER [COUNT]. The records are the same for the same count.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "sgf_generator.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: sgf_fuzz_seeds FOLDER [COUNT]\n");
        return 2;
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : 200;
    quorvel::generator::Options options;
    options.maxMainMoves = 60;  // small seeds mutate faster
    options.longComment = 600;
    for (int seed = 1; seed <= count; ++seed) {
        const std::string path = std::string(argv[1]) + "/generated-" + std::to_string(seed) + ".sgf";
        std::ofstream out(path, std::ios::binary);
        out << quorvel::generator::Write(quorvel::generator::Generate(static_cast<std::uint64_t>(seed), options));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
