// relay-respack: packs resource folders into the embedded table.
//   relay-respack <table.bin> <table.cpp> <prefix>=<folder> ...
#include "ResourcePacker.h"

#include <cstdio>
#include <exception>
#include <fstream>

namespace {
bool writeFile(const std::string& path, const void* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), std::streamsize(size));
    return bool(out);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: relay-respack <table.bin> <table.cpp> <prefix>=<folder> ...\n");
        return 2;
    }
    try {
        ResourcePacker packer;
        for (int i = 3; i < argc; ++i) {
            const std::string folderArgument = argv[i];
            const size_t eq = folderArgument.find('=');
            if (eq == std::string::npos) {
                std::fprintf(stderr, "relay-respack: expected <prefix>=<folder>, got %s\n", argv[i]);
                return 2;
            }
            packer.addFolder(folderArgument.substr(0, eq), folderArgument.substr(eq + 1));
        }
        const auto table = packer.pack();
        const std::string source = ResourcePacker::toCppSource(table);
        if (!writeFile(argv[1], table.data(), table.size()) || !writeFile(argv[2], source.data(), source.size())) {
            std::fprintf(stderr, "relay-respack: cannot write the output\n");
            return 1;
        }
        std::printf("relay-respack: %zu resources, %zu bytes\n", packer.size(), table.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "relay-respack: %s\n", e.what());
        return 1;
    }
    return 0;
}
