// Writes the divination rows to the file named on the command line (or to standard output).
#include "divination_rows.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    const std::string text = tools::divinationRowsSql();
    if (argc < 2) {
        std::cout << text;
        return 0;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) {
        std::cerr << "gen_divination_rows: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
