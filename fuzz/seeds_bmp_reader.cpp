// Writes BMP seeds of every depth, whole and truncated, into the folder argv[1].
#include <fstream>
#include <string>

#include "support/bmp_writer.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    int n = 0;
    for (int bits : {1, 2, 4, 8, 16, 24}) {
        std::string bmp = testing_support::makeBmp(7, 3, bits, static_cast<unsigned>(bits));
        for (std::size_t cut : {bmp.size(), bmp.size() / 2, std::size_t{20}}) {
            std::ofstream(std::string(argv[1]) + "/seed" + std::to_string(n++), std::ios::binary)
                .write(bmp.data(), static_cast<std::streamsize>(cut));
        }
    }
    return 0;
}
