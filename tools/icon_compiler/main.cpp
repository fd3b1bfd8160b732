// icon_compiler: turns a text pixel map into the program's .ico, or into PPM previews.
#include <iostream>
#include <string>
#include <vector>

#include "icon_compiler_cli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return quor6::tools::runIconCompiler(args, std::cerr);
}
