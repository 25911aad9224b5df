// write_hostile_files.cpp - writes every file of the hostile suite into the
// folder argv[1] (which must exist), for measuring the viewer itself on them
// (scripts/measure_hostile.sh).
#include <cstdio>
#include <string>

#include "hostile/hostile_files.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::string folder = argv[1];
    if (folder.back() != '/') folder += '/';
    for (const hostile::HostileFile& file : hostile::hostileFiles()) {
        if (!hostile::writeHostileFile(folder, file)) {
            std::fprintf(stderr, "cannot write %s%s\n", folder.c_str(), file.name.c_str());
            return 1;
        }
    }
    return 0;
}
