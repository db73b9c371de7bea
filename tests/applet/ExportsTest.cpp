// The built library shows the shell exactly its two entry points and its resource directory.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "host/Applet.h"

namespace {

// The names of the symbols the shared object defines and makes visible to others, read from
// its dynamic symbol table.
std::set<std::string> ExportedSymbols(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
    std::set<std::string> names;
    if (bytes.size() < sizeof(Elf64_Ehdr)) return names;
    Elf64_Ehdr header;
    std::memcpy(&header, bytes.data(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64) {
        return names;
    }
    auto section = [&](size_t index) {
        Elf64_Shdr s{};
        const size_t at = header.e_shoff + index * header.e_shentsize;
        if (at + sizeof s <= bytes.size()) std::memcpy(&s, bytes.data() + at, sizeof s);
        return s;
    };
    for (size_t i = 0; i < header.e_shnum; ++i) {
        const Elf64_Shdr symbols = section(i);
        if (symbols.sh_type != SHT_DYNSYM) continue;
        const Elf64_Shdr strings = section(symbols.sh_link);
        for (size_t at = symbols.sh_offset; at + sizeof(Elf64_Sym) <= symbols.sh_offset +
                                                                         symbols.sh_size;
             at += sizeof(Elf64_Sym)) {
            Elf64_Sym symbol;
            std::memcpy(&symbol, bytes.data() + at, sizeof symbol);
            const int binding = ELF64_ST_BIND(symbol.st_info);
            const bool defined = symbol.st_shndx != SHN_UNDEF;
            const bool visible = ELF64_ST_VISIBILITY(symbol.st_other) == STV_DEFAULT ||
                                 ELF64_ST_VISIBILITY(symbol.st_other) == STV_PROTECTED;
            const bool global = binding == STB_GLOBAL || binding == STB_WEAK ||
                                binding == STB_GNU_UNIQUE;
            if (!defined || !visible || !global || symbol.st_name == 0) continue;
            names.insert(bytes.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}

TEST(LibraryExports, AreExactlyTheEntryPointsAndTheResourceDirectory) {
    const std::set<std::string> expected = {kShellStartAppletSymbol, kShellStopAppletSymbol,
                                            SHELL_RESOURCE_DIRECTORY_SYMBOL};
    EXPECT_EQ(ExportedSymbols(SPHEROLETTE_LIBRARY_PATH), expected);
}

TEST(LibraryExports, AreFoundByNameWhenTheLibraryIsLoaded) {
    void* library = dlopen(SPHEROLETTE_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    EXPECT_NE(dlsym(library, kShellStartAppletSymbol), nullptr);
    EXPECT_NE(dlsym(library, kShellStopAppletSymbol), nullptr);
    const auto* directory = static_cast<const host::ResourceDirectory*>(
        dlsym(library, SHELL_RESOURCE_DIRECTORY_SYMBOL));
    ASSERT_NE(directory, nullptr);
    EXPECT_EQ(directory->version, host::kResourceDirectoryVersion);
    // Internal names stay hidden.
    EXPECT_EQ(dlsym(library, "DllMain"), nullptr);
    dlclose(library);
}

}  // namespace
