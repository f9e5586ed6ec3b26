// fcsdump [--text] [--summary] FILE: prints what the program would load
// from FILE. Exit status 0 when it loaded, 1 when it was refused.
#include <iostream>
#include <string>
#include <vector>

#include "core/FcsDump.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    const int status = qv::RunFcsDump(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
