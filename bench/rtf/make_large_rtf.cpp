// Writes the benchmarks' large generated RTF file, for the whole-process comparison script.

#include "large_rtf.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: make_large_rtf OUT.rtf [MEGABYTES]\n";
        return 2;
    }
    const size_t megabytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 24;
    const std::string rtf = trellic::bench::MakeLargeRtf(megabytes << 20);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(rtf.data(), static_cast<std::streamsize>(rtf.size()));
    return out ? 0 : 1;
}
