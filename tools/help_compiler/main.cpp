// help_compiler <source.txt> <out.hlp> <out.html>: compiles the UTF-8 help markup into a WinHelp
// file and the same help as an HTML page.

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

#include "help_compiler.h"
#include "help_error.h"

namespace {

bool readWholeFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return !in.bad();
}

// Writes beside the target first, so that a failed run never leaves a half-written help file
// that the build would take as up to date.
bool writeWholeFile(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    std::remove(path.c_str());
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: help_compiler <source.txt> <out.hlp> <out.html>\n";
        return 2;
    }
    const std::string sourcePath = argv[1];
    const std::string helpPath = argv[2];
    const std::string pagePath = argv[3];

    std::string source;
    if (!readWholeFile(sourcePath, source)) {
        std::cerr << "help_compiler: cannot read " << sourcePath << "\n";
        return 1;
    }
    quor6::help::Bytes helpFile;
    std::string page;
    try {
        helpFile = quor6::help::compileHelp(source);
        page = quor6::help::compileHtmlHelp(source);
    } catch (const quor6::help::HelpError& error) {
        std::cerr << sourcePath;
        if (error.line() > 0) {
            std::cerr << ":" << error.line();
        }
        std::cerr << ": error: " << error.what() << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "help_compiler: internal error: " << error.what() << "\n";
        return 1;
    }
    const std::string_view helpBytes(reinterpret_cast<const char*>(helpFile.data()),
                                     helpFile.size());
    for (const auto& [path, bytes] :
         {std::pair{helpPath, helpBytes}, std::pair{pagePath, std::string_view(page)}}) {
        if (!writeWholeFile(path, bytes)) {
            std::cerr << "help_compiler: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
